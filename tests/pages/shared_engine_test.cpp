// The test pages, the HDRL page and the multi-test sequence share the
// positioner's one test engine, record pointer and set-up. Here several
// pages are shown in turn, as a user goes from one to another, under the
// simulator's fault injection: no page claims what the device did not do,
// and none saves a test with another test's set-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "sequence_pages_fixture.h"
#include "support/plot_probe.h"

namespace {

using testpages::Bytes;
using testpages::Text;
using Ramp = CDiagnostics_RampTestView;
using Step = CDiagnostics_StepTestView;
using Pst = CDiagnostics_PSTView;
using Hdrl = CDiagnostics_HDRLView;

const Bytes kDigitalMode = {201, 3, 0, 8, 1};

class SharedEngine : public testpages::SequencePages {
 public:
  Ramp* ramp() { return PageOf<Ramp>(treeitem::kRampTest); }
  Step* step() { return PageOf<Step>(treeitem::kStepTest); }
  Pst* pst() { return PageOf<Pst>(treeitem::kPartialStrokeTest); }
  Hdrl* hdrl() { return PageOf<Hdrl>(treeitem::kHdrlTest); }

  // Time passes in the shown page's ticks.
  void Pass(int ms) {
    for (int t = 0; t < ms; t += 100) clock.Advance(100);
  }
  static void Type(CWnd* page, int id, const char* text) { page->SetDlgItemText(id, text); }
  static bool Enabled(CWnd* page, int id) { return page->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
  static void Click(CWnd* page, int id) { page->GetDlgItemAs<CButton>(id)->Click(); }
  // Shown, and its first reads made (the partial stroke page idles at 5 s).
  void ShowIdle(int item) {
    Show(item);
    Pass(12000);
  }
  // Start, Yes to the question, then time until the page's run is over.
  void RunTest(CRecordedTestPage* page, int startId) {
    person.Answer(IDYES);
    Click(page, startId);
    for (int i = 0; i < 3000 && (i < 20 || page->IsTestRunning() || page->GetStep() != CRecordedTestPage::kIdleStep);
         ++i)
      clock.Advance(100);
    ASSERT_FALSE(page->IsTestRunning());
  }
  // The set-up writes (201 with 142 first) and their value of `id`.
  size_t SetupWrites() {
    return static_cast<size_t>(std::count_if(device->Requests().begin(), device->Requests().end(),
                                             [](const Bytes& r) { return r.size() > 3 && r[0] == 201 && r[3] == 142; }));
  }
  bool Sent(const Bytes& frame) {
    const auto& sent = device->Requests();
    return std::find(sent.begin(), sent.end(), frame) != sent.end();
  }
  bool DeviceTesting() { return device->State().tests.run.type != 0; }
  // A sequence of the partial stroke and HDRL tests, until the partial
  // stroke test runs in the device, its start answered.
  void StartPartialStrokeAndHdrlSequence() {
    using Multi = CDiagnostics_OfflineView;
    Click(multi, Multi::kPstBoxId);
    Click(multi, Multi::kHdrlBoxId);
    for (const auto& [id, text] : {std::pair{Multi::kPstStartId, "100"}, {Multi::kPstStopId, "90"},
                                   {Multi::kPstTimeLimitId, "30"}, {Multi::kPstRampTimeId, "10"},
                                   {Multi::kPstHoldId, "5"}, {Multi::kSettlingTimeId, "6"}})
      Type(multi, id, text);
    person.Answer(IDYES);
    Click(multi, Multi::kStartId);
    Follow(treeitem::kPartialStrokeTest);
    for (int i = 0; i < 100 && pst()->GetStep() != CRecordedTestPage::kWaitStep; ++i) clock.Advance(100);
    ASSERT_TRUE(DeviceTesting());
  }
  static std::vector<std::pair<double, double>> Points(CRecordedTestPage* page, const char* channel) {
    return testsupport::PlotPoints(page->GetPlot(), channel);
  }
};

// ---- A record keeps the set-up it ran with.

// A ramp run, then a step test run (which writes its own set-up into the
// device), then the ramp page shown again: its fields, its file, its report
// and its plot are the ramp's, and what is typed since is for the next
// start only. The step page, shown again after the ramp page, the same.
TEST_F(SharedEngine, ARecordShownAgainIsSavedAndPrintedWithTheSetUpItRanWith) {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  ShowIdle(treeitem::kRampTest);
  for (const auto& [id, text] : {std::pair{Ramp::kStartEdit, "10"}, {Ramp::kStopEdit, "90"}, {Ramp::kHoldEdit, "2"},
                                 {Ramp::kRampEdit, "20"}})
    Type(ramp(), id, text);
  if (ramp()->IsDlgButtonChecked(Ramp::kBidirectionalBox)) Click(ramp(), Ramp::kBidirectionalBox);
  ASSERT_NO_FATAL_FAILURE(RunTest(ramp(), Ramp::kStartId));
  ASSERT_EQ(ramp()->GetDlgItemText(Ramp::kStatusId), Text("VeskTEST_COMPLETE"));

  ShowIdle(treeitem::kStepTest);
  for (const auto& [id, text] : {std::pair{Step::kStartPosId, "20"}, {Step::kStopPosId, "60"}, {Step::kHoldId, "3"}})
    Type(step(), id, text);
  ASSERT_NO_FATAL_FAILURE(RunTest(step(), Step::kStartId));
  ASSERT_EQ(step()->GetDlgItemText(Step::kStatusId), Text("VeskTEST_COMPLETE"));

  ShowIdle(treeitem::kRampTest);
  EXPECT_EQ(ramp()->GetDlgItemText(Ramp::kStartEdit), "10");
  EXPECT_EQ(ramp()->GetDlgItemText(Ramp::kHoldEdit), "2");
  EXPECT_EQ(ramp()->GetDlgItemText(Ramp::kRampEdit), "20");
  ASSERT_TRUE(Enabled(ramp(), Ramp::kSaveId));
  // Typed for the next start: not the record's.
  Type(ramp(), Ramp::kStartEdit, "30");
  Type(ramp(), Ramp::kRampEdit, "5");
  const std::string rmp = TempFile("shared.rmp");
  person.AnswerFile(rmp);
  Click(ramp(), Ramp::kSaveId);
  EXPECT_EQ(common.m_strRampSettings.start.str(), " 10.0");
  EXPECT_EQ(common.m_strRampSettings.stop.str(), " 90.0");
  EXPECT_EQ(common.m_strRampSettings.hold.str(), "  2.0");
  EXPECT_EQ(common.m_strRampSettings.rampTime.str(), " 20.0");
  IiPlotAxisPtr time;
  ramp()->GetPlot()->GetXAxisByName("RampX", &time);
  double span = 0;
  time->GetSpan(&span);
  EXPECT_DOUBLE_EQ(span, 23.0);  // 1 + ramp 20 + hold 2
  person.CancelFile().Answer(IDNO);  // the report's PDF offer and print question
  Click(ramp(), Ramp::kPrintId);
  EXPECT_EQ(common.m_strRampSettings.start.str(), "10");
  EXPECT_EQ(common.m_strRampSettings.rampTime.str(), "20");
  time->GetSpan(&span);
  EXPECT_DOUBLE_EQ(span, 23.0);

  ShowIdle(treeitem::kStepTest);
  EXPECT_EQ(step()->GetDlgItemText(Step::kStartPosId), "20");
  person.AnswerFile(TempFile("shared.stp"));
  Click(step(), Step::kSaveId);
  EXPECT_EQ(common.m_strStepSettings.start.str(), "20");
  EXPECT_EQ(common.m_strStepSettings.stop.str(), "60");
  EXPECT_EQ(common.m_strStepSettings.hold.str(), "3");
}

// ---- Start judges every field as it stands.

// Typed in the first tick after the page is shown again, before the page
// has judged anything: Start refuses, and nothing reaches the device.
TEST_F(SharedEngine, AValueOutOfRangeTypedAsThePageIsShownAgainIsNeverWritten) {
  struct Page {
    int item;
    int edit, start;
  };
  const Page pages[] = {{treeitem::kRampTest, Ramp::kStopEdit, Ramp::kStartId},
                        {treeitem::kStepTest, Step::kStopPosId, Step::kStartId},
                        {treeitem::kPartialStrokeTest, Pst::kStopPosId, Pst::kStartId}};
  for (const Page& p : pages)
    for (const char* text : {"500", "-1e40", "nan"}) {
      SCOPED_TRACE(std::to_string(p.item) + " " + text);
      ShowIdle(p.item);
      ShowIdle(treeitem::kMultiTest);
      Show(p.item);
      Type(shown, p.edit, text);
      device->ClearRequests();
      {
        // Yes, were the valve question asked: nothing stops the write but
        // the page's own check.
        plat::ScriptedPerson yes([](const std::string&) {});
        yes.Answer(IDYES);
        if (Enabled(shown, p.start)) Click(shown, p.start);
        EXPECT_FALSE(Enabled(shown, p.start));
        Pass(3000);
        EXPECT_TRUE(yes.Asked().empty());
      }
      EXPECT_EQ(SetupWrites(), 0u);
      EXPECT_FALSE(DeviceTesting());
    }
  EXPECT_TRUE(person.Asked().empty());
}

// ---- A start the device answered stays started.

// The set-up write answered, then every reply lost for longer than five
// state reads: the page says the link is lost, never that the test did not
// start, sends no second start, and ends with the run's record.
TEST_F(SharedEngine, AnAnsweredStartIsFollowedThroughAnOutageToItsRecord) {
  struct Case {
    int item;
    int start, status;
    int outageMs;
  };
  const Case cases[] = {{treeitem::kRampTest, Ramp::kStartId, Ramp::kStatusId, 35000},
                        {treeitem::kStepTest, Step::kStartId, Step::kStatusId, 15000},
                        {treeitem::kPartialStrokeTest, Pst::kStartId, Pst::kStatusId, 15000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    device->ClearRequests();
    ShowIdle(c.item);
    auto* page = static_cast<CRecordedTestPage*>(shown);
    device->ClearRequests();
    person.Answer(IDYES);
    ASSERT_TRUE(Enabled(page, c.start));
    Click(page, c.start);
    for (int i = 0; i < 100 && page->GetStep() != CRecordedTestPage::kWaitStep; ++i) clock.Advance(100);
    ASSERT_EQ(SetupWrites(), 1u) << page->GetStep();
    ASSERT_TRUE(DeviceTesting());
    device->InjectNoReply(-1);
    bool linkLostSaid = false;
    for (int t = 0; t < c.outageMs; t += 100) {
      clock.Advance(100);
      EXPECT_NE(page->GetDlgItemText(c.status), Text("TESTNOTSTARTED"));
      linkLostSaid = linkLostSaid || page->GetDlgItemText(c.status) == Text("TEST_LINK_LOST");
    }
    EXPECT_TRUE(linkLostSaid);
    EXPECT_TRUE(page->IsTestRunning());
    device->ClearFaults();
    for (int i = 0; i < 3000 && page->IsTestRunning(); ++i) clock.Advance(100);
    EXPECT_EQ(SetupWrites(), 1u);
    EXPECT_EQ(page->GetDlgItemText(c.status), Text("VeskTEST_COMPLETE"));
    EXPECT_FALSE(page->HasNoRunToKeep());
    Pass(3000);
  }
}

// In a sequence, the partial stroke test's start answered and then an
// outage: the HDRL test is handed over only once the device is seen idle,
// never while the stroke still runs.
TEST_F(SharedEngine, ASequenceHandsOverOnlyOnceTheDeviceIsSeenIdle) {
  ASSERT_NO_FATAL_FAILURE(StartPartialStrokeAndHdrlSequence());
  device->InjectNoReply(-1);
  for (int t = 0; t < 15000; t += 100) {
    if (SelectedItem() != shownItem) Show(SelectedItem());
    clock.Advance(100);
  }
  device->ClearFaults();
  bool digitalWhileTesting = false;
  person.Answer(IDCANCEL);  // the sequence's save question
  for (int i = 0; i < 20000 && (shownItem != treeitem::kMultiTest || multi->IsSequenceActive()); ++i) {
    if (SelectedItem() != shownItem) Show(SelectedItem());
    const size_t before = device->Requests().size();
    const bool testing = DeviceTesting();
    clock.Advance(100);
    for (size_t r = before; r < device->Requests().size(); ++r)
      digitalWhileTesting = digitalWhileTesting || (testing && device->Requests()[r] == kDigitalMode);
  }
  EXPECT_FALSE(digitalWhileTesting);
  const auto lines = multi->StatusLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), Text("PST_COMPLETE")), lines.end());
  EXPECT_EQ(std::find(lines.begin(), lines.end(), Text("TESTNOTSTARTED")), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), Text("HDRLTEST_COMPLETE")), lines.end());
}

