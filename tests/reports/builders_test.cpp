// The three builders' own fields, read back from the engine, and one PDF of
// each as a person would get it.
#include <QFileInfo>
#include <utility>
#include <vector>

#include "report_fixture.h"
#include "support/language_table.h"

namespace {

class ReportBuildersTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    m_common.m_strDeviceTag = "PV-101";
    m_common.m_strActuatorSize = "70";
    m_common.m_strActuatorManufacturer = "Acme & Sons";
    m_common.m_strActuatorType = "Linear";
    m_common.m_strSpringType = "Spring return";
    m_common.m_strFailPosition = "Closed";
    m_common.m_strValveModel = "GX";
    m_common.m_strValveBodySize = "2 in";
    m_common.m_strFlowDirection = "Flow to open";
  }

  void Stroke(CWnd* page = nullptr) {
    m_common.GenerateStrokeCalReport(m_report, m_printer, Definition("ActStrokeFricCalRept.xml").c_str(), page);
  }
  void Command() {
    m_common.GenerateCommandCalReport(m_report, m_printer, Definition("AnaInputCalRept.xml").c_str(), nullptr);
  }
};

// With no texts loaded every label shows "##" and its key, so each field
// names the key it was given.
const Expected kHeaderNoTexts = {
    {"DeviceLine", "##DEVTAGID PV-101"},
    {"ActInfoLine",
     "##HEADACTINFO --> ##IDC_STATICSIZE 70, ##IDC_STATICMAN Acme & Sons, ##IDC_STATICTRTYPE Linear, "
     "##IDC_STATICSPRTYPE Spring return, ##IDC_STATICFAILPOS Closed"},
    {"BodInfoLine", "##HEADBODINFO --> ##IDC_STATICMODEL GX, ##IDC_STATICBODSIZE 2 in, ##IDC_STATICBODFLOWDIR Flow to open"},
};

TEST_F(ReportBuildersTest, StrokeReportFillsEveryFieldFromItsKeyOrValue) {
  UseNoTexts();
  m_common.m_strStrokeCal = {"Calibration successful", "J. Smith", "12/1/2026", "18.5", "1024", "30512", "29488"};
  m_person->CancelFile().Answer(IDNO);
  Stroke();
  ExpectFields(kHeaderNoTexts);
  ExpectFields({
      {"ActStrkFricCalTitleLbl", "##EDT_ALM_CAL1"},
      {"StrokeCalResultsLbl", "##StrokeCalResultsLbl"},
      {"StrkCalStateLbl", "##VeskCalibrationState"},
      {"StrkCalState", "Calibration successful"},
      {"StrkCalPosnLbl", "##IDC_STATICLASTQCALDATE"},
      {"NewCalByLbl", "##IDC_STATICLASTBY"},
      {"NewCalBy", "J. Smith"},
      {"LastCalDateLbl", "##IDC_STATICLASTDATE"},
      {"LastCalDate", "12/1/2026"},
      {"StrkCalILOLbl", "##StrkCalILOLbl"},
      {"StrkCalILO", "18.5"},
      {"StrkLowADLbl", "##StrkLowADLbl"},
      {"StrkCalLoADVal", "1024"},
      {"StrkHiADLbl", "##StrkHiADLbl"},
      {"StrkCalHiADVal", "30512"},
      {"StrkCalADRangeLbl", "##StrkCalADRangeLbl"},
      {"StrkCalADRange", "29488"},
      {"StrCalFlgLbl", "##IDC_GB_STRCALFLAGS"},
      {"StrCalFlgActiveLbl", "##IDC_LBLACTIVE2"},
      {"StrCalFlgMaskLbl", "##IDC_LBLMASKED2"},
      {"PositionRangeSmallLbl", "##IDC_CHECKMGTPOSSMALL"},
      {"PositionLessThanLbl", "##IDC_CHECKADCPOSLESS"},
      {"PositionGrtrThanLbl", "##IDC_CHECKPOSGREAT"},
      {"NoMoTimOutLbl", "##IDC_CHECKMGTNOMOTO"},
      {"SetTimOutLbl", "##IDC_CHECKMGTSETTO"},
      {"ILOTimOutLbl", "##IDC_CHECKMGTILOTO"},
      {"StrCalReqLbl", "##VeskPRESSCALLREQ"},
  });
}

const char* const kStrokeActive[7] = {"PsnRangeSmActive", "PosLessRangeActive", "PosGrtrRangeActive",
                                      "NoMoTimOutActive", "SetTimOutActive",    "ILOTimOutActive",
                                      "StrCalReqActive"};
const char* const kStrokeMask[7] = {"PsnRangeSmMask",  "PosLessRangeMask", "PosGrtrRangeMask", "NoMoTimOutMask",
                                    "SetTimOutMask",   "ILOTimOutMask",    "StrCalReqMask"};

