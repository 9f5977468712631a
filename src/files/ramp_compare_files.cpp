// The ramp comparison: the compare plot's thirty channels, the file plot
// that a ".rmp" file is loaded into, and the loaders of file 1 and file 2.
#include <array>
#include <filesystem>
#include <optional>

#include "files/plot_file_kit.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"
#include "support/language_table.h"
#include "support/log.h"

using testfile::Raise;

namespace {

// Red, green and blue as the plot takes them: red in the low byte.
constexpr COLORREF Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr COLORREF kRed = Rgb(255, 10, 10), kDarkBlue = Rgb(0, 0, 192), kDarkGreen = Rgb(0, 64, 0),
                   kMaroon = Rgb(128, 0, 0), kBlue = Rgb(0, 0, 255), kPink = Rgb(255, 0, 204),
                   kViolet = Rgb(153, 0, 204), kOrange = Rgb(255, 102, 0), kGreen = Rgb(0, 100, 0);

constexpr std::array<testfile::ChannelRow, 30> kCompareChannels{{
    {"Position1", "Position1", "RampX", "RampPerc", kRed, 2},
    {"Position2", "Position2", "RampX", "RampPerc", kRed, 2},
    {"PositionDiff", "Position Delta", "RampX", "RampPerc", kRed, 6},
    {"Command1", "Command1", "RampX", "RampPerc", kDarkBlue, 1},
    {"Command2", "Command2", "RampX", "RampPerc", kDarkBlue, 2},
    {"CommandDiff", "Command Delta", "RampX", "RampPerc", kDarkBlue, 6},
    {"ILCmd1", "Pilot Relay Command 1", "RampX", "RampPerc", kDarkGreen, 4},
    {"ILCmd2", "Pilot Relay Command 2", "RampX", "RampPerc", kDarkGreen, 2},
    {"ILCmdDiff", "Pilot Relay Command Delta", "RampX", "RampPerc", kDarkGreen, 6},
    {"ILPos1", "Pilot Relay Position 1", "RampX", "RampPerc", kMaroon, 5},
    {"ILPos2", "Pilot Relay Position 2", "RampX", "RampPerc", kMaroon, 2},
    {"ILPosDiff", "Pilot Relay Position Delta", "RampX", "RampPerc", kMaroon, 6},
    {"PosnvCmdOpen1", "Position(opening) 1", "CmdX", "RampPerc", kRed, 1},
    {"PosnvCmdOpen2", "Position(opening) 2", "CmdX", "RampPerc", kRed, 2},
    {"PosnvCmdOpenDiff", "Position(opening) Delta", "CmdX", "RampPerc", kRed, 6},
    {"ILCmdvCmdOpen1", "Pilot Relay Command(opening) 1", "CmdX", "RampPerc", kBlue, 6},
    {"ILCmdvCmdOpen2", "Pilot Relay Command(opening) 2", "CmdX", "RampPerc", kBlue, 2},
    {"ILCmdvCmdOpenDiff", "Pilot Relay Command(opening) Delta", "CmdX", "RampPerc", kBlue, 6},
    {"ILPosnvCmdOpen1", "Pilot Relay Position(opening) 1", "CmdX", "RampPerc", kPink, 7},
    {"ILPosnvCmdOpen2", "Pilot Relay Position(opening) 2", "CmdX", "RampPerc", kPink, 2},
    {"ILPosnvCmdOpenDiff", "Pilot Relay Position(opening) Delta", "CmdX", "RampPerc", kPink, 6},
    {"PosnvCmdClose1", "Position(closing) 1", "CmdX", "RampPerc", kViolet, 4},
    {"PosnvCmdClose2", "Position(closing) 2", "CmdX", "RampPerc", kViolet, 2},
    {"PosnvCmdCloseDiff", "Position(closing) Delta", "CmdX", "RampPerc", kViolet, 6},
    {"ILCmdvCmdClose1", "Pilot Relay Command(closing) 1", "CmdX", "RampPerc", kOrange, 5},
    {"ILCmdvCmdClose2", "Pilot Relay Command(closing) 2", "CmdX", "RampPerc", kOrange, 2},
    {"ILCmdvCmdCloseDiff", "Pilot Relay Command(closing) Delta", "CmdX", "RampPerc", kOrange, 6},
    {"ILPosnvCmdClose1", "Pilot Relay Position(closing) 1", "CmdX", "RampPerc", kGreen, 10},
    {"ILPosnvCmdClose2", "Pilot Relay Position(closing) 2", "CmdX", "RampPerc", kGreen, 2},
    {"ILPosnvCmdCloseDiff", "Pilot Relay Position(closing) Delta", "CmdX", "RampPerc", kGreen, 6},
}};

// The first twelve channels of a ".rmp" file, in its order, named with "1":
// a loaded file fills them by position.
constexpr std::array<testfile::ChannelRow, 12> kFileChannels{{
    {"Position1", "Position1", "RampX", "RampPerc", kRed, 12},
    {"Command1", "Command1", "RampX", "RampPerc", kDarkBlue, 12},
    {"ILCmd1", "Pilot Relay Command", "RampX", "RampPerc", kDarkGreen, 12},
    {"ILPos1", "Pilot Relay Position", "RampX", "RampPerc", kMaroon, 12},
    {"PosnvCmdOpen1", "Position (opening)", "CmdX", "RampPerc", kRed, 12},
    {"ILCmdvCmdOpen1", "Pilot Relay Command (opening)", "CmdX", "RampPerc", Rgb(51, 0, 153), 12},
    {"ILPosnvCmdOpen1", "Pilot Relay Position (opening)", "CmdX", "RampPerc", kPink, 12},
    {"PosnvCmdClose1", "Position (closing)", "CmdX", "RampPerc", kViolet, 12},
    {"ILCmdvCmdClose1", "Pilot Relay Command (closing)", "CmdX", "RampPerc", kOrange, 12},
    {"ILPosnvCmdClose1", "Pilot Relay Position (closing)", "CmdX", "RampPerc", kGreen, 12},
    {"RampSettings1", "RampSettings", "None", "None", Rgb(204, 0, 204), 12},
    {"TagName1", "TagName", "None", "None", kMaroon, 12},
}};

// The ten quantities: the file-1 name, and the marker period of the file-2
// and difference channels.
struct Quantity {
  const char* stem;
  int period;
};
constexpr Quantity kQuantities[] = {
    {"Position", 25},       {"Command", 20},        {"ILCmd", 26},          {"ILPos", 28},
    {"PosnvCmdOpen", 20},   {"PosnvCmdClose", 22},  {"ILCmdvCmdOpen", 30},  {"ILCmdvCmdClose", 30},
    {"ILPosnvCmdOpen", 18}, {"ILPosnvCmdClose", 32},
};

// Elements of m_strRampCompare: file 1 at the even one, file 2 at the odd
// one of each pair; stroke length and actuator size at 14/15 and 18/19.
enum Text : size_t {
  kTag = 0,
  kDate = 2,
  kName = 4,
  kStart = 6,  // start, stop, hold and ramp time pairs follow
  kStrokeLength1 = 14,
  kActuatorSize1 = 15,
  kAreaUnit = 16,
  kStrokeUnit = 17,
  kStrokeLength2 = 18,
  kActuatorSize2 = 19,
};

// One ramp test file as the comparison shows it.
struct RampFile {
  _bstr_t tag, date, name;
  std::array<_bstr_t, 4> settings;  // start, stop, hold, ramp time
  _bstr_t strokeLength, actuatorSize;
  BYTE bidirectional = 0;
  BYTE strokeCode = 0, areaCode = 0;
};

// Loads the chosen file into the file plot and reads it whole; raises when
// it is not a ramp test file (another layout, or no twelve settings points).
RampFile ReadRampFile(CFileFunctions& cf, IiXYPlotXPtr& filePlot, const std::string& path) {
  Raise(filePlot->ClearAllData());
  Raise(filePlot->LoadDataFromFile(path.c_str()));
  plotfile::RequireLayout(filePlot.GetInterfacePtr(), plotfile::kRampFile);
  plotfile::RequireFinite(filePlot.GetInterfacePtr());
  const std::vector<double> s = testfile::AllY(cf, filePlot, "RampSettings1");
  if (s.size() < 12) _com_issue_error(E_FAIL);
  RampFile f;
  f.name = std::filesystem::path(path).filename().string().c_str();
  for (size_t i = 0; i < 4; ++i) f.settings[i] = testfile::NumberText(s[i]).c_str();
  f.bidirectional = s[4] != 0 ? 1 : 0;
  f.date = testfile::DateText(s[5], s[6], s[7]).c_str();
  f.strokeCode = static_cast<BYTE>(testfile::LowByte(s[9]));
  f.areaCode = static_cast<BYTE>(testfile::LowByte(s[11]));
  f.actuatorSize = plat::FormatNumber("%3.1f", s[10]).c_str();
  f.strokeLength = plat::FormatNumber("%3.1f", s[8]).c_str();
  f.tag = testfile::TagText(testfile::AllY(cf, filePlot, "TagName1"));
  return f;
}

// The file's texts into its own elements (file 0 or 1), the units and codes
// for both files.
void Store(CFileFunctions& cf, const RampFile& f, size_t file) {
  auto& t = cf.m_strRampCompare;
  t[kTag + file] = f.tag;
  t[kDate + file] = f.date;
  t[kName + file] = f.name;
  for (size_t i = 0; i < 4; ++i) t[kStart + 2 * i + file] = f.settings[i];
  t[file == 0 ? kStrokeLength1 : kStrokeLength2] = f.strokeLength;
  t[file == 0 ? kActuatorSize1 : kActuatorSize2] = f.actuatorSize;
  t[kStrokeUnit] = testfile::RampStrokeUnitText(f.strokeCode);
  t[kAreaUnit] = testfile::RampAreaUnitText(f.areaCode);
  cf.m_nCompareStrokeUnitCode = f.strokeCode;
  cf.m_nCompareAreaUnitCode = f.areaCode;
  cf.m_bCompareBidirectional[file] = f.bidirectional;
}

// The chosen file, or nothing on cancel.
std::optional<std::string> AskRampFile() {
  return plotfile::AskCompareOpen("rmp", TheLanguageTable().Lookup("FILEOPENRAMP"));
}

// The axes fitted to every curve of both views, whichever were shown, so
// that neither view cuts a file's curves; then the ramp view.
void FitAndShowRampView(CFileFunctions& cf, IiXYPlotXPtr& plot) {
  for (const testfile::ChannelRow& row : kCompareChannels) cf.ShowChannel(plot, row.name, 1);
  Raise(plotfile::AxisByName(plot, true, "RampX")->ZoomToFit());
  Raise(plotfile::AxisByName(plot, true, "CmdX")->ZoomToFit());
  Raise(plotfile::AxisByName(plot, false, "RampPerc")->ZoomToFit());
  cf.SetupRampAxes(plot);
  cf.SetupRampCompareGraph(plot);
}

void FileOpenError(const char* caption, const std::exception& e) {
  WriteLog(std::string("Ramp comparison: file not loaded: ") + e.what());
  MessageBox(nullptr, "File open error.", caption, MB_OK);
}

}  // namespace

