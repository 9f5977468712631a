// The multi-test page against the simulated positioner on the manual clock:
// it hands the ticked tests to their pages one after the other, the pages
// run them unasked and report back, and at the end the tests that ran are
// saved through their own pages. The test plays the navigation tree: the
// item the pages select is the page that is shown next.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/multi_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "page_fixture.h"
#include "sequence_pages_fixture.h"
#include "platform/win/resources.h"
#include "shell/tree_view.h"
#include "support/language_table.h"
#include "support/plot_probe.h"

namespace {

using testpages::Bytes;
using View = CDiagnostics_OfflineView;
using namespace testpages;

const Bytes kAbort = {201, 3, 0, 144, 0x22};
// The set-up writes up to the test type: ramp 142 = 10.0 (41 20 00 00),
// 143 = 90.0 (42 B4 00 00), 145 = 5.0 (40 A0 00 00), 149 = 60.0
// (42 70 00 00); partial stroke 142 = 100.0 (42 C8 00 00), 143 = 90.0,
// 145 = 5.0, 149 = 10.0 (41 20 00 00), 289 = 30.0 (41 F0 00 00).
const Bytes kRampSetup = {201, 27,   0, 142, 0x41, 0x20, 0, 0, 0,    143,  0x42, 0xB4, 0,
                          0,   0,    145, 0x40, 0xA0, 0, 0, 0, 149, 0x42, 0x70, 0,    0};
const Bytes kPstSetup = {201, 33, 0, 142, 0x42, 0xC8, 0, 0, 0, 143, 0x42, 0xB4, 0, 0, 0, 145, 0x40,
                         0xA0, 0, 0, 0, 149, 0x41, 0x20, 0, 0, 1, 33, 0x41, 0xF0, 0, 0};

using testpages::Text;

class MultiTestPage : public testpages::SequencePages {
 public:
  void Type(int id, const char* text) { multi->SetDlgItemText(id, text); }
  void Click(int id) { multi->GetDlgItemAs<CButton>(id)->Click(); }
  bool Enabled(int id) { return multi->GetDlgItem(id)->IsWindowEnabled(); }
  // Ramp 10 -> 90, hold 5, ramp 60, and partial stroke 100 -> 90, limit 30,
  // ramp 10, hold 5, ticked.
  void TickRampAndPartialStroke() {
    Click(View::kRampBoxId);
    Click(View::kPstBoxId);
    for (const auto& [id, text] :
         {std::pair{View::kRampStartId, "10"}, {View::kRampStopId, "90"}, {View::kRampHoldId, "5"},
          {View::kRampTimeId, "60"}, {View::kPstStartId, "100"}, {View::kPstStopId, "90"},
          {View::kPstTimeLimitId, "30"}, {View::kPstRampTimeId, "10"}, {View::kPstHoldId, "5"}})
      Type(id, text);
  }
  bool Sent(const Bytes& prefix) {
    for (const Bytes& r : device->Requests())
      if (r.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), r.begin())) return true;
    return false;
  }
  // The points of the partial stroke page's position channel.
  LONG PstPositionCount() {
    auto* pst = static_cast<CDiagnostics_PSTView*>(theApp().m_pViews[kPstView]);
    IiPlotXPtr plot(pst->GetPlot());
    LONG count = 0;
    theApp().m_CommonFunctions.GetPlotChannelByName(plot, "Position")->GetCount(&count);
    return count;
  }

};

