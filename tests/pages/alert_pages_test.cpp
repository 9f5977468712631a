// The deviation alert page against the simulated positioner, on the manual
// clock: limits shown and edited, the histogram read, plotted and reset,
// and Apply with its guards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "platform/sys/numeric.h"
#include "support/language_table.h"
#include "views/health/deviation_alert.h"
#include "views/health/position_alert.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using namespace activex;
using Page = CHealth_Ctl_DeviationView;
using Pos = CHealth_Ctl_PosAlertsView;
using Points = std::vector<std::pair<double, double>>;

template <class I>
_com_ptr_t<I> As(IUnknown* unknown) {
  I* p = nullptr;
  if (unknown) unknown->QueryInterface(I::kIID, reinterpret_cast<void**>(&p));
  return _com_ptr_t<I>(p, false);
}

using testpages::Text;

const Bytes kReadLimits = Read200({119, 120});
const Bytes kSelect[3] = {{201, 3, 0x01, 0xCD, 0}, {201, 3, 0x01, 0xCD, 1}, {201, 3, 0x01, 0xCD, 2}};
const Bytes kResetPart[3] = {{201, 6, 0x01, 0xCD, 0, 0x01, 0xCE, 1},
                             {201, 6, 0x01, 0xCD, 1, 0x01, 0xCE, 1},
                             {201, 6, 0x01, 0xCD, 2, 0x01, 0xCE, 1}};
const Bytes kRead208 = {208};

// What the two alert pages share: a gauge with two markers, spin edits,
// edits and the histogram plot.
template <class P>
class AlertPage : public testpages::SimulatedPage {
 protected:
  void Open(int view) {
    page = static_cast<P*>(CreatePage(view));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
  }
  template <class I>
  _com_ptr_t<I> Control(UINT id) {
    CWnd* wnd = page->GetDlgItem(static_cast<int>(id));
    return As<I>(wnd ? wnd->GetControlUnknown() : nullptr);
  }
  IiLinearGaugeXPtr Gauge() { return Control<IiLinearGaugeX>(P::kGaugeId); }
  double GaugeAt(LONG element) {
    double v = -999;
    Gauge()->get_ElementPosition(element, &v);
    return v;
  }
  COLORREF PointerColour() {
    COLORREF colour = 0;
    Gauge()->get_ElementColor(0, &colour);
    return colour;
  }
  double ScaleMax() {
    double v = -999;
    Gauge()->get_ScaleMax(&v);
    return v;
  }
  double ScaleMin() {
    double v = -999;
    Gauge()->get_ScaleMin(&v);
    return v;
  }
  double Spin(UINT id) {
    double v = -999;
    Control<ISpinEditX>(id)->get_Value(&v);
    return v;
  }
  void TurnSpin(UINT id, double to) {
    Control<ISpinEditX>(id)->put_Value(to);
    Control<IControlTest>(id)->UserEvent(202, {});
  }
  Points Plotted() {
    IiPlotXPtr plot = Control<IiPlotX>(P::kPlotId);
    IiPlotChannelPtr c = theApp().m_CommonFunctions.GetPlotChannelByName(plot, "Current");
    LONG n = 0;
    c->GetCount(&n);
    Points points;
    for (LONG i = 0; i < n; ++i) {
      double x = 0, y = 0;
      c->GetX(i, &x);
      c->GetY(i, &y);
      points.emplace_back(x, y);
    }
    return points;
  }
  void Tick(int n = 1) { clock.Advance(5000 * n); }
  std::vector<Bytes> Sent(int ticks = 1) {
    device->ClearRequests();
    Tick(ticks);
    return device->Requests();
  }
  std::string Field(int id) const { return page->GetDlgItemText(id); }
  void Type(int id, const char* text) { page->SetDlgItemText(id, text); }
  void Click(int id) { page->template GetDlgItemAs<CButton>(id)->Click(); }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  void Drag(LONG marker, double to) {
    Gauge()->put_ElementPosition(marker, to);
    Control<IControlTest>(P::kGaugeId)->UserEvent(19, {_variant_t(marker)});
  }

