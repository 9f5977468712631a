#include "platform/activex/control_base.h"
#include "platform/com/registry.h"

namespace activex {

void RegisterControlClasses() {
  const struct {
    const char* progId;
    plat::ClassCreator create;
  } kinds[] = {
      {kLedRoundProgId, CreateLedRound},
      {kLedArrowProgId, CreateLedArrow},
      {kLinearGaugeProgId, CreateLinearGauge},
      {kSwitchSliderProgId, CreateSwitchSlider},
      {kSwitchToggleProgId, CreateSwitchToggle},
      {kAnalogDisplayProgId, CreateAnalogDisplay},
      {kEditDisplayProgId, CreateEditDisplay},
      {kLabelProgId, CreateLabel},
      {kThermometerProgId, CreateThermometer},
      {kImageDisplayProgId, CreateImageDisplay},
      {kSpinEditProgId, CreateSpinEdit},
      {kGridProgId, CreateGrid},
      {kReportProgId, CreateReport},
      {kPrinterProgId, CreatePrinter},
  };
  for (const auto& kind : kinds) plat::RegisterClass(kind.progId, kind.create);
}

}  // namespace activex