TEST_F(MultiTestPage, RunsTheTickedTestsInTurnWithItsSettingsAndSavesThemAtTheEnd) {
  EXPECT_FALSE(Enabled(View::kStartId));  // nothing ticked yet
  TickRampAndPartialStroke();
  ASSERT_TRUE(Enabled(View::kStartId));
  person.Answer(IDYES);
  Click(View::kStartId);
  const std::string ramp = TempFile("run.rmp"), pst = TempFile("run.pst");
  person.Answer(IDOK).AnswerFile(ramp).AnswerFile(pst);
  Follow();

  EXPECT_EQ(multi->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("RAMPTEST_COMPLETE"), Text("PST_STARTED"),
                                      Text("PST_COMPLETE"), Text("MULTITEST_FINISHED")}));
  EXPECT_TRUE(Sent(kRampSetup));
  EXPECT_TRUE(Sent(kPstSetup));
  // One question at Start, none on the test pages, the final one, then the
  // two save dialogs in the order of the tests.
  const auto& asked = person.Asked();
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[1].text, Text("SAVE_MULTITESTS"));
  EXPECT_NE(asked[2].filter.find("rmp"), std::string::npos);
  EXPECT_NE(asked[3].filter.find("pst"), std::string::npos);
  for (const std::string& path : {ramp, pst}) {
    FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_NE(f, nullptr) << path;
    if (f) std::fclose(f);
  }
  EXPECT_EQ(multi->m_abTestDone, (std::array<bool, 4>{}));
  EXPECT_FALSE(multi->m_bMultiTestRunning);
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kStopId));

  // The combined print leaves the run on the page of a test not ticked.
  const auto recorded = PstPositionCount();
  EXPECT_GT(recorded, 0);
  Click(View::kPstBoxId);
  person.CancelFile().Answer(IDNO);  // the report's PDF offer and print question
  Click(View::kPrintId);
  EXPECT_EQ(PstPositionCount(), recorded);
  // The ticked ramp test's texts as its page shows them, "NA" for the rest.
  const CCommonFunctions& common = theApp().m_CommonFunctions;
  auto* rampPage = static_cast<CDiagnostics_RampTestView*>(theApp().m_pViews[kRampTestView]);
  EXPECT_EQ(common.m_strRampSettings.start.str(), rampPage->GetDlgItemText(CDiagnostics_RampTestView::kStartEdit));
  EXPECT_EQ(common.m_strPSTSettings.start.str(), "NA");
  EXPECT_EQ(common.m_strPSTResult.str(), "NA");
  EXPECT_EQ(common.m_strStepSettings.hold.str(), "NA");
  EXPECT_EQ(common.m_strHDRLSettlingTime.str(), "NA");
  EXPECT_EQ(person.Asked().back().caption, "Print Report");
}

TEST_F(MultiTestPage, OnlyHDRLTickedHandsItItsSettlingTimeAndSavesOnlyIt) {
  Click(View::kHdrlBoxId);
  Type(View::kSettlingTimeId, "8");
  person.Answer(IDYES);
  Click(View::kStartId);
  EXPECT_EQ(SelectedItem(), treeitem::kHdrlTest);
  EXPECT_TRUE(multi->m_abTestDone[2]);  // the test before it in the order
  auto* hdrl = static_cast<CDiagnostics_HDRLView*>(theApp().m_pViews[kHdrlView]);
  EXPECT_EQ(hdrl->GetDlgItemText(CDiagnostics_HDRLView::kSettlingTimeId), "8");
  const std::string path = TempFile("run.hdr");
  person.Answer(IDOK).AnswerFile(path);
  Follow();
  EXPECT_EQ(multi->StatusLines(), (std::vector<std::string>{Text("HDRLTEST_STARTED"), Text("HDRLTEST_COMPLETE"),
                                                            Text("MULTITEST_FINISHED")}));
  EXPECT_EQ(person.Asked().size(), 3u);  // Start, the final question, one save
  // The HDRL run drove the valve in digital mode and gave it back: the
  // header says what the device is in now, not what the run left in it.
  EXPECT_EQ(multi->GetDlgItemText(1013), Text("Analog"));
}

TEST_F(MultiTestPage, StopOnATestPageGoesOnOnceTheDeviceHasStopped) {
  TickRampAndPartialStroke();
  person.Answer(IDYES);
  Click(View::kStartId);
  Follow(51);
  auto* rampPage = static_cast<CDiagnostics_RampTestView*>(shown);
  for (int i = 0; i < 10; ++i) clock.Advance(1000);
  device->ClearRequests();
  rampPage->GetDlgItemAs<CButton>(CDiagnostics_RampTestView::kStopId)->Click();
  EXPECT_FALSE(multi->m_abTestDone[0]);
  clock.Advance(2000);  // a state read and the abort, then the state read that confirms it
  ASSERT_GE(device->Requests().size(), 2u);
  EXPECT_EQ(device->Requests()[1], kAbort);
  EXPECT_TRUE(multi->m_abTestDone[0]);
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
  person.Answer(IDCANCEL);
  Follow();
  EXPECT_EQ(multi->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("RAMPTEST_STOPPED"), Text("PST_STARTED"),
                                      Text("PST_COMPLETE"), Text("MULTITEST_FINISHED")}));
  // Cancel on the final question: nothing saved, the flags cleared.
  EXPECT_EQ(multi->m_abTestDone, (std::array<bool, 4>{}));
}

