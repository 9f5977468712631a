// The HDRL test plots and the HDRL test file.
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "files/hdrl_file.h"
#include "files/plot_file_kit.h"
#include "files/hdrl_analysis.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "support/language_table.h"

using testfile::Raise;
using plotfile::NotBold;
using plotfile::Axis;
using plotfile::AxisByName;

namespace {

const testfile::Kind kHDRL{"hdrl", "_HDRL", "FILESAVEHDRLAS", "FILEOPENHDRL", ""};

// The order is the order of the channels in a ".hdrl" file.
constexpr std::array<testfile::ChannelRow, 10> kHDRLChannels{{
    {"Position", "Position", "Time", "Position", 0x0A0AFF, 0},
    {"Command", "Command", "Time", "Position", 0xC00000, 1},
    {"1stCycle-Incr", "1st Cycle-Incr", "Command", "PositionError", 0x0A0AFF, 0},
    {"1stCycle-Decr", "1st Cycle-Decr", "Command", "PositionError", 0x0A0AFF, 1},
    {"2ndCycle-Incr", "2nd Cycle-Incr", "Command", "PositionError", 0xC00000, 2},
    {"2ndCycle-Decr", "2nd Cycle-Decr", "Command", "PositionError", 0xC00000, 3},
    {"AverageError", "Average Error", "Command", "PositionError", 0x00FF00, 4},
    {"LeastSquareLine", "Least SquareLine", "Command", "PositionError", 0x000000, 5},
    {"TestSettings", "TestSettings", "None", "None", 0xCC00CC, 12},
    {"TagName", "TagName", "None", "None", 0x000080, 12},
}};
constexpr size_t kHDRLDataChannels = 8;

struct AxisRow {
  bool x;
  LONG index;
  const char* name;
  double min;
  double span;
  const char* titleKey;
};
constexpr std::array<AxisRow, 5> kHDRLAxes{{
    {true, 0, "Time", 0.0, 75.0, nullptr},
    {true, 1, "Command", 0.0, 100.0, nullptr},
    {true, 2, "Time2", 0.0, 75.0, nullptr},
    {false, 0, "Position", 0.0, 100.0, "HDRLPOSNPERC"},
    {false, 1, "PositionError", -2.5, 5.0, "HDRLPOSERR"},
}};

constexpr const char* kSettings = "TestSettings";
constexpr const char* kTag = "TagName";
using hdrl::Point;
constexpr LONG kSteps = hdrl::kStairs;

std::vector<Point> AllPoints(CFileFunctions& cf, IiXYPlotXPtr& plot, const char* channel) {
  IiXYPlotChannelPtr c = cf.GetXYPlotChannelByName(plot, channel);
  LONG count = 0;
  Raise(c->GetCount(&count));
  std::vector<Point> points(static_cast<size_t>(count));
  for (LONG i = 0; i < count; ++i) {
    Raise(c->GetX(i, &points[i].x));
    Raise(c->GetY(i, &points[i].y));
  }
  return points;
}

void AddPoint(CFileFunctions& cf, IiXYPlotXPtr& plot, const char* channel, double x, double y) {
  Raise(cf.GetXYPlotChannelByName(plot, channel)->AddXY(x, y, nullptr));
}

// A settling time that can scale a time axis.
bool Usable(double settlingTime) { return std::isfinite(settlingTime) && settlingTime > 0; }

// One value a step into the run form: step k at k x T and again at its
// stored x plus T, the last step once.
void ConvertRun(CFileFunctions& cf, IiXYPlotXPtr& plot, double settlingTime) {
  const std::vector<Point> position = AllPoints(cf, plot, "Position");
  const std::vector<Point> command = AllPoints(cf, plot, "Command");
  if (position.size() < static_cast<size_t>(kSteps)) _com_issue_error(DISP_E_BADINDEX);
  Raise(cf.GetXYPlotChannelByName(plot, "Position")->Clear());
  Raise(cf.GetXYPlotChannelByName(plot, "Command")->Clear());
  for (LONG k = 0; k < kSteps; ++k) {
    AddPoint(cf, plot, "Position", k * settlingTime, position[k].y);
    AddPoint(cf, plot, "Command", k * settlingTime, command[k].y);
    if (k == kSteps - 1) break;
    AddPoint(cf, plot, "Position", position[k].x + settlingTime, position[k].y);
    AddPoint(cf, plot, "Command", command[k].x + settlingTime, command[k].y);
  }
}

}  // namespace

const plotfile::FileLayout plotfile::kHDRLFile{true, kHDRLChannels};

