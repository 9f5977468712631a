// OPC connection and the synchronous HART transaction.
#include <cstdio>
#include <cstdlib>

#include "comm/communication.h"
#include "platform/com/registry.h"
#include "platform/sys/time_source.h"
#include "platform/sys/wait_cursor.h"
#include "support/log.h"

IOPCServerPtr g_pOPCServer;
IOPCItemMgtPtr g_pItemMgt;
OPCHANDLE g_hServerGroup = 0;
IOPCSyncIOPtr g_pSyncIO;
OPCHANDLE g_hItemServer = 0;

void ResetOpcConnection() {
  g_pSyncIO = nullptr;
  g_pItemMgt = nullptr;
  g_pOPCServer = nullptr;
  g_hServerGroup = 0;
  g_hItemServer = 0;
}

bool CWexletCoreCommunication::Connect(const char* progId, const char* computer) {
  const _bstr_t wideProgId(progId ? progId : "");
  std::u16string wideComputer(_bstr_t(computer ? computer : "").view());
  CoInitialize(nullptr);

  CLSID clsid;
  if (FAILED(CLSIDFromProgID(wideProgId.wstr(), &clsid))) return false;

  COSERVERINFO server;
  server.pwszName = wideComputer.data();
  IClassFactoryPtr factory;
  if (FAILED(CoGetClassObject(clsid, CLSCTX_ALL, &server, IClassFactory::kIID, reinterpret_cast<void**>(&factory))))
    return false;

  const HRESULT hr = factory->CreateInstance(nullptr, IOPCServer::kIID, reinterpret_cast<void**>(&g_pOPCServer));
  return SUCCEEDED(hr) && g_pOPCServer;
}

int CWexletCoreCommunication::AddGroup(const char* prefix) {
  g_pItemMgt = nullptr;
  std::srand(static_cast<unsigned>(plat::Time().EpochMs()));
  char name[25] = {};
  std::snprintf(name, sizeof name, "%s%d", prefix ? prefix : "", std::rand());

  const float deadband = 0.0f;
  DWORD revisedRate = 0;
  HRESULT hr = g_pOPCServer->AddGroup(_bstr_t(name).wstr(), FALSE, 2000, 2345, nullptr, &deadband, 0,
                                      &g_hServerGroup, &revisedRate, IOPCItemMgt::kIID,
                                      reinterpret_cast<IUnknown**>(&g_pItemMgt));
  if (SUCCEEDED(hr)) hr = g_pItemMgt.QueryInterface(IOPCSyncIO::kIID, &g_pSyncIO);
  return SUCCEEDED(hr) ? 1 : 0;
}

int CWexletCoreCommunication::AddItem(const char* itemId) {
  const _bstr_t wideItem(itemId ? itemId : "");
  OPCITEMDEF def;
  def.szAccessPath = u"";
  def.szItemID = wideItem.wstr();
  def.bActive = FALSE;
  def.hClient = 3434;
  def.vtRequestedDataType = VT_ARRAY | VT_UI1;

  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  if (FAILED(g_pItemMgt->AddItems(1, &def, results, errors))) return -2;
  if (errors.empty() || results.empty() || FAILED(errors[0])) return -1;
  g_hItemServer = results[0].hServer;
  return 1;
}

const BYTE* CWexletCoreCommunication::Transact() {
  struct WaitCursor {
    WaitCursor() { plat::BeginWaitCursor(); }
    ~WaitCursor() { plat::EndWaitCursor(); }
  } waitCursor;

  m_reply.clear();
  m_pResponse = nullptr;
  m_bySentCommand = m_abyRequest[0];
  bool answered = false;

  if (g_pSyncIO) {
    const size_t length = m_byReqLength < kRequestSize ? m_byReqLength : kRequestSize;
    const _variant_t request = _variant_t::FromBytes(m_abyRequest.data(), length);
    std::vector<HRESULT> writeErrors;
    if (SUCCEEDED(g_pSyncIO->Write(1, &g_hItemServer, &request, writeErrors))) {
      if (writeErrors.empty() || FAILED(writeErrors[0])) {
        WriteLog("write failed.");
      } else {
        std::vector<OPCITEMSTATE> states;
        std::vector<HRESULT> readErrors;
        if (FAILED(g_pSyncIO->Read(OPC_DS_DEVICE, 1, &g_hItemServer, states, readErrors))) {
          WriteLog("Read failed.");
        } else if (!readErrors.empty() && SUCCEEDED(readErrors[0]) && !states.empty() &&
                   states[0].vDataValue.IsByteArray()) {
          m_reply = states[0].vDataValue.Bytes();
          answered = !m_reply.empty();
        }
      }
    }
  }

  plat::RestoreWaitCursor();
  if (answered) m_bDeviceAnswered = true;
  // The flag follows the poll counter as it stood before this reply is
  // judged; before any device has answered there is no link to show.
  m_bLinkOK = m_nFailCount <= 0 && m_bDeviceAnswered ? 1 : 0;
  m_pResponse = answered ? m_reply.data() : nullptr;
  return m_pResponse;
}
