#include "shell/annunciator_page.h"

#include "common/mask_kit.h"
#include "platform/sys/paths.h"
#include "shell/app.h"

using alarms::AlarmGroup;
using alarms::AlarmRow;

namespace pages {

namespace {

constexpr int kTop = 28;
constexpr int kGroupHead = 12;
constexpr int kRowHeight = 14;
constexpr int kGroupGap = 6;

int RowsIn(std::span<const AlarmRow> rows, int box) {
  int n = 0;
  for (const AlarmRow& r : rows) n += r.group == box;
  return n;
}

int GroupHeight(std::span<const AlarmRow> rows, const AlarmGroup& g) {
  return kGroupHead + kRowHeight * (RowsIn(rows, g.box) + g.extraLines) + 4;
}

}  // namespace

std::vector<DialogItem> AnnunciatorItems(std::span<const AlarmGroup> groups, std::span<const AlarmRow> rows,
                                         int columnWidth) {
  std::vector<DialogItem> items;
  std::vector<int> columnY;
  bool firstSelector = true;
  for (const AlarmGroup& g : groups) {
    if (columnY.size() <= static_cast<size_t>(g.column)) columnY.resize(g.column + 1, kTop);
    const int x = 8 + g.column * columnWidth;
    int& y = columnY[g.column];
    const int width = columnWidth - 8;
    items.push_back({g.box, DlgKind::GroupBox, "", x, y, width, GroupHeight(rows, g)});
    int rowY = y + kGroupHead;
    for (const AlarmRow& r : rows) {
      if (r.group != g.box) continue;
      items.push_back({r.placeholder, DlgKind::GroupBox, "", x + 8, rowY, 10, 10, DS_HIDDEN});
      const int textX = x + 24;
      const int textWidth = width - 30;
      if (r.kind == alarms::LocalPanel) {
        items.push_back({r.label, DlgKind::Static, "", textX + 14, rowY + 1, textWidth - 14, 9});
      } else if (r.selector) {
        items.push_back({r.label, DlgKind::CheckBox, "", textX, rowY, 12, 10, DS_DISABLED});
        items.push_back({r.selector, DlgKind::RadioButton, "", textX + 16, rowY, textWidth - 16, 10,
                         DS_DISABLED | (firstSelector ? DS_GROUP : 0u)});
        firstSelector = false;
      } else {
        items.push_back({r.label, DlgKind::CheckBox, "", textX, rowY, textWidth, 10, DS_DISABLED});
      }
      rowY += kRowHeight;
    }
    y += GroupHeight(rows, g) + kGroupGap;
  }
  return items;
}

int AnnunciatorColumnBottom(std::span<const AlarmGroup> groups, std::span<const AlarmRow> rows, int column) {
  int y = kTop;
  for (const AlarmGroup& g : groups)
    if (g.column == column) y += GroupHeight(rows, g) + kGroupGap;
  return y - kGroupGap;
}

std::vector<DialogItem> AnnunciatorButtons(int x, int y) {
  return {{CAnnunciatorPage::kApplyId, DlgKind::PushButton, "", x, y, 56, 15, DS_DISABLED},
          {CAnnunciatorPage::kRetrieveId, DlgKind::PushButton, "", x + 60, y, 56, 15, DS_DISABLED},
          {CAnnunciatorPage::kPrintId, DlgKind::PushButton, "", x + 120, y, 68, 15, DS_DISABLED}};
}

}  // namespace pages

