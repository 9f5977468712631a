#pragma once
// The status masks as every page that masks alarms reads and writes them:
// the 32 bytes are one block in the device, so a page changes only its own
// bits and writes the whole block back.
#include <functional>

#include "comm/communication.h"
#include "common/alarm_rows.h"

namespace masks {

// Reads the 32 mask bytes (176) into the device image.
void Read(CWexletCoreCommunication& comm);

// The device has reported its masks once. Before that the image holds
// zeros, which are no masks of the device's: nothing shows or writes them.
bool Known(const CWexletCoreCommunication& comm);
// The masks to show: the image's once known, else null.
const alarms::Block* Shown(const CWexletCoreCommunication& comm);
// The tip of an Apply held until the masks are known.
inline constexpr const char* kNotReadTipKey = "MASKS_NOT_READ";

// Changes the page's bits with collect and writes the 32 bytes (177).
// Until the device has reported its masks once, the image holds zeros that
// would mask every alarm: then nothing is written, the masks are read
// instead, and the result is false. After a write without reply, the image
// holds the masks the device last reported again, not the collected ones.
bool Apply(CWexletCoreCommunication& comm, const std::function<void(alarms::Block&)>& collect);

}  // namespace masks
