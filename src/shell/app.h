#pragma once
// The application object: everything the pages share, reached through the
// one instance theApp.
#include <array>
#include <string>

#include "comm/communication.h"
#include "reports/common_functions.h"
#include "platform/win/splitter.h"
#include "platform/win/tree.h"
#include "shell/page.h"
#include "shell/test_engine.h"
#include "support/language_table.h"
#include "support/log.h"

#include <memory>
#include <string_view>

class CTarnixWexletView;

// The locale id of a POSIX locale name ("de_DE.UTF-8" -> 1031); 1033 for
// one the program does not know.
LCID LcidFromLocaleName(std::string_view name);
// The user's locale id, from LC_ALL, LC_MESSAGES or LANG.
LCID GetUserDefaultLCID();
// One of the seven languages of the program by its locale id's low 16
// bits; "1033" for any other.
_bstr_t LanguageIdFromLcid(LCID lcid);
std::string HelpFileForLanguage(const _bstr_t& languageId);

// The two switches the host passes: /d<device path> and /s<computer>.
class CMyCommandLineInfo {
 public:
  // A parameter without its leading "/" or "-"; lower-case letters only.
  void ParseParam(const char* param, BOOL flag, BOOL last);
  void Parse(int argc, const char* const* argv);
  std::string m_strDevicePath;
  std::string m_strServerName;
};

class CTarnixWexletApp {
 public:
  static constexpr int kViewCount = 37;  // view indexes 1 to 36
  static constexpr int kTreeSlots = 64;

  CTarnixWexletApp();
  ~CTarnixWexletApp();

  // Start-up after the Qt application exists: language, command line,
  // main window, connection, dashboard. False ends the program.
  BOOL InitInstance(int argc, const char* const* argv);

  // "1033", "1031", "3082", "1040", "1046", "1036" or "1055" from the
  // user's locale (low 16 bits of the locale id), else "1033".
  void SelectUiLanguage();
  std::string GetAppDirectory();  // ends with "/"
  void WriteLog(_bstr_t text) { ::WriteLog(text); }

  std::string m_strDevicePath;
  std::string m_strServerName;
  std::array<CTarnixPage*, kViewCount> m_pViews{};
  CTarnixWexletView* m_pTreeView = nullptr;
  std::array<HTREEITEM, kTreeSlots> m_hTreeItems{};
  CWexletCoreCommunication m_comm;
  CCommonFunctions m_CommonFunctions;
  CTestEngine m_testEngine;
  CLanguageTable& m_LanguageTable;
  CTarnixPage* m_pRampTestView = nullptr;
  CTarnixPage* m_pStepTestView = nullptr;
  CTarnixPage* m_pHDRLView = nullptr;
  CTarnixPage* m_pPSTView = nullptr;
  CTarnixPage* m_pMultiTestView = nullptr;
  bool m_bMultiTestBidirectional = false;
  _bstr_t m_strLanguageId{""};
  std::string m_strAppDirectory;
  _bstr_t m_strProductTitle{"WEXLET"};
  std::string m_strHelpFilePath;
  std::unique_ptr<CFrameWnd> m_pMainFrame;  // a CMainFrame (app/frame.h)
};

// The one application object.
CTarnixWexletApp& theApp();
