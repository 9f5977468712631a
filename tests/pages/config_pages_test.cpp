// The calibration errors, pressure control and HART information pages
// against the simulated positioner, on the manual clock: their ticks, what
// they show, the frames Apply sends, and what they refuse to write.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "platform/activex/controls.h"
#include "support/language_table.h"
#include "views/config/calibration_errors.h"
#include "views/config/hart_information.h"
#include "views/config/pressure_control.h"

namespace {

using namespace activex;
using testpages::Bytes;
using testpages::Read200;
using Sent = std::vector<Bytes>;
using Mask = std::array<std::uint8_t, 32>;

const Bytes kStatusPoll = Read200({8, 42});
constexpr COLORREF kGrey = 0x696969, kHealthy = 0x006400, kRed = 0x0A0AFF, kGreen = 0x00FF00;

using testpages::Text;

Mask Filled(std::uint8_t value) {
  Mask m;
  m.fill(value);
  return m;
}

template <class P>
class ConfigPage : public testpages::SimulatedPage {
 protected:
  void Open(int viewIndex) {
    page = static_cast<P*>(CreatePage(viewIndex));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
  }
  void Tick(int n = 1) { clock.Advance(static_cast<std::int64_t>(page->GetPeriod()) * n); }
  // Runs one tick and hands back what it sent.
  Sent TickSent() {
    device->ClearRequests();
    Tick();
    return device->Requests();
  }
  void Click(int id) { page->template GetDlgItemAs<CButton>(id)->Click(); }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  std::string Get(int id) const { return page->GetDlgItemText(id); }
  void Put(int id, const std::string& text) { page->SetDlgItemText(id, text.c_str()); }
  int Check(int id) const { return static_cast<int>(page->IsDlgButtonChecked(id)); }

  P* page = nullptr;
};

// ---- Calibration errors.

class ErrorsPage : public ConfigPage<CCalibration_ErrorsView> {
 protected:
  void SetUp() override {
    ConfigPage::SetUp();
    if (HasFatalFailure()) return;
    testpages::ForgetStatusImage();
  }
  void SetDevice(const Mask& masks, const Mask& status = {}) {
    ModifyState([&](sim::DeviceState& s) {
      s.status.masks = masks;
      s.status.bytes = status;
    });
  }
  // Shown, masks read, status read.
  void OpenRead() {
    Open(28);
    Tick(3);
  }
  Mask DeviceMasks() const { return device->State().status.masks; }
};

Bytes WriteMasks(const Mask& mask) {
  Bytes frame(2 + mask.size());
  frame[0] = 177;
  frame[1] = 32;
  std::copy(mask.begin(), mask.end(), frame.begin() + 2);
  return frame;
}

struct TickCase {
  Sent sent;
  int stepAfter;
  bool buttons;
};

TEST_F(ErrorsPage, StartsThenReadsTheStatusOnceInFiveTicks) {
  SetDevice(Filled(0xFF));
  Open(28);
  EXPECT_FALSE(Enabled(1312));
  EXPECT_FALSE(Enabled(1393));
  const TickCase ticks[] = {
      {{}, 7, false},               // rows enabled, lamps still grey
      {{{176}}, 1, true},           // masks shown, buttons on
      {{{174}}, 3, true},           // lamps coloured
      {{kStatusPoll}, 1, true},     // the first poll comes at once
      {{{174}}, 3, true}, {{}, 3, true}, {{}, 3, true}, {{}, 3, true},
      {{kStatusPoll}, 1, true},
      {{{174}}, 3, true},
  };
  int n = 0;
  for (const TickCase& t : ticks) {
    SCOPED_TRACE("tick " + std::to_string(++n));
    EXPECT_EQ(TickSent(), t.sent);
    EXPECT_EQ(page->GetStep(), t.stepAfter);
    EXPECT_EQ(Enabled(CCalibration_ErrorsView::kApplyId), t.buttons);
    EXPECT_TRUE(Enabled(1312));
    EXPECT_TRUE(Enabled(1393));
  }
  // The poll's phase carries over to the next visit.
  page->StopMonitoring();
  page->StartMonitoring();
  EXPECT_EQ(page->GetPollCounter(), 4);
}

TEST_F(ErrorsPage, EachFlagLightsItsOwnLampInItsGroupsColour) {
  struct Case {
    size_t row;
    int byte;
    std::uint8_t bit;
    COLORREF colour;
  };
  const Case cases[] = {
      {0, 4, 0x01, kRed},  {1, 4, 0x02, kRed},  {2, 4, 0x04, kRed},    {3, 4, 0x08, kRed},
      {4, 4, 0x10, kRed},  {5, 4, 0x20, kRed},  {6, 5, 0x10, kRed},    {7, 5, 0x20, kRed},
      {8, 5, 0x40, kRed},  {9, 5, 0x02, kRed},  {10, 5, 0x04, kRed},   {11, 5, 0x08, kRed},
      {12, 3, 0x01, kGreen}, {13, 3, 0x02, kGreen}, {14, 3, 0x10, kGreen}, {15, 3, 0x40, kGreen},
  };
  SetDevice(Filled(0xFF));
  Open(28);
  for (size_t row = 0; row < 16; ++row) EXPECT_EQ(page->GetLampColour(row), kGrey) << row;
  Tick(2);
  for (size_t row = 0; row < 16; ++row) EXPECT_EQ(page->GetLampColour(row), kGrey) << "before the status read";
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(c.row));
    Mask status{};
    status[c.byte] = c.bit;
    SetDevice(Filled(0xFF), status);
    theApp().m_comm.ReadCommand(174);  // what the page's status step reads
    page->StopMonitoring();
    page->StartMonitoring();  // at the start step again: rows, masks, status
    Tick(3);
    for (size_t row = 0; row < 16; ++row) EXPECT_EQ(page->GetLampColour(row), row == c.row ? c.colour : kHealthy);
  }
}

