// Partial stroke test plot and file.
#include "files/kinds_fixture.h"

namespace {

using namespace kindtest;

class PSTFiles : public KindFiles {
 protected:
  IiPlotXPtr Plot() {
    IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
    cf.SetupPSTPlot(plot);
    cf.SetupPSTChannels(plot);
    return plot;
  }
  void SetFields(std::vector<const char*> settings, const char* breakaway, const char* toTarget, BYTE code,
                 const _bstr_t& tag) {
    for (size_t i = 0; i < 5; ++i) InOrder(cf.m_strPSTSettings, i) = settings[i];
    cf.m_strPSTBreakawayTime = breakaway;
    cf.m_strPSTTimeToTarget = toTarget;
    cf.m_nPSTResultCode = code;
    cf.m_strPSTTag = tag;
  }
  std::vector<std::string> Fields() {
    std::vector<std::string> f = Texts(cf.m_strPSTSettings);
    for (const _bstr_t* t : {&cf.m_strPSTBreakawayTime, &cf.m_strPSTTimeToTarget, &cf.m_strPSTResult, &cf.m_strPSTTag})
      f.push_back(t->str());
    f.push_back(std::to_string(cf.m_nPSTResultCode));
    return f;
  }
  bool OpenFrom(IiPlotXPtr& plot, const std::string& path) {
    person.AnswerFile(path);
    return cf.OpenPSTFile(plot);
  }
};

TEST_F(PSTFiles, SavedAndOpenedBackWithSettingsInFileOrderResultsAndTag) {
  IiPlotXPtr plot = Plot();
  FillAll(plot, 4, 6, 10);
  // Fields: start, stop, hold, ramp, limit; the file holds start, stop,
  // limit, ramp, hold. " - " shown by the page arrives as 655.35.
  SetFields({"20", "80.5", "2.5", "5", "30"}, "1.5", "655.35", 2, u"PV-7\u00E9");
  const std::string path = folder / "p.pst";
  person.AnswerFile(path);
  cf.SavePSTFile(plot);

  const plat::Question& q = person.Asked().at(0);
  EXPECT_EQ(q.kind, plat::Question::Kind::SaveFile);
  EXPECT_EQ(q.defaultName, "PV-7\u00E9_PST_2026_12_8_6h_5m.pst");
  EXPECT_EQ(q.defaultExtension, "pst");
  EXPECT_EQ(q.filter, "(*.pst)|*.pst|");
  EXPECT_EQ(q.title, "##FILESAVEPARTAS");
  EXPECT_EQ(q.flags, 6u);
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"p.pst"}));
  EXPECT_EQ(Ys(plot, 4), (std::vector<double>{20, 80.5, 30, 5, 2.5, 12, 8, 2026}));
  EXPECT_EQ(Ys(plot, 5), (std::vector<double>{1.5, 655.35, 2}));
  EXPECT_EQ(Ys(plot, 6), (std::vector<double>{80, 86, 45, 55, -23}));
  const std::vector<Points> saved = AllPoints(plot);

  plot->ClearAllData();
  SetFields({"x", "x", "x", "x", "x"}, "x", "x", 9, "x");
  ASSERT_TRUE(OpenFrom(plot, path));
  const plat::Question& o = person.Asked().at(1);
  EXPECT_EQ(o.kind, plat::Question::Kind::OpenFile);
  EXPECT_EQ(o.defaultName, "");
  EXPECT_EQ(o.defaultExtension, "pst");
  EXPECT_EQ(o.filter, "*.pst|*.pst|");
  EXPECT_EQ(o.title, "##FILEOPENPART");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(AllPoints(plot), saved);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"20", "80.5", "2.5", "5", "30", " 1.50", "655.35",
                                                "##PST_RESULT_2_EnumDescr", "PV-7\u00E9", "2"}));
  // Both axes fit the data: x 0 .. 5 x 0.25 + 3, y 10 .. 40 + 5 x 0.125.
  EXPECT_EQ(Range(plot, true, "RampX"), std::make_pair(0.0, 4.25));
  EXPECT_EQ(Range(plot, false, "RampPerc"), std::make_pair(10.0, 30.625));
}

