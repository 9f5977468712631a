#pragma once
// The communication object: the one way the program talks to the
// positioner. It builds request frames, runs synchronous transactions
// through the OPC item, decodes replies into the device image and keeps the
// link and status-area state.
#include <array>
#include <string>
#include <vector>

#include "comm/device_image.h"
#include "comm/device_variables.h"
#include "comm/identity_texts.h"
#include "platform/com/bstr.h"
#include "platform/com/led_round.h"
#include "platform/opc/opc.h"
#include "platform/sys/text_window.h"

// The screen operations: one device-variable list request each, named
// after the page action it serves.
enum class ScreenOp {
  // Dashboard and alarm pages.
  ReadDashboardCyclicParameters,
  ReadDashboardSlowReadParameters,
  WriteCmd201CmdPctDigital,
  WriteCmd201ControlModeAndCmdPct,
  WriteCmd201ControlEnable,
  ReadCmd200PressureSensorsPresent,
  ReadAnnunciatorSetup,
  ReadAnnunciatorValues,
  ReadLocalPanel,
  ReadEventLogCount,
  WriteEventLogVar454,
  WriteEventLogVars455,
  WriteEventLogVars457,
  WriteEventLogVars459,
  // Health pages.
  ReadValveHealth,
  ReadValveHealthVar150,
  ReadCycleAndTravelLimits,
  WriteCycleAndTravelLimits,
  ReadCycleAndTravelCounts,
  ReadPositionerHealth,
  ReadVar152,
  ReadTemperature,
  ReadPilotRelay,
  ReadPilotRelayA,
  WritePilotRelayValues,
  ReadPiezoVoltage,
  ReadControlHealth,
  ReadDeviationLimits,
  WriteDeviationLimits,
  ReadVar12,
  ReadPosAlertLimits,
  WritePosAlertLimits,
  ReadVar10ForAlerts,
  WriteAlertVar461,
  WriteAlertVars461And462,
  // Configuration and calibration pages.
  ReadStrokeChar,
  WriteStrokeChar,
  ReadCustomCharSetup,
  ReadCustomCharVar229,
  ReadVar10,
  ReadPressureControl,
  WritePressureControl,
  ReadSensorCalibValues,
  ReadSensorCalibRaw,
  WriteCalibCommand,
  ReadZeroSupplyValues,
  ReadZeroSupplyState,
  WriteZeroSupplyState,
  ReadCommandCalib,
  ReadCommandCalibState,
  WriteCommandCalibStep,
  // Test and monitoring pages.
  WriteTestCommand,
  ReadTestSetup,
  WriteTestSetup,
  ReadTestState,
  WriteTestState,
  WriteTestVar147,
  ReadPstSetup,
  WritePstSetup,
  ReadPstResult,
  WritePstVar147,
  ReadHdrlState,
  ReadDataLoggerState,
  ReadDataLoggerData,
  ReadTechSensors,
  // Configuration read.
  ReadAuxiliaryBytes,
  Count
};

class CWexletCoreCommunication : public CDeviceImage {
 public:
  static constexpr int kRequestSize = 54;
  static constexpr int kErrorTableSize = 150;

  struct ErrorEntry {
    int code = 0;
    int value = 0;
  };

  CWexletCoreCommunication();
  virtual ~CWexletCoreCommunication() = default;
  CWexletCoreCommunication(const CWexletCoreCommunication&) = delete;
  CWexletCoreCommunication& operator=(const CWexletCoreCommunication&) = delete;

  // --- Frame codec (stateless) -------------------------------------------
  static BYTE GetByte(const BYTE* reply, int offset) { return reply[offset]; }
  static WORD GetWord(const BYTE* reply, int offset);
  static DWORD GetDWord(const BYTE* reply, int offset);
  static float GetFloat(const BYTE* reply, int offset);
  // The four bytes of a value, least significant first.
  static std::array<BYTE, 4> GetIdBytes(DWORD value);
  // The IEEE single nearest to a double, as its bit pattern.
  static DWORD FloatBits(double value);
  // A double as a 16-bit integer: truncated toward zero, clamped to the
  // 16-bit range first, NaN as 0.
  static WORD ToWord16(double value);
  static char SixBitToAscii(BYTE code);
  static void UnpackPackedAscii(const BYTE* reply, int offset, std::string& text);
  static void FromAsciiToString(std::string& text, const BYTE* reply, int first, int end);
  // True when every character of a text survives packing: after a-z are
  // upper-cased, only 0x20 to 0x5F have a six-bit code.
  static bool IsPackedAscii(const std::string& text);
  void PackMessage();
  void PackTagAndDescriptor();

