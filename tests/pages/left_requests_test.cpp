// What a request button asks of the device is done whichever page the
// user chooses next: every page of the program built as the frame builds
// it, with the tree, on the simulated positioner. Each case clicks one
// request button and chooses another page at once, before the page's next
// tick, and holds the device to what the click asked, and the page shown
// again to what it would offer had it stayed.
#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/data_monitor.h"
#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "page_fixture.h"
#include "platform/activex/controls.h"
#include "shell/alert_page.h"
#include "shell/annunciator_page.h"
#include "shell/tree_view.h"
#include "views/config/calibration_errors.h"
#include "views/config/command_calibration.h"
#include "views/config/custom_characterisation.h"
#include "views/config/hart_information.h"
#include "views/config/pressure_control.h"
#include "views/config/sensor_calibration.h"
#include "views/config/stroke_characterisation.h"
#include "views/health/pilot_relay.h"
#include "views/health/positioner_health.h"
#include "views/health/valve_cycles_travel.h"
#include "views/health/valve_health.h"
#include "views/status/event_history.h"

namespace {

using testpages::Bytes;

class LeftRequests : public testpages::SimulatedPage {
 public:
  void SetUp() override {
    testpages::LoadEnglish();
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    CTarnixWexletApp& app = theApp();
    for (const PageEntry& entry : PageTable()) {
      CTarnixPage* page = CreatePage(entry.viewIndex);
      ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), &host, static_cast<UINT>(entry.viewIndex)));
      page->SendInitialUpdate();
      app.m_pViews[static_cast<size_t>(entry.viewIndex)] = page;
    }
    auto* tree = new CTarnixWexletView;
    ASSERT_TRUE(tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 400), &host, 2));
    tree->SendInitialUpdate();
    app.m_pTreeView = tree;
    Show(treeitem::kDashboard);
  }
  void TearDown() override {
    CTarnixWexletApp& app = theApp();
    for (const PageEntry& entry : PageTable()) app.m_pViews[static_cast<size_t>(entry.viewIndex)] = nullptr;
    app.m_pMultiTestView = app.m_pRampTestView = app.m_pStepTestView = app.m_pHDRLView = app.m_pPSTView = nullptr;
    app.m_pTreeView = nullptr;
    SimulatedPage::TearDown();
  }
  // A new program on a new device, as at the start of a test.
  void Restart() {
    TearDown();
    host.Make();
    SetUp();
  }

  // What a click on the tree does: every page stops, the chosen one starts.
  void Show(int item) {
    CTarnixWexletView::SelectItemByCode(item);
    shown = CTarnixWexletView::PageByCode(item);
    shown->StartMonitoring();
  }
  void Pass(int ms) {
    for (int t = 0; t < ms; t += 100) clock.Advance(100);
  }
  bool Enabled(int id) const { return shown->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
  void Click(int id) { shown->GetDlgItemAs<CButton>(id)->Click(); }
  void Type(int id, const char* text) { shown->SetDlgItemText(id, text); }

  CTarnixPage* shown = nullptr;
};

// A request button on its page, how the page is made ready for it, and
// what the click asks of the device: the requests by command (and, for a
// variable list write, its first variable), in order.
struct ButtonCase {
  const char* name;
  int item;
  int button;
  std::function<void(LeftRequests&)> prepare;
  std::vector<std::string> asked;
};

using Ramp = CDiagnostics_RampTestView;
using Step = CDiagnostics_StepTestView;
using Pst = CDiagnostics_PSTView;
using Hdrl = CDiagnostics_HDRLView;
using Hart = CConfiguration_PosHartInformationView;
using Cmd = CCalibration_CommandCalibView;
using Stroke = CCalibration_SensorCalibView;
using Monitor = CDiagnostics_DataMonitorView;

// "201:454" for a write of the variable list that starts with 454, else the command.
std::string Signature(const Bytes& request) {
  if (request.size() > 3 && request[0] == 201) return "201:" + std::to_string(request[2] << 8 | request[3]);
  return std::to_string(request[0]);
}

