// The constructors live here, beside the templates, so that linking a page
// also registers its template.
#include "diagnostics/run/run_pages.h"

#include "shell/app.h"

namespace {

using pages::StatusPageTemplate;

const plat::DialogTemplateRegistrar kTemplates[] = {
    plat::DialogTemplateRegistrar(pages::PlainPageTemplate(203)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(254)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(1090)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(268)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(266)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(270)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(274)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(411)),
};

}  // namespace

// No tree item shows this page; it takes the caption of its group.
CDiagnostics_OnlineView::CDiagnostics_OnlineView() : CTitledPage(203, "MAINONLINEDIAGMENU") {}

CDiagnostics_DataMonitorView::CDiagnostics_DataMonitorView()
    : CStatusPage(254, "IDD_DIAGNOSTIC_DATALOGGER", 55, 1000) {}

CDiagnostics_OfflineView::CDiagnostics_OfflineView() : CStatusPage(1090, "MAINOFFLINEDIAGMENU", 0, 0) {}

void CDiagnostics_OfflineView::StartMonitoring() {
  Guarded("StartMonitoring", [this] { RefreshStatusArea(); });
  CTarnixWexletApp& app = theApp();
  app.m_pRampTestView = app.m_pViews[18];
  app.m_pStepTestView = app.m_pViews[20];
  app.m_pHDRLView = app.m_pViews[22];
  app.m_pPSTView = app.m_pViews[24];
}

void CDiagnosticTestPage::StartMonitoring() {
  CStatusPage::StartMonitoring();
  theApp().m_pMultiTestView = theApp().m_pViews[17];
}

CDiagnostics_RampTestView::CDiagnostics_RampTestView()
    : CDiagnosticTestPage(268, "IDD_DIAGNOSTIC_RAMP_TEST", 51, 1000) {}

CDiagnostics_StepTestView::CDiagnostics_StepTestView()
    : CDiagnosticTestPage(266, "IDD_DIAGNOSTIC_STEP_TEST", 52, 500) {}

CDiagnostics_HDRLView::CDiagnostics_HDRLView() : CDiagnosticTestPage(270, "IDD_DIAGNOSTIC_HDRL", 54, 500) {}

CDiagnostics_PSTView::CDiagnostics_PSTView() : CDiagnosticTestPage(274, "PARTTEST", 53, 5000) {}

CDiagnostics_TechSensorsView::CDiagnostics_TechSensorsView() : CStatusPage(411, "IDD_TECHSENSORS", 81, 5000) {}
