#pragma once
// Interface identity, IUnknown, IClassFactory and a reference-counting base
// for our own implementations.
#include <atomic>
#include <cstdint>

#include "platform/com/hresult.h"
#include "platform/sys/wintypes.h"

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

// Each interface names its id as kIID.
template <class I>
constexpr const IID& IidOf() {
  return I::kIID;
}

struct IUnknown {
  static constexpr IID kIID = {0x7a3c0001, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
  virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
  static constexpr IID kIID = {0x7a3c0001, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;
};

namespace plat {

// Reference counting and QueryInterface for a class that implements the
// listed interfaces. Objects start with no reference; the first
// QueryInterface (or AddRef) takes one.
template <class First, class... Rest>
class ComObject : public First, public Rest... {
 public:
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IUnknown::kIID) {
      *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      Find<First, Rest...>(riid, ppv);
    }
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

 protected:
  ComObject() = default;
  ~ComObject() override = default;

 private:
  template <class I, class... More>
  void Find(REFIID riid, void** ppv) {
    if (riid == I::kIID) {
      *ppv = static_cast<I*>(this);
      return;
    }
    if constexpr (sizeof...(More) > 0) Find<More...>(riid, ppv);
  }
  std::atomic<ULONG> m_refs{0};
};

// Creates an object and asks it for riid; the object goes away when the
// interface is not there.
template <class T, class... Args>
HRESULT CreateComObject(REFIID riid, void** ppv, Args&&... args) {
  if (!ppv) return E_POINTER;
  T* obj = new T(static_cast<Args&&>(args)...);
  obj->AddRef();
  const HRESULT hr = obj->QueryInterface(riid, ppv);
  obj->Release();
  return hr;
}

}  // namespace plat
