#pragma once
// A fixture that connects a communication object through the in-process
// OPC server to a simulated positioner.
#include <gtest/gtest.h>

#include <memory>

#include "comm/communication.h"
#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "sim/install.h"
#include "support/log_capture.h"

namespace testsupport {

class SimDeviceTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetOpcConnection();
    opc::ResetServer();
    opc::RegisterServer();
    sim::ForgetPositioners();
    sim::InstallAsOpcDevices();
    device = sim::PositionerFor("HART/Net/Tarnix1");
    ASSERT_TRUE(comm.Connect("AMS.OPCServer.1", "localhost"));
    ASSERT_EQ(comm.AddGroup("Quorvane"), 1);
    ASSERT_EQ(comm.AddItem("HART/Net/Tarnix1/Param/HART_Frame"), 1);
    device->ClearRequests();
  }
  void TearDown() override {
    ResetOpcConnection();
    opc::ResetServer();
    opc::SetDeviceProvider(nullptr);
    sim::ForgetPositioners();
  }

  // Time stands still unless a test moves it: the simulated valve moves
  // with time, so a slow run would otherwise read other values back.
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped{clock};
  LogCapture log;
  std::shared_ptr<sim::Positioner> device;
  CWexletCoreCommunication comm;
};

}  // namespace testsupport
