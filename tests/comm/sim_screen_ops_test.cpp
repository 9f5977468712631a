// Every screen operation against the simulated positioner: the ids it
// sends, in order, as the operation tables give them, and the values that
// land in its fields (or, for writes, in the device).
#include <gtest/gtest.h>

#include <set>
#include <variant>

#include "sim/variables.h"
#include "sim_device.h"

namespace {

using I = CDeviceImage;
using Field = std::variant<BYTE I::*, WORD I::*, DWORD I::*, double I::*>;
using Op = ScreenOp;

struct OpCase {
  Op op;
  std::vector<WORD> ids;        // in request order
  std::vector<Field> fields;    // one per id, where the operation keeps or takes the value
  std::vector<double> args = {};
};

// The operation tables, transcribed for the test.
const std::vector<OpCase>& Cases() {
  static const std::vector<OpCase> cases = {
      {Op::ReadDashboardCyclicParameters, {2, 6, 10, 12, 55, 56, 135, 264},
       {&I::m_dVar2, &I::m_dVar6, &I::m_dVar10, &I::m_dVar12, &I::m_byDipSwitches, &I::m_bySoftConfig,
        &I::m_dTemperature, &I::m_byVar264}},
      {Op::ReadDashboardSlowReadParameters, {8, 62, 63, 117, 118},
       {&I::m_byControlMode, &I::m_dVar62, &I::m_dVar63, &I::m_dPosAlertHigh, &I::m_dPosAlertLow}},
      {Op::WriteCmd201CmdPctDigital, {3}, {}, {42.5}},
      {Op::WriteCmd201ControlModeAndCmdPct, {8, 3}, {}, {1, 33.25}},
      {Op::WriteCmd201ControlEnable, {8}, {&I::m_byControlMode}, {1}},
      {Op::ReadCmd200PressureSensorsPresent, {265}, {&I::m_byPressureSensors}},
      {Op::ReadAnnunciatorSetup, {305, 301, 335, 331, 336, 332, 295, 296, 297, 302, 306},
       {&I::m_nValveCycles, &I::m_nValveTravel, &I::m_nVar335, &I::m_nVar331, &I::m_nVar336, &I::m_nVar332,
        &I::m_dVar295, &I::m_dVar296, &I::m_dVar297, &I::m_dwValveTravelLimit302, &I::m_dwValveCycLimit306}},
      {Op::ReadAnnunciatorValues, {12, 119, 490, 118, 117, 63, 62, 135, 152},
       {&I::m_dVar12Annunc, &I::m_dDeviationLimit, &I::m_dPiezoVoltage, &I::m_dVar118Annunc, &I::m_dVar117Annunc,
        &I::m_dVar63Annunc, &I::m_dVar62Annunc, &I::m_dTemperatureAnnunc, &I::m_byTempUnitCode}},
      {Op::ReadLocalPanel, {179}, {&I::m_byLocalPanel}},
      {Op::ReadEventLogCount, {454}, {&I::m_byEventLogCtl}},
      {Op::WriteEventLogVar454, {454}, {}, {1}},
      {Op::WriteEventLogVars455, {454, 455}, {}, {1, 3}},
      {Op::WriteEventLogVars457, {454, 457}, {}, {1, 4}},
      {Op::WriteEventLogVars459, {454, 459}, {}, {1, 5}},
      {Op::ReadValveHealth, {305, 301, 116}, {&I::m_nValveCycles, &I::m_nValveTravel, &I::m_dVar116}},
      {Op::ReadValveHealthVar150, {150}, {&I::m_byTravelUnitCode}},
      {Op::ReadCycleAndTravelLimits, {306, 302, 307, 303, 309, 150, 310},
       {&I::m_dwValveCycLimit306, &I::m_dwValveTravelLimit302, &I::m_dwValveCycLimit307,
        &I::m_dwValveTravelLimit303, &I::m_dVar309, &I::m_byTravelUnitCode, &I::m_dVar310}},
      {Op::WriteCycleAndTravelLimits, {309, 303, 302, 310, 306, 307},
       {&I::m_dVar309, &I::m_dwValveTravelLimit303, &I::m_dwValveTravelLimit302, &I::m_dVar310,
        &I::m_dwValveCycLimit306, &I::m_dwValveCycLimit307}},
      {Op::ReadCycleAndTravelCounts, {301, 116, 305}, {&I::m_nValveTravel, &I::m_dVar116, &I::m_nValveCycles}},
      {Op::ReadPositionerHealth, {295, 335, 135, 490, 331},
       {&I::m_dVar295, &I::m_nVar335, &I::m_dTemperature, &I::m_dPiezoVoltage, &I::m_nVar331}},
      {Op::ReadVar152, {152}, {&I::m_byTempUnitCode}},
      {Op::ReadTemperature, {135}, {&I::m_dTemperature}},
      {Op::ReadPilotRelay, {295, 335, 331}, {&I::m_dVar295, &I::m_nVar335, &I::m_nVar331}},
      {Op::ReadPilotRelayA, {332, 333, 296, 297, 336, 337},
       {&I::m_nVar332, &I::m_nVar333, &I::m_dVar296, &I::m_dVar297, &I::m_nVar336, &I::m_nVar337}},
      {Op::WritePilotRelayValues, {332, 333, 296, 297, 336, 337},
       {&I::m_nVar332, &I::m_nVar333, &I::m_dVar296, &I::m_dVar297, &I::m_nVar336, &I::m_nVar337}},
      {Op::ReadPiezoVoltage, {490}, {&I::m_dPiezoVoltage}},
      {Op::ReadControlHealth, {10, 12, 288}, {&I::m_dVar10, &I::m_dVar12, &I::m_byPstResultCode}},
      {Op::ReadDeviationLimits, {119, 120}, {&I::m_dDeviationLimit, &I::m_dDeviationLimit2}},
      {Op::WriteDeviationLimits, {119, 120}, {&I::m_dDeviationLimit, &I::m_dDeviationLimit2}},
      {Op::ReadVar12, {12}, {&I::m_dVar12}},
      {Op::ReadPosAlertLimits, {117, 118}, {&I::m_dPosAlertHigh, &I::m_dPosAlertLow}},
      {Op::WritePosAlertLimits, {117, 118}, {&I::m_dPosAlertHigh, &I::m_dPosAlertLow}},
      {Op::ReadVar10ForAlerts, {10}, {&I::m_dVar10}},
      {Op::WriteAlertVar461, {461}, {&I::m_byHistogramSelect}},
      {Op::WriteAlertVars461And462, {461, 462}, {&I::m_byHistogramSelect, &I::m_byHistogramReset}},
      {Op::ReadStrokeChar, {167, 55, 56}, {&I::m_byStrokeCharSel, &I::m_byDipSwitches, &I::m_bySoftConfig}},
      {Op::WriteStrokeChar, {167, 56}, {&I::m_byStrokeCharSel, &I::m_bySoftConfig}, {2, 9}},
      {Op::ReadCustomCharSetup, {167, 56, 150, 116},
       {&I::m_byStrokeCharSel, &I::m_bySoftConfig, &I::m_byTravelUnitCode, &I::m_dVar116}},
      {Op::ReadCustomCharVar229, {229}, {&I::m_byActTypeCode}},
      {Op::ReadVar10, {10}, {&I::m_dVar10}},
      {Op::ReadPressureControl, {56, 43}, {&I::m_bySoftConfig, &I::m_dVar43}},
      {Op::WritePressureControl, {56, 43}, {&I::m_bySoftConfig, &I::m_dVar43}},
      {Op::ReadSensorCalibValues, {69, 10, 170, 56, 42},
       {&I::m_wVar69, &I::m_dVar10SensCal, &I::m_bySensorCalCmd, &I::m_bySoftConfig, &I::m_byPriorityBits}},
      {Op::ReadSensorCalibRaw, {80, 81, 17}, {&I::m_wVar80, &I::m_wVar81, &I::m_dVar17}},
      {Op::WriteCalibCommand, {170}, {&I::m_bySensorCalCmd}},
      {Op::ReadZeroSupplyValues, {71, 72, 73}, {&I::m_wVar71, &I::m_wVar72, &I::m_wVar73}},
      {Op::ReadZeroSupplyState, {74}, {&I::m_wZeroSupplyState}},
      {Op::WriteZeroSupplyState, {74}, {&I::m_wZeroSupplyState}},
      {Op::ReadCommandCalib, {126, 85, 86, 87}, {&I::m_wVar126, &I::m_wVar85, &I::m_wVar86, &I::m_wVar87}},
      {Op::ReadCommandCalibState, {1, 88}, {&I::m_dVar1, &I::m_wCmdCalState}},
      {Op::WriteCommandCalibStep, {14}, {}, {3}},
      {Op::WriteTestCommand, {141}, {}, {2}},
      {Op::ReadTestSetup, {116, 150, 391, 410, 56, 142, 143, 145, 149, 144, 147},
       {&I::m_dVar116, &I::m_byTravelUnitCode, &I::m_dVar391, &I::m_byAreaUnitCode, &I::m_bySoftConfig,
        &I::m_dVar142, &I::m_dVar143, &I::m_dVar145, &I::m_dVar149, &I::m_byTestState, &I::m_byVar147}},
      {Op::WriteTestSetup, {142, 143, 145, 149, 144},
       {&I::m_dVar142, &I::m_dVar143, &I::m_dVar145, &I::m_dVar149, &I::m_byTestState}},
      {Op::ReadTestState, {146, 144}, {&I::m_dVar146, &I::m_byTestState}},
      {Op::WriteTestState, {144}, {}},
      {Op::WriteTestVar147, {147}, {}},
      {Op::ReadPstSetup, {142, 143, 145, 149, 289, 144, 147},
       {&I::m_dVar142, &I::m_dVar143, &I::m_dVar145, &I::m_dVar149, &I::m_dVar289, &I::m_byTestState,
        &I::m_byVar147}},
      {Op::WritePstSetup, {142, 143, 145, 149, 289, 144},
       {&I::m_dVar142, &I::m_dVar143, &I::m_dVar145, &I::m_dVar149, &I::m_dVar289, &I::m_byTestState}},
      {Op::ReadPstResult, {285, 287, 288}, {&I::m_dVar285, &I::m_dVar287, &I::m_byPstResultCode}},
      {Op::WritePstVar147, {147}, {}, {1}},
      {Op::ReadHdrlState, {8, 3}, {&I::m_byControlMode, &I::m_dCommandPct}},
      {Op::ReadDataLoggerState, {152}, {&I::m_byTempUnitCode}},
      {Op::ReadDataLoggerData, {6, 2, 10, 48, 49, 135},
       {&I::m_dVar6, &I::m_dVar2, &I::m_dVar10, &I::m_dVar48, &I::m_dVar49, &I::m_dTemperature}},
      {Op::ReadTechSensors, {83, 10, 132, 78, 48, 1, 88},
       {&I::m_wVar83, &I::m_dVar10SensCal, &I::m_dVar132, &I::m_wVar78, &I::m_dVar48, &I::m_dVar1,
        &I::m_wCmdCalState}},
      {Op::ReadAuxiliaryBytes, {228, 230, 229, 231, 211, 212, 189, 196},
       {&I::m_byActManufacturerCode, &I::m_byActSizeCode, &I::m_byActTypeCode, &I::m_bySpringTypeCode,
        &I::m_byValveModelCode, &I::m_byValveBodySizeCode, &I::m_byFlowDirCode, &I::m_byFailPosCode}},
  };
  return cases;
}

double Get(const CWexletCoreCommunication& c, const Field& f) {
  return std::visit([&](auto field) { return static_cast<double>(c.*field); }, f);
}

bool Scaled(WORD id) { return id >= 295 && id <= 297; }

class SimScreenOps : public testsupport::SimDeviceTest {
 protected:
  // A value of its own for every variable, exact in its wire type.
  static double Distinct(WORD id, sim::WireType type, int salt) {
    switch (type) {
      case sim::WireType::U8: return (id + salt) % 200 + 3;
      case sim::WireType::U16: return id * 3 + 1 + salt;
      case sim::WireType::U32: return id * 100003.0 + 7 + salt;
      case sim::WireType::F32: return id + 0.25 + salt;
    }
    return 0;
  }
};

TEST_F(SimScreenOps, TheTableCoversEveryOperation) {
  std::set<int> covered;
  for (const OpCase& c : Cases()) covered.insert(static_cast<int>(c.op));
  EXPECT_EQ(covered.size(), static_cast<size_t>(ScreenOp::Count));
}

TEST_F(SimScreenOps, EachOperationSendsItsIdsAndStoresWhatTheDeviceHolds) {
  for (const OpCase& c : Cases()) {
    SCOPED_TRACE(CWexletCoreCommunication::ScreenOpName(c.op));
    // Fresh device values, and other values in the image for writes to send.
    for (WORD id : c.ids) {
      const auto type = sim::TypeOf(id);
      ASSERT_TRUE(type) << id;
      if (id != 42) device->SetVariable(id, Distinct(id, *type, 0));
    }
    for (size_t i = 0; i < c.fields.size(); ++i) {
      const double v = Distinct(c.ids[i], *sim::TypeOf(c.ids[i]), 1) * (Scaled(c.ids[i]) ? 1000 : 1);
      std::visit([&](auto field) { comm.*field = static_cast<std::remove_reference_t<decltype(comm.*field)>>(v); },
                 c.fields[i]);
    }
    const std::vector<double>& args = c.args;
    std::vector<double> sent;
    for (size_t i = 0; i < c.fields.size(); ++i) sent.push_back(Get(comm, c.fields[i]));

    device->ClearRequests();
    bool ok = false;
    switch (args.size()) {
      case 0: ok = comm.RunScreenOp(c.op); break;
      case 1: ok = comm.RunScreenOp(c.op, {args[0]}); break;
      default: ok = comm.RunScreenOp(c.op, {args[0], args[1]}); break;
    }
    EXPECT_TRUE(ok);
    ASSERT_EQ(device->Requests().size(), 1u);
    const auto& request = device->Requests()[0];

    // The ids, in order, walking the frame by each value's width.
    std::vector<WORD> ids;
    const bool write = request[0] == 201;
    for (size_t at = 2; at + 1 < request.size();) {
      const WORD id = static_cast<WORD>(request[at] << 8 | request[at + 1]);
      ids.push_back(id);
      at += 2 + (write ? sim::SizeOf(sim::TypeOf(id).value_or(sim::WireType::U8)) : 0);
    }
    EXPECT_EQ(ids, c.ids);
    EXPECT_EQ(request[1] + 2u, request.size());

    for (size_t i = 0; i < c.ids.size(); ++i) {
      const WORD id = c.ids[i];
      // The device takes a written supply count as its zero.
      const double inDevice = device->Variable(write && id == 74 ? 71 : id);
      if (write) {
        // What the device got: the argument, the constant, or the field;
        // the abort leaves the test state at 0.
        const double expected = i < args.size()                ? args[i]
                                : c.op == Op::WriteTestState   ? 0
                                : c.op == Op::WriteTestVar147  ? 0
                                                               : sent.at(i) / (Scaled(id) ? 1000 : 1);
        EXPECT_DOUBLE_EQ(inDevice, expected) << "variable " << id;
      }
      if (i < c.fields.size()) {
        // A value the device works out is narrowed on the wire.
        const double onWire = sim::TypeOf(id) == sim::WireType::F32 ? static_cast<float>(inDevice) : inDevice;
        EXPECT_DOUBLE_EQ(Get(comm, c.fields[i]), onWire * (Scaled(id) ? 1000 : 1)) << "variable " << id;
      }
    }
  }
  for (const std::string& line : log.Texts()) ADD_FAILURE() << line;
}

}  // namespace
