#include "reports/report_frame.h"

#include <utility>

#include <unistd.h>

#include <exception>
#include <filesystem>

#include "common/file_names.h"
#include "platform/com/com_error.h"
#include "platform/sys/safe_file.h"
#include "platform/win/person.h"
#include "support/language_table.h"
#include "support/log.h"

namespace reports {

using namespace activex;

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

}  // namespace

_bstr_t FlagMark(BYTE flag) { return flag ? "X" : " "; }

std::string DefaultPdfName(const _bstr_t& tag, const char* suffix, const plat::LocalTime& t) {
  return StampedFileName(tag, suffix, t);
}

_bstr_t WithoutFirstAmpersand(const _bstr_t& caption) {
  std::string text = caption.str();
  if (const size_t at = text.find('&'); at != std::string::npos) text.erase(at, 1);
  return text.c_str();
}

std::string ReportDate(const plat::LocalTime& t) {
  return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
}

_bstr_t PageExpression() {
  // The engine joins the quoted page word, the page number, "/" and the count.
  return _bstr_t("\"") + T("Page") + _bstr_t(" \" & [Page] & \"/\" & [Pages]");
}

TemporaryPicture::TemporaryPicture(const std::string& name) {
  const int fd = plat::CreateTempFile("", "_" + name, &m_path);
  if (fd < 0) _com_issue_error(STG_E_WRITEFAULT);
  ::close(fd);
}

TemporaryPicture::~TemporaryPicture() {
  std::error_code ec;
  std::filesystem::remove(m_path, ec);
}

void ShowToolBar(IPlotBase* plot, bool show) {
  if (!plot) _com_issue_error(E_POINTER);
  IiPlotToolBarPtr toolBar;
  ComCheck(plot->GetToolBar(0, &toolBar));
  ComCheck(toolBar->SetVisible(show ? 1 : 0));
}

void SavePicture(IPlotBase* plot, const TemporaryPicture& picture) {
  if (!plot) _com_issue_error(E_POINTER);
  // About the printed width at 140 dpi; the definitions give the pictures this shape.
  constexpr LONG kWidth = 1000;
  constexpr LONG kHeight = 442;
  ComCheck(plot->SaveImage(picture.Path().c_str(), kWidth, kHeight));
}

ReportFrame::ReportFrame(IReportXPtr report, IPrinterXPtr printer, CWnd* page, const CIdentityTexts& ids,
                         const ReportMember& member)
    : m_report(std::move(report)), m_printer(std::move(printer)), m_page(page), m_ids(ids), m_member(member) {}

void ReportFrame::Load(const _bstr_t& definitionPath) {
  ComCheck(m_report->LoadDefinition(definitionPath, m_member.reportName));
  m_header = nullptr;
}

void ReportFrame::LoadWithHeader(const _bstr_t& definitionPath) {
  Load(definitionPath);
  SetFooterAndHeader();
}

void ReportFrame::SetFooterAndHeader() {
  SetText("Page Footer", m_member.footerField, PageExpression());
  const _bstr_t sep(", ");
  const _bstr_t arrow(" --> ");
  const _bstr_t blank(" ");
  SetText(m_member.titleField, T(m_member.titleKey));
  SetText("DeviceLine", T("DEVTAGID") + blank + m_ids.m_strDeviceTag);
  const _bstr_t failPosition = sep + T("IDC_STATICFAILPOS") + blank + m_ids.m_strFailPosition;
  const bool inBody = m_member.failPositionInBodyLine;
  SetText("ActInfoLine", T("HEADACTINFO") + arrow + T("IDC_STATICSIZE") + blank + m_ids.m_strActuatorSize + sep +
                             T("IDC_STATICMAN") + blank + m_ids.m_strActuatorManufacturer + sep + T("IDC_STATICTRTYPE") +
                             blank + m_ids.m_strActuatorType + sep + T("IDC_STATICSPRTYPE") + blank +
                             m_ids.m_strSpringType + (inBody ? _bstr_t("") : failPosition));
  SetText("BodInfoLine", T("HEADBODINFO") + arrow + T("IDC_STATICMODEL") + blank + m_ids.m_strValveModel + sep +
                             T("IDC_STATICBODSIZE") + blank + m_ids.m_strValveBodySize + sep +
                             T("IDC_STATICBODFLOWDIR") + blank + m_ids.m_strFlowDirection +
                             (inBody ? failPosition : _bstr_t("")));
}

