#include "shell/status_page.h"

#include <QFont>
#include <QLabel>
#include <QWidget>
#include <algorithm>

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

std::vector<KeyedControls> HeaderCaptions(StatusHeaderIds ids) {
  return {{"IDC_ILABELXINDICATOR", {ids.statusCaption}}, {"IDC_ILABELXSOURCE", {ids.modeCaption}}};
}

std::vector<KeyedControls> HeaderToolTips(StatusHeaderIds ids) {
  return {{"IDC_ILED_ALARM", {static_cast<int>(kStatusLedId)}},
          {"EDT_ALARM_DESCRIPTION", {ids.statusText}},
          {"IDC_BTN_MODE", {ids.modeText}}};
}

CRect ClientRectOf(const CWnd& page, const CWnd& control) {
  CRect rect;
  control.GetWindowRect(&rect);
  page.ScreenToClient(&rect);
  return rect;
}

void WidenCaptionLeftward(CWnd& page, int caption, int before) {
  CWnd* label = page.GetDlgItem(caption);
  CWnd* neighbour = page.GetDlgItem(before);
  const auto* text = label ? qobject_cast<const QLabel*>(label->GetSafeWidget()) : nullptr;
  if (!text || !(text->alignment() & Qt::AlignRight) || !neighbour) return;
  const int needed = text->fontMetrics().horizontalAdvance(text->text()) + 1;
  CRect rect = ClientRectOf(page, *label);
  if (needed <= rect.Width()) return;
  CRect other = ClientRectOf(page, *neighbour);
  const int gap = rect.left - other.right;
  rect.left = rect.right - needed;
  label->MoveWindow(&rect);
  other.right = std::max(other.left, std::min(other.right, rect.left - gap));
  neighbour->MoveWindow(&other);
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
  // A page without the header (the comparison pages) has no LED to show.
  if (!GetDlgItem(m_ids.placeholder)) return;
  CRect rect;
  m_wndLedPlaceholder.GetWindowRect(&rect);
  m_pStatusLed = theApp().m_CommonFunctions.CreateLedRound(this, &m_wndLedHost, rect, pages::kStatusLedId);
}

void CStatusPage::FitHeaderCaptions() {
  pages::WidenCaptionLeftward(*this, m_ids.modeCaption, m_ids.statusText);
  pages::WidenCaptionLeftward(*this, m_ids.statusCaption, pages::kTitleId);
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
  RearmAfterTick();
}

void CStatusPage::RefreshStatusArea() {
  if (!m_pStatusLed) return;
  theApp().m_comm.UpdateStatusArea(m_pStatusLed, &m_stcStatusText, &m_stcModeText);
}

void CStatusPage::RefreshStatusAreaFromCalibration() {
  if (m_pStatusLed) theApp().m_comm.UpdateStatusAreaCalib(m_pStatusLed, &m_stcStatusText);
}

void CStatusPage::PollStatusArea() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (m_pStatusLed)
    comm.PollStatus(m_pStatusLed, &m_stcStatusText, &m_stcModeText);
  else
    comm.ReadPriorityBitsAndControlEnable();
}

void CStatusPage::ArmTimer() {
  m_bTimerWanted = true;
  if (m_nTimerId) SetTimer(m_nTimerId, m_nPeriod);
}

void CStatusPage::StopTimer() {
  m_bTimerWanted = false;
  if (m_nTimerId) KillTimer(m_nTimerId);
}

void CStatusPage::RearmAfterTick() {
  if (m_bTimerWanted && m_nTimerId) SetTimer(m_nTimerId, m_nPeriod);
}
