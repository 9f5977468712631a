// The person: scripted answers, what was asked, and questions nobody
// scripted.
#include "platform/win/person.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/win/qt_translations.h"

#include "win_test_support.h"

namespace {

using plat::Question;
using plat::ScriptedPerson;

struct Failures {
  std::vector<std::string> texts;
  ScriptedPerson::FailureHook Hook() {
    return [this](const std::string& what) { texts.push_back(what); };
  }
};

TEST(ScriptedPersonTest, AnswersInOrderAndKeepsWhatWasAsked) {
  testsupport::HostWindow owner;
  testsupport::TestPerson person;
  person.Answer(IDNO).Answer(IDOK).Answer(IDOK);
  plat::SetAppTitle("TAG00001 WEXLET");
  EXPECT_EQ(owner.MessageBox("STATCTRLMODE text", nullptr, MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBox(nullptr, "File save error.", "", MB_OK), IDOK);
  EXPECT_EQ(AfxMessageBox("Unable to initialise."), IDOK);
  plat::SetAppTitle("");

  const auto& asked = person.Asked();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].kind, Question::Kind::Message);
  EXPECT_EQ(asked[0].owner, &owner);
  EXPECT_EQ(asked[0].text, "STATCTRLMODE text");
  EXPECT_EQ(asked[0].caption, "TAG00001 WEXLET") << "a window's box carries the program title";
  EXPECT_EQ(asked[0].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(asked[1].owner, nullptr);
  EXPECT_EQ(asked[1].caption, "");
  EXPECT_EQ(asked[2].caption, "TAG00001 WEXLET");
  EXPECT_EQ(person.Pending(), 0u);
}

TEST(ScriptedPersonTest, AQuestionNobodyScriptedFailsAndCountsAsCancelled) {
  Failures failures;
  {
    ScriptedPerson person(failures.Hook());
    EXPECT_EQ(MessageBox(nullptr, "Continue?", "Compare", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, "Print?", "Print Report", MB_YESNO), IDNO);
    person.Answer(IDYES);
    EXPECT_EQ(MessageBox(nullptr, "File open error.", "", MB_OK), IDOK) << "IDYES is not a button of MB_OK";
    CFileDialog dialog(TRUE, "rmp", nullptr, OFN_HIDEREADONLY, "(*.rmp)|*.rmp|");
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    person.AnswerFile("/tmp/left-over.rmp");
    EXPECT_EQ(person.Failures(), 4);
  }
  ASSERT_EQ(failures.texts.size(), 5u);
  EXPECT_EQ(failures.texts[0], "unanswered message box \"Continue?\" (caption \"Compare\", MB_OKCANCEL)");
  EXPECT_NE(failures.texts[2].find("answer 6 is not a button"), std::string::npos) << failures.texts[2];
  EXPECT_NE(failures.texts[3].find("unanswered open-file dialog"), std::string::npos) << failures.texts[3];
  EXPECT_EQ(failures.texts[4], "1 scripted answer(s) never asked for");
}

TEST(ScriptedPersonTest, WithoutAHookAnUnscriptedQuestionThrowsPastThePagesGuard) {
  ScriptedPerson person;
  testsupport::HostWindow host;
  host.MapCommand(BN_CLICKED, 5, [&] { host.MessageBox("Sure?", "Test", MB_YESNO); });
  EXPECT_THROW(host.DispatchCommand(5, BN_CLICKED), plat::UnansweredQuestion);
}

TEST(ScriptedPersonTest, TimePassesWhileABoxIsUp) {
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped(clock);
  testsupport::TestPerson person;
  person.Answer(IDOK, [&] { clock.Advance(1500); });
  MessageBox(nullptr, "Wait", "", MB_OK);
  EXPECT_EQ(clock.MonotonicMs(), 1500);
}

TEST(FileDialogs, GiveAFullPathWithTheDefaultExtension) {
  testsupport::TestPerson person;
  person.AnswerFile("/tmp/tests/TAG00001_ramp").AnswerFile("/tmp/tests/old.RMP").CancelFile();

  CFileDialog save(FALSE, "rmp", "TAG00001_ramp", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "(*.rmp)|*.rmp|");
  save.m_ofn.lpstrTitle = "Save Ramp Test";
  ASSERT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(save.GetPathName(), "/tmp/tests/TAG00001_ramp.rmp");
  EXPECT_EQ(save.GetFileName(), "TAG00001_ramp.rmp");
  EXPECT_EQ(save.GetFileTitle(), "TAG00001_ramp");
  EXPECT_EQ(save.GetFileExt(), "rmp");
  EXPECT_EQ(save.GetFolderPath(), "/tmp/tests");

  CFileDialog open(TRUE, "rmp", nullptr, 6, "*.rmp|*.rmp|");
  ASSERT_EQ(open.DoModal(), IDOK);
  EXPECT_EQ(open.GetPathName(), "/tmp/tests/old.RMP") << "a typed extension stays";
  EXPECT_EQ(open.DoModal(), IDCANCEL);
  EXPECT_EQ(open.GetPathName(), "");

  const auto& asked = person.Asked();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].kind, Question::Kind::SaveFile);
  EXPECT_EQ(asked[0].title, "Save Ramp Test");
  EXPECT_EQ(asked[0].defaultName, "TAG00001_ramp");
  EXPECT_EQ(asked[0].defaultExtension, "rmp");
  EXPECT_EQ(asked[0].filter, "(*.rmp)|*.rmp|");
  EXPECT_EQ(asked[0].flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  EXPECT_EQ(asked[1].kind, Question::Kind::OpenFile);
}

TEST(FileDialogs, FiltersBecomeQtFilters) {
  const std::pair<std::string, std::string> cases[] = {
      {"(*.rmp)|*.rmp|", "(*.rmp)"},
      {"*.pst|*.pst|", "*.pst (*.pst)"},
      {"Ramp files (*.rmp)|*.rmp|All files|*.*||", "Ramp files (*.rmp);;All files (*.*)"},
      {"Data|*.dat;*.txt|", "Data (*.dat *.txt)"},
      {"", ""},
  };
  for (const auto& [windowsFilter, qt] : cases) EXPECT_EQ(plat::QtFilterOf(windowsFilter), qt) << windowsFilter;
}

// The real dialog: Qt's own buttons speak the program's language, and a
// language without a translation keeps Qt's English.
TEST(QtPersonTest, AYesNoQuestionHasQtsButtonsInTheProgramsLanguage) {
  struct Case {
    LCID language;
    const char* yes;
    const char* no;
  };
  const Case cases[] = {{1031, "&Ja", "&Nein"}, {1055, "&Evet", "&Hay\u0131r"}, {1033, "&Yes", "&No"}, {2057, "&Yes", "&No"}};
  for (const Case& c : cases) {
    plat::InstallQtTranslations(c.language);
    QString yes, no;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      yes = box->button(QMessageBox::Yes)->text();
      no = box->button(QMessageBox::No)->text();
      box->button(QMessageBox::No)->click();
    });
    Question question;
    question.text = "Proceed?";
    question.type = MB_YESNO | MB_ICONQUESTION;
    EXPECT_EQ(plat::QtPerson().MessageBox(question), IDNO);
    EXPECT_EQ(yes, QString::fromUtf8(c.yes)) << c.language;
    EXPECT_EQ(no, QString::fromUtf8(c.no)) << c.language;
  }
  plat::InstallQtTranslations(1033);
}

}  // namespace
