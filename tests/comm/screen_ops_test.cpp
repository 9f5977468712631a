// Device-variable lists: the worked frames, the text and scale rules, and
// replies that do not answer the list.
#include <gtest/gtest.h>

#include "scripted_device.h"

namespace {

using testsupport::Bytes;
using testsupport::Reply;
using ScreenOps = testsupport::ScriptedDeviceTest;

TEST_F(ScreenOps, WorkedFrames) {
  ConnectAll();
  struct Case {
    const char* name;
    std::function<void(CWexletCoreCommunication&)> run;
    Bytes request;
  } cases[] = {
      {"position alert limits", [](auto& c) { c.ReadPosAlertLimits(); }, {200, 4, 0, 117, 0, 118}},
      {"control enable", [](auto& c) { c.WriteCmd201ControlEnable(1); }, {201, 3, 0, 8, 1}},
      {"event log 457", [](auto& c) { c.WriteEventLogVars457(2, 5); }, {201, 6, 1, 198, 2, 1, 201, 5}},
      {"one byte", [](auto& c) { c.ReadLocalPanel(); }, {200, 2, 0, 179}},
      {"digital command", [](auto& c) { c.WriteCmd201CmdPctDigital(100.0); }, {201, 6, 0, 3, 0x42, 0xC8, 0, 0}},
      {"mode and command", [](auto& c) { c.WriteCmd201ControlModeAndCmdPct(1, -2.0); },
       {201, 9, 0, 8, 1, 0, 3, 0xC0, 0, 0, 0}},
      {"test state constant", [](auto& c) { c.WriteTestState(); }, {201, 3, 0, 144, 34}},
      {"test 147 constant", [](auto& c) { c.WriteTestVar147(); }, {201, 3, 0, 147, 0}},
      {"test data", [](auto& c) { c.ReadTestData(); }, {214}},
      // 5.0 = 0x40A00000, 10.0 = 0x41200000, 80.0 = 0x42A00000, 20.0 = 0x41A00000 (float32, big-endian).
      {"deviation limits", [](auto& c) {
         c.m_dDeviationLimit = 5.0;
         c.m_dDeviationLimit2 = 10.0;
         c.WriteDeviationLimits();
       },
       {201, 12, 0, 119, 0x40, 0xA0, 0, 0, 0, 120, 0x41, 0x20, 0, 0}},
      {"position alert set points", [](auto& c) {
         c.m_dPosAlertHigh = 80.0;
         c.m_dPosAlertLow = 20.0;
         c.WritePosAlertLimits();
       },
       {201, 12, 0, 117, 0x42, 0xA0, 0, 0, 0, 118, 0x41, 0xA0, 0, 0}},
      {"histogram selector", [](auto& c) {
         c.m_byHistogramSelect = 3;
         c.WriteAlertVar461();
       },
       {201, 3, 0x01, 0xCD, 3}},
      {"histogram reset", [](auto& c) {
         c.m_byHistogramSelect = 2;
         c.m_byHistogramReset = 1;
         c.WriteAlertVars461And462();
       },
       {201, 6, 0x01, 0xCD, 2, 0x01, 0xCE, 1}},
      {"histogram read", [](auto& c) { c.ReadCommand(208); }, {208}},
      {"auxiliary bytes", [](auto& c) { c.ReadAuxiliaryBytes(); },
       {200, 16, 0, 228, 0, 230, 0, 229, 0, 231, 0, 211, 0, 212, 0, 189, 0, 196}},
  };
  for (const Case& c : cases) {
    c.run(comm);
    EXPECT_EQ(device->requests.back(), c.request) << c.name;
  }
}

TEST_F(ScreenOps, RequestLengths) {
  ConnectAll();
  struct Case {
    ScreenOp op;
    size_t length;
  } cases[] = {
      {ScreenOp::ReadAnnunciatorSetup, 24},      {ScreenOp::WriteCycleAndTravelLimits, 38},
      {ScreenOp::WritePilotRelayValues, 38},     {ScreenOp::WriteTestSetup, 29},
      {ScreenOp::WritePstSetup, 35},             {ScreenOp::ReadDashboardCyclicParameters, 18},
  };
  for (const Case& c : cases) {
    comm.RunScreenOp(c.op);
    EXPECT_EQ(device->requests.back().size(), c.length) << CWexletCoreCommunication::ScreenOpName(c.op);
    EXPECT_EQ(device->requests.back()[1], c.length - 2);
  }
}

TEST_F(ScreenOps, ControlEnableStoresTheEchoedMode) {
  ConnectAll();
  device->reply = Reply(201, {0, 8, 3});
  EXPECT_TRUE(comm.WriteCmd201ControlEnable(1));
  EXPECT_EQ(comm.m_byControlMode, 3);
}

TEST_F(ScreenOps, MixedWidthsAreWalkedByType) {
  ConnectAll();
  // 306 d, 302 d, 307 d, 303 d, 309 f, 150 b, 310 f
  device->reply = Reply(200, {0x01, 0x32, 0, 0, 0, 6,          // 306 = 6
                              0x01, 0x2E, 0, 0, 0, 2,          // 302 = 2
                              0x01, 0x33, 0, 0, 0, 7,          // 307 = 7
                              0x01, 0x2F, 0, 0, 0, 3,          // 303 = 3
                              0x01, 0x35, 0x3F, 0xC0, 0, 0,    // 309 = 1.5
                              0x00, 0x96, 49,                  // 150 = 49
                              0x01, 0x36, 0xC1, 0x20, 0, 0});  // 310 = -10
  EXPECT_TRUE(comm.ReadCycleAndTravelLimits());
  EXPECT_EQ(comm.m_dwValveCycLimit306, 6u);
  EXPECT_EQ(comm.m_dwValveTravelLimit302, 2u);
  EXPECT_EQ(comm.m_dwValveCycLimit307, 7u);
  EXPECT_EQ(comm.m_dwValveTravelLimit303, 3u);
  EXPECT_EQ(comm.m_dVar309, 1.5);
  EXPECT_EQ(comm.m_byTravelUnitCode, 49);
  EXPECT_EQ(comm.m_strTravelUnits, _bstr_t("##TRAVEL_units_49_EnumDescr"));
  EXPECT_EQ(comm.m_dVar310, -10.0);
}

TEST_F(ScreenOps, PilotRelayValuesAreKeptTimesAThousand) {
  ConnectAll();
  // 332 d, 333 d, 296 f, 297 f, 336 d, 337 d
  comm.m_dVar296 = 250;  // goes out as 0.25
  comm.m_dVar297 = 2000;  // 2.0
  comm.m_nVar332 = 0xFFFFFFFF;
  device->reply = Reply(201, {0x01, 0x4C, 0, 0, 0, 1, 0x01, 0x4D, 0, 0, 0, 2, 0x01, 0x28, 0x3E, 0x80, 0, 0,
                              0x01, 0x29, 0x3F, 0xC0, 0, 0, 0x01, 0x50, 0, 0, 0, 5, 0x01, 0x51, 0, 0, 0, 6});
  EXPECT_TRUE(comm.WritePilotRelayValues());
  EXPECT_EQ(device->requests.back(),
            (Bytes{201, 36, 0x01, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x4D, 0, 0, 0, 0, 0x01, 0x28, 0x3E, 0x80, 0, 0,
                   0x01, 0x29, 0x40, 0x00, 0, 0, 0x01, 0x50, 0, 0, 0, 0, 0x01, 0x51, 0, 0, 0, 0}));
  EXPECT_EQ(comm.m_nVar332, 1u);
  EXPECT_EQ(comm.m_dVar296, 250.0);
  EXPECT_EQ(comm.m_dVar297, 1500.0);
  EXPECT_EQ(comm.m_nVar337, 6u);

  device->reply = Reply(200, {0x01, 0x27, 0x3E, 0x80, 0, 0, 0x01, 0x4F, 0, 0, 0, 9, 0x01, 0x4B, 0, 0, 0, 8});
  EXPECT_TRUE(comm.ReadPilotRelay());
  EXPECT_EQ(comm.m_dVar295, 250.0);
}

TEST_F(ScreenOps, TemperatureUnitAndScaleDependOnTheOperation) {
  ConnectAll();
  struct Case {
    ScreenOp op;
    BYTE code;
    const char* unit;
    int upper, lower;
  } cases[] = {
      {ScreenOp::ReadVar152, 32, "\xC2\xB0" "C", 86, -50},
      {ScreenOp::ReadVar152, 33, "\xC2\xB0" "F", 186, -50},
      {ScreenOp::ReadDataLoggerState, 0, "\xC2\xB0" "C", 86, -50},
      {ScreenOp::ReadAnnunciatorValues, 32, "\xC2\xB0" "C", 80, -40},
      {ScreenOp::ReadAnnunciatorValues, 33, "\xC2\xB0" "F", 178, -40},
  };
  for (const Case& c : cases) {
    Bytes data;
    if (c.op == ScreenOp::ReadAnnunciatorValues) {
      for (WORD id : {12, 119, 490, 118, 117, 63, 62, 135})
        data.insert(data.end(), {static_cast<BYTE>(id >> 8), static_cast<BYTE>(id), 0, 0, 0, 0});
    }
    data.insert(data.end(), {0, 152, c.code});
    device->reply = Reply(200, data);
    EXPECT_TRUE(comm.RunScreenOp(c.op));
    EXPECT_EQ(comm.m_strVar152, c.unit);
    EXPECT_EQ(comm.m_nTempHour5, c.upper);
    EXPECT_EQ(comm.m_nTempHour6, c.lower);
  }
}

TEST_F(ScreenOps, CodeTextRules) {
  ConnectAll();
  auto one = [&](WORD id, BYTE code) { device->reply = Reply(200, {static_cast<BYTE>(id >> 8), static_cast<BYTE>(id), code}); };
  struct TravelCase {
    BYTE code;
    const char* key;
  } travel[] = {{47, "##TRAVEL_units_47_EnumDescr"}, {49, "##TRAVEL_units_49_EnumDescr"},
                {57, "##TRAVEL_units_57_EnumDescr"}, {143, "##TRAVEL_units_143_EnumDescr"},
                {48, "##TRAVEL_units_57_EnumDescr"}, {0, "##TRAVEL_units_57_EnumDescr"}};
  for (const TravelCase& c : travel) {
    one(150, c.code);
    comm.ReadValveHealthVar150();
    EXPECT_EQ(comm.m_strTravelUnits.str(), c.key) << int(c.code);
  }

  // Result codes above 3 keep the last text.
  auto result = [&](BYTE code) {
    device->reply = Reply(200, {0x01, 0x1D, 0, 0, 0, 0, 0x01, 0x1F, 0, 0, 0, 0, 0x01, 0x20, code});
    comm.ReadPstResult();
  };
  result(2);
  EXPECT_EQ(comm.m_strPstResult.str(), "##PST_RESULT_2_EnumDescr");
  result(4);
  EXPECT_EQ(comm.m_byPstResultCode, 4);
  EXPECT_EQ(comm.m_strPstResult.str(), "##PST_RESULT_2_EnumDescr");
}

TEST_F(ScreenOps, AreaUnitOnlyForItsTwoCodes) {
  ConnectAll();
  // 116 f, 150 b, 391 f, 410 b, 56 b, 142 f, 143 f, 145 f, 149 f, 144 b, 147 b
  auto setup = [&](BYTE area) {
    device->reply = Reply(200, {0, 116, 0, 0, 0, 0, 0, 150, 57, 0x01, 0x87, 0, 0, 0, 0, 0x01, 0x9A, area, 0, 56, 0,
                                0, 142, 0, 0, 0, 0, 0, 143, 0, 0, 0, 0, 0, 145, 0, 0, 0, 0, 0, 149, 0, 0, 0, 0, 0, 144,
                                0, 0, 147, 0});
    return comm.ReadTestSetup();
  };
  EXPECT_TRUE(setup(2));
  EXPECT_EQ(comm.m_strAreaUnit, "");
  setup(1);
  EXPECT_EQ(comm.m_strAreaUnit, "cm\xC2\xB2");
  setup(0);
  EXPECT_EQ(comm.m_strAreaUnit, "in\xC2\xB2");
  setup(7);
  EXPECT_EQ(comm.m_strAreaUnit, "in\xC2\xB2");
}

TEST_F(ScreenOps, RepliesThatDoNotAnswerTheListStoreNothing) {
  ConnectAll();
  comm.m_dPosAlertHigh = 95;
  comm.m_dPosAlertLow = 5;
  const Bytes good = Reply(200, {0, 117, 0x42, 0xC8, 0, 0, 0, 118, 0x41, 0x20, 0, 0});
  struct Case {
    const char* name;
    Bytes reply;
    const char* log;
  } cases[] = {
      {"other id", Reply(200, {0, 117, 0x42, 0xC8, 0, 0, 0, 119, 0x41, 0x20, 0, 0}),
       "Reply to command 200 not decoded: variable 119 where 118 was asked"},
      {"ids swapped", Reply(200, {0, 118, 0x42, 0xC8, 0, 0, 0, 117, 0x41, 0x20, 0, 0}),
       "Reply to command 200 not decoded: variable 118 where 117 was asked"},
      {"shorter than the list", Bytes(good.begin(), good.end() - 1),
       "Reply to command 200 not decoded: byte count 14 beyond the 15 bytes received"},
      {"a byte value where a float belongs", Reply(200, {0, 117, 1, 0, 118, 2}),
       "Reply to command 200 not decoded: byte count 8, response code 0, layout needs 16 bytes"},
      {"error reply", Bytes{200, 2, 2, 0}, "Reply to command 200 not decoded: byte count 2, response code 2, layout needs 16 bytes"},
  };
  for (const Case& c : cases) {
    log.Clear();
    device->reply = c.reply;
    EXPECT_FALSE(comm.ReadPosAlertLimits()) << c.name;
    EXPECT_EQ(comm.m_dPosAlertHigh, 95) << c.name;
    EXPECT_EQ(comm.m_dPosAlertLow, 5) << c.name;
    EXPECT_EQ(log.Texts(), std::vector<std::string>{c.log}) << c.name;
  }
  device->reply = good;
  EXPECT_TRUE(comm.ReadPosAlertLimits());
  EXPECT_EQ(comm.m_dPosAlertHigh, 100.0);
  EXPECT_EQ(comm.m_dPosAlertLow, 10.0);
}

TEST_F(ScreenOps, NoReplyChangesNothingAndSaysSo) {
  ConnectAll();
  device->reply.reset();
  comm.m_dVar10 = 42;
  EXPECT_FALSE(comm.ReadVar10());
  EXPECT_FALSE(comm.ReadTestData());
  EXPECT_EQ(comm.m_dVar10, 42);
  EXPECT_TRUE(log.Lines().empty());
}

}  // namespace