  // --- Request building ----------------------------------------------------
  // A read without data: the command byte alone.
  void BeginRequest(BYTE command);
  // [command][byteCount][data]; data bytes start at zero.
  void BeginRequest(BYTE command, BYTE byteCount);
  void PutByte(int dataOffset, BYTE value);
  void PutWord(int dataOffset, WORD value);
  void PutDWord(int dataOffset, DWORD value);
  void PutFloat(int dataOffset, double value);

  // --- OPC connection and transaction --------------------------------------
  bool Connect(const char* progId, const char* computer);
  int AddGroup(const char* prefix);
  int AddItem(const char* itemId);
  // Sends m_byReqLength bytes of m_abyRequest and keeps the reply, which
  // m_pResponse points at until the next transaction (null: no reply).
  const BYTE* Transact();
  int ResponseLength() const { return m_pResponse ? static_cast<int>(m_reply.size()) : 0; }

  // --- Error-code table ------------------------------------------------------
  void LoadErrorTable();
  void LoadErrorTableFrom(const std::string& path);
  BYTE LookupErrorValue(BYTE code) const;

  // --- Commands ------------------------------------------------------------------
  // True when the reply was decoded into the device image.
  bool ReadCommand(int command);
  // True when the device answered; a reply with a layout was decoded too.
  bool WriteCommand(int command);
  // Command 135 from the caller's points in hundredths (the first point is
  // always sent as 0), so that the image keeps its curve in percent until
  // the device answers; the answer is decoded as a 134 reply. True when it
  // was.
  bool WriteCustomCurve(const std::array<double, 21>& hundredths);
  // Decodes the last reply with a command's layout; false when it is not
  // whole and its own (or the command has no layout): nothing is stored.
  bool ParseResponse(int command);
  // Bytes a reply needs for the layout of a command; 0: no layout.
  static int LayoutLength(int command);

  // --- Device-variable lists and screen operations -------------------------------
  // Runs one screen operation with its arguments (in the order the
  // operation takes them). True when the device's reply was whole and
  // answered the list: then a read or read-back list has been stored.
  bool RunScreenOp(ScreenOp op, std::initializer_list<double> args = {});
  struct ListItem;  // a list entry: id, image field, where a written value comes from
  struct ListSpec;  // a whole list: command, entries, what is done with the reply
  static const char* ScreenOpName(ScreenOp op);

