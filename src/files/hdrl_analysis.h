#pragma once
// The HDRL figures from a recorded staircase, on plain points: what the
// CFileFunctions methods (Compute...) work out from a plot's channels,
// for the test page, the test file and the comparison alike.
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace hdrl {

// Two cycles of 0, 10, 30, 50, 70, 90, 100 % and back that share stair 12.
inline constexpr std::array<double, 25> kCommandProfile = {0,  10, 30, 50, 70, 90, 100, 90, 70, 50, 30, 10, 0,
                                                           10, 30, 50, 70, 90, 100, 90, 70, 50, 30, 10, 0};
inline constexpr int kStairs = 25;
// A whole run over time: stair k at point 2k, each later stair drawn
// from the value of the one before.
inline constexpr std::size_t kRunPoints = 49;
// The commands of the error curves, and the branches that pair up there.
inline constexpr std::array<double, 5> kLevels = {10, 30, 50, 70, 90};

struct Point {
  double x, y;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Spread {
  double average = 0, maximum = 0;
};

// Each stair of the first cycle against the same stair of the second;
// nothing unless the command channel holds a whole run.
std::optional<Spread> Repeatability(const std::vector<Point>& position, std::size_t commandPoints);
// The first cycle's rising against its falling branch at the same command.
std::optional<Spread> HysteresisDeadband(const std::vector<Point>& position, std::size_t commandPoints);

// Per level the mean of the four branch errors at that command (a level no
// branch reaches: 0). Points past the end of a shorter branch count as
// missing, not as an error of 0 read from elsewhere.
std::vector<Point> AverageError(const std::vector<Point>& firstRising, const std::vector<Point>& firstFalling,
                                const std::vector<Point>& secondRising, const std::vector<Point>& secondFalling);

struct Line {
  double slope = 0, intercept = 0;
  double At(double x) const { return slope * x + intercept; }
};
// Nothing for fewer than two distinct commands: no line is defined.
std::optional<Line> LeastSquareLine(const std::vector<Point>& averageError);
// The largest distance of the average error from its own least-squares
// line, at the average error's commands; 0 when no line is defined.
double LinearityError(const std::vector<Point>& averageError);

}  // namespace hdrl
