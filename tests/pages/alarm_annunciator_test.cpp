// The three annunciator pages against the simulated positioner, on the
// manual clock: the ticks of their machine, the lamps, and the masks with
// Apply and Retrieve, lost replies included, and Print Report.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "annunciator_fixture.h"
#include "app/page_table.h"
#include "comm/status_rules.h"
#include "common/mask_kit.h"
#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "support/report_probe.h"
#include "shell/app.h"
#include "sim/install.h"
#include "support/language_table.h"
#include "support/log_capture.h"
#include "views/status/alarm_annunciator.h"
#include "views/status/management_annunciator.h"
#include "views/status/tech_annunciator.h"

namespace {

using testpages::Bytes;
using testpages::Filled;
using testpages::kReadMasks;
using testpages::kReadStatus;
using testpages::Mask;
using testpages::Read200;

const Bytes kStatusPoll = Read200({8, 42});
const Bytes kLocalPanel = Read200({179});

Bytes WriteMasks(const Mask& mask) {
  Bytes frame(34);
  frame[0] = 177;
  frame[1] = 32;
  for (size_t k = 0; k < mask.size(); ++k) frame[2 + k] = mask[k];
  return frame;
}


using Annunciators = testpages::AnnunciatorPageTest;

constexpr int kValveCyclesBox = 1070, kPilotResponseBox = 1152;
constexpr int kApply = CAnnunciatorPage::kApplyId, kRetrieve = CAnnunciatorPage::kRetrieveId;

// ---- The machine.

struct TickCase {
  std::vector<Bytes> sent;
  int stepAfter;
  bool buttons;
};

TEST_F(Annunciators, AlarmPageStartsThenRunsTheThreeTickCycle) {
  SetDevice(Filled(0xFF), 13, 0x01);
  Open(2);
  EXPECT_FALSE(Enabled(kValveCyclesBox));
  const TickCase ticks[] = {
      {{}, 7, false},             // rows enabled, lamps grey
      {{kReadMasks}, 1, false},   // masks shown
      {{kReadStatus}, 3, true},   // countdown stood at 1
      {{kStatusPoll}, 1, true},
      {{}, 1, true},
      {{kReadStatus}, 3, true},
  };
  int n = 0;
  for (const TickCase& t : ticks) {
    SCOPED_TRACE("tick " + std::to_string(++n));
    EXPECT_EQ(Sent(), t.sent);
    EXPECT_EQ(page->GetStep(), t.stepAfter);
    EXPECT_EQ(Enabled(kApply), t.buttons);
    EXPECT_TRUE(Enabled(kValveCyclesBox));
  }
  EXPECT_EQ(page->GetLampColour(0), 0x00FFFFu);
  EXPECT_EQ(page->GetLampColour(1), 0x006400u);
  EXPECT_EQ(theApp().m_CommonFunctions.m_bAlarmActive[0], 1);
  EXPECT_EQ(log.Texts(), std::vector<std::string>{});
}

TEST_F(Annunciators, ManagementPageReadsTheLocalPanelWithTheStatus) {
  device->SetVariable(179, 1);
  Open(3);
  Tick(2);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{kLocalPanel, kReadStatus}));
  EXPECT_EQ(page->GetLampColour(7), 0x00FF00u);  // tamper lock
  EXPECT_EQ(theApp().m_CommonFunctions.m_bMgmtFlags[12], 1);
  device->SetVariable(179, 2);
  Tick(2);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{kLocalPanel, kReadStatus}));
  EXPECT_EQ(page->GetLampColour(7), 0x006400u);
}

// Switched as the dashboard switches it, the device reports its command
// mode: "Digital Cmd Mode" lights while the header says digital.
TEST_F(Annunciators, ManagementPageLightsDigitalCmdModeWhileTheDeviceTakesTheDigitalCommand) {
  constexpr size_t kDigitalRow = 3;
  Open(3);
  Tick(2);  // rows, then masks
  for (BYTE mode : {BYTE{1}, BYTE{0}}) {
    SCOPED_TRACE(int{mode});
    ASSERT_TRUE(theApp().m_comm.WriteCmd201ControlEnable(mode));
    Tick();  // the status read
    Tick();  // the header's poll
    EXPECT_EQ(page->GetLampColour(kDigitalRow), mode ? 0x00FF00u : 0x006400u);
    EXPECT_EQ(theApp().m_CommonFunctions.m_bMgmtFlags[4], mode);
    EXPECT_EQ(Text(1013), TheLanguageTable().Lookup(mode ? "DigOnly" : "Analog").str());
    Tick();
  }
}

