#pragma once
// The steps every report builder shares: load the definition, footer and
// header lines, field texts and pictures, the PDF offer, the print question,
// and the one message a failed run shows.
#include <functional>
#include <optional>
#include <string>

#include "comm/identity_texts.h"
#include "common/common_fields.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/sys/time_source.h"
#include "platform/win/cwnd.h"

namespace reports {

// What tells one report from another.
struct ReportMember {
  const char* reportName;
  const char* footerField;    // "PageLine" or "PageLine1", as its definition has it
  const char* headerSection;  // the section of the title and identification lines
  const char* titleField;
  const char* titleKey;
  const char* nameSuffix;  // between the tag and the date in the default PDF name
  const char* saveTitle;   // shown as it stands, not a language key
  bool failPositionInBodyLine = false;  // the multi-test report closes the valve line with it
};

inline constexpr const char* kReportFailedText = "Report Definition file could not be found/matched.";

// "X" for a set byte, one blank for a clear one.
_bstr_t FlagMark(BYTE flag);
// tag + suffix + "2026_3_5_7h_4m"; characters a file name cannot hold become "_".
std::string DefaultPdfName(const _bstr_t& tag, const char* suffix, const plat::LocalTime& t);
// A dialog caption doubles its ampersand; a report shows it single.
_bstr_t WithoutFirstAmpersand(const _bstr_t& caption);
// "12/8/2026".
std::string ReportDate(const plat::LocalTime& t);
// The footer expression: the translated page word, the page number, "/" and the count.
_bstr_t PageExpression();

// A picture file of its own in the temporary folder, gone with this object
// (the engine has read it in by then): the program folder may be read-only,
// and two reports never share one.
class TemporaryPicture {
 public:
  explicit TemporaryPicture(const std::string& name);
  ~TemporaryPicture();
  TemporaryPicture(const TemporaryPicture&) = delete;
  TemporaryPicture& operator=(const TemporaryPicture&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// The plot's element 0 (its tool bar) stays out of the pictures. Either
// plot kind; an empty one fails with E_POINTER.
void ShowToolBar(IPlotBase* plot, bool show);
// The plot as it stands, at about its printed size, so that its texts stay readable.
void SavePicture(IPlotBase* plot, const TemporaryPicture& picture);

class ReportFrame {
 public:
  ReportFrame(activex::IReportXPtr report, activex::IPrinterXPtr printer, CWnd* page, const CIdentityTexts& ids,
              const ReportMember& member);

  // Loads the member's report, then sets the footer and the header lines.
  void LoadWithHeader(const _bstr_t& definitionPath);
  // Loads only; the header comes later (pictures are captured in between).
  void Load(const _bstr_t& definitionPath);
  void SetFooterAndHeader();
  // A comparison report's instead: the footer, the title and the captions
  // of its file information block; no device lines, as it is about files.
  void SetComparisonHeader();

  // A field of the header section; its fields collection is kept for the run.
  void SetText(const char* field, const _bstr_t& text);
  void SetText(const char* section, const char* field, const _bstr_t& text);
  void SetPicture(const char* section, const char* field, const std::string& imagePath);
  // A new unnamed, empty text field of the section, placed in twips.
  activex::IReportFieldPtr AddField(const char* section, double left, double top, double width, double height);

  // Offers the PDF under the default name of `when` (the clock now when not
  // given), then asks whether to print.
  void SaveAndAskToPrint(std::optional<plat::LocalTime> when = std::nullopt);

 private:
  activex::IReportFieldsPtr Fields(const char* section);
  activex::IReportFieldPtr Field(const char* section, const char* field);

  activex::IReportXPtr m_report;
  activex::IPrinterXPtr m_printer;
  CWnd* m_page;
  const CIdentityTexts& m_ids;
  const ReportMember& m_member;
  activex::IReportFieldsPtr m_header;
};

// The ramp settings, stroke length and actuator size rows, shared by the
// ramp test report and the multi-test report.
void SetRampFields(ReportFrame& frame, const CCommonFields& fields, const _bstr_t& date);

// Runs a builder's steps; any failure ends them with the one message (no
// owner, the caption given, OK only). Never throws.
void RunGuarded(const std::function<void()>& steps, const char* failureCaption = "");

}  // namespace reports
