// The language table: lookups by exact key, loading one language of a
// language file, the start-up fall-back, and the language file we ship.
#include "support/language_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <vector>

#include "platform/com/com_error.h"
#include "platform/sys/hostile_paths.h"
#include "platform/sys/safe_file.h"
#include "support/log_capture.h"

namespace {

namespace fs = std::filesystem;

// A language file that lives as long as one test.
class TempFile {
 public:
  TempFile() : m_path(fs::temp_directory_path() / ("tarnix-lang-" + std::to_string(::getpid()) + "-" +
                                                    std::to_string(s_counter++) + ".xml")) {
    fs::remove(m_path);
  }
  explicit TempFile(const std::string& content) : TempFile() { Write(content); }
  ~TempFile() { fs::remove(m_path); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  void Write(const std::string& content) const { std::ofstream(m_path, std::ios::binary) << content; }
  _bstr_t Path() const { return _bstr_t(m_path.string()); }

 private:
  static inline int s_counter = 0;
  fs::path m_path;
};

// English and German; a language entry outside the list; a key only in
// German; a duplicate key; keys that share a beginning; locales whose
// parent has no key; blanks and non-ASCII in a text.
const std::string kFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<root>
  <languages>
    <language lcid="1033" code="en"/>
    <language lcid="1031" code="de"/>
  </languages>
  <language lcid="1036" code="en"/>
  <group>
    <t key="CONTINUE"><locale code="en">Continue</locale><locale code="de">Weiter</locale></t>
    <t key="ONLY_DE"><locale code="de">Nur deutsch</locale></t>
    <t key="DUP"><locale code="en">first</locale></t>
    <t key="A"><locale code="en">a</locale></t>
    <t key="AB"><locale code="en">ab</locale></t>
    <t key="NESTED"><wrap><locale code="en">too deep</locale></wrap></t>
    <locale code="en">holder without key</locale>
    <t key="TEMP"><locale code="en"> 5 &#xB0;C </locale><locale code="de">Temperatur &#xFC;ber Grenze</locale></t>
  </group>
  <t key="DUP"><locale code="en">second</locale></t>
</root>
)";

std::set<std::string> Keys(const CLanguageTable& table) {
  std::set<std::string> keys;
  for (const auto& [key, text] : table.Texts()) keys.insert(key.str());
  return keys;
}

void ExpectEmpty(const CLanguageTable& table) {
  EXPECT_TRUE(table.Texts().empty());
  EXPECT_EQ(table.LoadedFile().str(), "");
  EXPECT_EQ(table.LoadedLanguage().str(), "");
  EXPECT_EQ(table.Lookup("CONTINUE").str(), "##CONTINUE");
}

HRESULT LoadError(CLanguageTable& table, const _bstr_t& path, const _bstr_t& id, bool keep) {
  try {
    table.Load(path, id, keep);
  } catch (const _com_error& e) {
    return e.Error();
  }
  return S_OK;
}

TEST(LanguageTable, LookupTakesTheExactKeyOfTheLoadedLanguage) {
  TempFile file(kFile);
  CLanguageTable table;
  table.Load(file.Path(), "1033", false);
  EXPECT_EQ(table.LoadedFile().str(), file.Path().str());
  EXPECT_EQ(table.LoadedLanguage().str(), "1033");
  // Only keyed parents count: no empty key, nothing under NESTED.
  EXPECT_EQ(Keys(table), (std::set<std::string>{"A", "AB", "CONTINUE", "DUP", "TEMP"}));

  struct Case {
    const char* key;
    const char* text;
  } cases[] = {
      {"CONTINUE", "Continue"},
      {"continue", "##continue"},
      {"CONTINUE ", "##CONTINUE "},
      {"A", "a"},
      {"AB", "ab"},
      {"ABC", "##ABC"},
      {"ONLY_DE", "##ONLY_DE"},
      {"DUP", "second"},
      {"NESTED", "##NESTED"},
      {"TEMP", " 5 \xC2\xB0" "C "},
      {"", "##"},
  };
  for (const Case& c : cases) EXPECT_EQ(table.Lookup(c.key).str(), c.text) << c.key;
}

TEST(LanguageTable, NonAsciiTextsAndKeysArriveAsUtf16) {
  TempFile file(R"(<?xml version="1.0" encoding="UTF-8"?>
<f><languages><language lcid="1031" code="de"/></languages>
<t key="TEMP"><locale code="de">)" "\xC2\xB0" R"(C</locale></t>
<t key="UMLAUT"><locale code="de">)" "Pr\xC3\xBC" "fung l\xC3\xA4uft, Gr\xC3\xB6\xC3\x9F" "e" R"(</locale></t>
<t key="TAU"><locale code="de">)" "\xF0\x9D\x9C\x8F" R"( = 2 s</locale></t>
<t key=")" "\xC3\x84NDERN" R"("><locale code="de">&#xC4;ndern</locale></t>
</f>)");
  CLanguageTable table;
  table.Load(file.Path(), "1031", false);
  EXPECT_EQ(std::u16string(table.Lookup("TEMP").view()), u"\u00B0C");
  EXPECT_EQ(std::u16string(table.Lookup("UMLAUT").view()), u"Pr\u00FCfung l\u00E4uft, Gr\u00F6\u00DFe");
  EXPECT_EQ(std::u16string(table.Lookup("TAU").view()), u"\U0001D70F = 2 s");
  EXPECT_EQ(std::u16string(table.Lookup(u"\u00C4NDERN").view()), u"\u00C4ndern");
}

TEST(LanguageTable, KeepOverwritesKeyByKeyWithoutItAnotherLanguageReplacesAll) {
  TempFile file(kFile);
  CLanguageTable table;
  table.Load(file.Path(), "1033", false);
  table.Load(file.Path(), "1031", true);
  EXPECT_EQ(table.LoadedLanguage().str(), "1031");
  EXPECT_EQ(table.Lookup("CONTINUE").str(), "Weiter");
  EXPECT_EQ(table.Lookup("ONLY_DE").str(), "Nur deutsch");
  EXPECT_EQ(table.Lookup("A").str(), "a");
  EXPECT_EQ(table.Lookup("TEMP").str(), "Temperatur \xC3\xBC" "ber Grenze");

  table.Load(file.Path(), "1033", false);
  EXPECT_EQ(table.Lookup("ONLY_DE").str(), "##ONLY_DE");
  EXPECT_EQ(table.Lookup("CONTINUE").str(), "Continue");
}

TEST(LanguageTable, SameFileAndLanguageIsReadOnce) {
  TempFile file(kFile);
  CLanguageTable table;
  table.Load(file.Path(), "1033", false);
  file.Write(R"(<r><languages><language lcid="1033" code="en"/><language lcid="1031" code="de"/></languages>
<t key="CONTINUE"><locale code="en">Go on</locale><locale code="de">Fortfahren</locale></t></r>)");
  table.Load(file.Path(), "1033", false);
  EXPECT_EQ(table.Lookup("CONTINUE").str(), "Continue");
  EXPECT_EQ(table.Lookup("DUP").str(), "second");
  // Another language reads the file as it is now.
  table.Load(file.Path(), "1031", false);
  EXPECT_EQ(table.Lookup("CONTINUE").str(), "Fortfahren");
  EXPECT_EQ(table.Lookup("DUP").str(), "##DUP");
}

TEST(LanguageTable, LanguageIdWithoutEntryRaisesAndEmptiesTheTable) {
  TempFile file(kFile);
  const std::u16string withNul(u"1033\0", 5);
  const _bstr_t ids[] = {
      "9999",
      "1036",  // has an entry, but outside the languages list
      "",
      " 1033",
      "1033' or @lcid='1031",  // pasted into the query, this would match
      withNul,
  };
  for (const _bstr_t& id : ids) {
    SCOPED_TRACE(id.str());
    CLanguageTable table;
    table.Load(file.Path(), "1033", false);
    EXPECT_EQ(LoadError(table, file.Path(), id, false), E_POINTER);
    ExpectEmpty(table);
  }

  // With keep set the loaded texts stay.
  CLanguageTable table;
  table.Load(file.Path(), "1033", false);
  EXPECT_EQ(LoadError(table, file.Path(), "9999", true), E_POINTER);
  EXPECT_EQ(table.Lookup("CONTINUE").str(), "Continue");
  EXPECT_EQ(table.LoadedLanguage().str(), "1033");
}

TEST(LanguageTable, QuotesInALanguageCodeStillSelectItsTexts) {
  TempFile file(R"(<f><languages><language lcid="1033" code="e'n&quot;"/></languages>
<t key="K"><locale code="e'n&quot;">quoted</locale><locale code="en">plain</locale></t></f>)");
  CLanguageTable table;
  table.Load(file.Path(), "1033", false);
  EXPECT_EQ(table.Lookup("K").str(), "quoted");
}

TEST(LanguageTable, UnreadableFileRaisesEmptiesTheTableAndIsTriedAgainLater) {
  const std::string goodBeforeTheError =
      R"(<r><languages><language lcid="1033" code="en"/></languages>
<t key="CONTINUE"><locale code="en">Continue</locale></t>)";
  struct Case {
    const char* name;
    bool exists;
    std::string content;
  } cases[] = {
      {"missing", false, ""},
      {"empty", true, ""},
      {"not XML", true, "CONTINUE=Continue\n"},
      {"root never closed", true, goodBeforeTheError},
      {"broken after the texts", true, goodBeforeTheError + "<t key=\"X\"><locale code=\"en\">x</t></r>"},
  };
  TempFile good(kFile);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFile file;
    if (c.exists) file.Write(c.content);
    CLanguageTable table;
    table.Load(good.Path(), "1033", false);
    try {
      table.Load(file.Path(), "1033", false);
      ADD_FAILURE() << "no error";
    } catch (const _com_error& e) {
      EXPECT_EQ(e.Error(), E_POINTER);
      EXPECT_NE(e.Source().find(file.Path().str()), std::string::npos) << e.Source();
    }
    ExpectEmpty(table);

