#include "support/language_table.h"

#include <exception>
#include <pugixml.hpp>
#include <string>

#include "platform/com/com_error.h"
#include "platform/sys/paths.h"
#include "platform/sys/safe_file.h"
#include "support/log.h"

namespace {

// An unreadable or malformed file gives an empty document, so the queries
// find nothing; the reason is handed back for the error text.
std::string LoadDocument(const _bstr_t& path, pugi::xml_document& doc) {
  std::string text;
  switch (plat::ReadRegularFile(path.str(), plat::kTableFileCap, &text)) {
    case plat::ReadStatus::Ok:
      break;
    case plat::ReadStatus::NotFound:
      return "file not found";
    case plat::ReadStatus::NotRegular:
      return "not a regular file";
    case plat::ReadStatus::TooLarge:
      return "file too large";
    case plat::ReadStatus::Failed:
      return "file not readable";
  }
  // A single blank is a text of its own; blanks between elements are not.
  const pugi::xml_parse_result result = doc.load_buffer(
      text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
  if (result) return {};
  // pugixml keeps the part read before the error; nothing of it may count.
  doc.reset();
  return std::string(result.description()) + " at byte " + std::to_string(result.offset);
}

// The values go into the queries as variables, never pasted into the
// expression, so an apostrophe in an id or code cannot change the query.
// A NUL would cut the variable short and match a shorter id.
bool ToQueryValue(const _bstr_t& text, std::string& value) {
  if (text.view().find(u'\0') != std::u16string_view::npos) return false;
  value = text.str();
  return true;
}

}  // namespace

void CLanguageTable::Load(const _bstr_t& path, const _bstr_t& languageId, bool keep) {
  // An empty loaded file means nothing is loaded yet, so it never matches.
  if (m_strLoadedFile.length() != 0 && path.view() == m_strLoadedFile.view() &&
      languageId.view() == m_strLoadedLanguage.view())
    return;

  pugi::xml_document doc;
  const std::string parseProblem = LoadDocument(path, doc);
  if (!Fill(doc, path, languageId, keep)) {
    const std::string why = parseProblem.empty() ? "no language entry for id \"" + languageId.str() + "\""
                                                 : parseProblem;
    throw _com_error(E_POINTER, "language file " + path.str() + ": " + why);
  }
}

bool CLanguageTable::Fill(const pugi::xml_document& doc, const _bstr_t& path, const _bstr_t& languageId,
                          bool keep) {
  pugi::xpath_variable_set vars;
  vars.add("id", pugi::xpath_type_string);
  vars.add("code", pugi::xpath_type_string);
  const pugi::xpath_query languageQuery("//languages/language[@lcid = $id]/@code", &vars);
  const pugi::xpath_query localeQuery("//locale[@code = $code]", &vars);
  const pugi::xpath_query keyQuery("../@key");
  const pugi::xpath_query textQuery("string(.)");

  std::string id;
  pugi::xpath_node code;
  if (ToQueryValue(languageId, id)) {
    vars.set("id", id.c_str());
    code = doc.select_node(languageQuery);
  }

  if (!keep) {
    m_mapTexts.clear();
    m_strLoadedFile = "";
    m_strLoadedLanguage = "";
  }
  if (!code.attribute()) return false;

  vars.set("code", code.attribute().value());
  pugi::xpath_node_set locales = doc.select_nodes(localeQuery);
  locales.sort();
  for (const pugi::xpath_node& locale : locales) {
    const pugi::xml_attribute key = locale.node().select_node(keyQuery).attribute();
    if (!key) continue;
    m_mapTexts[_bstr_t(std::string(key.value()))] = _bstr_t(textQuery.evaluate_string(locale));
  }

  m_strLoadedFile = path;
  m_strLoadedLanguage = languageId;
  return true;
}

_bstr_t CLanguageTable::Lookup(const _bstr_t& key) const {
  const auto found = m_mapTexts.find(key);
  if (found != m_mapTexts.end()) return found->second;
  return m_strMissingPrefix + key;
}

CLanguageTable& TheLanguageTable() {
  static CLanguageTable table;
  return table;
}

_bstr_t LanguageFilePath() { return _bstr_t(plat::ProgramPath("\\Dependencies\\Language.xml")); }

void LoadLanguageOrFallBack(CLanguageTable& table, const _bstr_t& path, const _bstr_t& languageId) try {
  const _bstr_t english("1033");
  pugi::xml_document doc;
  const std::string problem = LoadDocument(path, doc);
  if (!problem.empty()) {
    table.Fill(doc, path, english, false);  // finds nothing, so empties the table
    WriteLog(_bstr_t("Language file " + path.str() + " could not be read (" + problem + "); texts show their keys"));
    return;
  }
  if (table.Fill(doc, path, languageId, false)) return;
  const bool isEnglish = languageId.view() == english.view();
  if (!isEnglish && table.Fill(doc, path, english, false)) {
    WriteLog(_bstr_t("Language " + languageId.str() + " not found in " + path.str() + "; using 1033"));
    return;
  }
  WriteLog(_bstr_t("Language " + languageId.str() + (isEnglish ? "" : " and 1033") + " not found in " + path.str() +
                   "; texts show their keys"));
} catch (...) {
  // Start-up goes on whatever happened here.
}
