#pragma once
// A positioner that lives in memory. It answers HART frames from plain
// state that tests set and read, records every request, and fails on
// demand. Its valve moves with the time source (plat::Time()): every
// transaction and every change first brings it up to the clock's now.
#include <chrono>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/opc/hart_device.h"
#include "sim/alarms.h"
#include "sim/input_profile.h"
#include "sim/records.h"
#include "sim/valve_model.h"

namespace sim {

inline constexpr std::uint8_t kRcSuccess = 0;
inline constexpr std::uint8_t kRcInvalidSelection = 2;
inline constexpr std::uint8_t kRcTooFewDataBytes = 5;
inline constexpr std::uint8_t kRcNotImplemented = 64;

// A reply's byte count covers response code, status and data in one byte.
inline constexpr std::size_t kMaxReplyData = 253;

struct Date {
  std::uint8_t day = 1;
  std::uint8_t month = 1;
  std::uint16_t year = 2026;  // goes out as year - 1900
  friend bool operator==(const Date&, const Date&) = default;
};

struct Identity {
  // Our own codes, not anybody's registered ones.
  std::uint8_t manufacturerId = 0xF4;
  std::uint8_t deviceType = 0x54;
  std::uint8_t requestPreambles = 5;
  std::uint8_t universalRevision = 5;
  std::uint8_t deviceRevision = 2;
  std::uint8_t softwareRevision = 5;
  std::uint8_t hardwareRevision = 1;  // the whole byte as sent
  std::uint8_t flags = 0;
  std::uint32_t deviceId = 0x00A1B2;  // 24 bits on the wire
  // Sent packed, padded or cut to 8, 16 and 32 characters. Written texts
  // come back upper case and padded.
  std::string tag = "SIM01";
  std::string descriptor = "TARNIX SIMULATOR";
  std::string message;
  Date date;
  friend bool operator==(const Identity&, const Identity&) = default;
};

struct DeviceState {
  Identity identity;
  std::uint8_t deviceStatus = 0;
  // The device variables that neither a record nor the valve keeps
  // (variables.h), as they would come off the wire.
  std::map<std::uint16_t, double> variables;
  ValveModel valve;
  // What drives the analog input (steady unless a test or the program's
  // simulated run sets another).
  InputProfile input;
  // What the device-specific record commands read and write.
  StatusRecords status;
  SetupRecords setup;
  TravelRecords travel;
  AuxRecords aux;
  TestRecords tests;
  HistoryRecords history;
  AlarmRecords alarms;
  // The calibrations under way, and the air supply.
  CalibrationRecords calibration;
  friend bool operator==(const DeviceState&, const DeviceState&) = default;
};

enum class FaultKind {
  NoReply,        // the request is lost: not carried out, no answer
  ResponseCode,   // not carried out; [cmd][2][code][status]
  ShortReply,     // carried out; the reply cut to `value` bytes, byte count kept
  WrongEcho,      // carried out; byte 0 names another command
  LongByteCount,  // carried out; byte count one more than the bytes that follow
};

struct Fault {
  FaultKind kind = FaultKind::NoReply;
  std::size_t value = 0;  // the response code, or the length of a short reply
};

class Positioner : public opc::IHartFrameDevice {
 public:
  Positioner();

  std::optional<std::vector<std::uint8_t>> Transact(std::span<const std::uint8_t> request) override;

  // Brings the valve, the device's clock and the derived status bits
  // (alarms.h) up to the time source's now. The readers below do
  // not, so that a reading taken right after a transaction shows what that
  // transaction answered even on the running system clock; a test that
  // moved a manual clock calls this before reading.
  void CatchUp();

  DeviceState State() const;
  void SetState(const DeviceState& state);
  Identity GetIdentity() const;
  void SetIdentity(const Identity& identity);
  std::uint8_t DeviceStatus() const;
  void SetDeviceStatus(std::uint8_t status);
  // The process takes over the analog input from the device's now on.
  void SetInputProfile(InputProfile profile);
  // Both throw std::out_of_range for an id the simulator does not know.
  // SetVariable keeps the value as the wire would carry it, in the record
  // or the valve that keeps the variable if one does, and sets nothing off
  // but the derived status bits (a 201 write does); it throws std::invalid_argument for the priority
  // code 42, which follows StatusRecords. The variables the valve works out
  // set what they follow from (variables.cpp).
  void SetVariable(std::uint16_t id, double value);
  double Variable(std::uint16_t id) const;

  // The requests as received, empty and malformed ones too, oldest first;
  // only the latest are kept (at most kRequestLimit), so a long run does
  // not grow them.
  static constexpr std::size_t kRequestLimit = 4096;
  const std::vector<std::vector<std::uint8_t>>& Requests() const;
  void ClearRequests();

  // Faults wait in line: the first one shapes the next `times` answers
  // (-1: until ClearFaults) before the next one takes over.
  void InjectFault(Fault fault, int times = 1);
  void InjectNoReply(int times = 1) { InjectFault({FaultKind::NoReply, 0}, times); }
  void InjectResponseCode(std::uint8_t code, int times = 1) { InjectFault({FaultKind::ResponseCode, code}, times); }
  void InjectShortReply(std::size_t length, int times = 1) { InjectFault({FaultKind::ShortReply, length}, times); }
  void InjectWrongEcho(int times = 1) { InjectFault({FaultKind::WrongEcho, 0}, times); }
  void InjectLongByteCount(int times = 1) { InjectFault({FaultKind::LongByteCount, 0}, times); }
  void ClearFaults();

  // Every Transact blocks its caller this long, answered or not.
  void SetLatency(std::chrono::milliseconds latency);

 private:
  struct PendingFault {
    Fault fault;
    int times;
  };

  std::optional<std::vector<std::uint8_t>> Answer(std::span<const std::uint8_t> request);
  std::vector<std::uint8_t> Handle(std::span<const std::uint8_t> request);
  std::vector<std::uint8_t> Frame(std::uint8_t command, std::uint8_t code, std::span<const std::uint8_t> data) const;
  std::optional<Fault> TakeFault();

  DeviceState m_state;
  std::vector<std::vector<std::uint8_t>> m_requests;
  std::deque<PendingFault> m_faults;
  std::chrono::milliseconds m_latency{0};
  std::int64_t m_valveMs = 0;  // the time source's reading the valve has reached
};

}  // namespace sim
