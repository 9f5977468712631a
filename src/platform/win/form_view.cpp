#include "platform/win/form_view.h"

#include <algorithm>

#include <QFrame>
#include <QGroupBox>
#include <QScrollArea>
#include <QScrollBar>

#include "platform/win/internal.h"
#include "support/log.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (!pDX || !pDX->m_pDlgWnd || control.GetSafeWidget()) return;
  CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
  if (!item || !item->GetSafeWidget()) {
    WriteLog(_bstr_t("DDX_Control: no control " + std::to_string(id)));
    return;
  }
  if (item != &control) control.Attach(item->GetSafeWidget());
}

// ---- CView.

CView::CView() { m_bAutoDelete = true; }

BOOL CView::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                   void* context) {
  return CWnd::Create(className, windowName, style, rect, parent, id, context);
}

void CView::OnInitialUpdate() {}

void CView::SendInitialUpdate() {
  if (m_initialized) return;
  m_initialized = true;
  BeforeInitialUpdate();
  Guarded("OnInitialUpdate", [this] { OnInitialUpdate(); });
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITIALUPDATE) {
    if (!m_deferred) SendInitialUpdate();
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CView::PostNcDestroy() { CWnd::PostNcDestroy(); }

// ---- CFormView.

CFormView::CFormView(UINT templateId) : m_templateId(templateId) {}

CFormView::~CFormView() = default;

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id, void*) {
  const DialogTemplate* dialog = plat::FindDialogTemplate(m_templateId);
  if (!dialog) {
    WriteLog(_bstr_t("No dialog template " + std::to_string(m_templateId)));
    return FALSE;
  }
  QWidget* parentWidget = parent ? parent->ClientWidget() : nullptr;
  if (parent && !parentWidget) return FALSE;

  auto* area = new QScrollArea(parentWidget);
  area->setWidgetResizable(false);
  area->setFrameShape((style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
  area->setBackgroundRole(QPalette::Window);
  plat::win::ApplyDialogLook(area);
  auto* canvas = new QWidget;
  m_totalSize = plat::DluToPixels(CSize(dialog->cx, dialog->cy));
  canvas->resize(m_totalSize.cx, m_totalSize.cy);
  area->setWidget(canvas);
  m_canvas = canvas;
  m_controls.clear();
  m_bControlsMade = false;
  if (!FinishCreate(area, style, rect, parent, id)) return FALSE;
  // A page built on its first showing makes its controls then too.
  if (!IsInitialUpdateDeferred()) MakeControls();
  return TRUE;
}

void CFormView::MakeControls() {
  const DialogTemplate* dialog = plat::FindDialogTemplate(m_templateId);
  if (m_bControlsMade || !dialog || !m_canvas) return;
  m_bControlsMade = true;
  // Radio buttons group by WS_GROUP runs, as in a dialog.
  int group = 0;
  for (const DialogItem& item : dialog->items) {
    if (item.style & DS_GROUP) ++group;
    const CRect pixels = plat::DluToPixels(item.x, item.y, item.cx, item.cy);
    if (auto control = plat::CreateDialogControl(item, pixels, this, group)) m_controls.push_back(std::move(control));
  }
  // Frames stay behind the controls they surround.
  for (const auto& control : m_controls)
    if (auto* box = qobject_cast<QGroupBox*>(control->GetSafeWidget())) box->lower();
}

void CFormView::BeforeInitialUpdate() { MakeControls(); }

void CFormView::OnInitialUpdate() { UpdateData(FALSE); }

QWidget* CFormView::ClientWidget() const { return m_canvas.data(); }

void CFormView::WidenCanvas(int width) {
  if (m_canvas) m_canvas->resize(std::max(width, static_cast<int>(m_totalSize.cx)), m_totalSize.cy);
}

void CFormView::GetClientRect(LPRECT rect) const {
  if (!rect) return;
  auto* area = qobject_cast<QScrollArea*>(GetSafeWidget());
  *rect = area ? FromQRect(QRect(QPoint(0, 0), area->viewport()->size())) : RECT{};
}
