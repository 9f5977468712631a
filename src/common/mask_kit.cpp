#include "common/mask_kit.h"

#include "support/log.h"

namespace masks {

void Read(CWexletCoreCommunication& comm) { comm.ReadCommand(176); }

bool Known(const CWexletCoreCommunication& comm) { return comm.m_bStatusMaskValid; }

const alarms::Block* Shown(const CWexletCoreCommunication& comm) {
  return Known(comm) ? &comm.m_abyStatusMask : nullptr;
}

bool Apply(CWexletCoreCommunication& comm, const std::function<void(alarms::Block&)>& collect) {
  if (!Known(comm)) {
    WriteLog("Status masks not written: the device has not reported them yet.");
    Read(comm);
    return false;
  }
  collect(comm.m_abyStatusMask);
  comm.WriteCommand(177);
  // A good reply has refilled both; without one the device kept its masks.
  comm.m_abyStatusMask = comm.m_abyStatusMaskDevice;
  return true;
}

}  // namespace masks
