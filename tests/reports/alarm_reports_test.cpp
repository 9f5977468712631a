// The alarm annunciator, management annunciator and event history reports:
// every field read back from the engine, filled as the pages fill them.
#include <QFileInfo>
#include <string>
#include <utility>
#include <vector>

#include "report_fixture.h"
#include "support/language_table.h"

namespace {

class AlarmReportsTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    m_common.m_strDeviceTag = "PV-101";
    m_common.m_strActuatorSize = "70";
    m_common.m_strValveModel = "GX";
  }

  void Annunciator() {
    m_common.GenerateAlarmAnnunciatorReport(m_report, m_printer, Definition("AlarmReport2.xml").c_str(), nullptr);
  }
  void Management() {
    m_common.GenerateAlarmMgmtReport(m_report, m_printer, Definition("AlarmMGMTReport2.xml").c_str(), nullptr);
  }
  void Events(IGridXPtr grid) {
    m_common.GenerateEventHistoryReport(grid, m_report, m_printer, Definition("AlarmStatReport.xml").c_str(), nullptr);
  }

  // A history grid as the page keeps it: the title row, then one record a row.
  static IGridXPtr Grid(LONG rows, bool filled = true) {
    IUnknownPtr unknown;
    EXPECT_EQ(unknown.CreateInstance(activex::kGridProgId), S_OK);
    IGridXPtr grid(unknown);
    EXPECT_EQ(grid->put_Cols(3), S_OK);
    EXPECT_EQ(grid->put_Rows(rows), S_OK);
    if (rows > 0) {
      grid->put_TextMatrix(0, 0, "State");
      grid->put_TextMatrix(0, 1, "Error #");
      grid->put_TextMatrix(0, 2, "Indicator");
    }
    for (LONG r = 1; filled && r < rows; ++r)
      for (LONG c = 0; c < 3; ++c) grid->put_TextMatrix(r, c, "rc" + std::to_string(r) + std::to_string(c));
    return grid;
  }

  std::vector<std::string> Journal() const { return IControlTestPtr(m_report)->Journal(); }
  LONG DetailFieldCount() const {
    activex::IReportSectionsPtr sections;
    activex::IReportSectionPtr detail;
    activex::IReportFieldsPtr fields;
    LONG count = -1;
    if (SUCCEEDED(m_report->get_Sections(&sections)) && SUCCEEDED(sections->Item("Detail", &detail)) &&
        SUCCEEDED(detail->get_Fields(&fields)))
      fields->get_Count(&count);
    return count;
  }
  void ExpectFailedOnce() {
    ASSERT_EQ(m_person->Asked().size(), 1u);
    EXPECT_EQ(m_person->Asked()[0].text, "Report Definition file could not be found/matched.");
  }
};

