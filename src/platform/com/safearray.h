#pragma once
// One-dimensional SAFEARRAY of bytes, the only kind the program exchanges.
#include <vector>

#include "platform/com/hresult.h"
#include "platform/sys/wintypes.h"

using VARTYPE = std::uint16_t;

struct SAFEARRAY {
  VARTYPE vt = 0;
  LONG lLbound = 0;
  std::vector<BYTE> data;
  int locks = 0;
};

// Only VT_UI1 elements are supported; any other type gives null.
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);
HRESULT SafeArrayGetLBound(const SAFEARRAY* psa, UINT nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(const SAFEARRAY* psa, UINT nDim, LONG* plUbound);
HRESULT SafeArrayCopy(const SAFEARRAY* psa, SAFEARRAY** ppsaOut);
UINT SafeArrayGetDim(const SAFEARRAY* psa);
