#pragma once
// The frame of the read-only gauge pages (positioner temperature, piezo
// voltage): one device value on a linear gauge and in a box, against fixed
// limit markers on the gauge, each with a sign above the box that shows
// its limit. The value is read every few ticks; from the first value shown
// on, every tick starts by colouring the pointer from where the previous
// refresh left it (so the colour follows a new value one tick later).
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "shell/monitoring_page.h"

namespace pages {

// Template items of the gauge pages, in dialog units.

// A group of one gauge and its values in a row under it: each value's
// caption, box and unit, with a marker's sign above the box where given.
struct GaugeValueColumn {
  int caption, sign, box, unit;  // sign 0: none
  const char* unitText;
};
struct GaugeValueGeometry {
  int x, step;                      // the first column's left, the columns' pitch
  int captionWidth, boxWidth, unitWidth;
};
std::vector<DialogItem> GaugeValueItems(int group, const char* title, int gauge, std::span<const GaugeValueColumn> columns,
                                        const GaugeValueGeometry& geometry);

// A counter or limit group: the current value line (unit, Reset button
// and a setting on the right where given), the gauge across the group,
// then the two limits, each after the legend of its marker. The limit
// columns line up with the value line's boxes.
struct LimitField {
  int legend, caption, edit, spin, unit;  // legend, spin, unit 0: none
  const char* unitText;
};
struct LimitGroup {
  int box, valueCaption, value, valueUnit;  // valueUnit 0: none
  const char* valueUnitText;
  int reset;  // 0: none
  int gauge;
  LimitField setting;  // beside the value on the right; caption 0: none
  LimitField low, high;
  LimitField extra;  // one more line under the limits; caption 0: none
};
constexpr int kLimitGroupHeight = 90, kLimitGroupExtraLine = 18, kLimitGroupGap = 6;
// The group's items from its top y; returns the y under it.
int AddLimitGroupItems(std::vector<DialogItem>& items, int y, const LimitGroup& group);
// Apply and Retrieve, right-aligned under the groups.
void AddApplyRetrieveItems(std::vector<DialogItem>& items, int y, int apply, int retrieve, const char* applyText = "",
                           const char* retrieveText = "");

}  // namespace pages

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

  // The value's read, and the first tick when shown.
  enum Step : int { kRefreshStep = 1, kStartStep = 5 };

  activex::IiLinearGaugeX* GetGauge() const { return m_pGauge.GetInterfacePtr(); }
  int GetRefreshCountdown() const { return m_refreshCountdown.Left(); }

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
  CTickCountdown m_refreshCountdown;
  bool m_bValueShown = false;  // never cleared
  std::vector<std::unique_ptr<CWnd>> m_hosts;
  std::vector<IiImageDisplayXPtr> m_signs;
};
