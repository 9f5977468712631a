// Creation of the controls a page shows, at its placeholders.
#include "common/common_controls.h"
#include "common/control_puts.h"
#include "platform/com/registry.h"
#include "platform/win/sys_colors.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

using namespace activex;
using common::Puts;

constexpr const char* kMissing = "Failed to instantiate the ActiveX control. Contact your system administrator";

enum class LogMissing { No, Yes };
enum class Move { No, Yes };

// Makes the control on the host at the placeholder's rectangle and asks it
// for its own interface. An empty result when the class is not registered
// (logged for the creators that log), when no control was made or when it
// lacks the interface.
template <class I>
_com_ptr_t<I> MakeControl(const char* progId, LogMissing log, Move move, CWnd* parent, CWnd* host, RECT rect,
                          UINT id) {
  _com_ptr_t<I> result;
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(_bstr_t(progId).wstr(), &clsid))) {
    if (log == LogMissing::Yes) WriteLog(kMissing);
    return result;
  }
  CRect r(rect);
  parent->ScreenToClient(&r);
  host->CreateControl(clsid, nullptr, WS_VISIBLE, r, parent, id);
  if (move == Move::Yes) host->MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
  if (IUnknown* unknown = host->GetControlUnknown()) {
    const HRESULT hr = unknown->QueryInterface(I::kIID, reinterpret_cast<void**>(&result));
    if (FAILED(hr) && hr != E_NOINTERFACE) _com_issue_error(hr);
  }
  // The page goes on without the control rather than failing on its first
  // setting.
  if (!result) WriteLog(kMissing);
  return result;
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

template <class I>
_com_ptr_t<I> LedRound(COLORREF color, CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto led = MakeControl<I>(kLedRoundProgId, LogMissing::No, Move::Yes, parent, host, rect, id);
  if (!led) return led;
  Puts(led)
      .Put(kWidth, Width(rect))
      .Put(kHeight, Height(rect))
      .Color(kLedColor, color)
      .Ignored(Creator(1), 1)
      .Ignored(Creator(2), 1)
      .Put(Creator(3), 0)
      .Put(Creator(4), 0);
  return led;
}

}  // namespace

ISpinEditXPtr CCommonControls::CreateSpinEditCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto spin = MakeControl<ISpinEditX>(kSpinEditProgId, LogMissing::No, Move::Yes, parent, host, rect, id);
  if (spin) Puts(spin).Put(Creator(1), 1).Put(Creator(2), 0).Put(Creator(3), 2);
  return spin;
}

IiLedRoundXPtr CCommonControls::CreateLedRound(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  return LedRound<IiLedRoundX>(0x00FF00, parent, host, rect, id);
}

IiLedRoundXPtr CCommonControls::CreateLedRoundGrey(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  return LedRound<IiLedRoundX>(0x696969, parent, host, rect, id);
}

IiLedArrowXPtr CCommonControls::CreateLedArrow(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto led = MakeControl<IiLedArrowX>(kLedArrowProgId, LogMissing::No, Move::Yes, parent, host, rect, id);
  if (!led) return led;
  Puts(led)
      .Put(kWidth, Width(rect))
      .Put(kHeight, Height(rect))
      .Put(ArrowRow(2), 6)
      .Put(ArrowRow(3), 12)
      .Color(Creator(1), 0x696969)
      .Color(ArrowRow(5), GetSysColor(COLOR_BTNFACE))
      .Ignored(Creator(2), 0)
      .Ignored(ArrowRow(4), 1)
      .Ignored(Creator(3), 1)
      .Ignored(ArrowRow(1), 0);
  return led;
}

