#include "views/config/zero_supply.h"

namespace {

// No tree item gives this page a caption key.
constexpr const char* kTitle = "Zero Supply Calibration";
const plat::DialogTemplateRegistrar kTemplate(pages::StatusPageTemplate(421, {}, kTitle));

}  // namespace

CCalibration_ZeroSupply::CCalibration_ZeroSupply() : CConfigurationPage(421, nullptr, 63, 5000) {
  m_steps = {StatusStep(0, 0)};
}
