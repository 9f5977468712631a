// The constructors live here, beside the templates, so that linking a page
// also registers its template.
#include "views/status/status_pages.h"

#include "shell/app.h"

namespace {

using pages::StatusPageTemplate;

const plat::DialogTemplateRegistrar kTemplates[] = {
    plat::DialogTemplateRegistrar(StatusPageTemplate(106)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(286)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(1076)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(206)),
    plat::DialogTemplateRegistrar(StatusPageTemplate(413)),
};

}  // namespace

CDashboardView::CDashboardView() : CStatusPage(106, "IDC_BUTTON_DASHBOARD", 3, 5000) {}

void CDashboardView::OnInitialUpdate() {
  CStatusPage::OnInitialUpdate();
  theApp().m_comm.LoadErrorTable();
}

void CDashboardView::StartMonitoring() {
  Guarded("StartMonitoring", [this] { PollStatusArea(); });
  ArmTimer();
}

CAlarm_AnnunciatorView::CAlarm_AnnunciatorView() : CStatusPage(286, "IDC_BUTTON_ALMANNUCIATE", 11, 5000) {}

CAlarm_ManagementAnnunciatorView::CAlarm_ManagementAnnunciatorView()
    : CStatusPage(1076, "IDD_ALARM_MGMT_ANNUNCIATE", 12, 5000) {}

CAlarm_EventHistoryView::CAlarm_EventHistoryView() : CStatusPage(206, "IDC_BUTTON_EVENTS", 13, 5000) {}

void CAlarm_EventHistoryView::StopMonitoring() {
  CStatusPage::StopMonitoring();
  if (!m_bHasSavedSelection) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_byEventHistorySelect = m_bySavedSelection;
  Guarded("StopMonitoring", [&comm] { comm.WriteCommand(237); });
}

CAlarm_TechAnnunciatorView::CAlarm_TechAnnunciatorView() : CStatusPage(413, "IDD_TECHANNUNCIATOR", 82, 5000) {}
