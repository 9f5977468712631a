// The ramp comparison: its two plot layouts, and the loaders of file 1 and
// file 2 on files written by the ramp test's own save.
#include <algorithm>
#include <map>

#include "files/kinds_fixture.h"

namespace {

using namespace kindtest;
using filetest::kRampCompareChannels;
using plat::Question;

// What one saved ramp test holds.
struct RampTest {
  const char* tag = "FV-101";
  std::array<const char*, 4> settings{"25", "75.5", "2", "60"};
  BYTE bidirectional = 1;
  const char* strokeLength = "50.04";
  BYTE strokeCode = 49;
  const char* actuatorSize = "12.34";
  BYTE areaCode = 1;
  int points = 6;
  double seed = 1.0;  // the data points: y = seed * (channel + 1) + i
};

class RampCompare : public KindFiles {
 protected:
  void SetUp() override {
    cf.SetupRampPlot(comparePlot);
    cf.SetupRampCompareChannels(comparePlot);
    cf.SetupRampPlot(filePlot);
    cf.SetupRampCompareFileChannels(filePlot);
  }

  // Written by the ramp test's save, as the ramp test page writes it.
  std::string Save(const char* name, const RampTest& t) {
    CFileFunctions saver;
    IiXYPlotXPtr plot = NewPlot<IiXYPlotXPtr>();
    saver.SetupRampPlot(plot);
    saver.SetupRampTestChannels(plot);
    for (LONG c = 0; c < 10; ++c)
      for (int i = 0; i < t.points; ++i) ChannelAt(plot, c)->AddXY(i * 0.5, t.seed * (c + 1) + i, nullptr);
    for (size_t i = 0; i < 4; ++i) InOrder(saver.m_strRampSettings, i) = t.settings[i];
    saver.m_strRampTag = t.tag;
    saver.m_bRampBidirectional = t.bidirectional;
    saver.m_strRampStrokeLength = t.strokeLength;
    saver.m_nRampStrokeUnitCode = t.strokeCode;
    saver.m_strRampActuatorSize = t.actuatorSize;
    saver.m_nRampAreaUnitCode = t.areaCode;
    const std::string path = folder / name;
    person.AnswerFile(path);
    saver.SaveRampFile(plot);
    return path;
  }
  bool Load1(const std::string& path) {
    person.AnswerFile(path);
    return cf.LoadRampCompareFile1(filePlot, comparePlot);
  }
  bool Load2(const std::string& path) {
    person.AnswerFile(path);
    return cf.LoadRampCompareFile2(filePlot, comparePlot, nullptr);
  }
  Points Channel(const char* name) { return PointsOf(cf.GetXYPlotChannelByName(comparePlot, name)); }
  std::vector<std::string> CompareTexts() { return Texts(cf.m_strRampCompare); }
  std::map<std::string, Points> AllChannels() {
    std::map<std::string, Points> all;
    for (const char* name : kRampCompareChannels) all[name] = Channel(name);
    return all;
  }

