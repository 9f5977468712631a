#pragma once
// The device image: the values last read from the positioner, one field or
// record per command or device variable. Every page reads these fields
// directly; each parse or list operation overwrites exactly its own.
// Kept as a base of the communication object so a whole image can be
// copied and compared.
#include <array>
#include <string>

#include "platform/com/bstr.h"
#include "platform/sys/wintypes.h"

// Travel and cycle data of one part of the valve assembly (commands
// 156/158/160/162). The actuator and bellows records leave dValue1B,
// dValue2B and the three settings unused; the pilot record the settings.
struct TravelCycleRecord {
  DWORD dwCount1 = 0;
  DWORD dwLimit1A = 0;
  DWORD dwLimit1B = 0;
  double dValue1A = 0;
  double dValue1B = 0;
  DWORD dwCount2 = 0;
  DWORD dwLimit2A = 0;
  DWORD dwLimit2B = 0;
  double dValue2A = 0;
  double dValue2B = 0;
  double dSetting1 = 0;
  double dSetting2 = 0;
  double dSetting3 = 0;
  BYTE bySetting = 0;
  bool operator==(const TravelCycleRecord&) const = default;
};

// Result of the last test run (command 212).
struct TestResultRecord {
  BYTE byField0 = 0;
  std::array<double, 4> adSetup{};
  std::array<BYTE, 6> abyTestInfo{};
  double dResultA = 0;
  double dResultB = 0;
  double dResultC = 0;
  BYTE byResultCode = 0;
  double dSetup4 = 0;
  BYTE byTestBits = 0;
  bool operator==(const TestResultRecord&) const = default;
};

// One auxiliary card (commands 194/196, written back by 195/197).
struct AuxCardRecord {
  BYTE bySetting0 = 0;
  WORD wSetting1 = 0;
  WORD wReading0 = 0;
  double dReading1 = 0;
  double dReading2 = 0;
  BYTE byReading3 = 0;
  BYTE byReading4 = 0;
  std::array<WORD, 4> awSetting{};
  std::array<BYTE, 33> abySetting{};
  double dSetting = 0;
  bool operator==(const AuxCardRecord&) const = default;
};

// Training mode configuration (command 202, partly written back by 203).
struct TrainingConfigRecord {
  double dTrainSetting = 0;
  BYTE byTrainSetting = 0;
  double dTrainValueA = 0;
  double dTrainValueB = 0;
  std::array<BYTE, 12> abyTrainBytes{};
  bool operator==(const TrainingConfigRecord&) const = default;
};

struct CDeviceImage {
  // HART date (command 13; written back by 18), in this order.
  BYTE m_byDateMonth = 0;
  BYTE m_byDateDay = 0;
  BYTE m_byDateYear = 0;  // years since 1900

  // HART identity texts (commands 12 and 13; written back by 17 and 18).
  std::string m_strMessage;
  std::string m_strTag;
  std::string m_strDescriptor;

  int m_nFailCount = 0;  // consecutive failed status polls

  // Command 132, first byte.
  BYTE m_byCmdPosCode = 0;

  // Echo bytes of the last 134, 194 and 196 replies.
  BYTE m_byEcho134 = 0;
  BYTE m_byEcho194 = 0;
  BYTE m_byEcho196 = 0;

  // Custom characterisation curve (134, written back by 135), hundredths.
  std::array<double, 21> m_adCustCharY{};

  // Unit codes (142).
  std::array<BYTE, 6> m_abyUnitCodes{};

  // Travel and cycle records (156/158/160/162, written back by 157/159/161/163).
  TravelCycleRecord m_ValveRecord;
  TravelCycleRecord m_ActuatorRecord;
  TravelCycleRecord m_BellowsRecord;
  TravelCycleRecord m_PilotRecord;

  // Commands 182 and 184 (written back by 183 and 187).
  std::array<BYTE, 6> m_abyCmd182{};
  BYTE m_byCmd184Code = 0;
  std::string m_strCmd184Text;

  BYTE m_byPriorityBits = 0;  // device variable 42
  // Variable 42 has come from the device once: until then a zero priority
  // is no healthy device.
  bool m_bStatusRead = false;

  // Second 21-point curve (188, written back by 189).
  std::array<double, 21> m_adCustCharX{};

  // Health data (170).
  std::array<double, 4> m_adHealthData{};

  double m_dSampleScale = 0.01;

