// Every read and write command through the OPC server and the simulated
// positioner: what the device holds lands in the image, and what the image
// holds reaches the device.
#include <gtest/gtest.h>

#include <functional>

#include "sim_device.h"

namespace {

using SimRecords = testsupport::SimDeviceTest;

TEST_F(SimRecords, EveryReadBringsTheDeviceRecordIntoTheImage) {
  const sim::DeviceState s = device->State();
  using Check = std::function<void(const CWexletCoreCommunication&)>;
  const std::vector<std::pair<int, Check>> reads = {
      {0, [&](auto& c) { EXPECT_EQ(c.m_byDeviceRev, s.identity.deviceRevision); }},
      {12, [&](auto& c) { EXPECT_EQ(c.m_strMessage.size(), 32u); }},
      {13, [&](auto& c) { EXPECT_EQ(c.m_strTag, "SIM01   "); }},
      {132, [&](auto& c) { EXPECT_EQ(c.m_byCmdPosCode, s.setup.commandPosition[0]); }},
      {134, [&](auto& c) { EXPECT_DOUBLE_EQ(c.m_adCustCharY[10], s.setup.customCurve[10] * 0.01); }},
      {138, [&](auto& c) { EXPECT_EQ(c.m_abyConfigB[4], s.setup.configuration[12]); }},
      {140, [&](auto&) {}},
      {142, [&](auto& c) { EXPECT_EQ(c.m_abyUnitCodes[3], s.setup.unitCodes[3]); }},
      {156, [&](auto& c) { EXPECT_EQ(c.m_ValveRecord.dwCount2, s.travel.valve.count2); }},
      {158, [&](auto& c) { EXPECT_EQ(c.m_ActuatorRecord.dwLimit2B, s.travel.actuator.limit2B); }},
      {160, [&](auto& c) { EXPECT_EQ(c.m_BellowsRecord.dwCount1, s.travel.bellows.count1); }},
      {162, [&](auto& c) { EXPECT_EQ(c.m_PilotRecord.dValue2B, s.travel.pilot.value2B); }},
      {168,
       [&](auto& c) {
         EXPECT_EQ(c.m_strTempUnit, "\xC2\xB0" "C");
         EXPECT_EQ(c.m_dHourCounter, s.status.temperature.hours);
       }},
      {170, [&](auto& c) { EXPECT_EQ(c.m_adHealthData[1], s.status.health[1]); }},
      {174, [&](auto& c) { EXPECT_EQ(c.m_abyStatus[31], s.status.bytes[31]); }},
      {176, [&](auto& c) { EXPECT_EQ(c.m_abyStatusMask[0], s.status.masks[0]); }},
      {182, [&](auto& c) { EXPECT_EQ(c.m_abyCmd182[2], s.setup.bytes182[2]); }},
      {184, [&](auto& c) { EXPECT_EQ(c.m_strCmd184Text, s.history.calibration.at(1)); }},
      {188, [&](auto& c) { EXPECT_DOUBLE_EQ(c.m_adCustCharX[20], s.setup.secondCurve[20] * 0.01); }},
      {194, [&](auto& c) { EXPECT_EQ(c.m_Aux1.wReading0, s.aux.cards[0].reading0); }},
      {196, [&](auto& c) { EXPECT_EQ(c.m_Aux2.dSetting, s.aux.cards[1].settingValue); }},
      {202, [&](auto& c) { EXPECT_EQ(c.m_TrainingConfig.dTrainValueA, s.aux.training.valueA); }},
      {204, [&](auto& c) { EXPECT_EQ(c.m_adwTrainingHistogram[6], s.aux.trainingHistogram[6]); }},
      {208, [&](auto& c) { EXPECT_EQ(c.m_adwHistogram[9], s.aux.histograms[0][9]); }},
      {212, [&](auto& c) { EXPECT_EQ(c.m_TestResult.dSetup4, s.tests.result.setup4); }},
      {222, [&](auto& c) { EXPECT_EQ(c.m_abyCmd222[4], s.setup.bytes222[4]); }},
      {238, [&](auto& c) { EXPECT_EQ(c.m_abyEventLog[64], 0); }},  // block index 0 of the first history
      {240, [&](auto& c) { EXPECT_EQ(c.m_abyEventLog[129], 0); }},
      {242, [&](auto& c) { EXPECT_EQ(c.m_abyEventLog[194], 0); }},
      {246,
       [&](auto& c) {
         EXPECT_EQ(c.m_bySamplesTrailerB, 0);
         EXPECT_DOUBLE_EQ(c.m_adTestSamplesB[5], s.tests.samplesB.blocks[0][5] * 0.01);
       }},
  };
  comm.m_byCmd184Code = 1;
  for (const auto& [command, check] : reads) {
    SCOPED_TRACE("command " + std::to_string(command));
    device->ClearRequests();
    comm.ReadCommand(command);
    EXPECT_EQ(device->Requests().size(), 1u);
    check(comm);
  }
  for (const std::string& line : log.Texts()) EXPECT_EQ(line.find("not decoded"), std::string::npos) << line;
}

TEST_F(SimRecords, EveryWriteReachesTheDeviceAndComesBack) {
  struct Case {
    int command;
    std::function<void(CWexletCoreCommunication&)> set;
    std::function<void(const sim::DeviceState&, const CWexletCoreCommunication&)> check;
  };
  const Case cases[] = {
      {17, [](auto& c) { c.m_strMessage = "valve overhauled"; },
       [](auto& s, auto& c) {
         EXPECT_EQ(s.identity.message.substr(0, 16), "VALVE OVERHAULED");
         EXPECT_EQ(c.m_strMessage, "VALVE OVERHAULED" + std::string(16, ' '));
       }},
      {18, [](auto& c) { c.m_strTag = "FV-7"; }, [](auto& s, auto& c) {
         EXPECT_EQ(s.identity.tag.substr(0, 4), "FV-7");
         EXPECT_EQ(c.m_strTag, "FV-7    ");
       }},
      {135, [](auto& c) { c.m_adCustCharY[20] = 9999; },
       [](auto& s, auto& c) {
         EXPECT_EQ(s.setup.customCurve[20], 9999);
         EXPECT_DOUBLE_EQ(c.m_adCustCharY[20], 99.99);  // the echo is in hundredths again
       }},
      {157, [](auto& c) { c.m_ValveRecord.dwLimit2B = 777777; },
       [](auto& s, auto& c) {
         EXPECT_EQ(s.travel.valve.limit2B, 777777u);
         EXPECT_EQ(c.m_ValveRecord.dwLimit2B, 777777u);
       }},
      {159, [](auto& c) { c.m_ActuatorRecord.dwLimit1A = 123; },
       [](auto& s, auto&) { EXPECT_EQ(s.travel.actuator.limit1A, 123u); }},
      {161, [](auto& c) { c.m_BellowsRecord.dwLimit1B = 456; },
       [](auto& s, auto&) { EXPECT_EQ(s.travel.bellows.limit1B, 456u); }},
      {163, [](auto& c) { c.m_PilotRecord.dwLimit2A = 789; },
       [](auto& s, auto&) { EXPECT_EQ(s.travel.pilot.limit2A, 789u); }},
      {177, [](auto& c) { c.m_abyStatusMask[3] = 0x0F; },
       [](auto& s, auto& c) {
         EXPECT_EQ(s.status.masks[3], 0x0F);
         EXPECT_EQ(c.m_abyStatusMask[3], 0x0F);
       }},
      {183, [](auto& c) { c.m_abyCmd182[5] = 9; }, [](auto& s, auto&) { EXPECT_EQ(s.setup.bytes182[5], 9); }},
      {187,
       [](auto& c) {
         c.m_byCmd184Code = 5;
         c.m_strCmd184Text = "12/09/2026 08:00:00 JD  ";
       },
       [](auto& s, auto& c) {
         EXPECT_EQ(s.history.calibration.at(5), "12/09/2026 08:00:00 JD  ");
         EXPECT_EQ(c.m_strCmd184Text, "12/09/2026 08:00:00 JD  ");
       }},
      {189, [](auto& c) { c.m_adCustCharX[3] = 15.5; },
       [](auto& s, auto& c) {
         EXPECT_EQ(s.setup.secondCurve[3], 1550);
         EXPECT_DOUBLE_EQ(c.m_adCustCharX[3], 15.5);
       }},
      {195, [](auto& c) { c.m_Aux1.abySetting[32] = 0x5A; },
       [](auto& s, auto&) { EXPECT_EQ(s.aux.cards[0].settingBytes[32], 0x5A); }},
      {197, [](auto& c) { c.m_Aux2.wSetting1 = 4321; }, [](auto& s, auto&) { EXPECT_EQ(s.aux.cards[1].setting1, 4321); }},
      {203, [](auto& c) { c.m_TrainingConfig.dTrainSetting = 7.5; },
       [](auto& s, auto&) { EXPECT_EQ(s.aux.training.setting, 7.5f); }},
      {223, [](auto& c) { c.m_abyCmd222[6] = 3; }, [](auto& s, auto&) { EXPECT_EQ(s.setup.bytes222[6], 3); }},
      {237, [](auto& c) { c.m_byEventHistorySelect = 2; }, [](auto& s, auto&) { EXPECT_EQ(s.history.eventSelect, 2); }},
  };
  // Each write sends the record as the image holds it, so read it first.
  comm.m_byCmd184Code = 5;
  for (int command : {12, 13, 134, 156, 158, 160, 162, 176, 182, 184, 188, 194, 196, 202, 222}) comm.ReadCommand(command);
  for (const Case& c : cases) {
    SCOPED_TRACE("command " + std::to_string(c.command));
    c.set(comm);
    comm.WriteCommand(c.command);
    c.check(device->State(), comm);
  }
  for (const std::string& line : log.Texts()) EXPECT_EQ(line.find("not decoded"), std::string::npos) << line;
}

TEST_F(SimRecords, SettingByteResetsTravelOrCycleCounter) {
  struct Case {
    int read, write;
    BYTE setting;
    bool travelCleared, cyclesCleared;
  } cases[] = {
      {156, 157, 1, true, false},
      {156, 157, 2, false, true},
      {162, 163, 1, true, false},
      {162, 163, 2, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("command " + std::to_string(c.write) + " setting " + std::to_string(c.setting));
    sim::DeviceState s = device->State();
    s.travel = sim::TravelRecords{};
    device->SetState(s);
    comm.ReadCommand(c.read);
    TravelCycleRecord& r = c.read == 156 ? comm.m_ValveRecord : comm.m_PilotRecord;
    ASSERT_NE(r.dwCount1, 0u);
    ASSERT_NE(r.dwCount2, 0u);
    r.bySetting = c.setting;
    comm.WriteCommand(c.write);
    EXPECT_EQ(r.dwCount1 == 0, c.travelCleared);
    EXPECT_EQ(r.dwCount2 == 0, c.cyclesCleared);
  }
}

TEST_F(SimRecords, TestDataBlocksComeInTurnAndStopAtTheLast) {
  std::vector<int> blocks;
  for (int i = 0; i < 53; ++i) {
    comm.BeginRequest(214);
    if (comm.Transact()) comm.ParseResponse(214);
    blocks.push_back(comm.m_bySamplesTrailer);
  }
  EXPECT_EQ(blocks.front(), 0);
  EXPECT_EQ(blocks[51], 51);
  EXPECT_EQ(blocks[52], 51);
}

}  // namespace
