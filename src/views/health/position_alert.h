#pragma once
// The position alerts: the live position against the high and low set
// points, the set points by edit, spin edit and marker drag, and the
// device's position histogram with its reset.
#include <array>

#include "common/histogram_kit.h"
#include "common/limit_gauge.h"
#include "shell/monitoring_page.h"

class CHealth_Ctl_PosAlertsView : public CMonitoringPage {
 public:
  enum : int { kApplyId = 424, kRetrieveId = 425, kResetId = 1581, kCurrentId = 1604, kHighId = 409, kLowId = 887,
               kNoteId = 1590 };
  enum : UINT { kPlotId = 809, kGaugeId = 810, kLowSpinId = 813, kHighSpinId = 814 };
  // The gauge's markers.
  enum : int { kLowMarker = 1, kHighMarker = 2 };

  CHealth_Ctl_PosAlertsView();

  // Also for tests: the controls' rules between ticks.
  void OnKillFocusLowSetPoint();
  void OnKillFocusHighSetPoint();
  const histogram::Read& GetHistogram() const { return m_histogram; }

 protected:
  void CreateControls() override;
  void OnStart() override;
  void RunStep() override;

 private:
  void ShowPosition();
  void ShowPosAlertLimits();
  void UpdatePointerColour();
  void StoreAndPlotPositionHistogram();
  void BeginApply();
  void Apply();
  void Note(const char* key);
  void OnButton(int request);
  double Clamped(double value) const;
  void OnGaugeMarkerMoved(const EventArgs& args);

  int m_nStatusCountdown = 1;  // survives hiding the page
  bool m_bLimitsShown = false;
  bool m_bStarted = false;
  // The device image holds set points the device reported or confirmed:
  // until then Apply would write the image's zeros.
  bool m_bLimitsGood = false;
  histogram::Read m_histogram{12};

  std::array<CWnd, 11> m_wndHosts;
  IiPlotXPtr m_pPlot;
  IiLinearGaugeXPtr m_pGaugeControl;
  limits::LimitGauge m_gauge;
  ISpinEditXPtr m_pLowSpin, m_pHighSpin;
  std::array<IiLedArrowXPtr, 4> m_pArrows;
  IiLabelXPtr m_pTitleLabel, m_pBraceLabel;
  IiImageDisplayXPtr m_pPicture;
  limits::LimitField m_low{*this, kLowId, m_pLowSpin, m_gauge, kLowMarker};
  limits::LimitField m_high{*this, kHighId, m_pHighSpin, m_gauge, kHighMarker};
};
