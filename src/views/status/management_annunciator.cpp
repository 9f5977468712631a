#include "views/status/management_annunciator.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1076));

}  // namespace

CAlarm_ManagementAnnunciatorView::CAlarm_ManagementAnnunciatorView() : CMonitoringPage(1076, "IDD_ALARM_MGMT_ANNUNCIATE", 12, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
