#pragma once
// Context help. The program's help "file" (the .chm name the program
// chooses by language) is a folder of HTML pages under the program's
// Dependencies: "...\Tarnix Help-en.chm" is Dependencies/Help/Tarnix Help-en/.
// A context id shows <id>.html there, the default topic (and a context id
// without a page) shows index.html. The page opens in the system browser.
#include <functional>
#include <string>
#include <vector>

#include "platform/win/types.h"

constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_HELP_CONTEXT = 0x000F;

namespace plat {

class HelpSystem {
 public:
  virtual ~HelpSystem() = default;
  // Null when nothing could be shown.
  virtual HWND HtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data) = 0;
};

// Opens the topic with the opener, by default QDesktopServices. When there
// is no topic, or it cannot be opened, a message box tells the person and
// gives the path of the page (or of the help folder).
class DesktopHelp : public HelpSystem {
 public:
  using Opener = std::function<bool(const std::string& path)>;
  explicit DesktopHelp(Opener open = nullptr);
  HWND HtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data) override;

 private:
  Opener m_open;
};

// For tests: keeps what was asked and shows nothing.
class RecordingHelp : public HelpSystem {
 public:
  struct Call {
    HWND caller;
    std::string file;
    UINT command;
    DWORD_PTR data;
    std::string topic;  // what would have been opened ("" for nothing)
  };
  RecordingHelp();
  ~RecordingHelp() override;
  HWND HtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data) override;
  std::vector<Call> calls;

 private:
  HelpSystem* m_previous;
};

// The help folder of a help file name.
std::string HelpFolderOf(const std::string& file);
// The page a command shows: a path that exists, or "" when there is none.
std::string HelpTopicPath(const std::string& file, UINT command, DWORD_PTR data);

HelpSystem& TheHelpSystem();
// Installs a help system (null: back to DesktopHelp); returns the previous one.
HelpSystem* SetHelpSystem(HelpSystem* help);

}  // namespace plat

HWND HtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data);
