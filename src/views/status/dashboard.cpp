#include "views/status/dashboard.h"

#include <exception>

#include "comm/status_rules.h"
#include "common/control_puts.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

using pages::MonitoringPageTemplate;

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

// One configuration row: a bit of the software configuration, the field
// that shows it, and the mark that flags a dip switch set otherwise.
struct DipRow {
  BYTE bit;
  int label;
  const char* labelText;  // the template's, until the caption is set
  const char* captionKey;
  int value;
  int mark;
  const char* whenSet;
  const char* whenClear;
  bool keyed;  // the two texts are language keys
  const char* toolTipKey;
};

constexpr DipRow kDipRows[] = {
    {0x01, 906, "Air Action:", "IDC_STATICACTAIRACTN", 1054, 1092, "AirActOpen", "AirActClose", true,
     "EDT_DIPSWT_AIRACTIONTIP"},
    {0x04, 909, "Signal at closed:", "IDC_STATICSIGCLOSED", 1007, 1008, "4mA", "20mA", false, "EDT_DIPSWT_SIGNALTIP"},
    {0x08, 912, "Pos.Characterization", "IDC_STATICPOSCHAR", 1062, 1094, "CharLinear", "CharCustom", true,
     "EDT_DIPSWT_CHARTIP"},
    {0x10, 966, "Auto Tune:", "IDC_STATICAUTOTUNE", 1088, 1096, "ON", "OFF", false, "EDT_DIPSWT_AUTOTUNETIP"},
    {0x20, 969, "Quick Calibration:", "IDC_STATICQUIKCAL", 1009, 1010, "QCAuto", "QCJog", true, "EDT_DIPSWT_QCALTIP"},
    {0x40, 1028, "Valve Stability:", "IDC_STATICSTABLITY", 1090, 1098, "ValFricLo", "ValFricHi", true,
     "EDT_DIPSWT_STABILITYTIP"},
    {0x80, 967, "Spare:", "IDC_STATICSPARE", 1089, 1097, "A", "B", false, "EDT_DIPSWT_SPARETIP"},
};
constexpr int kWholeByteLabel = 1073;
constexpr int kWholeByteMark = 1102;

// ---- Dialog 106, in dialog units (x 1.5 and y 1.625 give pixels).

std::vector<DialogItem> DashboardItems() {
  constexpr unsigned kField = DS_READONLY | DS_CENTER;
  constexpr unsigned kPlace = DS_HIDDEN;
  std::vector<DialogItem> items = {
      // Command and position, with cut-off and lock.
      {1020, DlgKind::GroupBox, "Command and Position", 8, 28, 364, 150},
      {290, DlgKind::Static, "Final Command:", 16, 43, 64, 9},
      {248, DlgKind::GroupBox, "", 82, 40, 60, 14, kPlace},
      {213, DlgKind::GroupBox, "", 146, 38, 218, 34, kPlace},
      {288, DlgKind::Static, "Position:", 16, 83, 64, 9},
      {249, DlgKind::GroupBox, "", 82, 80, 60, 14, kPlace},
      {214, DlgKind::GroupBox, "", 146, 78, 218, 34, kPlace},
      {1074, DlgKind::Static, "Deviation:", 16, 123, 64, 9},
      {250, DlgKind::GroupBox, "", 82, 120, 60, 14, kPlace},
      {1077, DlgKind::Static, "Position Cut Off:", 146, 123, 76, 9},
      {CDashboardView::kCutOffId, DlgKind::Edit, "", 224, 121, 80, 12, kField},
      {1078, DlgKind::Static, "Pressure Lock:", 146, 143, 76, 9},
      {CDashboardView::kLockId, DlgKind::Edit, "", 224, 141, 80, 12, kField},
      // Input source and the digital command.
      {1021, DlgKind::GroupBox, "Input Source", 380, 28, 212, 96},
      {238, DlgKind::GroupBox, "", 390, 42, 72, 26, kPlace},
      {1084, DlgKind::Static, "4-20 Input:", 390, 78, 64, 9},
      {254, DlgKind::GroupBox, "", 456, 75, 56, 13, kPlace},
      {234, DlgKind::Static, "%", 515, 78, 10, 9},
      {1076, DlgKind::Static, "Digital Input:", 390, 100, 64, 9},
      {1732, DlgKind::GroupBox, "", 456, 97, 56, 13, kPlace},
      {231, DlgKind::Static, "%", 515, 100, 10, 9},
      {CDashboardView::kApplyId, DlgKind::PushButton, "Apply", 528, 96, 58, 15},
      // Transaction monitor.
      {225, DlgKind::GroupBox, "HART Status", 380, 130, 212, 48},
      {292, DlgKind::Static, "Transmit:", 390, 150, 44, 9},
      {CDashboardView::kTransmitId, DlgKind::Edit, "", 436, 148, 48, 12, kField},
      {295, DlgKind::Static, "Receive:", 490, 150, 42, 9},
      {CDashboardView::kReceiveId, DlgKind::Edit, "", 534, 148, 48, 12, kField},
      // Temperature.
      {1029, DlgKind::GroupBox, "Temperature", 8, 184, 120, 160},
      {202, DlgKind::GroupBox, "", 20, 196, 96, 122, kPlace},
      {251, DlgKind::GroupBox, "", 20, 324, 96, 14, kPlace},
      // Software configuration against the dip switches.
      {1027, DlgKind::GroupBox, "Dip Switch Configuration", 134, 184, 458, 160},
      {kWholeByteLabel, DlgKind::Static, "Dip Switch Differs From Software", 144, 302, 156, 9, DS_RIGHT},
      {kWholeByteMark, DlgKind::Edit, "", 304, 300, 14, 12, kField},
  };
  for (int row = 0; row < 7; ++row) {
    const DipRow& r = kDipRows[row];
    const int x = row < 4 ? 144 : 372;
    const int y = 200 + 22 * (row % 4);
    items.push_back({r.label, DlgKind::Static, r.labelText, x, y + 2, 82, 9});
    items.push_back({r.value, DlgKind::Edit, "", x + 84, y, 72, 12, kField});
    items.push_back({r.mark, DlgKind::Edit, "", x + 160, y, 14, 12, kField});
  }
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(MonitoringPageTemplate(106, {}, DashboardItems()));

constexpr double kCommandMin = -10.0;
constexpr double kCommandMax = 110.0;

// Three reads when shown (their log names are the numbers 1 to 3), then
// the idle cycle of the cyclic read and the header's poll.
enum Step : int { kIdleStep = 0, kPollStep = 2, kSlowReadStep = 4, kUnitsStep = 8, kCutOffStep = 10 };

}  // namespace

