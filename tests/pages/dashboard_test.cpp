// The dashboard against the simulated positioner through the OPC server,
// on the manual clock, with a scripted person; and the monitoring frame's
// request rule on a page of its own.
#include <gtest/gtest.h>

#include <limits>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "comm/status_rules.h"
#include "platform/activex/controls.h"
#include "platform/com/registry.h"
#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "shell/configuration_page.h"
#include "page_fixture.h"
#include "sim/install.h"
#include "support/log_capture.h"
#include "views/status/dashboard.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using namespace activex;

template <class I>
_com_ptr_t<I> As(IUnknown* unknown) {
  I* p = nullptr;
  if (unknown) unknown->QueryInterface(I::kIID, reinterpret_cast<void**>(&p));
  return _com_ptr_t<I>(p, false);
}

using testpages::Text;

const Bytes kSlowRead = Read200({8, 62, 63, 117, 118});
const Bytes kCyclicRead = Read200({2, 6, 10, 12, 55, 56, 135, 264});
const Bytes kStatusPoll = Read200({8, 42});

class Dashboard : public testpages::SimulatedPage {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    page = static_cast<CDashboardView*>(CreatePage(1));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    device->ClearRequests();
  }

  template <class I>
  _com_ptr_t<I> Control(UINT id) {
    CWnd* wnd = page->GetDlgItem(static_cast<int>(id));
    return As<I>(wnd ? wnd->GetControlUnknown() : nullptr);
  }
  std::string Field(int id) const { return page->GetDlgItemText(id); }
  std::string Tx() const { return Field(CDashboardView::kTransmitId); }
  std::string Rx() const { return Field(CDashboardView::kReceiveId); }
  void Tick(int n = 1) { clock.Advance(5000 * n); }
  void Start() {
    page->StartMonitoring();
    device->ClearRequests();
  }
  // From the start to just after the first status poll of the idle cycle.
  void StartAndRunToIdleCycle() {
    Start();
    Tick(5);
  }
  void SetMode(int mode) { device->SetVariable(8, mode); }
  double DeviceCommand() const { return device->Variable(3); }
  double EntryValue() {
    double value = 0;
    Control<ISpinEditX>(CDashboardView::kDigitalEntryId)->get_Value(&value);
    return value;
  }
  void MoveSwitch(LONG position) {
    ASSERT_EQ(Control<IiSwitchSliderX>(CDashboardView::kSourceSwitchId)->put_Position(position), S_OK);
    Control<IControlTest>(CDashboardView::kSourceSwitchId)->UserEvent(12, {});
  }
  LONG SwitchPosition() {
    LONG position = -1;
    Control<IiSwitchSliderX>(CDashboardView::kSourceSwitchId)->get_Position(&position);
    return position;
  }
  bool GaugeDraggable() {
    _variant_t value;
    Control<IiLinearGaugeX>(CDashboardView::kCommandGaugeId)->GetElementSetting(0, kElementBool, &value);
    return value.vt == VT_BOOL && value.boolVal != 0;
  }
  bool EntryReadOnly() {
    _variant_t value;
    Control<IControl>(CDashboardView::kDigitalEntryId)->GetSetting(kReadOnly, &value);
    return value.vt == VT_BOOL && value.boolVal != 0;
  }
  bool ApplyEnabled() const { return page->GetDlgItem(CDashboardView::kApplyId)->IsWindowEnabled(); }

  CDashboardView* page = nullptr;
};

// ---- The timer machine.

struct TickCase {
  const char* tx;
  const char* rx;
  std::vector<Bytes> requests;  // sent during the tick
  int stepAfter;
};

