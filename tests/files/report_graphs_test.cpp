// The report graph views: what each shows and hides, whatever the plot
// showed before; the signature's direction rule; a view that stops at a
// name the plot lacks.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "files/fixture.h"

namespace {

using namespace filetest;
using Names = std::vector<std::string>;

Names Prefixed(std::initializer_list<const char*> names, std::initializer_list<const char*> suffixes) {
  Names out;
  for (const char* suffix : suffixes)
    for (const char* name : names) out.push_back(std::string(name) + suffix);
  return out;
}

const Names kRampData = {"Position", "Command", "ILCmd", "ILPos"};
const Names kOpen = {"PosnvCmdOpen", "ILCmdvCmdOpen", "ILPosnvCmdOpen"};
const Names kClose = {"PosnvCmdClose", "ILCmdvCmdClose", "ILPosnvCmdClose"};
const Names kStepCompare = {"Position1", "Position2", "PositionDiff", "Command1", "Command2", "CommandDiff",
                            "ILCmd1",    "ILCmd2",    "ILCmdDiff",    "ILPOS1",   "ILPOS2",   "ILPOSDiff"};

Names Join(std::initializer_list<Names> parts) {
  Names out;
  for (const Names& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

IiXYPlotXPtr RampPlot() {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupRampPlot(plot);
  cf.SetupRampTestChannels(plot);
  return plot;
}

IiXYPlotXPtr RampComparePlot() {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupRampPlot(plot);
  plot->RemoveAllChannels();
  AddChannels(plot, Names(std::begin(kRampCompareChannels), std::end(kRampCompareChannels)));
  return plot;
}

IiXYPlotXPtr StepPlot() {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupStepPlot(plot);
  cf.SetupStepChannels(plot);
  return plot;
}

IiXYPlotXPtr StepComparePlot() {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupStepComparePlot(plot);
  plot->RemoveAllChannels();
  AddChannels(plot, kStepCompare);
  return plot;
}

// The step plot with what the pressure graph needs besides.
IiXYPlotXPtr PressurePlot() {
  IiXYPlotXPtr plot = StepPlot();
  AddChannels(plot, {"PvPSPort", "PvPPortA", "PvPPortB"});
  LONG index = -1;
  plot->AddXAxis(&index);
  AxisAt(plot, true, index)->SetName("PosnX");
  plot->AddYAxis(&index);
  AxisAt(plot, false, index)->SetName("StepPress");
  return plot;
}

std::string Grid(IiXYPlotXPtr& plot) {
  IiPlotDataViewPtr view;
  plot->GetDataView(0, &view);
  _bstr_t x, y;
  view->GetXAxisName(&x);
  view->GetYAxisName(&y);
  return Text(x) + "/" + Text(y);
}

struct View {
  const char* name;
  IiXYPlotXPtr (*plot)();
  void (CFileFunctions::*view)(IiXYPlotXPtr);
  const char* title;  // the tests run without a language file
  Names shown, hidden;  // channels, and axes as "x:Name" / "y:Name"
  const char* grid;     // afterwards; "<All>/<All>" when left alone
};

TEST(ReportGraphs, EachViewShowsAndHidesItsOwnWhateverThePlotShowedAndTouchesNothingElse) {
  const View views[] = {
      {"step test", StepPlot, &CFileFunctions::SetupStepGraph, "##IDD_DIAGNOSTIC_STEP_TEST",
       Join({kRampData, {"x:StepX", "y:StepPerc"}}), {}, "<All>/<All>"},
      {"pressure against position", PressurePlot, &CFileFunctions::SetupPressureVsPositionGraph, "##PRESSVPOS",
       {"PvPSPort", "PvPPortA", "x:PosnX", "y:StepPerc"},
       Join({kRampData, {"PvPPortB", "x:StepX", "y:StepPress"}}),
       "<All>/<All>"},
      {"step comparison", StepComparePlot, &CFileFunctions::SetupStepCompareGraph,
       "##IDD_DIAGNOSTIC_STEP_TEST", Join({kStepCompare, {"x:StepX", "y:RampPerc"}}), {}, "<All>/<All>"},
      {"ramp test", RampPlot, &CFileFunctions::SetupRampGraph, "##IDD_DIAGNOSTIC_RAMP_TEST",
       Join({kRampData, {"x:RampX", "y:RampPerc"}}), Join({kOpen, kClose, {"x:CmdX"}}), "RampX/RampPerc"},
      {"signature, both ways", RampPlot, &CFileFunctions::SetupSignatureGraph, "##SIGVCMD",
       Join({kOpen, kClose, {"x:CmdX", "y:RampPerc"}}), Join({kRampData, {"x:RampX"}}), "CmdX/RampPerc"},
      {"ramp comparison", RampComparePlot, &CFileFunctions::SetupRampCompareGraph, "##IDD_DIAGNOSTIC_RAMP_TEST",
       Join({Prefixed({"Position", "Command", "ILCmd", "ILPos"}, {"1", "2", "Diff"}), {"x:RampX", "y:RampPerc"}}),
       Join({Prefixed({"PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen", "ILCmdvCmdClose", "ILPosnvCmdOpen",
                       "ILPosnvCmdClose"},
                      {"1", "2", "Diff"}),
             {"x:CmdX"}}),
       "<All>/<All>"},
      {"signature comparison", RampComparePlot, &CFileFunctions::SetupSignatureCompareGraph, "##SIGVCMD",
       Join({Prefixed({"PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen", "ILCmdvCmdClose", "ILPosnvCmdOpen",
                       "ILPosnvCmdClose"},
                      {"1", "2", "Diff"}),
             {"x:CmdX", "y:RampPerc"}}),
       Join({Prefixed({"Position", "Command", "ILCmd", "ILPos"}, {"1", "2", "Diff"}), {"x:RampX"}}),
       "CmdX/RampPerc"},
  };
  for (const View& v : views) {
    for (const bool before : {false, true}) {
      SCOPED_TRACE(std::string(v.name) + (before ? ", everything shown before" : ", everything hidden before"));
      CFileFunctions cf;
      IiXYPlotXPtr plot = v.plot();
      SetEverything(plot, before);
      ASSERT_NO_THROW((cf.*v.view)(plot));
      // Applying it twice gives the same plot.
      ASSERT_NO_THROW((cf.*v.view)(plot));
      EXPECT_EQ(Title(plot), v.title);
      EXPECT_EQ(Grid(plot), v.grid);
      const std::set<std::string> shown(v.shown.begin(), v.shown.end()), hidden(v.hidden.begin(), v.hidden.end());
      for (const auto& [name, flag] : Flags(plot)) {
        const char expected = shown.count(name) ? '1' : hidden.count(name) ? '0' : before ? '1' : '0';
        EXPECT_EQ(flag, expected) << name;
      }
    }
  }
}

TEST(ReportGraphs, SignatureDirectionFollowsTheLeadingNumbersOfStartAndStopUnlessBidirectional) {
  struct Case {
    const char* start;
    const char* stop;
    BYTE bidirectional;
    Names shown;
  };
  const Case cases[] = {
      {"0", "100", 0, kOpen},
      {"100", "0", 0, kClose},
      {"  25.0", "\t 75", 0, kOpen},         // leading blanks skipped
      {"-5", "1e1", 0, kOpen},                // sign and exponent
      {"30 %", "30abc", 0, kClose},           // equal once the trailing text is dropped
      {"", "", 0, kClose},                    // empty reads as 0
      {"abc", "5", 0, kOpen},                 // no number reads as 0
      {"50", "49.99", 0, kClose},
      {"100", "0", 1, Join({kOpen, kClose})},  // both ways, whatever the positions
      {"", "", 1, Join({kOpen, kClose})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.start + "\" -> \"" + c.stop + "\", bi-directional " +
                 std::to_string(c.bidirectional));
    CFileFunctions cf;
    cf.m_strRampSettings.start = c.start;
    cf.m_strRampSettings.stop = c.stop;
    cf.m_bRampBidirectional = c.bidirectional;
    IiXYPlotXPtr plot = RampPlot();
    SetEverything(plot, true);
    cf.SetupSignatureGraph(plot);
    const std::set<std::string> shown(c.shown.begin(), c.shown.end());
    for (const std::string& name : Join({kRampData, kOpen, kClose}))
      EXPECT_EQ(Flags(plot)[name], shown.count(name) ? '1' : '0') << name;
  }
}

TEST(ReportGraphs, StepComparisonFitsBothAxesToTheShownData) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = StepComparePlot();
  // Only the first file loaded: the other channels are shown empty.
  IDispatchPtr d;
  ASSERT_EQ(plot->GetChannelByName("Command1", &d), S_OK);
  IiXYPlotChannelPtr command(d);
  for (const auto& [x, y] : Points{{2, 10}, {12, 60}, {30, -4}}) command->AddXY(x, y, nullptr);
  cf.SetupStepCompareGraph(plot);
  for (const auto& [x, name, min, span] :
       {std::tuple{true, "StepX", 2.0, 28.0}, std::tuple{false, "RampPerc", -4.0, 64.0}}) {
    SCOPED_TRACE(name);
    IiPlotAxisPtr axis;
    x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis);
    double shownMin = 0, shownSpan = 0;
    axis->GetMin(&shownMin);
    axis->GetSpan(&shownSpan);
    EXPECT_DOUBLE_EQ(shownMin, min);
    EXPECT_DOUBLE_EQ(shownSpan, span);
  }
}

// A name the plot lacks ends the view there; what came before stays done.
TEST(ReportGraphs, AMissingNameStopsTheViewAfterTheStepsBeforeIt) {
  struct Case {
    const char* name;
    IiXYPlotXPtr (*plot)();
    const char* rename;  // a channel renamed away, or none
    void (CFileFunctions::*view)(IiXYPlotXPtr);
    const char* title;
    Names hidden;  // all else stays shown
  };
  const Case cases[] = {
      // The step test plot carries no port pressures: the look-up of "PvPSPort" fails.
      {"pressure graph on the step test plot", StepPlot, nullptr, &CFileFunctions::SetupPressureVsPositionGraph,
       "##PRESSVPOS", kRampData},
      {"step graph without \"ILPos\"", StepPlot, "ILPos", &CFileFunctions::SetupStepGraph,
       "##IDD_DIAGNOSTIC_STEP_TEST", {"Position", "Command", "ILCmd"}},
      {"step comparison without \"ILCmd2\"", StepComparePlot, "ILCmd2", &CFileFunctions::SetupStepCompareGraph,
       "", {"Position1", "Position2", "PositionDiff", "Command1", "Command2", "CommandDiff", "ILCmd1"}},
      {"signature without \"ILPosnvCmdClose\"", RampPlot, "ILPosnvCmdClose", &CFileFunctions::SetupSignatureGraph,
       "", Join({kRampData, {"PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen", "ILCmdvCmdClose", "ILPosnvCmdOpen"}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CFileFunctions cf;
    IiXYPlotXPtr plot = c.plot();
    SetEverything(plot, true);
    plot->SetTitle("");
    if (c.rename) {
      IDispatchPtr d;
      ASSERT_EQ(plot->GetChannelByName(c.rename, &d), S_OK);
      IiXYPlotChannelPtr(d)->SetName("Renamed");
    }
    EXPECT_THROW((cf.*c.view)(plot), _com_error);
    EXPECT_EQ(Title(plot), c.title);
    EXPECT_EQ(Grid(plot), "<All>/<All>");
    const std::set<std::string> hidden(c.hidden.begin(), c.hidden.end());
    for (const auto& [name, flag] : Flags(plot)) EXPECT_EQ(flag, hidden.count(name) ? '0' : '1') << name;
  }
}

}  // namespace

namespace {

const Names kHDRLData = {"Position",      "Command",       "1stCycle-Incr", "1stCycle-Decr",
                         "2ndCycle-Incr", "2ndCycle-Decr", "AverageError",  "LeastSquareLine"};

IiXYPlotXPtr HDRLPlot() {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupHDRLPlots(plot);
  cf.SetupHDRLChannels(plot);
  return plot;
}

// The first display flag of each axis by name; the second is in Flags.
std::map<std::string, bool> FirstAxisFlags(IiXYPlotXPtr& plot) {
  std::map<std::string, bool> flags;
  for (const bool x : {true, false}) {
    LONG n = 0;
    x ? plot->GetXAxisCount(&n) : plot->GetYAxisCount(&n);
    for (LONG i = 0; i < n; ++i) {
      _bstr_t name;
      VARIANT_BOOL visible = 0;
      AxisAt(plot, x, i)->GetName(&name);
      AxisAt(plot, x, i)->GetVisible(&visible);
      flags[std::string(x ? "x:" : "y:") + Text(name)] = visible != 0;
    }
  }
  return flags;
}

void SetSecondAxisFlags(IiXYPlotXPtr& plot, bool enabled) {
  for (const bool x : {true, false}) {
    LONG n = 0;
    x ? plot->GetXAxisCount(&n) : plot->GetYAxisCount(&n);
    for (LONG i = 0; i < n; ++i) AxisAt(plot, x, i)->SetEnabled(enabled);
  }
}

}  // namespace

TEST(HDRLReportGraphs, EachViewSetsAllEightChannelsAndTheFirstFlagOfEveryAxis) {
  struct Graph {
    void (CFileFunctions::*view)(IiXYPlotXPtr);
    const char* title;
    Names shown;  // of the eight data channels
    std::set<std::string> axesOn;
  };
  const Graph graphs[] = {
      {&CFileFunctions::ShowHDRLPositionVsTime, "Position vs. Time", {"Position", "Command"},
       {"y:Position", "x:Time"}},
      {&CFileFunctions::ShowHDRLErrorVsPosition, "Position Error vs. Position",
       {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"}, {"y:PositionError", "x:Command"}},
      {&CFileFunctions::ShowHDRLErrorVsCommand, "Position Error vs. Command", {"AverageError", "LeastSquareLine"},
       {"y:PositionError", "x:Command"}},
  };
  // Each view after every other one and after itself, from a plot with
  // everything shown or hidden; the second axis flags stay as they were.
  for (const Graph& before : graphs)
    for (const Graph& g : graphs)
      for (const bool everything : {false, true}) {
        SCOPED_TRACE(std::string(before.title) + " -> " + g.title + (everything ? ", all shown" : ", all hidden"));
        CFileFunctions cf;  // no language file: a looked-up title would read "##..."
        IiXYPlotXPtr plot = HDRLPlot();
        SetEverything(plot, everything);
        (cf.*before.view)(plot);
        SetSecondAxisFlags(plot, !everything);
        ASSERT_NO_THROW((cf.*g.view)(plot));
        EXPECT_EQ(Title(plot), g.title);
        const std::map<std::string, char> flags = Flags(plot);
        const std::set<std::string> shown(g.shown.begin(), g.shown.end());
        for (const std::string& name : kHDRLData) EXPECT_EQ(flags.at(name), shown.count(name) ? '1' : '0') << name;
        // The storage channels are not the views' business.
        EXPECT_EQ(flags.at("TestSettings"), everything ? '1' : '0');
        for (const auto& [axis, on] : FirstAxisFlags(plot)) EXPECT_EQ(on, g.axesOn.count(axis) == 1) << axis;
        for (const auto& [name, flag] : flags)
          if (name.rfind("x:", 0) == 0 || name.rfind("y:", 0) == 0) {
            VARIANT_BOOL enabled = 0;
            IiPlotAxisPtr axis;
            name[0] == 'x' ? plot->GetXAxisByName(name.substr(2).c_str(), &axis)
                           : plot->GetYAxisByName(name.substr(2).c_str(), &axis);
            axis->GetEnabled(&enabled);
            EXPECT_EQ(enabled != 0, !everything) << name;
          }
      }
}

TEST(HDRLReportGraphs, APlotWithTwoXAxesFailsAtTheThirdAfterEverythingBefore) {
  CFileFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  plot->RemoveAllChannels();
  AddChannels(plot, kHDRLData);
  for (LONG n = 0; plot->GetXAxisCount(&n) == S_OK && n < 2;) plot->AddXAxis(nullptr);
  for (LONG n = 0; plot->GetYAxisCount(&n) == S_OK && n < 2;) plot->AddYAxis(nullptr);
  SetEverything(plot, true);
  EXPECT_THROW(cf.ShowHDRLErrorVsCommand(plot), _com_error);
  EXPECT_EQ(Title(plot), "Position Error vs. Command");
  const std::map<std::string, char> flags = Flags(plot);
  for (const std::string& name : kHDRLData)
    EXPECT_EQ(flags.at(name), name == "AverageError" || name == "LeastSquareLine" ? '1' : '0') << name;
  VARIANT_BOOL visible = 0;
  AxisAt(plot, false, 0)->GetVisible(&visible);
  EXPECT_EQ(visible, 0);
  AxisAt(plot, true, 1)->GetVisible(&visible);
  EXPECT_NE(visible, 0);
}
