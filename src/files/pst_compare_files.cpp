// The partial stroke comparison: the compare plot's channels, the file
// plot's channels in ".pst" order, and the loaders of file 1 and file 2.
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>

#include "files/plot_file_kit.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"
#include "support/language_table.h"

using plotfile::AxisByName;
using testfile::Raise;

namespace {

// File 1 without markers; file 2 and the difference with their own.
constexpr std::array<testfile::ChannelRow, 12> kCompareChannels{{
    {"Position", "Position 1", "RampX", "RampPerc", 0x0A0AFF, 12},
    {"Position2", "Position 2", "RampX", "RampPerc", 0x0A0AFF, 0},
    {"PositionDiff", "Position Delta", "RampX", "RampPerc", 0x0A0AFF, 5},
    {"Command", "Command 1", "RampX", "RampPerc", 0xC00000, 12},
    {"Command2", "Command 2", "RampX", "RampPerc", 0xC00000, 2},
    {"CommandDiff", "Command Delta", "RampX", "RampPerc", 0xC00000, 5},
    {"ILCmd", "Pilot Relay Command 1", "RampX", "RampPerc", 0x004000, 12},
    {"ILCmd2", "Pilot Relay Command 2", "RampX", "RampPerc", 0x004000, 6},
    {"ILCmdDiff", "Pilot Relay Command Delta", "RampX", "RampPerc", 0x004000, 5},
    {"ILPOS", "Pilot Relay Position 1", "RampX", "RampPerc", 0x000080, 12},
    {"ILPOS2", "Pilot Relay Position 2", "RampX", "RampPerc", 0x000080, 7},
    {"ILPOSDiff", "Pilot Relay Position Delta", "RampX", "RampPerc", 0x000080, 5},
}};

// The order is the order of the channels in a ".pst" file: a file fills
// them by position, so the test page's "ILPos" arrives in "ILPOS".
constexpr std::array<testfile::ChannelRow, 7> kFileChannels{{
    {"Position", "Position", "RampX", "RampPerc", 0x0A0AFF, 12},
    {"Command", "Command", "RampX", "RampPerc", 0xC00000, 12},
    {"ILCmd", "Pilot Relay Command", "RampX", "RampPerc", 0x004000, 12},
    {"ILPOS", "Pilot Relay Position", "RampX", "RampPerc", 0x000080, 12},
    {"TestSettings", "Test Settings", "None", "None", 0xCC00CC, 12},
    {"Results", "Results", "None", "None", 0x004000, 12},
    {"TagName", "Tag Name", "None", "None", 0x000080, 12},
}};
constexpr size_t kFileDataChannels = 4;

// A file's traces into the compare plot: file 1's name, file 2's copy,
// the difference, and how often file 2 and the difference mark a point.
struct Trace {
  const char* file1;
  const char* file2;
  const char* difference;
  int markEvery;
};
constexpr Trace kTraces[] = {
    {"Position", "Position2", "PositionDiff", 18},
    {"Command", "Command2", "CommandDiff", 20},
    {"ILCmd", "ILCmd2", "ILCmdDiff", 28},
    {"ILPOS", "ILPOS2", "ILPOSDiff", 30},
};

// The compare texts of file 1; file 2's follow each at +1.
enum Text : size_t {
  kTag = 0, kDate = 2, kName = 4, kStart = 6, kStop = 8, kRamp = 10, kHold = 12, kLimit = 14,
  kBreakaway = 16, kBreakawayDiff = 18, kToTarget = 22, kToTargetDiff = 24, kResult = 29,
};
// Settings point of each settings text, in text order: start, stop, ramp, hold, time limit.
constexpr std::array<std::pair<Text, LONG>, 5> kSettingPoints{
    {{kStart, 0}, {kStop, 1}, {kRamp, 3}, {kHold, 4}, {kLimit, 2}}};
constexpr LONG kSettingsCount = 8, kResultsCount = 3;

// The texts of each file, in file 1's places.
constexpr Text kFileTexts[] = {kTag,  kDate,  kName,      kStart,    kStop,  kRamp,
                               kHold, kLimit, kBreakaway, kToTarget, kResult};

// What one file gives the compare texts (in file 1's places), read whole
// before any is written.
using FileTexts = TextArray<31>;

// A date part as stored: truncated, taken as an unsigned 16-bit number.
std::string DatePart(double value) {
  const double whole = std::trunc(value);
  const long part = std::isfinite(whole) && std::fabs(whole) < 2e9 ? static_cast<long>(whole) : 0;
  return std::to_string(static_cast<std::uint16_t>(part & 0xFFFF));
}

LONG PointCount(CFileFunctions& cf, IiPlotXPtr& plot, const char* channel) {
  LONG n = 0;
  Raise(cf.GetPlotChannelByName(plot, channel)->GetCount(&n));
  return n;
}

// Asks for a ".pst" file and reads it whole through the file plot. False on
// Cancel, and with "File open error." when it is no partial stroke test:
// another layout, or settings and results channels without exactly their
// points.
bool ReadFile(CFileFunctions& cf, IiPlotXPtr& filePlot, FileTexts& out) {
  const std::optional<std::string> path =
      plotfile::AskCompareOpen("pst", TheLanguageTable().Lookup("FILEOPENPART"));
  if (!path) return false;
  try {
    Raise(filePlot->ClearAllData());
    Raise(filePlot->LoadDataFromFile(path->c_str()));
    plotfile::RequireLayout(filePlot.GetInterfacePtr(), plotfile::kPSTFile);
    plotfile::RequireFinite(filePlot.GetInterfacePtr());
    if (PointCount(cf, filePlot, "TestSettings") != kSettingsCount ||
        PointCount(cf, filePlot, "Results") != kResultsCount)
      _com_issue_error(E_FAIL);
    FileTexts f;
    f[kName] = std::filesystem::path(*path).filename().string().c_str();
    for (const auto& [text, point] : kSettingPoints)
      f[text] = testfile::NumberText(plotfile::PointY(cf, filePlot, "TestSettings", point)).c_str();
    f[kDate] = (DatePart(plotfile::PointY(cf, filePlot, "TestSettings", 5)) + "/" +
                      DatePart(plotfile::PointY(cf, filePlot, "TestSettings", 6)) + "/" +
                      DatePart(plotfile::PointY(cf, filePlot, "TestSettings", 7)))
                         .c_str();
    f[kTag] = testfile::TagText(plotfile::AllY(cf, filePlot, "TagName"));
    for (const auto& [text, point] : {std::pair{kBreakaway, 0}, std::pair{kToTarget, 1}})
      f[text] = CFileFunctions::PSTTimeText(plotfile::PointY(cf, filePlot, "Results", point), "%5.2f").c_str();
    f[kResult] = CFileFunctions::PSTResultText(
        testfile::LowByte(plotfile::PointY(cf, filePlot, "Results", 2)));
    out = f;
    return true;
  } catch (const std::exception&) {
    MessageBox(nullptr, "File open error.", "", MB_OK);
    return false;
  }
}

// Writes a file's texts into the places of file 1 (0) or file 2 (1).
void StoreTexts(TextArray<31>& compare, const FileTexts& f, size_t file) {
  for (Text t : {kTag, kDate, kName, kStart, kStop, kRamp, kHold, kLimit, kBreakaway, kToTarget, kResult})
    compare[t + file] = f[t];
}

// |file 1 - file 2| from the two-decimal texts; no difference of a time
// the device did not measure.
_bstr_t TimeDifference(const _bstr_t& a, const _bstr_t& b) {
  const std::string missing = CFileFunctions::kMissingPSTTimeText;
  if (a.str() == missing || b.str() == missing) return missing.c_str();
  return plat::FormatNumber("%5.2f", std::fabs(testfile::TextNumber(a) - testfile::TextNumber(b))).c_str();
}

void ZoomToFit(IiPlotXPtr& plot) {
  Raise(AxisByName(plot, true, "RampX")->ZoomToFit());
  Raise(AxisByName(plot, false, "RampPerc")->ZoomToFit());
}

}  // namespace

