#pragma once
// Every text the user sees, by key, in the user-interface language, read
// once at start-up from the language file.
#include <map>

#include "platform/com/bstr.h"

namespace pugi {
class xml_document;
}

class CLanguageTable {
 public:
  CLanguageTable() = default;
  CLanguageTable(const CLanguageTable&) = delete;
  CLanguageTable& operator=(const CLanguageTable&) = delete;

  // Fills the table with the texts of one language (decimal locale id such
  // as "1033") from the file at a path of this machine. Does nothing when
  // that file and language are already loaded. Unless keep is set, the
  // table is emptied first. Raises _com_error E_POINTER when the file has no
  // entry for the language, including a missing or malformed file; the
  // error's Source() says which.
  void Load(const _bstr_t& path, const _bstr_t& languageId, bool keep);

  // The key's text, or "##" followed by the key when the table lacks it.
  _bstr_t Lookup(const _bstr_t& key) const;

  const std::map<_bstr_t, _bstr_t>& Texts() const { return m_mapTexts; }
  const _bstr_t& LoadedFile() const { return m_strLoadedFile; }
  const _bstr_t& LoadedLanguage() const { return m_strLoadedLanguage; }

 private:
  friend void LoadLanguageOrFallBack(CLanguageTable&, const _bstr_t&, const _bstr_t&);
  // Load's work on a parsed file: false, and nothing of the language in the
  // table, when the file has no entry for it.
  bool Fill(const pugi::xml_document& doc, const _bstr_t& path, const _bstr_t& languageId, bool keep);

  std::map<_bstr_t, _bstr_t> m_mapTexts;
  _bstr_t m_strLoadedFile{""};
  _bstr_t m_strLoadedLanguage{""};
  _bstr_t m_strMissingPrefix{"##"};
};

// The one table of the process; the application object's m_LanguageTable.
CLanguageTable& TheLanguageTable();

// Where the program keeps its language file.
_bstr_t LanguageFilePath();

// Start-up's load: the chosen language, else "1033", else an empty table
// (every text then shows as "##" and its key). A fall-back writes one log
// line saying what was missing and what is used instead. Never raises.
void LoadLanguageOrFallBack(CLanguageTable& table, const _bstr_t& path, const _bstr_t& languageId);
