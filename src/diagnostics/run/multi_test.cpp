#include "diagnostics/run/multi_test.h"

#include "shell/app.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(1090));

}  // namespace

CDiagnostics_OfflineView::CDiagnostics_OfflineView() : CStatusPage(1090, "MAINOFFLINEDIAGMENU", 0, 0) {}

void CDiagnostics_OfflineView::StartMonitoring() {
  Guarded("StartMonitoring", [this] { RefreshStatusArea(); });
  CTarnixWexletApp& app = theApp();
  app.m_pRampTestView = app.m_pViews[18];
  app.m_pStepTestView = app.m_pViews[20];
  app.m_pHDRLView = app.m_pViews[22];
  app.m_pPSTView = app.m_pViews[24];
}
