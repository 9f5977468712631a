// The step comparison: the compare plot's channels, the file plot that a
// ".stp" file is loaded into, and the loaders of its two files.
//
// A file is read whole into the file plot before anything the page shows
// changes: a file that cannot be read leaves the compare texts and the
// compare plot as they were.
#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "files/plot_file_kit.h"
#include "platform/win/person.h"
#include "support/language_table.h"

using plotfile::AxisByName;
using testfile::Raise;

namespace {

// The order is the order of the channels in a ".stp" file; the data
// channels are named as file 1's channels of the compare plot.
constexpr std::array<testfile::ChannelRow, 6> kFileChannels{{
    {"Position1", "Position", "StepX", "StepPerc", 0x0A0AFF, 12},
    {"Command1", "Command", "StepX", "StepPerc", 0xC00000, 12},
    {"ILCmd1", "Pilot Relay Command", "StepX", "StepPerc", 0x004000, 12},
    {"ILPOS1", "Pilot Relay Position", "StepX", "StepPerc", 0x000080, 12},
    {"TestSettings", "TestSettings", "None", "None", 0xCC00CC, 12},
    {"TagName", "TagName", "None", "None", 0x000080, 12},
}};
constexpr size_t kFileDataChannels = 4;

// Each quantity: file 1, file 2, difference, in one colour.
constexpr std::array<testfile::ChannelRow, 12> kCompareChannels{{
    {"Position1", "Position 1", "StepX", "RampPerc", 0x0A0AFF, 0},
    {"Position2", "Position 2", "StepX", "RampPerc", 0x0A0AFF, 2},
    {"PositionDiff", "Position Delta", "StepX", "RampPerc", 0x0A0AFF, 6},
    {"Command1", "Command 1", "StepX", "RampPerc", 0xC00000, 1},
    {"Command2", "Command 2", "StepX", "RampPerc", 0xC00000, 2},
    {"CommandDiff", "Command Delta", "StepX", "RampPerc", 0xC00000, 6},
    {"ILCmd1", "Pilot Relay Command 1", "StepX", "RampPerc", 0x004000, 4},
    {"ILCmd2", "Pilot Relay Command 2", "StepX", "RampPerc", 0x004000, 2},
    {"ILCmdDiff", "Pilot Relay Command Delta", "StepX", "RampPerc", 0x004000, 6},
    {"ILPOS1", "Pilot Relay Position 1", "StepX", "RampPerc", 0x000080, 5},
    {"ILPOS2", "Pilot Relay Position 2", "StepX", "RampPerc", 0x000080, 2},
    {"ILPOSDiff", "Pilot Relay Position Delta", "StepX", "RampPerc", 0x000080, 6},
}};

// A quantity's channels: file 1 (in the file plot the file just loaded),
// file 2, their difference, and the marker period of file 2's copy.
struct Quantity {
  const char* file1;
  const char* file2;
  const char* difference;
  int markerPeriod;
};
constexpr Quantity kQuantities[] = {{"Position1", "Position2", "PositionDiff", 25},
                                    {"Command1", "Command2", "CommandDiff", 20},
                                    {"ILCmd1", "ILCmd2", "ILCmdDiff", 26},
                                    {"ILPOS1", "ILPOS2", "ILPOSDiff", 28}};

constexpr const char* kSettings = "TestSettings";
constexpr const char* kTag = "TagName";
// Start, stop, hold, month, day, year: what a step test save stores.
constexpr LONG kSettingsPoints = 6;

// Compare text elements of file 1; file 2's follow each.
enum : size_t { kTagText = 0, kDateText = 2, kNameText = 4, kStartText = 6, kStopText = 8, kHoldText = 10 };

// What a step test file holds for the comparison, read before any of it is
// shown.
struct StepFile {
  _bstr_t tag, date, name;
  std::array<_bstr_t, 3> settings;  // start, stop, hold
};

// A date part stored as a number: a whole number of the calendar's range;
// anything else is no step test file of ours.
unsigned DatePart(double value, unsigned low, unsigned high) {
  if (!std::isfinite(value) || value < low || value >= high + 1.0) _com_issue_error(E_INVALIDARG);
  return static_cast<unsigned>(value);
}

// Empties the file plot and reads the file into it. A file of another
// kind would fill the six channels by place too: only a step test's
// layout is read, and its settings must hold a step test's six values.
StepFile ReadStepFile(CFileFunctions& cf, IiXYPlotXPtr& filePlot, const std::string& path) {
  Raise(filePlot->ClearAllData());
  Raise(filePlot->LoadDataFromFile(path.c_str()));
  plotfile::RequireLayout(filePlot.GetInterfacePtr(), plotfile::kStepFile);
  plotfile::RequireFinite(filePlot.GetInterfacePtr());
  const std::vector<double> stored = testfile::AllY(cf, filePlot, kSettings);
  if (stored.size() != kSettingsPoints) _com_issue_error(E_INVALIDARG);
  StepFile file;
  for (size_t i = 0; i < 3; ++i) {
    if (!std::isfinite(stored[i])) _com_issue_error(E_INVALIDARG);
    file.settings[i] = testfile::NumberText(stored[i]).c_str();
  }
  file.date = (std::to_string(DatePart(stored[3], 1, 12)) + "/" + std::to_string(DatePart(stored[4], 1, 31)) + "/" +
               std::to_string(DatePart(stored[5], 1, 65535)))
                  .c_str();
  file.tag = testfile::TagText(testfile::AllY(cf, filePlot, kTag));
  file.name = std::filesystem::path(path).filename().c_str();
  return file;
}

// The file dialog, then the file read into the file plot; nothing when the
// dialog was cancelled or the file could not be read (the user was told).
std::optional<StepFile> AskAndRead(CFileFunctions& cf, IiXYPlotXPtr& filePlot) {
  const std::optional<std::string> path = plotfile::AskCompareOpen("stp", TheLanguageTable().Lookup("FILEOPENSTEP"));
  if (!path) return std::nullopt;
  try {
    return ReadStepFile(cf, filePlot, *path);
  } catch (const std::exception&) {
    MessageBox(nullptr, "File open error.", "", MB_OK);
    return std::nullopt;
  }
}

void WriteTexts(TextArray<12>& texts, size_t file, const StepFile& f) {
  texts[kTagText + file] = f.tag;
  texts[kDateText + file] = f.date;
  texts[kNameText + file] = f.name;
  texts[kStartText + file] = f.settings[0];
  texts[kStopText + file] = f.settings[1];
  texts[kHoldText + file] = f.settings[2];
}

void ZoomToFit(IiXYPlotXPtr& plot) {
  Raise(AxisByName(plot, true, "StepX")->ZoomToFit());
  Raise(AxisByName(plot, false, "RampPerc")->ZoomToFit());
}

}  // namespace

