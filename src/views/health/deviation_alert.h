#pragma once
// The deviation alert: the live deviation against the tolerable error band,
// the band and its time frame by edit, spin edit and marker drag, and the
// device's deviation histogram with its reset.
#include "shell/alert_page.h"

class CHealth_Ctl_DeviationView : public CAlertPage {
 public:
  enum : int { kCurrentId = 799, kToleranceId = 875, kTimeFrameId = 876 };
  enum : UINT { kPlotId = 800, kGaugeId = 801, kToleranceSpinId = 804, kTimeFrameSpinId = 805 };

  CHealth_Ctl_DeviationView();

  // Also for tests: the controls' rules between ticks.
  void OnKillFocusTolerance();
  void OnKillFocusTimeFrame();

 private:
  void ReadValue() override;
  double Value() const override;
  void ShowOnGauge(double deviation) override;
  bool ReadLimits() override;
  void ShowLimits() override;
  bool WriteLimits() override;
  void BeginApply() override;
  void UpdatePointerColour() override;
  void OnMarkerDragged(int index) override;
  void StorePart(size_t firstBin, size_t count);
  void ResetPart(BYTE part);
  void OnToleranceSpinChange(const EventArgs&);

  limits::LimitField m_tolerance{*this, kToleranceId, m_pSpins[0], m_gauge, 1};
  limits::LimitField m_timeFrame{*this, kTimeFrameId, m_pSpins[1], m_gauge};
};
