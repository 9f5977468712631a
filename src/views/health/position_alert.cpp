#include "views/health/position_alert.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(245));

}  // namespace

CHealth_Ctl_PosAlertsView::CHealth_Ctl_PosAlertsView() : CMonitoringPage(245, "POSNALERT", 27, 5000) {
  m_nStartStep = 7;
  m_steps = {StatusStep(7, 7)};
}