  // Command 132: pressure control locked (1) and position cut-off active (1).
  BYTE m_byCmdPos0 = 0;
  BYTE m_byCmdPosActive = 0;
  BYTE m_byControlMode = 0;  // device variable 8; bit 0: digital only

  // Auxiliary cards (194/196, written back by 195/197).
  AuxCardRecord m_Aux1;
  AuxCardRecord m_Aux2;

  // Training mode configuration (202, written back by 203).
  TrainingConfigRecord m_TrainingConfig;

  // Configuration bytes (138).
  std::array<BYTE, 8> m_abyConfigA{};
  std::array<BYTE, 8> m_abyConfigB{};

  // Status masks (176, written back by 177) and status bytes (174).
  std::array<BYTE, 32> m_abyStatusMask{};
  // The masks as the device last reported them, and whether it ever did:
  // until then the zeros above would mask every alarm if written back.
  std::array<BYTE, 32> m_abyStatusMaskDevice{};
  bool m_bStatusMaskValid = false;
  std::array<BYTE, 32> m_abyStatus{};

  // Temperature and hour counter (168).
  BYTE m_byTempUnitCode = 0;
  std::string m_strTempUnit;
  int m_nTempHour5 = 0;
  int m_nTempHour6 = 0;
  double m_dTempValueA = 0;
  double m_dTempValueB = 0;
  double m_dHourCounter = 0;

  // Histograms (204 training mode, 208 deviation/position), 16 bins each.
  std::array<DWORD, 16> m_adwTrainingHistogram{};
  std::array<DWORD, 16> m_adwHistogram{};

  // Last test result (212) and the text of its result code.
  TestResultRecord m_TestResult;
  _bstr_t m_bstrTestResultText{""};

  // The byte command 237 sends; the event history page sets it.
  BYTE m_byEventHistorySelect = 0;

  // Command 222 (written back by 223).
  std::array<BYTE, 7> m_abyCmd222{};

  // Event history, three pieces of 65 bytes (238, 240, 242).
  std::array<BYTE, 195> m_abyEventLog{};

  BYTE m_bLinkOK = 0;  // no link until a device has answered

  // Command 0.
  BYTE m_byDeviceRev = 0;
  BYTE m_bySoftwareRev = 0;
  BYTE m_byHardwareRev = 0;

