#pragma once
// COM start-up, class look-up by ProgID and class objects, over a
// process-wide registry of our own classes. A ProgID that is not
// registered fails as it would on Windows, so tests can take a class away.
#include <functional>
#include <string>

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"

enum CLSCTX : DWORD {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
  CLSCTX_ALL = 0x17,
};

struct COSERVERINFO {
  DWORD dwReserved1 = 0;
  LPOLESTR pwszName = nullptr;
  void* pAuthInfo = nullptr;
  DWORD dwReserved2 = 0;
};

HRESULT CoInitialize(void* reserved);
void CoUninitialize();
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// With a server-info record naming a computer other than this one, the
// class object is out of reach (RPC_S_SERVER_UNAVAILABLE).
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO* server, REFIID riid, void** ppv);

namespace plat {

// Makes one instance and asks it for riid.
using ClassCreator = std::function<HRESULT(REFIID riid, void** ppv)>;

// Registers (or replaces) an in-process class; its CLSID is derived from the
// ProgID and returned.
CLSID RegisterClass(const std::string& progId, ClassCreator create);
// Removes a class; false when it was not registered.
bool UnregisterClass(const std::string& progId);
bool IsClassRegistered(const std::string& progId);

// "", "localhost", loopback addresses and this machine's host name.
bool IsLocalComputer(std::u16string_view name);

}  // namespace plat
