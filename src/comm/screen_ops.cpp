// Device-variable lists (commands 200 and 201) and the screen operations
// built on them, each told once as data.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <variant>

#include "comm/communication.h"
#include "comm/status_rules.h"
#include "platform/sys/numeric.h"
#include "support/language_table.h"
#include "support/log.h"

using Image = CDeviceImage;
using FieldRef = std::variant<std::monostate, BYTE Image::*, WORD Image::*, DWORD Image::*, double Image::*>;

// One entry of a list: the variable, the field its value is decoded into
// (and, for a write, by default taken from), and where a written value
// comes from otherwise.
struct CWexletCoreCommunication::ListItem {
  enum class Source { Field, Argument, Constant };
  WORD id;
  FieldRef field;
  Source source = Source::Field;
  double value = 0;  // the argument's index, or the constant
};

struct CWexletCoreCommunication::ListSpec {
  enum class Reply { Read, ReadBack, Ignored };
  ScreenOp op;
  const char* name;
  BYTE command;
  Reply reply;
  bool guarded;  // an exception inside is logged, not raised
  std::vector<ListItem> items;
  bool annunciatorScale = false;  // the temperature scale of the annunciator page
};

namespace {

using Item = CWexletCoreCommunication::ListItem;
using Source = Item::Source;

template <class T>
Item F(WORD id, T Image::*field) {
  return {id, field};
}
Item Arg(WORD id, int index, FieldRef field = {}) { return {id, field, Source::Argument, double(index)}; }
Item Const(WORD id, double value) { return {id, {}, Source::Constant, value}; }

bool KeptTimes1000(WORD id) { return id >= 295 && id <= 297; }

// An integer variable from a double: truncated, held to its range.
DWORD ToUnsigned(double v, double max) {
  if (!(v > 0)) return 0;
  return static_cast<DWORD>(std::min(std::trunc(v), max));
}

}  // namespace

