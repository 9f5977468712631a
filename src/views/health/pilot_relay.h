#pragma once
// The pilot relay against its limits: the response time against a warning
// and an alarm, the cycle and travel counts against their initial and full
// warnings. The user edits the limits on the gauges, spin edits and edits,
// writes them with Apply and resets the counters.
#include <array>
#include <string>

#include "common/limit_gauge.h"
#include "shell/monitoring_page.h"

class CHealth_Pos_PilotRelayView : public CMonitoringPage {
 public:
  enum : UINT {
    kResponseGaugeId = 339,
    kCyclesGaugeId = 340,
    kTravelGaugeId = 341,
    kWarningSpinId = 342,
    kAlarmSpinId = 343,
    kCyclesSpinId = 344,
    kTravelSpinId = 345,
  };
  enum : int {
    kResponseEdit = 1506,
    kWarningEdit = 1531,
    kAlarmEdit = 1532,
    kCyclesEdit = 1434,
    kCyclesInitialEdit = 1428,
    kCyclesFullEdit = 1533,
    kTravelEdit = 1435,
    kTravelInitialEdit = 1432,
    kTravelFullEdit = 1534,
    kResetCyclesId = 1441,
    kResetTravelId = 1444,
    kApplyId = 424,
    kRetrieveId = 425,
  };

  CHealth_Pos_PilotRelayView();

 protected:
  void CreateControls() override;
  void BeginRequest(int request) override;
  void OnStepBegin(const PageStep& step) override;

 private:
  void ShowLiveValues();
  void ShowLimits();
  void UpdatePointerColours();
  void Apply();

  // The response limits by k: 0 the warning (marker 1), 1 the alarm (marker 2).
  void OnResponseMarkerMoved(const EventArgs& args);
  void OnResponseEditLeft(int k);
  void SetResponseLimit(int k, double value, const std::string& text);
  double SpinValue(int k) const;
  double SpinMax(int k) const;

  CTickCountdown m_statusCountdown;  // survives hiding the page
  bool m_bFirstRead = false;
  bool m_bLimitsRead = false;  // a limit read was answered: Apply may write
  bool m_bRequestTick = false;

  limits::LimitGauge m_response;
  limits::FullWarningGroup m_cycles, m_travel;
  std::array<ISpinEditXPtr, 2> m_responseSpins;  // warning, alarm
  std::array<CWnd, 16> m_wndHosts;
};
