#include "platform/win/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "platform/win/dialog_template.h"
#include "platform/win/internal.h"

namespace {

constexpr const char* kImageProperty = "tarnix_image";
constexpr const char* kIconProperty = "tarnix_icon";
constexpr const char* kManualProperty = "tarnix_manual";
constexpr const char* kThreeStateProperty = "tarnix_three_state";
constexpr const char* kRadioGroupProperty = "tarnix_radio_group";
constexpr const char* kPictureProperty = "tarnix_picture";
constexpr const char* kSortedProperty = "tarnix_sorted";
constexpr const char* kLimitProperty = "tarnix_limit";
constexpr const char* kLowProperty = "tarnix_low";
constexpr const char* kHighProperty = "tarnix_high";
constexpr const char* kPosProperty = "tarnix_pos";

// The closed height of a drop-down list; the template gives the open height.
constexpr int kComboHeight = 22;
constexpr int kDefaultEditLimit = 32767;

// Check boxes move between states as Windows boxes do: an auto box goes
// from checked to unchecked and from anything else to checked (three-state:
// unchecked, checked, indeterminate); a manual box stays as it is and only
// tells its parent.
class CheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {
    if (property(kManualProperty).toBool()) return;
    const Qt::CheckState state = checkState();
    if (property(kThreeStateProperty).toBool()) {
      setCheckState(state == Qt::Unchecked ? Qt::Checked : state == Qt::Checked ? Qt::PartiallyChecked : Qt::Unchecked);
    } else {
      setCheckState(state == Qt::Checked ? Qt::Unchecked : Qt::Checked);
      setTristate(false);
    }
  }
};

// An auto radio button checks itself and unchecks the others of its group
// (same parent, same WS_GROUP run); a manual one only tells its parent.
class RadioButton : public QRadioButton {
 public:
  explicit RadioButton(QWidget* parent) : QRadioButton(parent) { setAutoExclusive(false); }

 protected:
  void nextCheckState() override {
    if (property(kManualProperty).toBool()) return;
    setChecked(true);
    if (!parentWidget()) return;
    const QVariant group = property(kRadioGroupProperty);
    for (QObject* sibling : parentWidget()->children()) {
      auto* radio = qobject_cast<QRadioButton*>(sibling);
      if (radio && radio != this && radio->property(kRadioGroupProperty) == group) radio->setChecked(false);
    }
  }
};

// A bitmap button shows only its picture once it has one; its text stays
// its window text.
class PushButton : public QPushButton {
 public:
  using QPushButton::QPushButton;
  bool bitmapOnly = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (bitmapOnly && !icon().isNull()) option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
  }
};

// A frame with its title on the line, half a line down, as dialogs draw
// it. Painted here rather than by a style sheet, which each group box would
// parse anew: pages hold dozens.
class FrameBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    constexpr int kLineY = 6, kTitleX = 7, kPadding = 2;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, kLineY + 0.5, -0.5, -0.5), 3, 3);
    if (title().isEmpty()) return;
    const QFontMetrics metrics(font());
    const QRect text(kTitleX + kPadding, 0, metrics.horizontalAdvance(title()), metrics.height());
    painter.fillRect(text.adjusted(-kPadding, 0, kPadding, 0), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title());
  }
};

QWidget* ParentWidgetOf(CWnd* parent) { return parent ? parent->ClientWidget() : nullptr; }

void MakeReadOnlyLook(QWidget* edit, bool readOnly) {
  // Read-only edits have the dialog's colour, as on Windows.
  QPalette palette = edit->palette();
  const QPalette base = QApplication::palette();
  palette.setColor(QPalette::Base, readOnly ? base.color(QPalette::Window) : base.color(QPalette::Base));
  edit->setPalette(palette);
}

int SortedIndex(const QStringList& items, const QString& text) {
  int i = 0;
  while (i < items.size() && QString::compare(items[i], text, Qt::CaseInsensitive) <= 0) ++i;
  return i;
}

Qt::Alignment TextAlignment(unsigned style) {
  if (style & DS_RIGHT) return Qt::AlignRight;
  if (style & DS_CENTER) return Qt::AlignHCenter;
  return Qt::AlignLeft;
}

