// The step test report, with its one picture of the step plot.
#include <unistd.h>

#include <filesystem>

#include "common/common_functions.h"
#include "platform/com/com_error.h"
#include "platform/sys/safe_file.h"
#include "reports/report_frame.h"
#include "support/language_table.h"

namespace {

_bstr_t T(const char* key) { return TheLanguageTable().Lookup(key); }

const reports::ReportMember kStepTest{"StepReport",       "PageLine1",
                                      "Detail",           "TitleLbl",
                                      "StepTestReport",   "_StepTestReport_",
                                      "Save Step Test Report As"};

constexpr const char* kStepPicture = "StepTest.bmp";
// About the printed size at 140 dpi: the plot's texts stay readable.
constexpr LONG kPictureWidth = 1000;
constexpr LONG kPictureHeight = 442;

// The picture file lives only while the engine reads it in.
class TemporaryPicture {
 public:
  // A new file of its own, so that two reports never share it.
  TemporaryPicture() {
    const int fd = plat::CreateTempFile("", std::string("_") + kStepPicture, &m_path);
    if (fd < 0) _com_issue_error(STG_E_WRITEFAULT);
    ::close(fd);
  }
  ~TemporaryPicture() {
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
  }
  TemporaryPicture(const TemporaryPicture&) = delete;
  TemporaryPicture& operator=(const TemporaryPicture&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

void ShowAxis(IiXYPlotXPtr& plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  ComCheck(x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis));
  ComCheck(axis->SetVisible(1));
}

// The plot's element 0 (its tool bar) stays out of the pictures.
void ShowToolBar(IiXYPlotXPtr& plot, bool show) {
  IiPlotToolBarPtr toolBar;
  ComCheck(plot->GetToolBar(0, &toolBar));
  ComCheck(toolBar->SetVisible(show ? 1 : 0));
}

}  // namespace

void CCommonFunctions::SetupStepGraph(IiXYPlotXPtr plot) {
  ComCheck(plot->SetTitle(T("IDD_DIAGNOSTIC_STEP_TEST")));
  for (const char* channel : {"Position", "Command", "ILCmd", "ILPos"}) GetXYPlotChannelByNameEx(plot, channel, 1);
  ShowAxis(plot, true, "StepX");
  ShowAxis(plot, false, "StepPerc");
}

void CCommonFunctions::GenerateStepTestReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer,
                                              _bstr_t definitionPath, CWnd* page) {
  reports::RunGuarded([&] {
    reports::ReportFrame frame(report, printer, page, *this, kStepTest);
    frame.Load(definitionPath);
    // The program folder may be read-only: the picture goes to the temporary folder.
    const TemporaryPicture picture;

    SetupStepGraph(plot);
    ShowToolBar(plot, false);
    ComCheck(plot->SaveImage(picture.Path().c_str(), kPictureWidth, kPictureHeight));
    ShowToolBar(plot, true);

    frame.SetFooterAndHeader();
    const plat::LocalTime now = plat::Time().Now();
    frame.SetText("TestSettingsLbl", T("IDC_STATICSTEPSET"));
    frame.SetText("StartPosLbl", T("IDC_STATICSTARTPOS"));
    frame.SetText("StartPosn", m_strStepSettings[0]);
    frame.SetText("StopPosLbl", T("IDC_STATICSTOPPOS"));
    frame.SetText("StopPosn", m_strStepSettings[1]);
    frame.SetText("HoldTimeLbl", T("IDC_STATICHOLDTIME"));
    frame.SetText("HoldTime", m_strStepSettings[2]);
    frame.SetText("lblTestDate", T("TestDate"));
    frame.SetText("lblTestDateResult", reports::ReportDate(now));
    frame.SetPicture("Detail", "RampGrph", picture.Path());
    frame.SaveAndAskToPrint(now);
  });
}
