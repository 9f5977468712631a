// The deviation alert page against the simulated positioner, on the manual
// clock: limits shown and edited, the histogram read, plotted and reset,
// and Apply with its guards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "support/language_table.h"
#include "views/health/deviation_alert.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using namespace activex;
using Page = CHealth_Ctl_DeviationView;
using Points = std::vector<std::pair<double, double>>;

template <class I>
_com_ptr_t<I> As(IUnknown* unknown) {
  I* p = nullptr;
  if (unknown) unknown->QueryInterface(I::kIID, reinterpret_cast<void**>(&p));
  return _com_ptr_t<I>(p, false);
}

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

const Bytes kReadLimits = Read200({119, 120});
const Bytes kSelect[3] = {{201, 3, 0x01, 0xCD, 0}, {201, 3, 0x01, 0xCD, 1}, {201, 3, 0x01, 0xCD, 2}};
const Bytes kResetPart[3] = {{201, 6, 0x01, 0xCD, 0, 0x01, 0xCE, 1},
                             {201, 6, 0x01, 0xCD, 1, 0x01, 0xCE, 1},
                             {201, 6, 0x01, 0xCD, 2, 0x01, 0xCE, 1}};
const Bytes kRead208 = {208};

class DeviationPage : public testpages::SimulatedPage {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_dVar12 = comm.m_dDeviationLimit = comm.m_dDeviationLimit2 = 0;
    SetLimits(5, 10);
    page = static_cast<Page*>(CreatePage(13));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
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
  template <class I>
  _com_ptr_t<I> Control(UINT id) {
    CWnd* wnd = page->GetDlgItem(static_cast<int>(id));
    return As<I>(wnd ? wnd->GetControlUnknown() : nullptr);
  }
  IiLinearGaugeXPtr Gauge() { return Control<IiLinearGaugeX>(Page::kGaugeId); }
  double GaugeAt(LONG element) {
    double v = -999;
    Gauge()->get_ElementPosition(element, &v);
    return v;
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
  Points Plotted() {
    IiPlotXPtr plot = Control<IiPlotX>(Page::kPlotId);
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
  void Click(int id) { page->GetDlgItemAs<CButton>(id)->Click(); }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  void Drag(LONG marker, double to) {
    Gauge()->put_ElementPosition(marker, to);
    Control<IControlTest>(Page::kGaugeId)->UserEvent(19, {_variant_t(marker)});
  }

  Page* page = nullptr;
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
    COLORREF colour = 0;
    Gauge()->get_ElementColor(0, &colour);
    EXPECT_EQ(colour, c.colour);
  }
}

}  // namespace
