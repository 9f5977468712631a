// The whole program on the offscreen platform: start-up on the simulated
// positioner, every tree item selected in turn with the page it shows and
// the timer that runs, a picture of the main window for every page, and
// the operator's ways through the pages, each a scenario on one stage.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "app/frame.h"
#include "platform/sys/numeric.h"
#include "platform/win/html_help.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "shell/step_page.h"
#include "shell/strips.h"
#include "shell/tree_view.h"
#include "sim/install.h"
#include "support/language_table.h"
#include "support/log_capture.h"
#include "support/plot_probe.h"
#include "support/scoped_env.h"
#include "diagnostics/compare/partial_stroke_compare.h"
#include "diagnostics/compare/step_compare.h"
#include "diagnostics/compare/ramp_compare.h"
#include "diagnostics/compare/hdrl_compare.h"
#include "diagnostics/run/data_monitor.h"
#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/multi_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "diagnostics/run/tech_sensors.h"
#include "views/config/command_calibration.h"
#include "views/config/custom_characterisation.h"
#include "views/config/hart_information.h"
#include "views/config/sensor_calibration.h"
#include "views/health/deviation_alert.h"
#include "views/health/valve_cycles_travel.h"
#include "views/health/valve_health.h"
#include "views/status/alarm_annunciator.h"
#include "views/status/dashboard.h"
#include "views/status/event_history.h"

namespace {

plat::ManualClock* g_clock = nullptr;

// The simulated positioner the program is started on.
constexpr const char* kDevicePath = "HART/Net/Tarnix1";

using namespace treeitem;

// The one view index without a page.
constexpr int kNoPageIndex = 29;

// The window timer of every page that polls, by its tree item.
const std::map<int, UINT> kTimers = {
    {kDashboard, 3},               {kAlarmAnnunciator, 11},       {kManagementAnnunciator, 12},
    {kEventHistory, 13},           {kTechAnnunciator, 82},        {kValveHealth, 31},
    {kCyclesAndTravel, 33},        {kPositionerHealth, 21},       {kTemperatureAndHumidity, 22},
    {kPilotRelay, 23},             {kPiezoVoltage, 24},           {kActuatorHealth, 41},
    {kControlHealth, 25},          {kDeviation, 26},              {kPositionAlerts, 27},
    {kDataMonitor, 55},            {kTechSensors, 81},            {kRampTest, 51},
    {kStepTest, 52},               {kHdrlTest, 54},               {kPartialStrokeTest, 53},
    {kSensorCalibration, 62},      {kCommandCalibration, 61},     {kCalibrationErrors, 64},
    {kPressureControl, 74},        {kStrokeCharacterisation, 70}, {kCustomCharacterisation, 71},
    {kHartInformation, 83},
};
double g_startupMs = 0;

class Program : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 3;
    static const char* argv[] = {"tarnix", "/dHART/Net/Tarnix1", "-slocalhost", nullptr};
    g_clock = new plat::ManualClock({2026, 12, 9, 8, 0, 0, 0});
    plat::SetTimeSource(g_clock);
    sim::InstallAsOpcDevices();
    sim::Identity id = sim::PositionerFor(kDevicePath)->GetIdentity();
    id.tag = "FV-101";
    sim::PositionerFor(kDevicePath)->SetIdentity(id);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(theApp().InitInstance(argc, argv));
    g_startupMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  void TearDown() override {
    theApp().m_pMainFrame.reset();
    plat::SetTimeSource(nullptr);
    delete g_clock;
  }
};

const auto* const kProgram = testing::AddGlobalTestEnvironment(new Program);

CMainFrame& Frame() { return *MainFrame(); }
CWnd* ShownPage() { return Frame().m_wndInnerSplitter.GetPane(0, 1); }

void Select(int code) {
  const auto* item = CTarnixWexletView::ItemByCode(code);
  ASSERT_NE(item, nullptr);
  theApp().m_pTreeView->GetTreeCtrl().SelectItem(theApp().m_hTreeItems[item->slot]);
}

// The page of the tree item of that code, as its own class.
template <class View>
View* PageOf(int code) {
  return static_cast<View*>(CTarnixWexletView::PageByCode(code));
}

// The end of a scenario, however it ends (a failed ASSERT returns early):
// the simulated positioner as the scenario found it, the dashboard shown.
struct DeviceRestored {
  explicit DeviceRestored(std::shared_ptr<sim::Positioner> d) : device(std::move(d)), before(device->State()) {}
  ~DeviceRestored() {
    device->SetState(before);
    Select(kDashboard);
  }
  std::shared_ptr<sim::Positioner> device;
  const sim::DeviceState before;
};

int SelectedCode() {
  CTreeCtrl& tree = theApp().m_pTreeView->GetTreeCtrl();
  return static_cast<int>(tree.GetItemData(tree.GetSelectedItem()));
}

void ShowWindowAt(int width, int height) {
  QWidget* window = Frame().GetSafeWidget();
  window->showNormal();
  window->resize(width, height);
  QApplication::processEvents();
}

// A text of the language file, in the program's language.
std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }
// What a status field shows for a key: a long sentence's short form.
std::string StatusText(const char* key) { return pages::StatusFieldText(key); }

bool Enabled(CWnd& page, int id) { return page.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

void Click(CWnd& page, int id) { page.GetDlgItemAs<CButton>(id)->Click(); }

_com_ptr_t<IUnknown> ControlOf(CWnd* page, UINT id) {
  return _com_ptr_t<IUnknown>(page->GetDlgItem(static_cast<int>(id))->GetControlUnknown());
}

// The texts a page shows that are a missing key's "##" stand-in.
std::vector<std::string> MissingTexts(QWidget* page) {
  std::vector<std::string> missing;
  for (QWidget* w : page->findChildren<QWidget*>()) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w)) text = box->title();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) text = edit->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) text = edit->toPlainText();
    if (text.contains(QStringLiteral("##"))) missing.push_back(text.toStdString());
  }
  return missing;
}

// The texts a page shows cut off: a caption, box title or button caption
// wider than the room its control gives it. Pictures only on buttons and
// the texts of edits (values) are not judged.
std::vector<std::string> ClippedTexts(QWidget* page) {
  constexpr int kIndicator = 18, kButtonMargin = 8, kTitleMargin = 16;  // pixels
  std::vector<std::string> clipped;
  for (QWidget* w : page->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(page)) continue;
    const QFontMetrics metrics(w->font());
    QString text;
    int room = 0;
    if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
      text = label->text();
      room = label->wordWrap() ? (label->heightForWidth(label->width()) <= label->height() ? INT_MAX : 0)
                               : label->contentsRect().width();
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
      text = box->title();
      room = box->width() - kTitleMargin;
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
      text = static_cast<QAbstractButton*>(w)->text();
      room = w->width() - kIndicator;
    } else if (auto* button = qobject_cast<QPushButton*>(w); button && button->icon().isNull()) {
      text = button->text();
      room = button->width() - kButtonMargin;
    }
    if (!text.trimmed().isEmpty() && metrics.horizontalAdvance(text) > room) clipped.push_back(text.toStdString());
  }
  return clipped;
}

// A run in another language keeps its pictures apart.
QString ScreensDir() {
  QString dir = QStringLiteral(TARNIX_BINARY_DIR "/screens");
  if (const char* language = std::getenv("TARNIX_SCREENS_LANGUAGE"); language && *language)
    dir += QStringLiteral("/") + QString::fromUtf8(language);
  QDir().mkpath(dir);
  return dir;
}

void SaveScreen(const std::string& name) {
  QWidget* window = Frame().GetSafeWidget();
  QApplication::processEvents();
  window->grab().save(ScreensDir() + "/" + QString::fromStdString(name) + ".png");
}


// The points of one channel of a page's plot (an XY or a time plot).
template <class Page>
std::vector<std::pair<double, double>> PlotPoints(Page& page, const char* channel) {
  return testsupport::PlotPoints(page.GetPlot(), channel);
}

// While the command ramps, the simulated valve follows it from behind, and
// it ends where the command ends.
void ExpectPositionLagsCommand(CRecordedTestPage& page, size_t from, size_t to, bool opening) {
  const auto command = PlotPoints(page, "Command");
  const auto position = PlotPoints(page, "Position");
  ASSERT_EQ(command.size(), position.size());
  ASSERT_LE(to, command.size());
  int behind = 0, ramping = 0;
  for (size_t i = from; i < to; ++i) {
    const double c = command[i].second, p = position[i].second;
    EXPECT_LT(std::abs(c - p), 10.0) << "point " << i;
    if (c > 15 && c < 85) {
      ++ramping;
      if (opening ? p < c : p > c) ++behind;
    }
  }
  EXPECT_GT(ramping, 20);
  EXPECT_GT(behind, ramping * 9 / 10);
  EXPECT_NEAR(position[to - 1].second, command[to - 1].second, 1.5);
}

// Ten full strokes each way under the digital command, five seconds apiece.
void WorkTheValve(sim::Positioner& device) {
  device.SetVariable(8, 1);
  for (int stroke = 0; stroke < 10; ++stroke) {
    device.SetVariable(3, stroke % 2 ? 5 : 95);
    g_clock->Advance(5000);
  }
  device.SetVariable(8, 0);
}

// The results an HDRL run shows, in the page's order.
constexpr int kHdrlResults[] = {
    CDiagnostics_HDRLView::kHysteresisAverageId,    CDiagnostics_HDRLView::kHysteresisMaximumId,
    CDiagnostics_HDRLView::kRepeatabilityAverageId, CDiagnostics_HDRLView::kRepeatabilityMaximumId,
    CDiagnostics_HDRLView::kLinearityId};
std::vector<std::string> HdrlResults(CWnd& page) {
  std::vector<std::string> texts;
  for (int id : kHdrlResults) texts.push_back(page.GetDlgItemText(id));
  return texts;
}

// Where a scenario's page did not come up: it ends there, as after a
// failed ASSERT, and the failure names the item.
struct PageNotShown : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The item of that code selected as a user selects it, and its page, which
// is the one shown.
template <class View>
View* Show(int code) {
  Select(code);
  View* page = PageOf<View>(code);
  if (ShownPage() != page) throw PageNotShown("item " + std::to_string(code) + " does not show its page");
  return page;
}

// The stage of a scenario: the running program's main window at 1280 x 800
// on the simulated positioner.
class OnTheDevice : public testing::Test {
 protected:
  OnTheDevice() { ShowWindowAt(1280, 800); }
  void TearDown() override { m_restored.reset(); }

  // From here on, the scenario leaves the positioner as it found it, and
  // the dashboard shown, however it ends; returns the state it found.
  const sim::DeviceState& RestoreTheDeviceAtTheEnd() { return m_restored.emplace(device).before; }

  const std::shared_ptr<sim::Positioner> device = sim::PositionerFor(kDevicePath);

 private:
  std::optional<DeviceRestored> m_restored;
};

// The stage with the person at the screen scripted (a question without its
// answer fails the scenario), a folder for the scenario's files, and one
// that catches what it prints as PDF files.
class Scenario : public OnTheDevice {
 protected:
  void SetUp() override { ASSERT_TRUE(files.isValid() && sink.isValid()); }

  // Start, and Yes to the question before the valve moves.
  void Start(CWnd& page, int startId) {
    person.Answer(IDYES);
    Click(page, startId);
  }

  // A test page's run: started, then the page's ticks until it is over.
  template <class Page>
  void RunTest(Page& page) {
    Start(page, Page::kStartId);
    g_clock->Advance(page.GetPeriod());
    ASSERT_TRUE(page.IsTestRunning());
    for (int tick = 0; tick < 400 && page.IsTestRunning(); ++tick) g_clock->Advance(page.GetPeriod());
    ASSERT_FALSE(page.IsTestRunning());
  }

  // An HDRL run: started, then its ticks until it is over, `most` at the most.
  void RunHdrl(CDiagnostics_HDRLView& page, int most) {
    Start(page, CDiagnostics_HDRLView::kStartId);
    g_clock->Advance(500);
    ASSERT_TRUE(page.IsRunning());
    TickWhileRunning(page, most);
    ASSERT_FALSE(page.IsRunning());
  }
  static void TickWhileRunning(const CDiagnostics_HDRLView& page, int most) {
    for (int tick = 0; tick < most && page.IsRunning(); ++tick) g_clock->Advance(500);
  }

  // Print Report answered with no PDF kept and Yes to print: the text of
  // the one PDF that lands in the sink.
  QString PrintedText(CWnd& page, int printId) {
    for (const QString& old : QDir(sink.path()).entryList(QDir::Files)) QFile::remove(sink.filePath(old));
    person.CancelFile().Answer(IDYES);
    Click(page, printId);
    g_clock->Advance(2 * 5000);
    const QStringList printed = QDir(sink.path()).entryList(QDir::Files);
    if (printed.size() != 1) {
      ADD_FAILURE() << printed.size() << " files printed";
      return {};
    }
    QProcess text;
    text.start("pdftotext", {sink.filePath(printed.front()), "-"});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
  }

