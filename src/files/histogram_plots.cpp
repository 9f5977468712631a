// The histogram plots of the deviation and position alert pages: the share
// of samples per bin over the deviation or the position range.
#include "files/plot_file_kit.h"
#include "support/language_table.h"

using testfile::Raise;
using plotfile::Axis;

namespace {

constexpr CY kPoints = 10000;  // one point in a font size

void TitleFont(IiPlotAxisPtr& axis) {
  IFontPtr font;
  Raise(axis->GetTitleFont(&font));
  Raise(font->put_Size(8 * kPoints));
  Raise(font->put_Name(_bstr_t("Arial")));
  Raise(font->put_Bold(FALSE));
  Raise(axis->SetTitleFont(font.GetInterfacePtr()));
}

// The two layouts differ only in the horizontal range.
void LayOutHistogram(IiPlotXPtr& plot, double xMin, double xSpan) {
  CLanguageTable& texts = TheLanguageTable();
  Raise(plot->BeginUpdate());
  IiPlotToolBarPtr toolBar;
  Raise(plot->GetToolBar(0, &toolBar));
  Raise(toolBar->SetVisible(VARIANT_TRUE));
  Raise(plot->SetTitle(texts.Lookup("IDC_IPLOT_DEV")));
  Raise(plot->SetTitleFontColor(0x000000));
  Raise(plot->SetBackgroundColor(0xFFFFFF));
  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName("<All>"));
  Raise(view->SetYAxisName("<All>"));
  Raise(view->SetGridLinesVisible(VARIANT_TRUE));
  Raise(view->SetGridLineColor(0x00C000));

  IiPlotAxisPtr x = Axis(plot, true, 0);
  Raise(x->SetMin(xMin));
  Raise(x->SetSpan(xSpan));
  Raise(x->SetTitle(texts.Lookup("IDC_BTN_DEVIATION")));
  Raise(x->SetName("Samples"));
  TitleFont(x);
  IiPlotAxisPtr y = Axis(plot, false, 0);
  Raise(y->SetMin(0));
  Raise(y->SetSpan(100));
  Raise(y->SetName("SamplePerc"));
  Raise(y->SetTitle(texts.Lookup("PERCSAMPLES")));
  TitleFont(y);
  Raise(plot->EndUpdate());
}

}  // namespace

void CFileFunctions::SetupDeviationPlot(IiPlotXPtr plot) { LayOutHistogram(plot, -100, 200); }

void CFileFunctions::SetupPosAlertsHistogramPlot(IiPlotXPtr plot) { LayOutHistogram(plot, -10, 120); }

void CFileFunctions::SetupHistogramCurrentMarker(IiPlotXPtr plot) {
  Raise(plot->RemoveAllChannels());
  plot->AddChannel(nullptr);
  SetupPlotChannel(plot, "Channel 1", "Current", TheLanguageTable().Lookup("CURRENTLBL"), 0xFF0000, "Samples",
                   "SamplePerc", 1);
}
