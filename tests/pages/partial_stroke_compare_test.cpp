// The partial stroke compare page: two saved tests loaded with "1..." and
// "2...", the boxes, the settings question and the report.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "diagnostics/compare/partial_stroke_compare.h"
#include "files/pst_file_fixture.h"
#include "support/report_probe.h"
#include "test_page_fixture.h"

namespace {

using View = CDiagnostics_PSTCompareView;
using pstfile::Stored;

// Each box and the channel it governs.
constexpr std::pair<int, const char*> kBoxes[] = {
    {1119, "Position"}, {1118, "Position2"}, {1112, "PositionDiff"}, {1120, "Command"},
    {1121, "Command2"}, {1113, "CommandDiff"}, {1126, "ILCmd"},      {1127, "ILCmd2"},
    {1116, "ILCmdDiff"}, {1128, "ILPOS"},    {1129, "ILPOS2"},       {1117, "ILPOSDiff"},
};

// Each edit and its compare text.
constexpr std::pair<int, size_t> kEdits[] = {
    {View::kTag1Id, 0},        {View::kDate1Id, 2},        {View::kName1Id, 4},        {View::kTag2Id, 1},
    {View::kDate2Id, 3},       {View::kName2Id, 5},        {View::kStart1Id, 6},       {View::kStart2Id, 7},
    {View::kStop1Id, 8},       {View::kStop2Id, 9},        {View::kRamp1Id, 10},       {View::kRamp2Id, 11},
    {View::kHold1Id, 12},      {View::kHold2Id, 13},       {View::kLimit1Id, 14},      {View::kLimit2Id, 15},
    {View::kBreakaway1Id, 16}, {View::kBreakaway2Id, 17},  {View::kBreakawayDiffId, 18}, {View::kToTarget1Id, 22},
    {View::kToTarget2Id, 23},  {View::kToTargetDiffId, 24}, {View::kResult1Id, 29},    {View::kResult2Id, 30},
};

class PSTComparePage : public testpages::DiagnosticPage<View, 25> {
 public:
  std::string Write(const char* name, const Stored& s) {
    const std::string path = TempFile(name);
    pstfile::Write(theApp().m_CommonFunctions, path, s);
    return path;
  }
  void Open(int button, const std::string& path) {
    person.AnswerFile(path);
    Click(button);
  }
  std::string Edits() {
    std::string all;
    for (const auto& [id, text] : kEdits) all += Field(id) + "|";
    return all;
  }
  std::string Boxes() {
    std::string marks;
    for (const auto& [box, channel] : kBoxes) marks += page->IsDlgButtonChecked(box) == BST_CHECKED ? '1' : '0';
    return marks;
  }
  std::string Shown() {
    std::string marks;
    for (const auto& [box, channel] : kBoxes) marks += testsupport::ChannelShown(page->GetComparePlot(), channel) ? '1' : '0';
    return marks;
  }
  size_t Points(const char* channel) { return testsupport::PlotPoints(page->GetComparePlot(), channel).size(); }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const _bstr_t& t : theApp().m_CommonFunctions.m_strPSTCompare) out.push_back(t.str());
    return out;
  }
};

