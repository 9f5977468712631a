// Every page as the frame builds it (constructed in view order, created
// hidden under one parent with its view index as id, then initialised),
// and as the tree drives it: its timer and its status polls on the manual
// clock, against a device that answers every status poll.
#include <cxxabi.h>
#include <gtest/gtest.h>

#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/page_table.h"
#include "comm/scripted_device.h"
#include "platform/activex/controls.h"
#include "platform/com/registry.h"
#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "platform/win/dialog_template.h"
#include "platform/win/form_view.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "shell/status_page.h"
#include "support/log_capture.h"

namespace {

using testsupport::Bytes;
using testsupport::ScriptedDevice;

struct PageCase {
  int viewIndex;
  const char* className;
  UINT templateId;
  UINT timerId;  // 0: showing the page starts no timer
  UINT periodMs;
  bool header;           // status LED 120 and the two texts
  const char* titleKey;  // the tree's caption key; null: the page has none
};

// Transcribed from the page table, the pages' services and the tree.
const PageCase kPages[] = {
    {1, "CDashboardView", 106, 3, 5000, true, "IDC_BUTTON_DASHBOARD"},
    {2, "CAlarm_AnnunciatorView", 286, 11, 5000, true, "IDC_BUTTON_ALMANNUCIATE"},
    {3, "CAlarm_ManagementAnnunciatorView", 1076, 12, 5000, true, "IDD_ALARM_MGMT_ANNUNCIATE"},
    {4, "CAlarm_EventHistoryView", 206, 13, 5000, true, "IDC_BUTTON_EVENTS"},
    {5, "CHealth_Val_MainView", 1077, 31, 5000, true, "IDD_HEALTH_VALVE"},
    {6, "CHealth_Val_CycleAndTravelsView", 382, 33, 5000, true, "VALCYCANDTRAVMENU"},
    {7, "CHealth_Pos_MainView", 1079, 21, 5000, true, "IDD_HEALTH_POSITIONER"},
    {8, "CHealth_Pos_TempAndHumidityView", 386, 22, 5000, true, "IDC_BTN_TEMP"},
    {9, "CHealth_Pos_PilotRelayView", 283, 23, 5000, true, "PILOTMENU"},
    {10, "CHealth_Pos_PiezoVolView", 451, 24, 5000, true, "EDT_ALM_ELE4"},
    {11, "CHealth_Act_MainView", 1080, 41, 5000, true, "IDD_HEALTH_ACTUATOR"},
    {12, "CHealth_Ctl_MainView", 388, 25, 5000, true, "CTRLHEALTH"},
    {13, "CHealth_Ctl_DeviationView", 398, 26, 5000, true, "IDC_BTN_DEVIATION"},
    {14, "CHealth_Ctl_PosAlertsView", 245, 27, 5000, true, "POSNALERT"},
    {15, "CDiagnostics_OnlineView", 203, 0, 0, false, nullptr},
    {16, "CDiagnostics_DataMonitorView", 254, 55, 1000, true, "IDD_DIAGNOSTIC_DATALOGGER"},
    {17, "CDiagnostics_OfflineView", 1090, 56, 1000, true, "MAINOFFLINEDIAGMENU"},
    {18, "CDiagnostics_RampTestView", 268, 51, 1000, true, "IDD_DIAGNOSTIC_RAMP_TEST"},
    {19, "CDiagnostics_RampCompareView", 361, 0, 0, false, "IDD_DIAGNOSTIC_RAMPCOMPARE"},
    {20, "CDiagnostics_StepTestView", 266, 52, 500, true, "IDD_DIAGNOSTIC_STEP_TEST"},
    {21, "CDiagnostics_StepCompareView", 1089, 0, 0, false, "IDD_DIAGNOSTIC_STEPCOMPARE"},
    {22, "CDiagnostics_HDRLView", 270, 54, 500, true, "IDD_DIAGNOSTIC_HDRL"},
    {23, "CDiagnostics_HDRLCompareView", 1088, 0, 0, false, "IDD_DIAGNOSTIC_HDRLCOMPARE"},
    {24, "CDiagnostics_PSTView", 274, 53, 5000, true, "PARTTEST"},
    {25, "CDiagnostics_PSTCompareView", 368, 0, 0, false, "IDD_DIAGNOSTIC_PSTCOMPARE"},
    {26, "CCalibration_SensorCalibView", 1081, 62, 5000, true, "EDT_ALM_CAL1"},
    {27, "CCalibration_CommandCalibView", 261, 61, 5000, true, "EDT_ALM_CAL2"},
    {28, "CCalibration_ErrorsView", 150, 64, 4000, true, "CALERRORS"},
    {30, "CConfiguration_PressureControlView", 481, 74, 5000, true, "IDC_STATICSTABLITYLBL"},
    {31, "CConfiguration_StrokeCharView", 428, 70, 5000, true, "IDC_BUTTON_CUS_CHAR"},
    {32, "CConfiguration_CustomCharView", 290, 71, 5000, true, "IDD_CONFIG_CUST_CHAR"},
    {33, "CCalibration_ZeroSupply", 421, 0, 0, true, nullptr},
    {34, "CAlarm_TechAnnunciatorView", 413, 82, 5000, true, "IDD_TECHANNUNCIATOR"},
    {35, "CDiagnostics_TechSensorsView", 411, 81, 5000, true, "IDD_TECHSENSORS"},
    {36, "CConfiguration_PosHartInformationView", 236, 83, 5000, true, "IDC_BUTTON_INFO_HART"},
};

// Variables 8 and 42 asked for, and the device's answer: digital-only
// control, status code 2 active (an alarm in the shipped error table).
const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};
const Bytes kStatusReply = {200, 8, 0, 0, 0, 8, 1, 0, 42, 2};

