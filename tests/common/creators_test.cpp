// The control creators and set-ups: what each puts, in order, compared with
// the sequences written out by hand from their tables; the controls missing;
// a failing put.
#include <gtest/gtest.h>

#include <functional>

#include "common/common_controls.h"
#include "platform/activex/sequences.h"
#include "platform/com/registry.h"
#include "platform/win/sys_colors.h"
#include "support/log_capture.h"

namespace {

using namespace activex;
using axtest::Step;

std::vector<std::string> JournalOf(IUnknown* control) {
  IControlTestPtr test;
  if (control) control->QueryInterface(IControlTest::kIID, reinterpret_cast<void**>(&test));
  return test ? test->Journal() : std::vector<std::string>{};
}

// What a fresh control of the class shows after the hand-written steps.
std::vector<std::string> Expected(const char* progId, const std::vector<Step>& steps) {
  IUnknownPtr control = axtest::Create(progId);
  EXPECT_EQ(axtest::Apply(control, steps), S_OK) << progId;
  return JournalOf(control);
}

class Creators : public testing::Test {
 protected:
  void SetUp() override {
    page.Create(nullptr, "page", WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0);
    // The placeholder's rectangle, in screen coordinates.
    rect = CRect(10, 20, 110, 60);
    page.ClientToScreen(&rect);
  }
  void TearDown() override {
    activex::RegisterControlClasses();
    plat::RegisterPlotClasses();
  }

  testsupport::LogCapture log;
  CCommonControls common;
  CWnd page;
  CRect rect;
};

using Create = std::function<IUnknownPtr(CCommonControls&, CWnd*, CWnd*, RECT)>;

struct CreatorCase {
  const char* name;
  const char* progId;
  bool logsWhenMissing;
  Create create;
  std::vector<Step> steps;  // with the 100 x 40 placeholder
};

template <class Ptr>
IUnknownPtr Unknown(const Ptr& p) {
  return IUnknownPtr(p.GetInterfacePtr());
}

std::vector<CreatorCase> CreatorCases() {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  return {
      {"spin edit", kSpinEditProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateSpinEditCtrl(p, h, r, 301)); },
       axtest::CreateSpinEdit()},
      {"round LED", kLedRoundProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateLedRound(p, h, r, 120)); },
       axtest::CreateLedRound(100, 40)},
      {"grey round LED", kLedRoundProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateLedRoundGrey(p, h, r, 121)); },
       axtest::CreateLedRound(100, 40, 0x696969)},
      {"arrow LED", kLedArrowProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateLedArrow(p, h, r, 802)); },
       axtest::CreateLedArrow(100, 40, face)},
      {"linear gauge", kLinearGaugeProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateLinearGauge(p, h, r, 134)); },
       axtest::CreateLinearGauge(100, 40)},
      {"linear gauge 2", kLinearGaugeProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateLinearGauge2(p, h, r, 337)); },
       axtest::CreateLinearGauge2(100, 40)},
      {"slider switch", kSwitchSliderProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateSwitchSlider(p, h, r, 140)); },
       axtest::CreateSwitchSlider(100, 40, "##Analog,##DigOnly")},
      {"toggle switch", kSwitchToggleProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateSwitchToggle(p, h, r, 141)); },
       axtest::CreateSwitchToggle(100, 40)},
      {"analog display", kAnalogDisplayProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateAnalogDisplay(p, h, r, 142, "%")); },
       axtest::CreateAnalogDisplay(100, 40, "%")},
      {"analog display 2", kAnalogDisplayProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateAnalogDisplay2(p, h, r, 143)); },
       axtest::CreateAnalogDisplay2(100, 40)},
      {"edit display", kEditDisplayProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateEditDisplay(p, h, r, 144)); },
       axtest::CreateEditDisplay(100, 40)},
      {"label", kLabelProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateLabelCtrl(p, h, r, 145, "Stroke")); },
       axtest::CreateLabel(100, 40, "Stroke")},
      {"thermometer, wide scale", kThermometerProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateThermometer(p, h, r, 146, 1)); },
       axtest::CreateThermometer(1)},
      {"thermometer, other scale", kThermometerProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateThermometer(p, h, r, 147, -1)); },
       axtest::CreateThermometer(0)},
      {"image display, choice 1", kImageDisplayProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateImageDisplay(p, h, r, 148, 1)); },
       axtest::CreateImageDisplay(100, 40, 169)},
      {"image display, choice 2", kImageDisplayProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateImageDisplay(p, h, r, 149, 2)); },
       axtest::CreateImageDisplay(100, 40, 131)},
      {"image display, choice 3", kImageDisplayProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateImageDisplay(p, h, r, 150, 3)); },
       axtest::CreateImageDisplay(100, 40, 130)},
      {"image display, bitmap id", kImageDisplayProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateImageDisplay(p, h, r, 151, 130)); },
       axtest::CreateImageDisplay(100, 40, 130)},
      {"report engine", kReportProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateReportCtrl(p, h, r, 152)); },
       axtest::CreateReport()},
      {"printer engine", kPrinterProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreatePrinterCtrl(p, h, r, 153)); }, {}},
      {"grid", kGridProgId, true,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateFlexGrid(p, h, r, 154)); }, {}},
      {"XY plot", kXYPlotProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreateXYPlot(p, h, r, 155)); }, {}},
      {"plot", kPlotProgId, false,
       [](auto& c, auto* p, auto* h, RECT r) { return Unknown(c.CreatePlot(p, h, r, 156)); }, {}},
  };
}

