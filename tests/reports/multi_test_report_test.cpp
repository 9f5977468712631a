// The multi-test report: its fields, the "NA" of tests not run, the seven
// pictures of the four plots, the plots left in their first graphs, a broken
// definition, and the PDF as a person gets it.
#include <QFileInfo>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "report_fixture.h"

namespace {

const char* const kPictures[7] = {"RampGrph",     "RampGrph2",     "StepRampGrph", "PSTRampGrph",
                                  "HDRLRampGrph", "HDRLRampGrph2", "HDRLRampGrph3"};

class MultiTestReportTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    m_clock.Set({2026, 3, 7, 9, 5, 0, 0});
    m_common.m_strDeviceTag = "FV-101";
    m_common.m_strActuatorSize = "70";
    m_common.m_strActuatorManufacturer = "Acme";
    m_common.m_strActuatorType = "Linear";
    m_common.m_strSpringType = "Spring return";
    m_common.m_strFailPosition = "Closed";
    m_common.m_strValveModel = "GX";
    m_common.m_strValveBodySize = "2 in";
    m_common.m_strFlowDirection = "Flow to open";
  }

  // What the multi-test page copies in when all four tests ran.
  void AllTestsRan() {
    m_common.m_strRampSettings = {"25.0", "75", "5", "60"};
    m_common.m_bRampBidirectional = 0;
    m_common.m_strRampStrokeLength = "1.5";
    m_common.m_strRampStrokeUnit = "in.";
    m_common.m_strRampActuatorSize = "70.0";
    m_common.m_strRampAreaUnit = "sq.in";
    m_common.m_strStepSettings = {"20", "80", "10"};
    m_common.m_strPSTSettings = {"100.0", "80.0", "2.0", "3.0", "5.0"};
    m_common.m_strPSTBreakawayTime = " 0.85";
    m_common.m_strPSTTimeToTarget = " 2.40";
    m_common.m_strPSTResult = "Passed";
    m_common.m_strHDRLResults = {"0.05", "0.06", "0.61", "0.75", "0.2104"};
    m_common.m_strHDRLSettlingTime = "3.0";
  }

  struct Plots {
    IiXYPlotXPtr step;
    IiPlotXPtr pst;
    IiXYPlotXPtr hdrl;
    IiXYPlotXPtr ramp;
  };
  Plots WithData() { return {StepPlot(), PSTPlot(), HDRLPlot(), RampPlot(false)}; }
  // Laid out as the pages lay them out, without a point.
  Plots Empty() {
    Plots p;
    IUnknownPtr u[4];
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(u[i].CreateInstance(i == 1 ? "iPlotLibrary.iPlotX" : "iPlotLibrary.iXYPlotX"), S_OK);
    p.step = IiXYPlotXPtr(u[0]);
    p.pst = IiPlotXPtr(u[1]);
    p.hdrl = IiXYPlotXPtr(u[2]);
    p.ramp = IiXYPlotXPtr(u[3]);
    m_common.SetupStepPlot(p.step);
    m_common.SetupStepChannels(p.step);
    m_common.SetupPSTPlot(p.pst);
    m_common.SetupPSTChannels(p.pst);
    m_common.SetupHDRLPlots(p.hdrl);
    m_common.SetupHDRLChannels(p.hdrl);
    m_common.SetupRampPlot(p.ramp);
    m_common.SetupRampTestChannels(p.ramp);
    return p;
  }

  void Report(const Plots& p) {
    m_common.GenerateMultiTestReport(p.step, p.pst, p.hdrl, p.ramp, m_report, m_printer,
                                     Definition("AllTestReport.xml").c_str(), nullptr);
  }

  // Seven pictures, each of its own capture.
  void ExpectSevenPictures() {
    std::set<std::string> seen;
    for (const char* field : kPictures) {
      const _variant_t p = Picture(field);
      ASSERT_EQ(p.vt, VARTYPE(VT_ARRAY | VT_UI1)) << field;
      seen.insert(std::string(p.parray->data.begin(), p.parray->data.end()));
    }
    EXPECT_EQ(seen.size(), 7u);
  }

  // Points of every channel, in channel order.
  static std::vector<LONG> Points(IPlotBase* plot) {
    LONG channels = 0;
    EXPECT_EQ(plot->GetChannelCount(&channels), S_OK);
    std::vector<LONG> counts;
    for (LONG c = 0; c < channels; ++c) {
      IDispatchPtr d;
      EXPECT_EQ(plot->GetChannel(c, &d), S_OK);
      const IiXYPlotChannelPtr xy(d);
      const IiPlotChannelPtr timed(d);
      LONG n = -1;
      if (xy)
        xy->GetCount(&n);
      else if (timed)
        timed->GetCount(&n);
      counts.push_back(n);
    }
    return counts;
  }
};

