// The step comparison report: its fields from the compare texts, its name
// from file 1's tag, its picture of the whole comparison, and its PDF.
#include <QFile>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "report_fixture.h"

namespace {

class StepCompareReportTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    ASSERT_TRUE(QFile::copy(TARNIX_SOURCE_DIR "/resources/Dependencies/StepTestCmpRept.xml",
                            QString::fromStdString(Definition("StepTestCmpRept.xml"))));
    m_common.m_strStepCompare = {"FV-101", "FV-101", "3/7/2026", "12/1/2026", "FV-101_Step_2026_3_7_9h_15m.stp",
                                 "FV-101_Step_2026_12_1_14h_2m.stp", "40", "40", "60", "60", "5", "5"};
  }
  // The compare plot as the page lays it out, holding two steps from 40 %
  // to 60 %, the second by a valve that starts later and settles slower.
  IiXYPlotXPtr ComparePlot() {
    IUnknownPtr unknown;
    EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
    IiXYPlotXPtr plot(unknown);
    m_common.SetupStepComparePlot(plot);
    m_common.SetupStepCompareChannels(plot);
    for (const bool second : {false, true}) {
      const std::string n = second ? "2" : "1";
      for (int i = 0; i <= 60; ++i) {
        const double t = i * 0.1;
        const double moved = t < 1 ? 0 : 1 - std::exp(-(t - 1 - (second ? 0.4 : 0)) * (second ? 1.5 : 3));
        const double ys[] = {40 + 20 * std::max(0.0, moved), t < 1 ? 40.0 : 60.0, 50 + 30 * std::max(0.0, moved),
                             45 + 10 * std::max(0.0, moved)};
        const char* names[] = {"Position", "Command", "ILCmd", "ILPOS"};
        for (int q = 0; q < 4; ++q)
          m_common.GetXYPlotChannelByName(plot, (names[q] + n).c_str())->AddXY(t, ys[q], nullptr);
      }
    }
    for (const char* q : {"Position", "Command", "ILCmd", "ILPOS"})
      m_common.ComputeXYChannelDelta((std::string(q) + "1").c_str(), (std::string(q) + "2").c_str(),
                                     (std::string(q) + "Diff").c_str(), 25, true, plot);
    m_common.HideStepCompareChannels(plot);
    return plot;
  }
  void Generate(IiXYPlotXPtr plot) {
    m_common.GenerateStepCompareReport(plot, m_report, m_printer, Definition("StepTestCmpRept.xml").c_str(), nullptr);
  }
};

TEST_F(StepCompareReportTest, FieldsFromTheCompareTextsNamedAfterFileOne) {
  UseNoTexts();
  IiXYPlotXPtr plot = ComparePlot();
  m_common.m_strStepCompare[1] = "";  // only file 1 loaded: file 2 prints empty
  m_person->CancelFile().Answer(IDNO);
  Generate(plot);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  const plat::Question& save = m_person->Asked()[0];
  EXPECT_EQ(save.defaultName, "FV-101_StepTestCompareReport_2026_3_5_7h_4m");
  EXPECT_EQ(save.title, "Save Step Test Compare Report As");
  const Expected expected = {
      {"TitleLbl", "##STEPCMPREPORTTITLE"},
      {"FIleSettingsLbl", "##IDC_STATICFILEINFO"},
      {"File1TagLbl", "##IDC_STATICBODTAG"},
      {"File1DateLbl", "##IDC_STATICDATE"},
      {"File1NameLbl", "##IDC_STATICFILE"},
      {"File1Lbl", "##File1Lbl"},
      {"File2Lbl", "##File2Lbl"},
      {"Tag1Value", "FV-101"},
      {"Tag2Value", ""},
      {"TestDate1Value", "3/7/2026"},
      {"TestDate2Value", "12/1/2026"},
      {"FileName1Value", "FV-101_Step_2026_3_7_9h_15m.stp"},
      {"FileName2Value", "FV-101_Step_2026_12_1_14h_2m.stp"},
      {"TestSettingsLbl1", "##IDC_STATICSTEPSET"},
      {"StartPos1Lbl", "##IDC_STATICSTARTPOS"},
      {"StartPosn", "40"},
      {"StartPosn2", "40"},
      {"StopPos1Lbl", "##IDC_STATICSTOPPOS"},
      {"StopPosn", "60"},
      {"StopPosn2", "60"},
      {"HoldTime1Lbl", "##IDC_STATICHOLDTIME"},
      {"HoldTime", "5"},
      {"HoldTime2", "5"},
  };
  ExpectFields(expected);
  EXPECT_EQ(FieldText("Page Footer", "PageLine1").find("[Page]") != std::string::npos, true);
  // The picture shows the whole comparison.
  for (const char* name : {"Position1", "Position2", "PositionDiff", "ILPOSDiff"})
    EXPECT_TRUE(Shown(plot, name)) << name;

  // Before any file the tag is empty, and so is the start of the name.
  m_common.m_strStepCompare[0] = "";
  m_person->CancelFile().Answer(IDNO);
  Generate(plot);
  EXPECT_EQ(m_person->Asked()[2].defaultName, "_StepTestCompareReport_2026_3_5_7h_4m");
}

TEST_F(StepCompareReportTest, PdfShowsBothFilesSideBySide) {
  const std::string pdf = Folder() + "/step-compare.pdf";
  m_person->AnswerFile(pdf).Answer(IDNO);
  Generate(ComparePlot());
  const std::string text = PdfText(pdf);
  ExpectShown(text, {"Step Test Comparison Report", "File Information", "File 1", "File 2", "3/7/2026", "12/1/2026",
                     "FV-101_Step_2026_3_7_9h_15m.stp", "Step Test Settings", "Start Position:", "Hold Time:",
                     "Page 1/1"});
  Screens(pdf, "step-compare");
}

TEST_F(StepCompareReportTest, ADefinitionWithoutOneOfItsFieldsShowsTheFailure) {
  EditDefinition("StepTestCmpRept.xml", "\"HoldTime2\"", "\"Other\"");
  m_person->Answer(IDOK);
  Generate(ComparePlot());
  ASSERT_EQ(m_person->Asked().size(), 1u);
  EXPECT_EQ(m_person->Asked()[0].text, "Report Definition file could not be found/matched.");
}

}  // namespace
