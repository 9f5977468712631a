#pragma once
// The frame of the read-only gauge pages (positioner temperature, piezo
// voltage): one device value on a linear gauge and in a box, against fixed
// limit markers on the gauge, each with a sign above the box that shows
// its limit. The value is read every few ticks; from the first value shown
// on, every tick starts by colouring the pointer from where the previous
// refresh left it (so the colour follows a new value one tick later).
#include <functional>
#include <memory>
#include <vector>

#include "shell/monitoring_page.h"

class CLimitGaugePage : public CMonitoringPage {
 public:
  // A marker's sign: an image display over its hidden placeholder.
  struct Sign {
    int placeholder;
    UINT id;
    int bitmap;
  };
  struct GaugeLayout {
    int placeholder;
    UINT id;
    void (CCommonFunctions::*setup)(IiLinearGaugeXPtr);
    std::vector<Sign> signs;
  };

  activex::IiLinearGaugeX* GetGauge() const { return m_pGauge.GetInterfacePtr(); }
  int GetRefreshCountdown() const { return m_nRefreshCountdown; }

 protected:
  CLimitGaugePage(UINT templateId, const char* titleKey, UINT timerId, GaugeLayout layout);

  void CreateControls() override;
  void RunStep() override;
  // The pointer's colour for its value and the positions of markers 1, 2, ...
  virtual COLORREF PointerColour(double value, const std::vector<double>& markers) const = 0;

  // Every `ticks`-th tick (the first at once): the read and the status
  // poll, then `show`. The countdown survives hiding the page.
  PageStep RefreshStep(int step, int ticks, std::function<void()> read, std::function<void()> show);
  // The value into its box, as the format gives it, and onto the pointer.
  void ShowValue(int box, const char* format, double value);

  IiLinearGaugeXPtr m_pGauge;

 private:
  void UpdatePointerColour();

  GaugeLayout m_layout;
  int m_nRefreshCountdown = 1;
  bool m_bValueShown = false;  // never cleared
  std::vector<std::unique_ptr<CWnd>> m_hosts;
  std::vector<IiImageDisplayXPtr> m_signs;
};