TEST_F(Dashboard, ShowingPollsAtOnceThenThreeReadsThenTheIdleCycle) {
  page->StartMonitoring();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStatusPoll});
  EXPECT_EQ(page->GetStep(), 4);
  device->ClearRequests();

  const TickCase ticks[] = {
      {"1", "1", {kSlowRead}, 8},
      {"2", "2", {Bytes{142}}, 10},
      {"3", "3", {Bytes{132}, Bytes{138}}, 0},
      {"IDLE", "IDLE", {kCyclicRead}, 2},  // the countdown starts at 1
      {"STAT", "STAT", {kStatusPoll}, 0},
      {"STAT", "STAT", {}, 0},  // not due: nothing at all
      {"IDLE", "IDLE", {kCyclicRead}, 2},
      {"STAT", "STAT", {kStatusPoll}, 0},
  };
  int n = 0;
  for (const TickCase& t : ticks) {
    SCOPED_TRACE("tick " + std::to_string(++n));
    clock.Advance(4999);
    EXPECT_TRUE(device->Requests().empty());
    clock.Advance(1);
    EXPECT_EQ(Tx(), t.tx);
    EXPECT_EQ(Rx(), t.rx);
    EXPECT_EQ(device->Requests(), t.requests);
    EXPECT_EQ(page->GetStep(), t.stepAfter);
    EXPECT_TRUE(page->HasTimer(3));
    device->ClearRequests();
  }
  // Nothing went wrong on the way, the binding of the controls included.
  EXPECT_EQ(log.Texts(), std::vector<std::string>{});
}

TEST_F(Dashboard, ShowingAgainRestartsTheReadsButNotTheIdleCountdown) {
  StartAndRunToIdleCycle();  // the countdown is 2 now
  page->StopMonitoring();
  EXPECT_FALSE(page->HasTimer(3));
  device->ClearRequests();
  Tick(3);
  EXPECT_TRUE(device->Requests().empty());

  Start();
  Tick(3);
  EXPECT_EQ(Tx(), "3");
  device->ClearRequests();
  Tick();  // the fourth tick only counts down
  EXPECT_TRUE(device->Requests().empty());
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kCyclicRead});
}

TEST_F(Dashboard, ATickOfAnotherTimerDoesNothing) {
  Start();
  page->KillTimer(3);
  page->OnTimer(11);
  EXPECT_TRUE(device->Requests().empty());
  EXPECT_FALSE(page->HasTimer(3));
  EXPECT_EQ(Tx(), "");
}

// ---- Displays.

struct UnitCase {
  std::uint8_t code;
  const char* units;
  double max;
};

TEST_F(Dashboard, TheTemperatureUnitSetsDisplayUnitsAndThermometerRange) {
  const UnitCase cases[] = {{33, " degF", 186}, {32, " degC", 86}, {57, " degC", 86}, {33, " degF", 186}};
  auto display = Control<IiAnalogDisplayX>(CDashboardView::kTemperatureDisplayId);
  auto thermometer = Control<IiThermometerX>(CDashboardView::kThermometerId);
  for (const UnitCase& c : cases) {
    SCOPED_TRACE(int(c.code));
    ModifyState([&](sim::DeviceState& s) { s.setup.unitCodes[sim::kTemperatureUnit] = c.code; });
    Start();
    Tick(2);
    _bstr_t units;
    double min = 0, max = 0;
    display->get_Units(&units);
    thermometer->get_ScaleMin(&min);
    thermometer->get_ScaleMax(&max);
    EXPECT_EQ(units.str(), c.units);
    EXPECT_EQ(min, -50);
    EXPECT_EQ(max, c.max);
    page->StopMonitoring();
  }
}

struct ColorCase {
  int byte, bit;  // the active status bit; byte -1: none
  std::uint8_t code;
  COLORREF color;
};

TEST_F(Dashboard, ThePositionGaugeTakesItsColourFromThePriorityCode) {
  const ColorCase cases[] = {
      {11, 0, 88, 0x0A0AFF}, {-1, 0, 0, 0x00FF00}, {12, 0, 96, 0x00FFFF}, {11, 1, 89, 0x00FF00},
      {12, 1, 97, 0x00FFFF}, {0, 2, 2, 0x00FF00},  {11, 0, 88, 0x0A0AFF},
  };
  auto gauge = Control<IiLinearGaugeX>(CDashboardView::kPositionGaugeId);
  StartAndRunToIdleCycle();
  for (const ColorCase& c : cases) {
    SCOPED_TRACE(int(c.code));
    ModifyState([&](sim::DeviceState& s) {
      s.status.bytes = {};
      if (c.byte >= 0) s.status.bytes[c.byte] = static_cast<std::uint8_t>(1u << c.bit);
    });
    Tick(3);  // around the idle cycle to the next status poll
    ASSERT_EQ(Tx(), "STAT");
    ASSERT_EQ(theApp().m_comm.m_byPriorityBits, c.code);
    COLORREF color = 0;
    gauge->get_ElementColor(0, &color);
    EXPECT_EQ(color, c.color);
  }
}

