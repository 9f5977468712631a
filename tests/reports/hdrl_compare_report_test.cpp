// The HDRL comparison report: the compare texts in their fields as they
// stand, three graphs of the compare plot, the name of the PDF from file
// 1's tag, a definition that lacks a field, and the PDF itself.
#include <QFileInfo>
#include <string>
#include <utility>
#include <vector>

#include "report_fixture.h"

namespace {

class HDRLCompareReportTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    m_common.m_strDeviceTag = "DEVICE";  // a report about files: never printed
    m_common.m_strHDRLCompare = {"FV-101", "FV-102", "3/1/2026", "3/4/2026", "before.hdrl", "after.hdrl", "3", "3",
                                 "0.05",   "0.08",   "0.03",     "0.06",     "0.11",        "0.05",       "0.61",
                                 "0.95",   "0.34",   "0.75",     "1.20",     "0.45",        "0.2104",     "0.2991",
                                 "0.0887"};
  }
  // The compare plot as the page lays it out: an HDRL run as file 1 and the
  // same valve with more friction as file 2.
  IiXYPlotXPtr ComparePlot() {
    IUnknownPtr unknown;
    EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iXYPlotX"), S_OK);
    IiXYPlotXPtr plot(unknown);
    m_common.SetupHDRLPlots(plot);
    m_common.SetupHDRLCompareChannels2(plot);
    IiXYPlotXPtr run = HDRLPlot();
    for (const char* name : {"Position", "Command", "1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr",
                             "2ndCycle-Decr", "AverageError", "LeastSquareLine"}) {
      m_common.CopyXYChannelPoints(name, name, true, run, plot);
      IiXYPlotChannelPtr from = m_common.GetXYPlotChannelByName(run, name);
      IiXYPlotChannelPtr to = m_common.GetXYPlotChannelByName(plot, (std::string(name) + "2").c_str());
      const bool error = std::string(name) != "Position" && std::string(name) != "Command";
      LONG count = 0;
      from->GetCount(&count);
      for (LONG i = 0; i < count; ++i) {
        double x = 0, y = 0;
        from->GetX(i, &x);
        from->GetY(i, &y);
        to->AddXY(x, error ? 1.6 * y : y, nullptr);
      }
    }
    return plot;
  }
  void Generate(IiXYPlotXPtr plot) {
    m_common.GenerateHDRLCompareReport(plot, m_report, m_printer, Definition("HDRLTestCmpRept.xml").c_str(), nullptr);
  }
};