  // The header's tool tips stand beside the page's own.
  void ExpectHeaderAndButtonToolTips() {
    const struct {
      int id;
      const char* key;
    } tips[] = {{120, "IDC_ILED_ALARM"},
                {1012, "EDT_ALARM_DESCRIPTION"},
                {1013, "IDC_BTN_MODE"},
                {P::kApplyId, "IDC_BUTTON_APPLYTIP"},
                {P::kResetId, "IDC_BTN_RESET_HISTO"}};
    ASSERT_TRUE(page->GetToolTips().IsCreated());
    for (const auto& t : tips) EXPECT_EQ(page->GetToolTips().GetToolText(page->GetDlgItem(t.id)), Text(t.key)) << t.id;
  }

  P* page = nullptr;
};

class DeviationPage : public AlertPage<Page> {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_dVar12 = comm.m_dDeviationLimit = comm.m_dDeviationLimit2 = 0;
    SetLimits(5, 10);
    Open(13);
  }
  void SetLimits(double tolerance, double timeFrame) {
    device->SetVariable(119, tolerance);
    device->SetVariable(120, timeFrame);
  }
  void SetBins(const std::array<sim::Histogram, 3>& parts) {
    ModifyState([&](sim::DeviceState& s) {
      for (int i = 0; i < 3; ++i) s.aux.histograms[i] = parts[i];
      s.aux.recordHistograms = false;
    });
  }
};

TEST_F(DeviationPage, StartReadsTheLimitsThenTheThreePartsAndWaitsForTheStatusRead) {
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadLimits});
  std::vector<Bytes> read;
  for (int part = 0; part < 3; ++part) {
    read.push_back(kSelect[part]);
    read.push_back(kRead208);
  }
  EXPECT_EQ(Sent(6), read);
  EXPECT_EQ(Plotted().size(), 32u);
  EXPECT_FALSE(Enabled(Page::kApplyId));
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Read200({12}), Read200({8, 42})}));
  EXPECT_TRUE(Enabled(Page::kApplyId));
  EXPECT_TRUE(Enabled(Page::kResetId));
}

TEST_F(DeviationPage, LimitsFromTheDeviceSetTheScaleMarkersAndEdits) {
  struct Case {
    double tolerance, timeFrame;
    double scale;  // the gauge runs from -scale to scale
    const char *toleranceText, *timeFrameText;
    double imageTimeFrame;
  } cases[] = {
      {0.5, 10, 1.1, "0.5", "10.0", 10},
      {95, 10, 100, "95.0", "10.0", 10},
      {5, 75, 5.5, "5.0", "60.0", 60},  // the device keeps 75 until the next Apply
      {0.25, 1, 1.1, "0.2", "1.0", 1},   // the markers sit at the shown tolerance
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tolerance);
    SetLimits(c.tolerance, c.timeFrame);
    page->StartMonitoring();
    Tick();
    EXPECT_NEAR(ScaleMax(), c.scale, 1e-9);
    EXPECT_NEAR(ScaleMin(), -c.scale, 1e-9);
    const double shown = std::stod(c.toleranceText);
    EXPECT_DOUBLE_EQ(GaugeAt(1), shown);
    EXPECT_DOUBLE_EQ(GaugeAt(2), -shown);
    EXPECT_EQ(Field(Page::kToleranceId), c.toleranceText);
    EXPECT_EQ(Field(Page::kTimeFrameId), c.timeFrameText);
    EXPECT_DOUBLE_EQ(theApp().m_comm.m_dDeviationLimit2, c.imageTimeFrame);
    EXPECT_DOUBLE_EQ(Spin(Page::kTimeFrameSpinId), c.imageTimeFrame);
  }
}

