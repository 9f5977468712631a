// A full bi-directional ramp test on the ramp page: the run itself goes by
// on the manual clock untimed; what is timed is the program's work from the
// record being ready to the last of its 104 blocks drawn (pointer writes,
// every command-214 read from the simulated positioner without latency,
// the points into the plot's ten channels, and the plot redrawn).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "app/page_table.h"
#include "diagnostics/run/ramp_test_page.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/opc/server.h"
#include "platform/sys/numeric.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "sim/install.h"

namespace {

class HostWindow : public CWnd {
 public:
  HostWindow() { Create(nullptr, "pages", WS_VISIBLE, CRect(0, 0, 1000, 600), nullptr, 0); }
};

void BidirectionalRampDownload(benchmark::State& state) {
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped{clock};
  plat::ScriptedPerson person;
  opc::RegisterServer();
  sim::InstallAsOpcDevices();
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (!comm.Connect("AMS.OPCServer.1", "localhost") || comm.AddGroup("Quorvane") != 1 ||
      comm.AddItem("HART/Net/Tarnix1/Param/HART_Frame") != 1) {
    state.SkipWithError("no connection");
    return;
  }
  HostWindow host;
  auto* page = static_cast<CDiagnostics_RampTestView*>(CreatePage(18));
  page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 600), &host, 18);
  page->SendInitialUpdate();
  page->StartMonitoring();
  const auto tick = [&] { clock.Advance(page->GetPeriod()); };
  for (int i = 0; i < 3; ++i) tick();  // the device's set-up read
  page->SetDlgItemText(1031, "10.0");
  page->SetDlgItemText(1032, "90.0");
  page->SetDlgItemText(1033, "2.0");
  page->SetDlgItemText(1034, "10.0");
  page->CheckDlgButton(1037, BST_CHECKED);
  for (auto _ : state) {
    state.PauseTiming();
    person.Answer(IDYES);
    page->OnStart();
    for (int i = 0; i < 600 && page->GetStep() != CRecordedTestPage::kPrepareStep; ++i) tick();
    state.ResumeTiming();
    for (int i = 0; i < 200 && page->IsTestRunning(); ++i) tick();
    QCoreApplication::processEvents();  // the plot redraws
  }
  LONG count = 0;
  IiXYPlotXPtr plot(page->GetPlot());
  IiXYPlotChannelPtr position = theApp().m_CommonFunctions.GetXYPlotChannelByName(plot, "Position");
  position->GetCount(&count);
  if (count != 2 * CRecordedTestPage::kPointsPerPass) state.SkipWithError("the download did not complete");
  state.SetItemsProcessed(state.iterations() * 2 * CBlockDownload::kBlocks);
  page->StopMonitoring();
  host.DestroyWindow();
  ResetOpcConnection();
}

}  // namespace

BENCHMARK(BidirectionalRampDownload)->Unit(benchmark::kMillisecond)->Iterations(5);

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
