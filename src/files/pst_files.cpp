// The partial stroke test plot and the partial stroke test file.
#include <array>
#include <cmath>
#include <optional>

#include "files/plot_file_kit.h"
#include "platform/sys/numeric.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "support/language_table.h"

using testfile::Raise;
using plotfile::NotBold;
using plotfile::AxisByName;

namespace {

const testfile::Kind kPST{"pst", "_PST", "FILESAVEPARTAS", "FILEOPENPART", ""};

// The order is the order of the channels in a ".pst" file.
constexpr std::array<testfile::ChannelRow, 7> kPSTChannels{{
    {"Position", "Position", "RampX", "RampPerc", 0x0A0AFF, 0},
    {"Command", "Command", "RampX", "RampPerc", 0xC00000, 1},
    {"ILCmd", "Pilot Relay Command", "RampX", "RampPerc", 0x004000, 5},
    {"ILPos", "Pilot Relay Position", "RampX", "RampPerc", 0x000080, 6},
    {"TestSettings", "TestSettings", "None", "None", 0xCC00CC, 12},
    {"Results", "Results", "None", "None", 0x004000, 12},
    {"TagName", "TagName", "None", "None", 0x000080, 12},
}};
constexpr size_t kPSTDataChannels = 4;

constexpr const char* kSettings = "TestSettings";
constexpr const char* kResults = "Results";
constexpr const char* kTag = "TagName";

// The file keeps the time limit before the ramp and hold times.
constexpr std::array kSettingsInFile{&PSTSettingTexts::start, &PSTSettingTexts::stop, &PSTSettingTexts::timeLimit,
                                     &PSTSettingTexts::rampTime, &PSTSettingTexts::hold};

// Compared as the hundredths the device counts in: the float it sends for
// 655.35 is a little less than that.
bool IsMissingTime(double seconds) { return std::lround(100.0 * seconds) >= 65535; }

}  // namespace

const plotfile::FileLayout plotfile::kPSTFile{false, kPSTChannels};

std::string CFileFunctions::PSTTimeText(double seconds, const char* format) {
  return IsMissingTime(seconds) ? kMissingPSTTimeText : plat::FormatNumber(format, seconds);
}

_bstr_t CFileFunctions::PSTResultText(int code) {
  if (code < 0 || code > 3) return _bstr_t("");
  return TheLanguageTable().Lookup(("PST_RESULT_" + std::to_string(code) + "_EnumDescr").c_str());
}

void CFileFunctions::SetupPSTPlot(IiPlotXPtr plot) {
  Raise(plot->BeginUpdate());
  IiPlotToolBarPtr toolBar;
  Raise(plot->GetToolBar(0, &toolBar));
  Raise(toolBar->SetVisible(VARIANT_TRUE));
  Raise(plot->SetTitle("Partial Stroke Test"));
  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName("<All>"));
  Raise(view->SetYAxisName("<All>"));
  Raise(plot->SetBackgroundColor(0xFFFFFF));
  Raise(view->SetGridLineColor(0x00C000));
  Raise(view->SetGridLinesVisible(VARIANT_TRUE));
  IiPlotAxisPtr x;
  Raise(plot->GetXAxis(0, &x));
  Raise(x->SetMin(0));
  Raise(x->SetSpan(10000));
  Raise(x->SetTitle("Time [ms]"));
  Raise(x->SetName("RampX"));
  NotBold(x);
  IiPlotAxisPtr y;
  Raise(plot->GetYAxis(0, &y));
  Raise(y->SetMin(0));
  Raise(y->SetSpan(130));
  Raise(y->SetName("RampPerc"));
  Raise(y->SetTitle("Position [%]"));
  Raise(y->SetLimitLow(0));
  Raise(y->SetLimitHigh(100));
  NotBold(y);
  Raise(plot->EndUpdate());
}

void CFileFunctions::SetupPSTChannels(IiPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kPSTChannels, kPSTDataChannels, &CFileFunctions::SetupPlotChannel);
}

void CFileFunctions::SavePSTFile(IiPlotXPtr plot) {
  const std::optional<std::string> path =
      plotfile::AskSave(kPST.extension, testfile::DefaultFileName(m_strPSTTag, kPST, plat::Time().Now()),
                        TheLanguageTable().Lookup(kPST.saveTitleKey));
  if (!path) return;
  try {
    using testfile::TextNumber;
    const plat::LocalTime now = plat::Time().Now();
    // Emptied first, so that a second save stores the values of now.
    std::vector<double> settings;
    for (const auto setting : kSettingsInFile) settings.push_back(TextNumber(m_strPSTSettings.*setting));
    settings.insert(settings.end(),
                    {static_cast<double>(now.month), static_cast<double>(now.day), static_cast<double>(now.year)});
    plotfile::ReplacePoints(*this, plot, kSettings, settings);
    plotfile::ReplacePoints(
        *this, plot, kResults,
        {TextNumber(m_strPSTBreakawayTime), TextNumber(m_strPSTTimeToTarget), static_cast<double>(m_nPSTResultCode)});
    plotfile::ReplacePoints(*this, plot, kTag, testfile::TagCodes(m_strPSTTag));
    plotfile::WriteWhole(plot.GetInterfacePtr(), *path);
  } catch (const std::exception&) {
    MessageBox(nullptr, "File save error.", kPST.saveErrorCaption, MB_OK);
  }
}

bool CFileFunctions::OpenPSTFile(IiPlotXPtr plot) {
  const std::optional<std::string> path =
      plotfile::AskOpen(kPST.extension, TheLanguageTable().Lookup(kPST.openTitleKey));
  if (!path) return false;
  return plotfile::OpenOrRefuse("File open error.", [&] {
    plotfile::FileRead file(plot);
    file.LoadData(*path);
    file.Check(&plotfile::kPSTFile);
    IiPlotXPtr& read = file.Plot();
    PSTSettingTexts settings;
    for (LONG i = 0; i < 5; ++i)
      settings.*kSettingsInFile[i] = testfile::NumberText(plotfile::PointY(*this, read, kSettings, i));
    const _bstr_t tag = testfile::TagText(plotfile::AllY(*this, read, kTag));
    const _bstr_t breakaway = plat::FormatNumber("%5.2f", plotfile::PointY(*this, read, kResults, 0));
    const _bstr_t timeToTarget = plat::FormatNumber("%5.2f", plotfile::PointY(*this, read, kResults, 1));
    const int code = testfile::LowByte(plotfile::PointY(*this, read, kResults, 2));
    const _bstr_t result = PSTResultText(code);
    IiPlotAxisPtr x = AxisByName(plot, true, "RampX");
    IiPlotAxisPtr y = AxisByName(plot, false, "RampPerc");

    file.TakeOver();
    Raise(x->ZoomToFit());
    Raise(y->ZoomToFit());
    m_strPSTSettings = settings;
    m_strPSTTag = tag;
    m_strPSTBreakawayTime = breakaway;
    m_strPSTTimeToTarget = timeToTarget;
    m_nPSTResultCode = static_cast<BYTE>(code);
    m_strPSTResult = result;
  });
}