// ---- CDashboardView.

CDashboardView::CDashboardView() : CMonitoringPage(106, "IDC_BUTTON_DASHBOARD", 3, 5000) {
  m_nStartRequest = 0;  // actions write at once
  m_nStartStep = kSlowReadStep;
  m_nStep = kSlowReadStep;
  m_bPollAtStart = true;
  const std::vector<KeyedControls> captions = {
      {"IDC_GB_Command_Position", {1020}},
      {"IDC_ILABELXCMD", {290}},
      {"IDC_ILABELXPOSN", {288}},
      {"IDC_ILABELXDEV", {1074}},
      {"IDC_ILABELXPOSCUT", {1077}},
      {"IDC_INPUTSOURCE", {1021}},
      {"IDC_ILABELXANACMD", {1084}},
      {"Digital", {1076}},
      {"IDC_BUTTON_APPLY", {kApplyId}},
      {"IDC_BTN_TEMP", {1029}},
      {"IDC_GB_HARTSTAT", {225}},
      {"IDC_TRANSMIT", {292}},
      {"IDC_RECEIVE", {295}},
      {"IDC_STATICDIPSETTING", {1027}},
      // The pressure lock's label shares the stability row's caption.
      {"IDC_STATICSTABLITY", {1078}},
      {"IDC_ILABELXDIFFER", {kWholeByteLabel}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_EDITX_COMMANDTIP", {kCommandDisplayId}},
      {"IDC_ILINEARGAUGE_COMMANDTIP", {kCommandGaugeId}},
      {"IDC_EDITX_FBPOSITIONTIP", {kPositionDisplayId, kPositionGaugeId}},
      {"EDT_ALM_POS1", {kDeviationDisplayId}},
      {"EDT_POS_CUTOFFTIP", {kCutOffId}},
      {"EDT_LOCKTIP", {kLockId}},
      {"IDC_ISWITCHDigitalAnalogTIP", {kSourceSwitchId}},
      {"IDC_EDITX_ANACMD_VALUETIP", {kAnalogInputId}},
      {"IDC_CEDIT_DIGCMDINTIP", {kDigitalEntryId}},
      {"IDC_BUTTON_APPLYCMDTIP", {kApplyId}},
      {"IDC_BTN_TEMP", {kThermometerId}},
      {"VeskTEMP_TOOL_TIP", {kTemperatureDisplayId}},
      {"EDT_HARTTXTIP", {kTransmitId}},
      {"EDT_HARTRXTIP", {kReceiveId}},
      {"EDIT_DIPSW_DIFF", {kWholeByteMark}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());
  KeyedControls marks{"IDC_ILABELXDIFFER", {}};
  for (const DipRow& r : kDipRows) {
    m_captions.push_back({r.captionKey, {r.label}});
    m_toolTips.push_back({r.toolTipKey, {r.value}});
    marks.ids.push_back(r.mark);
  }
  m_toolTips.push_back(marks);

  CWexletCoreCommunication& comm = theApp().m_comm;
  // A display shows the device image only once its read has been answered:
  // until then the image's zeros are settings no device sent.
  m_steps = {
      {kSlowReadStep, "1", {}, [this, &comm] { m_bSlowRead = comm.ReadDashboardSlowReadParameters() || m_bSlowRead; },
       [this] {
         if (!m_bSlowRead) return;
         UpdateCommandGaugeLimitsToControls();
         UpdateControlModeToControls();
       },
       kUnitsStep},
      {kUnitsStep, "2", {}, [this, &comm] { m_bUnitsRead = comm.ReadCommand(142) || m_bUnitsRead; },
       [this] {
         if (m_bUnitsRead) UpdateTemperatureUnitToControls();
       },
       kCutOffStep},
      {kCutOffStep, "3", {}, [this, &comm] {
         m_bCutOffRead = comm.ReadCommand(132) || m_bCutOffRead;
         comm.ReadCommand(138);
       },
       [this] {
         if (m_bCutOffRead) UpdatePressureCtlAndPosCutOffDataToControls();
       },
       kIdleStep},
      // The cyclic read comes every second idle tick; the countdown
      // survives hiding the page.
      {kIdleStep, "IDLE",
       [this] { return m_idleCountdown.Due(2); },
       [this, &comm] { m_bCyclicRead = comm.ReadDashboardCyclicParameters() || m_bCyclicRead; },
       [this] {
         if (m_bCyclicRead) UpdateCyclicReadToControls();
       },
       kPollStep},
      {kPollStep, "STAT", {}, [this] { PollStatusArea(); }, [this] { UpdatePositionGaugeColor(); }, kIdleStep},
  };

  MapCommand(BN_CLICKED, kApplyId, &CDashboardView::OnApply);
  MapEvent(kCommandGaugeId, 8, &CDashboardView::OnCommandGaugeEvent);
  MapEvent(kSourceSwitchId, 12, &CDashboardView::OnInputSourceSwitch);
}

void CDashboardView::DoDataExchange(CDataExchange* pDX) {
  CMonitoringPage::DoDataExchange(pDX);
  DDX_Control(pDX, 213, m_wndCommandGauge);
  DDX_Control(pDX, 214, m_wndPositionGauge);
  DDX_Control(pDX, 248, m_wndCommandDisplay);
  DDX_Control(pDX, 249, m_wndPositionDisplay);
  DDX_Control(pDX, 250, m_wndDeviationDisplay);
  DDX_Control(pDX, 251, m_wndTemperatureDisplay);
  DDX_Control(pDX, 254, m_wndAnalogInput);
  DDX_Control(pDX, 238, m_wndSourceSwitch);
  DDX_Control(pDX, 202, m_wndThermometer);
  DDX_Control(pDX, 1732, m_wndDigitalEntry);
  DDX_Control(pDX, kTransmitId, m_edtTransmit);
  DDX_Control(pDX, kReceiveId, m_edtReceive);
  DDX_Control(pDX, kCutOffId, m_edtCutOff);
  DDX_Control(pDX, kLockId, m_edtLock);
  DDX_Control(pDX, kApplyId, m_btnApply);
}

void CDashboardView::OnInitialUpdate() {
  CMonitoringPage::OnInitialUpdate();
  theApp().m_comm.LoadErrorTable();
}

void CDashboardView::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pCommandGauge = common.CreateLinearGauge(this, &m_wndHosts[1], PlaceholderRect(m_wndCommandGauge), kCommandGaugeId);
  if (m_pCommandGauge) Try("command gauge", [&] { common.SetupDashboardGaugeFonts(m_pCommandGauge); });
  m_pDigitalEntry =
      common.CreateSpinEditCtrl(this, &m_wndHosts[2], PlaceholderRect(m_wndDigitalEntry), kDigitalEntryId);
  if (m_pDigitalEntry) Try("digital entry", [this] {
      ComCheck(m_pDigitalEntry->put_Min(kCommandMin));
      ComCheck(m_pDigitalEntry->put_Max(kCommandMax));
    });
  m_pPositionGauge =
      common.CreateLinearGauge(this, &m_wndHosts[3], PlaceholderRect(m_wndPositionGauge), kPositionGaugeId);
  if (m_pPositionGauge) Try("position gauge", [&] { common.SetupDashboardGauge(m_pPositionGauge); });
  m_pCommandDisplay =
      common.CreateAnalogDisplay(this, &m_wndHosts[4], PlaceholderRect(m_wndCommandDisplay), kCommandDisplayId, "%");
  m_pPositionDisplay =
      common.CreateAnalogDisplay(this, &m_wndHosts[5], PlaceholderRect(m_wndPositionDisplay), kPositionDisplayId, "%");
  m_pDeviationDisplay = common.CreateAnalogDisplay(this, &m_wndHosts[6], PlaceholderRect(m_wndDeviationDisplay),
                                                   kDeviationDisplayId, "%");
  m_pTemperatureDisplay = common.CreateAnalogDisplay(this, &m_wndHosts[7], PlaceholderRect(m_wndTemperatureDisplay),
                                                     kTemperatureDisplayId, "");
  m_pAnalogInput = common.CreateEditDisplay(this, &m_wndHosts[8], PlaceholderRect(m_wndAnalogInput), kAnalogInputId);
  m_pSourceSwitch =
      common.CreateSwitchSlider(this, &m_wndHosts[9], PlaceholderRect(m_wndSourceSwitch), kSourceSwitchId);
  m_pThermometer =
      common.CreateThermometer(this, &m_wndHosts[10], PlaceholderRect(m_wndThermometer), kThermometerId, 1);
}

// ---- The timer machine.

void CDashboardView::OnStepBegin(const PageStep& step) { m_edtTransmit.SetWindowText(step.name); }

void CDashboardView::OnStepEnd(const PageStep& step) { m_edtReceive.SetWindowText(step.name); }

void CDashboardView::Receive(const char* name, int nextStep) {
  m_edtReceive.SetWindowText(name);
  m_nStep = nextStep;
}

// ---- Displays. One Try per control: a control that fails leaves the
// others updated.

void CDashboardView::OnShown() {
  // The pointer's normal colour would say the device is well.
  if (!theApp().m_comm.m_bStatusRead) UpdatePositionGaugeColor();
}

void CDashboardView::UpdatePositionGaugeColor() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  const BYTE code = comm.m_byPriorityBits;
  const COLORREF color = !comm.m_bStatusRead           ? status::kNotAvailable
                         : code == 88                  ? status::kAlarm
                         : (code == 96 || code == 97) ? status::kAlert
                                                      : status::kHeaderHealthy;
  Try("position gauge", [&] { common::Puts(m_pPositionGauge.GetInterfacePtr()).Color(activex::Row(3), color); });
}