namespace {

using Spec = CWexletCoreCommunication::ListSpec;
using Reply = Spec::Reply;
using Op = ScreenOp;
using I = Image;

const std::vector<Spec>& Specs() {
  static const std::vector<Spec> specs = {
      // Dashboard and alarm pages.
      {Op::ReadDashboardCyclicParameters, "ReadDashboardCyclicParameters", 200, Reply::Read, true,
       {F(2, &I::m_dVar2), F(6, &I::m_dVar6), F(10, &I::m_dVar10), F(12, &I::m_dVar12), F(55, &I::m_byDipSwitches),
        F(56, &I::m_bySoftConfig), F(135, &I::m_dTemperature), F(264, &I::m_byVar264)}},
      {Op::ReadDashboardSlowReadParameters, "ReadDashboardSlowReadParameters", 200, Reply::Read, true,
       {F(8, &I::m_byControlMode), F(62, &I::m_dVar62), F(63, &I::m_dVar63), F(117, &I::m_dPosAlertHigh),
        F(118, &I::m_dPosAlertLow)}},
      {Op::WriteCmd201CmdPctDigital, "WriteCmd201CmdPctDigital", 201, Reply::Ignored, true, {Arg(3, 0)}},
      {Op::WriteCmd201ControlModeAndCmdPct, "WriteCmd201ControlModeAndCmdPct", 201, Reply::Ignored, true,
       {Arg(8, 0), Arg(3, 1)}},
      {Op::WriteCmd201ControlEnable, "WriteCmd201ControlEnable", 201, Reply::ReadBack, true,
       {Arg(8, 0, &I::m_byControlMode)}},
      {Op::ReadCmd200PressureSensorsPresent, "ReadCmd200PressureSensorsPresent", 200, Reply::Read, true,
       {F(265, &I::m_byPressureSensors)}},
      {Op::ReadAnnunciatorSetup, "ReadAnnunciatorSetup", 200, Reply::Read, false,
       {F(305, &I::m_nValveCycles), F(301, &I::m_nValveTravel), F(335, &I::m_nVar335), F(331, &I::m_nVar331),
        F(336, &I::m_nVar336), F(332, &I::m_nVar332), F(295, &I::m_dVar295), F(296, &I::m_dVar296),
        F(297, &I::m_dVar297), F(302, &I::m_dwValveTravelLimit302), F(306, &I::m_dwValveCycLimit306)}},
      {Op::ReadAnnunciatorValues, "ReadAnnunciatorValues", 200, Reply::Read, false,
       {F(12, &I::m_dVar12Annunc), F(119, &I::m_dDeviationLimit), F(490, &I::m_dPiezoVoltage),
        F(118, &I::m_dVar118Annunc), F(117, &I::m_dVar117Annunc), F(63, &I::m_dVar63Annunc),
        F(62, &I::m_dVar62Annunc), F(135, &I::m_dTemperatureAnnunc), F(152, &I::m_byTempUnitCode)},
       true},
      {Op::ReadLocalPanel, "ReadLocalPanel", 200, Reply::Read, true, {F(179, &I::m_byLocalPanel)}},
      {Op::ReadEventLogCount, "ReadEventLogCount", 200, Reply::Read, false, {F(454, &I::m_byEventLogCtl)}},
      {Op::WriteEventLogVar454, "WriteEventLogVar454", 201, Reply::Ignored, false, {Arg(454, 0)}},
      {Op::WriteEventLogVars455, "WriteEventLogVars455", 201, Reply::Ignored, false, {Arg(454, 0), Arg(455, 1)}},
      {Op::WriteEventLogVars457, "WriteEventLogVars457", 201, Reply::Ignored, false, {Arg(454, 0), Arg(457, 1)}},
      {Op::WriteEventLogVars459, "WriteEventLogVars459", 201, Reply::Ignored, false, {Arg(454, 0), Arg(459, 1)}},
      // Health pages.
      {Op::ReadValveHealth, "ReadValveHealth", 200, Reply::Read, false,
       {F(305, &I::m_nValveCycles), F(301, &I::m_nValveTravel), F(116, &I::m_dVar116)}},
      {Op::ReadValveHealthVar150, "ReadValveHealthVar150", 200, Reply::Read, false, {F(150, &I::m_byTravelUnitCode)}},
      {Op::ReadCycleAndTravelLimits, "ReadCycleAndTravelLimits", 200, Reply::Read, false,
       {F(306, &I::m_dwValveCycLimit306), F(302, &I::m_dwValveTravelLimit302), F(307, &I::m_dwValveCycLimit307),
        F(303, &I::m_dwValveTravelLimit303), F(309, &I::m_dVar309), F(150, &I::m_byTravelUnitCode),
        F(310, &I::m_dVar310)}},
      {Op::WriteCycleAndTravelLimits, "WriteCycleAndTravelLimits", 201, Reply::ReadBack, false,
       {F(309, &I::m_dVar309), F(303, &I::m_dwValveTravelLimit303), F(302, &I::m_dwValveTravelLimit302),
        F(310, &I::m_dVar310), F(306, &I::m_dwValveCycLimit306), F(307, &I::m_dwValveCycLimit307)}},
      {Op::ReadCycleAndTravelCounts, "ReadCycleAndTravelCounts", 200, Reply::Read, false,
       {F(301, &I::m_nValveTravel), F(116, &I::m_dVar116), F(305, &I::m_nValveCycles)}},
      {Op::ReadPositionerHealth, "ReadPositionerHealth", 200, Reply::Read, false,
       {F(295, &I::m_dVar295), F(335, &I::m_nVar335), F(135, &I::m_dTemperature), F(490, &I::m_dPiezoVoltage),
        F(331, &I::m_nVar331)}},
      {Op::ReadVar152, "ReadVar152", 200, Reply::Read, false, {F(152, &I::m_byTempUnitCode)}},
      {Op::ReadTemperature, "ReadTemperature", 200, Reply::Read, false, {F(135, &I::m_dTemperature)}},
      {Op::ReadPilotRelay, "ReadPilotRelay", 200, Reply::Read, false,
       {F(295, &I::m_dVar295), F(335, &I::m_nVar335), F(331, &I::m_nVar331)}},
      {Op::ReadPilotRelayA, "ReadPilotRelayA", 200, Reply::Read, false,
       {F(332, &I::m_nVar332), F(333, &I::m_nVar333), F(296, &I::m_dVar296), F(297, &I::m_dVar297),
        F(336, &I::m_nVar336), F(337, &I::m_nVar337)}},
      {Op::WritePilotRelayValues, "WritePilotRelayValues", 201, Reply::ReadBack, false,
       {F(332, &I::m_nVar332), F(333, &I::m_nVar333), F(296, &I::m_dVar296), F(297, &I::m_dVar297),
        F(336, &I::m_nVar336), F(337, &I::m_nVar337)}},
      {Op::ReadPiezoVoltage, "ReadPiezoVoltage", 200, Reply::Read, false, {F(490, &I::m_dPiezoVoltage)}},
      {Op::ReadControlHealth, "ReadControlHealth", 200, Reply::Read, false,
       {F(10, &I::m_dVar10), F(12, &I::m_dVar12), F(288, &I::m_byPstResultCode)}},
      {Op::ReadDeviationLimits, "ReadDeviationLimits", 200, Reply::Read, false,
       {F(119, &I::m_dDeviationLimit), F(120, &I::m_dDeviationLimit2)}},
      {Op::WriteDeviationLimits, "WriteDeviationLimits", 201, Reply::ReadBack, false,
       {F(119, &I::m_dDeviationLimit), F(120, &I::m_dDeviationLimit2)}},
      {Op::ReadVar12, "ReadVar12", 200, Reply::Read, false, {F(12, &I::m_dVar12)}},
      {Op::ReadPosAlertLimits, "ReadPosAlertLimits", 200, Reply::Read, true,
       {F(117, &I::m_dPosAlertHigh), F(118, &I::m_dPosAlertLow)}},
      {Op::WritePosAlertLimits, "WritePosAlertLimits", 201, Reply::ReadBack, true,
       {F(117, &I::m_dPosAlertHigh), F(118, &I::m_dPosAlertLow)}},
      {Op::ReadVar10ForAlerts, "ReadVar10ForAlerts", 200, Reply::Read, false, {F(10, &I::m_dVar10)}},
      {Op::WriteAlertVar461, "WriteAlertVar461", 201, Reply::Ignored, false, {F(461, &I::m_byHistogramSelect)}},
      {Op::WriteAlertVars461And462, "WriteAlertVars461And462", 201, Reply::ReadBack, false,
       {F(461, &I::m_byHistogramSelect), F(462, &I::m_byHistogramReset)}},
      // Configuration and calibration pages.
      {Op::ReadStrokeChar, "ReadStrokeChar", 200, Reply::Read, false,
       {F(167, &I::m_byStrokeCharSel), F(55, &I::m_byDipSwitches), F(56, &I::m_bySoftConfig)}},
      {Op::WriteStrokeChar, "WriteStrokeChar", 201, Reply::ReadBack, false,
       {Arg(167, 0, &I::m_byStrokeCharSel), Arg(56, 1, &I::m_bySoftConfig)}},
      {Op::ReadCustomCharSetup, "ReadCustomCharSetup", 200, Reply::Read, false,
       {F(167, &I::m_byStrokeCharSel), F(56, &I::m_bySoftConfig), F(150, &I::m_byTravelUnitCode),
        F(116, &I::m_dVar116)}},
      {Op::ReadCustomCharVar229, "ReadCustomCharVar229", 200, Reply::Read, false, {F(229, &I::m_byActTypeCode)}},
      {Op::ReadVar10, "ReadVar10", 200, Reply::Read, false, {F(10, &I::m_dVar10)}},
      {Op::ReadPressureControl, "ReadPressureControl", 200, Reply::Read, false,
       {F(56, &I::m_bySoftConfig), F(43, &I::m_dVar43)}},
      {Op::WritePressureControl, "WritePressureControl", 201, Reply::Ignored, false,
       {F(56, &I::m_bySoftConfig), F(43, &I::m_dVar43)}},
      {Op::ReadSensorCalibValues, "ReadSensorCalibValues", 200, Reply::Read, false,
       {F(69, &I::m_wVar69), F(10, &I::m_dVar10SensCal), F(170, &I::m_bySensorCalCmd), F(56, &I::m_bySoftConfig),
        F(42, &I::m_byPriorityBits)}},
      {Op::ReadSensorCalibRaw, "ReadSensorCalibRaw", 200, Reply::Read, false,
       {F(80, &I::m_wVar80), F(81, &I::m_wVar81), F(17, &I::m_dVar17)}},
      {Op::WriteCalibCommand, "WriteCalibCommand", 201, Reply::ReadBack, false, {F(170, &I::m_bySensorCalCmd)}},
      {Op::ReadZeroSupplyValues, "ReadZeroSupplyValues", 200, Reply::Read, false,
       {F(71, &I::m_wVar71), F(72, &I::m_wVar72), F(73, &I::m_wVar73)}},
      {Op::ReadZeroSupplyState, "ReadZeroSupplyState", 200, Reply::Read, false, {F(74, &I::m_wZeroSupplyState)}},
      {Op::WriteZeroSupplyState, "WriteZeroSupplyState", 201, Reply::Ignored, false, {F(74, &I::m_wZeroSupplyState)}},
      {Op::ReadCommandCalib, "ReadCommandCalib", 200, Reply::Read, false,
       {F(126, &I::m_wVar126), F(85, &I::m_wVar85), F(86, &I::m_wVar86), F(87, &I::m_wVar87)}},
      {Op::ReadCommandCalibState, "ReadCommandCalibState", 200, Reply::Read, false,
       {F(1, &I::m_dVar1), F(88, &I::m_wCmdCalState)}},
      {Op::WriteCommandCalibStep, "WriteCommandCalibStep", 201, Reply::Ignored, false, {Arg(14, 0)}},
      // Test and monitoring pages.
      {Op::WriteTestCommand, "WriteTestCommand", 201, Reply::Ignored, false, {Arg(141, 0)}},
      {Op::ReadTestSetup, "ReadTestSetup", 200, Reply::Read, false,
       {F(116, &I::m_dVar116), F(150, &I::m_byTravelUnitCode), F(391, &I::m_dVar391), F(410, &I::m_byAreaUnitCode),
        F(56, &I::m_bySoftConfig), F(142, &I::m_dVar142), F(143, &I::m_dVar143), F(145, &I::m_dVar145),
        F(149, &I::m_dVar149), F(144, &I::m_byTestState), F(147, &I::m_byVar147)}},
      {Op::WriteTestSetup, "WriteTestSetup", 201, Reply::Ignored, false,
       {F(142, &I::m_dVar142), F(143, &I::m_dVar143), F(145, &I::m_dVar145), F(149, &I::m_dVar149),
        F(144, &I::m_byTestState)}},
      {Op::ReadTestState, "ReadTestState", 200, Reply::Read, false,
       {F(146, &I::m_dVar146), F(144, &I::m_byTestState)}},
      {Op::WriteTestState, "WriteTestState", 201, Reply::Ignored, false, {Const(144, 34)}},
      {Op::WriteTestVar147, "WriteTestVar147", 201, Reply::Ignored, false, {Const(147, 0)}},
      {Op::ReadPstSetup, "ReadPstSetup", 200, Reply::Read, false,
       {F(142, &I::m_dVar142), F(143, &I::m_dVar143), F(145, &I::m_dVar145), F(149, &I::m_dVar149),
        F(289, &I::m_dVar289), F(144, &I::m_byTestState), F(147, &I::m_byVar147)}},
      {Op::WritePstSetup, "WritePstSetup", 201, Reply::Ignored, false,
       {F(142, &I::m_dVar142), F(143, &I::m_dVar143), F(145, &I::m_dVar145), F(149, &I::m_dVar149),
        F(289, &I::m_dVar289), F(144, &I::m_byTestState)}},
      {Op::ReadPstResult, "ReadPstResult", 200, Reply::Read, false,
       {F(285, &I::m_dVar285), F(287, &I::m_dVar287), F(288, &I::m_byPstResultCode)}},
      {Op::WritePstVar147, "WritePstVar147", 201, Reply::Ignored, false, {Arg(147, 0)}},
      {Op::ReadHdrlState, "ReadHdrlState", 200, Reply::Read, false,
       {F(8, &I::m_byControlMode), F(3, &I::m_dCommandPct)}},
      {Op::ReadDataLoggerState, "ReadDataLoggerState", 200, Reply::Read, false, {F(152, &I::m_byTempUnitCode)}},
      {Op::ReadDataLoggerData, "ReadDataLoggerData", 200, Reply::Read, true,
       {F(6, &I::m_dVar6), F(2, &I::m_dVar2), F(10, &I::m_dVar10), F(48, &I::m_dVar48), F(49, &I::m_dVar49),
        F(135, &I::m_dTemperature)}},
      {Op::ReadTechSensors, "ReadTechSensors", 200, Reply::Read, true,
       {F(83, &I::m_wVar83), F(10, &I::m_dVar10SensCal), F(132, &I::m_dVar132), F(78, &I::m_wVar78),
        F(48, &I::m_dVar48), F(1, &I::m_dVar1), F(88, &I::m_wCmdCalState)}},
      // Configuration read.
      {Op::ReadAuxiliaryBytes, "ReadAuxiliaryBytes", 200, Reply::Read, false,
       {F(228, &I::m_byActManufacturerCode), F(230, &I::m_byActSizeCode), F(229, &I::m_byActTypeCode),
        F(231, &I::m_bySpringTypeCode), F(211, &I::m_byValveModelCode), F(212, &I::m_byValveBodySizeCode),
        F(189, &I::m_byFlowDirCode), F(196, &I::m_byFailPosCode)}},
  };
  return specs;
}

// The status poll: control mode and priority bits.
const Spec& PollSpec() {
  static const Spec spec = {Op::Count, "ReadPriorityBitsAndControlEnable", 200, Reply::Read, true,
                            {F(8, &I::m_byControlMode), F(42, &I::m_byPriorityBits)}};
  return spec;
}

const Spec& SpecOf(ScreenOp op) {
  const auto& specs = Specs();
  const auto index = static_cast<size_t>(op);
  if (index >= specs.size() || specs[index].op != op) throw std::logic_error("screen operation table out of order");
  return specs[index];
}

int Width(WORD id) { return WireWidth(VariableType(id).value()); }

}  // namespace

