// The frame every report runs: the PDF offer, the print question, the one
// failure message, default names and the page footer.
#include <QFile>
#include <QFileInfo>

#include "report_fixture.h"
#include "platform/report/render.h"
#include "reports/report_frame.h"

namespace {

using plat::Question;

struct Flow {
  const char* name;
  bool save;
  int printAnswer;
  bool pdfWritten;
  int printed;
};

class ReportFrameTest : public ReportTest {};

TEST_F(ReportFrameTest, SaveAndPrintAnswersDecideWhatIsWrittenAndPrinted) {
  const Flow flows[] = {
      {"cancel then No", false, IDNO, false, 0},
      {"OK then No", true, IDNO, true, 0},
      {"cancel then Yes", false, IDYES, false, 1},
      {"OK then Yes", true, IDYES, true, 1},
  };
  int printedBefore = 0;
  for (const Flow& flow : flows) {
    SCOPED_TRACE(flow.name);
    const std::string pdf = Folder() + "/" + flow.name + ".pdf";
    // The dialog adds ".pdf" to a name typed without it.
    if (flow.save)
      m_person->AnswerFile(Folder() + "/" + flow.name);
    else
      m_person->CancelFile();
    m_person->Answer(flow.printAnswer);
    m_common.GenerateStrokeCalReport(m_report, m_printer, Definition("ActStrokeFricCalRept.xml").c_str(), nullptr);

    EXPECT_EQ(QFileInfo::exists(QString::fromStdString(pdf)), flow.pdfWritten);
    EXPECT_EQ(Printed() - printedBefore, flow.printed);
    printedBefore = Printed();
    const auto& asked = m_person->Asked();
    ASSERT_GE(asked.size(), 2u);
    const Question& save = asked[asked.size() - 2];
    EXPECT_EQ(save.kind, Question::Kind::SaveFile);
    EXPECT_EQ(save.title, "Save Stroke Calibration ReportAs");
    EXPECT_EQ(save.defaultExtension, "pdf");
    EXPECT_EQ(save.filter, "(*.pdf)|*.pdf|");
    EXPECT_EQ(save.flags, DWORD{6});
    const Question& print = asked.back();
    EXPECT_EQ(print.kind, Question::Kind::Message);
    EXPECT_EQ(print.text, "Do you want to print the report?");
    EXPECT_EQ(print.caption, "Print Report");
    EXPECT_EQ(print.type, UINT{MB_YESNO});
  }
  EXPECT_EQ(m_person->Asked().size(), 8u);  // no failure message on any road
}

TEST_F(ReportFrameTest, PrintQuestionBelongsToTheCallingPage) {
  CWnd page;
  m_person->CancelFile().Answer(IDNO);
  m_common.GenerateCommandCalReport(m_report, m_printer, Definition("AnaInputCalRept.xml").c_str(), &page);
  ASSERT_EQ(m_person->Asked().size(), 2u);
  EXPECT_EQ(m_person->Asked()[1].owner, &page);
}

struct Broken {
  const char* name;
  const char* file;
  std::string from, to;  // empty from: the file is removed
};

TEST_F(ReportFrameTest, AnyMissingPieceShowsTheOneMessageAndNothingElse) {
  const Broken cases[] = {
      {"definition file missing", "ActStrokeFricCalRept.xml", "", ""},
      {"report name absent", "ActStrokeFricCalRept.xml", "name=\"SensCalRept\"", "name=\"Other\""},
      {"title field absent", "ActStrokeFricCalRept.xml", "name=\"ActStrkFricCalTitleLbl\"", "name=\"Title\""},
      {"label-only field absent", "ActStrokeFricCalRept.xml", "name=\"StrkCalPosnLbl\"", "name=\"Posn\""},
      {"last mark absent", "ActStrokeFricCalRept.xml", "name=\"StrCalReqMask\"", "name=\"Mask\""},
      {"footer field named as in the other frame", "ActStrokeFricCalRept.xml", "name=\"PageLine\"",
       "name=\"PageLine1\""},
      {"footer section absent", "ActStrokeFricCalRept.xml", "name=\"Page Footer\"", "name=\"Footer\""},
  };
  for (const Broken& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(QString::fromStdString(Definition(c.file)));  // the case before may have removed it
    ASSERT_TRUE(QFile::copy(TARNIX_SOURCE_DIR "/resources/Dependencies/ActStrokeFricCalRept.xml",
                            QString::fromStdString(Definition(c.file))));
    if (c.from.empty())
      QFile::remove(QString::fromStdString(Definition(c.file)));
    else
      EditDefinition(c.file, c.from, c.to);
    const size_t before = m_person->Asked().size();
    m_person->Answer(IDOK);
    m_common.GenerateStrokeCalReport(m_report, m_printer, Definition(c.file).c_str(), nullptr);
    ASSERT_EQ(m_person->Asked().size(), before + 1);
    const Question& q = m_person->Asked().back();
    EXPECT_EQ(q.kind, Question::Kind::Message);
    EXPECT_EQ(q.text, "Report Definition file could not be found/matched.");
    EXPECT_EQ(q.caption, "");
    EXPECT_EQ(q.type, UINT{MB_OK});
    EXPECT_EQ(q.owner, nullptr);
  }
  EXPECT_EQ(Printed(), 0);
}

TEST_F(ReportFrameTest, StepReportFailsTheSameWayWhenItsDefinitionIsMissing) {
  IiXYPlotXPtr plot = StepPlot();
  _bstr_t title;
  ASSERT_EQ(plot->GetTitle(&title), S_OK);
  m_person->Answer(IDOK);
  m_common.GenerateStepTestReport(plot, m_report, m_printer, (Folder() + "/Missing.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 1u);
  EXPECT_EQ(m_person->Asked()[0].text, "Report Definition file could not be found/matched.");
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Folder() + "/StepTest.bmp")));
  _bstr_t after;
  ASSERT_EQ(plot->GetTitle(&after), S_OK);
  EXPECT_EQ(after.str(), title.str());  // the page's plot is left alone
}