void CFileFunctions::SetupStepCompareFileChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kFileChannels, kFileDataChannels, &CFileFunctions::SetupXYPlotChannel);
}

void CFileFunctions::SetupStepCompareChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kCompareChannels, kCompareChannels.size(),
                           &CFileFunctions::SetupXYPlotChannel);
}

bool CFileFunctions::AreStepSettingsEqual(const _bstr_t& start1, const _bstr_t& start2, const _bstr_t& stop1,
                                            const _bstr_t& stop2, const _bstr_t& hold1, const _bstr_t& hold2) {
  return start1 == start2 && stop1 == stop2 && hold1 == hold2;
}

bool CFileFunctions::LoadStepCompareFile1(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot) {
  const std::optional<StepFile> file = AskAndRead(*this, filePlot);
  if (!file) return false;
  try {
    // A new comparison: file 2's channels and texts go too.
    Raise(comparePlot->ClearAllData());
    HideStepCompareChannels(comparePlot);
    for (const Quantity& q : kQuantities) CopyXYChannelPoints(q.file1, q.file1, true, filePlot, comparePlot);
    ZoomToFit(comparePlot);
  } catch (const std::exception&) {
    MessageBox(nullptr, "File open error.", "", MB_OK);
    return false;
  }
  for (size_t i = 0; i < m_strStepCompare.size(); ++i) m_strStepCompare[i] = i < kStartText ? "" : "0.0";
  WriteTexts(m_strStepCompare, 0, *file);
  return true;
}

bool CFileFunctions::LoadStepCompareFile2(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot, CWnd* page) {
  const std::optional<StepFile> file = AskAndRead(*this, filePlot);
  if (!file) return false;
  const TextArray<12>& texts = m_strStepCompare;
  const bool same = AreStepSettingsEqual(texts[kStartText], file->settings[0], texts[kStopText], file->settings[1],
                                         texts[kHoldText], file->settings[2]);
  if (!same && MessageBox(page ? page->GetSafeHwnd() : nullptr,
                          "Settings do not Match. Comparision may be Invalid. Do you wish to continue", "Compare",
                          MB_OKCANCEL) != IDOK)
    return false;
  try {
    for (const Quantity& q : kQuantities) {
      ShowChannel(comparePlot, q.file2, 0);
      ShowChannel(comparePlot, q.difference, 0);
    }
    for (const Quantity& q : kQuantities) {
      CopyXYChannelPoints2(q.file1, q.file2, q.markerPeriod, true, filePlot, comparePlot);
      ComputeXYChannelDelta(q.file1, q.file2, q.difference, q.markerPeriod, true, comparePlot);
    }
    ZoomToFit(comparePlot);
  } catch (const std::exception&) {
    // Not a comparison: the page keeps what it showed.
    MessageBox(nullptr, "Failed to Load Channels due to mismatched settings.", "LOAD", MB_OK);
    return false;
  }
  WriteTexts(m_strStepCompare, 1, *file);
  return true;
}
