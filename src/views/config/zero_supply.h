#pragma once
// The zero supply calibration: with the air supply removed, the supply
// sensor's settled count is captured as its zero; Finish leads back to the
// sensor calibration page. Reached only from that page's flow: the tree
// never starts or stops it.
#include "shell/configuration_page.h"

class CCalibration_ZeroSupply : public CConfigurationPage {
 public:
  enum : int { kCountId = 388, kCaptureId = 384, kFinishId = 385 };
  enum : UINT { kSensorLinkId = 535 };
  static constexpr int kSensorCalibrationPage = 26;

  CCalibration_ZeroSupply();
  void DoDataExchange(CDataExchange* pDX) override;
  // The tree neither starts nor stops this page; nothing stops it but
  // Finish.
  void StartMonitoring() override {}
  void StopMonitoring() override {}
  // What whoever shows the page calls: request 1, step 1, the timer armed.
  void Begin() { CConfigurationPage::StartMonitoring(); }

 protected:
  void CreateControls() override;

 private:
  void OnFinish();

  CStatic m_wndLinkPlace;
  CWnd m_wndLinkHost;
  IiLabelXPtr m_pSensorLink;
};
