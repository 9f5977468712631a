#pragma once
// The device image: the values last read from the positioner, one field or
// record per command or device variable. Every page reads these fields
// directly; each parse or list operation overwrites exactly its own.
// Kept as a base of the communication object so a whole image can be
// copied and compared.
#include <string>

#include "platform/sys/wintypes.h"

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

  BYTE m_byPriorityBits = 0;  // device variable 42
  double m_dSampleScale = 0.01;
  BYTE m_byControlMode = 0;  // device variable 8; bit 0: digital only

  BYTE m_bLinkOK = 1;  // the link counts as good until a transaction says otherwise

  // Command 0.
  BYTE m_byDeviceRev = 0;
  BYTE m_bySoftwareRev = 0;
  BYTE m_byHardwareRev = 0;

  bool operator==(const CDeviceImage&) const = default;
};
