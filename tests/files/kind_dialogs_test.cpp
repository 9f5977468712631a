// What the partial stroke, HDRL, data logger and curve files share: cancel
// in either dialog, broken files, failed saves.
#include <sys/stat.h>

#include <functional>

#include "files/kind_cases.h"

namespace {

using namespace kindtest;

class KindDialogs : public KindCaseFiles {};

TEST_F(KindDialogs, CancelInEitherDialogChangesNothing) {
  for (const KindCase& k : kKinds) {
    for (const bool open : {false, true}) {
      SCOPED_TRACE(std::string(k.name) + (open ? " open" : " save"));
      Plots p = Filled(k);
      k.setFields(cf, "1");
      const std::vector<Points> before = p.All();
      const std::vector<std::string> fields = k.fields(cf);
      const size_t asked = person.Asked().size();
      person.CancelFile();
      if (open) {
        EXPECT_FALSE(k.open(cf, p));
      } else {
        k.save(cf, p);
      }
      EXPECT_EQ(person.Asked().size(), asked + 1);  // no message after the dialog
      EXPECT_EQ(p.All(), before);
      EXPECT_EQ(k.fields(cf), fields);
      EXPECT_TRUE(folder.Files().empty());
    }
  }
}

TEST_F(KindDialogs, ABrokenFileGivesTheOpenErrorAndLeavesThePlotAndTheFieldsAsTheyWere) {
  enum class Broken { Missing, Truncated, NotANumber, Foreign };
  const std::pair<Broken, const char*> cases[] = {{Broken::Missing, "missing"},
                                                  {Broken::Truncated, "truncated"},
                                                  {Broken::NotANumber, "not a number"},
                                                  {Broken::Foreign, "foreign"}};
  for (const KindCase& k : kKinds) {
    for (const auto& [broken, what] : cases) {
      // A plot's data file of another kind is a curve file to the curve page.
      if (broken == Broken::Foreign && std::string(k.extension) == "curve") continue;
      SCOPED_TRACE(std::string(k.name) + " " + what);
      ScratchFolder here;
      const std::string path = PathOf(k, here);
      Plots p = Filled(k);
      k.setFields(cf, "2");
      person.AnswerFile(path);
      k.save(cf, p);
      if (broken == Broken::Missing) std::filesystem::remove(path);
      if (broken == Broken::Truncated) {
        const std::string text = filetest::ReadFile(path);
        filetest::WriteFile(path, text.substr(0, text.size() - 4));  // without its last line
      }
      if (broken == Broken::NotANumber) {
        std::string text = filetest::ReadFile(path);
        text.replace(text.rfind("\n0 "), 3, "\nzero ");
        filetest::WriteFile(path, text);
      }
      if (broken == Broken::Foreign) {
        // Another plot's data, without the kind's storage points.
        IiPlotXPtr other = NewPlot<IiPlotXPtr>();
        ChannelAt(other, 0)->AddXY(1, 2, nullptr);
        ASSERT_TRUE(SUCCEEDED(other->SaveDataToFile(path.c_str())));
      }
      p = Filled(k);
      k.setFields(cf, "keep");
      const std::vector<std::string> fields = k.fields(cf);
      const std::string plot = p.time ? WholePlot(p.time) : WholePlot(p.xy);
      person.AnswerFile(path).Answer(IDOK);
      EXPECT_FALSE(k.open(cf, p));
      const plat::Question& m = Last();
      EXPECT_EQ(m.kind, plat::Question::Kind::Message);
      EXPECT_EQ(m.text, k.openError);
      EXPECT_EQ(m.caption, "");
      EXPECT_EQ(m.type, MB_OK);
      EXPECT_EQ(m.owner, nullptr);
      EXPECT_EQ(k.fields(cf), fields);
      EXPECT_EQ(p.time ? WholePlot(p.time) : WholePlot(p.xy), plot);
    }
  }
}

TEST_F(KindDialogs, AFailedSaveGivesTheSaveErrorAndLeavesTheOldFilesWhole) {
  enum class Where { FolderIsAFile, DataWriteFails, SettingsWriteFails };
  for (const KindCase& k : kKinds) {
    for (const Where where : {Where::FolderIsAFile, Where::DataWriteFails, Where::SettingsWriteFails}) {
      const bool hasSettings = *k.settingsExtension != 0;
      if (where == Where::SettingsWriteFails && !hasSettings) continue;
      SCOPED_TRACE(std::string(k.name) + " case " + std::to_string(static_cast<int>(where)));
      ScratchFolder here;
      std::string path = PathOf(k, here);
      const std::string settings = here / (std::string("t") + k.settingsExtension);
      filetest::WriteFile(path, "old data");
      if (hasSettings) filetest::WriteFile(settings, "old settings");
      Plots p = Filled(k);
      if (where == Where::FolderIsAFile) path = here / (std::string("t.") + k.extension + "/t." + k.extension);
      if (where == Where::DataWriteFails) p.Test()->FailPut("savedatatofile", E_FAIL);
      if (where == Where::SettingsWriteFails) p.Test()->FailPut("savepropertiestofile", E_FAIL);
      person.AnswerFile(path).Answer(IDOK);
      k.save(cf, p);
      const plat::Question& m = Last();
      EXPECT_EQ(m.text, k.saveError);
      EXPECT_EQ(m.caption, "");
      EXPECT_EQ(m.owner, nullptr);
      EXPECT_EQ(filetest::ReadFile(PathOf(k, here)), "old data");
      if (hasSettings) {
        EXPECT_EQ(filetest::ReadFile(settings), "old settings");
      }
      EXPECT_EQ(here.Files().size(), hasSettings ? 2u : 1u);
    }
  }
}

}  // namespace