  // A test page's run saved, opened again as off-line data with every
  // point, and printed.
  template <class Page>
  void SaveLoadPrint(Page& page, const char* name) {
    const auto before = PlotPoints(page, "Position");
    const std::string path = files.filePath(name).toStdString();
    person.AnswerFile(path);
    Click(page, Page::kSaveId);
    person.AnswerFile(path);
    Click(page, Page::kLoadId);
    EXPECT_TRUE(page.IsFileLoaded());
    EXPECT_EQ(page.GetDlgItemText(Page::kStatusId), Text("IDC_OFF_LINE_DATA"));
    EXPECT_EQ(PlotPoints(page, "Position"), before);
    EXPECT_TRUE(PrintedText(page, Page::kPrintId).contains(QStringLiteral("FV-101")));
  }

  // The settings edits of a test page and what is typed into them.
  using TestSettings = std::vector<std::pair<int, const char*>>;
  template <class Page>
  void LoseTheStartAndTheStop(Page& page, const TestSettings& first, const TestSettings& again,
                              const TestSettings& longRun, const std::function<void()>& isAgain);

  plat::ScriptedPerson person{[](const std::string& what) { ADD_FAILURE() << what; }};
  QTemporaryDir files, sink;

 private:
  testsupport::ScopedEnv m_printSink{"TARNIX_PRINT_SINK", sink.path().toStdString()};
};

// The suites of scenarios; each scenario starts on its own stage.
using Dashboard = Scenario;
using Alarms = Scenario;
using Health = Scenario;
using Configuration = Scenario;
using Calibration = Scenario;
using Tests = Scenario;
using Comparisons = Scenario;
// The technician's readings and Qt's own dialogs meet no scripted person.
using Diagnostics = OnTheDevice;
using QtDialogs = OnTheDevice;

TEST(Startup, ShowsTheDashboardConnectedToTheDevice) {
  CTarnixPage* const dashboard = CTarnixWexletView::PageByCode(kDashboard);
  EXPECT_EQ(ShownPage(), dashboard);
  EXPECT_EQ(SelectedCode(), kDashboard);
  EXPECT_EQ(theApp().m_comm.m_strTag, "FV-101  ");
  EXPECT_EQ(theApp().m_CommonFunctions.m_strDeviceTag.str(), "FV-101  ");
  for (int index = 1; index < CTarnixWexletApp::kViewCount; ++index)
    EXPECT_EQ(theApp().m_pViews[index] != nullptr, index != kNoPageIndex) << index;
  // Only the dashboard is built so far; a page is built when first shown.
  for (int index = 1; index < CTarnixWexletApp::kViewCount; ++index)
    if (CTarnixPage* page = theApp().m_pViews[index]; page && page != dashboard) {
      EXPECT_FALSE(page->IsInitialized()) << index;
    }
  EXPECT_TRUE(dashboard->IsInitialized());
  // Nothing here maximises a window: the program fills the screen itself.
  const QWidget* window = Frame().GetSafeWidget();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->geometry().size(), window->screen()->availableGeometry().size());
  RecordProperty("startup_ms", std::to_string(g_startupMs));
  std::printf("start-up to the dashboard shown: %.0f ms\n", g_startupMs);
}

TEST(Navigation, EveryItemShowsItsPageAndOnlyThatPagePolls) {
  for (const auto& item : CTarnixWexletView::Items()) {
    SCOPED_TRACE("item " + std::to_string(item.code));
    Select(item.code);
    const int shownCode = item.viewIndex ? item.code : item.redirect;
    const auto* shownItem = CTarnixWexletView::ItemByCode(shownCode);
    EXPECT_EQ(SelectedCode(), shownCode);
    EXPECT_EQ(ShownPage(), theApp().m_pViews[shownItem->viewIndex]);
    // Only the shown page's timer runs.
    for (const auto& [code, timer] : kTimers) {
      const int index = CTarnixWexletView::ItemByCode(code)->viewIndex;
      const bool running = CTarnixWexletView::PageByCode(code)->HasTimer(timer);
      EXPECT_EQ(running, index == shownItem->viewIndex && shownItem->start) << "page " << index;
    }
    g_clock->Advance(5000);  // one poll of the page's status at least
  }
}

TEST(Navigation, ReselectingTheSelectedItemChangesNothing) {
  Select(kValveHealth);
  CTarnixPage* page = CTarnixWexletView::PageByCode(kValveHealth);
  page->KillTimer(kTimers.at(kValveHealth));
  Select(kValveHealth);
  EXPECT_FALSE(page->HasTimer(kTimers.at(kValveHealth)));
}

TEST(MainWindow, StripsKeepTheirHeightsAndOnlyTheTreeBarMoves) {
  QWidget* window = Frame().GetSafeWidget();
  window->showNormal();
  const int treeWidth = [] {
    int current = 0, minimum = 0;
    Frame().m_wndInnerSplitter.GetColumnInfo(0, current, minimum);
    return current;
  }();
  for (int clientHeight : {1000, 700}) {
    window->resize(1280, clientHeight);
    QApplication::processEvents();
    RECT client;
    Frame().GetClientRect(&client);
    int strip = 0, band = 0, minimum = 0, tree = 0;
    Frame().m_wndOuterSplitter.GetRowInfo(0, strip, minimum);
    Frame().m_wndOuterSplitter.GetRowInfo(1, band, minimum);
    Frame().m_wndInnerSplitter.GetColumnInfo(0, tree, minimum);
    EXPECT_EQ(strip, 120);
    EXPECT_EQ(band, CMainFrame::MiddleBandHeight(client.bottom - client.top));
    EXPECT_EQ(tree, treeWidth);  // the window's size never moves the tree bar
  }
  EXPECT_TRUE(Frame().m_wndOuterSplitter.IsLocked());
  EXPECT_FALSE(Frame().m_wndInnerSplitter.IsLocked());

  // On a window wider than their templates the strips still span it.
  for (int width : {1280, 2200}) {
    window->resize(width, 900);
    QApplication::processEvents();
    for (auto [row, id] : {std::pair{0, CIdentificationArea::kBar}, std::pair{2, CActionArea::kLastPane}}) {
      CWnd* strip = Frame().m_wndOuterSplitter.GetPane(row, 0);
      CRect pane, control;
      strip->GetWindowRect(&pane);
      strip->GetDlgItem(id)->GetWindowRect(&control);
      EXPECT_GE(control.right, pane.right - 12) << width << " row " << row;
      EXPECT_LE(control.right, pane.right) << width << " row " << row;
    }
  }
}

TEST(Screens, EveryPageAtTwoWindowSizes) {
  for (auto [width, height] : {std::pair{1280, 800}, std::pair{1920, 1080}}) {
    ShowWindowAt(width, height);
    for (const auto& item : CTarnixWexletView::Items()) {
      if (!item.viewIndex) continue;
      Select(item.code);
      // Ten ticks: an alert page shows its rows, masks, values and lamps
      // only after its first full pass, a histogram page its plot later.
      for (int tick = 0; tick < 10; ++tick) g_clock->Advance(5000);
      EXPECT_EQ(MissingTexts(ShownPage()->GetSafeWidget()), std::vector<std::string>{}) << "page " << item.viewIndex;
      // A translation too long for its field is shortened in the language file.
      if (width == 1280) {
        EXPECT_EQ(ClippedTexts(ShownPage()->GetSafeWidget()), std::vector<std::string>{}) << "page " << item.viewIndex;
      }
      SaveScreen("page_" + std::to_string(item.viewIndex) + "_" + std::to_string(width) + "x" +
                 std::to_string(height));
    }
    for (int row : {0, 2})
      EXPECT_EQ(ClippedTexts(Frame().m_wndOuterSplitter.GetPane(row, 0)->GetSafeWidget()), std::vector<std::string>{})
          << "strip " << row << " at " << width;
  }
  Select(kDashboard);
}

// The topic file of the help in the user's language: the one that
// TARNIX_HELP_LANGUAGE names, English without it.
TEST(Help, F1OpensTheSelectedItemsTopic) {
  const char* language = std::getenv("TARNIX_HELP_LANGUAGE");
  const std::string folder =
      plat::HelpFolderOf(std::string("Tarnix Help-") + (language && *language ? language : "en") + ".chm");
  plat::RecordingHelp recorder;
  for (int code : {kCyclesAndTravel, kMultiTest, kDashboard}) {
    Select(code);
    Frame().DispatchCommand(ID_HELP, 0);
    ASSERT_FALSE(recorder.calls.empty());
    EXPECT_EQ(recorder.calls.back().command, HH_HELP_CONTEXT);
    EXPECT_EQ(recorder.calls.back().data, static_cast<DWORD_PTR>(code));
    EXPECT_EQ(recorder.calls.back().topic, folder + std::to_string(code) + ".html");
  }
}


// The operator's way to a digital command: the source switch answered with
// Yes, a command applied, the valve arriving on the position display; then
// the link lost and shown in the header.
TEST_F(Dashboard, ADigitalCommandMovesTheValveAndALostLinkShowsInTheHeader) {
  Select(kDashboard);
  auto* page = PageOf<CDashboardView>(kDashboard);
  g_clock->Advance(5 * 5000);  // the start-up reads and one cyclic read
  for (int id : {1018, 1019, 1020, 290, 288, 1074, 1077, 1078, 1021, 1084, 1076, 388, 1029, 225, 292, 295, 1027, 906,
                 909, 912, 966, 969, 1028, 967, 1073, 1054, 1062, 1090})
    EXPECT_NE(page->GetDlgItemText(id).rfind("##", 0), 0u) << id << " " << page->GetDlgItemText(id);

  person.Answer(IDYES);
  IiSwitchSliderXPtr(ControlOf(page, CDashboardView::kSourceSwitchId))->put_Position(1);
  IControlTestPtr(ControlOf(page, CDashboardView::kSourceSwitchId))->UserEvent(12, {});
  EXPECT_EQ(device->Variable(8), 1);

  ISpinEditXPtr(ControlOf(page, CDashboardView::kDigitalEntryId))->put_Value(72.5);
  page->GetDlgItemAs<CButton>(CDashboardView::kApplyId)->Click();
  EXPECT_EQ(device->Variable(3), 72.5);

  g_clock->Advance(3 * 5000);  // the valve settles, a cyclic read and a status poll
  double shown = 0;
  IiAnalogDisplayXPtr(ControlOf(page, CDashboardView::kPositionDisplayId))->get_Value(&shown);
  EXPECT_NEAR(shown, 72.5, 0.5);
  EXPECT_EQ(page->GetDlgItemText(1013), Text("DigOnly"));
  SaveScreen("dashboard");

  device->InjectNoReply(-1);
  g_clock->Advance(6 * 5000);
  EXPECT_EQ(page->GetDlgItemText(1012), "Loss of Communication");
  EXPECT_EQ(page->GetDlgItemText(1013), Text("DigOnly"));
  COLORREF led = 0;
  page->GetStatusLed()->get_LedColor(&led);
  EXPECT_EQ(led, 0x0A0AFFu);
  SaveScreen("dashboard_link_lost");

  // Back to the state the other tests know.
  device->ClearFaults();
  device->SetVariable(8, 0);
  g_clock->Advance(6 * 5000);
  EXPECT_EQ(page->GetDlgItemText(1012).rfind("Loss", 0), std::string::npos);
}

