#include "shell/step_page.h"

#include <utility>

#include "shell/app.h"
#include "support/language_table.h"

std::string pages::StatusFieldText(const char* key) {
  const CLanguageTable& table = TheLanguageTable();
  const _bstr_t shortKey(std::string(key) + "_SHORT");
  return (table.Texts().count(shortKey) ? table.Lookup(shortKey) : table.Lookup(key)).str();
}

CStepPage::CStepPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, StatusHeaderIds ids)
    : CStatusPage(templateId, titleKey, timerId, periodMs, ids) {}

void CStepPage::OnInitialUpdate() {
  CStatusPage::OnInitialUpdate();
  Try("CreateControls", [this] { CreateControls(); });
  SetCaptions();
  FitHeaderCaptions();
  if (m_ToolTip.Create(this, 0)) SetToolTips();
}

BOOL CStepPage::PreTranslateMessage(MSG* msg) {
  m_ToolTip.RelayEvent(msg);
  return CStatusPage::PreTranslateMessage(msg);
}

void CStepPage::StartMonitoring() {
  m_bShown = true;
  Try("StartMonitoring", [this] {
    if (m_bPollAtStart)
      PollStatusArea();
    else
      RefreshStatusArea();
  });
  Try("OnShown", [this] { OnShown(); });
  m_nRequest = m_nStartRequest;
  m_bShowingRequest = m_nRequest != 0;
  m_nStep = m_nStartStep;
  m_nBegun = 0;
  ArmTimer();
}

void CStepPage::StopMonitoring() {
  const bool leaving = std::exchange(m_bShown, false);
  // Every page is stopped at each switch: a hidden page that still
  // finishes its request keeps its timer.
  if (!leaving && m_bFinishOnTimer && m_bTimerWanted && RequestUnderWay()) return;
  StopTimer();
  if (!leaving || !RequestUnderWay()) return;
  Tick();
  if (m_bFinishOnTimer) {
    if (RequestUnderWay()) ArmTimer();
    return;
  }
  // Only a request whose steps never come back to the polling is cut short.
  constexpr int kMostStepsAtOnce = 64;
  for (int steps = 1; steps < kMostStepsAtOnce && RequestUnderWay(); ++steps) Tick();
}

void CStepPage::OnTimer(UINT id) {
  if (id == 0 || id != m_nTimerId) return;
  KillTimer(id);
  Tick();
  // Hidden, the page ticks only until its request is over.
  if (!m_bShown && !RequestUnderWay()) {
    StopTimer();
    return;
  }
  RearmAfterTick();
}

void CStepPage::Tick() {
  if (m_nRequest != 0) {
    const int request = std::exchange(m_nRequest, 0);
    const bool showing = std::exchange(m_bShowingRequest, false) && request == m_nStartRequest;
    m_nBegun = !showing && Carried(request) ? request : 0;
    Try("BeginRequest", [this, request] { BeginRequest(request); });
  }
  Try("RunStep", [this] { RunStep(); });
  if (m_nBegun != 0 && AtRest(m_nStep)) m_nBegun = 0;
}

bool CStepPage::RequestUnderWay() const {
  const bool waiting = m_nRequest != 0 && !(m_bShowingRequest && m_nRequest == m_nStartRequest) && Carried(m_nRequest);
  return waiting || m_nBegun != 0;
}

const PageRequest* CStepPage::RequestRow(int request) const {
  for (const PageRequest& r : m_requests)
    if (r.request == request) return &r;
  return nullptr;
}

bool CStepPage::Carried(int request) const {
  const PageRequest* row = RequestRow(request);
  return !row || row->carriedWhenLeft;
}

const PageStep* CStepPage::StepRow(int step) const {
  const PageStep* row = nullptr;
  for (const PageStep& s : m_steps)
    if (s.step == step) row = &s;
  return row;
}

bool CStepPage::AtRest(int step) const {
  const PageStep* row = StepRow(step);
  if (!row) return true;
  for (size_t hops = 0; hops < m_steps.size() && row; ++hops) {
    if (row->next == step) return true;
    row = StepRow(row->next);
  }
  return false;
}

void CStepPage::BeginRequest(int request) {
  const PageRequest* row = RequestRow(request);
  if (!row) return;
  m_nStep = row->firstStep;
  if (row->begin) row->begin();
}

void CStepPage::RunStep() {
  const PageStep* row = StepRow(m_nStep);
  if (!row) return;
  bool due = true;  // also when asking failed: the machine moves on
  Try(row->name, [&] { due = !row->due || row->due(); });
  if (!due) return;
  m_nStep = row->next;
  Try(row->name, [&] { OnStepBegin(*row); });
  if (row->transact) Try(row->name, row->transact);
  if (row->show) Try(row->name, row->show);
  Try(row->name, [&] { OnStepEnd(*row); });
}