TEST_F(Dashboard, CutOffAndLockFollowCommand132AndThenEachCyclicRead) {
  ModifyState([](sim::DeviceState& s) {
    s.setup.commandPosition[50] = 1;  // cut-off active
    s.setup.commandPosition[37] = 0;
  });
  Start();
  Tick(3);
  EXPECT_EQ(Field(CDashboardView::kCutOffId), Text("IDC_LBLACTIVE2"));
  EXPECT_EQ(Field(CDashboardView::kLockId), Text("PCTRLTRACK"));

  const struct {
    int flags;
    const char* cutOff;
    const char* lock;
  } cyclic[] = {
      {0x04, "STATUSINACTIVE", "PCTRLLOCKED"},
      {0x06, "IDC_LBLACTIVE2", "PCTRLLOCKED"},
      {0x00, "STATUSINACTIVE", "PCTRLTRACK"},
      {0x02, "IDC_LBLACTIVE2", "PCTRLTRACK"},
  };
  int ticks = 1;  // to the first cyclic read, then around the idle cycle
  for (const auto& c : cyclic) {
    SCOPED_TRACE(c.flags);
    device->SetVariable(264, c.flags);
    Tick(ticks);
    ticks = 3;
    ASSERT_EQ(Rx(), "IDLE");
    EXPECT_EQ(Field(CDashboardView::kCutOffId), Text(c.cutOff));
    EXPECT_EQ(Field(CDashboardView::kLockId), Text(c.lock));
  }
}

TEST_F(Dashboard, TheCyclicReadFillsTheInstruments) {
  device->SetVariable(2, 4.5);
  device->SetVariable(135, 41.5);
  Start();
  Tick(4);
  ASSERT_EQ(Rx(), "IDLE");
  _bstr_t text;
  Control<IiEditX>(CDashboardView::kAnalogInputId)->get_Text(&text);
  EXPECT_EQ(text.str(), " 4.50");
  // In analog mode the final command is the analog input.
  double command = 0, temperature = 0, thermometer = 0;
  Control<IiAnalogDisplayX>(CDashboardView::kCommandDisplayId)->get_Value(&command);
  Control<IiAnalogDisplayX>(CDashboardView::kTemperatureDisplayId)->get_Value(&temperature);
  Control<IiThermometerX>(CDashboardView::kThermometerId)->get_Value(&thermometer);
  EXPECT_FLOAT_EQ(command, 4.5);
  EXPECT_FLOAT_EQ(EntryValue(), 4.5);
  EXPECT_FLOAT_EQ(temperature, 41.5);
  EXPECT_FLOAT_EQ(thermometer, 41.5);
}

TEST_F(Dashboard, TheCommandGaugeMarksTheDeviceLimits) {
  device->SetVariable(62, 105);
  device->SetVariable(63, -5);
  device->SetVariable(117, 92.5);
  device->SetVariable(118, 7.5);
  Start();
  Tick();
  std::vector<std::string> journal = Control<IControlTest>(CDashboardView::kCommandGaugeId)->Journal();
  for (const char* put : {"12=-5", "13=105", "26=92.5", "27=7.5"})
    EXPECT_NE(std::find(journal.begin(), journal.end(), put), journal.end()) << put;
}

// ---- Software configuration against the dip switches.

struct DipCase {
  std::uint8_t dip, soft;
  std::vector<std::string> values;  // air action, signal, characterization, auto
                                    // tune, quick cal, stability, spare
  std::vector<std::string> marks;   // the same rows, then the whole byte
};