// The position high alert raised by the valve itself: its lamp, its event
// with the event's text, its mask written and read back, and the three
// alarm reports printed.
TEST_F(Alarms, APositionAlertLightsItsLampIsLoggedMaskedAndPrinted) {
  const auto& rows = alarms::kAnnunciatorRows;
  const auto high = std::ranges::find_if(rows, [](const alarms::AlarmRow& r) { return r.byte == 12 && r.bit == 0; });
  ASSERT_NE(high, std::end(rows));
  const size_t row = static_cast<size_t>(high - std::begin(rows));
  const int box = high->label;

  // Print Report, answered: no PDF kept, Yes to print; a PDF lands in the sink.
  int printed = 0;
  auto print = [&](int printId, int ticks, const char* titleKey) {
    person.CancelFile().Answer(IDYES);
    ShownPage()->GetDlgItemAs<CButton>(printId)->Click();
    g_clock->Advance(ticks * 5000);
    const QStringList pdfs = QDir(sink.path()).entryList(QDir::Files, QDir::Time);
    ASSERT_EQ(pdfs.size(), ++printed);
    QProcess text;
    text.start("pdftotext", {"-l", "1", sink.filePath(pdfs.front()), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString first = QString::fromUtf8(text.readAllStandardOutput()).trimmed().section('\n', 0, 0);
    EXPECT_EQ(first.toStdString(), Text(titleKey));
  };

  auto* annunciator = Show<CAlarm_AnnunciatorView>(kAlarmAnnunciator);
  g_clock->Advance(4 * 5000);  // rows, masks, the status
  EXPECT_EQ(annunciator->GetLampColour(row), status::kHealthy);

  // The valve stands above the alert limit once the limit is lowered.
  const double highLimit = device->Variable(117);
  device->SetVariable(117, device->Variable(10) - 5);
  g_clock->Advance(3 * 5000);
  EXPECT_EQ(annunciator->GetLampColour(row), high->colour);
  SaveScreen("alarm_annunciator_alert");

  // The event in the alarm history, explained.
  auto* history = Show<CAlarm_EventHistoryView>(kEventHistory);
  g_clock->Advance(5000);
  history->GetDlgItemAs<CButton>(CAlarm_EventHistoryView::kAlarmsId)->Click();
  history->GetDlgItemAs<CButton>(CAlarm_EventHistoryView::kRetrieveId)->Click();
  for (int t = 0; t < 40 && history->GetPeriod() == CAlarm_EventHistoryView::kRetrievePeriod; ++t)
    g_clock->Advance(CAlarm_EventHistoryView::kRetrievePeriod);
  activex::IGridX* grid = history->GetGrid();
  LONG rowCount = 0, eventRow = 0;
  grid->get_Rows(&rowCount);
  for (LONG r = 1; r < rowCount; ++r) {
    _bstr_t code, state;
    grid->get_TextMatrix(r, 1, &code);
    grid->get_TextMatrix(r, 0, &state);
    if (code.str() == "96" && state.str() == Text("ONCaps")) eventRow = r;
  }
  ASSERT_GT(eventRow, 0) << "no position high alert in the alarm history";
  grid->Select(eventRow, 0);
  IControlTestPtr(ControlOf(history, CAlarm_EventHistoryView::kGridId))
      ->UserEvent(-600, {});  // the person clicks the event
  const std::string description = history->GetDlgItemText(CAlarm_EventHistoryView::kDescriptionId);
  EXPECT_EQ(description, Text("96"));
  EXPECT_EQ(description.find("##"), std::string::npos);
  SaveScreen("event_history_alarms");
  print(CAlarm_EventHistoryView::kPrintId, 1, "IDC_BUTTON_EVENTS_REPORT");

  // Masked, applied, and read back from the device.
  Select(kAlarmAnnunciator);
  g_clock->Advance(4 * 5000);
  ASSERT_EQ(annunciator->IsDlgButtonChecked(box), 0u);
  annunciator->GetDlgItemAs<CButton>(box)->Click();
  annunciator->GetDlgItemAs<CButton>(CAnnunciatorPage::kApplyId)->Click();
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(device->State().status.masks[12] & 0x01, 0);
  annunciator->CheckDlgButton(box, 0);  // a change the device does not hold
  annunciator->GetDlgItemAs<CButton>(CAnnunciatorPage::kRetrieveId)->Click();
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(annunciator->IsDlgButtonChecked(box), 1u);
  print(CAnnunciatorPage::kPrintId, 2, "ALARMALERTTITLE");

  Select(kManagementAnnunciator);
  g_clock->Advance(4 * 5000);
  print(CAnnunciatorPage::kPrintId, 1, "ALARMALERTTITLE");

  // Back to the state the other tests know.
  device->SetVariable(117, highLimit);
  sim::DeviceState state = device->State();
  state.status.masks[12] |= 0x01;
  device->SetState(state);
  Select(kDashboard);
}

// The valve worked back and forth: its counters grow on the health pages,
// and a counter reset clears the device's counter.
TEST_F(Health, TheWorkingValveCountsAndACounterReset) {
  auto number = [](CWnd* page, int id) { return std::stod(page->GetDlgItemText(id)); };

  auto* valve = Show<CHealth_Val_MainView>(kValveHealth);
  g_clock->Advance(4 * 5000);
  const double cycles = number(valve, CHealth_Val_MainView::kCyclesBox);
  const double travel = number(valve, CHealth_Val_MainView::kTravelBox);

  // Ten full strokes each way under the digital command.
  device->SetVariable(8, 1);
  for (int stroke = 0; stroke < 10; ++stroke) {
    device->SetVariable(3, stroke % 2 ? 5 : 95);
    g_clock->Advance(5000);
  }
  g_clock->Advance(3 * 5000);
  EXPECT_GE(number(valve, CHealth_Val_MainView::kCyclesBox), cycles + 8);
  EXPECT_GE(number(valve, CHealth_Val_MainView::kTravelBox), travel + 600);  // in %
  SaveScreen("valve_health_worked");

  // The cycle counter reset: the device's counter and the page's box at 0.
  valve->GetDlgItemAs<CButton>(CHealth_Val_MainView::kResetCyclesId)->Click();
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(device->Variable(305), 0);
  EXPECT_EQ(valve->GetDlgItemText(CHealth_Val_MainView::kCyclesBox), "0");
  EXPECT_GT(device->Variable(301), 0);

  // Back to the state the other tests know.
  device->SetVariable(8, 0);
  Select(kDashboard);
}

// The cycle counter's full warning dragged on its gauge, written, and read
// back; the count moving as the valve works.
TEST_F(Health, ALimitDraggedOnItsGaugeIsWrittenAndReadBack) {
  using View = CHealth_Val_CycleAndTravelsView;
  const double initialLimit = device->Variable(306), fullLimit = device->Variable(307);
  auto* page = Show<View>(kCyclesAndTravel);
  g_clock->Advance(2 * 5000);  // the limits, then the counts
  const double cycles = std::stod(page->GetDlgItemText(View::kCyclesEdit));
  WorkTheValve(*device);
  g_clock->Advance(3 * 5000);
  EXPECT_GE(std::stod(page->GetDlgItemText(View::kCyclesEdit)), cycles + 8);

  IiLinearGaugeXPtr gauge(ControlOf(page, View::kCyclesGaugeId));
  double max = 0;
  gauge->get_ScaleMax(&max);
  const double dragged = std::floor(0.6 * max);
  gauge->put_ElementPosition(2, dragged);
  IControlTestPtr(ControlOf(page, View::kCyclesGaugeId))->UserEvent(19, {_variant_t(static_cast<LONG>(2))});
  EXPECT_EQ(page->GetDlgItemText(View::kCyclesFullEdit), plat::FormatNumber("%.0f", dragged));
  const double initial = std::stod(page->GetDlgItemText(View::kCyclesInitialEdit));
  EXPECT_NEAR(initial, 0.9 * dragged, 0.5);
  SaveScreen("valve_cycles_travel_dragged");

  page->GetDlgItemAs<CButton>(View::kApplyId)->Click();
  g_clock->Advance(5000);
  EXPECT_EQ(device->Variable(307), dragged);
  EXPECT_EQ(device->Variable(306), initial);
  page->SetDlgItemText(View::kCyclesFullEdit, "1");  // a change the device does not hold
  page->GetDlgItemAs<CButton>(View::kRetrieveId)->Click();
  g_clock->Advance(5000);
  EXPECT_EQ(page->GetDlgItemText(View::kCyclesFullEdit), plat::FormatNumber("%.0f", dragged));

  // Back to the state the other tests know.
  device->SetVariable(306, initialLimit);
  device->SetVariable(307, fullLimit);
  Select(kDashboard);
}

// The deviation histogram cleared, then filled again by the working valve.
TEST_F(Health, TheDeviationHistogramFillsAsTheValveWorks) {
  using View = CHealth_Ctl_DeviationView;
  auto* page = Show<View>(kDeviation);
  g_clock->Advance(12 * 5000);
  EXPECT_GT(page->GetHistogram().Total(), 0);

  page->GetDlgItemAs<CButton>(View::kResetId)->Click();
  g_clock->Advance(12 * 5000);
  const double afterReset = page->GetHistogram().Total();
  EXPECT_LT(afterReset, 120);  // what the minute since the reset has added

  WorkTheValve(*device);
  page->GetDlgItemAs<CButton>(View::kRetrieveId)->Click();
  g_clock->Advance(12 * 5000);
  EXPECT_GT(page->GetHistogram().Total(), afterReset + 50);
  SaveScreen("deviation_histogram_filled");
  Select(kDashboard);
}

// The HART identity written from its page and read back: the device keeps
// the message, descriptor and date, and the tag the program read.
TEST_F(Configuration, TheHartIdentityIsWrittenAndReadBack) {
  using View = CConfiguration_PosHartInformationView;
  const sim::Identity before = device->GetIdentity();
  auto* page = Show<View>(kHartInformation);
  g_clock->Advance(5 * 5000);  // message, identity, temperatures, revisions
  ASSERT_TRUE(page->GetDlgItem(View::kApplyId)->IsWindowEnabled());

  const struct {
    int id;
    const char* text;
  } entries[] = {{View::kMessageEdit, "Stroked after repacking"},
                 {View::kDescriptorEdit, "Feed pump outlet"},
                 {View::kYearEdit, "2026"},
                 {View::kMonthEdit, "12"},
                 {View::kDayEdit, "9"}};
  for (const auto& e : entries) page->SetDlgItemText(e.id, e.text);
  page->GetDlgItemAs<CButton>(View::kApplyId)->Click();
  g_clock->Advance(3 * 5000);
  const sim::Identity written = device->GetIdentity();
  EXPECT_EQ(written.message.substr(0, 23), "STROKED AFTER REPACKING");
  EXPECT_EQ(written.descriptor, "FEED PUMP OUTLET");
  EXPECT_EQ(written.tag, before.tag + std::string(8 - before.tag.size(), ' '));

  // Something the device does not hold, then Retrieve.
  for (const auto& e : entries) page->SetDlgItemText(e.id, "");
  page->GetDlgItemAs<CButton>(View::kRetrieveId)->Click();
  g_clock->Advance(5 * 5000);
  EXPECT_EQ(page->GetDlgItemText(View::kDescriptorEdit), "FEED PUMP OUTLET");
  EXPECT_EQ(page->GetDlgItemText(View::kMessageEdit).substr(0, 23), "STROKED AFTER REPACKING");
  EXPECT_EQ(page->GetDlgItemText(View::kYearEdit), "2026");
  EXPECT_EQ(page->GetDlgItemText(View::kDayEdit), "09");
  SaveScreen("hart_information_written");

  device->SetIdentity(before);
  Select(kDashboard);
}

// A stroke calibration run by the simulated positioner from start to end:
// the question first, the steps as they come, the success, the history
// record with the initials, and the report printed.
TEST_F(Calibration, AStrokeCalibrationRunsToItsEndAndItsReportPrints) {
  using View = CCalibration_SensorCalibView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kSensorCalibration);
  g_clock->Advance(3 * 5000);
  ASSERT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());

  page->SetDlgItemText(View::kInitialsId, "JQP");
  Start(*page, View::kStartId);
  ASSERT_EQ(person.Asked().size(), 1u);  // the question before the valve moves
  g_clock->Advance(5000);                 // the start written
  ASSERT_TRUE(page->IsCalibrationRunning());
  std::set<int> progress;
  for (int tick = 0; tick < 150 && page->IsCalibrationRunning(); ++tick) {
    g_clock->Advance(5000);
    progress.insert(page->GetProgress().GetPos());
    if (tick == 20) SaveScreen("sensor_calibration_running");
  }
  EXPECT_FALSE(page->IsCalibrationRunning());
  EXPECT_GT(progress.size(), 10u);  // the steps were seen as they came
  g_clock->Advance(5000);           // the result judged on a fresh status read
  EXPECT_EQ(page->GetDlgItemText(View::kStateTextId), Text("SUCCESSCAL"));
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(page->GetDlgItemText(View::kLastById), "JQP");
  EXPECT_EQ(device->State().history.calibration.at(1).substr(20, 3), "JQP");
  SaveScreen("sensor_calibration_done");

  EXPECT_TRUE(PrintedText(*page, View::kPrintId).contains(QStringLiteral("JQP")));
}

// A stroke calibration that fails on a valve without air: the errors link
// leads to the calibration flags, and back on the page the failed run that
// the device still stands in is ended by Abort before a new one starts.
TEST_F(Calibration, AFailedStrokeCalibrationIsEndedFromThePageAfterTheErrorsLink) {
  using View = CCalibration_SensorCalibView;
  RestoreTheDeviceAtTheEnd();
  auto setAir = [this](double psi) {
    sim::DeviceState state = device->State();
    state.calibration.supplyPressure = psi;
    device->SetState(state);
  };
  setAir(0);
  auto* page = Show<View>(kSensorCalibration);
  g_clock->Advance(3 * 5000);
  auto start = [&] {
    page->SetDlgItemText(View::kInitialsId, "JQP");
    Start(*page, View::kStartId);
    g_clock->Advance(5000);
  };
  start();
  ASSERT_TRUE(page->IsCalibrationRunning());
  for (int tick = 0; tick < 150 && page->IsCalibrationRunning(); ++tick) g_clock->Advance(5000);
  g_clock->Advance(5000);  // the result judged
  ASSERT_EQ(page->GetDlgItemText(View::kStateTextId), Text("CALERRMSG"));
  ASSERT_EQ(device->Variable(170), View::kCalError);

  IControlTestPtr(ControlOf(page, View::kErrorsLinkId))->UserEvent(1, {});
  EXPECT_EQ(SelectedCode(), kCalibrationErrors);
  g_clock->Advance(2 * 4000);
  Show<View>(kSensorCalibration);
  g_clock->Advance(2 * 5000);
  EXPECT_FALSE(Enabled(*page, View::kStartId));
  EXPECT_TRUE(Enabled(*page, View::kAbortId));

  page->GetDlgItemAs<CButton>(View::kAbortId)->Click();
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(device->Variable(170), View::kIdle);
  EXPECT_TRUE(Enabled(*page, View::kStartId));
  EXPECT_FALSE(Enabled(*page, View::kAbortId));
  setAir(60);
  start();
  EXPECT_TRUE(page->IsCalibrationRunning());
  EXPECT_EQ(device->State().calibration.stroke.phase, sim::StrokePhase::Running);
}

