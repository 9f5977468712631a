#include "platform/com/variant.h"

#include <utility>

_variant_t::_variant_t(IUnknown* p, VARTYPE type) : vt(type), raw_(0) {
  punkVal = p;
  if (vt != VT_UNKNOWN && vt != VT_DISPATCH) vt = VT_UNKNOWN;
  if (punkVal) punkVal->AddRef();
}

_variant_t _variant_t::FromBytes(const BYTE* data, size_t count) {
  _variant_t v;
  SAFEARRAY* psa = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(count));
  if (count) psa->data.assign(data, data + count);
  v.AttachArray(psa);
  return v;
}

_variant_t::_variant_t(const _variant_t& o) : vt(o.vt), raw_(o.raw_), bstrVal(o.bstrVal) {
  if (vt & VT_ARRAY) {
    SafeArrayCopy(o.parray, &parray);
  } else if ((vt == VT_UNKNOWN || vt == VT_DISPATCH) && punkVal) {
    punkVal->AddRef();
  }
}

_variant_t::_variant_t(_variant_t&& o) noexcept : vt(o.vt), raw_(o.raw_), bstrVal(std::move(o.bstrVal)) {
  o.vt = VT_EMPTY;
  o.raw_ = 0;
}

_variant_t& _variant_t::operator=(const _variant_t& o) {
  if (this != &o) {
    _variant_t copy(o);
    *this = std::move(copy);
  }
  return *this;
}

_variant_t& _variant_t::operator=(_variant_t&& o) noexcept {
  if (this != &o) {
    Clear();
    vt = o.vt;
    raw_ = o.raw_;
    bstrVal = std::move(o.bstrVal);
    o.vt = VT_EMPTY;
    o.raw_ = 0;
  }
  return *this;
}

void _variant_t::Clear() {
  if (vt & VT_ARRAY) {
    if (parray) {
      parray->locks = 0;
      SafeArrayDestroy(parray);
    }
  } else if ((vt == VT_UNKNOWN || vt == VT_DISPATCH) && punkVal) {
    punkVal->Release();
  }
  vt = VT_EMPTY;
  raw_ = 0;
  bstrVal = _bstr_t();
}

void _variant_t::AttachArray(SAFEARRAY* psa) {
  Clear();
  if (!psa) return;
  vt = static_cast<VARTYPE>(VT_ARRAY | psa->vt);
  parray = psa;
}

std::vector<BYTE> _variant_t::Bytes() const {
  if (!IsByteArray()) return {};
  return parray->data;
}
