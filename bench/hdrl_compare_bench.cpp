// Two HDRL test files loaded into the comparison as the page's "1..." and
// "2..." do it: each read whole, its run worked out, copied into the
// compare plot, and the differences of the results taken. An HDRL file is
// never larger than one run of 25 stairs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <string>

#include "common/common_functions.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/sys/numeric.h"
#include "support/hdrl_run_file.h"

namespace {

IiXYPlotXPtr NewPlot() {
  IUnknownPtr control;
  control.CreateInstance(kXYPlotProgId);
  return IiXYPlotXPtr(control);
}

void LoadTwoFiles(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string first = folder.filePath("first.hdrl").toStdString();
  const std::string second = folder.filePath("second.hdrl").toStdString();
  plat::ScriptedPerson person{[&state](const std::string& what) { state.SkipWithError(what.c_str()); }};
  CCommonFunctions cf;
  testsupport::WriteHDRLRun(cf, person, first, NewPlot(), 1, "6", "FV101");
  testsupport::WriteHDRLRun(cf, person, second, NewPlot(), 2, "6", "FV101");
  IiXYPlotXPtr filePlot = NewPlot(), comparePlot = NewPlot();
  cf.SetupHDRLPlots(filePlot);
  cf.SetupHDRLCompareChannels(filePlot);
  cf.SetupHDRLPlots(comparePlot);
  cf.SetupHDRLCompareChannels2(comparePlot);
  for (auto _ : state) {
    person.AnswerFile(first);
    const bool one = cf.LoadHDRLCompareFile1(filePlot, comparePlot);
    person.AnswerFile(second);
    if (!one || !cf.LoadHDRLCompareFile2(filePlot, comparePlot, nullptr)) state.SkipWithError("load failed");
  }
}
BENCHMARK(LoadTwoFiles)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  plat::UseCNumericLocale();
  activex::RegisterControlClasses();
  plat::RegisterPlotClasses();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
