#pragma once
// What every page shares: a title from the language table, and for the
// live pages the status header (round LED 120, status text, mode text)
// with the window timer that polls it. The step machine of the monitoring
// and configuration pages is in step_page.h.
#include <vector>

#include "reports/common_functions.h"
#include "platform/win/controls.h"
#include "platform/win/dialog_template.h"
#include "shell/page.h"

// Control ids of a page's status header. Most pages use the defaults.
struct StatusHeaderIds {
  int placeholder = 1060;  // hidden group box giving the LED its rectangle
  int statusText = 1012;
  int modeText = 1013;
  // The captions in front of the two texts (monitoring pages only).
  int statusCaption = 1018;
  int modeCaption = 1019;
};

// A language key and the controls that show its text (or its tool tip).
struct KeyedControls {
  const char* key;
  std::vector<int> ids;
};

namespace pages {

inline constexpr int kTitleId = 1999;
inline constexpr UINT kStatusLedId = 120;

// The page templates, sized for a page area of about 1000 x 600 pixels.
// A fixed title text is shown as it is; otherwise the page looks its
// title key up.
DialogTemplate PlainPageTemplate(UINT templateId, const char* fixedTitle = "");
DialogTemplate StatusPageTemplate(UINT templateId, StatusHeaderIds ids = {}, const char* fixedTitle = "");
// The monitoring pages' header: title, then the captioned LED and texts on
// one line; the page's own items follow.
DialogTemplate MonitoringPageTemplate(UINT templateId, StatusHeaderIds ids = {}, std::vector<DialogItem> items = {});
// That header's captions and tool tips.
std::vector<KeyedControls> HeaderCaptions(StatusHeaderIds ids);
std::vector<KeyedControls> HeaderToolTips(StatusHeaderIds ids);
// A right-aligned caption whose text is wider than its field grows to the
// left, and the control before it gives up that width, keeping the space
// between them.
void WidenCaptionLeftward(CWnd& page, int caption, int before);
// A control's rectangle in its page's client coordinates.
CRect ClientRectOf(const CWnd& page, const CWnd& control);
// The page area in dialog units; a monitoring page's own items start at
// y = 26, below the header.
inline constexpr int kPageWidth = 600;
inline constexpr int kPageHeight = 352;

}  // namespace pages

// A page with a title and nothing that polls.
class CTitledPage : public CTarnixPage {
 public:
  // titleKey null: the template's own title text stays.
  CTitledPage(UINT templateId, const char* titleKey) : CTarnixPage(templateId), m_pszTitleKey(titleKey) {}
  void OnInitialUpdate() override;

 private:
  const char* m_pszTitleKey;
};

// A live page: its status header is refreshed when the page is shown and
// polled once per tick of the page's own timer while it is shown.
class CStatusPage : public CTitledPage {
 public:
  // timerId 0: the page has no timer.
  CStatusPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, StatusHeaderIds ids = {});

  void DoDataExchange(CDataExchange* pDX) override;
  void OnInitialUpdate() override;
  // Status header refreshed from the device image, timer armed.
  void StartMonitoring() override;
  void StopMonitoring() override;
  // Only the page's own id: one step, then the timer armed again, so a
  // long step never overlaps the next tick.
  void OnTimer(UINT id) override;

  UINT GetTimerId() const { return m_nTimerId; }
  UINT GetPeriod() const { return m_nPeriod; }
  // Empty when the LED could not be created.
  IiLedRoundX* GetStatusLed() const { return m_pStatusLed.GetInterfacePtr(); }
  const CStatic& GetStatusText() const { return m_stcStatusText; }
  const CStatic& GetModeText() const { return m_stcModeText; }

 protected:
  // One step of the page's sequence; until the page has its own, the
  // status poll is the whole sequence.
  virtual void RunStep() { PollStatusArea(); }

  // The status area without a transaction / one status poll then the area.
  // Without an LED the area is left alone (the poll still supervises the
  // link).
  void RefreshStatusArea();
  void PollStatusArea();
  // The area from a calibration page's own read of the priority bits.
  void RefreshStatusAreaFromCalibration();
  void ArmTimer();
  void StopTimer();
  // The tick's end arms the timer again unless the page was stopped inside
  // the tick (a step that switched to another page).
  void RearmAfterTick();
  // The header's captions, once their texts are set, as wide as those texts.
  void FitHeaderCaptions();

  UINT m_nTimerId;
  UINT m_nPeriod;  // some pages change it while they run
  bool m_bTimerWanted = false;

 private:
  StatusHeaderIds m_ids;
  CWnd m_wndLedPlaceholder;
  CWnd m_wndLedHost;
  CStatic m_stcStatusText;
  CStatic m_stcModeText;
  IiLedRoundXPtr m_pStatusLed;
};
