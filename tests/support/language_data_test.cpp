// The data we ship beside the program: the status, calibration and
// configuration texts of the language file, and the error-code table that
// gives each status bit its severity.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <pugixml.hpp>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/language_table.h"

namespace {

namespace fs = std::filesystem;

fs::path Shipped(const char* name) {
  return fs::path(TARNIX_SOURCE_DIR) / "resources/Dependencies" / name;
}

// How many bits (from bit 0) of each status byte have a text; 139 in all.
constexpr int kKeyedBits[] = {5, 5, 6, 7, 6, 7, 4, 0, 0, 0, 6, 8, 3, 8, 0, 8, 8, 8, 7, 6, 8, 0, 0, 0, 3, 7, 4, 8, 7};

std::set<int> KeyedCodes() {
  std::set<int> codes;
  for (int byte = 0; byte < static_cast<int>(std::size(kKeyedBits)); ++byte)
    for (int bit = 0; bit < kKeyedBits[byte]; ++bit) codes.insert(byte * 8 + bit);
  return codes;
}

// Every language the file offers, English first.
constexpr const char* kLanguageIds[] = {"1033", "1031", "3082", "1036", "1040", "1046", "1055"};

class ShippedData : public ::testing::Test {
 protected:
  void SetUp() override { Use("1033"); }
  void Use(const char* languageId) {
    ASSERT_NO_THROW(m_table.Load(_bstr_t(Shipped("Language.xml").string()), languageId, false));
  }

  // The English text; empty when the key is missing.
  std::string Text(const std::string& key) const {
    const std::string text = m_table.Lookup(_bstr_t(key)).str();
    return text == "##" + key ? std::string() : text;
  }