TEST_F(Annunciators, TechnicianPageEnablesButtonsWithTheMasksAndLightsOnlyItsBit) {
  SetDevice(Filled(0xFF), 25, 0xC3);  // bits 0, 6 and 7 name no fault
  Open(34);
  EXPECT_EQ(Sent(), std::vector<Bytes>{});
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadMasks});
  EXPECT_TRUE(Enabled(kApply));
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadStatus});
  EXPECT_EQ(page->GetLampColour(0), 0x0A0AFFu);
  for (size_t row = 1; row < std::size(alarms::kTechnicianRows); ++row) EXPECT_EQ(page->GetLampColour(row), 0x006400u);

  // "Pilot Can't Shut" explains itself with its own implications and
  // the solutions it shares.
  Click(7018);
  EXPECT_EQ(page->GetDlgItemText(CAlarm_TechAnnunciatorView::kImplicationsId),
            TheLanguageTable().Lookup("HALLLOWERLONG").str());
  EXPECT_EQ(page->GetDlgItemText(CAlarm_TechAnnunciatorView::kSolutionsId),
            TheLanguageTable().Lookup("PILOT_CANT_RES").str());
}

TEST_F(Annunciators, UntilTheDeviceSendsItsStatusEveryLampStaysGrey) {
  SetDevice(Filled(0xFF), 13, 0x01);
  device->InjectNoReply(-1);
  for (int view : {2, 3, 34, 7}) {  // the positioner health page on the same frame
    SCOPED_TRACE(view);
    Open(view);
    Tick(6);
    size_t row = 0;
    for (; page->GetLampColour(row) != 0xFFFFFFFF; ++row)
      EXPECT_EQ(page->GetLampColour(row), status::kNotAvailable) << row;
    EXPECT_GT(row, 0u);
  }
  // The alarm page once the device answers: its lamps as the device says.
  device->ClearFaults();
  Open(2);
  Tick(3);
  EXPECT_EQ(page->GetLampColour(0), 0x00FFFFu);
  EXPECT_EQ(page->GetLampColour(1), 0x006400u);
}

// ---- Masks.

TEST_F(Annunciators, ApplyWritesTheWholeBlockWithOnlyThePagesBitsChanged) {
  Mask masks = Filled(0xFF);
  masks[18] = 0xFE;  // pilot response: warning masked, alarm reported
  masks[30] = 0x5A;  // no page shows these
  SetDevice(masks);
  Open(2);
  Tick(3);
  EXPECT_EQ(Check(kPilotResponseBox), 2);
  EXPECT_EQ(Check(kValveCyclesBox), 0);
  Click(kValveCyclesBox);
  Click(kApply);
  EXPECT_FALSE(Enabled(kApply));

  Mask expected = Filled(0xFF);
  expected[13] = 0xFE;  // valve cycles masked; pilot response: both reported
  expected[30] = 0x5A;
  EXPECT_EQ(Sent(), std::vector<Bytes>{WriteMasks(expected)});
  EXPECT_EQ(DeviceMasks(), expected);
  EXPECT_EQ(Check(kValveCyclesBox), 1);
  EXPECT_EQ(Check(kPilotResponseBox), 0);
  EXPECT_EQ(theApp().m_CommonFunctions.m_bAlarmMasked[0], 1);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadStatus});  // at once
  EXPECT_TRUE(Enabled(kApply));
}

