#pragma once
// A plot's channel found by name, its points and whether it is shown, for
// either kind of plot.
#include <utility>
#include <vector>

#include "shell/app.h"

namespace testsupport {

inline IiXYPlotChannelPtr ChannelOf(IiXYPlotX* plot, const char* name) {
  IiXYPlotXPtr p(plot);
  return theApp().m_CommonFunctions.GetXYPlotChannelByName(p, name);
}

inline IiPlotChannelPtr ChannelOf(IiPlotX* plot, const char* name) {
  IiPlotXPtr p(plot);
  return theApp().m_CommonFunctions.GetPlotChannelByName(p, name);
}

template <class Plot>
std::vector<std::pair<double, double>> PlotPoints(Plot* plot, const char* channel) {
  auto c = ChannelOf(plot, channel);
  LONG count = 0;
  c->GetCount(&count);
  std::vector<std::pair<double, double>> points(static_cast<size_t>(count));
  for (LONG i = 0; i < count; ++i) {
    c->GetX(i, &points[static_cast<size_t>(i)].first);
    c->GetY(i, &points[static_cast<size_t>(i)].second);
  }
  return points;
}

template <class Plot>
bool ChannelShown(Plot* plot, const char* channel) {
  VARIANT_BOOL visible = 0;
  ChannelOf(plot, channel)->GetVisible(&visible);
  return visible != 0;
}

}  // namespace testsupport