  CLanguageTable m_table;
};

// The event history shows what follows the first "-" and a blank, so each
// text, in every language, is the bit's code, " - " and the condition.
TEST_F(ShippedData, EveryStatusBitHasItsCodeAndACondition) {
  const std::set<int> codes = KeyedCodes();
  ASSERT_EQ(codes.size(), 139u);
  for (const char* id : kLanguageIds) {
    SCOPED_TRACE(id);
    Use(id);
    for (int code : codes) {
      const std::string key =
          "RawStatus" + std::to_string(code / 8) + "_" + std::to_string(1 << (code % 8)) + "_BitEnumDescr";
      const std::string head = std::to_string(code) + " - ";
      const std::string text = Text(key);
      EXPECT_EQ(text.substr(0, head.size()), head) << key << ": \"" << text << "\"";
      EXPECT_GT(text.size(), head.size()) << key;
    }
  }
}

// One line per keyed bit, a digit 1 to 3; comments start with "/". Every
// line fits the loader's 30-byte buffer (29 characters with its line end),
// so that no comment is cut into a stray entry.
TEST_F(ShippedData, ErrorTableGivesEveryStatusBitOneSeverity) {
  std::ifstream in(Shipped("CorratErrors.dlm"), std::ios::binary);
  ASSERT_TRUE(in) << Shipped("CorratErrors.dlm");
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(content.empty());
  EXPECT_EQ(content.back(), '\n');
  EXPECT_TRUE(std::all_of(content.begin(), content.end(), [](char c) {
    return c == '\n' || c == '\t' || (c >= ' ' && c <= '~');
  })) << "plain ASCII, LF line ends";

  const std::regex entry(R"(([0-9]+)\t([1-3]))");
  std::set<int> seen;
  size_t start = 0;
  for (size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = content.substr(start, end - start);
    EXPECT_LE(line.size() + 1, 29u) << line;
    if (!line.empty() && line[0] == '/') continue;
    std::smatch m;
    if (!std::regex_match(line, m, entry)) {
      ADD_FAILURE() << "not code<TAB>severity: \"" << line << "\"";
      continue;
    }
    const int code = std::stoi(m[1]);
    EXPECT_TRUE(seen.insert(code).second) << "code twice: " << code;
  }
  for (int code : KeyedCodes()) EXPECT_TRUE(seen.count(code)) << "no line for code " << code;
  for (int code : seen) EXPECT_TRUE(KeyedCodes().count(code)) << "code without a status bit: " << code;
}

// Every key that the configuration read, the travel units, the status area,
// the dashboard and the calibration steps look up.
TEST_F(ShippedData, EveryLookedUpKeyHasAText) {
  struct Family {
    const char* prefix;
    std::vector<std::pair<int, int>> codes;
  } const families[] = {
      {"ACT_Manufact_Id_", {{0, 7}}},
      {"ACT_Size_", {{0, 10}, {16, 31}, {37, 39}, {45, 74}, {81, 91}, {97, 102}, {108, 189}}},
      {"ACT_Type_LR_", {{0, 4}}},
      {"ACT_Spring_Type_", {{0, 17}}},
      {"VALVE_Model_", {{0, 14}, {20, 31}, {37, 43}, {51, 51}}},
      {"VALVE_Body_Size_", {{0, 23}}},
      {"VALVE_Flow_Dir_", {{0, 1}}},
      {"DC_Fail_Position_", {{0, 0}, {2, 3}}},
      {"TRAVEL_units_", {{47, 47}, {49, 49}, {57, 57}, {143, 143}}},
  };
  std::vector<std::string> keys = {
      "ALLOTHER", "MFC_NC", "SYSNOM", "DigOnly", "Analog", "PCTRLLOCKED", "IDC_LBLACTIVE2", "STATUSINACTIVE",
      // Calibration steps.
      "SPRINGTYPENONE", "IDD_CALIBRATION_STROKE", "EDT_ALM_CAL3", "IDD_FRICTION_CAL", "IDD_TRIPLE_CAL",
      "IDD_CALIBRATION_ANALOG_IN", "IDD_CALIBRATION_ANALOG_OUT", "VALBEGINCLOSE", "WAITSTARTCLOSE", "WAITSTOPCLOSE",
      "WAITSSETTLEPRESSURE", "SAMPLECLOSEVALUES", "JOGBUMPOPEN", "VALBEGINOPEN", "WAITSTARTOPEN", "WAITSTOPOPEN",
      "SAMPLEOPENVALUES", "SETADCRANGES", "WAITTOSETTLE", "IDC_CHECKMGTSETILO", "RESTORECONTROL", "FRICCAL",
      "RAMPTESTAT15", "SETFORCEAT15", "RAMPTESTAT85", "SETFORCEAT85", "FRICTNCALC", "STARTMANCAL", "MANCALMODE",
      "SAVECAL", "CALERROR", "CALABORT"};
  for (const Family& f : families)
    for (const auto& [first, last] : f.codes)
      for (int code = first; code <= last; ++code) keys.push_back(f.prefix + std::to_string(code) + "_EnumDescr");
  ASSERT_EQ(keys.size(), 40u + 258u);

  for (const std::string& key : keys) EXPECT_NE(Text(key), "") << key;
}

// Texts the code joins into something it or a control parses again.
TEST_F(ShippedData, JoinedTextsHoldNoSeparatorOfTheirJoin) {
  const struct {
    const char* key;
    char separator;
  } joined[] = {
      {"DigOnly", ','}, {"Analog", ','},  // the source switch's list of positions
      {"Page", '"'},                      // quoted in the report footer's expression
  };
  for (const char* id : kLanguageIds) {
    Use(id);
    for (const auto& j : joined) EXPECT_EQ(Text(j.key).find(j.separator), std::string::npos) << id << " " << j.key;
  }
}

// Sorted keys keep a duplicate (which would silently replace the first)
// next to its twin, where an editor sees it.
TEST(ShippedLanguageOrder, KeysAreInOrdinalOrder) {
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(Shipped("Language.xml").string().c_str()));
  std::vector<std::string> keys;
  for (const pugi::xpath_node& holder : doc.select_nodes("//*[locale]"))
    keys.push_back(holder.node().attribute("key").value());
  const auto wrong = std::adjacent_find(keys.begin(), keys.end(), std::greater_equal<>());
  EXPECT_TRUE(wrong == keys.end()) << *wrong << " before " << *std::next(wrong);
}

