// The HDRL comparison report: both files' identification, settling times
// and results with their differences as the page shows them, and three
// pictures of the compare plot, one for each of its graphs.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kHDRLCompare{"HDRLCmpRep", "PageLine1", "Detail", "TitleLbl", "HDRLCMPREPORTTITLE",
                                         "_HDRLCompareReport_", "Save HDRL Compare ReportAs"};

// The fields of the compare texts, by the texts' order.
constexpr const char* kTextFields[23] = {
    "Tag1Value",       "Tag2Value",      "TestDate1Value",  "TestDate2Value",  "FileName1Value", "FileName2Value",
    "PosSetTime",      "PosSetTime2",    "RepeatAvg1Value", "RepeatAvg2Value", "RepeatAvgDelta", "RepeatMax1Value",
    "RepeatMax2Value", "RepeatMaxDelta", "HandDAvg1Value",  "HandDAvg2Value",  "HandDAvgDelta",  "HandDMax1Value",
    "HandDMax2Value",  "HandDMaxDelta",  "LinErr1Value",    "LinErr2Value",    "LinErrDelta",
};

}  // namespace

void CCommonFunctions::GenerateHDRLCompareReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                                 _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    // No device lines: the report is about two files. The default PDF
    // name starts with file 1's tag.
    CIdentityTexts names;
    names.m_strDeviceTag = m_strHDRLCompare[0];
    reports::ReportFrame frame(report, printer, page, names, kHDRLCompare);
    frame.Load(definitionPath);
    const reports::TemporaryPicture control("HDRCmpControl.bmp");
    const reports::TemporaryPicture hysteresis("HDRCmpHDR.bmp");
    const reports::TemporaryPicture linearity("HDRCmpLin.bmp");

    // The plot stays in the last graph: the page lays out its own again.
    reports::ShowToolBar(plot, false);
    ShowHDRLComparePositionVsTime(plot);
    reports::SavePicture(plot, control);
    ShowHDRLCompareErrorVsPosition(plot);
    reports::SavePicture(plot, hysteresis);
    ShowHDRLCompareErrorVsCommand(plot);
    reports::SavePicture(plot, linearity);
    reports::ShowToolBar(plot, true);

    frame.SetComparisonHeader();
    frame.SetText("PosnSetLbl", T("IDC_STATICPOSSET") + _bstr_t(":"));
    frame.SetText("HandDbandTitle", reports::WithoutFirstAmpersand(T("IDC_STATICHD")));
    frame.SetText("RepeatTitle", T("IDC_STATICREP"));
    frame.SetText("LinErrTitle", T("IDC_STATICLINERR"));
    frame.SetText("HandDAvgTitle", T("IDC_STATICAVG"));
    frame.SetText("HandDMaxTitle", T("IDC_STATICAVGMAX"));
    frame.SetText("RepeatAvgTitle", T("IDC_STATICAVG"));
    frame.SetText("RepeatMaxTitle", T("IDC_STATICAVGMAX"));
    for (size_t i = 0; i < m_strHDRLCompare.size(); ++i) frame.SetText(kTextFields[i], m_strHDRLCompare[i]);
    frame.SetPicture("Detail", "CntrolGrph", control.Path());
    frame.SetPicture("Detail", "HDRGrph", hysteresis.Path());
    frame.SetPicture("Detail", "LinGrph", linearity.Path());
    frame.SaveAndAskToPrint();
  });
}
