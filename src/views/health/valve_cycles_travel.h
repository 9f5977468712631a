#pragma once
// Valve cycles and travel against their limits: the counts on gauges with
// the initial and full warnings, the deadbands that decide what counts, the
// accumulated travel in the valve's unit. The user edits the full warnings
// and the deadbands, writes them with Apply and resets the counters.
#include <array>

#include "common/limit_gauge.h"
#include "shell/monitoring_page.h"

class CHealth_Val_CycleAndTravelsView : public CMonitoringPage {
 public:
  enum : UINT {
    kCyclesGaugeId = 710,
    kTravelGaugeId = 711,
    kCycleDeadbandSpinId = 716,
    kCyclesSpinId = 717,
    kTravelDeadbandSpinId = 718,
    kTravelSpinId = 719,
  };
  enum : int {
    kCyclesEdit = 786,
    kCycleDeadbandEdit = 1830,
    kCyclesInitialEdit = 1553,
    kCyclesFullEdit = 1831,
    kTravelEdit = 408,
    kTravelDeadbandEdit = 1567,
    kTravelInitialEdit = 1570,
    kTravelFullEdit = 1572,
    kAccumulatedEdit = 1832,
    kTravelUnit = 1576,
    kResetCyclesId = 785,
    kResetTravelId = 784,
    kApplyId = 432,
    kRetrieveId = 433,
  };

  CHealth_Val_CycleAndTravelsView();

 protected:
  void CreateControls() override;

 private:
  void ShowLiveValues();
  void ShowLimits();
  void UpdatePointerColours();
  void Apply();
  // k: 0 the cycle deadband, 1 the travel deadband.
  double Deadband(int k) const;

  CTickCountdown m_refreshCountdown;  // survives hiding the page
  bool m_bLimitsRead = false;   // a limit read was answered: Apply may write

  limits::FullWarningGroup m_cycles, m_travel;
  std::array<ISpinEditXPtr, 2> m_deadbands;
  std::array<CWnd, 12> m_wndHosts;
};