TEST_F(PSTComparePage, TwoFilesSideBySideThenANewFirstFile) {
  EXPECT_FALSE(Enabled(View::kFile2Id));
  EXPECT_FALSE(Enabled(View::kPrintId));
  EXPECT_EQ(Boxes(), "000000000000");
  EXPECT_EQ(Shown(), "000000000000");
  page->OnFile2();  // sent before any file 1: nothing to compare with
  EXPECT_TRUE(person.Asked().empty());

  Stored a;
  a.results = {1.5, 655.35, 0};  // a time the device did not measure
  Stored b;
  b.settings[2] = 45;  // the time limit alone differs: no question
  b.results = {12.25, 9.5, 4};
  b.lag = 2;
  b.tag = "";
  Open(View::kFile1Id, Write("a.pst", a));
  EXPECT_TRUE(Enabled(View::kFile2Id));
  EXPECT_TRUE(Enabled(View::kPrintId));
  EXPECT_EQ(Boxes(), "100100100100");
  EXPECT_EQ(Shown(), "100100100100");
  const std::string name1 = Field(View::kName1Id);
  EXPECT_EQ(name1.substr(name1.size() - 5), "a.pst");
  // The times without the stored blank; the missing one keeps its mark.
  EXPECT_EQ(Edits(), "PV-1|12/8/2026|" + name1 + "||||20||80||5||2||30||1.50||| - |||Passed||");
  Open(View::kFile2Id, Write("b.pst", b));
  EXPECT_EQ(person.Asked().size(), 2u);
  EXPECT_EQ(Boxes(), "111111111111");
  EXPECT_EQ(Shown(), "111111111111");
  const std::string name2 = Field(View::kName2Id);
  // The differences as stored, blank included; none of a missing time.
  EXPECT_EQ(Edits(), "PV-1|12/8/2026|" + name1 + "|NO TAG|12/8/2026|" + name2 +
                         "|20|20|80|80|5|5|2|2|30|45|1.50|12.25|10.75| - |9.50| - |Passed||");
  EXPECT_EQ(Points("PositionDiff"), 10u);

  // A box hides and shows its channel only; the data stay.
  Click(1112);
  EXPECT_EQ(Shown(), "110111111111");
  Click(1112);
  EXPECT_EQ(Shown(), "111111111111");
  EXPECT_EQ(Points("PositionDiff"), 10u);

  // A new file 1: file 2 and the differences go.
  Open(View::kFile1Id, Write("b2.pst", b));
  EXPECT_EQ(Boxes(), "100100100100");
  EXPECT_EQ(Shown(), "100100100100");
  for (int id : {View::kTag2Id, View::kBreakaway2Id, View::kBreakawayDiffId, View::kResult2Id, View::kStart2Id})
    EXPECT_EQ(Field(id), "") << id;
  EXPECT_EQ(Points("Position2"), 0u);
  EXPECT_EQ(Field(View::kBreakaway1Id), "12.25");
  EXPECT_EQ(Field(View::kResult1Id), "");
}

TEST_F(PSTComparePage, CancelAndBadFilesLeaveThePageAsItWas) {
  Stored a;
  Stored b;
  b.lag = 1;
  Open(View::kFile1Id, Write("a.pst", a));
  Open(View::kFile2Id, Write("b.pst", b));
  const std::string edits = Edits(), boxes = Boxes();
  const std::vector<std::string> texts = Texts();
  Stored other = a;
  other.settings[3] = 8;  // another ramp time
  const std::string mismatch = Write("c.pst", other);
  const std::string garbage = TempFile("bad.pst");
  std::ofstream(garbage) << "garbage";

  struct Case {
    int button;
    std::string path;  // empty: the dialog cancelled
    int answer;        // the question's or the error message's; 0: none
  };
  const Case cases[] = {
      {View::kFile1Id, "", 0}, {View::kFile2Id, "", 0}, {View::kFile2Id, mismatch, IDCANCEL},
      {View::kFile1Id, garbage, IDOK}, {View::kFile2Id, garbage, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.path.empty())
      person.CancelFile();
    else
      person.AnswerFile(c.path);
    if (c.answer) person.Answer(c.answer);
    Click(c.button);
    EXPECT_EQ(person.Pending(), 0u);
    EXPECT_EQ(Edits(), edits);
    EXPECT_EQ(Boxes(), boxes);
    EXPECT_EQ(Texts(), texts);
    EXPECT_EQ(Points("Position2"), 10u);
  }
  EXPECT_EQ(person.Asked()[5].caption, "Compare");

  // OK to the question takes the file.
  person.AnswerFile(mismatch).Answer(IDOK);
  Click(View::kFile2Id);
  EXPECT_EQ(Field(View::kRamp2Id), "8");
}

TEST_F(PSTComparePage, PrintReportsExactlyWhatTheEditsShow) {
  Stored a;
  Stored b;
  b.results = {2, 3, 1};
  Open(View::kFile1Id, Write("a.pst", a));
  Open(View::kFile2Id, Write("b.pst", b));
  page->SetDlgItemText(View::kTag1Id, "typed over");
  Click(1113);  // the command difference left out of the picture
  const std::string shown = Shown();
  person.CancelFile().Answer(IDNO);
  Click(View::kPrintId);
  EXPECT_EQ(person.Pending(), 0u);
  EXPECT_EQ(Field(View::kTag1Id), "PV-1");  // file 1's tag as loaded
  const std::vector<std::string> texts = Texts();
  for (const auto& [id, text] : kEdits) EXPECT_EQ(texts[text], Field(id)) << id;
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "ResTimeValue1"), "1.50");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "ResTimeValueDiff"), " 0.50");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "Tag2Value"), "PV-1");
  EXPECT_EQ(Shown(), shown);
  EXPECT_EQ(person.Asked()[2].defaultName.substr(0, 22), "PV-1_PSTCompareReport_");
}

}  // namespace
