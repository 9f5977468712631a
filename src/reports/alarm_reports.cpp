// The alarm annunciator, management annunciator and event history reports.
#include <algorithm>
#include <array>
#include <string>

#include "reports/common_functions.h"
#include "platform/com/com_error.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

using reports::FlagMark;

// ----- Alarm annunciator -----

const reports::ReportMember kAlarmAnnunciator{"AlarmReport",
                                              "PageLine",
                                              "Detail",
                                              "TitleLbl",
                                              "ALARMALERTTITLE",
                                              "_AlarmAnnunciatorReport_",
                                              "Save Alarm Annunc ReportAs"};

struct Label {
  const char* field;
  const char* key;
};

struct AlarmRow {
  Label label;
  const char* activeField;
  const char* maskField;
  size_t alarm;  // into the active and masked bytes
};

// In the page's order, group by group.
constexpr AlarmRow kAlarmRows[] = {
    {{"ValveCyclesLbl", "IDC_GB_VALCYC"}, "ValveCyclesAct", "ValveCyclesMsk", 0},
    {{"ValveTravelLbl", "IDC_GB_VALTRAV"}, "ValveTravelAct", "ValveTravelMsk", 1},
    {{"PilotCyclesLimitLbl", "IDC_GB_PILOTCYC"}, "PilotCyclesLimitAct", "PilotCyclesLimitMsk", 6},
    {{"PilotTravelLimitLbl", "IDC_GB_PILOTTRAV"}, "PilotTravelLimitAct", "PilotTravelLimitMsk", 7},
    {{"PositionDeviationLbl", "EDT_ALM_POS1"}, "PositionDeviationAct", "PositionDeviationMsk", 24},
    {{"PosSensorFail", "IDC_CHECKANNPOSSENFAILLBL"}, "PosSensorFailAct", "PosSensorFailMsk", 25},
    {{"ClosedTooFar", "IDC_CHECKANNCLSFARLBL"}, "ClosedTooFarAct", "ClosedTooFarMsk", 26},
    {{"OpenTooFar", "IDC_CHECKANNOPNFARLBL"}, "OpenTooFarAct", "OpenTooFarMsk", 27},
    {{"PSTFailed", "IDC_CHECKANNPSTFAILLBL"}, "PSTFailedAct", "PSTFailedMsk", 28},
    {{"PilotResponseALM", "IDC_PILOTRESPALM"}, "PilotResponseAct", "PilotResponseMsk", 41},
    {{"PilotResponseWRN", "IDC_PILOTRESPWRN"}, "PilotResponseWrnAct", "PilotResponseWrnMsk", 42},
    {{"PiezoVoltsHighALM", "IDC_PZOHIALM"}, "PiezoVoltsHighAct", "PiezoVoltsHighMsk", 43},
    {{"PiezoVoltsHighWrn", "IDC_PZOHIWRN"}, "PiezoVoltsHighWrnAct", "PiezoVoltsHighWrnMsk", 44},
    {{"PiezoVoltsLowALM", "IDC_PZOLOALM"}, "PiezoVoltsLowAct", "PiezoVoltsLowMsk", 45},
    {{"PiezoVoltsLowWRN", "IDC_PZOLOWRN"}, "PiezoVoltsLowWrnAct", "PiezoVoltsLowWrnMsk", 46},
    {{"DriverModule", "IDC_CHECKANNDRVRMOD"}, "DriverModuleAct", "DriverModuleMsk", 47},
    {{"FactoryResetState", "EDT_ALM_COM2"}, "FactoryResetStateAct", "FactoryResetStateMsk", 30},
    {{"CalibrationInProg", "IDC_CHECKANNCALPROGLBL"}, "CalibrationInProgAct", "CalibrationInProgMsk", 31},
    {{"SignatureOrPST", "IDC_CHECKANNPST"}, "SignatureOrPSTAct", "SignatureOrPSTMsk", 32},
    {{"JogCmdMode", "IDC_CHECKJOG"}, "JogCmdModeAct", "JogCmdModeMsk", 33},
    {{"SoftStopHighAlert", "IDC_CHECKANNSOFTHILBL"}, "SoftStopHighAlertAct", "SoftStopHighAlertMsk", 48},
    {{"SoftStopLowAlert", "IDC_CHECKANNSOFTLOLBL"}, "SoftStopLowAlertAct", "SoftStopLowAlertMsk", 49},
    {{"PsnHighLimitAlert", "IDC_CHECKANNPOSNHI"}, "PsnHighLimitAlertAct", "PsnHighLimitAlertMsk", 50},
    {{"PsnLowLimitAlert", "IDC_CHECKANNPOSNLO"}, "PsnLowLimitAlertAct", "PsnLowLimitAlertMsk", 51},
    {{"FBackLinkLbl", "IDC_CHECKFBACKLINK"}, "FBackLinkActive", "FBackLinkMask", 52},
    {{"SupplyPressLowAlm", "IDC_SUPPLOALM"}, "SupplyPressLowAct", "SupplyPressLowMsk", 17},
    {{"MainBoardFail", "IDC_CHECKANNMAINFAIL"}, "MainBoardFailAct", "MainBoardFailMsk", 36},
    {{"SoftwareError", "IDC_CHECKANNSOFTERR"}, "SoftwareErrorAct", "SoftwareErrorMsk", 37},
    {{"MemoryError", "IDC_CHECKANNMEMERR"}, "MemoryErrorAct", "MemoryErrorMsk", 38},
    {{"TemperatureHigh", "IDC_CHECKANNTEMPHI"}, "TemperatureHighAct", "TemperatureHighMsk", 39},
    {{"TemperatureLow", "IDC_CHECKANNTEMPLO"}, "TemperatureLowAct", "TemperatureLowMsk", 40},
    {{"ValveCantOpen", "IDC_CHECKANNCANTOPENLBL"}, "ValveCantOpenAct", "ValveCantOpenMsk", 57},
    {{"ValveCantShut", "IDC_CHECKANNCANTSHUTLBL"}, "ValveCantShutAct", "ValveCantShutMsk", 58},
};

