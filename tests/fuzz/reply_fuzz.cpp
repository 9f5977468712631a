// Feeds arbitrary bytes as the device's reply to every command the
// communication object reads or writes. Input: one byte that picks the
// command, then the reply.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "comm/communication.h"
#include "platform/opc/server.h"

namespace {

class ReplayDevice : public opc::IHartFrameDevice {
 public:
  std::optional<std::vector<std::uint8_t>> Transact(std::span<const std::uint8_t>) override { return reply; }
  std::optional<std::vector<std::uint8_t>> reply;
};

struct Operation {
  int command;
  bool write;
};

constexpr Operation kOperations[] = {
    {0, false},   {12, false},  {13, false},  {132, false}, {134, false}, {138, false}, {140, false},
    {142, false}, {156, false}, {158, false}, {160, false}, {162, false}, {168, false}, {170, false},
    {174, false}, {176, false}, {182, false}, {184, false}, {188, false}, {194, false}, {196, false},
    {202, false}, {204, false}, {208, false}, {212, false}, {222, false}, {238, false}, {240, false},
    {242, false}, {246, false}, {17, true},   {18, true},   {135, true},  {157, true},  {159, true},
    {161, true},  {163, true},  {177, true},  {183, true},  {187, true},  {189, true},  {195, true},
    {197, true},  {203, true},  {223, true},  {237, true},
};

struct Harness {
  Harness() {
    setenv("TARNIX_LOG_FILE", "/dev/null", 1);
    opc::RegisterServer();
    opc::SetDeviceProvider([this](const std::string&) -> std::shared_ptr<opc::IHartFrameDevice> { return device; });
    comm.Connect("AMS.OPCServer.1", "");
    comm.AddGroup("Fuzz");
    comm.AddItem("HART/Fuzz/Param/HART_Frame");
  }
  std::shared_ptr<ReplayDevice> device = std::make_shared<ReplayDevice>();
  CWexletCoreCommunication comm;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  if (size == 0) return 0;
  const Operation& op = kOperations[data[0] % std::size(kOperations)];
  harness.device->reply = std::vector<std::uint8_t>(data + 1, data + size);
  if (op.write)
    harness.comm.WriteCommand(op.command);
  else
    harness.comm.ReadCommand(op.command);
  return 0;
}