// The legend's lamp beside "Healthy" is the colour a healthy flag shows,
// not the bright green of a calibration in progress.
TEST_F(ErrorsPage, TheLegendLampIsTheColourOfAHealthyFlag) {
  SetDevice(Filled(0xFF));
  OpenRead();
  constexpr int kLegendLamp = 534;
  CWnd* lamp = page->GetDlgItem(kLegendLamp);
  ASSERT_NE(lamp, nullptr);
  IiLedRoundXPtr led(_com_ptr_t<IUnknown>(lamp->GetControlUnknown()));
  ASSERT_TRUE(led);
  COLORREF colour = 0;
  ASSERT_EQ(led->get_LedColor(&colour), S_OK);
  EXPECT_EQ(colour, kHealthy);
  EXPECT_EQ(page->GetLampColour(0), colour);
}

TEST_F(ErrorsPage, ApplyWritesTheWholeBlockWithOnlyTheFlagsMasksChanged) {
  Mask masks = Filled(0xFF);
  masks[4] = 0xFE;  // position range small masked
  masks[30] = 0x5A;  // no row of this page
  SetDevice(masks);
  OpenRead();
  EXPECT_EQ(Check(1312), 1);
  EXPECT_EQ(Check(1320), 0);
  Click(1312);  // position range small reported again
  Click(1320);  // stroke span decrease, 5.6
  Click(1328);  // analog input above range, 5.3
  Click(1753);  // jog calibration set 100 %, 3.6
  Click(CCalibration_ErrorsView::kApplyId);
  EXPECT_FALSE(Enabled(CCalibration_ErrorsView::kRetrieveId));

  Mask expected = Filled(0xFF);
  expected[3] = 0xBF;
  expected[5] = 0xB7;
  expected[30] = 0x5A;
  EXPECT_EQ(TickSent(), Sent{WriteMasks(expected)});
  EXPECT_EQ(DeviceMasks(), expected);
  EXPECT_EQ(Check(1312), 0);
  EXPECT_EQ(Check(1320), 1);
  EXPECT_EQ(Check(1753), 1);
  EXPECT_TRUE(Enabled(CCalibration_ErrorsView::kApplyId));
}

