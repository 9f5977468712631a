// HDRL test plots and file: layout, save and open, the run form and the
// results worked out again from the loaded run.
#include <functional>

#include "files/kinds_fixture.h"

namespace {

using namespace kindtest;

constexpr double kCommands[13] = {0, 10, 30, 50, 70, 90, 100, 90, 70, 50, 30, 10, 0};

// Position error of each of the 25 steps: every second-cycle step differs
// by 0.25 from its first-cycle twin, the first cycle's falling branch lies
// 0.5 above its rising branch.
double StepError(int k) {
  if (k == 0) return -0.25;
  if (k >= 7 && k <= 11) return 0.5;
  if (k >= 13) return 0.25;
  return 0;
}
double StepCommand(int k) { return kCommands[k % 12]; }

class HDRLFiles : public KindFiles {
 protected:
  IiXYPlotXPtr Plot() {
    IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>();
    cf.SetupHDRLPlots(plot);
    cf.SetupHDRLChannels(plot);
    return plot;
  }
  // The run in the form the test page records it: step k at points 2k and
  // 2k + 1, or, in the older form, one point a step at x = 2k + 1.
  static void FillRun(IiXYPlotXPtr& plot, bool onePointAStep) {
    for (int k = 0; k < 25; ++k) {
      for (int twice = 0; twice < (onePointAStep || k == 24 ? 1 : 2); ++twice) {
        const double x = onePointAStep ? 2 * k + 1 : 2 * k + twice;
        ChannelAt(plot, 0)->AddXY(x, StepCommand(k) + StepError(k), nullptr);
        ChannelAt(plot, 1)->AddXY(x, StepCommand(k), nullptr);
      }
    }
    for (int c = 2; c < 6; ++c) ChannelAt(plot, c)->AddXY(10, c * 0.125, nullptr);
    const double average[5] = {1, 0, 1, 0, 1};  // the line through them is 0.6 everywhere
    for (int i = 0; i < 5; ++i) ChannelAt(plot, 6)->AddXY(10 + 20 * i, average[i], nullptr);
  }
  bool OpenFrom(IiXYPlotXPtr& plot, const std::string& path) {
    person.AnswerFile(path);
    return cf.OpenHDRLFile(plot);
  }
};

TEST_F(HDRLFiles, SavedAndOpenedBackWithResultsWorkedOutAgain) {
  IiXYPlotXPtr plot = Plot();
  FillRun(plot, false);
  cf.m_strHDRLSettlingTime = "2";
  cf.m_strHDRLTag = "FV101";
  const std::string path = folder / "h.hdrl";
  person.AnswerFile(path);
  cf.SaveHDRLFile(plot);

  const plat::Question& q = person.Asked().at(0);
  EXPECT_EQ(q.defaultName, "FV101_HDRL_2026_12_8_6h_5m.hdrl");
  EXPECT_EQ(q.defaultExtension, "hdrl");
  EXPECT_EQ(q.filter, "(*.hdrl)|*.hdrl|");
  EXPECT_EQ(q.title, "##FILESAVEHDRLAS");
  EXPECT_EQ(q.flags, 6u);
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"h.hdrl"}));
  EXPECT_EQ(Ys(plot, 8), (std::vector<double>{12, 8, 2026, 2}));
  EXPECT_EQ(Ys(plot, 9), (std::vector<double>{70, 86, 49, 48, 49}));
  // The time axis spans 24 settling times after a save.
  EXPECT_EQ(Range(plot, true, "Time"), std::make_pair(0.0, 48.0));
  const std::vector<Points> saved = AllPoints(plot);

  plot->ClearAllData();
  cf.m_strHDRLSettlingTime = cf.m_strHDRLTag = "x";
  ASSERT_TRUE(OpenFrom(plot, path));
  const plat::Question& o = person.Asked().at(1);
  EXPECT_EQ(o.filter, "*.hdrl|*.hdrl|");
  EXPECT_EQ(o.title, "##FILEOPENHDRL");
  EXPECT_EQ(o.defaultName, "");
  EXPECT_TRUE(Messages().empty());
  // The stored points come back; the line fitted again holds the same
  // five points (0.6 at 10, 30, 50, 70, 90) instead of five more.
  std::vector<Points> expected = saved;
  expected[7] = {{10, 0.6}, {30, 0.6}, {50, 0.6}, {70, 0.6}, {90, 0.6}};
  EXPECT_EQ(AllPoints(plot), expected);
  EXPECT_EQ(Text(cf.m_strHDRLSettlingTime), "2");
  EXPECT_EQ(Text(cf.m_strHDRLTag), "FV101");
  // Repeatability 0.25 at every step; hysteresis 0.5 at all five commands;
  // linearity: the average error lies 0.4 or 0.6 from the line.
  EXPECT_EQ(Texts(cf.m_strHDRLResults), (std::vector<std::string>{"0.25", "0.25", "0.5", "0.5", "0.6"}));
  EXPECT_EQ(Range(plot, true, "Time"), std::make_pair(0.0, 48.0));
  EXPECT_EQ(Range(plot, true, "Command"), std::make_pair(0.0, 100.0));
  EXPECT_EQ(Range(plot, false, "Position"), std::make_pair(0.0, 100.0));
  EXPECT_EQ(Range(plot, false, "PositionError"), std::make_pair(-1.5, 3.0));
}

