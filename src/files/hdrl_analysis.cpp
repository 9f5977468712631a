#include "files/hdrl_analysis.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "files/file_functions.h"
#include "platform/com/com_error.h"

namespace hdrl {

namespace {

template <std::size_t N>
std::optional<Spread> Differences(const std::vector<Point>& position, std::size_t commandPoints,
                                  const std::array<std::pair<std::size_t, std::size_t>, N>& pairs) {
  if (commandPoints != kRunPoints || position.size() < kRunPoints) return std::nullopt;
  Spread s;
  for (const auto& [a, b] : pairs) {
    const double d = std::fabs(position[a].y - position[b].y);
    s.average += d;
    s.maximum = std::max(s.maximum, d);
  }
  s.average /= static_cast<double>(N);
  return s;
}

}  // namespace

std::optional<Spread> Repeatability(const std::vector<Point>& position, std::size_t commandPoints) {
  constexpr auto pairs = [] {
    std::array<std::pair<std::size_t, std::size_t>, 13> p{};
    for (std::size_t k = 0; k < p.size(); ++k) p[k] = {2 * k, 2 * k + 24};
    return p;
  }();
  return Differences(position, commandPoints, pairs);
}

std::optional<Spread> HysteresisDeadband(const std::vector<Point>& position, std::size_t commandPoints) {
  constexpr std::array<std::pair<std::size_t, std::size_t>, 5> pairs{{{2, 22}, {4, 20}, {6, 18}, {8, 16}, {10, 14}}};
  return Differences(position, commandPoints, pairs);
}

std::vector<Point> AverageError(const std::vector<Point>& firstRising, const std::vector<Point>& firstFalling,
                                const std::vector<Point>& secondRising, const std::vector<Point>& secondFalling) {
  std::array<double, kLevels.size()> sum{};
  std::array<int, kLevels.size()> count{};
  for (const std::vector<Point>* branch : {&firstRising, &firstFalling, &secondRising, &secondFalling})
    for (const Point& p : *branch)
      for (std::size_t l = 0; l < kLevels.size(); ++l)
        if (p.x == kLevels[l]) {
          sum[l] += p.y;
          ++count[l];
        }
  std::vector<Point> average;
  for (std::size_t l = 0; l < kLevels.size(); ++l)
    average.push_back({kLevels[l], count[l] ? sum[l] / count[l] : 0.0});
  return average;
}

std::optional<Line> LeastSquareLine(const std::vector<Point>& averageError) {
  const double n = static_cast<double>(averageError.size());
  if (averageError.size() < 2) return std::nullopt;
  double sx = 0, sy = 0;
  for (const Point& p : averageError) {
    sx += p.x;
    sy += p.y;
  }
  const double mx = sx / n, my = sy / n;
  // Centred sums: no cancellation for commands far from zero.
  double sxx = 0, sxy = 0;
  for (const Point& p : averageError) {
    sxx += (p.x - mx) * (p.x - mx);
    sxy += (p.x - mx) * (p.y - my);
  }
  if (!(sxx > 0) || !std::isfinite(sxx) || !std::isfinite(sxy)) return std::nullopt;
  Line line;
  line.slope = sxy / sxx;
  line.intercept = my - line.slope * mx;
  return line;
}

double LinearityError(const std::vector<Point>& averageError) {
  const std::optional<Line> line = LeastSquareLine(averageError);
  if (!line) return 0;
  double largest = 0;
  for (const Point& p : averageError) largest = std::max(largest, std::fabs(p.y - line->At(p.x)));
  return largest;
}

}  // namespace hdrl

// ---- The methods on a plot's channels.

