#include "support/language_table.h"

#include <exception>
#include <pugixml.hpp>
#include <string>

#include "platform/com/com_error.h"
#include "platform/sys/paths.h"
#include "support/log.h"

namespace {

// An unreadable or malformed file gives an empty document, so the queries
// find nothing; the parser's reason is handed back for the error text.
std::string LoadDocument(const _bstr_t& path, pugi::xml_document& doc) {
  // A single blank is a text of its own; blanks between elements are not.
  const pugi::xml_parse_result result =
      doc.load_file(path.str().c_str(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
  if (result) return {};
  // pugixml keeps the part read before the error; nothing of it may count.
  doc.reset();
  std::string reason = result.description();
  if (result.status != pugi::status_file_not_found && result.status != pugi::status_io_error)
    reason += " at byte " + std::to_string(result.offset);
  return reason;
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

  if (!code.attribute()) {
    const std::string why = parseProblem.empty() ? "no language entry for id \"" + languageId.str() + "\""
                                                 : parseProblem;
    throw _com_error(E_POINTER, "language file " + path.str() + ": " + why);
  }

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
  const auto attempt = [&](const _bstr_t& id, const char* then) {
    try {
      table.Load(path, id, false);
      return true;
    } catch (const std::exception& e) {
      WriteLog(_bstr_t("Language " + id.str() + " not loaded: " + e.what() + "; " + then));
    } catch (...) {
      WriteLog(_bstr_t("Language " + id.str() + " not loaded; " + then));
    }
    return false;
  };
  const bool isEnglish = languageId.view() == english.view();
  const char* firstThen = isEnglish ? "texts show as ##KEY." : "trying 1033.";
  if (attempt(languageId, firstThen) || isEnglish) return;
  attempt(english, "texts show as ##KEY.");
} catch (...) {
  // Start-up goes on whatever happened here.
}
