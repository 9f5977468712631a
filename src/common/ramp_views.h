#pragma once
// The two views of a ramp plot that the ramp test and the ramp comparison
// both offer: the run against time, and the signature of position and
// pilot relay against the command, for the opening and the closing stroke.
// A comparison's channels carry "1", "2" or "Diff" after the names here.
#include "common/common_controls.h"

namespace rampviews {

enum View : BYTE { kTimeView = 0, kSignalView = 2 };

// A quantity of the graph settings, in the order of its boxes: its curve
// against time and its two curves against the command.
struct Quantity {
  const char* time;
  const char* opening;  // null: no curve in the signature view
  const char* closing;
  const char* key;      // its box's caption, which its time curve's legend repeats
};
inline constexpr Quantity kQuantities[4] = {
    {"Position", "PosnvCmdOpen", "PosnvCmdClose", "IDC_STATICPOSNLBL"},
    {"Command", nullptr, nullptr, "IPLOTCHANCMD"},
    {"ILCmd", "ILCmdvCmdOpen", "ILCmdvCmdClose", "IDC_CHECK_SPOOLCMD"},
    {"ILPos", "ILPosnvCmdOpen", "ILPosnvCmdClose", "IDC_CHECK_SPOOLPOS"},
};

// A quantity's boxes are enabled in a view where it has a curve.
constexpr bool HasCurveIn(const Quantity& q, View view) { return view == kTimeView || q.opening != nullptr; }

// The strokes whose signature curves a switch to the signature view shows.
struct Strokes {
  bool opening = true, closing = true;
};

// The plot's title, the page's two view buttons, the view's X axis with the
// percent axis (the other X axis hidden) and the data view on them. The
// curves follow with ShowCurves.
void ShowView(CWnd& page, int timeButton, int signalButton, IiXYPlotXPtr& plot, View view);
// A quantity's curves after a switch to `view`: those of the view and of
// the given strokes as its box says (`show`), all others hidden.
void ShowCurves(CCommonControls& common, IiXYPlotXPtr& plot, const Quantity& q, const char* suffix, View view,
                int show, Strokes strokes = {});
// A box clicked: its quantity's curves in `view`, both strokes, as the box
// now says; the other view's are left alone.
void ShowBoxCurves(CCommonControls& common, IiXYPlotXPtr& plot, const Quantity& q, const char* suffix, View view,
                   int show);
// The plot's title and its axes' titles in the user's language.
void SetPlotTitles(IiXYPlotXPtr& plot);

}  // namespace rampviews
