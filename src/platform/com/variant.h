#pragma once
// _variant_t for the value types the program exchanges: numbers, booleans,
// texts, interfaces and byte arrays. A variant owns what it holds.
#include <cstdint>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/unknown.h"

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_UNKNOWN = 13,
  VT_UI1 = 17,
  VT_ARRAY = 0x2000,
};

class _variant_t {
 public:
  VARTYPE vt = VT_EMPTY;
  union {
    LONG lVal;
    short iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    BYTE bVal;
    HRESULT scode;
    IUnknown* punkVal;   // VT_UNKNOWN and VT_DISPATCH; one reference held
    SAFEARRAY* parray;   // VT_ARRAY | ...; owned
    std::uint64_t raw_;  // the whole value, for copies
  };
  _bstr_t bstrVal;       // VT_BSTR

  _variant_t() : raw_(0) {}
  _variant_t(LONG v) : vt(VT_I4), raw_(0) { lVal = v; }
  _variant_t(short v) : vt(VT_I2), raw_(0) { iVal = v; }
  _variant_t(float v) : vt(VT_R4), raw_(0) { fltVal = v; }
  _variant_t(double v) : vt(VT_R8), dblVal(v) {}
  _variant_t(bool v) : vt(VT_BOOL), raw_(0) { boolVal = v ? VARIANT_TRUE : VARIANT_FALSE; }
  _variant_t(BYTE v) : vt(VT_UI1), raw_(0) { bVal = v; }
  _variant_t(const _bstr_t& v) : vt(VT_BSTR), raw_(0), bstrVal(v) {}
  _variant_t(const char* v) : vt(VT_BSTR), raw_(0), bstrVal(v) {}
  // Holds the interface (VT_UNKNOWN or VT_DISPATCH) with a reference of its own.
  _variant_t(IUnknown* p, VARTYPE type = VT_UNKNOWN);
  // A VT_ARRAY | VT_UI1 copy of the bytes.
  static _variant_t FromBytes(const BYTE* data, size_t count);

  _variant_t(const _variant_t& o);
  _variant_t(_variant_t&& o) noexcept;
  _variant_t& operator=(const _variant_t& o);
  _variant_t& operator=(_variant_t&& o) noexcept;
  ~_variant_t() { Clear(); }

  void Clear();
  // Takes ownership of an array (its element type gives the variant's type).
  void AttachArray(SAFEARRAY* psa);
  bool IsByteArray() const { return vt == (VT_ARRAY | VT_UI1) && parray != nullptr; }
  // The bytes of a byte array; empty for any other value.
  std::vector<BYTE> Bytes() const;
};

using VARIANT = _variant_t;

inline void VariantInit(VARIANT* v) { v->Clear(); }
inline HRESULT VariantClear(VARIANT* v) {
  v->Clear();
  return S_OK;
}