// A group heading goes in after the label of the row it follows (1-based).
struct Heading {
  size_t afterRow;
  Label label;
};
constexpr Heading kAlarmHeadings[] = {
    {1, {"IDC_GB_CYCTRAV", "IDC_GB_CYCTRAV"}},           {4, {"IDC_GB_FBACKSTAT", "IDC_GB_FBACKSTAT"}},
    {9, {"IDC_GB_ILOOPSTAT", "BE_FLAG_ENABLE_6"}},       {16, {"IDC_GB_MODESTAT", "IDG_MODESTAT"}},
    {20, {"IDC_GB_POSNSTAT", "IDC_GB_POSNSTAT"}},        {25, {"IDC_GB_ACTSTAT", "IDC_GB_ACTSTAT"}},
    {26, {"IDC_GB_MBOARDSTAT", "IDC_GB_MBOARDSTAT"}},    {31, {"IDC_GB_FRICSTAT", "IDC_GB_VALSTABILITYSTAT"}},
};
// Its text was written for a group box, where "&&" shows one ampersand.
constexpr const char* kSingleAmpersandHeading = "IDC_GB_CYCTRAV";

constexpr Label kAlarmColumnTitles[] = {
    {"ActiveLbl2", "IDC_LBLACTIVE2"},  {"ActiveLbl7", "IDC_LBLACTIVE2"}, {"MaskLbl2", "IDC_LBLMASKED2"},
    {"MaskLbl7", "IDC_LBLMASKED2"},    {"ValueLbl2", "DESCVALTITLE"},    {"ValueLbl7", "DESCVALTITLE"},
    {"SettingsLbl2", "THRESHOLDLBL"},  {"SettingsLbl7", "THRESHOLDLBL"},
};

// A field showing one of the page's value texts as stored.
struct Slot {
  const char* field;
  size_t slot;
};
// Present values and units, then set points, each by increasing slot.
constexpr Slot kAlarmValues[] = {
    {"ValveCyclesValue", 0},       {"ValveTravelValue", 1},        {"PilotCyclesLimitValue", 6},
    {"PilotTravelLimitValue", 7},  {"PositionDeviationValue", 8},  {"PilotResponseValue", 9},
    {"PilotResponseWrnValue", 9},  {"PiezoVoltsHighValue", 10},    {"PiezoVoltsHighWrnValue", 10},
    {"PiezoVoltsLowValue", 10},    {"PiezoVoltsLowWrnValue", 10},  {"TemperatureHighValue", 20},
    {"TemperatureLowValue", 21},   {"TemperatureHighUnit", 22},    {"TemperatureLowUnit", 22},
};
constexpr Slot kAlarmSetPoints[] = {
    {"ValveCyclesSet", 25},        {"ValveTravelSet", 26},        {"PilotCyclesLimitSet", 31},
    {"PilotTravelLimitSet", 32},   {"PositionDeviationSet", 33},  {"PilotResponseSet", 34},
    {"PilotResponseWrnSet", 35},   {"SoftStopHighAlertSet", 44},  {"SoftStopLowAlertSet", 45},
    {"PsnHighLimitAlertSet", 46},  {"PsnLowLimitAlertSet", 47},   {"TemperatureHighSet", 53},
    {"TemperatureLowSet", 54},
};