void CFileFunctions::SetupRampCompareChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kCompareChannels, kCompareChannels.size(),
                           &CFileFunctions::SetupXYPlotChannelA);
  SetupRampAxes(plot);
}

void CFileFunctions::SetupRampCompareFileChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kFileChannels, kFileChannels.size(), &CFileFunctions::SetupXYPlotChannelA);
}

bool CFileFunctions::LoadRampCompareFile1(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot) {
  const std::optional<std::string> path = AskRampFile();
  if (!path) return false;
  try {
    // Read whole before anything of the comparison changes.
    const RampFile f = ReadRampFile(*this, filePlot, *path);
    Raise(comparePlot->ClearAllData());
    for (const Quantity& q : kQuantities) {
      const _bstr_t name = _bstr_t(q.stem) + "1";
      CopyXYChannelPoints(name, name, true, filePlot, comparePlot);
    }
    FitAndShowRampView(*this, comparePlot);
    // A new comparison: file 2's texts empty, its settings "0.0", its
    // bi-directional value not known until a file 2 is read.
    m_strRampCompare = EmptyTexts<24>();
    for (size_t i = 0; i < 4; ++i) m_strRampCompare[kStart + 2 * i] = m_strRampCompare[kStart + 2 * i + 1] = "0.0";
    m_bCompareBidirectional[1] = kCompareNotLoaded;
    Store(*this, f, 0);
    return true;
  } catch (const std::exception& e) {
    FileOpenError("", e);
    return false;
  }
}