void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.name; }

// Start, Yes to the question, and the run under way: in the device, or
// driven by the HDRL page.
void StartRun(LeftRequests& t, int start, std::vector<std::pair<int, const char*>> setup) {
  for (const auto& [id, text] : setup) t.Type(id, text);
  t.person.Answer(IDYES);
  ASSERT_TRUE(t.Enabled(start));
  t.Click(start);
  const auto* hdrl = dynamic_cast<const Hdrl*>(t.shown);
  auto running = [&] { return hdrl ? hdrl->IsRunning() : t.device->State().tests.run.type != 0; };
  for (int ms = 0; ms < 20000 && !running(); ms += 100) t.clock.Advance(100);
  ASSERT_TRUE(running());
}

void StartCalibration(LeftRequests& t, int initials, int start, bool asks) {
  t.Type(initials, "JQP");
  if (asks) t.person.Answer(IDYES);
  t.Click(start);
  t.Pass(10000);
}

const std::vector<ButtonCase>& Cases() {
  static const std::vector<ButtonCase> cases = {
      {"alarm masks Apply", treeitem::kAlarmAnnunciator, CAnnunciatorPage::kApplyId, {}, {"177"}},
      {"management masks Apply", treeitem::kManagementAnnunciator, CAnnunciatorPage::kApplyId, {}, {"177"}},
      {"technician masks Apply", treeitem::kTechAnnunciator, CAnnunciatorPage::kApplyId, {}, {"177"}},
      {"alarm masks Retrieve", treeitem::kAlarmAnnunciator, CAnnunciatorPage::kRetrieveId, {}, {"176"}},
      {"event history Clear", treeitem::kEventHistory, CAlarm_EventHistoryView::kClearId, {}, {"201:454"}},
      {"valve cycles reset", treeitem::kValveHealth, CHealth_Val_MainView::kResetCyclesId, {}, {"156", "157"}},
      {"valve travel reset", treeitem::kValveHealth, CHealth_Val_MainView::kResetTravelId, {}, {"156", "157"}},
      {"valve limits Apply", treeitem::kCyclesAndTravel, CHealth_Val_CycleAndTravelsView::kApplyId, {}, {"201:309"}},
      {"valve cycles reset on the limits page", treeitem::kCyclesAndTravel,
       CHealth_Val_CycleAndTravelsView::kResetCyclesId, {}, {"156", "157"}},
      {"pilot cycles reset", treeitem::kPositionerHealth, CHealth_Pos_MainView::kResetCyclesId, {}, {"162", "163"}},
      {"positioner masks Apply", treeitem::kPositionerHealth, CAnnunciatorPage::kApplyId, {}, {"177"}},
      {"pilot limits Apply", treeitem::kPilotRelay, CHealth_Pos_PilotRelayView::kApplyId, {}, {"201:332"}},
      {"pilot travel reset", treeitem::kPilotRelay, CHealth_Pos_PilotRelayView::kResetTravelId, {}, {"162", "163"}},
      {"actuator masks Apply", treeitem::kActuatorHealth, CAnnunciatorPage::kApplyId, {}, {"177"}},
      {"control-loop masks Apply", treeitem::kControlHealth, CAnnunciatorPage::kApplyId, {}, {"177"}},
      {"deviation alert Apply", treeitem::kDeviation, CAlertPage::kApplyId, {}, {"201:119"}},
      // The three parts cleared (461 selects and clears), then read again.
      {"deviation histogram reset", treeitem::kDeviation, CAlertPage::kResetId, {},
       {"201:461", "201:461", "201:461", "201:461", "208", "201:461", "208", "201:461", "208"}},
      {"position alerts Apply", treeitem::kPositionAlerts, CAlertPage::kApplyId, {}, {"201:117"}},
      {"calibration errors Apply", treeitem::kCalibrationErrors, CCalibration_ErrorsView::kApplyId, {}, {"177"}},
      {"pressure control Apply", treeitem::kPressureControl, CConfiguration_PressureControlView::kApplyId, {},
       {"201:56"}},
      {"stroke characterisation Apply", treeitem::kStrokeCharacterisation, CConfiguration_StrokeCharView::kApplyId,
       [](LeftRequests& t) { t.person.Answer(IDYES); }, {"201:167"}},
      {"custom curve Apply", treeitem::kCustomCharacterisation, CConfiguration_CustomCharView::kApplyId, {}, {"135"}},
      {"HART information Apply", treeitem::kHartInformation, Hart::kApplyId,
       [](LeftRequests& t) {
         t.Type(Hart::kMessageEdit, "A NEW MESSAGE");
         t.Type(Hart::kDescriptorEdit, "NEWDESC");
       },
       {"17", "18"}},
      {"command calibration Accept", treeitem::kCommandCalibration, Cmd::kAcceptId,
       [](LeftRequests& t) { StartCalibration(t, Cmd::kInitialsId, Cmd::kStartId, false); }, {"201:14"}},
      {"stroke calibration Abort", treeitem::kSensorCalibration, Stroke::kAbortId,
       [](LeftRequests& t) { StartCalibration(t, Stroke::kInitialsId, Stroke::kStartId, true); }, {"201:170"}},
      {"ramp test Stop", treeitem::kRampTest, Ramp::kStopId,
       [](LeftRequests& t) {
         StartRun(t, Ramp::kStartId,
                  {{Ramp::kStartEdit, "20"}, {Ramp::kStopEdit, "80"}, {Ramp::kHoldEdit, "2"}, {Ramp::kRampEdit, "20"}});
       },
       {"201:144"}},
      {"step test Stop", treeitem::kStepTest, Step::kStopId,
       [](LeftRequests& t) {
         StartRun(t, Step::kStartId, {{Step::kStartPosId, "20"}, {Step::kStopPosId, "60"}, {Step::kHoldId, "3"}});
       },
       {"201:144"}},
      {"partial stroke test Stop", treeitem::kPartialStrokeTest, Pst::kStopId,
       [](LeftRequests& t) {
         StartRun(t, Pst::kStartId,
                  {{Pst::kStartPosId, "100"}, {Pst::kStopPosId, "90"}, {Pst::kHoldId, "5"}, {Pst::kRampId, "10"},
                   {Pst::kTimeLimitId, "30"}});
       },
       {"201:144"}},
      {"HDRL test Stop", treeitem::kHdrlTest, Hdrl::kStopId,
       [](LeftRequests& t) { StartRun(t, Hdrl::kStartId, {{Hdrl::kSettlingTimeId, "6"}}); }, {"201:8"}},
      // A recording only reads: its Stop asks nothing of the device.
      {"data monitor Stop", treeitem::kDataMonitor, Monitor::kStopId,
       [](LeftRequests& t) {
         t.Click(Monitor::kStartId);
         t.Pass(7000);
       },
       {}},
  };
  return cases;
}