TEST_F(DeviationPage, TypedValuesAreBroughtIntoRangeWhenTheEditLosesTheFocus) {
  Tick();
  device->ClearRequests();
  struct Case {
    const char* typed;
    const char* shown;
    double scale;
  } tolerances[] = {
      {"120", "100.0", 100}, {"0.8", "0.8", 1.1}, {"20", "20.0", 22},
      {"-5", "0.0", 1.1},  // a negative tolerance is no band at all
      {"", "0.0", 1.1},
  };
  for (const auto& c : tolerances) {
    SCOPED_TRACE(c.typed);
    Type(Page::kToleranceId, c.typed);
    page->OnKillFocusTolerance();
    EXPECT_EQ(Field(Page::kToleranceId), c.shown);
    EXPECT_NEAR(ScaleMax(), c.scale, 1e-9);
    EXPECT_NEAR(ScaleMin(), -c.scale, 1e-9);
    EXPECT_DOUBLE_EQ(GaugeAt(1), std::stod(c.shown));
    EXPECT_DOUBLE_EQ(Spin(Page::kToleranceSpinId), std::stod(c.shown));
  }
  // The time frame keeps to its spin edit's 1 to 60 s: 0 s would alert at once.
  const std::pair<const char*, const char*> frames[] = {{"75", "60.0"}, {"-3", "1.0"}, {"", "1.0"}, {"0", "1.0"},
                                                        {"12.34", "12.3"}};
  for (auto [typed, shown] : frames) {
    SCOPED_TRACE(typed);
    Type(Page::kTimeFrameId, typed);
    page->OnKillFocusTimeFrame();
    EXPECT_EQ(Field(Page::kTimeFrameId), shown);
  }
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(DeviationPage, DraggingAMarkerKeepsTheBandSymmetric) {
  Tick();  // tolerance 5: scale -5.5 to 5.5
  struct Case {
    LONG marker;
    double to;
    double upper;  // marker 1; marker 2 is its mirror
  } cases[] = {{1, 3.0, 3.0}, {1, 9.0, 5.5}, {2, -2.0, 2.0}, {2, 1.0, 0.0}, {2, -8.0, 5.5}, {1, -1.0, 0.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    Drag(c.marker, c.to);
    EXPECT_DOUBLE_EQ(GaugeAt(1), c.upper);
    EXPECT_DOUBLE_EQ(GaugeAt(2), -c.upper);
    EXPECT_DOUBLE_EQ(Spin(Page::kToleranceSpinId), c.upper);
  }
}

TEST_F(DeviationPage, HistogramIsPlottedAsShareOfAllSamples) {
  struct Case {
    const char* name;
    std::array<sim::Histogram, 3> parts;
    Points expected;  // checked points only
    double total;
  } cases[] = {
      {"empty", {}, {{-100, 0}, {-97.5, 0}, {0, 0}, {97.5, 0}}, 0},
      // Bin 15 is word 5 of the second part.
      {"sum 200", {{{10, 40}, {0, 0, 0, 0, 0, 50}, {60, 0, 0, 0, 0, 0, 0, 0, 0, 40}}},
       {{-100, 0}, {-97.5, 5}, {-90, 20}, {0, 25}, {10.25, 30}, {97.5, 20}}, 200},
      // A count of 2^31 or more is a large positive number.
      {"large", {{{0x80000000u}, {}, {}}}, {{-97.5, 100}}, 2147483648.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetBins(c.parts);
    page->StartMonitoring();
    Tick(7);
    const Points plotted = Plotted();
    ASSERT_EQ(plotted.size(), 32u);
    for (auto [x, y] : c.expected) {
      auto at = std::find_if(plotted.begin(), plotted.end(), [x = x](auto p) { return p.first == x; });
      ASSERT_NE(at, plotted.end()) << x;
      EXPECT_DOUBLE_EQ(at->second, y) << x;
    }
    EXPECT_DOUBLE_EQ(page->GetHistogram().Total(), c.total);
  }
}

TEST_F(DeviationPage, APartWithoutReplyLeavesNoStalePlot) {
  Tick(8);
  ASSERT_EQ(Plotted().size(), 32u);
  // The image still holds the words of the first part when the second is lost.
  for (int lostTick : {4, 5}) {  // the selector write, then the read of the second part
    SCOPED_TRACE(lostTick);
    Click(Page::kRetrieveId);
    EXPECT_TRUE(Plotted().empty());
    for (int tick = 1; tick <= 7; ++tick) {
      if (tick == lostTick) device->InjectNoReply();
      Tick();
    }
    EXPECT_TRUE(Plotted().empty());
    EXPECT_EQ(Field(Page::kNoteId), Text("HISTOMISSING"));
    Tick();  // the status read enables the buttons
  }
}

TEST_F(DeviationPage, ResetClearsThePartsThenReadsTheHistogramAgain) {
  ModifyState([](sim::DeviceState& s) { s.aux.recordHistograms = false; });  // cleared stays cleared
  Tick(8);
  Click(Page::kResetId);
  EXPECT_FALSE(Enabled(Page::kResetId));
  EXPECT_EQ(Sent(), std::vector<Bytes>{kResetPart[0]});
  EXPECT_TRUE(Plotted().empty());
  EXPECT_EQ(Sent(), std::vector<Bytes>{kResetPart[1]});
  EXPECT_EQ(Sent(), std::vector<Bytes>{kResetPart[2]});
  EXPECT_EQ(Sent(), std::vector<Bytes>{kSelect[0]});
  Tick(5);
  const Points plotted = Plotted();
  ASSERT_EQ(plotted.size(), 32u);
  for (auto [x, y] : plotted) EXPECT_EQ(y, 0) << x;
  for (int part = 0; part < 3; ++part) EXPECT_EQ(device->State().aux.histograms[part], sim::Histogram{}) << part;
  // The status read comes on the first idle tick after the sequence.
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Read200({12}), Read200({8, 42})}));
  EXPECT_TRUE(Enabled(Page::kResetId));
}

