// The stroke (sensor) calibration and zero supply pages against the
// simulated positioner on the manual clock. The device's calibration
// state is set through the simulator, tick by tick, so that the page is
// seen to follow whatever the device reports.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "platform/activex/controls.h"
#include "platform/win/controls.h"
#include "platform/win/resources.h"
#include "common/control_puts.h"
#include "support/report_probe.h"
#include "shell/calibration_kit.h"
#include "support/language_table.h"
#include "views/config/command_calibration.h"
#include "views/config/sensor_calibration.h"
#include "views/config/zero_supply.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using View = CCalibration_SensorCalibView;
using namespace activex;

constexpr int kPeriod = 5000;
const Bytes kReadValues = Read200({69, 10, 170, 56, 42});
const Bytes kStartWrite = {201, 3, 0, 170, 1};
const Bytes kAbortWrite = {201, 3, 0, 170, 0};
const Bytes kReadStrokeHistory = {184, 1, 1};
const Bytes kStatusRead = {174};
const Bytes kReadEndPoints = Read200({80, 81, 17});

using testpages::Text;

// ---- The history record, as the device keeps it.

TEST(CalibrationHistory, RecordIsTheDateTheInitialsAndBlanksToTwentyFourCharacters) {
  const std::string record = calib::HistoryRecord({2026, 3, 9, 14, 5, 7}, "JQP");
  EXPECT_EQ(record, "03/09/2026 14:05:07 JQP ");
  EXPECT_EQ(record.size(), 24u);
}

TEST(CalibrationHistory, ShownAsDateAndInitials) {
  struct Case {
    std::string record, date, by;
  } cases[] = {
      {"03/09/2026 14:05:07 JQP ", "03/09/2026 14:05:07", "JQP"},
      {"03/09/2026 14:05:07 JQP", "03/09/2026 14:05:07", "JQP"},
      {std::string("03/09/2026 14:05:07 AB") + '\0' + '\0', "03/09/2026 14:05:07", "AB"},
      {std::string(24, ' '), "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const calib::HistoryEntry e = calib::SplitHistory(c.record);
    EXPECT_EQ(e.date, c.date) << c.record;
    EXPECT_EQ(e.by, c.by) << c.record;
  }
}

// ---- The calibration pages: shown on the simulated positioner, with
// their buttons, their initials field and their report.

template <class Page, int kViewIndex>
class CalibrationPage : public testpages::SimulatedPage {
 public:
  void SetUp() override {
    testpages::LoadEnglish();
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    page = static_cast<Page*>(CreatePage(kViewIndex));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, kViewIndex));
    page->SendInitialUpdate();
    device->ClearRequests();
  }

  bool Enabled(int id) { return page->GetDlgItem(id)->IsWindowEnabled(); }
  std::string Field(int id) { return page->GetDlgItemText(id); }
  void Click(int id) { page->template GetDlgItemAs<CButton>(id)->Click(); }
  void Tick() { clock.Advance(kPeriod); }
  UINT Icon() { return plat::ResourceIdOf(page->template GetDlgItemAs<CStatic>(Page::kInitialsIconId)->GetIcon()); }
  std::string IconTip() { return page->GetToolTips().GetToolText(page->GetDlgItem(Page::kInitialsIconId)); }

  Page* page = nullptr;
};

// ---- The sensor calibration page.

class SensorCalibration : public CalibrationPage<View, 26> {
 public:
  COLORREF LinkColour(UINT id) {
    _variant_t colour;
    common::Puts(page->GetLink(id)).Control()->GetSetting(activex::LabelRow(5), &colour);
    return static_cast<COLORREF>(colour.lVal);
  }
  void SetState(int state) { device->SetVariable(170, state); }
  void SetStrokeFlags(std::uint8_t byte4, std::uint8_t byte5) {
    ModifyState([=](sim::DeviceState& s) {
      s.status.bytes[4] = byte4;
      s.status.bytes[5] = byte5;
    });
  }
  // Shown, values and history read: ready for a start.
  void Show() {
    page->StartMonitoring();
    Tick();
    Tick();
    device->ClearRequests();
  }
  // Initials typed, Start, Yes, the start written: running.
  void StartRunning(const char* initials = "JQP") {
    page->SetDlgItemText(View::kInitialsId, initials);
    person.Answer(IDYES);
    Click(View::kStartId);
    Tick();
  }
  // The device reports the end; the next tick reads it, the one after
  // asks for the status.
  void EndWith(int state) {
    SetState(state);
    Tick();
    Tick();
  }
  // The device stands where a failed run leaves it, until it is aborted.
  void StandFailed(std::uint8_t flag) {
    ModifyState([=](sim::DeviceState& s) {
      s.calibration.stroke.phase = sim::StrokePhase::Failed;
      s.status.bytes[4] = flag;
    });
    SetState(View::kCalError);
  }
  void ExpectButtons(bool start, bool abort, const char* when) {
    EXPECT_EQ(Enabled(View::kStartId), start) << when;
    EXPECT_EQ(Enabled(View::kAbortId), abort) << when;
  }
  // Shown on a device that is not idle: Abort is offered and Start is not;
  // once the device reports idle after the abort, a start is taken.
  void ExpectAbortThenStart(const char* when) {
    Show();
    ExpectButtons(false, true, when);
    Click(View::kAbortId);
    Tick();
    EXPECT_EQ(device->Requests(), std::vector<Bytes>{kAbortWrite}) << when;
    Tick();  // the device back at idle
    ExpectButtons(true, false, when);
    device->ClearRequests();
    StartRunning();
    EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kStartWrite, kReadEndPoints})) << when;
    EXPECT_TRUE(page->IsCalibrationRunning()) << when;
  }
  // Ticks until the device's run stands at `state`.
  bool RunUntil(int state) {
    for (int k = 0; k < 400; ++k) {
      if (device->Variable(170) == state) return true;
      Tick();
    }
    return false;
  }
  // Ticks until Start comes back, checking on the way that it never does
  // while the device calibrates and that Abort is there meanwhile.
  void TickUntilStart(const char* when, int limit = 40) {
    for (int k = 0; k < limit && !Enabled(View::kStartId); ++k) {
      Tick();
      if (device->Variable(170) == View::kIdle) continue;
      EXPECT_FALSE(Enabled(View::kStartId)) << when << ", tick " << k;
      EXPECT_TRUE(Enabled(View::kAbortId)) << when << ", tick " << k;
    }
    EXPECT_TRUE(Enabled(View::kStartId)) << when;
  }
  bool NothingJudgedOrRecorded() {
    for (const Bytes& r : device->Requests())
      if (r == kStatusRead || r[0] == 187) return false;
    return true;
  }
};

TEST_F(SensorCalibration, ShowingReadsTheValuesThenTheHistoryWithTheButtonsHeldUntilThen) {
  page->StartMonitoring();
  for (int id : {View::kStartId, View::kAbortId, View::kPrintId}) EXPECT_FALSE(Enabled(id)) << id;
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kReadValues});
  EXPECT_FALSE(Enabled(View::kStartId));
  Tick();
  EXPECT_EQ(device->Requests().back(), kReadStrokeHistory);
  EXPECT_EQ(Field(View::kLastDateId), "03/14/2025 10:22:05");
  EXPECT_EQ(Field(View::kLastById), "ABC");
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kAbortId));
  EXPECT_FALSE(Enabled(View::kPrintId));  // no calibration has ended yet
  double count = 0;
  page->GetDisplay(View::kCountId)->get_Value(&count);
  EXPECT_EQ(count, 32112);
  IControlPtr display;
  page->GetDisplay(View::kCountId)->QueryInterface(IControl::kIID, reinterpret_cast<void**>(&display));
  _variant_t decimals;
  ASSERT_TRUE(display);
  display->GetSetting(activex::kDecimals, &decimals);
  EXPECT_EQ(decimals.lVal, 0) << "a count is whole: no \"32112.00\"";
}

