#pragma once
// The calibration and configuration pages.
#include "shell/status_page.h"

class CCalibration_SensorCalibView : public CStatusPage {
 public:
  CCalibration_SensorCalibView();
  // Also stops a sensor calibration left running in the device.
  void StopMonitoring() override;

 protected:
  bool m_bCalibrationInProgress = false;
};

class CCalibration_CommandCalibView : public CStatusPage {
 public:
  CCalibration_CommandCalibView();
};

class CCalibration_ErrorsView : public CStatusPage {
 public:
  CCalibration_ErrorsView();
};

class CConfiguration_PressureControlView : public CStatusPage {
 public:
  CConfiguration_PressureControlView();
};

class CConfiguration_StrokeCharView : public CStatusPage {
 public:
  CConfiguration_StrokeCharView();
};

class CConfiguration_CustomCharView : public CStatusPage {
 public:
  CConfiguration_CustomCharView();
};

// Reached only from the sensor calibration page's own flow: the tree never
// starts or stops it.
class CCalibration_ZeroSupply : public CStatusPage {
 public:
  CCalibration_ZeroSupply();
  void StartMonitoring() override {}
  void StopMonitoring() override {}
};

class CConfiguration_PosHartInformationView : public CStatusPage {
 public:
  CConfiguration_PosHartInformationView();
};