  IiXYPlotXPtr comparePlot = NewPlot<IiXYPlotXPtr>();
  IiXYPlotXPtr filePlot = NewPlot<IiXYPlotXPtr>();
};

TEST_F(RampCompare, TheComparePlotHoldsThirtyHiddenChannelsInTableOrder) {
  // Laid out again over channels and points of an earlier layout.
  ChannelAt(comparePlot, 0)->AddXY(1, 2, nullptr);
  cf.SetupRampCompareChannels(comparePlot);
  const std::vector<std::string> order = {
      "Position1",         "Position2",          "PositionDiff",        "Command1",          "Command2",
      "CommandDiff",       "ILCmd1",             "ILCmd2",              "ILCmdDiff",         "ILPos1",
      "ILPos2",            "ILPosDiff",          "PosnvCmdOpen1",       "PosnvCmdOpen2",     "PosnvCmdOpenDiff",
      "ILCmdvCmdOpen1",    "ILCmdvCmdOpen2",     "ILCmdvCmdOpenDiff",   "ILPosnvCmdOpen1",   "ILPosnvCmdOpen2",
      "ILPosnvCmdOpenDiff", "PosnvCmdClose1",    "PosnvCmdClose2",      "PosnvCmdCloseDiff", "ILCmdvCmdClose1",
      "ILCmdvCmdClose2",   "ILCmdvCmdCloseDiff", "ILPosnvCmdClose1",    "ILPosnvCmdClose2",  "ILPosnvCmdCloseDiff"};
  EXPECT_EQ(ChannelNames(comparePlot), order);
  const std::map<std::string, char> flags = filetest::Flags(comparePlot);
  for (const auto& [name, flag] : flags) EXPECT_EQ(flag, '0') << name;
  const auto hidden = [](ChannelLook l) {
    l.visible = l.inLegend = false;
    return l;
  };
  EXPECT_EQ(LookOf(ChannelAt(comparePlot, 2)),
            hidden(FreshLook("PositionDiff", "Position Delta", "RampX", "RampPerc", 0x0A0AFF, 6)));
  EXPECT_EQ(LookOf(ChannelAt(comparePlot, 9)),
            hidden(FreshLook("ILPos1", "Pilot Relay Position 1", "RampX", "RampPerc", 0x000080, 5)));
  EXPECT_EQ(LookOf(ChannelAt(comparePlot, 18)),
            hidden(FreshLook("ILPosnvCmdOpen1", "Pilot Relay Position(opening) 1", "CmdX", "RampPerc", 0xCC00FF, 7)));
  EXPECT_EQ(LookOf(ChannelAt(comparePlot, 24)),
            hidden(FreshLook("ILCmdvCmdClose1", "Pilot Relay Command(closing) 1", "CmdX", "RampPerc", 0x0066FF, 5)));
  EXPECT_FALSE(cf.GetXYPlotChannelByName(comparePlot, "Channel 1"));
}

TEST_F(RampCompare, TheFilePlotListsARampFilesFirstTwelveChannelsShown) {
  EXPECT_EQ(ChannelNames(filePlot),
            (std::vector<std::string>{"Position1", "Command1", "ILCmd1", "ILPos1", "PosnvCmdOpen1", "ILCmdvCmdOpen1",
                                      "ILPosnvCmdOpen1", "PosnvCmdClose1", "ILCmdvCmdClose1", "ILPosnvCmdClose1",
                                      "RampSettings1", "TagName1"}));
  // No markers, and the storage channels are left shown.
  EXPECT_EQ(LookOf(ChannelAt(filePlot, 5)), (ChannelLook{"ILCmdvCmdOpen1", "Pilot Relay Command (opening)", "CmdX",
                                                         "RampPerc", 10027059, -1, true, true, 0}));
  EXPECT_EQ(LookOf(ChannelAt(filePlot, 10)),
            (ChannelLook{"RampSettings1", "RampSettings", "None", "None", 13369548, -1, true, true, 0}));
}

TEST_F(RampCompare, FileOneFillsItsTextsAndChannelsAndStartsANewComparison) {
  ASSERT_TRUE(Load1(Save("a.rmp", {})));
  EXPECT_EQ(person.Asked().back().title, "##FILEOPENRAMP");
  ASSERT_TRUE(Load2(Save("b.rmp", {.tag = "FV-202", .seed = 2})));
  // A new file 1 empties file 2 and the differences.
  ASSERT_TRUE(Load1(Save("c.rmp", {.tag = "", .settings = {"12.5", "80", "3", "30"}, .bidirectional = 0})));
  EXPECT_EQ(CompareTexts(),
            (std::vector<std::string>{"NO TAG", "", "12/8/2026", "", "c.rmp", "", "12.5", "0.0", "80", "0.0", "3",
                                      "0.0", "30", "0.0", "50.0", "12.3", "cm\u00B2", "mm", "", "", "", "", "", ""}));
  EXPECT_EQ(cf.m_bCompareBidirectional[0], 0);
  EXPECT_EQ(cf.m_bCompareBidirectional[1], CCommonFields::kCompareNotLoaded);
  const Points position = Channel("Position1");
  ASSERT_EQ(position.size(), 6u);
  EXPECT_EQ(position[5], (std::pair<double, double>(2.5, 1.0 + 5)));
  EXPECT_EQ(Channel("ILPosnvCmdClose1").size(), 6u);
  for (const char* name : {"Position2", "PositionDiff", "ILPosnvCmdCloseDiff"}) EXPECT_TRUE(Channel(name).empty());
  // The ramp view of both files is shown; the signature channels are not.
  const auto flags = filetest::Flags(comparePlot);
  EXPECT_EQ(flags.at("Position1"), '1');
  EXPECT_EQ(flags.at("PositionDiff"), '1');
  EXPECT_EQ(flags.at("PosnvCmdOpen1"), '0');
  EXPECT_EQ(flags.at("x:RampX"), '1');
  EXPECT_EQ(flags.at("x:CmdX"), '0');
}

TEST_F(RampCompare, StoredNumbersAndCodesBecomeTheirTexts) {
  struct Case {
    BYTE strokeCode, areaCode;
    const char* strokeLength;
    const char* actuatorSize;
    const char* strokeUnit;
    const char* areaUnit;
    const char* lengthText;
    const char* sizeText;
  };
  const Case cases[] = {
      {57, 1, "50", "12.34", "%", "cm\u00B2", "50.0", "12.3"},
      {143, 0, "50.01", "7", "deg", "in\u00B2", "50.0", "7.0"},
      {49, 7, "0.05", "100.25", "mm", "in\u00B2", "0.1", "100.2"},
      {47, 1, "1234.5", "-3", "in.", "cm\u00B2", "1234.5", "-3.0"},
      {200, 1, "", "", "in.", "cm\u00B2", "0.0", "0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strokeUnit + std::string(" ") + c.lengthText);
    ASSERT_TRUE(Load1(Save("u.rmp", {.strokeLength = c.strokeLength,
                                     .strokeCode = c.strokeCode,
                                     .actuatorSize = c.actuatorSize,
                                     .areaCode = c.areaCode})));
    EXPECT_EQ(Text(cf.m_strRampCompare[17]), c.strokeUnit);
    EXPECT_EQ(Text(cf.m_strRampCompare[16]), c.areaUnit);
    EXPECT_EQ(Text(cf.m_strRampCompare[14]), c.lengthText);
    EXPECT_EQ(Text(cf.m_strRampCompare[15]), c.sizeText);
    EXPECT_EQ(cf.m_nCompareStrokeUnitCode, c.strokeCode);
    EXPECT_EQ(cf.m_nCompareAreaUnitCode, c.areaCode);
  }
}

TEST_F(RampCompare, FileTwoBuildsFileOneMinusFileTwoOverTheShorterChannel) {
  ASSERT_TRUE(Load1(Save("a.rmp", {.points = 6, .seed = 3})));
  // Other tag, units and date count for nothing; nothing is asked.
  clock.Set({2025, 1, 2, 3, 4, 0, 0});
  ASSERT_TRUE(Load2(Save("b.rmp", {.tag = "FV-202", .strokeCode = 57, .areaCode = 0, .points = 4, .seed = 1})));
  for (const Question& q : person.Asked()) EXPECT_NE(q.kind, Question::Kind::Message) << q.text;
  EXPECT_EQ(CompareTexts(),
            (std::vector<std::string>{"FV-101", "FV-202", "12/8/2026", "1/2/2025", "a.rmp", "b.rmp", "25", "25",
                                      "75.5", "75.5", "2", "2", "60", "60", "50.0", "12.3", "in\u00B2", "%", "50.0",
                                      "12.3", "", "", "", ""}));
  EXPECT_EQ(cf.m_bCompareBidirectional, (std::array<BYTE, 2>{1, 1}));
  for (const auto& [stem, channel] : {std::pair{"Position", 0}, {"ILCmdvCmdClose", 8}}) {
    SCOPED_TRACE(stem);
    const Points two = Channel((std::string(stem) + "2").c_str());
    const Points diff = Channel((std::string(stem) + "Diff").c_str());
    ASSERT_EQ(two.size(), 4u);
    ASSERT_EQ(diff.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(two[i].second, (channel + 1) + static_cast<double>(i));
      EXPECT_EQ(diff[i], (std::pair<double, double>(i * 0.5, 2.0 * (channel + 1))));
    }
  }
  // A second file 2 replaces the first one's channels.
  ASSERT_TRUE(Load2(Save("c.rmp", {.points = 6, .seed = 3})));
  EXPECT_EQ(Channel("Position2").size(), 6u);
  for (const auto& [x, y] : Channel("PositionDiff")) EXPECT_EQ(y, 0.0);
}

TEST_F(RampCompare, TheAxesHoldEveryCurveOfBothViewsAlsoWithAShortFileTwo) {
  // Each curve lies inside the axes it is drawn against.
  const auto inside = [&](const char* channel) {
    const bool time = std::string(channel).find("vCmd") == std::string::npos;
    const auto [xMin, xSpan] = Range(comparePlot, true, time ? "RampX" : "CmdX");
    const auto [yMin, ySpan] = Range(comparePlot, false, "RampPerc");
    for (const auto& [x, y] : Channel(channel))
      if (x < xMin || x > xMin + xSpan || y < yMin || y > yMin + ySpan) return false;
    return true;
  };
  ASSERT_TRUE(Load1(Save("a.rmp", {.points = 6, .seed = 1})));
  for (const char* name : kRampCompareChannels) EXPECT_TRUE(inside(name)) << name << " after file 1";
  for (const int points : {1, 3}) {
    ASSERT_TRUE(Load2(Save("b.rmp", {.points = points, .seed = 2})));
    for (const char* name : kRampCompareChannels) EXPECT_TRUE(inside(name)) << name << " with " << points;
    EXPECT_EQ(Range(comparePlot, true, "CmdX"), std::make_pair(0.0, 2.5));
  }
}

TEST_F(RampCompare, AnotherSettingAsksAndCancelKeepsTheEarlierFileTwo) {
  const std::string a = Save("a.rmp", {});
  ASSERT_TRUE(Load1(a));
  ASSERT_TRUE(Load2(a));
  const std::vector<std::string> texts = CompareTexts();
  const auto channels = AllChannels();
  const std::array<BYTE, 2> flags = cf.m_bCompareBidirectional;

  struct Case {
    const char* what;
    RampTest test;
  };
  const Case cases[] = {
      {"hold time", {.settings = {"25", "75.5", "3", "60"}}},
      {"bi-directional only", {.bidirectional = 0}},
      {"actuator size", {.strokeCode = 57, .actuatorSize = "12.5", .areaCode = 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string other = Save("b.rmp", c.test);
    person.AnswerFile(other).Answer(IDCANCEL);
    EXPECT_FALSE(cf.LoadRampCompareFile2(filePlot, comparePlot, nullptr));
    const Question& q = person.Asked().back();
    EXPECT_EQ(q.text, "##WRONGSETTINGS\n\n##COMPINVALID\n\n##CONTINUE");
    EXPECT_EQ(q.caption, "Compare");
    EXPECT_EQ(q.type, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(CompareTexts(), texts);
    EXPECT_EQ(cf.m_bCompareBidirectional, flags);
    EXPECT_EQ(cf.m_nCompareStrokeUnitCode, 49);
    EXPECT_EQ(AllChannels(), channels);
  }
  // OK compares all the same.
  person.AnswerFile(Save("b.rmp", {.bidirectional = 0, .seed = 2})).Answer(IDOK);
  EXPECT_TRUE(cf.LoadRampCompareFile2(filePlot, comparePlot, nullptr));
  EXPECT_EQ(cf.m_bCompareBidirectional, (std::array<BYTE, 2>{1, 0}));
  EXPECT_EQ(Channel("PositionDiff").front().second, -1.0);
}

TEST_F(RampCompare, ACancelledOrUnreadableFileChangesNothing) {
  const std::string a = Save("a.rmp", {});
  ASSERT_TRUE(Load1(a));
  ASSERT_TRUE(Load2(Save("b.rmp", {.seed = 2})));
  const std::vector<std::string> texts = CompareTexts();
  const auto channels = AllChannels();

  // A step test file renamed: no ramp settings in it.
  CFileFunctions stepper;
  IiXYPlotXPtr stepPlot = NewPlot<IiXYPlotXPtr>();
  stepper.SetupStepPlot(stepPlot);
  stepper.SetupStepChannels(stepPlot);
  const std::string step = folder / "step.rmp";
  person.AnswerFile(step);
  stepper.SaveStepFile(stepPlot);
  // Cut short inside its settings.
  const std::string whole = filetest::ReadFile(a);
  const std::string cut = folder / "cut.rmp";
  filetest::WriteFile(cut, whole.substr(0, whole.find("channel 10") + 24));
  const std::string garbage = folder / "garbage.rmp", empty = folder / "empty.rmp";
  filetest::WriteFile(garbage, "\x7f" "ELF and nothing a plot reads");
  filetest::WriteFile(empty, "");

  for (const bool second : {false, true}) {
    for (const std::string& path : {step, cut, garbage, empty, folder / "missing.rmp"}) {
      SCOPED_TRACE(path + (second ? " as file 2" : " as file 1"));
      person.AnswerFile(path).Answer(IDOK);
      EXPECT_FALSE(second ? cf.LoadRampCompareFile2(filePlot, comparePlot, nullptr)
                          : cf.LoadRampCompareFile1(filePlot, comparePlot));
      EXPECT_EQ(person.Asked().back().text, "File open error.");
      EXPECT_EQ(person.Asked().back().caption, second ? "LOAD" : "");
      EXPECT_EQ(CompareTexts(), texts);
      EXPECT_EQ(AllChannels(), channels);
    }
    person.CancelFile();
    const size_t asked = person.Asked().size();
    EXPECT_FALSE(second ? cf.LoadRampCompareFile2(filePlot, comparePlot, nullptr)
                        : cf.LoadRampCompareFile1(filePlot, comparePlot));
    EXPECT_EQ(person.Asked().size(), asked + 1);  // the dialog only
    EXPECT_EQ(CompareTexts(), texts);
    EXPECT_EQ(AllChannels(), channels);
  }
}

}  // namespace