TEST_F(HDRLCompareReportTest, FieldsFromTheCompareTextsAndThreeGraphs) {
  UseNoTexts();
  m_clock.Set({2026, 3, 5, 9, 7, 0, 0});
  IiXYPlotXPtr plot = ComparePlot();
  m_person->CancelFile().Answer(IDNO);
  Generate(plot);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "FV-101_HDRLCompareReport_2026_3_5_9h_7m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save HDRL Compare ReportAs");
  EXPECT_EQ(m_person->Asked()[1].text, "##PRINT_REPORT");
  const Expected fields = {
      {"TitleLbl", "##HDRLCMPREPORTTITLE"},
      {"FIleSettingsLbl", "##IDC_STATICFILEINFO"},
      {"File1TagLbl", "##IDC_STATICBODTAG"},
      {"File1DateLbl", "##IDC_STATICDATE"},
      {"File1NameLbl", "##IDC_STATICFILE"},
      {"File1Lbl", "##File1Lbl"},
      {"File2Lbl", "##File2Lbl"},
      {"PosnSetLbl", "##IDC_STATICPOSSET:"},
      {"HandDbandTitle", "##IDC_STATICHD"},
      {"RepeatTitle", "##IDC_STATICREP"},
      {"LinErrTitle", "##IDC_STATICLINERR"},
      {"HandDAvgTitle", "##IDC_STATICAVG"},
      {"HandDMaxTitle", "##IDC_STATICAVGMAX"},
      {"RepeatAvgTitle", "##IDC_STATICAVG"},
      {"RepeatMaxTitle", "##IDC_STATICAVGMAX"},
      {"Tag1Value", "FV-101"},
      {"Tag2Value", "FV-102"},
      {"TestDate1Value", "3/1/2026"},
      {"TestDate2Value", "3/4/2026"},
      {"FileName1Value", "before.hdrl"},
      {"FileName2Value", "after.hdrl"},
      {"PosSetTime", "3"},
      {"PosSetTime2", "3"},
      {"RepeatAvg1Value", "0.05"},
      {"RepeatAvg2Value", "0.08"},
      {"RepeatAvgDelta", "0.03"},
      {"RepeatMax1Value", "0.06"},
      {"RepeatMax2Value", "0.11"},
      {"RepeatMaxDelta", "0.05"},
      {"HandDAvg1Value", "0.61"},
      {"HandDAvg2Value", "0.95"},
      {"HandDAvgDelta", "0.34"},
      {"HandDMax1Value", "0.75"},
      {"HandDMax2Value", "1.20"},
      {"HandDMaxDelta", "0.45"},
      {"LinErr1Value", "0.2104"},
      {"LinErr2Value", "0.2991"},
      {"LinErrDelta", "0.0887"},
  };
  ExpectFields(fields);
  EXPECT_EQ(FieldText("Detail", "DeviceLine"), "<no field Detail.DeviceLine>");

  // The plot is left in the third graph; the page lays out its own again.
  _bstr_t title;
  ASSERT_EQ(plot->GetTitle(&title), S_OK);
  EXPECT_EQ(title.str(), "##HDRLPEVCMD");
  EXPECT_TRUE(Shown(plot, "LeastSquareLine2"));
  EXPECT_FALSE(Shown(plot, "Position"));
  for (const char* name : {"HDRCmpControl.bmp", "HDRCmpHDR.bmp", "HDRCmpLin.bmp"})
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Folder() + "/" + name))) << name;
}

TEST_F(HDRLCompareReportTest, ADefinitionWithoutAFieldShowsTheFailureAndSavesNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"name=\"LinErrDelta\"", "name=\"Other\""},
      {"name=\"HDRGrph\"", "name=\"Picture\""},
      {"name=\"HDRLCmpRep\"", "name=\"HDRLReport\""},
  };
  IiXYPlotXPtr plot = ComparePlot();
  for (const auto& [from, to] : cases) {
    SCOPED_TRACE(from);
    EditDefinition("HDRLTestCmpRept.xml", from, to);
    m_person->Answer(IDOK);
    const size_t before = m_person->Asked().size();
    Generate(plot);
    ASSERT_EQ(m_person->Asked().size(), before + 1);
    EXPECT_EQ(m_person->Asked().back().text, "Report Definition file could not be found/matched.");
    EXPECT_EQ(Printed(), 0);
    EditDefinition("HDRLTestCmpRept.xml", to, from);
  }
}

TEST_F(HDRLCompareReportTest, PdfShowsBothFilesAndTheirDifferences) {
  const std::string pdf = Folder() + "/hdrl-compare.pdf";
  m_person->AnswerFile(pdf).Answer(IDYES);
  Generate(ComparePlot());
  EXPECT_EQ(Printed(), 1);
  const std::string text = PdfText(pdf);
  ExpectShown(text, {"HDRL Test Comparison Report", "File Information", "Tag Name:", "File Date:", "Filename:",
                     "Position Settling Time:", "File 1", "FV-101", "3/1/2026", "before.hdrl", "File 2", "FV-102",
                     "after.hdrl", "Hysteresis and Deadband", "Repeatability", "Linearity Error", "0.61", "0.95",
                     "0.34", "0.2104", "0.0887", "Page 1/2", "Page 2/2"});
  EXPECT_EQ(text.find("PV-101"), std::string::npos);
  Screens(pdf, "hdrl-compare");
}

}  // namespace
