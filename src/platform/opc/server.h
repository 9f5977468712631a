#pragma once
// The in-process "AMS.OPCServer.1". Each item "<device path>/Param/HART_Frame"
// is served by a device that the device provider gives for that path (one
// per path, kept for the run). Tests can make every step fail.
#include <functional>
#include <memory>
#include <string>

#include "platform/opc/hart_device.h"
#include "platform/opc/opc.h"

namespace opc {

inline constexpr const char* kServerProgId = "AMS.OPCServer.1";
inline constexpr const char* kHartFrameSuffix = "/Param/HART_Frame";

// Registers the server class under its ProgID (again after an unregister).
void RegisterServer();

// Gives the device for a device path, or null to refuse the item.
using DeviceProvider = std::function<std::shared_ptr<IHartFrameDevice>(const std::string& devicePath)>;
void SetDeviceProvider(DeviceProvider provider);

enum class Fault {
  ConnectRefused,   // the class object gives no server object
  AddGroupFails,    // IOPCServer::AddGroup fails
  AddItemsFails,    // IOPCItemMgt::AddItems fails as a call
  ItemRefused,      // AddItems succeeds with a negative item error
  WriteCallFails,   // IOPCSyncIO::Write fails as a call
  WriteItemError,   // Write succeeds with a negative item error
  ReadCallFails,    // IOPCSyncIO::Read fails as a call
  ReadItemError,    // Read succeeds with a negative item error
  ValueNoArray,     // Read gives a value that holds no array
};

// Makes the next `times` occurrences of a step fail (-1: until cleared).
void InjectFault(Fault fault, int times = 1);
void ClearFaults();

// What the server has seen, for tests.
struct Calls {
  int writes = 0;
  int reads = 0;
  std::u16string lastGroupName;
  BOOL lastGroupActive = TRUE;
  DWORD lastUpdateRate = 0;
  OPCHANDLE lastGroupClient = 0;
  bool lastTimeBiasGiven = true;
  float lastDeadband = -1;
  DWORD lastLcid = 0;
  std::u16string lastItemId;
  std::u16string lastAccessPath;
  BOOL lastItemActive = TRUE;
  OPCHANDLE lastItemClient = 0;
  VARTYPE lastRequestedType = 0;
  OPCDATASOURCE lastReadSource = OPC_DS_CACHE;
  std::vector<BYTE> lastWritten;
};
const Calls& SeenCalls();
// Forgets the calls, the faults and the devices.
void ResetServer();

}  // namespace opc