TEST_F(Dashboard, ConfigurationRowsShowTheSoftwareBitsAndMarkEachDipSwitchThatDiffers) {
  const std::string open = Text("AirActOpen"), close = Text("AirActClose"), linear = Text("CharLinear"),
                    custom = Text("CharCustom"), qcAuto = Text("QCAuto"), jog = Text("QCJog"), low = Text("ValFricLo"),
                    high = Text("ValFricHi");
  const DipCase cases[] = {
      {0x5A, 0x5A, {close, "20mA", linear, "ON", jog, low, "B"}, {"", "", "", "", "", "", "", ""}},
      {0x02, 0x00, {close, "20mA", custom, "OFF", jog, high, "B"}, {"", "", "", "", "", "", "", "X"}},
      {0x00, 0xA5, {open, "4mA", custom, "OFF", qcAuto, high, "A"}, {"X", "X", "", "", "X", "", "X", "X"}},
      {0xFF, 0x14, {close, "4mA", custom, "ON", jog, high, "B"}, {"X", "", "X", "", "X", "X", "X", "X"}},
      {0x00, 0x00, {close, "20mA", custom, "OFF", jog, high, "B"}, {"", "", "", "", "", "", "", ""}},
  };
  const int valueIds[] = {1054, 1007, 1062, 1088, 1009, 1090, 1089};
  const int markIds[] = {1092, 1008, 1094, 1096, 1010, 1098, 1097, 1102};
  StartAndRunToIdleCycle();
  for (const DipCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "dip " << int(c.dip) << " soft " << int(c.soft));
    device->SetVariable(55, c.dip);
    device->SetVariable(56, c.soft);
    Tick(3);
    ASSERT_EQ(Rx(), "STAT");
    for (int k = 0; k < 7; ++k) EXPECT_EQ(Field(valueIds[k]), c.values[k]) << valueIds[k];
    for (int k = 0; k < 8; ++k) EXPECT_EQ(Field(markIds[k]), c.marks[k]) << markIds[k];
  }
}

// ---- Before the device has answered.

TEST_F(Dashboard, UntilTheDeviceAnswersNothingShowsAValueItDidNotSend) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_bDeviceAnswered = comm.m_bStatusRead = false;  // as at start-up
  comm.m_bLinkOK = 0;
  device->SetVariable(55, 0x5A);
  device->SetVariable(56, 0x5A);
  device->InjectNoReply(-1);
  const int fields[] = {1054, 1007, 1062, 1088, 1009, 1090, 1089,        // dip switch rows
                        1092, 1008, 1094, 1096, 1010, 1098, 1097, 1102,  // their marks
                        CDashboardView::kCutOffId, CDashboardView::kLockId};
  auto pointerColour = [this] {
    COLORREF colour = 0;
    page->GetPositionGauge()->get_ElementColor(0, &colour);
    return colour;
  };
  IiLedRoundX* led = page->GetStatusLed();
  Start();
  for (int tick = 0; tick <= 9; ++tick) {  // the reads, then three idle cycles
    SCOPED_TRACE("tick " + std::to_string(tick));
    COLORREF colour = 0;
    led->get_LedColor(&colour);
    EXPECT_EQ(colour, status::kAlarm);
    EXPECT_EQ(page->GetStatusText().GetWindowText(), "Loss of Communication");
    EXPECT_EQ(page->GetModeText().GetWindowText(), "");
    EXPECT_EQ(pointerColour(), status::kNotAvailable);
    for (int id : fields) EXPECT_EQ(Field(id), "") << id;
    Tick();
  }
  // The device answers: the page shows it as ever.
  device->ClearFaults();
  Tick(4);  // a cycle to bring the link up, then its next status poll
  ASSERT_EQ(Rx(), "STAT");
  EXPECT_EQ(page->GetStatusText().GetWindowText(), Text("SYSNOM"));
  EXPECT_EQ(pointerColour(), status::kHeaderHealthy);
  EXPECT_EQ(Field(1007), "20mA");
  EXPECT_EQ(Field(1088), "ON");
  EXPECT_EQ(Field(1102), "");
  EXPECT_EQ(Field(CDashboardView::kLockId), Text("PCTRLTRACK"));
  // Lost again: the last values stay, as the header says the link is down.
  device->InjectNoReply(-1);
  Tick(6);
  EXPECT_EQ(page->GetStatusText().GetWindowText(), "Loss of Communication");
  EXPECT_EQ(Field(1088), "ON");
}

