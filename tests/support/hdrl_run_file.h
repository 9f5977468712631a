#pragma once
// An HDRL test file as the HDRL test page saves it, with results known in
// advance: at scale s the repeatability is 0.25 s at every stair, the
// hysteresis plus dead band 0.5 s at all five commands, and the stored
// average error gives a linearity error of 0.6 s.
#include <string>

#include "files/file_functions.h"
#include "platform/win/person.h"

namespace testsupport {

// steps 49: the run form; 25: one point a stair (x = 2k + 1); another
// count: a run of that many points. The save dialog is answered with path.
inline void WriteHDRLRun(CFileFunctions& cf, plat::ScriptedPerson& person, const std::string& path, IiXYPlotXPtr plot,
                         double scale, const char* settlingTime, const char* tag, int steps = 49) {
  constexpr double kCommands[13] = {0, 10, 30, 50, 70, 90, 100, 90, 70, 50, 30, 10, 0};
  const auto error = [](int k) { return k == 0 ? -0.25 : k >= 7 && k <= 11 ? 0.5 : k >= 13 ? 0.25 : 0.0; };
  cf.SetupHDRLPlots(plot);
  cf.SetupHDRLChannels(plot);
  const auto channel = [&](const char* name) { return cf.GetXYPlotChannelByName(plot, name); };
  for (int i = 0; i < steps; ++i) {
    const int k = steps == 49 ? i / 2 : i % 25;
    const double x = steps == 25 ? 2 * k + 1 : i;
    channel("Position")->AddXY(x, kCommands[k % 12] + scale * error(k), nullptr);
    channel("Command")->AddXY(x, kCommands[k % 12], nullptr);
  }
  for (const char* name : {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"})
    channel(name)->AddXY(10, scale * (name[0] == '1' ? 1 : 2) * (name[9] == 'I' ? 1 : -1), nullptr);
  const double average[5] = {1, 0, 1, 0, 1};
  for (int i = 0; i < 5; ++i) channel("AverageError")->AddXY(10 + 20 * i, scale * average[i], nullptr);
  cf.m_strHDRLSettlingTime = settlingTime;
  cf.m_strHDRLTag = tag;
  person.AnswerFile(path);
  cf.SaveHDRLFile(plot);
}

}  // namespace testsupport
