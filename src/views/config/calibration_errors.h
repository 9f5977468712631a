#pragma once
// The calibration errors of the device, read and cleared.
#include "shell/configuration_page.h"

class CCalibration_ErrorsView : public CConfigurationPage {
 public:
  CCalibration_ErrorsView();
};
