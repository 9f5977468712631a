#include "views/config/pressure_control.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(481));

}  // namespace

CConfiguration_PressureControlView::CConfiguration_PressureControlView() : CConfigurationPage(481, "IDC_STATICSTABLITYLBL", 74, 5000) {
  m_steps = {StatusStep(0, 0)};
}