TEST_F(ReportBuildersTest, StrokeMarksFollowTheirOwnByte) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, BYTE>> set;  // byte index, value
    std::vector<const char*> marked;
  };
  const Case cases[] = {
      {"all clear", {}, {}},
      {"first masked byte only", {{7, 1}}, {"PsnRangeSmMask"}},
      {"any non-zero value", {{3, 2}, {13, 255}}, {"NoMoTimOutActive", "StrCalReqMask"}},
      {"last active and first active", {{6, 1}, {0, 128}}, {"StrCalReqActive", "PsnRangeSmActive"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_common.m_bStrokeCalFlags.fill(0);
    for (auto [i, v] : c.set) m_common.m_bStrokeCalFlags[i] = v;
    m_person->CancelFile().Answer(IDNO);
    Stroke();
    for (const char* const* group : {kStrokeActive, kStrokeMask})
      for (int i = 0; i < 7; ++i) {
        bool marked = false;
        for (const char* m : c.marked) marked |= std::string(m) == group[i];
        EXPECT_EQ(FieldText("Detail", group[i]), marked ? "X" : " ") << group[i];
      }
  }
}

TEST_F(ReportBuildersTest, CommandReportFillsEveryFieldFromItsKeyOrValue) {
  UseNoTexts();
  m_common.m_strCommandCal = {"Calibrated", "A. Jones", "11/30/2026", "6553", "6560", "32760", "26200"};
  m_person->CancelFile().Answer(IDNO);
  Command();
  ExpectFields(kHeaderNoTexts);
  ExpectFields({
      {"TitleLbl", "##AICALREPORTTITLE"},
      {"CalInfoLbl", "##StrokeCalInfoLbl"},
      {"CmdCalStateLbl", "##IDC_STATICCALSTATE"},
      {"CmdCalState", "Calibrated"},
      {"CalResultsLbl", "##StrokeCalResultsLbl"},
      {"CmdCalByLbl", "##IDC_STATICLASTBY"},
      {"CmdCalBy", "A. Jones"},
      {"LastCalDateLbl", "##IDC_STATICLASTDATE"},
      {"LastCalDate", "11/30/2026"},
      {"Cmd4mALbl", "##ADAT4MA"},
      {"Cmd4mAValue", "6553"},
      {"Cmd0Lbl", "##ADAT0"},
      {"Cmd0Value", "6560"},
      {"Cmd100Lbl", "##ADAT100"},
      {"Cmd100Value", "32760"},
      {"CmdADRangeLbl", "##StrkCalADRangeLbl"},
      {"CmdADRangeValue", "26200"},
      {"CmdCalFlagsLbl", "##IDC_GB_ANAINCALFLAGS"},
      {"CmdCalFlgActiveLbl", "##IDC_LBLACTIVE2"},
      {"CmdCalFlgMaskLbl", "##IDC_LBLMASKED2"},
      {"CmdLessLbl", "##IDC_CHECKMGTAILESS"},
      {"CmdGrtLbl", "##IDC_CHECKMGTAIGREAT"},
      {"CmdSmallLbl", "##IDC_CHECKMGTAISMALL"},
  });
}

TEST_F(ReportBuildersTest, CommandMarksComeFromActiveBytesAndManagementBytes59To61) {
  struct Case {
    const char* name;
    std::array<BYTE, 3> active;
    std::vector<std::pair<int, BYTE>> mgmt;
    const char* less[2];  // active, masked
    const char* greater[2];
    const char* small[2];
  };
  const Case cases[] = {
      {"nothing read yet", {0, 0, 0}, {}, {" ", " "}, {" ", " "}, {" ", " "}},
      {"below range active", {1, 0, 0}, {}, {"X", " "}, {" ", " "}, {" ", " "}},
      {"above and small active, any value", {0, 9, 200}, {}, {" ", " "}, {"X", " "}, {"X", " "}},
      {"masks 60, 61, 59", {0, 0, 0}, {{60, 1}, {61, 4}, {59, 255}}, {" ", "X"}, {" ", "X"}, {" ", "X"}},
      {"neighbouring bytes do not count", {0, 0, 0}, {{58, 1}, {62, 1}}, {" ", " "}, {" ", " "}, {" ", " "}},
      {"only the small mask", {0, 0, 0}, {{59, 1}}, {" ", " "}, {" ", " "}, {" ", "X"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_common.m_bCommandCalActive = c.active;
    m_common.m_bMgmtFlags.fill(0);
    for (auto [i, v] : c.mgmt) m_common.m_bMgmtFlags[i] = v;
    m_person->CancelFile().Answer(IDNO);
    Command();
    ExpectFields({{"CmdLessActive", c.less[0]},
                  {"CmdLessMask", c.less[1]},
                  {"CmdGrtActive", c.greater[0]},
                  {"CmdGrtMask", c.greater[1]},
                  {"CmdSmallActive", c.small[0]},
                  {"CmdSmallMask", c.small[1]}});
  }
}

TEST_F(ReportBuildersTest, EmptyIdentificationKeepsLabelsAndSeparators) {
  UseNoTexts();
  static_cast<CIdentityTexts&>(m_common) = CIdentityTexts{};
  m_person->CancelFile().Answer(IDNO);
  Command();
  ExpectFields({{"DeviceLine", "##DEVTAGID "},
                {"ActInfoLine",
                 "##HEADACTINFO --> ##IDC_STATICSIZE , ##IDC_STATICMAN , ##IDC_STATICTRTYPE , ##IDC_STATICSPRTYPE , "
                 "##IDC_STATICFAILPOS "},
                {"BodInfoLine", "##HEADBODINFO --> ##IDC_STATICMODEL , ##IDC_STATICBODSIZE , ##IDC_STATICBODFLOWDIR "},
                {"CmdCalState", ""},
                {"CmdCalBy", ""}});
}

TEST_F(ReportBuildersTest, StepReportFieldsDateAndPicture) {
  UseNoTexts();
  m_clock.Set({2026, 12, 8, 7, 5, 0, 0});
  m_common.m_strStepSettings = {"25", "75", "10"};
  IiXYPlotXPtr plot = StepPlot();
  m_person->CancelFile().Answer(IDNO);
  m_common.GenerateStepTestReport(plot, m_report, m_printer, Definition("StepTestRept.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  ExpectFields(kHeaderNoTexts);
  ExpectFields({
      {"TitleLbl", "##StepTestReport"},
      {"TestSettingsLbl", "##IDC_STATICSTEPSET"},
      {"StartPosLbl", "##IDC_STATICSTARTPOS"},
      {"StartPosn", "25"},
      {"StopPosLbl", "##IDC_STATICSTOPPOS"},
      {"StopPosn", "75"},
      {"HoldTimeLbl", "##IDC_STATICHOLDTIME"},
      {"HoldTime", "10"},
      {"lblTestDate", "##TestDate"},
      {"lblTestDateResult", "12/8/2026"},
  });
  // The picture goes through the temporary folder, never beside the
  // definition: the program folder may be read-only.
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Folder() + "/StepTest.bmp")));
  activex::IReportSectionsPtr sections;
  activex::IReportSectionPtr detail;
  activex::IReportFieldsPtr fields;
  activex::IReportFieldPtr graph;
  ASSERT_EQ(m_report->get_Sections(&sections), S_OK);
  ASSERT_EQ(sections->Item("Detail", &detail), S_OK);
  ASSERT_EQ(detail->get_Fields(&fields), S_OK);
  ASSERT_EQ(fields->Item("RampGrph", &graph), S_OK);
  _variant_t picture;
  ASSERT_EQ(graph->get_Picture(&picture), S_OK);
  EXPECT_EQ(picture.vt, VARTYPE(VT_ARRAY | VT_UI1));
  // The graph set-up: its title, the four traces and both axes shown; the
  // tool bar back on after the capture.
  _bstr_t title;
  ASSERT_EQ(plot->GetTitle(&title), S_OK);
  EXPECT_EQ(title.str(), "##IDD_DIAGNOSTIC_STEP_TEST");
  for (const char* name : {"Position", "Command", "ILCmd", "ILPos"}) {
    IDispatchPtr d;
    ASSERT_EQ(plot->GetChannelByName(name, &d), S_OK);
    VARIANT_BOOL visible = 0;
    IiXYPlotChannelPtr(d)->GetVisible(&visible);
    EXPECT_NE(visible, 0) << name;
  }
  IiPlotAxisPtr axis;
  VARIANT_BOOL shown = 0;
  ASSERT_EQ(plot->GetXAxisByName("StepX", &axis), S_OK);
  axis->GetVisible(&shown);
  EXPECT_NE(shown, 0);
  IiPlotToolBarPtr toolBar;
  ASSERT_EQ(plot->GetToolBar(0, &toolBar), S_OK);
  toolBar->GetVisible(&shown);
  EXPECT_NE(shown, 0);
}

TEST_F(ReportBuildersTest, StepReportWithoutItsTracesFailsAfterNothingIsSaved) {
  IUnknownPtr unknown;
  ASSERT_EQ(unknown.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
  m_person->Answer(IDOK);
  m_common.GenerateStepTestReport(IiXYPlotXPtr(unknown), m_report, m_printer, Definition("StepTestRept.xml").c_str(),
                                  nullptr);
  ASSERT_EQ(m_person->Asked().size(), 1u);
  EXPECT_EQ(m_person->Asked()[0].text, "Report Definition file could not be found/matched.");
}

class RampReportTest : public ReportBuildersTest {
 protected:
  void SetUp() override {
    ReportBuildersTest::SetUp();
    m_common.m_strDeviceTag = "FV-101";
    m_common.m_strRampSettings = {"25.0", "75", "5", "60"};
    m_common.m_strRampStrokeLength = "1.5";
    m_common.m_strRampStrokeUnit = "in.";
    m_common.m_strRampActuatorSize = "70.0";
    m_common.m_strRampAreaUnit = "in\u00B2";
  }
  void Ramp(IiXYPlotXPtr plot) {
    m_common.GenerateRampTestReport(plot, m_report, m_printer, Definition("RampTestRept.xml").c_str(), nullptr);
  }
};

TEST_F(RampReportTest, FieldsInTheirOrderWithDateNameAndBothPictures) {
  UseNoTexts();
  m_clock.Set({2026, 3, 7, 9, 5, 0, 0});
  IiXYPlotXPtr plot = RampPlot(true);
  m_person->CancelFile().Answer(IDNO);
  Ramp(plot);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "FV-101_RampReport_2026_3_7_9h_5m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save Ramp Report As");
  Expected header = kHeaderNoTexts;
  header[0].second = "##DEVTAGID FV-101";
  ExpectFields(header);
  ExpectFields({
      {"TitleLbl", "##RAMPREPORTTITLE"},
      {"TestSettingsLbl", "##IDC_STATICRAMPSET"},
      {"StartPosLbl", "##IDC_STATICSTARTPOS"},
      {"StartPosn", "25.0"},
      {"StopPosLbl", "##IDC_STATICSTOPPOS"},
      {"StopPosn", "75"},
      {"HoldTimeLbl", "##IDC_STATICHOLDTIME"},
      {"HoldTime", "5"},
      {"TestDurLbl", "##IDC_STATICTESTDUR"},
      {"TestDuration", "60"},
      {"BiDirLbl", "##IDC_CHECKBIDIR"},
      {"BiDirValue", "Yes"},
      {"lblTestDate", "##TestDate"},
      {"lblTestDateResult", "3/7/2026"},
      {"StLenLbl", "##IDC_STATICSTRLEN"},
      {"StLenValue", "1.5"},
      {"StLenUnit", "in."},
      {"ActSizeLbl", "##IDC_ILABELXACTSIZE"},
      {"ActSizeValue", "70.0"},
      {"ActSizeUnit", "in\u00B2"},
  });
  ExpectFields({{"PageLine1", "\"##Page \" & [Page] & \"/\" & [Pages]"}}, "Page Footer");
  // Two pictures of their own, read in before their files went.
  const _variant_t ramp = Picture("RampGrph"), signature = Picture("RampGrph3");
  ASSERT_EQ(ramp.vt, VARTYPE(VT_ARRAY | VT_UI1));
  ASSERT_EQ(signature.vt, VARTYPE(VT_ARRAY | VT_UI1));
  EXPECT_NE(ramp.parray->data, signature.parray->data);
  for (const char* name : {"RampTest.bmp", "RampTest3.bmp"})
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Folder() + "/" + name))) << name;
  // The plot stays in the signature view, its tool bar back on.
  _bstr_t title;
  ASSERT_EQ(plot->GetTitle(&title), S_OK);
  EXPECT_EQ(title.str(), "##SIGVCMD");
  EXPECT_FALSE(Shown(plot, "Position"));
  EXPECT_TRUE(Shown(plot, "PosnvCmdClose"));
  IiPlotToolBarPtr toolBar;
  VARIANT_BOOL shown = 0;
  ASSERT_EQ(plot->GetToolBar(0, &toolBar), S_OK);
  toolBar->GetVisible(&shown);
  EXPECT_NE(shown, 0);
}

