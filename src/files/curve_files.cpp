// The characterization plot, the equal-percentage curve and the curve file.
#include <optional>

#include "common/curve_sources.h"
#include "files/plot_file_kit.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"

using testfile::Raise;
using plotfile::NotBold;

namespace {

const testfile::Kind kCurve{"curve", "_CONFIG_CUST_CHAR", "", "", ""};
constexpr const char* kChannel = "CharCurve";

void LayOutAxis(IiPlotXPtr& plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  Raise(x ? plot->GetXAxis(0, &axis) : plot->GetYAxis(0, &axis));
  Raise(axis->SetMin(0));
  Raise(axis->SetSpan(100));
  Raise(axis->SetTitle(name));
  Raise(axis->SetName(name));
  NotBold(axis);
}

void AddPoint(CFileFunctions& cf, IiPlotXPtr& plot, double x, double y) {
  Raise(cf.GetPlotChannelByName(plot, kChannel)->AddXY(x, y, nullptr));
}

void SetProgress(CWnd* progress, UINT message, LPARAM value) {
  if (progress) progress->SendMessage(message, message == PBM_SETPOS ? static_cast<WPARAM>(value) : 0, value);
}

}  // namespace

void CFileFunctions::SetupCharacterizationPlot(IiPlotXPtr plot) {
  Raise(plot->BeginUpdate());
  IiPlotToolBarPtr toolBar;
  Raise(plot->GetToolBar(0, &toolBar));
  Raise(toolBar->SetVisible(VARIANT_TRUE));
  Raise(plot->SetTitle("Characterization Curve"));
  Raise(plot->SetTitleFontColor(0x000000));
  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName("<All>"));
  Raise(view->SetYAxisName("<All>"));
  Raise(plot->SetBackgroundColor(0xFFFFFF));
  Raise(view->SetGridLinesVisible(VARIANT_TRUE));
  Raise(view->SetGridLineColor(0x00C000));
  LayOutAxis(plot, true, "Input Signal (%)");
  LayOutAxis(plot, false, "Output Signal (%)");
  Raise(plot->EndUpdate());
  SetupCharCurvePlot(plot);
}

void CFileFunctions::SetupCharCurvePlot(IiPlotXPtr plot) {
  Raise(plot->RemoveAllChannels());
  plot->AddChannel(nullptr);
  GetCharCurveChannel(plot, "Channel 1", kChannel, "Characterization", 0xFF0000, 2);
}

void CFileFunctions::LoadCharCurveToPlot(IiPlotXPtr plot, int rangeability, CWnd* progress) {
  const curves::Outputs curve = curves::EqualPercentage(rangeability);
  Raise(GetPlotChannelByName(plot, kChannel)->Clear());
  AddPoint(*this, plot, 0, curve.front());
  SetProgress(progress, PBM_SETPOS, 0);
  SetProgress(progress, PBM_SETRANGE, static_cast<LPARAM>(100) << 16);
  for (int i = 1; i < curves::kPoints - 1; ++i) {
    AddPoint(*this, plot, curves::InputAt(i), curve[i]);
    SetProgress(progress, PBM_SETPOS, static_cast<LPARAM>(curves::InputAt(i)));
  }
  AddPoint(*this, plot, 100, curve.back());
  SetProgress(progress, PBM_SETPOS, 100);
}

void CFileFunctions::SaveCharCurveFile(IiPlotXPtr plot) {
  const std::optional<std::string> path =
      plotfile::AskSave(kCurve.extension, testfile::DefaultFileName(m_strFileTag, kCurve, plat::Time().Now()),
                        "Save Stroke Characterization As");
  if (!path) return;
  try {
    plotfile::WriteWhole(plot.GetInterfacePtr(), *path);
  } catch (const std::exception&) {
    MessageBox(nullptr, "File save error.", "", MB_OK);
  }
}

void CFileFunctions::OpenCharCurveFile(IiPlotXPtr plot) {
  const std::optional<std::string> path = plotfile::AskOpen(kCurve.extension, "Open Stroke Characterization");
  if (!path) return;
  // The page reads the curve back from the plot: a refused file never reaches it.
  plotfile::OpenOrRefuse("File open error.", [&] {
    plotfile::FileRead file(plot);
    file.LoadData(*path);
    file.Check(nullptr);
    file.TakeOver();
  });
}
