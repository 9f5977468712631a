#pragma once
// Late-bound calls by name: the part of IDispatch the program uses.
#include <vector>

#include "platform/com/variant.h"

using DISPID = LONG;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHResult(0x80020006u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHResult(0x80020003u);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHResult(0x8002000Eu);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHResult(0x80020005u);

// Arguments in reverse order, as COM passes them.
struct DISPPARAMS {
  VARIANT* rgvarg = nullptr;
  DISPID* rgdispidNamedArgs = nullptr;
  UINT cArgs = 0;
  UINT cNamedArgs = 0;
};

struct IDispatch : IUnknown {
  static constexpr IID kIID = {0x7a3c0001, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03}};
  virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                         void* excepInfo, UINT* argErr) = 0;
};

using IDispatchPtr = _com_ptr_t<IDispatch>;