// ---- One owner of the engine.

// While the ramp page's test runs, the step page and the HDRL page never
// offer Start, not even before their first read is answered, and the HDRL
// page does not run over it; once the device is idle they do.
TEST_F(SharedEngine, NoPageOffersStartWhileAnotherPagesTestRuns) {
  ShowIdle(treeitem::kRampTest);
  person.Answer(IDYES);
  Click(ramp(), Ramp::kStartId);
  Pass(3000);
  ASSERT_TRUE(DeviceTesting());

  device->InjectNoReply(3);
  Show(treeitem::kStepTest);
  for (int t = 0; t < 6000; t += 100) {
    EXPECT_FALSE(Enabled(step(), Step::kStartId)) << t;
    clock.Advance(100);
  }
  Show(treeitem::kHdrlTest);
  device->ClearRequests();
  for (int t = 0; t < 6000; t += 100) {
    EXPECT_FALSE(Enabled(hdrl(), Hdrl::kStartId)) << t;
    clock.Advance(100);
  }
  hdrl()->OnStart();  // as a sequence would
  Pass(2000);
  EXPECT_FALSE(hdrl()->IsRunning());
  EXPECT_FALSE(Sent(kDigitalMode));
  ASSERT_TRUE(DeviceTesting());

  // The ramp ends in the device; the HDRL page sees it idle.
  for (int i = 0; i < 2000 && !Enabled(hdrl(), Hdrl::kStartId); ++i) clock.Advance(100);
  EXPECT_FALSE(DeviceTesting());
  EXPECT_TRUE(Enabled(hdrl(), Hdrl::kStartId));
}

