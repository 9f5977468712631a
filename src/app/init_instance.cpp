// Start-up of the application object: it makes the main frame, which makes
// every page, so it sits above the pages; the rest of the object is below
// them.
#include <QKeySequence>
#include <QShortcut>
#include <string>

#include "app/frame.h"
#include "platform/activex/bitmaps.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/com/registry.h"
#include "platform/opc/server.h"
#include "platform/win/person.h"
#include "platform/win/qt_translations.h"
#include "platform/win/resources.h"
#include "shell/app.h"
#include "shell/tree_view.h"

BOOL CTarnixWexletApp::InitInstance(int argc, const char* const* argv) {
  CoInitialize(nullptr);
  opc::RegisterServer();
  activex::RegisterControlClasses();
  plat::RegisterPlotClasses();
  activex::SetBitmapProvider([](int id) { return plat::BitmapPixmap(id); });

  SelectUiLanguage();
  LoadLanguageOrFallBack(m_LanguageTable, LanguageFilePath(), m_strLanguageId);
  plat::InstallQtTranslations(static_cast<LCID>(std::stoul(m_strLanguageId.str())));
  plat::SetAppTitle(m_strProductTitle.str());

  CMyCommandLineInfo commandLine;
  commandLine.Parse(argc, argv);
  m_strDevicePath = commandLine.m_strDevicePath;
  m_strServerName = commandLine.m_strServerName;

  m_pMainFrame = std::make_unique<CMainFrame>();
  CMainFrame* frame = MainFrame();
  if (!frame->Create(CMainFrame::kTitle)) return FALSE;
  frame->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
  if (QWidget* window = frame->GetSafeWidget()) {
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(help, &QShortcut::activated, [frame] { frame->DispatchCommand(ID_HELP, 0); });
  }
  m_pMainFrame->ShowWindow(SW_SHOWMAXIMIZED);
  m_pMainFrame->UpdateWindow();

  if (m_pTreeView) m_pTreeView->GetTreeCtrl().SelectItem(m_hTreeItems[1]);
  return TRUE;
}