// Ramp tests run by the simulated positioner, one way and both ways, then
// saved, loaded and printed; a run stopped halfway; the baseline kept and
// retrieved.
TEST_F(Tests, RampTestsRunSaveLoadPrintStopAndRetrieveTheBaseline) {
  using View = CDiagnostics_RampTestView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kRampTest);
  g_clock->Advance(3 * 1000);
  page->SetDlgItemText(View::kStartEdit, "10.0");
  page->SetDlgItemText(View::kStopEdit, "90.0");
  page->SetDlgItemText(View::kHoldEdit, "3.0");
  page->SetDlgItemText(View::kRampEdit, "20.0");

  page->CheckDlgButton(View::kBidirectionalBox, BST_UNCHECKED);
  RunTest(*page);
  EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_EQ(PlotPoints(*page, "Position").size(), 208u);
  EXPECT_EQ(PlotPoints(*page, "PosnvCmdOpen").size(), 208u);
  ExpectPositionLagsCommand(*page, 0, 208, true);
  SaveLoadPrint(*page, "one_way.rmp");

  page->CheckDlgButton(View::kBidirectionalBox, BST_CHECKED);
  RunTest(*page);
  EXPECT_EQ(PlotPoints(*page, "Position").size(), 416u);
  EXPECT_EQ(PlotPoints(*page, "PosnvCmdClose").size(), 208u);
  ExpectPositionLagsCommand(*page, 208, 416, false);
  SaveScreen("ramp_test_done");
  page->GetDlgItemAs<CButton>(View::kSignalViewButton)->Click();
  SaveScreen("ramp_test_signature");
  page->GetDlgItemAs<CButton>(View::kTimeViewButton)->Click();
  SaveLoadPrint(*page, "both_ways.rmp");

  // Stopped halfway: the device is told, and a new run starts cleanly.
  Start(*page, View::kStartId);
  for (int tick = 0; tick < 12; ++tick) g_clock->Advance(1000);
  ASSERT_TRUE(page->IsTestRunning());
  page->GetDlgItemAs<CButton>(View::kStopId)->Click();
  g_clock->Advance(2 * 1000);  // the abort, and the device seen to test no longer
  EXPECT_FALSE(page->IsTestRunning());
  EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());

  // Kept as the baseline, then retrieved both ways.
  page->CheckDlgButton(View::kBaselineBox, BST_CHECKED);
  page->SetDlgItemText(View::kStartEdit, "80.0");
  page->SetDlgItemText(View::kStopEdit, "20.0");
  RunTest(*page);
  page->CheckDlgButton(View::kBaselineBox, BST_UNCHECKED);
  page->SetDlgItemText(View::kStartEdit, "0.0");
  page->SetDlgItemText(View::kStopEdit, "50.0");
  page->CheckDlgButton(View::kBidirectionalBox, BST_UNCHECKED);
  page->GetDlgItemAs<CButton>(View::kRetrieveId)->Click();
  for (int tick = 0; tick < 5; ++tick) g_clock->Advance(1000);  // the record read, the download begun
  EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("VeskPSTAcquiringDataPoint"));
  for (int tick = 0; tick < 200 && page->GetStep() != CRecordedTestPage::kIdleStep; ++tick) g_clock->Advance(1000);
  EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_TRUE(page->IsBaselineLoaded());
  EXPECT_EQ(page->GetDlgItemText(View::kStartEdit), "80.0");
  EXPECT_EQ(page->GetDlgItemText(View::kStopEdit), "20.0");
  EXPECT_EQ(page->IsDlgButtonChecked(View::kBidirectionalBox), BST_CHECKED);
  EXPECT_EQ(PlotPoints(*page, "PosnvCmdClose").size(), 208u);  // its first pass closes
  EXPECT_EQ(PlotPoints(*page, "PosnvCmdOpen").size(), 208u);
  ExpectPositionLagsCommand(*page, 0, 208, false);
}

// A step test run by the simulated positioner and kept as its baseline,
// saved, loaded and printed; a run stopped halfway; the baseline retrieved.
TEST_F(Tests, AStepTestRunsSavesLoadsPrintsStopsAndRetrievesTheBaseline) {
  using View = CDiagnostics_StepTestView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kStepTest);
  g_clock->Advance(3 * 500);
  page->SetDlgItemText(View::kStartPosId, "10.0");
  page->SetDlgItemText(View::kStopPosId, "90.0");
  page->SetDlgItemText(View::kHoldId, "5.0");
  page->CheckDlgButton(View::kBaselineBoxId, BST_CHECKED);

  RunTest(*page);
  EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("VeskTEST_COMPLETE"));
  const auto command = PlotPoints(*page, "Command");
  const auto position = PlotPoints(*page, "Position");
  ASSERT_EQ(command.size(), 208u);
  ASSERT_EQ(position.size(), 208u);
  // The command steps after a second; the valve follows from behind.
  EXPECT_NEAR(command[20].second, 10, 0.5);
  EXPECT_NEAR(command[60].second, 90, 0.5);
  EXPECT_LT(position[50].second, 60);
  EXPECT_NEAR(position[207].second, 90, 5);
  SaveScreen("step_test_done");
  SaveLoadPrint(*page, "step.stp");

  // Stopped halfway: the device is told, and a new run may start.
  page->CheckDlgButton(View::kBaselineBoxId, BST_UNCHECKED);
  page->SetDlgItemText(View::kHoldId, "30.0");
  Start(*page, View::kStartId);
  for (int tick = 0; tick < 20; ++tick) g_clock->Advance(500);
  ASSERT_TRUE(page->IsTestRunning());
  page->GetDlgItemAs<CButton>(View::kStopId)->Click();
  g_clock->Advance(2 * 500);  // the abort, and the device seen to test no longer
  EXPECT_FALSE(page->IsTestRunning());
  EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());

  // The baseline kept by the first run, with its own settings.
  page->SetDlgItemText(View::kStartPosId, "30.0");
  page->SetDlgItemText(View::kStopPosId, "60.0");
  page->GetDlgItemAs<CButton>(View::kRetrieveId)->Click();
  g_clock->Advance(500);
  for (int tick = 0; tick < 200 && page->GetStep() != CRecordedTestPage::kIdleStep; ++tick) g_clock->Advance(500);
  EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_TRUE(page->IsBaselineLoaded());
  EXPECT_EQ(page->GetDlgItemText(View::kStartPosId), "10.0");
  EXPECT_EQ(page->GetDlgItemText(View::kHoldId), "5.0");
  EXPECT_EQ(PlotPoints(*page, "Position"), position);
}

// A ramp test, then a step test (which puts its own set-up into the
// device), then the ramp page again: the ramp's record is saved with the
// set-up it ran with, whatever the device or the edits hold since.
TEST_F(Tests, ARampShownAgainAfterAStepTestIsSavedWithItsOwnSetUp) {
  using Ramp = CDiagnostics_RampTestView;
  using Step = CDiagnostics_StepTestView;
  RestoreTheDeviceAtTheEnd();
  auto* ramp = Show<Ramp>(kRampTest);
  g_clock->Advance(3 * 1000);
  for (const auto& [id, text] : {std::pair{Ramp::kStartEdit, "10.0"}, {Ramp::kStopEdit, "90.0"},
                                 {Ramp::kHoldEdit, "2.0"}, {Ramp::kRampEdit, "20.0"}})
    ramp->SetDlgItemText(id, text);
  ramp->CheckDlgButton(Ramp::kBidirectionalBox, BST_UNCHECKED);
  RunTest(*ramp);
  ASSERT_EQ(ramp->GetDlgItemText(Ramp::kStatusId), Text("VeskTEST_COMPLETE"));
  const auto position = PlotPoints(*ramp, "Position");

  auto* step = Show<Step>(kStepTest);
  g_clock->Advance(3 * 500);
  for (const auto& [id, text] :
       {std::pair{Step::kStartPosId, "20.0"}, {Step::kStopPosId, "60.0"}, {Step::kHoldId, "8.0"}})
    step->SetDlgItemText(id, text);
  RunTest(*step);
  ASSERT_EQ(step->GetDlgItemText(Step::kStatusId), Text("VeskTEST_COMPLETE"));

  ramp = Show<Ramp>(kRampTest);
  g_clock->Advance(3 * 1000);
  EXPECT_EQ(ramp->GetDlgItemText(Ramp::kStartEdit), "10.0");
  EXPECT_EQ(ramp->GetDlgItemText(Ramp::kRampEdit), "20.0");
  EXPECT_EQ(ramp->GetDlgItemText(Ramp::kStatusId), Text("VeskTEST_COMPLETE"));
  SaveScreen("ramp_test_shown_again");
  ramp->SetDlgItemText(Ramp::kRampEdit, "5.0");  // for a next start
  // The report's duration is the run's, not the step's nor the one typed.
  const QString printed = PrintedText(*ramp, Ramp::kPrintId);
  EXPECT_TRUE(printed.contains(QStringLiteral("20.0 s"))) << printed.toStdString();
  EXPECT_FALSE(printed.contains(QStringLiteral("5.0 s"))) << printed.toStdString();
  const std::string path = files.filePath("after_step.rmp").toStdString();
  person.AnswerFile(path);
  Click(*ramp, Ramp::kSaveId);
  person.AnswerFile(path);
  Click(*ramp, Ramp::kLoadId);
  ASSERT_TRUE(ramp->IsFileLoaded());
  // The file's set-up, as the page shows it opened.
  for (const auto& [id, value] :
       {std::pair{Ramp::kStartEdit, 10.0}, {Ramp::kStopEdit, 90.0}, {Ramp::kHoldEdit, 2.0}, {Ramp::kRampEdit, 20.0}})
    EXPECT_DOUBLE_EQ(CCommonFunctions::ReadEditDouble(*ramp, id), value) << id;
  EXPECT_EQ(PlotPoints(*ramp, "Position"), position);
}

// An HDRL test on the simulated valve: the page steps the command through
// its 25 stairs, the results show the valve's lag and dead band, the run is
// saved and loaded back with the same results, the report takes them, and
// the valve gets its mode and command back.
TEST_F(Tests, AnHDRLTestRunsToItsEndSavesLoadsAndPrints) {
  using View = CDiagnostics_HDRLView;
  const sim::DeviceState& before = RestoreTheDeviceAtTheEnd();
  const double mode = device->Variable(8), command = device->Variable(3);
  auto* page = Show<View>(kHdrlTest);
  g_clock->Advance(2 * 500);
  ASSERT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());

  ASSERT_NO_FATAL_FAILURE(RunHdrl(*page, 400));
  EXPECT_EQ(device->Variable(8), mode);
  EXPECT_EQ(device->Variable(3), command);
  IiXYPlotXPtr plot(page->GetPlot());
  LONG points = 0;
  theApp().m_CommonFunctions.GetXYPlotChannelByName(plot, "Position")->GetCount(&points);
  EXPECT_EQ(points, 49);
  // Six seconds a stair leave the stem short of each command by more than
  // the dead band: hysteresis plus dead band above twice the dead band.
  const double hysteresis = std::stod(page->GetDlgItemText(View::kHysteresisAverageId));
  EXPECT_GT(hysteresis, 2 * before.valve.deadBand);
  EXPECT_LT(hysteresis, 1.0);
  EXPECT_EQ(page->GetDlgItemText(View::kElapsedId), "151");  // 25 x 6 s and the start, analysis and restore ticks
  SaveScreen("hdrl_test_done");
  page->GetDlgItemAs<CButton>(View::kHysteresisGraphId)->Click();
  SaveScreen("hdrl_test_hysteresis");
  page->GetDlgItemAs<CButton>(View::kLinearityGraphId)->Click();
  SaveScreen("hdrl_test_linearity");

  const std::vector<std::string> shown = HdrlResults(*page);
  const std::string path = files.filePath("run.hdrl").toStdString();
  person.AnswerFile(path);
  page->GetDlgItemAs<CButton>(View::kSaveId)->Click();
  for (int id : kHdrlResults) page->SetDlgItemText(id, "");
  person.AnswerFile(path);
  page->GetDlgItemAs<CButton>(View::kLoadId)->Click();
  EXPECT_EQ(HdrlResults(*page), shown);
  EXPECT_EQ(theApp().m_CommonFunctions.m_strHDRLTag.str(), "FV-101  ");  // as the device pads it

  const QString printed = PrintedText(*page, View::kPrintId);
  EXPECT_TRUE(printed.contains(QString::fromStdString(shown[0]))) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("FV-101")));
  EXPECT_EQ(theApp().m_CommonFunctions.m_strHDRLResults.hysteresisAverage.str(), shown[0]);
  EXPECT_EQ(theApp().m_CommonFunctions.m_strHDRLSettlingTime.str(), "6");
  EXPECT_TRUE(MissingTexts(page->GetSafeWidget()).empty());
}

