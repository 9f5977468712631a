#include "views/health/deviation_alert.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(398));

}  // namespace

CHealth_Ctl_DeviationView::CHealth_Ctl_DeviationView() : CMonitoringPage(398, "IDC_BTN_DEVIATION", 26, 5000) {
  m_nStartStep = 7;
  m_steps = {StatusStep(7, 7)};
}
