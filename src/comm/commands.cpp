// Command read and write dispatch and the reply layouts of every record.
#include "comm/communication.h"
#include "comm/status_rules.h"
#include "platform/com/cp1252.h"
#include "platform/sys/numeric.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

struct ReadEntry {
  int command;
  const char* errorText;  // logged when the read raises; null: the caller sees it
};

constexpr ReadEntry kReads[] = {
    {0, nullptr},
    {12, nullptr},
    {13, nullptr},
    {132, "Error in Read_Command_Position_Data"},
    {134, nullptr},
    {138, "Error in Read_Configuration_Data"},
    {140, nullptr},
    {142, "Error in Read_User_Selectable_Units"},
    {156, "Error in Read_Valve_Travel_Cycle_Data"},
    {158, "Error in Read_Actuator_Travel_Cycle_Data"},
    {160, "Error in Read_Bellows_Travel_Cycle_Data"},
    {162, "Error in Read_Pilot_Travel_Cycle_Data"},
    {168, "Error in Read_Temperature_Hour_Counter_Data"},
    {170, "Error in Read_Health_Data"},
    {174, "Error in Read_Status_Data"},
    {176, "Error in Read_Status_Mask_Data"},
    {182, nullptr},
    {184, nullptr},
    {188, nullptr},
    {194, "Error in Read_Auxilliary_Card_1_Data"},
    {196, "Error in Read_Auxilliary_Card_2_Data"},
    {202, "Error in Read_Training_Mode_Configuration_Data"},
    {204, "Error in Read_Training_Mode_Histogram"},
    {208, "Error in Read_Histogram"},
    {212, nullptr},
    {222, nullptr},
    {238, nullptr},
    {240, nullptr},
    {242, nullptr},
    {246, nullptr},
};

const ReadEntry* FindRead(int command) {
  for (const ReadEntry& e : kReads)
    if (e.command == command) return &e;
  return nullptr;
}

_bstr_t Number(double value) { return _bstr_t(plat::FormatNumber("%g", value)); }

}  // namespace

int CWexletCoreCommunication::LayoutLength(int command) {
  switch (command) {
    case 0: return 12;
    case 12: return 28;
    case 13: return 25;
    case 132: return 55;
    case 134: case 188: return 46;
    case 138: case 170: return 20;
    case 142: case 182: return 10;
    case 156: return 57;
    case 158: case 160: case 168: return 37;
    case 162: case 212: return 45;
    case 174: case 176: return 36;
    case 184: case 202: return 29;
    case 194: case 196: return 64;
    case 204: case 208: return 68;
    case 238: case 240: case 242: case 246: return 69;
    case 214: return 61;
    case 222: return 11;
    default: return 0;  // no layout: nothing is decoded
  }
}

BYTE CWexletCoreCommunication::NextByte() { return GetByte(m_pResponse, m_nCursor++); }

WORD CWexletCoreCommunication::NextWord() {
  const WORD v = GetWord(m_pResponse, m_nCursor);
  m_nCursor += 2;
  return v;
}

DWORD CWexletCoreCommunication::NextDWord() {
  const DWORD v = GetDWord(m_pResponse, m_nCursor);
  m_nCursor += 4;
  return v;
}

double CWexletCoreCommunication::NextFloat() {
  const double v = GetFloat(m_pResponse, m_nCursor);
  m_nCursor += 4;
  return v;
}

double CWexletCoreCommunication::NextSample() { return static_cast<std::int16_t>(NextWord()) * m_dSampleScale; }

std::string CWexletCoreCommunication::NextPacked(int groups) {
  std::string text, group;
  for (int i = 0; i < groups; ++i, m_nCursor += 3) {
    UnpackPackedAscii(m_pResponse, m_nCursor, group);
    text += group;
  }
  return text;
}

