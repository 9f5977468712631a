#pragma once
// Views: CView (a plain pane), CFormView (a page built from a dialog
// template) and the control binding of DoDataExchange.
//
// A page:
//   class CActionArea : public CFormView {
//    public:
//     CActionArea() : CFormView(308) { MapCommand(BN_CLICKED, 1000, &CActionArea::OnHelp); }
//     void DoDataExchange(CDataExchange* pDX) override {
//       CFormView::DoDataExchange(pDX);
//       DDX_Control(pDX, 1035, m_text);
//     }
//     void OnInitialUpdate() override { CFormView::OnInitialUpdate(); ... SetTimer(1, 5000); }
//     void OnTimer(UINT id) override { ... }
//     void OnControlEvent(UINT id, int event, const EventArgs& args) override { ... }
//   };
//
// The frame creates the page with Create(...) (hidden, border, parent the
// splitter, id = view index) and later sends WM_INITIALUPDATE to its
// descendants, which runs each view's OnInitialUpdate once. Views are made
// with new and delete themselves when their window goes, as on Windows.
#include <memory>
#include <vector>

#include "platform/win/controls.h"
#include "platform/win/cwnd.h"
#include "platform/win/dialog_template.h"

class QScrollArea;

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds a member window object to the dialog control with that id (the
// member becomes a handle on the control's widget). A missing id is logged.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CView : public CWnd {
 public:
  CView();
  BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context = nullptr) override;
  virtual void OnInitialUpdate();
  // Runs OnInitialUpdate (guarded) the first time only; also what
  // WM_INITIALUPDATE does.
  void SendInitialUpdate();
  bool IsInitialized() const { return m_initialized; }
  // A view hidden at start-up is built on its first showing instead:
  // WM_INITIALUPDATE passes it by, and whoever shows it sends the update.
  void DeferInitialUpdate() { m_deferred = true; }
  bool IsInitialUpdateDeferred() const { return m_deferred && !m_initialized; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void PostNcDestroy() override;
  // What a view builds before its OnInitialUpdate.
  virtual void BeforeInitialUpdate() {}

 private:
  bool m_initialized = false;
  bool m_deferred = false;
};

class CFormView : public CView {
 public:
  explicit CFormView(UINT templateId);
  ~CFormView() override;

  // Builds the page: a scroll area whose canvas has the template's size and
  // holds the template's controls at their places. FALSE (and a log line)
  // when the template is not registered.
  BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context = nullptr) override;
  // Binds the DDX_Control members.
  void OnInitialUpdate() override;
  // The template's controls, made once: at Create, or for a page built on
  // its first showing, just before its initial update.
  void MakeControls();

  UINT GetTemplateId() const { return m_templateId; }
  // The template's size in pixels.
  CSize GetTotalSize() const { return m_totalSize; }
  // The canvas inside the scroll area: children live there and client
  // coordinates refer to it.
  QWidget* ClientWidget() const override;
  // The visible part of the page.
  void GetClientRect(LPRECT rect) const override;

 protected:
  // A page that spans its window: the canvas takes the given width, never
  // less than the template's.
  void WidenCanvas(int width);

 private:
  void BeforeInitialUpdate() override;

  UINT m_templateId;
  bool m_bControlsMade = false;
  CSize m_totalSize;
  QPointer<QWidget> m_canvas;
  std::vector<std::unique_ptr<CWnd>> m_controls;
};
