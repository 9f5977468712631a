// The partial stroke comparison report: its fields from the compare texts,
// its name after file 1's tag, and the PDF a person gets.
#include <QFile>
#include <algorithm>
#include <utility>
#include <vector>

#include "report_fixture.h"

namespace {

class PSTCompareReportTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    ASSERT_TRUE(QFile::copy(TARNIX_SOURCE_DIR "/resources/Dependencies/PSTTestCmpRept.xml",
                            QString::fromStdString(Definition("PSTTestCmpRept.xml"))));
    m_common.m_strDeviceTag = "DEVICE";  // never the comparison's name
    const char* texts[31] = {"PV-101", "PV-102", "12/8/2026", "3/1/2027", "a.pst", "b.pst", "100", "100", "80",
                             "80", "10", "10", "5", "5", "30", "45", "1.50", "2.75", " 1.25", "x", "x", "x",
                             "7.25", " - ", " - ", "x", "x", "x", "x", "Passed",
                             "Failed: target not reached within the time limit"};
    for (size_t i = 0; i < 31; ++i) m_common.m_strPSTCompare[i] = texts[i];
  }

  // The compare plot with both files: file 2 is file 1 half a second late.
  IiPlotXPtr ComparePlot() {
    IiPlotXPtr file = PSTPlot();
    IUnknownPtr unknown;
    EXPECT_EQ(unknown.CreateInstance("iPlotLibrary.iPlotX"), S_OK);
    IiPlotXPtr plot(unknown);
    m_common.SetupPSTPlot(plot);
    m_common.SetupPSTCompareChannels(plot);
    const std::pair<const char*, const char*> traces[] = {
        {"Position", "Position"}, {"Command", "Command"}, {"ILCmd", "ILCmd"}, {"ILPos", "ILPOS"}};
    for (const auto& [from, to] : traces) {
      m_common.CopyPlotChannelPoints(from, to, true, file, plot);
      IiPlotChannelPtr source = m_common.GetPlotChannelByName(file, from);
      IiPlotChannelPtr late = m_common.GetPlotChannelByName(plot, _bstr_t(to) + "2");
      LONG n = 0;
      source->GetCount(&n);
      for (LONG i = 0; i < n; ++i) {
        double x = 0, y = 0;
        source->GetX(i, &x);
        source->GetY(std::max<LONG>(0, i - 10), &y);
        late->AddXY(x, y, nullptr);
      }
      m_common.ComputePlotChannelDelta(to, _bstr_t(to) + "2", _bstr_t(to) + "Diff", 18, true, plot);
    }
    return plot;
  }
  void Generate(IiPlotXPtr plot, const char* definition = "PSTTestCmpRept.xml") {
    m_common.GeneratePSTCompareReport(plot, m_report, m_printer, Definition(definition).c_str(), nullptr);
  }
};

