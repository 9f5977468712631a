#include "diagnostics/run/data_monitor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/plot_hints.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_DataMonitorView;

namespace {

constexpr StatusHeaderIds kHeader{1060, 1251, 1013, 1018, 1019};
constexpr UINT kReportId = 103, kPrinterId = 104;
constexpr int kReportPlace = 1413, kPrinterPlace = 1414;
constexpr int kPollEvery = 8;
constexpr int kIntervals[] = {2, 5, 10, 15, 20, 30, 60};
constexpr const char* kUnitKeys[] = {"IDC_COMBO_UNITMIN", "IDC_COMBO_UNITHR", "IDC_COMBO_UNITDA"};
constexpr int kUnitSeconds[] = {60, 3600, 86400};
constexpr double kMinDuration = 1, kMaxDuration = 60;

// The six channels in the order a sample adds its points, each with its
// box and the key of its legend (empty: the title it was laid out with).
struct Channel {
  const char* name;
  int box;
  const char* key;
  double CWexletCoreCommunication::*value;
};
constexpr Channel kChannels[] = {
    {"Command", View::kCommandBoxId, "IPLOTCHANCMD", &CWexletCoreCommunication::m_dVar6},
    {"Position", View::kPositionBoxId, "IDC_STATICPOSNLBL", &CWexletCoreCommunication::m_dVar10},
    {"AnalogCommand", View::kAnalogBoxId, "IDC_CHECK_ANALOG_COMMAND", &CWexletCoreCommunication::m_dVar2},
    {"Temperature", View::kTemperatureBoxId, "", &CWexletCoreCommunication::m_dTemperature},
    {"Spool_CMD", View::kSpoolCmdBoxId, "IDC_CHECK_SPOOLCMD", &CWexletCoreCommunication::m_dVar48},
    {"Spool_Pos", View::kSpoolPosBoxId, "IDC_CHECK_SPOOLPOS", &CWexletCoreCommunication::m_dVar49},
};
// The elapsed-time texts in the order of the record's elements 3..6.
// The elapsed time's edits and the settings that keep them.
struct ElapsedField {
  int id;
  _bstr_t LoggerSettingTexts::*text;
};
constexpr ElapsedField kElapsed[] = {{View::kDaysId, &LoggerSettingTexts::days},
                                     {View::kHoursId, &LoggerSettingTexts::hours},
                                     {View::kMinutesId, &LoggerSettingTexts::minutes},
                                     {View::kSecondsId, &LoggerSettingTexts::seconds}};
// Uncheck All hides them in this order.
constexpr const char* kHideOrder[] = {"Position", "Command", "AnalogCommand", "Temperature", "Spool_CMD", "Spool_Pos"};

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

std::vector<DialogItem> Items() {
  using K = DlgKind;
  return {
      {1241, K::GroupBox, "Graph Settings", 8, 28, 380, 58},
      {View::kPositionBoxId, K::CheckBox, "Position", 18, 41, 120, 10},
      {View::kCommandBoxId, K::CheckBox, "Control Command", 18, 55, 120, 10},
      {View::kAnalogBoxId, K::CheckBox, "4-20 Command", 18, 69, 120, 10},
      {View::kTemperatureBoxId, K::CheckBox, "Ambient Temperature", 150, 41, 120, 10},
      {View::kSpoolCmdBoxId, K::CheckBox, "Pilot Relay Command", 150, 55, 120, 10},
      {View::kSpoolPosBoxId, K::CheckBox, "Pilot Relay Position", 150, 69, 120, 10},
      {View::kUncheckAllId, K::PushButton, "Uncheck All", 298, 66, 80, 14},
      {1011, K::GroupBox, "Monitor  Settings", 396, 28, 196, 58},
      {900, K::Static, "Interval:", 404, 41, 70, 9},
      {View::kIntervalListId, K::ComboBox, "", 476, 39, 60, 80},
      {903, K::Static, "sec.", 540, 41, 40, 9},
      {901, K::Static, "Duration:", 404, 55, 70, 9},
      {View::kDurationPlaceId, K::GroupBox, "", 476, 53, 60, 12, DS_HIDDEN},
      {902, K::Static, "Duration Units:", 404, 69, 70, 9},
      {View::kUnitListId, K::ComboBox, "", 476, 67, 60, 60},
      {1012, K::GroupBox, "Elapsed Time", 8, 90, 584, 26},
      {904, K::Static, "Days:", 24, 102, 60, 9, DS_RIGHT},
      {View::kDaysId, K::Static, "0", 88, 101, 40, 11, DS_SUNKEN | DS_CENTER},
      {905, K::Static, "Hours:", 168, 102, 60, 9, DS_RIGHT},
      {View::kHoursId, K::Static, "0", 232, 101, 40, 11, DS_SUNKEN | DS_CENTER},
      {906, K::Static, "Minutes:", 312, 102, 60, 9, DS_RIGHT},
      {View::kMinutesId, K::Static, "0", 376, 101, 40, 11, DS_SUNKEN | DS_CENTER},
      {907, K::Static, "Seconds:", 456, 102, 60, 9, DS_RIGHT},
      {View::kSecondsId, K::Static, "0", 520, 101, 40, 11, DS_SUNKEN | DS_CENTER},
      {View::kPlotPlaceId, K::GroupBox, "", 8, 120, 584, 204, DS_HIDDEN},
      {kReportPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {kPrinterPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {View::kLoadId, K::PushButton, "Load", 8, 330, 108, 16, DS_DISABLED | DS_GROUP},
      {View::kSaveId, K::PushButton, "Save", 127, 330, 108, 16, DS_DISABLED},
      {View::kStartId, K::PushButton, "Start", 246, 330, 108, 16, DS_DISABLED},
      {View::kStopId, K::PushButton, "Stop", 365, 330, 108, 16, DS_DISABLED},
      {View::kPrintId, K::PushButton, "Print", 484, 330, 108, 16, DS_DISABLED},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(254, kHeader, Items()));

const std::vector<KeyedControls> kCaptions = {
    {"IDC_STATICGRPHSET", {1241}},
    {"IDC_STATICPOSNLBL", {View::kPositionBoxId}},
    {"IDC_CHECK_ANALOG_COMMAND", {View::kAnalogBoxId}},
    {"IDC_CHECK_DIGITAL_COMMAND", {View::kCommandBoxId}},
    {"IDC_CHECK_TEMPERATURE", {View::kTemperatureBoxId}},
    {"IDC_CHECK_SPOOLCMD", {View::kSpoolCmdBoxId}},
    {"IDC_CHECK_SPOOLPOS", {View::kSpoolPosBoxId}},
    {"IDC_BTN_UNCHECKALL", {View::kUncheckAllId}},
    {"IDC_STATICDATASET", {1011}},
    {"IDC_STATICINTERVAL", {900}},
    {"IDC_STATICDURATION", {901}},
    {"IDC_STATICDURUNITS", {902}},
    {"IDC_STATICELAPSE", {1012}},
    {"IDC_STATICDAYS", {904}},
    {"IDC_STATICHRS", {905}},
    {"IDC_STATICMINS", {906}},
    {"IDC_STATICSECS", {907}},
    {"VeskSEC", {903}},
    {"IDC_BUTTON_LOAD", {View::kLoadId}},
    {"IDC_BUTTON_SAVE", {View::kSaveId}},
    {"IDC_BTN_START", {View::kStartId}},
    {"IDC_BTN_STOP", {View::kStopId}},
    {"IDC_BTN_PRINT", {View::kPrintId}},
};

const std::vector<KeyedControls> kToolTips = {
    {"IDC_CHECK_POSITIONTIP", {View::kPositionBoxId}},
    {"IDC_CHECK_ANALOG_COMMANDTIP", {View::kAnalogBoxId}},
    {"IDC_CHECK_DIGITAL_COMMANDTIP", {View::kCommandBoxId}},
    {"IDC_CHECK_TEMPERATURETIP", {View::kTemperatureBoxId}},
    {"IDC_CHECK_SPOOLCMDTIP", {View::kSpoolCmdBoxId}},
    {"IDC_CHECK_SPOOLPOSTIP", {View::kSpoolPosBoxId}},
    {"IDC_BTN_UNCHECKALLTIP", {View::kUncheckAllId}},
    {"IDC_COMBOINTERVALTIP", {View::kIntervalListId}},
    {"IDC_EDIT_DURATIONTIP", {static_cast<int>(View::kDurationId)}},
    {"IDC_COMBO_UNITSTIP", {View::kUnitListId}},
    {"IDC_BTN_STARTLOGTIP", {View::kStartId}},
    {"IDC_BTN_LOADLOGTIP", {View::kLoadId}},
    {"IDC_BTN_SAVELOGTIP", {View::kSaveId}},
    {"IDC_BTN_STOPLOGTIP", {View::kStopId}},
    {"VeskPrintReportTip", {View::kPrintId}},
};

IiPlotAxisPtr AxisNamed(IiPlotX* plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  ComCheck(x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis));
  if (!axis) ComCheck(E_POINTER);
  return axis;
}

// A stored list index as the file gives it back; `count` entries.
int StoredIndex(const _bstr_t& text, int count) {
  const int index = std::atoi(text.str().c_str());
  return index >= 0 && index < count ? index : 0;
}

}  // namespace

View::CDiagnostics_DataMonitorView() : CStepPage(254, "IDD_DIAGNOSTIC_DATALOGGER", 55, 1000, kHeader) {
  m_nStartRequest = 0;
  m_nStartStep = kUnitStep;
  m_captions = pages::HeaderCaptions(kHeader);
  m_captions.insert(m_captions.end(), kCaptions.begin(), kCaptions.end());
  m_toolTips = pages::HeaderToolTips(kHeader);
  m_toolTips.insert(m_toolTips.end(), kToolTips.begin(), kToolTips.end());

  // Stop is carried when the page is left at once: shown again, the page
  // offers Start and the settings, as it would had it stayed.
  m_requests = {{kStopRequest, kIdleStep}};

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      CountdownStatusStep(kIdleStep, kPollEvery, kIdleStep),
      // Without a reply the unit text already held stays.
      {kUnitStep, "UNIT", {}, [&comm] { comm.ReadDataLoggerState(); }, [this] { PrepareRun(); }, kIdleStep},
      // Without a reply the last values read are drawn again, so the record
      // keeps its time line; the lost link shows at the next idle tick.
      {kSampleStep, "SAMPLE", {}, [this, &comm] { m_bSampleAnswered = comm.ReadDataLoggerData(); },
       [this] {
         PlotSample();
         if (!m_bSampleAnswered) m_pollCountdown.Restart();
       },
       kIdleStep},
  };

  MapCommand(BN_CLICKED, kStartId, &View::OnStart);
  MapCommand(BN_CLICKED, kStopId, &View::OnStop);
  MapCommand(BN_CLICKED, kUncheckAllId, &View::OnUncheckAll);
  MapCommand(BN_CLICKED, kLoadId, &View::OnLoad);
  MapCommand(BN_CLICKED, kSaveId, &View::OnSave);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  for (const Channel& c : kChannels) MapCommand(BN_CLICKED, c.box, [this, box = c.box] { ShowChannel(box); });
}

void View::DoDataExchange(CDataExchange* pDX) {
  CStepPage::DoDataExchange(pDX);
  DDX_Control(pDX, kPlotPlaceId, m_wndPlotPlace);
  DDX_Control(pDX, kDurationPlaceId, m_wndDurationPlace);
  DDX_Control(pDX, kReportPlace, m_wndReportPlace);
  DDX_Control(pDX, kPrinterPlace, m_wndPrinterPlace);
}

CComboBox* View::List(int id) { return GetDlgItemAs<CComboBox>(id); }

// ---- The page's controls.

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pPlot = common.CreatePlot(this, &m_wndPlotHost, PlaceholderRect(m_wndPlotPlace), kPlotId);
  Try("plot", [this, &common] {
    common.SetupDataLoggerPlot(m_pPlot);
    common.SetupDataLoggerChannels(m_pPlot);
  });
  Try("plot texts", [this] { SetPlotCaptions(); });
  m_pDuration = common.CreateSpinEditCtrl(this, &m_wndDurationHost, PlaceholderRect(m_wndDurationPlace), kDurationId);
  Try("duration", [this] {
    ComCheck(m_pDuration->put_Decimals(0));
    ComCheck(m_pDuration->put_Min(0.0));
    ComCheck(m_pDuration->put_Max(kMaxDuration));
    ComCheck(m_pDuration->put_Value(1.0));
  });
  m_pReport = common.CreateReportCtrl(this, &m_wndReportHost, PlaceholderRect(m_wndReportPlace), kReportId);
  m_pPrinter = common.CreatePrinterCtrl(this, &m_wndPrinterHost, PlaceholderRect(m_wndPrinterPlace), kPrinterId);