TEST_F(ErrorsPage, RetrieveRestoresTheBoxesAndALostWriteShowsWhatTheDeviceKept) {
  SetDevice(Filled(0xFF));
  OpenRead();
  Click(1316);  // settle time-out
  Click(CCalibration_ErrorsView::kRetrieveId);
  EXPECT_EQ(TickSent(), Sent{{176}});
  EXPECT_EQ(Check(1316), 0);

  Click(1316);
  Click(CCalibration_ErrorsView::kApplyId);
  device->InjectNoReply();
  Mask expected = Filled(0xFF);
  expected[4] = 0xEF;
  EXPECT_EQ(TickSent(), Sent{WriteMasks(expected)});
  EXPECT_EQ(DeviceMasks(), Filled(0xFF));
  EXPECT_EQ(Check(1316), 0);
  EXPECT_EQ(theApp().m_comm.m_abyStatusMask, Filled(0xFF));
  EXPECT_TRUE(Enabled(CCalibration_ErrorsView::kApplyId));
}

TEST_F(ErrorsPage, ApplyBeforeAGoodMaskReadWaitsForRetrieve) {
  SetDevice(Filled(0xFF));
  Open(28);
  device->InjectNoReply();
  Tick(3);
  EXPECT_FALSE(Enabled(CCalibration_ErrorsView::kApplyId));
  Click(CCalibration_ErrorsView::kRetrieveId);
  EXPECT_EQ(TickSent(), Sent{{176}});
  EXPECT_TRUE(Enabled(CCalibration_ErrorsView::kApplyId));
  EXPECT_EQ(DeviceMasks(), Filled(0xFF));
}

TEST_F(ErrorsPage, ALabelShowsItsFlagsTextsAndProgressBoxesShowNone) {
  SetDevice(Filled(0xFF));
  OpenRead();
  struct Case {
    int label;
    const char* implications;
    const char* solutions;
  };
  const Case cases[] = {
      {1323, "STROKE_SPANINCLONG", "STROKE_SPANRES"},
      {1351, "STROKE_SPANDECLONG", "STROKE_SPANRES"},
      {1393, "PSN_RANGE_SMALLLONG", "PSN_RANGE_SMALLRES"},
      {1333, "CMD_ABOVE_ADC_RANGELONG", "CMD_ABOVE_ADC_RANGERES"},
  };
  for (const Case& c : cases) {
    Click(c.label);
    EXPECT_EQ(Get(CCalibration_ErrorsView::kImplicationsId), Text(c.implications)) << c.label;
    EXPECT_EQ(Get(CCalibration_ErrorsView::kSolutionsId), Text(c.solutions)) << c.label;
  }
  Click(1752);  // command input calibration in progress: only the box
  EXPECT_EQ(Check(1752), 1);
  EXPECT_EQ(Get(CCalibration_ErrorsView::kImplicationsId), Text("CMD_ABOVE_ADC_RANGELONG"));
}

// The page left before Apply's tick: the masks go out as it is left, and
// the page shown again reads them back.
TEST_F(ErrorsPage, LeavingBeforeTheApplyTickStillWritesTheMasks) {
  SetDevice(Filled(0xFF));
  OpenRead();
  const int before = Check(1315);
  Click(1315);
  Click(CCalibration_ErrorsView::kApplyId);
  device->ClearRequests();
  page->StopMonitoring();
  ASSERT_FALSE(device->Requests().empty());
  EXPECT_EQ(device->Requests().front()[0], 177);
  EXPECT_NE(DeviceMasks(), Filled(0xFF));
  page->StartMonitoring();
  for (int k = 0; k < 3; ++k) Tick();
  EXPECT_EQ(Check(1315), 1 - before);
  EXPECT_TRUE(Enabled(CCalibration_ErrorsView::kApplyId));
}

// ---- Pressure control.

class PressurePage : public ConfigPage<CConfiguration_PressureControlView> {
 protected:
  using V = CConfiguration_PressureControlView;
  void SetDevice(std::uint8_t softConfig, double window, std::uint8_t lock = 0) {
    device->SetVariable(56, softConfig);
    device->SetVariable(43, window);
    ModifyState([&](sim::DeviceState& s) { s.setup.commandPosition[37] = lock; });
  }
  bool ToggleOn() {
    BOOL on = FALSE;
    page->GetToggle()->get_Active(&on);
    return on;
  }
  bool SpinEnabled() {
    BOOL on = FALSE;
    page->GetWindowSpin()->get_Enabled(&on);
    return on;
  }
  void Flip() {
    page->GetToggle()->put_Active(!ToggleOn());
    IControlTest* test = nullptr;
    page->GetToggle()->QueryInterface(IControlTest::kIID, reinterpret_cast<void**>(&test));
    IControlTestPtr(test, false)->UserEvent(2, {});
  }
};

