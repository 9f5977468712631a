#pragma once
// The valve-stability setting (on or off, and its window) and whether the
// device's pressure control is locked or tracking.
#include <array>

#include "shell/configuration_page.h"

class CConfiguration_PressureControlView : public CConfigurationPage {
 public:
  enum : int {
    kApplyId = 432,
    kRetrieveId = 433,
    kToggleId = 638,
    kWindowSpinId = 639,
    kLockText = 1805,
  };

  CConfiguration_PressureControlView();

  activex::IiSwitchToggleX* GetToggle() const { return m_pToggle.GetInterfacePtr(); }
  activex::ISpinEditX* GetWindowSpin() const { return m_pWindow.GetInterfacePtr(); }
  int GetPollCountdown() const { return m_pollCountdown.Left(); }

 protected:
  void CreateControls() override;
  void OnShown() override;

 private:
  bool ToggleOn() const;
  void CollectSettings();
  void ShowPressureControl();
  void OnStabilityToggleChange();

  std::array<CWnd, 2> m_wndHosts;
  IiSwitchToggleXPtr m_pToggle;
  ISpinEditXPtr m_pWindow;
  bool m_bSettingsRead = false;  // this visit's read of variables 56 and 43 was answered
};
