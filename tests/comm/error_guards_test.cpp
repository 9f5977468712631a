// An exception inside a device operation: the guarded operations log their
// own line and return their failure value; the others let it through.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "scripted_device.h"

namespace {

class ErrorGuards : public testsupport::ScriptedDeviceTest {
 protected:
  void SetUp() override {
    ScriptedDeviceTest::SetUp();
    ConnectAll();
    device->throws = true;
  }
  bool Logged(const std::string& text) const {
    const auto texts = log.Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
};

TEST_F(ErrorGuards, ScreenOperations) {
  const std::map<ScreenOp, const char*> guarded = {
      {ScreenOp::ReadCmd200PressureSensorsPresent, "Error in ReadCmd200PressureSensorsPresent()"},
      {ScreenOp::ReadDashboardCyclicParameters, "Error in ReadDashboardCyclicParameters()"},
      {ScreenOp::ReadDashboardSlowReadParameters, "Error in ReadDashboardSlowReadParameters()"},
      {ScreenOp::WriteCmd201CmdPctDigital, "Error in WriteCmd201CmdPctDigital()"},
      {ScreenOp::WriteCmd201ControlModeAndCmdPct, "Error in WriteCmd201ControlModeAndCmdPct()"},
      {ScreenOp::WriteCmd201ControlEnable, "Error in WriteCmd201ControlEnable()"},
      {ScreenOp::ReadDataLoggerData, "Error in ReadDataLoggerData()"},
      {ScreenOp::ReadPosAlertLimits, "Error in ReadPosAlertLimits()"},
      {ScreenOp::WritePosAlertLimits, "Error in WritePosAlertLimits()"},
      {ScreenOp::ReadTechSensors, "Error in ReadTechSensors()"},
      {ScreenOp::ReadLocalPanel, "Error in ReadLocalPanel()"},
  };
  for (int i = 0; i < static_cast<int>(ScreenOp::Count); ++i) {
    const auto op = static_cast<ScreenOp>(i);
    const std::string name = CWexletCoreCommunication::ScreenOpName(op);
    SCOPED_TRACE(name);
    log.Clear();
    const auto requestsBefore = device->requests.size();
    const auto it = guarded.find(op);
    if (it != guarded.end()) {
      bool result = true;
      EXPECT_NO_THROW(result = comm.RunScreenOp(op, {1, 1, 1, 1, 1, 1}));
      EXPECT_FALSE(result);
      EXPECT_TRUE(Logged(it->second));
    } else {
      EXPECT_THROW(comm.RunScreenOp(op, {1, 1, 1, 1, 1, 1}), std::runtime_error);
      EXPECT_FALSE(Logged("Error in " + name + "()"));
    }
    EXPECT_EQ(device->requests.size(), requestsBefore + 1);  // it did raise inside the transaction
  }
}

TEST_F(ErrorGuards, StatusPollLogsAndCountsNothing) {
  comm.m_nFailCount = 2;
  EXPECT_NO_THROW(comm.ReadPriorityBitsAndControlEnable());
  EXPECT_TRUE(Logged("Error in ReadPriorityBitsAndControlEnable()"));
  EXPECT_EQ(comm.m_nFailCount, 2);
}

TEST_F(ErrorGuards, RecordReads) {
  const std::map<int, const char*> guarded = {
      {132, "Error in Read_Command_Position_Data"},
      {138, "Error in Read_Configuration_Data"},
      {142, "Error in Read_User_Selectable_Units"},
      {156, "Error in Read_Valve_Travel_Cycle_Data"},
      {158, "Error in Read_Actuator_Travel_Cycle_Data"},
      {160, "Error in Read_Bellows_Travel_Cycle_Data"},
      {162, "Error in Read_Pilot_Travel_Cycle_Data"},
      {168, "Error in Read_Temperature_Hour_Counter_Data"},
      {170, "Error in Read_Health_Data"},
      {174, "Error in Read_Status_Data"},
      {176, "Error in Read_Status_Mask_Data"},
      {194, "Error in Read_Auxilliary_Card_1_Data"},
      {196, "Error in Read_Auxilliary_Card_2_Data"},
      {202, "Error in Read_Training_Mode_Configuration_Data"},
      {204, "Error in Read_Training_Mode_Histogram"},
      {208, "Error in Read_Histogram"},
  };
  const int unguarded[] = {0, 12, 13, 134, 140, 182, 184, 188, 212, 222, 238, 240, 242, 246};
  for (const auto& [command, line] : guarded) {
    SCOPED_TRACE(command);
    log.Clear();
    EXPECT_NO_THROW(comm.ReadCommand(command));
    EXPECT_EQ(log.Texts(), std::vector<std::string>{line});
  }
  for (const int command : unguarded) {
    SCOPED_TRACE(command);
    log.Clear();
    const auto requestsBefore = device->requests.size();
    EXPECT_THROW(comm.ReadCommand(command), std::runtime_error);
    EXPECT_EQ(device->requests.size(), requestsBefore + 1);
    EXPECT_TRUE(log.Texts().empty());
  }
}

}  // namespace