TEST_F(MultiTestReportTest, FieldsPicturesAndThePlotsBackInTheirFirstGraphs) {
  UseNoTexts();
  AllTestsRan();
  Plots plots = WithData();
  // The signature view left over from the page's own report.
  m_common.SetupSignatureGraph(plots.ramp);
  const std::vector<LONG> before[4] = {Points(plots.step), Points(plots.pst), Points(plots.hdrl), Points(plots.ramp)};
  const std::string pstTitle = Title(plots.pst);
  m_person->CancelFile().Answer(IDNO);

  Report(plots);

  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "FV-101_MultiTestReport_2026_3_7_9h_5m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save MultiTest Report As");
  EXPECT_EQ(m_person->Asked()[1].text, "##PRINT_REPORT");
  EXPECT_EQ(Printed(), 0);
  EXPECT_EQ(FieldText("Page Footer", "PageLine1"), "\"##Page \" & [Page] & \"/\" & [Pages]");
  ExpectFields({
      {"TitleLbl", "##RAMPREPORTTITLE"},
      {"DeviceLine", "##DEVTAGID FV-101"},
      // The fail position closes the valve line here.
      {"ActInfoLine",
       "##HEADACTINFO --> ##IDC_STATICSIZE 70, ##IDC_STATICMAN Acme, ##IDC_STATICTRTYPE Linear, "
       "##IDC_STATICSPRTYPE Spring return"},
      {"BodInfoLine",
       "##HEADBODINFO --> ##IDC_STATICMODEL GX, ##IDC_STATICBODSIZE 2 in, ##IDC_STATICBODFLOWDIR Flow to open, "
       "##IDC_STATICFAILPOS Closed"},
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
      {"BiDirValue", "No"},
      {"lblTestDate", "##TestDate"},
      {"lblTestDateResult", "3/7/2026"},
      {"StLenLbl", "##IDC_STATICSTRLEN"},
      {"StLenValue", "1.5"},
      {"StLenUnit", "in."},
      {"ActSizeLbl", "##IDC_ILABELXACTSIZE"},
      {"ActSizeValue", "70.0"},
      {"ActSizeUnit", "sq.in"},
      {"StepTitleLbl", "##StepTestReport"},
      {"SteplblTestDate", "##TestDate"},
      {"StepTestSettingsLbl", "##IDC_STATICSTEPSET"},
      {"StepStartPosLbl", "##IDC_STATICSTARTPOS"},
      {"StepStopPosLbl", "##IDC_STATICSTOPPOS"},
      {"StepHoldTimeLbl", "##IDC_STATICHOLDTIME"},
      {"StepStartPosn", "20"},
      {"StepStopPosn", "80"},
      {"StepHoldTime", "10"},
      {"SteplblTestDateResult", "3/7/2026"},
      {"PSTTitleLbl", "##PSTestReport"},
      {"PSTTestSettingsLbl", "##IDC_STATICPARTSET"},
      {"PSTlblTestDate", "##TestDate"},
      {"PSTStartPosLbl", "##IDC_STATICSTARTPOS"},
      {"PSTStopPosLbl", "##IDC_STATICSTOPPOS"},
      {"PSTlblTimeTargetSettings", "##IDC_STATICBKWTIMLIM"},
      {"PSTTestDurLbl", "##IDC_STATICTESTDUR"},
      {"PSTHoldTimeLbl", "##IDC_STATICHOLDTIME"},
      {"PSTStartPosn", "100.0"},
      {"PSTStopPosn", "80.0"},
      {"PSTTimeTargetValue", "5.0"},
      {"PSTTestDuration", "3.0"},
      {"PSTHoldTime", "2.0"},
      {"BreakAwayInfo", "##IDC_STATICBWINFO"},
      {"PSTlblTime", "##IDC_STATICBWTIME"},
      {"PSTlblTimeTargetInfo", "##IDC_STATICTIMTOTGT"},
      {"PSTlblResult", "##IDC_STATICBWRES"},
      {"PSTlblTestDateResult", "3/7/2026"},
      {"PSTStartPosn1", " 0.85"},
      {"TimeTargetValueInfo", " 2.40"},
      {"PSTResultValue", "Passed"},
      {"HDRLTitleLbl", "##HDRLTestReport"},
      {"HysDeadResult", "##IDC_STATICHD"},
      {"lblRepeat", "##IDC_STATICREP"},
      {"lblLinearError", "##REPORTLINERR"},
      {"HDRLTestSettingsLbl1", "##TestSettings"},
      {"lblTestDateHeader", "##TestDate"},
      {"lblAverage", "##IDC_STATICAVG"},
      {"lblMaximum", "##IDC_STATICAVGMAX"},
      {"lblAverage1", "##IDC_STATICAVG"},
      {"lblMaximum1", "##IDC_STATICAVGMAX"},
      {"lblPosSettlingTime", "##IDC_STATICPOSSET:"},
      {"lblAverageValue", "0.61"},
      {"lblMaximumValue", "0.75"},
      {"lblAverageValueReapt", "0.05"},
      {"lblMaximumValueReapt", "0.06"},
      {"lblLinearErrorValue", "0.2104"},
      {"lblPosSettlingTimeValue", "3.0"},
      {"HDRLlblTestDateResult", "3/7/2026"},
  });
  ExpectSevenPictures();
  for (const char* name :
       {"RampTest.bmp", "RampTest3.bmp", "StepTest.bmp", "PstComp.bmp", "HDRControl.bmp", "HDRHDR.bmp", "HDRLin.bmp"})
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Folder() + "/" + name))) << name;

  // Each page's first graph, its tool bar back, and not a point lost.
  EXPECT_EQ(Title(plots.ramp), "##IDD_DIAGNOSTIC_RAMP_TEST");
  EXPECT_EQ(Title(plots.step), "##IDD_DIAGNOSTIC_STEP_TEST");
  EXPECT_EQ(Title(plots.hdrl), "Position vs. Time");
  EXPECT_EQ(Title(plots.pst), pstTitle);
  for (IPlotBase* plot : {static_cast<IPlotBase*>(plots.step), static_cast<IPlotBase*>(plots.pst),
                          static_cast<IPlotBase*>(plots.hdrl), static_cast<IPlotBase*>(plots.ramp)})
    EXPECT_TRUE(ToolBarShown(plot));
  EXPECT_EQ(Points(plots.step), before[0]);
  EXPECT_EQ(Points(plots.pst), before[1]);
  EXPECT_EQ(Points(plots.hdrl), before[2]);
  EXPECT_EQ(Points(plots.ramp), before[3]);
  EXPECT_FALSE(Shown(plots.ramp, "PosnvCmdOpen"));
  EXPECT_TRUE(Shown(plots.ramp, "Position"));
}