// A step baseline retrieval left after 24 points, the partial stroke page
// shown (it selects its own record), then the step page again: the
// retrieval selects the baseline again and reads it whole, never the other
// record's blocks after the first 24.
TEST_F(SharedEngine, ARetrievalResumedAfterAnotherPageSelectedItsRecordStartsOver) {
  ShowIdle(treeitem::kStepTest);
  Click(step(), Step::kRetrieveId);
  for (int i = 0; i < 3000 && (i < 20 || step()->GetStep() != CRecordedTestPage::kIdleStep); ++i) clock.Advance(100);
  const auto whole = Points(step(), "Position");
  ASSERT_EQ(whole.size(), 208u);

  Click(step(), Step::kRetrieveId);
  for (int i = 0; i < 3000 && step()->GetStep() != CRecordedTestPage::kBlockStep; ++i) clock.Advance(100);
  for (int i = 0; i < 3000 && Points(step(), "Position").size() < 24; ++i) clock.Advance(100);
  ASSERT_EQ(Points(step(), "Position").size(), 24u);
  ShowIdle(treeitem::kPartialStrokeTest);
  Show(treeitem::kStepTest);
  for (int i = 0; i < 3000 && (i < 20 || step()->GetStep() != CRecordedTestPage::kIdleStep); ++i) clock.Advance(100);
  EXPECT_EQ(Points(step(), "Position"), whole);
  EXPECT_EQ(step()->GetDlgItemText(Step::kStatusId), Text("VeskTEST_COMPLETE"));
}