// What a page offers the user: each of its buttons, boxes, edits and lists,
// and each hosted control that can be switched off, by id, with whether it
// is on, shown and ticked. Texts are left out: many carry live values.
std::vector<std::string> Offered(const CWnd& page) {
  std::vector<std::string> offered;
  for (const QWidget* widget : page.GetSafeWidget()->findChildren<QWidget*>()) {
    const CWnd* control = CWnd::FromWidget(widget);
    if (!control || control->GetSafeWidget() != widget) continue;
    std::string state;
    if (const auto* button = dynamic_cast<const CButton*>(control)) {
      state = "button check=" + std::to_string(button->GetCheck());
    } else if (dynamic_cast<const CEdit*>(control)) {
      state = "edit";
    } else if (dynamic_cast<const CComboBox*>(control) || dynamic_cast<const CListBox*>(control)) {
      state = "list";
    } else if (const IControlPtr hosted{IUnknownPtr(control->GetControlUnknown())}) {
      _variant_t on;
      if (FAILED(hosted->GetSetting(activex::kEnabled, &on))) continue;
      state = "hosted on=" + std::to_string(on.vt == VT_BOOL ? on.boolVal != 0 : on.lVal != 0);
    } else {
      continue;
    }
    offered.push_back(std::to_string(control->GetDlgCtrlID()) + " " + state +
                      " enabled=" + std::to_string(control->IsWindowEnabled() != FALSE) +
                      " shown=" + std::to_string((control->GetStyle() & WS_VISIBLE) != 0));
  }
  std::sort(offered.begin(), offered.end());
  return offered;
}

