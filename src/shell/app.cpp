#include "shell/app.h"

#include <cstdlib>
#include <filesystem>

#include "platform/sys/paths.h"
#include "platform/win/html_help.h"

namespace {

constexpr const char* kLanguages[] = {"1033", "1031", "3082", "1040", "1046", "1036", "1055"};

}  // namespace

LCID LcidFromLocaleName(std::string_view name) {
  // A POSIX locale has no Windows locale id: the language part alone
  // chooses, whatever the region ("de_CH.UTF-8@euro" -> "de").
  const std::string_view language = name.substr(0, name.find_first_of("_.@"));
  struct Entry {
    const char* language;
    LCID lcid;
  };
  static const Entry kTable[] = {{"de", 1031}, {"es", 3082}, {"fr", 1036}, {"it", 1040}, {"pt", 1046}, {"tr", 1055}};
  for (const Entry& e : kTable)
    if (language == e.language) return e.lcid;
  return 1033;
}

LCID GetUserDefaultLCID() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value && std::string_view(value) != "C" && std::string_view(value) != "POSIX")
      return LcidFromLocaleName(value);
  }
  return 1033;
}

_bstr_t LanguageIdFromLcid(LCID lcid) {
  const std::string id = std::to_string(lcid & 0xFFFF);
  for (const char* known : kLanguages)
    if (id == known) return _bstr_t(known);
  return _bstr_t("1033");
}

std::string HelpFileForLanguage(const _bstr_t& languageId) {
  const std::string id = languageId.str();
  if (id == "1031") return "Tarnix Help-de.chm";
  if (id == "3082") return "Tarnix Help-es.chm";
  if (id == "1036") return "Tarnix Help-fr.chm";
  return "Tarnix Help-en.chm";
}

void CMyCommandLineInfo::ParseParam(const char* param, BOOL, BOOL) {
  if (param[0] == 'd') m_strDevicePath = param + 1;
  else if (param[0] == 's') m_strServerName = param + 1;
}

void CMyCommandLineInfo::Parse(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    // Only switches carry values; a stray word is not a document to open.
    if (arg[0] == '/' || arg[0] == '-') ParseParam(arg + 1, TRUE, i == argc - 1);
  }
}

CTarnixWexletApp::CTarnixWexletApp() : m_LanguageTable(TheLanguageTable()) {
  m_comm.BindIdentityTexts(&m_CommonFunctions);
  GetAppDirectory();
  SelectUiLanguage();
  m_strHelpFilePath = m_strAppDirectory + HelpFileForLanguage(m_strLanguageId);
  // A language whose help is not translated yet reads the English help.
  std::error_code ec;
  if (!std::filesystem::is_directory(plat::HelpFolderOf(m_strHelpFilePath), ec))
    m_strHelpFilePath = m_strAppDirectory + HelpFileForLanguage("1033");
}

CTarnixWexletApp::~CTarnixWexletApp() = default;

void CTarnixWexletApp::SelectUiLanguage() { m_strLanguageId = LanguageIdFromLcid(GetUserDefaultLCID()); }

std::string CTarnixWexletApp::GetAppDirectory() {
  m_strAppDirectory = plat::ProgramDirectory();
  return m_strAppDirectory;
}

CTarnixWexletApp& theApp() {
  static CTarnixWexletApp app;
  return app;
}