// A sequence's partial stroke test, its page left for the ramp page (which
// selects the ramp record) and shown again with a reply lost: it follows
// its own test, and the HDRL test comes only after the stroke has ended.
TEST_F(SharedEngine, ASequencesTestLeftForAnotherPageIsFollowedWhenShownAgain) {
  ASSERT_NO_FATAL_FAILURE(StartPartialStrokeAndHdrlSequence());
  ShowIdle(treeitem::kRampTest);
  EXPECT_FALSE(Enabled(ramp(), Ramp::kStartId));
  device->InjectNoReply();
  Show(treeitem::kPartialStrokeTest);
  person.Answer(IDCANCEL);  // the sequence's save question
  bool hdrlWhileTesting = false;
  for (int i = 0; i < 20000 && (shownItem != treeitem::kMultiTest || multi->IsSequenceActive()); ++i) {
    if (SelectedItem() != shownItem) {
      Show(SelectedItem());
      hdrlWhileTesting = hdrlWhileTesting || (shownItem == treeitem::kHdrlTest && DeviceTesting());
    }
    clock.Advance(100);
  }
  EXPECT_FALSE(hdrlWhileTesting);
  EXPECT_EQ(multi->StatusLines(), (std::vector<std::string>{Text("PST_STARTED"), Text("PST_COMPLETE"),
                                                            Text("HDRLTEST_STARTED"), Text("HDRLTEST_COMPLETE"),
                                                            Text("MULTITEST_FINISHED")}));
}