bool CWexletCoreCommunication::ReadCommand(int command) {
  const ReadEntry* entry = FindRead(command);
  if (!entry) return false;
  bool decoded = false;
  auto run = [&] {
    if (command == 184) {
      BeginRequest(184, 1);
      PutByte(0, m_byCmd184Code);
    } else {
      BeginRequest(static_cast<BYTE>(command));
    }
    if (Transact()) decoded = ParseResponse(command);
  };
  if (!entry->errorText) {
    run();
    return decoded;
  }
  try {
    run();
  } catch (...) {
    WriteLog(entry->errorText);
  }
  return decoded;
}

bool CWexletCoreCommunication::WriteCommand(int command) {
  int layout = command - 1;
  switch (command) {
    case 17:
      // The packed message fills 24 data bytes; a longer frame would carry
      // bytes of an earlier request.
      BeginRequest(17, 24);
      PackMessage();
      layout = 12;
      break;
    case 18:
      BeginRequest(18, 21);
      PackTagAndDescriptor();
      layout = 13;
      break;
    case 135:
      return WriteCustomCurve(m_adCustCharY);
    case 157:
      BeginRequest(157, 29);
      PutTravelLimits(m_ValveRecord);
      PutFloat(16, m_ValveRecord.dSetting1);
      PutFloat(20, m_ValveRecord.dSetting2);
      PutFloat(24, m_ValveRecord.dSetting3);
      PutByte(28, m_ValveRecord.bySetting);
      break;
    case 159:
    case 161:
    case 163: {
      const TravelCycleRecord& r =
          command == 159 ? m_ActuatorRecord : command == 161 ? m_BellowsRecord : m_PilotRecord;
      BeginRequest(static_cast<BYTE>(command), 17);
      PutTravelLimits(r);
      PutByte(16, r.bySetting);
      break;
    }
    case 177:
      BeginRequest(177, 32);
      for (int k = 0; k < 32; ++k) PutByte(k, m_abyStatusMask[k]);
      break;
    case 183:
      BeginRequest(183, 6);
      for (int k = 0; k < 6; ++k) PutByte(k, m_abyCmd182[k]);
      break;
    case 187: {
      // A shorter text leaves the rest of the 24 bytes zero.
      const std::string text = plat::Utf8To1252(m_strCmd184Text).substr(0, 24);
      BeginRequest(187, 25);
      PutByte(0, m_byCmd184Code);
      for (size_t k = 0; k < text.size(); ++k) PutByte(1 + static_cast<int>(k), static_cast<BYTE>(text[k]));
      layout = 184;
      break;
    }
    case 189:
      BeginRequest(189, 42);
      for (int k = 0; k < 21; ++k) PutWord(2 * k, ToWord16(m_adCustCharX[k] * 100));
      break;
    case 195:
    case 197: {
      const AuxCardRecord& r = command == 195 ? m_Aux1 : m_Aux2;
      BeginRequest(static_cast<BYTE>(command), 48);
      PutByte(0, r.bySetting0);
      PutWord(1, r.wSetting1);
      for (int k = 0; k < 4; ++k) PutWord(3 + 2 * k, r.awSetting[k]);
      for (int k = 0; k < 33; ++k) PutByte(11 + k, r.abySetting[k]);
      PutFloat(44, r.dSetting);
      break;
    }
    case 203:
      BeginRequest(203, 5);
      PutFloat(0, m_TrainingConfig.dTrainSetting);
      PutByte(4, m_TrainingConfig.byTrainSetting);
      break;
    case 223:
      BeginRequest(223, 7);
      for (int k = 0; k < 7; ++k) PutByte(k, m_abyCmd222[k]);
      break;
    case 237:
      BeginRequest(237, 1);
      PutByte(0, m_byEventHistorySelect);
      layout = -1;  // the reply is not decoded
      break;
    default:
      return false;
  }
  if (!Transact()) return false;
  return layout < 0 || ParseResponse(layout);
}

bool CWexletCoreCommunication::WriteCustomCurve(const std::array<double, 21>& hundredths) {
  BeginRequest(135, 42);
  for (int k = 1; k < 21; ++k) PutWord(2 * k, ToWord16(hundredths[k]));
  return Transact() && ParseResponse(134);
}