void CDashboardView::UpdateCommandGaugeLimitsToControls() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  // Rows 12 and 13 keep the command's range, 26 and 27 mark the position
  // alert points.
  Try("command gauge", [&] {
    common::Puts(m_pCommandGauge.GetInterfacePtr())
        .Put(activex::Row(12), comm.m_dVar63)
        .Put(activex::Row(13), comm.m_dVar62)
        .Put(activex::Row(26), comm.m_dPosAlertHigh)
        .Put(activex::Row(27), comm.m_dPosAlertLow);
  });
}

void CDashboardView::UpdateControlModeToControls() {
  const bool digital = (theApp().m_comm.m_byControlMode & 0x01) != 0;
  m_btnApply.EnableWindow(digital);
  Try("source switch", [&] { ComCheck(m_pSourceSwitch->put_Position(digital ? 1 : 0)); });
  Try("digital entry",
      [&] { common::Puts(m_pDigitalEntry.GetInterfacePtr()).Put(activex::kReadOnly, _variant_t(!digital)); });
  Try("command gauge", [&] { ComCheck(m_pCommandGauge->PutElementSetting(0, activex::kElementBool, _variant_t(digital))); });
}

void CDashboardView::UpdateTemperatureUnitToControls() {
  const status::TemperatureScale scale = status::TemperatureScaleOf(theApp().m_comm.m_abyUnitCodes[3]);
  Try("temperature display", [&] { ComCheck(m_pTemperatureDisplay->put_Units(scale.fahrenheit ? " degF" : " degC")); });
  Try("thermometer", [&] {
    ComCheck(m_pThermometer->put_ScaleMin(scale.min));
    ComCheck(m_pThermometer->put_ScaleMax(scale.max));
  });
}

