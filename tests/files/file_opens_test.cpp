// Opening a test file of every kind: the file is read and checked before
// the shown plot changes, so that a refused one never reaches it, not even
// while the error is up; a number that is not finite refuses the file; an
// open needs no temporary file.
#include <cmath>
#include <cstdlib>
#include <optional>

#include "files/kind_cases.h"
#include "platform/sys/paths.h"

namespace {

using namespace kindtest;

const KindCase kRampAndStep[] = {
    {"ramp", "rmp",
     [](CFileFunctions& cf) {
       Plots p{{}, NewPlot<IiXYPlotXPtr>()};
       cf.SetupRampPlot(p.xy);
       cf.SetupRampTestChannels(p.xy);
       return p;
     },
     [](CFileFunctions& cf, Plots& p) { cf.SaveRampFile(p.xy); },
     [](CFileFunctions& cf, Plots& p) { return cf.OpenRampFile(p.xy); },
     [](CFileFunctions& cf, const char* t) {
       SetAll(cf.m_strRampSettings, t);
       cf.m_strRampTag = cf.m_strRampStrokeLength = cf.m_strRampActuatorSize = t;
     },
     [](CFileFunctions& cf) {
       std::vector<std::string> f = Texts(cf.m_strRampSettings);
       for (const _bstr_t* t : {&cf.m_strRampTag, &cf.m_strRampStrokeLength, &cf.m_strRampActuatorSize})
         f.push_back(t->str());
       return f;
     },
     "File save error.", "File open error.", ".prp"},
    {"step", "stp",
     [](CFileFunctions& cf) {
       Plots p{{}, NewPlot<IiXYPlotXPtr>()};
       cf.SetupStepPlot(p.xy);
       cf.SetupStepChannels(p.xy);
       return p;
     },
     [](CFileFunctions& cf, Plots& p) { cf.SaveStepFile(p.xy); },
     [](CFileFunctions& cf, Plots& p) { return cf.OpenStepFile(p.xy); },
     [](CFileFunctions& cf, const char* t) {
       SetAll(cf.m_strStepSettings, t);
       cf.m_strStepTag = t;
     },
     [](CFileFunctions& cf) {
       std::vector<std::string> f = Texts(cf.m_strStepSettings);
       f.push_back(cf.m_strStepTag.str());
       return f;
     },
     "File save error.", "File open error.", ".prp"},
};

std::vector<const KindCase*> AllKinds() {
  std::vector<const KindCase*> all;
  for (const KindCase& k : kRampAndStep) all.push_back(&k);
  for (const KindCase& k : kKinds) all.push_back(&k);
  return all;
}

bool IsCurve(const KindCase& k) { return std::string(k.extension) == "curve"; }

// One number of a data file's point line replaced: of point `point` of
// channel `channel` (-1: the last channel), its x or its y.
std::string Garbled(const std::string& text, int channel, int point, bool x, const std::string& number) {
  const size_t channels = text.find("\nchannels ");
  EXPECT_NE(channels, std::string::npos);
  if (channel < 0) channel = std::stoi(text.substr(channels + 10)) - 1;
  size_t at = text.find("\nchannel " + std::to_string(channel) + " ");
  EXPECT_NE(at, std::string::npos);
  for (int i = 0; i <= point; ++i) at = text.find('\n', at + 1);
  const size_t begin = x ? at + 1 : text.find(' ', at + 1) + 1;
  const size_t end = x ? text.find(' ', begin) : text.find('\n', begin);
  return text.substr(0, begin) + number + text.substr(end);
}

class FileOpens : public KindCaseFiles {
 protected:
  // A good file of the kind, saved as `path`.
  void SaveGood(const KindCase& k, const std::string& path) {
    Plots p = Filled(k);
    k.setFields(cf, "2");
    person.AnswerFile(path);
    k.save(cf, p);
  }
  // Opens `path` into a plot showing another test: the open error, and
  // the plot and the fields as they were, also while the error is up.
  void ExpectRefused(const KindCase& k, const std::string& path) {
    Plots p = Filled(k, 7);
    k.setFields(cf, "keep");
    const std::vector<std::string> fields = k.fields(cf);
    const std::string before = p.Whole();
    std::optional<std::string> whileUp;
    person.AnswerFile(path).Answer(IDOK, [&] { whileUp = p.Whole(); });
    EXPECT_FALSE(k.open(cf, p));
    EXPECT_EQ(Last().kind, plat::Question::Kind::Message);
    EXPECT_EQ(Last().text, k.openError);
    ASSERT_TRUE(whileUp);
    EXPECT_EQ(*whileUp, before);
    EXPECT_EQ(p.Whole(), before);
    EXPECT_EQ(k.fields(cf), fields);
  }
};

TEST_F(FileOpens, ANumberThatIsNotFiniteRefusesTheFile) {
  struct Garble {
    const char* what;
    int channel;
    int point;
    bool x;
    const char* number;
  };
  const Garble garbles[] = {{"1e400 as a point's y", 0, 1, false, "1e400"},
                            {"nan as a point's x", 0, 0, true, "nan"},
                            {"-inf in the last channel", -1, 0, false, "-inf"},
                            {"INFINITY as a point's y", 0, 2, false, "INFINITY"},
                            {"-1e999 as a point's x", 0, 2, true, "-1e999"}};
  for (const KindCase* k : AllKinds()) {
    for (const Garble& g : garbles) {
      SCOPED_TRACE(std::string(k->name) + ": " + g.what);
      ScratchFolder here;
      const std::string path = PathOf(*k, here);
      SaveGood(*k, path);
      const std::string text = filetest::ReadFile(path);
      // The same file with a finite number in that place opens.
      filetest::WriteFile(path, Garbled(text, g.channel, g.point, g.x, "1e300"));
      Plots p = k->make(cf);
      const size_t asked = person.Asked().size();
      person.AnswerFile(path);
      EXPECT_EQ(k->open(cf, p), !IsCurve(*k));
      EXPECT_EQ(person.Asked().size(), asked + 1);

      filetest::WriteFile(path, Garbled(text, g.channel, g.point, g.x, g.number));
      ExpectRefused(*k, path);
    }
  }
}

// Files refused only once read whole: another kind's, whose layout tells it.
TEST_F(FileOpens, ARefusedFileNeverReachesThePlotNotEvenWhileTheErrorIsUp) {
  const std::vector<const KindCase*> kinds = AllKinds();
  for (size_t i = 0; i < kinds.size(); ++i) {
    const KindCase& k = *kinds[i];
    // Any plot's data file is a curve to the curve page.
    if (IsCurve(k)) continue;
    const KindCase& other = *kinds[(i + 1) % kinds.size()];
    SCOPED_TRACE(std::string(k.name) + " given a " + other.name + " file");
    ScratchFolder here;
    const std::string path = PathOf(k, here);
    SaveGood(other, path);
    ExpectRefused(k, path);
  }
}

// The comparisons read the same files: file 1 with such a number is
// refused too, and the comparison stays as it was.
TEST_F(FileOpens, TheComparisonsRefuseAFileWithANumberThatIsNotFinite) {
  struct CompareCase {
    const KindCase& kind;
    std::function<void(CFileFunctions&, Plots& file, Plots& compare)> setUp;
    std::function<bool(CFileFunctions&, Plots& file, Plots& compare)> load1;
    std::function<std::vector<std::string>(CFileFunctions&)> texts;
  };
  const CompareCase cases[] = {
      {kRampAndStep[0],
       [](CFileFunctions& cf, Plots& file, Plots& compare) {
         cf.SetupRampPlot(compare.xy);
         cf.SetupRampCompareChannels(compare.xy);
         cf.SetupRampPlot(file.xy);
         cf.SetupRampCompareFileChannels(file.xy);
       },
       [](CFileFunctions& cf, Plots& file, Plots& compare) { return cf.LoadRampCompareFile1(file.xy, compare.xy); },
       [](CFileFunctions& cf) { return Texts(cf.m_strRampCompare); }},
      {kRampAndStep[1],
       [](CFileFunctions& cf, Plots& file, Plots& compare) {
         cf.SetupStepComparePlot(compare.xy);
         cf.SetupStepCompareChannels(compare.xy);
         cf.SetupStepComparePlot(file.xy);
         cf.SetupStepCompareFileChannels(file.xy);
       },
       [](CFileFunctions& cf, Plots& file, Plots& compare) { return cf.LoadStepCompareFile1(file.xy, compare.xy); },
       [](CFileFunctions& cf) { return Texts(cf.m_strStepCompare); }},
      {kKinds[0],
       [](CFileFunctions& cf, Plots& file, Plots& compare) {
         cf.SetupPSTPlot(compare.time);
         cf.SetupPSTCompareChannels(compare.time);
         cf.SetupPSTPlot(file.time);
         cf.SetupPSTCompareSettings(file.time);
       },
       [](CFileFunctions& cf, Plots& file, Plots& compare) { return cf.LoadPSTCompareFile1(file.time, compare.time); },
       [](CFileFunctions& cf) { return Texts(cf.m_strPSTCompare); }},
      {kKinds[1],
       [](CFileFunctions& cf, Plots& file, Plots& compare) {
         cf.SetupHDRLPlots(file.xy);
         cf.SetupHDRLCompareChannels(file.xy);
         cf.SetupHDRLPlots(compare.xy);
         cf.SetupHDRLCompareChannels2(compare.xy);
       },
       [](CFileFunctions& cf, Plots& file, Plots& compare) { return cf.LoadHDRLCompareFile1(file.xy, compare.xy); },
       [](CFileFunctions& cf) { return Texts(cf.m_strHDRLCompare); }},
  };
  for (const CompareCase& c : cases) {
    SCOPED_TRACE(c.kind.name);
    ScratchFolder here;
    const std::string good = PathOf(c.kind, here), garbled = PathOf(c.kind, here, "garbled");
    SaveGood(c.kind, good);
    filetest::WriteFile(garbled, Garbled(filetest::ReadFile(good), 0, 1, false, "1e400"));
    const bool time = &c.kind == &kKinds[0];
    Plots file{time ? NewPlot<IiPlotXPtr>() : IiPlotXPtr(), time ? IiXYPlotXPtr() : NewPlot<IiXYPlotXPtr>()};
    Plots compare{time ? NewPlot<IiPlotXPtr>() : IiPlotXPtr(), time ? IiXYPlotXPtr() : NewPlot<IiXYPlotXPtr>()};
    c.setUp(cf, file, compare);
    person.AnswerFile(good);
    ASSERT_TRUE(c.load1(cf, file, compare));
    const std::vector<std::string> texts = c.texts(cf);
    const std::vector<Points> points = compare.All();

    person.AnswerFile(garbled).Answer(IDOK);
    EXPECT_FALSE(c.load1(cf, file, compare));
    EXPECT_EQ(Last().text, "File open error.");
    EXPECT_EQ(c.texts(cf), texts);
    EXPECT_EQ(compare.All(), points);
  }
}

// A settings file is not the test's own with a range that is not finite:
// the test opens with the plot's present settings, as with a broken one.
TEST_F(FileOpens, ASettingsFileWithANumberThatIsNotFiniteIsLeftAside) {
  for (const KindCase* k : AllKinds()) {
    if (*k->settingsExtension == 0) continue;
    for (const char* number : {"inf", "nan", "1e400"}) {
      SCOPED_TRACE(std::string(k->name) + " " + number);
      ScratchFolder here;
      const std::string path = PathOf(*k, here);
      const std::string settings = here / (std::string("t") + k->settingsExtension);
      Plots saved = Filled(*k);
      saved.time ? saved.time->SetTitle("Saved") : saved.xy->SetTitle("Saved");
      person.AnswerFile(path);
      k->save(cf, saved);
      std::string text = filetest::ReadFile(settings);
      const size_t at = text.find("\nyaxis.0 span ");
      ASSERT_NE(at, std::string::npos);
      text.replace(at + 15, text.find('\n', at + 1) - at - 15, number);
      filetest::WriteFile(settings, text);

      Plots p = Filled(*k, 7);
      p.time ? p.time->SetTitle("Before open") : p.xy->SetTitle("Before open");
      person.AnswerFile(path);
      EXPECT_TRUE(k->open(cf, p));
      EXPECT_EQ(p.time ? Title(p.time) : Title(p.xy), "Before open");
      double span = 0;
      (p.time ? AxisAt(p.time, false, 0) : AxisAt(p.xy, false, 0))->GetSpan(&span);
      EXPECT_TRUE(std::isfinite(span));
    }
  }
}

TEST_F(FileOpens, OpensWhenNoTemporaryFileCanBeWritten) {
  const std::vector<const KindCase*> kinds = AllKinds();
  ScratchFolder here;
  for (const KindCase* k : kinds) SaveGood(*k, PathOf(*k, here));
  const char* names[] = {"TMPDIR", "XDG_RUNTIME_DIR"};
  std::optional<std::string> saved[2];
  for (int i = 0; i < 2; ++i)
    if (const char* v = std::getenv(names[i])) saved[i] = v;
  // Nobody can make a folder or a file there, not even a privileged user.
  for (const char* name : names) setenv(name, "/proc", 1);
  const bool noTemporaryFolder = plat::TempDirectory().empty();
  for (const KindCase* k : kinds) {
    SCOPED_TRACE(k->name);
    Plots p = Filled(*k, 7);
    const size_t asked = person.Asked().size();
    person.AnswerFile(PathOf(*k, here));
    EXPECT_EQ(k->open(cf, p), !IsCurve(*k));
    EXPECT_EQ(person.Asked().size(), asked + 1);
    if (IsCurve(*k)) {
      EXPECT_EQ(Ys(p.time, 0), (std::vector<double>{2, 2.125, 2.25}));
    }
  }
  for (int i = 0; i < 2; ++i) saved[i] ? setenv(names[i], saved[i]->c_str(), 1) : unsetenv(names[i]);
  EXPECT_TRUE(noTemporaryFolder);
}

}  // namespace