TEST_F(SensorCalibration, StartWithInitialsOtherThanThreeCharactersAsksNothingAndMarksTheField) {
  Show();
  for (const char* initials : {"AB", "ABCD", ""}) {
    page->SetDlgItemText(View::kInitialsId, initials);
    Click(View::kStartId);  // the person fails the test if asked
    EXPECT_EQ(Icon(), calib::InitialsField::kInvalidIcon) << initials;
    EXPECT_EQ(IconTip(), Text("TT_CALIB_ERROR"));
  }
  Tick();
  for (const Bytes& r : device->Requests()) EXPECT_NE(r, kStartWrite);
}

TEST_F(SensorCalibration, TheFirstChangeAfterShowingIsNotChecked) {
  Show();
  page->SetDlgItemText(View::kInitialsId, "A");
  EXPECT_EQ(Icon(), calib::InitialsField::kValidIcon);
  page->SetDlgItemText(View::kInitialsId, "AB");
  EXPECT_EQ(Icon(), calib::InitialsField::kInvalidIcon);
  page->SetDlgItemText(View::kInitialsId, "ABC");
  EXPECT_EQ(Icon(), calib::InitialsField::kValidIcon);
}

TEST_F(SensorCalibration, NoToTheQuestionChangesNothing) {
  Show();
  page->SetDlgItemText(View::kInitialsId, "JQP");
  person.Answer(IDNO);
  Click(View::kStartId);
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Text("CAUSEMOVEMENT") + "\n\n" + Text("USEABORT") + "\n\n" + Text("CONTINUE"));
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kAbortId));
  Tick();
  Tick();
  for (const Bytes& r : device->Requests()) EXPECT_NE(r, kStartWrite);
  EXPECT_FALSE(page->IsCalibrationRunning());
}

TEST_F(SensorCalibration, ASuccessfulCalibrationIsJudgedOnAFreshStatusAndRecordedWithTheInitialsOfStart) {
  Show();
  StartRunning("JQP");
  // The end points as they stand before the device could save new ones.
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kStartWrite, kReadEndPoints}));
  EXPECT_TRUE(page->IsCalibrationRunning());
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_TRUE(Enabled(View::kAbortId));
  EXPECT_EQ(LinkColour(View::kHistoryLinkId), calib::kLinkGrey);
  // Typed over while running: the record keeps who was checked at Start.
  page->SetDlgItemText(View::kInitialsId, "");

  SetState(30);
  Tick();
  EXPECT_EQ(Field(View::kStateTextId), Text("WAITSTARTOPEN"));
  EXPECT_EQ(page->GetProgress().GetPos(), 30);

  SetStrokeFlags(0, 0);
  device->ClearRequests();
  EndWith(0);
  ASSERT_EQ(device->Requests().size(), 2u);
  EXPECT_EQ(device->Requests()[1], kStatusRead);
  EXPECT_EQ(Field(View::kStateTextId), Text("SUCCESSCAL"));
  clock.Set({2026, 3, 9, 14, 5, 2});
  Tick();
  const Bytes record = {187, 25, 1, '0', '3', '/', '0', '9', '/', '2', '0', '2', '6', ' ', '1', '4', ':', '0',
                        '5', ':', '0', '7', ' ', 'J', 'Q', 'P', ' '};
  EXPECT_EQ(device->Requests().back(), record);
  EXPECT_EQ(device->State().history.calibration.at(1), "03/09/2026 14:05:07 JQP ");
  EXPECT_EQ(Field(View::kLastDateId), "03/09/2026 14:05:07");
  EXPECT_EQ(Field(View::kLastById), "JQP");
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kAbortId));
  EXPECT_TRUE(Enabled(View::kPrintId));
  EXPECT_EQ(LinkColour(View::kHistoryLinkId), calib::kLinkBlue);
  // Values and history read again.
  Tick();
  Tick();
  EXPECT_EQ(device->Requests().back(), kReadStrokeHistory);
}

TEST_F(SensorCalibration, AFailedCalibrationShowsTheErrorAndWaitsForAbort) {
  Show();
  StartRunning();
  SetStrokeFlags(0x08, 0);  // no-motion time-out
  device->ClearRequests();
  EndWith(81);
  EXPECT_EQ(Field(View::kStateTextId), Text("CALERRMSG"));
  EXPECT_EQ(LinkColour(View::kErrorsLinkId), calib::kLinkRed);
  EXPECT_EQ(LinkColour(View::kHistoryLinkId), calib::kLinkBlue);
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_TRUE(Enabled(View::kAbortId));
  EXPECT_TRUE(Enabled(View::kPrintId));
  Tick();
  Tick();
  for (const Bytes& r : device->Requests()) EXPECT_NE(r[0], 187);  // nothing recorded

  Click(View::kAbortId);
  Tick();
  EXPECT_EQ(device->Requests().back(), kAbortWrite);
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kAbortId));
}

TEST_F(SensorCalibration, WithoutAnAnswerToTheStatusReadTheResultWaitsForOne) {
  Show();
  StartRunning();
  SetStrokeFlags(0x01, 0);
  SetState(0);
  Tick();  // the end read
  // An earlier, clean status must not pass for this calibration's.
  theApp().m_comm.m_abyStatus.fill(0);
  device->InjectNoReply();
  Tick();
  EXPECT_NE(Field(View::kStateTextId), Text("SUCCESSCAL"));
  device->ClearRequests();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStatusRead});
  EXPECT_EQ(Field(View::kStateTextId), Text("CALERRMSG"));
}

// The device passes its abort code on its way back to idle, and an
// aborted run leaves the flags as clean as a good one.
TEST_F(SensorCalibration, ARunTheDeviceAbortsEndsAsAbortedWithNothingRecorded) {
  Show();
  StartRunning();
  SetState(30);
  Tick();
  SetState(82);  // the device's abort code does not end it on the page
  Tick();
  EXPECT_TRUE(page->IsCalibrationRunning());
  SetStrokeFlags(0, 0);
  device->ClearRequests();
  SetState(View::kIdle);
  for (int k = 0; k < 3; ++k) Tick();
  EXPECT_FALSE(page->IsCalibrationRunning());
  EXPECT_EQ(Field(View::kStateTextId), Text("CALABORT"));
  EXPECT_TRUE(NothingJudgedOrRecorded());
  ExpectButtons(true, false, "aborted");
  EXPECT_FALSE(Enabled(View::kPrintId));
}

// A start whose answer is lost may have reached the device or not: the
// page follows it as running, with Abort at hand, until the device's state
// tells, and never shows a state that the device did not report.
TEST_F(SensorCalibration, AStartWithItsAnswerLostIsSettledByTheNextStateRead) {
  struct Case {
    const char* name;
    std::function<void()> lose;
    bool taken;
  } cases[] = {
      {"the request lost", [this] { device->InjectNoReply(); }, false},
      {"the reply lost", [this] { device->InjectShortReply(3); }, true},
  };
  for (const Case& c : cases) {
    Show();
    c.lose();
    StartRunning();
    EXPECT_EQ(Field(View::kStateTextId), "") << c.name;
    EXPECT_TRUE(page->IsCalibrationRunning()) << c.name;
    ExpectButtons(false, true, c.name);
    Tick();
    EXPECT_EQ(page->IsCalibrationRunning(), c.taken) << c.name;
    ExpectButtons(!c.taken, c.taken, c.name);
    EXPECT_EQ(LinkColour(View::kHistoryLinkId), c.taken ? calib::kLinkGrey : calib::kLinkBlue) << c.name;
    EXPECT_NE(Field(View::kStateTextId), Text("IDD_CALIBRATION_STROKE")) << c.name;
    if (c.taken) {
      EXPECT_EQ(page->GetProgress().GetPos(), device->Variable(170)) << c.name;
    }
    // The idle device's state 0 is no end of a calibration; a taken one
    // is stopped by leaving the page.
    device->ClearRequests();
    page->StopMonitoring();
    EXPECT_EQ(device->Requests(), c.taken ? std::vector<Bytes>{kAbortWrite} : std::vector<Bytes>{}) << c.name;
    EXPECT_TRUE(NothingJudgedOrRecorded()) << c.name;
    Tick();  // the device's abort over
  }
}

