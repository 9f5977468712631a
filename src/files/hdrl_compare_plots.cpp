// The HDRL comparison's two plots: the ten channels of one ".hdrl" file on
// the loader plot, the sixteen overlay channels of both files on the compare
// plot, and the compare plot's three views. Nothing here is caught: a
// channel or axis the plot lacks ends the call where it stands.
#include <array>

#include "files/plot_file_kit.h"
#include "support/language_table.h"

using plotfile::ShowAxes;
using testfile::Raise;

namespace {

// The names and order of a ".hdrl" file, so that a loaded file fills them.
constexpr std::array<testfile::ChannelRow, 10> kFileChannels{{
    {"Position", "Position", "Time", "Position", 0x0A0AFF, 12},
    {"Command", "Command", "Time", "Position", 0xC00000, 12},
    {"1stCycle-Incr", "1st Cycle-Incr", "Command", "PositionError", 0x0A0AFF, 12},
    {"1stCycle-Decr", "1st Cycle-Decr", "Command", "PositionError", 0x00C000, 12},
    {"2ndCycle-Incr", "2nd Cycle-Incr", "Command", "PositionError", 0xCC00CC, 12},
    {"2ndCycle-Decr", "2nd Cycle-Decr", "Command", "PositionError", 0x000000, 12},
    {"AverageError", "Average Error", "Command", "PositionError", 0x0A0AFF, 12},
    {"LeastSquareLine", "Least SquareLine", "Command", "PositionError", 0x000000, 12},
    {"TestSettings", "TestSettings", "None", "None", 0xCC00CC, 12},
    {"TagName", "TagName", "None", "None", 0x000080, 12},
}};
constexpr size_t kFileDataChannels = 8;

// File 2 is named and titled after file 1 with a "2"; its time traces have
// their own time axis, so two tests of different lengths each fit theirs.
constexpr std::array<testfile::ChannelRow, 16> kOverlayChannels{{
    {"Position", "Position", "Time", "Position", 0x0A0AFF, 0},
    {"Position2", "Position 2", "Time2", "Position", 0x0A0AFF, 1},
    {"Command", "Command", "Time", "Position", 0xC00000, 2},
    {"Command2", "Command 2", "Time2", "Position", 0xC00000, 3},
    {"1stCycle-Incr", "1st Cycle-Incr", "Command", "PositionError", 0x0A0AFF, 0},
    {"1stCycle-Incr2", "1st Cycle-Incr 2", "Command", "PositionError", 0x0A0AFF, 1},
    {"1stCycle-Decr", "1st Cycle-Decr", "Command", "PositionError", 0xFF00FF, 2},
    {"1stCycle-Decr2", "1st Cycle-Decr 2", "Command", "PositionError", 0xFF00FF, 3},
    {"2ndCycle-Incr", "2nd Cycle-Incr", "Command", "PositionError", 0xC00000, 4},
    {"2ndCycle-Incr2", "2nd Cycle-Incr 2", "Command", "PositionError", 0xC00000, 5},
    {"2ndCycle-Decr", "2nd Cycle-Decr", "Command", "PositionError", 0x000000, 6},
    {"2ndCycle-Decr2", "2nd Cycle-Decr 2", "Command", "PositionError", 0x000000, 7},
    {"AverageError", "Average Error", "Command", "PositionError", 0x0A0AFF, 0},
    {"AverageError2", "Average Error 2", "Command", "PositionError", 0x0A0AFF, 1},
    {"LeastSquareLine", "Least SquareLine", "Command", "PositionError", 0x000000, 2},
    {"LeastSquareLine2", "Least SquareLine 2", "Command", "PositionError", 0x000000, 3},
}};

constexpr const char* kResetOrder[] = {
    "Position",        "Position2",        "Command",       "Command2",       "AverageError",  "AverageError2",
    "LeastSquareLine", "LeastSquareLine2", "1stCycle-Incr", "1stCycle-Incr2", "1stCycle-Decr", "1stCycle-Decr2",
    "2ndCycle-Incr",   "2ndCycle-Incr2",   "2ndCycle-Decr", "2ndCycle-Decr2",
};

void Show(CFileFunctions& cf, IiXYPlotXPtr& plot, const char* key, std::initializer_list<const char*> channels) {
  cf.ResetHDRLCompareGraph(plot);
  Raise(plot->SetTitle(TheLanguageTable().Lookup(key)));
  for (const char* name : channels) cf.GetXYPlotChannelByNameEx(plot, name, 1);
}

void ShowErrorAxes(IiXYPlotXPtr& plot) { ShowAxes(plot, {{false, "PositionError"}, {true, "Command"}}, true); }

void ZoomToFit(IiXYPlotXPtr& plot, bool x, const char* name) {
  Raise(plotfile::AxisByName(plot, x, name)->ZoomToFit());
}

}  // namespace

void CFileFunctions::SetupHDRLCompareChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kFileChannels, kFileDataChannels, &CFileFunctions::SetupXYPlotChannel);
}

void CFileFunctions::SetupHDRLCompareChannels2(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kOverlayChannels, kOverlayChannels.size(),
                           &CFileFunctions::SetupXYPlotChannel);
}

void CFileFunctions::ResetHDRLCompareGraph(IiXYPlotXPtr plot) {
  for (const char* name : kResetOrder) GetXYPlotChannelByNameEx(plot, name, 0);
  ShowAxes(plot, {{true, "Time"}, {true, "Time2"}, {true, "Command"}, {false, "Position"}, {false, "PositionError"}},
           false);
}

void CFileFunctions::ShowHDRLComparePositionVsTime(IiXYPlotXPtr plot) {
  Show(*this, plot, "HDRLTITLETEXT", {"Position", "Command", "Position2", "Command2"});
  // The reset has found all five axes: the order of the flags shows nowhere.
  ShowAxes(plot, {{false, "Position"}, {true, "Time"}, {true, "Time2"}}, true);
  ZoomToFit(plot, false, "Position");
  ZoomToFit(plot, true, "Time");
  ZoomToFit(plot, true, "Time2");
}

void CFileFunctions::ShowHDRLCompareErrorVsPosition(IiXYPlotXPtr plot) {
  Show(*this, plot, "HDRLPEVP",
       {"1stCycle-Incr", "1stCycle-Incr2", "1stCycle-Decr", "1stCycle-Decr2", "2ndCycle-Incr", "2ndCycle-Incr2",
        "2ndCycle-Decr", "2ndCycle-Decr2"});
  ShowErrorAxes(plot);
}

void CFileFunctions::ShowHDRLCompareErrorVsCommand(IiXYPlotXPtr plot) {
  Show(*this, plot, "HDRLPEVCMD", {"AverageError", "AverageError2", "LeastSquareLine", "LeastSquareLine2"});
  ShowErrorAxes(plot);
}
