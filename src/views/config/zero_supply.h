#pragma once
// The zero supply calibration. Reached only from the sensor calibration
// page's own flow: the tree never starts or stops it.
#include "shell/configuration_page.h"

class CCalibration_ZeroSupply : public CConfigurationPage {
 public:
  CCalibration_ZeroSupply();
  void StartMonitoring() override {}
  void StopMonitoring() override {}
};
