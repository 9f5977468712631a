// The ramp and step plot layouts: axes, channel tables, visibility resets.
#include "files/fixture.h"

namespace {

using namespace filetest;

struct ChannelExpect {
  const char* name;
  const char* title;
  COLORREF color;
  const char* xAxis;
  const char* yAxis;
  LONG markers;  // 1 with a marker style, 0 for style 12
  LONG markerStyle;
  VARIANT_BOOL shown;
};

void ExpectChannels(IiXYPlotXPtr& plot, const std::vector<ChannelExpect>& table) {
  ASSERT_EQ(ChannelCount(plot), static_cast<LONG>(table.size()));
  for (size_t i = 0; i < table.size(); ++i) {
    const ChannelExpect& e = table[i];
    SCOPED_TRACE(e.name);
    IiXYPlotChannelPtr c = ChannelAt(plot, static_cast<LONG>(i));
    EXPECT_EQ(LookOf(c), (ChannelLook{e.name, e.title, e.xAxis, e.yAxis, e.color, e.markers ? e.markerStyle : -1,
                                      e.shown != 0, e.shown != 0, 0}));
  }
}

struct AxisExpect {
  bool x;
  LONG index;
  const char* name;
  double min, span;
};

void ExpectAxes(IiXYPlotXPtr& plot, const std::vector<AxisExpect>& table) {
  for (const AxisExpect& e : table) {
    SCOPED_TRACE(e.name);
    IiPlotAxisPtr axis = AxisAt(plot, e.x, e.index);
    ASSERT_TRUE(axis);
    _bstr_t name;
    double min = -1, span = -1;
    axis->GetName(&name);
    axis->GetMin(&min);
    axis->GetSpan(&span);
    EXPECT_EQ(Text(name), e.name);
    EXPECT_EQ(min, e.min);
    EXPECT_EQ(span, e.span);
    IFontPtr font;
    axis->GetTitleFont(&font);
    BOOL bold = TRUE;
    font->get_Bold(&bold);
    EXPECT_FALSE(bold);
  }
}

void ExpectAxisFlags(IiXYPlotXPtr& plot, const std::vector<std::pair<bool, const char*>>& axes, bool on) {
  for (auto [x, name] : axes) {
    SCOPED_TRACE(name);
    IiPlotAxisPtr axis;
    x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis);
    ASSERT_TRUE(axis);
    VARIANT_BOOL visible = -2, enabled = -2;
    axis->GetVisible(&visible);
    axis->GetEnabled(&enabled);
    EXPECT_EQ(visible != 0, on);
    EXPECT_EQ(enabled != 0, on);
  }
}

// A plot that already holds other channels, points and axis ranges.
IiXYPlotXPtr UsedPlot() {
  IiXYPlotXPtr plot = NewXYPlot();
  for (int i = 0; i < 3; ++i) plot->AddChannel(nullptr);
  ChannelAt(plot, 0)->SetName("Position");
  ChannelAt(plot, 1)->AddXY(1, 2, nullptr);
  AxisAt(plot, true, 0)->SetMin(5);
  AxisAt(plot, false, 0)->SetSpan(7);
  return plot;
}

void ExpectDataView(IiXYPlotXPtr& plot, const char* x, const char* y) {
  IiPlotDataViewPtr view;
  ASSERT_TRUE(SUCCEEDED(plot->GetDataView(0, &view)));
  _bstr_t gx, gy;
  COLORREF grid = 0, back = 0;
  view->GetXAxisName(&gx);
  view->GetYAxisName(&gy);
  view->GetGridLineColor(&grid);
  plot->GetBackgroundColor(&back);
  EXPECT_EQ(Text(gx), x);
  EXPECT_EQ(Text(gy), y);
  EXPECT_EQ(grid, 0x00C000u);
  EXPECT_EQ(back, 0xFFFFFFu);
}

const std::vector<ChannelExpect> kRampTable = {
    {"Position", "Position", 0x0A0AFF, "RampX", "RampPerc", 1, 0, 0},
    {"Command", "Command", 0xC00000, "RampX", "RampPerc", 1, 1, 0},
    {"ILCmd", "Pilot Relay Command", 0x004000, "RampX", "RampPerc", 1, 5, 0},
    {"ILPos", "Pilot Relay Position", 0x000080, "RampX", "RampPerc", 1, 6, 0},
    {"PosnvCmdOpen", "Position (opening)", 0x0A0AFF, "CmdX", "RampPerc", 1, 0, 0},
    {"ILCmdvCmdOpen", "Pilot Relay Command (opening)", 0xC00000, "CmdX", "RampPerc", 1, 6, 0},
    {"ILPosnvCmdOpen", "Pilot Relay Position (opening)", 0xCC00FF, "CmdX", "RampPerc", 1, 5, 0},
    {"PosnvCmdClose", "Position (closing)", 0x0A0AFF, "CmdX", "RampPerc", 1, 6, 0},
    {"ILCmdvCmdClose", "Pilot Relay Command (closing)", 0xC00000, "CmdX", "RampPerc", 1, 2, 0},
    {"ILPosnvCmdClose", "Pilot Relay Position (closing)", 0xCC00FF, "CmdX", "RampPerc", 1, 1, 0},
    {"RampSettings", "RampSettings", 0xCC00CC, "None", "None", 0, 0, 0},
    {"TagName", "TagName", 0x004000, "None", "None", 0, 0, 0},
    {"SpringResults", "SpringResults", 0x000080, "None", "None", 0, 0, 0},
};