  CComboBox* interval = List(kIntervalListId);
  for (int seconds : kIntervals) interval->AddString(std::to_string(seconds).c_str());
  interval->SetCurSel(0);
  CComboBox* unit = List(kUnitListId);
  for (const char* key : kUnitKeys) unit->AddString(Text(key).str().c_str());
  unit->SetCurSel(0);

  for (const Channel& c : kChannels) {
    GetDlgItemAs<CButton>(c.box)->SetCheck(BST_CHECKED);
    ShowChannel(c.box);
  }
  Try("axes", [this] {
    for (LONG y = 0; y < 2; ++y) {
      IiPlotAxisPtr axis;
      ComCheck(m_pPlot->GetYAxis(y, &axis));
      if (axis) ComCheck(axis->SetVisible(VARIANT_TRUE));
    }
  });
}

void View::SetPlotCaptions() {
  ComCheck(m_pPlot->SetTitle(Text("IDD_DIAGNOSTIC_DATALOGGER")));
  ComCheck(AxisNamed(m_pPlot.GetInterfacePtr(), false, "Percent")->SetTitle(Text("IPLOTYAXPERC").str() + " (%)"));
  ComCheck(AxisNamed(m_pPlot.GetInterfacePtr(), true, "TAxis")->SetTitle(Text("IDC_STATICTIMELABEL").str() + " (s)"));
  CCommonFunctions& common = theApp().m_CommonFunctions;
  for (const Channel& c : kChannels)
    if (*c.key) ComCheck(common.GetPlotChannelByName(m_pPlot, c.name)->SetTitle(Text(c.key)));
  plothints::Translate(m_pPlot);
}