class LeftAtOnce : public LeftRequests, public testing::WithParamInterface<ButtonCase> {
 public:
  // The case's page shown and made ready, then its button clicked.
  void ClickOnItsPage(const ButtonCase& c) {
    Show(c.item);
    Pass(60000);
    if (c.prepare) {
      ASSERT_NO_FATAL_FAILURE(c.prepare(*this));
    }
    ASSERT_TRUE(Enabled(c.button));
    device->ClearRequests();
    Click(c.button);
  }
};

// Before the change a click followed at once by another page was dropped:
// nothing of it reached the device.
TEST_P(LeftAtOnce, WhatTheClickAskedReachesTheDeviceAsThePageIsLeft) {
  const ButtonCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ClickOnItsPage(c));
  Show(treeitem::kDashboard);
  std::vector<std::string> sent;
  std::string all;
  for (const Bytes& r : device->Requests()) {
    all += " " + Signature(r);
    if (std::find(c.asked.begin(), c.asked.end(), Signature(r)) != c.asked.end()) sent.push_back(Signature(r));
  }
  EXPECT_EQ(sent, c.asked) << "sent:" << all;
  // Nothing more of it later, and a test or calibration stays stopped.
  device->ClearRequests();
  Pass(30000);
  for (const Bytes& r : device->Requests())
    EXPECT_EQ(std::find(c.asked.begin(), c.asked.end(), Signature(r)), c.asked.end()) << Signature(r);
  if (c.item == treeitem::kRampTest || c.item == treeitem::kStepTest || c.item == treeitem::kPartialStrokeTest) {
    EXPECT_EQ(device->State().tests.run.type, 0);
  }
  if (c.item == treeitem::kSensorCalibration) {
    EXPECT_EQ(device->Variable(170), Stroke::kIdle);
  }
}

// The same click twice from the same start: once the page stays shown,
// once another page is chosen at once and the page is shown again after
// the request was carried to its end. The page then offers the same, the
// same time after the click.
TEST_P(LeftAtOnce, ShownAgainThePageOffersWhatItWouldHadItStayed) {
  // Shown again, the slowest page (the deviation alert: eight reads at 5 s)
  // has read what it reads when shown well within a minute.
  constexpr int kCarriedMs = 30000, kShownAgainMs = 60000;
  const ButtonCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ClickOnItsPage(c));
  Pass(kCarriedMs + kShownAgainMs);
  const std::vector<std::string> stayed = Offered(*shown);

  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NO_FATAL_FAILURE(ClickOnItsPage(c));
  Show(treeitem::kDashboard);
  Pass(kCarriedMs);
  Show(c.item);
  Pass(kShownAgainMs);
  const std::vector<std::string> again = Offered(*shown);

  ASSERT_FALSE(stayed.empty());
  ASSERT_EQ(again.size(), stayed.size());
  for (size_t i = 0; i < stayed.size(); ++i) EXPECT_EQ(again[i], stayed[i]) << "had it stayed";
}

INSTANTIATE_TEST_SUITE_P(EveryRequestButton, LeftAtOnce, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<ButtonCase>& info) {
                           std::string name;
                           for (const char ch : std::string(info.param.name))
                             if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
                           return name;
                         });

