#include "views/status/event_history.h"

#include "shell/app.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(206));

}  // namespace

CAlarm_EventHistoryView::CAlarm_EventHistoryView() : CMonitoringPage(206, "IDC_BUTTON_EVENTS", 13, 5000) {
  m_nStartStep = 7;
  m_steps = {StatusStep(7, 7)};
}

void CAlarm_EventHistoryView::StopMonitoring() {
  CMonitoringPage::StopMonitoring();
  if (!m_bHasSavedSelection) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_byEventHistorySelect = m_bySavedSelection;
  Try("StopMonitoring", [&comm] { comm.WriteCommand(237); });
}
