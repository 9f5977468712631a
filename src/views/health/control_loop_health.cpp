#include "views/health/control_loop_health.h"

namespace {

constexpr StatusHeaderIds kHeader{1065, 1012, 1013};
const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(388, kHeader));

}  // namespace

CHealth_Ctl_MainView::CHealth_Ctl_MainView() : CMonitoringPage(388, "CTRLHEALTH", 25, 5000, kHeader) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
