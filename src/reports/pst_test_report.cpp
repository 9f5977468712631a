// The partial stroke test report: the settings, the three results and one
// picture of the page's plot as the page shows it.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kPSTest{"PSTReport",    "PageLine1",   "Detail",           "TitleLbl",
                                    "PSTestReport", "_PSTReport_", "Save PST ReportAs"};

}  // namespace

void CCommonFunctions::GeneratePSTReport(IiPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                         _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kPSTest);
    frame.Load(definitionPath);
    const reports::TemporaryPicture picture("PstComp.bmp");

    // No graph set-up: the page has shown the channels it wants printed.
    reports::ShowToolBar(plot, false);
    reports::SavePicture(plot, picture);
    reports::ShowToolBar(plot, true);

    frame.SetFooterAndHeader();
    const plat::LocalTime now = plat::Time().Now();
    // Some field names say otherwise: "StartPosn1" holds the break-away
    // time, "TimeTargetValue" the time limit, "TestDuration" the ramp time.
    frame.SetText("TestSettingsLbl", T("IDC_STATICPARTSET"));
    frame.SetText("StartPosLbl", T("IDC_STATICSTARTPOS"));
    frame.SetText("StartPosn", m_strPSTSettings.start);
    frame.SetText("StopPosLbl", T("IDC_STATICSTOPPOS"));
    frame.SetText("StopPosn", m_strPSTSettings.stop);
    frame.SetText("lblTimeTargetSettings", T("IDC_STATICBKWTIMLIM"));
    frame.SetText("TimeTargetValue", m_strPSTSettings.timeLimit);
    frame.SetText("TestDurLbl", T("IDC_STATICTESTDUR"));
    frame.SetText("TestDuration", m_strPSTSettings.rampTime);
    frame.SetText("lblTestHold", T("IDC_STATICHOLDTIME"));
    frame.SetText("TestHoldValue", m_strPSTSettings.hold);
    frame.SetText("lblTestDate", T("TestDate"));
    frame.SetText("lblTestDateResult", reports::ReportDate(now));
    frame.SetText("BreakAwayInfo", T("IDC_STATICBWINFO"));
    frame.SetText("lblTime", T("IDC_STATICBWTIME"));
    frame.SetText("StartPosn1", m_strPSTBreakawayTime);
    frame.SetText("lblTimeTargetInfo", T("IDC_STATICTIMTOTGT"));
    frame.SetText("TimeTargetValueInfo", m_strPSTTimeToTarget);
    frame.SetText("lblResult", T("IDC_STATICBWRES"));
    frame.SetText("ResultValue", m_strPSTResult);
    frame.SetPicture("Detail", "RampGrph", picture.Path());
    frame.SaveAndAskToPrint(now);
  });
}