void CFileFunctions::SetupPSTCompareChannels(IiPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kCompareChannels, kCompareChannels.size(),
                           &CFileFunctions::SetupPlotChannel);
}

void CFileFunctions::SetupPSTCompareSettings(IiPlotXPtr plot) {
  // The storage channels are never drawn.
  plotfile::LayOutChannels(*this, plot, kFileChannels, kFileDataChannels, &CFileFunctions::SetupPlotChannel);
}

bool CFileFunctions::LoadPSTCompareFile1(IiPlotXPtr filePlot, IiPlotXPtr comparePlot) {
  FileTexts f;
  if (!ReadFile(*this, filePlot, f)) return false;
  try {
    Raise(comparePlot->ClearAllData());
    for (Text t : kFileTexts) m_strPSTCompare[t] = m_strPSTCompare[t + 1] = "";
    for (const auto& [text, point] : kSettingPoints) m_strPSTCompare[text] = m_strPSTCompare[text + 1] = "0.0";
    m_strPSTCompare[kBreakawayDiff] = m_strPSTCompare[kToTargetDiff] = "";
    StoreTexts(m_strPSTCompare, f, 0);
    for (const Trace& t : kTraces) CopyPlotChannelPoints(t.file1, t.file1, true, filePlot, comparePlot);
    ZoomToFit(comparePlot);
    return true;
  } catch (const std::exception&) {
    MessageBox(nullptr, "File open error.", "", MB_OK);
    return false;
  }
}

bool CFileFunctions::LoadPSTCompareFile2(IiPlotXPtr filePlot, IiPlotXPtr comparePlot, CWnd* page) {
  FileTexts f;
  if (!ReadFile(*this, filePlot, f)) return false;
  TextArray<31> texts = m_strPSTCompare;
  StoreTexts(texts, f, 1);
  texts[kBreakawayDiff] = TimeDifference(texts[kBreakaway], texts[kBreakaway + 1]);
  texts[kToTargetDiff] = TimeDifference(texts[kToTarget], texts[kToTarget + 1]);
  const bool same = ArePSTSettingsEqual(texts[kStart], texts[kStart + 1], texts[kStop], texts[kStop + 1],
                                        texts[kRamp], texts[kRamp + 1], texts[kHold], texts[kHold + 1]);
  // The time limit is no setting of the stroke itself: it is not compared.
  if (!same) {
    const char* question = "Settings do not Match. Comparision may be Invalid. Do you wish to continue";
    const int answer = page ? page->MessageBox(question, "Compare", MB_OKCANCEL)
                            : MessageBox(nullptr, question, "Compare", MB_OKCANCEL);
    if (answer != IDOK) return false;
  }
  try {
    for (const Trace& t : kTraces) {
      CopyPlotChannelPoints2(t.file1, t.file2, t.markEvery, true, filePlot, comparePlot);
      ComputePlotChannelDelta(t.file1, t.file2, t.difference, t.markEvery, true, comparePlot);
    }
    ZoomToFit(comparePlot);
  } catch (const std::exception&) {
    MessageBox(nullptr, "File open error.", "", MB_OK);
    return false;
  }
  m_strPSTCompare = texts;
  return true;
}