std::string ClassName(const CTarnixPage& page) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(typeid(page).name(), nullptr, nullptr, &status),
                                                   &std::free);
  return status == 0 ? name.get() : "";
}

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

class HostWindow : public CWnd {
 public:
  HostWindow() { Create(nullptr, "pages", 0, CRect(0, 0, 1000, 600), nullptr, 0); }
};

class Pages : public testing::Test {
 protected:
  void SetUp() override {
    ResetOpcConnection();
    opc::ResetServer();
    opc::RegisterServer();
    opc::SetDeviceProvider([this](const std::string& path) -> std::shared_ptr<opc::IHartFrameDevice> {
      return path == "HART/Net/Dev1" ? device : nullptr;
    });
    CWexletCoreCommunication& comm = app.m_comm;
    ASSERT_TRUE(comm.Connect("AMS.OPCServer.1", ""));
    ASSERT_EQ(comm.AddGroup("Quorvane"), 1);
    ASSERT_EQ(comm.AddItem("HART/Net/Dev1/Param/HART_Frame"), 1);
    comm.m_nFailCount = 0;
    device->reply = kStatusReply;

    app.m_pViews = {};
    app.m_pRampTestView = app.m_pStepTestView = app.m_pHDRLView = app.m_pPSTView = nullptr;
    app.m_pMultiTestView = nullptr;
    for (int index = 1; index < CTarnixWexletApp::kViewCount; ++index) app.m_pViews[index] = CreatePage(index);
    for (int index = 1; index < CTarnixWexletApp::kViewCount; ++index) {
      if (CTarnixPage* page = app.m_pViews[index]) {
        ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, index));
      }
    }
    host.SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    device->requests.clear();
  }
  void TearDown() override {
    host.DestroyWindow();
    app.m_pViews = {};
    ResetOpcConnection();
    opc::ResetServer();
    opc::SetDeviceProvider(nullptr);
  }

  CTarnixPage* Page(int index) { return app.m_pViews[index]; }

  // Declared first: the clock outlives the windows that use it.
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped{clock};
  testsupport::LogCapture log;
  plat::ScriptedPerson person{[](const std::string& what) { ADD_FAILURE() << what; }};
  std::shared_ptr<ScriptedDevice> device = std::make_shared<ScriptedDevice>();
  CTarnixWexletApp& app = theApp();
  HostWindow host;
};

class EveryPage : public Pages, public testing::WithParamInterface<PageCase> {};