namespace hdrlfile {

void SetRanges(IiXYPlotXPtr& plot, const char* timeAxis, double settlingTime) {
  // Without a usable settling time the time axis keeps its range.
  if (Usable(settlingTime)) {
    IiPlotAxisPtr time = AxisByName(plot, true, timeAxis);
    Raise(time->SetMin(0));
    Raise(time->SetStartValue(0));
    Raise(time->SetSpan(settlingTime * 24));
  }
  IiPlotAxisPtr command = AxisByName(plot, true, "Command");
  Raise(command->SetMin(0));
  Raise(command->SetStartValue(0));
  Raise(command->SetSpan(100));
  IiPlotAxisPtr position = AxisByName(plot, false, "Position");
  Raise(position->SetMin(0));
  Raise(position->SetSpan(100));
  IiPlotAxisPtr error = AxisByName(plot, false, "PositionError");
  Raise(error->SetMin(-1.5));
  Raise(error->SetSpan(3));
}

_bstr_t ResultText(double value) {
  return std::isnan(value) ? _bstr_t("") : _bstr_t(testfile::NumberText(value).c_str());
}

Run ReadRun(CFileFunctions& cf, IiXYPlotXPtr& plot) {
  Run run;
  run.month = testfile::PointY(cf, plot, kSettings, 0);
  run.day = testfile::PointY(cf, plot, kSettings, 1);
  run.year = testfile::PointY(cf, plot, kSettings, 2);
  run.settlingTime = testfile::PointY(cf, plot, kSettings, 3);
  // Every file of ours carries the date it was saved; another kind's file
  // renamed to ".hdrl" has other values where the date should be.
  const auto whole = [](double v, double low, double high) { return v >= low && v <= high && v == std::trunc(v); };
  if (!whole(run.month, 1, 12) || !whole(run.day, 1, 31) || !whole(run.year, 0, 65535)) _com_issue_error(E_FAIL);
  LONG commandCount = 0;
  Raise(cf.GetXYPlotChannelByName(plot, "Command")->GetCount(&commandCount));
  if (commandCount == kSteps && Usable(run.settlingTime)) ConvertRun(cf, plot, run.settlingTime);
  const double none = std::numeric_limits<double>::quiet_NaN();
  double repeatability[2] = {none, none}, hysteresis[2] = {none, none}, linearity = 0;
  cf.ComputeRepeatability(plot, &repeatability[0], &repeatability[1], 1);
  cf.ComputeLeastSquareLine(plot, &linearity, 1);
  cf.ComputeHysteresisDeadband(plot, &hysteresis[0], &hysteresis[1], 1);
  run.results = {repeatability[0], repeatability[1], hysteresis[0], hysteresis[1], linearity};
  run.tag = testfile::TagText(testfile::AllY(cf, plot, kTag));
  return run;
}

}  // namespace hdrlfile

void CFileFunctions::SetupHDRLPlots(IiXYPlotXPtr plot) {
  Raise(plot->BeginUpdate());
  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName("<All>"));
  Raise(view->SetYAxisName("<All>"));
  Raise(plot->SetBackgroundColor(0xFFFFFF));
  Raise(view->SetGridLineColor(0x00C000));
  Raise(view->SetGridLinesVisible(VARIANT_TRUE));
  LONG count = 0;
  for (Raise(plot->GetXAxisCount(&count)); count < 3; ++count) Raise(plot->AddXAxis(nullptr));
  for (Raise(plot->GetYAxisCount(&count)); count < 2; ++count) Raise(plot->AddYAxis(nullptr));
  for (const AxisRow& r : kHDRLAxes) {
    IiPlotAxisPtr axis = Axis(plot, r.x, r.index);
    Raise(axis->SetMin(r.min));
    Raise(axis->SetSpan(r.span));
    Raise(axis->SetName(r.name));
    NotBold(axis);
    if (r.titleKey) Raise(axis->SetTitle(TheLanguageTable().Lookup(r.titleKey)));
  }
  Raise(plot->EndUpdate());
}

void CFileFunctions::SetupHDRLChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kHDRLChannels, kHDRLDataChannels, &CFileFunctions::SetupXYPlotChannel);
}

void CFileFunctions::SaveHDRLFile(IiXYPlotXPtr plot) {
  const std::optional<std::string> path =
      plotfile::AskSave(kHDRL.extension, testfile::DefaultFileName(m_strHDRLTag, kHDRL, plat::Time().Now()),
                        TheLanguageTable().Lookup(kHDRL.saveTitleKey));
  if (!path) return;
  try {
    const plat::LocalTime now = plat::Time().Now();
    const double settlingTime = testfile::TextNumber(m_strHDRLSettlingTime);
    // Emptied first, so that a second save stores the date and settling time of now.
    testfile::ReplacePoints(
        *this, plot, kSettings,
        {static_cast<double>(now.month), static_cast<double>(now.day), static_cast<double>(now.year), settlingTime});
    testfile::ReplacePoints(*this, plot, kTag, testfile::TagCodes(m_strHDRLTag));
    plotfile::WriteWhole(plot.GetInterfacePtr(), *path);
    hdrlfile::SetRanges(plot, "Time", settlingTime);
  } catch (const std::exception&) {
    MessageBox(nullptr, TheLanguageTable().Lookup("FILESAVEERR"), "", MB_OK);
  }
}

bool CFileFunctions::OpenHDRLFile(IiXYPlotXPtr plot) {
  const std::optional<std::string> path =
      plotfile::AskOpen(kHDRL.extension, TheLanguageTable().Lookup(kHDRL.openTitleKey));
  if (!path) return false;
  const std::string error = TheLanguageTable().Lookup("FILEOPENERR").str();
  return plotfile::OpenOrRefuse(error, [&] {
    plotfile::FileRead file(plot);
    file.LoadData(*path);
    file.Check(&plotfile::kHDRLFile);
    // The run form and the results are worked out in the plot read aside;
    // its axes, named as the shown plot's, fail as the shown plot's would.
    const hdrlfile::Run run = hdrlfile::ReadRun(*this, file.Plot());
    hdrlfile::SetRanges(file.Plot(), "Time", run.settlingTime);
    file.Gather();

    file.TakeOver();
    hdrlfile::SetRanges(plot, "Time", run.settlingTime);
    m_strHDRLSettlingTime = testfile::NumberText(run.settlingTime).c_str();
    for (size_t i = 0; i < run.results.size(); ++i) InOrder(m_strHDRLResults, i) = hdrlfile::ResultText(run.results[i]);
    m_strHDRLTag = run.tag;
  });
}
