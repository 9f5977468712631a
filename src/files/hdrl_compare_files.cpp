// The HDRL comparison's loaders: a ".hdrl" file read whole on the file
// plot, its run and results worked out there, and only then taken into the
// compare plot and the compare texts. A file that cannot be read, or a
// second file refused at the settings question, leaves both as they were.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "files/hdrl_file.h"
#include "files/plot_file_kit.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"
#include "support/language_table.h"

using testfile::Raise;

namespace {

// The eight data channels in the order they are copied; file 2's are named
// with a "2" after them.
constexpr const char* kDataChannels[] = {"Position",      "Command",       "AverageError",  "LeastSquareLine",
                                         "1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"};

// Where each file's texts are: file 1 at the index, file 2 one after it.
enum : size_t { kTag = 0, kDate = 2, kName = 4, kSettlingTime = 6 };
// The results in the order of hdrlfile::Run::results; the difference of
// each is two after file 1's.
constexpr size_t kResults[] = {8, 11, 14, 17, 20};

// A date part as stored: truncated toward zero, an unsigned 16-bit number.
std::string DatePart(double value) {
  return std::to_string(static_cast<uint16_t>(static_cast<long long>(std::trunc(value))));
}

// One file as the compare texts show it.
struct FileTexts {
  _bstr_t tag, date, name, settlingTime;
  std::array<_bstr_t, 5> results;
  double seconds = 0;  // the settling time as a number
};

// Reads the chosen file whole into the file plot; a file that cannot be
// read, or that is no HDRL test, raises.
FileTexts ReadFile(CFileFunctions& cf, IiXYPlotXPtr& filePlot, const std::string& path) {
  Raise(filePlot->ClearAllData());
  Raise(filePlot->LoadDataFromFile(path.c_str()));
  plotfile::RequireLayout(filePlot.GetInterfacePtr(), plotfile::kHDRLFile);
  plotfile::RequireFinite(filePlot.GetInterfacePtr());
  const hdrlfile::Run run = hdrlfile::ReadRun(cf, filePlot);
  FileTexts t;
  t.tag = run.tag;
  t.date = (DatePart(run.month) + "/" + DatePart(run.day) + "/" + DatePart(run.year)).c_str();
  t.name = std::filesystem::path(path).filename().string().c_str();
  t.settlingTime = testfile::NumberText(run.settlingTime).c_str();
  for (size_t i = 0; i < t.results.size(); ++i) t.results[i] = hdrlfile::ResultText(run.results[i]);
  t.seconds = run.settlingTime;
  return t;
}

// The data channels of the file plot into the compare plot's channels of
// file 1 (suffix "") or file 2 (suffix "2"), which are emptied first.
void TakeRun(CFileFunctions& cf, IiXYPlotXPtr& filePlot, IiXYPlotXPtr& comparePlot, const char* suffix) {
  for (const char* name : kDataChannels) {
    const _bstr_t target((std::string(name) + suffix).c_str());
    Raise(cf.GetXYPlotChannelByName(comparePlot, target)->Clear());
    cf.CopyXYChannelPoints(name, target, true, filePlot, comparePlot);
  }
}

void Store(CFileFunctions& cf, const FileTexts& t, size_t file) {
  auto& texts = cf.m_strHDRLCompare;
  texts[kTag + file] = t.tag;
  texts[kDate + file] = t.date;
  texts[kName + file] = t.name;
  texts[kSettlingTime + file] = t.settlingTime;
  for (size_t i = 0; i < t.results.size(); ++i) texts[kResults[i] + file] = t.results[i];
}

// |file 1 - file 2|; empty when either gives no number.
_bstr_t Difference(const _bstr_t& a, const _bstr_t& b) {
  const std::optional<double> x = plat::LeadingNumber(a), y = plat::LeadingNumber(b);
  if (!x || !y) return "";
  return testfile::NumberText(std::fabs(*x - *y)).c_str();
}

std::optional<std::string> AskFile() {
  return plotfile::AskCompareOpen("hdrl", TheLanguageTable().Lookup("FILEOPENHDRL"));
}

void OpenError() { MessageBox(nullptr, "File open error.", "", MB_OK); }

}  // namespace

bool CFileFunctions::LoadHDRLCompareFile1(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot) {
  const std::optional<std::string> path = AskFile();
  if (!path) return false;
  try {
    const FileTexts file = ReadFile(*this, filePlot, *path);
    // A new comparison: file 2 goes with the old file 1.
    Raise(comparePlot->ClearAllData());
    TakeRun(*this, filePlot, comparePlot, "");
    hdrlfile::SetRanges(comparePlot, "Time", file.seconds);
    for (_bstr_t& text : m_strHDRLCompare) text = "";
    Store(*this, file, 0);
    return true;
  } catch (const std::exception&) {
    OpenError();
    return false;
  }
}

bool CFileFunctions::LoadHDRLCompareFile2(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot, CWnd* page) {
  const std::optional<std::string> path = AskFile();
  if (!path) return false;
  FileTexts file;
  try {
    file = ReadFile(*this, filePlot, *path);
  } catch (const std::exception&) {
    OpenError();
    return false;
  }
  // Asked before anything changes, so that Cancel keeps the file 2 shown.
  if (file.settlingTime.view() != m_strHDRLCompare[kSettlingTime].view()) {
    const char* text = "Settings do not Match. Comparision may be Invalid. Do you wish to continue";
    const int answer =
        page ? page->MessageBox(text, "Compare", MB_OKCANCEL) : MessageBox(nullptr, text, "Compare", MB_OKCANCEL);
    if (answer != IDOK) return false;
  }
  try {
    TakeRun(*this, filePlot, comparePlot, "2");
    hdrlfile::SetRanges(comparePlot, "Time2", file.seconds);
  } catch (const std::exception&) {
    OpenError();
    return false;
  }
  Store(*this, file, 1);
  for (size_t first : kResults)
    m_strHDRLCompare[first + 2] = Difference(m_strHDRLCompare[first], m_strHDRLCompare[first + 1]);
  return true;
}
