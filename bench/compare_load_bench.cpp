// The comparison pages' work on the largest test file of each kind: "1..."
// and "2..." load two such files into the compare plot and build the
// difference channels (HDRL: the analysis of both files). A scripted person
// answers the file dialogs; anything it was not told to expect stops the
// benchmark with an error.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <string>

#include "files/file_functions.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "platform/win/person.h"
#include "support/language_table.h"

namespace {

template <class PlotPtr>
PlotPtr NewPlot(const char* progId) {
  IUnknownPtr control;
  control.CreateInstance(progId);
  return PlotPtr(control);
}

// A channel of a recorded test: the valve following its command with a lag.
template <class Channel>
void FillChannel(Channel channel, int points, double seconds, double phase) {
  for (int i = 0; i < points; ++i) {
    const double t = seconds * i / points;
    channel->AddXY(t, 50 + 40 * std::sin(t * 0.3 + phase) + 0.01 * i, nullptr);
  }
}

// The step page's largest record: two passes of 208 samples.
struct Step {
  void Save(const std::string& path, plat::ScriptedPerson& person) {
    CFileFunctions cf;
    IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
    cf.SetupStepPlot(plot);
    cf.SetupStepChannels(plot);
    for (const char* name : {"Position", "Command", "ILCmd", "ILPos"})
      FillChannel(cf.GetXYPlotChannelByName(plot, name), 416, 655.35, name[0]);
    cf.m_strStepSettings = {"40", "60", "655.35"};
    cf.m_strStepTag = "FV101";
    person.AnswerFile(path);
    cf.SaveStepFile(plot);
  }
  Step() {
    cf.SetupStepComparePlot(filePlot);
    cf.SetupStepCompareFileChannels(filePlot);
    cf.SetupStepComparePlot(comparePlot);
    cf.SetupStepCompareChannels(comparePlot);
  }
  bool Load1() { return cf.LoadStepCompareFile1(filePlot, comparePlot); }
  bool Load2() { return cf.LoadStepCompareFile2(filePlot, comparePlot, nullptr); }
  static constexpr const char* kExtension = "stp";

  CFileFunctions cf;
  IiXYPlotXPtr filePlot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
  IiXYPlotXPtr comparePlot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
};

// A bi-directional ramp: two passes of 208 samples in all ten data channels.
struct Ramp {
  void Save(const std::string& path, plat::ScriptedPerson& person) {
    CFileFunctions cf;
    IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
    cf.SetupRampPlot(plot);
    cf.SetupRampTestChannels(plot);
    for (LONG c = 0; c < 10; ++c) {
      IDispatchPtr channel;
      plot->GetChannel(c, &channel);
      FillChannel(IiXYPlotChannelPtr(channel), 416, 100, c);
    }
    cf.m_strRampSettings = {"0", "100", "5", "60"};
    cf.m_strRampTag = "FV101";
    person.AnswerFile(path);
    cf.SaveRampFile(plot);
  }
  Ramp() {
    cf.SetupRampPlot(filePlot);
    cf.SetupRampCompareFileChannels(filePlot);
    cf.SetupRampPlot(comparePlot);
    cf.SetupRampCompareChannels(comparePlot);
  }
  bool Load1() { return cf.LoadRampCompareFile1(filePlot, comparePlot); }
  bool Load2() { return cf.LoadRampCompareFile2(filePlot, comparePlot, nullptr); }
  static constexpr const char* kExtension = "rmp";

  CFileFunctions cf;
  IiXYPlotXPtr filePlot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
  IiXYPlotXPtr comparePlot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
};

// A partial stroke record: 208 samples over the longest ramp and hold.
struct PartialStroke {
  void Save(const std::string& path, plat::ScriptedPerson& person) {
    CFileFunctions cf;
    IiPlotXPtr plot = NewPlot<IiPlotXPtr>(kPlotProgId);
    cf.SetupPSTPlot(plot);
    cf.SetupPSTChannels(plot);
    for (const char* name : {"Position", "Command", "ILCmd", "ILPos"})
      FillChannel(cf.GetPlotChannelByName(plot, name), 208, 1310.7, name[0]);
    cf.m_strPSTSettings = {"100", "80", "655.35", "655.35", "655.35"};
    cf.m_strPSTBreakawayTime = " 1.50";
    cf.m_strPSTTimeToTarget = " 9.75";
    cf.m_strPSTTag = "FV101";
    person.AnswerFile(path);
    cf.SavePSTFile(plot);
  }
  PartialStroke() {
    cf.SetupPSTPlot(filePlot);
    cf.SetupPSTCompareSettings(filePlot);
    cf.SetupPSTPlot(comparePlot);
    cf.SetupPSTCompareChannels(comparePlot);
  }
  bool Load1() { return cf.LoadPSTCompareFile1(filePlot, comparePlot); }
  bool Load2() { return cf.LoadPSTCompareFile2(filePlot, comparePlot, nullptr); }
  static constexpr const char* kExtension = "pst";