const Bytes kReadStability = Read200({56, 43});

TEST_F(PressurePage, ReadsThenPollsOnceInNineTicks) {
  SetDevice(0x0B, 2.5);
  Open(30);
  const TickCase ticks[] = {
      {{kReadStability}, 1, false},
      {{{132}}, 3, true},
      {{kStatusPoll}, 1, true},  // the first poll comes at once
      {{{132}}, 3, true},
      {{}, 3, true}, {{}, 3, true}, {{}, 3, true}, {{}, 3, true}, {{}, 3, true}, {{}, 3, true}, {{}, 3, true},
      {{kStatusPoll}, 1, true},
  };
  int n = 0;
  for (const TickCase& t : ticks) {
    SCOPED_TRACE("tick " + std::to_string(++n));
    EXPECT_EQ(TickSent(), t.sent);
    EXPECT_EQ(page->GetStep(), t.stepAfter);
    EXPECT_EQ(Enabled(V::kApplyId), t.buttons);
  }
}

TEST_F(PressurePage, ShowsTheSettingAndTheLockState) {
  struct Case {
    std::uint8_t softConfig;
    std::uint8_t lock;
    bool on;
    const char* lockKey;
  };
  const Case cases[] = {
      {0x0B, 0, true, "PCTRLTRACK"},
      {0x4B, 1, false, "PCTRLLOCKED"},
      {0x40, 7, false, "PCTRLLOCKED"},
  };
  Open(30);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lockKey);
    SetDevice(c.softConfig, 4.5, c.lock);
    Click(V::kRetrieveId);
    Tick(2);
    EXPECT_EQ(ToggleOn(), c.on);
    EXPECT_EQ(SpinEnabled(), c.on);
    double window = 0;
    page->GetWindowSpin()->get_Value(&window);
    EXPECT_EQ(window, 4.5);
    EXPECT_EQ(Get(V::kLockText), Text(c.lockKey));
  }
  // The user's flip enables or disables the window at once, writing nothing.
  device->ClearRequests();
  Flip();
  EXPECT_TRUE(SpinEnabled());
  Flip();
  EXPECT_FALSE(SpinEnabled());
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(PressurePage, ApplyWritesBitSixAndTheWindowWithinItsBounds) {
  struct Case {
    std::uint8_t softConfig;
    bool flip;
    double window;
    Bytes write;
  };
  const Case cases[] = {
      {0x0B, true, 120.0, {201, 9, 0x00, 0x38, 0x4B, 0x00, 0x2B, 0x42, 0xC8, 0x00, 0x00}},
      {0xC9, true, -1.0, {201, 9, 0x00, 0x38, 0x89, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x00}},
      {0x0B, false, 2.5, {201, 9, 0x00, 0x38, 0x0B, 0x00, 0x2B, 0x40, 0x20, 0x00, 0x00}},
  };
  Open(30);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    SetDevice(c.softConfig, 1.0);
    Click(V::kRetrieveId);
    Tick(2);
    if (c.flip) Flip();
    page->GetWindowSpin()->put_Value(c.window);
    Click(V::kApplyId);
    EXPECT_FALSE(Enabled(V::kRetrieveId));
    EXPECT_EQ(TickSent(), Sent{c.write});
    EXPECT_EQ(TickSent(), Sent{kReadStability});  // shows what the device took
    EXPECT_EQ(TickSent(), Sent{{132}});
    EXPECT_TRUE(Enabled(V::kApplyId));
  }
}

TEST_F(PressurePage, ApplyWaitsForThisVisitsReadOfTheWholeByte) {
  SetDevice(0x0B, 2.5);
  Open(30);
  device->InjectNoReply();
  Tick(2);
  EXPECT_FALSE(Enabled(V::kApplyId));
  EXPECT_TRUE(Enabled(V::kRetrieveId));
  Click(V::kRetrieveId);
  Tick(2);
  EXPECT_TRUE(Enabled(V::kApplyId));
}

// ---- HART information.

