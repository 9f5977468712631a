#include "shell/status_page.h"

#include <QFont>
#include <QWidget>

#include "platform/win/form_view.h"
#include "shell/app.h"
#include "support/language_table.h"

namespace pages {

namespace {

// 600 x 352 dialog units are 900 x 572 pixels, the page area of a
// 1280-pixel-wide window.
constexpr int kMargin = 8;

DialogItem Title(const char* fixedTitle) {
  return {kTitleId, DlgKind::Static, fixedTitle, kMargin, 6, 400, 14};
}

}  // namespace

DialogTemplate PlainPageTemplate(UINT templateId, const char* fixedTitle) {
  return {templateId, kPageWidth, kPageHeight, {Title(fixedTitle)}};
}

DialogTemplate StatusPageTemplate(UINT templateId, StatusHeaderIds ids, const char* fixedTitle) {
  // LED, status field and mode field share one line, flush right, centred
  // on the title's line.
  constexpr int right = kPageWidth - kMargin;
  constexpr int modeWidth = 50;
  constexpr int statusWidth = 130;
  constexpr int modeX = right - modeWidth;
  constexpr int statusX = modeX - 3 - statusWidth;
  constexpr int ledX = statusX - 15;
  return {templateId,
          kPageWidth,
          kPageHeight,
          {
              Title(fixedTitle),
              {ids.placeholder, DlgKind::GroupBox, "", ledX, 7, 12, 11, DS_HIDDEN},
              {ids.statusText, DlgKind::Static, "", statusX, 7, statusWidth, 11, DS_SUNKEN},
              {ids.modeText, DlgKind::Static, "", modeX, 7, modeWidth, 11, DS_SUNKEN | DS_CENTER},
          }};
}

DialogTemplate MonitoringPageTemplate(UINT templateId, StatusHeaderIds ids, std::vector<DialogItem> items) {
  // Flush right on the title's line: caption, LED, indicator; caption, source.
  constexpr int right = kPageWidth - kMargin;
  constexpr int sourceWidth = 78;
  constexpr int captionWidth = 62;
  constexpr int indicatorWidth = 150;
  constexpr int sourceX = right - sourceWidth;
  constexpr int sourceCaptionX = sourceX - 3 - captionWidth;
  constexpr int indicatorX = sourceCaptionX - 6 - indicatorWidth;
  constexpr int ledX = indicatorX - 14;
  constexpr int indicatorCaptionX = ledX - 2 - captionWidth;
  DialogTemplate t{
      templateId,
      kPageWidth,
      kPageHeight,
      {
          {kTitleId, DlgKind::Static, "", kMargin, 6, indicatorCaptionX - kMargin - 4, 14},
          {ids.statusCaption, DlgKind::Static, "Active Indicator:", indicatorCaptionX, 9, captionWidth, 9, DS_RIGHT},
          {ids.placeholder, DlgKind::GroupBox, "", ledX, 7, 12, 11, DS_HIDDEN},
          {ids.statusText, DlgKind::Edit, "", indicatorX, 7, indicatorWidth, 12, DS_READONLY},
          {ids.modeCaption, DlgKind::Static, "Command Source:", sourceCaptionX, 9, captionWidth, 9, DS_RIGHT},
          {ids.modeText, DlgKind::Edit, "", sourceX, 7, sourceWidth, 12, DS_READONLY | DS_CENTER},
      }};
  for (DialogItem& item : items) t.items.push_back(std::move(item));
  return t;
}

}  // namespace pages

// ---- CTitledPage.

void CTitledPage::OnInitialUpdate() {
  CTarnixPage::OnInitialUpdate();
  CWnd* title = GetDlgItem(pages::kTitleId);
  if (!title) return;
  if (m_pszTitleKey) title->SetWindowText(TheLanguageTable().Lookup(m_pszTitleKey).str());
  if (QWidget* widget = title->GetSafeWidget()) {
    QFont font = widget->font();
    font.setPixelSize(18);
    font.setBold(true);
    widget->setFont(font);
  }
}

// ---- CStatusPage.

CStatusPage::CStatusPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, StatusHeaderIds ids)
    : CTitledPage(templateId, titleKey), m_nTimerId(timerId), m_nPeriod(periodMs), m_ids(ids) {}

void CStatusPage::DoDataExchange(CDataExchange* pDX) {
  CTitledPage::DoDataExchange(pDX);
  DDX_Control(pDX, m_ids.placeholder, m_wndLedPlaceholder);
  DDX_Control(pDX, m_ids.statusText, m_stcStatusText);
  DDX_Control(pDX, m_ids.modeText, m_stcModeText);
}

