// The HDRL comparison's loaders on files written by the HDRL test's saver
// (results known in advance, support/hdrl_run_file.h): texts, copied and
// rebuilt runs, differences, the settling time question, and files or
// answers that leave the comparison as it was.
#include "files/kinds_fixture.h"
#include "support/hdrl_run_file.h"

namespace {

using namespace kindtest;
using Texts23 = std::vector<std::string>;

class HDRLCompareFiles : public KindFiles {
 protected:
  void SetUp() override {
    filePlot = NewPlot<IiXYPlotXPtr>();
    cf.SetupHDRLPlots(filePlot);
    cf.SetupHDRLCompareChannels(filePlot);
    comparePlot = NewPlot<IiXYPlotXPtr>();
    cf.SetupHDRLPlots(comparePlot);
    cf.SetupHDRLCompareChannels2(comparePlot);
  }
  std::string Write(const char* name, double scale, const char* settlingTime, const char* tag, int steps = 49) {
    const std::string path = folder / name;
    testsupport::WriteHDRLRun(cf, person, path, NewPlot<IiXYPlotXPtr>(), scale, settlingTime, tag, steps);
    return path;
  }
  bool Load1(const std::string& path) {
    person.AnswerFile(path);
    return cf.LoadHDRLCompareFile1(filePlot, comparePlot);
  }
  // question: the answer to the settling time question, 0 when none is due.
  bool Load2(const std::string& path, int question = 0) {
    person.AnswerFile(path);
    if (question) person.Answer(question);
    return cf.LoadHDRLCompareFile2(filePlot, comparePlot, nullptr);
  }
  Points Channel(const char* name) { return PointsOf(cf.GetXYPlotChannelByName(comparePlot, name)); }
  // What a comparison consists of: its texts and the compare plot's points.
  std::pair<Texts23, std::vector<Points>> State() { return {Texts(cf.m_strHDRLCompare), AllPoints(comparePlot)}; }

