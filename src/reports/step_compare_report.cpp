// The step comparison report: both files' identification and settings side
// by side, and one picture of the compare plot with every channel.
#include <utility>

#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kStepCompare{"StepCmpRep",         "PageLine1",
                                         "Detail",             "TitleLbl",
                                         "STEPCMPREPORTTITLE", "_StepTestCompareReport_",
                                         "Save Step Test Compare Report As"};

}  // namespace

void CCommonFunctions::GenerateStepCompareReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                                 _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    const TextArray<12>& v = m_strStepCompare;
    // The PDF is named after file 1's tag, not the device's.
    CIdentityTexts file1;
    file1.m_strDeviceTag = v[0];
    reports::ReportFrame frame(report, printer, page, file1, kStepCompare);
    frame.Load(definitionPath);
    const reports::TemporaryPicture picture("StepTest.bmp");

    SetupStepCompareGraph(plot);
    reports::ShowToolBar(plot, false);
    reports::SavePicture(plot, picture);
    reports::ShowToolBar(plot, true);

    frame.SetComparisonHeader();
    const std::pair<const char*, _bstr_t> fields[] = {
        {"Tag1Value", v[0]},
        {"Tag2Value", v[1]},
        {"TestDate1Value", v[2]},
        {"TestDate2Value", v[3]},
        {"FileName1Value", v[4]},
        {"FileName2Value", v[5]},
        {"TestSettingsLbl1", T("IDC_STATICSTEPSET")},
        {"StartPos1Lbl", T("IDC_STATICSTARTPOS")},
        {"StartPosn", v[6]},
        {"StopPos1Lbl", T("IDC_STATICSTOPPOS")},
        {"StopPosn", v[8]},
        {"StartPosn2", v[7]},
        {"StopPosn2", v[9]},
        {"HoldTime1Lbl", T("IDC_STATICHOLDTIME")},
        {"HoldTime", v[10]},
        {"HoldTime2", v[11]},
    };
    for (const auto& [field, text] : fields) frame.SetText(field, text);
    frame.SetPicture("Detail", "StepGrph", picture.Path());
    frame.SaveAndAskToPrint();
  });
}
