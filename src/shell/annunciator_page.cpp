#include "shell/annunciator_page.h"

#include "common/mask_kit.h"
#include "platform/sys/paths.h"
#include "shell/app.h"

using alarms::AlarmGroup;
using alarms::AlarmRow;

namespace {

// Hidden placeholders of the report and print engines.
constexpr int kReportPlace = 1413, kPrinterPlace = 1414;

}  // namespace

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

}  // namespace pages

CAnnunciatorPage::CAnnunciatorPage(UINT templateId, const char* titleKey, UINT timerId,
                                   std::span<const AlarmRow> rows, StatusHeaderIds header)
    : CMonitoringPage(templateId, titleKey, timerId, 5000, header), m_rows(rows) {
  m_nStartStep = 5;
  m_actionButtons = {kApplyId, kRetrieveId, kPrintId};
  m_captions.push_back({"IDC_BUTTON_APPLY", {kApplyId}});
  m_captions.push_back({"IDC_BUTTON_RETRIEVE", {kRetrieveId}});
  m_toolTips.push_back({"IDC_BTN_APPLY_MASKTIP", {kApplyId}});
  m_toolTips.push_back({"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}});
  KeyedControls masks{"CHECK_TO_MASK", {}};
  for (const AlarmRow& r : m_rows) {
    m_captions.push_back({r.captionKey, {r.selector ? r.selector : r.label}});
    m_toolTips.push_back({r.toolTipKey, {static_cast<int>(r.ledId)}});
    if (r.kind != alarms::LocalPanel) masks.ids.push_back(r.label);
  }
  m_toolTips.push_back(masks);

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {1, "STATUS",
       [this] {
         if (--m_nStatusCountdown > 0) return false;
         m_nStatusCountdown = 2;
         return true;
       },
       [this, &comm] {
         if (m_bReadLocalPanel) comm.ReadLocalPanel();
         comm.ReadCommand(174);
       },
       [this] {
         UpdateAlarmLeds();
         if (!m_bEnableAfterMasks) EnableActionButtons(TRUE);
       },
       3},
      StatusStep(3, 1),
      {5, "START", {}, {}, [this] { ResetAlarmRows(true); }, 7},
      {7, "RETRIEVE", {}, [&comm] { masks::Read(comm); }, [this] { ShowMasks(); }, 1},
      {9, "APPLY", {},
       [this, &comm] { masks::Apply(comm, [this](alarms::Block& mask) { CollectMasks(mask); }); },
       [this] { ShowMasks(); }, 1},
  };
  m_requests = {{2, 9}, {3, 7}};

  MapCommand(BN_CLICKED, kApplyId, &CAnnunciatorPage::OnApply);
  MapCommand(BN_CLICKED, kRetrieveId, &CAnnunciatorPage::OnRetrieve);
}

CWnd* CAnnunciatorPage::NewHost() { return m_hosts.emplace_back(std::make_unique<CWnd>()).get(); }

void CAnnunciatorPage::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_lamps.assign(m_rows.size(), {});
  for (size_t k = 0; k < m_rows.size(); ++k) {
    const AlarmRow& r = m_rows[k];
    CWnd* placeholder = GetDlgItem(r.placeholder);
    if (!placeholder) continue;
    const CRect rect = PlaceholderRect(*placeholder);
    if (r.lamp == alarms::Lamp::Arrow)
      m_lamps[k].arrow = common.CreateLedArrow(this, NewHost(), rect, r.ledId);
    else
      m_lamps[k].round = common.CreateLedRoundGrey(this, NewHost(), rect, r.ledId);
  }
  if (CWnd* place = GetDlgItem(kReportPlace))
    m_pReport = common.CreateReportCtrl(this, NewHost(), PlaceholderRect(*place), 103);
  if (CWnd* place = GetDlgItem(kPrinterPlace))
    m_pPrinter = common.CreatePrinterCtrl(this, NewHost(), PlaceholderRect(*place), 104);
}