// The link drops as Start is pressed and comes back a few seconds later:
// the start is tried again, then the page says the test did not start, puts
// the valve back and shows no run, not even the previous one.
TEST_F(Tests, AnHDRLStartThatIsNeverAnsweredIsNoRun) {
  using View = CDiagnostics_HDRLView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kHdrlTest);
  g_clock->Advance(2 * 500);
  const double mode = device->Variable(8), command = device->Variable(3);
  ASSERT_TRUE(Enabled(*page, View::kStartId));

  device->InjectNoReply(-1);
  Start(*page, View::kStartId);
  for (int tick = 0; tick < 20 && page->GetStep() != View::kRestoreStep; ++tick) g_clock->Advance(500);
  ASSERT_EQ(page->GetStep(), View::kRestoreStep);
  device->ClearFaults();
  person.Answer(IDOK);
  TickWhileRunning(*page, 20);
  ASSERT_FALSE(page->IsRunning());
  ASSERT_EQ(person.Asked().size(), 2u);
  EXPECT_EQ(person.Asked()[1].text, Text("HDRL_NOT_STARTED"));
  EXPECT_EQ(device->Variable(8), mode);
  EXPECT_EQ(device->Variable(3), command);
  EXPECT_EQ(HdrlResults(*page), std::vector<std::string>(5));
  EXPECT_EQ(page->GetDlgItemText(View::kStartTimeId), "");
  IiXYPlotXPtr plot(page->GetPlot());
  LONG points = -1;
  theApp().m_CommonFunctions.GetXYPlotChannelByName(plot, "Position")->GetCount(&points);
  EXPECT_EQ(points, 0);
  EXPECT_FALSE(Enabled(*page, View::kSaveId));
  EXPECT_FALSE(Enabled(*page, View::kPrintId));
  EXPECT_TRUE(Enabled(*page, View::kStartId));
  SaveScreen("hdrl_test_not_started");
}

// The link drops mid-run and Stop is pressed: the restore is tried again
// and lost; the link is back for the read-back, and the page says the mode
// and command read there; the device shows the valve standing there.
TEST_F(Tests, AnHDRLStopThatIsNeverAnsweredSaysWhereTheValveIsLeft) {
  using View = CDiagnostics_HDRLView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kHdrlTest);
  g_clock->Advance(2 * 500);
  Start(*page, View::kStartId);
  g_clock->Advance(40 * 500);  // stair 3 (50 %) settling
  ASSERT_TRUE(page->IsRunning());

  device->InjectNoReply(View::kMostTries);
  Click(*page, View::kStopId);
  person.Answer(IDOK);
  TickWhileRunning(*page, 20);
  ASSERT_FALSE(page->IsRunning());
  ASSERT_EQ(person.Asked().size(), 2u);
  EXPECT_EQ(person.Asked()[1].text, Text("HDRL_NOT_RESTORED") + " " + Text("DigOnly") + ", 50.0 %");
  EXPECT_EQ(static_cast<int>(device->Variable(8)) & 1, 1);
  EXPECT_EQ(device->Variable(3), 50.0);
  EXPECT_TRUE(Enabled(*page, View::kStartId));
  EXPECT_FALSE(Enabled(*page, View::kStopId));
  // The header shows the mode from the next status poll.
  g_clock->Advance(4 * 500);
  SaveScreen("hdrl_test_not_restored");
}

// Every reply to the restore at the end of a run comes back cut: the
// device did put the mode and command back, and the page, having read them
// back, claims no digital mode.
TEST_F(Tests, AnHDRLRestoreWithCutRepliesIsReadBackAndClaimsNothing) {
  using View = CDiagnostics_HDRLView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kHdrlTest);
  g_clock->Advance(2 * 500);
  const double mode = device->Variable(8), command = device->Variable(3);
  Start(*page, View::kStartId);
  for (int tick = 0; tick < 400 && page->GetStep() != View::kRestoreStep; ++tick) g_clock->Advance(500);
  ASSERT_EQ(page->GetStep(), View::kRestoreStep);
  device->InjectShortReply(5, View::kMostTries);
  TickWhileRunning(*page, 20);
  ASSERT_FALSE(page->IsRunning());
  EXPECT_EQ(person.Asked().size(), 1u);  // the start question only
  EXPECT_EQ(device->Variable(8), mode);
  EXPECT_EQ(device->Variable(3), command);
  EXPECT_TRUE(Enabled(*page, View::kSaveId));
}

// A 30 s outage mid-run: no stair is recorded without its settled position,
// so the run ends as incomplete with no result shown; the outage outlasts
// the restore's tries and their read-back too, and the page says that
// where the valve stands could not be read.
TEST_F(Tests, AnHDRLRunThroughAnOutageIsIncompleteWithoutResults) {
  using View = CDiagnostics_HDRLView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kHdrlTest);
  g_clock->Advance(2 * 500);
  Start(*page, View::kStartId);
  g_clock->Advance(100 * 500);  // stair 8 (70 %) settling
  ASSERT_TRUE(page->IsRunning());

  device->InjectNoReply(-1);
  person.Answer(IDOK).Answer(IDOK);
  g_clock->Advance(60 * 500);
  device->ClearFaults();
  TickWhileRunning(*page, 10);
  ASSERT_FALSE(page->IsRunning());
  ASSERT_EQ(person.Asked().size(), 3u);
  EXPECT_EQ(person.Asked()[1].text, Text("HDRL_RESTORE_NOT_READ") + " 70.0 %");
  EXPECT_EQ(person.Asked()[2].text, Text("HDRL_DATA_INCOMPLETE"));
  EXPECT_EQ(HdrlResults(*page), std::vector<std::string>(5));
  EXPECT_FALSE(Enabled(*page, View::kSaveId));
  EXPECT_FALSE(Enabled(*page, View::kPrintId));
  EXPECT_EQ(device->Variable(3), 70.0);
}

// Partial stroke tests run by the simulated positioner: one that passes,
// and one on a valve that sticks and fails; each is drawn from the
// device's record of it, saved and loaded back.
TEST_F(Tests, APartialStrokeTestPassesAndOneOnAStuckValveFails) {
  using View = CDiagnostics_PSTView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kPartialStrokeTest);
  g_clock->Advance(2 * 5000);  // the test selected, its set-up read
  const auto runAndRetrieve = [&] {
    page->SetDlgItemText(View::kStartPosId, "100.0");
    page->SetDlgItemText(View::kStopPosId, "90.0");
    page->SetDlgItemText(View::kHoldId, "5.0");
    page->SetDlgItemText(View::kRampId, "10.0");
    page->SetDlgItemText(View::kTimeLimitId, "30.0");
    RunTest(*page);
    EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("VeskTEST_COMPLETE"));
    Click(*page, View::kRetrieveLastId);
    g_clock->Advance(page->GetPeriod());
    for (int tick = 0; tick < 100 && page->GetStep() != View::kIdleStep; ++tick) g_clock->Advance(page->GetPeriod());
    EXPECT_EQ(page->GetDlgItemText(View::kStatusId), Text("VeskTEST_COMPLETE"));
    const auto command = PlotPoints(*page, "Command");
    EXPECT_EQ(command.size(), 208u);
    EXPECT_EQ(PlotPoints(*page, "Position").size(), 208u);
    // 16 s of stroke and hold, in milliseconds.
    EXPECT_NEAR(command.back().first, 207 * 16000.0 / 208, 1e-6);
    EXPECT_NEAR(command.back().second, 90, 0.01);
  };

  runAndRetrieve();
  EXPECT_EQ(page->GetDlgItemText(View::kResultId), Text("PST_RESULT_0_EnumDescr"));
  const double breakaway = plat::StrToD(page->GetDlgItemText(View::kBreakawayId).c_str(), nullptr);
  const double toTarget = plat::StrToD(page->GetDlgItemText(View::kTimeToTargetId).c_str(), nullptr);
  EXPECT_GT(breakaway, 0.0);
  EXPECT_GT(toTarget, breakaway);
  EXPECT_LT(toTarget, 30.0);
  EXPECT_NEAR(PlotPoints(*page, "Position").back().second, 90, 1.5);
  SaveScreen("partial_stroke_passed");
  SaveLoadPrint(*page, "passed.pst");
  EXPECT_EQ(page->GetDlgItemText(View::kResultId), Text("PST_RESULT_0_EnumDescr"));

  // Stuck where the stroke starts.
  sim::DeviceState stuck = device->State();
  stuck.valve.position = 100;
  stuck.valve.stuck = true;
  device->SetState(stuck);
  runAndRetrieve();
  EXPECT_EQ(page->GetDlgItemText(View::kResultId), Text("PST_RESULT_2_EnumDescr"));
  EXPECT_EQ(page->GetDlgItemText(View::kBreakawayId), " - ");
  EXPECT_EQ(page->GetDlgItemText(View::kTimeToTargetId), " - ");
  EXPECT_NEAR(PlotPoints(*page, "Position").back().second, 100, 1.5);  // it never moved
  SaveScreen("partial_stroke_stuck");
  SaveLoadPrint(*page, "stuck.pst");
  EXPECT_EQ(page->GetDlgItemText(View::kResultId), Text("PST_RESULT_2_EnumDescr"));
  EXPECT_EQ(page->GetDlgItemText(View::kBreakawayId), " - ");
}

// A test page once more against a device that stops answering at the
// wrong moment. After a completed run the device keeps that run's record
// ready: a start it never took must not bring that record back as a new
// run, and a stop it never took must not say "Test stopped" while the valve
// still moves. `again` is a short run on other settings, `isAgain` tells
// its outcome from that of `first`; `longRun` lasts beyond the stop's tries.
template <class Page>
void Scenario::LoseTheStartAndTheStop(Page& page, const TestSettings& first, const TestSettings& again,
                                      const TestSettings& longRun, const std::function<void()>& isAgain) {
  const auto type = [&page](const TestSettings& settings) {
    for (const auto& [id, value] : settings) page.SetDlgItemText(id, value);
  };
  const auto testing = [this] { return device->State().tests.run.type != 0; };
  // Start, then the page's ticks until it is idle, each start write lost
  // until `lost` of them are.
  const auto startLosing = [&](int lost) {
    Start(page, Page::kStartId);
    for (int tick = 0; tick < 400 && (tick == 0 || page.GetStep() != CRecordedTestPage::kIdleStep); ++tick) {
      if (lost > 0 && page.GetRequest() == 0 && page.GetStep() == CRecordedTestPage::kSetupStep) {
        device->InjectNoReply();
        --lost;
      }
      g_clock->Advance(page.GetPeriod());
    }
    ASSERT_EQ(page.GetStep(), CRecordedTestPage::kIdleStep);
  };

  type(first);
  RunTest(page);
  ASSERT_EQ(page.GetDlgItemText(Page::kStatusId), Text("VeskTEST_COMPLETE"));

  // Lost once: sent again, and what is shown is this run.
  type(again);
  startLosing(1);
  EXPECT_EQ(page.GetDlgItemText(Page::kStatusId), Text("VeskTEST_COMPLETE"));
  isAgain();

  // Never taken: said so, nothing kept, the valve left alone.
  startLosing(CRecordedTestPage::kMostTries);
  EXPECT_EQ(page.GetDlgItemText(Page::kStatusId), StatusText("TESTNOTSTARTED"));
  EXPECT_TRUE(PlotPoints(page, "Position").empty());
  EXPECT_FALSE(testing());
  EXPECT_TRUE(Enabled(page, Page::kStartId));
  EXPECT_FALSE(Enabled(page, Page::kSaveId));
  EXPECT_FALSE(Enabled(page, Page::kPrintId));

  // A stop whose every reply is lost: not called stopped.
  type(longRun);
  Start(page, Page::kStartId);
  for (int tick = 0; tick < 6; ++tick) g_clock->Advance(page.GetPeriod());
  ASSERT_TRUE(testing());
  Click(page, Page::kStopId);
  device->InjectNoReply(-1);
  for (int tick = 0; tick < 20 && page.GetStep() != CRecordedTestPage::kIdleStep; ++tick) {
    g_clock->Advance(page.GetPeriod());
    EXPECT_NE(page.GetDlgItemText(Page::kStatusId), Text("STATUSABORTED"));
  }
  EXPECT_EQ(page.GetDlgItemText(Page::kStatusId), StatusText("STATUSABORTED_UNCONFIRMED"));
  EXPECT_TRUE(testing());
  EXPECT_FALSE(Enabled(page, Page::kStartId));
  EXPECT_TRUE(Enabled(page, Page::kStopId));
  // The device answers again: Stop once more, and now it is stopped.
  device->ClearFaults();
  Click(page, Page::kStopId);
  for (int tick = 0; tick < 2; ++tick) g_clock->Advance(page.GetPeriod());
  EXPECT_EQ(page.GetDlgItemText(Page::kStatusId), Text("STATUSABORTED"));
  EXPECT_FALSE(testing());
  EXPECT_TRUE(Enabled(page, Page::kStartId));
}

