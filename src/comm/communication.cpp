#include "comm/communication.h"

#include "platform/sys/numeric.h"
#include "support/log.h"

// Every field starts at zero (the image's and the members' initialisers);
// only the sample scale (0.01) and the link flag (good) differ.
CWexletCoreCommunication::CWexletCoreCommunication() = default;

bool CWexletCoreCommunication::ReplyFits(int layoutLength) {
  const int received = ResponseLength();
  std::string why;
  if (received < 4) {
    why = plat::FormatNumber("%d bytes", received);
  } else if (m_pResponse[0] != m_bySentCommand) {
    why = plat::FormatNumber("echo %d", m_pResponse[0]);
  } else if (m_pResponse[1] + 2 > received) {
    why = plat::FormatNumber("byte count %d beyond the %d bytes received", m_pResponse[1], received);
  } else if (m_pResponse[1] + 2 < layoutLength) {
    why = plat::FormatNumber("byte count %d, response code %d, layout needs %d bytes", m_pResponse[1], m_pResponse[2],
                             layoutLength);
  } else {
    return true;
  }
  WriteLog(_bstr_t(plat::FormatNumber("Reply to command %d not decoded: ", m_bySentCommand) + why));
  return false;
}
