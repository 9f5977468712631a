// The multi-test report: the ramp, step, partial stroke and HDRL tests in
// one report, each with its settings or results and the graphs of its page.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kMultiTest{"New Report",
                                       "PageLine1",
                                       "Detail",
                                       "TitleLbl",
                                       "RAMPREPORTTITLE",
                                       "_MultiTestReport_",
                                       "Save MultiTest Report As",
                                       true};

}  // namespace

void CCommonFunctions::GenerateMultiTestReport(IiXYPlotXPtr stepPlot, IiPlotXPtr pstPlot, IiXYPlotXPtr hdrlPlot,
                                               IiXYPlotXPtr rampPlot, IReportXPtr report, IPrinterXPtr printer,
                                               _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded(
      [&] {
        reports::ReportFrame frame(report, printer, page, *this, kMultiTest);
        frame.Load(definitionPath);
        const reports::TemporaryPicture ramp("RampTest.bmp");
        const reports::TemporaryPicture signature("RampTest3.bmp");
        const reports::TemporaryPicture step("StepTest.bmp");
        const reports::TemporaryPicture pst("PstComp.bmp");
        const reports::TemporaryPicture control("HDRControl.bmp");
        const reports::TemporaryPicture hysteresis("HDRHDR.bmp");
        const reports::TemporaryPicture linearity("HDRLin.bmp");

        // Each plot goes back to its page's first graph; the partial stroke
        // plot is taken as its page shows it.
        reports::ShowToolBar(rampPlot, false);
        SetupRampGraph(rampPlot);
        reports::SavePicture(rampPlot, ramp);
        SetupSignatureGraph(rampPlot);
        reports::SavePicture(rampPlot, signature);
        reports::ShowToolBar(rampPlot, true);
        SetupRampGraph(rampPlot);

        SetupStepGraph(stepPlot);
        reports::ShowToolBar(stepPlot, false);
        reports::SavePicture(stepPlot, step);
        reports::ShowToolBar(stepPlot, true);
        SetupStepGraph(stepPlot);

        reports::ShowToolBar(pstPlot, false);
        reports::SavePicture(pstPlot, pst);
        reports::ShowToolBar(pstPlot, true);

        reports::ShowToolBar(hdrlPlot, false);
        ShowHDRLPositionVsTime(hdrlPlot);
        reports::SavePicture(hdrlPlot, control);
        ShowHDRLErrorVsPosition(hdrlPlot);
        reports::SavePicture(hdrlPlot, hysteresis);
        ShowHDRLErrorVsCommand(hdrlPlot);
        reports::SavePicture(hdrlPlot, linearity);
        reports::ShowToolBar(hdrlPlot, true);
        ShowHDRLPositionVsTime(hdrlPlot);

        frame.SetFooterAndHeader();
        const plat::LocalTime now = plat::Time().Now();
        const _bstr_t date = reports::ReportDate(now).c_str();

        reports::SetRampFields(frame, *this, date);

        frame.SetText("StepTitleLbl", T("StepTestReport"));
        frame.SetText("SteplblTestDate", T("TestDate"));
        frame.SetText("StepTestSettingsLbl", T("IDC_STATICSTEPSET"));
        frame.SetText("StepStartPosLbl", T("IDC_STATICSTARTPOS"));
        frame.SetText("StepStopPosLbl", T("IDC_STATICSTOPPOS"));
        frame.SetText("StepHoldTimeLbl", T("IDC_STATICHOLDTIME"));
        frame.SetText("StepStartPosn", m_strStepSettings.start);
        frame.SetText("StepStopPosn", m_strStepSettings.stop);
        frame.SetText("StepHoldTime", m_strStepSettings.hold);
        frame.SetText("SteplblTestDateResult", date);

        frame.SetText("PSTTitleLbl", T("PSTestReport"));
        frame.SetText("PSTTestSettingsLbl", T("IDC_STATICPARTSET"));
        frame.SetText("PSTlblTestDate", T("TestDate"));
        frame.SetText("PSTStartPosLbl", T("IDC_STATICSTARTPOS"));
        frame.SetText("PSTStopPosLbl", T("IDC_STATICSTOPPOS"));
        frame.SetText("PSTlblTimeTargetSettings", T("IDC_STATICBKWTIMLIM"));
        frame.SetText("PSTTestDurLbl", T("IDC_STATICTESTDUR"));
        frame.SetText("PSTHoldTimeLbl", T("IDC_STATICHOLDTIME"));
        frame.SetText("PSTStartPosn", m_strPSTSettings.start);
        frame.SetText("PSTStopPosn", m_strPSTSettings.stop);
        frame.SetText("PSTTimeTargetValue", m_strPSTSettings.timeLimit);
        frame.SetText("PSTTestDuration", m_strPSTSettings.rampTime);
        frame.SetText("PSTHoldTime", m_strPSTSettings.hold);
        frame.SetText("BreakAwayInfo", T("IDC_STATICBWINFO"));
        frame.SetText("PSTlblTime", T("IDC_STATICBWTIME"));
        frame.SetText("PSTlblTimeTargetInfo", T("IDC_STATICTIMTOTGT"));
        frame.SetText("PSTlblResult", T("IDC_STATICBWRES"));
        frame.SetText("PSTlblTestDateResult", date);
        frame.SetText("PSTStartPosn1", m_strPSTBreakawayTime);
        frame.SetText("TimeTargetValueInfo", m_strPSTTimeToTarget);
        frame.SetText("PSTResultValue", m_strPSTResult);

        // Names without a suffix are the hysteresis and deadband group's,
        // those ending in "1" or "Reapt" the repeatability group's.
        frame.SetText("HDRLTitleLbl", T("HDRLTestReport"));
        frame.SetText("HysDeadResult", reports::WithoutFirstAmpersand(T("IDC_STATICHD")));
        frame.SetText("lblRepeat", T("IDC_STATICREP"));
        frame.SetText("lblLinearError", T("REPORTLINERR"));
        frame.SetText("HDRLTestSettingsLbl1", T("TestSettings"));
        frame.SetText("lblTestDateHeader", T("TestDate"));
        frame.SetText("lblAverage", T("IDC_STATICAVG"));
        frame.SetText("lblMaximum", T("IDC_STATICAVGMAX"));
        frame.SetText("lblAverage1", T("IDC_STATICAVG"));
        frame.SetText("lblMaximum1", T("IDC_STATICAVGMAX"));
        frame.SetText("lblPosSettlingTime", T("IDC_STATICPOSSET") + _bstr_t(":"));
        frame.SetText("lblAverageValue", m_strHDRLResults.hysteresisAverage);
        frame.SetText("lblMaximumValue", m_strHDRLResults.hysteresisMaximum);
        frame.SetText("lblAverageValueReapt", m_strHDRLResults.repeatabilityAverage);
        frame.SetText("lblMaximumValueReapt", m_strHDRLResults.repeatabilityMaximum);
        frame.SetText("lblLinearErrorValue", m_strHDRLResults.linearity);
        frame.SetText("lblPosSettlingTimeValue", m_strHDRLSettlingTime);
        frame.SetText("HDRLlblTestDateResult", date);

        frame.SetPicture("Detail", "RampGrph", ramp.Path());
        frame.SetPicture("Detail", "RampGrph2", signature.Path());
        frame.SetPicture("Detail", "StepRampGrph", step.Path());
        frame.SetPicture("Detail", "PSTRampGrph", pst.Path());
        frame.SetPicture("Detail", "HDRLRampGrph", control.Path());
        frame.SetPicture("Detail", "HDRLRampGrph2", hysteresis.Path());
        frame.SetPicture("Detail", "HDRLRampGrph3", linearity.Path());
        frame.SaveAndAskToPrint(now);
      },
      "MULTI-TEST REPORT");
}
