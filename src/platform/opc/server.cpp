#include "platform/opc/server.h"

#include <map>

#include "platform/com/registry.h"

namespace opc {
namespace {

struct FaultState {
  std::map<Fault, int> pending;  // remaining shots; -1 = until cleared
  bool Take(Fault f) {
    auto it = pending.find(f);
    if (it == pending.end()) return false;
    if (it->second > 0 && --it->second == 0) pending.erase(it);
    return true;
  }
};

struct ServerState {
  FaultState faults;
  Calls calls;
  DeviceProvider provider;
  std::map<std::string, std::shared_ptr<IHartFrameDevice>> devices;
};

ServerState& State() {
  static ServerState s;
  return s;
}

std::shared_ptr<IHartFrameDevice> DeviceForItem(const std::string& itemId) {
  const std::string suffix = kHartFrameSuffix;
  if (itemId.size() <= suffix.size() || itemId.compare(itemId.size() - suffix.size(), suffix.size(), suffix) != 0)
    return nullptr;
  const std::string path = itemId.substr(0, itemId.size() - suffix.size());
  auto& s = State();
  auto it = s.devices.find(path);
  if (it != s.devices.end()) return it->second;
  if (!s.provider) return nullptr;
  auto device = s.provider(path);
  if (device) s.devices[path] = device;
  return device;
}

// One group: its items are HART frame items, each with the request written
// to it that the next device read answers.
class Group : public plat::ComObject<IOPCItemMgt, IOPCSyncIO> {
 public:
  HRESULT AddItems(DWORD count, const OPCITEMDEF* items, std::vector<OPCITEMRESULT>& results,
                   std::vector<HRESULT>& errors) override {
    results.clear();
    errors.clear();
    if (!items && count) return E_INVALIDARG;
    if (State().faults.Take(Fault::AddItemsFails)) return E_FAIL;
    for (DWORD i = 0; i < count; ++i) {
      auto& calls = State().calls;
      calls.lastItemId = items[i].szItemID ? items[i].szItemID : u"";
      calls.lastAccessPath = items[i].szAccessPath ? items[i].szAccessPath : u"";
      calls.lastItemActive = items[i].bActive;
      calls.lastItemClient = items[i].hClient;
      calls.lastRequestedType = items[i].vtRequestedDataType;
      OPCITEMRESULT r;
      HRESULT err = S_OK;
      auto device = State().faults.Take(Fault::ItemRefused) ? nullptr : DeviceForItem(plat::Utf16ToUtf8(calls.lastItemId));
      if (!device) {
        err = OPC_E_UNKNOWNITEMID;
      } else if (items[i].vtRequestedDataType != (VT_ARRAY | VT_UI1) && items[i].vtRequestedDataType != VT_EMPTY) {
        err = OPC_E_BADTYPE;
      } else {
        r.hServer = m_nextHandle++;
        r.vtCanonicalDataType = VT_ARRAY | VT_UI1;
        r.dwAccessRights = 3;
        m_items[r.hServer] = Item{device, {}, false};
      }
      results.push_back(r);
      errors.push_back(err);
    }
    return S_OK;
  }

  HRESULT Write(DWORD count, const OPCHANDLE* handles, const VARIANT* values, std::vector<HRESULT>& errors) override {
    errors.clear();
    if ((!handles || !values) && count) return E_INVALIDARG;
    ++State().calls.writes;
    if (State().faults.Take(Fault::WriteCallFails)) return E_FAIL;
    for (DWORD i = 0; i < count; ++i) {
      auto it = m_items.find(handles[i]);
      HRESULT err = S_OK;
      if (it == m_items.end()) {
        err = OPC_E_INVALIDHANDLE;
      } else if (State().faults.Take(Fault::WriteItemError)) {
        err = E_FAIL;
      } else if (!values[i].IsByteArray()) {
        err = OPC_E_BADTYPE;
      } else {
        it->second.request = values[i].Bytes();
        it->second.pending = true;
        State().calls.lastWritten = it->second.request;
      }
      errors.push_back(err);
    }
    return S_OK;
  }