void View::OnShown() {
  for (int id : {kStartId, kLoadId}) GetDlgItem(id)->EnableWindow(TRUE);
  EnableKeeping();
  m_dSampleNumber = 1.0;
  m_byElapsedDays = m_byElapsedHours = m_byElapsedMinutes = m_byElapsedSeconds = 0;
  m_nRunState = kIdleState;
}

void View::ShowChannel(int box) {
  for (const Channel& c : kChannels) {
    if (c.box != box) continue;
    const int shown = GetDlgItemAs<CButton>(box)->GetCheck() == BST_CHECKED ? 1 : 0;
    Try("ShowChannel", [this, &c, shown] { theApp().m_CommonFunctions.ShowChannel2(m_pPlot, c.name, shown); });
  }
}

void View::OnUncheckAll() {
  GetDlgItem(kUncheckAllId)->EnableWindow(FALSE);
  for (const Channel& c : kChannels) GetDlgItemAs<CButton>(c.box)->SetCheck(BST_UNCHECKED);
  for (const char* name : kHideOrder)
    Try("OnUncheckAll", [this, name] { theApp().m_CommonFunctions.ShowChannel2(m_pPlot, name, 0); });
  GetDlgItem(kUncheckAllId)->EnableWindow(TRUE);
}

// ---- The run.

