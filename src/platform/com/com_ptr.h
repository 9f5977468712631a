#pragma once
// _com_ptr_t: an interface holder that adds and drops references. A call
// through an empty holder raises _com_error with E_POINTER.
#include <cstddef>
#include <memory>

#include "platform/com/com_error.h"
#include "platform/com/unknown.h"

HRESULT CoCreateInstanceByProgId(const char* progId, IUnknown* outer, DWORD context, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);

template <class I>
class _com_ptr_t {
 public:
  _com_ptr_t() = default;
  _com_ptr_t(std::nullptr_t) {}
  _com_ptr_t(I* p, bool addRef = true) : m_p(p) {
    if (m_p && addRef) m_p->AddRef();
  }
  _com_ptr_t(const _com_ptr_t& o) : m_p(o.m_p) {
    if (m_p) m_p->AddRef();
  }
  _com_ptr_t(_com_ptr_t&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
  // From another interface: asks for this one (empty when not there).
  template <class J>
  explicit _com_ptr_t(const _com_ptr_t<J>& o) {
    if (o) o.GetInterfacePtr()->QueryInterface(I::kIID, reinterpret_cast<void**>(&m_p));
  }
  ~_com_ptr_t() { Release(); }

  _com_ptr_t& operator=(const _com_ptr_t& o) {
    if (this != std::addressof(o)) {
      if (o.m_p) o.m_p->AddRef();
      Release();
      m_p = o.m_p;
    }
    return *this;
  }
  _com_ptr_t& operator=(_com_ptr_t&& o) noexcept {
    if (this != std::addressof(o)) {
      Release();
      m_p = o.m_p;
      o.m_p = nullptr;
    }
    return *this;
  }
  _com_ptr_t& operator=(I* p) {
    if (p) p->AddRef();
    Release();
    m_p = p;
    return *this;
  }
  _com_ptr_t& operator=(std::nullptr_t) {
    Release();
    return *this;
  }

  I* operator->() const {
    if (!m_p) _com_issue_error(E_POINTER);
    return m_p;
  }
  I& operator*() const {
    if (!m_p) _com_issue_error(E_POINTER);
    return *m_p;
  }
  // The address for an out-argument; what the holder had is dropped first.
  I** operator&() {
    Release();
    return &m_p;
  }
  explicit operator bool() const { return m_p != nullptr; }
  bool operator!() const { return m_p == nullptr; }
  operator I*() const { return m_p; }
  I* GetInterfacePtr() const { return m_p; }

  void Attach(I* p) {
    Release();
    m_p = p;
  }
  I* Detach() {
    I* p = m_p;
    m_p = nullptr;
    return p;
  }
  void Release() {
    if (m_p) {
      I* p = m_p;
      m_p = nullptr;
      p->Release();
    }
  }

  HRESULT CreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = 0x17) {
    Release();
    return CoCreateInstance(clsid, outer, context, I::kIID, reinterpret_cast<void**>(&m_p));
  }
  HRESULT CreateInstance(const char* progId, IUnknown* outer = nullptr, DWORD context = 0x17) {
    Release();
    return CoCreateInstanceByProgId(progId, outer, context, I::kIID, reinterpret_cast<void**>(&m_p));
  }
  template <class J>
  HRESULT QueryInterface(REFIID riid, J** pp) const {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(riid, reinterpret_cast<void**>(pp));
  }

 private:
  I* m_p = nullptr;
};

using IUnknownPtr = _com_ptr_t<IUnknown>;
using IClassFactoryPtr = _com_ptr_t<IClassFactory>;