TEST_F(MultiTestPage, ATestTheDeviceNeverStartedIsListedAsNotStarted) {
  TickRampAndPartialStroke();
  person.Answer(IDYES);
  Click(View::kStartId);
  device->InjectNoReply(-1);
  Follow();
  device->ClearFaults();
  // Nothing recorded: the list says so, and no question to save is asked.
  EXPECT_EQ(multi->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("TESTNOTSTARTED"), Text("PST_STARTED"),
                                      Text("TESTNOTSTARTED"), Text("MULTITEST_FINISHED"),
                                      Text("MULTITEST_NOTHING_TO_SAVE")}));
  EXPECT_EQ(person.Asked().size(), 1u);
}

TEST_F(MultiTestPage, OnlyTheHandedOverTestStartsByItself) {
  TickRampAndPartialStroke();
  person.Answer(IDYES);
  Click(View::kStartId);
  // The user leaves the ramp test for the partial stroke page: it waits,
  // and offers no Start of its own while the sequence holds the device (a
  // test started by hand would be overrun by the sequence's next test).
  ASSERT_EQ(SelectedItem(), treeitem::kRampTest);
  Show(treeitem::kPartialStrokeTest);
  for (int i = 0; i < 20; ++i) clock.Advance(500);
  EXPECT_FALSE(Sent({201, 33}));
  EXPECT_EQ(theApp().m_pViews[kPstView]->GetDlgItem(CDiagnostics_PSTView::kStartId)->IsWindowEnabled(), FALSE);
  // Nor does the ramp page start again when the user comes back to it.
  device->ClearRequests();
  Show(treeitem::kRampTest);
  for (int i = 0; i < 5; ++i) clock.Advance(1000);
  EXPECT_FALSE(Sent({201, 27}));
  // The multi-test page shown again hands the ramp test over once more.
  Show(treeitem::kMultiTest);
  EXPECT_EQ(SelectedItem(), treeitem::kRampTest);
  Show(treeitem::kRampTest);
  for (int i = 0; i < 5; ++i) clock.Advance(1000);
  EXPECT_TRUE(Sent(kRampSetup));
}

// A ramp run started on its own page and left there: no sequence starts
// over it (its hand-over would drop the run, its record unread) until
// that page has ended it.
TEST_F(MultiTestPage, NoSequenceStartsWhileATestPagesOwnRunIsUnderWay) {
  using Ramp = CDiagnostics_RampTestView;
  TickRampAndPartialStroke();
  Show(treeitem::kRampTest);
  auto* ramp = PageOf<Ramp>(treeitem::kRampTest);
  for (int i = 0; i < 6; ++i) clock.Advance(500);
  person.Answer(IDYES);
  ramp->GetDlgItemAs<CButton>(Ramp::kStartId)->Click();
  for (int i = 0; i < 10; ++i) clock.Advance(500);
  ASSERT_TRUE(ramp->IsTestRunning());
  Show(treeitem::kMultiTest);
  EXPECT_FALSE(Enabled(View::kStartId));
  multi->OnStart();  // a click that came all the same
  EXPECT_FALSE(multi->IsSequenceActive());
  EXPECT_TRUE(multi->StatusLines().empty());
  Show(treeitem::kRampTest);
  for (int i = 0; i < 4000 && (i < 5 || ramp->IsTestRunning()); ++i) clock.Advance(100);
  EXPECT_EQ(ramp->GetDlgItemText(Ramp::kStatusId), Text("VeskTEST_COMPLETE"));
  Show(treeitem::kMultiTest);
  EXPECT_TRUE(Enabled(View::kStartId));
}