// Files made straight through the plot, with stored values a page cannot give.
TEST_F(PSTFiles, StoredResultsComeBackAsTexts) {
  struct Case {
    double breakaway, toTarget, code;
    const char* breakawayText;
    const char* toTargetText;
    int expectCode;
    const char* result;
  };
  const Case cases[] = {
      {0, 12.5, 0, " 0.00", "12.50", 0, "##PST_RESULT_0_EnumDescr"},
      {1.005, 100.125, 1, " 1.00", "100.12", 1, "##PST_RESULT_1_EnumDescr"},  // 1.005 is stored a bit below
      {2, 3, 3.9, " 2.00", " 3.00", 3, "##PST_RESULT_3_EnumDescr"},
      {2, 3, 4, " 2.00", " 3.00", 4, ""},                            // no text for a code the device does not give
      {2, 3, 257, " 2.00", " 3.00", 1, "##PST_RESULT_1_EnumDescr"},  // its low 8 bits
      {2, 3, -1, " 2.00", " 3.00", 255, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    IiPlotXPtr plot = Plot();
    for (int i = 0; i < 8; ++i) ChannelAt(plot, 4)->AddXY(i, i + 1, nullptr);
    for (double y : {c.breakaway, c.toTarget, c.code}) ChannelAt(plot, 5)->AddXY(0, y, nullptr);
    const std::string path = folder / "r.pst";
    ASSERT_TRUE(SUCCEEDED(plot->SaveDataToFile(path.c_str())));
    cf.m_strPSTResult = "earlier";
    ASSERT_TRUE(OpenFrom(plot, path));
    EXPECT_EQ(Fields(), (std::vector<std::string>{"1", "2", "5", "4", "3", c.breakawayText, c.toTargetText, c.result,
                                                  "NO TAG", std::to_string(c.expectCode)}));
  }
}

TEST_F(PSTFiles, ASecondSaveStoresOnlyTheValuesOfNow) {
  IiPlotXPtr plot = Plot();
  SetFields({"1", "2", "3", "4", "5"}, "6", "7", 1, "T");
  person.AnswerFile(folder / "a.pst");
  cf.SavePSTFile(plot);
  SetFields({"10", "20", "30", "abc", ""}, "60", "70", 3, "");
  clock.Set({2027, 1, 2, 3, 4, 0, 0});
  person.AnswerFile(folder / "b.pst");
  cf.SavePSTFile(plot);
  EXPECT_EQ(Ys(plot, 4), (std::vector<double>{10, 20, 0, 0, 30, 1, 2, 2027}));
  EXPECT_EQ(Ys(plot, 5), (std::vector<double>{60, 70, 3}));
  EXPECT_TRUE(Ys(plot, 6).empty());
  ASSERT_TRUE(OpenFrom(plot, folder / "b.pst"));
  EXPECT_EQ(Fields(), (std::vector<std::string>{"10", "20", "30", "0", "0", "60.00", "70.00",
                                                "##PST_RESULT_3_EnumDescr", "NO TAG", "3"}));
}

TEST(PSTLayout, TitleAxesAndSevenChannelsWhateverThePlotHeld) {
  IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
  for (int i = 0; i < 9; ++i) plot->AddChannel(nullptr);
  ChannelAt(plot, 3)->AddXY(1, 2, nullptr);
  CFileFunctions cf;
  cf.SetupPSTPlot(plot);
  cf.SetupPSTChannels(plot);
  cf.SetupPSTChannels(plot);
  EXPECT_EQ(Title(plot), "Partial Stroke Test");
  EXPECT_EQ(Range(plot, true, "RampX"), std::make_pair(0.0, 10000.0));
  EXPECT_EQ(Range(plot, false, "RampPerc"), std::make_pair(0.0, 130.0));
  _bstr_t xTitle, yTitle;
  AxisAt(plot, true, 0)->GetTitle(&xTitle);
  AxisAt(plot, false, 0)->GetTitle(&yTitle);
  EXPECT_EQ(Text(xTitle), "Time [ms]");
  EXPECT_EQ(Text(yTitle), "Position [%]");
  struct Row {
    const char* name;
    const char* title;
    COLORREF color;
    const char* axis;
    LONG markers, style;
    bool shown;
  };
  const Row rows[] = {
      {"Position", "Position", 0x0A0AFF, "RampX", 1, 0, true},
      {"Command", "Command", 0xC00000, "RampX", 1, 1, true},
      {"ILCmd", "Pilot Relay Command", 0x004000, "RampX", 1, 5, true},
      {"ILPos", "Pilot Relay Position", 0x000080, "RampX", 1, 6, true},
      {"TestSettings", "TestSettings", 0xCC00CC, "None", 0, -1, false},
      {"Results", "Results", 0x004000, "None", 0, -1, false},
      {"TagName", "TagName", 0x000080, "None", 0, -1, false},
  };
  ASSERT_EQ(ChannelCount(plot), 7);
  for (LONG i = 0; i < 7; ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.name);
    IiPlotChannelPtr c = ChannelAt(plot, i);
    EXPECT_EQ(LookOf(c), (ChannelLook{r.name, r.title, r.axis, r.shown ? "RampPerc" : "None", r.color,
                                      r.markers ? r.style : -1, r.shown, r.shown, 0}));
  }
}

}  // namespace
