#include "shell/monitoring_page.h"

#include "shell/app.h"
#include "support/language_table.h"
#include "support/log.h"

CMonitoringPage::CMonitoringPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs,
                                 StatusHeaderIds ids)
    : CStepPage(templateId, titleKey, timerId, periodMs, ids) {
  m_captions = pages::HeaderCaptions(ids);
  m_toolTips = pages::HeaderToolTips(ids);
}

void CMonitoringPage::OnInitialUpdate() {
  CStepPage::OnInitialUpdate();
  constexpr UINT kWasteBin = 167;
  if (m_resetButtons.empty() || !m_bmpReset.LoadBitmap(kWasteBin)) return;
  for (int id : m_resetButtons)
    if (CButton* button = GetDlgItemAs<CButton>(id)) button->SetBitmap(m_bmpReset);
}

void CMonitoringPage::AddCounterReset(const monitoring::CounterReset& reset, std::function<void()> shown) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_requests.push_back({reset.request, reset.step});
  m_actionButtons.push_back(reset.button);
  m_resetButtons.push_back(reset.button);
  m_captions.push_back({"RESET", {reset.button}});
  if (reset.toolTipKey) m_toolTips.push_back({reset.toolTipKey, {reset.button}});
  MapCommand(BN_CLICKED, static_cast<UINT>(reset.button), [this, reset] {
    if (reset.restartsPeriod) return Request(reset.request);
    EnableActionButtons(FALSE);
    m_nRequest = reset.request;
  });
  m_steps.push_back({reset.step, "RESET READ", {},
                     [this, &comm, reset] {
                       if (comm.ReadCommand(reset.readCommand)) return;
                       WriteLog("Counter reset not written: the device did not answer the read of its record.");
                       m_nStep = kCounterResetReturnStep;
                       EnableActionButtons(TRUE);
                     },
                     {}, reset.step + 1});
  m_steps.push_back({reset.step + 1, "RESET WRITE", {},
                     [&comm, reset, shown] {
                       (comm.*reset.record).bySetting = reset.select;
                       comm.WriteCommand(reset.readCommand + 1);
                       shown();
                     },
                     [this] { EnableActionButtons(TRUE); }, kCounterResetReturnStep});
}

bool CMonitoringPage::ApplyAllowed(bool limitsRead, int readStep) {
  if (limitsRead) return true;
  m_nStep = readStep;
  Warn("ALERTLIMITSNOTREAD");
  return false;
}