TEST_F(RampReportTest, YesOnlyForOneAndTheSignatureOfTheTestsDirection) {
  // Labels are translated; "Yes" and "No" are fixed texts.
  UseTexts({{"IDC_CHECKBIDIR", "Bidirektional"}, {"Yes", "Ja"}, {"No", "Nein"}});
  struct Case {
    BYTE flag;
    const char* start;
    const char* stop;
    const char* text;
    bool opening, closing;
  };
  const Case cases[] = {
      {1, "100", "0", "Yes", true, true},
      {0, "25.0", "75", "No", true, false},
      {0, "75", "25", "No", false, true},
      // Any value but 1 prints "No"; the signature takes any value but 0 as both ways.
      {2, "25", "75", "No", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.flag));
    m_common.m_bRampBidirectional = c.flag;
    m_common.m_strRampSettings.start = c.start;
    m_common.m_strRampSettings.stop = c.stop;
    IiXYPlotXPtr plot = RampPlot(c.flag == 1);
    m_person->CancelFile().Answer(IDNO);
    Ramp(plot);
    ExpectFields({{"BiDirLbl", "Bidirektional"}, {"BiDirValue", c.text}});
    EXPECT_EQ(Shown(plot, "ILPosnvCmdOpen"), c.opening);
    EXPECT_EQ(Shown(plot, "ILPosnvCmdClose"), c.closing);
  }
}

