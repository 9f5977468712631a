#pragma once
// The stroke (sensor) calibration, with the valve moving as the device
// steps through it.
#include "shell/configuration_page.h"

class CCalibration_SensorCalibView : public CConfigurationPage {
 public:
  CCalibration_SensorCalibView();
  // Also stops a sensor calibration left running in the device.
  void StopMonitoring() override;

 protected:
  bool m_bCalibrationInProgress = false;
};