DWORD WindowStyleOf(unsigned style) {
  DWORD s = WS_CHILD;
  if (!(style & DS_HIDDEN)) s |= WS_VISIBLE;
  if (style & DS_DISABLED) s |= WS_DISABLED;
  if (style & DS_GROUP) s |= WS_GROUP;
  if (style & DS_VSCROLL) s |= WS_VSCROLL;
  return s;
}

}  // namespace

namespace plat::win {

int ButtonCheck(const QWidget* widget) {
  if (auto* box = qobject_cast<const QCheckBox*>(widget)) {
    switch (box->checkState()) {
      case Qt::PartiallyChecked:
        return BST_INDETERMINATE;
      case Qt::Checked:
        return BST_CHECKED;
      default:
        return BST_UNCHECKED;
    }
  }
  if (auto* button = qobject_cast<const QAbstractButton*>(widget))
    return button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
  return BST_UNCHECKED;
}

void SetButtonCheck(QWidget* widget, int check) {
  if (auto* box = qobject_cast<QCheckBox*>(widget)) {
    if (check == BST_INDETERMINATE) {
      box->setTristate(true);
      box->setCheckState(Qt::PartiallyChecked);
    } else {
      box->setCheckState(check ? Qt::Checked : Qt::Unchecked);
      if (!box->property(kThreeStateProperty).toBool()) box->setTristate(false);
    }
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (button->isCheckable()) button->setChecked(check == BST_CHECKED);
  }
}

void ApplyDialogLook(QWidget* widget) {
  // Dialog units were laid out for a narrow UI font; the condensed face
  // keeps template texts inside their fields.
  QFont font = QApplication::font();
  font.setPixelSize(11);
  font.setStretch(QFont::SemiCondensed);
  widget->setFont(font);
}

}  // namespace plat::win

// ---- CStatic.

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = ParentWidgetOf(parent);
  if (!parentWidget) return FALSE;
  auto* label = new QLabel(parentWidget);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setText(ToQString(text));
  return FinishCreate(label, style, rect, parent, id);
}

namespace {
void ShowImage(QWidget* widget, const QPixmap& pixmap) {
  auto* label = qobject_cast<QLabel*>(widget);
  if (!label) return;
  label->setPixmap(pixmap);
  if (label->property(kPictureProperty).toBool() && !pixmap.isNull()) label->resize(pixmap.size());
}
}  // namespace

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  QWidget* w = GetSafeWidget();
  if (!w) return nullptr;
  const HBITMAP previous = GetBitmap();
  w->setProperty(kImageProperty, QVariant::fromValue(static_cast<void*>(bitmap)));
  w->setProperty(kIconProperty, QVariant());
  ShowImage(w, plat::PixmapOf(bitmap));
  return previous;
}

HBITMAP CStatic::GetBitmap() const {
  const QWidget* w = GetSafeWidget();
  return w ? static_cast<HBITMAP>(w->property(kImageProperty).value<void*>()) : nullptr;
}

HICON CStatic::SetIcon(HICON icon) {
  QWidget* w = GetSafeWidget();
  if (!w) return nullptr;
  const HICON previous = GetIcon();
  w->setProperty(kIconProperty, QVariant::fromValue(static_cast<void*>(icon)));
  w->setProperty(kImageProperty, QVariant());
  ShowImage(w, plat::PixmapOf(icon));
  return previous;
}

HICON CStatic::GetIcon() const {
  const QWidget* w = GetSafeWidget();
  return w ? static_cast<HICON>(w->property(kIconProperty).value<void*>()) : nullptr;
}

LRESULT CStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case STM_SETICON:
      return reinterpret_cast<LRESULT>(SetIcon(reinterpret_cast<HICON>(wParam)));
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(GetIcon());
    case STM_SETIMAGE:
      if (wParam == IMAGE_ICON) return reinterpret_cast<LRESULT>(SetIcon(reinterpret_cast<HICON>(lParam)));
      return reinterpret_cast<LRESULT>(SetBitmap(reinterpret_cast<HBITMAP>(lParam)));
    case STM_GETIMAGE:
      if (wParam == IMAGE_ICON) return reinterpret_cast<LRESULT>(GetIcon());
      return reinterpret_cast<LRESULT>(GetBitmap());
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- CButton.