class HartPage : public ConfigPage<CConfiguration_PosHartInformationView> {
 protected:
  using V = CConfiguration_PosHartInformationView;
  void SetUp() override {
    ConfigPage::SetUp();
    if (HasFatalFailure()) return;
    clock.Set({2026, 12, 8, 10, 0, 0, 0});
    sim::Identity id = device->GetIdentity();
    id.message = "STROKED";
    id.date = {9, 3, 2008};
    id.deviceRevision = 21;
    id.softwareRevision = 4;
    device->SetIdentity(id);
  }
  // Shown and read.
  void OpenRead() {
    Open(36);
    Tick(4);
  }
  // The user's entries, then Apply.
  void Apply(const std::string& message, const std::string& descriptor, const std::string& year,
             const std::string& month, const std::string& day) {
    Put(V::kMessageEdit, message);
    Put(V::kDescriptorEdit, descriptor);
    Put(V::kYearEdit, year);
    Put(V::kMonthEdit, month);
    Put(V::kDayEdit, day);
    Click(V::kApplyId);
  }
};

TEST_F(HartPage, ReadsFourCommandsThenRests) {
  Open(36);
  EXPECT_EQ(Get(V::kTodayEdit), "2026-12-08");
  EXPECT_EQ(Get(V::kDeviceTypeEdit), "Tarnix");
  const TickCase ticks[] = {
      {{{12}}, 9, false}, {{{13}}, 16, false}, {{{168}}, 18, false}, {{{0}}, 19, true},
      {{}, 19, true},     {{}, 19, true},
  };
  int n = 0;
  for (const TickCase& t : ticks) {
    SCOPED_TRACE("tick " + std::to_string(++n));
    EXPECT_EQ(TickSent(), t.sent);
    EXPECT_EQ(page->GetStep(), t.stepAfter);
    EXPECT_EQ(Enabled(V::kApplyId), t.buttons);
    EXPECT_EQ(Enabled(V::kTodayButtonId), t.buttons);
  }
  EXPECT_EQ(Get(V::kMessageEdit), "STROKED                         ");
  EXPECT_EQ(Get(V::kDescriptorEdit), "TARNIX SIMULATOR");
  EXPECT_EQ(Get(V::kYearEdit), "2008");
  EXPECT_EQ(Get(V::kMonthEdit), "03");
  EXPECT_EQ(Get(V::kDayEdit), "09");
  EXPECT_EQ(Get(V::kFirmwareEdit), "1.4");
}

TEST_F(HartPage, HardwareRevisionAndTemperatureUnit) {
  struct Case {
    std::uint8_t hardware;
    std::uint8_t tempUnit;
    const char* shown;
    const char* unit;
  };
  const Case cases[] = {{0x80, 32, "Pre", "\xC2\xB0" "C"}, {0x08, 33, "8", "\xC2\xB0" "F"}};
  for (const Case& c : cases) {
    sim::Identity id = device->GetIdentity();
    id.hardwareRevision = c.hardware;
    device->SetIdentity(id);
    ModifyState([&](sim::DeviceState& s) { s.setup.unitCodes[3] = c.tempUnit; });
    OpenRead();
    EXPECT_EQ(Get(V::kHardwareEdit), c.shown);
    const std::string high = Get(V::kHighTempEdit);
    EXPECT_EQ(high.substr(high.size() - std::string(c.unit).size()), c.unit) << high;
    page->StopMonitoring();
  }
}

TEST_F(HartPage, ApplyWritesMessageThenTagDescriptorAndDateInPackedAscii) {
  OpenRead();
  Apply("pump 2", "feed", "2008", "3", "9");
  const Bytes blanks = {0x82, 0x08, 0x20};
  Bytes message = {17, 24, 0x41, 0x53, 0x50, 0x83, 0x28, 0x20};
  for (int k = 0; k < 6; ++k) message.insert(message.end(), blanks.begin(), blanks.end());
  Bytes identity = {18, 21, 0x4C, 0x93, 0x70, 0xC6, 0x08, 0x20, 0x18, 0x51, 0x44};  // tag as read
  for (int k = 0; k < 3; ++k) identity.insert(identity.end(), blanks.begin(), blanks.end());
  identity.insert(identity.end(), {9, 3, 108});
  EXPECT_EQ(TickSent(), Sent{message});
  EXPECT_EQ(Get(V::kMessageEdit), "PUMP 2");
  EXPECT_FALSE(Enabled(V::kApplyId));
  EXPECT_EQ(TickSent(), Sent{identity});
  EXPECT_EQ(Get(V::kDescriptorEdit), "FEED");
  EXPECT_EQ(Get(V::kMonthEdit), "03");
  EXPECT_TRUE(Enabled(V::kApplyId));
  EXPECT_EQ(device->GetIdentity().tag, "SIM01   ");
  // Then the header's poll every fourth tick, the first at once.
  EXPECT_EQ(TickSent(), Sent{kStatusPoll});
  EXPECT_EQ(TickSent(), Sent{});
}