TEST_F(DeviationPage, AResetCutShortIsReportedAndTheHistogramReadAgain) {
  Tick(8);
  Click(Page::kResetId);
  Tick();
  device->InjectNoReply();
  EXPECT_EQ(Sent(), std::vector<Bytes>{kResetPart[1]});
  EXPECT_EQ(Field(Page::kNoteId), Text("HISTORESETPARTIAL"));
  EXPECT_EQ(Sent(), std::vector<Bytes>{kSelect[0]});  // part 2 is not cleared
}

TEST_F(DeviationPage, ApplyWritesTheEditsAsTheDeviceTakesThem) {
  Tick(8);
  Type(Page::kToleranceId, "7.5");
  Type(Page::kTimeFrameId, "75");  // never left: the range holds all the same
  Click(Page::kApplyId);
  // 119 = 7.5 (0x40F00000), 120 = 60 (0x42700000), float32 big-endian.
  EXPECT_EQ(Sent(), (std::vector<Bytes>{{201, 12, 0, 119, 0x40, 0xF0, 0, 0, 0, 120, 0x42, 0x70, 0, 0}}));
  EXPECT_EQ(Field(Page::kTimeFrameId), "60.0");
  EXPECT_TRUE(Enabled(Page::kApplyId));
  EXPECT_DOUBLE_EQ(device->Variable(119), 7.5);
  EXPECT_DOUBLE_EQ(device->Variable(120), 60);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Read200({12}), Read200({8, 42})}));
}

TEST_F(DeviationPage, ApplyWaitsForLimitsTheDeviceReported) {
  device->InjectNoReply();
  Tick(8);  // the limit read is lost; the rest answers
  person.Answer(IDOK);
  Click(Page::kApplyId);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadLimits});  // read instead of written
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Text("ALERTLIMITSNOTREAD"));
  EXPECT_EQ(Field(Page::kToleranceId), "5.0");
}