// ---- The operator's actions.

struct ModeCase {
  int mode;     // in the device before
  LONG moveTo;  // where the operator moves the switch
  int answer;
  int modeAfter;  // in the device
};

TEST_F(Dashboard, TheSourceSwitchAsksFirstAndWritesTheModeOnlyOnYes) {
  const ModeCase cases[] = {
      {0, 1, IDYES, 1},
      {0, 1, IDNO, 0},
      {1, 0, IDYES, 0},
      {1, 0, IDNO, 1},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " answer " << c.answer);
    SetMode(c.mode);
    Start();
    Tick();  // the slow read shows the mode
    ASSERT_EQ(SwitchPosition(), c.mode);
    device->ClearRequests();
    const size_t asked = person.Asked().size();

    person.Answer(c.answer);
    MoveSwitch(c.moveTo);
    ASSERT_EQ(person.Asked().size(), asked + 1);
    const plat::Question& q = person.Asked().back();
    EXPECT_EQ(q.text, Text("STATCTRLMODE"));
    EXPECT_EQ(q.caption, theApp().m_strProductTitle.str());
    EXPECT_EQ(q.type, UINT(MB_YESNO | MB_ICONQUESTION));

    const bool yes = c.answer == IDYES;
    EXPECT_EQ(device->Variable(8), c.modeAfter);
    EXPECT_EQ(device->Requests().size(), yes ? 1u : 0u);
    if (yes) {
      EXPECT_EQ(device->Requests()[0][0], 201);
    }
    EXPECT_EQ(page->GetStep(), yes ? 0 : 8);
    const bool digital = c.modeAfter == 1;
    EXPECT_EQ(SwitchPosition(), c.modeAfter);
    EXPECT_EQ(ApplyEnabled(), digital);
    EXPECT_EQ(EntryReadOnly(), !digital);
    EXPECT_EQ(GaugeDraggable(), digital);
    page->StopMonitoring();
  }
}

TEST_F(Dashboard, ApplyWritesTheEntryAsItIsAndSendsTheMachineToIdle) {
  SetMode(1);
  Start();
  Tick();
  ASSERT_TRUE(ApplyEnabled());
  for (double value : {42.5, -10.0, 110.0, 0.0}) {
    SCOPED_TRACE(value);
    device->ClearRequests();
    ASSERT_EQ(Control<ISpinEditX>(CDashboardView::kDigitalEntryId)->put_Value(value), S_OK);
    page->GetDlgItemAs<CButton>(CDashboardView::kApplyId)->Click();
    EXPECT_EQ(DeviceCommand(), value);
    EXPECT_EQ(device->Requests().size(), 1u);
    EXPECT_EQ(Tx(), "1");  // the transmit field keeps its text
    EXPECT_EQ(Rx(), "CMD");
    EXPECT_EQ(page->GetStep(), 0);
    EXPECT_TRUE(page->HasTimer(3));
  }
}