void CDashboardView::UpdatePressureCtlAndPosCutOffDataToControls() {
  try {
    const CWexletCoreCommunication& comm = theApp().m_comm;
    m_edtCutOff.SetWindowText(Text(comm.m_byCmdPosActive == 1 ? "IDC_LBLACTIVE2" : "STATUSINACTIVE").c_str());
    m_edtLock.SetWindowText(Text(comm.m_byCmdPos0 == 1 ? "PCTRLLOCKED" : "PCTRLTRACK").c_str());
  } catch (const std::exception&) {  // _com_error too
    WriteLog("error in UpdatePressureCtlAndPosCutOffDataToControls");
  }
}

void CDashboardView::UpdateCyclicReadToControls() {
  UpdateCyclicDataToControls();
  UpdateSoftConfigToControls();
  UpdateDipSwitchDiffToControls();
  const BYTE bits = theApp().m_comm.m_byVar264;
  m_edtCutOff.SetWindowText(Text(bits & 0x02 ? "IDC_LBLACTIVE2" : "STATUSINACTIVE").c_str());
  m_edtLock.SetWindowText(Text(bits & 0x04 ? "PCTRLLOCKED" : "PCTRLTRACK").c_str());
}

void CDashboardView::UpdateCyclicDataToControls() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  Try("command gauge", [&] { ComCheck(m_pCommandGauge->put_Value(comm.m_dVar6)); });
  Try("command display", [&] { ComCheck(m_pCommandDisplay->put_Value(comm.m_dVar6)); });
  Try("digital entry", [&] { ComCheck(m_pDigitalEntry->put_Value(comm.m_dVar6)); });
  Try("position gauge", [&] { ComCheck(m_pPositionGauge->put_Value(comm.m_dVar10)); });
  Try("position display", [&] { ComCheck(m_pPositionDisplay->put_Value(comm.m_dVar10)); });
  Try("deviation display", [&] { ComCheck(m_pDeviationDisplay->put_Value(comm.m_dVar12)); });
  Try("analog input", [&] { ComCheck(m_pAnalogInput->put_Text(plat::FormatNumber("%5.2f", comm.m_dVar2).c_str())); });
  Try("thermometer", [&] { ComCheck(m_pThermometer->put_Value(comm.m_dTemperature)); });
  Try("temperature display", [&] { ComCheck(m_pTemperatureDisplay->put_Value(comm.m_dTemperature)); });
}

