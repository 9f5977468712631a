// The identity commands end to end: communication object, OPC server and
// the simulated positioner; and what happens to replies that are not whole.
#include <gtest/gtest.h>

#include "sim_device.h"

namespace {

using Bytes = std::vector<BYTE>;

using Identity = testsupport::SimDeviceTest;

TEST_F(Identity, TagAndMessageWrittenThenReadBack) {
  comm.m_strTag = "fcv-101";
  comm.m_strDescriptor = "feed water valve";
  comm.m_byDateDay = 9;
  comm.m_byDateMonth = 12;
  comm.m_byDateYear = 126;
  EXPECT_TRUE(comm.WriteCommand(18));
  comm.m_strMessage = "Stroked 2026-12-09 by shift B";
  EXPECT_TRUE(comm.WriteCommand(17));

  ASSERT_EQ(device->Requests().size(), 2u);
  EXPECT_EQ(device->Requests()[0].size(), 23u);
  EXPECT_EQ(Bytes(device->Requests()[0].begin(), device->Requests()[0].begin() + 2), (Bytes{18, 21}));
  EXPECT_EQ(device->Requests()[1].size(), 26u);
  EXPECT_EQ(Bytes(device->Requests()[1].begin(), device->Requests()[1].begin() + 2), (Bytes{17, 24}));
  const sim::Identity kept = device->GetIdentity();
  EXPECT_EQ(kept.date, (sim::Date{9, 12, 2026}));

  // A fresh object learns it all from the device.
  CWexletCoreCommunication reader;
  reader.ReadCommand(13);
  reader.ReadCommand(12);
  EXPECT_EQ(reader.m_strTag, "FCV-101 ");
  EXPECT_EQ(reader.m_strDescriptor, "FEED WATER VALVE");
  EXPECT_EQ(reader.m_strMessage, "STROKED 2026-12-09 BY SHIFT B   ");
  EXPECT_EQ(reader.m_byDateDay, 9);
  EXPECT_EQ(reader.m_byDateMonth, 12);
  EXPECT_EQ(reader.m_byDateYear, 126);
  EXPECT_EQ(device->Requests()[2], Bytes{13});
  EXPECT_EQ(device->Requests()[3], Bytes{12});
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Identity, RevisionsComeFromCommandZero) {
  sim::Identity id = device->GetIdentity();
  id.deviceRevision = 3;
  id.softwareRevision = 7;
  id.hardwareRevision = 0x29;
  device->SetIdentity(id);
  comm.ReadCommand(0);
  EXPECT_EQ(comm.m_byDeviceRev, 3);
  EXPECT_EQ(comm.m_bySoftwareRev, 7);
  EXPECT_EQ(comm.m_byHardwareRev, 0x29);
}

TEST_F(Identity, CommandsOutsideTheTablesSendNothing) {
  for (int command : {1, 17, 18, 201, 300}) comm.ReadCommand(command);
  for (int command : {0, 12, 13, 200}) comm.WriteCommand(command);
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(Identity, RepliesThatAreNotWholeAndTheirOwnChangeNothing) {
  comm.ReadCommand(13);
  const CDeviceImage before = comm;
  ASSERT_EQ(comm.m_strTag, "SIM01   ");

  struct Case {
    const char* name;
    std::function<void()> inject;
    const char* logLine;  // null: the transaction gave no reply, nothing to judge
  } cases[] = {
      {"no reply", [&] { device->InjectNoReply(); }, nullptr},
      {"error reply without data", [&] { device->InjectResponseCode(64); },
       "Reply to command 13 not decoded: byte count 2, response code 64, layout needs 25 bytes"},
      {"short reply", [&] { device->InjectShortReply(20); },
       "Reply to command 13 not decoded: byte count 23 beyond the 20 bytes received"},
      {"three bytes", [&] { device->InjectShortReply(3); }, "Reply to command 13 not decoded: 3 bytes"},
      {"another command's echo", [&] { device->InjectWrongEcho(); },
       nullptr /* checked below: names the echo */},
      {"byte count beyond the bytes", [&] { device->InjectLongByteCount(); },
       "Reply to command 13 not decoded: byte count 24 beyond the 25 bytes received"},
  };
  for (const Case& c : cases) {
    log.Clear();
    sim::Identity id = device->GetIdentity();
    id.tag = "CHANGED";
    device->SetIdentity(id);
    c.inject();
    comm.ReadCommand(13);
    EXPECT_EQ(static_cast<const CDeviceImage&>(comm), before) << c.name;
    const auto texts = log.Texts();
    if (c.logLine) {
      EXPECT_EQ(texts, std::vector<std::string>{c.logLine}) << c.name;
    } else if (std::string(c.name) == "another command's echo") {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0].rfind("Reply to command 13 not decoded: echo ", 0), 0u) << texts[0];
    } else {
      EXPECT_TRUE(texts.empty()) << c.name;
    }
    id.tag = "SIM01";
    device->SetIdentity(id);
  }
}

TEST_F(Identity, WriteWithAnErrorReplyLeavesTheImage) {
  comm.ReadCommand(12);
  const CDeviceImage before = comm;
  comm.m_strMessage = "NEW";
  device->InjectResponseCode(7);  // write protected
  EXPECT_FALSE(comm.WriteCommand(17));
  EXPECT_EQ(comm.m_strMessage, "NEW");  // nothing came back to replace it
  comm.m_strMessage = before.m_strMessage;
  EXPECT_EQ(static_cast<const CDeviceImage&>(comm), before);
  EXPECT_EQ(log.Texts(),
            std::vector<std::string>{"Reply to command 17 not decoded: byte count 2, response code 7, layout needs 28 bytes"});
  device->InjectNoReply();
  EXPECT_FALSE(comm.WriteCommand(17));
}

}  // namespace
