#include "views/health/positioner_temperature.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(386));

}  // namespace

CHealth_Pos_TempAndHumidityView::CHealth_Pos_TempAndHumidityView() : CMonitoringPage(386, "IDC_BTN_TEMP", 22, 5000) {
  m_nStartStep = 5;
  m_steps = {StatusStep(5, 5)};
}
