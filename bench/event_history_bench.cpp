// A full all-events history download on the event history page: the
// selector write, every block read from the simulated positioner (no
// latency) and decoded into the grid, and the closing command 237. The
// manual clock runs the page's ticks, so only program time is measured.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "app/page_table.h"
#include "platform/activex/controls.h"
#include "platform/opc/server.h"
#include "platform/sys/numeric.h"
#include "platform/sys/time_source.h"
#include "shell/app.h"
#include "sim/install.h"
#include "views/status/event_history.h"

namespace {

class HostWindow : public CWnd {
 public:
  HostWindow() { Create(nullptr, "pages", 0, CRect(0, 0, 1000, 600), nullptr, 0); }
};

void AllEventsDownload(benchmark::State& state) {
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped{clock};
  opc::RegisterServer();
  sim::InstallAsOpcDevices();
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (!comm.Connect("AMS.OPCServer.1", "localhost") || comm.AddGroup("Quorvane") != 1 ||
      comm.AddItem("HART/Net/Tarnix1/Param/HART_Frame") != 1) {
    state.SkipWithError("no connection");
    return;
  }
  HostWindow host;
  auto* page = static_cast<CAlarm_EventHistoryView*>(CreatePage(4));
  page->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), &host, 4);
  page->SendInitialUpdate();
  page->StartMonitoring();
  clock.Advance(CAlarm_EventHistoryView::kIdlePeriod);
  page->GetDlgItemAs<CButton>(CAlarm_EventHistoryView::kAllEventsId)->Click();
  for (auto _ : state) {
    page->GetDlgItemAs<CButton>(CAlarm_EventHistoryView::kRetrieveId)->Click();
    // Selector, four blocks, command 237.
    for (int tick = 0; tick < 6; ++tick) clock.Advance(CAlarm_EventHistoryView::kRetrievePeriod);
  }
  if (page->GetRow() != 32 || page->GetPeriod() != CAlarm_EventHistoryView::kIdlePeriod)
    state.SkipWithError("the download did not complete");
  state.SetItemsProcessed(state.iterations() * 32);
  page->StopMonitoring();
  host.DestroyWindow();
  ResetOpcConnection();
}

}  // namespace

BENCHMARK(AllEventsDownload)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("TARNIX_LOG_FILE", "/dev/null", 1);
  QApplication app(argc, argv);
  plat::UseCNumericLocale();
  activex::RegisterControlClasses();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
