#include "views/config/custom_characterisation.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(290));

}  // namespace

CConfiguration_CustomCharView::CConfiguration_CustomCharView() : CConfigurationPage(290, "IDD_CONFIG_CUST_CHAR", 71, 5000) {
  m_steps = {StatusStep(0, 0)};
}