// A test page's stop goes unanswered and the user goes to the multi-test
// page meanwhile: Start is off, and its tip names the page that holds it.
// The link comes back, the hidden page confirms its stop, and Start is
// offered again with its own tip, the multi-test page shown all along.
TEST_F(MultiTestPage, StartSaysWhichTestPageHoldsItAndComesBackWhenThatPageSettles) {
  using Ramp = CDiagnostics_RampTestView;
  using Step = CDiagnostics_StepTestView;
  using Pst = CDiagnostics_PSTView;
  const struct {
    const char* name;
    int item, start, stop;
    std::vector<std::pair<int, const char*>> setup;
    const char* heldKey;
  } cases[] = {
      {"ramp", treeitem::kRampTest, Ramp::kStartId, Ramp::kStopId,
       {{Ramp::kStartEdit, "20"}, {Ramp::kStopEdit, "80"}, {Ramp::kHoldEdit, "2"}, {Ramp::kRampEdit, "20"}},
       "MULTITEST_HELD_RAMP"},
      {"step", treeitem::kStepTest, Step::kStartId, Step::kStopId,
       {{Step::kStartPosId, "20"}, {Step::kStopPosId, "60"}, {Step::kHoldId, "3"}}, "MULTITEST_HELD_STEP"},
      {"partial stroke", treeitem::kPartialStrokeTest, Pst::kStartId, Pst::kStopId,
       {{Pst::kStartPosId, "100"}, {Pst::kStopPosId, "90"}, {Pst::kHoldId, "5"}, {Pst::kRampId, "10"},
        {Pst::kTimeLimitId, "30"}},
       "MULTITEST_HELD_PST"},
  };
  TickRampAndPartialStroke();
  CWnd* start = multi->GetDlgItem(View::kStartId);
  auto tip = [this, start] { return multi->GetToolTips().GetToolText(start); };
  ASSERT_TRUE(Enabled(View::kStartId));
  ASSERT_EQ(tip(), Text("IDC_BTN_MULTITESTSTARTTIP"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Show(c.item);
    for (int i = 0; i < 24; ++i) clock.Advance(500);
    auto* page = static_cast<CRecordedTestPage*>(shown);
    for (const auto& [id, text] : c.setup) page->SetDlgItemText(id, text);
    if (c.item == treeitem::kRampTest && page->IsDlgButtonChecked(Ramp::kBidirectionalBox))
      page->GetDlgItemAs<CButton>(Ramp::kBidirectionalBox)->Click();
    person.Answer(IDYES);
    page->GetDlgItemAs<CButton>(c.start)->Click();
    for (int i = 0; i < 100 && device->State().tests.run.type == 0; ++i) clock.Advance(100);
    ASSERT_NE(device->State().tests.run.type, 0);
    // Stop, every reply lost, and the page left at once: it reads on
    // behind the multi-test page.
    device->InjectNoReply(-1);
    page->GetDlgItemAs<CButton>(c.stop)->Click();
    Show(treeitem::kMultiTest);
    clock.Advance(1000);
    EXPECT_FALSE(Enabled(View::kStartId));
    EXPECT_EQ(tip(), Text(c.heldKey));

    device->ClearFaults();
    for (int i = 0; i < 30 && !Enabled(View::kStartId); ++i) clock.Advance(1000);
    EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
    EXPECT_EQ(shownItem, treeitem::kMultiTest);
    EXPECT_EQ(device->State().tests.run.type, 0);
    EXPECT_TRUE(Enabled(View::kStartId));
    EXPECT_EQ(tip(), Text("IDC_BTN_MULTITESTSTARTTIP"));
  }
}

TEST_F(MultiTestPage, StopOnThePageEndsTheSequenceAndKeepsWhatWasDone) {
  TickRampAndPartialStroke();
  person.Answer(IDYES);
  Click(View::kStartId);
  multi->m_abTestDone[0] = true;  // as if the ramp had reported back
  Show(treeitem::kMultiTest);
  ASSERT_EQ(SelectedItem(), treeitem::kPartialStrokeTest);
  Show(treeitem::kMultiTest);  // the user comes back before the partial stroke test ends
  ASSERT_EQ(SelectedItem(), treeitem::kPartialStrokeTest);
  multi->OnStop();
  EXPECT_FALSE(multi->m_bMultiTestRunning);
  EXPECT_EQ(multi->StatusLines().back(), "Multi tests stopped");
  for (int box : {View::kRampBoxId, View::kPstBoxId, View::kBidirectionalBoxId})
    EXPECT_FALSE(multi->IsDlgButtonChecked(box)) << box;
  EXPECT_TRUE(multi->m_abTestDone[0]);
  EXPECT_FALSE(Enabled(View::kStartId));  // no box ticked any more
  // The partial stroke page shown now is on its own.
  device->ClearRequests();
  Show(treeitem::kPartialStrokeTest);
  for (int i = 0; i < 20; ++i) clock.Advance(500);
  EXPECT_FALSE(Sent({201, 33}));
}

TEST_F(MultiTestPage, ShownItReadsTheTestSetUpsAndChecksEveryField) {
  device->SetVariable(142, 12.5);
  device->SetVariable(143, 80);
  Show(treeitem::kMultiTest);
  EXPECT_EQ(device->Requests().front(), (Bytes{201, 3, 0, 141, 5}));
  EXPECT_EQ(multi->GetDlgItemText(View::kRampStartId), multi->GetDlgItemText(View::kStepStartId));
  EXPECT_EQ(multi->GetDlgItemText(View::kSettlingTimeId), "6");
  Click(View::kStepBoxId);
  EXPECT_TRUE(Enabled(View::kStepHoldId));
  EXPECT_FALSE(Enabled(View::kRampHoldId));
  const struct {
    int edit;
    const char* text;
    bool valid;
  } cases[] = {
      {View::kStepStartId, "110.5", false}, {View::kStepStartId, "-10", true},  {View::kStepStartId, "110", true},
      {View::kSettlingTimeId, "5.99", false}, {View::kSettlingTimeId, "655.35", true},
      {View::kStepHoldId, "655.36", false}, {View::kStepHoldId, "0", true},
  };
  for (const auto& c : cases) {
    Type(c.edit, c.text);
    EXPECT_EQ(Enabled(View::kStartId), c.valid) << c.edit << " " << c.text;
  }
  Click(View::kStepBoxId);
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kStepHoldId));
}

