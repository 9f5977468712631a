// The ramp comparison page on files written by the ramp test's own save:
// its two views and the channel boxes, the loads and their refusals, and
// what Print Report hands to the report.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "diagnostics/compare/ramp_compare.h"
#include "files/fixture.h"
#include "support/report_probe.h"
#include "test_page_fixture.h"

namespace {

using View = CDiagnostics_RampCompareView;

// Every box, its time channel and its signature channels.
struct Box {
  int id;
  const char* time;
  const char* opening;  // null: the command, no signature channel
  const char* closing;
};
constexpr Box kBoxes[] = {
    {1119, "Position1", "PosnvCmdOpen1", "PosnvCmdClose1"},
    {1118, "Position2", "PosnvCmdOpen2", "PosnvCmdClose2"},
    {1112, "PositionDiff", "PosnvCmdOpenDiff", "PosnvCmdCloseDiff"},
    {1120, "Command1", nullptr, nullptr},
    {1121, "Command2", nullptr, nullptr},
    {1113, "CommandDiff", nullptr, nullptr},
    {1126, "ILCmd1", "ILCmdvCmdOpen1", "ILCmdvCmdClose1"},
    {1127, "ILCmd2", "ILCmdvCmdOpen2", "ILCmdvCmdClose2"},
    {1116, "ILCmdDiff", "ILCmdvCmdOpenDiff", "ILCmdvCmdCloseDiff"},
    {1128, "ILPos1", "ILPosnvCmdOpen1", "ILPosnvCmdClose1"},
    {1129, "ILPos2", "ILPosnvCmdOpen2", "ILPosnvCmdClose2"},
    {1117, "ILPosDiff", "ILPosnvCmdOpenDiff", "ILPosnvCmdCloseDiff"},
};
// The value edits, file 1 then file 2, and the unit labels.
constexpr int kFile1Edits[] = {899, 909, 1109, 891, 892, 893, 894, 356, 400, 408};
constexpr int kFile2Edits[] = {910, 914, 1111, 895, 896, 897, 898, 357, 401, 409};

struct RampTest {
  const char* tag = "FV-101";
  const char* hold = "2";
  BYTE bidirectional = 1;
  BYTE strokeCode = 49;
  double seed = 1.0;
  int points = 5;
};

class RampComparePage : public testpages::DiagnosticPage<View, 19> {
 public:
  std::string Save(const char* name, const RampTest& t) {
    CCommonFunctions saver;
    IiXYPlotXPtr plot(filetest::NewXYPlot());
    saver.SetupRampPlot(plot);
    saver.SetupRampTestChannels(plot);
    for (LONG c = 0; c < 10; ++c)
      for (int i = 0; i < t.points; ++i) filetest::ChannelAt(plot, c)->AddXY(i, t.seed * (c + 1) + i, nullptr);
    saver.m_strRampSettings = {"10", "90", t.hold, "20"};
    saver.m_strRampTag = t.tag;
    saver.m_bRampBidirectional = t.bidirectional;
    saver.m_strRampStrokeLength = "1.5";
    saver.m_nRampStrokeUnitCode = t.strokeCode;
    saver.m_strRampActuatorSize = "69";
    saver.m_nRampAreaUnitCode = 0;
    const std::string path = TempFile(name);
    person.AnswerFile(path);
    saver.SaveRampFile(plot);
    return path;
  }
  void Open1(const std::string& path) {
    person.AnswerFile(path);
    Click(CComparePage::kFile1Id);
  }
  void Open2(const std::string& path) {
    person.AnswerFile(path);
    Click(CComparePage::kFile2Id);
  }
  bool Checked(int id) { return page->IsDlgButtonChecked(id) == BST_CHECKED; }
  std::vector<std::string> Edits(const int (&ids)[10]) {
    std::vector<std::string> texts;
    for (int id : ids) texts.push_back(Field(id));
    return texts;
  }
  // The shown channels, by name.
  std::vector<std::string> ShownChannels() {
    std::vector<std::string> shown;
    for (const Box& b : kBoxes)
      for (const char* name : {b.time, b.opening, b.closing})
        if (name && Shown(name)) shown.push_back(name);
    return shown;
  }
  std::map<std::string, size_t> PointCounts() {
    std::map<std::string, size_t> counts;
    for (const Box& b : kBoxes)
      for (const char* name : {b.time, b.opening, b.closing})
        if (name) counts[name] = Points(name).size();
    return counts;
  }
  bool AxisShown(bool x, const char* name) {
    IiPlotAxisPtr axis;
    x ? page->GetPlot()->GetXAxisByName(name, &axis) : page->GetPlot()->GetYAxisByName(name, &axis);
    VARIANT_BOOL visible = 0, enabled = 0;
    axis->GetVisible(&visible);
    axis->GetEnabled(&enabled);
    return visible && enabled;
  }
  std::string PlotTitle() {
    _bstr_t title;
    page->GetPlot()->GetTitle(&title);
    return title.str();
  }
};

using testpages::Text;

TEST_F(RampComparePage, StartsEmptyInTheRampViewAndSwitchesViewsWithoutFiles) {
  EXPECT_FALSE(Enabled(CComparePage::kFile2Id));
  EXPECT_FALSE(Enabled(CComparePage::kPrintId));
  EXPECT_EQ(Field(1419), Text("IDC_CHECKBIDIR") + ":");
  for (const Box& b : kBoxes) {
    EXPECT_TRUE(Enabled(b.id));
    EXPECT_FALSE(Checked(b.id));
  }
  EXPECT_EQ(PlotTitle(), Text("IDD_DIAGNOSTIC_RAMP_TEST"));
  EXPECT_FALSE(Enabled(View::kRampViewId));
  EXPECT_TRUE(AxisShown(true, "RampX"));
  EXPECT_FALSE(AxisShown(true, "CmdX"));

  Click(View::kSignalViewId);
  EXPECT_EQ(page->GetViewMode(), View::kSignalView);
  EXPECT_EQ(PlotTitle(), Text("SIGVCMD"));
  EXPECT_FALSE(Enabled(View::kSignalViewId));
  EXPECT_TRUE(Enabled(View::kRampViewId));
  EXPECT_FALSE(AxisShown(true, "RampX"));
  EXPECT_TRUE(AxisShown(true, "CmdX"));
  EXPECT_TRUE(AxisShown(false, "RampPerc"));
  for (const Box& b : kBoxes) EXPECT_EQ(Enabled(b.id), b.opening != nullptr) << b.time;
  EXPECT_TRUE(ShownChannels().empty());
  // "2..." before "1..." finds nothing to compare with.
  page->OnFile2();
  EXPECT_TRUE(person.Asked().empty());
}

TEST_F(RampComparePage, EachBoxShowsItsChannelsInTheViewShownAndTouchesNoData) {
  const std::string a = Save("a.rmp", {});
  Open1(a);
  Open2(Save("b.rmp", {.tag = "FV-202", .seed = 2}));
  const auto counts = PointCounts();
  for (const bool signal : {false, true}) {
    Click(signal ? View::kSignalViewId : View::kRampViewId);
    for (const Box& b : kBoxes) {
      SCOPED_TRACE(std::string(b.time) + (signal ? " in the signal view" : " in the ramp view"));
      std::vector<std::string> mine = {b.time};
      if (signal) mine = b.opening ? std::vector<std::string>{b.opening, b.closing} : std::vector<std::string>{};
      const std::vector<std::string> before = ShownChannels();
      if (!Enabled(b.id)) continue;  // the command in the signal view
      Click(b.id);
      std::vector<std::string> after = ShownChannels();
      for (const std::string& name : mine) EXPECT_FALSE(Shown(name.c_str())) << name;
      for (const std::string& name : mine) after.push_back(name);
      std::sort(after.begin(), after.end());
      std::vector<std::string> sortedBefore = before;
      std::sort(sortedBefore.begin(), sortedBefore.end());
      EXPECT_EQ(after, sortedBefore);  // only the box's own went
      Click(b.id);
      EXPECT_EQ(ShownChannels(), before);
    }
  }
  EXPECT_EQ(PointCounts(), counts);
  // The command boxes keep their state in the signal view and count again
  // in the ramp view.
  page->CheckDlgButton(1121, BST_UNCHECKED);
  Click(View::kRampViewId);
  EXPECT_FALSE(Shown("Command2"));
  EXPECT_TRUE(Shown("Command1"));
}

TEST_F(RampComparePage, LoadsShowBothFilesAndANewFileOneStartsOver) {
  const std::string a = Save("a.rmp", {});
  Open1(a);
  EXPECT_TRUE(Enabled(CComparePage::kFile2Id));
  EXPECT_TRUE(Enabled(CComparePage::kPrintId));
  const plat::LocalTime now = plat::Time().Now();
  const std::string date =
      std::to_string(now.month) + "/" + std::to_string(now.day) + "/" + std::to_string(now.year);
  EXPECT_EQ(Edits(kFile1Edits), (std::vector<std::string>{"FV-101", date, std::filesystem::path(a).filename(), "10",
                                                           "90", "2", "20", "1.5", "69.0", "Yes"}));
  EXPECT_EQ(Field(View::kStrokeUnitId), "mm");
  EXPECT_EQ(Field(View::kAreaUnitId), "in\u00B2");
  EXPECT_EQ(Edits(kFile2Edits), std::vector<std::string>(10, ""));
  EXPECT_EQ(ShownChannels(), (std::vector<std::string>{"Position1", "Command1", "ILCmd1", "ILPos1"}));

  // File 2 from the signal view: back in the ramp view with everything.
  Click(View::kSignalViewId);
  Open2(Save("b.rmp", {.tag = "FV-202", .bidirectional = 1, .strokeCode = 57, .seed = 2}));
  EXPECT_EQ(page->GetViewMode(), View::kRampView);
  EXPECT_EQ(Edits(kFile2Edits)[0], "FV-202");
  EXPECT_EQ(Edits(kFile2Edits).back(), "Yes");
  EXPECT_EQ(Field(View::kStrokeUnitId), "mm");  // file 1's units stay
  for (const Box& b : kBoxes) EXPECT_TRUE(Checked(b.id));
  EXPECT_EQ(ShownChannels().size(), 12u);
  EXPECT_EQ(Points("PositionDiff").front().second, -1.0);

  Open1(a);
  EXPECT_EQ(Edits(kFile2Edits), std::vector<std::string>(10, ""));
  for (const Box& b : kBoxes) EXPECT_EQ(Checked(b.id), b.id == 1119 || b.id == 1120 || b.id == 1126 || b.id == 1128);
  EXPECT_EQ(ShownChannels(), (std::vector<std::string>{"Position1", "Command1", "ILCmd1", "ILPos1"}));
  EXPECT_TRUE(Points("Position2").empty());
}

TEST_F(RampComparePage, AShortFileTwoLeavesFileOnesSignalCurvesInViewAndInTheReport) {
  Open1(Save("a.rmp", {}));
  Open2(Save("b.rmp", {.seed = 2, .points = 1}));
  // File 1's curves reach command 4 and position 14, file 2's 20.
  const auto inView = [&] {
    EXPECT_EQ(Axis(true, "CmdX"), std::make_pair(0.0, 4.0));
    const auto [min, span] = Axis(false, "RampPerc");
    EXPECT_LE(min, 1.0);
    EXPECT_GE(min + span, 20.0);
  };
  Click(View::kSignalViewId);
  inView();
  person.CancelFile().Answer(IDNO);
  Click(CComparePage::kPrintId);
  inView();
}

TEST_F(RampComparePage, ARefusedOrFailedLoadLeavesThePageAsItWas) {
  Open1(Save("a.rmp", {}));
  Open2(Save("b.rmp", {.seed = 2}));
  Click(View::kSignalViewId);
  const auto file1 = Edits(kFile1Edits), file2 = Edits(kFile2Edits);
  const auto shown = ShownChannels();
  const auto counts = PointCounts();
  const auto texts = theApp().m_CommonFunctions.m_strRampCompare;
  auto unchanged = [&] {
    EXPECT_EQ(Edits(kFile1Edits), file1);
    EXPECT_EQ(Edits(kFile2Edits), file2);
    EXPECT_EQ(ShownChannels(), shown);
    EXPECT_EQ(PointCounts(), counts);
    EXPECT_EQ(theApp().m_CommonFunctions.m_strRampCompare, texts);
    EXPECT_EQ(page->GetViewMode(), View::kSignalView);
  };

  // Another hold time and no bi-directional run: the question, then Cancel.
  person.AnswerFile(Save("c.rmp", {.tag = "FV-303", .hold = "5", .bidirectional = 0})).Answer(IDCANCEL);
  Click(CComparePage::kFile2Id);
  EXPECT_EQ(person.Asked().back().caption, "Compare");
  EXPECT_EQ(person.Asked().back().owner, page->GetSafeHwnd());
  unchanged();

  const std::string broken = TempFile("broken.rmp");
  filetest::WriteFile(broken, "not a plot file");
  for (const int button : {CComparePage::kFile1Id, CComparePage::kFile2Id}) {
    person.AnswerFile(broken).Answer(IDOK);
    Click(button);
    EXPECT_EQ(person.Asked().back().text, "File open error.");
    unchanged();
    person.CancelFile();
    Click(button);
    unchanged();
  }
}

TEST_F(RampComparePage, PrintCopiesWhatTheEditsShowAndReturnsToTheRampView) {
  Open1(Save("a.rmp", {.tag = "FV-101", .bidirectional = 0}));
  // Only file 1: file 2's values print empty.
  person.CancelFile().Answer(IDNO);
  Click(CComparePage::kPrintId);
  activex::IReportX* report = page->GetReport();
  EXPECT_EQ(ReportName(report), "RampCmpRep");
  const auto field = [&](const char* name) { return ReportFieldText(report, "Detail", name); };
  EXPECT_EQ(field("Tag1Value"), "FV-101");
  EXPECT_EQ(field("BiDir1Value"), "No");
  EXPECT_EQ(field("BiDir2Value"), "");
  EXPECT_EQ(field("Tag2Value"), "");
  EXPECT_EQ(field("HoldTime2"), "");

  // A file 2 with another hold time, taken all the same.
  person.AnswerFile(Save("b.rmp", {.tag = "FV-202", .hold = "4", .bidirectional = 1, .strokeCode = 57}))
      .Answer(IDOK);
  Click(CComparePage::kFile2Id);
  Click(View::kSignalViewId);
  page->SetDlgItemText(899, "edited");  // file 1's identification is written again first
  page->SetDlgItemText(891, "11");
  person.CancelFile().Answer(IDNO);
  Click(CComparePage::kPrintId);
  EXPECT_EQ(field("Tag1Value"), "FV-101");
  EXPECT_EQ(field("StartPosn"), "11");
  EXPECT_EQ(field("Tag2Value"), "FV-202");
  EXPECT_EQ(field("HoldTime"), "2");
  EXPECT_EQ(field("HoldTime2"), "4");
  EXPECT_EQ(field("BiDir2Value"), "Yes");
  EXPECT_EQ(field("SLenUnit"), "mm");  // the unit label shows file 1's
  EXPECT_EQ(page->GetViewMode(), View::kRampView);
  EXPECT_EQ(ShownChannels().size(), 12u);
}

}  // namespace