// Ramp, step and partial stroke tests once more, with a lost start and a
// lost stop: each page tells what the device did, not what was asked.
TEST_F(Tests, RampStepAndPartialStrokeTestsTellALostStartOrStopHonestly) {
  RestoreTheDeviceAtTheEnd();
  {
    using View = CDiagnostics_RampTestView;
    SCOPED_TRACE("ramp");
    auto* page = Show<View>(kRampTest);
    g_clock->Advance(3 * 1000);
    page->CheckDlgButton(View::kBidirectionalBox, BST_UNCHECKED);
    LoseTheStartAndTheStop(
        *page,
        {{View::kStartEdit, "20.0"}, {View::kStopEdit, "80.0"}, {View::kHoldEdit, "2.0"}, {View::kRampEdit, "10.0"}},
        {{View::kStartEdit, "30.0"}, {View::kStopEdit, "70.0"}}, {{View::kRampEdit, "60.0"}},
        [&] { EXPECT_NEAR(PlotPoints(*page, "Command").back().second, 70, 0.01); });
  }
  {
    using View = CDiagnostics_StepTestView;
    SCOPED_TRACE("step");
    auto* page = Show<View>(kStepTest);
    g_clock->Advance(3 * 500);
    page->CheckDlgButton(View::kBaselineBoxId, BST_UNCHECKED);
    LoseTheStartAndTheStop(*page, {{View::kStartPosId, "20.0"}, {View::kStopPosId, "80.0"}, {View::kHoldId, "3.0"}},
                           {{View::kStartPosId, "30.0"}, {View::kStopPosId, "70.0"}}, {{View::kHoldId, "30.0"}},
                           [&] { EXPECT_NEAR(PlotPoints(*page, "Command").back().second, 70, 0.01); });
  }
  {
    using View = CDiagnostics_PSTView;
    SCOPED_TRACE("partial stroke");
    auto* page = Show<View>(kPartialStrokeTest);
    g_clock->Advance(2 * 5000);
    page->CheckDlgButton(View::kBaselineBoxId, BST_UNCHECKED);
    // The second run may take 1 s to its target: it cannot pass as the first did.
    LoseTheStartAndTheStop(*page,
                           {{View::kStartPosId, "100.0"},
                            {View::kStopPosId, "90.0"},
                            {View::kHoldId, "5.0"},
                            {View::kRampId, "10.0"},
                            {View::kTimeLimitId, "30.0"}},
                           {{View::kTimeLimitId, "1.0"}}, {{View::kRampId, "60.0"}, {View::kTimeLimitId, "90.0"}},
                           [&] { EXPECT_EQ(page->GetDlgItemText(View::kResultId), Text("PST_RESULT_1_EnumDescr")); });
    EXPECT_EQ(page->GetDlgItemText(View::kResultId), "");
  }
}

// The multi-test page runs a ramp and a partial stroke test one after the
// other with its own settings: the pages run them unasked, report back, and
// the two tests are saved at the end; in a second sequence the ramp test is
// stopped halfway and the partial stroke test follows.
TEST_F(Tests, AMultiTestSequenceRunsRampAndPartialStrokeAndSavesBoth) {
  using View = CDiagnostics_OfflineView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kMultiTest);
  Click(*page, View::kRampBoxId);
  Click(*page, View::kPstBoxId);
  for (const auto& [id, text] :
       {std::pair{View::kRampStartId, "10.0"}, {View::kRampStopId, "90.0"}, {View::kRampHoldId, "3.0"},
        {View::kRampTimeId, "20.0"}, {View::kPstStartId, "100.0"}, {View::kPstStopId, "90.0"},
        {View::kPstTimeLimitId, "30.0"}, {View::kPstRampTimeId, "10.0"}, {View::kPstHoldId, "5.0"}})
    page->SetDlgItemText(id, text);
  const auto runToEnd = [&] {
    for (int i = 0; i < 20000 && (SelectedCode() != kMultiTest || page->IsSequenceActive()); ++i) g_clock->Advance(100);
    ASSERT_EQ(ShownPage(), page);
    ASSERT_FALSE(page->IsSequenceActive());
  };

  const std::string ramp = files.filePath("sequence.rmp").toStdString();
  const std::string pst = files.filePath("sequence.pst").toStdString();
  Start(*page, View::kStartId);
  EXPECT_EQ(SelectedCode(), kRampTest);
  person.Answer(IDOK).AnswerFile(ramp).AnswerFile(pst);
  runToEnd();
  EXPECT_EQ(page->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("RAMPTEST_COMPLETE"), Text("PST_STARTED"),
                                      Text("PST_COMPLETE"), Text("MULTITEST_FINISHED")}));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(ramp)));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(pst)));
  // The test pages of the sequence, as it knows them.
  auto* rampPage = static_cast<CDiagnostics_RampTestView*>(theApp().m_pRampTestView);
  EXPECT_EQ(PlotPoints(*rampPage, "Position").size(), 208u);
  EXPECT_EQ(PlotPoints(*static_cast<CDiagnostics_PSTView*>(theApp().m_pPSTView), "Position").size(), 208u);
  SaveScreen("multi_test_finished");
  const QString printed = PrintedText(*page, View::kPrintId);
  EXPECT_TRUE(printed.contains(QStringLiteral("FV-101")));
  EXPECT_TRUE(printed.contains(QStringLiteral("NA")));  // step and HDRL did not run

  // Stopped halfway through the ramp: the partial stroke test follows.
  Start(*page, View::kStartId);
  ASSERT_EQ(ShownPage(), rampPage);
  for (int i = 0; i < 10; ++i) g_clock->Advance(1000);
  ASSERT_TRUE(rampPage->IsTestRunning());
  Click(*rampPage, CDiagnostics_RampTestView::kStopId);
  person.Answer(IDCANCEL);
  runToEnd();
  EXPECT_EQ(page->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("RAMPTEST_STOPPED"), Text("PST_STARTED"),
                                      Text("PST_COMPLETE"), Text("MULTITEST_FINISHED")}));
  EXPECT_EQ(page->m_abTestDone, (std::array<bool, 4>{}));
}

// A ramp and a partial stroke test in sequence; the device answers nothing
// from the ramp's abort on. The list says the stop was not confirmed, and
// the sequence waits on the ramp page, which offers Stop and reads on while
// the ramp runs; once the device answers and is seen still testing, the
// abort goes again, and the partial stroke test follows. The stopped ramp
// is not offered for saving.
TEST_F(Tests, ASequenceWaitsOnAStopTheDeviceDidNotConfirm) {
  using View = CDiagnostics_OfflineView;
  using Ramp = CDiagnostics_RampTestView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kMultiTest);
  for (int box : {View::kStepBoxId, View::kHdrlBoxId})
    if (page->IsDlgButtonChecked(box) == BST_CHECKED) Click(*page, box);
  for (int box : {View::kRampBoxId, View::kPstBoxId})
    if (page->IsDlgButtonChecked(box) != BST_CHECKED) Click(*page, box);
  for (const auto& [id, text] :
       {std::pair{View::kRampStartId, "10.0"}, {View::kRampStopId, "90.0"}, {View::kRampHoldId, "3.0"},
        {View::kRampTimeId, "60.0"}, {View::kPstStartId, "100.0"}, {View::kPstStopId, "90.0"},
        {View::kPstTimeLimitId, "30.0"}, {View::kPstRampTimeId, "10.0"}, {View::kPstHoldId, "5.0"}})
    page->SetDlgItemText(id, text);
  const auto testing = [this] { return device->State().tests.run.type != 0; };
  Start(*page, View::kStartId);
  auto* rampPage = static_cast<Ramp*>(theApp().m_pRampTestView);
  ASSERT_EQ(ShownPage(), rampPage);
  for (int i = 0; i < 10; ++i) g_clock->Advance(1000);
  ASSERT_TRUE(testing());

  device->InjectNoReply(-1);
  Click(*rampPage, Ramp::kStopId);
  for (int tick = 0; tick < 20; ++tick) g_clock->Advance(1000);
  EXPECT_EQ(page->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("STATUSABORTED_UNCONFIRMED")}));
  EXPECT_TRUE(page->IsSequenceActive());
  EXPECT_EQ(ShownPage(), rampPage);
  EXPECT_TRUE(testing());
  // Too long for its field: the short form shows, and the whole sentence
  // when the pointer rests on it.
  EXPECT_EQ(rampPage->GetDlgItemText(Ramp::kStatusId), StatusText("STATUSABORTED_UNCONFIRMED"));
  EXPECT_EQ(rampPage->GetDlgItem(Ramp::kStatusId)->GetSafeWidget()->toolTip().toStdString(),
            Text("STATUSABORTED_UNCONFIRMED"));
  EXPECT_TRUE(Enabled(*rampPage, Ramp::kStopId));
  EXPECT_FALSE(Enabled(*rampPage, Ramp::kStartId));
  SaveScreen("multi_test_stop_unconfirmed");

  const std::string pst = files.filePath("after_stop.pst").toStdString();
  person.Answer(IDOK).AnswerFile(pst);
  device->ClearFaults();
  for (int i = 0; i < 20000 && (SelectedCode() != kMultiTest || page->IsSequenceActive()); ++i) g_clock->Advance(100);
  ASSERT_EQ(ShownPage(), page);
  EXPECT_EQ(page->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("STATUSABORTED_UNCONFIRMED"),
                                      Text("RAMPTEST_STOPPED"), Text("PST_STARTED"), Text("PST_COMPLETE"),
                                      Text("MULTITEST_FINISHED")}));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(pst)));
  // Start, the final question and the partial stroke test's save dialog.
  EXPECT_EQ(person.Asked().size(), 3u);
  SaveScreen("multi_test_after_unconfirmed_stop");
}

// The data monitor records the simulated valve while the process moves its
// input along a slow sine: every value moves on the plot; the record is
// saved, opened again and printed.
TEST_F(Tests, TheDataMonitorRecordsAMovingInputSavesLoadsAndPrints) {
  using View = CDiagnostics_DataMonitorView;
  RestoreTheDeviceAtTheEnd();
  sim::InputProfile input;
  input.shape = sim::InputShape::SlowSine;
  input.periodS = 180;
  device->SetInputProfile(input);
  auto* page = Show<View>(kDataMonitor);
  g_clock->Advance(2 * 1000);
  ASSERT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());

  // Three minutes at the shortest interval, 2 s.
  page->GetDlgItemAs<CComboBox>(View::kIntervalListId)->SetCurSel(0);
  page->GetDurationField()->put_Value(3);
  page->GetDlgItemAs<CButton>(View::kStartId)->Click();
  ASSERT_TRUE(person.Asked().empty());  // it only reads: no question
  g_clock->Advance(1000);
  ASSERT_EQ(page->GetRunState(), View::kRunningState);
  for (int tick = 0; tick < 400 && page->GetRunState() != View::kIdleState; ++tick) g_clock->Advance(1000);
  ASSERT_EQ(page->GetRunState(), View::kIdleState);
  EXPECT_EQ(page->GetDlgItemText(View::kMinutesId), "3");
  EXPECT_EQ(page->GetDlgItemText(View::kSecondsId), "0");

  IiPlotXPtr plot(page->GetPlot());
  CCommonFunctions& common = theApp().m_CommonFunctions;
  std::map<std::string, std::vector<double>> drawn;
  for (const char* name : {"Command", "Position", "AnalogCommand", "Temperature", "Spool_CMD", "Spool_Pos"}) {
    IiPlotChannelPtr channel = common.GetPlotChannelByName(plot, name);
    LONG count = 0;
    channel->GetCount(&count);
    ASSERT_EQ(count, 90) << name;
    std::vector<double>& ys = drawn[name];
    for (LONG i = 0; i < count; ++i) {
      double y = 0;
      channel->GetY(i, &y);
      ys.push_back(y);
    }
    const auto [low, high] = std::minmax_element(ys.begin(), ys.end());
    EXPECT_GT(*high - *low, std::string(name) == "Temperature" ? 1.0 : 5.0) << name;
  }
  SaveScreen("data_monitor_run");

  const std::string path = files.filePath("run.lgr").toStdString();
  person.AnswerFile(path);
  page->GetDlgItemAs<CButton>(View::kSaveId)->Click();
  page->GetDlgItemAs<CComboBox>(View::kIntervalListId)->SetCurSel(4);
  page->GetDurationField()->put_Value(9);
  page->SetDlgItemText(View::kMinutesId, "");
  person.AnswerFile(path);
  page->GetDlgItemAs<CButton>(View::kLoadId)->Click();
  EXPECT_EQ(page->GetDlgItemAs<CComboBox>(View::kIntervalListId)->GetCurSel(), 0);
  double duration = 0;
  page->GetDurationField()->get_Value(&duration);
  EXPECT_EQ(duration, 3);
  EXPECT_EQ(page->GetDlgItemText(View::kMinutesId), "3");
  IiPlotChannelPtr position = common.GetPlotChannelByName(plot, "Position");
  LONG count = 0;
  position->GetCount(&count);
  ASSERT_EQ(count, 90);
  double last = 0;
  position->GetY(89, &last);
  EXPECT_EQ(last, drawn["Position"].back());
  EXPECT_EQ(common.m_strFileTag.str(), "FV-101  ");

  const QString printed = PrintedText(*page, View::kPrintId);
  EXPECT_TRUE(printed.contains(QString::fromStdString(Text("DATALOGGERREPORT")))) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("FV-101")));
  EXPECT_EQ(common.m_strLoggerSettings.duration.str(), "    3");
  EXPECT_TRUE(MissingTexts(page->GetSafeWidget()).empty());
  SaveScreen("data_monitor_loaded");
}