// ---- The HDRL message names the command the device last answered.

// A run stopped in an outage leaves the valve at the first stair's 0 %; a
// second start in the same outage never reaches the device: both messages
// name 0 %, not the command read before the first run.
TEST_F(SharedEngine, TheHdrlMessageNamesTheLastCommandTheDeviceAnswered) {
  device->SetVariable(8, 1);
  device->SetVariable(3, 50);
  ShowIdle(treeitem::kHdrlTest);
  ASSERT_TRUE(Enabled(hdrl(), Hdrl::kStartId));
  person.Answer(IDYES);
  Click(hdrl(), Hdrl::kStartId);
  clock.Advance(500);
  ASSERT_TRUE(hdrl()->IsRunning());
  device->InjectNoReply(-1);
  Click(hdrl(), Hdrl::kStopId);
  const std::string notRead = Text("HDRL_RESTORE_NOT_READ") + " 0.0 %";
  person.Answer(IDOK);
  for (int i = 0; i < 100 && hdrl()->IsRunning(); ++i) clock.Advance(500);
  ASSERT_FALSE(person.Asked().empty());
  EXPECT_EQ(person.Asked().back().text, notRead);

  const size_t asked = person.Asked().size();
  person.Answer(IDYES).Answer(IDOK).Answer(IDOK);  // the question, the message, "not started"
  Click(hdrl(), Hdrl::kStartId);
  for (int i = 0; i < 100 && (i == 0 || hdrl()->IsRunning()); ++i) clock.Advance(500);
  ASSERT_EQ(person.Asked().size(), asked + 3);
  EXPECT_EQ(person.Asked()[asked + 1].text, notRead);
  device->ClearFaults();
}

}  // namespace