// The annunciator's rows as the report lays them out: label field, label
// key, active field, masked field, alarm index.
struct Row {
  const char* label;
  const char* key;
  const char* active;
  const char* masked;
  int alarm;
};
const Row kAnnunciatorRows[] = {
    {"ValveCyclesLbl", "IDC_GB_VALCYC", "ValveCyclesAct", "ValveCyclesMsk", 0},
    {"ValveTravelLbl", "IDC_GB_VALTRAV", "ValveTravelAct", "ValveTravelMsk", 1},
    {"PilotCyclesLimitLbl", "IDC_GB_PILOTCYC", "PilotCyclesLimitAct", "PilotCyclesLimitMsk", 6},
    {"PilotTravelLimitLbl", "IDC_GB_PILOTTRAV", "PilotTravelLimitAct", "PilotTravelLimitMsk", 7},
    {"PositionDeviationLbl", "EDT_ALM_POS1", "PositionDeviationAct", "PositionDeviationMsk", 24},
    {"PosSensorFail", "IDC_CHECKANNPOSSENFAILLBL", "PosSensorFailAct", "PosSensorFailMsk", 25},
    {"ClosedTooFar", "IDC_CHECKANNCLSFARLBL", "ClosedTooFarAct", "ClosedTooFarMsk", 26},
    {"OpenTooFar", "IDC_CHECKANNOPNFARLBL", "OpenTooFarAct", "OpenTooFarMsk", 27},
    {"PSTFailed", "IDC_CHECKANNPSTFAILLBL", "PSTFailedAct", "PSTFailedMsk", 28},
    {"PilotResponseALM", "IDC_PILOTRESPALM", "PilotResponseAct", "PilotResponseMsk", 41},
    {"PilotResponseWRN", "IDC_PILOTRESPWRN", "PilotResponseWrnAct", "PilotResponseWrnMsk", 42},
    {"PiezoVoltsHighALM", "IDC_PZOHIALM", "PiezoVoltsHighAct", "PiezoVoltsHighMsk", 43},
    {"PiezoVoltsHighWrn", "IDC_PZOHIWRN", "PiezoVoltsHighWrnAct", "PiezoVoltsHighWrnMsk", 44},
    {"PiezoVoltsLowALM", "IDC_PZOLOALM", "PiezoVoltsLowAct", "PiezoVoltsLowMsk", 45},
    {"PiezoVoltsLowWRN", "IDC_PZOLOWRN", "PiezoVoltsLowWrnAct", "PiezoVoltsLowWrnMsk", 46},
    {"DriverModule", "IDC_CHECKANNDRVRMOD", "DriverModuleAct", "DriverModuleMsk", 47},
    {"FactoryResetState", "EDT_ALM_COM2", "FactoryResetStateAct", "FactoryResetStateMsk", 30},
    {"CalibrationInProg", "IDC_CHECKANNCALPROGLBL", "CalibrationInProgAct", "CalibrationInProgMsk", 31},
    {"SignatureOrPST", "IDC_CHECKANNPST", "SignatureOrPSTAct", "SignatureOrPSTMsk", 32},
    {"JogCmdMode", "IDC_CHECKJOG", "JogCmdModeAct", "JogCmdModeMsk", 33},
    {"SoftStopHighAlert", "IDC_CHECKANNSOFTHILBL", "SoftStopHighAlertAct", "SoftStopHighAlertMsk", 48},
    {"SoftStopLowAlert", "IDC_CHECKANNSOFTLOLBL", "SoftStopLowAlertAct", "SoftStopLowAlertMsk", 49},
    {"PsnHighLimitAlert", "IDC_CHECKANNPOSNHI", "PsnHighLimitAlertAct", "PsnHighLimitAlertMsk", 50},
    {"PsnLowLimitAlert", "IDC_CHECKANNPOSNLO", "PsnLowLimitAlertAct", "PsnLowLimitAlertMsk", 51},
    {"FBackLinkLbl", "IDC_CHECKFBACKLINK", "FBackLinkActive", "FBackLinkMask", 52},
    {"SupplyPressLowAlm", "IDC_SUPPLOALM", "SupplyPressLowAct", "SupplyPressLowMsk", 17},
    {"MainBoardFail", "IDC_CHECKANNMAINFAIL", "MainBoardFailAct", "MainBoardFailMsk", 36},
    {"SoftwareError", "IDC_CHECKANNSOFTERR", "SoftwareErrorAct", "SoftwareErrorMsk", 37},
    {"MemoryError", "IDC_CHECKANNMEMERR", "MemoryErrorAct", "MemoryErrorMsk", 38},
    {"TemperatureHigh", "IDC_CHECKANNTEMPHI", "TemperatureHighAct", "TemperatureHighMsk", 39},
    {"TemperatureLow", "IDC_CHECKANNTEMPLO", "TemperatureLowAct", "TemperatureLowMsk", 40},
    {"ValveCantOpen", "IDC_CHECKANNCANTOPENLBL", "ValveCantOpenAct", "ValveCantOpenMsk", 57},
    {"ValveCantShut", "IDC_CHECKANNCANTSHUTLBL", "ValveCantShutAct", "ValveCantShutMsk", 58},
};

