#include "common/char_curve_kit.h"

#include "platform/com/com_error.h"
#include "support/language_table.h"

namespace charcurve {

namespace {

const char* const kToolButtons[][2] = {
    {"Scroll (Axes)", "SCROLLICON"},     {"Resume All (Tracking)", "RESUMEALL"}, {"Zoom (Axes)", "ZOOMAXES"},
    {"Zoom Out All Axes", "ZOOMOUTALL"}, {"Zoom In All Axes", "ZOOMINALL"},      {"Zoom Box", "ZOOMBOX"},
    {"Copy to Clipboard", "COPYCLIPBOARD"},
};

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

}  // namespace

void SetPlotCaptions(IiPlotXPtr& plot, const char* titleKey) {
  ComCheck(plot->SetTitle(Text(titleKey)));
  IiPlotAxisPtr x, y;
  ComCheck(plot->GetXAxisByName("Input Signal (%)", &x));
  if (x) ComCheck(x->SetTitle(Text("IDC_STATICINPUTSIG")));
  ComCheck(plot->GetYAxisByName("Output Signal (%)", &y));
  if (y) ComCheck(y->SetTitle(Text("IDC_STATICOUTPUTSIG")));
  for (const auto& [button, key] : kToolButtons) ComCheck(plot->ReplaceHintText(button, Text(key)));
}

void FitAxes(IiPlotXPtr& plot) {
  IiPlotAxisPtr x, y;
  ComCheck(plot->GetYAxis(0, &y));
  ComCheck(y->ZoomToFit());
  ComCheck(plot->GetXAxis(0, &x));
  ComCheck(x->ZoomToFit());
}

}  // namespace charcurve
