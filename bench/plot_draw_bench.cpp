// Pictures and redraws of a typical test plot (a ramp signature of three
// channels), each measured next to plain QCustomPlot drawing the same data at
// the same size with its default settings. The table at the end gives the
// ratio of each pair.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <qcustomplot.h>
#include <string>
#include <vector>

#include "platform/activex/plot.h"
#include "platform/activex/widget_host.h"
#include "platform/com/registry.h"

namespace {

using IWidgetControlPtr = _com_ptr_t<IWidgetControl>;

constexpr int kChannels = 3;
constexpr int kPictureWidth = 1000;  // the reports' plot pictures
constexpr int kPictureHeight = 442;
constexpr int kPageWidth = 800;
constexpr int kPageHeight = 500;
const char* const kTitle = "Ramp Signature";
const char* const kXTitle = "Travel (%)";
const char* const kYTitle = "Pressure (psi)";

struct Point {
  double x;
  double y;
};

// A channel of a ramp signature: the travel runs 0 to 100 % and back, the
// value lags by a friction band and carries a little noise. On a time plot
// the same values run against time.
std::vector<Point> RampSignature(int channel, long n, bool xy) {
  std::vector<Point> points(static_cast<size_t>(n));
  std::uint32_t seed = 2024u + static_cast<std::uint32_t>(channel);
  for (long i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(n);
    const bool rising = t < 0.5;
    const double travel = rising ? 200.0 * t : 200.0 * (1.0 - t);
    seed = seed * 1664525u + 1013904223u;
    const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.8;
    const double band = (rising ? 1.0 : -1.0) * (3.0 + 2.0 * channel);
    points[static_cast<size_t>(i)] = {xy ? travel : 100.0 * t, 10.0 + 15.0 * channel + 0.5 * travel + band + noise};
  }
  return points;
}

QString PicturePath() { return QDir::tempPath() + QStringLiteral("/tarnix_plot_draw_bench.png"); }

// Our control, filled through its COM interface as the pages fill it.
struct OurPlot {
  OurPlot(bool xy, long n) {
    IUnknownPtr unknown;
    if (FAILED(CoCreateInstanceByProgId(xy ? kXYPlotProgId : kPlotProgId, nullptr, CLSCTX_INPROC_SERVER,
                                        IUnknown::kIID, reinterpret_cast<void**>(&unknown))))
      return;
    widgets = IWidgetControlPtr(unknown);
    if (xy)
      plot = IiXYPlotXPtr(unknown).GetInterfacePtr();
    else
      plot = IiPlotXPtr(unknown).GetInterfacePtr();
    plot->BeginUpdate();
    plot->SetTitle(kTitle);
    IiPlotAxisPtr axis;
    plot->GetXAxis(0, &axis);
    axis->SetTitle(kXTitle);
    plot->GetYAxis(0, &axis);
    axis->SetTitle(kYTitle);
    for (int c = 0; c < kChannels; ++c) {
      if (c > 0) plot->AddChannel(nullptr);
      IDispatchPtr dispatch;
      plot->GetChannel(c, &dispatch);
      _com_ptr_t<IPlotChannelBase> channel;
      if (xy)
        channel = IiXYPlotChannelPtr(IUnknownPtr(dispatch)).GetInterfacePtr();
      else
        channel = IiPlotChannelPtr(IUnknownPtr(dispatch)).GetInterfacePtr();
      channel->SetTitle(("Pressure " + std::to_string(c + 1)).c_str());
      COLORREF color = 0;
      channel->GetColor(&color);
      colors.push_back(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
      for (const Point& p : RampSignature(c, n, xy)) channel->AddXY(p.x, p.y, nullptr);
    }
    plot->EndUpdate();
  }
  // Shown on a page; returns the size its drawing area got.
  QSize Show() {
    page.resize(kPageWidth, kPageHeight);
    widgets->CreateWidget(&page, QRect(0, 0, kPageWidth, kPageHeight));
    page.show();
    QCoreApplication::processEvents();
    auto* drawing = page.findChild<QCustomPlot*>();
    return drawing ? drawing->size() : QSize();
  }

  QWidget page;
  _com_ptr_t<IPlotBase> plot;
  IWidgetControlPtr widgets;
  std::vector<QColor> colors;
};

// Plain QCustomPlot with the same data and the same elements: title, axis
// titles, legend.
struct PlainPlot {
  PlainPlot(bool xy, long n, const std::vector<QColor>& colors) : plot(new QCustomPlot(&page)) {
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(0, 0, new QCPTextElement(plot, kTitle));
    plot->xAxis->setLabel(kXTitle);
    plot->yAxis->setLabel(kYTitle);
    plot->xAxis->setRange(0, 100);
    plot->yAxis->setRange(0, 100);
    plot->legend->setVisible(true);
    for (int c = 0; c < kChannels; ++c) {
      const std::vector<Point> points = RampSignature(c, n, xy);
      QCPAbstractPlottable* line = nullptr;
      if (xy) {
        auto* curve = new QCPCurve(plot->xAxis, plot->yAxis);
        QVector<QCPCurveData> data;
        data.reserve(static_cast<qsizetype>(points.size()));
        for (const Point& p : points) data.append(QCPCurveData(data.size(), p.x, p.y));
        curve->data()->set(data, true);
        line = curve;
      } else {
        QCPGraph* graph = plot->addGraph();
        QVector<QCPGraphData> data;
        data.reserve(static_cast<qsizetype>(points.size()));
        for (const Point& p : points) data.append(QCPGraphData(p.x, p.y));
        graph->data()->set(data, true);
        line = graph;
      }
      line->setName(QStringLiteral("Pressure %1").arg(c + 1));
      line->setPen(QPen(colors[static_cast<size_t>(c)]));
    }
  }
  void Show(QSize size) {
    page.resize(kPageWidth, kPageHeight);
    plot->setGeometry(QRect(QPoint(0, kPageHeight - size.height()), size));
    page.show();
    QCoreApplication::processEvents();
  }