void CAnnunciatorPage::AddReport(ReportBuilder build, const char* definitionFile) {
  m_requests.push_back({kReportRequest, 1, [this, build, definitionFile] {
                          const std::string path = plat::ProgramPath(std::string("\\Dependencies\\") + definitionFile);
                          (theApp().m_CommonFunctions.*build)(m_pReport, m_pPrinter, _bstr_t(path), this);
                          EnableActionButtons(TRUE);
                        }});
  MapCommand(BN_CLICKED, kPrintId, [this] { OnPrintReport(); });
}

void CAnnunciatorPage::OnPrintReport() {
  EnableActionButtons(FALSE);
  Try("OnPrintReport", [] { theApp().m_comm.ReadConfiguration(); });
  m_nRequest = kReportRequest;
}

void CAnnunciatorPage::CreateLegendLamp(alarms::Lamp lamp, int placeholder, UINT id) {
  CWnd* wnd = GetDlgItem(placeholder);
  if (!wnd) return;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  Lamp& l = m_legend.emplace_back();
  if (lamp == alarms::Lamp::Arrow)
    l.arrow = common.CreateLedArrow(this, NewHost(), PlaceholderRect(*wnd), id);
  else
    l.round = common.CreateLedRoundGrey(this, NewHost(), PlaceholderRect(*wnd), id);
  PutLamp(l, status::kActive);
}

void CAnnunciatorPage::OnStart() {
  if (m_bReadSensorsAtStart) theApp().m_comm.ReadCmd200PressureSensorsPresent();
  EnableActionButtons(FALSE);
  ResetAlarmRows(false);
}

void CAnnunciatorPage::OnApply() {
  m_nStatusCountdown = 1;
  Request(2);
}

void CAnnunciatorPage::OnRetrieve() {
  m_nStatusCountdown = 1;
  Request(3);
}

void CAnnunciatorPage::PutLamp(Lamp& lamp, COLORREF colour) {
  Try("lamp", [&] {
    if (lamp.round) ComCheck(lamp.round->put_LedColor(colour));
    if (lamp.arrow) {
      ComCheck(lamp.arrow->put_LedColor(colour));
      ComCheck(lamp.arrow->put_Active(TRUE));
    }
  });
}

COLORREF CAnnunciatorPage::GetLampColour(size_t row) const {
  COLORREF colour = 0xFFFFFFFF;
  if (row >= m_lamps.size()) return colour;
  if (m_lamps[row].round) m_lamps[row].round->get_LedColor(&colour);
  if (m_lamps[row].arrow) m_lamps[row].arrow->get_LedColor(&colour);
  return colour;
}

void CAnnunciatorPage::ResetAlarmRows(bool enable) {
  for (Lamp& lamp : m_lamps) PutLamp(lamp, status::kNotAvailable);
  for (const AlarmRow& r : m_rows) {
    if (r.kind == alarms::LocalPanel) continue;
    for (int id : {r.label, r.selector})
      if (CWnd* wnd = id ? GetDlgItem(id) : nullptr) wnd->EnableWindow(enable);
  }
}

void CAnnunciatorPage::UpdateAlarmLeds() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  for (size_t k = 0; k < m_rows.size(); ++k) {
    if (k < m_lamps.size()) PutLamp(m_lamps[k], alarms::LampColour(m_rows[k], comm.m_abyStatus, comm.m_byLocalPanel));
    alarms::SetActiveFlags(m_rows[k], comm.m_abyStatus, comm.m_byLocalPanel, m_pActiveFlags);
  }
}

void CAnnunciatorPage::ShowMasks() {
  const alarms::Block& mask = theApp().m_comm.m_abyStatusMask;
  for (const AlarmRow& r : m_rows) {
    if (r.kind == alarms::LocalPanel) continue;
    CheckDlgButton(r.label, alarms::CheckFromMask(r, mask));
    alarms::SetMaskedFlags(r, mask, m_pMaskedFlags);
  }
  if (m_bEnableAfterMasks) EnableActionButtons(TRUE);
}

void CAnnunciatorPage::CollectMasks(alarms::Block& mask) const {
  for (const AlarmRow& r : m_rows) {
    const int check = static_cast<int>(IsDlgButtonChecked(r.label));
    if (m_bKeepMixedPairs && r.kind == alarms::Pair && check == 2) continue;
    alarms::MaskFromCheck(r, check, mask);
  }
}