TEST_F(RampReportTest, ADefinitionWithoutOneOfItsFieldsShowsTheFailureAndSavesNothing) {
  struct Case {
    const char* from;
    const char* to;
  };
  const Case cases[] = {
      {"name=\"ActSizeUnit\"", "name=\"Other\""},
      {"name=\"RampGrph3\"", "name=\"Picture\""},
      {"name=\"RampTestReport\"", "name=\"RampReport\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    EditDefinition("RampTestRept.xml", c.from, c.to);
    m_person->Answer(IDOK);
    const size_t before = m_person->Asked().size();
    Ramp(RampPlot(true));
    ASSERT_EQ(m_person->Asked().size(), before + 1);  // no save dialog, no print question
    EXPECT_EQ(m_person->Asked().back().text, "Report Definition file could not be found/matched.");
    EXPECT_EQ(Printed(), 0);
    EditDefinition("RampTestRept.xml", c.to, c.from);
  }
}

TEST_F(ReportBuildersTest, PSTReportFieldsNameAndThePlotAsThePageShowsIt) {
  UseNoTexts();
  m_clock.Set({2026, 3, 7, 9, 5, 0, 0});
  // The page's texts as they stand: a "%5.2f" time keeps its blank, no value is " - ".
  m_common.m_strPSTSettings = {"100.0", "80.0", "2.0", "3.0", "5.0"};
  m_common.m_strPSTBreakawayTime = " 0.85";
  m_common.m_strPSTTimeToTarget = " - ";
  m_common.m_strPSTResult = "Failed";
  IiPlotXPtr plot = PSTPlot();
  ASSERT_EQ(plot->SetTitle("As the page shows it"), S_OK);
  m_common.ShowChannel2(plot, "ILCmd", 0);
  m_person->CancelFile().Answer(IDNO);
  m_common.GeneratePSTReport(plot, m_report, m_printer, Definition("PSTestRept.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "PV-101_PSTReport_2026_3_7_9h_5m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save PST ReportAs");
  ExpectFields(kHeaderNoTexts);
  ExpectFields({
      {"TitleLbl", "##PSTestReport"},
      {"TestSettingsLbl", "##IDC_STATICPARTSET"},
      {"StartPosLbl", "##IDC_STATICSTARTPOS"},
      {"StartPosn", "100.0"},
      {"StopPosLbl", "##IDC_STATICSTOPPOS"},
      {"StopPosn", "80.0"},
      {"lblTimeTargetSettings", "##IDC_STATICBKWTIMLIM"},
      {"TimeTargetValue", "5.0"},
      {"TestDurLbl", "##IDC_STATICTESTDUR"},
      {"TestDuration", "3.0"},
      {"lblTestHold", "##IDC_STATICHOLDTIME"},
      {"TestHoldValue", "2.0"},
      {"lblTestDate", "##TestDate"},
      {"lblTestDateResult", "3/7/2026"},
      {"BreakAwayInfo", "##IDC_STATICBWINFO"},
      {"lblTime", "##IDC_STATICBWTIME"},
      {"StartPosn1", " 0.85"},
      {"lblTimeTargetInfo", "##IDC_STATICTIMTOTGT"},
      {"TimeTargetValueInfo", " - "},
      {"lblResult", "##IDC_STATICBWRES"},
      {"ResultValue", "Failed"},
  });
  ExpectFields({{"PageLine1", "\"##Page \" & [Page] & \"/\" & [Pages]"}}, "Page Footer");
  EXPECT_EQ(Picture("RampGrph").vt, VARTYPE(VT_ARRAY | VT_UI1));
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Folder() + "/PstComp.bmp")));
  // No graph set-up: the page's title and its choice of channels stay.
  _bstr_t title;
  ASSERT_EQ(plot->GetTitle(&title), S_OK);
  EXPECT_EQ(title.str(), "As the page shows it");
  for (const auto& [name, shown] : {std::pair{"Position", true}, std::pair{"ILCmd", false}}) {
    VARIANT_BOOL visible = 0;
    m_common.GetPlotChannelByName(plot, name)->GetVisible(&visible);
    EXPECT_EQ(visible != 0, shown) << name;
  }
  EXPECT_TRUE(ToolBarShown(plot));

  // Without a tag the name begins with the middle part.
  m_common.m_strDeviceTag = "";
  m_person->CancelFile().Answer(IDNO);
  m_common.GeneratePSTReport(plot, m_report, m_printer, Definition("PSTestRept.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 4u);
  EXPECT_EQ(m_person->Asked()[2].defaultName, "_PSTReport_2026_3_7_9h_5m");
}

TEST_F(ReportBuildersTest, DataMonitorReportFieldsNameAndThePlotAsThePageShowsIt) {
  UseNoTexts();
  m_clock.Set({2026, 3, 7, 9, 5, 0, 0});
  // The page's texts as they stand: the duration keeps the blanks of "%5.0f".
  m_common.m_strLoggerSettings = {"10", "   10", "Minutes", "0", "0", "10", "0"};
  IiPlotXPtr plot = DataMonitorPlot();
  ASSERT_EQ(plot->SetTitle("As the page shows it"), S_OK);
  m_common.ShowChannel2(plot, "Temperature", 0);
  m_person->CancelFile().Answer(IDNO);
  m_common.GenerateDataMonitorReport(plot, m_report, m_printer, Definition("DataMonReport.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "PV-101_DataMonitorReport_2026_3_7_9h_5m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save Data Monitor ReportAs");
  ExpectFields(kHeaderNoTexts);
  ExpectFields({
      {"TitleLbl", "##DATALOGGERREPORT"},
      {"TestSettingsLbl", "##IDC_STATICDATASET"},
      {"IntervalLbl", "##IDC_STATICINTERVAL"},
      {"IntervalValue", "10"},
      {"DurLbl", "##IDC_STATICDURATION"},
      {"DurValue", "   10"},
      {"DurUnitLbl", "##IDC_STATICDURUNITS"},
      {"UnitValue", "Minutes"},
      {"ElapseTimeLbl", "##IDC_STATICELAPSE"},
      {"DayLbl", "##IDC_STATICDAYS"},
      {"DayValue", "0"},
      {"HrLbl", "##IDC_STATICHRS"},
      {"HrValue", "0"},
      {"MinLbl", "##IDC_STATICMINS"},
      {"MinValue", "10"},
      {"SecLbl", "##IDC_STATICSECS"},
      {"SecValue", "0"},
  });
  ExpectFields({{"PageLine1", "\"##Page \" & [Page] & \"/\" & [Pages]"}}, "Page Footer");
  EXPECT_EQ(Picture("MonGrph").vt, VARTYPE(VT_ARRAY | VT_UI1));
  // No graph set-up: the title and the unticked channel stay as they were.
  _bstr_t title;
  ASSERT_EQ(plot->GetTitle(&title), S_OK);
  EXPECT_EQ(title.str(), "As the page shows it");
  VARIANT_BOOL visible = VARIANT_TRUE;
  m_common.GetPlotChannelByName(plot, "Temperature")->GetVisible(&visible);
  EXPECT_EQ(visible, VARIANT_FALSE);
  EXPECT_TRUE(ToolBarShown(plot));

  m_common.m_strDeviceTag = "";
  m_person->CancelFile().Answer(IDNO);
  m_common.GenerateDataMonitorReport(plot, m_report, m_printer, Definition("DataMonReport.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 4u);
  EXPECT_EQ(m_person->Asked()[2].defaultName, "_DataMonitorReport_2026_3_7_9h_5m");
}

TEST_F(ReportBuildersTest, HDRLReportFieldsThreeGraphsAndThePlotLeftInTheLast) {
  UseNoTexts();
  m_clock.Set({2026, 3, 7, 9, 5, 0, 0});
  m_common.m_strDeviceTag = "FV-101";
  m_common.m_strHDRLResults = {"0.05", "0.06", "0.61", "0.75", "0.2104"};
  m_common.m_strHDRLSettlingTime = "3";
  IiXYPlotXPtr plot = HDRLPlot();
  m_person->CancelFile().Answer(IDNO);
  m_common.GenerateHDRLReport(plot, m_report, m_printer, Definition("HDRLTestRept.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "FV-101_HDRLTestReport_2026_3_7_9h_5m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save HDRL Test Report As");
  ExpectFields({
      {"TitleLbl", "##HDRLTestReport"},
      {"DeviceLine", "##DEVTAGID FV-101"},
      {"HysDeadResult", "##IDC_STATICHD"},
      {"lblRepeat", "##IDC_STATICREP"},
      {"lblLinearError", "##IDC_STATICLINERR"},
      {"TestSettingsLbl1", "##TestSettings"},
      {"lblTestDateHeader", "##TestDate"},
      {"lblAverage", "##IDC_STATICAVG"},
      {"lblAverageValue", "0.61"},
      {"lblMaximum", "##IDC_STATICAVGMAX"},
      {"lblMaximumValue", "0.75"},
      {"lblAverage1", "##IDC_STATICAVG"},
      {"lblAverageValueReapt", "0.05"},
      {"lblMaximum1", "##IDC_STATICAVGMAX"},
      {"lblMaximumValueReapt", "0.06"},
      {"lblLinearErrorValue", "0.2104"},
      {"lblPosSettlingTime", "##IDC_STATICPOSSET:"},
      {"lblPosSettlingTimeValue", "3"},
      {"lblTestDateResult", "3/7/2026"},
  });
  // Three pictures of their own, one of each graph.
  const _variant_t control = Picture("RampGrph"), hysteresis = Picture("RampGrph2"), linearity = Picture("RampGrph3");
  for (const _variant_t* p : {&control, &hysteresis, &linearity}) ASSERT_EQ(p->vt, VARTYPE(VT_ARRAY | VT_UI1));
  EXPECT_NE(control.parray->data, hysteresis.parray->data);
  EXPECT_NE(hysteresis.parray->data, linearity.parray->data);
  for (const char* name : {"HDRControl.bmp", "HDRHDR.bmp", "HDRLin.bmp"})
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Folder() + "/" + name))) << name;
  _bstr_t title;
  ASSERT_EQ(plot->GetTitle(&title), S_OK);
  EXPECT_EQ(title.str(), "Position Error vs. Command");
  for (const auto& [name, shown] : {std::pair{"Position", false}, std::pair{"2ndCycle-Decr", false},
                                    std::pair{"AverageError", true}, std::pair{"LeastSquareLine", true}})
    EXPECT_EQ(Shown(plot, name), shown) << name;
  EXPECT_TRUE(ToolBarShown(plot));
}

TEST_F(ReportBuildersTest, HDRLGroupCaptionLosesOnlyItsFirstAmpersand) {
  const std::pair<const char*, const char*> cases[] = {
      {"Hysteresis && Deadband", "Hysteresis & Deadband"},
      {"A && B && C", "A & B && C"},
      {"Plain", "Plain"},
      {"&", ""},
  };
  IiXYPlotXPtr plot = HDRLPlot();
  for (const auto& [caption, shown] : cases) {
    SCOPED_TRACE(caption);
    UseTexts({{"IDC_STATICHD", caption}});
    m_person->CancelFile().Answer(IDNO);
    m_common.GenerateHDRLReport(plot, m_report, m_printer, Definition("HDRLTestRept.xml").c_str(), nullptr);
    ExpectFields({{"HysDeadResult", shown}, {"lblPosSettlingTime", "##IDC_STATICPOSSET:"}});
  }
}

TEST_F(ReportBuildersTest, PSTAndHDRLWithoutAFieldOrAGraphShowTheFailureAndSaveNothing) {
  struct Case {
    const char* file;
    const char* from;  // renamed away in the definition, or null
    const char* to;
    bool barePlot;  // a plot without the test's channels
  };
  const Case cases[] = {
      {"PSTestRept.xml", "name=\"ResultValue\"", "name=\"Result\"", false},
      {"PSTestRept.xml", "name=\"RampGrph\"", "name=\"Picture\"", false},
      {"PSTestRept.xml", "name=\"PSTReport\"", "name=\"PSTestReport\"", false},
      {"HDRLTestRept.xml", "name=\"lblPosSettlingTimeValue\"", "name=\"Other\"", false},
      {"HDRLTestRept.xml", "name=\"RampGrph2\"", "name=\"Picture\"", false},
      {"HDRLTestRept.xml", "name=\"HDRLReport\"", "name=\"HDRLTestReport\"", false},
      {"HDRLTestRept.xml", nullptr, nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + (c.from ? c.from : "bare plot"));
    if (c.from) EditDefinition(c.file, c.from, c.to);
    m_person->Answer(IDOK);
    const size_t before = m_person->Asked().size();
    const bool pst = std::string(c.file) == "PSTestRept.xml";
    IUnknownPtr bare;
    ASSERT_EQ(bare.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
    IiXYPlotXPtr hdrl = c.barePlot ? IiXYPlotXPtr(bare) : HDRLPlot();
    if (pst)
      m_common.GeneratePSTReport(PSTPlot(), m_report, m_printer, Definition(c.file).c_str(), nullptr);
    else
      m_common.GenerateHDRLReport(hdrl, m_report, m_printer, Definition(c.file).c_str(), nullptr);
    ASSERT_EQ(m_person->Asked().size(), before + 1);  // no save dialog, no print question
    EXPECT_EQ(m_person->Asked().back().text, "Report Definition file could not be found/matched.");
    EXPECT_EQ(Printed(), 0);
    // A graph that failed leaves the tool bar hidden, as the capture left it.
    if (c.barePlot) {
      EXPECT_FALSE(ToolBarShown(hdrl));
    }
    if (c.from) EditDefinition(c.file, c.to, c.from);
  }
}

// One PDF per builder, in English, as the person saves it.
struct PdfCase {
  const char* stem;
  int report;
  std::vector<std::string> lines;
};

TEST_F(ReportBuildersTest, PdfsShowTitleHeaderAndValues) {
  m_clock.Set({2026, 12, 8, 7, 5, 0, 0});
  // The calibration results as the pages set them: the longest and the usual.
  m_common.m_strStrokeCal = {TheLanguageTable().Lookup("CALERRMSG"), "J. Smith", "12/1/2026", "18.5", "1024", "30512",
                             "29488"};
  m_common.m_bStrokeCalFlags[6] = 1;
  m_common.m_bStrokeCalFlags[7 + 3] = 1;
  m_common.m_strCommandCal = {
      TheLanguageTable().Lookup("SUCCESSCAL"), "A. Jones", "11/30/2026", "6553", "6560", "32760", "26200"};
  m_common.m_bCommandCalActive = {1, 0, 0};
  m_common.m_bMgmtFlags[59] = 1;
  m_common.m_strStepSettings = {"25", "75", "10"};
  m_common.m_strRampSettings = {"25.0", "75", "5", "60"};
  m_common.m_strRampStrokeLength = "1.5";
  m_common.m_strRampStrokeUnit = "in.";
  m_common.m_strRampActuatorSize = "70.0";
  m_common.m_strRampAreaUnit = "in\u00B2";
  m_common.m_strPSTSettings = {"100.0", "80.0", "2.0", "3.0", "5.0"};
  m_common.m_strPSTBreakawayTime = " 0.85";
  m_common.m_strPSTTimeToTarget = " 2.40";
  // The longest result, in the language pictured.
  m_common.m_strPSTResult = CCommonFunctions::PSTResultText(1);
  m_common.m_strHDRLResults = {"0.05", "0.06", "0.61", "0.75", "0.2104"};
  m_common.m_strHDRLSettlingTime = "3.0";
  const std::vector<std::string> header = {
      "DEVICE TAG ID: PV-101",
      "ACTUATOR INFO --> Size: 70, Manufacturer: Acme & Sons, Type: Linear, Spring Type: Spring return, Fail",
      "VALVE BODY INFO --> Model: GX, Body Size: 2 in, Flow Direction: Flow to open"};
  const PdfCase cases[] = {
      {"stroke-calibration",
       0,
       {"Stroke calibration", "Calibration failed: see the", "J. Smith", "12/1/2026", "18.5", "1024", "30512", "29488",
        "Position range too small", "Calibration required", "Page 1/1"}},
      {"command-calibration",
       1,
       {"Command Input Calibration Report", "Calibration completed successfully", "A. Jones", "11/30/2026", "6553",
        "6560", "32760", "26200",
        "Command below A/D range", "Command range too small", "Page 1/1"}},
      {"step-test",
       2,
       {"Step Test Report", "Step Test Settings", "25", "75", "10", "Report Date:", "12/8/2026", "Page 1/1"}},
      {"ramp-test",
       3,
       {"Ramp Test Report", "Ramp Test Settings", "Start Position:", "25.0 %", "Stop Position:", "75 %",
        "Hold Time:", "5 s", "Test Duration:", "60 s", "Bi-directional", "Yes", "Stroke Length:", "1.5 in.",
        "Actuator Size:", "70.0 in\u00B2", "Report Date:", "12/8/2026", "Page 1/1"}},
      {"pst-test",
       4,
       {"Partial Stroke Test Report", "Partial Stroke Test Settings", "Start Position:", "100.0 %",
        "Stop Position:", "80.0 %", "Hold Time:", "2.0 s", "Test Duration:", "3.0 s", "Time Limit:", "5.0 s",
        "Partial Stroke Test Results", "Break-Away Time:", "0.85 s", "Time to Target:", "2.40 s", "Result:",
        "Failed: target not", "Report Date:", "12/8/2026", "Page 1/1"}},
      {"hdrl-test",
       5,
       {"HDRL Test Report", "Test Settings", "Position Settling Time:", "3.0 s", "Report Date:", "12/8/2026",
        "Hysteresis and Deadband", "Repeatability", "Linearity Error", "Average", "0.61 %", "Maximum", "0.75 %",
        "0.05 %", "0.06 %", "0.2104 %", "Page 1/2", "Page 2/2"}},
      {"data-monitor",
       6,
       {"Data Monitor Report", "Monitor Settings", "Interval:", "10 s", "Duration:", "10", "Duration Units:",
        "Minutes", "Elapsed Time", "Days:", "Hours:", "Minutes:", "Seconds:", "Page 1/1"}},
  };
  IiXYPlotXPtr plot = StepPlot();
  for (const PdfCase& c : cases) {
    SCOPED_TRACE(c.stem);
    const std::string pdf = Folder() + "/" + c.stem + ".pdf";
    m_person->AnswerFile(pdf).Answer(IDNO);
    if (c.report == 0)
      Stroke();
    else if (c.report == 1)
      Command();
    else if (c.report == 2)
      m_common.GenerateStepTestReport(plot, m_report, m_printer, Definition("StepTestRept.xml").c_str(), nullptr);
    else if (c.report == 3)
      m_common.GenerateRampTestReport(RampPlot(true), m_report, m_printer, Definition("RampTestRept.xml").c_str(),
                                      nullptr);
    else if (c.report == 4)
      m_common.GeneratePSTReport(PSTPlot(), m_report, m_printer, Definition("PSTestRept.xml").c_str(), nullptr);
    else if (c.report == 5)
      m_common.GenerateHDRLReport(HDRLPlot(), m_report, m_printer, Definition("HDRLTestRept.xml").c_str(), nullptr);
    else {
      m_common.m_strLoggerSettings = {"10", "   10", TheLanguageTable().Lookup("IDC_COMBO_UNITMIN"), "0", "0", "10",
                                      "0"};
      m_common.GenerateDataMonitorReport(DataMonitorPlot(), m_report, m_printer,
                                         Definition("DataMonReport.xml").c_str(), nullptr);
    }
    const std::string text = PdfText(pdf);
    ExpectShown(text, header);
    ExpectShown(text, c.lines);
    Screens(pdf, c.stem);
    // The built report renders again once its picture file is gone.
    if (c.report == 2) {
      EXPECT_EQ(m_report->RenderToFile((Folder() + "/again.pdf").c_str(), activex::kReportFormatPdf), S_OK);
    }
  }
}

}  // namespace
