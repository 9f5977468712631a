// The ramp test report: the settings, stroke length and actuator size, and
// two pictures of the ramp plot, the ramp run and the signature.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kRampTest{"RampTestReport",  "PageLine1",    "Detail", "TitleLbl",
                                      "RAMPREPORTTITLE", "_RampReport_", "Save Ramp Report As"};

}  // namespace

namespace reports {

void SetRampFields(ReportFrame& frame, const CCommonFields& fields, const _bstr_t& date) {
  frame.SetText("TestSettingsLbl", T("IDC_STATICRAMPSET"));
  frame.SetText("StartPosLbl", T("IDC_STATICSTARTPOS"));
  frame.SetText("StartPosn", fields.m_strRampSettings.start);
  frame.SetText("StopPosLbl", T("IDC_STATICSTOPPOS"));
  frame.SetText("StopPosn", fields.m_strRampSettings.stop);
  frame.SetText("HoldTimeLbl", T("IDC_STATICHOLDTIME"));
  frame.SetText("HoldTime", fields.m_strRampSettings.hold);
  frame.SetText("TestDurLbl", T("IDC_STATICTESTDUR"));
  frame.SetText("TestDuration", fields.m_strRampSettings.rampTime);
  frame.SetText("BiDirLbl", T("IDC_CHECKBIDIR"));
  // Fixed texts, not translated.
  frame.SetText("BiDirValue", fields.m_bRampBidirectional == 1 ? "Yes" : "No");
  frame.SetText("lblTestDate", T("TestDate"));
  frame.SetText("lblTestDateResult", date);
  frame.SetText("StLenLbl", T("IDC_STATICSTRLEN"));
  frame.SetText("StLenValue", fields.m_strRampStrokeLength);
  frame.SetText("StLenUnit", fields.m_strRampStrokeUnit);
  frame.SetText("ActSizeLbl", T("IDC_ILABELXACTSIZE"));
  frame.SetText("ActSizeValue", fields.m_strRampActuatorSize);
  frame.SetText("ActSizeUnit", fields.m_strRampAreaUnit);
}

}  // namespace reports

void CCommonFunctions::GenerateRampTestReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                              _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kRampTest);
    frame.Load(definitionPath);
    const reports::TemporaryPicture ramp("RampTest.bmp");
    const reports::TemporaryPicture signature("RampTest3.bmp");

    // The plot stays in the signature view: the page lays out its own again.
    reports::ShowToolBar(plot, false);
    SetupRampGraph(plot);
    reports::SavePicture(plot, ramp);
    SetupSignatureGraph(plot);
    reports::SavePicture(plot, signature);
    reports::ShowToolBar(plot, true);

    frame.SetFooterAndHeader();
    const plat::LocalTime now = plat::Time().Now();
    reports::SetRampFields(frame, *this, reports::ReportDate(now).c_str());
    frame.SetPicture("Detail", "RampGrph", ramp.Path());
    frame.SetPicture("Detail", "RampGrph3", signature.Path());
    frame.SaveAndAskToPrint(now);
  });
}
