#pragma once
// The deviation alert: the live deviation against the tolerable error band,
// the band and its time frame by edit, spin edit and marker drag, and the
// device's deviation histogram with its reset.
#include <array>

#include "common/histogram_kit.h"
#include "common/limit_gauge.h"
#include "shell/monitoring_page.h"

class CHealth_Ctl_DeviationView : public CMonitoringPage {
 public:
  enum : int { kApplyId = 424, kRetrieveId = 425, kResetId = 1581, kCurrentId = 799, kToleranceId = 875,
               kTimeFrameId = 876, kNoteId = 1590 };
  enum : UINT { kPlotId = 800, kGaugeId = 801, kToleranceSpinId = 804, kTimeFrameSpinId = 805 };

  CHealth_Ctl_DeviationView();

  // Also for tests: the controls' rules between ticks.
  void OnKillFocusTolerance();
  void OnKillFocusTimeFrame();
  const histogram::Read& GetHistogram() const { return m_histogram; }

 protected:
  void CreateControls() override;
  void OnStart() override;
  void RunStep() override;

 private:
  void ShowDeviation();
  void ShowDeviationLimits();
  void UpdatePointerColour();
  void StorePart(size_t firstBin, size_t count);
  void PlotHistogram();
  void ResetPart(BYTE part);
  void BeginApply();
  void Note(const char* key);
  void OnButton(int request);
  void OnToleranceSpinChange(const EventArgs&);
  void OnTimeFrameSpinChange(const EventArgs&);
  void OnGaugeMarkerMoved(const EventArgs& args);

  int m_nStatusCountdown = 1;  // survives hiding the page
  bool m_bLimitsShown = false;
  bool m_bStarted = false;
  // The device image holds limits the device reported or confirmed: until
  // then Apply would write the image's zeros.
  bool m_bLimitsGood = false;
  histogram::Read m_histogram{31};

  std::array<CWnd, 12> m_wndHosts;
  IiPlotXPtr m_pPlot;
  IiLinearGaugeXPtr m_pGaugeControl;
  limits::LimitGauge m_gauge;
  ISpinEditXPtr m_pToleranceSpin, m_pTimeFrameSpin;
  IiLedArrowXPtr m_pArrowNoAlert, m_pArrowAlert;
  IiLabelXPtr m_pTitleLabel, m_pBraceLabel;
  IiImageDisplayXPtr m_pPicture, m_pBracePicture;
  limits::LimitField m_tolerance{*this, kToleranceId, m_pToleranceSpin, m_gauge, 1};
  limits::LimitField m_timeFrame{*this, kTimeFrameId, m_pTimeFrameSpin, m_gauge};
};