TEST_F(HartPage, LongTextsAreCutAndUpperCased) {
  OpenRead();
  Apply("the valve was stroked and calibrated today", "boiler feed pump 2", "2026", "12", "8");
  Tick(2);
  EXPECT_EQ(Get(V::kMessageEdit), "THE VALVE WAS STROKED AND CALIBR");
  EXPECT_EQ(Get(V::kDescriptorEdit), "BOILER FEED PUMP");
  EXPECT_EQ(device->GetIdentity().message, "THE VALVE WAS STROKED AND CALIBR");
  EXPECT_EQ(device->GetIdentity().date, (sim::Date{8, 12, 2026}));
}

TEST_F(HartPage, EntriesItCannotWriteAreRefusedWithAMessage) {
  struct Case {
    const char* message;
    const char* descriptor;
    const char* year;
    const char* month;
    const char* day;
    const char* key;
  };
  const Case cases[] = {
      {"OK", "OK", "1899", "12", "31", "HARTDATERANGE"},
      {"OK", "OK", "2156", "1", "1", "HARTDATERANGE"},
      {"OK", "OK", "2026", "0", "1", "HARTDATERANGE"},
      {"OK", "OK", "2026", "13", "1", "HARTDATERANGE"},
      {"OK", "OK", "2026", "1", "0", "HARTDATERANGE"},
      {"OK", "OK", "2026", "4", "31", "HARTDATERANGE"},
      {"OK", "OK", "2027", "2", "29", "HARTDATERANGE"},
      {"OK", "OK", "", "2", "1", "HARTDATERANGE"},
      {"OK", "OK", "20x6", "2", "1", "HARTDATERANGE"},
      {"caf\xC3\xA9", "OK", "2026", "1", "1", "HARTTEXTCHARS"},
      {"a{b}", "OK", "2026", "1", "1", "HARTTEXTCHARS"},
      {"OK", "back`tick", "2026", "1", "1", "HARTTEXTCHARS"},
      {"OK", "~", "2026", "1", "1", "HARTTEXTCHARS"},
  };
  OpenRead();
  const sim::Identity before = device->GetIdentity();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + c.message + " " + c.descriptor + " " + c.year + "-" + c.month + "-" + c.day);
    person.Answer(IDOK);
    Apply(c.message, c.descriptor, c.year, c.month, c.day);
    for (const Bytes& frame : TickSent()) EXPECT_EQ(frame, kStatusPoll);  // the idle step's poll at most
    ASSERT_FALSE(person.Asked().empty());
    EXPECT_EQ(person.Asked().back().text, Text(c.key));
    EXPECT_TRUE(Enabled(V::kApplyId));
    EXPECT_EQ(device->GetIdentity(), before);
  }
  // The edges themselves are written.
  Apply("OK", "OK", "2024", "2", "29");
  Tick(2);
  EXPECT_EQ(device->GetIdentity().date, (sim::Date{29, 2, 2024}));
  Apply("OK", "OK", "2155", "12", "31");
  Tick(2);
  EXPECT_EQ(device->GetIdentity().date, (sim::Date{31, 12, 2155}));
}

TEST_F(HartPage, ApplyWaitsForThisVisitsTagRead) {
  Open(36);
  Tick();
  device->InjectNoReply();
  Tick(3);
  EXPECT_FALSE(Enabled(V::kApplyId));
  EXPECT_TRUE(Enabled(V::kRetrieveId));
  Click(V::kRetrieveId);
  Tick(4);
  EXPECT_TRUE(Enabled(V::kApplyId));
  // A new visit reads again before Apply comes back.
  page->StopMonitoring();
  page->StartMonitoring();
  EXPECT_FALSE(Enabled(V::kApplyId));
}

