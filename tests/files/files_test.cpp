// Ramp and step test files: save and open through the plot's own files,
// the dialogs and messages, the fall-back settings, cancels and failures.
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <clocale>

#include <signal.h>

#include "files/plot_file_kit.h"
#include "files/fixture.h"
#include "platform/activex/control.h"
#include "platform/sys/hostile_paths.h"
#include "platform/sys/paths.h"
#include "platform/sys/safe_file.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"

namespace {

using namespace filetest;
using plat::Question;

struct KindCase {
  const char* name;
  const char* extension;
  void (CFileFunctions::*layout)(IiXYPlotXPtr);
  void (CFileFunctions::*channels)(IiXYPlotXPtr);
  void (CFileFunctions::*save)(IiXYPlotXPtr);
  bool (CFileFunctions::*open)(IiXYPlotXPtr);
  LONG dataChannels;
  const char* settingsChannel;
  const char* saveTitle;
  const char* openTitle;
  const char* saveCaption;
};

const KindCase kRamp{"ramp",
                     "rmp",
                     &CFileFunctions::SetupRampPlot,
                     &CFileFunctions::SetupRampTestChannels,
                     &CFileFunctions::SaveRampFile,
                     &CFileFunctions::OpenRampFile,
                     10,
                     "RampSettings",
                     "##FILESAVERAMP",
                     "##FILEOPENRAMP",
                     "SaveRampTestData"};
const KindCase kStep{"step",
                     "stp",
                     &CFileFunctions::SetupStepPlot,
                     &CFileFunctions::SetupStepChannels,
                     &CFileFunctions::SaveStepFile,
                     &CFileFunctions::OpenStepFile,
                     4,
                     "TestSettings",
                     "##FILESAVESTEPAS",
                     "##FILEOPENSTEP",
                     ""};
const KindCase* const kKinds[] = {&kRamp, &kStep};

class Files : public testing::Test {
 protected:
  IiXYPlotXPtr Plot(const KindCase& k) {
    IiXYPlotXPtr plot = NewXYPlot();
    (cf.*k.layout)(plot);
    (cf.*k.channels)(plot);
    return plot;
  }
  // Points in every data channel that no two channels share.
  static void Fill(IiXYPlotXPtr& plot, const KindCase& k, double seed) {
    for (LONG c = 0; c < k.dataChannels; ++c)
      for (int i = 0; i < 5; ++i) ChannelAt(plot, c)->AddXY(i * 0.5 + c, seed * c + i * 0.1 - 55, nullptr);
  }
  std::vector<double> Ys(IiXYPlotXPtr& plot, const char* channel) {
    std::vector<double> ys;
    for (auto [x, y] : PointsOf(cf.GetXYPlotChannelByName(plot, channel))) ys.push_back(y);
    return ys;
  }
  void SetFields(const KindCase& k, std::vector<const char*> settings, const _bstr_t& tag) {
    for (size_t i = 0; i < settings.size(); ++i) {
      if (&k == &kRamp) InOrder(cf.m_strRampSettings, i) = settings[i];
      if (&k == &kStep && i < StepSettingTexts::kInOrder.size()) InOrder(cf.m_strStepSettings, i) = settings[i];
    }
    (&k == &kRamp ? cf.m_strRampTag : cf.m_strStepTag) = tag;
  }
  std::vector<std::string> Settings(const KindCase& k) {
    std::vector<std::string> texts;
    if (&k == &kRamp)
      for (auto text : RampSettingTexts::kInOrder) texts.push_back((cf.m_strRampSettings.*text).str());
    else
      for (auto text : StepSettingTexts::kInOrder) texts.push_back((cf.m_strStepSettings.*text).str());
    texts.push_back((&k == &kRamp ? cf.m_strRampTag : cf.m_strStepTag).str());
    return texts;
  }
  void SaveAs(const KindCase& k, IiXYPlotXPtr& plot, const std::string& path) {
    person.AnswerFile(path);
    (cf.*k.save)(plot);
  }
  bool OpenFrom(const KindCase& k, IiXYPlotXPtr& plot, const std::string& path) {
    person.AnswerFile(path);
    return (cf.*k.open)(plot);
  }
  std::string Title(IiXYPlotXPtr& plot) {
    _bstr_t title;
    plot->GetTitle(&title);
    return title.str();
  }
  size_t Messages() {
    size_t n = 0;
    for (const Question& q : person.Asked()) n += q.kind == Question::Kind::Message;
    return n;
  }

