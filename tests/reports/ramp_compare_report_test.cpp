// The ramp comparison report: its fields from the compare texts, its two
// pictures of the compare plot, its own second failure message, and the PDF.
#include <QFile>
#include <QFileInfo>
#include <utility>
#include <vector>

#include "report_fixture.h"

namespace {

class RampCompareReportTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    ASSERT_TRUE(QFile::copy(TARNIX_SOURCE_DIR "/resources/Dependencies/RampTestCmpRept.xml",
                            QString::fromStdString(Definition("RampTestCmpRept.xml"))));
    m_common.m_strDeviceTag = "PV-999";  // not the file's: never printed
    m_common.m_strRampCompare = {"FV-101", "FV-202", "3/1/2026", "3/4/2026", "before.rmp", "after.rmp",
                                 "10",     "10",     "90",       "90",       "3",          "5",
                                 "60",     "60",     "1.5",      "69.0",     "in\u00B2",   "in.",
                                 "1.5",    "69.0",   "",         "",         "",           ""};
    m_common.m_bCompareBidirectional = {1, 0};
  }
  // Both files' ramp runs copied into the compare plot as the loaders do,
  // file 2 one of one way only, and their differences.
  IiXYPlotXPtr ComparePlot() {
    IUnknownPtr unknown;
    EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
    IiXYPlotXPtr plot(unknown);
    m_common.SetupRampPlot(plot);
    m_common.SetupRampCompareChannels(plot);
    IiXYPlotXPtr one = RampPlot(true), two = RampPlot(false);
    for (const char* stem : {"Position", "Command", "ILCmd", "ILPos", "PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen",
                             "ILCmdvCmdClose", "ILPosnvCmdOpen", "ILPosnvCmdClose"}) {
      const _bstr_t s(stem);
      m_common.CopyXYChannelPoints(s, s + "1", true, one, plot);
      m_common.CopyXYChannelPoints2(s, s + "2", 25, true, two, plot);
      m_common.ComputeXYChannelDelta(s + "1", s + "2", s + "Diff", 25, true, plot);
    }
    for (const char* axis : {"RampX", "CmdX"}) {
      IiPlotAxisPtr a;
      plot->GetXAxisByName(axis, &a);
      a->ZoomToFit();
    }
    return plot;
  }
  void Report(IiXYPlotXPtr plot) {
    m_common.GenerateRampCompareReport(plot, m_report, m_printer, Definition("RampTestCmpRept.xml").c_str(), nullptr);
  }
};

TEST_F(RampCompareReportTest, FieldsComeFromTheCompareTextsAndTheNameFromFileOnesTag) {
  UseNoTexts();
  m_clock.Set({2026, 3, 5, 9, 7, 0, 0});
  IiXYPlotXPtr plot = ComparePlot();
  m_person->CancelFile().Answer(IDNO);
  Report(plot);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "FV-101_RampCompareReport_2026_3_5_9h_7m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save Ramp Compare Report As");
  const Expected fields = {
      {"TitleLbl", "##RAMPCMPREPORTTITLE"}, {"FIleSettingsLbl", "##IDC_STATICFILEINFO"},
      {"File1Lbl", "##File1Lbl"},           {"File1TagLbl", "##IDC_STATICBODTAG"},
      {"Tag1Value", "FV-101"},              {"File1DateLbl", "##IDC_STATICDATE"},
      {"TestDate1Value", "3/1/2026"},       {"File1NameLbl", "##IDC_STATICFILE"},
      {"FileName1Value", "before.rmp"},     {"File2Lbl", "##File2Lbl"},
      {"File2TagLbl", "##IDC_STATICBODTAG"}, {"Tag2Value", "FV-202"},
      {"File2DateLbl", "##IDC_STATICDATE"}, {"TestDate2Value", "3/4/2026"},
      {"File2NameLbl", "##IDC_STATICFILE"}, {"FileName2Value", "after.rmp"},
      {"RampSetLbl", "##IDC_STATICRAMPSET"}, {"StartPos1Lbl", "##IDC_STATICSTARTPOS"},
      {"StartPosn", "10"},                  {"StopPos1Lbl", "##IDC_STATICSTOPPOS"},
      {"StopPosn", "90"},                   {"HoldTime1Lbl", "##IDC_STATICHOLDTIME"},
      {"HoldTime", "3"},                    {"TestDur1Lbl", "##IDC_STATICTESTDUR"},
      {"TestDuration", "60"},               {"StartPosn2", "10"},
      {"StopPosn2", "90"},                  {"HoldTime2", "5"},
      {"TestDuration2", "60"},              {"BiDir1Lbl", "##IDC_CHECKBIDIR"},
      {"BiDir1Value", "Yes"},               {"BiDir2Value", "No"},
      {"SLenLabel1", "##IDC_STATICSTRLEN"}, {"SLenValue1", "1.5"},
      {"SLenValue2", "1.5"},                {"SLenUnit", "in."},
      {"ActSizeLbl1", "##IDC_ILABELXACTSIZE"}, {"ActSizeValue1", "69.0"},
      {"ActSizeValue2", "69.0"},            {"ActSizeUnit2", "in\u00B2"},
  };
  ExpectFields(fields);
  EXPECT_EQ(FieldText("Page Footer", "PageLine1"), "\"##Page \" & [Page] & \"/\" & [Pages]");
  // No device lines in a comparison.
  EXPECT_EQ(FieldText("Detail", "DeviceLine"), "<no field Detail.DeviceLine>");
  // The plot is left in the signature view.
  EXPECT_EQ(Title(plot), "##SIGVCMD");
}

