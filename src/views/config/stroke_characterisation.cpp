#include "views/config/stroke_characterisation.h"

namespace {

constexpr StatusHeaderIds kHeader{1060, 1288, 1013};
const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(428, kHeader));

}  // namespace

CConfiguration_StrokeCharView::CConfiguration_StrokeCharView() : CConfigurationPage(428, "IDC_BUTTON_CUS_CHAR", 70, 5000, kHeader) {
  m_steps = {StatusStep(0, 0)};
}
