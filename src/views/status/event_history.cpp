#include "views/status/event_history.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/sys/paths.h"
#include "shell/app.h"
#include "support/language_table.h"
#include "support/log.h"

using View = CAlarm_EventHistoryView;

// The page's steps: 1 idle, 7 the control byte read at show, 17 the end of a
// retrieval, 19 the clear; each history has a select step and a read step.
struct View::History {
  int radio;
  int selectStep;
  int readStep;
  int command;
  int imageOffset;  // of the history's block in m_abyEventLog
  BYTE finalIndex;  // the block index that ends the history
  const char* logTag;
  int selectionElement;  // of m_bHistorySelection
  bool (CWexletCoreCommunication::*select)(BYTE, BYTE);

  int Records() const { return (finalIndex + 1) * kRecordsPerBlock; }
  static constexpr int kRecordsPerBlock = 8;
};

namespace {

constexpr int kIdleStep = 1;
constexpr int kFirstTickStep = 7;
constexpr int kEndStep = 17;
constexpr int kClearStep = 19;
constexpr int kBlockBytes = 65;  // eight records of 8 bytes, then the index
constexpr int kRecordBytes = 8;

// In the order a retrieval looks at the radio buttons.
const View::History kHistories[] = {
    {View::kCalibrationsId, 9, 11, 240, 65, 4, "cal hist", 0, &CWexletCoreCommunication::WriteEventLogVars457},
    {View::kAlarmsId, 13, 15, 242, 130, 24, "Alarm hist", 1, &CWexletCoreCommunication::WriteEventLogVars459},
    {View::kAllEventsId, 3, 5, 238, 0, 3, "All events hist", 2, &CWexletCoreCommunication::WriteEventLogVars455},
};

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

// ---- Dialog 206, in dialog units.

std::vector<DialogItem> EventHistoryItems() {
  return {
      {908, DlgKind::GroupBox, "Select Event History", 8, 28, 182, 72},
      {View::kCalibrationsId, DlgKind::RadioButton, "Calibration History", 18, 42, 164, 12, DS_GROUP},
      {View::kAlarmsId, DlgKind::RadioButton, "Alarm History", 18, 60, 164, 12},
      {View::kAllEventsId, DlgKind::RadioButton, "All Recent Events", 18, 78, 164, 12},
      {View::kRetrieveId, DlgKind::PushButton, "Retrieve", 8, 108, 86, 16, DS_DISABLED | DS_GROUP},
      {View::kPrintId, DlgKind::PushButton, "Print Report", 104, 108, 86, 16, DS_DISABLED},
      {View::kClearId, DlgKind::PushButton, "", 8, 132, 17, 17},
      {900, DlgKind::Static, "Event Description:", 8, 160, 182, 9},
      {View::kDescriptionId, DlgKind::Edit, "", 8, 171, 182, 173, DS_MULTILINE | DS_READONLY},
      {907, DlgKind::GroupBox, "Event History", 198, 28, 394, 316},
      {304, DlgKind::GroupBox, "", 208, 42, 374, 270, DS_HIDDEN},
      {1746, DlgKind::Static, "Retrieval Progress:", 208, 324, 84, 9},
      {View::kProgressId, DlgKind::Progress, "", 294, 322, 288, 12},
      {1413, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {1414, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(206, {}, EventHistoryItems()));

}  // namespace

CAlarm_EventHistoryView::CAlarm_EventHistoryView() : CMonitoringPage(206, "IDC_BUTTON_EVENTS", 13, kIdlePeriod) {
  m_nStartRequest = 0;
  m_nStartStep = kFirstTickStep;
  // Print Report is enabled only by the end of a retrieval or a print.
  m_actionButtons = {kRetrieveId, kPrintId, kClearId};
  const std::vector<KeyedControls> captions = {
      {"IDC_LABEL_EVENTSELECT", {908}},       {"IDC_RADIOCALHIST", {kCalibrationsId}},
      {"IDC_RADIOALRMHIST", {kAlarmsId}},     {"IDC_RADIORECEVENTS", {kAllEventsId}},
      {"IDC_LABEL_HISTORY", {907}},           {"IDC_STATICACQPROG", {1746}},
      {"IDC_LABEL_HISTDESC", {900}},          {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
      {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_RADIOCALHISTTIP", {kCalibrationsId}},   {"IDC_RADIOALRMHISTTIP", {kAlarmsId}},
      {"IDC_RADIORECEVENTSTIP", {kAllEventsId}},    {"IDC_BUTTON_CLEAR_HISTORY", {kClearId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},    {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {kIdleStep, "STAT",
       [this] { return m_statusCountdown.Due(2); },
       [this] { PollStatusArea(); }, {}, kIdleStep},
      // A failed read saves nothing: the byte written back on leaving must
      // be one the device gave.
      {kFirstTickStep, "454", {},
       [this, &comm] {
         if (!comm.ReadEventLogCount()) return;
         m_bySavedSelection = comm.m_byEventLogCtl;
         m_bSelectionSaved = true;
       },
       {}, kIdleStep},
      {kEndStep, "237", {},
       [this, &comm] {
         if (!m_bSelectionSaved) return;
         comm.m_byEventHistorySelect = m_bySavedSelection;
         comm.WriteCommand(237);
       },
       [this] {
         EnableActionButtons(TRUE);
         m_nPeriod = kIdlePeriod;
         ComCheck(m_pGrid->Select(1, 0));
         ComCheck(m_pGrid->ShowCell(1, 0));
       },
       kIdleStep},
      {kClearStep, "CLEAR", {},
       [&comm] {
         comm.m_byEventLogCtl = 2;
         comm.WriteEventLogVar454(2);
       },
       [this] {
         m_btnClear.EnableWindow(TRUE);
         m_statusCountdown.Restart();
         ClearGrid();
         SetDlgItemText(kDescriptionId, "");
         m_prgRetrieve.SetPos(0);
         ComCheck(m_pGrid->Select(1, 0));
       },
       kIdleStep},
  };
  for (const History& h : kHistories) {
    m_steps.push_back({h.selectStep, h.logTag, {}, [this, &h] { SelectHistory(h); },
                       [this, &h] { m_prgRetrieve.SetRange32(0, h.Records() - 1); }, h.readStep});
    m_steps.push_back({h.readStep, h.logTag, {}, [this, &comm, &h] {
                         m_bBlockRead = false;
                         m_bBlockRead = comm.ReadCommand(h.command);
                       },
                       [this, &h] { ShowBlock(h); }, h.readStep});
  }
  m_requests = {
      {3, kClearStep},
      {4, kIdleStep,
       [this] {
         theApp().m_CommonFunctions.GenerateEventHistoryReport(
             m_pGrid, m_pReport, m_pPrinter, _bstr_t(plat::ProgramPath("\\Dependencies\\AlarmStatReport.xml")), this);
         EnableActionButtons(TRUE);
       },
       false},
  };

  MapCommand(BN_CLICKED, kCalibrationsId, &View::OnSelectHistoryKind);
  MapCommand(BN_CLICKED, kAlarmsId, &View::OnSelectHistoryKind);
  MapCommand(BN_CLICKED, kAllEventsId, &View::OnSelectHistoryKind);
  MapCommand(BN_CLICKED, kRetrieveId, &View::OnRetrieve);
  MapCommand(BN_CLICKED, kClearId, &View::OnClearHistory);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  MapEvent(kGridId, -600, &View::OnClickGrid);
}

void CAlarm_EventHistoryView::DoDataExchange(CDataExchange* pDX) {
  CMonitoringPage::DoDataExchange(pDX);
  DDX_Control(pDX, kCalibrationsId, m_btnCalibrations);
  DDX_Control(pDX, kAlarmsId, m_btnAlarms);
  DDX_Control(pDX, kAllEventsId, m_btnAllEvents);
  DDX_Control(pDX, kClearId, m_btnClear);
  DDX_Control(pDX, kProgressId, m_prgRetrieve);
  DDX_Control(pDX, 304, m_wndGridPlace);
}

void CAlarm_EventHistoryView::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pGrid = common.CreateFlexGrid(this, &m_wndGridHost, PlaceholderRect(m_wndGridPlace), kGridId);
  if (m_pGrid) Try("grid", [&] { common.SetupAlarmHistoryGrid(m_pGrid, 9, 3); });
  CreateReportControls();
  if (m_bmpClear.LoadBitmap(167)) m_btnClear.SetBitmap(m_bmpClear);
}

void CAlarm_EventHistoryView::OnShown() {
  m_bSelectionSaved = false;
  const bool chosen = std::any_of(std::begin(kHistories), std::end(kHistories),
                                  [this](const History& h) { return IsDlgButtonChecked(h.radio) == BST_CHECKED; });
  GetDlgItem(kRetrieveId)->EnableWindow(chosen);
  m_btnClear.EnableWindow(TRUE);
}

void CAlarm_EventHistoryView::StopMonitoring() {
  CMonitoringPage::StopMonitoring();
  // Every page is stopped at each switch: only leaving writes the byte back.
  if (!std::exchange(m_bSelectionSaved, false)) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_byEventHistorySelect = m_bySavedSelection;
  Try("StopMonitoring", [&comm] { comm.WriteCommand(237); });
}

void CAlarm_EventHistoryView::BeginRequest(int request) {
  if (request != 2) {
    CMonitoringPage::BeginRequest(request);
    return;
  }
  m_nStep = kIdleStep;
  std::array<BYTE, 3>& selection = theApp().m_CommonFunctions.m_bHistorySelection;
  for (const History& h : kHistories) {
    const bool checked = IsDlgButtonChecked(h.radio) == BST_CHECKED;
    selection[static_cast<size_t>(h.selectionElement)] = checked ? 1 : 0;
    if (checked && m_nStep == kIdleStep) m_nStep = h.selectStep;
  }
}

// ---- A retrieval.

void CAlarm_EventHistoryView::SelectHistory(const History& history) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_byEventLogCtl = 0;
  (comm.*history.select)(0, 0);
}

void CAlarm_EventHistoryView::ShowBlock(const History& history) {
  // Without a reply the image still holds an earlier block: never show it
  // as this one.
  if (!m_bBlockRead) return EndRetrieval(history, "no reply");
  const BYTE* block = &theApp().m_comm.m_abyEventLog[static_cast<size_t>(history.imageOffset)];
  const BYTE index = block[kBlockBytes - 1];
  if (index > history.finalIndex) {
    ClearGrid();
    m_nRow = 0;
    m_prgRetrieve.SetPos(0);
    return EndRetrieval(history, "block index out of range");
  }
  ++m_nBlocksRead;
  for (int r = 0; r < History::kRecordsPerBlock; ++r) {
    const BYTE* record = block + r * kRecordBytes;
    // A slot the device holds no event in comes as zeros: no row for it,
    // but an event may still follow.
    if (!std::all_of(record, record + kRecordBytes, [](BYTE b) { return b == 0; })) ShowRecord(history, record);
  }
  // The bar tells how far into the history the reading has come, not how
  // many rows it gave.
  m_prgRetrieve.SetPos((index + 1) * History::kRecordsPerBlock);
  if (index == history.finalIndex)
    m_nStep = kEndStep;
  else if (m_nBlocksRead > history.finalIndex)
    EndRetrieval(history, "no final block");
}

void CAlarm_EventHistoryView::ShowRecord(const History& history, const BYTE* record) {
  const BYTE code = record[0], state = record[1];
  ++m_nRow;
  ComCheck(m_pGrid->put_Rows(m_nRow + 8));
  ComCheck(m_pGrid->put_TextMatrix(m_nRow, 1, _bstr_t(std::to_string(code))));
  ComCheck(m_pGrid->put_TextMatrix(m_nRow, 2,
                                _bstr_t(SplitDescription(CWexletCoreCommunication::GetStatusBitKey(code).str()))));
  if (state <= 1) ComCheck(m_pGrid->put_TextMatrix(m_nRow, 0, _bstr_t(Text(state == 0 ? "OFFCaps" : "ONCaps"))));
  ComCheck(m_pGrid->ShowCell(m_nRow, 0));
  WriteLog(_bstr_t(std::to_string(m_nLogCount) + history.logTag));
  ++m_nLogCount;
}

// The end of a retrieval that did not come to its final block: the control
// byte goes back, the buttons and the idle period return.
void CAlarm_EventHistoryView::EndRetrieval(const History& history, const char* why) {
  WriteLog(_bstr_t(std::string("Event history ") + history.logTag + ": " + why + ", retrieval stopped"));
  m_nStep = kEndStep;
}

void CAlarm_EventHistoryView::ClearGrid() { ComCheck(m_pGrid->ClearData()); }

std::string CAlarm_EventHistoryView::SplitDescription(const std::string& text) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos) return text;
  return dash + 2 < text.size() ? text.substr(dash + 2) : std::string();
}

// ---- The operator's actions.

void CAlarm_EventHistoryView::OnSelectHistoryKind() { GetDlgItem(kRetrieveId)->EnableWindow(TRUE); }

void CAlarm_EventHistoryView::OnRetrieve() {
  Try("grid", [this] {
    ClearGrid();
    ComCheck(m_pGrid->Select(1, 0));
  });
  SetDlgItemText(kDescriptionId, "");
  m_nRow = 0;
  m_nLogCount = 0;
  m_nBlocksRead = 0;
  m_prgRetrieve.SetPos(0);
  m_nPeriod = kRetrievePeriod;
  Request(2);
}

void CAlarm_EventHistoryView::OnClearHistory() {
  m_btnClear.EnableWindow(FALSE);
  m_nRequest = 3;  // at the next regular tick
}

void CAlarm_EventHistoryView::OnPrintReport() {
  Try("report", [this] { ComCheck(m_pReport->Reset()); });
  EnableActionButtons(FALSE);
  // The device data of the report's header, and the tag that names its PDF.
  Try("OnPrintReport", [] { theApp().m_comm.ReadConfiguration(); });
  m_nRequest = 4;  // at the next regular tick
}

void CAlarm_EventHistoryView::OnClickGrid(const EventArgs&) {
  SetDlgItemText(kDescriptionId, "");
  LONG row = 0;
  ComCheck(m_pGrid->get_Row(&row));
  if (row < 1) return;  // the title row names no event
  ComCheck(m_pGrid->Select(row, 1));
  _bstr_t code;
  ComCheck(m_pGrid->get_Text(&code));
  if (!code.str().empty()) SetDlgItemText(kDescriptionId, TheLanguageTable().Lookup(code).str().c_str());
}
