#pragma once
// Tree control and tree view over QTreeWidget.
//
// Selecting an item, by the user or from code (SelectItem, TVM_SELECTITEM),
// sends TVN_SELCHANGED synchronously with the old and the new item; a
// handler may select another item from inside the notification (that
// notification then runs nested); selecting the selected item sends nothing.
// A CTreeView receives the notification in OnSelchanged; a CTreeCtrl inside
// another window sends it to its parent's OnNotify.
#include <string>

#include "platform/win/form_view.h"

struct _TREEITEM;
using HTREEITEM = _TREEITEM*;

inline HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline HTREEITEM const TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));

struct TVITEM {
  HTREEITEM hItem = nullptr;
  LPARAM lParam = 0;  // the item data
};

struct NMTREEVIEW {
  NMHDR hdr;
  UINT action = TVC_UNKNOWN;  // TVC_BYMOUSE / TVC_BYKEYBOARD for the user, TVC_UNKNOWN from code
  TVITEM itemOld;
  TVITEM itemNew;
};

class CTreeCtrl : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Inserted as the last child of parent (TVI_ROOT: top level) or first
  // (TVI_FIRST). Null on failure.
  HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM insertAfter = TVI_LAST);
  BOOL SetItemText(HTREEITEM item, const char* text);
  std::string GetItemText(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL Expand(HTREEITEM item, UINT code);
  BOOL ItemHasChildren(HTREEITEM item) const;
  BOOL IsExpanded(HTREEITEM item) const;

  BOOL SelectItem(HTREEITEM item);
  HTREEITEM GetSelectedItem() const;
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
  UINT GetCount() const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Makes the tree widget; the view and the control share it.
  static QWidget* MakeTreeWidget(QWidget* parent);
};

class CTreeView : public CView {
 public:
  BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context = nullptr) override;
  CTreeCtrl& GetTreeCtrl() { return m_tree; }
  const CTreeCtrl& GetTreeCtrl() const { return m_tree; }
  // TVN_SELCHANGED; header points at an NMTREEVIEW.
  virtual void OnSelchanged(NMHDR* header, LRESULT* result);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CTreeCtrl m_tree;
};