BOOL CButton::Create(LPCTSTR text, Kind kind, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = ParentWidgetOf(parent);
  if (!parentWidget) return FALSE;
  QWidget* widget = nullptr;
  switch (kind) {
    case Kind::PushButton: {
      auto* button = new PushButton(ToQString(text), parentWidget);
      button->setAutoDefault(false);
      widget = button;
      break;
    }
    case Kind::CheckBox:
      widget = new CheckBox(ToQString(text), parentWidget);
      break;
    case Kind::RadioButton: {
      auto* radio = new RadioButton(parentWidget);
      radio->setText(ToQString(text));
      widget = radio;
      break;
    }
    case Kind::GroupBox: {
      auto* group = new FrameBox(ToQString(text), parentWidget);
      // A frame around other controls, never in their way.
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      group->setFocusPolicy(Qt::NoFocus);
      widget = group;
      break;
    }
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button] { plat::win::NotifyParentOf(button, BN_CLICKED); });
  }
  return FinishCreate(widget, style, rect, parent, id);
}

void CButton::SetCheck(int check) { plat::win::SetButtonCheck(GetSafeWidget(), check); }

int CButton::GetCheck() const { return plat::win::ButtonCheck(GetSafeWidget()); }

HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
  auto* button = qobject_cast<QPushButton*>(GetSafeWidget());
  if (!button) return nullptr;
  const HBITMAP previous = GetBitmap();
  button->setProperty(kImageProperty, QVariant::fromValue(static_cast<void*>(bitmap)));
  const QPixmap pixmap = plat::PixmapOf(bitmap);
  button->setIcon(QIcon(pixmap));
  if (!pixmap.isNull()) button->setIconSize(pixmap.size());
  button->update();
  return previous;
}

HBITMAP CButton::GetBitmap() const {
  const QWidget* w = GetSafeWidget();
  return w ? static_cast<HBITMAP>(w->property(kImageProperty).value<void*>()) : nullptr;
}

void CButton::Click() {
  if (auto* button = qobject_cast<QAbstractButton*>(GetSafeWidget())) button->click();
}

LRESULT CButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_GETCHECK:
      return GetCheck();
    case BM_SETCHECK:
      SetCheck(static_cast<int>(wParam));
      return 0;
    case BM_CLICK:
      Click();
      return 0;
    case BM_SETIMAGE:
      if (wParam != IMAGE_BITMAP) return 0;
      return reinterpret_cast<LRESULT>(SetBitmap(reinterpret_cast<HBITMAP>(lParam)));
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(GetBitmap());
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- CEdit.

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, bool multiLine) {
  QWidget* parentWidget = ParentWidgetOf(parent);
  if (!parentWidget) return FALSE;
  QWidget* widget;
  if (multiLine) {
    auto* edit = new QPlainTextEdit(parentWidget);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setProperty(kLimitProperty, kDefaultEditLimit);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
      if (!edit->property(plat::win::kProgramSetProperty).toBool()) plat::win::NotifyParentOf(edit, EN_CHANGE);
    });
    widget = edit;
  } else {
    auto* edit = new QLineEdit(parentWidget);
    edit->setMaxLength(kDefaultEditLimit);
    // Only the person's edits; the program's SetWindowText notifies itself.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] { plat::win::NotifyParentOf(edit, EN_CHANGE); });
    widget = edit;
  }
  return FinishCreate(widget, style, rect, parent, id);
}

void CEdit::SetLimitText(UINT maxChars) {
  const int limit = maxChars == 0 ? kDefaultEditLimit : static_cast<int>(std::min<UINT>(maxChars, 0x7FFFFFFF));
  if (auto* edit = qobject_cast<QLineEdit*>(GetSafeWidget())) edit->setMaxLength(limit);
  if (auto* multi = qobject_cast<QPlainTextEdit*>(GetSafeWidget())) multi->setProperty(kLimitProperty, limit);
}

UINT CEdit::GetLimitText() const {
  if (auto* edit = qobject_cast<const QLineEdit*>(GetSafeWidget())) return static_cast<UINT>(edit->maxLength());
  if (auto* multi = qobject_cast<const QPlainTextEdit*>(GetSafeWidget()))
    return static_cast<UINT>(multi->property(kLimitProperty).toInt());
  return 0;
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
  QWidget* w = GetSafeWidget();
  if (auto* edit = qobject_cast<QLineEdit*>(w))
    edit->setReadOnly(readOnly != FALSE);
  else if (auto* multi = qobject_cast<QPlainTextEdit*>(w))
    multi->setReadOnly(readOnly != FALSE);
  else
    return FALSE;
  MakeReadOnlyLook(w, readOnly != FALSE);
  return TRUE;
}

