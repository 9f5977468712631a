#include "platform/win/person.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <iostream>

#include "platform/win/cwnd.h"

namespace plat {
namespace {

QtPerson g_qtPerson;
Person* g_person = &g_qtPerson;
std::string g_appTitle;

QWidget* OwnerWidget(HWND owner) {
  if (owner && owner->GetSafeWidget()) return owner->GetSafeWidget()->window();
  return QApplication::activeWindow();
}

// A dialog shows the normal cursor even while a transaction's wait cursor is up.
class NormalCursor {
 public:
  NormalCursor() : m_active(QApplication::overrideCursor() != nullptr) {
    if (m_active) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~NormalCursor() {
    if (m_active) QApplication::restoreOverrideCursor();
  }
  NormalCursor(const NormalCursor&) = delete;
  NormalCursor& operator=(const NormalCursor&) = delete;

 private:
  bool m_active;
};

std::string KindName(Question::Kind kind) {
  switch (kind) {
    case Question::Kind::Message:
      return "message box";
    case Question::Kind::OpenFile:
      return "open-file dialog";
    case Question::Kind::SaveFile:
      return "save-file dialog";
  }
  return "question";
}

std::string Describe(const Question& q) {
  if (q.kind == Question::Kind::Message)
    return "message box \"" + q.text + "\" (caption \"" + q.caption + "\", " + ButtonsName(q.type) + ")";
  return KindName(q.kind) + " \"" + q.title + "\" (filter \"" + q.filter + "\", name \"" + q.defaultName + "\")";
}

}  // namespace

// ---- QtPerson.

int QtPerson::MessageBox(const Question& q) {
  QMessageBox box(OwnerWidget(q.owner));
  box.setWindowTitle(QString::fromUtf8(q.caption.c_str()));
  box.setText(QString::fromUtf8(q.text.c_str()));
  switch (q.type & MB_ICONMASK) {
    case MB_ICONSTOP:
      box.setIcon(QMessageBox::Critical);
      break;
    case MB_ICONQUESTION:
      box.setIcon(QMessageBox::Question);
      break;
    case MB_ICONEXCLAMATION:
      box.setIcon(QMessageBox::Warning);
      break;
    case MB_ICONINFORMATION:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      break;
  }
  struct Choice {
    QMessageBox::StandardButton button;
    int answer;
  };
  std::vector<Choice> choices;
  switch (q.type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_ABORTRETRYIGNORE:
      choices = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL:
      choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_YESNO:
      choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
      break;
    case MB_RETRYCANCEL:
      choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    default:
      choices = {{QMessageBox::Ok, IDOK}};
      break;
  }
  QMessageBox::StandardButtons buttons;
  for (const Choice& c : choices) buttons |= c.button;
  box.setStandardButtons(buttons);
  const std::size_t defaultIndex = (q.type & MB_DEFBUTTON2) && choices.size() > 1 ? 1 : 0;
  box.setDefaultButton(choices[defaultIndex].button);
  const NormalCursor cursor;
  const int result = box.exec();
  for (const Choice& c : choices)
    if (result == c.button) return c.answer;
  // Closed with the title bar's button.
  return OffersAnswer(q.type, IDCANCEL) ? IDCANCEL : choices.front().answer;
}

std::optional<std::string> QtPerson::ChooseFile(const Question& q) {
  QFileDialog dialog(OwnerWidget(q.owner), QString::fromUtf8(q.title.c_str()));
  dialog.setAcceptMode(q.kind == Question::Kind::SaveFile ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(q.kind == Question::Kind::SaveFile ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!(q.flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QString filter = QString::fromUtf8(QtFilterOf(q.filter).c_str());
  if (!filter.isEmpty()) dialog.setNameFilters(filter.split(QStringLiteral(";;")));
  if (!q.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromUtf8(q.defaultExtension.c_str()));
  if (!q.initialFolder.empty()) dialog.setDirectory(QString::fromUtf8(q.initialFolder.c_str()));
  if (!q.defaultName.empty()) dialog.selectFile(QString::fromUtf8(q.defaultName.c_str()));
  const NormalCursor cursor;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toUtf8().toStdString();
}

// ---- ScriptedPerson.

ScriptedPerson::ScriptedPerson(FailureHook onFailure)
    : m_onFailure(std::move(onFailure)), m_previous(SetPerson(this)) {}

ScriptedPerson::~ScriptedPerson() {
  SetPerson(m_previous);
  if (m_answers.empty()) return;
  const std::string what = std::to_string(m_answers.size()) + " scripted answer(s) never asked for";
  if (m_onFailure)
    m_onFailure(what);
  else
    std::cerr << "ScriptedPerson: " << what << '\n';
}

ScriptedPerson& ScriptedPerson::Answer(int button, std::function<void()> whileShown) {
  m_answers.push_back(Scripted{false, button, std::nullopt, std::move(whileShown)});
  return *this;
}

ScriptedPerson& ScriptedPerson::AnswerFile(std::string path, std::function<void()> whileShown) {
  m_answers.push_back(Scripted{true, IDOK, std::move(path), std::move(whileShown)});
  return *this;
}

ScriptedPerson& ScriptedPerson::CancelFile(std::function<void()> whileShown) {
  m_answers.push_back(Scripted{true, IDCANCEL, std::nullopt, std::move(whileShown)});
  return *this;
}

void ScriptedPerson::Fail(const std::string& what) {
  ++m_failures;
  if (m_onFailure)
    m_onFailure(what);
  else
    throw UnansweredQuestion(what);
}

int ScriptedPerson::MessageBox(const Question& q) {
  m_asked.push_back(q);
  const int cancel = OffersAnswer(q.type, IDCANCEL) ? IDCANCEL : OffersAnswer(q.type, IDNO) ? IDNO : IDOK;
  if (m_answers.empty() || m_answers.front().file) {
    Fail("unanswered " + Describe(q));
    return cancel;
  }
  Scripted answer = std::move(m_answers.front());
  m_answers.pop_front();
  if (answer.whileShown) answer.whileShown();
  if (!OffersAnswer(q.type, answer.button)) {
    Fail("answer " + std::to_string(answer.button) + " is not a button of " + Describe(q));
    return cancel;
  }
  return answer.button;
}

std::optional<std::string> ScriptedPerson::ChooseFile(const Question& q) {
  m_asked.push_back(q);
  if (m_answers.empty() || !m_answers.front().file) {
    Fail("unanswered " + Describe(q));
    return std::nullopt;
  }
  Scripted answer = std::move(m_answers.front());
  m_answers.pop_front();
  if (answer.whileShown) answer.whileShown();
  return answer.path;
}

// ---- Installation and helpers.

Person& ThePerson() { return *g_person; }

Person* SetPerson(Person* person) {
  Person* previous = g_person;
  g_person = person ? person : &g_qtPerson;
  return previous;
}

std::string ButtonsName(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK:
      return "MB_OK";
    case MB_OKCANCEL:
      return "MB_OKCANCEL";
    case MB_ABORTRETRYIGNORE:
      return "MB_ABORTRETRYIGNORE";
    case MB_YESNOCANCEL:
      return "MB_YESNOCANCEL";
    case MB_YESNO:
      return "MB_YESNO";
    case MB_RETRYCANCEL:
      return "MB_RETRYCANCEL";
    default:
      return "MB_" + std::to_string(type & MB_TYPEMASK);
  }
}

bool OffersAnswer(UINT type, int answer) {
  switch (type & MB_TYPEMASK) {
    case MB_OK:
      return answer == IDOK;
    case MB_OKCANCEL:
      return answer == IDOK || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE:
      return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    case MB_YESNOCANCEL:
      return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
      return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL:
      return answer == IDRETRY || answer == IDCANCEL;
    default:
      return false;
  }
}

std::string QtFilterOf(const std::string& filter) {
  const QStringList parts = QString::fromUtf8(filter.c_str()).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    if (description.isEmpty() && patterns.isEmpty()) continue;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the patterns from the last parentheses.
    const QString suffix = QStringLiteral("(") + patterns + QStringLiteral(")");
    filters << (description.endsWith(suffix) ? description : (description + QStringLiteral(" ") + suffix).trimmed());
  }
  return filters.join(QStringLiteral(";;")).toUtf8().toStdString();
}

void SetAppTitle(const std::string& title) { g_appTitle = title; }
const std::string& AppTitle() { return g_appTitle; }

}  // namespace plat

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  plat::Question q;
  q.kind = plat::Question::Kind::Message;
  q.owner = owner;
  q.text = text ? text : "";
  // Windows shows "Error" for a missing caption.
  q.caption = caption ? caption : "Error";
  q.type = type;
  return plat::ThePerson().MessageBox(q);
}

int AfxMessageBox(const char* text, UINT type) { return MessageBox(nullptr, text, plat::AppTitle().c_str(), type); }

// ---- CFileDialog.

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_open(openFileDialog != FALSE),
      m_defaultExtension(defaultExtension ? defaultExtension : ""),
      m_fileName(fileName ? fileName : ""),
      m_filter(filter ? filter : ""),
      m_parent(parent) {
  m_ofn.Flags = flags;
}

int CFileDialog::DoModal() {
  plat::Question q;
  q.kind = m_open ? plat::Question::Kind::OpenFile : plat::Question::Kind::SaveFile;
  q.owner = m_parent;
  q.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : (m_open ? "Open" : "Save As");
  q.filter = m_filter;
  q.defaultExtension = m_defaultExtension;
  q.defaultName = m_fileName;
  q.initialFolder = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : "";
  q.flags = m_ofn.Flags;
  const std::optional<std::string> chosen = plat::ThePerson().ChooseFile(q);
  if (!chosen || chosen->empty()) {
    m_path.clear();
    return IDCANCEL;
  }
  std::string path = *chosen;
  const QFileInfo info(QString::fromUtf8(path.c_str()));
  // The default extension goes on a name typed without one.
  if (!m_defaultExtension.empty() && info.suffix().isEmpty()) {
    std::string extension = m_defaultExtension;
    if (extension.front() == '.') extension.erase(0, 1);
    path += "." + extension;
  }
  m_path = QFileInfo(QString::fromUtf8(path.c_str())).absoluteFilePath().toUtf8().toStdString();
  return IDOK;
}

std::string CFileDialog::GetFileName() const {
  return QFileInfo(QString::fromUtf8(m_path.c_str())).fileName().toUtf8().toStdString();
}

std::string CFileDialog::GetFileTitle() const {
  return QFileInfo(QString::fromUtf8(m_path.c_str())).completeBaseName().toUtf8().toStdString();
}

std::string CFileDialog::GetFileExt() const {
  return QFileInfo(QString::fromUtf8(m_path.c_str())).suffix().toUtf8().toStdString();
}

std::string CFileDialog::GetFolderPath() const {
  return QFileInfo(QString::fromUtf8(m_path.c_str())).absolutePath().toUtf8().toStdString();
}