TEST_F(Annunciators, ApplyBeforeAGoodMaskReadWritesNothing) {
  SetDevice(Filled(0xFF));
  theApp().m_CommonFunctions.m_bAlarmMasked[0] = 0;
  Open(2);
  device->InjectNoReply();
  Tick(3);  // the mask read is lost
  // The image's zeros are no masks of the device's: no box or report flag
  // shows them, no box can be ticked, and Apply waits.
  EXPECT_EQ(Check(kValveCyclesBox), 0);
  EXPECT_FALSE(Enabled(kValveCyclesBox));
  EXPECT_FALSE(Enabled(kApply));
  EXPECT_EQ(theApp().m_CommonFunctions.m_bAlarmMasked[0], 0);

  // A write asked for all the same: zeros would mask every alarm in the
  // device, so the masks are read instead.
  device->ClearRequests();
  EXPECT_FALSE(masks::Apply(theApp().m_comm, [](alarms::Block& mask) { mask.fill(0); }));
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kReadMasks});
  EXPECT_EQ(DeviceMasks(), Filled(0xFF));
  EXPECT_EQ(log.Texts(), std::vector<std::string>{"Status masks not written: the device has not reported them yet."});

  // Now that the device has reported them, Retrieve shows them and Apply writes.
  Click(kRetrieve);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadMasks});
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadStatus});
  EXPECT_TRUE(Enabled(kApply));
  Click(kValveCyclesBox);
  Click(kApply);
  Mask expected = Filled(0xFF);
  expected[13] = 0xFE;
  EXPECT_EQ(Sent(), std::vector<Bytes>{WriteMasks(expected)});
}

TEST_F(Annunciators, AWriteWithoutReplyShowsTheMasksTheDeviceStillHolds) {
  SetDevice(Filled(0xFF));
  Open(34);
  Tick(2);
  Click(1359);  // ILO out of range, mask 26.3
  Click(kApply);
  device->InjectNoReply();
  Mask expected = Filled(0xFF);
  expected[26] = 0xF7;
  EXPECT_EQ(Sent(), std::vector<Bytes>{WriteMasks(expected)});
  EXPECT_EQ(DeviceMasks(), Filled(0xFF));
  EXPECT_EQ(Check(1359), 0);
  EXPECT_EQ(theApp().m_comm.m_abyStatusMask, Filled(0xFF));
}

TEST_F(Annunciators, ARetrieveWithoutReplyKeepsTheLastMasks) {
  Mask masks = Filled(0xFF);
  masks[0] = 0xFD;  // initializing masked
  SetDevice(masks);
  Open(3);
  Tick(3);
  EXPECT_EQ(Check(1187), 1);
  SetDevice(Filled(0xFF));
  Click(kRetrieve);
  device->InjectNoReply();
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadMasks});
  EXPECT_EQ(Check(1187), 1);
  EXPECT_EQ(theApp().m_CommonFunctions.m_bMgmtFlags[alarms::kMgmtFlagRun + 0], 1);
  // The next Retrieve that is answered shows the device's masks.
  Tick();
  Click(kRetrieve);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadMasks});
  EXPECT_EQ(Check(1187), 0);
}

// ---- Print Report.

// What the person sees of a report: the PDF offer, then the print question.
std::vector<std::string> Questions(const plat::ScriptedPerson& person) {
  std::vector<std::string> texts;
  for (const plat::Question& q : person.Asked()) texts.push_back(q.kind == plat::Question::Kind::Message ? q.text : q.title);
  return texts;
}

