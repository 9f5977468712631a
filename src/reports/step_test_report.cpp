// The step test report, with its one picture of the step plot.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kStepTest{"StepReport",       "PageLine1",
                                      "Detail",           "TitleLbl",
                                      "StepTestReport",   "_StepTestReport_",
                                      "Save Step Test Report As"};

}  // namespace

void CCommonFunctions::GenerateStepTestReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                              _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kStepTest);
    frame.Load(definitionPath);
    const reports::TemporaryPicture picture("StepTest.bmp");

    SetupStepGraph(plot);
    reports::ShowToolBar(plot, false);
    reports::SavePicture(plot, picture);
    reports::ShowToolBar(plot, true);

    frame.SetFooterAndHeader();
    const plat::LocalTime now = plat::Time().Now();
    frame.SetText("TestSettingsLbl", T("IDC_STATICSTEPSET"));
    frame.SetText("StartPosLbl", T("IDC_STATICSTARTPOS"));
    frame.SetText("StartPosn", m_strStepSettings.start);
    frame.SetText("StopPosLbl", T("IDC_STATICSTOPPOS"));
    frame.SetText("StopPosn", m_strStepSettings.stop);
    frame.SetText("HoldTimeLbl", T("IDC_STATICHOLDTIME"));
    frame.SetText("HoldTime", m_strStepSettings.hold);
    frame.SetText("lblTestDate", T("TestDate"));
    frame.SetText("lblTestDateResult", reports::ReportDate(now));
    frame.SetPicture("Detail", "RampGrph", picture.Path());
    frame.SaveAndAskToPrint(now);
  });
}
