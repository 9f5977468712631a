// The HDRL comparison's channel tables and the compare plot's views: what
// each leaves on the plot, and where a name the plot lacks stops it.
#include <set>
#include <string>
#include <vector>

#include "files/fixture.h"

namespace {

using namespace filetest;
using Names = std::vector<std::string>;

const Names kPositionVsTime = {"Position", "Command", "Position2", "Command2"};
const Names kCycles = {"1stCycle-Incr", "1stCycle-Incr2", "1stCycle-Decr", "1stCycle-Decr2",
                       "2ndCycle-Incr", "2ndCycle-Incr2", "2ndCycle-Decr", "2ndCycle-Decr2"};
const Names kLinearity = {"AverageError", "AverageError2", "LeastSquareLine", "LeastSquareLine2"};

// A shown channel drawn as a line without point symbols.
ChannelLook Line(const char* name, const char* title, const char* x, const char* y, COLORREF color) {
  return {name, title, x, y, color, -1, true, true, 0};
}

// A plot as the comparison page lays it out, with the points of one file
// standing in the way of a second application of the table.
IiXYPlotXPtr ComparePlot() {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupHDRLPlots(plot);
  cf.SetupHDRLCompareChannels2(plot);
  return plot;
}

TEST(HDRLCompareChannels, EachTableTwiceLeavesExactlyItsChannelsEmpty) {
  struct Table {
    const char* name;
    void (CFileFunctions::*apply)(IiXYPlotXPtr);
    std::vector<ChannelLook> looks;
  };
  const Table tables[] = {
      {"file table",
       &CFileFunctions::SetupHDRLCompareChannels,
       {
           Line("Position", "Position", "Time", "Position", 0x0A0AFF),
           Line("Command", "Command", "Time", "Position", 0xC00000),
           Line("1stCycle-Incr", "1st Cycle-Incr", "Command", "PositionError", 0x0A0AFF),
           Line("1stCycle-Decr", "1st Cycle-Decr", "Command", "PositionError", 0x00C000),
           Line("2ndCycle-Incr", "2nd Cycle-Incr", "Command", "PositionError", 0xCC00CC),
           Line("2ndCycle-Decr", "2nd Cycle-Decr", "Command", "PositionError", 0x000000),
           Line("AverageError", "Average Error", "Command", "PositionError", 0x0A0AFF),
           Line("LeastSquareLine", "Least SquareLine", "Command", "PositionError", 0x000000),
           // Storage of the file: hidden, in the legend too.
           {"TestSettings", "TestSettings", "None", "None", 0xCC00CC, -1, false, false, 0},
           {"TagName", "TagName", "None", "None", 0x000080, -1, false, false, 0},
       }},
      {"overlay table",
       &CFileFunctions::SetupHDRLCompareChannels2,
       {
           FreshLook("Position", "Position", "Time", "Position", 0x0A0AFF, 0),
           FreshLook("Position2", "Position 2", "Time2", "Position", 0x0A0AFF, 1),
           FreshLook("Command", "Command", "Time", "Position", 0xC00000, 2),
           FreshLook("Command2", "Command 2", "Time2", "Position", 0xC00000, 3),
           FreshLook("1stCycle-Incr", "1st Cycle-Incr", "Command", "PositionError", 0x0A0AFF, 0),
           FreshLook("1stCycle-Incr2", "1st Cycle-Incr 2", "Command", "PositionError", 0x0A0AFF, 1),
           FreshLook("1stCycle-Decr", "1st Cycle-Decr", "Command", "PositionError", 0xFF00FF, 2),
           FreshLook("1stCycle-Decr2", "1st Cycle-Decr 2", "Command", "PositionError", 0xFF00FF, 3),
           FreshLook("2ndCycle-Incr", "2nd Cycle-Incr", "Command", "PositionError", 0xC00000, 4),
           FreshLook("2ndCycle-Incr2", "2nd Cycle-Incr 2", "Command", "PositionError", 0xC00000, 5),
           FreshLook("2ndCycle-Decr", "2nd Cycle-Decr", "Command", "PositionError", 0x000000, 6),
           FreshLook("2ndCycle-Decr2", "2nd Cycle-Decr 2", "Command", "PositionError", 0x000000, 7),
           FreshLook("AverageError", "Average Error", "Command", "PositionError", 0x0A0AFF, 0),
           FreshLook("AverageError2", "Average Error 2", "Command", "PositionError", 0x0A0AFF, 1),
           FreshLook("LeastSquareLine", "Least SquareLine", "Command", "PositionError", 0x000000, 2),
           FreshLook("LeastSquareLine2", "Least SquareLine 2", "Command", "PositionError", 0x000000, 3),
       }},
  };
  for (const Table& t : tables) {
    SCOPED_TRACE(t.name);
    CFileFunctions cf;
    IiXYPlotXPtr plot = NewXYPlot();
    cf.SetupHDRLPlots(plot);
    (cf.*t.apply)(plot);
    for (LONG i = 0; i < ChannelCount(plot); ++i) ChannelAt(plot, i)->AddXY(i, i, nullptr);
    (cf.*t.apply)(plot);
    ASSERT_EQ(ChannelCount(plot), static_cast<LONG>(t.looks.size()));
    for (size_t i = 0; i < t.looks.size(); ++i) EXPECT_EQ(LookOf(ChannelAt(plot, i)), t.looks[i]);
  }
}

TEST(HDRLCompareViews, EachViewLeavesOnlyItsOwnChannelsAndAxesWhateverCameBefore) {
  struct View {
    const char* name;
    void (CFileFunctions::*show)(IiXYPlotXPtr);
    const char* title;  // no language file: the key shows
    Names shown;
  };
  const View views[] = {
      {"position vs. time", &CFileFunctions::ShowHDRLComparePositionVsTime, "##HDRLTITLETEXT",
       Names{"Position", "Command", "Position2", "Command2", "y:Position", "x:Time", "x:Time2"}},
      {"error vs. position", &CFileFunctions::ShowHDRLCompareErrorVsPosition, "##HDRLPEVP",
       [] {
         Names n = kCycles;
         n.insert(n.end(), {"y:PositionError", "x:Command"});
         return n;
       }()},
      {"error vs. command", &CFileFunctions::ShowHDRLCompareErrorVsCommand, "##HDRLPEVCMD",
       [] {
         Names n = kLinearity;
         n.insert(n.end(), {"y:PositionError", "x:Command"});
         return n;
       }()},
  };
  for (const View& before : views)
    for (const View& v : views)
      for (const bool everything : {false, true}) {
        SCOPED_TRACE(std::string(before.name) + " -> " + v.name + (everything ? ", all shown" : ", all hidden"));
        CFileFunctions cf;
        IiXYPlotXPtr plot = ComparePlot();
        SetEverything(plot, everything);
        (cf.*before.show)(plot);
        ASSERT_NO_THROW((cf.*v.show)(plot));
        EXPECT_EQ(Title(plot), v.title);
        const std::set<std::string> shown(v.shown.begin(), v.shown.end());
        for (const auto& [name, flag] : Flags(plot)) EXPECT_EQ(flag, shown.count(name) ? '1' : '0') << name;
      }
}

TEST(HDRLCompareViews, ResetHidesEverySixteenChannelsAndTheFiveAxes) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = ComparePlot();
  SetEverything(plot, true);
  cf.ResetHDRLCompareGraph(plot);
  const std::map<std::string, char> flags = Flags(plot);
  EXPECT_EQ(flags.size(), 16u + 5u);
  for (const auto& [name, flag] : flags) EXPECT_EQ(flag, '0') << name;
}