TEST_F(ReportFrameTest, AnEmptyEngineInterfaceIsAFailureNotACrash) {
  m_person->Answer(IDOK);
  m_common.GenerateCommandCalReport(nullptr, m_printer, Definition("AnaInputCalRept.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 1u);
  EXPECT_EQ(m_person->Asked()[0].text, "Report Definition file could not be found/matched.");
}

TEST_F(ReportFrameTest, PrintingWithoutPrinterOrSinkKeepsTheSavedPdf) {
  ASSERT_EQ(m_printer->put_PrintSink(""), S_OK);
  if (qEnvironmentVariableIsSet("TARNIX_PRINT_SINK") || report::HasPrinter()) GTEST_SKIP() << "a printer is here";
  m_person->AnswerFile(Folder() + "/kept.pdf").Answer(IDYES).Answer(IDOK);
  m_common.GenerateStrokeCalReport(m_report, m_printer, Definition("ActStrokeFricCalRept.xml").c_str(), nullptr);
  ASSERT_EQ(m_person->Asked().size(), 3u);
  EXPECT_EQ(m_person->Asked()[2].text, "Report Definition file could not be found/matched.");
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(Folder() + "/kept.pdf")));
}

struct NameCase {
  const char* tag;
  plat::LocalTime time;
  int report;  // 0 stroke, 1 command, 2 step
  const char* expected;
};

TEST_F(ReportFrameTest, DefaultNamesComeFromTheTagAndOneClockReading) {
  const NameCase cases[] = {
      {"T1", {2026, 3, 5, 7, 4, 59, 999}, 0, "T1_StrokeCalibrationReport_2026_3_5_7h_4m"},
      {"", {2026, 3, 5, 7, 4, 0, 0}, 0, "_StrokeCalibrationReport_2026_3_5_7h_4m"},
      {"FV-7", {2027, 1, 1, 0, 0, 0, 0}, 1, "FV-7_CommandCalReport_2027_1_1_0h_0m"},
      {"PV-101", {2026, 12, 8, 7, 5, 0, 0}, 2, "PV-101_StepTestReport_2026_12_8_7h_5m"},
      {"", {2026, 12, 8, 7, 5, 0, 0}, 2, "_StepTestReport_2026_12_8_7h_5m"},
      {"A/B", {2026, 10, 31, 23, 59, 0, 0}, 1, "A_B_CommandCalReport_2026_10_31_23h_59m"},
      // The tag's padding stays out of the name.
      {"SIM01   ", {2026, 3, 5, 7, 4, 0, 0}, 0, "SIM01_StrokeCalibrationReport_2026_3_5_7h_4m"},
      {" PV 7   ", {2026, 12, 8, 7, 5, 0, 0}, 2, "PV 7_StepTestReport_2026_12_8_7h_5m"},
      {"        ", {2026, 3, 5, 7, 4, 0, 0}, 1, "_CommandCalReport_2026_3_5_7h_4m"},
  };
  IiXYPlotXPtr plot = StepPlot();
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.expected);
    m_clock.Set(c.time);
    m_common.m_strDeviceTag = c.tag;
    m_person->CancelFile().Answer(IDNO);
    if (c.report == 0)
      m_common.GenerateStrokeCalReport(m_report, m_printer, Definition("ActStrokeFricCalRept.xml").c_str(), nullptr);
    else if (c.report == 1)
      m_common.GenerateCommandCalReport(m_report, m_printer, Definition("AnaInputCalRept.xml").c_str(), nullptr);
    else
      m_common.GenerateStepTestReport(plot, m_report, m_printer, Definition("StepTestRept.xml").c_str(), nullptr);
    const auto& asked = m_person->Asked();
    ASSERT_GE(asked.size(), 2u);
    EXPECT_EQ(asked[asked.size() - 2].defaultName, c.expected);
  }
}

TEST_F(ReportFrameTest, FooterExpressionCarriesTheTranslatedPageWordInEitherFrame) {
  IiXYPlotXPtr plot = StepPlot();
  m_person->CancelFile().Answer(IDNO).CancelFile().Answer(IDNO);
  m_common.GenerateCommandCalReport(m_report, m_printer, Definition("AnaInputCalRept.xml").c_str(), nullptr);
  EXPECT_EQ(FieldText("Page Footer", "PageLine"), R"("Page " & [Page] & "/" & [Pages])");
  m_common.GenerateStepTestReport(plot, m_report, m_printer, Definition("StepTestRept.xml").c_str(), nullptr);
  EXPECT_EQ(FieldText("Page Footer", "PageLine1"), R"("Page " & [Page] & "/" & [Pages])");
}

TEST_F(ReportFrameTest, MissingPageKeyPrintsHashPageOnAOnePageReport) {
  UseNoTexts();
  const std::string pdf = Folder() + "/nokey.pdf";
  m_person->AnswerFile(pdf).Answer(IDNO);
  m_common.GenerateStrokeCalReport(m_report, m_printer, Definition("ActStrokeFricCalRept.xml").c_str(), nullptr);
  EXPECT_EQ(FieldText("Page Footer", "PageLine"), R"("##Page " & [Page] & "/" & [Pages])");
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("##Page 1/1"), std::string::npos) << text;
}

}  // namespace