// An abort whose answer is lost may not have reached the device: the page
// does not say it stopped, keeps Abort for another try, and an abort that
// did reach it is still no calibration.
TEST_F(SensorCalibration, AnAbortWithItsAnswerLostIsNotShownAsDone) {
  struct Case {
    const char* name;
    bool failedFirst;  // the device stands failed rather than running
    std::function<void()> lose;
    bool reached;
  } cases[] = {
      {"running, the request lost", false, [this] { device->InjectNoReply(); }, false},
      {"running, the reply lost", false, [this] { device->InjectShortReply(3); }, true},
      {"failed, the request lost", true, [this] { device->InjectNoReply(); }, false},
  };
  for (const Case& c : cases) {
    Show();
    StartRunning();
    Tick();
    if (c.failedFirst) {
      StandFailed(0x08);
      Tick();
      Tick();
      ASSERT_EQ(Field(View::kStateTextId), Text("CALERRMSG")) << c.name;
    }
    device->ClearRequests();
    c.lose();
    Click(View::kAbortId);
    Tick();
    EXPECT_EQ(device->Requests(), std::vector<Bytes>{kAbortWrite}) << c.name;
    EXPECT_EQ(page->IsCalibrationRunning(), !c.failedFirst) << c.name;
    ExpectButtons(false, true, c.name);
    EXPECT_NE(Field(View::kStateTextId), Text("SPRINGTYPENONE")) << c.name;
    Tick();  // the state read
    EXPECT_EQ(page->IsCalibrationRunning(), !c.failedFirst && !c.reached) << c.name;
    ExpectButtons(c.reached, !c.reached, c.name);
    EXPECT_TRUE(NothingJudgedOrRecorded()) << c.name;
    if (c.reached) {
      EXPECT_EQ(Field(View::kStateTextId), Text("CALABORT")) << c.name;
      continue;
    }
    // Asked again, the device stops.
    Click(View::kAbortId);
    Tick();
    Tick();
    EXPECT_FALSE(page->IsCalibrationRunning()) << c.name;
    ExpectButtons(true, false, c.name);
  }
}

// An abort without its answer may not have reached the device, which then
// goes on and saves new end points; one that reached it as it saved them
// leaves them too. The abort is tried again, and the page says what the
// device did, read back from its state and end points: a success with its
// record when it kept new end points, aborted only when it did abort, and
// never Start while it calibrates. So too for the abort that leaving the
// page sends, the page shown again.
TEST_F(SensorCalibration, AnAbortWithoutItsAnswerEndsAsWhatTheDeviceDid) {
  const struct {
    const char* name;
    std::function<void()> inject;
  } faults[] = {
      {"no reply", [this] { device->InjectNoReply(); }},
      {"refused", [this] { device->InjectResponseCode(32); }},  // busy
      {"cut reply", [this] { device->InjectShortReply(3); }},
      {"wrong echo", [this] { device->InjectWrongEcho(); }},
      {"long byte count", [this] { device->InjectLongByteCount(); }},
  };
  const int states[] = {21, 33, 45, 53, 80};  // 80: saving the new end points
  const std::string oldRecord = "03/14/2025 10:22:05 ABC ";
  const sim::ValveModel valve = device->State().valve;
  const double low = device->Variable(80), high = device->Variable(81);
  int kept = 0, aborted = 0;
  for (bool leaving : {false, true}) {
    for (const auto& f : faults) {
      for (int state : states) {
        const std::string name = std::string(leaving ? "left" : "Abort") + ", " + f.name + " at " + std::to_string(state);
        SCOPED_TRACE(name);
        ModifyState([&](sim::DeviceState& s) {
          s.valve = valve;
          s.history.calibration[1] = oldRecord;
        });
        device->SetVariable(80, low);
        device->SetVariable(81, high);
        Show();
        StartRunning();
        ASSERT_TRUE(RunUntil(state));
        f.inject();
        if (leaving) {
          page->StopMonitoring();
          clock.Advance(kPeriod);
          page->StartMonitoring();
        } else {
          Click(View::kAbortId);
        }
        TickUntilStart(name.c_str());
        const bool newPoints = device->Variable(80) != low;
        EXPECT_EQ(device->Variable(170), View::kIdle);
        EXPECT_EQ(Field(View::kStateTextId), Text(newPoints ? "SUCCESSCAL" : "CALABORT"));
        const std::string record = device->State().history.calibration.at(1);
        EXPECT_EQ(record != oldRecord, newPoints);
        if (newPoints) {
          EXPECT_EQ(record.substr(20, 3), "JQP");
          EXPECT_EQ(Field(View::kLastById), "JQP");
        }
        ++(newPoints ? kept : aborted);
        page->StopMonitoring();
      }
    }
  }
  // Both ends were met: the device at its save keeps its new end points.
  EXPECT_GE(kept, 10);
  EXPECT_GT(aborted, 0);
}

// While the device is not heard after an abort, whether it kept new end
// points is not known: the page says so and offers Abort alone.
TEST_F(SensorCalibration, AfterAnAbortOnlyAbortIsOfferedUntilTheDeviceAnswers) {
  Show();
  StartRunning();
  ASSERT_TRUE(RunUntil(30));
  device->InjectNoReply(3);  // the abort and the two state reads after it
  Click(View::kAbortId);
  Tick();
  Tick();
  EXPECT_EQ(Field(View::kStateTextId), testpages::StatusText("STROKECAL_END_UNREAD"));
  ExpectButtons(false, true, "unheard");
  TickUntilStart("heard again");
  EXPECT_EQ(Field(View::kStateTextId), Text("CALABORT"));
  EXPECT_EQ(device->Variable(80), 6550);
}