TEST_F(MultiTestReportTest, TestsNotRunPrintNAAndEmptyGraphs) {
  // As the page leaves the fields with none of the four tests ticked; the
  // ramp flag, stroke and actuator texts keep what they held.
  const _bstr_t na("NA");
  m_common.m_strRampSettings = {na, na, na, na};
  m_common.m_strStepSettings = {na, na, na};
  m_common.m_strPSTSettings = {na, na, na, na, na};
  m_common.m_strPSTBreakawayTime = m_common.m_strPSTTimeToTarget = m_common.m_strPSTResult = na;
  m_common.m_strHDRLResults = {na, na, na, na, na};
  m_common.m_strHDRLSettlingTime = na;
  m_common.m_strDeviceTag = "";
  m_person->CancelFile().Answer(IDNO);

  Report(Empty());

  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "_MultiTestReport_2026_3_7_9h_5m");
  for (const char* field :
       {"StartPosn", "StopPosn", "HoldTime", "TestDuration", "StepStartPosn", "StepStopPosn", "StepHoldTime",
        "PSTStartPosn", "PSTStopPosn", "PSTTimeTargetValue", "PSTTestDuration", "PSTHoldTime", "PSTStartPosn1",
        "TimeTargetValueInfo", "PSTResultValue", "lblAverageValue", "lblMaximumValue", "lblAverageValueReapt",
        "lblMaximumValueReapt", "lblLinearErrorValue", "lblPosSettlingTimeValue"})
    EXPECT_EQ(FieldText("Detail", field), "NA") << field;
  // Before any ramp test: bi-directional, and no stroke or actuator texts.
  ExpectFields({{"BiDirValue", "Yes"}, {"StLenValue", ""}, {"ActSizeUnit", ""}, {"lblTestDateResult", "3/7/2026"}});
  ExpectSevenPictures();
}