BOOL CEdit::IsReadOnly() const {
  if (auto* edit = qobject_cast<const QLineEdit*>(GetSafeWidget())) return edit->isReadOnly();
  if (auto* multi = qobject_cast<const QPlainTextEdit*>(GetSafeWidget())) return multi->isReadOnly();
  return FALSE;
}

void CEdit::SetSel(int start, int end) {
  if (auto* edit = qobject_cast<QLineEdit*>(GetSafeWidget())) {
    const int length = static_cast<int>(edit->text().size());
    if (start < 0) {
      edit->deselect();
      return;
    }
    if (end < 0 || end > length) end = length;
    edit->setSelection(std::min(start, length), end - std::min(start, length));
  }
}

void CEdit::ReplaceSel(const char* text) {
  if (auto* edit = qobject_cast<QLineEdit*>(GetSafeWidget())) {
    edit->insert(ToQString(text));
    NotifyParent(EN_CHANGE);
  } else if (auto* multi = qobject_cast<QPlainTextEdit*>(GetSafeWidget())) {
    multi->setProperty(plat::win::kProgramSetProperty, true);
    multi->insertPlainText(ToQString(text));
    multi->setProperty(plat::win::kProgramSetProperty, false);
    NotifyParent(EN_CHANGE);
  }
}

void CEdit::OnWidgetEvent(QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::FocusOut && type != QEvent::FocusIn) {
    CWnd::OnWidgetEvent(event);
    return;
  }
  // The edit's own context menu does not take the focus away on Windows.
  if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) return;
  NotifyParent(type == QEvent::FocusOut ? EN_KILLFOCUS : EN_SETFOCUS);
}

LRESULT CEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(GetLimitText());
    case EM_SETLIMITTEXT:
      SetLimitText(static_cast<UINT>(wParam));
      return 0;
    case EM_SETREADONLY:
      return SetReadOnly(static_cast<BOOL>(wParam));
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- CComboBox.

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = ParentWidgetOf(parent);
  if (!parentWidget) return FALSE;
  auto* combo = new QComboBox(parentWidget);
  combo->setEditable(false);
  // activated comes from the person only; setCurrentIndex stays silent.
  QObject::connect(combo, &QComboBox::activated, combo,
                   [combo](int) { plat::win::NotifyParentOf(combo, CBN_SELCHANGE); });
  RECT closed = rect;
  const int openHeight = rect.bottom - rect.top;
  closed.bottom = rect.top + std::min(openHeight, kComboHeight);
  combo->setMaxVisibleItems(std::max(1, (openHeight - kComboHeight) / 16));
  return FinishCreate(combo, style, closed, parent, id);
}

namespace {
QStringList ItemsOf(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}
}  // namespace

int CComboBox::AddString(const char* text) {
  auto* combo = qobject_cast<QComboBox*>(GetSafeWidget());
  if (!combo) return -1;
  const QString s = ToQString(text);
  const int index = combo->property(kSortedProperty).toBool() ? SortedIndex(ItemsOf(combo), s) : combo->count();
  const QSignalBlocker blocker(combo);
  const int current = combo->currentIndex();
  combo->insertItem(index, s);
  // A list keeps "no selection" when entries are added.
  if (current < 0) combo->setCurrentIndex(-1);
  return index;
}

int CComboBox::InsertString(int index, const char* text) {
  auto* combo = qobject_cast<QComboBox*>(GetSafeWidget());
  if (!combo) return -1;
  if (index < 0 || index > combo->count()) index = combo->count();
  const QSignalBlocker blocker(combo);
  const int current = combo->currentIndex();
  combo->insertItem(index, ToQString(text));
  if (current < 0) combo->setCurrentIndex(-1);
  return index;
}

int CComboBox::DeleteString(int index) {
  auto* combo = qobject_cast<QComboBox*>(GetSafeWidget());
  if (!combo || index < 0 || index >= combo->count()) return -1;
  const QSignalBlocker blocker(combo);
  combo->removeItem(index);
  return combo->count();
}

void CComboBox::ResetContent() {
  if (auto* combo = qobject_cast<QComboBox*>(GetSafeWidget())) {
    const QSignalBlocker blocker(combo);
    combo->clear();
  }
}

int CComboBox::GetCount() const {
  auto* combo = qobject_cast<const QComboBox*>(GetSafeWidget());
  return combo ? combo->count() : 0;
}

