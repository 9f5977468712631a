#include "sim/install.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

#include "platform/opc/server.h"
#include "support/scoped_env.h"

namespace sim {
namespace {

TEST(PositionerFor, KeepsOnePositionerPerPathUntilForgotten) {
  ForgetPositioners();
  const auto first = PositionerFor("HART/Modem/Valve1");
  EXPECT_EQ(PositionerFor("HART/Modem/Valve1"), first);
  EXPECT_NE(PositionerFor("HART/Modem/Valve2"), first);

  ForgetPositioners();
  EXPECT_NE(PositionerFor("HART/Modem/Valve1"), first);
}

using testsupport::ScopedEnv;

TEST(ConfiguredDevicePaths, FromTheListAndTheFileElseTheDefault) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("tarnix-sim-devices-" + std::to_string(::getpid()) + ".txt");
  std::ofstream(file) << "HART/Net/Tarnix3\r\n\n  HART/Net/Tarnix4  \nHART/Net/Tarnix2\n";
  struct Case {
    const char* list;
    const char* file;
    std::vector<std::string> paths;
  } cases[] = {
      {nullptr, nullptr, {"HART/Net/Tarnix1"}},
      {"", "", {"HART/Net/Tarnix1"}},
      {"HART/Net/Tarnix1:HART/Net/Tarnix2", nullptr, {"HART/Net/Tarnix1", "HART/Net/Tarnix2"}},
      {":HART/Net/Tarnix2::HART/Net/Tarnix2:", nullptr, {"HART/Net/Tarnix2"}},  // empties and repeats dropped
      {"HART/Net/Tarnix2", file.c_str(), {"HART/Net/Tarnix2", "HART/Net/Tarnix3", "HART/Net/Tarnix4"}},
      {nullptr, "/nonexistent/devices.txt", {"HART/Net/Tarnix1"}},
      {nullptr, "/", {"HART/Net/Tarnix1"}},  // a folder is not read
  };
  for (const Case& c : cases) {
    ScopedEnv list("TARNIX_SIM_DEVICES", c.list);
    ScopedEnv named("TARNIX_SIM_DEVICES_FILE", c.file);
    EXPECT_EQ(ConfiguredDevicePaths(), c.paths) << (c.list ? c.list : "-") << " " << (c.file ? c.file : "-");
  }
  std::filesystem::remove(file);
}

class ServedPaths : public testing::Test {
 protected:
  void SetUp() override {
    opc::ResetServer();
    ForgetPositioners();
    opc::RegisterServer();
    InstallAsOpcDevices({"HART/Net/Tarnix1", "HART/Net/Tarnix2"});
    ASSERT_EQ(server.CreateInstance(opc::kServerProgId), S_OK);
    OPCHANDLE group = 0;
    ASSERT_EQ(server->AddGroup(u"G", FALSE, 2000, 1, nullptr, nullptr, 0, &group, nullptr, IOPCItemMgt::kIID,
                               reinterpret_cast<IUnknown**>(&items)),
              S_OK);
    ASSERT_EQ(items.QueryInterface(IOPCSyncIO::kIID, &io), S_OK);
  }
  void TearDown() override {
    opc::ResetServer();
    opc::SetDeviceProvider(nullptr);
    ForgetPositioners();
  }
  // The item's error, and its handle.
  std::pair<HRESULT, OPCHANDLE> AddItem(const std::u16string& path) {
    const std::u16string id = path + u"/Param/HART_Frame";
    OPCITEMDEF def;
    def.szItemID = id.c_str();
    def.vtRequestedDataType = VT_ARRAY | VT_UI1;
    std::vector<OPCITEMRESULT> results;
    std::vector<HRESULT> errors;
    EXPECT_EQ(items->AddItems(1, &def, results, errors), S_OK);
    return {errors.at(0), results.at(0).hServer};
  }
  void Send(OPCHANDLE h, std::vector<BYTE> request) {
    const _variant_t v = _variant_t::FromBytes(request.data(), request.size());
    std::vector<HRESULT> errors;
    ASSERT_EQ(io->Write(1, &h, &v, errors), S_OK);
    std::vector<OPCITEMSTATE> states;
    ASSERT_EQ(io->Read(OPC_DS_DEVICE, 1, &h, states, errors), S_OK);
    EXPECT_EQ(errors.at(0), S_OK);
  }

  IOPCServerPtr server;
  IOPCItemMgtPtr items;
  IOPCSyncIOPtr io;
};

TEST_F(ServedPaths, EachConfiguredPathHasItsOwnPositioner) {
  const auto [err1, first] = AddItem(u"HART/Net/Tarnix1");
  const auto [err2, second] = AddItem(u"HART/Net/Tarnix2");
  ASSERT_EQ(err1, S_OK);
  ASSERT_EQ(err2, S_OK);
  Send(second, {12});
  Send(first, {13});
  EXPECT_EQ(PositionerFor("HART/Net/Tarnix2")->Requests(), std::vector<std::vector<std::uint8_t>>{{12}});
  EXPECT_EQ(PositionerFor("HART/Net/Tarnix1")->Requests(), std::vector<std::vector<std::uint8_t>>{{13}});
}

TEST_F(ServedPaths, AnyOtherPathIsRefused) {
  for (const char16_t* path : {u"HART/Net/Nope", u"HART/Net/Tarnix", u"HART/Net/Tarnix1/", u""}) {
    EXPECT_EQ(AddItem(path).first, OPC_E_UNKNOWNITEMID) << plat::Utf16ToUtf8(path);
  }
}

}  // namespace
}  // namespace sim
