#include "platform/win/tree.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "platform/win/internal.h"

namespace {

QTreeWidgetItem* ItemOf(HTREEITEM item) { return reinterpret_cast<QTreeWidgetItem*>(item); }
HTREEITEM HandleOf(QTreeWidgetItem* item) { return reinterpret_cast<HTREEITEM>(item); }
bool IsSpecial(HTREEITEM item) { return item == TVI_ROOT || item == TVI_FIRST || item == TVI_LAST; }

LPARAM DataOf(QTreeWidgetItem* item) {
  return item ? static_cast<LPARAM>(item->data(0, Qt::UserRole).toLongLong()) : 0;
}

// TVN_SELCHANGED: to the view that owns the tree, else to the tree's parent.
void SendSelChanged(QTreeWidget* tree, QTreeWidgetItem* oldItem, QTreeWidgetItem* newItem, UINT action) {
  CWnd* owner = CWnd::FromWidget(tree);
  NMTREEVIEW info;
  info.hdr.hwndFrom = owner;
  info.hdr.idFrom = static_cast<UINT_PTR>(tree->property(plat::win::kIdProperty).toInt());
  info.hdr.code = TVN_SELCHANGED;
  info.action = action;
  info.itemOld = TVITEM{HandleOf(oldItem), DataOf(oldItem)};
  info.itemNew = TVITEM{HandleOf(newItem), DataOf(newItem)};
  LRESULT result = 0;
  if (auto* view = dynamic_cast<CTreeView*>(owner)) {
    view->Guarded("OnSelchanged", [&] { view->OnSelchanged(&info.hdr, &result); });
  } else if (owner) {
    if (CWnd* parent = owner->GetParent())
      parent->DispatchNotify(static_cast<UINT>(info.hdr.idFrom), &info.hdr, &result);
  }
}

// Qt makes the first item current when a tree without one gets the focus;
// a tree control selects nothing by itself.
class TreeWidget : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    if (currentItem()) {
      QTreeWidget::focusInEvent(event);
      return;
    }
    const QSignalBlocker blocker(this);
    QTreeWidget::focusInEvent(event);
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
};

}  // namespace

QWidget* CTreeCtrl::MakeTreeWidget(QWidget* parent) {
  auto* tree = new TreeWidget(parent);
  tree->setHeaderHidden(true);
  tree->setColumnCount(1);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  tree->setRootIsDecorated(true);
  tree->setUniformRowHeights(true);
  tree->setExpandsOnDoubleClick(true);
  // The person's selection changes; the program's own run with signals blocked.
  QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                   [tree](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                     SendSelChanged(tree, previous, current, TVC_BYMOUSE);
                   });
  plat::win::ApplyDialogLook(tree);
  return tree;
}

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = parent ? parent->ClientWidget() : nullptr;
  if (!parentWidget) return FALSE;
  return FinishCreate(MakeTreeWidget(parentWidget), style, rect, parent, id);
}

namespace {
QTreeWidget* TreeOf(const CWnd& wnd) { return qobject_cast<QTreeWidget*>(wnd.GetSafeWidget()); }
}  // namespace

HTREEITEM CTreeCtrl::InsertItem(const char* text, HTREEITEM parent, HTREEITEM insertAfter) {
  QTreeWidget* tree = TreeOf(*this);
  if (!tree) return nullptr;
  QTreeWidgetItem* parentItem = (parent == nullptr || parent == TVI_ROOT) ? nullptr : ItemOf(parent);
  auto* item = new QTreeWidgetItem(QStringList(ToQString(text)));
  item->setData(0, Qt::UserRole, 0LL);
  const QSignalBlocker blocker(tree);
  int index;
  if (insertAfter == TVI_FIRST) {
    index = 0;
  } else if (insertAfter == TVI_LAST || insertAfter == nullptr || IsSpecial(insertAfter)) {
    index = parentItem ? parentItem->childCount() : tree->topLevelItemCount();
  } else {
    QTreeWidgetItem* after = ItemOf(insertAfter);
    index = (parentItem ? parentItem->indexOfChild(after) : tree->indexOfTopLevelItem(after)) + 1;
    if (index <= 0) index = parentItem ? parentItem->childCount() : tree->topLevelItemCount();
  }
  if (parentItem)
    parentItem->insertChild(index, item);
  else
    tree->insertTopLevelItem(index, item);
  return HandleOf(item);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, const char* text) {
  if (!TreeOf(*this) || !item || IsSpecial(item)) return FALSE;
  ItemOf(item)->setText(0, ToQString(text));
  return TRUE;
}