int CComboBox::SetCurSel(int index) {
  auto* combo = qobject_cast<QComboBox*>(GetSafeWidget());
  if (!combo) return -1;
  const bool inRange = index >= 0 && index < combo->count();
  combo->setCurrentIndex(inRange ? index : -1);
  return inRange ? index : -1;
}

int CComboBox::GetCurSel() const {
  auto* combo = qobject_cast<const QComboBox*>(GetSafeWidget());
  return combo ? combo->currentIndex() : -1;
}

std::string CComboBox::GetLBText(int index) const {
  auto* combo = qobject_cast<const QComboBox*>(GetSafeWidget());
  if (!combo || index < 0 || index >= combo->count()) return {};
  return FromQString(combo->itemText(index));
}

int CComboBox::GetLBText(int index, std::string& text) const {
  auto* combo = qobject_cast<const QComboBox*>(GetSafeWidget());
  if (!combo || index < 0 || index >= combo->count()) return -1;
  text = GetLBText(index);
  return static_cast<int>(text.size());
}

int CComboBox::FindStringExact(int startAfter, const char* text) const {
  auto* combo = qobject_cast<const QComboBox*>(GetSafeWidget());
  if (!combo) return -1;
  const QString s = ToQString(text);
  const int n = combo->count();
  for (int k = 1; k <= n; ++k) {
    const int i = (startAfter + k + n) % n;
    if (QString::compare(combo->itemText(i), s, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

LRESULT CComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CB_ADDSTRING:
      return AddString(reinterpret_cast<const char*>(lParam));
    case CB_RESETCONTENT:
      ResetContent();
      return 0;
    case CB_GETCOUNT:
      return GetCount();
    case CB_GETCURSEL:
      return GetCurSel();
    case CB_SETCURSEL:
      return SetCurSel(static_cast<int>(wParam));
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- CListBox.

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = ParentWidgetOf(parent);
  if (!parentWidget) return FALSE;
  auto* list = new QListWidget(parentWidget);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  // Without a horizontal scroll bar a line longer than the box wraps rather
  // than hiding its end.
  list->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  list->setWordWrap((style & WS_HSCROLL) == 0);
  // The program's own changes run with signals blocked, so this is the person.
  QObject::connect(list, &QListWidget::currentRowChanged, list,
                   [list](int) { plat::win::NotifyParentOf(list, LBN_SELCHANGE); });
  return FinishCreate(list, style, rect, parent, id);
}

namespace {
QStringList ItemsOf(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}
}  // namespace

int CListBox::AddString(const char* text) {
  auto* list = qobject_cast<QListWidget*>(GetSafeWidget());
  if (!list) return -1;
  const QString s = ToQString(text);
  const int index = list->property(kSortedProperty).toBool() ? SortedIndex(ItemsOf(list), s) : list->count();
  const QSignalBlocker blocker(list);
  list->insertItem(index, s);
  return index;
}

int CListBox::InsertString(int index, const char* text) {
  auto* list = qobject_cast<QListWidget*>(GetSafeWidget());
  if (!list) return -1;
  if (index < 0 || index > list->count()) index = list->count();
  const QSignalBlocker blocker(list);
  list->insertItem(index, ToQString(text));
  return index;
}

int CListBox::DeleteString(int index) {
  auto* list = qobject_cast<QListWidget*>(GetSafeWidget());
  if (!list || index < 0 || index >= list->count()) return -1;
  const QSignalBlocker blocker(list);
  delete list->takeItem(index);
  return list->count();
}

void CListBox::ResetContent() {
  if (auto* list = qobject_cast<QListWidget*>(GetSafeWidget())) {
    const QSignalBlocker blocker(list);
    list->clear();
  }
}

int CListBox::GetCount() const {
  auto* list = qobject_cast<const QListWidget*>(GetSafeWidget());
  return list ? list->count() : 0;
}

int CListBox::SetCurSel(int index) {
  auto* list = qobject_cast<QListWidget*>(GetSafeWidget());
  if (!list) return -1;
  const bool inRange = index >= 0 && index < list->count();
  const QSignalBlocker blocker(list);
  list->setCurrentRow(inRange ? index : -1);
  if (!inRange) list->clearSelection();
  return inRange ? index : -1;
}

int CListBox::GetCurSel() const {
  auto* list = qobject_cast<const QListWidget*>(GetSafeWidget());
  return list ? list->currentRow() : -1;
}

std::string CListBox::GetText(int index) const {
  auto* list = qobject_cast<const QListWidget*>(GetSafeWidget());
  if (!list || index < 0 || index >= list->count()) return {};
  return FromQString(list->item(index)->text());
}

int CListBox::SetTopIndex(int index) {
  auto* list = qobject_cast<QListWidget*>(GetSafeWidget());
  if (!list || index < 0 || index >= list->count()) return -1;
  list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
  return 0;
}

LRESULT CListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case LB_ADDSTRING:
      return AddString(reinterpret_cast<const char*>(lParam));
    case LB_RESETCONTENT:
      ResetContent();
      return 0;
    case LB_GETCOUNT:
      return GetCount();
    case LB_GETCURSEL:
      return GetCurSel();
    case LB_SETCURSEL:
      return SetCurSel(static_cast<int>(wParam));
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- CProgressCtrl.

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = ParentWidgetOf(parent);
  if (!parentWidget) return FALSE;
  auto* bar = new QProgressBar(parentWidget);
  bar->setTextVisible(false);
  bar->setProperty(kLowProperty, 0);
  bar->setProperty(kHighProperty, 100);
  bar->setProperty(kPosProperty, 0);
  bar->setRange(0, 100);
  bar->setValue(0);
  return FinishCreate(bar, style, rect, parent, id);
}

namespace {
void ShowProgress(QProgressBar* bar) {
  const int low = bar->property(kLowProperty).toInt();
  const int high = bar->property(kHighProperty).toInt();
  // An empty range would make Qt show a busy bar.
  bar->setRange(low, std::max(high, low + 1));
  bar->setValue(std::clamp(bar->property(kPosProperty).toInt(), low, std::max(high, low + 1)));
}
}  // namespace

void CProgressCtrl::SetRange(short lower, short upper) { SetRange32(lower, upper); }

void CProgressCtrl::SetRange32(int lower, int upper) {
  auto* bar = qobject_cast<QProgressBar*>(GetSafeWidget());
  if (!bar) return;
  bar->setProperty(kLowProperty, lower);
  bar->setProperty(kHighProperty, upper);
  const int pos = bar->property(kPosProperty).toInt();
  bar->setProperty(kPosProperty, std::clamp(pos, std::min(lower, upper), std::max(lower, upper)));
  ShowProgress(bar);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
  auto* bar = qobject_cast<const QProgressBar*>(GetSafeWidget());
  lower = bar ? bar->property(kLowProperty).toInt() : 0;
  upper = bar ? bar->property(kHighProperty).toInt() : 0;
}

int CProgressCtrl::SetPos(int pos) {
  auto* bar = qobject_cast<QProgressBar*>(GetSafeWidget());
  if (!bar) return 0;
  const int previous = bar->property(kPosProperty).toInt();
  const int low = bar->property(kLowProperty).toInt();
  const int high = bar->property(kHighProperty).toInt();
  bar->setProperty(kPosProperty, std::clamp(pos, std::min(low, high), std::max(low, high)));
  ShowProgress(bar);
  return previous;
}

int CProgressCtrl::GetPos() const {
  auto* bar = qobject_cast<const QProgressBar*>(GetSafeWidget());
  return bar ? bar->property(kPosProperty).toInt() : 0;
}

int CProgressCtrl::OffsetPos(int delta) { return SetPos(GetPos() + delta); }

LRESULT CProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_SETRANGE: {
      int low = 0, high = 0;
      GetRange(low, high);
      SetRange(static_cast<short>(lParam & 0xFFFF), static_cast<short>((lParam >> 16) & 0xFFFF));
      return static_cast<LRESULT>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
    }
    case PBM_SETRANGE32: {
      int low = 0, high = 0;
      GetRange(low, high);
      SetRange32(static_cast<int>(wParam), static_cast<int>(lParam));
      return static_cast<LRESULT>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
    }
    case PBM_SETPOS:
      return SetPos(static_cast<int>(wParam));
    case PBM_DELTAPOS:
      return OffsetPos(static_cast<int>(wParam));
    case PBM_GETPOS:
      return GetPos();
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- Template items.

namespace plat {

std::unique_ptr<CWnd> CreateDialogControl(const DialogItem& item, const RECT& pixels, CWnd* parent, int radioGroup) {
  const DWORD style = WindowStyleOf(item.style);
  const UINT id = static_cast<UINT>(item.id);
  switch (item.kind) {
    case DlgKind::Static:
    case DlgKind::Picture: {
      auto control = std::make_unique<CStatic>();
      if (!control->Create(item.kind == DlgKind::Static ? item.text.c_str() : "", style, pixels, parent, id))
        return nullptr;
      auto* label = qobject_cast<QLabel*>(control->GetSafeWidget());
      if (item.kind == DlgKind::Picture) {
        label->setProperty(kPictureProperty, true);
        label->setWordWrap(false);
        if (item.image != 0) {
          if (item.style & DS_ICON)
            control->SetIcon(FindIcon(item.image));
          else
            control->SetBitmap(FindBitmap(item.image));
        }
      } else {
        // A field one line high keeps its text on that line: a text that
        // just fits shows whole instead of losing its last word to a
        // second line nobody sees.
        if (pixels.bottom - pixels.top < 2 * label->fontMetrics().lineSpacing()) label->setWordWrap(false);
        label->setAlignment(TextAlignment(item.style) | Qt::AlignTop);
        if (item.style & DS_SUNKEN) {
          label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
          label->setAlignment(TextAlignment(item.style) | Qt::AlignVCenter);
          label->setIndent(2);
        }
      }
      return control;
    }
    case DlgKind::GroupBox:
    case DlgKind::PushButton:
    case DlgKind::CheckBox:
    case DlgKind::RadioButton: {
      const CButton::Kind kind = item.kind == DlgKind::GroupBox     ? CButton::Kind::GroupBox
                                 : item.kind == DlgKind::PushButton ? CButton::Kind::PushButton
                                 : item.kind == DlgKind::CheckBox   ? CButton::Kind::CheckBox
                                                                    : CButton::Kind::RadioButton;
      auto control = std::make_unique<CButton>();
      if (!control->Create(item.text.c_str(), kind, style, pixels, parent, id)) return nullptr;
      QWidget* w = control->GetSafeWidget();
      w->setProperty(kManualProperty, (item.style & DS_MANUAL) != 0);
      if (item.kind == DlgKind::CheckBox && (item.style & DS_TRISTATE)) {
        w->setProperty(kThreeStateProperty, true);
        static_cast<QCheckBox*>(w)->setTristate(true);
      }
      if (item.kind == DlgKind::RadioButton) w->setProperty(kRadioGroupProperty, radioGroup);
      if (auto* push = dynamic_cast<PushButton*>(w)) {
        push->bitmapOnly = (item.style & DS_BITMAP) != 0;
        push->setDefault((item.style & DS_DEFAULT) != 0);
      }
      return control;
    }
    case DlgKind::Edit: {
      auto control = std::make_unique<CEdit>();
      if (!control->Create(style, pixels, parent, id, (item.style & DS_MULTILINE) != 0)) return nullptr;
      QWidget* w = control->GetSafeWidget();
      if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setAlignment(TextAlignment(item.style) | Qt::AlignVCenter);
        if (item.style & DS_NUMBER)
          edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        if (item.style & DS_PASSWORD) edit->setEchoMode(QLineEdit::Password);
      }
      if (!item.text.empty()) {
        // Template text is there from the start, before anyone listens.
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(ToQString(item.text.c_str()));
        if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
          const QSignalBlocker blocker(multi);
          multi->setPlainText(ToQString(item.text.c_str()));
        }
      }
      if (item.style & DS_READONLY) control->SetReadOnly(TRUE);
      return control;
    }
    case DlgKind::ComboBox: {
      auto control = std::make_unique<CComboBox>();
      if (!control->Create(style, pixels, parent, id)) return nullptr;
      control->GetSafeWidget()->setProperty(kSortedProperty, (item.style & DS_SORT) != 0);
      return control;
    }
    case DlgKind::ListBox: {
      auto control = std::make_unique<CListBox>();
      if (!control->Create(style, pixels, parent, id)) return nullptr;
      control->GetSafeWidget()->setProperty(kSortedProperty, (item.style & DS_SORT) != 0);
      return control;
    }
    case DlgKind::Progress: {
      auto control = std::make_unique<CProgressCtrl>();
      if (!control->Create(style, pixels, parent, id)) return nullptr;
      return control;
    }
  }
  return nullptr;
}

}  // namespace plat