// Another kind's file chosen as ".hdrl" is refused, and the plot stays as
// the HDRL file opened before it left it: points, display settings and file
// stamp. The ramp file holds a date and a settling time where an HDRL file
// keeps them: only its layout tells it apart.
TEST_F(HDRLFiles, AnotherKindsFileIsRefusedAndLeavesThePlotAsTheGoodFileLeftIt) {
  IiXYPlotXPtr plot = Plot();
  FillRun(plot, false);
  cf.m_strHDRLSettlingTime = "2";
  cf.m_strHDRLTag = "FV101";
  const std::string good = folder / "good.hdrl";
  person.AnswerFile(good);
  cf.SaveHDRLFile(plot);
  ASSERT_TRUE(OpenFrom(plot, good));
  const auto fields = [this] {
    std::vector<std::string> f = Texts(cf.m_strHDRLResults);
    f.push_back(Text(cf.m_strHDRLSettlingTime));
    f.push_back(Text(cf.m_strHDRLTag));
    return f;
  };
  const std::vector<std::string> shown = fields();
  const std::string before = WholePlot(plot);

  const struct {
    const char* kind;
    std::function<void(const std::string&)> save;
  } others[] = {
      {"ramp",
       [this](const std::string& path) {
         IiXYPlotXPtr ramp = NewPlot<IiXYPlotXPtr>();
         cf.SetupRampPlot(ramp);
         cf.SetupRampTestChannels(ramp);
         for (double y : {12.0, 8.0, 2026.0, 2.0}) ChannelAt(ramp, 8)->AddXY(0, y, nullptr);
         person.AnswerFile(path);
         cf.SaveRampFile(ramp);
       }},
      {"step",
       [this](const std::string& path) {
         IiXYPlotXPtr step = NewPlot<IiXYPlotXPtr>();
         cf.SetupStepPlot(step);
         cf.SetupStepChannels(step);
         person.AnswerFile(path);
         cf.SaveStepFile(step);
       }},
      {"partial stroke",
       [this](const std::string& path) {
         IiPlotXPtr pst = NewPlot<IiPlotXPtr>();
         cf.SetupPSTPlot(pst);
         cf.SetupPSTChannels(pst);
         person.AnswerFile(path);
         cf.SavePSTFile(pst);
       }},
  };
  for (const auto& other : others) {
    SCOPED_TRACE(other.kind);
    const std::string path = folder / (std::string(other.kind) + ".hdrl");
    other.save(path);
    person.AnswerFile(path).Answer(IDOK);
    EXPECT_FALSE(cf.OpenHDRLFile(plot));
    EXPECT_EQ(Last().kind, plat::Question::Kind::Message);
    EXPECT_EQ(Last().text, "##FILEOPENERR");
    EXPECT_EQ(WholePlot(plot), before);
    EXPECT_EQ(fields(), shown);
  }
}

