#pragma once
// The frame of the alert pages: a live device value on a linear gauge whose
// markers are the alert limits, the limits by edit, spin edit and marker
// drag with Apply and Retrieve, and the device's histogram of the value on
// a plot with its reset. Beside them an illustration of the alert rule:
// a title, a brace, pictures and LED arrows.
//
// The steps the frame owns: 1 reads the value every tenth tick (the first
// at once; the countdown survives hiding the page), 7 reads the limits and
// goes on to the histogram, and the Apply step writes them. The page adds
// the histogram's steps.
#include <array>
#include <memory>
#include <vector>

#include "common/histogram_kit.h"
#include "common/limit_gauge.h"
#include "shell/monitoring_page.h"

class CAlertPage : public CMonitoringPage {
 public:
  enum : int { kApplyId = 424, kRetrieveId = 425, kResetId = 1581, kNoteId = 1590 };
  static constexpr StatusHeaderIds kHeader{1060, 1012, 1013};

  // A control over its hidden placeholder.
  struct Place {
    int placeholder;
    UINT id;
  };
  struct Arrow {
    Place place;
    LONG direction;
  };
  struct Spin {
    Place place;
    double increment, min, max;
  };
  struct Picture {
    Place place;
    int bitmap;
  };
  // The controls, created in this order.
  struct Layout {
    int current;  // the edit that shows the live value
    Place plot;
    void (CCommonFunctions::*setUpPlot)(IiPlotXPtr);
    const char *plotTitleKey, *plotAxisKey;
    Place gauge;
    void (CCommonFunctions::*setUpGauge)(IiLinearGaugeXPtr);
    std::vector<Arrow> arrows;
    std::array<Spin, 2> spins;
    Place title;
    const char* titleKey;
    Place brace;
    std::vector<Picture> pictures;
  };
  // The frame's steps: the idle read of the value, and the limits' read
  // when shown and at Retrieve.
  enum Step : int { kValueStep = 1, kLimitsStep = 7 };
  // The page's step numbers: Apply's write, the histogram's first read and
  // its reset.
  struct Steps {
    int apply, histogram, reset;
  };

  const histogram::Read& GetHistogram() const { return m_histogram; }

 protected:
  CAlertPage(UINT templateId, const char* titleKey, UINT timerId, size_t bins, Layout layout, Steps steps);

  void CreateControls() override;
  void OnShown() override;
  void RunStep() override;

  // The live value: read into the device image, there, and onto the gauge.
  virtual void ReadValue() = 0;
  virtual double Value() const = 0;
  virtual void ShowOnGauge(double value) = 0;
  // The limits: true when the device answered or confirmed.
  virtual bool ReadLimits() = 0;
  virtual void ShowLimits() = 0;
  virtual bool WriteLimits() = 0;
  // Apply once the limits were read: the controls into the device image;
  // the page may still call it off.
  virtual void BeginApply() = 0;
  virtual void UpdatePointerColour() = 0;
  // The user dragged limit marker 1 or 2.
  virtual void OnMarkerDragged(int index) = 0;

  void PlotHistogram(const histogram::Layout& layout);
  // A line under the buttons; nullptr clears it.
  void Note(const char* key);
  bool Started() const { return m_bStarted; }
  bool LimitsShown() const { return m_bLimitsShown; }

  limits::LimitGauge m_gauge;
  std::array<ISpinEditXPtr, 2> m_pSpins;  // in the layout's order
  histogram::Read m_histogram;

 private:
  void ShowValue();
  void OnButton(int request);

  Layout m_layout;
  CTickCountdown m_statusCountdown;
  bool m_bLimitsShown = false;
  bool m_bStarted = false;
  // The device image holds limits the device reported or confirmed: until
  // then Apply would write the image's zeros.
  bool m_bLimitsGood = false;

  std::vector<std::unique_ptr<CWnd>> m_hosts;
  IiPlotXPtr m_pPlot;
  IiLinearGaugeXPtr m_pGaugeControl;
  std::vector<IiLedArrowXPtr> m_pArrows;
  IiLabelXPtr m_pTitleLabel, m_pBraceLabel;
  std::vector<IiImageDisplayXPtr> m_pPictures;
};