TEST_F(Dashboard, ApplyRefusesACommandOutsideTheRange) {
  SetMode(1);
  Start();
  Tick();
  for (double value : {110.01, -10.5, 500.0, std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(value);
    device->ClearRequests();
    plat::ScriptedPerson person([](const std::string& what) { ADD_FAILURE() << what; });
    person.Answer(IDOK);
    ASSERT_EQ(Control<ISpinEditX>(CDashboardView::kDigitalEntryId)->put_Value(value), S_OK);
    page->GetDlgItemAs<CButton>(CDashboardView::kApplyId)->Click();
    EXPECT_TRUE(device->Requests().empty());  // nothing written
    ASSERT_EQ(person.Asked().size(), 1u);
    EXPECT_EQ(person.Asked()[0].text, Text("DIGCMDRANGE"));
  }
}

TEST_F(Dashboard, InAnalogModeApplyAndTheEntryAreLocked) {
  SetMode(0);
  Start();
  Tick();
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_TRUE(EntryReadOnly());
  EXPECT_FALSE(GaugeDraggable());
  device->ClearRequests();
  page->GetDlgItemAs<CButton>(CDashboardView::kApplyId)->Click();
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(Dashboard, ReleasingTheGaugePointerWritesTheCommandClampedToItsRange) {
  const struct {
    double pointer, written;
  } cases[] = {{120, 110}, {-25, -10}, {110, 110}, {-10, -10}, {55.5, 55.5}, {110.5, 110}};
  SetMode(1);
  Start();
  Tick();
  auto gauge = Control<IiLinearGaugeX>(CDashboardView::kCommandGaugeId);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pointer);
    page->SetDlgItemText(CDashboardView::kTransmitId, "");
    ASSERT_EQ(gauge->put_Value(c.pointer), S_OK);
    Control<IControlTest>(CDashboardView::kCommandGaugeId)
        ->UserEvent(8, {_variant_t(short(1)), _variant_t(short(0)), _variant_t(LONG(10)), _variant_t(LONG(10))});
    EXPECT_EQ(DeviceCommand(), c.written);
    EXPECT_EQ(EntryValue(), c.written);
    EXPECT_EQ(Tx(), "CMD");
    EXPECT_EQ(Rx(), "CMD");
    EXPECT_EQ(page->GetStep(), 0);
  }
}

// ---- Captions and tool tips by key.

TEST_F(Dashboard, EveryCaptionAndToolTipComesFromItsKey) {
  const struct {
    int id;
    const char* key;
  } captions[] = {{1018, "IDC_ILABELXINDICATOR"}, {1019, "IDC_ILABELXSOURCE"},
                  {1078, "IDC_STATICSTABLITY"},   {1028, "IDC_STATICSTABLITY"},
                  {388, "IDC_BUTTON_APPLY"},      {1027, "IDC_STATICDIPSETTING"},
                  {1073, "IDC_ILABELXDIFFER"},    {1076, "Digital"}};
  for (const auto& c : captions) EXPECT_EQ(Field(c.id), Text(c.key)) << c.id;

  const struct {
    UINT id;
    const char* key;
  } tips[] = {{120, "IDC_ILED_ALARM"},
              {1012, "EDT_ALARM_DESCRIPTION"},
              {CDashboardView::kCommandGaugeId, "IDC_ILINEARGAUGE_COMMANDTIP"},
              {CDashboardView::kPositionGaugeId, "IDC_EDITX_FBPOSITIONTIP"},
              {CDashboardView::kPositionDisplayId, "IDC_EDITX_FBPOSITIONTIP"},
              {CDashboardView::kSourceSwitchId, "IDC_ISWITCHDigitalAnalogTIP"},
              {CDashboardView::kThermometerId, "IDC_BTN_TEMP"},
              {1092, "IDC_ILABELXDIFFER"},
              {1102, "EDIT_DIPSW_DIFF"},
              {1054, "EDT_DIPSWT_AIRACTIONTIP"}};
  ASSERT_TRUE(page->GetToolTips().IsCreated());
  EXPECT_EQ(page->GetToolTips().GetToolCount(), 33);
  for (const auto& t : tips)
    EXPECT_EQ(page->GetToolTips().GetToolText(page->GetDlgItem(static_cast<int>(t.id))), Text(t.key)) << t.id;
}

TEST_F(Dashboard, WithoutItsToolTipControlThePageWorksWithoutTips) {
  CToolTipCtrl::FailCreations(1);
  CTarnixPage* other = CreatePage(1);
  ASSERT_TRUE(other->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 2));
  other->SendInitialUpdate();
  auto* dashboard = static_cast<CDashboardView*>(other);
  EXPECT_EQ(dashboard->GetToolTips().GetToolCount(), 0);
  EXPECT_EQ(dashboard->GetDlgItemText(1018), Text("IDC_ILABELXINDICATOR"));
}