// ----- Management annunciator -----

const reports::ReportMember kAlarmMgmt{"AlarmMgtRept",
                                       "PageLine",
                                       "Detail",
                                       "TitleLbl",
                                       "ALARMALERTTITLE",
                                       "_AlarmMgmtAnnunciatorReport_",
                                       "Save Alarm Mgmt Annunc ReportAs"};

// The mask of the condition whose active flag is byte i is byte i + 38.
constexpr size_t kMgmtMaskOffset = 38;

struct MgmtRow {
  Label label;
  const char* activeField;
  const char* maskField;  // null: the condition cannot be masked
  size_t active;
};
constexpr MgmtRow kMgmtRows[] = {
    {{"Initializing", "IDC_CHECKMGTINIT"}, "IDC_ILED_STARTINIT", "IDC_CHECKMGTINIT", 0},
    {{"StrokeCalReqired", "IDC_CHECKMGTSTRKREQ"}, "ValveTravelAct", "IDC_CHECKMGTSTRKREQ", 1},
    {{"PositionDeviation", "IDC_CHECKMGTDIGCMD"}, "IDC_ILED_MODEDIGMCD", "IDC_CHECKMGTDIGCMD", 4},
    {{"TightShutOffMode", "IDC_CHECKMGTTIGHTSHUT"}, "IDC_ILED_MODETIGHTSO", "IDC_CHECKMGTTIGHTSHUT", 5},
    {{"PressureCtrlLock", "IDC_LBLVALSTABILITYLOCK"}, "IDC_ILED_MODEPRESSCTRL", "IDC_CHECKMGTPRESSCTRL", 6},
    {{"LocalInterfaceEnabled", "IDC_STATIC_TAMPER_LOCK_GRP"}, "IDC_ILED_MODELOCOFF", nullptr, 12},
    {{"SquawkMode", "IDC_CHECKMGTSQWK"}, "IDC_ILED_MODESQWK", "IDC_CHECKMGTSQWK", 13},
    {{"LCDPresent", "IDC_CHECKMGTLCD"}, "IDC_ILED_ELELCD", "IDC_CHECKMGTLCD", 37},
};
constexpr Label kMgmtTitles[] = {
    {"IDC_STATICHEALTHY", "IDC_LBLACTIVE2"}, {"MaskLbl2", "IDC_LBLMASKED2"}, {"IDG_STARTSTAT", "IDG_STARTUP"},
    {"IDC_GB_FBACKSTAT", "IDG_MODESTAT"},    {"IDC_GB_POSNSTAT", "IDG_ECSTAT"},
};

// ----- Event history -----

const reports::ReportMember kEventHistory{"EventReport",
                                          "PageLine",
                                          "Header",
                                          "TitleLbl",
                                          "IDC_BUTTON_EVENTS_REPORT",
                                          "_EventHistoryReport_",
                                          "Save Event History ReportAs"};

constexpr Label kEventHeaderLabels[] = {
    {"SelectedHistory", "HISTSELECT"},
    {"CalibrationLBL", "IDC_RADIOCALHIST"},
    {"AlarmsLBL", "IDC_RADIOALRMHIST"},
    {"AllLBL", "IDC_RADIORECEVENTS"},
};
// In the order of the selection bytes.
constexpr const char* kEventSelectionMarks[] = {"CheckCal", "CheckAlarms", "CheckAll"};

// One line per grid data row, in twips; the grid's columns are state,
// error number and indicator.
constexpr double kEventLinePitch = 300;
constexpr double kEventLineHeight = 285;
struct EventColumn {
  double left;
  double width;
};
constexpr EventColumn kEventColumns[] = {{150, 1305}, {1550, 1305}, {2950, 5670}};
// A display style of the line fields that the engine keeps.
constexpr LONG kEventLineStyle = 6;

}  // namespace