CAnnunciatorPage::CAnnunciatorPage(UINT templateId, const char* titleKey, UINT timerId,
                                   std::span<const AlarmRow> rows, StatusHeaderIds header)
    : CMonitoringPage(templateId, titleKey, timerId, 5000, header), m_rowControls(rows) {
  m_nStartStep = kStartStep;
  m_actionButtons = {kApplyId, kRetrieveId, kPrintId};
  m_captions.push_back({"IDC_BUTTON_APPLY", {kApplyId}});
  m_captions.push_back({"IDC_BUTTON_RETRIEVE", {kRetrieveId}});
  m_toolTips.push_back({"IDC_BTN_APPLY_MASKTIP", {kApplyId}});
  m_toolTips.push_back({"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}});
  KeyedControls masks{"CHECK_TO_MASK", {}};
  for (const AlarmRow& r : rows) {
    m_captions.push_back({r.captionKey, {r.selector ? r.selector : r.label}});
    m_toolTips.push_back({r.toolTipKey, {static_cast<int>(r.ledId)}});
    if (r.kind != alarms::LocalPanel) masks.ids.push_back(r.label);
  }
  m_toolTips.push_back(masks);

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {kRefreshStep, "STATUS", [this] { return m_statusCountdown.Due(2); },
       [this, &comm] {
         if (m_bReadLocalPanel) comm.ReadLocalPanel();
         ReadStatusBytes();
       },
       [this] {
         UpdateAlarmLeds();
         if (!m_bEnableAfterMasks) EnableActionButtons(TRUE);
       },
       kHeaderPollStep},
      StatusStep(kHeaderPollStep, kRefreshStep),
      {kStartStep, "START", {}, {}, [this] { ResetAlarmRows(true); }, kMaskReadStep},
      MaskReadStep(kMaskReadStep, kRefreshStep),
      MaskApplyStep(kMaskApplyStep, kRefreshStep),
  };
  m_requests = {{kApplyRequest, kMaskApplyStep}, {kRetrieveRequest, kMaskReadStep}};
  HoldButtonUntil(kApplyId, [&comm] { return masks::Known(comm); }, masks::kNotReadTipKey);

  MapCommand(BN_CLICKED, kApplyId, &CAnnunciatorPage::OnApply);
  MapCommand(BN_CLICKED, kRetrieveId, &CAnnunciatorPage::OnRetrieve);
}

void CAnnunciatorPage::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_rowControls.Create(*this, common);
  CreateReportControls();
}

void CAnnunciatorPage::AddReport(ReportBuilder build, const char* definitionFile) {
  m_requests.push_back({kReportRequest, kRefreshStep, [this, build, definitionFile] {
                          const std::string path = plat::ProgramPath(std::string("\\Dependencies\\") + definitionFile);
                          (theApp().m_CommonFunctions.*build)(m_pReport, m_pPrinter, _bstr_t(path), this);
                          EnableActionButtons(TRUE);
                        },
                        false});
  MapCommand(BN_CLICKED, kPrintId, [this] { OnPrintReport(); });
}

void CAnnunciatorPage::OnPrintReport() {
  EnableActionButtons(FALSE);
  Try("OnPrintReport", [] { theApp().m_comm.ReadConfiguration(); });
  m_nRequest = kReportRequest;
}

void CAnnunciatorPage::CreateLegendLamp(alarms::Lamp lamp, int placeholder, UINT id) {
  m_rowControls.CreateLegendLamp(*this, theApp().m_CommonFunctions, lamp, placeholder, id, status::kActive);
}

void CAnnunciatorPage::OnShown() {
  if (m_bReadSensorsAtStart) theApp().m_comm.ReadCmd200PressureSensorsPresent();
  EnableActionButtons(FALSE);
  ResetAlarmRows(false);
}

void CAnnunciatorPage::OnApply() {
  m_statusCountdown.Restart();
  Request(kApplyRequest);
}

void CAnnunciatorPage::OnRetrieve() {
  m_statusCountdown.Restart();
  Request(kRetrieveRequest);
}

PageStep CAnnunciatorPage::MaskReadStep(int step, int next) {
  return {step, "RETRIEVE", {}, [] { masks::Read(theApp().m_comm); }, [this] { ShowMasks(); }, next};
}

PageStep CAnnunciatorPage::MaskApplyStep(int step, int next) {
  return {step, "APPLY", {},
          [this] { masks::Apply(theApp().m_comm, [this](alarms::Block& mask) { CollectMasks(mask); }); },
          [this] { ShowMasks(); }, next};
}

void CAnnunciatorPage::ResetAlarmRows(bool enable) { m_rowControls.Reset(*this, enable); }

void CAnnunciatorPage::EnableAlarmRows() { m_rowControls.Enable(*this, true); }

void CAnnunciatorPage::ReadStatusBytes() { m_bStatusBytesRead = theApp().m_comm.ReadCommand(174) || m_bStatusBytesRead; }

void CAnnunciatorPage::UpdateAlarmLeds() {
  if (!m_bStatusBytesRead) return;
  const CWexletCoreCommunication& comm = theApp().m_comm;
  m_rowControls.ShowStatus(*this, comm.m_abyStatus, comm.m_byLocalPanel, m_pActiveFlags);
}

void CAnnunciatorPage::ShowMasks() {
  m_rowControls.ShowMasks(*this, masks::Shown(theApp().m_comm), m_pMaskedFlags);
  if (m_bEnableAfterMasks) EnableActionButtons(TRUE);
}

void CAnnunciatorPage::CollectMasks(alarms::Block& mask) const { m_rowControls.Collect(*this, mask, m_bKeepMixedPairs); }
