// The data monitor page against the simulated positioner on the manual
// clock: a run counts ticks as seconds, samples the six values at every
// interval-th tick of each minute, stops one tick after the last sample,
// and its record is saved, opened and printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/data_monitor.h"
#include "test_page_fixture.h"
#include "support/report_probe.h"
#include "support/language_table.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using View = CDiagnostics_DataMonitorView;

const Bytes kUnitRead = Read200({152});
const Bytes kSampleRead = Read200({6, 2, 10, 48, 49, 135});
const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};

using testpages::Text;

class DataMonitorPage : public testpages::DiagnosticPage<View, 16> {
 public:
  // A record's settings file has its own name.
  void TearDown() override {
    for (const std::string& f : files) std::remove((f.substr(0, f.size() - 4) + ".datalogprp").c_str());
    DiagnosticPage::TearDown();
  }

  CComboBox* List(int id) { return page->GetDlgItemAs<CComboBox>(id); }
  // Shown: the unit read on the first tick.
  void Show() {
    page->StartMonitoring();
    Tick();
    device->ClearRequests();
  }
  void Settings(int interval, double duration, int unit) {
    List(View::kIntervalListId)->SetCurSel(interval);
    page->GetDurationField()->put_Value(duration);
    List(View::kUnitListId)->SetCurSel(unit);
  }
  double Duration() {
    double value = -1;
    page->GetDurationField()->get_Value(&value);
    return value;
  }
  // Start, then the start tick (no sample in it).
  void Start() {
    Click(View::kStartId);
    Tick();
  }
  std::vector<std::string> Elapsed() {
    return {Field(View::kDaysId), Field(View::kHoursId), Field(View::kMinutesId), Field(View::kSecondsId)};
  }
  std::string AxisTitle(bool x, const char* name) {
    IiPlotAxisPtr axis;
    x ? page->GetPlot()->GetXAxisByName(name, &axis) : page->GetPlot()->GetYAxisByName(name, &axis);
    _bstr_t title;
    if (axis) axis->GetTitle(&title);
    return title.str();
  }
};

constexpr const char* kChannels[] = {"Command", "Position", "AnalogCommand", "Temperature", "Spool_CMD", "Spool_Pos"};

// ---- Showing the page.

TEST_F(DataMonitorPage, BuiltWithItsListsAndShownItReadsTheUnitThenPollsEveryEighthIdleTick) {
  ASSERT_EQ(List(View::kIntervalListId)->GetCount(), 7);
  EXPECT_EQ(List(View::kIntervalListId)->GetLBText(6), "60");
  EXPECT_EQ(List(View::kIntervalListId)->GetCurSel(), 0);
  EXPECT_EQ(List(View::kUnitListId)->GetLBText(2), Text("IDC_COMBO_UNITDA"));
  EXPECT_EQ(Duration(), 1);
  for (int id : {View::kStartId, View::kStopId, View::kLoadId, View::kSaveId, View::kPrintId})
    EXPECT_FALSE(Enabled(id)) << id;
  for (const char* c : kChannels) EXPECT_TRUE(Shown(c)) << c;
  EXPECT_EQ(AxisTitle(false, "Percent"), Text("IPLOTYAXPERC") + " (%)");
  EXPECT_EQ(AxisTitle(true, "TAxis"), Text("IDC_STATICTIMELABEL") + " (s)");

  page->StartMonitoring();
  for (int id : {View::kStartId, View::kLoadId}) EXPECT_TRUE(Enabled(id)) << id;
  // Nothing recorded or opened: nothing to save or print.
  for (int id : {View::kStopId, View::kSaveId, View::kPrintId}) EXPECT_FALSE(Enabled(id)) << id;
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kUnitRead});
  Tick();
  EXPECT_EQ(device->Requests().back(), kStatusPoll);
  device->ClearRequests();
  Tick(7);
  EXPECT_TRUE(device->Requests().empty());
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStatusPoll});
}

// The temperature axis carries the unit of variable 152: 33 is °F, any
// other code °C.
TEST_F(DataMonitorPage, TheTemperatureAxisTitleCarriesTheDeviceUnit) {
  for (const auto& [code, unit] : {std::pair{33, "\xC2\xB0" "F"}, std::pair{32, "\xC2\xB0" "C"}}) {
    device->SetVariable(152, code);
    Show();
    EXPECT_EQ(AxisTitle(false, "Temperature"), Text("IDC_BTN_TEMP") + " ( " + unit + " )");
    page->StopMonitoring();
  }
}

