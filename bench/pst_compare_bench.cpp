// The partial stroke comparison's two loads: the largest files the test
// page records (208 samples in each of the four traces), file 1 then file
// 2, with the copies and the difference channels.
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

IiPlotXPtr NewPlot() {
  IUnknownPtr control;
  control.CreateInstance(kPlotProgId);
  return IiPlotXPtr(control);
}

// A partial stroke file of 208 samples a trace; `lag` moves the valve late.
void WriteFile(CCommonFunctions& cf, const std::string& path, double lag) {
  IiPlotXPtr plot = NewPlot();
  cf.SetupPSTPlot(plot);
  cf.SetupPSTChannels(plot);
  for (const char* name : {"Position", "Command", "ILCmd", "ILPos"}) {
    IiPlotChannelPtr channel = cf.GetPlotChannelByName(plot, name);
    for (int i = 0; i < 208; ++i) channel->AddXY(i * 76.9, 95 + 5 * std::cos((i - lag) * 0.03), nullptr);
  }
  for (double y : {100.0, 90.0, 30.0, 10.0, 5.0, 12.0, 9.0, 2026.0})
    cf.GetPlotChannelByName(plot, "TestSettings")->AddXY(0, y, nullptr);
  for (double y : {1.5 + lag, 12.0, 0.0}) cf.GetPlotChannelByName(plot, "Results")->AddXY(0, y, nullptr);
  for (char c : std::string("FV-101")) cf.GetPlotChannelByName(plot, "TagName")->AddXY(0, c, nullptr);
  plot->SaveDataToFile(path.c_str());
}

void LoadBothFiles(benchmark::State& state) {
  QTemporaryDir folder;
  CCommonFunctions cf;
  const std::string a = folder.filePath("a.pst").toStdString(), b = folder.filePath("b.pst").toStdString();
  WriteFile(cf, a, 0);
  WriteFile(cf, b, 6);
  IiPlotXPtr compare = NewPlot(), file = NewPlot();
  cf.SetupPSTPlot(compare);
  cf.SetupPSTCompareChannels(compare);
  cf.SetupPSTPlot(file);
  cf.SetupPSTCompareSettings(file);
  plat::ScriptedPerson person([&state](const std::string& what) { state.SkipWithError(what.c_str()); });
  for (auto _ : state) {
    person.AnswerFile(a).AnswerFile(b);
    if (!cf.LoadPSTCompareFile1(file, compare) || !cf.LoadPSTCompareFile2(file, compare, nullptr))
      state.SkipWithError("not loaded");
  }
}
BENCHMARK(LoadBothFiles)->Unit(benchmark::kMillisecond);

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
