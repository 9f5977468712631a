#include "platform/report/layout.h"

#include <algorithm>
#include <optional>

namespace report {
namespace {

std::optional<std::string> Evaluate(const std::string& e, int page, int pages) {
  std::string out;
  std::size_t i = 0;
  auto skip = [&] {
    while (i < e.size() && (e[i] == ' ' || e[i] == '\t')) ++i;
  };
  bool wantTerm = true;
  int terms = 0;
  skip();
  while (i < e.size()) {
    if (!wantTerm) {
      if (e[i] != '&') return std::nullopt;
      ++i;
      wantTerm = true;
    } else if (e[i] == '"') {
      ++i;
      for (;;) {
        if (i >= e.size()) return std::nullopt;
        if (e[i] == '"') {
          if (i + 1 < e.size() && e[i + 1] == '"') {
            out += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += e[i++];
      }
      wantTerm = false;
      ++terms;
    } else if (e.compare(i, 7, "[Pages]") == 0) {
      out += std::to_string(pages);
      i += 7;
      wantTerm = false;
      ++terms;
    } else if (e.compare(i, 6, "[Page]") == 0) {
      out += std::to_string(page);
      i += 6;
      wantTerm = false;
      ++terms;
    } else {
      return std::nullopt;
    }
    skip();
  }
  if (wantTerm && terms > 0) return std::nullopt;  // a dangling "&"
  return out;
}

class Flow {
 public:
  Flow(const Report& r, Document& doc, double top, double bottom) : m_r(r), m_doc(doc), m_top(top), m_bottom(bottom) {
    m_doc.pages.emplace_back();
    m_cursor = m_top;
  }

  void Add(const Section& s) {
    std::vector<const Field*> order;
    for (const Field& f : s.fields) order.push_back(&f);
    std::stable_sort(order.begin(), order.end(), [](const Field* a, const Field* b) { return a->top < b->top; });
    double base = m_cursor, cut = 0;
    for (std::size_t i = 0; i < order.size();) {
      const double rowTop = order[i]->top;
      std::size_t j = i;
      double rowBottom = rowTop;
      for (; j < order.size() && order[j]->top == rowTop; ++j) rowBottom = std::max(rowBottom, order[j]->Bottom());
      double pos = base + rowTop - cut;
      // At the top of a page a row too tall for any page stays, clipped.
      if (base + rowBottom - cut > m_bottom && pos > m_top) {
        m_doc.pages.emplace_back();
        base = m_top;
        cut = rowTop;
        pos = m_top;
      }
      for (; i < j; ++i) {
        Placed p{*order[i]};
        p.field.left += m_r.marginLeft;
        p.field.top = pos;
        m_doc.pages.back().items.push_back(std::move(p));
      }
    }
    m_cursor = std::min(m_bottom, base + s.ContentHeight() - cut);
  }

 private:
  const Report& m_r;
  Document& m_doc;
  double m_top, m_bottom, m_cursor;
};

void Stack(const Report& r, const std::vector<const Section*>& sections, double top, Page& page) {
  for (const Section* s : sections) {
    for (const Field& f : s->fields) {
      Placed p{f};
      p.field.left += r.marginLeft;
      p.field.top += top;
      page.items.push_back(std::move(p));
    }
    top += s->ContentHeight();
  }
}

}  // namespace

std::string EvaluateExpression(const std::string& expression, int page, int pages) {
  return Evaluate(expression, page, pages).value_or(expression);
}

Document Paginate(const Report& r) {
  Document doc;
  doc.pageWidth = r.pageWidth;
  doc.pageHeight = r.pageHeight;
  std::vector<const Section*> heads, feet;
  double headHeight = 0, footHeight = 0;
  for (const Section& s : r.sections) {
    if (s.kind == SectionKind::PageHeader) {
      heads.push_back(&s);
      headHeight += s.ContentHeight();
    } else if (s.kind == SectionKind::PageFooter) {
      feet.push_back(&s);
      footHeight += s.ContentHeight();
    }
  }
  const double top = r.marginTop + headHeight;
  const double bottom = r.pageHeight - r.marginBottom - footHeight;
  Flow flow(r, doc, top, bottom);
  for (SectionKind kind : {SectionKind::Header, SectionKind::Detail, SectionKind::Footer})
    for (const Section& s : r.sections)
      if (s.kind == kind) flow.Add(s);

  const int pages = static_cast<int>(doc.pages.size());
  for (int n = 0; n < pages; ++n) {
    Page& page = doc.pages[n];
    Stack(r, heads, r.marginTop, page);
    Stack(r, feet, r.pageHeight - r.marginBottom - footHeight, page);
    for (Placed& p : page.items)
      if (p.field.type == FieldType::Expression) p.field.text = EvaluateExpression(p.field.text, n + 1, pages);
  }
  return doc;
}

}  // namespace report