// Every page deletes itself with its window; none of its controls may stay
// registered to a window object that is gone.
TEST_F(Pages, DestroyedPagesLeaveNoControlRegistered) {
  std::vector<const QWidget*> widgets;
  for (QWidget* w : host.GetSafeWidget()->findChildren<QWidget*>())
    if (CWnd::FromWidget(w)) widgets.push_back(w);
  ASSERT_GT(widgets.size(), 1000u);
  host.DestroyWindow();
  size_t left = 0;
  for (const QWidget* w : widgets) left += CWnd::FromWidget(w) != nullptr;
  EXPECT_EQ(left, 0u);
}

TEST_F(Pages, TheOnlinePageIsAnEmptyFormThatATimerMessageLeavesAlone) {
  const DialogTemplate* form = plat::FindDialogTemplate(203);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->cx, 112);
  EXPECT_EQ(form->cy, 57);
  EXPECT_TRUE(form->items.empty());
  CTarnixPage* page = Page(15);
  ASSERT_NE(page, nullptr);
  ASSERT_NE(page->GetSafeWidget(), nullptr);
  // The form's own scroll area and canvas, and no control.
  for (const QWidget* child : page->GetSafeWidget()->findChildren<QWidget*>()) {
    const CWnd* control = CWnd::FromWidget(child);
    EXPECT_TRUE(control == nullptr || control == page) << control->GetDlgCtrlID();
  }
  page->OnTimer(1);
  EXPECT_TRUE(device->requests.empty());
  EXPECT_EQ(clock.ActiveTimers(), 0);
}

TEST_P(EveryPage, IsBuiltOnItsTemplateAndPollsOnlyWithItsOwnTimerWhileShown) {
  const PageCase& c = GetParam();
  CTarnixPage* page = Page(c.viewIndex);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ClassName(*page), c.className);
  EXPECT_EQ(page->GetTemplateId(), c.templateId);
  ASSERT_TRUE(page->IsInitialized());
  if (c.titleKey) {
    EXPECT_EQ(page->GetDlgItemText(pages::kTitleId), Text(c.titleKey));
  }
  EXPECT_EQ(page->GetDlgItem(pages::kStatusLedId) != nullptr, c.header);

  page->StartMonitoring();
  // Only the dashboard polls as it is shown; the others show the last poll.
  const size_t atStart = c.viewIndex == 1 ? 1 : 0;
  // The two annunciators read variable 265, the custom characterisation 229,
  // the multi-test page the test set-ups.
  if (c.viewIndex != 2 && c.viewIndex != 3 && c.viewIndex != 32 && c.viewIndex != 17) {
    EXPECT_EQ(device->requests.size(), atStart);
  }
  if (c.timerId == 0) {
    EXPECT_EQ(clock.ActiveTimers(), 0);
    const size_t shown = device->requests.size();
    clock.Advance(60000);
    EXPECT_EQ(device->requests.size(), shown);
    page->StopMonitoring();
    return;
  }

  EXPECT_TRUE(page->HasTimer(c.timerId));
  EXPECT_EQ(clock.ActiveTimers(), 1);
  // The annunciators, the health pages, the data monitor, the multi-test
  // page (whose timer only offers Start again), the four test pages, the
  // technician sensors and the configuration and calibration pages run a
  // machine of their own (their own tests).
  const bool ownMachine = c.viewIndex == 2 || c.viewIndex == 3 || (c.viewIndex >= 5 && c.viewIndex <= 14) ||
                          (c.viewIndex >= 16 && c.viewIndex <= 18) || c.viewIndex == 20 || c.viewIndex == 22 ||
                          c.viewIndex == 24 || (c.viewIndex >= 26 && c.viewIndex <= 36);
  if (ownMachine) {
    if (c.viewIndex == 32) {  // its curve read gets the status reply
      app.m_comm.m_byEcho134 = 0;
      person.Answer(IDOK);
    }
    clock.Advance(3 * c.periodMs);
    page->StopMonitoring();
    const size_t sent = device->requests.size();
    clock.Advance(3 * c.periodMs);
    EXPECT_EQ(device->requests.size(), sent);
    return;
  }
  clock.Advance(c.periodMs - 1);
  EXPECT_EQ(device->requests.size(), atStart);
  clock.Advance(1);
  EXPECT_EQ(device->requests.size(), atStart + 1);
  clock.Advance(c.periodMs);
  EXPECT_EQ(device->requests.size(), atStart + 2);
  // The dashboard's ticks run its own machine (dashboard_test.cpp); the
  // event history's first tick reads its control byte (event_history_test.cpp).
  for (size_t k = 0; k < device->requests.size(); ++k) {
    if ((c.viewIndex != 1 || k < atStart) && (c.viewIndex != 4 || k > 0)) {
      EXPECT_EQ(device->requests[k], kStatusPoll) << k;
    }
  }

  // The poll reached the page's own header.
  auto* live = dynamic_cast<CStatusPage*>(page);
  ASSERT_NE(live, nullptr);
  EXPECT_EQ(live->GetStatusText().GetWindowText(), CWexletCoreCommunication::GetStatusBitKey(2).str());
  EXPECT_EQ(live->GetModeText().GetWindowText(), Text("DigOnly"));
  COLORREF color = 0;
  ASSERT_NE(live->GetStatusLed(), nullptr);
  live->GetStatusLed()->get_LedColor(&color);
  EXPECT_EQ(color, 0x0A0AFFu);

  page->StopMonitoring();
  EXPECT_FALSE(page->HasTimer(c.timerId));
  EXPECT_EQ(clock.ActiveTimers(), 0);
  clock.Advance(3 * c.periodMs);
  EXPECT_EQ(device->requests.size(), atStart + 2);
}