bool CFileFunctions::LoadRampCompareFile2(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot, CWnd* page) {
  const std::optional<std::string> path = AskRampFile();
  if (!path) return false;
  RampFile f;
  try {
    f = ReadRampFile(*this, filePlot, *path);
  } catch (const std::exception& e) {
    FileOpenError("LOAD", e);
    return false;
  }
  // What the page shows of the earlier file 2 comes back on a refusal.
  const TextArray<24> texts = m_strRampCompare;
  const BYTE strokeCode = m_nCompareStrokeUnitCode, areaCode = m_nCompareAreaUnitCode;
  const BYTE bidirectional = m_bCompareBidirectional[1];
  auto restore = [&] {
    m_strRampCompare = texts;
    m_nCompareStrokeUnitCode = strokeCode;
    m_nCompareAreaUnitCode = areaCode;
    m_bCompareBidirectional[1] = bidirectional;
  };
  Store(*this, f, 1);
  if (!CompareRampSettings()) {
    auto& t = TheLanguageTable();
    const _bstr_t gap("\n\n");
    const std::string question =
        (t.Lookup("WRONGSETTINGS") + gap + t.Lookup("COMPINVALID") + gap + t.Lookup("CONTINUE")).str();
    const int answer = page ? page->MessageBox(question.c_str(), "Compare", MB_OKCANCEL)
                            : MessageBox(nullptr, question.c_str(), "Compare", MB_OKCANCEL);
    if (answer == IDCANCEL) {
      restore();
      return false;
    }
  }
  try {
    for (const Quantity& q : kQuantities) {
      const _bstr_t stem(q.stem);
      CopyXYChannelPoints2(stem + "1", stem + "2", q.period, true, filePlot, comparePlot);
      ComputeXYChannelDelta(stem + "1", stem + "2", stem + "Diff", q.period, true, comparePlot);
    }
    FitAndShowRampView(*this, comparePlot);
  } catch (const std::exception& e) {
    WriteLog(std::string("Ramp comparison: channels not built: ") + e.what());
    MessageBox(nullptr, "Failed to Load Channels due to mismatched settings.", "LOAD", MB_OK);
    restore();
    return false;
  }
  return true;
}
