// Plot channels by name: look-up, set-ups, copies, differences, show/hide.
#include <gtest/gtest.h>

#include "common/common_controls.h"
#include "platform/activex/sequences.h"

namespace {

class Channels : public testing::Test {
 protected:
  void SetUp() override {
    plot = IiPlotXPtr(axtest::Create(kPlotProgId));
    xy = IiXYPlotXPtr(axtest::Create(kXYPlotProgId));
    other = IiPlotXPtr(axtest::Create(kPlotProgId));
    ASSERT_TRUE(plot && xy && other);
    for (IPlotBase* p : {static_cast<IPlotBase*>(plot.GetInterfacePtr()), static_cast<IPlotBase*>(xy.GetInterfacePtr()),
                         static_cast<IPlotBase*>(other.GetInterfacePtr())}) {
      p->RemoveAllChannels();
      for (int i = 0; i < 4; ++i) p->AddChannel(nullptr);  // "Channel 1" .. "Channel 4"
    }
  }
  template <class Channel>
  static void Fill(Channel& c, std::initializer_list<std::pair<double, double>> points) {
    for (auto [x, y] : points) c->AddXY(x, y, nullptr);
  }
  template <class Channel>
  static std::vector<std::pair<double, double>> Points(Channel& c) {
    LONG n = 0;
    c->GetCount(&n);
    std::vector<std::pair<double, double>> out;
    for (LONG i = 0; i < n; ++i) {
      double x = 0, y = 0;
      c->GetX(i, &x);
      c->GetY(i, &y);
      out.emplace_back(x, y);
    }
    return out;
  }
  template <class Channel>
  static std::vector<LONG> MarkedPoints(Channel& c) {
    LONG n = 0;
    c->GetCount(&n);
    std::vector<LONG> marked;
    for (LONG i = 0; i < n; ++i) {
      LONG on = 0;
      c->GetPointMarkerVisible(i, &on);
      if (on) marked.push_back(i);
    }
    return marked;
  }
  IiPlotChannelPtr P(const char* name) { return common.GetPlotChannelByName(plot, name); }
  IiXYPlotChannelPtr X(const char* name) { return common.GetXYPlotChannelByName(xy, name); }

  CCommonControls common;
  IiPlotXPtr plot, other;
  IiXYPlotXPtr xy;
};

TEST_F(Channels, LookUpByNameInAnyCaseAndNothingForUnknownNames) {
  common.SetupPlotChannel(plot, "Channel 1", "ILPos", "Pilot position", 0xFF0000, "X", "Y", 1);
  EXPECT_TRUE(P("ILPOS"));
  EXPECT_TRUE(P("ilpos"));
  EXPECT_FALSE(P("Channel 1"));  // renamed: only the new name finds it
  EXPECT_TRUE(P("Channel 2"));
  EXPECT_FALSE(P("Nowhere"));
  EXPECT_FALSE(common.GetPlotChannelByName(plot, _bstr_t()));
  // An XY plot's channel is not a time plot's channel.
  EXPECT_FALSE(IiPlotChannelPtr(IUnknownPtr(X("Channel 1").GetInterfacePtr())));
  try {
    P("Nowhere")->Clear();
    FAIL();
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_POINTER);
  }
  IiPlotXPtr none;
  EXPECT_THROW(common.GetPlotChannelByName(none, "Channel 1"), _com_error);
}

