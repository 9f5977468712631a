// The ramp comparison of two of the largest ramp test files (two passes of
// 208 samples in all ten data channels): both loads with the copies into
// the compare plot and the ten difference channels. A scripted person
// answers the file dialogs; anything else stops the benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <string>

#include "common/common_functions.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"

namespace {

IiXYPlotXPtr NewXYPlot() {
  IUnknownPtr control;
  control.CreateInstance(kXYPlotProgId);
  return IiXYPlotXPtr(control);
}

std::string SaveRampFile(const QTemporaryDir& folder, const char* name, double phase, plat::ScriptedPerson& person) {
  CCommonFunctions cf;
  IiXYPlotXPtr plot = NewXYPlot();
  cf.SetupRampPlot(plot);
  cf.SetupRampTestChannels(plot);
  for (LONG c = 0; c < 10; ++c) {
    IDispatchPtr dispatch;
    plot->GetChannel(c, &dispatch);
    IiXYPlotChannelPtr channel(dispatch);
    for (int i = 0; i < 416; ++i) channel->AddXY(i * 0.0625, 50 + 40 * std::sin(i * 0.03 + c + phase), nullptr);
  }
  cf.m_strRampSettings = {"0", "100", "5", "60"};
  cf.m_strRampTag = "FV101";
  const std::string path = folder.filePath(name).toStdString();
  person.AnswerFile(path);
  cf.SaveRampFile(plot);
  return path;
}

void RampCompareBothFiles(benchmark::State& state) {
  QTemporaryDir folder;
  plat::ScriptedPerson person{[&state](const std::string& what) { state.SkipWithError(what.c_str()); }};
  const std::string one = SaveRampFile(folder, "one.rmp", 0, person);
  const std::string two = SaveRampFile(folder, "two.rmp", 0.2, person);
  CCommonFunctions cf;
  IiXYPlotXPtr comparePlot = NewXYPlot(), filePlot = NewXYPlot();
  cf.SetupRampPlot(comparePlot);
  cf.SetupRampCompareChannels(comparePlot);
  cf.SetupRampPlot(filePlot);
  cf.SetupRampCompareFileChannels(filePlot);
  for (auto _ : state) {
    person.AnswerFile(one);
    const bool first = cf.LoadRampCompareFile1(filePlot, comparePlot);
    person.AnswerFile(two);
    if (!first || !cf.LoadRampCompareFile2(filePlot, comparePlot, nullptr)) state.SkipWithError("load failed");
  }
  state.SetItemsProcessed(state.iterations() * 2 * 10 * 416);
}
BENCHMARK(RampCompareBothFiles)->Unit(benchmark::kMillisecond);

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
