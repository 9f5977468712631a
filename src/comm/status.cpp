// Status and calibration texts, the configuration read, and link
// supervision with the status area shown on every page.
#include <array>

#include "comm/communication.h"
#include "comm/status_rules.h"
#include "platform/sys/numeric.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

// How many bits (from bit 0) of each status byte have a text.
constexpr std::array<int, 32> kKeyedBits = {5, 5, 6, 7, 6, 7, 4, 0, 0, 0, 6, 8, 3, 8, 0, 8,
                                            8, 8, 7, 6, 8, 0, 0, 0, 3, 7, 4, 8, 7, 0, 0, 0};

// Sensor calibration steps 0 to 82 and their keys; null: no text.
constexpr std::array<const char*, 83> kCalibStateKeys = [] {
  std::array<const char*, 83> k{};
  k[0] = "SPRINGTYPENONE";
  k[1] = "IDD_CALIBRATION_STROKE";
  k[2] = "EDT_ALM_CAL3";
  k[3] = "IDD_FRICTION_CAL";
  k[4] = "IDD_TRIPLE_CAL";
  k[5] = "IDD_CALIBRATION_ANALOG_IN";
  k[6] = "IDD_CALIBRATION_ANALOG_OUT";
  k[21] = "RawStatus0_2_BitEnumDescr";
  k[22] = k[34] = k[40] = "VALBEGINCLOSE";
  k[23] = k[35] = k[41] = "WAITSTARTCLOSE";
  k[24] = k[36] = k[42] = "WAITSTOPCLOSE";
  k[25] = k[32] = "WAITSSETTLEPRESSURE";
  k[26] = "SAMPLECLOSEVALUES";
  k[27] = k[28] = "JOGBUMPOPEN";
  k[29] = k[43] = "VALBEGINOPEN";
  k[30] = k[44] = "WAITSTARTOPEN";
  k[31] = k[45] = "WAITSTOPOPEN";
  k[33] = "SAMPLEOPENVALUES";
  k[50] = "SETADCRANGES";
  k[51] = "WAITTOSETTLE";
  k[52] = "IDC_CHECKMGTSETILO";
  k[53] = "RESTORECONTROL";
  k[60] = "FRICCAL";
  k[61] = "RAMPTESTAT15";
  k[62] = "SETFORCEAT15";
  k[63] = "RAMPTESTAT85";
  k[64] = "SETFORCEAT85";
  k[65] = "FRICTNCALC";
  k[70] = "STARTMANCAL";
  k[71] = "MANCALMODE";
  k[80] = "SAVECAL";
  k[81] = "CALERROR";
  k[82] = "CALABORT";
  return k;
}();

struct Range {
  int first, last;
};

// A configuration code's key: its own, or the fall-back of its kind; 254
// and 255 always take "ALLOTHER" and "MFC_NC".
struct EnumKind {
  const char* prefix;
  std::initializer_list<Range> own;
  const char* fallBack;
};

_bstr_t EnumText(const EnumKind& kind, BYTE code) {
  std::string key = kind.fallBack;
  if (code == 254) {
    key = "ALLOTHER";
  } else if (code == 255) {
    key = "MFC_NC";
  } else {
    for (const Range& r : kind.own)
      if (code >= r.first && code <= r.last) key = plat::FormatNumber("%s%d_EnumDescr", kind.prefix, code);
  }
  return TheLanguageTable().Lookup(_bstr_t(key));
}

const EnumKind kManufacturer = {"ACT_Manufact_Id_", {{0, 7}}, "MFC_NC"};
const EnumKind kActuatorSize = {
    "ACT_Size_", {{0, 10}, {16, 31}, {37, 39}, {45, 74}, {81, 91}, {97, 102}, {108, 189}}, "MFC_NC"};
const EnumKind kActuatorType = {"ACT_Type_LR_", {{0, 4}}, "ALLOTHER"};
const EnumKind kSpringType = {"ACT_Spring_Type_", {{0, 17}}, "ALLOTHER"};
const EnumKind kValveModel = {"VALVE_Model_", {{0, 14}, {20, 31}, {37, 43}, {51, 51}}, "ALLOTHER"};
const EnumKind kBodySize = {"VALVE_Body_Size_", {{0, 23}}, "ALLOTHER"};
const EnumKind kFailPosition = {"DC_Fail_Position_", {{0, 0}, {2, 3}}, "ALLOTHER"};

_bstr_t FlowDirectionText(BYTE code) {
  // Code 8 is the second direction: its key is numbered 1.
  if (code == 0 || code == 8) return EnumText({"VALVE_Flow_Dir_", {{0, 1}}, "ALLOTHER"}, code == 8 ? 1 : 0);
  return EnumText({"VALVE_Flow_Dir_", {}, "ALLOTHER"}, code);
}

}  // namespace