TEST_F(DeviationPage, AnApplyWithoutReplyIsReportedAndTheNextWaitsForARead) {
  Tick(8);
  Type(Page::kToleranceId, "3");
  Click(Page::kApplyId);
  device->InjectNoReply();
  Tick();
  EXPECT_EQ(Field(Page::kNoteId), Text("ALERTAPPLYUNCONFIRMED"));
  person.Answer(IDOK);
  Click(Page::kApplyId);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadLimits});
  EXPECT_EQ(person.Asked().size(), 1u);
}

TEST_F(DeviationPage, ThePointerTurnsYellowOutsideTheBand) {
  Tick(8);
  struct Case {
    double deviation;
    COLORREF colour;
  } cases[] = {{5.0, 0xFF0000}, {-5.0, 0xFF0000}, {5.1, 0x00FFFF}, {-6, 0x00FFFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deviation);
    Gauge()->put_ElementPosition(0, c.deviation);
    Tick();
    EXPECT_EQ(PointerColour(), c.colour);
  }
}

TEST_F(DeviationPage, HeaderAndButtonsHaveTheirToolTips) { ExpectHeaderAndButtonToolTips(); }

// ---- The position alert page.

const Bytes kReadSetPoints = Read200({117, 118});
const Bytes kSelectPosition = {201, 3, 0x01, 0xCD, 3};
const Bytes kResetPosition = {201, 6, 0x01, 0xCD, 3, 0x01, 0xCE, 1};
constexpr COLORREF kGreen = 0x00FF00, kYellow = 0x00FFFF;

class PositionPage : public AlertPage<Pos> {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_dVar10 = comm.m_dPosAlertHigh = comm.m_dPosAlertLow = 0;
    SetPoints(80, 20);
    Open(14);
  }
  void SetPoints(double high, double low) {
    device->SetVariable(117, high);
    device->SetVariable(118, low);
  }
  void SetBins(const sim::Histogram& bins) {
    ModifyState([&](sim::DeviceState& s) {
      s.aux.histograms[3] = bins;
      s.aux.recordHistograms = false;
    });
  }
  // The page's set points, as the user would leave them.
  void Leave(int edit, const char* text) {
    Type(edit, text);
    edit == Pos::kHighId ? page->OnKillFocusHighSetPoint() : page->OnKillFocusLowSetPoint();
  }
  void ExpectSetPoints(const char* high, const char* low) {
    EXPECT_EQ(Field(Pos::kHighId), high);
    EXPECT_EQ(Field(Pos::kLowId), low);
  }
};

TEST_F(PositionPage, StartReadsTheSetPointsThenTheHistogramAndWaitsForTheStatusRead) {
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadSetPoints});
  EXPECT_EQ(Sent(2), (std::vector<Bytes>{kSelectPosition, kRead208}));
  EXPECT_EQ(Plotted().size(), 13u);
  EXPECT_FALSE(Enabled(Pos::kApplyId));
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Read200({10}), Read200({8, 42})}));
  const double position = device->Variable(10);
  EXPECT_EQ(Field(Pos::kCurrentId), plat::FormatNumber("%.1f", position));
  EXPECT_NEAR(GaugeAt(0), position, 1e-4);  // float32 on the wire
  EXPECT_TRUE(Enabled(Pos::kApplyId));
  EXPECT_TRUE(Enabled(Pos::kResetId));
  // Idle ticks read nothing until the tenth.
  EXPECT_TRUE(Sent(9).empty());
  EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(PositionPage, HeaderAndButtonsHaveTheirToolTips) { ExpectHeaderAndButtonToolTips(); }

