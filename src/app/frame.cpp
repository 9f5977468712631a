#include "app/frame.h"

#include "app/page_table.h"
#include "platform/win/html_help.h"
#include "shell/app.h"
#include "shell/strips.h"
#include "shell/tree_view.h"

CMainFrame* MainFrame() { return static_cast<CMainFrame*>(theApp().m_pMainFrame.get()); }

BOOL CMainFrame::OnCreateClient(void*, void* context) {
  CTarnixWexletApp& app = theApp();
  m_wndOuterSplitter.CreateStatic(this, 3, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST);
  m_wndOuterSplitter.CreateView(0, 0, new CIdentificationArea, CSize(0, 0), context);
  m_wndOuterSplitter.SetLocked(TRUE);
  m_wndInnerSplitter.CreateStatic(&m_wndOuterSplitter, 1, 2, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                  m_wndOuterSplitter.IdFromRowCol(1, 0));
  m_wndInnerSplitter.CreateView(0, 0, new CTarnixWexletView, CSize(0, 0), context);
  m_wndInnerSplitter.CreateView(0, 1, new CView, CSize(0, 0), context);
  m_wndOuterSplitter.CreateView(2, 0, new CActionArea, CSize(0, 0), context);
  m_wndOuterSplitter.SetRowInfo(0, 120, 0);
  m_wndOuterSplitter.SetRowInfo(1, MiddleBandHeight(m_cyClient), 0);
  m_wndInnerSplitter.SetColumnInfo(0, m_cxClient / 4 + 30, 0);
  m_bSplittersReady = true;
  SetMenu(nullptr);

  // Every page once, hidden, in view order; the page area shows page 1.
  for (int index = 1; index < CTarnixWexletApp::kViewCount; ++index) app.m_pViews[index] = CreatePage(index);
  // Pages other than the first are built when first shown: start-up stays
  // quick however many pages there are.
  for (int index = 1; index < CTarnixWexletApp::kViewCount; ++index)
    if (CTarnixPage* page = app.m_pViews[index]) {
      if (index != 1) page->DeferInitialUpdate();
      page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &m_wndInnerSplitter,
                   static_cast<UINT>(index));
    }
  m_wndInnerSplitter.SwitchView(0, 1, 1);
  RecalcLayout();

  m_strItemPath = app.m_strDevicePath + "/Param/HART_Frame";
  CWexletCoreCommunication& comm = app.m_comm;
  app.m_testEngine.Forget();
  if (comm.Connect("AMS.OPCServer.1", app.m_strServerName.c_str()) && comm.AddGroup("Quorvane") == 1) {
    if (comm.AddItem(m_strItemPath.c_str()) == 1)
      comm.ReadCommand(13);
    else
      MessageBox("Communication Error.", "MainFrm", MB_OK);
  }
  return TRUE;
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
  m_cxClient = cx;
  m_cyClient = cy;
  if (m_bSplittersReady) {
    m_wndOuterSplitter.SetRowInfo(0, 120, 0);
    m_wndOuterSplitter.SetRowInfo(1, MiddleBandHeight(cy), 0);
  }
  CFrameWnd::OnSize(type, cx, cy);
}

BOOL CMainFrame::OnCommand(UINT id, UINT code) {
  if (id == ID_HELP || id == ID_HELP_INDEX) {
    OnContextHelp();
    return TRUE;
  }
  return CFrameWnd::OnCommand(id, code);
}

void CMainFrame::OnContextHelp() {
  CTarnixWexletApp& app = theApp();
  if (!app.m_pTreeView) return;
  CTreeCtrl& tree = app.m_pTreeView->GetTreeCtrl();
  const DWORD_PTR code = tree.GetItemData(tree.GetSelectedItem());
  HtmlHelp(this, app.m_strHelpFilePath.c_str(), HH_HELP_CONTEXT, code);
}