  bool ReadDashboardCyclicParameters() { return RunScreenOp(ScreenOp::ReadDashboardCyclicParameters); }
  bool ReadDashboardSlowReadParameters() { return RunScreenOp(ScreenOp::ReadDashboardSlowReadParameters); }
  bool WriteCmd201CmdPctDigital(double percent) { return RunScreenOp(ScreenOp::WriteCmd201CmdPctDigital, {percent}); }
  bool WriteCmd201ControlModeAndCmdPct(BYTE mode, double percent) {
    return RunScreenOp(ScreenOp::WriteCmd201ControlModeAndCmdPct, {double(mode), percent});
  }
  bool WriteCmd201ControlEnable(BYTE mode) { return RunScreenOp(ScreenOp::WriteCmd201ControlEnable, {double(mode)}); }
  bool ReadCmd200PressureSensorsPresent() { return RunScreenOp(ScreenOp::ReadCmd200PressureSensorsPresent); }
  bool ReadAnnunciatorSetup() { return RunScreenOp(ScreenOp::ReadAnnunciatorSetup); }
  bool ReadAnnunciatorValues() { return RunScreenOp(ScreenOp::ReadAnnunciatorValues); }
  bool ReadLocalPanel() { return RunScreenOp(ScreenOp::ReadLocalPanel); }
  bool ReadEventLogCount() { return RunScreenOp(ScreenOp::ReadEventLogCount); }
  bool WriteEventLogVar454(BYTE a) { return RunScreenOp(ScreenOp::WriteEventLogVar454, {double(a)}); }
  bool WriteEventLogVars455(BYTE a, BYTE b) { return RunScreenOp(ScreenOp::WriteEventLogVars455, {double(a), double(b)}); }
  bool WriteEventLogVars457(BYTE a, BYTE b) { return RunScreenOp(ScreenOp::WriteEventLogVars457, {double(a), double(b)}); }
  bool WriteEventLogVars459(BYTE a, BYTE b) { return RunScreenOp(ScreenOp::WriteEventLogVars459, {double(a), double(b)}); }
  bool ReadValveHealth() { return RunScreenOp(ScreenOp::ReadValveHealth); }
  bool ReadValveHealthVar150() { return RunScreenOp(ScreenOp::ReadValveHealthVar150); }
  bool ReadCycleAndTravelLimits() { return RunScreenOp(ScreenOp::ReadCycleAndTravelLimits); }
  bool WriteCycleAndTravelLimits() { return RunScreenOp(ScreenOp::WriteCycleAndTravelLimits); }
  bool ReadCycleAndTravelCounts() { return RunScreenOp(ScreenOp::ReadCycleAndTravelCounts); }
  bool ReadPositionerHealth() { return RunScreenOp(ScreenOp::ReadPositionerHealth); }
  bool ReadVar152() { return RunScreenOp(ScreenOp::ReadVar152); }
  bool ReadTemperature() { return RunScreenOp(ScreenOp::ReadTemperature); }
  bool ReadPilotRelay() { return RunScreenOp(ScreenOp::ReadPilotRelay); }
  bool ReadPilotRelayA() { return RunScreenOp(ScreenOp::ReadPilotRelayA); }
  bool WritePilotRelayValues() { return RunScreenOp(ScreenOp::WritePilotRelayValues); }
  bool ReadPiezoVoltage() { return RunScreenOp(ScreenOp::ReadPiezoVoltage); }
  bool ReadControlHealth() { return RunScreenOp(ScreenOp::ReadControlHealth); }
  bool ReadDeviationLimits() { return RunScreenOp(ScreenOp::ReadDeviationLimits); }
  bool WriteDeviationLimits() { return RunScreenOp(ScreenOp::WriteDeviationLimits); }
  bool ReadVar12() { return RunScreenOp(ScreenOp::ReadVar12); }
  bool ReadPosAlertLimits() { return RunScreenOp(ScreenOp::ReadPosAlertLimits); }
  bool WritePosAlertLimits() { return RunScreenOp(ScreenOp::WritePosAlertLimits); }
  bool ReadVar10ForAlerts() { return RunScreenOp(ScreenOp::ReadVar10ForAlerts); }
  bool WriteAlertVar461() { return RunScreenOp(ScreenOp::WriteAlertVar461); }
  bool WriteAlertVars461And462() { return RunScreenOp(ScreenOp::WriteAlertVars461And462); }
  bool ReadStrokeChar() { return RunScreenOp(ScreenOp::ReadStrokeChar); }
  bool WriteStrokeChar(BYTE selection, BYTE configuration) {
    return RunScreenOp(ScreenOp::WriteStrokeChar, {double(selection), double(configuration)});
  }
  bool ReadCustomCharSetup() { return RunScreenOp(ScreenOp::ReadCustomCharSetup); }
  bool ReadCustomCharVar229() { return RunScreenOp(ScreenOp::ReadCustomCharVar229); }
  bool ReadVar10() { return RunScreenOp(ScreenOp::ReadVar10); }
  bool ReadPressureControl() { return RunScreenOp(ScreenOp::ReadPressureControl); }
  bool WritePressureControl() { return RunScreenOp(ScreenOp::WritePressureControl); }
  bool ReadSensorCalibValues() { return RunScreenOp(ScreenOp::ReadSensorCalibValues); }
  bool ReadSensorCalibRaw() { return RunScreenOp(ScreenOp::ReadSensorCalibRaw); }
  bool WriteCalibCommand() { return RunScreenOp(ScreenOp::WriteCalibCommand); }
  bool ReadZeroSupplyValues() { return RunScreenOp(ScreenOp::ReadZeroSupplyValues); }
  bool ReadZeroSupplyState() { return RunScreenOp(ScreenOp::ReadZeroSupplyState); }
  bool WriteZeroSupplyState() { return RunScreenOp(ScreenOp::WriteZeroSupplyState); }
  bool ReadCommandCalib() { return RunScreenOp(ScreenOp::ReadCommandCalib); }
  bool ReadCommandCalibState() { return RunScreenOp(ScreenOp::ReadCommandCalibState); }
  bool WriteCommandCalibStep(BYTE step) { return RunScreenOp(ScreenOp::WriteCommandCalibStep, {double(step)}); }
  bool WriteTestCommand(BYTE command) { return RunScreenOp(ScreenOp::WriteTestCommand, {double(command)}); }
  bool ReadTestSetup() { return RunScreenOp(ScreenOp::ReadTestSetup); }
  bool WriteTestSetup() { return RunScreenOp(ScreenOp::WriteTestSetup); }
  bool ReadTestState() { return RunScreenOp(ScreenOp::ReadTestState); }
  bool WriteTestState() { return RunScreenOp(ScreenOp::WriteTestState); }
  bool WriteTestVar147() { return RunScreenOp(ScreenOp::WriteTestVar147); }
  bool ReadPstSetup() { return RunScreenOp(ScreenOp::ReadPstSetup); }
  bool WritePstSetup() { return RunScreenOp(ScreenOp::WritePstSetup); }
  bool ReadPstResult() { return RunScreenOp(ScreenOp::ReadPstResult); }
  bool WritePstVar147(BYTE value) { return RunScreenOp(ScreenOp::WritePstVar147, {double(value)}); }
  bool ReadHdrlState() { return RunScreenOp(ScreenOp::ReadHdrlState); }
  bool ReadDataLoggerState() { return RunScreenOp(ScreenOp::ReadDataLoggerState); }
  bool ReadDataLoggerData() { return RunScreenOp(ScreenOp::ReadDataLoggerData); }
  bool ReadTechSensors() { return RunScreenOp(ScreenOp::ReadTechSensors); }
  bool ReadAuxiliaryBytes() { return RunScreenOp(ScreenOp::ReadAuxiliaryBytes); }
  // Command 214: the next block of test samples.
  bool ReadTestData();

