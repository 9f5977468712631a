#include "platform/win/html_help.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/sys/paths.h"
#include "platform/win/person.h"
#include "support/language_table.h"
#include "support/log.h"

namespace plat {
namespace {

DesktopHelp g_desktopHelp;
HelpSystem* g_help = &g_desktopHelp;

bool IsFile(const std::string& path) { return QFileInfo(QString::fromUtf8(path.c_str())).isFile(); }

}  // namespace

std::string HelpFolderOf(const std::string& file) {
  // The name may come with either separator.
  std::string name = file;
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return ProgramPath("\\Dependencies\\Help\\" + name) + "/";
}

std::string HelpTopicPath(const std::string& file, UINT command, DWORD_PTR data) {
  const std::string folder = HelpFolderOf(file);
  if (command == HH_HELP_CONTEXT) {
    const std::string topic = folder + std::to_string(data) + ".html";
    if (IsFile(topic)) return topic;
  } else if (command != HH_DISPLAY_TOPIC) {
    return {};
  }
  const std::string index = folder + "index.html";
  return IsFile(index) ? index : std::string();
}

DesktopHelp::DesktopHelp(Opener open) : m_open(std::move(open)) {
  if (!m_open)
    m_open = [](const std::string& path) {
      return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromUtf8(path.c_str())));
    };
}

HWND DesktopHelp::HtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data) {
  const std::string topic = HelpTopicPath(file, command, data);
  if (topic.empty())
    WriteLog(_bstr_t("No help topic for " + std::to_string(data) + " in " + HelpFolderOf(file)));
  else if (m_open(topic))
    return caller;
  else
    WriteLog(_bstr_t("Help page could not be opened: " + topic));
  // Without a browser or launcher nothing would show: say so, and where the help is.
  const std::string text =
      TheLanguageTable().Lookup("HELPNOTOPENED").str() + "\n" + (topic.empty() ? HelpFolderOf(file) : topic);
  MessageBox(caller, text.c_str(), AppTitle().c_str(), MB_OK | MB_ICONWARNING);
  return nullptr;
}

RecordingHelp::RecordingHelp() : m_previous(SetHelpSystem(this)) {}
RecordingHelp::~RecordingHelp() { SetHelpSystem(m_previous); }

HWND RecordingHelp::HtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data) {
  const std::string topic = HelpTopicPath(file, command, data);
  calls.push_back(Call{caller, file, command, data, topic});
  return topic.empty() ? nullptr : caller;
}

HelpSystem& TheHelpSystem() { return *g_help; }

HelpSystem* SetHelpSystem(HelpSystem* help) {
  HelpSystem* previous = g_help;
  g_help = help ? help : &g_desktopHelp;
  return previous;
}

}  // namespace plat

HWND HtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data) {
  return plat::TheHelpSystem().HtmlHelp(caller, file ? file : "", command, data);
}