  plat::ScriptedPerson person{[](const std::string& what) { ADD_FAILURE() << what; }};
  plat::ManualClock clock{{2024, 12, 31, 23, 59, 0, 0}};
  plat::ScopedTimeSource time{clock};
  ScratchFolder folder;
  CFileFunctions cf;
};

TEST_F(Files, RampSavedAndOpenedBackPointForPoint) {
  IiXYPlotXPtr plot = Plot(kRamp);
  Fill(plot, kRamp, 100.0 / 3);
  ChannelAt(plot, 12)->AddXY(0, 1e-300, nullptr);  // "SpringResults" is stored as it is
  SetFields(kRamp, {"25.0", "75.5", "10", "60.25"}, u"FV-101\u00C9");
  cf.m_bRampBidirectional = 1;
  cf.m_strRampStrokeLength = "50.04";
  cf.m_nRampStrokeUnitCode = 49;
  cf.m_strRampActuatorSize = "12.34";
  cf.m_nRampAreaUnitCode = 1;
  for (const char* shown : {"Position", "Command", "ILCmd", "ILPos"}) cf.ShowChannel(plot, shown, 1);  // the ramp view
  const std::string path = folder / "a.rmp";
  SaveAs(kRamp, plot, path);

  ASSERT_EQ(person.Asked().size(), 1u);
  const Question& q = person.Asked()[0];
  EXPECT_EQ(q.kind, Question::Kind::SaveFile);
  EXPECT_EQ(q.defaultName, "FV-101\u00C9_Ramp_2024_12_31_23h_59m.rmp");
  EXPECT_EQ(q.defaultExtension, "rmp");
  EXPECT_EQ(q.filter, "(*.rmp)|*.rmp|");
  EXPECT_EQ(q.title, "##FILESAVERAMP");
  EXPECT_EQ(q.flags, 6u);
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"a.prp", "a.rmp"}));
  EXPECT_EQ(Ys(plot, "RampSettings"),
            (std::vector<double>{25, 75.5, 10, 60.25, 1, 12, 31, 2024, 50.04, 49, 12.34, 1}));
  EXPECT_EQ(Ys(plot, "TagName"), (std::vector<double>{70, 86, 45, 49, 48, 49, -55}));
  const std::vector<Points> saved = AllPoints(plot);

  plot->ClearAllData();
  SetFields(kRamp, {"x", "x", "x", "x"}, "x");
  cf.m_bRampBidirectional = 0;
  cf.m_nRampStrokeUnitCode = cf.m_nRampAreaUnitCode = 0;
  ASSERT_TRUE(OpenFrom(kRamp, plot, path));
  const Question& o = person.Asked()[1];
  EXPECT_EQ(o.kind, Question::Kind::OpenFile);
  EXPECT_EQ(o.defaultName, "");
  EXPECT_EQ(o.defaultExtension, "rmp");
  EXPECT_EQ(o.filter, "*.rmp|*.rmp|");
  EXPECT_EQ(o.title, "##FILEOPENRAMP");
  EXPECT_EQ(o.flags, 6u);
  EXPECT_EQ(Messages(), 0u);

  EXPECT_EQ(AllPoints(plot), saved);
  EXPECT_EQ(Settings(kRamp), (std::vector<std::string>{"25", "75.5", "10", "60.25", "FV-101\u00C9"}));
  EXPECT_EQ(cf.m_bRampBidirectional, 1);
  EXPECT_EQ(Text(cf.m_strRampStrokeLength), "50.0");
  EXPECT_EQ(Text(cf.m_strRampStrokeUnit), "mm");
  EXPECT_EQ(cf.m_nRampStrokeUnitCode, 49);
  EXPECT_EQ(Text(cf.m_strRampActuatorSize), "12.3");
  EXPECT_EQ(Text(cf.m_strRampAreaUnit), "cm\u00B2");
  EXPECT_EQ(cf.m_nRampAreaUnitCode, 1);
  // "RampX" fits the shown ramp channels: x runs from 0 to 3 + 2.
  double min = -1, span = -1;
  AxisAt(plot, true, 0)->GetMin(&min);
  AxisAt(plot, true, 0)->GetSpan(&span);
  EXPECT_EQ(min, 0);
  EXPECT_EQ(span, 5);
}