  // --- Status texts and the configuration read ---------------------------------
  // The language text of a status bit (byte number x 8 + bit); null for a
  // bit without a text.
  static _bstr_t GetStatusBitKey(BYTE index);
  // The language text of a sensor calibration step; empty without one.
  static std::string GetCalibStateKey(BYTE state);
  // The key of that text; null without one.
  static const char* CalibStateTextKey(BYTE state);
  // The configuration read writes its texts here (the common functions).
  void BindIdentityTexts(CIdentityTexts* texts) { m_pIdentityTexts = texts; }
  void ReadConfiguration();
  void GetActuatorManufacturerKey(BYTE code);
  void GetActuatorSizeKey(BYTE code);

  // --- Link supervision and status area ---------------------------------------
  void ReadPriorityBitsAndControlEnable();
  void UpdateStatusArea(IiLedRoundX* led, ITextWindow* statusText, ITextWindow* modeText);
  void UpdateStatusAreaCalib(IiLedRoundX* led, ITextWindow* statusText);
  void PollStatus(IiLedRoundX* led, ITextWindow* statusText, ITextWindow* modeText);

  // Working members.
  BYTE m_byReqLength = 0;
  std::array<BYTE, kRequestSize> m_abyRequest{};
  const BYTE* m_pResponse = nullptr;
  bool m_bDeviceAnswered = false;  // some transaction has had a reply
  int m_nCursor = 0;
  COLORREF m_crStatusColor = 0;
  _bstr_t m_bstrStatusText{""};
  _bstr_t m_bstrModeText{""};
  std::array<ErrorEntry, kErrorTableSize> m_aErrorTable{};

 protected:
  // True when the reply is whole and answers the request that was sent:
  // at least 4 bytes, the command echoed, its byte count inside the bytes
  // received and covering `layoutLength` bytes. Otherwise logs why.
  bool ReplyFits(int layoutLength);

 private:
  void PackText(const std::string& text, size_t chars, int dataOffset);
  void PutTravelLimits(const TravelCycleRecord& r);

  // Decoders that read at m_nCursor and move it on.
  BYTE NextByte();
  WORD NextWord();
  DWORD NextDWord();
  double NextFloat();
  double NextSample();
  std::string NextPacked(int groups);
  void ParseTravelRecord(TravelCycleRecord& r, bool secondValues, bool settings);
  void ParseAuxCard(AuxCardRecord& r);
  void ParseTestResult();

  bool RunList(const ListSpec& spec, const std::vector<double>& args);
  void BuildListRequest(const ListSpec& spec, const std::vector<double>& args);
  bool ListReplyFits(const ListSpec& spec);
  void DecodeList(const ListSpec& spec);
  // The status colour and text from the priority bits.
  void ChooseStatus();
  void ShowStatus(IiLedRoundX* led, ITextWindow* statusText);

  CIdentityTexts* m_pIdentityTexts = nullptr;
  bool m_bConfigCodesRead = false;  // the codes have come from the device once

  std::vector<BYTE> m_reply;  // the one reply buffer, replaced by each transaction
  BYTE m_bySentCommand = 0;
};

// Process-wide OPC interfaces of the connection (not owned by the object:
// the connection is made once for the run).
extern IOPCServerPtr g_pOPCServer;
extern IOPCItemMgtPtr g_pItemMgt;
extern OPCHANDLE g_hServerGroup;
extern IOPCSyncIOPtr g_pSyncIO;
extern OPCHANDLE g_hItemServer;

// Drops the connection, so that a test starts unconnected.
void ResetOpcConnection();
