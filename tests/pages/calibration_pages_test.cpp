// The stroke (sensor) calibration and zero supply pages against the
// simulated positioner on the manual clock. The device's calibration
// state is set through the simulator, tick by tick, so that the page is
// seen to follow whatever the device reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "platform/activex/controls.h"
#include "platform/win/controls.h"
#include "platform/win/resources.h"
#include "common/control_puts.h"
#include "report_probe.h"
#include "shell/calibration_kit.h"
#include "support/language_table.h"
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

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

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

// ---- The sensor calibration page.

class SensorCalibration : public testpages::SimulatedPage {
 public:
  void SetUp() override {
    TheLanguageTable().Load(_bstr_t(std::string(TARNIX_SOURCE_DIR) + "/resources/Dependencies/Language.xml"), "1033",
                            false);
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    page = static_cast<View*>(CreatePage(26));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 26));
    page->SendInitialUpdate();
    device->ClearRequests();
  }

  bool Enabled(int id) { return page->GetDlgItem(id)->IsWindowEnabled(); }
  std::string Field(int id) { return page->GetDlgItemText(id); }
  void Click(int id) { page->GetDlgItemAs<CButton>(id)->Click(); }
  void Tick() { clock.Advance(kPeriod); }
  UINT Icon() { return plat::ResourceIdOf(page->GetDlgItemAs<CStatic>(View::kInitialsIconId)->GetIcon()); }
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

  View* page = nullptr;
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
}

TEST_F(SensorCalibration, StartWithInitialsOtherThanThreeCharactersAsksNothingAndMarksTheField) {
  Show();
  for (const char* initials : {"AB", "ABCD", ""}) {
    page->SetDlgItemText(View::kInitialsId, initials);
    Click(View::kStartId);  // the person fails the test if asked
    EXPECT_EQ(Icon(), calib::InitialsField::kInvalidIcon) << initials;
    EXPECT_EQ(page->GetToolTips().GetToolText(page->GetDlgItem(View::kInitialsIconId)), Text("TT_CALIB_ERROR"));
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
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStartWrite});
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
  SetState(82);  // the device's abort code does not end it on the page
  Tick();
  EXPECT_TRUE(page->IsCalibrationRunning());

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

TEST_F(SensorCalibration, AStartTheDeviceDidNotTakeRunsNothing) {
  Show();
  device->InjectNoReply();
  StartRunning();
  EXPECT_FALSE(page->IsCalibrationRunning());
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kAbortId));
  // The idle device's state 0 is no end of a calibration.
  device->ClearRequests();
  for (int k = 0; k < 4; ++k) Tick();
  for (const Bytes& r : device->Requests()) EXPECT_TRUE(r != kStatusRead && r[0] != 187);
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
  EXPECT_EQ(common.m_strStrokeCal[3].str(), "63.50");
  EXPECT_EQ(common.m_strStrokeCal[4].str(), "6550");
  EXPECT_EQ(common.m_strStrokeCal[5].str(), "58980");
  EXPECT_EQ(common.m_strStrokeCal[6].str(), "52430");
  const std::array<BYTE, 14> flags = {1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(common.m_bStrokeCalFlags, flags);

  person.CancelFile().Answer(IDNO);
  Tick();
  ASSERT_EQ(person.Asked().size(), asked + 2);
  EXPECT_EQ(person.Asked()[asked].title, "Save Stroke Calibration ReportAs");
  EXPECT_EQ(ReportName(page->GetReport()), "SensCalRept");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "StrkCalState"), Text("CALERRMSG"));
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
