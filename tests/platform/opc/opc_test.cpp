// The in-process OPC server on its own: item look-up, write then read
// from the device, and each fault.
#include <gtest/gtest.h>

#include "platform/com/registry.h"
#include "platform/opc/server.h"

namespace {

using Bytes = std::vector<BYTE>;

class EchoDevice : public opc::IHartFrameDevice {
 public:
  std::optional<std::vector<std::uint8_t>> Transact(std::span<const std::uint8_t> request) override {
    ++calls;
    return Bytes(request.begin(), request.end());
  }
  int calls = 0;
};

class OpcServer : public testing::Test {
 protected:
  void SetUp() override {
    opc::ResetServer();
    opc::RegisterServer();
    opc::SetDeviceProvider([this](const std::string& path) -> std::shared_ptr<opc::IHartFrameDevice> {
      ++provided;
      return path == "Dev" ? device : nullptr;
    });
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
  }
  OPCHANDLE AddItem(const char16_t* id, HRESULT* itemError = nullptr) {
    OPCITEMDEF def;
    def.szItemID = id;
    def.vtRequestedDataType = VT_ARRAY | VT_UI1;
    std::vector<OPCITEMRESULT> results;
    std::vector<HRESULT> errors;
    EXPECT_EQ(items->AddItems(1, &def, results, errors), S_OK);
    if (itemError) *itemError = errors.at(0);
    return results.at(0).hServer;
  }
  std::optional<Bytes> RoundTrip(OPCHANDLE h, const Bytes& request) {
    const _variant_t v = _variant_t::FromBytes(request.data(), request.size());
    std::vector<HRESULT> errors;
    if (FAILED(io->Write(1, &h, &v, errors)) || FAILED(errors.at(0))) return std::nullopt;
    std::vector<OPCITEMSTATE> states;
    if (FAILED(io->Read(OPC_DS_DEVICE, 1, &h, states, errors)) || FAILED(errors.at(0))) return std::nullopt;
    return states.at(0).vDataValue.Bytes();
  }

  std::shared_ptr<EchoDevice> device = std::make_shared<EchoDevice>();
  int provided = 0;
  IOPCServerPtr server;
  IOPCItemMgtPtr items;
  IOPCSyncIOPtr io;
};

TEST_F(OpcServer, HartFrameItemReachesItsDeviceOnce) {
  HRESULT err = E_FAIL;
  const OPCHANDLE h = AddItem(u"Dev/Param/HART_Frame", &err);
  EXPECT_EQ(err, S_OK);
  EXPECT_EQ(RoundTrip(h, {0}), Bytes{0});
  EXPECT_EQ(RoundTrip(h, {200, 2, 0, 8}), (Bytes{200, 2, 0, 8}));
  AddItem(u"Dev/Param/HART_Frame");
  EXPECT_EQ(provided, 1);  // one device per path
  EXPECT_EQ(device->calls, 2);
}

TEST_F(OpcServer, UnknownItemsAreRefused) {
  for (const char16_t* id : {u"Other/Param/HART_Frame", u"Dev", u"Dev/Param/PV", u""}) {
    HRESULT err = S_OK;
    AddItem(id, &err);
    EXPECT_TRUE(FAILED(err));
  }
}

TEST_F(OpcServer, ReadWithoutAWrittenRequestGivesAnItemError) {
  const OPCHANDLE h = AddItem(u"Dev/Param/HART_Frame");
  std::vector<OPCITEMSTATE> states;
  std::vector<HRESULT> errors;
  EXPECT_EQ(io->Read(OPC_DS_DEVICE, 1, &h, states, errors), S_OK);
  EXPECT_TRUE(FAILED(errors.at(0)));
  EXPECT_EQ(device->calls, 0);
}

TEST_F(OpcServer, EachFaultFailsItsStepOnceThenClears) {
  const OPCHANDLE h = AddItem(u"Dev/Param/HART_Frame");
  for (opc::Fault f : {opc::Fault::WriteCallFails, opc::Fault::WriteItemError, opc::Fault::ReadCallFails,
                       opc::Fault::ReadItemError, opc::Fault::ValueNoArray}) {
    opc::InjectFault(f);
    EXPECT_FALSE(RoundTrip(h, {12}).value_or(Bytes{}).size()) << static_cast<int>(f);
    EXPECT_EQ(RoundTrip(h, {12}), Bytes{12}) << static_cast<int>(f);
  }
  opc::InjectFault(opc::Fault::ReadItemError, -1);
  EXPECT_FALSE(RoundTrip(h, {12}));
  EXPECT_FALSE(RoundTrip(h, {12}));
  opc::ClearFaults();
  EXPECT_EQ(RoundTrip(h, {12}), Bytes{12});
}

TEST_F(OpcServer, ServerCanBeUnregisteredAndRegisteredAgain) {
  ASSERT_TRUE(plat::UnregisterClass(opc::kServerProgId));
  IOPCServerPtr none;
  EXPECT_EQ(none.CreateInstance(opc::kServerProgId), REGDB_E_CLASSNOTREG);
  opc::RegisterServer();
  EXPECT_EQ(none.CreateInstance(opc::kServerProgId), S_OK);
}

}  // namespace
