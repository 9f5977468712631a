// The partial stroke comparison report: both files' identification,
// settings and results as the comparison page shows them, and one picture
// of its compare plot.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kPSTCompare{"PSTCmpRep",         "PageLine1",          "Detail",
                                        "TitleLbl",          "PSTCMPREPORTTITLE",  "_PSTCompareReport_",
                                        "Save PST Compare ReportAs"};

// The labels, by the keys of the page's own labels.
constexpr std::pair<const char*, const char*> kLabels[] = {
    {"PSTSetTitle", "IDC_STATICPARTSET"},      {"StartTitle", "IDC_STATICSTARTPOS"},
    {"StopTitle", "IDC_STATICSTOPPOS"},        {"TestRampTitle1", "IDC_STATICTESTDUR"},
    {"TestHoldTitle", "IDC_STATICHOLDTIME"},   {"TgtTimeTitle", "IDC_STATICBKWTIMLIM"},
    {"BrkAwayTitle", "IDC_STATICBWINFO"},      {"ResTimeTitle", "IDC_STATICBWTIME"},
    {"ResTgtTimeTitle", "IDC_STATICTIMTOTGT"}, {"TestResultTitle", "IDC_STATICBWRES"},
};

// The values, by their compare text. Some field names say otherwise:
// "TestDurValue" holds the hold time, "TimeTgtValue" the time limit.
constexpr std::pair<const char*, size_t> kValues[] = {
    {"Tag1Value", 0},          {"Tag2Value", 1},           {"TestDate1Value", 2},      {"TestDate2Value", 3},
    {"FileName1Value", 4},     {"FileName2Value", 5},      {"StartPosValue1", 6},      {"StartPosValue2", 7},
    {"StopPosValue1", 8},      {"StopPosValue2", 9},       {"TestRampValue1", 10},     {"TestRampValue2", 11},
    {"TestDurValue1", 12},     {"TestDurValue2", 13},      {"TimeTgtValue1", 14},      {"TimeTgtValue2", 15},
    {"ResTimeValue1", 16},     {"ResTimeValue2", 17},      {"ResTimeValueDiff", 18},   {"ResTgtTimeValue1", 22},
    {"ResTgtTimeValue2", 23},  {"ResTgtTimeValueDiff", 24}, {"ResTestResult1", 29},    {"ResTestResult2", 30},
};

}  // namespace

void CCommonFunctions::GeneratePSTCompareReport(IiPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                                _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    // The PDF is named after file 1's tag, not the device's.
    CIdentityTexts file1 = *this;
    file1.m_strDeviceTag = m_strPSTCompare[0];
    reports::ReportFrame frame(report, printer, page, file1, kPSTCompare);
    frame.Load(definitionPath);
    const reports::TemporaryPicture picture("PstCompPic.bmp");

    // No graph set-up: the page has shown the channels it wants printed.
    reports::ShowToolBar(plot, false);
    reports::SavePicture(plot, picture);
    reports::ShowToolBar(plot, true);

    frame.SetComparisonHeader();
    for (const auto& [field, key] : kLabels) frame.SetText(field, T(key));
    for (const auto& [field, text] : kValues) frame.SetText(field, m_strPSTCompare[text]);
    frame.SetPicture("Detail", "CntrolGrph", picture.Path());
    frame.SaveAndAskToPrint();
  });
}