IiLinearGaugeXPtr CCommonControls::CreateLinearGauge(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto gauge = MakeControl<IiLinearGaugeX>(kLinearGaugeProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (!gauge) return gauge;
  Puts(gauge)
      .Put(kWidth, Width(rect))
      .Put(kHeight, Height(rect))
      .Color(Creator(1), 0x8000000A)
      .Ignored(Row(15), 2)
      .Put(Row(28), 110.0)
      .Put(Row(29), -10.0)
      .Put(Row(19), 13)
      .Put(Row(22), 3)
      .Put(Row(32), 1);
  return gauge;
}

IiLinearGaugeXPtr CCommonControls::CreateLinearGauge2(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto gauge = MakeControl<IiLinearGaugeX>(kLinearGaugeProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (!gauge) return gauge;
  Puts(gauge)
      .Ignored(Row(6), 4)
      .Put(Creator(2), 1)
      .Put(Row(2), 1)
      .Put(kWidth, Width(rect))
      .Put(kHeight, Height(rect));
  return gauge;
}

IiSwitchSliderXPtr CCommonControls::CreateSwitchSlider(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto slider = MakeControl<IiSwitchSliderX>(kSwitchSliderProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (!slider) return slider;
  const _bstr_t texts =
      TheLanguageTable().Lookup("Analog") + _bstr_t(",") + TheLanguageTable().Lookup("DigOnly");
  Puts(slider)
      .Put(kWidth, Width(rect))
      .Put(kHeight, Height(rect))
      .Put(Creator(1), 0)
      .Color(Creator(2), 0xFF0000)
      .Put(Creator(3), 10)
      .Put(Creator(4), 1)
      .Put(Creator(5), 14)
      .Put(Creator(6), 2)
      .Color(Creator(7), 0xFF0000)
      .Put(Creator(8), 0)
      .Put(Creator(9), 3)
      .Put(Creator(10), 10)
      .Put(kPositionTexts, texts)
      .Put(kHeight, 42)
      .Put(kWidth, 108);
  return slider;
}

IiSwitchToggleXPtr CCommonControls::CreateSwitchToggle(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto toggle = MakeControl<IiSwitchToggleX>(kSwitchToggleProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (!toggle) return toggle;
  Puts(toggle)
      .Put(Creator(1), 1)
      .Put(kWidth, Width(rect))
      .Put(kHeight, Height(rect))
      .Put(Creator(2), 1)
      .Ignored(Creator(3), 0)
      .Put(Creator(4), 1)
      .Put(Creator(5), 1);
  return toggle;
}

IiAnalogDisplayXPtr CCommonControls::CreateAnalogDisplay(CWnd* parent, CWnd* host, RECT rect, UINT id,
                                                          _bstr_t units) {
  auto display =
      MakeControl<IiAnalogDisplayX>(kAnalogDisplayProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (!display) return display;
  Puts(display)
      .Put(kWidth, Width(rect))
      .Put(kHeight, Height(rect))
      .Color(Creator(1), 0x8000000A)
      .Color(Creator(2), 0x8000000A)
      .Put(Creator(3), 0)
      .Put(Creator(4), 0)
      .Put(kUnits, units)
      .Put(Creator(5), 0);
  return display;
}

IiAnalogDisplayXPtr CCommonControls::CreateAnalogDisplay2(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto display =
      MakeControl<IiAnalogDisplayX>(kAnalogDisplayProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (display) Puts(display).Put(kWidth, Width(rect)).Put(kHeight, Height(rect)).Put(Creator(6), 0);
  return display;
}

IiEditXPtr CCommonControls::CreateEditDisplay(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto edit = MakeControl<IiEditX>(kEditDisplayProgId, LogMissing::No, Move::Yes, parent, host, rect, id);
  if (!edit) return edit;
  Puts puts(edit);
  puts.Color(Creator(1), 0xC0C0C0).Put(Creator(2), 2);
  common::ChangeFont(puts.Control(), {.size = 80000, .name = "Arial", .bold = TRUE, .boldBeforeName = true});
  puts.Put(kWidth, Width(rect)).Put(kHeight, Height(rect)).Put(Creator(3), 0);
  return edit;
}

IiLabelXPtr CCommonControls::CreateLabelCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id, _bstr_t caption) {
  auto label = MakeControl<IiLabelX>(kLabelProgId, LogMissing::No, Move::Yes, parent, host, rect, id);
  if (!label) return label;
  // Height before width, as the label wants them.
  Puts(label)
      .Put(Creator(1), 0)
      .Put(Creator(2), 1)
      .Put(kHeight, Height(rect))
      .Put(kWidth, Width(rect))
      .Put(kCaption, caption);
  return label;
}

IiThermometerXPtr CCommonControls::CreateThermometer(CWnd* parent, CWnd* host, RECT rect, UINT id,
                                                      int scaleChoice) {
  auto thermometer =
      MakeControl<IiThermometerX>(kThermometerProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (!thermometer) return thermometer;
  Puts puts(thermometer);
  common::ChangeFont(puts.Control(), {.size = 80000, .name = "Arial"});
  puts.Color(Creator(1), 0x8000000F).Color(Creator(2), 0xFF6633).Put(Creator(3), 7).Put(Creator(4), 3).Put(Creator(5), 0);
  if (scaleChoice == 1)
    puts.Put(kMax, 150.0).Put(kMin, -50.0).Put(Creator(6), 5).Put(Creator(7), 3);
  else
    puts.Put(kMax, 100.0).Put(kMin, 0.0);
  puts.Ignored(Creator(8), 5).Ignored(Creator(9), 0).Ignored(Creator(10), 0.0);
  return thermometer;
}

IiImageDisplayXPtr CCommonControls::CreateImageDisplay(CWnd* parent, CWnd* host, RECT rect, UINT id,
                                                        int pictureChoice) {
  auto image = MakeControl<IiImageDisplayX>(kImageDisplayProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
  if (!image) return image;
  Puts(image).Put(kWidth, Width(rect)).Put(kHeight, Height(rect));
  const LONG bitmap = pictureChoice == 1 ? 169 : pictureChoice == 2 ? 131 : pictureChoice == 3 ? 130 : pictureChoice;
  HRESULT hr = image->ClearImages();
  if (FAILED(hr)) _com_issue_error(hr);
  hr = image->AddBitmap(bitmap);
  if (FAILED(hr)) _com_issue_error(hr);
  return image;
}

IiXYPlotXPtr CCommonControls::CreateXYPlot(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  return MakeControl<IiXYPlotX>(kXYPlotProgId, LogMissing::No, Move::No, parent, host, rect, id);
}

IiPlotXPtr CCommonControls::CreatePlot(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  return MakeControl<IiPlotX>(kPlotProgId, LogMissing::No, Move::No, parent, host, rect, id);
}

IPrinterXPtr CCommonControls::CreatePrinterCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  return MakeControl<IPrinterX>(kPrinterProgId, LogMissing::No, Move::Yes, parent, host, rect, id);
}

IReportXPtr CCommonControls::CreateReportCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  auto report = MakeControl<IReportX>(kReportProgId, LogMissing::No, Move::Yes, parent, host, rect, id);
  if (report) common::ChangeFont(Puts(report).Control(), {.giveBack = false, .charset = 0});
  return report;
}

IGridXPtr CCommonControls::CreateFlexGrid(CWnd* parent, CWnd* host, RECT rect, UINT id) {
  return MakeControl<IGridX>(kGridProgId, LogMissing::Yes, Move::Yes, parent, host, rect, id);
}