TEST(HDRLCompareViews, TwoTestsOfDifferentLengthsFitTheirOwnTimeAxes) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = ComparePlot();
  auto add = [&](const char* name, const Points& points) {
    IiXYPlotChannelPtr c = cf.GetXYPlotChannelByName(plot, name);
    for (const auto& [x, y] : points) c->AddXY(x, y, nullptr);
  };
  add("Position", {{0, 10}, {40, 60}});
  add("Command", {{0, 12}, {40, 58}});
  add("Position2", {{0, 5}, {90, 80}});
  add("Command2", {{0, 4}, {90, 82}});
  cf.ShowHDRLComparePositionVsTime(plot);
  for (const auto& [x, name, min, span] : {std::tuple{true, "Time", 0.0, 40.0}, std::tuple{true, "Time2", 0.0, 90.0},
                                           std::tuple{false, "Position", 4.0, 78.0}}) {
    SCOPED_TRACE(name);
    IiPlotAxisPtr axis;
    x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis);
    double shownMin = -1, shownSpan = -1;
    axis->GetMin(&shownMin);
    axis->GetSpan(&shownSpan);
    EXPECT_DOUBLE_EQ(shownMin, min);
    EXPECT_DOUBLE_EQ(shownSpan, span);
  }
}

// A name the plot does not hold: E_POINTER to the caller, what came before
// stays done. Every overlay channel and axis is met first by the reset.
TEST(HDRLCompareViews, AMissingNameStopsTheCallWithEPointer) {
  struct Case {
    const char* name;
    bool overlay;        // the overlay table applied, else the file table
    const char* rename;  // a channel renamed away, or none
    Names hiddenAfter;   // all else stays shown
  };
  const Case cases[] = {
      {"the loader plot lacks \"Position2\"", false, nullptr, {"Position"}},
      {"without \"Command2\"", true, "Command2", {"Position", "Position2", "Command"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CFileFunctions cf;
    IiXYPlotXPtr plot = NewXYPlot();
    cf.SetupHDRLPlots(plot);
    c.overlay ? cf.SetupHDRLCompareChannels2(plot) : cf.SetupHDRLCompareChannels(plot);
    SetEverything(plot, true);
    plot->SetTitle("");
    if (c.rename) cf.GetXYPlotChannelByName(plot, c.rename)->SetName("Renamed");
    try {
      cf.ShowHDRLComparePositionVsTime(plot);
      ADD_FAILURE() << "no error";
    } catch (const _com_error& e) {
      EXPECT_EQ(e.Error(), E_POINTER);
    }
    EXPECT_EQ(Title(plot), "");
    const std::set<std::string> hidden(c.hiddenAfter.begin(), c.hiddenAfter.end());
    for (const auto& [name, flag] : Flags(plot)) EXPECT_EQ(flag, hidden.count(name) ? '0' : '1') << name;
  }
  CFileFunctions cf;
  EXPECT_THROW(cf.ResetHDRLCompareGraph(IiXYPlotXPtr()), _com_error);
}

}  // namespace
