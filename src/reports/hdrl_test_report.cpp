// The HDRL test report: the results as the page shows them and three
// pictures of the HDRL plot, one for each of its graphs.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kHDRLTest{
    "HDRLReport", "PageLine1", "Detail", "TitleLbl", "HDRLTestReport", "_HDRLTestReport_", "Save HDRL Test Report As"};

}  // namespace

void CCommonFunctions::GenerateHDRLReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                          _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kHDRLTest);
    frame.Load(definitionPath);
    const reports::TemporaryPicture control("HDRControl.bmp");
    const reports::TemporaryPicture hysteresis("HDRHDR.bmp");
    const reports::TemporaryPicture linearity("HDRLin.bmp");

    // The plot stays in the last graph: the page lays out its own again.
    reports::ShowToolBar(plot, false);
    ShowHDRLPositionVsTime(plot);
    reports::SavePicture(plot, control);
    ShowHDRLErrorVsPosition(plot);
    reports::SavePicture(plot, hysteresis);
    ShowHDRLErrorVsCommand(plot);
    reports::SavePicture(plot, linearity);
    reports::ShowToolBar(plot, true);

    frame.SetFooterAndHeader();
    const plat::LocalTime now = plat::Time().Now();
    // Names without a suffix are the hysteresis and deadband group's, those
    // ending in "1" or "Reapt" the repeatability group's.
    frame.SetText("HysDeadResult", reports::WithoutFirstAmpersand(T("IDC_STATICHD")));
    frame.SetText("lblRepeat", T("IDC_STATICREP"));
    frame.SetText("lblLinearError", T("IDC_STATICLINERR"));
    frame.SetText("TestSettingsLbl1", T("TestSettings"));
    frame.SetText("lblTestDateHeader", T("TestDate"));
    frame.SetText("lblAverage", T("IDC_STATICAVG"));
    frame.SetText("lblAverageValue", m_strHDRLResults.hysteresisAverage);
    frame.SetText("lblMaximum", T("IDC_STATICAVGMAX"));
    frame.SetText("lblMaximumValue", m_strHDRLResults.hysteresisMaximum);
    frame.SetText("lblAverage1", T("IDC_STATICAVG"));
    frame.SetText("lblAverageValueReapt", m_strHDRLResults.repeatabilityAverage);
    frame.SetText("lblMaximum1", T("IDC_STATICAVGMAX"));
    frame.SetText("lblMaximumValueReapt", m_strHDRLResults.repeatabilityMaximum);
    frame.SetText("lblLinearErrorValue", m_strHDRLResults.linearity);
    frame.SetText("lblPosSettlingTime", T("IDC_STATICPOSSET") + _bstr_t(":"));
    frame.SetText("lblPosSettlingTimeValue", m_strHDRLSettlingTime);
    frame.SetText("lblTestDateResult", reports::ReportDate(now));
    frame.SetPicture("Detail", "RampGrph", control.Path());
    frame.SetPicture("Detail", "RampGrph2", hysteresis.Path());
    frame.SetPicture("Detail", "RampGrph3", linearity.Path());
    frame.SaveAndAskToPrint(now);
  });
}