void CWexletCoreCommunication::PutTravelLimits(const TravelCycleRecord& r) {
  PutDWord(0, r.dwLimit1A);
  PutDWord(4, r.dwLimit1B);
  PutDWord(8, r.dwLimit2A);
  PutDWord(12, r.dwLimit2B);
}

bool CWexletCoreCommunication::ParseResponse(int command) {
  const int length = LayoutLength(command);
  if (length == 0 || !ReplyFits(length)) return false;
  m_nCursor = 4;
  switch (command) {
    case 0:
      m_byDeviceRev = GetByte(m_pResponse, 9);
      m_bySoftwareRev = GetByte(m_pResponse, 10);
      m_byHardwareRev = GetByte(m_pResponse, 11);
      break;
    case 12:
      m_strMessage = NextPacked(8);
      break;
    case 13:
      m_strTag = NextPacked(2);
      m_strDescriptor = NextPacked(4);
      m_byDateDay = NextByte();
      m_byDateMonth = NextByte();
      m_byDateYear = NextByte();
      break;
    case 132:
      m_byCmdPosCode = GetByte(m_pResponse, 4);
      m_byCmdPos0 = GetByte(m_pResponse, 41);
      m_byCmdPosActive = GetByte(m_pResponse, 54);
      break;
    case 134:
      m_byEcho134 = GetByte(m_pResponse, 0);
      WriteLog("Read custom char Curve Y");
      for (int i = 0; i < 4; ++i) WriteLog(Number(GetByte(m_pResponse, i)));
      for (double& point : m_adCustCharY) {
        point = NextSample();
        WriteLog(Number(point));
      }
      break;
    case 188:
      for (double& point : m_adCustCharX) point = NextSample();
      break;
    case 138:
      for (BYTE& b : m_abyConfigA) b = NextByte();
      for (BYTE& b : m_abyConfigB) b = NextByte();
      break;
    case 142:
      for (BYTE& b : m_abyUnitCodes) b = NextByte();
      break;
    case 156:
      ParseTravelRecord(m_ValveRecord, true, true);
      break;
    case 158:
      ParseTravelRecord(m_ActuatorRecord, false, false);
      break;
    case 160:
      ParseTravelRecord(m_BellowsRecord, false, false);
      break;
    case 162:
      ParseTravelRecord(m_PilotRecord, true, false);
      break;
    case 168:
      try {
        m_byTempUnitCode = NextByte();
        const status::TemperatureScale scale = status::TemperatureScaleOf(m_byTempUnitCode);
        m_strTempUnit = scale.unit;
        m_nTempHour5 = scale.max;
        m_nTempHour6 = scale.min;
        m_nCursor = 9;
        m_dTempValueA = NextFloat();
        m_dTempValueB = NextFloat();
        m_nCursor = 33;
        m_dHourCounter = NextFloat();
      } catch (...) {
        WriteLog("Error in Read_Temperature_Hour_Counter_Data of parse response command");
      }
      break;
    case 170:
      for (double& v : m_adHealthData) v = NextFloat();
      break;
    case 174:
      for (BYTE& b : m_abyStatus) b = NextByte();
      break;
    case 176:
      for (BYTE& b : m_abyStatusMask) b = NextByte();
      m_abyStatusMaskDevice = m_abyStatusMask;
      m_bStatusMaskValid = true;
      break;
    case 182:
      for (BYTE& b : m_abyCmd182) b = NextByte();
      break;
    case 184:
      m_byCmd184Code = NextByte();
      FromAsciiToString(m_strCmd184Text, m_pResponse, 5, 29);
      break;
    case 194:
    case 196: {
      const bool first = command == 194;
      try {
        (first ? m_byEcho194 : m_byEcho196) = GetByte(m_pResponse, 0);
        WriteLog(first ? "Read Aux1 data" : "Read Aux2 data");
        WriteLog(Number(GetByte(m_pResponse, 0)));
        ParseAuxCard(first ? m_Aux1 : m_Aux2);
      } catch (...) {
        WriteLog(first ? "Error in Read_Auxilliary_Card_1_Data of parse response command"
                       : "Error in Read_Auxilliary_Card_2_Data of parse response command");
      }
      break;
    }
    case 202:
      m_TrainingConfig.dTrainSetting = NextFloat();
      m_TrainingConfig.byTrainSetting = NextByte();
      m_TrainingConfig.dTrainValueA = NextFloat();
      m_TrainingConfig.dTrainValueB = NextFloat();
      for (BYTE& b : m_TrainingConfig.abyTrainBytes) b = NextByte();
      break;
    case 204:
      for (DWORD& bin : m_adwTrainingHistogram) bin = NextDWord();
      break;
    case 208:
      for (DWORD& bin : m_adwHistogram) bin = NextDWord();
      break;
    case 212:
      ParseTestResult();
      break;
    case 214:
      for (double& s : m_adTestSamples) s = NextSample();
      m_bySamplesTrailer = NextByte();
      break;
    case 246:
      for (double& s : m_adTestSamplesB) s = NextSample();
      m_bySamplesTrailerB = NextByte();
      break;
    case 222:
      for (BYTE& b : m_abyCmd222) b = NextByte();
      break;
    case 238:
    case 240:
    case 242: {
      const int first = (command - 238) / 2 * 65;
      for (int k = 0; k < 65; ++k) m_abyEventLog[first + k] = NextByte();
      break;
    }
    default:
      break;
  }
  return true;
}

