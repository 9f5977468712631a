// OPC connection and the transaction, with the in-process server and a
// scripted device behind the item.
#include <gtest/gtest.h>
#include <unistd.h>

#include "comm/communication.h"
#include "platform/com/registry.h"
#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "scripted_device.h"

namespace {

using testsupport::Bytes;
using Transaction = testsupport::ScriptedDeviceTest;

TEST_F(Transaction, ConnectReachesTheServerOnlyOnThisComputer) {
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  struct Case {
    std::string computer;
    bool reached;
  } cases[] = {{"", true}, {"localhost", true}, {host, true}, {"LOCALHOST", true}, {"plant-server-7", false}};
  for (const Case& c : cases) {
    ResetOpcConnection();
    EXPECT_EQ(comm.Connect("AMS.OPCServer.1", c.computer.c_str()), c.reached) << c.computer;
    EXPECT_EQ(static_cast<bool>(g_pOPCServer), c.reached) << c.computer;
  }
}

TEST_F(Transaction, ConnectFailsWithoutTheServerClassOrWhenRefused) {
  EXPECT_FALSE(comm.Connect("Other.Server.1", ""));
  opc::InjectFault(opc::Fault::ConnectRefused);
  EXPECT_FALSE(comm.Connect("AMS.OPCServer.1", ""));
  ASSERT_TRUE(plat::UnregisterClass("AMS.OPCServer.1"));
  EXPECT_FALSE(comm.Connect("AMS.OPCServer.1", ""));
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Transaction, GroupAndItemAreAddedWithTheFixedParameters) {
  ConnectAll();
  const opc::Calls& calls = opc::SeenCalls();
  const std::string name = plat::Utf16ToUtf8(calls.lastGroupName);
  EXPECT_EQ(name.rfind("Quorvane", 0), 0u);
  EXPECT_LE(name.size(), 24u);
  EXPECT_GT(name.size(), 8u);
  EXPECT_EQ(calls.lastGroupActive, FALSE);
  EXPECT_EQ(calls.lastUpdateRate, 2000u);
  EXPECT_EQ(calls.lastGroupClient, 2345u);
  EXPECT_FALSE(calls.lastTimeBiasGiven);
  EXPECT_EQ(calls.lastDeadband, 0.0f);
  EXPECT_EQ(calls.lastLcid, 0u);
  EXPECT_EQ(calls.lastItemId, u"HART/Net/Dev1/Param/HART_Frame");
  EXPECT_EQ(calls.lastAccessPath, u"");
  EXPECT_EQ(calls.lastItemActive, FALSE);
  EXPECT_EQ(calls.lastItemClient, 3434u);
  EXPECT_EQ(calls.lastRequestedType, VT_ARRAY | VT_UI1);
}

TEST_F(Transaction, GroupNameDiffersBetweenStarts) {
  plat::ManualClock clock({2026, 12, 9, 10, 0, 0, 0});
  plat::ScopedTimeSource use(clock);
  ASSERT_TRUE(comm.Connect("AMS.OPCServer.1", ""));
  ASSERT_EQ(comm.AddGroup("Quorvane"), 1);
  const std::u16string first = opc::SeenCalls().lastGroupName;
  clock.Advance(1000);
  ASSERT_EQ(comm.AddGroup("Quorvane"), 1);
  EXPECT_NE(opc::SeenCalls().lastGroupName, first);
}

TEST_F(Transaction, ConnectionSequenceFailures) {
  ASSERT_TRUE(comm.Connect("AMS.OPCServer.1", ""));
  opc::InjectFault(opc::Fault::AddGroupFails);
  EXPECT_EQ(comm.AddGroup("Quorvane"), 0);
  EXPECT_FALSE(g_pItemMgt);
  ASSERT_EQ(comm.AddGroup("Quorvane"), 1);

  struct Case {
    const char* item;
    opc::Fault fault;
    bool inject;
    int result;
  } cases[] = {
      {"HART/Net/Dev1/Param/HART_Frame", opc::Fault::ItemRefused, true, -1},
      {"HART/Net/Dev1/Param/HART_Frame", opc::Fault::AddItemsFails, true, -2},
      {"HART/Net/Unknown/Param/HART_Frame", opc::Fault::ItemRefused, false, -1},
      {"HART/Net/Dev1", opc::Fault::ItemRefused, false, -1},
      {"HART/Net/Dev1/Param/HART_Frame", opc::Fault::ItemRefused, false, 1},
  };
  for (const Case& c : cases) {
    if (c.inject) opc::InjectFault(c.fault);
    EXPECT_EQ(comm.AddItem(c.item), c.result) << c.item;
  }
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Transaction, FaultTable) {
  struct Case {
    const char* name;
    std::optional<opc::Fault> fault;
    const char* logLine;  // null: nothing logged
    bool readAttempted;
    bool reply;
  } cases[] = {
      {"good", std::nullopt, nullptr, true, true},
      {"write call fails", opc::Fault::WriteCallFails, nullptr, false, false},
      {"write item error", opc::Fault::WriteItemError, "write failed.", false, false},
      {"read call fails", opc::Fault::ReadCallFails, "Read failed.", true, false},
      {"read item error", opc::Fault::ReadItemError, nullptr, true, false},
      {"value holds no array", opc::Fault::ValueNoArray, nullptr, true, false},
  };
  ConnectAll();
  for (const Case& c : cases) {
    for (int failCount : {0, 1}) {
      log.Clear();
      opc::ClearFaults();
      if (c.fault) opc::InjectFault(*c.fault);
      comm.m_nFailCount = failCount;
      const int readsBefore = opc::SeenCalls().reads;
      comm.BeginRequest(13);
      const BYTE* reply = comm.Transact();

      SCOPED_TRACE(std::string(c.name) + " / fail count " + std::to_string(failCount));
      EXPECT_EQ(reply != nullptr, c.reply);
      EXPECT_EQ(comm.m_pResponse, reply);
      EXPECT_EQ(opc::SeenCalls().reads - readsBefore, c.readAttempted ? 1 : 0);
      EXPECT_EQ(comm.m_bLinkOK, failCount == 0 ? 1 : 0);
      EXPECT_EQ(comm.m_nFailCount, failCount);  // only the status poll moves it
      const auto texts = log.Texts();
      if (c.logLine) {
        EXPECT_EQ(texts, std::vector<std::string>{c.logLine});
      } else {
        EXPECT_TRUE(texts.empty());
      }
      if (c.reply) {
        EXPECT_EQ(Bytes(reply, reply + comm.ResponseLength()), (Bytes{13, 2, 0, 0}));
      }
    }
  }
}

TEST_F(Transaction, DeviceWithoutAnswerGivesNoReplyAndNoLogLine) {
  ConnectAll();
  device->reply.reset();
  comm.BeginRequest(0);
  EXPECT_EQ(comm.Transact(), nullptr);
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Transaction, FrameGoesOutAsItsBytesOnly) {
  ConnectAll();
  comm.BeginRequest(12);
  comm.Transact();
  EXPECT_EQ(opc::SeenCalls().lastWritten, Bytes{12});
  EXPECT_EQ(opc::SeenCalls().lastReadSource, OPC_DS_DEVICE);

  comm.BeginRequest(200, 4);
  comm.PutWord(0, 8);
  comm.PutWord(2, 42);
  comm.Transact();
  EXPECT_EQ(device->requests.back(), (Bytes{200, 4, 0, 8, 0, 42}));
}

TEST_F(Transaction, EachReplyReplacesTheLastOne) {
  ConnectAll();
  device->reply = Bytes{13, 5, 0, 0, 1, 2, 3};
  comm.BeginRequest(13);
  comm.Transact();
  EXPECT_EQ(comm.ResponseLength(), 7);
  device->reply = Bytes{13, 2, 0, 0};
  comm.Transact();
  EXPECT_EQ(Bytes(comm.m_pResponse, comm.m_pResponse + comm.ResponseLength()), (Bytes{13, 2, 0, 0}));
  device->reply.reset();
  comm.Transact();
  EXPECT_EQ(comm.m_pResponse, nullptr);
  EXPECT_EQ(comm.ResponseLength(), 0);
}

TEST_F(Transaction, TheLinkIsDownUntilADeviceHasAnswered) {
  // No connection, then a device that does not answer, then one that does:
  // a fail count of 0 alone says nothing of a device.
  comm.BeginRequest(13);
  EXPECT_EQ(comm.Transact(), nullptr);
  EXPECT_EQ(comm.m_bLinkOK, 0);
  EXPECT_EQ(opc::SeenCalls().writes, 0);
  ConnectAll();
  device->reply.reset();
  comm.Transact();
  EXPECT_EQ(comm.m_bLinkOK, 0);
  device->reply = Bytes{13, 2, 0, 0};
  comm.Transact();
  EXPECT_EQ(comm.m_bLinkOK, 1);
  // From then on the flag follows the counter alone.
  device->reply.reset();
  comm.Transact();
  EXPECT_EQ(comm.m_bLinkOK, 1);
  comm.m_nFailCount = 3;
  comm.Transact();
  EXPECT_EQ(comm.m_bLinkOK, 0);
}

}  // namespace