TEST_F(Files, StepSavedAndOpenedBackPointForPoint) {
  IiXYPlotXPtr plot = Plot(kStep);
  Fill(plot, kStep, 7.25);
  SetFields(kStep, {"10.0", "12.5", "abc"}, "TV/7");
  const std::string path = folder / "s.stp";
  SaveAs(kStep, plot, path);

  const Question& q = person.Asked()[0];
  EXPECT_EQ(q.defaultName, "TV_7_Step_2024_12_31_23h_59m.stp");
  EXPECT_EQ(q.defaultExtension, "stp");
  EXPECT_EQ(q.filter, "(*.stp)|*.stp|");
  EXPECT_EQ(q.title, "##FILESAVESTEPAS");
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"s.prp", "s.stp"}));
  EXPECT_EQ(Ys(plot, "TestSettings"), (std::vector<double>{10, 12.5, 0, 12, 31, 2024}));
  EXPECT_EQ(Ys(plot, "TagName"), (std::vector<double>{84, 86, 47, 55}));
  const std::vector<Points> saved = AllPoints(plot);

  plot->ClearAllData();
  SetFields(kStep, {"x", "x", "x"}, "x");
  ASSERT_TRUE(OpenFrom(kStep, plot, path));
  EXPECT_EQ(person.Asked()[1].filter, "*.stp|*.stp|");
  EXPECT_EQ(person.Asked()[1].title, "##FILEOPENSTEP");
  EXPECT_EQ(Messages(), 0u);
  EXPECT_EQ(AllPoints(plot), saved);
  EXPECT_EQ(Settings(kStep), (std::vector<std::string>{"10", "12.5", "0", "TV/7"}));
  // Both axes fit the loaded data: x 0 .. 5, y -55 .. 3 x 7.25 + 0.4 - 55.
  double xSpan = -1, yMin = 0;
  AxisAt(plot, true, 0)->GetSpan(&xSpan);
  AxisAt(plot, false, 0)->GetMin(&yMin);
  EXPECT_EQ(xSpan, 5);
  EXPECT_EQ(yMin, -55);
}

TEST_F(Files, RampFlagsAndUnitCodesComeBackAsTexts) {
  struct Case {
    BYTE bidirectional, strokeCode, areaCode;
    BYTE expectBidirectional;
    const char* strokeUnit;
    const char* areaUnit;
  };
  const Case cases[] = {
      {1, 47, 0, 1, "in.", "in\u00B2"},
      {0, 57, 1, 0, "%", "cm\u00B2"},
      {2, 143, 7, 0, "deg", "in\u00B2"},  // only a byte of 1 is stored as set
      {1, 200, 1, 1, "in.", "cm\u00B2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strokeCode);
    IiXYPlotXPtr plot = Plot(kRamp);
    cf.m_bRampBidirectional = c.bidirectional;
    cf.m_nRampStrokeUnitCode = c.strokeCode;
    cf.m_nRampAreaUnitCode = c.areaCode;
    cf.m_strRampTag = "";
    const std::string path = folder / (std::to_string(c.strokeCode) + ".rmp");
    SaveAs(kRamp, plot, path);
    cf.m_bRampBidirectional = 9;
    cf.m_nRampStrokeUnitCode = cf.m_nRampAreaUnitCode = 99;
    ASSERT_TRUE(OpenFrom(kRamp, plot, path));
    EXPECT_EQ(cf.m_bRampBidirectional, c.expectBidirectional);
    EXPECT_EQ(Text(cf.m_strRampStrokeUnit), c.strokeUnit);
    EXPECT_EQ(Text(cf.m_strRampAreaUnit), c.areaUnit);
    EXPECT_EQ(cf.m_nRampStrokeUnitCode, c.strokeCode);
    EXPECT_EQ(cf.m_nRampAreaUnitCode, c.areaCode);
    EXPECT_EQ(Text(cf.m_strRampTag), "NO TAG");  // an empty tag stores no points
  }
}

TEST_F(Files, ASecondSaveStoresTheNewSettingsAndTheDayOfWriting) {
  for (const KindCase* k : kKinds) {
    SCOPED_TRACE(k->name);
    clock.Set({2024, 12, 31, 23, 59, 0, 0});
    IiXYPlotXPtr plot = Plot(*k);
    SetFields(*k, {"1", "2", "3"}, "T");
    SaveAs(*k, plot, folder / (std::string("first.") + k->extension));
    SetFields(*k, {"4", "5", "6"}, "T");
    // The dialog stays open across midnight.
    person.AnswerFile(folder / (std::string("second.") + k->extension), [&] { clock.Advance(2 * 60 * 1000); });
    (cf.*k->save)(plot);
    EXPECT_EQ(person.Asked().back().defaultName,
              std::string("T_") + (k == &kRamp ? "Ramp" : "Step") + "_2024_12_31_23h_59m." + k->extension);
    const std::vector<double> ys = Ys(plot, k->settingsChannel);
    const std::vector<double> head(ys.begin(), ys.begin() + 3);
    EXPECT_EQ(head, (std::vector<double>{4, 5, 6}));
    const size_t date = k == &kRamp ? 5 : 3;
    EXPECT_EQ(std::vector<double>(ys.begin() + date, ys.begin() + date + 3), (std::vector<double>{1, 1, 2025}));
    EXPECT_EQ(ys.size(), k == &kRamp ? 12u : 6u);
    SetFields(*k, {"x", "x", "x", "x"}, "x");
    ASSERT_TRUE(OpenFrom(*k, plot, folder / (std::string("second.") + k->extension)));
    EXPECT_EQ(Settings(*k)[0], "4");
    EXPECT_EQ(Settings(*k)[2], "6");
  }
}

TEST_F(Files, ThePaddedTagGivesADefaultNameWithoutBlanksAndIsStoredWhole) {
  const struct {
    const char* tag;
    const char* name;  // before the kind's word
  } cases[] = {{"SIM01   ", "SIM01_"}, {"  PV 10 ", "PV 10_"}, {"        ", "_"}};
  for (const KindCase* k : kKinds)
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(k->name) + " '" + c.tag + "'");
      IiXYPlotXPtr plot = Plot(*k);
      SetFields(*k, {"1", "2", "3"}, c.tag);
      SaveAs(*k, plot, folder / (std::string("t.") + k->extension));
      EXPECT_EQ(person.Asked().back().defaultName,
                std::string(c.name) + (k == &kRamp ? "Ramp" : "Step") + "_2024_12_31_23h_59m." + k->extension);
      EXPECT_EQ(Ys(plot, "TagName").size(), 8u);
    }
}

