#pragma once
// A partial stroke test file laid out as the test page stores it, with
// traces and stored values a test chooses.
#include <array>
#include <string>

#include "files/fixture.h"

namespace pstfile {

struct Stored {
  std::array<double, 5> settings{20, 80, 30, 5, 2};  // start, stop, time limit, ramp, hold
  std::array<double, 3> results{1.5, 7.25, 0};      // break-away, time to target, result code
  std::string tag = "PV-1";
  int points = 10;
  double lag = 0;  // position and pilot relay position above the command, in %
};

// Written on 8 December 2026; the command falls 1 % each 100 ms from 100 %.
inline void Write(CFileFunctions& cf, const std::string& path, const Stored& s) {
  IiPlotXPtr plot = filetest::NewPlot<IiPlotXPtr>();
  cf.SetupPSTPlot(plot);
  cf.SetupPSTChannels(plot);
  for (int i = 0; i < s.points; ++i) {
    const double command = 100.0 - i;
    const double ys[] = {command + s.lag, command, 50.0 + i, 40 + s.lag};
    for (LONG c = 0; c < 4; ++c) filetest::ChannelAt(plot, c)->AddXY(100.0 * i, ys[c], nullptr);
  }
  for (double y : s.settings) filetest::ChannelAt(plot, 4)->AddXY(0, y, nullptr);
  for (double y : {12.0, 8.0, 2026.0}) filetest::ChannelAt(plot, 4)->AddXY(0, y, nullptr);
  for (double y : s.results) filetest::ChannelAt(plot, 5)->AddXY(0, y, nullptr);
  for (char c : s.tag) filetest::ChannelAt(plot, 6)->AddXY(0, c, nullptr);
  EXPECT_EQ(plot->SaveDataToFile(path.c_str()), S_OK);
}

}  // namespace pstfile
