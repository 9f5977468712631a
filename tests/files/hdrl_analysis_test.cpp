// The HDRL analysis: the figures of recorded staircases worked out by hand,
// the channels the methods read and replace, and degenerate runs.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "files/hdrl_analysis.h"
#include "files/kinds_fixture.h"

namespace {

using hdrl::Point;
using namespace kindtest;

// The run over time as the page draws it (stair k at point 2k) from the
// position of each stair.
std::vector<Point> Staircase(const std::function<double(int)>& position) {
  std::vector<Point> run;
  for (int k = 0; k < hdrl::kStairs; ++k) {
    if (k > 0) run.push_back({6.0 * k, position(k - 1)});
    run.push_back({6.0 * k, position(k)});
  }
  return run;
}

double Command(int k) { return hdrl::kCommandProfile[static_cast<size_t>(k)]; }
bool Rising(int k) { return (k >= 1 && k <= 5) || (k >= 13 && k <= 17); }
bool Falling(int k) { return (k >= 7 && k <= 11) || (k >= 19 && k <= 23); }

TEST(HDRLAnalysis, FiguresOfRunsWorkedOutByHand) {
  struct Case {
    const char* what;
    std::function<double(int)> position;
    double repeatAverage, repeatMaximum, hysteresisAverage, hysteresisMaximum;
  };
  const Case cases[] = {
      {"ideal", [](int k) { return Command(k); }, 0, 0, 0, 0},
      // Each of stairs 12 to 24 0.5 above the stair twelve places earlier.
      {"stairs 12 to 24 0.5 above", [](int k) { return Command(k) + 0.5 * (k / 12); }, 0.5, 0.5, 0, 0},
      {"stairs 13 to 24 0.5 above", [](int k) { return Command(k) + (k >= 13 ? 0.5 : 0); }, 6.0 / 13, 0.5, 0, 0},
      // Lag by 1 % on the way up, lead by 1 % on the way down.
      {"lag and lead 1 %", [](int k) { return Command(k) - (Rising(k) ? 1 : 0) + (Falling(k) ? 1 : 0); }, 0, 0, 2, 2},
      // Only the 50 % stair of the falling branch lies off: 3 / 5.
      {"one stair off", [](int k) { return Command(k) + (k == 9 ? 3 : 0); }, 3.0 / 13, 3, 0.6, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<Point> run = Staircase(c.position);
    ASSERT_EQ(run.size(), 49u);
    const auto repeatability = hdrl::Repeatability(run, 49);
    const auto hysteresis = hdrl::HysteresisDeadband(run, 49);
    ASSERT_TRUE(repeatability && hysteresis);
    EXPECT_DOUBLE_EQ(repeatability->average, c.repeatAverage);
    EXPECT_DOUBLE_EQ(repeatability->maximum, c.repeatMaximum);
    EXPECT_DOUBLE_EQ(hysteresis->average, c.hysteresisAverage);
    EXPECT_DOUBLE_EQ(hysteresis->maximum, c.hysteresisMaximum);
  }
}

TEST(HDRLAnalysis, OnlyAWholeRunGivesRepeatabilityAndHysteresis) {
  const std::vector<Point> run = Staircase([](int k) { return Command(k); });
  const std::vector<Point> short_(run.begin(), run.begin() + 48);
  EXPECT_FALSE(hdrl::Repeatability(run, 48));
  EXPECT_FALSE(hdrl::HysteresisDeadband(run, 50));
  // A command channel of 49 points beside a shorter position channel.
  EXPECT_FALSE(hdrl::Repeatability(short_, 49));
  EXPECT_FALSE(hdrl::HysteresisDeadband({}, 49));
}

TEST(HDRLAnalysis, AverageErrorLineAndLinearity) {
  using Points_ = std::vector<Point>;
  // Lag and lead cancel: the average error is zero at every level.
  const Points_ up = {{10, 1}, {30, 1}, {50, 1}, {70, 1}, {90, 1}};
  const Points_ down = {{90, -1}, {70, -1}, {50, -1}, {30, -1}, {10, -1}};
  EXPECT_EQ(hdrl::AverageError(up, down, up, down),
            (Points_{{10, 0}, {30, 0}, {50, 0}, {70, 0}, {90, 0}}));
  // A level nobody reaches reads 0; a short branch adds what it holds.
  EXPECT_EQ(hdrl::AverageError({{10, 2}}, {}, {{10, 4}, {30, 8}}, {}),
            (Points_{{10, 3}, {30, 8}, {50, 0}, {70, 0}, {90, 0}}));

  struct Case {
    const char* what;
    Points_ average;
    bool line;
    double slope, intercept, linearity;
  };
  const Case cases[] = {
      {"zeros", {{10, 0}, {30, 0}, {50, 0}, {70, 0}, {90, 0}}, true, 0, 0, 0},
      {"a straight line", {{10, 0.1}, {30, 0.5}, {50, 0.9}, {70, 1.3}, {90, 1.7}}, true, 0.02, -0.1, 0},
      // The line through them is 0.6 everywhere.
      {"alternating", {{10, 1}, {30, 0}, {50, 1}, {70, 0}, {90, 1}}, true, 0, 0.6, 0.6},
      {"empty", {}, false, 0, 0, 0},
      {"one point", {{50, 2}}, false, 0, 0, 0},
      {"all at one command", {{50, 1}, {50, 2}, {50, 3}}, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto line = hdrl::LeastSquareLine(c.average);
    ASSERT_EQ(line.has_value(), c.line);
    if (line) {
      EXPECT_NEAR(line->slope, c.slope, 1e-12);
      EXPECT_NEAR(line->intercept, c.intercept, 1e-12);
    }
    EXPECT_NEAR(hdrl::LinearityError(c.average), c.linearity, 1e-12);
  }
}

class HDRLChannels : public testing::Test {
 protected:
  void SetUp() override {
    plot = NewPlot<IiXYPlotXPtr>();
    cf.SetupHDRLPlots(plot);
    cf.SetupHDRLChannels(plot);
  }
  void Add(const char* channel, const std::vector<Point>& points) {
    IiXYPlotChannelPtr c = cf.GetXYPlotChannelByName(plot, channel);
    for (const Point& p : points) c->AddXY(p.x, p.y, nullptr);
  }
  Points Of(const char* channel) { return PointsOf(cf.GetXYPlotChannelByName(plot, channel)); }

  CFileFunctions cf;
  IiXYPlotXPtr plot;
};

TEST_F(HDRLChannels, ARunWorkedOutFromItsChannels) {
  // Lag and lead by 1 % with a straight average error of 0.01 x command.
  const std::vector<Point> run =
      Staircase([](int k) { return Command(k) * 0.99 - (Rising(k) ? 1 : 0) + (Falling(k) ? 1 : 0); });
  Add("Position", run);
  Add("Command", Staircase([](int k) { return Command(k); }));
  const char* const branches[] = {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"};
  const int firsts[] = {1, 7, 13, 19};
  for (int b = 0; b < 4; ++b)
    for (int k = firsts[b]; k < firsts[b] + 5; ++k)
      Add(branches[b], {{Command(k), Command(k) - run[static_cast<size_t>(2 * k)].y}});

  double repeat[2] = {-1, -1}, hysteresis[2] = {-1, -1}, linearity = -1;
  cf.ComputeRepeatability(plot, &repeat[0], &repeat[1], 1);
  cf.ComputeErrorCurves(plot);
  cf.ComputeLeastSquareLine(plot, &linearity, 1);
  cf.ComputeHysteresisDeadband(plot, &hysteresis[0], &hysteresis[1], 1);
  EXPECT_EQ(repeat[0], 0);
  EXPECT_EQ(repeat[1], 0);
  EXPECT_DOUBLE_EQ(hysteresis[0], 2);
  EXPECT_DOUBLE_EQ(hysteresis[1], 2);
  EXPECT_NEAR(linearity, 0, 1e-12);
  const Points average = Of("AverageError");
  ASSERT_EQ(average.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(average[i].first, hdrl::kLevels[i]);
    EXPECT_NEAR(average[i].second, 0.01 * hdrl::kLevels[i], 1e-12);
  }
  // Worked out again: one curve and one line, not two.
  cf.ComputeErrorCurves(plot);
  cf.ComputeLeastSquareLine(plot, &linearity, 1);
  EXPECT_EQ(Of("AverageError").size(), 5u);
  EXPECT_EQ(Of("LeastSquareLine").size(), 5u);

  // A command channel of 48 points leaves the outputs alone.
  cf.GetXYPlotChannelByName(plot, "Command")->Clear();
  Add("Command", std::vector<Point>(48, Point{0, 0}));
  double untouched[2] = {-7, -7};
  cf.ComputeRepeatability(plot, &untouched[0], &untouched[1], 1);
  cf.ComputeHysteresisDeadband(plot, &untouched[0], &untouched[1], 1);
  EXPECT_EQ(untouched[0], -7);
  EXPECT_EQ(untouched[1], -7);
}

// An opened file holds its stored line already; before, the new fit was
// added behind it and the linearity was paired with the stored points by
// index, reading past the line's end when the curve was longer.
TEST_F(HDRLChannels, LinearityIsMeasuredAgainstTheLineJustFitted) {
  Add("AverageError", {{10, 1}, {30, 0}, {50, 1}, {70, 0}, {90, 1}, {50, 0.5}, {50, 0.5}});
  Add("LeastSquareLine", {{10, 9}, {30, 9}});
  double linearity = -1;
  cf.ComputeLinearityError(plot, &linearity, 1);
  const double fitted = 4.0 / 7;  // the line through the seven points is flat at their mean
  EXPECT_NEAR(linearity, fitted, 1e-12);  // the points at 30 and 70
  linearity = -1;
  cf.ComputeLeastSquareLine(plot, &linearity, 1);
  EXPECT_NEAR(linearity, fitted, 1e-12);  // the points at 30 and 70
  const Points line = Of("LeastSquareLine");
  ASSERT_EQ(line.size(), 5u);
  for (const auto& p : line) EXPECT_NEAR(p.second, fitted, 1e-12);
}

TEST_F(HDRLChannels, DegenerateCurvesAndOtherFileNumbers) {
  double linearity = -1;
  // No average error: no line, linearity 0.
  Add("LeastSquareLine", {{10, 1}});
  cf.ComputeLeastSquareLine(plot, &linearity, 1);
  EXPECT_EQ(linearity, 0);
  EXPECT_TRUE(Of("LeastSquareLine").empty());
  // All at one command: no line, linearity 0, never NaN.
  Add("AverageError", {{50, 1}, {50, 3}});
  linearity = -1;
  cf.ComputeLeastSquareLine(plot, &linearity, 1);
  EXPECT_EQ(linearity, 0);
  EXPECT_TRUE(Of("LeastSquareLine").empty());
  // Neither file 1 nor 2: 0, and nothing read or written.
  for (int file : {0, 3}) {
    linearity = -1;
    cf.ComputeLeastSquareLine(plot, &linearity, file);
    EXPECT_EQ(linearity, 0);
    linearity = -1;
    cf.ComputeLinearityError(plot, &linearity, file);
    EXPECT_EQ(linearity, 0);
    double a = -1, m = -1;
    cf.ComputeRepeatability(plot, &a, &m, file);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(m, -1);
  }
  // File 2 reads the channels with the suffix, which this plot lacks.
  EXPECT_THROW(cf.ComputeLinearityError(plot, &linearity, 2), _com_error);
}

}  // namespace
