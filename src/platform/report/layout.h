#pragma once
// Pages out of a filled report: where every field lands, with its text as
// shown. A document owns copies, so a printer keeps it after the report is
// loaded anew. No Qt here.
#include <string>
#include <vector>

#include "platform/report/definition.h"

namespace report {

struct Placed {
  Field field;  // left and top on the page, margins included
};

struct Page {
  std::vector<Placed> items;
};

struct Document {
  double pageWidth = 0, pageHeight = 0;
  std::vector<Page> pages;
};

// Page headers and footers on every page; header, detail and footer flow
// between them. A row of fields (one top) that would cross the page's end
// moves to the next page, and what lies below it moves with it.
Document Paginate(const Report& report);

// The text of an expression field on a page, or the text itself when it
// does not parse.
std::string EvaluateExpression(const std::string& expression, int page, int pages);

}  // namespace report