// ---- A run.

TEST_F(DataMonitorPage, ARunSamplesAtEveryIntervalThenStopsOneTickAfterTheLast) {
  struct Case {
    int interval;  // list index
    size_t samples;
    double firstX, step;
  };
  const Case cases[] = {{0, 30, 2, 2}, {2, 6, 10, 10}, {6, 1, 60, 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interval);
    Show();
    Settings(c.interval, 1, 0);
    Start();
    EXPECT_EQ(page->GetRunState(), View::kRunningState);
    EXPECT_FALSE(Enabled(View::kStartId));
    EXPECT_TRUE(Enabled(View::kStopId));
    EXPECT_FALSE(Enabled(View::kIntervalListId));
    BOOL on = TRUE;
    page->GetDurationField()->get_Enabled(&on);
    EXPECT_FALSE(on);
    EXPECT_TRUE(Points("Position").empty());  // cleared at the start
    EXPECT_EQ(Count(kSampleRead), 0u);

    Tick(59);
    EXPECT_EQ(Elapsed(), (std::vector<std::string>{"0", "0", "0", "59"}));
    Tick();
    EXPECT_EQ(Elapsed(), (std::vector<std::string>{"0", "0", "1", "0"}));
    EXPECT_EQ(Count(kSampleRead), c.samples);
    for (const char* name : kChannels) {
      const auto points = Points(name);
      ASSERT_EQ(points.size(), c.samples) << name;
      for (size_t i = 0; i < points.size(); ++i) EXPECT_EQ(points[i].first, c.firstX + c.step * i);
    }
    // Tick 61: the stop is asked for and the display stays; tick 62 stops.
    Tick();
    EXPECT_EQ(page->GetRunState(), View::kStopState);
    EXPECT_EQ(Elapsed(), (std::vector<std::string>{"0", "0", "1", "0"}));
    Tick();
    EXPECT_EQ(page->GetRunState(), View::kIdleState);
    EXPECT_EQ(Count(kSampleRead), c.samples);
    for (int id : {View::kStartId, View::kLoadId, View::kSaveId, View::kPrintId, View::kIntervalListId,
                   View::kUnitListId})
      EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(View::kStopId));
    Tick(5);
    EXPECT_EQ(Count(kSampleRead), c.samples);
    page->StopMonitoring();
  }
}

TEST_F(DataMonitorPage, ASampleDrawsTheDeviceValuesUnscaled) {
  device->SetVariable(2, 62.5);
  device->SetVariable(135, 41.25);
  Show();
  Settings(0, 1, 0);
  Start();
  Tick(2);
  device->CatchUp();
  EXPECT_EQ(Points("AnalogCommand").at(0).second, 62.5);
  EXPECT_EQ(Points("Command").at(0).second, 62.5);  // analog control
  EXPECT_FLOAT_EQ(Points("Temperature").at(0).second, 41.25);
}

// The duration field is clamped to 1..60 for the run and shows what ran;
// a duration of 0 runs one unit.
TEST_F(DataMonitorPage, TheDurationIsClampedToOneToSixtyUnits) {
  struct Case {
    double typed;
    int unit;
    double shown, seconds;
  };
  const Case cases[] = {{0, 0, 1, 60}, {75, 0, 60, 3600}, {2.7, 1, 2, 7200}, {-3, 2, 1, 86400}, {60, 2, 60, 5184000}};
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Settings(0, c.typed, c.unit);
    Start();
    EXPECT_EQ(Duration(), c.shown);
    EXPECT_EQ(page->GetRunSeconds(), c.seconds);
    IiPlotAxisPtr time;
    page->GetPlot()->GetXAxisByName("TAxis", &time);
    double span = 0;
    time->GetSpan(&span);
    EXPECT_EQ(span, c.seconds);
    Click(View::kStopId);
    Tick();
  }
  EXPECT_EQ(page->GetDurationSeconds(9), 0);
}

TEST_F(DataMonitorPage, StopEndsARunOnTheNextTickAndIdleStopOnlyReleasesTheControls) {
  Show();
  page->OnStop();  // while idle: the stop block alone
  Tick();
  EXPECT_EQ(page->GetRunState(), View::kIdleState);
  EXPECT_TRUE(device->Requests().empty() || device->Requests().back() == kStatusPoll);

  Start();
  Tick(9);
  EXPECT_EQ(Count(kSampleRead), 4u);
  page->GetDlgItemAs<CButton>(View::kStopId)->Click();
  EXPECT_EQ(page->GetRunState(), View::kStopState);
  Tick();
  EXPECT_EQ(page->GetRunState(), View::kIdleState);
  EXPECT_EQ(Count(kSampleRead), 4u);
  EXPECT_EQ(Elapsed(), (std::vector<std::string>{"0", "0", "0", "9"}));  // kept as shown
  EXPECT_EQ(Points("Position").size(), 4u);
}