  IiXYPlotXPtr filePlot, comparePlot;
};

TEST_F(HDRLCompareFiles, TwoFilesSideBySideWithTheirDifferences) {
  const std::string a = Write("a.hdrl", 1, "2", "FV101");
  const std::string b = Write("b.hdrl", 2, "3", "FV102");
  ASSERT_TRUE(Load1(a));
  const plat::Question& open = person.Asked().back();
  EXPECT_EQ(open.filter, "(*.hdrl)|*.hdrl|");
  EXPECT_EQ(open.title, "##FILEOPENHDRL");
  EXPECT_EQ(open.defaultExtension, "hdrl");
  EXPECT_EQ(Texts(cf.m_strHDRLCompare),
            (Texts23{"FV101", "", "12/8/2026", "", "a.hdrl", "",    "2", "", "0.25", "", "", "0.25",
                     "",      "", "0.5",       "", "",       "0.5", "",  "", "0.6",  "", ""}));
  EXPECT_EQ(Channel("Position").size(), 49u);
  EXPECT_EQ(Channel("1stCycle-Decr"), (Points{{10, -1}}));
  EXPECT_TRUE(Channel("Position2").empty());
  EXPECT_EQ(Range(comparePlot, true, "Time"), std::make_pair(0.0, 48.0));

  // Another settling time asks first; OK goes on as if they matched.
  ASSERT_TRUE(Load2(b, IDOK));
  const plat::Question& q = Last();
  EXPECT_EQ(q.text, "Settings do not Match. Comparision may be Invalid. Do you wish to continue");
  EXPECT_EQ(q.caption, "Compare");
  EXPECT_EQ(q.type, static_cast<UINT>(MB_OKCANCEL));
  EXPECT_EQ(Texts(cf.m_strHDRLCompare),
            (Texts23{"FV101", "FV102", "12/8/2026", "12/8/2026", "a.hdrl", "b.hdrl", "2",   "3",
                     "0.25",  "0.5",   "0.25",      "0.25",      "0.5",    "0.25",   "0.5", "1",
                     "0.5",   "0.5",   "1",         "0.5",       "0.6",    "1.2",    "0.6"}));
  EXPECT_EQ(Channel("1stCycle-Decr"), (Points{{10, -1}}));
  EXPECT_EQ(Channel("1stCycle-Decr2"), (Points{{10, -2}}));
  EXPECT_EQ(Channel("Position2").size(), 49u);
  EXPECT_NE(Channel("Position2"), Channel("Position"));
  EXPECT_EQ(Range(comparePlot, true, "Time"), std::make_pair(0.0, 48.0));
  EXPECT_EQ(Range(comparePlot, true, "Time2"), std::make_pair(0.0, 72.0));
  EXPECT_EQ(Range(comparePlot, false, "PositionError"), std::make_pair(-1.5, 3.0));
  EXPECT_EQ(Messages().size(), 1u);  // the question only

  // The same file twice: nothing to ask, nothing apart.
  ASSERT_TRUE(Load2(a));
  EXPECT_EQ(
      Texts(cf.m_strHDRLCompare),
      (Texts23{"FV101", "FV101", "12/8/2026", "12/8/2026", "a.hdrl", "a.hdrl", "2",   "2", "0.25", "0.25", "0", "0.25",
               "0.25",  "0",     "0.5",       "0.5",       "0",      "0.5",    "0.5", "0", "0.6",  "0.6",  "0"}));
  EXPECT_EQ(Channel("Position2"), Channel("Position"));
  EXPECT_EQ(Messages().size(), 1u);

  // A new file 1 starts over: file 2 goes.
  ASSERT_TRUE(Load1(b));
  EXPECT_EQ(Text(cf.m_strHDRLCompare[1]), "");
  EXPECT_EQ(Text(cf.m_strHDRLCompare[10]), "");
  EXPECT_TRUE(Channel("Position2").empty());
}

TEST_F(HDRLCompareFiles, WhatIsRefusedLeavesTheComparisonAsItWas) {
  const std::string a = Write("a.hdrl", 1, "2", "FV101");
  const std::string b = Write("b.hdrl", 2, "2", "FV102");
  const std::string other = Write("other.hdrl", 3, "5", "FV103");
  const std::string garbage = folder / "garbage.hdrl";
  filetest::WriteFile(garbage, "not a plot file\n");
  const std::string empty = folder / "empty.hdrl";
  filetest::WriteFile(empty, "");
  // Another kind's files renamed: more channels with plot data where the
  // date should be, and fewer channels with no settings at all.
  const std::string ramp = folder / "ramp.hdrl";
  {
    IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>();
    cf.SetupRampPlot(plot);
    cf.SetupRampTestChannels(plot);
    FillAll(plot, 13, 20, 3.0);
    ASSERT_TRUE(SUCCEEDED(plot->SaveDataToFile(ramp.c_str())));
  }
  const std::string few = folder / "few.hdrl";
  {
    IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
    for (int c = 0; c < 7; ++c) plot->AddChannel(nullptr);
    FillAll(plot, 7, 20, 1.0);
    ASSERT_TRUE(SUCCEEDED(plot->SaveDataToFile(few.c_str())));
  }

  struct Case {
    const char* what;
    int file;
    std::string path;  // empty: the dialog is cancelled
    bool question;     // answered Cancel
    bool openError;
  };
  const Case cases[] = {
      {"cancel 1", 1, "", false, false},         {"cancel 2", 2, "", false, false},
      {"garbage 1", 1, garbage, false, true},    {"garbage 2", 2, garbage, false, true},
      {"empty 1", 1, empty, false, true},        {"empty 2", 2, empty, false, true},
      {"another kind 1", 1, ramp, false, true},  {"another kind 2", 2, ramp, false, true},
      {"fewer channels 2", 2, few, false, true}, {"settling time refused", 2, other, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(Load1(a));
    ASSERT_TRUE(Load2(b));
    const auto before = State();
    const size_t messages = Messages().size();
    if (c.path.empty())
      person.CancelFile();
    else
      person.AnswerFile(c.path);
    if (c.question) person.Answer(IDCANCEL);
    if (c.openError) person.Answer(IDOK);
    const bool loaded = c.file == 1 ? cf.LoadHDRLCompareFile1(filePlot, comparePlot)
                                    : cf.LoadHDRLCompareFile2(filePlot, comparePlot, nullptr);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(State(), before);
    ASSERT_EQ(Messages().size(), messages + (c.question || c.openError ? 1 : 0));
    if (c.openError) {
      EXPECT_EQ(Last().text, "File open error.");
      EXPECT_EQ(Last().caption, "");
    }
  }
  EXPECT_EQ(person.Pending(), 0u);
}

TEST_F(HDRLCompareFiles, RunsOfOtherFormsAsFileTwo) {
  const std::string a = Write("a.hdrl", 1, "2", "FV101");
  ASSERT_TRUE(Load1(a));
  // One point a step becomes the run form with its own settling time; a
  // run of another length gives no repeatability or hysteresis, and so no
  // difference of them, but a linearity error.
  const std::string old = Write("old.hdrl", 1, "5", "", 25);
  ASSERT_TRUE(Load2(old, IDOK));
  const Points position = Channel("Position2");
  ASSERT_EQ(position.size(), 49u);
  EXPECT_EQ(Points(position.begin(), position.begin() + 3), (Points{{0, -0.25}, {6, -0.25}, {5, 10}}));
  EXPECT_EQ(Text(cf.m_strHDRLCompare[1]), "NO TAG");
  EXPECT_EQ(Text(cf.m_strHDRLCompare[9]), "0.25");
  EXPECT_EQ(Text(cf.m_strHDRLCompare[10]), "0");

  const std::string run30 = Write("short.hdrl", 1, "2", "FV101", 30);
  ASSERT_TRUE(Load2(run30));
  const Texts23 texts = Texts(cf.m_strHDRLCompare);
  EXPECT_EQ(Texts23(texts.begin() + 8, texts.end()),
            (Texts23{"0.25", "", "", "0.25", "", "", "0.5", "", "", "0.5", "", "", "0.6", "0.6", "0"}));
}

}  // namespace
