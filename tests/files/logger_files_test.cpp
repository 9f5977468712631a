// Data logger plot and record file.
#include <cmath>
#include <filesystem>

#include "files/kinds_fixture.h"

namespace {

using namespace kindtest;

class LoggerFiles : public KindFiles {
 protected:
  IiPlotXPtr Plot() {
    IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
    cf.SetupDataLoggerPlot(plot);
    cf.SetupDataLoggerChannels(plot);
    return plot;
  }
  void SetFields(std::vector<const char*> settings, const _bstr_t& tag) {
    for (size_t i = 0; i < 7; ++i) InOrder(cf.m_strLoggerSettings, i) = settings[i];
    cf.m_strFileTag = tag;
  }
  std::vector<std::string> Fields() {
    std::vector<std::string> f = Texts(cf.m_strLoggerSettings);
    f.push_back(cf.m_strFileTag.str());
    return f;
  }
  bool OpenFrom(IiPlotXPtr& plot, const std::string& path) {
    person.AnswerFile(path);
    return cf.OpenDataLoggerFile(plot);
  }
};

TEST_F(LoggerFiles, SavedAndOpenedBackWithSettingsInFileOrderAndDisplaySettings) {
  IiPlotXPtr plot = Plot();
  FillAll(plot, 6, 4, -3);
  // Interval entry 3, duration 10, unit entry 1, elapsed 0 d 2 h 15 min 7 s.
  SetFields({"3", "10", "1", "0", "2", "15", "7"}, "FV101");
  plot->SetTitle("Recorded");
  const std::string path = folder / "d.lgr";
  person.AnswerFile(path);
  cf.SaveDataLoggerFile(plot);

  const plat::Question& q = person.Asked().at(0);
  EXPECT_EQ(q.defaultName, "FV101_DATA_LOGGER_2026_12_8_6h_5m.lgr");
  EXPECT_EQ(q.defaultExtension, "lgr");
  EXPECT_EQ(q.filter, "(*.lgr)|*.lgr|");
  EXPECT_EQ(q.title, "##FILESAVELOGAS");
  EXPECT_EQ(q.flags, 6u);
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"d.datalogprp", "d.lgr"}));
  EXPECT_EQ(Ys(plot, 6), (std::vector<double>{1, 10, 3, 0, 2, 15, 7}));
  EXPECT_EQ(Ys(plot, 7), (std::vector<double>{70, 86, 49, 48, 49}));
  const std::vector<Points> saved = AllPoints(plot);

  plot->ClearAllData();
  plot->SetTitle("Before open");
  SetFields({"x", "x", "x", "x", "x", "x", "x"}, "x");
  ASSERT_TRUE(OpenFrom(plot, path));
  const plat::Question& o = person.Asked().at(1);
  EXPECT_EQ(o.filter, "*.lgr|*.lgr|");
  EXPECT_EQ(o.title, "##FILEOPENLOG");
  EXPECT_EQ(o.defaultName, "");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(AllPoints(plot), saved);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"3", "10", "1", "0", "2", "15", "7", "FV101"}));
  EXPECT_EQ(Title(plot), "Recorded");
  // The settings the plot had just before the open, beside the record.
  IiPlotXPtr probe = Plot();
  ASSERT_TRUE(SUCCEEDED(probe->LoadPropertiesFromFile((folder / "default.datalogprp").c_str())));
  EXPECT_EQ(Title(probe), "Before open");
}

TEST_F(LoggerFiles, WithoutAUsableSettingsFileARecordOpensWithThePlotsOwn) {
  enum class Settings { Deleted, Foreign };
  for (const Settings broken : {Settings::Deleted, Settings::Foreign}) {
    SCOPED_TRACE(static_cast<int>(broken));
    IiPlotXPtr plot = Plot();
    FillAll(plot, 6, 2, 1);
    SetFields({"0", "1", "2", "abc", "", " 4.5", "6e1"}, "");
    plot->SetTitle("Recorded");
    person.AnswerFile(folder / "d.lgr");
    cf.SaveDataLoggerFile(plot);
    EXPECT_EQ(Ys(plot, 6), (std::vector<double>{2, 1, 0, 0, 0, 4.5, 60}));
    const std::vector<Points> saved = AllPoints(plot);
    if (broken == Settings::Deleted) std::filesystem::remove(folder / "d.datalogprp");
    // Another plot's settings: one channel, not eight.
    if (broken == Settings::Foreign) NewPlot<IiPlotXPtr>()->SavePropertiesToFile((folder / "d.datalogprp").c_str());
    plot->SetTitle("Before open");
    plot->ClearAllData();
    ASSERT_TRUE(OpenFrom(plot, folder / "d.lgr"));
    EXPECT_EQ(Title(plot), "Before open");
    EXPECT_EQ(AllPoints(plot), saved);
    EXPECT_EQ(Fields(), (std::vector<std::string>{"0", "1", "2", "0", "0", "4.5", "60", "NO TAG"}));
  }
}

