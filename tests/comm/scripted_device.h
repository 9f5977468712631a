#pragma once
// A device behind the in-process OPC server that answers with whatever the
// test puts in `reply`, and a fixture that connects a communication object
// to it.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "comm/communication.h"
#include "platform/opc/server.h"
#include "support/log_capture.h"

namespace testsupport {

using Bytes = std::vector<BYTE>;

class ScriptedDevice : public opc::IHartFrameDevice {
 public:
  std::optional<std::vector<std::uint8_t>> Transact(std::span<const std::uint8_t> request) override {
    requests.emplace_back(request.begin(), request.end());
    if (throws) throw std::runtime_error("device fault");
    if (!queued.empty()) {
      Bytes next = queued.front();
      queued.pop_front();
      return next;
    }
    return reply;
  }
  std::deque<Bytes> queued;  // answered first, one per request
  std::optional<Bytes> reply = Bytes{13, 2, 0, 0};  // then this, every time
  std::vector<Bytes> requests;
  bool throws = false;  // every request raises inside the transaction
};

// [command][2 + data][response code 0][status 0][data...]
inline Bytes Reply(int command, const Bytes& data) {
  Bytes r;
  r.reserve(4 + data.size());
  r.push_back(static_cast<BYTE>(command));
  r.push_back(static_cast<BYTE>(2 + data.size()));
  r.push_back(0);
  r.push_back(0);
  r.insert(r.end(), data.begin(), data.end());
  return r;
}

class ScriptedDeviceTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetOpcConnection();
    opc::ResetServer();
    opc::RegisterServer();
    opc::SetDeviceProvider([this](const std::string& path) -> std::shared_ptr<opc::IHartFrameDevice> {
      return path == "HART/Net/Dev1" ? device : nullptr;
    });
  }
  void TearDown() override {
    ResetOpcConnection();
    opc::ResetServer();
    opc::SetDeviceProvider(nullptr);
  }
  void ConnectAll() {
    ASSERT_TRUE(comm.Connect("AMS.OPCServer.1", ""));
    ASSERT_EQ(comm.AddGroup("Quorvane"), 1);
    ASSERT_EQ(comm.AddItem("HART/Net/Dev1/Param/HART_Frame"), 1);
  }
  // As after a device's first reply: from then on a transaction sets the
  // link flag from the fail count alone, so a good one leaves it at 1.
  void AsAfterAFirstReply() {
    comm.m_bDeviceAnswered = true;
    comm.m_bLinkOK = 1;
  }

  LogCapture log;
  std::shared_ptr<ScriptedDevice> device = std::make_shared<ScriptedDevice>();
  CWexletCoreCommunication comm;
};

}  // namespace testsupport
