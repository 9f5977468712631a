// The data monitor report: the monitor settings, the elapsed time and one
// picture of the monitor plot as the page shows it.
#include "reports/common_functions.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kDataMonitor{"DataMonRept",      "PageLine1",           "Detail",
                                         "TitleLbl",         "DATALOGGERREPORT",    "_DataMonitorReport_",
                                         "Save Data Monitor ReportAs"};

// Each value with the key of its label, as the page shows them.
struct Row {
  const char* labelField;
  const char* key;
  const char* valueField;
};
constexpr Row kRows[] = {
    {"IntervalLbl", "IDC_STATICINTERVAL", "IntervalValue"}, {"DurLbl", "IDC_STATICDURATION", "DurValue"},
    {"DurUnitLbl", "IDC_STATICDURUNITS", "UnitValue"},      {"DayLbl", "IDC_STATICDAYS", "DayValue"},
    {"HrLbl", "IDC_STATICHRS", "HrValue"},                  {"MinLbl", "IDC_STATICMINS", "MinValue"},
    {"SecLbl", "IDC_STATICSECS", "SecValue"},
};

}  // namespace

void CCommonFunctions::GenerateDataMonitorReport(IiPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                                 _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kDataMonitor);
    frame.Load(definitionPath);
    const reports::TemporaryPicture picture("DataMonitorPic.bmp");

    // No graph set-up: the picture shows the channels the page shows.
    reports::ShowToolBar(plot, false);
    reports::SavePicture(plot, picture);
    reports::ShowToolBar(plot, true);

    frame.SetFooterAndHeader();
    frame.SetText("TestSettingsLbl", T("IDC_STATICDATASET"));
    frame.SetText("ElapseTimeLbl", T("IDC_STATICELAPSE"));
    for (size_t i = 0; i < std::size(kRows); ++i) {
      frame.SetText(kRows[i].labelField, T(kRows[i].key));
      frame.SetText(kRows[i].valueField, InOrder(m_strLoggerSettings, i));
    }
    frame.SetPicture("Detail", "MonGrph", picture.Path());
    frame.SaveAndAskToPrint();
  });
}