const char* CWexletCoreCommunication::ScreenOpName(ScreenOp op) { return SpecOf(op).name; }

bool CWexletCoreCommunication::RunScreenOp(ScreenOp op, std::initializer_list<double> args) {
  const ListSpec& spec = SpecOf(op);
  const std::vector<double> values(args);
  if (!spec.guarded) return RunList(spec, values);
  try {
    return RunList(spec, values);
  } catch (...) {
    WriteLog(_bstr_t("Error in ") + _bstr_t(spec.name) + _bstr_t("()"));
    return false;
  }
}

bool CWexletCoreCommunication::RunList(const ListSpec& spec, const std::vector<double>& args) {
  BuildListRequest(spec, args);
  if (!Transact() || !ListReplyFits(spec)) return false;
  if (spec.reply != ListSpec::Reply::Ignored) DecodeList(spec);
  return true;
}

void CWexletCoreCommunication::BuildListRequest(const ListSpec& spec, const std::vector<double>& args) {
  if (spec.command == 200) {
    BeginRequest(200, static_cast<BYTE>(2 * spec.items.size()));
    for (size_t i = 0; i < spec.items.size(); ++i) PutWord(static_cast<int>(2 * i), spec.items[i].id);
    return;
  }
  int count = 0;
  for (const ListItem& item : spec.items) count += 2 + Width(item.id);
  BeginRequest(201, static_cast<BYTE>(count));
  int at = 0;
  for (const ListItem& item : spec.items) {
    PutWord(at, item.id);
    at += 2;
    double value = item.value;
    if (item.source == ListItem::Source::Argument) value = args.at(static_cast<size_t>(item.value));
    if (item.source == ListItem::Source::Field)
      value = std::visit(
          [this](auto field) -> double {
            if constexpr (std::is_same_v<decltype(field), std::monostate>)
              return 0;
            else
              return static_cast<double>(this->*field);
          },
          item.field);
    const WireType type = *VariableType(item.id);
    switch (type) {
      case WireType::UInt8: PutByte(at, static_cast<BYTE>(ToUnsigned(value, 255))); break;
      case WireType::UInt16: PutWord(at, static_cast<WORD>(ToUnsigned(value, 65535))); break;
      case WireType::UInt32: PutDWord(at, ToUnsigned(value, 4294967295.0)); break;
      case WireType::Float32: PutFloat(at, KeptTimes1000(item.id) ? value * 0.001 : value); break;
    }
    at += WireWidth(type);
  }
}

