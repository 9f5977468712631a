// Characterization plot, the equal-percentage curve and the curve file.
#include <QWidget>

#include "files/kinds_fixture.h"
#include "platform/win/controls.h"

namespace {

using namespace kindtest;

class CurveFiles : public KindFiles {
 protected:
  IiPlotXPtr Plot() {
    IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
    cf.SetupCharacterizationPlot(plot);
    return plot;
  }
  Points Curve(IiPlotXPtr& plot) { return PointsOf(cf.GetPlotChannelByName(plot, "CharCurve")); }
};

TEST_F(CurveFiles, TheGeneratedCurveHasItsEndsFixedAndTheProgressEndsAt100) {
  struct Case {
    int rangeability;
    std::vector<std::pair<int, double>> at;  // point index, y to two decimals
  };
  const Case cases[] = {
      // 100 x (50^-0.5 - 1/50) and 100 x (50^-0.05 - 1/50).
      {50, {{0, 0}, {10, 12.14}, {19, 80.23}, {20, 100}}},
      // 100 x (30^-0.95 - 1/30), 100 x (30^-0.05 - 1/30), 100 x (300^-0.5 - 1/300).
      {30, {{1, 0.62}, {19, 81.03}}},
      {300, {{10, 5.44}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rangeability);
    IiPlotXPtr plot = Plot();
    QWidget window;
    CWnd host;
    host.Attach(&window);
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, RECT{0, 0, 100, 20}, &host, 1));
    progress.SetRange(5, 7);
    progress.SetPos(6);
    cf.LoadCharCurveToPlot(plot, c.rangeability, &progress);
    const Points curve = Curve(plot);
    ASSERT_EQ(curve.size(), 21u);
    for (size_t i = 0; i < 21; ++i) EXPECT_EQ(curve[i].first, 5.0 * i);
    EXPECT_EQ(curve.front().second, 0);
    EXPECT_EQ(curve.back().second, 100);
    for (auto [i, y] : c.at) EXPECT_NEAR(curve[i].second, y, 0.005) << i;
    int low = -1, high = -1;
    progress.GetRange(low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);
    EXPECT_EQ(progress.GetPos(), 100);
  }
  // A rangeability of 1 gives 0 between the ends; a second run replaces the points.
  IiPlotXPtr plot = Plot();
  cf.LoadCharCurveToPlot(plot, 50, nullptr);
  cf.LoadCharCurveToPlot(plot, 1, nullptr);
  const Points curve = Curve(plot);
  ASSERT_EQ(curve.size(), 21u);
  for (size_t i = 1; i < 20; ++i) EXPECT_EQ(curve[i].second, 0) << i;
}

TEST_F(CurveFiles, SavedAndOpenedBackPointForPoint) {
  IiPlotXPtr plot = Plot();
  cf.LoadCharCurveToPlot(plot, 50, nullptr);
  cf.GetPlotChannelByName(plot, "CharCurve")->SetY(3, 1.0 / 3);
  const Points saved = Curve(plot);
  clock.Set({2026, 3, 7, 9, 5, 0, 0});
  cf.m_strFileTag = "FV101";
  const std::string path = folder / "c.curve";
  person.AnswerFile(path);
  cf.SaveCharCurveFile(plot);
  const plat::Question& q = person.Asked().at(0);
  EXPECT_EQ(q.defaultName, "FV101_CONFIG_CUST_CHAR_2026_3_7_9h_5m.curve");
  EXPECT_EQ(q.defaultExtension, "curve");
  EXPECT_EQ(q.filter, "(*.curve)|*.curve|");
  EXPECT_EQ(q.title, "Save Stroke Characterization As");
  EXPECT_EQ(q.flags, 6u);
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"c.curve"}));

  cf.LoadCharCurveToPlot(plot, 1, nullptr);
  person.AnswerFile(path);
  cf.OpenCharCurveFile(plot);
  const plat::Question& o = person.Asked().at(1);
  EXPECT_EQ(o.filter, "*.curve|*.curve|");
  EXPECT_EQ(o.title, "Open Stroke Characterization");
  EXPECT_EQ(o.defaultName, "");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Curve(plot), saved);
  EXPECT_EQ(ChannelNames(plot), (std::vector<std::string>{"CharCurve"}));

  // Without a tag the name starts with the suffix.
  cf.m_strFileTag = "";
  person.CancelFile();
  cf.SaveCharCurveFile(plot);
  EXPECT_EQ(Last().defaultName, "_CONFIG_CUST_CHAR_2026_3_7_9h_5m.curve");
}

TEST(CurveLayout, TitleAxesAndTheOneChannel) {
  IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
  for (int i = 0; i < 4; ++i) plot->AddChannel(nullptr);
  ChannelAt(plot, 2)->AddXY(1, 2, nullptr);
  CFileFunctions cf;
  cf.SetupCharacterizationPlot(plot);
  cf.SetupCharCurvePlot(plot);
  EXPECT_EQ(Title(plot), "Characterization Curve");
  for (const bool x : {true, false}) {
    const char* name = x ? "Input Signal (%)" : "Output Signal (%)";
    SCOPED_TRACE(name);
    EXPECT_EQ(Range(plot, x, name), std::make_pair(0.0, 100.0));
    _bstr_t title;
    AxisAt(plot, x, 0)->GetTitle(&title);
    EXPECT_EQ(Text(title), name);
  }
  ASSERT_EQ(ChannelNames(plot), (std::vector<std::string>{"CharCurve"}));
  IiPlotChannelPtr c = ChannelAt(plot, 0);
  _bstr_t title;
  COLORREF color = 0;
  LONG markers = -1, style = -1, count = -1;
  VARIANT_BOOL visible = -2, legend = -2;
  c->GetTitle(&title);
  c->GetColor(&color);
  c->GetMarkersVisible(&markers);
  c->GetMarkerStyle(&style);
  c->GetVisible(&visible);
  c->GetVisibleInLegend(&legend);
  c->GetCount(&count);
  EXPECT_EQ(Text(title), "Characterization");
  EXPECT_EQ(color, 0xFF0000u);
  EXPECT_EQ(markers, 1);
  EXPECT_EQ(style, 2);
  EXPECT_NE(visible, 0);
  EXPECT_EQ(legend, 0);
  EXPECT_EQ(count, 0);
}

}  // namespace