TEST_F(Files, SettingsComeFromTheTestsOwnFileElseStayAsTheyWere) {
  // Unstamped: both files without their stamp lines, as older saves wrote
  // them. EarlierSave: the settings of an earlier save of the same test.
  enum class Prp { Kept, Deleted, Foreign, Unstamped, EarlierSave, Pipe };
  struct Case {
    Prp prp;
    const char* what;
    const char* expectTitle;
  };
  const Case cases[] = {{Prp::Kept, "kept", "Saved"},
                        {Prp::Deleted, "deleted", "Before open"},
                        {Prp::Foreign, "foreign", "Before open"},
                        {Prp::Unstamped, "unstamped", "Saved"},
                        {Prp::EarlierSave, "earlier save", "Before open"},
                        {Prp::Pipe, "a named pipe", "Before open"}};
  const auto withoutStamp = [](const std::string& path) {
    std::string text = ReadFile(path);
    const size_t at = text.find("\nstamp ");
    ASSERT_NE(at, std::string::npos);
    text.erase(at + 1, text.find('\n', at + 1) - at);
    WriteFile(path, text);
  };
  for (const KindCase* k : kKinds) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(k->name) + " " + c.what);
      ScratchFolder here;
      const std::string path = here / (std::string("t.") + k->extension);
      IiXYPlotXPtr plot = Plot(*k);
      Fill(plot, *k, 3);
      if (c.prp == Prp::EarlierSave) {
        plot->SetTitle("Earlier");
        SaveAs(*k, plot, path);
        std::filesystem::copy_file(here / "t.prp", here / "earlier.prp");
      }
      plot->SetTitle("Saved");
      SaveAs(*k, plot, path);
      const std::vector<Points> saved = AllPoints(plot);
      if (c.prp == Prp::Deleted || c.prp == Prp::Pipe) std::filesystem::remove(here / "t.prp");
      if (c.prp == Prp::Pipe) {
        ASSERT_EQ(::mkfifo((here / "t.prp").c_str(), 0600), 0);
      }
      if (c.prp == Prp::Foreign) WriteFile(here / "t.prp", "TarnixPlotProperties 1\nkind xy\ncounts 2 1 1\nend\n");
      if (c.prp == Prp::Unstamped) {
        withoutStamp(path);
        withoutStamp(here / "t.prp");
      }
      if (c.prp == Prp::EarlierSave)
        std::filesystem::copy_file(here / "earlier.prp", here / "t.prp", std::filesystem::copy_options::overwrite_existing);
      plot->SetTitle("Before open");
      plot->ClearAllData();
      ASSERT_TRUE(OpenFrom(*k, plot, path));
      EXPECT_EQ(Title(plot), c.expectTitle);
      EXPECT_EQ(AllPoints(plot), saved);
      // The settings the plot had before the open are kept beside the test.
      ASSERT_TRUE(std::filesystem::exists(here.Path() / "default.prp"));
      IiXYPlotXPtr probe = Plot(*k);
      ASSERT_TRUE(SUCCEEDED(probe->LoadPropertiesFromFile((here / "default.prp").c_str())));
      EXPECT_EQ(Title(probe), "Before open");
    }
  }
}

