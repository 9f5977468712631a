// The big test files saved and opened as the pages do it, and the step test
// report written to PDF. A scripted person answers the dialogs; anything it
// was not told to expect stops the benchmark with an error.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <string>

#include "reports/common_functions.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "platform/win/person.h"
#include "support/language_table.h"

namespace {

plat::ScriptedPerson::FailureHook StopOnSurprise(benchmark::State& state) {
  return [&state](const std::string& what) { state.SkipWithError(what.c_str()); };
}

template <class PlotPtr>
PlotPtr NewPlot(const char* progId) {
  IUnknownPtr control;
  control.CreateInstance(progId);
  return PlotPtr(control);
}

template <class ChannelPtr, class PlotPtr>
ChannelPtr ChannelAt(PlotPtr& plot, LONG index) {
  IDispatchPtr dispatch;
  plot->GetChannel(index, &dispatch);
  return ChannelPtr(dispatch);
}

// The largest ramp test the page records: two passes of 208 samples in all
// ten data channels.
struct RampTest {
  RampTest() {
    cf.SetupRampPlot(plot);
    cf.SetupRampTestChannels(plot);
    for (LONG c = 0; c < 10; ++c)
      for (int i = 0; i < 416; ++i)
        ChannelAt<IiXYPlotChannelPtr>(plot, c)->AddXY(i * 0.0625, 50 + 40 * std::sin(i * 0.03 + c), nullptr);
    cf.m_strRampSettings = {"0", "100", "5", "60"};
    cf.m_strRampTag = "FV101";
  }
  void Save() { cf.SaveRampFile(plot); }
  bool Open() { return cf.OpenRampFile(plot); }
  static constexpr const char* kFile = "big.rmp";
  static constexpr long kPoints = 10 * 416;

  CCommonFunctions cf;
  IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
};

// A day of data logger samples, one a second in all six data channels.
struct LoggerDay {
  LoggerDay() {
    cf.SetupDataLoggerPlot(plot);
    cf.SetupDataLoggerChannels(plot);
    for (LONG c = 0; c < 6; ++c) {
      IiPlotChannelPtr channel = ChannelAt<IiPlotChannelPtr>(plot, c);
      for (int i = 0; i < 86400; ++i) channel->AddXY(i, 50 + 40 * std::sin(i * 0.001 + c) + i * 1e-7, nullptr);
    }
    cf.m_strLoggerSettings = {"0", "86400", "0", "1", "0", "0", "0"};
    cf.m_strFileTag = "FV101";
  }
  void Save() { cf.SaveDataLoggerFile(plot); }
  bool Open() { return cf.OpenDataLoggerFile(plot); }
  static constexpr const char* kFile = "day.lgr";
  static constexpr long kPoints = 6 * 86400;

  CCommonFunctions cf;
  IiPlotXPtr plot = NewPlot<IiPlotXPtr>(kPlotProgId);
};

template <class Kind>
void SaveFile(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string path = folder.filePath(Kind::kFile).toStdString();
  Kind kind;
  plat::ScriptedPerson person{StopOnSurprise(state)};
  for (auto _ : state) {
    person.AnswerFile(path);
    kind.Save();
  }
  state.SetItemsProcessed(state.iterations() * Kind::kPoints);
}

template <class Kind>
void OpenFile(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string path = folder.filePath(Kind::kFile).toStdString();
  Kind kind;
  plat::ScriptedPerson person{StopOnSurprise(state)};
  person.AnswerFile(path);
  kind.Save();
  for (auto _ : state) {
    person.AnswerFile(path);
    if (!kind.Open()) state.SkipWithError("open failed");
  }
  state.SetItemsProcessed(state.iterations() * Kind::kPoints);
}

BENCHMARK_TEMPLATE(SaveFile, RampTest)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OpenFile, RampTest)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(SaveFile, LoggerDay)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OpenFile, LoggerDay)->Unit(benchmark::kMillisecond);

// The step page's plot after a 20 s step test sampled every 0.1 s, and the
// report engines, in English.
struct StepReport {
  StepReport() {
    TheLanguageTable().Load(plat::ProgramPath("\\Dependencies\\Language.xml"), "1033", false);
    IUnknownPtr engine;
    engine.CreateInstance(activex::kReportProgId);
    report = IReportXPtr(engine);
    engine.CreateInstance(activex::kPrinterProgId);
    printer = IPrinterXPtr(engine);
    cf.SetupStepPlot(plot);
    cf.SetupStepChannels(plot);
    const char* names[] = {"Position", "Command", "ILCmd", "ILPos"};
    for (int c = 0; c < 4; ++c) {
      IiXYPlotChannelPtr channel = cf.GetXYPlotChannelByName(plot, names[c]);
      for (int i = 0; i <= 200; ++i) {
        const double t = i * 0.1;
        const double command = t < 10 ? 25 : 75;
        const double from = t < 10 ? 20 : 25;
        const double lag = 1 - std::exp(-(t < 10 ? t : t - 10) * (1.5 + c * 0.4));
        channel->AddXY(t, c == 1 ? command : from + (command - from) * lag - c, nullptr);
      }
    }
    cf.m_strDeviceTag = "PV-101";
    cf.m_strStepSettings = {"25", "75", "10"};
  }
  // Saved as PDF; the person declines to print.
  void Run(plat::ScriptedPerson& person, const std::string& pdf) {
    person.AnswerFile(pdf).Answer(IDNO);
    cf.GenerateStepTestReport(plot, report, printer, plat::ProgramPath("\\Dependencies\\StepTestRept.xml").c_str(),
                              nullptr);
  }

  CCommonFunctions cf;
  IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>(kXYPlotProgId);
  IReportXPtr report;
  IPrinterXPtr printer;
};

// The whole builder: definition, plot picture, fields, PDF, dialogs.
void StepTestReport(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string pdf = folder.filePath("step.pdf").toStdString();
  StepReport step;
  plat::ScriptedPerson person{StopOnSurprise(state)};
  for (auto _ : state) step.Run(person, pdf);
}
BENCHMARK(StepTestReport)->Unit(benchmark::kMillisecond);

// Rendering the built report to PDF alone, the plot's picture included.
void StepTestReportRender(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string pdf = folder.filePath("step.pdf").toStdString();
  StepReport step;
  plat::ScriptedPerson person{StopOnSurprise(state)};
  step.Run(person, pdf);
  for (auto _ : state)
    if (FAILED(step.report->RenderToFile(pdf.c_str(), activex::kReportFormatPdf))) state.SkipWithError("render failed");
}
BENCHMARK(StepTestReportRender)->Unit(benchmark::kMillisecond);

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
