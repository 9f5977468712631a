// The read-only gauge pages (positioner temperature, piezo voltage) against
// the simulated positioner on the manual clock, and the pointer-colour
// rules they apply.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "common/pointer_colours.h"
#include "page_fixture.h"
#include "views/health/piezo_voltage.h"
#include "views/health/positioner_temperature.h"

namespace {

using testpages::Bytes;
using testpages::Read200;

constexpr COLORREF kGreen = 0x00FF00, kYellow = 0x00FFFF, kRed = 0x0A0AFF;
const double kNaN = std::nan("");

const Bytes kStatusPoll = Read200({8, 42});
const Bytes kReadUnit = Read200({152});
const Bytes kReadTemperature = Read200({135});
const Bytes kReadPiezo = Read200({490});

// ---- The colour rules.

TEST(PointerColours, TemperatureIsGreenInsideItsWarningsBothEndsIncluded) {
  const struct {
    double value;
    COLORREF colour;
  } cases[] = {{80.0, kGreen}, {81.0, kRed}, {-40.0, kGreen}, {-40.5, kRed}, {23.5, kGreen}, {kNaN, kRed}};
  for (const auto& c : cases) EXPECT_EQ(gauges::BandColour(c.value, -40, 80), c.colour) << c.value;
}

TEST(PointerColours, PiezoBandsRedYellowGreenYellowRed) {
  const gauges::AlarmWarningLimits limits{-8, 2, 20, 22.75};
  const struct {
    double value;
    COLORREF colour;
  } cases[] = {{-8.01, kRed},   {-8, kYellow},    {2, kYellow}, {2.01, kGreen}, {19.99, kGreen},
               {20, kYellow},   {22.74, kYellow}, {22.75, kRed}, {30, kRed},     {kNaN, kRed}};
  for (const auto& c : cases) EXPECT_EQ(gauges::AlarmWarningColour(c.value, limits), c.colour) << c.value;
}

// ---- The pages.

class GaugePage : public testpages::SimulatedPage {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    // As at program start: no unit read yet.
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_strVar152.clear();
    comm.m_byTempUnitCode = 0;
  }
  template <class Page>
  Page* Open(int viewIndex) {
    if (page) page->DestroyWindow();  // its timer with it
    page = static_cast<CLimitGaugePage*>(CreatePage(viewIndex));
    EXPECT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
    return static_cast<Page*>(page);
  }
  std::vector<Bytes> Sent() {
    device->ClearRequests();
    clock.Advance(5000);
    return device->Requests();
  }
  std::string Text(int id) const { return page->GetDlgItemText(id); }
  COLORREF PointerColour() const {
    COLORREF colour = 0;
    page->GetGauge()->get_ElementColor(0, &colour);
    return colour;
  }
  double Marker(int index) const {
    double position = 0;
    page->GetGauge()->get_ElementPosition(index, &position);
    return position;
  }
  std::pair<double, double> Scale() const {
    double min = 0, max = 0;
    page->GetGauge()->get_ScaleMin(&min);
    page->GetGauge()->get_ScaleMax(&max);
    return {min, max};
  }
  void SetTemperature(float celsius) {
    ModifyState([celsius](sim::DeviceState& s) { s.status.temperature.current = celsius; });
  }

  CLimitGaugePage* page = nullptr;
};

constexpr int kTemperatureView = 8, kPiezoView = 10;
using T = CHealth_Pos_TempAndHumidityView;
using P = CHealth_Pos_PiezoVolView;

TEST_F(GaugePage, TemperatureUnitSetsLabelsScaleWarningsAndMarkers) {
  const struct {
    int code;
    const char* unit;
    double max;
    const char *low, *high;
    double lowMarker, highMarker;
  } cases[] = {
      {33, "\xC2\xB0" "F", 186, "-40", "178", -40, 178},
      {32, "\xC2\xB0" "C", 86, "-40", "80", -40, 80},
      {0, "\xC2\xB0" "C", 86, "", "", 50, 100},  // warnings as the set-up left them
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    device->SetVariable(152, c.code);
    Open<T>(kTemperatureView);
    EXPECT_EQ(Sent(), std::vector<Bytes>{kReadUnit});
    for (int id : {T::kValueUnit, T::kLowUnit, T::kHighUnit}) EXPECT_EQ(Text(id), c.unit);
    EXPECT_EQ(Scale(), std::make_pair(-50.0, c.max));
    EXPECT_EQ(Text(T::kLowBox), c.low);
    EXPECT_EQ(Text(T::kHighBox), c.high);
    EXPECT_EQ(Marker(1), c.lowMarker);
    EXPECT_EQ(Marker(2), c.highMarker);
  }
}

