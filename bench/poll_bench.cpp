// One status-poll transaction: communication object -> OPC server ->
// simulated positioner -> reply back in the object.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "comm/communication.h"
#include "platform/opc/server.h"
#include "sim/install.h"

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

}  // namespace

BENCHMARK(StatusPollTransaction);
BENCHMARK_MAIN();