TEST_F(Annunciators, AlarmReportShowsTheValuesReadAtTheClick) {
  const std::pair<int, double> variables[] = {
      {305, 1234}, {301, 56}, {335, 700},  {331, 8},  {336, 900},  {332, 10},   {295, 0.25}, {296, 0.5},
      {297, 0.75}, {302, 60}, {306, 5000}, {119, 5},  {490, 42.5}, {118, 2.5}, {117, 95},
      {63, 1},     {62, 99},  {135, 31.5}, {152, 33},
  };
  for (const auto& [id, value] : variables) device->SetVariable(static_cast<std::uint16_t>(id), value);
  SetDevice(Filled(0xFF), 13, 0x01);  // valve cycles active
  Open(2);
  Tick(3);
  device->ClearRequests();
  Click(CAnnunciatorPage::kPrintId);
  EXPECT_FALSE(Enabled(CAnnunciatorPage::kPrintId));
  EXPECT_EQ(page->GetStep(), 10);
  // The reads run in the click: identification, set points, present values.
  const std::vector<Bytes>& reads = device->Requests();
  ASSERT_GE(reads.size(), 3u);
  EXPECT_EQ(reads.front(), Bytes{13});
  EXPECT_EQ(reads[reads.size() - 2], Read200({305, 301, 335, 331, 336, 332, 295, 296, 297, 302, 306}));
  EXPECT_EQ(reads.back(), Read200({12, 119, 490, 118, 117, 63, 62, 135, 152}));

  const TextArray<59>& values = theApp().m_CommonFunctions.m_strAlarmValues;
  EXPECT_EQ(Sent(), std::vector<Bytes>{});  // the values become texts
  // The device reports its temperature in degrees F (152 is 33): 31.5 C is 88.7 F.
  const std::pair<size_t, std::string> expected[] = {
      {0, "1234"},  {1, "56 x 10e2 %"}, {6, "700"},    {7, "8 x 10e2 %"}, {9, "  250"},  {10, "42.5"},
      {20, " 88.7"}, {21, " 88.7"},     {22, "\xC2\xB0" "F"}, {25, "5000"}, {26, "60"},   {31, "900"},
      {32, "10"},   {33, "5"},          {34, "750"},    {35, "500"},       {44, "99"},     {45, "1"},
      {46, "95"},   {47, "2.5"},        {53, "178"},    {54, "-40"},
  };
  for (const auto& [index, text] : expected) EXPECT_EQ(values[index].str(), text) << "index " << index;
  EXPECT_FALSE(Enabled(CAnnunciatorPage::kPrintId));

  person.CancelFile().Answer(IDNO);
  Tick();
  EXPECT_EQ(Questions(person),
            (std::vector<std::string>{"Save Alarm Annunc ReportAs", TheLanguageTable().Lookup("PRINT_REPORT").str()}));
  activex::IReportX* report = page->GetReport();
  EXPECT_EQ(ReportName(report), "AlarmReport");
  EXPECT_EQ(ReportFieldText(report, "Detail", "ValveCyclesValue"), "1234");
  EXPECT_EQ(ReportFieldText(report, "Detail", "PsnHighLimitAlertSet"), "95");
  EXPECT_EQ(ReportFieldText(report, "Detail", "ValveCyclesAct"), "X");
  EXPECT_EQ(ReportFieldText(report, "Detail", "ValveTravelAct"), " ");
  EXPECT_EQ(ReportFieldText(report, "Detail", "ValveCyclesMsk"), " ");
  EXPECT_TRUE(Enabled(CAnnunciatorPage::kPrintId));
  EXPECT_EQ(page->GetStep(), 1);
}

struct PrintCase {
  int view;
  int ticksToReport;  // the annunciator turns its values into texts first
  const char* report;
  const char* activeField;  // set by the device state below
};

TEST_F(Annunciators, YesPrintsTheReportIntoTheSink) {
  const PrintCase cases[] = {
      {2, 2, "AlarmReport", "ValveCyclesAct"},
      {3, 1, "AlarmMgtRept", "IDC_ILED_MODELOCOFF"},
  };
  for (const PrintCase& c : cases) {
    SCOPED_TRACE(c.report);
    QTemporaryDir sink;
    SetDevice(Filled(0xFF), 13, 0x01);
    device->SetVariable(179, 1);  // tamper lock
    Open(c.view);
    Tick(3);
    ASSERT_EQ(page->GetPrinter()->put_PrintSink(sink.path().toStdString().c_str()), S_OK);
    Click(CAnnunciatorPage::kPrintId);
    EXPECT_FALSE(Enabled(kApply));
    Tick(c.ticksToReport - 1);
    EXPECT_TRUE(QDir(sink.path()).isEmpty());
    person.CancelFile().Answer(IDYES);
    Tick();
    EXPECT_EQ(ReportName(page->GetReport()), c.report);
    EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", c.activeField), "X");
    EXPECT_EQ(QDir(sink.path()).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(Enabled(kApply));
    page->StopMonitoring();
  }
}

TEST_F(Annunciators, LeavingBeforeTheReportTickDropsTheReport) {
  for (int view : {2, 3}) {
    SCOPED_TRACE(view);
    Open(view);
    Tick(3);
    Click(CAnnunciatorPage::kPrintId);
    page->StopMonitoring();
    page->StartMonitoring();
    Tick(4);  // no report: the person is asked nothing
    EXPECT_TRUE(person.Asked().empty());
    EXPECT_TRUE(Enabled(CAnnunciatorPage::kPrintId));
    page->StopMonitoring();
  }
}

}  // namespace