void View::OnStart() { m_nRunState = kStartState; }

void View::OnStop() {
  m_nRunState = kStopState;
  Request(kStopRequest);
}

void View::RunStep() {
  switch (m_nRunState) {
    case kStartState:
      // Only a carried Stop ticks a hidden page: a Start clicked after it
      // belongs to the page shown, and the Stop still ends the run.
      if (!IsShown()) {
        StopRun();
        break;
      }
      m_dSampleNumber = 1.0;
      m_byElapsedDays = m_byElapsedHours = m_byElapsedMinutes = m_byElapsedSeconds = 0;
      m_bDurationReached = false;
      BeginRun();
      Try("PrepareRun", [this] { PrepareRun(); });
      m_nLastSampleSec = 0;
      m_nRunState = kRunningState;
      break;
    case kRunningState: RunningTick(); break;
    case kStopState: StopRun(); break;
    default: break;
  }
  CStepPage::RunStep();
}

void View::RunningTick() {
  ++m_byElapsedSeconds;
  if (m_dSampleLimit < m_dSampleNumber) {
    m_nRunState = kStopState;
    m_bDurationReached = true;
  } else if (m_byElapsedSeconds - m_nLastSampleSec >= m_nIntervalSec) {
    m_nLastSampleSec = m_byElapsedSeconds;
    m_nStep = kSampleStep;
  }
  if (m_byElapsedSeconds == 60) {
    ++m_byElapsedMinutes;
    m_byElapsedSeconds = 0;
    m_nLastSampleSec = 0;
  }
  if (m_byElapsedMinutes == 60) {
    ++m_byElapsedHours;
    m_byElapsedMinutes = 0;
  }
  if (m_byElapsedHours == 24) {
    ++m_byElapsedDays;
    m_byElapsedHours = 0;
  }
  if (!m_bDurationReached) ShowElapsed();
}