// A test's Start moves the valve and belongs to its page being shown: left
// before it went out, it is not written, and the page shown again says so.
TEST_F(LeftRequests, ATestsStartLeftBeforeItWentOutIsCancelledAndSaidSo) {
  struct Case {
    const char* name;
    int item, start, status;
    std::vector<std::pair<int, const char*>> setup;
  } cases[] = {
      {"ramp", treeitem::kRampTest, Ramp::kStartId, Ramp::kStatusId,
       {{Ramp::kStartEdit, "20"}, {Ramp::kStopEdit, "80"}, {Ramp::kHoldEdit, "2"}, {Ramp::kRampEdit, "20"}}},
      {"step", treeitem::kStepTest, Step::kStartId, Step::kStatusId,
       {{Step::kStartPosId, "20"}, {Step::kStopPosId, "60"}, {Step::kHoldId, "3"}}},
      {"partial stroke", treeitem::kPartialStrokeTest, Pst::kStartId, Pst::kStatusId,
       {{Pst::kStartPosId, "100"}, {Pst::kStopPosId, "90"}, {Pst::kHoldId, "5"}, {Pst::kRampId, "10"},
        {Pst::kTimeLimitId, "30"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show(c.item);
    Pass(30000);
    for (const auto& [id, text] : c.setup) Type(id, text);
    person.Answer(IDYES);
    ASSERT_TRUE(Enabled(c.start));
    device->ClearRequests();
    Click(c.start);
    Show(treeitem::kDashboard);
    Pass(30000);
    for (const Bytes& r : device->Requests()) EXPECT_NE(Signature(r), "201:142");
    EXPECT_EQ(device->State().tests.run.type, 0);
    Show(c.item);
    Pass(12000);
    EXPECT_EQ(shown->GetDlgItemText(c.status), testpages::StatusText("TEST_START_CANCELLED"));
    EXPECT_TRUE(Enabled(c.start));
  }
}

// Leaving the stroke calibration ends a calibration: a start left before it
// went out is not written at all, and the page shown again says so.
TEST_F(LeftRequests, AStrokeCalibrationsStartLeftBeforeItWentOutIsCancelledAndSaidSo) {
  Show(treeitem::kSensorCalibration);
  Pass(30000);
  Type(Stroke::kInitialsId, "JQP");
  person.Answer(IDYES);
  device->ClearRequests();
  Click(Stroke::kStartId);
  Show(treeitem::kDashboard);
  Pass(30000);
  for (const Bytes& r : device->Requests()) EXPECT_NE(Signature(r), "201:170");
  EXPECT_EQ(device->Variable(170), Stroke::kIdle);
  Show(treeitem::kSensorCalibration);
  Pass(30000);
  EXPECT_EQ(shown->GetDlgItemText(Stroke::kStateTextId), testpages::StatusText("TEST_START_CANCELLED"));
  EXPECT_TRUE(Enabled(Stroke::kStartId));
}

// A stop the device did not confirm offers Stop again: pressed again and
// the page left at once, the abort still goes out.
TEST_F(LeftRequests, AStopPressedAgainAfterAnUnconfirmedOneIsCarriedToo) {
  Show(treeitem::kRampTest);
  Pass(30000);
  ASSERT_NO_FATAL_FAILURE(StartRun(
      *this, Ramp::kStartId,
      {{Ramp::kStartEdit, "20"}, {Ramp::kStopEdit, "80"}, {Ramp::kHoldEdit, "2"}, {Ramp::kRampEdit, "60"}}));
  device->InjectNoReply(-1);
  Click(Ramp::kStopId);
  for (int ms = 0; ms < 30000 && !Enabled(Ramp::kStopId); ms += 100) clock.Advance(100);
  ASSERT_TRUE(Enabled(Ramp::kStopId));
  device->ClearFaults();
  ASSERT_NE(device->State().tests.run.type, 0);
  device->ClearRequests();
  Click(Ramp::kStopId);
  Show(treeitem::kDashboard);
  std::vector<std::string> sent;
  for (const Bytes& r : device->Requests()) sent.push_back(Signature(r));
  EXPECT_NE(std::find(sent.begin(), sent.end(), "201:144"), sent.end());
  Pass(5000);
  EXPECT_EQ(device->State().tests.run.type, 0);
}

}  // namespace