// The valve form has every member; the pilot form lacks the settings; the
// short form (actuator, bellows) also lacks the second value of each group.
void CWexletCoreCommunication::ParseTravelRecord(TravelCycleRecord& r, bool secondValues, bool settings) {
  r.dwCount1 = NextDWord();
  r.dwLimit1A = NextDWord();
  r.dwLimit1B = NextDWord();
  r.dValue1A = NextFloat();
  if (secondValues) r.dValue1B = NextFloat();
  r.dwCount2 = NextDWord();
  r.dwLimit2A = NextDWord();
  r.dwLimit2B = NextDWord();
  r.dValue2A = NextFloat();
  if (secondValues) r.dValue2B = NextFloat();
  if (settings) {
    r.dSetting1 = NextFloat();
    r.dSetting2 = NextFloat();
    r.dSetting3 = NextFloat();
  }
  r.bySetting = NextByte();
}

void CWexletCoreCommunication::ParseAuxCard(AuxCardRecord& r) {
  r.bySetting0 = NextByte();
  r.wSetting1 = NextWord();
  r.wReading0 = NextWord();
  r.dReading1 = NextFloat();
  r.dReading2 = NextFloat();
  r.byReading3 = NextByte();
  r.byReading4 = NextByte();
  for (WORD& w : r.awSetting) w = NextWord();
  for (BYTE& b : r.abySetting) b = NextByte();
  r.dSetting = NextFloat();
}

void CWexletCoreCommunication::ParseTestResult() {
  TestResultRecord& r = m_TestResult;
  r.byField0 = NextByte();
  for (double& v : r.adSetup) v = NextFloat();
  for (BYTE& b : r.abyTestInfo) b = NextByte();
  r.dResultA = NextFloat();
  r.dResultB = NextFloat();
  r.dResultC = NextFloat();
  r.byResultCode = NextByte();
  r.dSetup4 = NextFloat();
  r.byTestBits = NextByte();
  // Another code keeps the text of the last known one.
  static const char* const kResultKeys[] = {"PST_RESULT_0_EnumDescr", "PST_RESULT_1_EnumDescr",
                                            "PST_RESULT_2_EnumDescr", "PST_RESULT_3_EnumDescr"};
  if (r.byResultCode <= 3) m_bstrTestResultText = TheLanguageTable().Lookup(kResultKeys[r.byResultCode]);
}