  QWidget page;
  QCustomPlot* plot;
};

enum class Job { SaveImage, CopyToPicture, Redraw };
const char* const kJobNames[] = {"SaveImage", "CopyToPicture", "Redraw"};

void Ours(benchmark::State& state, Job job, bool xy, long n) {
  OurPlot ours(xy, n);
  if (!ours.plot) return state.SkipWithError("no plot");
  const std::string path = PicturePath().toStdString();
  if (job == Job::Redraw && ours.Show().isEmpty()) return state.SkipWithError("no drawing area");
  for (auto _ : state) {
    HRESULT hr = S_OK;
    if (job == Job::SaveImage) {
      hr = ours.plot->SaveImage(path.c_str(), kPictureWidth, kPictureHeight);
    } else if (job == Job::CopyToPicture) {
      _variant_t png;
      hr = ours.plot->CopyToPicture(kPictureWidth, kPictureHeight, &png);
    } else {
      ours.plot->BeginUpdate();
      hr = ours.plot->EndUpdate();  // draws at once
    }
    if (FAILED(hr)) return state.SkipWithError("failed");
  }
}

void Plain(benchmark::State& state, Job job, bool xy, long n) {
  OurPlot ours(xy, 1);  // for the colours and the size of its drawing area
  PlainPlot plain(xy, n, ours.colors);
  if (job == Job::Redraw) plain.Show(ours.Show());
  const QString path = PicturePath();
  for (auto _ : state) {
    bool done = true;
    if (job == Job::SaveImage) {
      done = plain.plot->savePng(path, kPictureWidth, kPictureHeight);
    } else if (job == Job::CopyToPicture) {
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      done = plain.plot->toPixmap(kPictureWidth, kPictureHeight).toImage().save(&buffer, "PNG");
    } else {
      plain.plot->replot(QCustomPlot::rpImmediateRefresh);
    }
    if (!done) return state.SkipWithError("failed");
  }
}

// The console output, and at the end one table: plain, ours and their ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.error_occurred || !(single || median)) continue;
      const std::string& name = run.run_name.function_name;
      const size_t slash = name.rfind('/');
      (name.compare(slash + 1, std::string::npos, "plain") == 0 ? m_plain : m_ours)[name.substr(0, slash)] =
          run.GetAdjustedRealTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-32s %10s %10s %7s\n", "job/kind/points", "plain ms", "ours ms", "ratio");
    for (const std::string& key : m_order) {
      const auto plain = m_plain.find(key);
      const auto ours = m_ours.find(key);
      if (plain == m_plain.end() || ours == m_ours.end()) continue;
      std::printf("%-32s %10.2f %10.2f %7.2f\n", key.c_str(), plain->second, ours->second,
                  ours->second / plain->second);
    }
  }
  std::vector<std::string> m_order;

 private:
  std::map<std::string, double> m_plain;
  std::map<std::string, double> m_ours;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  plat::RegisterPlotClasses();
  RatioReporter reporter;
  for (Job job : {Job::SaveImage, Job::CopyToPicture, Job::Redraw})
    for (bool xy : {false, true})
      for (long n : {1000L, 10000L, 20000L, 100000L, 1000000L}) {
        const std::string key = std::string(kJobNames[static_cast<int>(job)]) + (xy ? "/xy/" : "/time/") +
                                std::to_string(n);
        reporter.m_order.push_back(key);
        benchmark::RegisterBenchmark((key + "/plain").c_str(), Plain, job, xy, n)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((key + "/ours").c_str(), Ours, job, xy, n)->Unit(benchmark::kMillisecond);
      }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  QFile::remove(PicturePath());
  return 0;
}