// A list reply is whole and its own when it is as long as the list and
// echoes the ids in the order asked.
bool CWexletCoreCommunication::ListReplyFits(const ListSpec& spec) {
  int length = 4;
  for (const ListItem& item : spec.items) length += 2 + Width(item.id);
  if (!ReplyFits(length)) return false;
  int at = 4;
  for (const ListItem& item : spec.items) {
    const WORD echoed = GetWord(m_pResponse, at);
    if (echoed != item.id) {
      WriteLog(_bstr_t(plat::FormatNumber("Reply to command %d not decoded: variable %u where %u was asked",
                                          m_bySentCommand, echoed, item.id)));
      return false;
    }
    at += 2 + Width(item.id);
  }
  return true;
}

void CWexletCoreCommunication::DecodeList(const ListSpec& spec) {
  m_nCursor = 6;
  for (const ListItem& item : spec.items) {
    double value = 0;
    switch (*VariableType(item.id)) {
      case WireType::UInt8: value = GetByte(m_pResponse, m_nCursor); break;
      case WireType::UInt16: value = GetWord(m_pResponse, m_nCursor); break;
      case WireType::UInt32: value = GetDWord(m_pResponse, m_nCursor); break;
      case WireType::Float32: value = GetFloat(m_pResponse, m_nCursor); break;
    }
    if (KeptTimes1000(item.id)) value *= 1000;
    std::visit(
        [this, value](auto field) {
          if constexpr (!std::is_same_v<decltype(field), std::monostate>)
            this->*field = static_cast<std::remove_reference_t<decltype(this->*field)>>(value);
        },
        item.field);
    m_nCursor += Width(item.id) + 2;

    // Texts chosen from a code follow right after the code.
    switch (item.id) {
      case 42:
        m_bStatusRead = true;
        break;
      case 150: {
        const BYTE c = m_byTravelUnitCode;
        const int key = (c == 47 || c == 49 || c == 143) ? c : 57;
        m_strTravelUnits = TheLanguageTable().Lookup(_bstr_t(plat::FormatNumber("TRAVEL_units_%d_EnumDescr", key)));
        break;
      }
      case 152: {
        const status::TemperatureScale scale = status::TemperatureScaleOf(m_byTempUnitCode, spec.annunciatorScale);
        m_strVar152 = scale.unit;
        m_nTempHour5 = scale.max;
        m_nTempHour6 = scale.min;
        break;
      }
      case 410:
        if (m_byAreaUnitCode == 0) m_strAreaUnit = "in\xC2\xB2";
        if (m_byAreaUnitCode == 1) m_strAreaUnit = "cm\xC2\xB2";
        break;
      case 288:
        if (m_byPstResultCode <= 3)
          m_strPstResult =
              TheLanguageTable().Lookup(_bstr_t(plat::FormatNumber("PST_RESULT_%d_EnumDescr", m_byPstResultCode)));
        break;
      default:
        break;
    }
  }
}

void CWexletCoreCommunication::ReadPriorityBitsAndControlEnable() {
  try {
    BeginRequest(200, 4);
    PutWord(0, 8);
    PutWord(2, 42);
    if (!Transact()) {
      ++m_nFailCount;
      return;
    }
    if (m_pResponse[0] != 200) {
      // Counted as lost; another command's bytes are not taken as status.
      ++m_nFailCount;
      WriteLog(_bstr_t(plat::FormatNumber("reply count :%d", m_nFailCount)));
      return;
    }
    m_nFailCount = 0;
    if (ListReplyFits(PollSpec())) DecodeList(PollSpec());
  } catch (...) {
    WriteLog("Error in ReadPriorityBitsAndControlEnable()");
  }
}

bool CWexletCoreCommunication::ReadTestData() {
  BeginRequest(214);
  return Transact() && ParseResponse(214);
}
