#include "shell/status_page.h"

#include <QFont>
#include <QWidget>

#include "platform/win/form_view.h"
#include "shell/app.h"
#include "shell/language_table.h"

namespace pages {

namespace {

// Dialog units; 600 x 352 are 900 x 572 pixels, the page area of a
// 1280-pixel-wide window.
constexpr int kPageWidth = 600;
constexpr int kPageHeight = 352;
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
