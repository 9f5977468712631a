// One status-poll transaction: communication object -> OPC server ->
// simulated positioner -> reply back in the object.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "comm/communication.h"
#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "sim/install.h"
#include "sim/positioner.h"

namespace {

void StatusPollTransaction(benchmark::State& state) {
  setenv("TARNIX_LOG_FILE", "/dev/null", 1);
  opc::RegisterServer();
  sim::InstallAsOpcDevices({"HART/Bench/Dev1"});
  CWexletCoreCommunication comm;
  if (!comm.Connect("AMS.OPCServer.1", "") || comm.AddGroup("Quorvane") != 1 ||
      comm.AddItem("HART/Bench/Dev1/Param/HART_Frame") != 1) {
    state.SkipWithError("no connection");
    return;
  }
  for (auto _ : state) {
    comm.ReadPriorityBitsAndControlEnable();
  }
  if (comm.ResponseLength() != 10 || comm.m_nFailCount != 0) state.SkipWithError("unexpected reply");
  state.SetItemsProcessed(state.iterations());
  ResetOpcConnection();
}

// The longest catch-up a transaction can cost: a minute of 10 ms valve
// steps, the valve stroking all the while so that everything that wears
// is at work.
void CatchUpAStrokingMinute(benchmark::State& state) {
  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  sim::Positioner positioner;
  positioner.SetVariable(8, 1);
  bool up = false;
  for (auto _ : state) {
    up = !up;
    positioner.SetVariable(3, up ? 80 : 20);
    clock.Advance(60'000);
    positioner.CatchUp();
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(StatusPollTransaction);
BENCHMARK(CatchUpAStrokingMinute)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
