#pragma once
// The person at the screen: message boxes and file dialogs all go through
// one interface. The program shows Qt dialogs (QtPerson, the default); a
// test installs a ScriptedPerson that answers from a queue and keeps every
// question asked.
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace plat {

struct Question {
  enum class Kind { Message, OpenFile, SaveFile };
  Kind kind = Kind::Message;
  HWND owner = nullptr;
  // Message boxes.
  std::string text;
  std::string caption;
  UINT type = MB_OK;  // buttons and icon
  // File dialogs.
  std::string title;
  std::string filter;  // as the program wrote it: "(*.rmp)|*.rmp|"
  std::string defaultExtension;
  std::string defaultName;
  std::string initialFolder;
  DWORD flags = 0;
};

class Person {
 public:
  virtual ~Person() = default;
  // IDOK, IDCANCEL, IDYES, IDNO, ... one of the buttons that type offers.
  virtual int MessageBox(const Question& question) = 0;
  // The full path chosen, or nothing when the person cancels.
  virtual std::optional<std::string> ChooseFile(const Question& question) = 0;
};

// Shows QMessageBox and QFileDialog.
class QtPerson : public Person {
 public:
  int MessageBox(const Question& question) override;
  std::optional<std::string> ChooseFile(const Question& question) override;
};

// What happened that a test did not script.
class UnansweredQuestion : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Answers from a queue, in order, and records every question. A question
// without an answer, an answer of the wrong kind, or a button the box does
// not offer goes to the failure hook (a test passes one that fails the
// test; without one an UnansweredQuestion is thrown), and then the box
// counts as cancelled. Answers left over when the person goes are failures
// too. Installs itself for its lifetime.
class ScriptedPerson : public Person {
 public:
  using FailureHook = std::function<void(const std::string& what)>;
  explicit ScriptedPerson(FailureHook onFailure = nullptr);
  ~ScriptedPerson() override;
  ScriptedPerson(const ScriptedPerson&) = delete;
  ScriptedPerson& operator=(const ScriptedPerson&) = delete;

  // The next message box is answered with button; whileShown runs while
  // the box is up (time passing, timers ticking) before the answer.
  ScriptedPerson& Answer(int button, std::function<void()> whileShown = nullptr);
  // The next file dialog is answered with this path (the dialog adds the
  // default extension when the path has none), or cancelled.
  ScriptedPerson& AnswerFile(std::string path, std::function<void()> whileShown = nullptr);
  ScriptedPerson& CancelFile(std::function<void()> whileShown = nullptr);

  const std::vector<Question>& Asked() const { return m_asked; }
  std::size_t Pending() const { return m_answers.size(); }
  int Failures() const { return m_failures; }

  int MessageBox(const Question& question) override;
  std::optional<std::string> ChooseFile(const Question& question) override;

 private:
  struct Scripted {
    bool file = false;
    int button = 0;
    std::optional<std::string> path;
    std::function<void()> whileShown;
  };
  void Fail(const std::string& what);

  FailureHook m_onFailure;
  std::deque<Scripted> m_answers;
  std::vector<Question> m_asked;
  int m_failures = 0;
  Person* m_previous;
};

// The current person (QtPerson unless another is installed).
Person& ThePerson();
// Installs a person (null: back to QtPerson); returns the previous one.
Person* SetPerson(Person* person);

// Texts of a message-box type, for logs and test messages: "MB_YESNO".
std::string ButtonsName(UINT type);
// Whether type offers that answer.
bool OffersAnswer(UINT type, int answer);
// "(*.rmp)|*.rmp|" -> "(*.rmp) (*.rmp)"; pairs become ";;"-separated Qt filters.
std::string QtFilterOf(const std::string& filter);

// The caption AfxMessageBox uses.
void SetAppTitle(const std::string& title);
const std::string& AppTitle();

}  // namespace plat

// Message box owned by a window (or none).
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
int AfxMessageBox(const char* text, UINT type = MB_OK);

struct OPENFILENAME {
  DWORD Flags = 0;
  const char* lpstrTitle = nullptr;
  const char* lpstrInitialDir = nullptr;
};

// The file dialog. Nothing here changes the working folder: the program
// opens every file by the full path GetPathName() gives.
class CFileDialog {
 public:
  CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr, const char* fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
              CWnd* parent = nullptr);
  // IDOK when a file was chosen, else IDCANCEL.
  int DoModal();
  std::string GetPathName() const { return m_path; }
  std::string GetFileName() const;   // "test.rmp"
  std::string GetFileTitle() const;  // "test"
  std::string GetFileExt() const;    // "rmp"
  std::string GetFolderPath() const;

  OPENFILENAME m_ofn;

 private:
  bool m_open;
  std::string m_defaultExtension;
  std::string m_fileName;
  std::string m_filter;
  CWnd* m_parent;
  std::string m_path;
};
