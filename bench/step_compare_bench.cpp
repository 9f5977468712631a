// The step comparison page's two loads on the largest step tests the step
// test page records (208 samples in each of the four traces): file 1, then
// file 2 with its four copies and differences. The person answers the
// dialogs; anything it was not told to expect stops the benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <string>

#include "common/common_functions.h"
#include "platform/activex/plot.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"

namespace {

IiXYPlotXPtr NewPlot() {
  IUnknownPtr control;
  control.CreateInstance(kXYPlotProgId);
  return IiXYPlotXPtr(control);
}

// A step test of 655.35 s, the longest hold, saved as the step test page saves it.
std::string SaveStep(CCommonFunctions& cf, plat::ScriptedPerson& person, const std::string& path, double lag) {
  IiXYPlotXPtr plot = NewPlot();
  cf.SetupStepPlot(plot);
  cf.SetupStepChannels(plot);
  const char* names[] = {"Position", "Command", "ILCmd", "ILPos"};
  for (int c = 0; c < 4; ++c) {
    IiXYPlotChannelPtr channel = cf.GetXYPlotChannelByName(plot, names[c]);
    for (int i = 0; i < 208; ++i) {
      const double t = i * 656.35 / 208;
      channel->AddXY(t, t < 1 ? 40 : 60 - 20 * std::exp(-(t - 1) / (lag + c)), nullptr);
    }
  }
  cf.m_strStepSettings = {"40", "60", "655.35"};
  cf.m_strStepTag = "FV101";
  person.AnswerFile(path);
  cf.SaveStepFile(plot);
  return path;
}

void StepCompareTwoFiles(benchmark::State& state) {
  QTemporaryDir folder;
  CCommonFunctions cf;
  plat::ScriptedPerson person{[&state](const std::string& what) { state.SkipWithError(what.c_str()); }};
  const std::string one = SaveStep(cf, person, folder.filePath("one.stp").toStdString(), 20);
  const std::string two = SaveStep(cf, person, folder.filePath("two.stp").toStdString(), 45);
  IiXYPlotXPtr comparePlot = NewPlot(), filePlot = NewPlot();
  cf.SetupStepComparePlot(comparePlot);
  cf.SetupStepCompareChannels(comparePlot);
  cf.SetupStepComparePlot(filePlot);
  cf.SetupStepCompareFileChannels(filePlot);
  for (auto _ : state) {
    person.AnswerFile(one);
    const bool first = cf.LoadStepCompareFile1(filePlot, comparePlot);
    person.AnswerFile(two);
    if (!first || !cf.LoadStepCompareFile2(filePlot, comparePlot, nullptr)) state.SkipWithError("load failed");
  }
  state.SetItemsProcessed(state.iterations() * 2 * 4 * 208);
}
BENCHMARK(StepCompareTwoFiles)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  plat::UseCNumericLocale();
  plat::RegisterPlotClasses();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