TEST_F(GaugePage, TemperatureWithoutAnyUnitReadKeepsTheSetUpScale) {
  device->InjectNoReply(-1);
  Open<T>(kTemperatureView);
  Sent();
  EXPECT_EQ(Scale(), std::make_pair(-50.0, 200.0));
  EXPECT_EQ(Marker(1), 50.0);
  EXPECT_EQ(Marker(2), 100.0);
  EXPECT_EQ(Text(T::kLowBox), "");
  device->ClearFaults();
}

TEST_F(GaugePage, TemperatureRefreshesEveryThirdTickAndColoursOneTickLate) {
  device->SetVariable(152, 32);
  SetTemperature(95.0f);
  Open<T>(kTemperatureView);
  const struct {
    std::vector<Bytes> sent;
    const char* shown;
    COLORREF colour;
    float next;  // the temperature from now on
  } ticks[] = {
      {{kReadUnit}, "", kGreen, 95.0f},
      {{kReadTemperature, kStatusPoll}, "95.0", kGreen, 23.456f},  // not yet coloured
      {{}, "95.0", kRed, 23.456f},
      {{}, "95.0", kRed, 23.456f},
      {{kReadTemperature, kStatusPoll}, "23.5", kRed, 23.456f},
      {{}, "23.5", kGreen, 23.456f},
  };
  int tick = 0;
  for (const auto& t : ticks) {
    SCOPED_TRACE(++tick);
    EXPECT_EQ(Sent(), t.sent);
    EXPECT_EQ(Text(T::kValueBox), t.shown);
    EXPECT_EQ(PointerColour(), t.colour);
    SetTemperature(t.next);
  }
}

TEST_F(GaugePage, TemperatureLaterVisitReadsTheUnitFirstAndColoursFromItsFirstTick) {
  device->SetVariable(152, 32);
  SetTemperature(95.0f);
  Open<T>(kTemperatureView);
  Sent();
  Sent();  // 95.0 shown, the pointer still green
  page->StopMonitoring();
  EXPECT_EQ(Sent(), std::vector<Bytes>{});

  page->StartMonitoring();
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadUnit});
  EXPECT_EQ(PointerColour(), kRed);
  // The countdown went on from where it stood.
  EXPECT_EQ(Sent(), std::vector<Bytes>{});
  EXPECT_EQ(Sent(), std::vector<Bytes>{});
  EXPECT_EQ((Sent()), (std::vector<Bytes>{kReadTemperature, kStatusPoll}));
}

TEST_F(GaugePage, PiezoShowsItsLimitsAndRefreshesEverySecondTickColouringOneTickLate) {
  device->SetVariable(490, 30.0);  // beyond the scale
  Open<P>(kPiezoView);
  EXPECT_EQ(Text(P::kLowAlarmBox), "-8");
  EXPECT_EQ(Text(P::kLowWarningBox), "2");
  EXPECT_EQ(Text(P::kHighWarningBox), "20");
  EXPECT_EQ(Text(P::kHighAlarmBox), "22.75");
  const struct {
    std::vector<Bytes> sent;
    const char* shown;
    COLORREF colour;
    double next;
  } ticks[] = {
      {{}, "", kGreen, 30.0},
      {{kReadPiezo, kStatusPoll}, "30.00", kGreen, 21.0},  // not yet coloured
      {{}, "30.00", kRed, 21.0},
      {{kReadPiezo, kStatusPoll}, "21.00", kRed, 5.5},
      {{}, "21.00", kYellow, 5.5},
      {{kReadPiezo, kStatusPoll}, "5.50", kYellow, 5.5},
      {{}, "5.50", kGreen, 5.5},
  };
  int tick = 0;
  for (const auto& t : ticks) {
    SCOPED_TRACE(++tick);
    EXPECT_EQ(Sent(), t.sent);
    EXPECT_EQ(Text(P::kValueBox), t.shown);
    EXPECT_EQ(PointerColour(), t.colour);
    device->SetVariable(490, t.next);
  }
}

}  // namespace
