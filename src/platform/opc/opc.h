#pragma once
// OPC Data Access server, group and item interfaces, in the shape the
// communication object calls them. Result and error arrays come back in
// vectors, so there is nothing to free by hand.
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/variant.h"

using OPCHANDLE = DWORD;
using LPCWSTR = const OLECHAR*;

enum OPCDATASOURCE { OPC_DS_CACHE = 1, OPC_DS_DEVICE = 2 };

constexpr HRESULT OPC_E_INVALIDHANDLE = MakeHResult(0xC0040001u);
constexpr HRESULT OPC_E_UNKNOWNITEMID = MakeHResult(0xC0040007u);
constexpr HRESULT OPC_E_BADTYPE = MakeHResult(0xC0040004u);

struct OPCITEMDEF {
  LPCWSTR szAccessPath = nullptr;
  LPCWSTR szItemID = nullptr;
  BOOL bActive = FALSE;
  OPCHANDLE hClient = 0;
  DWORD dwBlobSize = 0;
  BYTE* pBlob = nullptr;
  VARTYPE vtRequestedDataType = VT_EMPTY;
  WORD wReserved = 0;
};

struct OPCITEMRESULT {
  OPCHANDLE hServer = 0;
  VARTYPE vtCanonicalDataType = VT_EMPTY;
  WORD wReserved = 0;
  DWORD dwAccessRights = 0;
};

struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

struct OPCITEMSTATE {
  OPCHANDLE hClient = 0;
  FILETIME ftTimeStamp;
  WORD wQuality = 0;
  WORD wReserved = 0;
  VARIANT vDataValue;
};

constexpr WORD OPC_QUALITY_GOOD = 0xC0;

struct IOPCServer : IUnknown {
  static constexpr IID kIID = {0x7a3c0002, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
  virtual HRESULT AddGroup(LPCWSTR szName, BOOL bActive, DWORD dwRequestedUpdateRate, OPCHANDLE hClientGroup,
                           const LONG* pTimeBias, const FLOAT* pPercentDeadband, DWORD dwLCID,
                           OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate, REFIID riid, IUnknown** ppUnk) = 0;
};

struct IOPCItemMgt : IUnknown {
  static constexpr IID kIID = {0x7a3c0002, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};
  virtual HRESULT AddItems(DWORD dwCount, const OPCITEMDEF* pItemArray, std::vector<OPCITEMRESULT>& results,
                           std::vector<HRESULT>& errors) = 0;
};

struct IOPCSyncIO : IUnknown {
  static constexpr IID kIID = {0x7a3c0002, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03}};
  virtual HRESULT Read(OPCDATASOURCE dwSource, DWORD dwCount, const OPCHANDLE* phServer,
                       std::vector<OPCITEMSTATE>& itemValues, std::vector<HRESULT>& errors) = 0;
  virtual HRESULT Write(DWORD dwCount, const OPCHANDLE* phServer, const VARIANT* pItemValues,
                        std::vector<HRESULT>& errors) = 0;
};

using IOPCServerPtr = _com_ptr_t<IOPCServer>;
using IOPCItemMgtPtr = _com_ptr_t<IOPCItemMgt>;
using IOPCSyncIOPtr = _com_ptr_t<IOPCSyncIO>;