  // Device variables kept per screen (commands 200 and 201). A variable
  // read by several screens may land in a copy of its own (the annunciator's,
  // the sensor calibration's).
  double m_dVar1 = 0;            // 1: command input current, mA
  double m_dVar2 = 0;            // analog command
  double m_dCommandPct = 0;      // 3: digital command, percent
  double m_dVar6 = 0;            // command
  double m_dVar10 = 0;           // position
  double m_dVar10SensCal = 0;    // 10 as the sensor calibration and technician pages read it
  double m_dVar12 = 0;           // 12: deviation, %
  double m_dVar12Annunc = 0;     // 12 as the annunciator reads it
  double m_dVar17 = 0;           // 17: sensor calibration raw value
  double m_dVar43 = 0;           // 43: valve-stability window, %
  double m_dVar48 = 0;           // spool command
  double m_dVar49 = 0;           // spool position
  BYTE m_byDipSwitches = 0;      // 55
  BYTE m_bySoftConfig = 0;       // 56
  double m_dVar62 = 0;           // 62: soft-stop high alert set point
  double m_dVar62Annunc = 0;     // 62 as the annunciator reads it
  double m_dVar63 = 0;           // 63: soft-stop low alert set point
  double m_dVar63Annunc = 0;     // 63 as the annunciator reads it
  WORD m_wVar69 = 0;             // 69: position sensor A/D count
  WORD m_wVar71 = 0;             // 71: zero supply calibration value 1
  WORD m_wVar72 = 0;             // 72: zero supply calibration value 2
  WORD m_wVar73 = 0;             // 73: zero supply calibration value 3
  WORD m_wZeroSupplyState = 0;   // 74
  WORD m_wVar78 = 0;             // 78: Hall sensor A/D count
  WORD m_wVar80 = 0;             // 80: sensor calibration raw count
  WORD m_wVar81 = 0;             // 81: sensor calibration raw count
  WORD m_wVar83 = 0;             // 83: valve stem feedback A/D count
  WORD m_wVar85 = 0;             // 85: command A/D count at 0 %
  WORD m_wVar86 = 0;             // 86: command A/D count at 100 %
  WORD m_wVar87 = 0;             // 87: command A/D range
  WORD m_wCmdCalState = 0;       // 88
  double m_dVar116 = 0;          // stroke length
  double m_dPosAlertHigh = 0;    // 117
  double m_dVar117Annunc = 0;    // 117 as the annunciator reads it
  double m_dPosAlertLow = 0;     // 118
  double m_dVar118Annunc = 0;    // 118 as the annunciator reads it
  double m_dDeviationLimit = 0;  // 119
  double m_dDeviationLimit2 = 0; // 120
  WORD m_wVar126 = 0;            // 126: command A/D count at 4 mA
  double m_dVar132 = 0;          // 132: Hall sensor voltage
  double m_dTemperature = 0;     // 135
  double m_dTemperatureAnnunc = 0;
  double m_dVar142 = 0;          // 142: test start position, %
  double m_dVar143 = 0;          // 143: test stop position, %
  BYTE m_byTestState = 0;        // 144
  double m_dVar145 = 0;          // 145: test hold time, s
  double m_dVar146 = 0;          // 146: test progress
  BYTE m_byVar147 = 0;           // 147: test control byte
  double m_dVar149 = 0;          // 149: test ramp time, s
  BYTE m_byTravelUnitCode = 0;   // 150
  _bstr_t m_strTravelUnits{""};
  std::string m_strVar152;       // temperature unit of variable 152 (m_byTempUnitCode)
  BYTE m_byStrokeCharSel = 0;    // 167
  BYTE m_bySensorCalCmd = 0;     // 170
  BYTE m_byLocalPanel = 0;       // 179
  BYTE m_byFlowDirCode = 0;      // 189
  BYTE m_byFailPosCode = 0;      // 196
  BYTE m_byValveModelCode = 0;   // 211
  BYTE m_byValveBodySizeCode = 0;  // 212
  BYTE m_byActManufacturerCode = 0;  // 228
  BYTE m_byActTypeCode = 0;      // 229
  BYTE m_byActSizeCode = 0;      // 230
  BYTE m_bySpringTypeCode = 0;   // 231
  BYTE m_byVar264 = 0;           // 264: bit 0x02 position cut-off active, 0x04 pressure control locked
  BYTE m_byPressureSensors = 0;  // 265; bit 0x04: sensors present
  double m_dVar285 = 0;          // 285: partial stroke break-away time, s
  double m_dVar287 = 0;          // 287: partial stroke time to target, s
  BYTE m_byPstResultCode = 0;    // 288
  _bstr_t m_strPstResult{""};
  double m_dVar289 = 0;          // 289: partial stroke time limit, s
  double m_dVar295 = 0;          // 295: pilot relay response time; 295 to 297 in ms, the device's s times 1000
  double m_dVar296 = 0;          // 296: response time warning limit, ms
  double m_dVar297 = 0;          // 297: response time alarm limit, ms
  DWORD m_nValveTravel = 0;      // 301, in full strokes
  DWORD m_dwValveTravelLimit302 = 0;
  DWORD m_dwValveTravelLimit303 = 0;
  DWORD m_nValveCycles = 0;      // 305
  DWORD m_dwValveCycLimit306 = 0;
  DWORD m_dwValveCycLimit307 = 0;
  double m_dVar309 = 0;          // 309: valve travel deadband, %
  double m_dVar310 = 0;          // 310: valve cycles deadband, %
  DWORD m_nVar331 = 0;           // 331: pilot relay travel, in units of 100 % of stroke
  DWORD m_nVar332 = 0;           // 332: pilot travel initial-warning limit
  DWORD m_nVar333 = 0;           // 333: pilot travel full-warning limit
  DWORD m_nVar335 = 0;           // 335: pilot relay cycles
  DWORD m_nVar336 = 0;           // 336: pilot cycles initial-warning limit
  DWORD m_nVar337 = 0;           // 337: pilot cycles full-warning limit
  double m_dVar391 = 0;          // actuator area
  BYTE m_byAreaUnitCode = 0;     // 410
  std::string m_strAreaUnit;
  BYTE m_byEventLogCtl = 0;      // 454
  BYTE m_byHistogramSelect = 0;  // 461: which histogram 208 returns
  BYTE m_byHistogramReset = 0;   // 462
  double m_dPiezoVoltage = 0;    // 490

  // Test samples (214, 246), scaled, each block with the byte after it.
  std::array<double, 28> m_adTestSamples{};
  BYTE m_bySamplesTrailer = 0;
  std::array<double, 32> m_adTestSamplesB{};
  BYTE m_bySamplesTrailerB = 0;

  bool operator==(const CDeviceImage&) const = default;
};