TEST_F(MultiTestPage, FieldsThatNoDeviceFilledAreEmptyAndNeverValid) {
  // Shown for the first time while the device does not answer, the image
  // as at start-up.
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_dVar142 = comm.m_dVar143 = comm.m_dVar145 = comm.m_dVar149 = comm.m_dVar289 = 0;
  device->InjectNoReply(-1);
  auto* page = static_cast<View*>(CreatePage(kMultiTestView));
  ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), &host, 99));
  page->SendInitialUpdate();
  auto icon = [page](int id) { return plat::ResourceIdOf(page->GetDlgItemAs<CStatic>(id)->GetIcon()); };
  const struct {
    int edit, icon;
  } fields[] = {{View::kRampStartId, 1102}, {View::kRampStopId, 1103},    {View::kRampHoldId, 1104},
                {View::kRampTimeId, 1101},  {View::kStepStartId, 1105},   {View::kStepStopId, 1106},
                {View::kStepHoldId, 1107},  {View::kPstStartId, 1109},    {View::kPstStopId, 1110},
                {View::kPstTimeLimitId, 1111}, {View::kPstRampTimeId, 1112}, {View::kPstHoldId, 1113}};
  for (int pass = 0; pass < 2; ++pass) {  // and again when shown once more
    page->StartMonitoring();
    for (const auto& f : fields) {
      EXPECT_EQ(page->GetDlgItemText(f.edit), "") << f.edit;
      EXPECT_EQ(icon(f.icon), 152u) << f.edit;
    }
    EXPECT_EQ(page->GetDlgItemText(View::kSettlingTimeId), "6");
    EXPECT_EQ(icon(1108), 153u);
    page->GetDlgItemAs<CButton>(View::kRampBoxId)->Click();
    EXPECT_FALSE(page->GetDlgItem(View::kStartId)->IsWindowEnabled()) << pass;
    page->GetDlgItemAs<CButton>(View::kRampBoxId)->Click();
  }
  // The device answers: its set-ups fill every field, all valid.
  device->ClearFaults();
  page->StartMonitoring();
  for (const auto& f : fields) {
    EXPECT_NE(page->GetDlgItemText(f.edit), "") << f.edit;
    EXPECT_EQ(icon(f.icon), 153u) << f.edit;
  }
  page->GetDlgItemAs<CButton>(View::kRampBoxId)->Click();
  EXPECT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());
  // Lost once more: the values the device sent stay.
  const std::string rampTime = page->GetDlgItemText(View::kRampTimeId);
  device->InjectNoReply(-1);
  page->StartMonitoring();
  EXPECT_EQ(page->GetDlgItemText(View::kRampTimeId), rampTime);
  EXPECT_TRUE(page->GetDlgItem(View::kStartId)->IsWindowEnabled());
}

// ---- A sequence goes on only when the device has stopped.

