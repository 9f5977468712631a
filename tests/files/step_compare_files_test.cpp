// The step comparison: the two plots' channel tables and the loaders of
// file 1 and file 2, on step test files written by the step test save.
#include <filesystem>
#include <map>

#include "files/kinds_fixture.h"

namespace {

using namespace kindtest;
using filetest::Flags;
using filetest::ReadFile;
using filetest::WriteFile;
using plat::Question;

const std::vector<std::string> kCompareNames = {"Position1", "Position2", "PositionDiff", "Command1",
                                                "Command2",  "CommandDiff", "ILCmd1",    "ILCmd2",
                                                "ILCmdDiff", "ILPOS1",     "ILPOS2",     "ILPOSDiff"};
const char* const kData[] = {"Position1", "Command1", "ILCmd1", "ILPOS1"};

struct Settings {
  const char* start;
  const char* stop;
  const char* hold;
};

class StepCompareFiles : public KindFiles {
 protected:
  void SetUp() override {
    cf.SetupStepComparePlot(comparePlot);
    cf.SetupStepCompareChannels(comparePlot);
    cf.SetupStepComparePlot(filePlot);
    cf.SetupStepCompareFileChannels(filePlot);
  }
  // A step test as the step test page saves it: `points` points in each of
  // the four data channels, channel c's point i at (i * 0.5, seed + 10 c + i).
  std::string Save(const char* name, Settings s, const _bstr_t& tag, int points, double seed) {
    IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>();
    cf.SetupStepPlot(plot);
    cf.SetupStepChannels(plot);
    for (LONG c = 0; c < 4; ++c)
      for (int i = 0; i < points; ++i) ChannelAt(plot, c)->AddXY(i * 0.5, seed + 10 * c + i, nullptr);
    cf.m_strStepSettings = {s.start, s.stop, s.hold};
    cf.m_strStepTag = tag;
    const std::string path = folder / name;
    person.AnswerFile(path);
    cf.SaveStepFile(plot);
    return path;
  }
  bool Load1(const std::string& path) {
    person.AnswerFile(path);
    return cf.LoadStepCompareFile1(filePlot, comparePlot);
  }
  bool Load2(const std::string& path) {
    person.AnswerFile(path);
    return cf.LoadStepCompareFile2(filePlot, comparePlot, &page);
  }
  std::vector<double> YsOf(const char* channel) {
    std::vector<double> ys;
    for (auto [x, y] : PointsOf(cf.GetXYPlotChannelByName(comparePlot, channel))) ys.push_back(y);
    return ys;
  }
  // What a failed load must leave alone.
  struct Snapshot {
    std::vector<std::string> texts;
    std::vector<Points> points;
    std::map<std::string, char> flags;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Now() { return {Texts(cf.m_strStepCompare), AllPoints(comparePlot), Flags(comparePlot)}; }