TEST_F(Creators, EachPutsItsInitialSettingsInOrder) {
  for (const CreatorCase& c : CreatorCases()) {
    SCOPED_TRACE(c.name);
    CWnd host;
    IUnknownPtr control = c.create(common, &page, &host, rect);
    ASSERT_TRUE(control);
    EXPECT_EQ(JournalOf(control), Expected(c.progId, c.steps));
    EXPECT_EQ(host.GetControlUnknown() != nullptr, true);
  }
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Creators, MissingClassGivesAnEmptyHolderAndLogsForNineCreators) {
  int logging = 0;
  for (const CreatorCase& c : CreatorCases()) {
    SCOPED_TRACE(c.name);
    plat::UnregisterClass(c.progId);
    log.Clear();
    CWnd host;
    IUnknownPtr control = c.create(common, &page, &host, rect);
    EXPECT_FALSE(control);
    EXPECT_EQ(host.GetControlUnknown(), nullptr);
    const auto texts = log.Texts();
    if (c.logsWhenMissing) {
      EXPECT_EQ(texts, std::vector<std::string>{
                           "Failed to instantiate the ActiveX control. Contact your system administrator"});
    } else {
      EXPECT_TRUE(texts.empty());
    }
    activex::RegisterControlClasses();
    plat::RegisterPlotClasses();
  }
  for (const CreatorCase& c : CreatorCases()) logging += c.logsWhenMissing;
  EXPECT_EQ(logging, 13);  // the nine creators; the thermometer twice, the image display four times
}

TEST_F(Creators, SliderAlwaysEndsAt108By42AndControlsSitOnThePlaceholder) {
  CWnd sliderHost, ledHost;
  auto slider = common.CreateSwitchSlider(&page, &sliderHost, rect, 140);
  _variant_t width, height;
  IControlPtr(slider)->GetSetting(kWidth, &width);
  IControlPtr(slider)->GetSetting(kHeight, &height);
  EXPECT_EQ(width.lVal, 108);
  EXPECT_EQ(height.lVal, 42);

  common.CreateLedRound(&page, &ledHost, rect, 120);
  CRect placed;
  ledHost.GetWindowRect(&placed);
  EXPECT_EQ(placed, rect);
}

// ---- Set-ups -----------------------------------------------------------

struct SetupCase {
  const char* name;
  const char* progId;
  std::function<void(CCommonControls&, IUnknown*)> setup;
  std::vector<Step> steps;
};