void ReportFrame::SetComparisonHeader() {
  SetText("Page Footer", m_member.footerField, PageExpression());
  SetText(m_member.titleField, T(m_member.titleKey));
  const std::pair<const char*, const char*> captions[] = {
      {"FIleSettingsLbl", "IDC_STATICFILEINFO"}, {"File1TagLbl", "IDC_STATICBODTAG"}, {"File1DateLbl", "IDC_STATICDATE"},
      {"File1NameLbl", "IDC_STATICFILE"},        {"File1Lbl", "File1Lbl"},            {"File2Lbl", "File2Lbl"}};
  for (const auto& [field, key] : captions) SetText(field, T(key));
}

IReportFieldsPtr ReportFrame::Fields(const char* section) {
  IReportSectionsPtr sections;
  IReportSectionPtr s;
  IReportFieldsPtr fields;
  ComCheck(m_report->get_Sections(&sections));
  ComCheck(sections->Item(section, &s));
  ComCheck(s->get_Fields(&fields));
  return fields;
}

IReportFieldPtr ReportFrame::Field(const char* section, const char* field) {
  IReportFieldPtr f;
  ComCheck(Fields(section)->Item(field, &f));
  return f;
}

void ReportFrame::SetText(const char* field, const _bstr_t& text) {
  if (!m_header) m_header = Fields(m_member.headerSection);
  IReportFieldPtr f;
  ComCheck(m_header->Item(field, &f));
  ComCheck(f->put_Text(text));
}

void ReportFrame::SetText(const char* section, const char* field, const _bstr_t& text) {
  ComCheck(Field(section, field)->put_Text(text));
}

void ReportFrame::SetPicture(const char* section, const char* field, const std::string& imagePath) {
  ComCheck(Field(section, field)->put_Picture(_variant_t(_bstr_t(imagePath))));
}

IReportFieldPtr ReportFrame::AddField(const char* section, double left, double top, double width, double height) {
  IReportFieldPtr f;
  ComCheck(Fields(section)->Add("", "", left, top, width, height, &f));
  return f;
}

void ReportFrame::SaveAndAskToPrint(std::optional<plat::LocalTime> when) {
  const plat::LocalTime t = when ? *when : plat::Time().Now();
  const std::string name = DefaultPdfName(m_ids.m_strDeviceTag, m_member.nameSuffix, t);
  CFileDialog dialog(FALSE, "pdf", name.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "(*.pdf)|*.pdf|", nullptr);
  dialog.m_ofn.lpstrTitle = m_member.saveTitle;
  // The full path: the working folder is never changed behind the program's back.
  if (dialog.DoModal() == IDOK) ComCheck(m_report->RenderToFile(dialog.GetPathName().c_str(), kReportFormatPdf));

  const std::string question = T("PRINT_REPORT").str();
  const int answer = m_page ? m_page->MessageBox(question.c_str(), "Print Report", MB_YESNO)
                            : ::MessageBox(nullptr, question.c_str(), "Print Report", MB_YESNO);
  if (answer == IDYES) {
    ComCheck(m_report->RenderToPrinter(m_printer.GetInterfacePtr()));
    ComCheck(m_printer->PrintDoc());
  }
}

void RunGuarded(const std::function<void()>& steps, const char* failureCaption) {
  bool failed = false;
  try {
    steps();
  } catch (const _com_error& e) {
    WriteLog(std::string("Report failed: ") + e.what());
    failed = true;
  } catch (const std::exception& e) {
    WriteLog(std::string("Report failed: ") + e.what());
    failed = true;
  } catch (...) {
    WriteLog("Report failed");
    failed = true;
  }
  if (!failed) return;
  try {
    ::MessageBox(nullptr, kReportFailedText, failureCaption, MB_OK);
  } catch (const std::exception& e) {
    WriteLog(std::string("Report failure message not shown: ") + e.what());
  }
}

}  // namespace reports