  IiXYPlotXPtr comparePlot = NewPlot<IiXYPlotXPtr>();
  IiXYPlotXPtr filePlot = NewPlot<IiXYPlotXPtr>();
  CWnd page;
};

TEST_F(StepCompareFiles, TheFilePlotTakesAStepFileByPlaceAndTheComparePlotHasTwelveShownChannels) {
  EXPECT_EQ(ChannelNames(filePlot),
            (std::vector<std::string>{"Position1", "Command1", "ILCmd1", "ILPOS1", "TestSettings", "TagName"}));
  EXPECT_EQ(ChannelNames(comparePlot), kCompareNames);
  std::map<std::string, char> shown;
  for (const std::string& name : kCompareNames) shown[name] = '1';
  shown["x:StepX"] = shown["y:RampPerc"] = '1';
  EXPECT_EQ(Flags(comparePlot), shown);
  EXPECT_EQ(LookOf(ChannelAt(comparePlot, 8)), FreshLook("ILCmdDiff", "Pilot Relay Command Delta", "StepX",
                                                         "RampPerc", 0x004000, 6));
  EXPECT_EQ(LookOf(ChannelAt(filePlot, 4)).visible, false);

  // Laid out again: nothing of the first layout's points stays.
  FillAll(comparePlot, 12, 3, 1);
  cf.SetupStepCompareChannels(comparePlot);
  EXPECT_EQ(AllPoints(comparePlot), std::vector<Points>(12));
}

TEST_F(StepCompareFiles, FileOneAndFileTwoGiveTheirTextsCopiesAndDifferences) {
  const std::string a = Save("a.stp", {"40", "60", "5"}, "FV-101", 6, 100);
  const std::string b = Save("b.stp", {"40", "60", "5"}, "", 4, 90.5);
  ASSERT_TRUE(Load1(a));
  EXPECT_EQ(Texts(cf.m_strStepCompare),
            (std::vector<std::string>{"FV-101", "", "12/8/2026", "", "a.stp", "", "40", "0.0", "60", "0.0", "5",
                                      "0.0"}));
  EXPECT_EQ(YsOf("Position1"), (std::vector<double>{100, 101, 102, 103, 104, 105}));
  EXPECT_EQ(YsOf("ILPOS1"), (std::vector<double>{130, 131, 132, 133, 134, 135}));
  std::map<std::string, char> flags;
  for (const std::string& name : kCompareNames) flags[name] = '0';
  for (const char* name : kData) flags[name] = '1';
  flags["x:StepX"] = flags["y:RampPerc"] = '0';
  EXPECT_EQ(Flags(comparePlot), flags);

  // Equal settings: no question, whatever the tags.
  ASSERT_TRUE(Load2(b));
  EXPECT_EQ(person.Asked().size(), 4u);  // the two saves and the two opens
  EXPECT_EQ(Texts(cf.m_strStepCompare),
            (std::vector<std::string>{"FV-101", "NO TAG", "12/8/2026", "12/8/2026", "a.stp", "b.stp", "40", "40",
                                      "60", "60", "5", "5"}));
  EXPECT_EQ(YsOf("Command2"), (std::vector<double>{100.5, 101.5, 102.5, 103.5}));
  // File 1 minus file 2 over the points both have, at file 1's x.
  EXPECT_EQ(PointsOf(cf.GetXYPlotChannelByName(comparePlot, "PositionDiff")),
            (Points{{0, 9.5}, {0.5, 9.5}, {1, 9.5}, {1.5, 9.5}}));
  for (const std::string& name : kCompareNames) flags[name] = '1';
  EXPECT_EQ(Flags(comparePlot), flags);

  // A further file 2 replaces the earlier one's points.
  const std::string c = Save("c.stp", {"40", "60", "5"}, "FV-101", 2, 99);
  ASSERT_TRUE(Load2(c));
  EXPECT_EQ(YsOf("ILCmd2"), (std::vector<double>{119, 120}));
  EXPECT_EQ(YsOf("ILCmdDiff"), (std::vector<double>{1, 1}));

  // A new file 1 starts over: file 2's channels and texts are gone.
  ASSERT_TRUE(Load1(c));
  EXPECT_EQ(Texts(cf.m_strStepCompare),
            (std::vector<std::string>{"FV-101", "", "12/8/2026", "", "c.stp", "", "40", "0.0", "60", "0.0", "5",
                                      "0.0"}));
  EXPECT_EQ(YsOf("Position2"), std::vector<double>{});
  EXPECT_EQ(YsOf("PositionDiff"), std::vector<double>{});

  // The same file twice: no question, and nothing differs.
  const size_t asked = person.Asked().size();
  ASSERT_TRUE(Load2(c));
  EXPECT_EQ(person.Asked().size(), asked + 1);
  for (const char* name : {"PositionDiff", "CommandDiff", "ILCmdDiff", "ILPOSDiff"})
    EXPECT_EQ(YsOf(name), (std::vector<double>{0, 0})) << name;
}

TEST_F(StepCompareFiles, DifferentSettingsAskAndCancelKeepsTheComparison) {
  const std::string a = Save("a.stp", {"12.5", "60", "5"}, "FV-101", 3, 10);
  const std::string same = Save("same.stp", {"12.5", "60", "5"}, "FV-101", 3, 20);
  ASSERT_TRUE(Load1(a));
  ASSERT_TRUE(Load2(same));
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {{"start", {"12.50001", "60", "5"}}, {"stop", {"12.5", "61", "5"}}, {"hold", {"12.5", "60", "10"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string other = Save((std::string(c.what) + ".stp").c_str(), c.settings, "FV-102", 3, 40);
    const Snapshot before = Now();
    person.AnswerFile(other).Answer(IDCANCEL);
    EXPECT_FALSE(cf.LoadStepCompareFile2(filePlot, comparePlot, &page));
    const Question& q = person.Asked().back();
    EXPECT_EQ(q.text, "Settings do not Match. Comparision may be Invalid. Do you wish to continue");
    EXPECT_EQ(q.caption, "Compare");
    EXPECT_EQ(q.type, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(Now(), before);

    person.AnswerFile(other).Answer(IDOK);
    EXPECT_TRUE(cf.LoadStepCompareFile2(filePlot, comparePlot, &page));
    EXPECT_EQ(cf.m_strStepCompare[1].str(), "FV-102");
    EXPECT_EQ(YsOf("PositionDiff"), (std::vector<double>{-30, -30, -30}));
    ASSERT_TRUE(Load2(same));
  }
}

TEST_F(StepCompareFiles, AFileThatCannotBeReadChangesNothing) {
  const std::string a = Save("a.stp", {"40", "60", "5"}, "FV-101", 5, 10);
  const std::string b = Save("b.stp", {"40", "60", "5"}, "FV-102", 5, 20);
  // Another kind's files, renamed.
  IiXYPlotXPtr ramp = NewPlot<IiXYPlotXPtr>();
  cf.SetupRampPlot(ramp);
  cf.SetupRampTestChannels(ramp);
  FillAll(ramp, 10, 6, 3);
  person.AnswerFile(folder / "ramp.stp");
  cf.SaveRampFile(ramp);
  IiPlotXPtr pst = NewPlot<IiPlotXPtr>();
  cf.SetupPSTPlot(pst);
  cf.SetupPSTChannels(pst);
  FillAll(pst, 4, 6, 3);
  person.AnswerFile(folder / "pst.stp");
  cf.SavePSTFile(pst);

  const std::string text = ReadFile(a);
  const struct {
    const char* what;
    std::string content;
    bool missing = false;
  } broken[] = {
      {"missing", "", true},
      {"empty", ""},
      {"garbage", "\x7f" "ELF\x01\x02 not a plot"},
      {"truncated", text.substr(0, text.size() / 2)},
      {"ramp", ReadFile(folder / "ramp.stp")},
      {"partial stroke", ReadFile(folder / "pst.stp")},
  };
  for (const int file : {1, 2}) {
    ASSERT_TRUE(Load1(a));
    ASSERT_TRUE(Load2(b));
    for (const auto& c : broken) {
      SCOPED_TRACE(std::string(c.what) + " as file " + std::to_string(file));
      const std::string path = folder / "broken.stp";
      std::filesystem::remove(path);
      if (!c.missing) WriteFile(path, c.content);
      const Snapshot before = Now();
      person.AnswerFile(path).Answer(IDOK);
      EXPECT_FALSE(file == 1 ? cf.LoadStepCompareFile1(filePlot, comparePlot)
                             : cf.LoadStepCompareFile2(filePlot, comparePlot, &page));
      const Question& m = person.Asked().back();
      EXPECT_EQ(m.text, "File open error.");
      EXPECT_EQ(m.caption, "");
      EXPECT_EQ(m.owner, nullptr);
      EXPECT_EQ(Now(), before);
    }
    const size_t asked = person.Asked().size();
    person.CancelFile();
    EXPECT_FALSE(file == 1 ? cf.LoadStepCompareFile1(filePlot, comparePlot)
                           : cf.LoadStepCompareFile2(filePlot, comparePlot, &page));
    EXPECT_EQ(person.Asked().size(), asked + 1);  // no message after the dialog
    EXPECT_EQ(person.Asked().back().title, "##FILEOPENSTEP");
  }
}

TEST_F(StepCompareFiles, AChannelBuildThatFailsIsNoFileTwo) {
  const std::string a = Save("a.stp", {"40", "60", "5"}, "FV-101", 3, 10);
  const std::string b = Save("b.stp", {"40", "60", "5"}, "FV-102", 3, 20);
  ASSERT_TRUE(Load1(a));
  cf.GetXYPlotChannelByName(comparePlot, "ILCmd2")->SetName("Renamed");
  const std::vector<std::string> texts = Texts(cf.m_strStepCompare);
  person.AnswerFile(b).Answer(IDOK);
  EXPECT_FALSE(cf.LoadStepCompareFile2(filePlot, comparePlot, &page));
  const Question& m = person.Asked().back();
  EXPECT_EQ(m.text, "Failed to Load Channels due to mismatched settings.");
  EXPECT_EQ(m.caption, "LOAD");
  EXPECT_EQ(Texts(cf.m_strStepCompare), texts);
}

}  // namespace
