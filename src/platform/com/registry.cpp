#include "platform/com/registry.h"

#include <unistd.h>

#include <map>

namespace {

struct Entry {
  CLSID clsid;
  plat::ClassCreator create;
};

std::map<std::string, Entry>& Classes() {
  static std::map<std::string, Entry> classes;
  return classes;
}

int g_comInits = 0;

CLSID ClsidFor(const std::string& progId) {
  // FNV-1a over the ProgID, spread into a GUID; stable between runs.
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : progId) {
    h ^= c;
    h *= 1099511628211ull;
  }
  CLSID id{};
  id.Data1 = static_cast<std::uint32_t>(h >> 32);
  id.Data2 = static_cast<std::uint16_t>(h >> 16);
  id.Data3 = static_cast<std::uint16_t>(h);
  for (int i = 0; i < 8; ++i) id.Data4[i] = static_cast<std::uint8_t>(h >> (i * 8)) ^ static_cast<std::uint8_t>(0xA5 + i);
  return id;
}

const Entry* FindByClsid(REFCLSID clsid) {
  for (const auto& [name, entry] : Classes())
    if (entry.clsid == clsid) return &entry;
  return nullptr;
}

class ClassFactory : public plat::ComObject<IClassFactory> {
 public:
  explicit ClassFactory(plat::ClassCreator create) : m_create(std::move(create)) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_create(riid, ppv);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

 private:
  plat::ClassCreator m_create;
};

}  // namespace

HRESULT CoInitialize(void*) { return g_comInits++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (g_comInits > 0) --g_comInits;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  const auto it = Classes().find(plat::Utf16ToUtf8(progId));
  if (it == Classes().end()) {
    *clsid = GUID_NULL;
    return CO_E_CLASSSTRING;
  }
  *clsid = it->second.clsid;
  return S_OK;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO* server, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (server && server->pwszName && !plat::IsLocalComputer(server->pwszName)) return RPC_S_SERVER_UNAVAILABLE_HR;
  if (!(context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER))) return REGDB_E_CLASSNOTREG;
  const Entry* entry = FindByClsid(clsid);
  if (!entry) return REGDB_E_CLASSNOTREG;
  return plat::CreateComObject<ClassFactory>(riid, ppv, entry->create);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv) {
  IClassFactoryPtr factory;
  const HRESULT hr = CoGetClassObject(clsid, context, nullptr, IClassFactory::kIID, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) {
    if (ppv) *ppv = nullptr;
    return hr;
  }
  return factory->CreateInstance(outer, riid, ppv);
}

HRESULT CoCreateInstanceByProgId(const char* progId, IUnknown* outer, DWORD context, REFIID riid, void** ppv) {
  CLSID clsid;
  const HRESULT hr = CLSIDFromProgID(_bstr_t(progId).wstr(), &clsid);
  if (FAILED(hr)) {
    if (ppv) *ppv = nullptr;
    return REGDB_E_CLASSNOTREG;
  }
  return CoCreateInstance(clsid, outer, context, riid, ppv);
}

namespace plat {

CLSID RegisterClass(const std::string& progId, ClassCreator create) {
  const CLSID clsid = ClsidFor(progId);
  Classes()[progId] = Entry{clsid, std::move(create)};
  return clsid;
}

bool UnregisterClass(const std::string& progId) { return Classes().erase(progId) > 0; }

bool IsClassRegistered(const std::string& progId) { return Classes().count(progId) > 0; }

bool IsLocalComputer(std::u16string_view name) {
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  const std::string m = lower(Utf16ToUtf8(name));
  if (m.empty() || m == "localhost" || m == "127.0.0.1" || m == "::1" || m == ".") return true;
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) return false;
  const std::string h = lower(host);
  // Windows computer names compare without case; a fully qualified name of
  // this host counts as well.
  return m == h || (m.size() > h.size() && m.compare(0, h.size(), h) == 0 && m[h.size()] == '.');
}

}  // namespace plat
