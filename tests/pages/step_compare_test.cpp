// The step comparison page on the comparison frame: "1...", "2...", the
// channel boxes, the settings question and Print Report, on step test files
// written by the step test save.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "diagnostics/compare/step_compare.h"
#include "support/report_probe.h"
#include "test_page_fixture.h"

namespace {

using View = CDiagnostics_StepCompareView;

const std::vector<int> kFile1Edits = {View::kTag1Id,   View::kDate1Id, View::kName1Id,
                                      View::kStart1Id, View::kStop1Id, View::kHold1Id};
const std::vector<int> kFile2Edits = {View::kTag2Id,   View::kDate2Id, View::kName2Id,
                                      View::kStart2Id, View::kStop2Id, View::kHold2Id};
// Each box and its channel.
const std::map<int, const char*> kBoxes = {
    {1119, "Position1"}, {1118, "Position2"}, {1112, "PositionDiff"}, {1120, "Command1"},
    {1121, "Command2"},  {1113, "CommandDiff"}, {1126, "ILCmd1"},    {1127, "ILCmd2"},
    {1116, "ILCmdDiff"}, {1128, "ILPOS1"},     {1129, "ILPOS2"},     {1117, "ILPOSDiff"}};

class StepComparePage : public testpages::DiagnosticPage<View, 21> {
 public:
  // A step test as the step test page saves it, with `points` points a
  // channel, the ys from `seed` up.
  std::string Save(const char* name, const char* hold, const char* tag, double seed, int points = 8) {
    IUnknownPtr control;
    control.CreateInstance(kXYPlotProgId);
    IiXYPlotXPtr plot(control);
    CCommonFunctions cf;
    cf.SetupStepPlot(plot);
    cf.SetupStepChannels(plot);
    for (LONG c = 0; c < 4; ++c) {
      IDispatchPtr channel;
      plot->GetChannel(c, &channel);
      for (int i = 0; i < points; ++i) IiXYPlotChannelPtr(channel)->AddXY(i * 0.25, seed + c + i, nullptr);
    }
    cf.m_strStepSettings = {"40", "60", hold};
    cf.m_strStepTag = tag;
    const std::string path = TempFile(name);
    person.AnswerFile(path);
    cf.SaveStepFile(plot);
    return path;
  }
  void Open(int button, const std::string& path) {
    person.AnswerFile(path);
    Click(button);
  }
  std::vector<std::string> Fields(const std::vector<int>& ids) {
    std::vector<std::string> texts;
    for (int id : ids) texts.push_back(Field(id));
    return texts;
  }
  // Checked boxes and shown channels, box by box.
  std::string Boxes() {
    std::string marks;
    for (const auto& [box, channel] : kBoxes)
      marks += std::string(page->IsDlgButtonChecked(box) == BST_CHECKED ? "x" : "-") + (Shown(channel) ? "s " : "h ");
    return marks;
  }
  std::string BoxesOnly(std::initializer_list<int> checked) {
    std::string marks;
    for (const auto& [box, channel] : kBoxes) {
      const bool on = std::find(checked.begin(), checked.end(), box) != checked.end();
      marks += on ? "xs " : "-h ";
    }
    return marks;
  }
  std::map<std::string, std::vector<std::pair<double, double>>> AllPoints() {
    std::map<std::string, std::vector<std::pair<double, double>>> all;
    for (const auto& [box, channel] : kBoxes) all[channel] = Points(channel);
    return all;
  }
  std::string Title() {
    _bstr_t title;
    page->GetPlot()->GetTitle(&title);
    return title.str();
  }
};

TEST_F(StepComparePage, OpensEmptyAndACancelledFirstFileKeepsItSo) {
  EXPECT_FALSE(Enabled(CComparePage::kFile2Id));
  EXPECT_FALSE(Enabled(CComparePage::kPrintId));
  EXPECT_EQ(Boxes(), BoxesOnly({}));
  EXPECT_EQ(Title(), "Step test");
  for (int id : kFile1Edits) EXPECT_TRUE(page->GetDlgItemAs<CEdit>(id)->IsReadOnly()) << id;
  for (int id : kFile2Edits) EXPECT_TRUE(page->GetDlgItemAs<CEdit>(id)->IsReadOnly()) << id;

  person.CancelFile();
  Click(CComparePage::kFile1Id);
  EXPECT_FALSE(Enabled(CComparePage::kFile2Id));
  EXPECT_FALSE(Enabled(CComparePage::kPrintId));
  EXPECT_EQ(person.Asked().size(), 1u);
}

TEST_F(StepComparePage, BothFilesThenAFailedAndANewFirstFile) {
  const std::string a = Save("a.stp", "5", "FV-101", 10);
  const std::string b = Save("b.stp", "5", "FV-102", 20, 6);
  const std::string c = Save("c.stp", "5", "FV-103", 30);
  Open(CComparePage::kFile1Id, a);
  EXPECT_TRUE(Enabled(CComparePage::kFile2Id));
  EXPECT_TRUE(Enabled(CComparePage::kPrintId));
  EXPECT_EQ(Fields(kFile1Edits),
            (std::vector<std::string>{"FV-101", "1/1/2026", a.substr(a.rfind('/') + 1), "40", "60", "5"}));
  EXPECT_EQ(Boxes(), BoxesOnly({1119, 1120, 1126, 1128}));

  Open(CComparePage::kFile2Id, b);
  EXPECT_EQ(Fields(kFile2Edits)[0], "FV-102");
  EXPECT_EQ(Fields(kFile2Edits)[5], "5");
  EXPECT_EQ(Boxes(), BoxesOnly({1119, 1118, 1112, 1120, 1121, 1113, 1126, 1127, 1116, 1128, 1129, 1117}));
  EXPECT_EQ(Points("PositionDiff").size(), 6u);
  EXPECT_EQ(Points("PositionDiff")[0].second, -10.0);

  // Cancelled, or a file that cannot be read: both files stay.
  const std::string shown = Boxes();
  const auto points = AllPoints();
  const std::vector<std::string> edits1 = Fields(kFile1Edits), edits2 = Fields(kFile2Edits);
  person.CancelFile();
  Click(CComparePage::kFile1Id);
  const std::string broken = TempFile("broken.stp");
  std::FILE* f = std::fopen(broken.c_str(), "w");
  std::fputs("not a step test\n", f);
  std::fclose(f);
  person.AnswerFile(broken).Answer(IDOK);
  Click(CComparePage::kFile1Id);
  EXPECT_EQ(person.Asked().back().text, "File open error.");
  EXPECT_EQ(Boxes(), shown);
  EXPECT_EQ(AllPoints(), points);
  EXPECT_EQ(Fields(kFile1Edits), edits1);
  EXPECT_EQ(Fields(kFile2Edits), edits2);

  // A new file 1 starts over with file 1 alone.
  Open(CComparePage::kFile1Id, c);
  EXPECT_EQ(Fields(kFile1Edits)[0], "FV-103");
  EXPECT_EQ(Fields(kFile2Edits), std::vector<std::string>(6));
  EXPECT_EQ(Boxes(), BoxesOnly({1119, 1120, 1126, 1128}));
  EXPECT_TRUE(Points("Position2").empty());
}

TEST_F(StepComparePage, ABoxHidesAndShowsItsChannelAndLeavesTheData) {
  Open(CComparePage::kFile1Id, Save("a.stp", "5", "FV-101", 10));
  Open(CComparePage::kFile2Id, Save("b.stp", "5", "FV-102", 20));
  const auto points = AllPoints();
  for (const auto& [box, channel] : kBoxes) {
    SCOPED_TRACE(channel);
    Click(box);
    EXPECT_FALSE(Shown(channel));
    EXPECT_EQ(page->IsDlgButtonChecked(box), static_cast<UINT>(BST_UNCHECKED));
    Click(box);
    EXPECT_TRUE(Shown(channel));
    EXPECT_EQ(AllPoints(), points);
  }
}

TEST_F(StepComparePage, AnotherHoldTimeAsksAndCancelKeepsThePage) {
  Open(CComparePage::kFile1Id, Save("a.stp", "5", "FV-101", 10));
  const std::string other = Save("b.stp", "10", "FV-102", 20);
  const std::string boxes = Boxes();
  person.AnswerFile(other).Answer(IDCANCEL);
  Click(CComparePage::kFile2Id);
  const plat::Question& q = person.Asked().back();
  EXPECT_EQ(q.caption, "Compare");
  EXPECT_EQ(q.owner, page->GetSafeHwnd());
  EXPECT_EQ(Fields(kFile2Edits), std::vector<std::string>(6));
  EXPECT_EQ(Boxes(), boxes);
  EXPECT_EQ(theApp().m_CommonFunctions.m_strStepCompare[11].str(), "0.0");

  person.AnswerFile(other).Answer(IDOK);
  Click(CComparePage::kFile2Id);
  EXPECT_EQ(Field(View::kHold2Id), "10");
  EXPECT_EQ(Points("ILPOSDiff")[0].second, -10.0);
}

TEST_F(StepComparePage, PrintCopiesWhatTheEditsShowAndRestoresTheGraph) {
  Open(CComparePage::kFile1Id, Save("a.stp", "5", "FV-101", 10));
  Click(1119);  // file 1's position unchecked
  // The stored texts and the edits apart: the identification of file 1
  // comes from the stored texts, everything else from the edits.
  TextArray<12>& texts = theApp().m_CommonFunctions.m_strStepCompare;
  texts[0] = "STORED";
  texts[6] = "99";
  const std::string pdf = TempFile("report.pdf");
  person.AnswerFile(pdf).Answer(IDNO);
  Click(CComparePage::kPrintId);
  const plat::Question& save = person.Asked().at(person.Asked().size() - 2);
  EXPECT_EQ(save.title, "Save Step Test Compare Report As");
  EXPECT_EQ(save.defaultName.rfind("STORED_StepTestCompareReport_", 0), 0u) << save.defaultName;
  activex::IReportX* report = page->GetReport();
  EXPECT_EQ(ReportName(report), "StepCmpRep");
  const std::map<std::string, std::string> expected = {
      {"Tag1Value", "STORED"}, {"Tag2Value", ""},   {"StartPosn", "40"},   {"StartPosn2", ""},
      {"HoldTime", "5"},       {"HoldTime2", ""},   {"TestDate1Value", "1/1/2026"}};
  for (const auto& [field, text] : expected) EXPECT_EQ(ReportFieldText(report, "Detail", field.c_str()), text) << field;
  EXPECT_EQ(Field(View::kTag1Id), "STORED");
  EXPECT_EQ(texts[6].str(), "40");
  // The graph as the boxes had it, not as the report's picture.
  EXPECT_EQ(Boxes(), BoxesOnly({1120, 1126, 1128}));
  EXPECT_EQ(Title(), "Step test");
}

}  // namespace