// A page switch ends the run without the stop block: shown again the page
// is idle, its points kept and Stop still usable.
TEST_F(DataMonitorPage, APageSwitchInARunKeepsThePointsAndStop) {
  Show();
  Start();
  Tick(6);
  page->StopMonitoring();
  Tick(10);
  EXPECT_EQ(Count(kSampleRead), 3u);
  Show();
  EXPECT_EQ(page->GetRunState(), View::kIdleState);
  EXPECT_EQ(Points("Command").size(), 3u);
  EXPECT_TRUE(Enabled(View::kStopId));
  EXPECT_FALSE(Enabled(View::kIntervalListId));
  Tick(10);
  EXPECT_EQ(Count(kSampleRead), 0u);
  Click(View::kStopId);
  Tick();
  EXPECT_TRUE(Enabled(View::kIntervalListId));
  EXPECT_FALSE(Enabled(View::kStopId));
}

// A Stop followed at once by another page ends the run as it is left:
// shown again, the page offers Start and the settings, as had it stayed. A
// Start clicked over the Stop belongs to the page shown and is dropped.
TEST_F(DataMonitorPage, AStopLeftAtOnceEndsTheRunAndTheSettingsComeBack) {
  for (const bool restart : {false, true}) {
    SCOPED_TRACE(restart);
    Show();
    Start();
    Tick(6);
    Click(View::kStopId);
    if (restart) Click(View::kStartId);
    page->StopMonitoring();
    Tick(10);
    EXPECT_EQ(Count(kSampleRead), 3u);
    Show();
    EXPECT_EQ(Points("Command").size(), 3u);
    for (int id : {View::kStartId, View::kLoadId, View::kSaveId, View::kIntervalListId, View::kUnitListId})
      EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(View::kStopId));
    BOOL on = FALSE;
    page->GetDurationField()->get_Enabled(&on);
    EXPECT_TRUE(on);
    Tick(10);
    EXPECT_EQ(Count(kSampleRead), 0u);
    page->StopMonitoring();
  }
}

// A lost reply draws the last values again at the new time, so the record
// keeps its time line; the header shows the lost link within a few ticks
// and recovers once the device answers.
TEST_F(DataMonitorPage, ALostReplyDrawsTheLastValuesAgainAndTheHeaderShowsTheLostLink) {
  sim::InputProfile input;
  input.shape = sim::InputShape::SlowSine;
  device->SetInputProfile(input);
  Show();
  Start();
  Tick(4);  // samples at 2 and 4
  device->InjectNoReply(-1);
  Tick(6);  // samples at 6, 8 and 10 without a reply
  const auto points = Points("AnalogCommand");
  ASSERT_EQ(points.size(), 5u);
  EXPECT_NE(points[0].second, points[1].second);
  for (size_t i = 2; i < 5; ++i) {
    EXPECT_EQ(points[i].first, 2.0 * (i + 1));
    EXPECT_EQ(points[i].second, points[1].second);
  }
  EXPECT_EQ(page->GetStatusText().GetWindowText(), "Loss of Communication");
  // The next poll after the link came back, eight idle ticks on.
  device->ClearFaults();
  Tick(20);
  EXPECT_NE(page->GetStatusText().GetWindowText(), "Loss of Communication");
  const auto after = Points("AnalogCommand");
  ASSERT_EQ(after.size(), 15u);
  EXPECT_NE(after[14].second, points[1].second);
}

// ---- Channels.

TEST_F(DataMonitorPage, UncheckAllThenOneBoxShowsOnlyThatChannel) {
  Click(View::kUncheckAllId);
  for (const char* c : kChannels) EXPECT_FALSE(Shown(c)) << c;
  EXPECT_TRUE(Enabled(View::kUncheckAllId));
  Click(View::kTemperatureBoxId);
  for (const char* c : kChannels) EXPECT_EQ(Shown(c), std::string(c) == "Temperature") << c;
}

// ---- Files and report.