std::string CTreeCtrl::GetItemText(HTREEITEM item) const {
  if (!TreeOf(*this) || !item || IsSpecial(item)) return {};
  return FromQString(ItemOf(item)->text(0));
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  if (!TreeOf(*this) || !item || IsSpecial(item)) return FALSE;
  ItemOf(item)->setData(0, Qt::UserRole, static_cast<qlonglong>(data));
  return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  if (!TreeOf(*this) || !item || IsSpecial(item)) return 0;
  return static_cast<DWORD_PTR>(DataOf(ItemOf(item)));
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
  if (!TreeOf(*this) || !item || IsSpecial(item)) return FALSE;
  QTreeWidgetItem* it = ItemOf(item);
  if (it->childCount() == 0) return FALSE;
  switch (code & 0x3) {
    case TVE_EXPAND:
      it->setExpanded(true);
      break;
    case TVE_COLLAPSE:
      it->setExpanded(false);
      break;
    case TVE_TOGGLE:
      it->setExpanded(!it->isExpanded());
      break;
    default:
      return FALSE;
  }
  return TRUE;
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
  return TreeOf(*this) && item && !IsSpecial(item) && ItemOf(item)->childCount() > 0;
}

BOOL CTreeCtrl::IsExpanded(HTREEITEM item) const {
  return TreeOf(*this) && item && !IsSpecial(item) && ItemOf(item)->isExpanded();
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
  QTreeWidget* tree = TreeOf(*this);
  if (!tree || IsSpecial(item)) return FALSE;
  QTreeWidgetItem* oldItem = tree->currentItem();
  QTreeWidgetItem* newItem = ItemOf(item);
  if (newItem == oldItem) return TRUE;
  {
    const QSignalBlocker blocker(tree);
    tree->setCurrentItem(newItem);
    if (newItem)
      tree->scrollToItem(newItem);
    else
      tree->clearSelection();
  }
  // Synchronous, and possibly from inside a handler of the last change.
  SendSelChanged(tree, oldItem, newItem, TVC_UNKNOWN);
  return TRUE;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
  QTreeWidget* tree = TreeOf(*this);
  return tree ? HandleOf(tree->currentItem()) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
  QTreeWidget* tree = TreeOf(*this);
  if (!tree) return nullptr;
  QTreeWidgetItem* it = (item && !IsSpecial(item)) ? ItemOf(item) : nullptr;
  switch (code) {
    case TVGN_ROOT:
      return HandleOf(tree->topLevelItem(0));
    case TVGN_CARET:
      return HandleOf(tree->currentItem());
    case TVGN_CHILD:
      if (!it) return HandleOf(tree->topLevelItem(0));
      return HandleOf(it->child(0));
    case TVGN_PARENT:
      return it ? HandleOf(it->parent()) : nullptr;
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
      if (!it) return nullptr;
      const int step = code == TVGN_NEXT ? 1 : -1;
      if (QTreeWidgetItem* parent = it->parent()) return HandleOf(parent->child(parent->indexOfChild(it) + step));
      return HandleOf(tree->topLevelItem(tree->indexOfTopLevelItem(it) + step));
    }
    default:
      return nullptr;
  }
}

UINT CTreeCtrl::GetCount() const {
  QTreeWidget* tree = TreeOf(*this);
  if (!tree) return 0;
  UINT count = 0;
  for (QTreeWidgetItemIterator it(tree); *it; ++it) ++count;
  return count;
}

LRESULT CTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TVM_SELECTITEM:
      if (wParam != TVGN_CARET) return FALSE;
      return SelectItem(reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(GetNextItem(reinterpret_cast<HTREEITEM>(lParam), static_cast<UINT>(wParam)));
    case TVM_EXPAND:
      return Expand(reinterpret_cast<HTREEITEM>(lParam), static_cast<UINT>(wParam));
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- CTreeView.

BOOL CTreeView::Create(LPCTSTR, LPCTSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id, void*) {
  QWidget* parentWidget = parent ? parent->ClientWidget() : nullptr;
  if (parent && !parentWidget) return FALSE;
  QWidget* tree = CTreeCtrl::MakeTreeWidget(parentWidget);
  if (!FinishCreate(tree, style, rect, parent, id)) return FALSE;
  m_tree.Detach();
  m_tree.Attach(tree);
  return TRUE;
}

void CTreeView::OnSelchanged(NMHDR*, LRESULT* result) {
  if (result) *result = 0;
}

LRESULT CTreeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TVM_SELECTITEM:
    case TVM_GETNEXTITEM:
    case TVM_EXPAND:
      return m_tree.WindowProc(message, wParam, lParam);
    default:
      return CView::WindowProc(message, wParam, lParam);
  }
}