TEST_F(MultiTestReportTest, ADefinitionWithoutOneOfItsPartsShowsTheFailureAndSavesNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"name=\"New Report\"", "name=\"MultiTestReport\""},
      {"name=\"HDRLlblTestDateResult\"", "name=\"Other\""},
      {"name=\"lblLinearError\"", "name=\"Other\""},
      {"name=\"PSTRampGrph\"", "name=\"Picture\""},
      {"name=\"PageLine1\"", "name=\"PageLine\""},
  };
  Plots plots = WithData();
  for (const auto& [from, to] : cases) {
    SCOPED_TRACE(from);
    EditDefinition("AllTestReport.xml", from, to);
    m_person->Answer(IDOK);
    const size_t before = m_person->Asked().size();
    Report(plots);
    ASSERT_EQ(m_person->Asked().size(), before + 1);  // no save dialog, no print question
    EXPECT_EQ(m_person->Asked().back().text, "Report Definition file could not be found/matched.");
    EXPECT_EQ(m_person->Asked().back().caption, "MULTI-TEST REPORT");
    EXPECT_EQ(Printed(), 0);
    EditDefinition("AllTestReport.xml", to, from);
  }
  // A definition that is not there at all: the plots are not touched.
  m_common.SetupSignatureGraph(plots.ramp);
  const std::string signature = Title(plots.ramp);
  m_person->Answer(IDOK);
  m_common.GenerateMultiTestReport(plots.step, plots.pst, plots.hdrl, plots.ramp, m_report, m_printer,
                                   (Folder() + "/Missing.xml").c_str(), nullptr);
  EXPECT_EQ(m_person->Asked().back().caption, "MULTI-TEST REPORT");
  EXPECT_EQ(Title(plots.ramp), signature) << "left as it was";
}

TEST_F(MultiTestReportTest, PdfShowsTheFourTestsAndTheirGraphs) {
  m_clock.Set({2026, 12, 8, 7, 5, 0, 0});
  AllTestsRan();
  const std::string pdf = Folder() + "/multi-test.pdf";
  m_person->AnswerFile(pdf).Answer(IDYES);
  Report(WithData());
  EXPECT_EQ(Printed(), 1);
  const std::string text = PdfText(pdf);
  ExpectShown(text, {"Ramp Test Report", "DEVICE TAG ID: FV-101", "Spring Type: Spring return",
                     "Flow Direction: Flow to open, Fail", "Ramp Test Settings", "25.0 %", "60 s", "Bi-directional",
                     "No", "1.5 in.", "70.0 sq.in", "Report Date:", "12/8/2026", "Step Test Report",
                     "Step Test Settings", "20 %", "80 %", "10 s", "Partial Stroke Test Report",
                     "Partial Stroke Test Results", "Time Limit:", "5.0 s", "Break-Away Time:", "0.85 s", "2.40 s",
                     "Passed", "HDRL Test Report", "Hysteresis and Deadband", "Repeatability", "Linearity Error",
                     "Position Settling Time:", "3.0 s", "0.61 %", "0.2104 %", "Page 1/3", "Page 2/3", "Page 3/3"});
  Screens(pdf, "multi-test");
}

}  // namespace