TEST_F(DataMonitorPage, SaveThenLoadRestoresListsDurationElapsedTimeAndPoints) {
  Show();
  Settings(1, 1, 0);
  Start();
  Tick(62);
  const auto drawn = Points("Position");
  ASSERT_EQ(drawn.size(), 12u);
  const std::string path = TempFile("run.lgr");
  device->ClearRequests();
  person.AnswerFile(path);
  Click(View::kSaveId);
  EXPECT_EQ(Count({13}), 1u);
  EXPECT_EQ(theApp().m_CommonFunctions.m_strFileTag.str(), "SIM01   ");

  Settings(4, 9, 2);
  page->SetDlgItemText(View::kSecondsId, "44");
  Click(View::kPositionBoxId);  // unticked: stays hidden after the load
  person.AnswerFile(path);
  Click(View::kLoadId);
  EXPECT_EQ(List(View::kIntervalListId)->GetCurSel(), 1);
  EXPECT_EQ(List(View::kUnitListId)->GetCurSel(), 0);
  EXPECT_EQ(Duration(), 1);
  EXPECT_EQ(Elapsed(), (std::vector<std::string>{"0", "0", "1", "0"}));
  EXPECT_EQ(Points("Position"), drawn);
  EXPECT_FALSE(Shown("Position"));
  EXPECT_TRUE(Shown("Command"));

  // No interval selected is saved as -1 and opens as the first entry.
  List(View::kIntervalListId)->SetCurSel(-1);
  const std::string second = TempFile("second.lgr");
  device->ClearRequests();
  person.AnswerFile(second);
  Click(View::kSaveId);
  EXPECT_EQ(Count({13}), 0u);  // opened data keeps the tag of its file
  List(View::kIntervalListId)->SetCurSel(5);
  person.AnswerFile(second);
  Click(View::kLoadId);
  EXPECT_EQ(List(View::kIntervalListId)->GetCurSel(), 0);

  // A cancelled open leaves the page as it was.
  Settings(3, 4, 1);
  person.CancelFile();
  Click(View::kLoadId);
  EXPECT_EQ(List(View::kIntervalListId)->GetCurSel(), 3);
  EXPECT_EQ(Duration(), 4);
}

TEST_F(DataMonitorPage, PrintTakesTheTextsShownAndWarnsOnceForAnotherDevicesFile) {
  Show();
  page->OnPrintReport();  // nothing recorded yet: no report
  EXPECT_TRUE(person.Asked().empty());
  Settings(0, 10, 1);
  Start();
  Tick(5);
  Click(View::kStopId);
  Tick();
  ASSERT_TRUE(Enabled(View::kPrintId));
  Settings(2, 10, 1);
  page->SetDlgItemText(View::kMinutesId, "12");
  page->SetDlgItemText(View::kSecondsId, "0");
  person.CancelFile().Answer(IDNO);
  Click(View::kPrintId);
  activex::IReportX* report = page->GetReport();
  EXPECT_EQ(ReportName(report), "DataMonRept");
  EXPECT_EQ(ReportFieldText(report, "Detail", "IntervalValue"), "10");
  EXPECT_EQ(ReportFieldText(report, "Detail", "DurValue"), "   10");
  EXPECT_EQ(ReportFieldText(report, "Detail", "UnitValue"), Text("IDC_COMBO_UNITHR"));
  EXPECT_EQ(ReportFieldText(report, "Detail", "MinValue"), "12");
  EXPECT_EQ(ReportFieldText(report, "Detail", "SecValue"), "0");

  // A record of another device: the message, then the report all the same.
  const std::string own = TempFile("own.lgr"), other = TempFile("other.lgr");
  person.AnswerFile(own);
  Click(View::kSaveId);  // under the connected device's tag
  person.AnswerFile(own);
  Click(View::kLoadId);
  theApp().m_CommonFunctions.m_strFileTag = "OTHER";
  person.AnswerFile(other);
  Click(View::kSaveId);  // opened data keeps the file's tag
  person.AnswerFile(other);
  Click(View::kLoadId);
  ASSERT_EQ(theApp().m_CommonFunctions.m_strFileTag.str(), "OTHER");
  const size_t before = person.Asked().size();
  person.Answer(IDOK).CancelFile().Answer(IDNO);
  Click(View::kPrintId);
  ASSERT_EQ(person.Asked().size(), before + 3);
  EXPECT_EQ(person.Asked()[before].text,
            "Report Header section matches with live device settings and doesn't match the file loaded.");
}

}  // namespace
