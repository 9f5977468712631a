// Definitions, expressions and pagination, without painting.
#include <gtest/gtest.h>

#include "platform/report/definition.h"
#include "platform/report/layout.h"
#include "platform/sys/hostile_paths.h"
#include "platform/sys/safe_file.h"

namespace {

using report::LoadError;

TEST(ReportExpression, EvaluatesLiteralsAndPageTokensOrShowsTheTextAsItIs) {
  struct Case {
    const char* expression;
    int page, pages;
    const char* shown;
  };
  const Case cases[] = {
      {R"("Page " & [Page] & "/" & [Pages])", 2, 5, "Page 2/5"},
      {R"("##Page " & [Page] & "/" & [Pages])", 1, 1, "##Page 1/1"},
      {R"([Page]&[Pages])", 3, 12, "312"},
      {R"("say ""hi""")", 1, 1, R"(say "hi")"},
      {"", 1, 1, ""},
      // A translation holding a quote breaks the expression: shown raw.
      {R"("Pa"ge " & [Page])", 1, 2, R"("Pa"ge " & [Page])"},
      {R"("Page " &)", 1, 2, R"("Page " &)"},
      {R"("Page " [Page])", 1, 2, R"("Page " [Page])"},
      {"[page]", 1, 2, "[page]"},
      {R"("open)", 1, 2, R"("open)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(report::EvaluateExpression(c.expression, c.page, c.pages), c.shown) << c.expression;
}

TEST(ReportDefinition, RefusesWhatIsNotAGoodDefinition) {
  struct Case {
    const char* what;
    std::string xml;
    const char* name;
    LoadError error;
  };
  auto one = [](const std::string& inner) {
    return "<report-definitions><report name='R'>" + inner + "</report></report-definitions>";
  };
  const Case cases[] = {
      {"not XML", "<report-definitions><report", "R", LoadError::Malformed},
      {"another root", "<reports><report name='R'/></reports>", "R", LoadError::Malformed},
      {"no such report", one(""), "r", LoadError::ReportNotFound},
      {"decimal comma", one("<section name='D' height='1,5'/>"), "R", LoadError::Malformed},
      {"unknown kind", one("<section name='D' kind='body'/>"), "R", LoadError::Malformed},
      {"unknown type", one("<section name='D'><field name='F' type='chart'/></section>"), "R", LoadError::Malformed},
      {"bad colour", one("<section name='D'><field name='F' color='red'/></section>"), "R", LoadError::Malformed},
      {"missing default picture", one("<section name='D'><field name='F' type='picture' file='none.png'/></section>"),
       "R", LoadError::Malformed},
      {"good", one("<section name='D' height='1.5'><field name='F' left='0.5'/></section>"), "R", LoadError::None},
  };
  for (const Case& c : cases) {
    const report::LoadResult r = report::ParseDefinition(c.xml, c.name, "/nonexistent/");
    EXPECT_EQ(r.error, c.error) << c.what << ": " << r.message;
    EXPECT_EQ(r.report != nullptr, c.error == LoadError::None) << c.what;
  }
  EXPECT_EQ(report::LoadDefinition("/nonexistent/defs.xml", "R").error, LoadError::FileNotFound);
}

TEST(ReportDefinition, APipeADeviceAFolderOrAHugeFileIsRefusedAtOnce) {
  testsys::HostilePaths hostile(plat::kTableFileCap);
  for (const testsys::HostilePath& h : hostile.All()) {
    EXPECT_EQ(report::LoadDefinition(h.path, "R").error, LoadError::FileNotFound) << h.what;
    EXPECT_FALSE(report::ReadFileBytes(h.path)) << h.what;
  }
}

TEST(ReportDefinition, ReadsPageSectionsAndFields) {
  const report::LoadResult r = report::LoadDefinition(TARNIX_REPORT_FIXTURE, "Other");
  ASSERT_TRUE(r.report) << r.message;
  EXPECT_EQ(r.report->name, "Other");
  EXPECT_GT(r.report->pageWidth, r.report->pageHeight);  // A4 landscape
  EXPECT_DOUBLE_EQ(r.report->pageWidth, 16838);
  ASSERT_NE(r.report->Find("Page Footer"), nullptr);
  EXPECT_EQ(r.report->Find("page footer"), nullptr);
  const report::Field* line = r.report->Find("Page Footer")->Find("PageLine1");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->type, report::FieldType::Expression);

  // A default picture is read from beside the definition.
  const std::string fixture = TARNIX_REPORT_FIXTURE;
  const std::string folder = fixture.substr(0, fixture.rfind('/') + 1);
  const report::LoadResult withPicture = report::ParseDefinition(
      "<report-definitions><report name='R'><section name='D'>"
      "<field name='Logo' type='picture' file='fixture.xml'/></section></report></report-definitions>",
      "R", folder);
  ASSERT_TRUE(withPicture.report) << withPicture.message;
  const report::Field* logo = withPicture.report->Find("D")->Find("Logo");
  ASSERT_TRUE(logo && logo->picture);
  EXPECT_EQ(logo->picture->size(), report::ReadFileBytes(fixture)->size());
}

// A report of one detail section with rows of height 300 every 300 twips.
report::Report Rows(int rows, double bodyHeight) {
  report::Report r;
  r.pageHeight = bodyHeight + r.marginTop + r.marginBottom + 400;
  report::Section footer{"Page Footer", report::SectionKind::PageFooter, 400, {}};
  report::Field line;
  line.name = "PageLine";
  line.type = report::FieldType::Expression;
  line.text = R"("Page " & [Page] & "/" & [Pages])";
  line.height = 400;
  footer.fields.push_back(line);
  report::Section detail{"Detail", report::SectionKind::Detail, 0, {}};
  for (int i = 0; i < rows; ++i) {
    for (double left : {0.0, 2000.0}) {
      report::Field f;
      f.name = "R";
      f.name += std::to_string(i);
      f.left = left;
      f.top = 300.0 * i;
      f.height = 300;
      detail.fields.push_back(f);
    }
  }
  r.sections = {detail, footer};
  return r;
}

TEST(ReportLayout, ARowThatWouldCrossThePageEndMovesWithEverythingBelowIt) {
  // Body of 1000 twips: rows at 0, 300, 600 fit (600 + 300 <= 1000), the row
  // at 900 moves to the top of page 2, the next follows 300 below it.
  const report::Document doc = report::Paginate(Rows(5, 1000));
  ASSERT_EQ(doc.pages.size(), 2u);
  const double top = 1080;
  std::vector<std::pair<std::string, double>> page2;
  for (const report::Placed& p : doc.pages[1].items)
    if (p.field.name != "PageLine") page2.emplace_back(p.field.name, p.field.top);
  const std::vector<std::pair<std::string, double>> expected = {
      {"R3", top}, {"R3", top}, {"R4", top + 300}, {"R4", top + 300}};
  EXPECT_EQ(page2, expected);
  std::vector<std::string> footers;
  for (const report::Page& page : doc.pages)
    for (const report::Placed& p : page.items)
      if (p.field.name == "PageLine") footers.push_back(p.field.text);
  EXPECT_EQ(footers, (std::vector<std::string>{"Page 1/2", "Page 2/2"}));
}

TEST(ReportLayout, AFieldTallerThanAPageStaysOnOnePageAndLayoutEnds) {
  report::Report r = Rows(2, 1000);
  r.sections[0].fields[2].height = 5000;  // row R1
  const report::Document doc = report::Paginate(r);
  ASSERT_EQ(doc.pages.size(), 2u);
  EXPECT_EQ(doc.pages[1].items.front().field.name, "R1");
  EXPECT_DOUBLE_EQ(doc.pages[1].items.front().field.top, 1080);
}

}  // namespace
