#include "views/health/positioner_health.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1079));

}  // namespace

CHealth_Pos_MainView::CHealth_Pos_MainView() : CMonitoringPage(1079, "IDD_HEALTH_POSITIONER", 21, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