  CFileFunctions cf;
  IiPlotXPtr filePlot = NewPlot<IiPlotXPtr>(kPlotProgId);
  IiPlotXPtr comparePlot = NewPlot<IiPlotXPtr>(kPlotProgId);
};

// A whole HDRL run: 49 stairs, each drawn as a step, and its four cycle
// branches, average error and fitted line.
struct HDRL {
  void Save(const std::string& path, plat::ScriptedPerson& person) {
    CFileFunctions cf;
    IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
    cf.SetupHDRLPlots(plot);
    cf.SetupHDRLChannels(plot);
    IiXYPlotChannelPtr position = cf.GetXYPlotChannelByName(plot, "Position");
    IiXYPlotChannelPtr command = cf.GetXYPlotChannelByName(plot, "Command");
    for (int stair = 0; stair < 49; ++stair) {
      const double level = stair <= 24 ? stair * 100.0 / 24 : (48 - stair) * 100.0 / 24;
      for (int edge = 0; edge < 2; ++edge) {
        const double t = (stair + edge) * 655.35;
        command->AddXY(t, level, nullptr);
        position->AddXY(t, level - 0.2, nullptr);
      }
    }
    for (const char* name : {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"}) {
      IiXYPlotChannelPtr branch = cf.GetXYPlotChannelByName(plot, name);
      for (int i = 0; i < 13; ++i) branch->AddXY(i * 100.0 / 12, 0.1 * std::sin(i + name[0]), nullptr);
    }
    cf.ComputeErrorCurves(plot);
    double linearity = 0;
    cf.ComputeLeastSquareLine(plot, &linearity, 1);
    cf.m_strHDRLSettlingTime = "655.35";
    cf.m_strHDRLTag = "FV101";
    person.AnswerFile(path);
    cf.SaveHDRLFile(plot);
  }
  HDRL() {
    cf.SetupHDRLPlots(filePlot);
    cf.SetupHDRLCompareChannels(filePlot);
    cf.SetupHDRLPlots(comparePlot);
    cf.SetupHDRLCompareChannels2(comparePlot);
  }
  bool Load1() { return cf.LoadHDRLCompareFile1(filePlot, comparePlot); }
  bool Load2() { return cf.LoadHDRLCompareFile2(filePlot, comparePlot, nullptr); }
  static constexpr const char* kExtension = "hdrl";

  CFileFunctions cf;
  IiXYPlotXPtr filePlot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
  IiXYPlotXPtr comparePlot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
};

// "1..." and "2..." with two files of equal settings: no question asked.
template <class Kind>
void LoadTwoFiles(benchmark::State& state) {
  QTemporaryDir folder;
  plat::ScriptedPerson person{[&state](const std::string& what) { state.SkipWithError(what.c_str()); }};
  const std::string first = folder.path().toStdString() + "/first." + Kind::kExtension;
  const std::string second = folder.path().toStdString() + "/second." + Kind::kExtension;
  Kind kind;
  kind.Save(first, person);
  kind.Save(second, person);
  for (auto _ : state) {
    person.AnswerFile(first);
    if (!kind.Load1()) state.SkipWithError("file 1 not loaded");
    person.AnswerFile(second);
    if (!kind.Load2()) state.SkipWithError("file 2 not loaded");
  }
}
BENCHMARK_TEMPLATE(LoadTwoFiles, Step)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(LoadTwoFiles, Ramp)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(LoadTwoFiles, PartialStroke)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(LoadTwoFiles, HDRL)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  plat::UseCNumericLocale();
  activex::RegisterControlClasses();
  plat::RegisterPlotClasses();
  TheLanguageTable().Load(plat::ProgramPath("\\Dependencies\\Language.xml"), "1033", false);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