class MultiTestStops : public MultiTestPage {
 public:
  // The shown test page's Stop, and its ticks until it idles again.
  void StopShownTest(int stopId) {
    auto* page = static_cast<CRecordedTestPage*>(shown);
    page->GetDlgItemAs<CButton>(stopId)->Click();
    for (int i = 0; i < 40 && (i == 0 || page->GetStep() != CRecordedTestPage::kIdleStep); ++i) clock.Advance(500);
  }
  // The sequence started and followed to the page of `item`; after `ms` of
  // its run, its Stop with every reply lost until ClearFaults.
  void StopWithEveryAbortLost(int item, int stopId, int ms) {
    person.Answer(IDYES);
    Click(View::kStartId);
    Follow(item);
    for (int t = 0; t < ms; t += 500) clock.Advance(500);
    ASSERT_TRUE(DeviceTesting());
    device->InjectNoReply(-1);
    shown->GetDlgItemAs<CButton>(stopId)->Click();
    for (int i = 0; i < 40 && !ShownEnabled(stopId); ++i) clock.Advance(500);
  }
  // The link back: the page, reading on, sees the test still running and
  // sends the abort again by itself.
  void LinkBackUntilStopped() {
    device->ClearFaults();
    auto* page = static_cast<CRecordedTestPage*>(shown);
    for (int i = 0; i < 20 && (i == 0 || page->GetStep() != CRecordedTestPage::kIdleStep); ++i) clock.Advance(500);
  }
  // The sequence after the ramp's unconfirmed stop was settled: the ramp
  // listed stopped, the partial stroke test run to its end and saved.
  void GoOnAfterTheRampsStop(const char* file) {
    const std::string pst = TempFile(file);
    person.Answer(IDOK).AnswerFile(pst);
    Follow();
    EXPECT_EQ(multi->StatusLines(),
              (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("STATUSABORTED_UNCONFIRMED"),
                                        Text("RAMPTEST_STOPPED"), Text("PST_STARTED"), Text("PST_COMPLETE"),
                                        Text("MULTITEST_FINISHED")}));
  }
  bool ShownEnabled(int id) { return shown->GetDlgItem(id)->IsWindowEnabled(); }
  bool DeviceTesting() { return device->State().tests.run.type != 0; }
  // The step settings differ from the ramp's: 20 -> 60, hold 5.
  void TickStep() {
    Click(View::kStepBoxId);
    Type(View::kStepStartId, "20");
    Type(View::kStepStopId, "60");
    Type(View::kStepHoldId, "5");
  }
};

// The ramp's abort goes unanswered, and so does every read after it: the
// list says so, the sequence waits on the ramp page, which offers Stop
// again and reads on; once the link is back, an abort confirmed
// stop then hands back, and the stopped ramp is not offered for saving.
TEST_F(MultiTestStops, ALostAbortHoldsTheSequenceUntilAStopIsConfirmed) {
  using Ramp = CDiagnostics_RampTestView;
  TickRampAndPartialStroke();
  ASSERT_NO_FATAL_FAILURE(StopWithEveryAbortLost(treeitem::kRampTest, Ramp::kStopId, 10000));
  EXPECT_EQ(multi->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("STATUSABORTED_UNCONFIRMED")}));
  EXPECT_FALSE(multi->m_abTestDone[0]);
  EXPECT_TRUE(multi->IsSequenceActive());
  EXPECT_EQ(SelectedItem(), treeitem::kRampTest);
  EXPECT_TRUE(ShownEnabled(Ramp::kStopId));
  EXPECT_FALSE(ShownEnabled(Ramp::kStartId));
  // Nothing goes on while the device still runs the ramp, nor when the
  // multi-test page is looked at meanwhile.
  for (int i = 0; i < 5; ++i) clock.Advance(1000);
  Show(treeitem::kMultiTest);
  EXPECT_FALSE(Sent({201, 33}));
  EXPECT_TRUE(DeviceTesting());
  EXPECT_EQ(multi->StatusLines().size(), 2u);

  // Back on the ramp page, and the link back: the abort again, answered.
  Show(treeitem::kRampTest);
  for (int i = 0; i < 2; ++i) clock.Advance(1000);
  EXPECT_TRUE(ShownEnabled(Ramp::kStopId));
  EXPECT_FALSE(ShownEnabled(Ramp::kStartId));
  LinkBackUntilStopped();
  EXPECT_FALSE(DeviceTesting());
  EXPECT_TRUE(multi->m_abTestDone[0]);
  ASSERT_NO_FATAL_FAILURE(GoOnAfterTheRampsStop("held.pst"));
  // Start, the final question and one save dialog: the partial stroke test's.
  ASSERT_EQ(person.Asked().size(), 3u);
  EXPECT_NE(person.Asked()[2].filter.find("pst"), std::string::npos);
}

