// Partial stroke comparison: channel tables and the loaders of file 1 and 2.
#include <clocale>

#include "files/kinds_fixture.h"
#include "files/pst_file_fixture.h"

namespace {

using namespace kindtest;

using pstfile::Stored;

class PSTCompareFiles : public KindFiles {
 protected:
  void SetUp() override {
    cf.SetupPSTPlot(compare);
    cf.SetupPSTCompareChannels(compare);
    cf.SetupPSTPlot(file);
    cf.SetupPSTCompareSettings(file);
  }
  std::string Write(const char* name, const Stored& s) {
    const std::string path = folder / name;
    pstfile::Write(cf, path, s);
    return path;
  }
  bool Load1(const std::string& path) {
    person.AnswerFile(path);
    return cf.LoadPSTCompareFile1(file, compare);
  }
  bool Load2(const std::string& path) {
    person.AnswerFile(path);
    return cf.LoadPSTCompareFile2(file, compare, nullptr);
  }
  std::vector<std::string> Compare() { return Texts(cf.m_strPSTCompare); }
  Points Of(const char* channel) { return PointsOf(cf.GetPlotChannelByName(compare, channel)); }
  std::vector<Points> All() { return AllPoints(compare); }

  IiPlotXPtr compare = NewPlot<IiPlotXPtr>();
  IiPlotXPtr file = NewPlot<IiPlotXPtr>();
};

TEST(PSTCompareLayout, TwelveCompareChannelsAndTheFileChannelsInFileOrder) {
  CFileFunctions cf;
  IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
  cf.SetupPSTPlot(plot);
  cf.SetupPSTCompareChannels(plot);
  cf.SetupPSTCompareChannels(plot);  // again: the same channels, not more
  // All shown; file 1 without markers (style -1).
  auto shown = [](const char* name, const char* title, COLORREF color, LONG style) {
    return ChannelLook{name, title, "RampX", "RampPerc", color, style, true, true, 0};
  };
  const ChannelLook compare[] = {
      shown("Position", "Position 1", 0x0A0AFF, -1),
      shown("Position2", "Position 2", 0x0A0AFF, 0),
      shown("PositionDiff", "Position Delta", 0x0A0AFF, 5),
      shown("Command", "Command 1", 0xC00000, -1),
      shown("Command2", "Command 2", 0xC00000, 2),
      shown("CommandDiff", "Command Delta", 0xC00000, 5),
      shown("ILCmd", "Pilot Relay Command 1", 0x004000, -1),
      shown("ILCmd2", "Pilot Relay Command 2", 0x004000, 6),
      shown("ILCmdDiff", "Pilot Relay Command Delta", 0x004000, 5),
      shown("ILPOS", "Pilot Relay Position 1", 0x000080, -1),
      shown("ILPOS2", "Pilot Relay Position 2", 0x000080, 7),
      shown("ILPOSDiff", "Pilot Relay Position Delta", 0x000080, 5),
  };
  ASSERT_EQ(ChannelCount(plot), 12);
  for (LONG i = 0; i < 12; ++i) EXPECT_EQ(LookOf(ChannelAt(plot, i)), compare[i]);
  cf.SetupPSTCompareSettings(plot);
  EXPECT_EQ(ChannelNames(plot), (std::vector<std::string>{"Position", "Command", "ILCmd", "ILPOS", "TestSettings",
                                                          "Results", "TagName"}));
}

TEST_F(PSTCompareFiles, BothFilesGiveTheirTextsTheCopiesAndTheDifferences) {
  Stored a;
  Stored b;
  b.settings[2] = 45;  // only the time limit differs: no question
  b.results = {1.25, 655.35, 1};
  b.tag = "";
  b.points = 7;
  b.lag = 3;
  ASSERT_TRUE(Load1(Write("a.pst", a)));
  const plat::Question& open = person.Asked().at(0);
  EXPECT_EQ(open.kind, plat::Question::Kind::OpenFile);
  EXPECT_EQ(open.filter, "(*.pst)|*.pst|");
  EXPECT_EQ(open.defaultExtension, "pst");
  EXPECT_EQ(open.title, "##FILEOPENPART");
  EXPECT_EQ(open.flags, 6u);
  ASSERT_TRUE(Load2(Write("b.pst", b)));
  EXPECT_TRUE(Messages().empty());

  // Tag, date, name, start, stop, ramp, hold, limit, break-away (difference),
  // 19-21, time to target (difference), 25-28, result.
  EXPECT_EQ(Compare(), (std::vector<std::string>{"PV-1", "NO TAG", "12/8/2026", "12/8/2026", "a.pst", "b.pst",
                                                 "20", "20", "80", "80", "5", "5", "2", "2", "30", "45",
                                                 " 1.50", " 1.25", " 0.25", "", "", "", " 7.25", " - ", " - ",
                                                 "", "", "", "", "##PST_RESULT_0_EnumDescr",
                                                 "##PST_RESULT_1_EnumDescr"}));
  // File 1 as stored; file 2 copied; the difference over the shorter
  // channel at file 1's x, file 1 minus file 2.
  EXPECT_EQ(Of("Position").size(), 10u);
  EXPECT_EQ(Of("Position2").size(), 7u);
  const Points diff = Of("PositionDiff");
  ASSERT_EQ(diff.size(), 7u);
  for (const auto& [x, y] : diff) EXPECT_EQ(y, -3) << x;
  EXPECT_EQ(diff.back().first, 600);
  EXPECT_EQ(Of("CommandDiff"), (Points{{0, 0}, {100, 0}, {200, 0}, {300, 0}, {400, 0}, {500, 0}, {600, 0}}));
  EXPECT_EQ(Of("ILPOSDiff").front(), std::make_pair(0.0, -3.0));
  EXPECT_EQ(Range(compare, true, "RampX"), std::make_pair(0.0, 900.0));
}

TEST_F(PSTCompareFiles, AStrokeSettingThatDiffersAsksAndCancelKeepsEverything) {
  Stored a;
  const std::string first = Write("a.pst", a);
  struct Case {
    size_t setting;  // start, stop, limit, ramp, hold
    int answer;      // 0: no question
  };
  const Case cases[] = {{0, IDOK}, {1, IDCANCEL}, {3, IDCANCEL}, {4, IDOK}, {2, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    ASSERT_TRUE(Load1(first));
    ASSERT_TRUE(Load2(first));  // the same file twice: zero differences, no question
    EXPECT_EQ(Of("PositionDiff").size(), 10u);
    for (const auto& [x, y] : Of("PositionDiff")) EXPECT_EQ(y, 0);
    EXPECT_EQ(Compare()[18], " 0.00");
    const std::vector<std::string> texts = Compare();
    const std::vector<Points> channels = All();
    Stored b = a;
    b.settings[c.setting] += 1;
    b.lag = 2;
    const size_t asked = person.Asked().size();
    person.AnswerFile(Write("b.pst", b));
    if (c.answer) person.Answer(c.answer);
    EXPECT_EQ(cf.LoadPSTCompareFile2(file, compare, nullptr), c.answer != IDCANCEL);
    const bool question = c.answer != 0;
    ASSERT_EQ(person.Asked().size(), asked + 1 + question);
    if (question) {
      EXPECT_EQ(Last().text, "Settings do not Match. Comparision may be Invalid. Do you wish to continue");
      EXPECT_EQ(Last().caption, "Compare");
      EXPECT_EQ(Last().type, static_cast<UINT>(MB_OKCANCEL));
    }
    if (c.answer == IDCANCEL) {
      EXPECT_EQ(Compare(), texts);
      EXPECT_EQ(All(), channels);
    } else {
      EXPECT_EQ(Compare()[5], "b.pst");
      EXPECT_EQ(Of("PositionDiff").front().second, -2);
    }
  }
}

TEST_F(PSTCompareFiles, UnreadableFilesAndCancelLeaveTextsAndPlotAsTheyWere) {
  Stored a;
  Stored b;
  b.results = {2, 3, 2};
  const std::string good1 = Write("a.pst", a), good2 = Write("b.pst", b);
  // A step file renamed: six channels, its settings without a time limit.
  IiXYPlotXPtr step = NewPlot<IiXYPlotXPtr>();
  cf.SetupStepPlot(step);
  cf.SetupStepChannels(step);
  for (int i = 0; i < 6; ++i) ChannelAt(step, 4)->AddXY(i, i, nullptr);
  for (char c : std::string("TAG")) ChannelAt(step, 5)->AddXY(0, c, nullptr);
  const std::string renamed = folder / "step.pst";
  ASSERT_EQ(step->SaveDataToFile(renamed.c_str()), S_OK);
  filetest::WriteFile(folder / "garbage.pst", "not a plot file\n");
  filetest::WriteFile(folder / "empty.pst", "");
  Stored shortResults = a;  // cut short: a result missing
  const std::string cut = Write("cut.pst", shortResults);
  filetest::WriteFile(cut, filetest::ReadFile(cut).substr(0, filetest::ReadFile(cut).size() / 2));

  ASSERT_TRUE(Load1(good1));
  ASSERT_TRUE(Load2(good2));
  const std::vector<std::string> texts = Compare();
  const std::vector<Points> channels = All();
  for (const std::string& bad : {renamed, folder / "garbage.pst", folder / "empty.pst", cut, folder / "none.pst"}) {
    for (bool second : {false, true}) {
      SCOPED_TRACE(bad + (second ? " as file 2" : " as file 1"));
      person.AnswerFile(bad).Answer(IDOK);
      EXPECT_FALSE(second ? cf.LoadPSTCompareFile2(file, compare, nullptr) : cf.LoadPSTCompareFile1(file, compare));
      EXPECT_EQ(Last().text, "File open error.");
      EXPECT_EQ(Last().caption, "");
      EXPECT_EQ(Compare(), texts);
      EXPECT_EQ(All(), channels);
    }
  }
  for (bool second : {false, true}) {
    person.CancelFile();
    const size_t asked = person.Asked().size();
    EXPECT_FALSE(second ? cf.LoadPSTCompareFile2(file, compare, nullptr) : cf.LoadPSTCompareFile1(file, compare));
    EXPECT_EQ(person.Asked().size(), asked + 1);  // the dialog only
    EXPECT_EQ(Compare(), texts);
    EXPECT_EQ(All(), channels);
  }
}

TEST_F(PSTCompareFiles, AnUnknownResultCodeShowsNoTextNotTheEarlierFiles) {
  Stored a;
  Stored b;
  b.results = {1, 2, 4};
  ASSERT_TRUE(Load1(Write("a.pst", a)));
  ASSERT_TRUE(Load2(Write("a2.pst", a)));
  EXPECT_EQ(Compare()[30], "##PST_RESULT_0_EnumDescr");
  ASSERT_TRUE(Load2(Write("b.pst", b)));
  EXPECT_EQ(Compare()[30], "");
}

TEST_F(PSTCompareFiles, ANewFirstFileStartsANewComparison) {
  Stored a;
  Stored b;
  b.lag = 4;
  ASSERT_TRUE(Load1(Write("a.pst", a)));
  ASSERT_TRUE(Load2(Write("b.pst", b)));
  Stored c;
  c.tag = "PV-9";
  c.points = 4;
  ASSERT_TRUE(Load1(Write("c.pst", c)));
  const std::vector<std::string> texts = Compare();
  for (size_t i : {1, 3, 5, 17, 18, 23, 24, 30}) EXPECT_EQ(texts[i], "") << i;
  for (size_t i : {7, 9, 11, 13, 15}) EXPECT_EQ(texts[i], "0.0") << i;
  EXPECT_EQ(texts[0], "PV-9");
  for (const char* name : {"Position2", "PositionDiff", "Command2", "CommandDiff", "ILCmd2", "ILCmdDiff", "ILPOS2",
                           "ILPOSDiff"})
    EXPECT_TRUE(Of(name).empty()) << name;
  EXPECT_EQ(Of("ILPOS").size(), 4u);
}

TEST_F(PSTCompareFiles, NumbersKeepTheirPointInACommaLanguage) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  Stored a;
  a.settings[4] = 2.5;
  Stored b = a;
  b.results = {1.25, 7.5, 0};
  const bool loaded = Load1(Write("a.pst", a)) && Load2(Write("b.pst", b));
  std::setlocale(LC_ALL, previous.c_str());
  ASSERT_TRUE(loaded);
  const std::vector<std::string> texts = Compare();
  EXPECT_EQ(texts[12], "2.5");
  EXPECT_EQ(texts[18], " 0.25");
  EXPECT_EQ(texts[24], " 0.25");
}

}  // namespace