TEST_F(AlarmReportsTest, AnnunciatorLabelsHeadingsAndTitlesNameTheirKeys) {
  UseNoTexts();
  m_person->CancelFile().Answer(IDNO);
  Annunciator();
  for (const Row& r : kAnnunciatorRows) EXPECT_EQ(FieldText("Detail", r.label), std::string("##") + r.key) << r.label;
  ExpectFields({
      {"TitleLbl", "##ALARMALERTTITLE"},
      {"DeviceLine", "##DEVTAGID PV-101"},
      {"IDC_GB_CYCTRAV", "##IDC_GB_CYCTRAV"},
      {"IDC_GB_FBACKSTAT", "##IDC_GB_FBACKSTAT"},
      {"IDC_GB_ILOOPSTAT", "##BE_FLAG_ENABLE_6"},
      {"IDC_GB_MODESTAT", "##IDG_MODESTAT"},
      {"IDC_GB_POSNSTAT", "##IDC_GB_POSNSTAT"},
      {"IDC_GB_ACTSTAT", "##IDC_GB_ACTSTAT"},
      {"IDC_GB_MBOARDSTAT", "##IDC_GB_MBOARDSTAT"},
      {"IDC_GB_FRICSTAT", "##IDC_GB_VALSTABILITYSTAT"},
      {"ActiveLbl2", "##IDC_LBLACTIVE2"},
      {"ActiveLbl7", "##IDC_LBLACTIVE2"},
      {"MaskLbl2", "##IDC_LBLMASKED2"},
      {"MaskLbl7", "##IDC_LBLMASKED2"},
      {"ValueLbl2", "##DESCVALTITLE"},
      {"ValueLbl7", "##DESCVALTITLE"},
      {"SettingsLbl2", "##THRESHOLDLBL"},
      {"SettingsLbl7", "##THRESHOLDLBL"},
  });
}

TEST_F(AlarmReportsTest, AnnunciatorValuesAndSetPointsComeFromTheirSlotsAsStored) {
  for (size_t i = 0; i < m_common.m_strAlarmValues.size(); ++i)
    m_common.m_strAlarmValues[i] = "slot " + std::to_string(i);
  m_common.m_strAlarmValues[9] = "   42";  // stored five wide: the blanks stay
  m_common.m_strAlarmValues[26] = "";
  m_person->CancelFile().Answer(IDNO);
  Annunciator();
  ExpectFields({
      {"ValveCyclesValue", "slot 0"},        {"ValveCyclesSet", "slot 25"},
      {"ValveTravelValue", "slot 1"},        {"ValveTravelSet", ""},
      {"PilotCyclesLimitValue", "slot 6"},   {"PilotCyclesLimitSet", "slot 31"},
      {"PilotTravelLimitValue", "slot 7"},   {"PilotTravelLimitSet", "slot 32"},
      {"PositionDeviationValue", "slot 8"},  {"PositionDeviationSet", "slot 33"},
      {"PilotResponseValue", "   42"},       {"PilotResponseSet", "slot 34"},
      {"PilotResponseWrnValue", "   42"},    {"PilotResponseWrnSet", "slot 35"},
      {"PiezoVoltsHighValue", "slot 10"},    {"PiezoVoltsHighWrnValue", "slot 10"},
      {"PiezoVoltsLowValue", "slot 10"},     {"PiezoVoltsLowWrnValue", "slot 10"},
      {"SoftStopHighAlertSet", "slot 44"},   {"SoftStopLowAlertSet", "slot 45"},
      {"PsnHighLimitAlertSet", "slot 46"},   {"PsnLowLimitAlertSet", "slot 47"},
      {"TemperatureHighValue", "slot 20"},   {"TemperatureHighUnit", "slot 22"},
      {"TemperatureHighSet", "slot 53"},     {"TemperatureLowValue", "slot 21"},
      {"TemperatureLowUnit", "slot 22"},     {"TemperatureLowSet", "slot 54"},
  });
}

