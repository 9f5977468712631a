#include "views/health/valve_health.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1077));

}  // namespace

CHealth_Val_MainView::CHealth_Val_MainView() : CMonitoringPage(1077, "IDD_HEALTH_VALVE", 31, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