TEST_F(RampCompareReportTest, BiDirectionalTextsFollowTheFlags) {
  struct Case {
    std::array<BYTE, 2> flags;
    const char* one;
    const char* two;
  };
  const Case cases[] = {
      {{1, 1}, "Yes", "Yes"},
      {{0, 2}, "No", "No"},
      // A file 2 not read since file 1: nothing, as the page shows.
      {{1, CCommonFields::kCompareNotLoaded}, "Yes", ""},
  };
  IiXYPlotXPtr plot = ComparePlot();
  for (const Case& c : cases) {
    m_common.m_bCompareBidirectional = c.flags;
    m_person->CancelFile().Answer(IDNO);
    Report(plot);
    EXPECT_EQ(FieldText("Detail", "BiDir1Value"), c.one);
    EXPECT_EQ(FieldText("Detail", "BiDir2Value"), c.two);
  }
}

TEST_F(RampCompareReportTest, AMissingFieldStillOffersSaveAndPrintAMissingReportDoesNot) {
  IiXYPlotXPtr plot = ComparePlot();
  EditDefinition("RampTestCmpRept.xml", "name=\"SLenUnit\"", "name=\"Other\"");
  m_person->Answer(IDOK).CancelFile().Answer(IDYES);
  Report(plot);
  ASSERT_EQ(m_person->Asked().size(), 3u);
  EXPECT_EQ(m_person->Asked()[0].text, "Report may not be generated due to some error.");
  EXPECT_EQ(FieldText("Detail", "SLenValue2"), "1.5");  // set before the missing one
  EXPECT_EQ(FieldText("Detail", "ActSizeValue1"), "");  // after it: as the definition has it
  EXPECT_EQ(Printed(), 1);

  EditDefinition("RampTestCmpRept.xml", "name=\"RampCmpRep\"", "name=\"Other\"");
  const std::string before = Title(plot);
  m_person->Answer(IDOK);
  Report(plot);
  ASSERT_EQ(m_person->Asked().size(), 4u);
  EXPECT_EQ(m_person->Asked().back().text, "Report Definition file could not be found/matched.");
  EXPECT_EQ(Title(plot), before);
}

TEST_F(RampCompareReportTest, PdfShowsBothFilesSideBySideAndBothGraphs) {
  const std::string pdf = Folder() + "/ramp-compare.pdf";
  m_person->AnswerFile(pdf).Answer(IDNO);
  Report(ComparePlot());
  const std::string text = PdfText(pdf);
  ExpectShown(text, {"Ramp Test Comparison Report", "File Information", "FV-101", "FV-202", "before.rmp", "after.rmp",
                     "3/4/2026", "Ramp Test Settings", "Hold Time:", "Bi-directional", "Yes", "No", "Stroke Length:",
                     "in\u00B2", "Page 1/1"});
  Screens(pdf, "ramp-compare");
}

}  // namespace