TEST_F(Files, CancelInEitherDialogChangesNothing) {
  for (const KindCase* k : kKinds) {
    for (const bool open : {false, true}) {
      SCOPED_TRACE(std::string(k->name) + (open ? " open" : " save"));
      IiXYPlotXPtr plot = Plot(*k);
      Fill(plot, *k, 2);
      SetFields(*k, {"1", "2", "3"}, "T");
      const std::vector<Points> before = AllPoints(plot);
      const size_t asked = person.Asked().size();
      person.CancelFile();
      if (open) {
        EXPECT_FALSE((cf.*k->open)(plot));
      } else {
        (cf.*k->save)(plot);
      }
      EXPECT_EQ(person.Asked().size(), asked + 1);  // no message after the dialog
      EXPECT_EQ(AllPoints(plot), before);
      EXPECT_EQ(Settings(*k)[0], "1");
      EXPECT_EQ(Settings(*k).back(), "T");
      EXPECT_TRUE(folder.Files().empty());
    }
  }
}

// A file refused, broken or of the other kind, leaves the plot as the
// file opened before it left it: points, display settings and file stamp.
TEST_F(Files, ARefusedFileGivesTheOpenErrorAndLeavesFieldsAndPlotAsTheyWere) {
  enum class Broken { Truncated, Foreign, ShortSettings, OtherKind };
  const std::pair<Broken, const char*> cases[] = {{Broken::Truncated, "truncated"},
                                                  {Broken::Foreign, "foreign"},
                                                  {Broken::ShortSettings, "short settings"},
                                                  {Broken::OtherKind, "the other kind's"}};
  for (const KindCase* k : kKinds) {
    for (const auto& [broken, what] : cases) {
      SCOPED_TRACE(std::string(k->name) + " " + what);
      ScratchFolder here;
      const std::string path = here / (std::string("t.") + k->extension);
      IiXYPlotXPtr plot = Plot(*k);
      plot->SetTitle("Saved");
      SaveAs(*k, plot, path);
      if (broken == Broken::Truncated) {
        const std::string text = ReadFile(path);
        WriteFile(path, text.substr(0, text.size() - 4));  // without its last line
      } else if (broken == Broken::Foreign) {
        // Another plot's data: two channels, the first with two points.
        IiXYPlotXPtr other = NewXYPlot();
        other->AddChannel(nullptr);
        ChannelAt(other, 0)->AddXY(1, 2, nullptr);
        ChannelAt(other, 0)->AddXY(3, 4, nullptr);
        ASSERT_TRUE(SUCCEEDED(other->SaveDataToFile(path.c_str())));
      } else if (broken == Broken::ShortSettings) {
        // The kind's own layout, but the settings end after two points.
        IiXYPlotXPtr other = Plot(*k);
        cf.GetXYPlotChannelByName(other, k->settingsChannel)->AddXY(0, 7, nullptr);
        cf.GetXYPlotChannelByName(other, k->settingsChannel)->AddXY(1, 8, nullptr);
        ASSERT_TRUE(SUCCEEDED(other->SaveDataToFile(path.c_str())));
      } else {
        // Saved by the other kind's saver, its data where this kind keeps
        // its settings: read by place, a ramp file would pass for a step test.
        const KindCase& o = k == &kRamp ? kStep : kRamp;
        IiXYPlotXPtr other = Plot(o);
        Fill(other, o, 3);
        for (int i = 0; i < 3; ++i) ChannelAt(other, 4)->AddXY(9, 1, nullptr);  // six step settings and more
        SaveAs(o, other, path);
      }
      // A good file opened first: the plot as it left it.
      const std::string good = here / (std::string("good.") + k->extension);
      plot->SetTitle("Before open");
      Fill(plot, *k, 5);
      SetFields(*k, {"1", "2", "3", "4"}, "GOOD");
      SaveAs(*k, plot, good);
      ASSERT_TRUE(OpenFrom(*k, plot, good));
      const std::vector<std::string> fields = Settings(*k);
      const std::string before = WholePlot(plot);
      person.AnswerFile(path).Answer(IDOK);
      EXPECT_FALSE((cf.*k->open)(plot));
      const Question& m = person.Asked().back();
      EXPECT_EQ(m.kind, Question::Kind::Message);
      EXPECT_EQ(m.text, "File open error.");
      EXPECT_EQ(m.caption, "");
      EXPECT_EQ(m.type, MB_OK);
      EXPECT_EQ(m.owner, nullptr);
      EXPECT_EQ(Settings(*k), fields);
      EXPECT_EQ(Title(plot), "Before open");
      EXPECT_EQ(WholePlot(plot), before);
    }
  }
}