TEST_F(HDRLFiles, ASecondSaveStoresTheDateAndSettlingTimeOfNow) {
  IiXYPlotXPtr plot = Plot();
  FillRun(plot, false);
  cf.m_strHDRLSettlingTime = "2";
  person.AnswerFile(folder / "a.hdrl");
  cf.SaveHDRLFile(plot);
  cf.m_strHDRLSettlingTime = "2.5";
  clock.Set({2027, 1, 2, 3, 4, 0, 0});
  person.AnswerFile(folder / "b.hdrl");
  cf.SaveHDRLFile(plot);
  EXPECT_EQ(Ys(plot, 8), (std::vector<double>{1, 2, 2027, 2.5}));
  EXPECT_EQ(Range(plot, true, "Time"), std::make_pair(0.0, 60.0));
  ASSERT_TRUE(OpenFrom(plot, folder / "b.hdrl"));
  EXPECT_EQ(Text(cf.m_strHDRLSettlingTime), "2.5");
  EXPECT_EQ(Text(cf.m_strHDRLTag), "NO TAG");
}

TEST_F(HDRLFiles, RunsOfOtherLengthsAndSettlingTimes) {
  struct Case {
    const char* what;
    int steps;  // 25: one point a step, converted; 49: kept; other: left as it is
    double settlingTime;
    std::vector<std::string> results;
    size_t positionPoints;
    double timeSpan;
  };
  const Case cases[] = {
      {"one point a step", 25, 3, {"0.25", "0.25", "0.5", "0.5", "0.6"}, 49, 72},
      {"ten points", 10, 2, {"", "", "", "", "0.6"}, 10, 48},
      {"no usable settling time", 25, 0, {"", "", "", "", "0.6"}, 25, 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IiXYPlotXPtr plot = Plot();
    if (c.steps == 25) {
      FillRun(plot, true);
    } else {
      for (int i = 0; i < c.steps; ++i) ChannelAt(plot, 1)->AddXY(i, i, nullptr);
      for (int i = 0; i < c.steps; ++i) ChannelAt(plot, 0)->AddXY(i, i, nullptr);
      const double average[5] = {1, 0, 1, 0, 1};
      for (int i = 0; i < 5; ++i) ChannelAt(plot, 6)->AddXY(10 + 20 * i, average[i], nullptr);
    }
    for (double y : {1.0, 2.0, 2025.0, c.settlingTime}) ChannelAt(plot, 8)->AddXY(0, y, nullptr);
    const std::string path = folder / "r.hdrl";
    ASSERT_TRUE(SUCCEEDED(plot->SaveDataToFile(path.c_str())));
    ASSERT_TRUE(OpenFrom(plot, path));
    EXPECT_EQ(Texts(cf.m_strHDRLResults), c.results);
    EXPECT_EQ(PointsOf(ChannelAt(plot, 0)).size(), c.positionPoints);
    EXPECT_EQ(Range(plot, true, "Time").second, c.timeSpan);
    EXPECT_EQ(Text(cf.m_strHDRLTag), "NO TAG");
  }
}

TEST_F(HDRLFiles, OnePointAStepBecomesTheRunForm) {
  IiXYPlotXPtr plot = Plot();
  FillRun(plot, true);
  for (double y : {1.0, 2.0, 2025.0, 3.0}) ChannelAt(plot, 8)->AddXY(0, y, nullptr);
  const std::string path = folder / "old.hdrl";
  ASSERT_TRUE(SUCCEEDED(plot->SaveDataToFile(path.c_str())));
  ASSERT_TRUE(OpenFrom(plot, path));
  // Step k (stored at x = 2k + 1) at k x 3 and again at 2k + 1 + 3.
  const Points position = PointsOf(ChannelAt(plot, 0));
  const Points command = PointsOf(ChannelAt(plot, 1));
  ASSERT_EQ(position.size(), 49u);
  const Points head(position.begin(), position.begin() + 5);
  EXPECT_EQ(head, (Points{{0, -0.25}, {4, -0.25}, {3, 10}, {6, 10}, {6, 30}}));
  EXPECT_EQ(position.back(), std::make_pair(72.0, 0.25));
  EXPECT_EQ(command[47], std::make_pair(50.0, 10.0));  // step 23 again at 2 x 23 + 1 + 3
}

TEST(HDRLLayout, AxesAndTenChannelsInFileOrder) {
  IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>();
  for (int i = 0; i < 3; ++i) plot->AddChannel(nullptr);
  ChannelAt(plot, 2)->AddXY(1, 1, nullptr);
  CFileFunctions cf;
  cf.SetupHDRLPlots(plot);
  cf.SetupHDRLChannels(plot);
  struct AxisRow {
    bool x;
    LONG index;
    const char* name;
    double min, span;
    const char* title;
  };
  const AxisRow axes[] = {
      {true, 0, "Time", 0, 75, nullptr},
      {true, 1, "Command", 0, 100, nullptr},
      {true, 2, "Time2", 0, 75, nullptr},
      {false, 0, "Position", 0, 100, "##HDRLPOSNPERC"},
      {false, 1, "PositionError", -2.5, 5, "##HDRLPOSERR"},
  };
  for (const AxisRow& a : axes) {
    SCOPED_TRACE(a.name);
    IiPlotAxisPtr axis = AxisAt(plot, a.x, a.index);
    ASSERT_TRUE(axis);
    _bstr_t name, title;
    double min = -1, span = -1;
    axis->GetName(&name);
    axis->GetTitle(&title);
    axis->GetMin(&min);
    axis->GetSpan(&span);
    EXPECT_EQ(Text(name), a.name);
    if (a.title) {
      EXPECT_EQ(Text(title), a.title);
    }
    EXPECT_EQ(min, a.min);
    EXPECT_EQ(span, a.span);
  }
  struct Row {
    const char* name;
    const char* title;
    COLORREF color;
    const char* x;
    const char* y;
    LONG style;  // -1: no markers
  };
  const Row rows[] = {
      {"Position", "Position", 0x0A0AFF, "Time", "Position", 0},
      {"Command", "Command", 0xC00000, "Time", "Position", 1},
      {"1stCycle-Incr", "1st Cycle-Incr", 0x0A0AFF, "Command", "PositionError", 0},
      {"1stCycle-Decr", "1st Cycle-Decr", 0x0A0AFF, "Command", "PositionError", 1},
      {"2ndCycle-Incr", "2nd Cycle-Incr", 0xC00000, "Command", "PositionError", 2},
      {"2ndCycle-Decr", "2nd Cycle-Decr", 0xC00000, "Command", "PositionError", 3},
      {"AverageError", "Average Error", 0x00FF00, "Command", "PositionError", 4},
      {"LeastSquareLine", "Least SquareLine", 0x000000, "Command", "PositionError", 5},
      {"TestSettings", "TestSettings", 0xCC00CC, "None", "None", -1},
      {"TagName", "TagName", 0x000080, "None", "None", -1},
  };
  ASSERT_EQ(ChannelCount(plot), 10);
  for (LONG i = 0; i < 10; ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.name);
    EXPECT_TRUE(cf.GetXYPlotChannelByName(plot, r.name));
    EXPECT_EQ(LookOf(ChannelAt(plot, i)), FreshLook(r.name, r.title, r.x, r.y, r.color, r.style));
  }
}

}  // namespace
