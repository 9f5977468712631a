#include "platform/report/definition.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <pugixml.hpp>
#include <stdexcept>

#include "platform/sys/safe_file.h"

namespace report {
namespace {

struct Malformed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// from_chars, so a decimal comma locale cannot change what a file means.
double Number(const pugi::xml_node& node, const char* name, double fallback) {
  const pugi::xml_attribute a = node.attribute(name);
  if (!a) return fallback;
  const char* text = a.value();
  const char* end = text + std::strlen(text);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(text, end, value);
  if (ec != std::errc() || ptr != end) throw Malformed(std::string("not a number: ") + name + "=\"" + text + "\"");
  return value;
}

bool Flag(const pugi::xml_node& node, const char* name, bool fallback) {
  const pugi::xml_attribute a = node.attribute(name);
  if (!a) return fallback;
  const std::string v = a.value();
  if (v == "1" || v == "true") return true;
  if (v == "0" || v == "false") return false;
  throw Malformed(std::string("not a flag: ") + name + "=\"" + v + "\"");
}

template <class E>
E Choice(const pugi::xml_node& node, const char* name, E fallback,
         std::initializer_list<std::pair<const char*, E>> choices) {
  const pugi::xml_attribute a = node.attribute(name);
  if (!a) return fallback;
  for (const auto& [text, value] : choices)
    if (std::strcmp(a.value(), text) == 0) return value;
  throw Malformed(std::string("unknown ") + name + "=\"" + a.value() + "\"");
}

std::optional<std::uint32_t> Color(const pugi::xml_node& node, const char* name) {
  const pugi::xml_attribute a = node.attribute(name);
  if (!a) return std::nullopt;
  const char* text = a.value();
  const std::size_t length = std::strlen(text);
  std::uint32_t value = 0;
  if (length == 7 && text[0] == '#') {
    const auto [ptr, ec] = std::from_chars(text + 1, text + 7, value, 16);
    if (ec == std::errc() && ptr == text + 7) return value;
  }
  throw Malformed(std::string("not a colour: ") + name + "=\"" + text + "\"");
}

Font ReadFont(const pugi::xml_node& node, const Font& inherited) {
  Font f = inherited;
  if (const auto a = node.attribute("font")) f.name = a.value();
  f.size = Number(node, "size", f.size);
  f.bold = Flag(node, "bold", f.bold);
  f.italic = Flag(node, "italic", f.italic);
  return f;
}

Field ReadField(const pugi::xml_node& node, const Font& font, const std::string& base) {
  Field f;
  f.name = node.attribute("name").value();
  f.type = Choice(node, "type", FieldType::Text,
                  {{"text", FieldType::Text}, {"picture", FieldType::Picture}, {"expression", FieldType::Expression}});
  f.left = Number(node, "left", 0);
  f.top = Number(node, "top", 0);
  f.width = Number(node, "width", 0);
  f.height = Number(node, "height", 0);
  if (f.width < 0 || f.height < 0) throw Malformed("negative size of field \"" + f.name + "\"");
  f.font = ReadFont(node, font);
  f.align =
      Choice(node, "align", Align::Left, {{"left", Align::Left}, {"center", Align::Center}, {"right", Align::Right}});
  f.wrap = Flag(node, "wrap", false);
  f.color = Color(node, "color").value_or(0);
  f.background = Color(node, "back");
  f.border =
      Choice(node, "border", Border::None, {{"none", Border::None}, {"box", Border::Box}, {"bottom", Border::Bottom}});
  f.text = node.attribute("text").value();
  if (const auto file = node.attribute("file")) {
    std::string path = file.value();
    if (!path.empty() && path.front() != '/') path = base + path;
    auto bytes = ReadFileBytes(path);
    if (!bytes) throw Malformed("picture file not readable: " + path);
    f.picture = std::make_shared<const std::vector<std::uint8_t>>(std::move(*bytes));
  }
  return f;
}

std::shared_ptr<Report> ReadReport(const pugi::xml_node& node, const std::string& base) {
  auto r = std::make_shared<Report>();
  r->name = node.attribute("name").value();
  const bool a4 = Choice(node, "paper", false, {{"Letter", false}, {"A4", true}});
  r->pageWidth = a4 ? 11906 : 12240;
  r->pageHeight = a4 ? 16838 : 15840;
  if (Choice(node, "orientation", false, {{"portrait", false}, {"landscape", true}}))
    std::swap(r->pageWidth, r->pageHeight);
  r->marginLeft = Number(node, "margin-left", r->marginLeft);
  r->marginTop = Number(node, "margin-top", r->marginTop);
  r->marginRight = Number(node, "margin-right", r->marginRight);
  r->marginBottom = Number(node, "margin-bottom", r->marginBottom);
  if (r->marginLeft + r->marginRight >= r->pageWidth || r->marginTop + r->marginBottom >= r->pageHeight)
    throw Malformed("margins leave no page");
  r->font = ReadFont(node, Font{});
  for (const pugi::xml_node s : node.children("section")) {
    Section section;
    section.name = s.attribute("name").value();
    section.kind = Choice(s, "kind", SectionKind::Detail,
                          {{"page-header", SectionKind::PageHeader},
                           {"header", SectionKind::Header},
                           {"detail", SectionKind::Detail},
                           {"footer", SectionKind::Footer},
                           {"page-footer", SectionKind::PageFooter}});
    section.height = Number(s, "height", 0);
    for (const pugi::xml_node f : s.children("field")) section.fields.push_back(ReadField(f, r->font, base));
    r->sections.push_back(std::move(section));
  }
  return r;
}

}  // namespace

double Section::ContentHeight() const {
  double h = height;
  for (const Field& f : fields) h = std::max(h, f.Bottom());
  return h;
}

Field* Section::Find(const std::string& fieldName) {
  for (Field& f : fields)
    if (f.name == fieldName) return &f;
  return nullptr;
}

Section* Report::Find(const std::string& sectionName) {
  for (Section& s : sections)
    if (s.name == sectionName) return &s;
  return nullptr;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path) {
  std::string text;
  if (plat::ReadRegularFile(path, plat::kTableFileCap, &text) != plat::ReadStatus::Ok) return std::nullopt;
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

LoadResult ParseDefinition(const std::string& xml, const std::string& reportName, const std::string& base) {
  LoadResult result;
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
  const pugi::xml_node root = doc.child("report-definitions");
  if (!parsed || !root) {
    result.error = LoadError::Malformed;
    result.message = parsed ? "no <report-definitions> root" : parsed.description();
    return result;
  }
  const pugi::xml_node node = root.find_child_by_attribute("report", "name", reportName.c_str());
  if (!node) {
    result.error = LoadError::ReportNotFound;
    result.message = "no report named \"" + reportName + "\"";
    return result;
  }
  try {
    result.report = ReadReport(node, base);
  } catch (const Malformed& e) {
    result.error = LoadError::Malformed;
    result.message = e.what();
  }
  return result;
}

LoadResult LoadDefinition(const std::string& path, const std::string& reportName) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) {
    LoadResult result;
    result.error = LoadError::FileNotFound;
    result.message = "cannot read " + path;
    return result;
  }
  const std::size_t slash = path.find_last_of('/');
  const std::string base = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return ParseDefinition(std::string(bytes->begin(), bytes->end()), reportName, base);
}

}  // namespace report