INSTANTIATE_TEST_SUITE_P(Table, EveryPage, testing::ValuesIn(kPages),
                         [](const testing::TestParamInfo<PageCase>& info) { return info.param.className; });

TEST_F(Pages, NoPageForAnIndexOutsideTheTable) {
  for (int index : {0, 29, 37}) EXPECT_EQ(CreatePage(index), nullptr) << index;
}

TEST_F(Pages, TheOfflinePageHandsTheFourTestPagesToTheApplication) {
  Page(17)->StartMonitoring();
  EXPECT_EQ(app.m_pRampTestView, Page(18));
  EXPECT_EQ(app.m_pStepTestView, Page(20));
  EXPECT_EQ(app.m_pHDRLView, Page(22));
  EXPECT_EQ(app.m_pPSTView, Page(24));
}

TEST_F(Pages, EachTestPageMakesTheOfflinePageTheMultiTestPage) {
  for (int index : {18, 20, 22, 24}) {
    app.m_pMultiTestView = nullptr;
    Page(index)->StartMonitoring();
    EXPECT_EQ(app.m_pMultiTestView, Page(17)) << index;
    Page(index)->StopMonitoring();
  }
}

TEST_F(Pages, APageWithoutItsLedStillPollsAndLogsNothingOfIt) {
  log.Clear();
  ASSERT_TRUE(plat::UnregisterClass(activex::kLedRoundProgId));
  CTarnixPage* page = CreatePage(2);
  ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 99));
  page->SendInitialUpdate();
  activex::RegisterControlClasses();
  EXPECT_EQ(page->GetDlgItem(pages::kStatusLedId), nullptr);

  page->StartMonitoring();
  clock.Advance(4 * 5000);  // rows, masks, status, then the header's poll
  ASSERT_FALSE(device->requests.empty());
  EXPECT_EQ(device->requests.back(), kStatusPoll);
  EXPECT_TRUE(page->HasTimer(11));
  // This device answers everything as a status poll: the page's own reads
  // are refused, and nothing else is logged.
  for (const std::string& text : log.Texts()) EXPECT_EQ(text.rfind("Reply to command", 0), 0u) << text;
  page->StopMonitoring();
}

TEST(DashboardPage, LoadsTheErrorTableWhenInitialised) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_aErrorTable = {};
  HostWindow host;
  CTarnixPage* page = CreatePage(1);
  ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
  EXPECT_EQ(comm.LookupErrorValue(2), 0);
  page->SendInitialUpdate();
  // Code 2 has severity 3 in the shipped table.
  EXPECT_EQ(comm.LookupErrorValue(2), 3);
}

}  // namespace