// Each row on its own: its active byte, and the next row's masked byte, so
// that a swapped index or a shared byte shows.
TEST_F(AlarmReportsTest, AnnunciatorMarksFollowEachRowsOwnAlarmIndex) {
  const size_t n = std::size(kAnnunciatorRows);
  const BYTE values[] = {1, 2, 255};
  for (size_t k = 0; k < n; ++k) {
    const Row& row = kAnnunciatorRows[k];
    const Row& next = kAnnunciatorRows[(k + 1) % n];
    SCOPED_TRACE(row.label);
    m_common.m_bAlarmActive.fill(0);
    m_common.m_bAlarmMasked.fill(0);
    m_common.m_bAlarmActive[row.alarm] = values[k % 3];
    m_common.m_bAlarmMasked[next.alarm] = values[(k + 1) % 3];
    m_person->CancelFile().Answer(IDNO);
    Annunciator();
    for (const Row& r : kAnnunciatorRows) {
      EXPECT_EQ(FieldText("Detail", r.active), &r == &row ? "X" : " ") << r.active;
      EXPECT_EQ(FieldText("Detail", r.masked), &r == &next ? "X" : " ") << r.masked;
    }
  }
}

TEST_F(AlarmReportsTest, OnlyTheFirstHeadingLosesItsFirstAmpersand) {
  struct Case {
    const char* cycles;
    const char* shown;
  };
  const Case cases[] = {
      {"Cycles && Travel Status", "Cycles & Travel Status"},
      {"Cycles & Travel", "Cycles  Travel"},
      {"Cycles and Travel", "Cycles and Travel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cycles);
    UseTexts({{"IDC_GB_CYCTRAV", c.cycles}, {"IDC_GB_FBACKSTAT", "Feedback && Sensor"}, {"IDC_GB_VALCYC", "A && B"}});
    m_person->CancelFile().Answer(IDNO);
    Annunciator();
    ExpectFields({{"IDC_GB_CYCTRAV", c.shown},
                  {"IDC_GB_FBACKSTAT", "Feedback && Sensor"},
                  {"ValveCyclesLbl", "A && B"}});
  }
}

TEST_F(AlarmReportsTest, ManagementLabelsTitlesAndHeadingsNameTheirKeys) {
  UseNoTexts();
  m_person->CancelFile().Answer(IDNO);
  Management();
  ExpectFields({
      {"TitleLbl", "##ALARMALERTTITLE"},
      {"DeviceLine", "##DEVTAGID PV-101"},
      {"IDC_STATICHEALTHY", "##IDC_LBLACTIVE2"},
      {"MaskLbl2", "##IDC_LBLMASKED2"},
      {"IDG_STARTSTAT", "##IDG_STARTUP"},
      {"IDC_GB_FBACKSTAT", "##IDG_MODESTAT"},
      {"IDC_GB_POSNSTAT", "##IDG_ECSTAT"},
      {"Initializing", "##IDC_CHECKMGTINIT"},
      {"StrokeCalReqired", "##IDC_CHECKMGTSTRKREQ"},
      {"PositionDeviation", "##IDC_CHECKMGTDIGCMD"},
      {"TightShutOffMode", "##IDC_CHECKMGTTIGHTSHUT"},
      {"PressureCtrlLock", "##IDC_LBLVALSTABILITYLOCK"},
      {"LocalInterfaceEnabled", "##IDC_STATIC_TAMPER_LOCK_GRP"},
      {"SquawkMode", "##IDC_CHECKMGTSQWK"},
      {"LCDPresent", "##IDC_CHECKMGTLCD"},
  });
}

TEST_F(AlarmReportsTest, ManagementMarksReadActiveBytesAndTheirMasks38Later) {
  // Active field, its byte; mask field (none for the local interface).
  struct MgmtRow {
    const char* active;
    int byte;
    const char* masked;
  };
  const MgmtRow rows[] = {
      {"IDC_ILED_STARTINIT", 0, "IDC_CHECKMGTINIT"},      {"ValveTravelAct", 1, "IDC_CHECKMGTSTRKREQ"},
      {"IDC_ILED_MODEDIGMCD", 4, "IDC_CHECKMGTDIGCMD"},   {"IDC_ILED_MODETIGHTSO", 5, "IDC_CHECKMGTTIGHTSHUT"},
      {"IDC_ILED_MODEPRESSCTRL", 6, "IDC_CHECKMGTPRESSCTRL"}, {"IDC_ILED_MODELOCOFF", 12, nullptr},
      {"IDC_ILED_MODESQWK", 13, "IDC_CHECKMGTSQWK"},      {"IDC_ILED_ELELCD", 37, "IDC_CHECKMGTLCD"},
  };
  auto check = [&](const std::vector<std::pair<int, BYTE>>& set, const char* activeX, const char* maskedX) {
    m_common.m_bMgmtFlags.fill(0);
    for (auto [i, v] : set) m_common.m_bMgmtFlags[i] = v;
    m_person->CancelFile().Answer(IDNO);
    Management();
    for (const MgmtRow& r : rows) {
      EXPECT_EQ(FieldText("Detail", r.active), activeX && std::string(activeX) == r.active ? "X" : " ") << r.active;
      if (r.masked) {
        EXPECT_EQ(FieldText("Detail", r.masked), maskedX && std::string(maskedX) == r.masked ? "X" : " ") << r.masked;
      }
    }
  };
  {
    SCOPED_TRACE("all clear");
    check({}, nullptr, nullptr);
  }
  {
    // Bytes no row reads, the local interface's would-be mask among them.
    SCOPED_TRACE("unread bytes");
    std::vector<std::pair<int, BYTE>> unread;
    for (int i : {2, 3, 7, 11, 14, 36, 40, 41, 45, 50, 52, 74}) unread.push_back({i, 1});
    check(unread, nullptr, nullptr);
  }
  const BYTE values[] = {1, 7, 255};
  for (size_t k = 0; k < std::size(rows); ++k) {
    const MgmtRow& next = rows[(k + 1) % std::size(rows)];
    SCOPED_TRACE(rows[k].active);
    check({{rows[k].byte, values[k % 3]}, {next.byte + 38, values[(k + 1) % 3]}}, rows[k].active, next.masked);
  }
}

TEST_F(AlarmReportsTest, EventHistoryHeaderPageHeaderAndSelectionMarks) {
  UseNoTexts();
  m_common.m_bHistorySelection = {0, 4, 0};
  m_person->CancelFile().Answer(IDNO);
  Events(Grid(1));
  ExpectFields(
      {
          {"TitleLbl", "##IDC_BUTTON_EVENTS_REPORT"},
          {"DeviceLine", "##DEVTAGID PV-101"},
          {"SelectedHistory", "##HISTSELECT"},
          {"CalibrationLBL", "##IDC_RADIOCALHIST"},
          {"AlarmsLBL", "##IDC_RADIOALRMHIST"},
          {"AllLBL", "##IDC_RADIORECEVENTS"},
          {"CheckCal", " "},
          {"CheckAlarms", "X"},
          {"CheckAll", " "},
      },
      "Header");
  ExpectFields({{"AlarmHistLbl", "##IDC_BUTTON_EVENTS"},
                {"State", "##HISTSTATE"},
                {"ErrorNo", "##VeskALARMGRID #"},
                {"IndicatorLabels", "##HISTINDIC"}},
               "Page Header");
  EXPECT_EQ(FieldText("Page Footer", "PageLine"), "\"##Page \" & [Page] & \"/\" & [Pages]");
}

// Every data row of the grid becomes one line of three fields, 300 apart;
// the title row never does.
TEST_F(AlarmReportsTest, EventHistoryCopiesEveryDataRowIntoItsLine) {
  struct Case {
    const char* name;
    LONG rows;
    bool filled;
  };
  const Case cases[] = {
      {"no rows at all", 0, true},
      {"titles only", 1, true},
      {"as set up before any Retrieve", 9, false},
      {"two replies of eight records", 17, true},
  };
  const char* const place[3] = {",150,", ",1550,", ",2950,"};
  const char* const size[3] = {",1305,285", ",1305,285", ",5670,285"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IGridXPtr grid = Grid(c.rows, c.filled);
    IControlTestPtr(m_report)->ClearJournal();
    m_person->CancelFile().Answer(IDNO);
    Events(grid);
    std::vector<std::string> lines;
    for (const std::string& entry : Journal())
      if (entry.starts_with("add[") || entry.starts_with("style[Detail") || entry.starts_with("text[Detail"))
        lines.push_back(entry);
    const LONG data = c.rows > 1 ? c.rows - 1 : 0;
    ASSERT_EQ(lines.size(), size_t(data) * 9);
    EXPECT_EQ(DetailFieldCount(), data * 3);  // nothing left from the run before
    for (LONG r = 1; r <= data; ++r)
      for (int col = 0; col < 3; ++col) {
        const size_t at = size_t((r - 1) * 3 + col) * 3;
        const std::string text = c.filled ? "rc" + std::to_string(r) + std::to_string(col) : "";
        EXPECT_EQ(lines[at], "add[Detail]=," + std::string(place[col]) + std::to_string(300 * (r - 1)) + size[col]);
        EXPECT_EQ(lines[at + 1], "style[Detail.]=6");
        EXPECT_EQ(lines[at + 2], "text[Detail.]=" + text);
      }
    if (data > 0) {
      LONG row = 0, col = 0;
      grid->get_Row(&row);
      grid->get_Col(&col);
      EXPECT_EQ(row, data);
      EXPECT_EQ(col, 2);
    }
  }
}

// Where the event report differs from the frame: its grid and its Detail
// section, which only data rows need.
TEST_F(AlarmReportsTest, EventHistoryFailuresOfTheGridAndTheDetailSection) {
  struct Case {
    const char* name;
    LONG rows;
    bool noDetail;
    const char* gridFailure;  // journal label of the grid put that fails
    bool nullGrid;
    bool fails;
  };
  const Case cases[] = {
      {"titles only and no Detail section", 1, true, nullptr, false, false},
      {"data rows and no Detail section", 3, true, nullptr, false, true},
      {"grid refuses to select a cell", 3, false, "select", false, true},
      {"no grid", 3, false, nullptr, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.noDetail) EditDefinition("AlarmStatReport.xml", "<section name=\"Detail\"", "<section name=\"Body\"");
    IGridXPtr grid = Grid(c.rows);
    if (c.gridFailure) IControlTestPtr(grid)->FailPut(c.gridFailure, E_FAIL);
    const std::string pdf = Folder() + "/" + c.name + ".pdf";
    if (c.fails)
      m_person->Answer(IDOK);
    else
      m_person->AnswerFile(pdf).Answer(IDNO);
    Events(c.nullGrid ? IGridXPtr() : grid);
    if (c.fails) {
      ExpectFailedOnce();
    } else {
      EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(pdf)));
    }
    EXPECT_FALSE(c.fails && QFileInfo::exists(QString::fromStdString(pdf)));
    if (c.noDetail) EditDefinition("AlarmStatReport.xml", "<section name=\"Body\"", "<section name=\"Detail\"");
    m_person.reset();  // the old person steps down before the new one takes over
    m_person = std::make_unique<plat::ScriptedPerson>([](const std::string& what) { ADD_FAILURE() << what; });
  }
}