void CStatusPage::OnInitialUpdate() {
  CTitledPage::OnInitialUpdate();
  CRect rect;
  m_wndLedPlaceholder.GetWindowRect(&rect);
  m_pStatusLed = theApp().m_CommonFunctions.CreateLedRound(this, &m_wndLedHost, rect, pages::kStatusLedId);
}

void CStatusPage::StartMonitoring() {
  Guarded("StartMonitoring", [this] { RefreshStatusArea(); });
  ArmTimer();
}

void CStatusPage::StopMonitoring() { StopTimer(); }

void CStatusPage::OnTimer(UINT id) {
  if (id == 0 || id != m_nTimerId) return;
  KillTimer(id);
  Guarded("OnTimer", [this] { RunStep(); });
  SetTimer(id, m_nPeriod);
}

void CStatusPage::RefreshStatusArea() {
  if (!m_pStatusLed) return;
  theApp().m_comm.UpdateStatusArea(m_pStatusLed, &m_stcStatusText, &m_stcModeText);
}

void CStatusPage::PollStatusArea() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (m_pStatusLed)
    comm.PollStatus(m_pStatusLed, &m_stcStatusText, &m_stcModeText);
  else
    comm.ReadPriorityBitsAndControlEnable();
}

void CStatusPage::ArmTimer() {
  if (m_nTimerId) SetTimer(m_nTimerId, m_nPeriod);
}

void CStatusPage::StopTimer() {
  if (m_nTimerId) KillTimer(m_nTimerId);
}

// ---- CMonitoringPage.

CMonitoringPage::CMonitoringPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs,
                                 StatusHeaderIds ids)
    : CStatusPage(templateId, titleKey, timerId, periodMs, ids),
      m_captions{{"IDC_ILABELXINDICATOR", {ids.statusCaption}}, {"IDC_ILABELXSOURCE", {ids.modeCaption}}},
      m_toolTips{{"IDC_ILED_ALARM", {static_cast<int>(pages::kStatusLedId)}},
                 {"EDT_ALARM_DESCRIPTION", {ids.statusText}},
                 {"IDC_BTN_MODE", {ids.modeText}}} {}

void CMonitoringPage::OnInitialUpdate() {
  CStatusPage::OnInitialUpdate();
  CreateControls();
  SetCaptions();
  if (m_ToolTip.Create(this, 0)) SetToolTips();
}

BOOL CMonitoringPage::PreTranslateMessage(MSG* msg) {
  m_ToolTip.RelayEvent(msg);
  return CStatusPage::PreTranslateMessage(msg);
}

void CMonitoringPage::StartMonitoring() {
  Guarded("StartMonitoring", [this] {
    if (m_bPollAtStart)
      PollStatusArea();
    else
      RefreshStatusArea();
    OnStart();
  });
  m_nRequest = m_nStartRequest;
  m_nStep = m_nStartStep;
  ArmTimer();
}

void CMonitoringPage::OnTimer(UINT id) {
  if (id == 0 || id != m_nTimerId) return;
  KillTimer(id);
  Guarded("OnTimer", [this] {
    if (m_nRequest != 0) {
      const int request = m_nRequest;
      m_nRequest = 0;
      BeginRequest(request);
    }
    RunStep();
  });
  SetTimer(id, m_nPeriod);
}

void CMonitoringPage::SetCaptions() {
  for (const KeyedControls& entry : m_captions) {
    const _bstr_t text = TheLanguageTable().Lookup(entry.key);
    for (int id : entry.ids)
      if (CWnd* control = GetDlgItem(id)) control->SetWindowText(text.str().c_str());
  }
}

void CMonitoringPage::SetToolTips() {
  for (const KeyedControls& entry : m_toolTips) {
    const _bstr_t text = TheLanguageTable().Lookup(entry.key);
    for (int id : entry.ids)
      if (CWnd* control = GetDlgItem(id)) m_ToolTip.AddTool(control, text.str().c_str());
  }
}

void CMonitoringPage::Request(int request) {
  StopTimer();
  EnableActionButtons(FALSE);
  m_nRequest = request;
  ArmTimer();
}

void CMonitoringPage::EnableActionButtons(BOOL enable) {
  for (int id : m_actionButtons)
    if (CWnd* button = GetDlgItem(id)) button->EnableWindow(enable);
}

CRect CMonitoringPage::PlaceholderRect(CWnd& placeholder) const {
  CRect rect;
  placeholder.GetWindowRect(&rect);
  return rect;
}
