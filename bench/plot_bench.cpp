// The plots with many points: adding and drawing one channel, and its data
// file written and read back. Pictures and redraws: plot_draw_bench.cpp.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <cmath>
#include <memory>
#include <string>

#include "platform/activex/plot.h"
#include "platform/activex/widget_host.h"
#include "platform/com/registry.h"

namespace {

using IWidgetControlPtr = _com_ptr_t<IWidgetControl>;

// A plot shown on a page of 800 x 500 pixels, with one channel.
struct ShownPlot {
  explicit ShownPlot(const char* progId) {
    IUnknownPtr unknown;
    if (FAILED(CoCreateInstanceByProgId(progId, nullptr, CLSCTX_INPROC_SERVER, IUnknown::kIID,
                                        reinterpret_cast<void**>(&unknown))))
      return;
    if (std::string(progId) == kXYPlotProgId)
      plot = IiXYPlotXPtr(unknown).GetInterfacePtr();
    else
      plot = IiPlotXPtr(unknown).GetInterfacePtr();
    page.resize(800, 500);
    IWidgetControlPtr(unknown)->CreateWidget(&page, QRect(0, 0, 800, 500));
    page.show();
    QCoreApplication::processEvents();
    IDispatchPtr channel;
    plot->GetChannel(0, &channel);
    IUnknownPtr asUnknown(channel);
    if (std::string(progId) == kXYPlotProgId)
      this->channel = IiXYPlotChannelPtr(asUnknown).GetInterfacePtr();
    else
      this->channel = IiPlotChannelPtr(asUnknown).GetInterfacePtr();
    plot->GetXAxis(0, &x);
    plot->GetYAxis(0, &y);
  }
  // Points along a noisy wave; the XY curve runs back and forth in x.
  void Fill(long n, bool xy) {
    plot->BeginUpdate();
    channel->Clear();
    for (long i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / static_cast<double>(n);
      const double xValue = xy ? 50.0 + 50.0 * std::sin(12.0 * t) : 100.0 * t;
      channel->AddXY(xValue, 50.0 + 40.0 * std::sin(60.0 * t) + 5.0 * std::sin(7919.0 * t), nullptr);
    }
    x->SetMin(0);
    x->SetSpan(100);
    y->SetMin(0);
    y->SetSpan(100);
  }

  QWidget page;
  _com_ptr_t<IPlotBase> plot;
  _com_ptr_t<IPlotChannelBase> channel;
  IiPlotAxisPtr x;
  IiPlotAxisPtr y;
};

const char* ProgId(const benchmark::State& state) { return state.range(1) ? kXYPlotProgId : kPlotProgId; }

void AddAndRedraw(benchmark::State& state) {
  ShownPlot shown(ProgId(state));
  for (auto _ : state) {
    shown.Fill(state.range(0), state.range(1) != 0);
    shown.plot->EndUpdate();  // draws at once
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AddAndRedraw)
    ->ArgNames({"points", "xy"})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

std::string DataPath() { return (QDir::tempPath() + QStringLiteral("/tarnix_plot_bench.rmp")).toStdString(); }

void SaveData(benchmark::State& state) {
  ShownPlot shown(kXYPlotProgId);
  shown.Fill(state.range(0), true);
  shown.plot->EndUpdate();
  const std::string path = DataPath();
  for (auto _ : state)
    if (FAILED(shown.plot->SaveDataToFile(path.c_str()))) state.SkipWithError("save failed");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(SaveData)->ArgNames({"points"})->Arg(100000)->Unit(benchmark::kMillisecond);

void LoadData(benchmark::State& state) {
  ShownPlot shown(kXYPlotProgId);
  shown.Fill(state.range(0), true);
  shown.plot->EndUpdate();
  const std::string path = DataPath();
  if (FAILED(shown.plot->SaveDataToFile(path.c_str()))) state.SkipWithError("save failed");
  for (auto _ : state)
    if (FAILED(shown.plot->LoadDataFromFile(path.c_str()))) state.SkipWithError("load failed");
  state.SetItemsProcessed(state.iterations() * state.range(0));
  QFile::remove(QString::fromStdString(path));
}
BENCHMARK(LoadData)->ArgNames({"points"})->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  plat::RegisterPlotClasses();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
