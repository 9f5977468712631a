// The data logger plot and the data logger record file.
#include <array>
#include <optional>

#include "files/plot_file_kit.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "support/language_table.h"

using testfile::Raise;
using plotfile::Axis;

namespace {

const testfile::Kind kLogger{"lgr", "_DATA_LOGGER", "FILESAVELOGAS", "FILEOPENLOG", ""};
constexpr const char* kSettingsExtension = ".datalogprp";

// The order is the order of the channels in a ".lgr" file.
constexpr std::array<testfile::ChannelRow, 8> kLoggerChannels{{
    {"Position", "Position", "TAxis", "Percent", 0x0A0AFF, 0},
    {"Command", "Command", "TAxis", "Percent", 0xC00000, 1},
    {"AnalogCommand", "4 - 20 Command", "TAxis", "Percent", 0x5096FF, 9},
    {"Temperature", "Temperature", "TAxis", "Temperature", 0x808080, 4},
    {"Spool_CMD", "Pilot Relay Command", "TAxis", "Percent", 0x004000, 5},
    {"Spool_Pos", "Pilot Relay Position", "TAxis", "Percent", 0x000080, 6},
    {"TestSettings", "TestSettings", "None", "None", 0xCC00CC, 12},
    {"TagName", "TagName", "None", "None", 0x000080, 12},
}};
constexpr size_t kLoggerDataChannels = 6;
// A plot loads any data file by position: only the layout tells a record
// from another kind's file.
const plotfile::FileLayout kLoggerFile{false, kLoggerChannels};

constexpr const char* kSettings = "TestSettings";
constexpr const char* kTag = "TagName";

// The file keeps the unit before the duration and the interval.
constexpr std::array kSettingsInFile{&LoggerSettingTexts::unit,  &LoggerSettingTexts::duration,
                                     &LoggerSettingTexts::interval, &LoggerSettingTexts::days,
                                     &LoggerSettingTexts::hours, &LoggerSettingTexts::minutes,
                                     &LoggerSettingTexts::seconds};

constexpr CY kPoints = 10000;  // one point in a font size

}  // namespace

void CFileFunctions::SetupDataLoggerPlot(IiPlotXPtr plot) {
  Raise(plot->BeginUpdate());
  IiPlotToolBarPtr toolBar;
  Raise(plot->GetToolBar(0, &toolBar));
  Raise(toolBar->SetVisible(VARIANT_TRUE));
  Raise(plot->SetTitle(TheLanguageTable().Lookup("IDD_DIAGNOSTIC_DATALOGGER")));
  Raise(plot->SetTitleFontColor(0x808080));
  IFontPtr titleFont;
  Raise(plot->GetTitleFont(&titleFont));
  Raise(titleFont->put_Size(11 * kPoints));
  Raise(plot->SetTitleFont(titleFont.GetInterfacePtr()));

  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName("TAxis"));
  Raise(view->SetYAxisName("Percent"));
  Raise(plot->SetBackgroundColor(0xFFFFFF));
  Raise(view->SetGridLineColor(0x00C000));
  Raise(view->SetGridLinesVisible(VARIANT_TRUE));

  IiPlotAxisPtr time = Axis(plot, true, 0);
  Raise(time->SetMin(-1));
  Raise(time->SetSpan(61));
  Raise(time->SetTitle("Time (s)"));
  Raise(time->SetName("TAxis"));

  LONG yAxes = 0;
  for (Raise(plot->GetYAxisCount(&yAxes)); yAxes < 2; ++yAxes) Raise(plot->AddYAxis(nullptr));
  IiPlotAxisPtr percent = Axis(plot, false, 0);
  IiPlotAxisPtr temperature = Axis(plot, false, 1);
  Raise(percent->SetMin(-10));
  Raise(temperature->SetMin(0));
  Raise(percent->SetSpan(106));
  Raise(temperature->SetSpan(100));
  Raise(percent->SetName("Percent"));
  Raise(temperature->SetName("Temperature"));
  Raise(percent->SetTitle("Percent (%)"));
  Raise(temperature->SetTitle("Temperature"));

  IFontPtr yFont;
  Raise(percent->GetTitleFont(&yFont));
  Raise(yFont->put_Bold(TRUE));
  Raise(yFont->put_Size(8 * kPoints));
  Raise(percent->SetTitleFont(yFont.GetInterfacePtr()));
  Raise(temperature->SetTitleFont(yFont.GetInterfacePtr()));
  IFontPtr xFont;
  Raise(time->GetTitleFont(&xFont));
  Raise(xFont->put_Size(8 * kPoints));
  Raise(xFont->put_Bold(TRUE));
  Raise(time->SetTitleFont(xFont.GetInterfacePtr()));
  Raise(plot->EndUpdate());
}

void CFileFunctions::SetupDataLoggerChannels(IiPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kLoggerChannels, kLoggerDataChannels, &CFileFunctions::SetupPlotChannel);
}

void CFileFunctions::SaveDataLoggerFile(IiPlotXPtr plot) {
  const std::optional<std::string> path =
      plotfile::AskSave(kLogger.extension, testfile::DefaultFileName(m_strFileTag, kLogger, plat::Time().Now()),
                        TheLanguageTable().Lookup(kLogger.saveTitleKey));
  if (!path) return;
  try {
    const std::string settingsFile = plotfile::StemOf(*this, *path) + kSettingsExtension;
    std::vector<double> settings;
    for (const auto setting : kSettingsInFile) settings.push_back(testfile::TextNumber(m_strLoggerSettings.*setting));
    plotfile::ReplacePoints(*this, plot, kSettings, settings);
    plotfile::ReplacePoints(*this, plot, kTag, testfile::TagCodes(m_strFileTag));
    plotfile::WriteWhole(plot.GetInterfacePtr(), *path, settingsFile);
  } catch (const std::exception&) {
    MessageBox(nullptr, "File save error.", kLogger.saveErrorCaption, MB_OK);
  }
}

bool CFileFunctions::OpenDataLoggerFile(IiPlotXPtr plot) {
  const std::optional<std::string> path =
      plotfile::AskOpen(kLogger.extension, TheLanguageTable().Lookup(kLogger.openTitleKey));
  if (!path) return false;
  return plotfile::OpenOrRefuse("File open error.", [&] {
    const std::string folder = plotfile::FolderOf(*this, *path);
    const std::string settingsFile = plotfile::StemOf(*this, *path) + kSettingsExtension;
    plotfile::KeepSettingsAs(plot.GetInterfacePtr(), folder + "default" + kSettingsExtension);
    plotfile::FileRead file(plot);
    file.LoadData(*path);
    file.LoadSettings(settingsFile);
    file.Check(&kLoggerFile);
    LoggerSettingTexts settings;
    for (LONG i = 0; i < 7; ++i)
      settings.*kSettingsInFile[i] = testfile::NumberText(plotfile::PointY(*this, file.Plot(), kSettings, i));
    const _bstr_t tag = testfile::TagText(plotfile::AllY(*this, file.Plot(), kTag));

    file.TakeOver();
    m_strLoggerSettings = settings;
    m_strFileTag = tag;
  });
}
