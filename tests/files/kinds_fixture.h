#pragma once
// Both plot kinds for the partial stroke, HDRL, data logger and curve
// tests: a fresh plot, channels and axes read back, and a fixture with a
// scripted person, a manual clock and a scratch folder.
#include <string>
#include <vector>

#include "files/fixture.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"

namespace kindtest {

using filetest::AllPoints;
using filetest::ChannelAt;
using filetest::ChannelCount;
using filetest::ChannelOf;
using filetest::NewPlot;
using filetest::Points;
using filetest::PointsOf;
using filetest::ScratchFolder;
using filetest::Text;
using filetest::ChannelLook;
using filetest::FreshLook;
using filetest::LookOf;
using filetest::WholePlot;

template <class PlotPtr>
std::vector<double> Ys(PlotPtr& plot, LONG channel) {
  std::vector<double> ys;
  for (auto [x, y] : PointsOf(ChannelAt(plot, channel))) ys.push_back(y);
  return ys;
}

template <class PlotPtr>
IiPlotAxisPtr AxisAt(PlotPtr& plot, bool x, LONG index) {
  IiPlotAxisPtr axis;
  x ? plot->GetXAxis(index, &axis) : plot->GetYAxis(index, &axis);
  return axis;
}

// Minimum and span of an axis found by name.
template <class PlotPtr>
std::pair<double, double> Range(PlotPtr& plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis);
  double min = -999, span = -999;
  if (axis) {
    axis->GetMin(&min);
    axis->GetSpan(&span);
  }
  return {min, span};
}

template <class PlotPtr>
std::string Title(PlotPtr& plot) {
  _bstr_t title;
  plot->GetTitle(&title);
  return title.str();
}

template <class PlotPtr>
std::vector<std::string> ChannelNames(PlotPtr& plot) {
  std::vector<std::string> names;
  for (LONG i = 0; i < ChannelCount(plot); ++i) {
    _bstr_t name;
    ChannelAt(plot, i)->GetName(&name);
    names.push_back(name.str());
  }
  return names;
}

// Every channel gets points that no other channel has.
template <class PlotPtr>
void FillAll(PlotPtr& plot, LONG channels, int points, double seed) {
  for (LONG c = 0; c < channels; ++c)
    for (int i = 0; i < points; ++i) ChannelAt(plot, c)->AddXY(i * 0.25 + c, seed * (c + 1) + i * 0.125, nullptr);
}

template <class T>
std::vector<std::string> Texts(const T& fields) {
  std::vector<std::string> out;
  if constexpr (requires { T::kInOrder; })
    for (auto text : T::kInOrder) out.push_back((fields.*text).str());
  else
    for (const auto& f : fields) out.push_back(f.str());
  return out;
}

class KindFiles : public testing::Test {
 protected:
  std::vector<plat::Question> Messages() const {
    std::vector<plat::Question> out;
    for (const plat::Question& q : person.Asked())
      if (q.kind == plat::Question::Kind::Message) out.push_back(q);
    return out;
  }
  const plat::Question& Last() const { return person.Asked().back(); }

  plat::ScriptedPerson person{[](const std::string& what) { ADD_FAILURE() << what; }};
  plat::ManualClock clock{{2026, 12, 8, 6, 5, 0, 0}};
  plat::ScopedTimeSource time{clock};
  ScratchFolder folder;
  CFileFunctions cf;
};

}  // namespace kindtest