_bstr_t CWexletCoreCommunication::GetStatusBitKey(BYTE index) {
  const int byte = index / 8, bit = index % 8;
  if (bit >= kKeyedBits[byte]) return _bstr_t();
  return TheLanguageTable().Lookup(_bstr_t(plat::FormatNumber("RawStatus%d_%d_BitEnumDescr", byte, 1 << bit)));
}

std::string CWexletCoreCommunication::GetCalibStateKey(BYTE state) {
  const char* key = CalibStateTextKey(state);
  return key ? TheLanguageTable().Lookup(key).str() : std::string();
}

const char* CWexletCoreCommunication::CalibStateTextKey(BYTE state) {
  return state < kCalibStateKeys.size() ? kCalibStateKeys[state] : nullptr;
}

void CWexletCoreCommunication::GetActuatorManufacturerKey(BYTE code) {
  if (m_pIdentityTexts) m_pIdentityTexts->m_strActuatorManufacturer = EnumText(kManufacturer, code);
}

void CWexletCoreCommunication::GetActuatorSizeKey(BYTE code) {
  if (m_pIdentityTexts) m_pIdentityTexts->m_strActuatorSize = EnumText(kActuatorSize, code);
}

void CWexletCoreCommunication::ReadConfiguration() {
  ReadCommand(13);
  if (m_pIdentityTexts) m_pIdentityTexts->m_strDeviceTag = _bstr_t(m_strTag);
  if (ReadAuxiliaryBytes()) m_bConfigCodesRead = true;
  // Codes that never came from a device describe no valve: no texts then.
  if (!m_bConfigCodesRead || !m_pIdentityTexts) return;
  GetActuatorManufacturerKey(m_byActManufacturerCode);
  GetActuatorSizeKey(m_byActSizeCode);
  CIdentityTexts& t = *m_pIdentityTexts;
  t.m_strActuatorType = EnumText(kActuatorType, m_byActTypeCode);
  t.m_strSpringType = EnumText(kSpringType, m_bySpringTypeCode);
  t.m_strValveModel = EnumText(kValveModel, m_byValveModelCode);
  t.m_strValveBodySize = EnumText(kBodySize, m_byValveBodySizeCode);
  t.m_strFlowDirection = FlowDirectionText(m_byFlowDirCode);
  t.m_strFailPosition = EnumText(kFailPosition, m_byFailPosCode);
}

void CWexletCoreCommunication::ChooseStatus() {
  // Before the device has told its status there is none to show.
  if (!m_bStatusRead) {
    m_bstrStatusText = _bstr_t("");
    m_crStatusColor = status::kNotAvailable;
    return;
  }
  if (m_byPriorityBits == 0) {
    m_bstrStatusText = TheLanguageTable().Lookup("SYSNOM");
    m_crStatusColor = status::kHeaderHealthy;
    return;
  }
  m_bstrStatusText = GetStatusBitKey(m_byPriorityBits);
  const BYTE severity = LookupErrorValue(m_byPriorityBits);
  m_crStatusColor = severity == 1 ? status::kHeaderHealthy : severity == 2 ? status::kAlert : status::kAlarm;
}

void CWexletCoreCommunication::ShowStatus(IiLedRoundX* led, ITextWindow* statusText) {
  const IiLedRoundXPtr holder(led);
  COLORREF shown = 0;
  HRESULT hr = holder->get_LedColor(&shown);
  if (FAILED(hr)) _com_issue_error(hr);
  if (shown != m_crStatusColor) {
    hr = holder->put_LedColor(m_crStatusColor);
    if (FAILED(hr)) _com_issue_error(hr);
  }
  if (statusText) statusText->SetWindowText(m_bstrStatusText.str().c_str());
}

void CWexletCoreCommunication::UpdateStatusArea(IiLedRoundX* led, ITextWindow* statusText, ITextWindow* modeText) {
  ChooseStatus();
  m_bstrModeText =
      m_bStatusRead ? TheLanguageTable().Lookup((m_byControlMode & 0x01) ? "DigOnly" : "Analog") : _bstr_t("");
  if (m_bLinkOK) {
    ShowStatus(led, statusText);
    if (modeText) modeText->SetWindowText(m_bstrModeText.str().c_str());
    return;
  }
  const IiLedRoundXPtr holder(led);
  const HRESULT hr = holder->put_LedColor(status::kAlarm);
  if (FAILED(hr)) _com_issue_error(hr);
  if (statusText) statusText->SetWindowText("Loss of Communication");
}

void CWexletCoreCommunication::UpdateStatusAreaCalib(IiLedRoundX* led, ITextWindow* statusText) {
  ChooseStatus();
  ShowStatus(led, statusText);
}

void CWexletCoreCommunication::PollStatus(IiLedRoundX* led, ITextWindow* statusText, ITextWindow* modeText) {
  ReadPriorityBitsAndControlEnable();
  UpdateStatusArea(led, statusText, modeText);
}
