// The HDRL comparison page on files of known results: which channels each
// graph shows after loads that worked or were refused, what the boxes show,
// and Print Report printing exactly the boxes.
#include "diagnostics/compare/hdrl_compare.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/report_probe.h"
#include "support/hdrl_run_file.h"
#include "test_page_fixture.h"

namespace {

using View = CDiagnostics_HDRLCompareView;
using Names = std::set<std::string>;

constexpr const char* kAllChannels[] = {
    "Position",      "Command",        "Position2",       "Command2",         "1stCycle-Incr", "1stCycle-Incr2",
    "1stCycle-Decr", "1stCycle-Decr2", "2ndCycle-Incr",   "2ndCycle-Incr2",   "2ndCycle-Decr", "2ndCycle-Decr2",
    "AverageError",  "AverageError2",  "LeastSquareLine", "LeastSquareLine2",
};
const Names kControl1 = {"Position", "Command"};
const Names kControl2 = {"Position2", "Command2"};
const Names kCycles1 = {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"};
const Names kCycles2 = {"1stCycle-Incr2", "1stCycle-Decr2", "2ndCycle-Incr2", "2ndCycle-Decr2"};
const Names kLinearity1 = {"AverageError", "LeastSquareLine"};
const Names kLinearity2 = {"AverageError2", "LeastSquareLine2"};

Names Both(const Names& a, const Names& b) {
  Names out = a;
  out.insert(b.begin(), b.end());
  return out;
}

// Result boxes of file 1, file 2 and the differences.
constexpr int kFile1Results[] = {594, 595, 592, 593, 604};
constexpr int kFile2Results[] = {596, 598, 600, 602, 605, 597, 599, 601, 603, 606};

class HDRLComparePage : public testpages::DiagnosticPage<View, 23> {
 protected:
  void SetUp() override {
    testpages::DiagnosticPage<View, 23>::SetUp();
    if (HasFatalFailure()) return;
    a = Write("a.hdrl", 1, "2", "FV101");
    b = Write("b.hdrl", 2, "2", "FV102");
  }
  std::string Write(const char* name, double scale, const char* settlingTime, const char* tag, int steps = 49) {
    const std::string path = TempFile(name);
    CCommonFunctions scratch;
    testsupport::WriteHDRLRun(scratch, person, path, NewPlot(), scale, settlingTime, tag, steps);
    return path;
  }
  static IiXYPlotXPtr NewPlot() {
    IUnknownPtr control;
    control.CreateInstance(kXYPlotProgId);
    return IiXYPlotXPtr(control);
  }
  void Load(int button, const std::string& path, int question = 0) {
    if (path.empty())
      person.CancelFile();
    else
      person.AnswerFile(path);
    if (question) person.Answer(question);
    Click(button);
  }
  Names Visible() {
    Names shown;
    for (const char* name : kAllChannels)
      if (Shown(name)) shown.insert(name);
    return shown;
  }
  std::vector<std::string> Boxes(const int* ids, size_t n) {
    std::vector<std::string> out;
    for (size_t i = 0; i < n; ++i) out.push_back(Field(ids[i]));
    return out;
  }
  std::string a, b;
};

TEST_F(HDRLComparePage, EachGraphShowsWhatTheLoadsLeft) {
  const int kFile1 = View::kFile1Id, kFile2 = View::kFile2Id;
  struct Case {
    const char* what;
    std::vector<std::pair<int, bool>> loads;  // button, whether it succeeds (false: the dialog is cancelled)
    int graph;
    Names visible;
  };
  const Case cases[] = {
      {"nothing loaded", {}, 1, {}},
      {"file 1", {{kFile1, true}}, 0, kControl1},
      {"both files", {{kFile1, true}, {kFile2, true}}, 1, Both(kCycles1, kCycles2)},
      {"file 2 cancelled, none shown before", {{kFile1, true}, {kFile2, false}}, 2, kLinearity1},
      // The refused load keeps its curves: the graph shows both files.
      {"file 2 cancelled after one was shown",
       {{kFile1, true}, {kFile2, true}, {kFile2, false}},
       2,
       Both(kLinearity1, kLinearity2)},
      {"file 1 cancelled after a comparison",
       {{kFile1, true}, {kFile2, true}, {kFile1, false}},
       1,
       Both(kCycles1, kCycles2)},
      {"file 1 again after a comparison", {{kFile1, true}, {kFile2, true}, {kFile1, true}}, 0, kControl1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& [button, ok] : c.loads) Load(button, ok ? (button == kFile1 ? a : b) : "");
    Click(View::kGraphButtons[c.graph]);
    EXPECT_EQ(Visible(), c.visible);
    for (int g = 0; g < 3; ++g) EXPECT_EQ(Enabled(View::kGraphButtons[g]), g != c.graph) << g;
  }
}

TEST_F(HDRLComparePage, BoxesFollowTheFilesAndRefusalsKeepThem) {
  EXPECT_FALSE(Enabled(View::kFile2Id));
  EXPECT_FALSE(Enabled(View::kPrintId));
  Load(View::kFile1Id, a);
  EXPECT_TRUE(Enabled(View::kFile2Id));
  EXPECT_TRUE(Enabled(View::kPrintId));
  EXPECT_EQ(Field(899), "FV101");
  EXPECT_EQ(Field(1109), std::filesystem::path(a).filename().string());
  EXPECT_EQ(Field(607), "2");
  // Two decimals, four for the linearity error, no leading blanks.
  EXPECT_EQ(Boxes(kFile1Results, 5), (std::vector<std::string>{"0.50", "0.50", "0.25", "0.25", "0.6000"}));
  EXPECT_EQ(Boxes(kFile2Results, 10), std::vector<std::string>(10, ""));

  Load(View::kFile2Id, b);
  EXPECT_EQ(Field(910), "FV102");
  EXPECT_EQ(Boxes(kFile2Results, 10), (std::vector<std::string>{"1.00", "1.00", "0.50", "0.50", "1.2000", "0.50",
                                                                "0.50", "0.25", "0.25", "0.6000"}));
  const std::vector<std::pair<double, double>> position2 = Points("Position2");
  ASSERT_EQ(position2.size(), 49u);

  // Another settling time refused: boxes and curves of file 2 stay.
  const std::string other = Write("other.hdrl", 3, "5", "FV103");
  Load(View::kFile2Id, other, IDCANCEL);
  EXPECT_EQ(Field(910), "FV102");
  EXPECT_EQ(theApp().m_CommonFunctions.m_strHDRLCompare[1].str(), "FV102");
  EXPECT_EQ(Points("Position2"), position2);

  // A run with no repeatability or hysteresis shows empty boxes, not 0.00.
  const std::string run30 = Write("short.hdrl", 1, "2", "FV104", 30);
  Load(View::kFile1Id, run30);
  EXPECT_EQ(Boxes(kFile1Results, 5), (std::vector<std::string>{"", "", "", "", "0.6000"}));
  EXPECT_EQ(Boxes(kFile2Results, 10), std::vector<std::string>(10, ""));
  EXPECT_TRUE(Points("Position2").empty());
}

TEST_F(HDRLComparePage, PrintReportPrintsTheBoxesAndComesBackToTheControlSignal) {
  Load(View::kFile1Id, a);
  Click(View::kLinearityId);
  person.CancelFile().Answer(IDNO);
  Click(View::kPrintId);
  activex::IReportX* report = page->GetReport();
  EXPECT_EQ(ReportName(report), "HDRLCmpRep");
  const std::string name = std::filesystem::path(a).filename().string();
  const std::pair<const char*, const char*> fields[] = {
      {"Tag1Value", "FV101"},     {"FileName1Value", name.c_str()},
      {"PosSetTime", "2"},        {"HandDAvg1Value", "0.50"},
      {"LinErr1Value", "0.6000"}, {"Tag2Value", ""},
      {"HandDAvg2Value", ""},     {"LinErrDelta", ""},
  };
  for (const auto& [field, text] : fields) EXPECT_EQ(ReportFieldText(report, "Detail", field), text) << field;
  // The compare texts hold what the boxes showed.
  EXPECT_EQ(theApp().m_CommonFunctions.m_strHDRLCompare[14].str(), "0.50");
  EXPECT_FALSE(Enabled(View::kControlSignalId));
  EXPECT_TRUE(Enabled(View::kLinearityId));
  EXPECT_EQ(Visible(), kControl1);
  _bstr_t title;
  page->GetPlot()->GetTitle(&title);
  EXPECT_EQ(title.str(), TheLanguageTable().Lookup("HDRLTITLETEXT").str());
}

}  // namespace
