#pragma once
// The standard dialog controls, as window objects over Qt widgets. The
// dialog template makes them (dialog_template.h); a page reaches them with
// GetDlgItem / GetDlgItemAs<T> or binds a member with DDX_Control.
//
// Notifications follow Win32: a button, check box, radio button, combo-box
// or list-box notification comes only from a user action; an edit notifies
// EN_CHANGE also when the program sets its text.
#include <string>

#include "platform/win/cwnd.h"
#include "platform/win/resources.h"

struct DialogItem;

// Static text, or a picture (bitmap or icon) when made with the picture kind.
class CStatic : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  // Show an image; a picture static takes the image's size, keeping its
  // top-left corner. Each returns the image shown before.
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Push button, check box, radio button or group box.
class CButton : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  enum class Kind { PushButton, CheckBox, RadioButton, GroupBox };
  BOOL Create(LPCTSTR text, Kind kind, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // 0, 1 or 2 (indeterminate; also on a two-state box). No notification.
  void SetCheck(int check);
  int GetCheck() const;
  // The button shows the bitmap instead of its text; returns the previous one.
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
  // As a user click: the box changes as it would and BN_CLICKED goes out.
  void Click();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Single-line edit (QLineEdit) or multi-line edit (QPlainTextEdit).
class CEdit : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, bool multiLine = false);
  void SetLimitText(UINT maxChars);
  void LimitText(UINT maxChars) { SetLimitText(maxChars); }
  // 0 when there is no edit window behind this object.
  UINT GetLimitText() const;
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  BOOL IsReadOnly() const;
  void SetSel(int start, int end);
  void ReplaceSel(const char* text);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void OnWidgetEvent(QEvent* event) override;
};

// Drop-down list (not editable), unsorted unless made with the sort style.
class CComboBox : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(const char* text);  // index of the new entry
  int InsertString(int index, const char* text);
  int DeleteString(int index);  // count left, or -1
  void ResetContent();
  int GetCount() const;
  // An index out of range leaves no selection (and returns -1). No notification.
  int SetCurSel(int index);
  int GetCurSel() const;  // -1 without a selection
  std::string GetLBText(int index) const;
  int GetLBText(int index, std::string& text) const;
  int FindStringExact(int startAfter, const char* text) const;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CListBox : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(const char* text);
  int InsertString(int index, const char* text);
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  int SetCurSel(int index);  // no notification
  int GetCurSel() const;
  std::string GetText(int index) const;
  int SetTopIndex(int index);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Progress bar; starts with the range 0 to 100 and position 0.
class CProgressCtrl : public CWnd {
  // Made only by its own Create; the plain window's stays out of reach.
  using CWnd::Create;

 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetRange(short lower, short upper);
  void SetRange32(int lower, int upper);
  void GetRange(int& lower, int& upper) const;
  // Clamped to the range; returns the previous position.
  int SetPos(int pos);
  int GetPos() const;
  int OffsetPos(int delta);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

namespace plat {
// Makes the window object and widget of one template item in parent (its
// client widget), with the item's rectangle already in pixels. radioGroup
// numbers the WS_GROUP run the item belongs to.
std::unique_ptr<CWnd> CreateDialogControl(const DialogItem& item, const RECT& pixels, CWnd* parent, int radioGroup);
}  // namespace plat