void CCommonFunctions::GenerateAlarmAnnunciatorReport(IReportXPtr report, IPrinterXPtr printer,
                                                      _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kAlarmAnnunciator);
    frame.LoadWithHeader(definitionPath);
    const Heading* heading = std::begin(kAlarmHeadings);
    for (size_t row = 1; row <= std::size(kAlarmRows); ++row) {
      const Label& label = kAlarmRows[row - 1].label;
      frame.SetText(label.field, T(label.key));
      for (; heading != std::end(kAlarmHeadings) && heading->afterRow == row; ++heading) {
        const _bstr_t text = T(heading->label.key);
        const bool single = std::string(heading->label.field) == kSingleAmpersandHeading;
        frame.SetText(heading->label.field, single ? reports::WithoutFirstAmpersand(text) : text);
      }
    }
    for (const Label& title : kAlarmColumnTitles) frame.SetText(title.field, T(title.key));

    std::array<const AlarmRow*, std::size(kAlarmRows)> byAlarm;
    std::ranges::transform(kAlarmRows, byAlarm.begin(), [](const AlarmRow& r) { return &r; });
    std::ranges::sort(byAlarm, {}, &AlarmRow::alarm);
    for (const AlarmRow* r : byAlarm) frame.SetText(r->activeField, FlagMark(m_bAlarmActive.at(r->alarm)));
    for (const AlarmRow* r : byAlarm) frame.SetText(r->maskField, FlagMark(m_bAlarmMasked.at(r->alarm)));

    for (const Slot& v : kAlarmValues) frame.SetText(v.field, m_strAlarmValues.at(v.slot));
    for (const Slot& v : kAlarmSetPoints) frame.SetText(v.field, m_strAlarmValues.at(v.slot));
    frame.SaveAndAskToPrint();
  });
}

void CCommonFunctions::GenerateAlarmMgmtReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                               CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kAlarmMgmt);
    frame.LoadWithHeader(definitionPath);
    for (const Label& title : kMgmtTitles) frame.SetText(title.field, T(title.key));
    for (const MgmtRow& r : kMgmtRows) frame.SetText(r.label.field, T(r.label.key));
    for (const MgmtRow& r : kMgmtRows) frame.SetText(r.activeField, FlagMark(m_bMgmtFlags.at(r.active)));
    for (const MgmtRow& r : kMgmtRows)
      if (r.maskField) frame.SetText(r.maskField, FlagMark(m_bMgmtFlags.at(r.active + kMgmtMaskOffset)));
    frame.SaveAndAskToPrint();
  });
}

void CCommonFunctions::GenerateEventHistoryReport(IGridXPtr grid, IReportXPtr report, IPrinterXPtr printer,
                                                  _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kEventHistory);
    frame.LoadWithHeader(definitionPath);
    for (const Label& label : kEventHeaderLabels) frame.SetText(label.field, T(label.key));
    // The page header titles the detail columns as the grid's title row does.
    frame.SetText("Page Header", "AlarmHistLbl", T("IDC_BUTTON_EVENTS"));
    frame.SetText("Page Header", "State", T("HISTSTATE"));
    frame.SetText("Page Header", "ErrorNo", T("VeskALARMGRID") + _bstr_t(" #"));
    frame.SetText("Page Header", "IndicatorLabels", T("HISTINDIC"));
    for (size_t i = 0; i < std::size(kEventSelectionMarks); ++i)
      frame.SetText(kEventSelectionMarks[i], FlagMark(m_bHistorySelection[i]));

    if (!grid) _com_issue_error(E_POINTER);
    // Row 0 holds the titles. The count is read on every pass: the grid is
    // the page's, not a copy.
    for (LONG row = 1;; ++row) {
      LONG rows = 0;
      ComCheck(grid->get_Rows(&rows));
      if (row >= rows) break;
      const double top = kEventLinePitch * (row - 1);
      for (LONG col = 0; col < LONG(std::size(kEventColumns)); ++col) {
        ComCheck(grid->Select(row, col));
        const EventColumn& c = kEventColumns[col];
        activex::IReportFieldPtr field = frame.AddField("Detail", c.left, top, c.width, kEventLineHeight);
        ComCheck(field->put_DisplayStyle(kEventLineStyle));
        _bstr_t text;
        ComCheck(grid->get_Text(&text));
        ComCheck(field->put_Text(text));
      }
    }
    frame.SaveAndAskToPrint();
  });
}