TEST_F(Files, AFailedSaveGivesTheSaveErrorAndLeavesNoPartialFile) {
  enum class Where { FolderIsAFile, ReadOnlyFolder, DataWriteFails, NameTooLong };
  for (const KindCase* k : kKinds) {
    for (const Where where : {Where::FolderIsAFile, Where::ReadOnlyFolder, Where::DataWriteFails, Where::NameTooLong}) {
      SCOPED_TRACE(std::string(k->name) + " case " + std::to_string(static_cast<int>(where)));
      ScratchFolder here;
      std::string path = here / (std::string("t.") + k->extension);
      WriteFile(path, "old data");
      WriteFile(here / "t.prp", "old settings");
      IiXYPlotXPtr plot = Plot(*k);
      Fill(plot, *k, 1);
      if (where == Where::FolderIsAFile) path = here / (std::string("t.prp/t.") + k->extension);
      if (where == Where::NameTooLong) path = here / (std::string(300, 'n') + "." + k->extension);
      if (where == Where::ReadOnlyFolder) {
        chmod(here.Path().c_str(), 0555);
        if (::access(here.Path().c_str(), W_OK) == 0) {  // privileged: the mode does not stop writing
          chmod(here.Path().c_str(), 0755);
          continue;
        }
      }
      if (where == Where::DataWriteFails) IControlTestPtr(plot)->FailPut("savedatatofile", E_FAIL);
      person.AnswerFile(path).Answer(IDOK);
      (cf.*k->save)(plot);
      const Question& m = person.Asked().back();
      EXPECT_EQ(m.text, "File save error.");
      EXPECT_EQ(m.caption, k->saveCaption);
      EXPECT_EQ(m.owner, nullptr);
      chmod(here.Path().c_str(), 0755);
      EXPECT_EQ(here.Files(), (std::vector<std::string>{"t.prp", std::string("t.") + k->extension}));
      EXPECT_EQ(ReadFile(here / (std::string("t.") + k->extension)), "old data");
      EXPECT_EQ(ReadFile(here / "t.prp"), "old settings");
    }
  }
}

// A save that dies between its two renames leaves the new settings beside
// the old data: the old test still opens whole, without the new settings,
// and the next save clears what the dead one left.
TEST_F(Files, ASaveKilledBetweenItsRenamesLeavesTheWholeOldTest) {
  for (const KindCase* k : kKinds) {
    SCOPED_TRACE(k->name);
    ScratchFolder here;
    const std::string data = std::string("t.") + k->extension;
    const std::string path = here / data;
    IiXYPlotXPtr plot = Plot(*k);
    Fill(plot, *k, 1);
    SetFields(*k, {"1", "1", "1", "1"}, "OLD");
    plot->SetTitle("Old");
    SaveAs(*k, plot, path);
    const std::vector<Points> old = AllPoints(plot);
    const std::vector<std::string> oldFields = Settings(*k);

    int renames = 0;
    plotfile::SetAfterRenameHookForTests([&] { return ++renames < 1; });
    plot->ClearAllData();
    Fill(plot, *k, 2);
    SetFields(*k, {"2", "2", "2", "2"}, "NEW");
    plot->SetTitle("New");
    SaveAs(*k, plot, path);
    plotfile::SetAfterRenameHookForTests({});
    ASSERT_EQ(renames, 1);
    std::vector<std::string> files = here.Files();
    ASSERT_EQ(files.size(), 3u);  // the dead save's data part is left
    EXPECT_EQ(files[1], data);
    EXPECT_EQ(files[2].rfind(data + ".part-" + std::to_string(::getpid()) + "-", 0), 0u) << files[2];

    plot->SetTitle("Before open");
    plot->ClearAllData();
    SetFields(*k, {"x", "x", "x", "x"}, "x");
    ASSERT_TRUE(OpenFrom(*k, plot, path));
    EXPECT_EQ(AllPoints(plot), old);
    EXPECT_EQ(Settings(*k), oldFields);
    EXPECT_EQ(Title(plot), "Before open");

    // Parts of other saves: one of a process that is gone, one of a living one.
    const std::string live = data + ".part-1-0123456789abcdef";
    const pid_t gone = 4194303;  // above every pid a default system hands out
    const std::string dead = data + ".part-" + std::to_string(gone) + "-0123456789abcdef";
    WriteFile(here / live, "");
    if (::kill(gone, 0) != 0 && errno == ESRCH) WriteFile(here / dead, "");
    std::filesystem::remove(here / "default.prp");
    plot->SetTitle("Newest");
    SaveAs(*k, plot, path);
    EXPECT_EQ(here.Files(), (std::vector<std::string>{"t.prp", data, live}));
    plot->SetTitle("Before open");
    ASSERT_TRUE(OpenFrom(*k, plot, path));
    EXPECT_EQ(Title(plot), "Newest");
    EXPECT_EQ(Messages(), 0u);
  }
}

