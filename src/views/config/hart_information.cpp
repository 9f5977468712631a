#include "views/config/hart_information.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(236));

}  // namespace

CConfiguration_PosHartInformationView::CConfiguration_PosHartInformationView() : CConfigurationPage(236, "IDC_BUTTON_INFO_HART", 83, 5000) {
  m_steps = {StatusStep(0, 0)};
}
