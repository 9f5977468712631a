#pragma once
// The command input (4-20 mA) calibration.
#include "shell/configuration_page.h"

class CCalibration_CommandCalibView : public CConfigurationPage {
 public:
  CCalibration_CommandCalibView();
};