void View::ShowElapsed() {
  SetDlgItemText(kSecondsId, std::to_string(m_byElapsedSeconds).c_str());
  SetDlgItemText(kMinutesId, std::to_string(m_byElapsedMinutes).c_str());
  SetDlgItemText(kHoursId, std::to_string(m_byElapsedHours).c_str());
  SetDlgItemText(kDaysId, std::to_string(m_byElapsedDays).c_str());
}

void View::StopRun() {
  m_nRunState = kIdleState;
  GetDlgItem(kStopId)->EnableWindow(FALSE);
  for (int id : {kStartId, kLoadId}) GetDlgItem(id)->EnableWindow(TRUE);
  EnableKeeping();
  EnableSettings(TRUE);
  // The elapsed texts keep what they show.
  m_dSampleNumber = 0.0;
  m_byElapsedDays = m_byElapsedHours = m_byElapsedMinutes = m_byElapsedSeconds = 0;
  m_nStep = kIdleStep;
}

void View::BeginRun() {
  EnableSettings(FALSE);
  for (int id : {kStartId, kSaveId, kLoadId, kPrintId}) GetDlgItem(id)->EnableWindow(FALSE);
  GetDlgItem(kStopId)->EnableWindow(TRUE);
  m_bFileLoaded = m_bRecorded = false;
  Try("BeginRun", [this] { ComCheck(m_pPlot->ClearAllData()); });
}

void View::EnableSettings(BOOL enable) {
  GetDlgItem(kIntervalListId)->EnableWindow(enable);
  GetDlgItem(kUnitListId)->EnableWindow(enable);
  if (m_pDuration) Try("duration", [this, enable] { ComCheck(m_pDuration->put_Enabled(enable)); });
}

double View::DurationField() const {
  double value = 0;
  if (!m_pDuration || FAILED(m_pDuration->get_Value(&value)) || !std::isfinite(value)) return 0;
  return value;
}

int View::DurationValue() const {
  // Beyond an int: the run's clamp takes over.
  return static_cast<int>(std::clamp(std::trunc(DurationField()), -1e6, 1e6));
}

void View::PrepareRun() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  Try("PrepareRun axis title", [this, &comm] {
    ComCheck(AxisNamed(m_pPlot.GetInterfacePtr(), false, "Temperature")
                 ->SetTitle(Text("IDC_BTN_TEMP").str() + " ( " + comm.m_strVar152 + " )"));
  });
  const int index = List(kIntervalListId)->GetCurSel();
  if (index >= 0) SetIntervalFromIndex(static_cast<BYTE>(index));
  const double duration = std::clamp(static_cast<double>(DurationValue()), kMinDuration, kMaxDuration);
  if (m_pDuration) Try("PrepareRun duration", [this, duration] { ComCheck(m_pDuration->put_Value(duration)); });
  const int unit = List(kUnitListId)->GetCurSel();
  m_dDurationSec = unit >= 0 ? GetDurationSeconds(static_cast<BYTE>(unit)) : 0;
  m_dSampleLimit = m_dDurationSec / m_nIntervalSec + 0.5;
  Try("PrepareRun time axis",
      [this] { ComCheck(AxisNamed(m_pPlot.GetInterfacePtr(), true, "TAxis")->SetSpan(m_dDurationSec)); });
}