// ---- A page that never sticks: controls that are missing or fail.

// The requests of twelve ticks from the start: the three reads, then the
// idle cycle of cyclic reads and status polls.
std::vector<Bytes> TwelveTicksOfRequests() {
  std::vector<Bytes> expected = {kSlowRead, Bytes{142}, Bytes{132}, Bytes{138}};
  for (int k = 0; k < 3; ++k) {
    expected.push_back(kCyclicRead);
    expected.push_back(kStatusPoll);
  }
  return expected;
}

TEST_F(Dashboard, AControlWhoseEveryCallFailsLeavesTheRestPolledAndUpdated) {
  Control<IControlTest>(CDashboardView::kCommandGaugeId)->FailPut("*", E_FAIL, -1);
  device->SetVariable(8, 1);  // digital
  device->SetVariable(3, 40.0);
  Start();
  clock.Advance(5000 * 12);
  EXPECT_EQ(device->Requests(), TwelveTicksOfRequests());
  EXPECT_TRUE(page->HasTimer(3));
  double position = 0, command = 0;
  Control<IiAnalogDisplayX>(CDashboardView::kPositionDisplayId)->get_Value(&position);
  Control<IiAnalogDisplayX>(CDashboardView::kCommandDisplayId)->get_Value(&command);
  EXPECT_NEAR(position, device->Variable(10), 1e-3);
  EXPECT_NEAR(command, 40.0, 1e-3);
  EXPECT_EQ(SwitchPosition(), 1);
  EXPECT_EQ(Rx(), "STAT");
  // Each failing place is logged once, not on every tick.
  const std::vector<std::string> texts = log.Texts();
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                          [](const std::string& t) { return t.find("command gauge") != std::string::npos; }),
            1);
  EXPECT_LE(texts.size(), 3u);
}

TEST_F(Dashboard, WithoutAControlClassThePageStillPollsAndShowsTheRest) {
  ASSERT_TRUE(plat::UnregisterClass("isAnalogLibrary.iLinearGaugeX"));
  auto* bare = static_cast<CDashboardView*>(CreatePage(1));
  ASSERT_TRUE(bare->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 2));
  bare->SendInitialUpdate();
  activex::RegisterControlClasses();
  EXPECT_EQ(bare->GetCommandGauge(), nullptr);
  EXPECT_EQ(bare->GetPositionGauge(), nullptr);
  EXPECT_EQ(bare->GetDlgItemText(1018), Text("IDC_ILABELXINDICATOR"));

  bare->StartMonitoring();
  device->ClearRequests();
  clock.Advance(5000 * 12);
  EXPECT_EQ(device->Requests(), TwelveTicksOfRequests());
  EXPECT_TRUE(bare->HasTimer(3));
  CWnd* display = bare->GetDlgItem(CDashboardView::kPositionDisplayId);
  ASSERT_NE(display, nullptr);
  double position = -1;
  As<IiAnalogDisplayX>(display->GetControlUnknown())->get_Value(&position);
  EXPECT_NEAR(position, device->Variable(10), 1e-3);
  EXPECT_EQ(bare->GetDlgItemText(CDashboardView::kReceiveId), "STAT");
}

// ---- The frame's machine, on pages of its own.

constexpr UINT kStepTemplate = 9102;
const plat::DialogTemplateRegistrar kStepTemplateReg(pages::StatusPageTemplate(kStepTemplate));

// Step 1 fails in the transaction, step 2 in what it shows, step 3 never
// asks to be run; 4 is fine.
class FailingStepsPage : public CConfigurationPage {
 public:
  FailingStepsPage() : CConfigurationPage(kStepTemplate, nullptr, 62, 1000) {
    m_nStartStep = 1;
    auto fail = [] { _com_issue_error(E_POINTER); };
    m_steps = {
        {1, "one", {}, fail, [this] { shown.push_back(1); }, 2},
        {2, "two", {}, [this] { ran.push_back(2); }, fail, 3},
        {3, "three", [] { return std::string("x").at(2) == 'x'; }, [this] { ran.push_back(3); }, {}, 4},
        {4, "four", {}, [this] { ran.push_back(4); }, {}, 1},
    };
  }
  std::vector<int> ran, shown;
};