void CDashboardView::UpdateSoftConfigToControls() {
  const BYTE config = theApp().m_comm.m_bySoftConfig;
  for (const DipRow& r : kDipRows) {
    const char* text = config & r.bit ? r.whenSet : r.whenClear;
    SetDlgItemText(r.value, r.keyed ? Text(text).c_str() : text);
  }
}

void CDashboardView::UpdateDipSwitchDiffToControls() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  const BYTE differ = comm.m_byDipSwitches ^ comm.m_bySoftConfig;
  for (const DipRow& r : kDipRows) SetDlgItemText(r.mark, differ & r.bit ? "X" : "");
  SetDlgItemText(kWholeByteMark, differ ? "X" : "");
}

// ---- The operator's actions.

void CDashboardView::OnInputSourceSwitch(const EventArgs&) {
  CTarnixWexletApp& app = theApp();
  if (MessageBox(Text("STATCTRLMODE").c_str(), app.m_strProductTitle.str().c_str(), MB_YESNO | MB_ICONQUESTION) ==
      IDYES) {
    LONG position = 0;
    ComCheck(m_pSourceSwitch->get_Position(&position));
    BYTE& mode = app.m_comm.m_byControlMode;
    mode = position == 0 ? static_cast<BYTE>(mode & ~0x01) : static_cast<BYTE>(mode | 0x01);
    app.m_comm.WriteCmd201ControlEnable(mode);
    m_nStep = kIdleStep;
  }
  UpdateControlModeToControls();
}

void CDashboardView::OnCommandGaugeEvent(const EventArgs&) {
  m_edtTransmit.SetWindowText("CMD");
  double value = 0;
  ComCheck(m_pCommandGauge->get_Value(&value));
  if (value > kCommandMax)
    value = kCommandMax;
  else if (value < kCommandMin)
    value = kCommandMin;
  ComCheck(m_pDigitalEntry->put_Value(value));
  theApp().m_comm.WriteCmd201CmdPctDigital(value);
  Receive("CMD", 0);
}

void CDashboardView::OnApply() {
  double value = 0;
  ComCheck(m_pDigitalEntry->get_Value(&value));
  // A typed value is not held to the entry's range: never send the valve
  // outside it.
  if (!(value >= -10.0 && value <= 110.0)) {
    MessageBox(Text("DIGCMDRANGE").c_str(), theApp().m_strProductTitle.str().c_str(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  theApp().m_comm.WriteCmd201CmdPctDigital(value);
  Receive("CMD", 0);
}