// The ramp's stop unconfirmed and the link back: Stop pressed again and the
// multi-test page chosen at once. The abort goes out while the ramp page is
// hidden, and the sequence, whose page is shown, goes on by itself.
TEST_F(MultiTestStops, AStopPressedAgainAndLeftAtOnceIsCarriedAndTheSequenceGoesOn) {
  using Ramp = CDiagnostics_RampTestView;
  TickRampAndPartialStroke();
  ASSERT_NO_FATAL_FAILURE(StopWithEveryAbortLost(treeitem::kRampTest, Ramp::kStopId, 10000));
  ASSERT_TRUE(ShownEnabled(Ramp::kStopId));
  device->ClearFaults();
  shown->GetDlgItemAs<CButton>(Ramp::kStopId)->Click();
  CTarnixWexletView::SelectItemByCode(treeitem::kMultiTest);
  Show(treeitem::kMultiTest);
  for (int i = 0; i < 3; ++i) clock.Advance(1000);
  EXPECT_FALSE(DeviceTesting());
  EXPECT_TRUE(multi->m_abTestDone[0]);
  ASSERT_NO_FATAL_FAILURE(GoOnAfterTheRampsStop("again.pst"));
}

// After a ramp stopped in a sequence, the step test's start is lost once:
// it is sent again, and the step test is listed and saved with its own
// record, not the ramp's.
TEST_F(MultiTestStops, AStartLostAfterAStoppedTestRunsTheNextTestItself) {
  using Step = CDiagnostics_StepTestView;
  Click(View::kRampBoxId);
  for (const auto& [id, text] : {std::pair{View::kRampStartId, "10"}, {View::kRampStopId, "90"},
                                 {View::kRampHoldId, "5"}, {View::kRampTimeId, "60"}})
    Type(id, text);
  TickStep();
  person.Answer(IDYES);
  Click(View::kStartId);
  Follow(treeitem::kRampTest);
  for (int i = 0; i < 10; ++i) clock.Advance(1000);
  device->InjectNoReply();  // the first abort
  StopShownTest(CDiagnostics_RampTestView::kStopId);
  ASSERT_EQ(SelectedItem(), treeitem::kMultiTest);
  Follow(treeitem::kStepTest);
  clock.Advance(1000);  // the test command, the set-up the device holds
  device->ClearRequests();
  device->InjectNoReply();
  clock.Advance(500);  // the set-up and its start, lost
  ASSERT_EQ(device->Requests().size(), 1u);
  ASSERT_EQ(device->Requests()[0][3], 142);
  auto* step = static_cast<Step*>(theApp().m_pViews[kStepTestView]);
  const std::string stp = TempFile("own.stp");
  person.Answer(IDOK).AnswerFile(stp);
  Follow();
  EXPECT_EQ(multi->StatusLines(),
            (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("RAMPTEST_STOPPED"), Text("STEPTEST_STARTED"),
                                      Text("STEPTEST_COMPLETE"), Text("MULTITEST_FINISHED")}));
  const auto command = testsupport::PlotPoints(step->GetPlot(), "Command");
  ASSERT_EQ(command.size(), 208u);
  EXPECT_NEAR(command.front().second, 20, 0.01);
  EXPECT_NEAR(command.back().second, 60, 0.01);
  EXPECT_NEAR(command.back().first, 207 * 6.0 / 208, 1e-9);
  // Saved as the step test it is; the stopped ramp is not offered.
  ASSERT_EQ(person.Asked().size(), 3u);
  EXPECT_NE(person.Asked()[2].filter.find("stp"), std::string::npos);
}

// The last test's abort goes unanswered: the sequence neither ends nor
// asks to save while the partial stroke test still runs.
TEST_F(MultiTestStops, ALostAbortOnTheLastTestNeitherEndsTheSequenceNorAsksToSave) {
  using Pst = CDiagnostics_PSTView;
  TickRampAndPartialStroke();
  Click(View::kRampBoxId);  // the partial stroke test alone
  ASSERT_NO_FATAL_FAILURE(StopWithEveryAbortLost(treeitem::kPartialStrokeTest, Pst::kStopId, 3000));
  for (int i = 0; i < 4; ++i) clock.Advance(500);
  EXPECT_EQ(multi->StatusLines(), (std::vector<std::string>{Text("PST_STARTED"), Text("STATUSABORTED_UNCONFIRMED")}));
  EXPECT_EQ(person.Asked().size(), 1u);  // Start only: no question to save
  EXPECT_TRUE(multi->IsSequenceActive());
  EXPECT_EQ(SelectedItem(), treeitem::kPartialStrokeTest);
  EXPECT_TRUE(DeviceTesting());
  EXPECT_TRUE(ShownEnabled(Pst::kStopId));
  EXPECT_FALSE(ShownEnabled(Pst::kStartId));

  LinkBackUntilStopped();
  EXPECT_FALSE(DeviceTesting());
  // Nothing ran to a record: no question to save, the list says why.
  Follow();
  EXPECT_EQ(multi->StatusLines(),
            (std::vector<std::string>{Text("PST_STARTED"), Text("STATUSABORTED_UNCONFIRMED"), Text("PST_STOPPED"),
                                      Text("MULTITEST_FINISHED"), Text("MULTITEST_NOTHING_TO_SAVE")}));
  EXPECT_EQ(person.Asked().size(), 1u);
}

