#include "views/config/calibration_errors.h"

namespace {

constexpr StatusHeaderIds kHeader{1060, 1251, 1013};
const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(150, kHeader));

}  // namespace

CCalibration_ErrorsView::CCalibration_ErrorsView() : CConfigurationPage(150, "CALERRORS", 64, 4000, kHeader) {
  m_steps = {StatusStep(0, 0)};
}