// What a translation must keep of its English text, by what the code and the
// controls do with it: line breaks, blanks at either end, printf conversions,
// and the numbers (status codes, limits, ranges). No text carries "##", the
// mark of a missing key.
struct Shape {
  int lineBreaks = 0;
  std::string leading, trailing;
  std::vector<std::string> conversions;
  std::multiset<std::string> numbers;
  bool operator==(const Shape&) const = default;
};

// A conversion is "%", flags, width, precision, length and its letter; "%%"
// is the sign itself. A blank after "%" ("0 % command") is prose: no format
// of ours uses the blank flag.
std::vector<std::string> Conversions(const std::string& text) {
  static const std::regex conversion(
      R"(%(%|[-+#0]*(\*|[0-9]+)?(\.(\*|[0-9]+))?(hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn]))");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
    if (it->str() != "%%") found.push_back(it->str());
  return found;
}

Shape ShapeOf(const std::string& text) {
  Shape shape;
  shape.lineBreaks = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  const size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
  shape.leading = text.substr(0, std::min(first, text.size()));
  shape.trailing = last == std::string::npos ? std::string() : text.substr(last + 1);
  shape.conversions = Conversions(text);
  static const std::regex number("[0-9]+");
  for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it) shape.numbers.insert(it->str());
  return shape;
}

std::string Describe(const Shape& s) {
  std::string text =
      std::to_string(s.lineBreaks) + " line breaks, blanks [" + s.leading + "|" + s.trailing + "], conversions";
  for (const std::string& c : s.conversions) text += " " + c;
  text += ", numbers";
  for (const std::string& n : s.numbers) text += " " + n;
  return text;
}

TEST(ShippedTranslations, KeepTheShapeOfTheEnglishText) {
  const struct {
    const char* text;
    int lineBreaks;
    const char* leading;
    const char* trailing;
    std::vector<std::string> conversions;
  } reads[] = {
      {"A/D at 0 % command:", 0, "", "", {}},
      {"100%", 0, "", "", {}},
      {"  %s is %5.2f %% of %-3d\n%ld\n ", 2, "  ", " ", {"%s", "%5.2f", "%-3d", "%ld"}},
      {"%+.1e%", 0, "", "", {"%+.1e"}},
      {"   ", 0, "   ", "", {}},
  };
  for (const auto& r : reads) {
    const Shape s = ShapeOf(r.text);
    EXPECT_EQ(s.lineBreaks, r.lineBreaks) << r.text;
    EXPECT_EQ(s.leading, r.leading) << r.text;
    EXPECT_EQ(s.trailing, r.trailing) << r.text;
    EXPECT_EQ(s.conversions, r.conversions) << r.text;
  }

  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(Shipped("Language.xml").string().c_str()));
  for (const pugi::xpath_node& holder : doc.select_nodes("//*[locale]")) {
    const std::string key = holder.node().attribute("key").value();
    const std::string english = holder.node().find_child_by_attribute("locale", "code", "en").text().get();
    const Shape shape = ShapeOf(english);
    for (const pugi::xml_node& locale : holder.node().children("locale")) {
      const std::string text = locale.text().get();
      const std::string where = key + " (" + locale.attribute("code").value() + "): \"" + text + "\"";
      EXPECT_EQ(text.find("##"), std::string::npos) << where;
      if (ShapeOf(text) != shape)
        ADD_FAILURE() << where << "\n  has " << Describe(ShapeOf(text)) << "\n  not " << Describe(shape);
    }
  }
}

}  // namespace
