// The data monitor's longest record on its page: six channels of 86,400
// samples (a day at one sample a second). Timed: a frame while it records
// (the tick's sample read from the simulated positioner, its six points
// added, the page drawn again), a redraw alone, and the report of the whole
// record rendered to PDF (plot picture included).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "app/page_table.h"
#include "diagnostics/run/data_monitor.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/opc/server.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "sim/install.h"
#include "support/language_table.h"

namespace {

using View = CDiagnostics_DataMonitorView;

constexpr long kSamples = 86'400;
constexpr const char* kChannels[] = {"Command", "Position", "AnalogCommand", "Temperature", "Spool_CMD", "Spool_Pos"};

class HostWindow : public CWnd {
 public:
  HostWindow() { Create(nullptr, "pages", WS_VISIBLE, CRect(0, 0, 1000, 600), nullptr, 0); }
};

// The page shown and recording, its plot holding a day of samples.
struct RecordingPage {
  RecordingPage() : scoped(clock) {
    TheLanguageTable().Load(_bstr_t(plat::ProgramPath("\\Dependencies\\Language.xml")), "1033", false);
    opc::RegisterServer();
    sim::InstallAsOpcDevices();
    sim::InputProfile input;
    input.shape = sim::InputShape::SlowSine;
    sim::PositionerFor("HART/Net/Tarnix1")->SetInputProfile(input);
    CWexletCoreCommunication& comm = theApp().m_comm;
    connected = comm.Connect("AMS.OPCServer.1", "localhost") && comm.AddGroup("Quorvane") == 1 &&
                comm.AddItem("HART/Net/Tarnix1/Param/HART_Frame") == 1;
    page = static_cast<View*>(CreatePage(16));
    page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 600), &host, 16);
    page->SendInitialUpdate();
    host.GetSafeWidget()->show();
    page->StartMonitoring();
    Tick();
    page->GetDurationField()->put_Value(1);
    page->GetDlgItemAs<CComboBox>(View::kUnitListId)->SetCurSel(2);  // one day
    page->OnStart();
    Tick();
    IiPlotXPtr plot(page->GetPlot());
    for (const char* name : kChannels) {
      IiPlotChannelPtr channel = theApp().m_CommonFunctions.GetPlotChannelByName(plot, name);
      for (long i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i);
        channel->AddXY(t, 50 + 25 * std::sin(t / 600) + (name[0] == 'T' ? -20 : 0), nullptr);
      }
    }
    QApplication::processEvents();
  }
  ~RecordingPage() {
    page->StopMonitoring();
    host.DestroyWindow();
    ResetOpcConnection();
  }
  void Tick() { clock.Advance(1000); }
  // The redraw the plot queued for itself when its points changed.
  void Draw() { QApplication::processEvents(); }
  // A redraw of everything from the points up (a zoom, a resize).
  void Redraw() {
    IiPlotXPtr plot(page->GetPlot());
    plot->BeginUpdate();
    plot->EndUpdate();
  }
  LONG Count() {
    IiPlotXPtr plot(page->GetPlot());
    LONG count = 0;
    theApp().m_CommonFunctions.GetPlotChannelByName(plot, "Position")->GetCount(&count);
    return count;
  }

  plat::ManualClock clock;
  plat::ScopedTimeSource scoped;
  plat::ScriptedPerson person;
  bool connected = false;
  HostWindow host;
  View* page = nullptr;
};

RecordingPage& Page() {
  static RecordingPage page;
  return page;
}

// Two ticks, one with a sample, then the plot's own redraw on screen.
void RecordingFrame(benchmark::State& state) {
  RecordingPage& p = Page();
  if (!p.connected) state.SkipWithError("no connection");
  const LONG before = p.Count();
  for (auto _ : state) {
    p.Tick();
    p.Tick();
    p.Draw();
  }
  if (p.Count() - before != static_cast<LONG>(state.iterations())) state.SkipWithError("a sample went missing");
  state.counters["points"] = static_cast<double>(p.Count());
}

void Redraw(benchmark::State& state) {
  RecordingPage& p = Page();
  for (auto _ : state) p.Redraw();
}

void Report(benchmark::State& state) {
  RecordingPage& p = Page();
  const std::string pdf = QDir::tempPath().toStdString() + "/tarnix_data_monitor_bench.pdf";
  for (auto _ : state) {
    p.person.AnswerFile(pdf).Answer(IDNO);
    p.page->OnPrintReport();
  }
  std::remove(pdf.c_str());
}

}  // namespace

BENCHMARK(RecordingFrame)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(Redraw)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(Report)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("TARNIX_LOG_FILE", "/dev/null", 1);
  QApplication app(argc, argv);
  plat::UseCNumericLocale();
  activex::RegisterControlClasses();
  plat::RegisterPlotClasses();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
