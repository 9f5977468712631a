#pragma once
// The position alerts: the live position against the high and low set
// points, the set points by edit, spin edit and marker drag, and the
// device's position histogram with its reset.
#include "shell/alert_page.h"

class CHealth_Ctl_PosAlertsView : public CAlertPage {
 public:
  enum : int { kCurrentId = 1604, kHighId = 409, kLowId = 887 };
  enum : UINT { kPlotId = 809, kGaugeId = 810, kLowSpinId = 813, kHighSpinId = 814 };
  // The gauge's markers.
  enum : int { kLowMarker = 1, kHighMarker = 2 };

  CHealth_Ctl_PosAlertsView();

  // Also for tests: the controls' rules between ticks.
  void OnKillFocusLowSetPoint();
  void OnKillFocusHighSetPoint();

 private:
  void ReadValue() override;
  double Value() const override;
  void ShowOnGauge(double position) override;
  bool ReadLimits() override;
  void ShowLimits() override;
  bool WriteLimits() override;
  void BeginApply() override;
  void UpdatePointerColour() override;
  void OnMarkerDragged(int index) override;
  double Clamped(double value) const;

  limits::LimitField m_low{*this, kLowId, m_pSpins[0], m_gauge, kLowMarker};
  limits::LimitField m_high{*this, kHighId, m_pSpins[1], m_gauge, kHighMarker};
};