// Left between seeing the device's end and judging it, the page shown
// again judges that end and records a success, with no Start before.
TEST_F(SensorCalibration, ShownAgainWithItsEndNotYetJudgedItJudgesAndRecordsIt) {
  struct Case {
    const char* name;
    int ticksAfterTheEnd;  // 1: the end seen; 2: the status judged, the record not yet written
  } cases[] = {{"end seen", 1}, {"judged, not recorded", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModifyState([](sim::DeviceState& s) { s.history.calibration[1] = "03/14/2025 10:22:05 ABC "; });
    Show();
    StartRunning();
    SetStrokeFlags(0, 0);
    SetState(View::kIdle);
    for (int k = 0; k < c.ticksAfterTheEnd; ++k) Tick();
    page->StopMonitoring();
    clock.Advance(60000);
    page->StartMonitoring();
    EXPECT_FALSE(Enabled(View::kStartId));
    TickUntilStart(c.name, 5);
    EXPECT_EQ(Field(View::kStateTextId), Text("SUCCESSCAL"));
    EXPECT_EQ(device->State().history.calibration.at(1).substr(20, 3), "JQP");
    EXPECT_TRUE(Enabled(View::kPrintId));
    page->StopMonitoring();
  }
}

// However the page was left, it shows on return what the device can do:
// a device that is not idle refuses a start, and only Abort ends it.
TEST_F(SensorCalibration, ShownAgainOnADeviceThatIsNotIdleOffersAbortAndThenAStart) {
  struct Case {
    const char* name;
    std::function<void()> leave;  // from a run just started
  } cases[] = {
      {"failed, left by the errors link",
       [this] {
         StandFailed(0x08);
         Tick();
         Tick();
         EXPECT_EQ(LinkColour(View::kErrorsLinkId), calib::kLinkRed);
         page->StopMonitoring();
       }},
      {"running, the abort on leaving lost",
       [this] {
         Tick();
         device->InjectNoReply();
         page->StopMonitoring();
       }},
  };
  Show();
  StartRunning();
  for (const Case& c : cases) {
    c.leave();
    ExpectAbortThenStart(c.name);
  }
}

TEST_F(SensorCalibration, WithoutTheDevicesStateTheButtonsWaitForIt) {
  StandFailed(0x08);
  device->InjectNoReply();
  page->StartMonitoring();
  Tick();
  Tick();
  ExpectButtons(false, false, "unknown");
  Tick();
  ExpectButtons(false, true, "read");
}

TEST_F(SensorCalibration, ARecordTheDeviceDidNotConfirmIsNotShownAsTheLastCalibration) {
  Show();
  StartRunning();
  SetStrokeFlags(0, 0);
  EndWith(0);
  ASSERT_EQ(Field(View::kStateTextId), Text("SUCCESSCAL"));
  device->InjectNoReply();
  Tick();
  EXPECT_EQ(Field(View::kLastDateId), "03/14/2025 10:22:05");
  EXPECT_EQ(Field(View::kLastById), "ABC");
  EXPECT_EQ(theApp().m_CommonFunctions.m_strStrokeCal.by.str(), "ABC");
}

TEST_F(SensorCalibration, LeavingWhileRunningAbortsAndComingBackIsReady) {
  Show();
  StartRunning();
  SetState(30);
  Tick();
  device->ClearRequests();
  page->StopMonitoring();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kAbortWrite});
  EXPECT_EQ(page->GetProgress().GetPos(), View::kFirstState);  // empty: 0 is below its range
  EXPECT_EQ(clock.ActiveTimers(), 0);
  Show();
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kAbortId));
}

TEST_F(SensorCalibration, TheHistoryLinkLeavesAtTheNextTickAndThePageStopsPolling) {
  Show();
  IControlTest* test = nullptr;
  page->GetDlgItem(static_cast<int>(View::kHistoryLinkId))
      ->GetControlUnknown()
      ->QueryInterface(IControlTest::kIID, reinterpret_cast<void**>(&test));
  ASSERT_NE(test, nullptr);
  _com_ptr_t<IControlTest>(test, false)->UserEvent(1, {});
  EXPECT_EQ(clock.ActiveTimers(), 1);
  Tick();
  EXPECT_EQ(clock.ActiveTimers(), 0);
  device->ClearRequests();
  Tick();
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(SensorCalibration, PrintReportReadsTheDeviceAtOnceAndHandsTheReportItsFields) {
  Show();
  StartRunning();
  SetStrokeFlags(0x09, 0);
  ModifyState([](sim::DeviceState& s) { s.status.masks[4] = 0xFE; });
  EndWith(81);
  device->ClearRequests();
  const size_t asked = person.Asked().size();  // the question before the start
  Click(View::kPrintId);
  ASSERT_FALSE(device->Requests().empty());
  EXPECT_EQ(device->Requests().front(), Bytes{13});
  EXPECT_EQ(person.Asked().size(), asked);
  const CCommonFunctions& common = theApp().m_CommonFunctions;
  EXPECT_EQ(common.m_strStrokeCal.ilo.str(), "63.50");
  EXPECT_EQ(common.m_strStrokeCal.lowAD.str(), "6550");
  EXPECT_EQ(common.m_strStrokeCal.highAD.str(), "58980");
  EXPECT_EQ(common.m_strStrokeCal.adRange.str(), "52430");
  const std::array<BYTE, 14> flags = {1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(common.m_bStrokeCalFlags, flags);

  person.CancelFile().Answer(IDNO);
  Tick();
  ASSERT_EQ(person.Asked().size(), asked + 2);
  EXPECT_EQ(person.Asked()[asked].title, "Save Stroke Calibration ReportAs");
  EXPECT_EQ(ReportName(page->GetReport()), "SensCalRept");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "StrkCalState"), Text("CALERRMSG"));
}

// ---- The command calibration page.

using Cmd = CCalibration_CommandCalibView;

Bytes StepWrite(std::uint8_t code) { return {201, 3, 0, 14, code}; }

class CommandCalibration : public CalibrationPage<Cmd, 27> {
 public:
  // The loop at a current of the test's: the loop calibrator kept off it.
  void SetCurrent(double milliamps) {
    ModifyState([](sim::DeviceState& s) { s.calibration.loopCalibrator = false; });
    device->SetVariable(1, milliamps);
  }
  // Masks, history and input read: ready for a start.
  void Show() {
    page->StartMonitoring();
    for (int k = 0; k < 3; ++k) Tick();
    device->ClearRequests();
  }
  // Accept, Start, Abort, Print Report, as enabled.
  std::vector<bool> Buttons() {
    return {Enabled(Cmd::kAcceptId), Enabled(Cmd::kStartId), Enabled(Cmd::kAbortId), Enabled(Cmd::kPrintId)};
  }
  std::vector<Bytes> StepWrites() {
    std::vector<Bytes> writes;
    for (const Bytes& r : device->Requests())
      if (r.size() == 5 && r[0] == 201 && r[3] == 14) writes.push_back(r);
    return writes;
  }
  // The step code writes of the wizard, in order.
  enum Write { kStartCode, kLowCode, kHighCode, kNoLoss };
  // The whole wizard at 4.5 mA and `high`, ticking until the history is
  // read back; `raisedAtTheEnd` goes into status byte 5 after the last
  // point's check; the request of the write `lost` gets no answer.
  void Calibrate(double high, std::uint8_t raisedAtTheEnd = 0, Write lost = kNoLoss) {
    TakePoints(high, lost);
    if (raisedAtTheEnd) ModifyState([=](sim::DeviceState& s) { s.status.bytes[5] |= raisedAtTheEnd; });
    End(Cmd::kAcceptId);
  }
  // Started, both points taken and checked: the end stage. The write
  // `lost` meets `fault` (no reply unless given).
  void TakePoints(double high, Write lost = kNoLoss, const std::function<void()>& fault = {}) {
    auto write = [&](Write w, int ticks) {
      if (w == lost) fault ? fault() : device->InjectNoReply();
      for (int k = 0; k < ticks; ++k) Tick();
    };
    SetCurrent(4.5);
    page->SetDlgItemText(Cmd::kInitialsId, "JQP");
    Click(Cmd::kStartId);
    write(kStartCode, 1);
    Click(Cmd::kAcceptId);
    write(kLowCode, 2);
    SetCurrent(high);
    Click(Cmd::kAcceptId);
    write(kHighCode, 2);
  }
  // Accept or Abort at the end stage, ticking until the history is read
  // back after a success.
  void End(int button) {
    Click(button);
    for (int k = 0; k < 5; ++k) Tick();
  }
  // The last calibration on record and its points, as before each case.
  void PutBackOldCalibration(const std::string& record) {
    ModifyState([&](sim::DeviceState& s) {
      s.history.calibration[5] = record;
      s.variables[85] = 6400;
      s.variables[86] = 57600;
      s.variables[87] = 51200;
    });
  }
  size_t RecordsWritten() {
    size_t n = 0;
    for (const Bytes& r : device->Requests()) n += r[0] == 187;
    return n;
  }
};

