#include "common/ramp_views.h"

#include "platform/com/com_error.h"
#include "support/language_table.h"

namespace rampviews {

namespace {

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

IiPlotAxisPtr Axis(IiXYPlotXPtr& plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  ComCheck(x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis));
  return axis;
}

void ShowAxis(IiXYPlotXPtr& plot, bool x, const char* name, bool show) {
  IiPlotAxisPtr axis = Axis(plot, x, name);
  const VARIANT_BOOL flag = show ? VARIANT_TRUE : VARIANT_FALSE;
  ComCheck(axis->SetVisible(flag));
  ComCheck(axis->SetEnabled(flag));
}

}  // namespace

void ShowView(CWnd& page, int timeButton, int signalButton, IiXYPlotXPtr& plot, View view) {
  const bool time = view == kTimeView;
  ComCheck(plot->SetTitle(Text(time ? "IDD_DIAGNOSTIC_RAMP_TEST" : "SIGVCMD")));
  page.GetDlgItem(time ? timeButton : signalButton)->EnableWindow(FALSE);
  page.GetDlgItem(time ? signalButton : timeButton)->EnableWindow(TRUE);
  ShowAxis(plot, true, "RampX", time);
  ShowAxis(plot, true, "CmdX", !time);
  ShowAxis(plot, false, "RampPerc", true);
  IiPlotDataViewPtr data;
  ComCheck(plot->GetDataView(0, &data));
  ComCheck(data->SetXAxisName(time ? "RampX" : "CmdX"));
  ComCheck(data->SetYAxisName("RampPerc"));
}

void ShowCurves(CCommonControls& common, IiXYPlotXPtr& plot, const Quantity& q, const char* suffix, View view,
                int show, Strokes strokes) {
  const bool time = view == kTimeView;
  common.ShowChannel(plot, _bstr_t(q.time) + suffix, time ? show : 0);
  if (!q.opening) return;
  common.ShowChannel(plot, _bstr_t(q.opening) + suffix, !time && strokes.opening ? show : 0);
  common.ShowChannel(plot, _bstr_t(q.closing) + suffix, !time && strokes.closing ? show : 0);
}

void ShowBoxCurves(CCommonControls& common, IiXYPlotXPtr& plot, const Quantity& q, const char* suffix, View view,
                   int show) {
  if (view == kTimeView) {
    common.ShowChannel(plot, _bstr_t(q.time) + suffix, show);
  } else if (q.opening) {
    // Both strokes together, whatever a run's direction.
    common.ShowChannel(plot, _bstr_t(q.opening) + suffix, show);
    common.ShowChannel(plot, _bstr_t(q.closing) + suffix, show);
  }
}

void SetPlotTitles(IiXYPlotXPtr& plot) {
  ComCheck(plot->SetTitle(Text("IDD_DIAGNOSTIC_RAMP_TEST")));
  ComCheck(Axis(plot, true, "RampX")->SetTitle(Text("RAMPXTITLE")));
  ComCheck(Axis(plot, true, "CmdX")->SetTitle(Text("CMDPERCTITLE")));
  ComCheck(Axis(plot, false, "RampPerc")->SetTitle(Text("HDRLPOSNPERC")));
}

}  // namespace rampviews