const std::vector<ChannelExpect> kStepTable = {
    {"Position", "Position", 0x0A0AFF, "StepX", "StepPerc", 1, 0, 1},
    {"Command", "Command", 0xC00000, "StepX", "StepPerc", 1, 1, 1},
    {"ILCmd", "Pilot Relay Command", 0x004000, "StepX", "StepPerc", 1, 5, 1},
    {"ILPos", "Pilot Relay Position", 0x000080, "StepX", "StepPerc", 1, 6, 1},
    {"TestSettings", "TestSettings", 0xCC00CC, "None", "None", 0, 0, 0},
    {"TagName", "TagName", 0x000080, "None", "None", 0, 0, 0},
};

TEST(RampLayout, AxesAndThirteenHiddenChannelsWhateverThePlotHeldAndHowOftenItRuns) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = UsedPlot();
  for (int pass = 1; pass <= 2; ++pass) {
    SCOPED_TRACE(pass);
    cf.SetupRampPlot(plot);
    cf.SetupRampTestChannels(plot);
    ExpectAxes(plot, {{true, 0, "RampX", 0, 100}, {true, 1, "CmdX", 0, 100}, {false, 0, "RampPerc", 0, 100}});
    ExpectDataView(plot, "RampX", "RampPerc");
    _bstr_t title;
    AxisAt(plot, false, 0)->GetTitle(&title);
    EXPECT_EQ(Text(title), "##HDRLPOSNPERC");  // the tests run without a language file
    double low = -1, high = -1;
    AxisAt(plot, false, 0)->GetLimitLow(&low);
    AxisAt(plot, false, 0)->GetLimitHigh(&high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);
    ExpectChannels(plot, kRampTable);
    ExpectAxisFlags(plot, {{true, "RampX"}, {true, "CmdX"}, {false, "RampPerc"}}, false);
  }
}

TEST(RampLayout, HidingTouchesOnlyTheTenDataChannelsAndTheAxes) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupRampPlot(plot);
  cf.SetupRampTestChannels(plot);
  for (LONG i = 0; i < 13; ++i) {
    ChannelAt(plot, i)->SetVisible(1);
    ChannelAt(plot, i)->SetVisibleInLegend(1);
    ChannelAt(plot, i)->AddXY(i, i * 2, nullptr);
  }
  cf.HideRampChannels(plot);
  for (LONG i = 0; i < 13; ++i) {
    SCOPED_TRACE(ChannelName(plot, i));
    VARIANT_BOOL visible = -2;
    ChannelAt(plot, i)->GetVisible(&visible);
    EXPECT_EQ(visible != 0, i >= 10);
    EXPECT_EQ(PointsOf(ChannelAt(plot, i)), (Points{{i, i * 2}}));
  }
}

TEST(RampLayout, HidingFailsAtAMissingNameAfterHidingTheOnesBefore) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupRampPlot(plot);
  cf.SetupRampTestChannels(plot);
  ChannelAt(plot, 0)->SetVisible(1);
  ChannelAt(plot, 2)->SetVisible(1);
  ChannelAt(plot, 2)->SetName("Renamed");  // "ILCmd" is third in the hiding order
  EXPECT_THROW(cf.HideRampChannels(plot), _com_error);
  VARIANT_BOOL first = -2, third = -2;
  ChannelAt(plot, 0)->GetVisible(&first);
  ChannelAt(plot, 2)->GetVisible(&third);
  EXPECT_FALSE(first);
  EXPECT_TRUE(third);
}

