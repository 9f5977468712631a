#pragma once
// Report definitions: the model the report engine fills, read from our own
// XML format. No Qt here.
//
// Format (UTF-8; every length in twips, 1440 to the inch; numbers use "."):
//
//   <report-definitions>
//     <report name="SensCalRept" paper="Letter" orientation="portrait"
//             margin-left="1080" margin-top="1080" margin-right="1080"
//             margin-bottom="1080" font="Arial" size="10">
//       <section name="Page Footer" kind="page-footer" height="400">
//         <field name="PageLine" type="expression" left="0" top="100"
//                width="9360" height="280" align="right"
//                text='"Page " &amp; [Page] &amp; "/" &amp; [Pages]'/>
//       </section>
//       <section name="Detail" kind="detail" height="4000">
//         <field name="TitleLbl" left="0" top="0" width="9360" height="400"
//                size="14" bold="1" align="center" border="bottom"/>
//         <field name="RampGrph" type="picture" left="0" top="600"
//                width="9360" height="4000" border="box"/>
//       </section>
//     </report>
//   </report-definitions>
//
// A file holds one or more reports, each found by its exact name.
// report:  paper "Letter" (default) or "A4"; orientation "portrait"
//          (default) or "landscape"; four margins (default 1080); the
//          fields' default font name and size in points.
// section: name (exact, as the builders ask for it); kind, one of
//          "page-header" (top of every page), "header" (once, first),
//          "detail" (once, grows to hold every field, continues on the next
//          pages), "footer" (once, after the detail), "page-footer" (bottom
//          of every page); height.
// field:   name (exact; empty names are allowed and need not be unique);
//          left, top, width, height within its section; font, size, bold,
//          italic ("1"/"0"); align "left" (default), "center", "right";
//          wrap "1" to break long texts into lines; color and back as
//          "#RRGGBB"; border "none" (default), "box", "bottom"; type:
//            "text"       (default) the text attribute, which a builder may
//                         replace: static captions are text fields nobody sets;
//            "picture"    an image the builder sets (PNG or BMP bytes, or a
//                         file read when set); "file" names a default image,
//                         relative to the definition file's folder;
//            "expression" a text evaluated per page: quoted literals joined
//                         by "&" with [Page] (the page number) and [Pages]
//                         (the page count); a text that does not parse shows
//                         as it is.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace report {

enum class SectionKind { PageHeader, Header, Detail, Footer, PageFooter };
enum class FieldType { Text, Picture, Expression };
enum class Align { Left, Center, Right };
enum class Border { None, Box, Bottom };

using Bytes = std::shared_ptr<const std::vector<std::uint8_t>>;

struct Font {
  std::string name = "Arial";
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
};

struct Field {
  std::string name;
  FieldType type = FieldType::Text;
  double left = 0, top = 0, width = 0, height = 0;
  Font font;
  Align align = Align::Left;
  bool wrap = false;
  std::uint32_t color = 0x000000;           // 0xRRGGBB
  std::optional<std::uint32_t> background;  // none: transparent
  Border border = Border::None;
  std::string text;  // UTF-8
  Bytes picture;     // encoded image bytes; null: none
  long displayStyle = 0;

  double Bottom() const { return top + height; }
};

struct Section {
  std::string name;
  SectionKind kind = SectionKind::Detail;
  double height = 0;
  std::vector<Field> fields;

  // The height its fields need, at least its own.
  double ContentHeight() const;
  Field* Find(const std::string& fieldName);
};

struct Report {
  std::string name;
  double pageWidth = 12240, pageHeight = 15840;  // Letter portrait
  double marginLeft = 1080, marginTop = 1080, marginRight = 1080, marginBottom = 1080;
  Font font;
  std::vector<Section> sections;

  Section* Find(const std::string& sectionName);
};

enum class LoadError { None, FileNotFound, Malformed, ReportNotFound };

struct LoadResult {
  LoadError error = LoadError::None;
  std::string message;  // for the log
  std::shared_ptr<Report> report;
};

// Reads the report of that name out of the file at path.
LoadResult LoadDefinition(const std::string& path, const std::string& reportName);
// The same from text; base is the folder default pictures are read from.
LoadResult ParseDefinition(const std::string& xml, const std::string& reportName, const std::string& base);

// The whole file's bytes, or nothing when it cannot be read, is not a
// regular file or is larger than any definition or picture should be.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path);

}  // namespace report