// The technician's raw readings: live, kept while the link is lost with the
// failure count growing, and live again with the count back at 0.
TEST_F(Diagnostics, TechnicianSensorsShowTheValveAndTheLostLink) {
  using View = CDiagnostics_TechSensorsView;
  auto* page = Show<View>(kTechSensors);
  auto text = [page](int id) { return page->GetDlgItemText(id); };
  // Each reading as the valve stands at the read.
  auto expectValve = [&] {
    const sim::ValveModel valve = device->State().valve;
    EXPECT_EQ(text(View::kPositionId), plat::FormatNumber("%5.2f", valve.position));
    EXPECT_EQ(text(View::kPilotCommandId), plat::FormatNumber("%5.2f", valve.pilotCommand));
    EXPECT_EQ(text(View::kLoopCurrentId), plat::FormatNumber("%5.2f", 4 + 0.16 * valve.analogInput));
    EXPECT_EQ(text(View::kPositionCountId), std::to_string(static_cast<int>(device->Variable(83))));
    EXPECT_EQ(text(View::kHallCountId), std::to_string(static_cast<int>(device->Variable(78))));
    EXPECT_EQ(text(View::kCommandCountId), std::to_string(static_cast<int>(device->Variable(88))));
  };
  // A read, so that the next tick is a status poll.
  if (page->GetStep() == View::kReadStep) g_clock->Advance(5000);
  g_clock->Advance(2 * 5000);
  expectValve();
  EXPECT_EQ(text(View::kRetriesId), "0");
  SaveScreen("tech_sensors");

  const std::string position = text(View::kPositionId);
  device->InjectNoReply(-1);
  g_clock->Advance(4 * 5000);
  EXPECT_EQ(text(View::kRetriesId), "2");
  EXPECT_EQ(text(View::kPositionId), position);
  EXPECT_EQ(page->GetDlgItemText(1012), "Loss of Communication");
  SaveScreen("tech_sensors_link_lost");

  device->ClearFaults();
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(text(View::kRetriesId), "0");
  expectValve();
  // The header learns of the link at the next poll.
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(page->GetDlgItemText(1012).rfind("Loss", 0), std::string::npos);
}

// A command calibration through its wizard on the default simulated
// positioner, whose loop calibrator gives 4 mA for the low point and 20 mA
// for the high one: the device keeps the points in place of an older
// calibration, the loop has its 12 mA back, and the report prints.
TEST_F(Calibration, ACommandCalibrationTakesItsPointsAndItsReportPrints) {
  using View = CCalibration_CommandCalibView;
  RestoreTheDeviceAtTheEnd();
  device->SetVariable(85, 7000);
  device->SetVariable(86, 56500);
  device->SetVariable(87, 49500);
  auto* page = Show<View>(kCommandCalibration);
  g_clock->Advance(3 * 5000);
  auto until = [&](int id) {
    for (int tick = 0; tick < 6 && !Enabled(*page, id); ++tick) g_clock->Advance(5000);
    return Enabled(*page, id);
  };
  // The input as the page shows it, after an idle round that reads it.
  auto input = [&] {
    g_clock->Advance(2 * 5000);
    return page->GetDlgItemText(View::kCurrentId) + " mA, " + page->GetDlgItemText(View::kCountId);
  };
  ASSERT_TRUE(Enabled(*page, View::kStartId));
  const std::string loop = input();

  page->SetDlgItemText(View::kInitialsId, "JQP");
  page->GetDlgItemAs<CButton>(View::kStartId)->Click();
  ASSERT_TRUE(until(View::kAcceptId));
  EXPECT_EQ(input(), " 4.00 mA, 6400");
  page->GetDlgItemAs<CButton>(View::kAcceptId)->Click();  // the low point
  g_clock->Advance(5000);
  ASSERT_TRUE(until(View::kAcceptId));
  EXPECT_EQ(input(), "20.00 mA, 57600");
  page->GetDlgItemAs<CButton>(View::kAcceptId)->Click();  // the high point
  g_clock->Advance(5000);
  ASSERT_TRUE(until(View::kAcceptId));
  SaveScreen("command_calibration_points_taken");
  page->GetDlgItemAs<CButton>(View::kAcceptId)->Click();  // the end
  ASSERT_TRUE(until(View::kStartId));
  EXPECT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
  EXPECT_EQ(device->Variable(85), 6400);   // 4 mA
  EXPECT_EQ(device->Variable(86), 57600);  // 20 mA
  EXPECT_EQ(device->Variable(87), 51200);
  EXPECT_EQ(input(), loop);
  SaveScreen("command_calibration_done");
  const QString printed = PrintedText(*page, View::kPrintId);
  EXPECT_TRUE(printed.contains(QStringLiteral("JQP")));
  EXPECT_TRUE(printed.contains(QStringLiteral("57600")));
}

// A calibration page left through the tree within a tick of a press, then
// shown again: the command calibration takes the point pressed for as it
// is left and goes on at the point the device waits for next, never
// offering Start while the device calibrates; the stroke
// calibration, whose abort on leaving got no answer, follows the device
// until it can say what the device did.
TEST_F(Calibration, ACalibrationPageLeftWithinATickGoesOnWhereTheDeviceStands) {
  using Cmd = CCalibration_CommandCalibView;
  using Stroke = CCalibration_SensorCalibView;
  RestoreTheDeviceAtTheEnd();
  auto* command = Show<Cmd>(kCommandCalibration);
  g_clock->Advance(3 * 5000);
  auto until = [&](CWnd& page, int id) {
    for (int tick = 0; tick < 10 && !Enabled(page, id); ++tick) g_clock->Advance(5000);
    return Enabled(page, id);
  };
  command->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(*command, Cmd::kStartId);
  ASSERT_TRUE(until(*command, Cmd::kAcceptId));
  Click(*command, Cmd::kAcceptId);  // the low point, its tick not yet come when the page is left
  Select(kDashboard);
  EXPECT_EQ(device->State().calibration.command.step, Cmd::kCodeLowTaken);
  g_clock->Advance(20000);
  Show<Cmd>(kCommandCalibration);
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_FALSE(Enabled(*command, Cmd::kStartId)) << tick;
    g_clock->Advance(5000);
  }
  EXPECT_EQ(device->State().calibration.command.step, Cmd::kCodeLowTaken);
  EXPECT_EQ(command->GetInstructions(), Text("IDC_ILABEL100HELP"));
  EXPECT_FALSE(Enabled(*command, Cmd::kStartId));
  EXPECT_TRUE(Enabled(*command, Cmd::kAbortId));
  for (const char* point : {"high", "end"}) {
    ASSERT_TRUE(until(*command, Cmd::kAcceptId)) << point;
    Click(*command, Cmd::kAcceptId);
    g_clock->Advance(5000);
  }
  ASSERT_TRUE(until(*command, Cmd::kStartId));
  EXPECT_EQ(command->GetInstructions(), Text("SUCCESSCAL"));
  EXPECT_EQ(device->State().calibration.command.step, 0);

  auto* stroke = Show<Stroke>(kSensorCalibration);
  g_clock->Advance(3 * 5000);
  const double low = device->Variable(80);
  stroke->SetDlgItemText(Stroke::kInitialsId, "JQP");
  Start(*stroke, Stroke::kStartId);
  g_clock->Advance(5000);
  for (int tick = 0; tick < 100 && device->Variable(170) != 33; ++tick) g_clock->Advance(5000);
  ASSERT_EQ(device->Variable(170), 33);
  device->InjectNoReply();  // the abort that leaving sends
  Select(kDashboard);
  g_clock->Advance(20000);
  ASSERT_NE(device->Variable(170), Stroke::kIdle);  // still calibrating
  Show<Stroke>(kSensorCalibration);
  for (int tick = 0; tick < 20 && !Enabled(*stroke, Stroke::kStartId); ++tick) {
    EXPECT_TRUE(Enabled(*stroke, Stroke::kAbortId)) << tick;
    g_clock->Advance(5000);
  }
  EXPECT_TRUE(Enabled(*stroke, Stroke::kStartId));
  EXPECT_EQ(device->Variable(170), Stroke::kIdle);
  EXPECT_EQ(device->Variable(80), low);
  EXPECT_EQ(stroke->GetDlgItemText(Stroke::kStateTextId), Text("CALABORT"));
  Select(kDashboard);
}

// A custom curve point turned on its spin edit, written to the device and
// read back from it.
TEST_F(Configuration, ACustomCurveIsEditedWrittenAndReadBack) {
  using View = CConfiguration_CustomCharView;
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kCustomCharacterisation);
  g_clock->Advance(3 * 5000);  // the set-up, then the curve
  ASSERT_TRUE(page->GetDlgItem(View::kApplyId)->IsWindowEnabled());

  // Point 5 (20 % input) turned to 12.5 % output, as a user turns it.
  const ISpinEditXPtr spin = page->GetSpin(5);
  ASSERT_NE(spin, nullptr);
  spin->put_Value(12.5);
  IControlTestPtr test;
  spin->QueryInterface(IControlTest::kIID, reinterpret_cast<void**>(&test));
  test->UserEvent(203, {});
  page->GetDlgItemAs<CButton>(View::kApplyId)->Click();
  g_clock->Advance(2 * 5000);
  EXPECT_EQ(device->State().setup.customCurve[4], 1250);

  spin->put_Value(60);  // a change the device does not hold
  page->GetDlgItemAs<CButton>(View::kRetrieveId)->Click();
  g_clock->Advance(3 * 5000);
  double shown = 0;
  spin->get_Value(&shown);
  EXPECT_EQ(shown, 12.5);
  SaveScreen("custom_characterisation_written");
}

// Two step tests of one valve compared: the second after the valve got more
// friction, a wider dead band and a slower response, a third with another
// hold time. The settings question comes for the third only; the position
// difference shows the worn valve, the command difference nothing; the
// report prints.
TEST_F(Comparisons, StepTestsOfAValveBeforeAndAfterWearCompareAndPrint) {
  using Test = CDiagnostics_StepTestView;
  using Compare = CDiagnostics_StepCompareView;
  const sim::DeviceState& before = RestoreTheDeviceAtTheEnd();
  auto* test = Show<Test>(kStepTest);
  g_clock->Advance(3 * 500);
  const auto runAndSave = [&](const char* hold, const char* name) {
    test->SetDlgItemText(Test::kStartPosId, "40.0");
    test->SetDlgItemText(Test::kStopPosId, "60.0");
    test->SetDlgItemText(Test::kHoldId, hold);
    RunTest(*test);
    const std::string path = files.filePath(name).toStdString();
    person.AnswerFile(path);
    Click(*test, Test::kSaveId);
    return path;
  };
  const std::string healthy = runAndSave("5.0", "healthy.stp");
  sim::DeviceState worn = device->State();
  worn.valve.breakaway = 4.0;
  worn.valve.deadBand = 1.5;
  worn.valve.timeConstant = 2 * before.valve.timeConstant;  // the friction slows it down
  device->SetState(worn);
  const std::string wornFile = runAndSave("5.0", "worn.stp");
  const std::string longer = runAndSave("8.0", "longer.stp");

  auto* page = Show<Compare>(kStepCompare);
  person.AnswerFile(healthy);
  Click(*page, CComparePage::kFile1Id);
  EXPECT_EQ(page->GetDlgItemText(Compare::kName1Id), "healthy.stp");
  person.AnswerFile(longer).Answer(IDCANCEL);
  Click(*page, CComparePage::kFile2Id);
  EXPECT_EQ(person.Asked().back().caption, "Compare");
  EXPECT_EQ(page->GetDlgItemText(Compare::kHold2Id), "");
  person.AnswerFile(wornFile);
  Click(*page, CComparePage::kFile2Id);
  EXPECT_EQ(page->GetDlgItemText(Compare::kName2Id), "worn.stp");
  EXPECT_EQ(page->GetDlgItemText(Compare::kHold2Id), "5");

  const auto position = PlotPoints(*page, "PositionDiff");
  const auto command = PlotPoints(*page, "CommandDiff");
  ASSERT_EQ(position.size(), 208u);
  ASSERT_EQ(command.size(), 208u);
  double most = 0, mostCommand = 0;
  for (size_t i = 0; i < position.size(); ++i) {
    most = std::max(most, std::abs(position[i].second));
    mostCommand = std::max(mostCommand, std::abs(command[i].second));
  }
  EXPECT_GT(most, 3.0);
  EXPECT_LT(mostCommand, 0.5);
  SaveScreen("compare_step");

  const QString printed = PrintedText(*page, CComparePage::kPrintId);
  for (const std::string& text : {Text("STEPCMPREPORTTITLE"), std::string("healthy.stp"), std::string("worn.stp")})
    EXPECT_TRUE(printed.contains(QString::fromStdString(text))) << text;
}