TEST_F(PSTCompareReportTest, FieldsComeFromTheCompareTextsAsTheyStand) {
  UseNoTexts();
  m_clock.Set({2014, 5, 7, 9, 5, 0, 0});
  IiPlotXPtr plot = ComparePlot();
  m_common.ShowChannel2(plot, "CommandDiff", 0);
  m_person->CancelFile().Answer(IDNO);
  Generate(plot);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[0].defaultName, "PV-101_PSTCompareReport_2014_5_7_9h_5m");
  EXPECT_EQ(m_person->Asked()[0].title, "Save PST Compare ReportAs");
  const Expected fields = {
      {"TitleLbl", "##PSTCMPREPORTTITLE"},
      {"FIleSettingsLbl", "##IDC_STATICFILEINFO"},
      {"File1TagLbl", "##IDC_STATICBODTAG"},
      {"File1DateLbl", "##IDC_STATICDATE"},
      {"File1NameLbl", "##IDC_STATICFILE"},
      {"File1Lbl", "##File1Lbl"},
      {"File2Lbl", "##File2Lbl"},
      {"Tag1Value", "PV-101"},
      {"Tag2Value", "PV-102"},
      {"TestDate1Value", "12/8/2026"},
      {"TestDate2Value", "3/1/2027"},
      {"FileName1Value", "a.pst"},
      {"FileName2Value", "b.pst"},
      {"PSTSetTitle", "##IDC_STATICPARTSET"},
      {"StartTitle", "##IDC_STATICSTARTPOS"},
      {"StopTitle", "##IDC_STATICSTOPPOS"},
      {"TestRampTitle1", "##IDC_STATICTESTDUR"},
      {"TestHoldTitle", "##IDC_STATICHOLDTIME"},
      {"TgtTimeTitle", "##IDC_STATICBKWTIMLIM"},
      {"StartPosValue1", "100"},
      {"StartPosValue2", "100"},
      {"StopPosValue1", "80"},
      {"StopPosValue2", "80"},
      {"TestRampValue1", "10"},
      {"TestRampValue2", "10"},
      {"TestDurValue1", "5"},
      {"TestDurValue2", "5"},
      {"TimeTgtValue1", "30"},
      {"TimeTgtValue2", "45"},
      {"BrkAwayTitle", "##IDC_STATICBWINFO"},
      {"ResTimeTitle", "##IDC_STATICBWTIME"},
      {"ResTgtTimeTitle", "##IDC_STATICTIMTOTGT"},
      {"TestResultTitle", "##IDC_STATICBWRES"},
      {"ResTimeValue1", "1.50"},
      {"ResTimeValue2", "2.75"},
      {"ResTimeValueDiff", " 1.25"},
      {"ResTgtTimeValue1", "7.25"},
      {"ResTgtTimeValue2", " - "},
      {"ResTgtTimeValueDiff", " - "},
      {"ResTestResult1", "Passed"},
      {"ResTestResult2", "Failed: target not reached within the time limit"},
  };
  ExpectFields(fields);
  EXPECT_EQ(FieldText("Page Footer", "PageLine1"), "\"##Page \" & [Page] & \"/\" & [Pages]");
  // No graph set-up: the channels the page left off stay off.
  VARIANT_BOOL visible = -1;
  m_common.GetPlotChannelByName(plot, "CommandDiff")->GetVisible(&visible);
  EXPECT_EQ(visible, 0);

  // Before any file the name begins with the middle part.
  m_common.m_strPSTCompare[0] = "";
  m_person->CancelFile().Answer(IDNO);
  Generate(plot);
  ASSERT_EQ(m_person->Asked().size(), 4u);
  EXPECT_EQ(m_person->Asked()[2].defaultName, "_PSTCompareReport_2014_5_7_9h_5m");
}

TEST_F(PSTCompareReportTest, ADefinitionWithoutAFieldShowsTheFailureOnly) {
  for (const char* field : {"name=\"ResTestResult2\"", "name=\"CntrolGrph\"", "name=\"PSTCmpRep\""}) {
    SCOPED_TRACE(field);
    EditDefinition("PSTTestCmpRept.xml", field, "name=\"Other\"");
    m_person->Answer(IDOK);
    const size_t before = m_person->Asked().size();
    Generate(ComparePlot());
    ASSERT_EQ(m_person->Asked().size(), before + 1);
    EXPECT_EQ(m_person->Asked().back().text, "Report Definition file could not be found/matched.");
    EditDefinition("PSTTestCmpRept.xml", "name=\"Other\"", field);
  }
}

TEST_F(PSTCompareReportTest, PdfShowsBothFilesOnOnePage) {
  m_clock.Set({2026, 12, 8, 9, 5, 0, 0});
  const std::string pdf = Folder() + "/pst-compare.pdf";
  m_person->AnswerFile(pdf).Answer(IDNO);
  Generate(ComparePlot());
  const std::string text = PdfText(pdf);
  ExpectShown(text, {"Partial Stroke Test Comparison Report", "File Information", "PV-101", "PV-102", "12/8/2026",
                     "a.pst", "b.pst", "Start Position:", "Time Limit:", "45", "Break-Away", "1.25", "Passed",
                     "Failed: target not", "Page 1/1"});
  Screens(pdf, "pst-compare");
}

}  // namespace