TEST_F(PositionPage, SetPointsFromTheDeviceOnTheEditsSpinsAndMarkers) {
  struct Case {
    double high, low;
    const char *highText, *lowText;
    double imageLow;
  } cases[] = {
      {80, 20, "80.0", "20.0", 20},
      {50.25, -10, "50.2", "-10.0", -10},
      {115, -15, "115.0", "-10.0", -10},  // the device keeps -15 until the next Apply
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.high);
    SetPoints(c.high, c.low);
    page->StartMonitoring();
    Tick();
    ExpectSetPoints(c.highText, c.lowText);
    EXPECT_DOUBLE_EQ(theApp().m_comm.m_dPosAlertHigh, c.high);
    EXPECT_DOUBLE_EQ(theApp().m_comm.m_dPosAlertLow, c.imageLow);
    EXPECT_DOUBLE_EQ(GaugeAt(Pos::kLowMarker), c.imageLow);
    EXPECT_DOUBLE_EQ(Spin(Pos::kLowSpinId), c.imageLow);
    EXPECT_EQ(ScaleMin(), -10);
    EXPECT_EQ(ScaleMax(), 110);
  }
  EXPECT_DOUBLE_EQ(device->Variable(118), -15);
}

TEST_F(PositionPage, TypedSetPointsAreClampedAndPushTheOtherAway) {
  Tick();
  device->ClearRequests();
  struct Case {
    int edit;
    const char* typed;
    const char *high, *low;  // as both edits show them afterwards
  } cases[] = {
      {Pos::kHighId, "130", "110.0", "20.0"},
      {Pos::kLowId, "-20", "80.0", "-10.0"},
      {Pos::kLowId, "", "80.0", "0.0"},
      {Pos::kLowId, "50", "50.1", "50.0"},     // with the high set point at 40
      {Pos::kHighId, "30", "30.0", "29.9"},    // with the low set point at 30
      {Pos::kLowId, "115", "110.1", "110.0"},  // brought to 110 before it pushes
      {Pos::kHighId, "-12", "-10.0", "-10.0"}, // the push stops at the scale's end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.edit == Pos::kHighId ? "high " : "low ") + c.typed);
    Leave(Pos::kLowId, "10");
    Leave(Pos::kHighId, c.edit == Pos::kLowId && std::string(c.typed) == "50" ? "40" : "80");
    Leave(Pos::kLowId, c.edit == Pos::kHighId && std::string(c.typed) == "30" ? "30" : "20");
    Leave(c.edit, c.typed);
    ExpectSetPoints(c.high, c.low);
    EXPECT_DOUBLE_EQ(GaugeAt(Pos::kLowMarker), std::stod(c.low));
    EXPECT_DOUBLE_EQ(Spin(Pos::kLowSpinId), std::stod(c.low));
  }
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(PositionPage, DraggingAMarkerPushesTheOtherByItsOwnGap) {
  struct Case {
    LONG marker;
    double to;
    double high, low;  // the markers afterwards
    const char *highText, *lowText;
  } cases[] = {
      {Pos::kHighMarker, 20, 20, 19.99, "20.0", "20.0"},  // 0.01 below: the edit rounds it
      {Pos::kHighMarker, 10, 10, 9.99, "10.0", "10.0"},
      {Pos::kLowMarker, 80, 80.1, 80, "80.1", "80.0"},
      {Pos::kLowMarker, 109.95, 110, 109.95, "110.0", "110.0"},  // the push stops at the end
      {Pos::kHighMarker, 60, 60, 20, "60.0", "20.0"},
      // Past an end: back on it, edits and spins untouched.
      {Pos::kHighMarker, 125, 110, 20, "80.0", "20.0"},
      {Pos::kLowMarker, -30, 80, -10, "80.0", "20.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    page->StartMonitoring();
    Tick();  // 80 and 20 again
    Drag(c.marker, c.to);
    EXPECT_NEAR(GaugeAt(Pos::kHighMarker), c.high, 1e-9);
    EXPECT_NEAR(GaugeAt(Pos::kLowMarker), c.low, 1e-9);
    ExpectSetPoints(c.highText, c.lowText);
  }
}

TEST_F(PositionPage, SpinEditsMoveTheirOwnSetPointOnly) {
  Tick();
  TurnSpin(Pos::kLowSpinId, 33.3);
  TurnSpin(Pos::kHighSpinId, 66.6);
  ExpectSetPoints("66.6", "33.3");
  EXPECT_DOUBLE_EQ(GaugeAt(Pos::kLowMarker), 33.3);
  EXPECT_DOUBLE_EQ(GaugeAt(Pos::kHighMarker), 66.6);
}

TEST_F(PositionPage, ThePointerIsGreenOnAndBetweenTheSetPoints) {
  Tick(4);
  struct Case {
    double position;
    COLORREF colour;
  } cases[] = {{20, kGreen}, {80, kGreen}, {50, kGreen}, {80.1, kYellow}, {19.9, kYellow}, {-10, kYellow}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    Gauge()->put_ElementPosition(0, c.position);
    Tick();
    EXPECT_EQ(PointerColour(), c.colour);
  }
  // Set points edited but not applied count.
  TurnSpin(Pos::kHighSpinId, 90);
  Gauge()->put_ElementPosition(0, 85);
  Tick();
  EXPECT_EQ(PointerColour(), kGreen);
}

TEST_F(PositionPage, HistogramIsPlottedAsShareOfAllSamples) {
  struct Case {
    const char* name;
    sim::Histogram bins;
    Points expected;
  } cases[] = {
      {"empty", {}, {{0, 0}, {1, 0}, {6, 0}, {15, 0}, {25, 0}, {35, 0}, {45, 0}, {55, 0}, {65, 0}, {75, 0},
                     {85, 0}, {91, 0}, {96, 0}}},
      // Words 12 to 15 are not position bins.
      {"sum 400", {100, 0, 0, 0, 0, 200, 0, 0, 0, 0, 0, 100, 999, 999, 999, 999},
       {{0, 0}, {1, 25}, {6, 0}, {15, 0}, {25, 0}, {35, 0}, {45, 50}, {55, 0}, {65, 0}, {75, 0},
        {85, 0}, {91, 0}, {96, 25}}},
      {"large", {0x80000000u}, {{0, 0}, {1, 100}, {6, 0}, {15, 0}, {25, 0}, {35, 0}, {45, 0}, {55, 0},
                                {65, 0}, {75, 0}, {85, 0}, {91, 0}, {96, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetBins(c.bins);
    page->StartMonitoring();
    Tick(3);
    EXPECT_EQ(Plotted(), c.expected);
  }
}

TEST_F(PositionPage, AHistogramReadWithoutReplyLeavesNoStalePlot) {
  Tick(4);
  ASSERT_EQ(Plotted().size(), 13u);
  for (int lostTick : {2, 3}) {  // the selector write, then the read
    SCOPED_TRACE(lostTick);
    Click(Pos::kRetrieveId);
    for (int tick = 1; tick <= 3; ++tick) {
      if (tick == lostTick) device->InjectNoReply();
      Tick();
    }
    EXPECT_TRUE(Plotted().empty());
    EXPECT_EQ(Field(Pos::kNoteId), Text("HISTOMISSING"));
    Tick();
  }
}

TEST_F(PositionPage, ResetClearsTheHistogramThenReadsItAgain) {
  SetBins({5, 5, 5});
  Tick(4);
  Click(Pos::kResetId);
  EXPECT_FALSE(Enabled(Pos::kResetId));
  EXPECT_EQ(Sent(), std::vector<Bytes>{kResetPosition});
  EXPECT_TRUE(Plotted().empty());
  EXPECT_EQ(device->State().aux.histograms[3], sim::Histogram{});
  EXPECT_EQ(Sent(2), (std::vector<Bytes>{kSelectPosition, kRead208}));
  const Points plotted = Plotted();
  ASSERT_EQ(plotted.size(), 13u);
  for (auto [x, y] : plotted) EXPECT_EQ(y, 0) << x;
  EXPECT_EQ(Sent(), (std::vector<Bytes>{Read200({10}), Read200({8, 42})}));
  EXPECT_TRUE(Enabled(Pos::kResetId));
}

TEST_F(PositionPage, ApplyWritesBothSetPointsClampedAsTyped) {
  Tick(4);
  Type(Pos::kHighId, "75.5");
  Type(Pos::kLowId, "-20");  // never left: the range holds all the same
  Click(Pos::kApplyId);
  // 117 = 75.5 (0x42970000), 118 = -10 (0xC1200000), float32 big-endian.
  EXPECT_EQ(Sent(), (std::vector<Bytes>{{201, 12, 0, 117, 0x42, 0x97, 0, 0, 0, 118, 0xC1, 0x20, 0, 0}}));
  ExpectSetPoints("75.5", "-10.0");
  EXPECT_TRUE(Enabled(Pos::kApplyId));
  EXPECT_DOUBLE_EQ(device->Variable(117), 75.5);
  EXPECT_DOUBLE_EQ(device->Variable(118), -10);
}

TEST_F(PositionPage, AnInvertedBandIsNotWritten) {
  Tick(4);
  struct Case {
    const char *high, *low;
  } cases[] = {{"80", "90"}, {"50", "50"}, {"-20", ""}};  // the last: -10 against 0
  for (const Case& c : cases) {
    SCOPED_TRACE(c.low);
    Type(Pos::kHighId, c.high);
    Type(Pos::kLowId, c.low);
    person.Answer(IDOK);
    Click(Pos::kApplyId);
    for (const Bytes& sent : Sent()) EXPECT_NE(sent.at(0), 201);
    ASSERT_FALSE(person.Asked().empty());
    EXPECT_EQ(person.Asked().back().text, Text("ALERTBANDINVERTED"));
    EXPECT_TRUE(Enabled(Pos::kApplyId));
  }
  EXPECT_DOUBLE_EQ(device->Variable(117), 80);
  EXPECT_DOUBLE_EQ(device->Variable(118), 20);
  // A band the spin edits inverted is refused the same way.
  TurnSpin(Pos::kLowSpinId, 85);
  TurnSpin(Pos::kHighSpinId, 70);
  person.Answer(IDOK);
  Click(Pos::kApplyId);
  for (const Bytes& sent : Sent()) EXPECT_NE(sent.at(0), 201);
  EXPECT_EQ(person.Asked().size(), 4u);
}

TEST_F(PositionPage, ApplyWaitsForSetPointsTheDeviceReported) {
  device->InjectNoReply();
  Tick(4);  // the set point read is lost; the rest answers
  person.Answer(IDOK);
  Click(Pos::kApplyId);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadSetPoints});  // read instead of written
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Text("ALERTLIMITSNOTREAD"));
  ExpectSetPoints("80.0", "20.0");
}

TEST_F(PositionPage, AnApplyWithoutReplyShowsWhatTheDeviceHeld) {
  Tick(4);
  Type(Pos::kHighId, "70");
  Click(Pos::kApplyId);
  device->InjectNoReply();
  Tick();
  EXPECT_EQ(Field(Pos::kNoteId), Text("ALERTAPPLYUNCONFIRMED"));
  ExpectSetPoints("80.0", "20.0");
  EXPECT_DOUBLE_EQ(theApp().m_comm.m_dPosAlertHigh, 80);
  EXPECT_TRUE(Enabled(Pos::kApplyId));
  person.Answer(IDOK);
  Click(Pos::kApplyId);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadSetPoints});
  EXPECT_EQ(person.Asked().size(), 1u);
}

}  // namespace