// A ramp test file, renamed to ".lgr", has points where a record keeps
// its settings and tag: it is refused, and the plot (points,
// display settings, file stamp) and the fields stay as they were.
TEST_F(LoggerFiles, AnotherKindsFileIsRefusedAndChangesNothing) {
  IiXYPlotXPtr other = NewPlot<IiXYPlotXPtr>();
  cf.SetupRampPlot(other);
  cf.SetupRampTestChannels(other);
  FillAll(other, ChannelCount(other), 8, 3);
  person.AnswerFile(folder / "ramp.rmp");
  cf.SaveRampFile(other);
  std::filesystem::rename(folder / "ramp.rmp", folder / "ramp.lgr");

  IiPlotXPtr plot = Plot();
  FillAll(plot, 6, 3, 2);
  plot->SetTitle("Recorded");
  SetFields({"3", "10", "1", "0", "2", "15", "7"}, "FV101");
  const std::vector<std::string> fields = Fields();
  const std::string before = WholePlot(plot);
  person.AnswerFile(folder / "ramp.lgr").Answer(IDOK);
  EXPECT_FALSE(cf.OpenDataLoggerFile(plot));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "File open error.");
  EXPECT_EQ(Fields(), fields);
  EXPECT_EQ(WholePlot(plot), before);
}

// A day at one sample a second in all six data channels.
TEST_F(LoggerFiles, ADayOfSamplesRoundTripsPointForPoint) {
  IiPlotXPtr plot = Plot();
  constexpr int kSamples = 86400;
  for (LONG c = 0; c < 6; ++c) {
    IiPlotChannelPtr channel = ChannelAt(plot, c);
    for (int i = 0; i < kSamples; ++i) channel->AddXY(i, 50 + 40 * std::sin(i * 0.001 + c) + i * 1e-7, nullptr);
  }
  SetFields({"0", "86400", "0", "1", "0", "0", "0"}, "FV101");
  person.AnswerFile(folder / "day.lgr");
  cf.SaveDataLoggerFile(plot);
  const std::vector<Points> saved = AllPoints(plot);
  plot->ClearAllData();
  ASSERT_TRUE(OpenFrom(plot, folder / "day.lgr"));
  EXPECT_EQ(AllPoints(plot), saved);
  EXPECT_TRUE(Messages().empty());
}

TEST(LoggerLayout, TitleAxesAndEightChannelsWhateverThePlotHeld) {
  IiPlotXPtr plot = NewPlot<IiPlotXPtr>();
  for (int i = 0; i < 10; ++i) plot->AddChannel(nullptr);
  ChannelAt(plot, 9)->AddXY(1, 2, nullptr);
  CFileFunctions cf;
  cf.SetupDataLoggerPlot(plot);
  cf.SetupDataLoggerChannels(plot);
  cf.SetupDataLoggerChannels(plot);
  EXPECT_EQ(Title(plot), "##IDD_DIAGNOSTIC_DATALOGGER");
  COLORREF titleColor = 0;
  plot->GetTitleFontColor(&titleColor);
  EXPECT_EQ(titleColor, 0x808080u);
  IFontPtr titleFont;
  plot->GetTitleFont(&titleFont);
  CY size = 0;
  titleFont->get_Size(&size);
  EXPECT_EQ(size, 110000);
  struct AxisRow {
    bool x;
    LONG index;
    const char* name;
    const char* title;
    double min, span;
  };
  const AxisRow axes[] = {{true, 0, "TAxis", "Time (s)", -1, 61},
                          {false, 0, "Percent", "Percent (%)", -10, 106},
                          {false, 1, "Temperature", "Temperature", 0, 100}};
  for (const AxisRow& a : axes) {
    SCOPED_TRACE(a.name);
    IiPlotAxisPtr axis = AxisAt(plot, a.x, a.index);
    ASSERT_TRUE(axis);
    _bstr_t name, title;
    double min = 0, span = 0;
    axis->GetName(&name);
    axis->GetTitle(&title);
    axis->GetMin(&min);
    axis->GetSpan(&span);
    EXPECT_EQ(Text(name), a.name);
    EXPECT_EQ(Text(title), a.title);
    EXPECT_EQ(min, a.min);
    EXPECT_EQ(span, a.span);
    IFontPtr font;
    axis->GetTitleFont(&font);
    BOOL bold = FALSE;
    CY points = 0;
    font->get_Bold(&bold);
    font->get_Size(&points);
    EXPECT_TRUE(bold);
    EXPECT_EQ(points, 80000);
  }
  struct Row {
    const char* name;
    const char* title;
    const char* y;
    COLORREF color;
    LONG style;  // -1: no markers, hidden
  };
  const Row rows[] = {
      {"Position", "Position", "Percent", 0x0A0AFF, 0},
      {"Command", "Command", "Percent", 0xC00000, 1},
      {"AnalogCommand", "4 - 20 Command", "Percent", 0x5096FF, 9},
      {"Temperature", "Temperature", "Temperature", 0x808080, 4},
      {"Spool_CMD", "Pilot Relay Command", "Percent", 0x004000, 5},
      {"Spool_Pos", "Pilot Relay Position", "Percent", 0x000080, 6},
      {"TestSettings", "TestSettings", "None", 0xCC00CC, -1},
      {"TagName", "TagName", "None", 0x000080, -1},
  };
  ASSERT_EQ(ChannelCount(plot), 8);
  for (LONG i = 0; i < 8; ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.name);
    IiPlotChannelPtr c = ChannelAt(plot, i);
    EXPECT_EQ(LookOf(c), FreshLook(r.name, r.title, r.style >= 0 ? "TAxis" : "None", r.y, r.color, r.style));
  }
}

}  // namespace
