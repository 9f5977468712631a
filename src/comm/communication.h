#pragma once
// The communication object: the one way the program talks to the
// positioner. It builds request frames, runs synchronous transactions
// through the OPC item, decodes replies into the device image and keeps the
// link and status-area state.
#include <array>
#include <string>
#include <vector>

#include "comm/device_image.h"
#include "platform/com/bstr.h"
#include "platform/opc/opc.h"

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
  void ReadCommand(int command);
  void WriteCommand(int command);
  void ParseResponse(int command);
  // Bytes a reply needs for the layout of a command; 0: no layout.
  static int LayoutLength(int command);

  // Working members.
  BYTE m_byReqLength = 0;
  std::array<BYTE, kRequestSize> m_abyRequest{};
  const BYTE* m_pResponse = nullptr;
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