namespace {

using hdrl::Point;

// File 1: the plot's own channels; file 2: the comparison's second set.
std::optional<_bstr_t> ChannelOf(const char* name, int file) {
  if (file == 1) return _bstr_t(name);
  if (file == 2) return _bstr_t((std::string(name) + "2").c_str());
  return std::nullopt;
}

std::vector<Point> PointsOf(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& name) {
  IiXYPlotChannelPtr channel = cf.GetXYPlotChannelByName(plot, name);
  LONG count = 0;
  ComCheck(channel->GetCount(&count));
  std::vector<Point> points(static_cast<std::size_t>(std::max<LONG>(count, 0)));
  for (LONG i = 0; i < count; ++i) {
    ComCheck(channel->GetX(i, &points[static_cast<std::size_t>(i)].x));
    ComCheck(channel->GetY(i, &points[static_cast<std::size_t>(i)].y));
  }
  return points;
}

std::size_t CountOf(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& name) {
  LONG count = 0;
  ComCheck(cf.GetXYPlotChannelByName(plot, name)->GetCount(&count));
  return static_cast<std::size_t>(std::max<LONG>(count, 0));
}

// A figure of the run's staircase into the caller's variables; left as
// they were when the run is not whole.
void RunFigure(CFileFunctions& cf, IiXYPlotXPtr& plot, double* average, double* maximum, int file,
               std::optional<hdrl::Spread> (*figure)(const std::vector<Point>&, std::size_t)) {
  const std::optional<_bstr_t> command = ChannelOf("Command", file), position = ChannelOf("Position", file);
  if (!command || !position) return;
  const std::optional<hdrl::Spread> s = figure(PointsOf(cf, plot, *position), CountOf(cf, plot, *command));
  if (!s) return;
  if (average) *average = s->average;
  if (maximum) *maximum = s->maximum;
}

}  // namespace

void CFileFunctions::ComputeRepeatability(IiXYPlotXPtr plot, double* average, double* maximum, int file) {
  RunFigure(*this, plot, average, maximum, file, &hdrl::Repeatability);
}

void CFileFunctions::ComputeHysteresisDeadband(IiXYPlotXPtr plot, double* average, double* maximum, int file) {
  RunFigure(*this, plot, average, maximum, file, &hdrl::HysteresisDeadband);
}

void CFileFunctions::ComputeErrorCurves(IiXYPlotXPtr plot, int file) {
  std::vector<Point> branches[4];
  const char* const names[4] = {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"};
  for (int b = 0; b < 4; ++b) {
    const std::optional<_bstr_t> name = ChannelOf(names[b], file);
    if (!name) return;
    branches[b] = PointsOf(*this, plot, *name);
  }
  IiXYPlotChannelPtr average = GetXYPlotChannelByName(plot, *ChannelOf("AverageError", file));
  // Replaced, so that working the run out again draws one curve.
  ComCheck(average->Clear());
  for (const Point& p : hdrl::AverageError(branches[0], branches[1], branches[2], branches[3]))
    ComCheck(average->AddXY(p.x, p.y, nullptr));
}

void CFileFunctions::ComputeLeastSquareLine(IiXYPlotXPtr plot, double* linearityError, int file) {
  double result = 0;
  const std::optional<_bstr_t> averageName = ChannelOf("AverageError", file);
  if (averageName) {
    const std::vector<Point> average = PointsOf(*this, plot, *averageName);
    // The line is replaced, not added to: a stored line from an opened
    // file is neither kept beside the new one nor measured against.
    IiXYPlotChannelPtr line = GetXYPlotChannelByName(plot, *ChannelOf("LeastSquareLine", file));
    ComCheck(line->Clear());
    if (const std::optional<hdrl::Line> fit = hdrl::LeastSquareLine(average))
      for (const double x : hdrl::kLevels) ComCheck(line->AddXY(x, fit->At(x), nullptr));
    result = hdrl::LinearityError(average);
  }
  if (linearityError) *linearityError = result;
}

void CFileFunctions::ComputeLinearityError(IiXYPlotXPtr plot, double* linearityError, int file) {
  // Measured against the average error's own fit, which is what the stored
  // line holds; a stored line of another length is never read past its end.
  const std::optional<_bstr_t> averageName = ChannelOf("AverageError", file);
  const double result = averageName ? hdrl::LinearityError(PointsOf(*this, plot, *averageName)) : 0.0;
  if (linearityError) *linearityError = result;
}
