// Command read and write dispatch, and the reply layouts of the universal
// commands.
#include "comm/communication.h"
#include "shell/log.h"

namespace {

struct ReadEntry {
  int command;
  const char* errorText;  // logged when the read raises; null: the caller sees it
};

constexpr ReadEntry kReads[] = {
    {0, nullptr},
    {12, nullptr},
    {13, nullptr},
};

const ReadEntry* FindRead(int command) {
  for (const ReadEntry& e : kReads)
    if (e.command == command) return &e;
  return nullptr;
}

}  // namespace

void CWexletCoreCommunication::ReadCommand(int command) {
  const ReadEntry* entry = FindRead(command);
  if (!entry) return;
  auto run = [&] {
    BeginRequest(static_cast<BYTE>(command));
    if (Transact()) ParseResponse(command);
  };
  if (!entry->errorText) {
    run();
    return;
  }
  try {
    run();
  } catch (...) {
    WriteLog(_bstr_t("Error in ") + _bstr_t(entry->errorText));
  }
}

void CWexletCoreCommunication::WriteCommand(int command) {
  int layout = 0;
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
    default:
      return;
  }
  if (Transact()) ParseResponse(layout);
}

void CWexletCoreCommunication::ParseResponse(int command) {
  switch (command) {
    case 0:
      if (!ReplyFits(12)) return;
      m_byDeviceRev = GetByte(m_pResponse, 9);
      m_bySoftwareRev = GetByte(m_pResponse, 10);
      m_byHardwareRev = GetByte(m_pResponse, 11);
      break;
    case 12: {
      if (!ReplyFits(28)) return;
      std::string message, group;
      for (m_nCursor = 4; m_nCursor < 28; m_nCursor += 3) {
        UnpackPackedAscii(m_pResponse, m_nCursor, group);
        message += group;
      }
      m_strMessage = message;
      break;
    }
    case 13: {
      if (!ReplyFits(25)) return;
      std::string tag, descriptor, group;
      for (m_nCursor = 4; m_nCursor < 10; m_nCursor += 3) {
        UnpackPackedAscii(m_pResponse, m_nCursor, group);
        tag += group;
      }
      for (; m_nCursor < 22; m_nCursor += 3) {
        UnpackPackedAscii(m_pResponse, m_nCursor, group);
        descriptor += group;
      }
      m_strTag = tag;
      m_strDescriptor = descriptor;
      m_byDateDay = GetByte(m_pResponse, 22);
      m_byDateMonth = GetByte(m_pResponse, 23);
      m_byDateYear = GetByte(m_pResponse, 24);
      break;
    }
    default:
      break;
  }
}