  HRESULT Read(OPCDATASOURCE source, DWORD count, const OPCHANDLE* handles, std::vector<OPCITEMSTATE>& values,
               std::vector<HRESULT>& errors) override {
    values.clear();
    errors.clear();
    if (!handles && count) return E_INVALIDARG;
    ++State().calls.reads;
    State().calls.lastReadSource = source;
    if (State().faults.Take(Fault::ReadCallFails)) return E_FAIL;
    values.resize(count);
    for (DWORD i = 0; i < count; ++i) {
      auto it = m_items.find(handles[i]);
      HRESULT err = S_OK;
      if (it == m_items.end()) {
        err = OPC_E_INVALIDHANDLE;
      } else if (State().faults.Take(Fault::ReadItemError)) {
        err = E_FAIL;
      } else if (!it->second.pending) {
        err = E_FAIL;  // nothing was written that the device could answer
      } else {
        Item& item = it->second;
        item.pending = false;
        auto reply = item.device->Transact(item.request);
        if (!reply) {
          err = E_FAIL;  // the device did not answer in time
        } else if (State().faults.Take(Fault::ValueNoArray)) {
          values[i].vDataValue = _variant_t(static_cast<LONG>(reply->size()));
          values[i].wQuality = OPC_QUALITY_GOOD;
        } else {
          values[i].vDataValue = _variant_t::FromBytes(reply->data(), reply->size());
          values[i].wQuality = OPC_QUALITY_GOOD;
        }
      }
      errors.push_back(err);
    }
    return S_OK;
  }

 private:
  struct Item {
    std::shared_ptr<IHartFrameDevice> device;
    std::vector<BYTE> request;
    bool pending;
  };
  std::map<OPCHANDLE, Item> m_items;
  OPCHANDLE m_nextHandle = 1;
};

class Server : public plat::ComObject<IOPCServer> {
 public:
  HRESULT AddGroup(LPCWSTR name, BOOL active, DWORD rate, OPCHANDLE client, const LONG* timeBias,
                   const FLOAT* deadband, DWORD lcid, OPCHANDLE* serverGroup, DWORD* revisedRate, REFIID riid,
                   IUnknown** ppUnk) override {
    if (!ppUnk || !serverGroup) return E_INVALIDARG;
    *ppUnk = nullptr;
    auto& calls = State().calls;
    calls.lastGroupName = name ? name : u"";
    calls.lastGroupActive = active;
    calls.lastUpdateRate = rate;
    calls.lastGroupClient = client;
    calls.lastTimeBiasGiven = timeBias != nullptr;
    calls.lastDeadband = deadband ? *deadband : -1.0f;
    calls.lastLcid = lcid;
    if (State().faults.Take(Fault::AddGroupFails)) return E_FAIL;
    const HRESULT hr = plat::CreateComObject<Group>(riid, reinterpret_cast<void**>(ppUnk));
    if (FAILED(hr)) return hr;
    *serverGroup = m_nextGroup++;
    if (revisedRate) *revisedRate = rate;
    return S_OK;
  }

 private:
  OPCHANDLE m_nextGroup = 1;
};

}  // namespace

void RegisterServer() {
  plat::RegisterClass(kServerProgId, [](REFIID riid, void** ppv) -> HRESULT {
    if (State().faults.Take(Fault::ConnectRefused)) return E_ACCESSDENIED;
    return plat::CreateComObject<Server>(riid, ppv);
  });
}

void SetDeviceProvider(DeviceProvider provider) {
  State().provider = std::move(provider);
  State().devices.clear();
}

void InjectFault(Fault fault, int times) { State().faults.pending[fault] = times; }

void ClearFaults() { State().faults.pending.clear(); }

const Calls& SeenCalls() { return State().calls; }

void ResetServer() {
  State().faults.pending.clear();
  State().calls = Calls{};
  State().devices.clear();
}

}  // namespace opc