std::vector<SetupCase> SetupCases() {
  using G = IiLinearGaugeXPtr;
  using L = IiLabelXPtr;
  return {
      {"dashboard gauge", kLinearGaugeProgId,
       [](auto& c, IUnknown* u) {
         G g{IUnknownPtr(u)};
         c.SetupDashboardGauge(g);
       },
       axtest::SetupDashboardGauge()},
      {"dashboard gauge fonts", kLinearGaugeProgId,
       [](auto& c, IUnknown* u) {
         G g{IUnknownPtr(u)};
         c.SetupDashboardGaugeFonts(g);
       },
       axtest::SetupDashboardGaugeFonts()},
      {"temperature gauge", kLinearGaugeProgId,
       [](auto& c, IUnknown* u) { c.SetupTempHumidityGauge(G(IUnknownPtr(u))); },
       axtest::SetupTempHumidityGauge()},
      {"piezo gauge", kLinearGaugeProgId,
       [](auto& c, IUnknown* u) { c.SetupPiezoVolGauge(G(IUnknownPtr(u))); },
       axtest::SetupPiezoVolGauge()},
      {"deviation gauge", kLinearGaugeProgId,
       [](auto& c, IUnknown* u) { c.SetupDeviationGauge(G(IUnknownPtr(u))); },
       axtest::SetupDeviationGauge()},
      {"cycle and travel gauge", kLinearGaugeProgId,
       [](auto& c, IUnknown* u) { c.SetupCycleTravelGauge(G(IUnknownPtr(u))); },
       axtest::SetupCycleTravelGauge()},
      {"arrow LED", kLedArrowProgId,
       [](auto& c, IUnknown* u) { c.SetupLedArrow(IiLedArrowXPtr(IUnknownPtr(u))); }, axtest::SetupLedArrow()},
      {"deviation label", kLabelProgId,
       [](auto& c, IUnknown* u) {
         L l{IUnknownPtr(u)};
         c.SetupDeviationLabel(l);
       },
       axtest::SetupDeviationLabel()},
      {"char view label", kLabelProgId,
       [](auto& c, IUnknown* u) {
         L l{IUnknownPtr(u)};
         c.SetupCharViewLabel(l, 0x0A0AFF);
       },
       axtest::SetupCharViewLabel(0x0A0AFF)},
      {"label font, flag 0", kLabelProgId,
       [](auto& c, IUnknown* u) {
         L l{IUnknownPtr(u)};
         c.SetupLabelFont(l, 0);
       },
       axtest::SetupLabelFont(0)},
      {"label font, flag 1", kLabelProgId,
       [](auto& c, IUnknown* u) {
         L l{IUnknownPtr(u)};
         c.SetupLabelFont(l, 1);
       },
       axtest::SetupLabelFont(1)},
      {"deviation title label", kLabelProgId,
       [](auto& c, IUnknown* u) {
         L l{IUnknownPtr(u)};
         c.SetupDeviationTitleLabel(l);
       },
       axtest::SetupDeviationTitleLabel()},
  };
}

TEST_F(Creators, EachSetupPutsItsTableInOrder) {
  for (const SetupCase& c : SetupCases()) {
    SCOPED_TRACE(c.name);
    IUnknownPtr control = axtest::Create(c.progId);
    c.setup(common, control);
    EXPECT_EQ(JournalOf(control), Expected(c.progId, c.steps));
  }
}

TEST_F(Creators, IgnoredPutsDoNotStopASetupButCheckedOnesDo) {
  IUnknownPtr gauge = axtest::Create(kLinearGaugeProgId);
  IControlTestPtr test(gauge);
  test->FailPut("28", E_FAIL);  // scale maximum: ignored on this gauge
  common.SetupTempHumidityGauge(IiLinearGaugeXPtr(gauge));
  auto journal = test->Journal();
  EXPECT_EQ(journal.back().rfind("element[2]", 0), 0u) << journal.back();  // the markers were still added

  IUnknownPtr second = axtest::Create(kLinearGaugeProgId);
  IControlTestPtr(second)->FailPut("19", E_ACCESSDENIED);  // major tick count: checked
  try {
    common.SetupTempHumidityGauge(IiLinearGaugeXPtr(second));
    FAIL() << "no error";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_ACCESSDENIED);
  }
  journal = IControlTestPtr(second)->Journal();
  EXPECT_EQ(journal.back(), "19=5 failed 0x80070005");
}

TEST_F(Creators, EmptyHolderRaisesBeforeAnyPut) {
  IiLinearGaugeXPtr gauge;
  IiLabelXPtr label;
  for (const std::function<void()>& f : std::vector<std::function<void()>>{
           [&] { common.SetupDashboardGauge(gauge); }, [&] { common.SetupDeviationGauge(gauge); },
           [&] { common.SetupLedArrow(IiLedArrowXPtr()); }, [&] { common.SetupLabelFont(label, 1); },
           [&] { common.SetupDashboardGaugeFonts(gauge); }}) {
    try {
      f();
      ADD_FAILURE() << "no error";
    } catch (const _com_error& e) {
      EXPECT_EQ(e.Error(), E_POINTER);
    }
  }
}

TEST_F(Creators, WindowTextAsAnInteger) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"", 0}, {"42", 42}, {"17 s", 17}, {"-5", -5}, {"abc", 0}, {"  8", 8}};
  CWnd window;
  window.Create(nullptr, "", 0, CRect(0, 0, 10, 10), &page, 1);
  for (const Case& c : cases) {
    window.SetWindowText(c.text);
    EXPECT_EQ(CCommonControls::GetWindowTextInt(&window), c.value) << c.text;
  }
}

}  // namespace