// Two HDRL tests of the simulated valve compared, the second after the
// valve gained dead band and friction, and a third with a longer settling
// time that the comparison asks about.
TEST_F(Comparisons, TwoHDRLRunsOfAValveThatGainedFrictionAreCompared) {
  using Test = CDiagnostics_HDRLView;
  using View = CDiagnostics_HDRLCompareView;
  const sim::DeviceState& before = RestoreTheDeviceAtTheEnd();
  auto* test = Show<Test>(kHdrlTest);
  // A whole run on the manual clock, saved as `name`.
  const auto run = [&](const char* settlingTime, const char* name) {
    test->SetDlgItemText(Test::kSettlingTimeId, settlingTime);
    g_clock->Advance(2 * 500);
    ASSERT_TRUE(test->GetDlgItem(Test::kStartId)->IsWindowEnabled());
    ASSERT_NO_FATAL_FAILURE(RunHdrl(*test, 600));
    person.AnswerFile(files.filePath(name).toStdString());
    test->GetDlgItemAs<CButton>(Test::kSaveId)->Click();
  };
  run("6", "before.hdrl");
  sim::DeviceState worn = before;
  worn.valve.deadBand = 0.8;
  worn.valve.breakaway = 1.5;
  device->SetState(worn);
  run("6", "after.hdrl");
  run("8", "slower.hdrl");
  test->SetDlgItemText(Test::kSettlingTimeId, "6");

  auto* page = Show<View>(kHdrlCompare);
  const auto load = [&](int button, const char* name) {
    person.AnswerFile(files.filePath(name).toStdString());
    page->GetDlgItemAs<CButton>(button)->Click();
  };
  load(View::kFile1Id, "before.hdrl");
  load(View::kFile2Id, "after.hdrl");  // the same settling time: no question
  EXPECT_EQ(page->GetDlgItemText(899), "FV-101  ");
  EXPECT_EQ(page->GetDlgItemText(1111), "after.hdrl");
  EXPECT_EQ(page->GetDlgItemText(608), "6");
  // More dead band and friction leave the stem further behind the command
  // on the way up than on the way down.
  const double hysteresis1 = std::stod(page->GetDlgItemText(594)), hysteresis2 = std::stod(page->GetDlgItemText(596));
  EXPECT_GT(hysteresis2, hysteresis1);
  const double delta = std::stod(page->GetDlgItemText(597));
  EXPECT_GT(delta, 0.1);
  EXPECT_NEAR(delta, hysteresis2 - hysteresis1, 0.011);
  const auto points = [&](const char* channel) { return PlotPoints(*page, channel); };
  EXPECT_EQ(points("Position2").size(), 49u);
  EXPECT_NE(points("Position2"), points("Position"));
  EXPECT_NE(points("1stCycle-Incr2"), points("1stCycle-Incr"));
  SaveScreen("compare_hdrl");
  page->GetDlgItemAs<CButton>(View::kHDRId)->Click();
  SaveScreen("compare_hdrl_hdr");
  page->GetDlgItemAs<CButton>(View::kLinearityId)->Click();
  SaveScreen("compare_hdrl_linearity");
  EXPECT_TRUE(MissingTexts(page->GetSafeWidget()).empty());

  const QString printed = PrintedText(*page, View::kPrintId);
  for (const std::string& text :
       {Text("HDRLCMPREPORTTITLE"), std::string("after.hdrl"), page->GetDlgItemText(597), page->GetDlgItemText(596)})
    EXPECT_TRUE(printed.contains(QString::fromStdString(text))) << text << "\n" << printed.toStdString();
  EXPECT_FALSE(page->GetDlgItem(View::kControlSignalId)->IsWindowEnabled());

  // Another settling time: refused, then taken.
  const std::vector<std::pair<double, double>> kept = points("Position2");
  person.AnswerFile(files.filePath("slower.hdrl").toStdString()).Answer(IDCANCEL);
  page->GetDlgItemAs<CButton>(View::kFile2Id)->Click();
  EXPECT_EQ(person.Asked().back().caption, "Compare");
  EXPECT_EQ(page->GetDlgItemText(1111), "after.hdrl");
  EXPECT_EQ(points("Position2"), kept);
  person.AnswerFile(files.filePath("slower.hdrl").toStdString()).Answer(IDOK);
  page->GetDlgItemAs<CButton>(View::kFile2Id)->Click();
  EXPECT_EQ(page->GetDlgItemText(608), "8");
  EXPECT_EQ(page->GetDlgItemText(1111), "slower.hdrl");
}

// Two ramp tests of the simulated valve, the second after it wore (more
// friction, a larger dead band), compared on the ramp comparison page; a
// third run with a longer hold asks before it is compared.
TEST_F(Comparisons, TwoRampTestsOfAWornValveShowItsLagAndPrint) {
  using Test = CDiagnostics_RampTestView;
  using View = CDiagnostics_RampCompareView;
  RestoreTheDeviceAtTheEnd();

  auto* test = Show<Test>(kRampTest);
  g_clock->Advance(3 * 1000);
  const auto run = [&](const char* hold, const char* name) {
    test->SetDlgItemText(Test::kStartEdit, "10.0");
    test->SetDlgItemText(Test::kStopEdit, "90.0");
    test->SetDlgItemText(Test::kHoldEdit, hold);
    test->SetDlgItemText(Test::kRampEdit, "20.0");
    test->CheckDlgButton(Test::kBidirectionalBox, BST_CHECKED);
    RunTest(*test);
    const std::string path = files.filePath(name).toStdString();
    person.AnswerFile(path);
    Click(*test, Test::kSaveId);
    return path;
  };
  const std::string baseline = run("3.0", "baseline.rmp");
  sim::DeviceState worn = device->State();
  worn.valve.breakaway = 4.0;
  worn.valve.deadBand = 2.0;
  device->SetState(worn);
  const std::string wornFile = run("3.0", "worn.rmp");
  const std::string longerHold = run("6.0", "longer_hold.rmp");

  auto* page = Show<View>(kRampCompare);
  person.AnswerFile(baseline);
  Click(*page, CComparePage::kFile1Id);
  const size_t asked = person.Asked().size();
  person.AnswerFile(wornFile);
  Click(*page, CComparePage::kFile2Id);
  EXPECT_EQ(person.Asked().size(), asked + 1);  // the same settings: no question
  EXPECT_EQ(page->GetDlgItemText(899), page->GetDlgItemText(910));
  EXPECT_EQ(page->GetDlgItemText(1111), "worn.rmp");
  EXPECT_EQ(page->GetDlgItemText(408), "Yes");

  // The same commands, and a valve that now sticks and lags behind them.
  double largest = 0;
  for (const auto& [x, y] : testsupport::PlotPoints(page->GetPlot(), "CommandDiff")) EXPECT_EQ(y, 0.0) << x;
  const auto position = testsupport::PlotPoints(page->GetPlot(), "PositionDiff");
  ASSERT_EQ(position.size(), 416u);
  for (const auto& [x, y] : position) largest = std::max(largest, std::abs(y));
  EXPECT_GT(largest, 1.0);
  EXPECT_FALSE(testsupport::PlotPoints(page->GetPlot(), "PosnvCmdCloseDiff").empty());
  SaveScreen("compare_ramp");
  Click(*page, View::kSignalViewId);
  SaveScreen("compare_ramp_signal_vs_command");
  Click(*page, View::kRampViewId);

  // Another hold time: asked, and Cancel keeps the worn valve as file 2.
  person.AnswerFile(longerHold).Answer(IDCANCEL);
  Click(*page, CComparePage::kFile2Id);
  EXPECT_EQ(person.Asked().back().caption, "Compare");
  EXPECT_EQ(page->GetDlgItemText(1111), "worn.rmp");
  person.AnswerFile(longerHold).Answer(IDOK);
  Click(*page, CComparePage::kFile2Id);
  EXPECT_EQ(page->GetDlgItemText(1111), "longer_hold.rmp");
  EXPECT_EQ(page->GetDlgItemText(893), "3");
  EXPECT_EQ(page->GetDlgItemText(897), "6");

  const QString printed = PrintedText(*page, CComparePage::kPrintId);
  EXPECT_TRUE(printed.contains(QStringLiteral("longer_hold.rmp")));
  EXPECT_TRUE(printed.contains(Text("RAMPCMPREPORTTITLE").c_str()));
  EXPECT_EQ(page->GetViewMode(), View::kRampView);
}

// Two partial stroke tests on the simulated positioner, the second after
// the valve wore (more friction, a wider dead band) and with another time
// limit, compared: the worn valve breaks away later, the traces differ, the
// report prints. A third test with another ramp time raises the settings
// question, and Cancel keeps the comparison.
TEST_F(Comparisons, TwoPartialStrokeTestsOfAWearingValveSideBySide) {
  using Test = CDiagnostics_PSTView;
  using View = CDiagnostics_PSTCompareView;
  RestoreTheDeviceAtTheEnd();
  auto* test = Show<Test>(kPartialStrokeTest);
  g_clock->Advance(2 * 5000);
  const auto runAndSave = [&](double breakaway, double deadBand, const char* ramp, const char* limit,
                              const char* name) {
    sim::DeviceState state = device->State();
    state.valve.position = 100;
    state.valve.moving = false;
    state.valve.breakaway = breakaway;
    state.valve.deadBand = deadBand;
    device->SetState(state);
    test->SetDlgItemText(Test::kStartPosId, "100.0");
    test->SetDlgItemText(Test::kStopPosId, "90.0");
    test->SetDlgItemText(Test::kHoldId, "5.0");
    test->SetDlgItemText(Test::kRampId, ramp);
    test->SetDlgItemText(Test::kTimeLimitId, limit);
    RunTest(*test);
    Click(*test, Test::kRetrieveLastId);
    g_clock->Advance(test->GetPeriod());
    for (int tick = 0; tick < 100 && test->GetStep() != Test::kIdleStep; ++tick) g_clock->Advance(test->GetPeriod());
    EXPECT_EQ(PlotPoints(*test, "Position").size(), 208u);
    const std::string path = files.filePath(name).toStdString();
    person.AnswerFile(path);
    Click(*test, Test::kSaveId);
    return path;
  };
  const std::string baseline = runAndSave(0.5, 0.2, "10.0", "30.0", "baseline.pst");
  const std::string worn = runAndSave(3.0, 1.0, "10.0", "40.0", "worn.pst");
  const std::string otherRamp = runAndSave(0.5, 0.2, "8.0", "30.0", "ramp8.pst");

  auto* page = Show<View>(kPartialStrokeCompare);
  person.AnswerFile(baseline);
  Click(*page, View::kFile1Id);
  person.AnswerFile(worn);  // only the time limit differs: no question
  Click(*page, View::kFile2Id);
  EXPECT_EQ(person.Pending(), 0u);
  EXPECT_EQ(page->GetDlgItemText(View::kName2Id), "worn.pst");
  EXPECT_EQ(page->GetDlgItemText(View::kLimit2Id), "40");
  const double breakaway1 = plat::StrToD(page->GetDlgItemText(View::kBreakaway1Id).c_str(), nullptr);
  const double breakaway2 = plat::StrToD(page->GetDlgItemText(View::kBreakaway2Id).c_str(), nullptr);
  EXPECT_GT(breakaway2, breakaway1);  // more friction holds the stem longer
  EXPECT_NEAR(plat::StrToD(page->GetDlgItemText(View::kBreakawayDiffId).c_str(), nullptr), breakaway2 - breakaway1,
              0.011);
  const auto diff = testsupport::PlotPoints(page->GetComparePlot(), "PositionDiff");
  ASSERT_EQ(diff.size(), 208u);
  double largest = 0;
  for (const auto& [x, y] : diff) largest = std::max(largest, std::abs(y));
  EXPECT_GT(largest, 0.5);  // the worn valve lags where the new one moved
  const QString printed = PrintedText(*page, View::kPrintId);
  EXPECT_TRUE(printed.contains(QString::fromStdString(Text("PSTCMPREPORTTITLE"))));
  EXPECT_TRUE(printed.contains(QStringLiteral("worn.pst")));

  // Another ramp time asks; Cancel keeps both files.
  person.AnswerFile(otherRamp).Answer(IDCANCEL);
  Click(*page, View::kFile2Id);
  EXPECT_EQ(person.Asked().back().text,
            "Settings do not Match. Comparision may be Invalid. Do you wish to continue");
  EXPECT_EQ(page->GetDlgItemText(View::kName2Id), "worn.pst");
  EXPECT_EQ(testsupport::PlotPoints(page->GetComparePlot(), "PositionDiff"), diff);
  EXPECT_TRUE(MissingTexts(page->GetSafeWidget()).empty());
  SaveScreen("compare_pst");
}

// The real question of the running program, not the scripted person's:
// Qt's own Yes and No speak the language the program chose from the locale.
TEST_F(QtDialogs, TheStartQuestionHasQtsButtonsInTheProgramsLanguage) {
  using View = CDiagnostics_HDRLView;
  const std::map<std::string, std::pair<const char*, const char*>> kYesNo = {
      {"1033", {"&Yes", "&No"}},   {"1031", {"&Ja", "&Nein"}}, {"3082", {"&S\u00ed", "&No"}},
      {"1036", {"&Oui", "&Non"}},  {"1040", {"&S\u00ec", "&No"}}, {"1046", {"&Sim", "&N\u00e3o"}},
      {"1055", {"&Evet", "&Hay\u0131r"}},
  };
  const auto expected = kYesNo.find(theApp().m_strLanguageId.str());
  ASSERT_NE(expected, kYesNo.end()) << theApp().m_strLanguageId.str();
  RestoreTheDeviceAtTheEnd();
  auto* page = Show<View>(kHdrlTest);
  g_clock->Advance(2 * 500);
  ASSERT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());

  QString text, yes, no;
  QTimer::singleShot(0, [&] {
    QMessageBox* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    for (QWidget* w : QApplication::topLevelWidgets())
      if (!box && w->isVisible()) box = qobject_cast<QMessageBox*>(w);
    if (!box) return ADD_FAILURE() << "no message box shown";
    text = box->text();
    if (QAbstractButton* button = box->button(QMessageBox::Yes)) yes = button->text();
    QAbstractButton* button = box->button(QMessageBox::No);
    if (button) no = button->text();
    box->grab().save(ScreensDir() + "/start_question.png");
    if (button) button->click();
    else box->reject();
  });
  page->GetDlgItemAs<CButton>(View::kStartId)->Click();
  EXPECT_EQ(text.toStdString(), Text("CAUSEMOVEMENT") + "\n" + Text("CONTINUE"));
  EXPECT_EQ(yes.toStdString(), expected->second.first);
  EXPECT_EQ(no.toStdString(), expected->second.second);
  g_clock->Advance(500);
  EXPECT_FALSE(page->IsRunning()) << "No starts nothing";
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qt(argc, argv);
  plat::UseCNumericLocale();
  QApplication::setStyle(QStringLiteral("Fusion"));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