TEST_F(CommandCalibration, ShowingReadsMasksHistoryAndInputOverThreeTicksThenEnablesStart) {
  ModifyState([](sim::DeviceState& s) { s.history.calibration[5] = "02/01/2026 08:30:00 RST "; });
  SetCurrent(12);
  page->StartMonitoring();
  EXPECT_EQ(page->GetInstructions(), Text("IDC_ILABELINSTRUCTIONS"));
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{{176}});
  Tick();
  EXPECT_EQ(device->Requests().back(), (Bytes{184, 1, 5}));
  EXPECT_EQ(Field(Cmd::kLastDateId), "02/01/2026 08:30:00");
  EXPECT_EQ(Field(Cmd::kLastById), "RST");
  EXPECT_FALSE(Enabled(Cmd::kStartId));
  Tick();
  EXPECT_EQ(device->Requests().back(), Read200({1, 88}));
  EXPECT_EQ(Field(Cmd::kCountId), "32000");
  EXPECT_EQ(Field(Cmd::kCurrentId), "12.00");
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, false}));
  EXPECT_EQ(Icon(), calib::InitialsField::kValidIcon);  // the emptied field is not complained of
  // Idle: the status poll and the input reading take turns.
  device->ClearRequests();
  Tick();
  Tick();
  ASSERT_EQ(device->Requests().size(), 2u);
  EXPECT_EQ(device->Requests()[1], Read200({1, 88}));
}

TEST_F(CommandCalibration, TheButtonsFollowTheWizardAndAPointIsAcceptedOnlyAfterItsCheck) {
  Show();
  SetCurrent(4.5);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  struct Stage {
    const char* name;
    std::function<void()> act;
    std::vector<bool> buttons;  // Accept, Start, Abort, Print Report
    std::string instructions;
  };
  auto accept = [this] { Click(Cmd::kAcceptId); };
  auto tick = [this] { Tick(); };
  const std::string adjust = Text("IDC_ILABEL_ADJUST") + "\n\n" + Text("CLICKACCEPT");
  const Stage stages[] = {
      {"start pressed", [this] { Click(Cmd::kStartId); }, {false, true, false, false}, Text("IDC_ILABELINSTRUCTIONS")},
      {"low point", tick, {true, false, true, false}, Text("IDC_ILABEL0HELP")},
      {"low accepted", accept, {false, false, true, false}, Text("IDC_ILABEL0HELP")},
      {"low taken", tick, {false, false, true, false}, Text("IDC_ILABEL100HELP")},
      {"low checked", tick, {true, false, true, false}, Text("IDC_ILABEL100HELP")},
      {"high accepted", [&] { SetCurrent(19.5); accept(); }, {false, false, true, false}, Text("IDC_ILABEL100HELP")},
      {"high taken", tick, {false, false, true, false}, adjust},
      {"high checked", tick, {true, false, true, false}, adjust},
      {"end accepted", accept, {false, false, true, false}, adjust},
      {"ended", tick, {false, false, true, false}, adjust},
      {"status read back", tick, {false, false, true, false}, adjust},
      {"judged on the points read back", tick, {false, false, true, false}, Text("SUCCESSCAL")},
      {"recorded", tick, {false, false, true, false}, Text("SUCCESSCAL")},
      {"finished", tick, {false, true, false, true}, Text("SUCCESSCAL")},
  };
  for (const Stage& s : stages) {
    s.act();
    EXPECT_EQ(Buttons(), s.buttons) << s.name;
    EXPECT_EQ(page->GetInstructions(), s.instructions) << s.name;
  }
  EXPECT_EQ(StepWrites(), (std::vector<Bytes>{StepWrite(1), StepWrite(5), StepWrite(9), StepWrite(0)}));
  // The device kept the new points: 8000 at 4.5 mA, 56000 at 19.5 mA.
  EXPECT_EQ(device->Variable(85), 8000);
  EXPECT_EQ(device->Variable(86), 56000);
}

TEST_F(CommandCalibration, AnUnansweredCheckIsAskedAgainBeforeAcceptComesBack) {
  Show();
  SetCurrent(4.5);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  Click(Cmd::kAcceptId);
  Tick();
  device->InjectNoReply();
  Tick();
  EXPECT_FALSE(Enabled(Cmd::kAcceptId));
  device->ClearRequests();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{{174}});
  EXPECT_TRUE(Enabled(Cmd::kAcceptId));
}

TEST_F(CommandCalibration, TheHistoryRecordsTheInitialsCheckedAtStartPaddedToTwentyFourCharacters) {
  Show();
  clock.Set({2026, 3, 9, 14, 4, 52});  // the record is written after the end, at the ninth tick: 14:05:37
  SetCurrent(4.5);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  page->SetDlgItemText(Cmd::kInitialsId, "ABCDEFG");  // typed over while running
  Click(Cmd::kAcceptId);
  Tick();
  Tick();
  SetCurrent(19.5);
  Click(Cmd::kAcceptId);
  Tick();
  Tick();
  Click(Cmd::kAcceptId);
  for (int k = 0; k < 4; ++k) Tick();
  const Bytes record = {187, 25, 5, '0', '3', '/', '0', '9', '/', '2', '0', '2', '6', ' ', '1', '4', ':', '0',
                        '5', ':', '3', '7', ' ', 'J', 'Q', 'P', ' '};
  EXPECT_EQ(device->Requests().back(), record);
  Tick();
  EXPECT_EQ(device->Requests().back(), (Bytes{184, 1, 5}));
  EXPECT_EQ(Field(Cmd::kLastDateId), "03/09/2026 14:05:37");
  EXPECT_EQ(Field(Cmd::kLastById), "JQP");
  EXPECT_EQ(Field(Cmd::kInitialsId), "");
  const CCommonFunctions& common = theApp().m_CommonFunctions;
  EXPECT_EQ(common.m_strCommandCal.by.str(), "JQP");
  EXPECT_EQ(common.m_strCommandCal.date.str(), "03/09/2026 14:05:37");
}

TEST_F(CommandCalibration, StartWithInitialsOtherThanThreeCharactersMarksTheFieldAndWritesNothing) {
  Show();
  for (const char* initials : {"AB", "ABCD", ""}) {
    page->SetDlgItemText(Cmd::kInitialsId, initials);
    Click(Cmd::kStartId);
    EXPECT_EQ(Icon(), calib::InitialsField::kInvalidIcon) << initials;
    EXPECT_EQ(IconTip(), Text("TT_CALIB_ERROR"));
    Tick();
    EXPECT_TRUE(StepWrites().empty()) << initials;
  }
  page->SetDlgItemText(Cmd::kInitialsId, "ABC");
  Click(Cmd::kStartId);
  EXPECT_EQ(Icon(), calib::InitialsField::kValidIcon);
  Tick();
  EXPECT_EQ(StepWrites(), std::vector<Bytes>{StepWrite(1)});
}

// The device raises its flags as it takes the points; the result is
// judged on the status read after the end, each start begins clean, and
// only a calibration that succeeded is recorded.
TEST_F(CommandCalibration, AFlaggedPointExplainsItselfAndTheResultIsAnError) {
  struct Case {
    const char* name;
    double high;                   // mA
    std::uint8_t raisedAtTheEnd;   // status byte 5, put in after the last check
    const char* result;
    const char* implication;
    const char* solution;
  } cases[] = {
      {"clean", 19.5, 0, "SUCCESSCAL", nullptr, nullptr},
      {"range small", 12, 0, "CALERRMSG", "CMD_RANGE_SMALLLONG", "CMD_RANGE_SMALLRES"},
      {"above the converter", 22.5, 0, "CALERRMSG", "CMD_ABOVE_ADC_RANGELONG", "CMD_ABOVE_ADC_RANGERES"},
      {"flag after the last check", 19.5, 0x04, "CALERRMSG", "CMD_BELOW_ADC_RANGELONG", "CMD_BELOW_ADC_RANGERES"},
      {"clean again", 19.5, 0, "SUCCESSCAL", nullptr, nullptr},
  };
  ModifyState([](sim::DeviceState& s) { s.history.calibration[5] = "02/01/2026 08:30:00 RST "; });
  Show();
  for (const Case& c : cases) {
    const std::string before = device->State().history.calibration.at(5);
    device->ClearRequests();
    Calibrate(c.high, c.raisedAtTheEnd);
    const bool success = std::string(c.result) == "SUCCESSCAL";
    EXPECT_EQ(RecordsWritten(), success ? 1u : 0u) << c.name;
    EXPECT_EQ(device->State().history.calibration.at(5) == before, !success) << c.name;
    EXPECT_EQ(Field(Cmd::kLastDateId), device->State().history.calibration.at(5).substr(0, 19)) << c.name;
    EXPECT_EQ(page->GetInstructions(), Text(c.result)) << c.name;
    EXPECT_EQ(theApp().m_CommonFunctions.m_strCommandCal.result.str(), Text(c.result)) << c.name;
    EXPECT_EQ(Field(Cmd::kImplicationsId), c.implication ? Text(c.implication) : "") << c.name;
    EXPECT_EQ(Field(Cmd::kSolutionsId), c.solution ? Text(c.solution) : "") << c.name;
    EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true})) << c.name;
  }
}

