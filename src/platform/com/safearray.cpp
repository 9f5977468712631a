#include "platform/com/safearray.h"

#include "platform/com/variant.h"

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
  if (vt != VT_UI1) return nullptr;
  auto* psa = new SAFEARRAY;
  psa->vt = vt;
  psa->lLbound = lLbound;
  psa->data.assign(cElements, 0);
  return psa;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (psa->locks > 0) return DISP_E_ARRAYISLOCKED;
  delete psa;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
  if (!psa || !ppvData) return E_INVALIDARG;
  ++psa->locks;
  *ppvData = psa->data.data();
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->locks <= 0) return E_UNEXPECTED;
  --psa->locks;
  return S_OK;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
  if (!psa || !plLbound) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  *plLbound = psa->lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
  if (!psa || !plUbound) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  *plUbound = psa->lLbound + static_cast<LONG>(psa->data.size()) - 1;
  return S_OK;
}

HRESULT SafeArrayCopy(const SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (!psa) return S_OK;
  auto* copy = new SAFEARRAY;
  copy->vt = psa->vt;
  copy->lLbound = psa->lLbound;
  copy->data = psa->data;
  *ppsaOut = copy;
  return S_OK;
}

UINT SafeArrayGetDim(const SAFEARRAY* psa) { return psa ? 1 : 0; }
