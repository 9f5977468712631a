#pragma once
// Reads back what a report engine was given, a page's or a report test's.
#include <string>

#include "platform/activex/controls.h"

inline std::string ReportFieldText(activex::IReportX* report, const char* section, const char* field) {
  activex::IReportSectionsPtr sections;
  activex::IReportSectionPtr s;
  activex::IReportFieldsPtr fields;
  activex::IReportFieldPtr f;
  _bstr_t text;
  if (!report || FAILED(report->get_Sections(&sections)) || FAILED(sections->Item(section, &s)) ||
      FAILED(s->get_Fields(&fields)) || FAILED(fields->Item(field, &f)) || FAILED(f->get_Text(&text)))
    return "<no field " + std::string(section) + "." + field + ">";
  return text.str();
}

inline std::string ReportName(activex::IReportX* report) {
  _bstr_t name;
  if (!report || FAILED(report->get_ReportName(&name))) return "<none>";
  return name.str();
}