TEST_F(HartPage, AWriteWithoutReplyIsReportedAndTheImageKeepsTheDevicesValues) {
  OpenRead();
  const CWexletCoreCommunication& comm = theApp().m_comm;
  const std::string messageBefore = comm.m_strMessage;
  person.Answer(IDOK);
  Apply("pump 2", "feed", "2020", "5", "6");
  device->InjectNoReply(2);
  Tick(2);
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Text("HARTNOTWRITTEN"));
  EXPECT_EQ(comm.m_strMessage, messageBefore);
  EXPECT_EQ(comm.m_strDescriptor, "TARNIX SIMULATOR");
  EXPECT_EQ(comm.m_byDateYear, 108);
  EXPECT_EQ(Get(V::kMessageEdit), "PUMP 2");  // the user's entries stay
  EXPECT_EQ(Get(V::kYearEdit), "2020");
  EXPECT_TRUE(Enabled(V::kApplyId));
}

// Apply, and another page chosen before its tick: both writes go out as
// the page is left; one without reply is named, and the page shown again
// keeps the entry it may not have written and shows the device's value
// where the write was answered.
TEST_F(HartPage, AnApplyLeftAtOnceWritesBothAndNamesTheWriteNotAnswered) {
  struct Case {
    const char* name;
    bool messageLost, tagLost;
    const char* says;  // null: nothing
  } cases[] = {
      {"both answered", false, false, nullptr},
      {"message lost", true, false, "HARTMESSAGENOTWRITTEN"},
      {"descriptor and date lost", false, true, "HARTTAGNOTWRITTEN"},
      {"both lost", true, true, "HARTNOTWRITTEN"},
  };
  // The device pads its texts with blanks.
  auto trimmed = [](std::string text) { return text.erase(text.find_last_not_of(' ') + 1); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t asked = person.Asked().size();
    sim::Identity id = device->GetIdentity();
    id.message = "STROKED";
    id.descriptor = "OLD";
    device->SetIdentity(id);
    OpenRead();
    if (c.says) person.Answer(IDOK);
    Apply("pump 2", "feed", "2020", "5", "6");
    // A short reply longer than the answer leaves it whole: the next fault
    // then meets the second write.
    c.messageLost ? device->InjectNoReply() : device->InjectShortReply(255);
    if (c.tagLost) device->InjectNoReply();
    device->ClearRequests();
    page->StopMonitoring();
    device->ClearFaults();
    ASSERT_EQ(device->Requests().size(), 2u);
    EXPECT_EQ(device->Requests()[0][0], 17);
    EXPECT_EQ(device->Requests()[1][0], 18);
    ASSERT_EQ(person.Asked().size(), asked + (c.says ? 1u : 0u));
    if (c.says) {
      EXPECT_EQ(person.Asked().back().text, Text(c.says));
    }
    EXPECT_EQ(trimmed(device->GetIdentity().message), c.messageLost ? "STROKED" : "PUMP 2");
    clock.Advance(60000);
    page->StartMonitoring();
    Tick(4);
    EXPECT_EQ(trimmed(Get(V::kMessageEdit)), "PUMP 2");
    EXPECT_EQ(trimmed(Get(V::kDescriptorEdit)), "FEED");
    EXPECT_EQ(Get(V::kYearEdit), "2020");
    EXPECT_TRUE(Enabled(V::kApplyId));
    // Retrieve shows what the device holds.
    Click(V::kRetrieveId);
    Tick(4);
    EXPECT_EQ(trimmed(Get(V::kMessageEdit)), c.messageLost ? "STROKED" : "PUMP 2");
    EXPECT_EQ(trimmed(Get(V::kDescriptorEdit)), c.tagLost ? "OLD" : "FEED");
    page->StopMonitoring();
  }
}

TEST_F(HartPage, TheDateButtonFillsTodayWithoutWriting) {
  OpenRead();
  Click(V::kTodayButtonId);
  EXPECT_EQ(TickSent(), Sent{kStatusPoll});  // to the idle step, which polls at once
  EXPECT_EQ(Get(V::kYearEdit), "2026");
  EXPECT_EQ(Get(V::kMonthEdit), "12");
  EXPECT_EQ(Get(V::kDayEdit), "08");
  EXPECT_EQ(device->GetIdentity().date, (sim::Date{9, 3, 2008}));
}

}  // namespace