TEST_F(Files, APipeADeviceAFolderOrAHugeFileGivesTheOpenErrorAtOnce) {
  testsys::HostilePaths hostile(plat::kPlotFileCap);
  for (const KindCase* k : kKinds) {
    for (const testsys::HostilePath& h : hostile.All()) {
      SCOPED_TRACE(std::string(k->name) + " " + h.what);
      IiXYPlotXPtr plot = Plot(*k);
      person.AnswerFile(h.path).Answer(IDOK);
      EXPECT_FALSE((cf.*k->open)(plot));
      EXPECT_EQ(person.Asked().back().text, "File open error.");
    }
  }
}

// Another user made the old, predictable temporary folder first, with
// links to the victim's file under the names the program would use.
TEST_F(Files, AFolderPreparedByAnotherUserIsNotUsedAndOpeningStillWorks) {
  const char* saved[] = {std::getenv("TMPDIR"), std::getenv("XDG_RUNTIME_DIR")};
  const std::string savedText[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : ""};
  ScratchFolder tmp;
  WriteFile(tmp / "victim", "precious");
  const std::filesystem::path trap = tmp.Path() / ("tarnix-" + std::to_string(::getuid()));
  std::filesystem::create_directories(trap);
  std::filesystem::permissions(trap, std::filesystem::perms::all);
  for (const char* name : {"settings.prp", "StepTest.bmp"})
    std::filesystem::create_symlink(tmp / "victim", trap / name);
  setenv("TMPDIR", tmp.Path().c_str(), 1);
  setenv("XDG_RUNTIME_DIR", trap.c_str(), 1);

  const std::string path = folder / "t.rmp";
  IiXYPlotXPtr plot = Plot(kRamp);
  Fill(plot, kRamp, 6);
  SaveAs(kRamp, plot, path);
  const std::vector<Points> stored = AllPoints(plot);
  plot->ClearAllData();
  EXPECT_TRUE(OpenFrom(kRamp, plot, path));
  EXPECT_EQ(AllPoints(plot), stored);
  const std::string used = plat::TempDirectory();

  saved[0] ? setenv("TMPDIR", savedText[0].c_str(), 1) : unsetenv("TMPDIR");
  saved[1] ? setenv("XDG_RUNTIME_DIR", savedText[1].c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(ReadFile(tmp / "victim"), "precious");
  EXPECT_EQ(used.rfind(trap.string() + "/", 0), std::string::npos) << used;  // "tarnix-0" is also the start of "tarnix-0AbC12"
  EXPECT_EQ(std::filesystem::path(used).parent_path().parent_path(), tmp.Path()) << used;
}

}  // namespace