// An abort that got no answer may not have reached the device: the page
// does not say the calibration was aborted and keeps Abort for another try.
TEST_F(CommandCalibration, AbortEndsTheCalibrationOnceAnsweredWithoutReadingTheHistory) {
  Show();
  SetCurrent(4.5);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  Click(Cmd::kAcceptId);
  Tick();
  Tick();
  const std::string instructions = page->GetInstructions();
  device->InjectNoReply();
  Click(Cmd::kAbortId);
  Tick();
  EXPECT_EQ(page->GetInstructions(), instructions);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, false}));  // no point until the device is read
  EXPECT_EQ(device->State().calibration.command.step, Cmd::kCodeLowTaken);

  Click(Cmd::kAbortId);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, false}));  // until the abort is written
  device->ClearRequests();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{StepWrite(0)});
  EXPECT_EQ(page->GetInstructions(), Text("CALABORT"));
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true}));
  Click(Cmd::kAcceptId);  // disabled, and no stage to confirm
  Tick();
  Tick();
  for (const Bytes& r : device->Requests()) EXPECT_TRUE(r[0] != 184 && r != StepWrite(5) && r != StepWrite(9));
  EXPECT_EQ(device->State().calibration.command.step, Cmd::kCodeEnd);
  EXPECT_EQ(device->Variable(85), 6400);  // the previous calibration stays
}

// A point's step code that got no answer is never taken for a
// calibration: the result is an error, nothing is recorded, the device
// keeps its points, and the page is ready for another start.
TEST_F(CommandCalibration, AStepCodeWithoutAnAnswerLeavesNoCalibrationRecord) {
  ModifyState([](sim::DeviceState& s) { s.history.calibration[5] = "02/01/2026 08:30:00 RST "; });
  Show();
  for (Write lost : {kLowCode, kHighCode}) {
    device->ClearRequests();
    Calibrate(19.5, 0, lost);
    EXPECT_EQ(page->GetInstructions(), Text("CALERRMSG")) << lost;
    EXPECT_EQ(RecordsWritten(), 0u) << lost;
    EXPECT_EQ(Field(Cmd::kLastById), "RST") << lost;
    EXPECT_EQ(device->Variable(85), 6400) << lost;
    EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true})) << lost;
  }
  device->ClearRequests();
  Calibrate(19.5);
  EXPECT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
  EXPECT_EQ(Field(Cmd::kLastById), "JQP");
}

// The device takes the end code as the end whether the page meant to
// finish or to abort, and keeps the new points when it took both without
// a flag. So the page reads back what the device did before it judges:
// new points kept are a success, recorded and reported; a device still in
// its calibration, or one that does not answer, is said so, with Abort to
// end it, which then ends it as a finish would.
TEST_F(CommandCalibration, PastTheHighPointTheEndIsJudgedOnWhatTheDeviceKept) {
  const std::vector<bool> ready = {false, true, false, true}, unended = {false, false, true, false};
  struct Case {
    const char* name;
    int button;                       // at the end stage
    double high;                      // mA
    std::function<void()> fault;      // on the end's write and what follows it
    const char* shown;                // instructions
    std::vector<bool> buttons;        // Accept, Start, Abort, Print Report
  } cases[] = {
      {"finish, cut reply", Cmd::kAcceptId, 19.5, [this] { device->InjectShortReply(3); }, "SUCCESSCAL", ready},
      {"finish, wrong echo", Cmd::kAcceptId, 19.5, [this] { device->InjectWrongEcho(); }, "SUCCESSCAL", ready},
      {"abort", Cmd::kAbortId, 19.5, {}, "SUCCESSCAL", ready},
      {"abort, cut reply", Cmd::kAbortId, 19.5, [this] { device->InjectShortReply(3); }, "SUCCESSCAL", ready},
      {"abort, range small", Cmd::kAbortId, 12, {}, "CALABORT", ready},
      {"finish, no reply", Cmd::kAcceptId, 19.5, [this] { device->InjectNoReply(); }, "CMDCAL_NOT_ENDED", unended},
      {"abort, no reply", Cmd::kAbortId, 19.5, [this] { device->InjectNoReply(); }, "CMDCAL_NOT_ENDED", unended},
      // The end and five readings of the status unanswered.
      {"nothing answers", Cmd::kAcceptId, 19.5, [this] { device->InjectNoReply(6); }, "CMDCAL_END_UNREAD", unended},
  };
  const std::string oldRecord = "02/01/2026 08:30:00 RST ";
  Show();
  const CCommonFunctions& common = theApp().m_CommonFunctions;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutBackOldCalibration(oldRecord);
    TakePoints(c.high);
    ASSERT_EQ(page->GetWizardStage(), Cmd::kEndStage);
    device->ClearRequests();
    if (c.fault) c.fault();
    Click(c.button);
    for (int k = 0; k < 8; ++k) Tick();
    const bool success = std::string(c.shown) == "SUCCESSCAL";
    EXPECT_EQ(page->GetInstructions(), Text(c.shown));
    EXPECT_EQ(Buttons(), c.buttons);
    EXPECT_EQ(RecordsWritten(), success ? 1u : 0u);
    EXPECT_EQ(device->State().history.calibration.at(5) != oldRecord, success);
    EXPECT_EQ(device->Variable(86), success ? 56000 : 57600);
    if (success) {
      EXPECT_EQ(common.m_strCommandCal.result.str(), Text("SUCCESSCAL"));
      EXPECT_EQ(common.m_strCommandCal.at0.str(), "8000");
      EXPECT_EQ(common.m_strCommandCal.at100.str(), "56000");
      EXPECT_EQ(common.m_strCommandCal.adRange.str(), "48000");
    }
    if (c.buttons == ready) continue;
    // Abort ends what the end left standing.
    EXPECT_NE(device->State().calibration.command.step, 0);
    device->ClearFaults();
    End(Cmd::kAbortId);
    EXPECT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
    EXPECT_EQ(Buttons(), ready);
    EXPECT_EQ(RecordsWritten(), 1u);
    EXPECT_EQ(device->Variable(86), 56000);
  }
}

