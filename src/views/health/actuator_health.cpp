#include "views/health/actuator_health.h"

namespace {

constexpr StatusHeaderIds kHeader{1060, 1288, 1624};
const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1080, kHeader));

}  // namespace

CHealth_Act_MainView::CHealth_Act_MainView() : CMonitoringPage(1080, "IDD_HEALTH_ACTUATOR", 41, 5000, kHeader) {
  m_nStartStep = 7;
  m_steps = {StatusStep(7, 7)};
}