TEST_F(Channels, SetupsNameTheChannelAndApplyTheStyleTable) {
  struct Case {
    int style;
    bool plotMarked, xyMarked, xyAMarked;  // markers on with size 3 and the style
    bool markersOff;                       // style 12
  } cases[] = {
      {0, true, true, true, false},    {9, true, true, true, false},   {10, false, false, true, false},
      {11, false, false, true, false}, {12, false, false, false, true}, {13, false, false, false, false},
      {-1, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    for (int kind = 0; kind < 3; ++kind) {
      SetUp();
      auto check = [&](auto channel, bool marked) {
        LONG on = -5, size = -5, style = -5, extra = -5, line = -5;
        channel->GetMarkersVisible(&on);
        channel->GetMarkerSize(&size);
        channel->GetMarkerStyle(&style);
        channel->GetMarkerExtraFlag(&extra);
        channel->GetLineSetting(&line);
        EXPECT_EQ(line, 2);
        if (marked) {
          EXPECT_EQ(on, 1);
          EXPECT_EQ(size, 3);
          EXPECT_EQ(style, c.style);
          EXPECT_EQ(extra, 1);
        } else {
          EXPECT_EQ(size, 7);  // left as it was
          EXPECT_EQ(on, c.markersOff ? 0 : 1);
        }
        _bstr_t name, title, xAxis;
        channel->GetName(&name);
        channel->GetTitle(&title);
        channel->GetXAxisName(&xAxis);
        EXPECT_EQ(name.str(), "Position");
        EXPECT_EQ(title.str(), "Valve position");
        EXPECT_EQ(xAxis.str(), "Time");
        VARIANT_BOOL visible = 0, legend = 0;
        channel->GetVisible(&visible);
        channel->GetVisibleInLegend(&legend);
        EXPECT_NE(visible, 0);
        EXPECT_NE(legend, 0);
      };
      if (kind == 0) {
        P("Channel 2")->SetMarkerSize(7);
        P("Channel 2")->SetMarkersVisible(1);
        check(common.SetupPlotChannel(plot, "Channel 2", "Position", "Valve position", 0x0000FF, "Time", "Pct",
                                      c.style),
              c.plotMarked);
      } else {
        X("Channel 2")->SetMarkerSize(7);
        X("Channel 2")->SetMarkersVisible(1);
        auto channel = kind == 1 ? common.SetupXYPlotChannel(xy, "Channel 2", "Position", "Valve position",
                                                             0x0000FF, "Time", "Pct", c.style)
                                 : common.SetupXYPlotChannelA(xy, "Channel 2", "Position", "Valve position",
                                                              0x0000FF, "Time", "Pct", c.style);
        check(channel, kind == 1 ? c.xyMarked : c.xyAMarked);
      }
    }
  }
  EXPECT_THROW(common.SetupPlotChannel(plot, "Missing", "A", "A", 0, "X", "Y", 0), _com_error);
}

TEST_F(Channels, CharacterisationCurveHasNoLegendAndItsMarkerStyle) {
  auto c = common.GetCharCurveChannel(plot, "Channel 1", "CharCurve", "Characterization", 0xFF0000, 2);
  VARIANT_BOOL legend = -1;
  LONG style = 0, on = 0;
  c->GetVisibleInLegend(&legend);
  c->GetMarkerStyle(&style);
  c->GetMarkersVisible(&on);
  EXPECT_EQ(legend, 0);
  EXPECT_EQ(style, 2);
  EXPECT_EQ(on, 1);
  EXPECT_TRUE(P("CharCurve"));
}

TEST_F(Channels, PlotCopyReplacesAndXYCopyAppends) {
  auto source = common.GetPlotChannelByName(other, "Channel 1");
  Fill(source, {{0, 1}, {1, 3}, {0.5, 2}});
  auto target = P("Channel 3");
  Fill(target, {{9, 9}});
  common.CopyPlotChannelPoints("Channel 1", "Channel 3", true, other, plot);
  EXPECT_EQ(Points(target), (std::vector<std::pair<double, double>>{{0, 1}, {1, 3}, {0.5, 2}}));

  auto xs = X("Channel 1");
  Fill(xs, {{5, 50}, {4, 40}});
  auto xt = X("Channel 2");
  Fill(xt, {{9, 9}});
  common.CopyXYChannelPoints("Channel 1", "Channel 2", false, xy, xy);
  EXPECT_EQ(Points(xt), (std::vector<std::pair<double, double>>{{9, 9}, {5, 50}, {4, 40}}));
  VARIANT_BOOL visible = -1, legend = -1;
  xt->GetVisible(&visible);
  xt->GetVisibleInLegend(&legend);
  EXPECT_EQ(visible, 0);
  EXPECT_EQ(legend, 0);
}

TEST_F(Channels, MarkingCopyMarksEveryNthPoint) {
  auto source = P("Channel 1");
  for (int i = 0; i < 7; ++i) source->AddXY(i, i * 10, nullptr);
  struct Case {
    int interval;
    std::vector<LONG> marked;
  } cases[] = {{3, {0, 3, 6}}, {1, {0, 1, 2, 3, 4, 5, 6}}, {100, {0}}, {0, {0}}, {-4, {0}}};
  for (const Case& c : cases) {
    common.CopyPlotChannelPoints2("Channel 1", "Channel 2", c.interval, true, plot, plot);
    auto target = P("Channel 2");
    EXPECT_EQ(Points(target).size(), 7u);
    EXPECT_EQ(MarkedPoints(target), c.marked) << c.interval;
    LONG on = 0;
    target->GetMarkersVisible(&on);
    EXPECT_EQ(on, 1);
  }
}

TEST_F(Channels, DifferenceByIndexOverTheShorterChannelWithAsX) {
  auto a = X("Channel 1");
  auto b = X("Channel 2");
  for (int i = 0; i < 208; ++i) a->AddXY(i * 0.5, i, nullptr);
  for (int i = 0; i < 416; ++i) b->AddXY(1000 + i, 2.0 * i, nullptr);
  common.ComputeXYChannelDelta("Channel 1", "Channel 2", "Channel 3", 20, true, xy);
  auto d = X("Channel 3");
  const auto points = Points(d);
  ASSERT_EQ(points.size(), 208u);
  EXPECT_EQ(points[10], std::make_pair(5.0, -10.0));  // x of A, A - B
  EXPECT_EQ(MarkedPoints(d).front(), 0);
  EXPECT_EQ(MarkedPoints(d).size(), 11u);  // 0, 20, ..., 200

  // Either side empty: an empty difference with its markers on.
  X("Channel 1")->Clear();
  common.ComputeXYChannelDelta("Channel 1", "Channel 2", "Channel 3", 20, true, xy);
  LONG n = -1, on = 0;
  d->GetCount(&n);
  d->GetMarkersVisible(&on);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(on, 1);
}

TEST_F(Channels, MissingChannelsFailAtTheirFirstUse) {
  auto target = P("Channel 2");
  Fill(target, {{1, 1}});
  // Plot copy: a missing source fails after the destination was cleared.
  EXPECT_THROW(common.CopyPlotChannelPoints("Missing", "Channel 2", true, plot, plot), _com_error);
  LONG n = -1;
  target->GetCount(&n);
  EXPECT_EQ(n, 0);
  // XY copy: nothing changes.
  auto xt = X("Channel 2");
  Fill(xt, {{1, 1}});
  X("Channel 1")->AddXY(2, 2, nullptr);
  EXPECT_THROW(common.CopyXYChannelPoints("Missing", "Channel 2", true, xy, xy), _com_error);
  xt->GetCount(&n);
  EXPECT_EQ(n, 1);
  // Difference: a missing D fails before anything changes.
  EXPECT_THROW(common.ComputeXYChannelDelta("Channel 1", "Channel 2", "Missing", 5, true, xy), _com_error);
}

TEST_F(Channels, ShowWritesTheValueIntoBothFlags) {
  for (int show : {0, 1, 2}) {
    common.ShowChannel(xy, "Channel 1", show);
    common.ShowChannel2(plot, "Channel 1", show);
    common.GetXYPlotChannelByNameEx(xy, "Channel 2", show);
    for (auto c : {X("Channel 1"), X("Channel 2")}) {
      VARIANT_BOOL visible = -9, legend = -9;
      c->GetVisible(&visible);
      c->GetVisibleInLegend(&legend);
      EXPECT_EQ(visible, show);
      EXPECT_EQ(legend, show);
    }
    VARIANT_BOOL visible = -9;
    P("Channel 1")->GetVisible(&visible);
    EXPECT_EQ(visible, show);
  }
  EXPECT_THROW(common.ShowChannel(xy, "Missing", 1), _com_error);
}

TEST(PstSettings, EqualOnlyWhenAllFourPairsAreTheSameText) {
  const _bstr_t a("10.0"), b("90.0"), c("5.0"), d("30.0");
  EXPECT_TRUE(CCommonControls::ArePSTSettingsEqual(a, a, b, b, c, c, d, d));
  EXPECT_TRUE(CCommonControls::ArePSTSettingsEqual(_bstr_t(), _bstr_t(), b, b, c, c, d, d));
  struct Case {
    _bstr_t first, second;
  } differing[] = {{"10.0", " 10.0"}, {"abc", "ABC"}, {_bstr_t(), ""}, {"", _bstr_t()}, {"10.0", "10.00"}};
  for (const Case& x : differing)
    EXPECT_FALSE(CCommonControls::ArePSTSettingsEqual(a, a, b, b, x.first, x.second, d, d));
}

}  // namespace