int View::GetDurationSeconds(BYTE unitIndex) const {
  if (unitIndex >= std::size(kUnitSeconds)) return 0;
  return DurationValue() * kUnitSeconds[unitIndex];
}

void View::SetIntervalFromIndex(BYTE index) {
  if (index < std::size(kIntervals)) m_nIntervalSec = kIntervals[index];
}

void View::PlotSample() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  const double x = m_nIntervalSec * m_dSampleNumber;
  for (const Channel& c : kChannels)
    Try("PlotSample",
        [&] { ComCheck(common.GetPlotChannelByName(m_pPlot, c.name)->AddXY(x, comm.*c.value, nullptr)); });
  m_dSampleNumber += 1.0;
  m_bRecorded = true;
}

void View::EnableKeeping() {
  for (int id : {kSaveId, kPrintId}) GetDlgItem(id)->EnableWindow(HasDataToKeep());
}

// ---- Files and report.

void View::OnSave() {
  if (!HasDataToKeep()) return;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  CWexletCoreCommunication& comm = theApp().m_comm;
  auto& settings = common.m_strLoggerSettings;
  settings.interval = _bstr_t(std::to_string(List(kIntervalListId)->GetCurSel()).c_str());
  settings.duration = _bstr_t(std::to_string(DurationValue()).c_str());
  settings.unit = _bstr_t(std::to_string(List(kUnitListId)->GetCurSel()).c_str());
  for (const ElapsedField& f : kElapsed) settings.*f.text = _bstr_t(GetDlgItemText(f.id).c_str());
  // Opened data keeps the tag of its file; without a reply the tag last read.
  if (!m_bFileLoaded) {
    Try("OnSave tag", [&comm] { comm.ReadCommand(13); });
    common.m_strFileTag = _bstr_t(comm.m_strTag);
  }
  Try("OnSave", [this, &common] { common.SaveDataLoggerFile(m_pPlot); });
}

void View::OnLoad() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  bool opened = false;
  Try("OnLoad", [&] { opened = common.OpenDataLoggerFile(m_pPlot); });
  if (!opened) return;
  m_bFileLoaded = true;
  EnableKeeping();
  for (const Channel& c : kChannels) ShowChannel(c.box);
  const auto& settings = common.m_strLoggerSettings;
  List(kIntervalListId)->SetCurSel(StoredIndex(settings.interval, static_cast<int>(std::size(kIntervals))));
  List(kUnitListId)->SetCurSel(StoredIndex(settings.unit, static_cast<int>(std::size(kUnitKeys))));
  if (m_pDuration)
    Try("OnLoad duration", [this, &settings] {
      ComCheck(m_pDuration->put_Value(static_cast<double>(std::atoi(settings.duration.str().c_str()))));
    });
  for (const ElapsedField& f : kElapsed) SetDlgItemText(f.id, (settings.*f.text).str().c_str());
}

void View::OnPrintReport() {
  if (!HasDataToKeep()) return;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  CWexletCoreCommunication& comm = theApp().m_comm;
  Try("OnPrintReport", [&comm] { comm.ReadConfiguration(); });
  if (m_bFileLoaded && common.m_strFileTag.str() != comm.m_strTag)
    MessageBox("Report Header section matches with live device settings and doesn't match the file loaded.",
               theApp().m_strProductTitle.str().c_str(), MB_OK);
  auto& settings = common.m_strLoggerSettings;
  const auto selected = [this](int id) {
    CComboBox* list = List(id);
    const int index = list->GetCurSel();
    return index < 0 ? std::string() : list->GetLBText(index);
  };
  settings.interval = _bstr_t(selected(kIntervalListId).c_str());
  settings.duration = _bstr_t(plat::FormatNumber("%5.0f", DurationField()).c_str());
  settings.unit = _bstr_t(selected(kUnitListId).c_str());
  for (const ElapsedField& f : kElapsed) settings.*f.text = _bstr_t(GetDlgItemText(f.id).c_str());
  common.GenerateDataMonitorReport(m_pPlot, m_pReport, m_pPrinter,
                                   _bstr_t(plat::ProgramPath("\\Dependencies\\DataMonReport.xml")), this);
}