TEST(RampLayout, TheCompareResetHidesTheThirtyChannelsAndTheAxesOrStopsAtAMissingName) {
  for (const bool broken : {false, true}) {
    SCOPED_TRACE(broken ? "\"ILCmd2\" missing" : "all there");
    CFileFunctions cf;
    IiXYPlotXPtr plot = NewXYPlot();
    cf.SetupRampPlot(plot);
    plot->RemoveAllChannels();
    for (const char* name : kRampCompareChannels) {
      LONG index = -1;
      plot->AddChannel(&index);
      ChannelAt(plot, index)->SetName(broken && std::string(name) == "ILCmd2" ? "Other" : name);
      ChannelAt(plot, index)->AddXY(1, 2, nullptr);
    }
    if (broken) {
      EXPECT_THROW(cf.SetupRampAxes(plot), _com_error);
    } else {
      cf.SetupRampAxes(plot);
    }
    for (LONG i = 0; i < 30; ++i) {
      SCOPED_TRACE(kRampCompareChannels[i]);
      ChannelLook look = LookOf(ChannelAt(plot, i));
      const bool hidden = !broken || i < 6;
      EXPECT_EQ(look.visible, !hidden);
      EXPECT_EQ(look.inLegend, !hidden);
      EXPECT_EQ(look.points, 1);
    }
    ExpectAxisFlags(plot, {{true, "RampX"}, {true, "CmdX"}, {false, "RampPerc"}}, broken);
  }
}

TEST(StepLayout, TheTwoAxisLayouts) {
  struct Case {
    const char* what;
    void (CFileFunctions::*setup)(IiXYPlotXPtr);
    const char* yName;
    double xSpan, ySpan;
  };
  const Case cases[] = {
      {"test", &CFileFunctions::SetupStepPlot, "StepPerc", 10, 130},
      {"compare", &CFileFunctions::SetupStepComparePlot, "RampPerc", 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CFileFunctions cf;
    IiXYPlotXPtr plot = UsedPlot();
    (cf.*c.setup)(plot);
    ExpectAxes(plot, {{true, 0, "StepX", 0, c.xSpan}, {false, 0, c.yName, 0, c.ySpan}});
    ExpectDataView(plot, "StepX", c.yName);
  }
}

TEST(StepLayout, SixChannelsWithHiddenStorageAndTheVisibilityReset) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = UsedPlot();
  cf.SetupStepPlot(plot);
  cf.SetupStepChannels(plot);
  ExpectChannels(plot, kStepTable);

  cf.UpdateStepPlot(plot);
  std::vector<ChannelExpect> hidden = kStepTable;
  for (ChannelExpect& e : hidden) e.shown = 0;
  ExpectChannels(plot, hidden);
  ExpectAxisFlags(plot, {{true, "StepX"}, {false, "StepPerc"}}, false);
}

}  // namespace

namespace {

TEST(HistogramLayout, TheTwoRangesAndOneEmptyCurrentChannelOnAUsedPlot) {
  struct Case {
    const char* what;
    void (CFileFunctions::*setup)(IiPlotXPtr);
    double xMin, xSpan;
  } cases[] = {
      {"deviation", &CFileFunctions::SetupDeviationPlot, -100, 200},
      {"position", &CFileFunctions::SetupPosAlertsHistogramPlot, -10, 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CFileFunctions cf;
    IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
    for (int i = 0; i < 3; ++i) plot->AddChannel(nullptr);
    ChannelAt(plot, 1)->AddXY(1, 2, nullptr);
    (cf.*c.setup)(plot);
    cf.SetupHistogramCurrentMarker(plot);
    const struct {
      bool x;
      const char* name;
      double min, span;
    } axes[] = {{true, "Samples", c.xMin, c.xSpan}, {false, "SamplePerc", 0, 100}};
    for (const auto& a : axes) {
      IiPlotAxisPtr axis;
      ASSERT_EQ(a.x ? plot->GetXAxis(0, &axis) : plot->GetYAxis(0, &axis), S_OK);
      _bstr_t name, face;
      double min = -1, span = -1;
      axis->GetName(&name);
      axis->GetMin(&min);
      axis->GetSpan(&span);
      EXPECT_EQ(Text(name), a.name);
      EXPECT_EQ(min, a.min);
      EXPECT_EQ(span, a.span);
      IFontPtr font;
      axis->GetTitleFont(&font);
      CY size = 0;
      BOOL bold = TRUE;
      font->get_Size(&size);
      font->get_Name(&face);
      font->get_Bold(&bold);
      EXPECT_EQ(size, 80000);
      EXPECT_EQ(Text(face), "Arial");
      EXPECT_FALSE(bold);
    }
    ASSERT_EQ(ChannelCount(plot), 1);
    const ChannelLook look = LookOf(ChannelAt(plot, 0));
    EXPECT_EQ(look.name, "Current");
    EXPECT_EQ(look.xAxis, "Samples");
    EXPECT_EQ(look.yAxis, "SamplePerc");
    EXPECT_EQ(look.color, 0xFF0000u);
    EXPECT_TRUE(look.visible);
    EXPECT_EQ(look.points, 0);
  }
}

}  // namespace