// A point whose reply was cut or answered for another command was still
// taken: the points read back other than those read at the start prove
// the device kept new ones, whether the end was a finish or an abort.
TEST_F(CommandCalibration, APointTakenWithoutItsReplyIsJudgedOnThePointsReadBack) {
  struct Case {
    const char* name;
    Write lost;
    std::function<void()> fault;
    int button;
  } cases[] = {
      {"low point, cut reply", kLowCode, [this] { device->InjectShortReply(3); }, Cmd::kAcceptId},
      {"high point, cut reply", kHighCode, [this] { device->InjectShortReply(3); }, Cmd::kAcceptId},
      {"high point, wrong echo", kHighCode, [this] { device->InjectWrongEcho(); }, Cmd::kAcceptId},
      {"high point, cut reply, abort", kHighCode, [this] { device->InjectShortReply(3); }, Cmd::kAbortId},
  };
  const std::string oldRecord = "02/01/2026 08:30:00 RST ";
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutBackOldCalibration(oldRecord);
    device->ClearRequests();
    TakePoints(19.5, c.lost, c.fault);
    End(c.button);
    EXPECT_EQ(device->Variable(86), 56000);  // the device kept the new points
    EXPECT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
    EXPECT_EQ(RecordsWritten(), 1u);
    EXPECT_NE(device->State().history.calibration.at(5), oldRecord);
    EXPECT_EQ(theApp().m_CommonFunctions.m_strCommandCal.at100.str(), "56000");
    EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true}));
  }
}

// An abort without an answer may have ended the calibration: Accept takes
// no more points, and the device's state is read back. Ended, it is said
// aborted; still calibrating, it is said so with only Abort; a start
// without an answer offers Abort too.
TEST_F(CommandCalibration, AnAbortOrStartWithoutItsReplyTakesNoPointIntoAnEndedCalibration) {
  const std::string oldRecord = "02/01/2026 08:30:00 RST ";
  ModifyState([&](sim::DeviceState& s) { s.history.calibration[5] = oldRecord; });
  Show();
  SetCurrent(4.5);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  // The abort carried out, its reply cut; the person goes on with Accept.
  device->InjectShortReply(3);
  Click(Cmd::kAbortId);
  Tick();
  EXPECT_EQ(device->State().calibration.command.step, 0);
  device->ClearRequests();
  Click(Cmd::kAcceptId);
  Tick();
  Tick();
  SetCurrent(19.5);
  Click(Cmd::kAcceptId);
  for (int k = 0; k < 8; ++k) Tick();
  Click(Cmd::kAcceptId);
  for (int k = 0; k < 8; ++k) Tick();
  EXPECT_TRUE(StepWrites().empty());
  EXPECT_EQ(page->GetInstructions(), Text("CALABORT"));
  EXPECT_EQ(RecordsWritten(), 0u);
  EXPECT_EQ(device->State().history.calibration.at(5), oldRecord);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true}));

  // The abort lost: the device still calibrates, and only Abort ends it.
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  device->InjectNoReply();
  Click(Cmd::kAbortId);
  for (int k = 0; k < 3; ++k) Tick();
  EXPECT_EQ(page->GetInstructions(), Text("CMDCAL_NOT_ENDED"));
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, false}));
  End(Cmd::kAbortId);
  EXPECT_EQ(page->GetInstructions(), Text("CALABORT"));
  EXPECT_EQ(device->State().calibration.command.step, 0);

  // The start carried out, its reply cut: Abort beside Start ends it.
  device->InjectShortReply(3);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  ASSERT_EQ(device->State().calibration.command.step, Cmd::kCodeStart);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, true, false}));
  End(Cmd::kAbortId);
  EXPECT_EQ(page->GetInstructions(), Text("CALABORT"));
  EXPECT_EQ(device->State().calibration.command.step, 0);
  EXPECT_EQ(device->Variable(85), 6400);
}

// A success's record is written again while unanswered, a few times.
TEST_F(CommandCalibration, ASuccessIsRecordedWhenTheRecordWriteIsLostTwice) {
  Show();
  clock.Set({2026, 3, 9, 14, 4, 52});
  TakePoints(19.5);
  Click(Cmd::kAcceptId);
  for (int k = 0; k < 3; ++k) Tick();  // the end, the status, the points: judged
  ASSERT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
  device->InjectNoReply(2);
  for (int k = 0; k < 4; ++k) Tick();
  EXPECT_EQ(device->State().history.calibration.at(5).substr(20, 3), "JQP");
  EXPECT_EQ(Field(Cmd::kLastById), "JQP");
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true}));
}

TEST_F(CommandCalibration, TheFailureTextAsksForNoButtonThePageHasDisabled) {
  Show();
  Calibrate(12);
  ASSERT_EQ(page->GetInstructions(), Text("CALERRMSG"));
  ASSERT_FALSE(Enabled(Cmd::kAbortId));
  const _bstr_t file(std::string(TARNIX_SOURCE_DIR) + "/resources/Dependencies/Language.xml");
  for (const char* lcid : {"1033", "1031", "3082", "1036", "1040", "1046", "1055"}) {
    TheLanguageTable().Load(file, lcid, false);
    EXPECT_EQ(Text("CALERRMSG").find(Text("IDC_BTN_ABORTCAL")), std::string::npos) << lcid;
  }
  TheLanguageTable().Load(file, "1033", false);
}

TEST_F(CommandCalibration, LeavingMidwayTellsTheDeviceNothingAndComingBackKeepsTheStage) {
  Show();
  SetCurrent(4.5);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  device->ClearRequests();
  page->StopMonitoring();
  EXPECT_TRUE(device->Requests().empty());
  Show();
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, true, false}));  // no Start while the device calibrates
  EXPECT_EQ(page->GetWizardStage(), Cmd::kLowStage);
}

// Left with a press not yet carried out (the page switched before its next
// tick), the page carries it out as it is left; shown again it reads where
// the device's calibration stands: it goes on with the wizard at the point
// the device waits for, offers Abort alone for a calibration whose point it
// does not know, and is ready for a start when the device calibrates no
// more. Start is never offered while the device calibrates.
TEST_F(CommandCalibration, ShownAgainItGoesOnWhereTheDeviceStandsAndNeverOffersStartWhileItCalibrates) {
  const std::vector<bool> resumed = {true, false, true, false}, abortOnly = {false, false, true, false};
  auto start = [this] {
    SetCurrent(4.5);
    page->SetDlgItemText(Cmd::kInitialsId, "JQP");
    Click(Cmd::kStartId);
    Tick();
  };
  auto lowTaken = [this, start] {
    start();
    Click(Cmd::kAcceptId);
    Tick();
    Tick();
  };
  struct Case {
    const char* name;
    std::function<void()> leave;  // what was done before the page was left
    size_t sent;                  // calibration steps written as it was left
    int stage;                    // where it goes on
    std::vector<bool> buttons;    // Accept, Start, Abort, Print Report
    const char* instructions;     // none: the wizard's at that stage
  } cases[] = {
      {"Accept for the low point", [&] { start(); Click(Cmd::kAcceptId); }, 1, Cmd::kHighStage, resumed, nullptr},
      {"Accept for the high point",
       [&] {
         lowTaken();
         SetCurrent(19.5);
         Click(Cmd::kAcceptId);
       },
       1, Cmd::kEndStage, resumed, nullptr},
      {"Accept for the end", [&] { TakePoints(19.5); Click(Cmd::kAcceptId); }, 1, Cmd::kNoStage,
       {false, true, false, true}, "SUCCESSCAL"},
      {"Abort", [&] { start(); Click(Cmd::kAbortId); }, 1, Cmd::kNoStage, {false, true, false, true}, "CALABORT"},
      {"a start without its reply",
       [&] {
         device->InjectShortReply(3);
         start();
       },
       0, Cmd::kNoStage, abortOnly, "CMDCAL_NOT_ENDED"},
      {"the calibration ended meanwhile",
       [&] {
         start();
         ModifyState([](sim::DeviceState& s) { s.calibration.command.step = 0; });
         device->SetVariable(14, 0);
       },
       0, Cmd::kNoStage, {false, true, false, false}, "IDC_ILABELINSTRUCTIONS"},
  };
  ModifyState([](sim::DeviceState& s) { s.history.calibration[5] = "02/01/2026 08:30:00 RST "; });
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutBackOldCalibration("02/01/2026 08:30:00 RST ");
    c.leave();
    const size_t stepsBefore = StepWrites().size();
    page->StopMonitoring();
    clock.Advance(30000);
    page->StartMonitoring();
    for (int k = 0; k < 3; ++k) {
      EXPECT_FALSE(Enabled(Cmd::kStartId) && device->State().calibration.command.step != 0) << k;
      Tick();
    }
    EXPECT_EQ(StepWrites().size(), stepsBefore + c.sent);  // what was pressed before leaving, and nothing else
    EXPECT_EQ(page->GetWizardStage(), c.stage);
    EXPECT_EQ(Buttons(), c.buttons);
    if (c.instructions) {
      EXPECT_EQ(page->GetInstructions(), Text(c.instructions));
    }
    // Gone on with to its end: the points the device waits for, then the end.
    for (int guard = 0; guard < 3 && page->GetWizardStage() != Cmd::kNoStage; ++guard) {
      const int stage = page->GetWizardStage();
      SetCurrent(stage == Cmd::kLowStage ? 4.5 : 19.5);
      End(Cmd::kAcceptId);
    }
    if (c.stage != Cmd::kNoStage) {
      EXPECT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
      EXPECT_EQ(device->Variable(86), 56000);
    }
    if (Enabled(Cmd::kAbortId)) End(Cmd::kAbortId);
    EXPECT_EQ(device->State().calibration.command.step, 0);
    EXPECT_TRUE(Enabled(Cmd::kStartId));
  }
}