// The ramp ran to its end but its record's download broke off: the list
// says the data is incomplete, not that the test was stopped.
TEST_F(MultiTestStops, ABrokenDownloadIsListedAsIncompleteNotAsStopped) {
  TickRampAndPartialStroke();
  Click(View::kPstBoxId);  // the ramp alone
  person.Answer(IDYES);
  Click(View::kStartId);
  Follow(treeitem::kRampTest);
  auto* ramp = static_cast<CRecordedTestPage*>(shown);
  for (int i = 0; i < 2000 && ramp->GetStep() != CRecordedTestPage::kBlockStep; ++i) clock.Advance(100);
  ASSERT_EQ(ramp->GetStep(), CRecordedTestPage::kBlockStep);
  device->InjectNoReply(-1);
  Follow();
  device->ClearFaults();
  EXPECT_EQ(multi->StatusLines(), (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("TESTDATA_INCOMPLETE"),
                                                            Text("MULTITEST_FINISHED"),
                                                            Text("MULTITEST_NOTHING_TO_SAVE")}));
  EXPECT_FALSE(multi->m_abTestRecorded[0]);
}

// The engineer looks at another page, or at the list, during the
// sequence's test and comes back: the test's page still reports to the
// sequence, which neither starts the test again nor waits on it for good.
TEST_F(MultiTestStops, ATestPageShownAgainDuringItsTurnStillReportsToTheSequence) {
  using Pst = CDiagnostics_PSTView;
  auto* pst = static_cast<Pst*>(theApp().m_pViews[kPstView]);
  const struct {
    const char* name;
    int item;                    // the page left and shown again
    std::function<bool()> left;  // the moment it is left
    int lookAt;                  // the page looked at meanwhile
    const char* startedLine;     // of that test, listed once
    const char* lastLine;
    bool rampRuns;  // when left: no second ramp start may follow
  } cases[] = {
      // A start is the hand-over's only while its page stays shown.
      {"before its start", treeitem::kRampTest, [] { return true; }, treeitem::kStepTest, "RAMPTEST_STARTED",
       "TEST_START_CANCELLED", false},
      {"while the ramp runs", treeitem::kRampTest, [this] { return DeviceTesting(); }, treeitem::kStepTest,
       "RAMPTEST_STARTED", "RAMPTEST_COMPLETE", true},
      {"while its record is read", treeitem::kPartialStrokeTest,
       [pst] { return pst->GetRequest() == Pst::kLastRequest || pst->GetStep() == Pst::kBlockStep; },
       treeitem::kStepTest, "PST_STARTED", "PST_COMPLETE", false},
      {"the list, while the ramp runs", treeitem::kRampTest, [this] { return DeviceTesting(); },
       treeitem::kMultiTest, "RAMPTEST_STARTED", "RAMPTEST_COMPLETE", true},
  };
  TickRampAndPartialStroke();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    person.Answer(IDYES);
    Click(View::kStartId);
    Follow(c.item);
    for (int i = 0; i < 400 && !c.left(); ++i) clock.Advance(100);
    ASSERT_TRUE(c.left());
    device->ClearRequests();
    Show(c.lookAt);
    clock.Advance(3000);
    Show(c.item);
    person.Answer(IDCANCEL);
    Follow();
    const std::vector<std::string> lines = multi->StatusLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), Text(c.startedLine)), 1);
    EXPECT_NE(std::find(lines.begin(), lines.end(), Text(c.lastLine)), lines.end());
    EXPECT_FALSE(c.rampRuns && Sent(kRampSetup));
    EXPECT_EQ(lines.back(), Text("MULTITEST_FINISHED"));
    EXPECT_FALSE(multi->IsSequenceActive());
  }
}

}  // namespace