    file.Write(kFile);
    table.Load(file.Path(), "1033", false);
    EXPECT_EQ(table.Lookup("CONTINUE").str(), "Continue");
  }
}

TEST(LanguageFallBack, ChosenLanguageThenEnglishThenEmpty) {
  TempFile file(kFile);
  struct Case {
    const char* chosen;
    const char* loaded;
    const char* continueText;
    std::string logLine;  // empty: none
  } cases[] = {
      {"1031", "1031", "Weiter", ""},
      {"1033", "1033", "Continue", ""},
      {"1055", "1033", "Continue", "Language 1055 not found in " + file.Path().str() + "; using 1033"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    testsupport::LogCapture log;
    CLanguageTable table;
    LoadLanguageOrFallBack(table, file.Path(), c.chosen);
    EXPECT_EQ(table.LoadedLanguage().str(), c.loaded);
    EXPECT_EQ(table.Lookup("CONTINUE").str(), c.continueText);
    EXPECT_EQ(log.Texts(), c.logLine.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.logLine});
  }
}

TEST(LanguageFallBack, NoUsableFileLeavesTheEmptyTableAndNeverRaises) {
  TempFile noEnglish(R"(<r><languages><language lcid="1031" code="de"/></languages></r>)");
  TempFile missing;
  TempFile broken("<r><languages>");
  testsys::HostilePaths hostile(plat::kTableFileCap);
  const std::string unreadable = "Language file %s could not be read (%s); texts show their keys";
  const auto line = [](const std::string& format, const std::string& a, const std::string& b = {}) {
    std::string out = format;
    out.replace(out.find("%s"), 2, a);
    if (out.find("%s") != std::string::npos) out.replace(out.find("%s"), 2, b);
    return out;
  };
  struct Case {
    const char* name;
    _bstr_t path;
    const char* chosen;
    std::string logLine;
  } cases[] = {
      {"missing file", missing.Path(), "1031", line(unreadable, missing.Path().str(), "file not found")},
      {"missing file, English chosen", missing.Path(), "1033",
       line(unreadable, missing.Path().str(), "file not found")},
      {"malformed file", broken.Path(), "1031",
       line(unreadable, broken.Path().str(), "Start-end tags mismatch at byte 13")},
      {"neither language in the file", noEnglish.Path(), "1040",
       line("Language 1040 and 1033 not found in %s; texts show their keys", noEnglish.Path().str())},
      {"English not in the file", noEnglish.Path(), "1033",
       line("Language 1033 not found in %s; texts show their keys", noEnglish.Path().str())},
      {"named pipe", _bstr_t(hostile.All()[0].path), "1031",
       line(unreadable, hostile.All()[0].path, "not a regular file")},
      {"endless device", _bstr_t(hostile.All()[1].path), "1031",
       line(unreadable, hostile.All()[1].path, "not a regular file")},
      {"huge file", _bstr_t(hostile.All()[3].path), "1031", line(unreadable, hostile.All()[3].path, "file too large")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::LogCapture log;
    CLanguageTable table;
    EXPECT_NO_THROW(LoadLanguageOrFallBack(table, c.path, c.chosen));
    ExpectEmpty(table);
    EXPECT_EQ(log.Texts(), std::vector<std::string>{c.logLine});
  }
}

// The file we ship beside the program.
class ShippedLanguageFile : public ::testing::Test {
 protected:
  const _bstr_t m_path{
      (fs::path(TARNIX_SOURCE_DIR) / "resources/Dependencies/Language.xml").string()};
  const std::vector<const char*> m_ids{"1033", "1031", "3082", "1036", "1040", "1046", "1055"};
};

TEST_F(ShippedLanguageFile, EveryKeyHasATextInEveryLanguage) {
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(m_path.str().c_str())) << m_path.str();
  std::set<std::string> keys;
  for (const pugi::xpath_node& holder : doc.select_nodes("//*[locale]")) {
    const std::string key = holder.node().attribute("key").value();
    EXPECT_TRUE(keys.insert(key).second) << "key twice: " << key;
  }
  for (const char* key : {"PST_RESULT_0_EnumDescr", "PST_RESULT_1_EnumDescr", "PST_RESULT_2_EnumDescr",
                          "PST_RESULT_3_EnumDescr"})
    EXPECT_TRUE(keys.count(key)) << key;

  for (const char* id : m_ids) {
    SCOPED_TRACE(id);
    CLanguageTable table;
    ASSERT_NO_THROW(table.Load(m_path, id, false));
    EXPECT_EQ(Keys(table), keys);
    for (const auto& [key, text] : table.Texts()) EXPECT_NE(text.length(), 0u) << key.str();
  }
}

}  // namespace