TEST_F(Dashboard, AFailureInsideAStepMovesTheMachineOnAndIsLoggedOnce) {
  auto* frame = new FailingStepsPage;
  ASSERT_TRUE(frame->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 4));
  frame->SendInitialUpdate();
  frame->StartMonitoring();
  const std::size_t logged = log.Texts().size();
  for (int tick = 0; tick < 8; ++tick) {
    clock.Advance(1000);
    EXPECT_TRUE(frame->HasTimer(62)) << tick;
  }
  // Twice round: the failed transaction still shows, the step that could
  // not say whether it was due ran anyway.
  EXPECT_EQ(frame->ran, (std::vector<int>{2, 3, 4, 2, 3, 4}));
  EXPECT_EQ(frame->shown, (std::vector<int>{1, 1}));
  EXPECT_EQ(frame->GetStep(), 1);
  EXPECT_EQ(log.Texts().size() - logged, 3u);
  frame->StopMonitoring();
}

// ---- The frame's request rule, on a page of its own.

constexpr UINT kTestTemplate = 9101;
constexpr int kApply = 432, kRetrieve = 433;
const plat::DialogTemplateRegistrar kTestTemplateReg(
    pages::MonitoringPageTemplate(kTestTemplate, {},
                                  {{kApply, DlgKind::PushButton, "Apply", 10, 40, 50, 14},
                                   {kRetrieve, DlgKind::PushButton, "Retrieve", 70, 40, 50, 14}}));

class RequestPage : public CMonitoringPage {
 public:
  RequestPage() : CMonitoringPage(kTestTemplate, nullptr, 21, 5000) {
    m_nStartStep = 5;
    m_actionButtons = {kApply, kRetrieve};
    MapCommand(BN_CLICKED, kApply, [this] { Request(2); });
    MapCommand(BN_CLICKED, kRetrieve, [this] { Request(3); });
  }
  std::vector<std::pair<int, int>> ran;  // (request begun or 0, step)

 protected:
  void BeginRequest(int request) override {
    begun = request;
    m_nStep = 10 * request;
  }
  void RunStep() override {
    ran.push_back({begun, m_nStep});
    begun = 0;
    if (m_nStep >= 20) {
      EnableActionButtons(TRUE);
      m_nStep = 5;
    }
  }
  int begun = 0;
};

TEST_F(Dashboard, ARequestWaitsForTheNextFullPeriodAndTheLaterClickWins) {
  auto* frame = new RequestPage;
  ASSERT_TRUE(frame->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 3));
  frame->SendInitialUpdate();
  frame->StartMonitoring();
  EXPECT_EQ(frame->GetRequest(), 1);
  Tick();
  EXPECT_EQ(frame->ran, (std::vector<std::pair<int, int>>{{1, 10}}));
  frame->ran.clear();

  clock.Advance(3000);
  frame->GetDlgItemAs<CButton>(kApply)->Click();
  EXPECT_FALSE(frame->GetDlgItem(kApply)->IsWindowEnabled());
  EXPECT_FALSE(frame->GetDlgItem(kRetrieve)->IsWindowEnabled());
  clock.Advance(3000);
  // A disabled button cannot be clicked; the rule itself is the same.
  frame->GetDlgItem(kRetrieve)->EnableWindow(TRUE);
  frame->GetDlgItemAs<CButton>(kRetrieve)->Click();
  EXPECT_EQ(frame->GetRequest(), 3);
  clock.Advance(4999);
  EXPECT_TRUE(frame->ran.empty());
  clock.Advance(1);
  EXPECT_EQ(frame->ran, (std::vector<std::pair<int, int>>{{3, 30}}));
  EXPECT_EQ(frame->GetRequest(), 0);
  EXPECT_TRUE(frame->GetDlgItem(kApply)->IsWindowEnabled());
  EXPECT_EQ(frame->GetDlgItemText(1018), Text("IDC_ILABELXINDICATOR"));
  frame->StopMonitoring();
}

}  // namespace