namespace {

TEST(SplitFilePath, FolderTitleAndExtensionOrNothingChanged) {
  struct Case {
    const char* path;
    int result;
    std::vector<std::string> parts;  // drive, folder, title, extension
  };
  const Case cases[] = {
      {"/t/a.rmp", 0, {"", "/t/", "a", ".rmp"}},
      {"/t/x.y/a.b.stp", 0, {"", "/t/x.y/", "a.b", ".stp"}},
      {"/t/noext", 0, {"", "/t/", "noext", ""}},
      {"/t/.prp", 0, {"", "/t/", "", ".prp"}},
      {"", EINVAL, {"", "/old/", "old", ".old"}},
      {"/t/", EINVAL, {"", "/old/", "old", ".old"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CFileFunctions cf;
    cf.m_strPathParts = {_bstr_t(""), _bstr_t("/old/"), _bstr_t("old"), _bstr_t(".old")};
    EXPECT_EQ(cf.SplitFilePath(c.path), c.result);
    std::vector<std::string> parts;
    for (const _bstr_t& p : cf.m_strPathParts) parts.push_back(p.str());
    EXPECT_EQ(parts, c.parts);
  }
}

// The largest ramp test the page records: two passes of 208 samples, drawn
// in every data channel (more than a run ever fills).
TEST_F(Files, TheLargestRampTestRoundTripsPointForPoint) {
  IiXYPlotXPtr plot = Plot(kRamp);
  for (LONG c = 0; c < kRamp.dataChannels; ++c)
    for (int i = 0; i < 416; ++i) ChannelAt(plot, c)->AddXY(i * 0.0625, 50 + 40 * std::sin(i * 0.03 + c), nullptr);
  SetFields(kRamp, {"0", "100", "5", "60"}, "FV101");
  SaveAs(kRamp, plot, folder / "big.rmp");
  const std::vector<Points> saved = AllPoints(plot);
  plot->ClearAllData();
  ASSERT_TRUE(OpenFrom(kRamp, plot, folder / "big.rmp"));
  EXPECT_EQ(AllPoints(plot), saved);
  EXPECT_EQ(Messages(), 0u);
}

// Settings are compared as the texts the loaders wrote: no tolerance, and
// tags, dates, names and units never count.
TEST(CompareRampSettings, EverySettingCountsAndNothingElseDoes) {
  struct Case {
    const char* what;
    int index;  // element of the compare texts changed in file 2 (-1 none)
    const char* value;
    BYTE bidirectional2;
    bool same;
  };
  const Case cases[] = {
      {"identical", -1, "", 1, true},
      {"start", 7, "25.5", 1, false},
      {"stop", 9, "80", 1, false},
      {"hold", 11, "3", 1, false},
      {"ramp time", 13, "61", 1, false},
      {"bi-directional", -1, "", 0, false},
      {"stroke length", 18, "10.1", 1, false},
      {"actuator size", 19, "55.0", 1, false},
      {"tag", 1, "OTHER", 1, true},
      {"date", 3, "1/2/2026", 1, true},
      {"file name", 5, "b.rmp", 1, true},
      {"area unit", 16, "in\u00B2", 1, true},
      {"stroke unit", 17, "deg", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CFileFunctions cf;
    const char* file1[] = {"TAG", "TAG", "12/9/2026", "12/9/2026", "a.rmp", "a.rmp", "25", "25", "75", "75",
                           "2", "2", "60", "60", "10.0", "54.0", "cm\u00B2", "mm", "10.0", "54.0"};
    for (int i = 0; i < 20; ++i) cf.m_strRampCompare[i] = file1[i];
    cf.m_bCompareBidirectional = {1, c.bidirectional2};
    if (c.index >= 0) cf.m_strRampCompare[c.index] = c.value;
    EXPECT_EQ(cf.CompareRampSettings(), c.same);
  }
}

TEST_F(Files, OpensFromAReadOnlyFolder) {
  for (const KindCase* k : kKinds) {
    SCOPED_TRACE(k->name);
    ScratchFolder here;
    const std::string path = here / (std::string("t.") + k->extension);
    IiXYPlotXPtr plot = Plot(*k);
    Fill(plot, *k, 4);
    SaveAs(*k, plot, path);
    const std::vector<Points> saved = AllPoints(plot);
    chmod(here.Path().c_str(), 0555);
    if (::access(here.Path().c_str(), W_OK) == 0) GTEST_SKIP() << "a privileged user writes into any folder";
    plot->ClearAllData();
    EXPECT_TRUE(OpenFrom(*k, plot, path));
    EXPECT_EQ(AllPoints(plot), saved);
    EXPECT_FALSE(std::filesystem::exists(here.Path() / "default.prp"));
  }
}

}  // namespace

namespace {

TEST_F(Files, NumbersKeepTheirPointInACommaLanguage) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  IiXYPlotXPtr plot = Plot(kStep);
  SetFields(kStep, {"12.5", "0.25", " 2e1x"}, "T");
  SaveAs(kStep, plot, folder / "n.stp");
  SetFields(kStep, {"x", "x", "x"}, "x");
  const bool opened = OpenFrom(kStep, plot, folder / "n.stp");
  std::setlocale(LC_ALL, previous.c_str());
  ASSERT_TRUE(opened);
  EXPECT_EQ(Settings(kStep), (std::vector<std::string>{"12.5", "0.25", "20", "T"}));
}

}  // namespace
