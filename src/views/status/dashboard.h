#pragma once
#include <array>

#include "shell/monitoring_page.h"

// The start page: live command, position and deviation, the analog input,
// temperature, cut-off and lock, the software configuration against the
// dip switches, and a monitor naming the transaction in progress. The
// operator switches the command source and gives a digital command here;
// those actions write at once (the page stores no request).
class CDashboardView : public CMonitoringPage {
 public:
  // Control ids the page creates its instruments under.
  enum : UINT {
    kCommandGaugeId = 133,
    kPositionGaugeId = 134,
    kCommandDisplayId = 135,
    kPositionDisplayId = 136,
    kDeviationDisplayId = 137,
    kTemperatureDisplayId = 138,
    kThermometerId = 141,
    kAnalogInputId = 143,
    kSourceSwitchId = 144,
    kDigitalEntryId = 151,
  };
  enum : int { kApplyId = 388, kTransmitId = 1016, kReceiveId = 1017, kCutOffId = 1014, kLockId = 1015 };

  CDashboardView();
  void DoDataExchange(CDataExchange* pDX) override;
  // Also loads the device error-code table that every status header uses.
  void OnInitialUpdate() override;

  int GetIdleCountdown() const { return m_idleCountdown.Left(); }
  activex::IiLinearGaugeX* GetCommandGauge() const { return m_pCommandGauge.GetInterfacePtr(); }
  activex::IiLinearGaugeX* GetPositionGauge() const { return m_pPositionGauge.GetInterfacePtr(); }

 protected:
  void CreateControls() override;
  void OnShown() override;
  void OnStepBegin(const PageStep& step) override;
  void OnStepEnd(const PageStep& step) override;

  void UpdateCommandGaugeLimitsToControls();
  void UpdateControlModeToControls();
  void UpdateTemperatureUnitToControls();
  void UpdatePressureCtlAndPosCutOffDataToControls();
  void UpdateCyclicReadToControls();
  void UpdateCyclicDataToControls();
  void UpdateSoftConfigToControls();
  void UpdateDipSwitchDiffToControls();
  void UpdatePositionGaugeColor();

  void OnApply();
  void OnCommandGaugeEvent(const EventArgs& args);
  void OnInputSourceSwitch(const EventArgs& args);

 private:
  // The monitor's receive field, and the step that the machine goes on with.
  void Receive(const char* name, int nextStep);

  CTickCountdown m_idleCountdown;  // survives hiding the page
  // Which of the page's reads a device has answered once.
  bool m_bSlowRead = false, m_bUnitsRead = false, m_bCutOffRead = false, m_bCyclicRead = false;

  CStatic m_wndCommandGauge, m_wndPositionGauge, m_wndCommandDisplay, m_wndPositionDisplay, m_wndDeviationDisplay,
      m_wndTemperatureDisplay, m_wndAnalogInput, m_wndSourceSwitch, m_wndThermometer, m_wndDigitalEntry;
  std::array<CWnd, 32> m_wndHosts;
  CEdit m_edtTransmit, m_edtReceive, m_edtCutOff, m_edtLock;
  CButton m_btnApply;

  IiLinearGaugeXPtr m_pCommandGauge;
  IiLinearGaugeXPtr m_pPositionGauge;
  IiAnalogDisplayXPtr m_pCommandDisplay;
  IiAnalogDisplayXPtr m_pPositionDisplay;
  IiAnalogDisplayXPtr m_pDeviationDisplay;
  IiAnalogDisplayXPtr m_pTemperatureDisplay;
  IiEditXPtr m_pAnalogInput;
  IiSwitchSliderXPtr m_pSourceSwitch;
  IiThermometerXPtr m_pThermometer;
  ISpinEditXPtr m_pDigitalEntry;
};