PageStep CStepPage::StatusStep(int step, int next) {
  return {step, "STAT", {}, [this] { PollStatusArea(); }, {}, next};
}

PageStep CStepPage::CountdownStatusStep(int step, int every, int next) {
  return {step, "STAT", {},
          [this, every] {
            if (m_pollCountdown.Due(every)) PollStatusArea();
          },
          {}, next};
}

bool CStepPage::Try(const char* what, const std::function<void()>& f) { return Guarded(what, f, &m_loggedFailures); }

void CStepPage::SetCaptions() {
  for (const KeyedControls& entry : m_captions) {
    const _bstr_t text = TheLanguageTable().Lookup(entry.key);
    for (int id : entry.ids)
      if (CWnd* control = GetDlgItem(id)) control->SetWindowText(text.str().c_str());
  }
}

void CStepPage::SetToolTips() {
  for (const KeyedControls& entry : m_toolTips) {
    const _bstr_t text = TheLanguageTable().Lookup(entry.key);
    for (int id : entry.ids)
      if (CWnd* control = GetDlgItem(id)) m_ToolTip.AddTool(control, text.str().c_str());
  }
}

void CStepPage::Request(int request) {
  StopTimer();
  EnableActionButtons(FALSE);
  m_nRequest = request;
  ArmTimer();
}

void CStepPage::EnableActionButtons(BOOL enable) {
  for (int id : m_actionButtons) {
    CWnd* button = GetDlgItem(id);
    if (!button) continue;
    const HeldButton* holding = nullptr;
    bool tipped = false;
    for (const HeldButton& held : m_heldButtons) {
      if (held.id != id) continue;
      tipped = tipped || held.tipKey;
      if (!holding && !held.ready()) holding = &held;
    }
    button->EnableWindow(enable && !holding);
    // Off for a reason the page does not show, the button says it; also
    // while a request keeps it off, as the reason still holds after.
    if (!tipped) continue;
    if (holding && holding->tipKey)
      m_ToolTip.AddTool(button, TheLanguageTable().Lookup(holding->tipKey).str().c_str());
    else
      ShowOwnTip(id);
  }
}

void CStepPage::HoldButtonUntil(int id, std::function<bool()> ready, const char* heldTipKey) {
  m_heldButtons.push_back({id, std::move(ready), heldTipKey});
}

CRect CStepPage::PlaceholderRect(CWnd& placeholder) const {
  CRect rect;
  placeholder.GetWindowRect(&rect);
  return rect;
}

void CStepPage::Warn(const char* key) {
  MessageBox(TheLanguageTable().Lookup(key).str().c_str(), theApp().m_strProductTitle.str().c_str(),
             MB_OK | MB_ICONEXCLAMATION);
}

void CStepPage::CreateReportControls(int reportPlace, int printerPlace) {
  constexpr UINT kReportId = 103, kPrinterId = 104;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  if (CWnd* place = GetDlgItem(reportPlace))
    m_pReport = common.CreateReportCtrl(this, &m_wndReportHost, PlaceholderRect(*place), kReportId);
  if (CWnd* place = GetDlgItem(printerPlace))
    m_pPrinter = common.CreatePrinterCtrl(this, &m_wndPrinterHost, PlaceholderRect(*place), kPrinterId);
}

void CStepPage::ShowStatus(int id, const char* key) {
  CWnd* field = GetDlgItem(id);
  if (!field) return;
  const bool any = key && *key;
  const std::string whole = any ? TheLanguageTable().Lookup(key).str() : std::string();
  const std::string shown = any ? pages::StatusFieldText(key) : std::string();
  // Whatever else the field shows later, set here or not, takes the
  // sentence's tip away again.
  MapCommand(EN_CHANGE, id, [this, id] {
    const auto it = m_shortStatus.find(id);
    if (it == m_shortStatus.end() || GetDlgItemText(id) == it->second) return;
    m_shortStatus.erase(it);
    ShowOwnTip(id);
  });
  field->SetWindowText(shown);
  if (shown == whole) return;
  m_shortStatus[id] = shown;
  m_ToolTip.AddTool(field, whole.c_str());
}

void CStepPage::ShowOwnTip(int id) {
  CWnd* field = GetDlgItem(id);
  for (const KeyedControls& entry : m_toolTips)
    for (int tipped : entry.ids)
      if (tipped == id) {
        m_ToolTip.AddTool(field, TheLanguageTable().Lookup(entry.key).str().c_str());
        return;
      }
  m_ToolTip.DelTool(field);
}
