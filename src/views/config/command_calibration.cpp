#include "views/config/command_calibration.h"

namespace {

const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(261));

}  // namespace

CCalibration_CommandCalibView::CCalibration_CommandCalibView() : CConfigurationPage(261, "EDT_ALM_CAL2", 61, 5000) {
  m_steps = {StatusStep(0, 0)};
}