// A calibration the page did not lead, found at show with both points
// taken: Abort alone, and the abort ends it as the device did, keeping the
// new points, so a success with its record.
TEST_F(CommandCalibration, ACalibrationPastItsHighPointFoundAtShowEndsAsWhatTheDeviceKept) {
  const std::string oldRecord = "02/01/2026 08:30:00 RST ";
  PutBackOldCalibration(oldRecord);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  ModifyState([](sim::DeviceState& s) { s.calibration.command = {.step = 9, .low = 8000, .high = 56000}; });
  device->SetVariable(14, 9);
  Show();
  EXPECT_EQ(page->GetInstructions(), Text("CMDCAL_NOT_ENDED"));
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, false}));
  End(Cmd::kAbortId);
  EXPECT_EQ(device->Variable(86), 56000);
  EXPECT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
  EXPECT_NE(device->State().history.calibration.at(5), oldRecord);
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true}));
}

// Shown again while the device does not answer, the page cannot tell
// whether it calibrates: Abort alone, until its status is read.
TEST_F(CommandCalibration, ShownAgainWithoutItsStatusOnlyAbortUntilTheDeviceAnswers) {
  Show();
  SetCurrent(4.5);
  page->SetDlgItemText(Cmd::kInitialsId, "JQP");
  Click(Cmd::kStartId);
  Tick();
  page->StopMonitoring();
  page->StartMonitoring();
  Tick();
  Tick();
  device->InjectNoReply(2);  // the status and the input at show
  Tick();
  EXPECT_EQ(page->GetInstructions(), Text("CMDCAL_STATE_UNREAD"));
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, false, true, false}));
  Tick();  // the header's poll and the status asked again with the input
  Tick();
  EXPECT_EQ(page->GetInstructions(), Text("IDC_ILABEL0HELP"));
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, true, false}));
}

// Left between the end and its judgement, the page reads the end back and
// records the success as it is left, and shown again still says the result.
TEST_F(CommandCalibration, ShownAgainWhileItsEndIsReadBackItGoesOnToTheResult) {
  Show();
  TakePoints(19.5);
  Click(Cmd::kAcceptId);
  Tick();  // the end written
  page->StopMonitoring();
  EXPECT_EQ(RecordsWritten(), 1u);
  clock.Advance(60000);
  page->StartMonitoring();
  for (int k = 0; k < 4; ++k) Tick();
  EXPECT_EQ(page->GetInstructions(), Text("SUCCESSCAL"));
  EXPECT_EQ(RecordsWritten(), 1u);
  EXPECT_EQ(Field(Cmd::kLastById), "JQP");
  EXPECT_EQ(Buttons(), (std::vector<bool>{false, true, false, true}));
}

TEST_F(CommandCalibration, PrintReportHandsTheReportItsFieldsTwoTicksLaterWithTheMasksOfShowing) {
  ModifyState([](sim::DeviceState& s) {
    s.status.masks[5] = 0xFD;  // range small masked
    s.history.calibration[5] = "02/01/2026 08:30:00 RST ";
  });
  Show();
  ModifyState([](sim::DeviceState& s) { s.status.masks[5] = 0xF1; });  // changed after the page read them
  Calibrate(12);
  device->ClearRequests();
  Click(Cmd::kPrintId);
  ASSERT_FALSE(device->Requests().empty());
  EXPECT_EQ(device->Requests().front(), Bytes{13});
  EXPECT_EQ(device->Requests().back(), Read200({126, 85, 86, 87}));
  const CCommonFunctions& common = theApp().m_CommonFunctions;
  EXPECT_EQ(common.m_strCommandCal.at4mA.str(), "6400");
  EXPECT_EQ(common.m_strCommandCal.at0.str(), "6400");
  EXPECT_EQ(common.m_strCommandCal.at100.str(), "57600");
  EXPECT_EQ(common.m_strCommandCal.adRange.str(), "51200");
  device->ClearRequests();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{{174}});
  EXPECT_EQ(common.m_bCommandCalActive, (std::array<BYTE, 3>{0, 0, 1}));
  EXPECT_TRUE(person.Asked().empty());

  person.CancelFile().Answer(IDNO);
  Tick();
  ASSERT_EQ(person.Asked().size(), 2u);
  EXPECT_EQ(person.Asked()[0].title, "Save Command Calibration ReportAs");
  EXPECT_EQ(ReportName(page->GetReport()), "CmdInCalRept");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "CmdCalState"), Text("CALERRMSG"));
  // The failed calibration left the last one on record.
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "CmdCalBy"), "RST");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "CmdSmallActive"), "X");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "CmdSmallMask"), "X");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "CmdLessMask"), " ");
}

// ---- The zero supply page.

class ZeroSupply : public testpages::SimulatedPage {
 public:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    page = static_cast<CCalibration_ZeroSupply*>(CreatePage(33));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 33));
    page->SendInitialUpdate();
    device->ClearRequests();
  }
  CCalibration_ZeroSupply* page = nullptr;
};

TEST_F(ZeroSupply, CaptureWritesTheCountShownAndEnablesFinish) {
  device->SetVariable(74, 1234);
  page->StartMonitoring();
  EXPECT_EQ(clock.ActiveTimers(), 0);  // the tree does not start this page
  page->Begin();
  clock.Advance(kPeriod);  // the status poll comes first
  clock.Advance(kPeriod);
  EXPECT_EQ(device->Requests().back(), Read200({74}));
  EXPECT_EQ(page->GetDlgItemText(CCalibration_ZeroSupply::kCountId), "1234");
  EXPECT_FALSE(page->GetDlgItem(CCalibration_ZeroSupply::kFinishId)->IsWindowEnabled());

  device->SetVariable(74, 999);  // the count moves on after the press
  page->GetDlgItemAs<CButton>(CCalibration_ZeroSupply::kCaptureId)->Click();
  EXPECT_FALSE(page->GetDlgItem(CCalibration_ZeroSupply::kCaptureId)->IsWindowEnabled());
  clock.Advance(kPeriod);
  EXPECT_EQ(device->Requests().back(), (Bytes{201, 4, 0, 74, 0x04, 0xD2}));
  EXPECT_TRUE(page->GetDlgItem(CCalibration_ZeroSupply::kCaptureId)->IsWindowEnabled());
  EXPECT_TRUE(page->GetDlgItem(CCalibration_ZeroSupply::kFinishId)->IsWindowEnabled());
}

}  // namespace