TEST_F(AlarmReportsTest, EachReportOffersItsOwnNameAndSaveTitle) {
  struct Case {
    int report;
    const char* tag;
    const char* name;
    const char* title;
  };
  const Case cases[] = {
      {0, "PV-101", "PV-101_AlarmAnnunciatorReport_2026_3_5_7h_4m", "Save Alarm Annunc ReportAs"},
      {0, "", "_AlarmAnnunciatorReport_2026_3_5_7h_4m", "Save Alarm Annunc ReportAs"},
      {1, "PV-101", "PV-101_AlarmMgmtAnnunciatorReport_2026_3_5_7h_4m", "Save Alarm Mgmt Annunc ReportAs"},
      {2, "PV-101", "PV-101_EventHistoryReport_2026_3_5_7h_4m", "Save Event History ReportAs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_common.m_strDeviceTag = c.tag;
    m_person->CancelFile().Answer(IDNO);
    if (c.report == 0)
      Annunciator();
    else if (c.report == 1)
      Management();
    else
      Events(Grid(3));
    const auto& asked = m_person->Asked();
    ASSERT_GE(asked.size(), 2u);
    const plat::Question& save = asked[asked.size() - 2];
    EXPECT_EQ(save.kind, plat::Question::Kind::SaveFile);
    EXPECT_EQ(save.defaultName, c.name);
    EXPECT_EQ(save.title, c.title);
    EXPECT_EQ(asked.back().text, "Do you want to print the report?");
  }
}

// One PDF per report, as the person saves it.
TEST_F(AlarmReportsTest, PdfsShowEveryReport) {
  m_common.m_strActuatorManufacturer = "Acme";
  m_common.m_strValveBodySize = "2 in";
  const std::pair<int, const char*> values[] = {
      {0, "120345"}, {1, "5821 x 10e2 %"}, {6, "98210"}, {7, "4410 x 10e2 %"}, {8, "0.4"}, {9, "  180"},
      {10, "41.2"},  {20, " 38.5"},       {21, " 38.5"}, {22, "\xC2\xB0" "C"},  {25, "1000000"},
      {26, "100000"}, {31, "2000000"},    {32, "200000"}, {33, "5"},            {34, "500"},
      {35, "300"},   {44, "100"},         {45, "0"},     {46, "95"},            {47, "5"},
      {53, "85"},    {54, "-40"},
  };
  for (auto [slot, text] : values) m_common.m_strAlarmValues[slot] = text;
  m_common.m_bAlarmActive[50] = 1;  // position high limit
  m_common.m_bAlarmActive[39] = 1;
  m_common.m_bAlarmMasked[17] = 1;
  m_common.m_bMgmtFlags[13] = 1;
  m_common.m_bMgmtFlags[37] = 1;
  m_common.m_bMgmtFlags[39] = 1;
  m_common.m_bHistorySelection = {0, 0, 1};
  IGridXPtr grid = Grid(1);
  grid->put_Rows(41);
  // The grid as the event history page fills it: the state, and the
  // condition after the code of the bit's text.
  auto condition = [](const char* key) {
    const std::string text = TheLanguageTable().Lookup(key).str();
    return text.substr(text.find(" - ") + 3);
  };
  for (LONG r = 1; r < 41; ++r) {
    grid->put_TextMatrix(r, 0, TheLanguageTable().Lookup(r % 2 ? "ONCaps" : "OFFCaps"));
    grid->put_TextMatrix(r, 1, std::to_string(40 + r));
    grid->put_TextMatrix(r, 2,
                         condition(r % 2 ? "RawStatus12_1_BitEnumDescr" : "RawStatus3_16_BitEnumDescr").c_str());
  }
  struct Case {
    const char* stem;
    int report;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"alarm-annunciator",
       0,
       {"Alarm and Alert Report", "Cycles and Travel", "Valve Cycles", "120345", "1000000",
        "5821 x 10e2 %", "Pilot and Driver", "Pilot response alarm", "180", "500", "Psn. High Limit Alert", "95",
        "Temperature High", "38.5", "\xC2\xB0" "C", "Valve Status", "Valve Can't Shut", "Set Point",
        "Page 1/2", "Page 2/2"}},
      {"alarm-management",
       1,
       {"Alarm and Alert Report", "Start-up", "Stroke Cal. Required", "Mode Status", "Squawk Mode",
        "Electronic Con", "LCD Present", "Active", "Masked", "Page 1/1"}},
      {"event-history",
       2,
       {"Event History Report", "Selected History", "All Recent Events", "Event history", "State", "Event #",
        "Indication", "Position high limit alert", "Command input calibration in progress", "OFF", "80", "Page 1/2",
        "Page 2/2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stem);
    const std::string pdf = Folder() + "/" + c.stem + ".pdf";
    m_person->AnswerFile(pdf).Answer(IDNO);
    if (c.report == 0)
      Annunciator();
    else if (c.report == 1)
      Management();
    else
      Events(grid);
    const std::string text = PdfText(pdf);
    ExpectShown(text, {"DEVICE TAG ID: PV-101"});
    ExpectShown(text, c.lines);
    Screens(pdf, c.stem);
  }
}

}  // namespace
