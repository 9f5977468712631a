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
using testpages::StatusText;
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

  // A test page with its set-up, as the engineer fills it in.
  struct PageCase {
    const char* name;
    int item;
    int start, stop, status;
    std::vector<std::pair<int, const char*>> setup;
  };
  CRecordedTestPage* Prepare(const PageCase& c) {
    ShowIdle(c.item);
    auto* page = static_cast<CRecordedTestPage*>(shown);
    for (const auto& [id, text] : c.setup) Type(page, id, text);
    if (c.item == treeitem::kRampTest && ramp()->IsDlgButtonChecked(Ramp::kBidirectionalBox))
      Click(ramp(), Ramp::kBidirectionalBox);
    return page;
  }
  // Time in ticks of 100 ms; a start (set-up write) that reaches a device
  // running a test, and any status the page must never show, are counted.
  void Watch(int ms, CRecordedTestPage* page = nullptr, int status = 0, const char* never = nullptr) {
    for (int t = 0; t < ms; t += 100) {
      // A sequence shows its pages through the tree.
      if (multi->IsSequenceActive() && SelectedItem() != shownItem) Show(SelectedItem());
      const bool testing = DeviceTesting();
      const size_t before = device->Requests().size();
      clock.Advance(100);
      const auto& sent = device->Requests();
      for (size_t r = before; r < sent.size(); ++r)
        startsOverARun += testing && sent[r].size() > 3 && sent[r][0] == 201 && sent[r][3] == 142;
      if (page && never) saidNever += page->GetDlgItemText(status) == StatusText(never);
    }
  }
  // Start pressed, Yes to the question; time until the start is the next write.
  void StartUntilItsWrite(CRecordedTestPage* page, int startId) {
    ASSERT_TRUE(Enabled(page, startId)) << page->GetStep();
    person.Answer(IDYES);
    Click(page, startId);
    for (int i = 0; i < 100 && page->GetStep() != CRecordedTestPage::kSetupStep; ++i) Watch(100);
    ASSERT_EQ(page->GetStep(), CRecordedTestPage::kSetupStep);
  }
  // The page's test started, and running in the device 3 s later.
  CRecordedTestPage* StartRunning(const PageCase& c) {
    CRecordedTestPage* page = Prepare(c);
    StartUntilItsWrite(page, c.start);
    Watch(3000);
    EXPECT_TRUE(DeviceTesting());
    return page;
  }
  // Until the page's run is over and it idles.
  void WatchToTheEnd(CRecordedTestPage* page, int status = 0, const char* never = nullptr) {
    for (int i = 0; i < 3000 && (i < 5 || page->IsTestRunning() || page->GetStep() != CRecordedTestPage::kIdleStep);
         ++i)
      Watch(100, page, status, never);
  }
  size_t AbortsSent() {
    const auto& sent = device->Requests();
    return static_cast<size_t>(std::count(sent.begin(), sent.end(), Bytes{201, 3, 0, 144, 0x22}));
  }

  int startsOverARun = 0;
  int saidNever = 0;
};

const std::vector<SharedEngine::PageCase> kPages = {
    {"ramp",
     treeitem::kRampTest,
     Ramp::kStartId,
     Ramp::kStopId,
     Ramp::kStatusId,
     {{Ramp::kStartEdit, "20"}, {Ramp::kStopEdit, "80"}, {Ramp::kHoldEdit, "2"}, {Ramp::kRampEdit, "20"}}},
    {"step",
     treeitem::kStepTest,
     Step::kStartId,
     Step::kStopId,
     Step::kStatusId,
     {{Step::kStartPosId, "20"}, {Step::kStopPosId, "60"}, {Step::kHoldId, "3"}}},
    {"partial stroke",
     treeitem::kPartialStrokeTest,
     Pst::kStartId,
     Pst::kStopId,
     Pst::kStatusId,
     {{Pst::kStartPosId, "100"}, {Pst::kStopPosId, "90"}, {Pst::kHoldId, "5"}, {Pst::kRampId, "10"},
      {Pst::kTimeLimitId, "30"}}},
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
  ASSERT_EQ(ramp()->GetDlgItemText(Ramp::kStatusId), StatusText("VeskTEST_COMPLETE"));

  ShowIdle(treeitem::kStepTest);
  for (const auto& [id, text] : {std::pair{Step::kStartPosId, "20"}, {Step::kStopPosId, "60"}, {Step::kHoldId, "3"}})
    Type(step(), id, text);
  ASSERT_NO_FATAL_FAILURE(RunTest(step(), Step::kStartId));
  ASSERT_EQ(step()->GetDlgItemText(Step::kStatusId), StatusText("VeskTEST_COMPLETE"));

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
      EXPECT_NE(page->GetDlgItemText(c.status), StatusText("TESTNOTSTARTED"));
      linkLostSaid = linkLostSaid || page->GetDlgItemText(c.status) == StatusText("TEST_LINK_LOST");
    }
    EXPECT_TRUE(linkLostSaid);
    EXPECT_TRUE(page->IsTestRunning());
    device->ClearFaults();
    for (int i = 0; i < 3000 && page->IsTestRunning(); ++i) clock.Advance(100);
    EXPECT_EQ(SetupWrites(), 1u);
    EXPECT_EQ(page->GetDlgItemText(c.status), StatusText("VeskTEST_COMPLETE"));
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
  EXPECT_EQ(step()->GetDlgItemText(Step::kStatusId), StatusText("VeskTEST_COMPLETE"));
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

// ---- A start and a stop count by what the device did.

// The start carried out, and its reply and the twelve after it garbled: the
// start is written once, never again over the device's run of it, and the
// page follows that run to its record.
TEST_F(SharedEngine, AStartWhoseOutcomeIsUnknownIsNeverWrittenAgainOverTheDevicesRun) {
  const std::pair<const char*, sim::Fault> faults[] = {{"wrong echo", {sim::FaultKind::WrongEcho, 0}},
                                                       {"cut", {sim::FaultKind::ShortReply, 3}},
                                                       {"byte count", {sim::FaultKind::LongByteCount, 0}}};
  for (const PageCase& c : kPages)
    for (const auto& [name, fault] : faults) {
      SCOPED_TRACE(std::string(c.name) + ", " + name);
      CRecordedTestPage* page = Prepare(c);
      ASSERT_NO_FATAL_FAILURE(StartUntilItsWrite(page, c.start));
      const size_t writes = SetupWrites();
      device->InjectFault(fault, 13);
      WatchToTheEnd(page);
      EXPECT_EQ(SetupWrites() - writes, 1u);
      EXPECT_EQ(startsOverARun, 0);
      EXPECT_EQ(page->GetDlgItemText(c.status), StatusText("VeskTEST_COMPLETE"));
      EXPECT_FALSE(page->HasNoRunToKeep());
    }
}

// "Did not start" only when clean reads show the device never ran it.
TEST_F(SharedEngine, APageSaysATestDidNotStartOnlyWhenTheDeviceNeverRanIt) {
  const PageCase& steps = kPages[1];
  const auto start = [&] {
    auto* page = static_cast<CRecordedTestPage*>(shown);
    StartUntilItsWrite(page, steps.start);
  };
  // Four starts lost, the fifth carried out with its reply cut, the reads
  // after it garbled: the run is followed to its record.
  CRecordedTestPage* page = Prepare(steps);
  size_t writes = SetupWrites();
  ASSERT_NO_FATAL_FAILURE(start());
  for (int lost = 0; lost < 4; ++lost) {
    device->InjectNoReply();
    for (int i = 0; i < 20 && page->GetStep() == CRecordedTestPage::kSetupStep; ++i) Watch(100);
    for (int i = 0; i < 20 && page->GetStep() != CRecordedTestPage::kSetupStep; ++i)
      Watch(100, page, steps.status, "TESTNOTSTARTED");
    ASSERT_EQ(page->GetStep(), CRecordedTestPage::kSetupStep) << lost;
  }
  device->InjectShortReply(3);
  device->InjectWrongEcho(12);
  WatchToTheEnd(page, steps.status, "TESTNOTSTARTED");
  EXPECT_EQ(SetupWrites() - writes, 5u);
  EXPECT_EQ(saidNever, 0);
  EXPECT_EQ(page->GetDlgItemText(steps.status), StatusText("VeskTEST_COMPLETE"));

  // Carried out, its reply lost, then an outage longer than the run: the
  // device ran it whole, and the page shows that record.
  Type(page, Step::kStopPosId, "70");
  writes = SetupWrites();
  ASSERT_NO_FATAL_FAILURE(start());
  device->InjectShortReply(0);
  device->InjectNoReply(-1);
  Watch(15000, page, steps.status, "TESTNOTSTARTED");
  EXPECT_FALSE(DeviceTesting());
  device->ClearFaults();
  WatchToTheEnd(page, steps.status, "TESTNOTSTARTED");
  EXPECT_EQ(SetupWrites() - writes, 1u);
  EXPECT_EQ(saidNever, 0);
  EXPECT_EQ(page->GetDlgItemText(steps.status), StatusText("VeskTEST_COMPLETE"));
  ASSERT_EQ(Points(page, "Command").size(), 208u);
  EXPECT_NEAR(Points(page, "Command").back().second, 70, 0.01);

  // The same set-up once more, the same faults: the device idle as before
  // with the same set-up cannot tell whether it ran, and the page says so.
  writes = SetupWrites();
  ASSERT_NO_FATAL_FAILURE(start());
  device->InjectShortReply(0);
  device->InjectNoReply(-1);
  Watch(15000, page, steps.status, "TESTNOTSTARTED");
  device->ClearFaults();
  WatchToTheEnd(page, steps.status, "TESTNOTSTARTED");
  EXPECT_EQ(SetupWrites() - writes, 1u);
  EXPECT_EQ(saidNever, 0);
  EXPECT_EQ(page->GetDlgItemText(steps.status), StatusText("TEST_START_UNCONFIRMED"));
  EXPECT_TRUE(page->HasNoRunToKeep());
  EXPECT_TRUE(Enabled(page, steps.start));
  EXPECT_FALSE(Enabled(page, Step::kSaveId));
  EXPECT_EQ(startsOverARun, 0);
}

// In a sequence, the ramp's start carried out with its reply lost and an
// outage over its whole run: the list says it completed, and the step test
// follows.
TEST_F(SharedEngine, ASequencesListSaysWhatTheDeviceDidWithAStartItCouldNotConfirm) {
  using Multi = CDiagnostics_OfflineView;
  Click(multi, Multi::kRampBoxId);
  Click(multi, Multi::kStepBoxId);
  for (const auto& [id, text] :
       {std::pair{Multi::kRampStartId, "20"}, {Multi::kRampStopId, "80"}, {Multi::kRampHoldId, "2"},
        {Multi::kRampTimeId, "10"}, {Multi::kStepStartId, "20"}, {Multi::kStepStopId, "60"},
        {Multi::kStepHoldId, "3"}})
    Type(multi, id, text);
  person.Answer(IDYES);
  Click(multi, Multi::kStartId);
  Follow(treeitem::kRampTest);
  for (int i = 0; i < 100 && ramp()->GetStep() != CRecordedTestPage::kSetupStep; ++i) Watch(100);
  ASSERT_EQ(ramp()->GetStep(), CRecordedTestPage::kSetupStep);
  device->InjectShortReply(0);
  device->InjectNoReply(-1);
  Watch(25000);
  EXPECT_FALSE(DeviceTesting());
  device->ClearFaults();
  person.Answer(IDCANCEL);  // the sequence's save question
  Follow();
  EXPECT_EQ(multi->StatusLines(), (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("RAMPTEST_COMPLETE"),
                                                            Text("STEPTEST_STARTED"), Text("STEPTEST_COMPLETE"),
                                                            Text("MULTITEST_FINISHED")}));
  EXPECT_EQ(startsOverARun, 0);
}

// Stop in an outage that outlasts the run: the page reads on with Stop
// offered, and once the device answers, shows the run it completed as its
// record, never "Test stopped"; no abort reaches the idle device.
TEST_F(SharedEngine, AnUnconfirmedStopIsFollowedToWhatTheDeviceDid) {
  for (const PageCase& c : kPages) {
    SCOPED_TRACE(c.name);
    CRecordedTestPage* page = nullptr;
    ASSERT_NO_FATAL_FAILURE(page = StartRunning(c));
    device->InjectNoReply(-1);
    Click(page, c.stop);
    bool unconfirmed = false;
    for (int t = 0; t < 30000; t += 100) {
      Watch(100, page, c.status, "STATUSABORTED");
      unconfirmed = unconfirmed || page->GetDlgItemText(c.status) == StatusText("STATUSABORTED_UNCONFIRMED");
      if (unconfirmed) {
        EXPECT_TRUE(Enabled(page, c.stop));
        EXPECT_FALSE(Enabled(page, c.start));
      }
    }
    EXPECT_TRUE(unconfirmed);
    EXPECT_FALSE(DeviceTesting());
    // A second Stop in the outage: the device is not seen testing, so no
    // abort goes out over the record it made.
    Click(page, c.stop);
    Watch(1000, page, c.status, "STATUSABORTED");
    const size_t aborts = AbortsSent();
    device->ClearFaults();
    WatchToTheEnd(page, c.status, "STATUSABORTED");
    EXPECT_EQ(AbortsSent(), aborts);
    EXPECT_EQ(saidNever, 0);
    EXPECT_EQ(page->GetDlgItemText(c.status), StatusText("VeskTEST_COMPLETE"));
    EXPECT_FALSE(page->HasNoRunToKeep());
    EXPECT_TRUE(Enabled(page, c.start));
    EXPECT_FALSE(Enabled(page, c.stop));
  }
}

// ---- A stop is for one run, a start for its click.

// The device finishes the run whole while its replies are garbled; the link
// clean again, Stop is pressed before the page has read the end: the abort
// is never written over the finished run, whose record is downloaded.
TEST_F(SharedEngine, AStopOverARunThatEndedWholeWritesNoAbortAndShowsItsRecord) {
  for (const PageCase& c : kPages) {
    SCOPED_TRACE(c.name);
    CRecordedTestPage* page = nullptr;
    ASSERT_NO_FATAL_FAILURE(page = StartRunning(c));
    device->InjectWrongEcho(-1);
    for (int t = 0; t < 90000 && DeviceTesting(); t += 100) Watch(100);
    ASSERT_FALSE(DeviceTesting());
    device->ClearFaults();
    const size_t aborts = AbortsSent();
    Click(page, c.stop);
    WatchToTheEnd(page, c.status, "STATUSABORTED");
    EXPECT_EQ(AbortsSent(), aborts);
    EXPECT_EQ(saidNever, 0);
    EXPECT_EQ(page->GetDlgItemText(c.status), StatusText("VeskTEST_COMPLETE"));
    EXPECT_FALSE(page->HasNoRunToKeep());
  }
}

// The same in a sequence: its list says the ramp completed, never stopped.
TEST_F(SharedEngine, ASequencesStopOverARunThatEndedWholeListsItComplete) {
  using Multi = CDiagnostics_OfflineView;
  Click(multi, Multi::kRampBoxId);
  for (const auto& [id, text] : {std::pair{Multi::kRampStartId, "20"}, {Multi::kRampStopId, "80"},
                                 {Multi::kRampHoldId, "2"}, {Multi::kRampTimeId, "10"}})
    Type(multi, id, text);
  person.Answer(IDYES);
  Click(multi, Multi::kStartId);
  Follow(treeitem::kRampTest);
  for (int i = 0; i < 100 && !DeviceTesting(); ++i) Watch(100);
  ASSERT_TRUE(DeviceTesting());
  device->InjectWrongEcho(-1);
  for (int t = 0; t < 60000 && DeviceTesting(); t += 100) Watch(100);
  device->ClearFaults();
  const size_t aborts = AbortsSent();
  Click(ramp(), Ramp::kStopId);
  person.Answer(IDCANCEL);  // the sequence's save question
  Follow();
  EXPECT_EQ(AbortsSent(), aborts);
  EXPECT_EQ(multi->StatusLines(), (std::vector<std::string>{Text("RAMPTEST_STARTED"), Text("RAMPTEST_COMPLETE"),
                                                            Text("MULTITEST_FINISHED")}));
}

// In a sequence the partial stroke page reads its run's record once the
// run is over. Until the record is drawn whole the page neither says the
// test complete nor offers Save or Print; Stop in that time, as the results
// come in or while the blocks are drawn, stops that run's download and
// says so as the ramp and step pages do, on the page and in the list.
struct PstStopMoment {
  const char* name;
  bool (*reached)(const CRecordedTestPage&);
};
class SequencePstStop : public SharedEngine, public testing::WithParamInterface<PstStopMoment> {};

TEST_P(SequencePstStop, IsAStoppedDownloadAndNothingIsCompleteBeforeTheRecordIsDrawn) {
  using Multi = CDiagnostics_OfflineView;
  Click(multi, Multi::kPstBoxId);
  for (const auto& [id, text] : {std::pair{Multi::kPstStartId, "100"}, {Multi::kPstStopId, "90"},
                                 {Multi::kPstTimeLimitId, "30"}, {Multi::kPstRampTimeId, "10"},
                                 {Multi::kPstHoldId, "5"}})
    Type(multi, id, text);
  person.Answer(IDYES);
  Click(multi, Multi::kStartId);
  Follow(treeitem::kPartialStrokeTest);
  const std::string complete = StatusText("VeskTEST_COMPLETE");
  auto checkOffers = [&] {
    if (testsupport::PlotPoints(pst()->GetPlot(), "Command").size() == 208) return;
    EXPECT_NE(pst()->GetDlgItemText(Pst::kStatusId), complete);
    EXPECT_FALSE(Enabled(pst(), Pst::kSaveId));
    EXPECT_FALSE(Enabled(pst(), Pst::kPrintId));
  };
  for (int i = 0; i < 1200 && (pst()->IsTestRunning() || !GetParam().reached(*pst())); ++i) {
    Watch(100);
    checkOffers();
  }
  ASSERT_TRUE(GetParam().reached(*pst()));
  Click(pst(), Pst::kStopId);
  for (int i = 0; i < 100 && multi->IsSequenceActive(); ++i) {
    Watch(100);
    checkOffers();
  }
  Follow();
  EXPECT_EQ(pst()->GetDlgItemText(Pst::kStatusId), StatusText("TEST_DOWNLOAD_STOPPED"));
  EXPECT_FALSE(Enabled(pst(), Pst::kSaveId));
  EXPECT_FALSE(Enabled(pst(), Pst::kPrintId));
  EXPECT_EQ(multi->StatusLines(), (std::vector<std::string>{Text("PST_STARTED"), Text("TEST_DOWNLOAD_STOPPED"),
                                                            Text("MULTITEST_FINISHED"),
                                                            Text("MULTITEST_NOTHING_TO_SAVE")}));
}

INSTANTIATE_TEST_SUITE_P(
    Moments, SequencePstStop,
    testing::Values(PstStopMoment{"AsItsResultsCome",
                                  [](const CRecordedTestPage& p) {
                                    return p.GetStep() == CRecordedTestPage::kIdleStep && p.GetRequest() != 0;
                                  }},
                    PstStopMoment{"WhileItsBlocksAreDrawn",
                                  [](const CRecordedTestPage& p) {
                                    return p.GetStep() == CRecordedTestPage::kBlockStep;
                                  }}),
    [](const testing::TestParamInfo<PstStopMoment>& info) { return info.param.name; });

// A run's record on show, then Retrieve Baseline stopped once the edits
// hold the baseline's set-up but before its blocks are drawn: nothing on
// show is a record to save or print, and the page shown again does not
// call it the baseline.
TEST_F(SharedEngine, AStoppedRetrievalLeavesNothingToSaveOrPrint) {
  CRecordedTestPage* page = Prepare(kPages[0]);
  ASSERT_NO_FATAL_FAILURE(RunTest(page, Ramp::kStartId));
  ASSERT_TRUE(Enabled(page, Ramp::kSaveId));
  Click(page, Ramp::kRetrieveId);
  for (int i = 0; i < 100 && page->GetStep() != CRecordedTestPage::kPrepareStep; ++i) clock.Advance(100);
  ASSERT_EQ(page->GetStep(), CRecordedTestPage::kPrepareStep);
  Click(page, Ramp::kStopId);
  Watch(2000);
  EXPECT_EQ(page->GetDlgItemText(Ramp::kStatusId), StatusText("TEST_RETRIEVAL_STOPPED"));
  for (int id : {Ramp::kSaveId, Ramp::kPrintId}) EXPECT_FALSE(Enabled(page, id)) << id;
  EXPECT_TRUE(Enabled(page, Ramp::kStartId));
  Show(treeitem::kMultiTest);
  ShowIdle(treeitem::kRampTest);
  EXPECT_NE(page->GetDlgItemText(Ramp::kStatusId), StatusText("IDC_LABEL_BASELINE_DATA"));
  for (int id : {Ramp::kSaveId, Ramp::kPrintId}) EXPECT_FALSE(Enabled(page, id)) << id;
}

// Stop over what is not a run in the device writes nothing there, and says
// what it ended: a start not yet written, a retrieval of a stored record.
TEST_F(SharedEngine, AStopOverNoRunOfTheDevicesWritesNothingAndSaysWhatItEnded) {
  struct Case {
    const char* name;
    int press;  // Start (with Yes) or Retrieve Baseline
    const char* says;
  };
  for (const Case& c : {Case{"start", Ramp::kStartId, "TEST_START_CANCELLED"},
                        Case{"retrieval", Ramp::kRetrieveId, "TEST_RETRIEVAL_STOPPED"}}) {
    SCOPED_TRACE(c.name);
    CRecordedTestPage* page = Prepare(kPages[0]);
    device->ClearRequests();
    if (c.press == Ramp::kStartId) person.Answer(IDYES);
    Click(page, c.press);
    Click(page, Ramp::kStopId);
    Watch(5000);
    for (const Bytes& r : device->Requests()) EXPECT_FALSE(r.size() > 3 && r[0] == 201 && r[3] != 141) << r.size();
    EXPECT_FALSE(DeviceTesting());
    EXPECT_EQ(page->GetDlgItemText(Ramp::kStatusId), StatusText(c.says));
    EXPECT_TRUE(Enabled(page, Ramp::kStartId));
    EXPECT_FALSE(Enabled(page, Ramp::kStopId));
  }
}

// A download's Stop in an outage, the page left; a ramp test started on the
// ramp page; the step page shown again writes no abort over the ramp's run.
TEST_F(SharedEngine, AStopNeverReachesARunStartedAfterIt) {
  CRecordedTestPage* steps = Prepare(kPages[1]);
  person.Answer(IDYES);
  Click(steps, Step::kStartId);
  for (int i = 0; i < 600 && steps->GetStep() != CRecordedTestPage::kBlockStep; ++i) Watch(100);
  ASSERT_EQ(steps->GetStep(), CRecordedTestPage::kBlockStep);
  device->InjectNoReply(-1);
  Click(steps, Step::kStopId);
  Watch(8000);
  device->ClearFaults();
  CRecordedTestPage* ramps = Prepare(kPages[0]);
  ASSERT_NO_FATAL_FAILURE(StartUntilItsWrite(ramps, Ramp::kStartId));
  Watch(2000);
  ASSERT_TRUE(DeviceTesting());
  const size_t aborts = AbortsSent();
  Show(treeitem::kStepTest);
  Watch(5000);
  EXPECT_EQ(AbortsSent(), aborts);
  EXPECT_TRUE(DeviceTesting());
  EXPECT_NE(steps->GetDlgItemText(Step::kStatusId), StatusText("STATUSABORTED"));
}

// A start the device never took is not written again long after its click:
// not after an outage longer than its window, nor by the page shown again.
TEST_F(SharedEngine, AStartIsWrittenOnlySoonAfterItsClick) {
  struct Case {
    const char* name;
    int outageMs;
    bool leave;  // the page left in the outage and shown again after it
  };
  for (const Case& c : {Case{"outage", 40000, false}, Case{"left", 170000, true}}) {
    SCOPED_TRACE(c.name);
    CRecordedTestPage* page = Prepare(kPages[1]);
    ASSERT_NO_FATAL_FAILURE(StartUntilItsWrite(page, Step::kStartId));
    device->InjectNoReply(-1);
    Watch(1000);
    const size_t writes = SetupWrites();
    if (c.leave) Show(treeitem::kRampTest);
    Pass(c.outageMs);
    device->ClearFaults();
    if (c.leave) Show(treeitem::kStepTest);
    WatchToTheEnd(page);
    Watch(5000);
    EXPECT_EQ(SetupWrites(), writes);
    EXPECT_FALSE(DeviceTesting());
    EXPECT_EQ(page->GetDlgItemText(Step::kStatusId), StatusText("TESTNOTSTARTED"));
    EXPECT_TRUE(Enabled(page, Step::kStartId));
  }
}

// Stop pressed in an outage and not confirmed: no sequence starts while the
// stop is open, also once the link is back, and once the ramp has ended
// whole; the ramp page then shows the run it completed.
TEST_F(SharedEngine, NoSequenceStartsOverAnOpenStop) {
  using Multi = CDiagnostics_OfflineView;
  CRecordedTestPage* page = nullptr;
  ASSERT_NO_FATAL_FAILURE(page = StartRunning(kPages[0]));
  device->InjectNoReply(-1);
  Click(page, Ramp::kStopId);
  for (int t = 0; t < 20000 && page->GetDlgItemText(Ramp::kStatusId) != StatusText("STATUSABORTED_UNCONFIRMED"); t += 100)
    Watch(100);
  ASSERT_EQ(page->GetDlgItemText(Ramp::kStatusId), StatusText("STATUSABORTED_UNCONFIRMED"));
  ASSERT_TRUE(DeviceTesting());
  // The multi-test page shown in the outage, with the link back while the
  // ramp runs, and once the ramp has ended whole.
  for (const char* phase : {"outage", "link back", "ended whole"}) {
    SCOPED_TRACE(phase);
    device->ClearFaults();
    if (phase == std::string("outage")) device->InjectNoReply(-1);
    for (int t = 0; phase == std::string("ended whole") && t < 60000 && DeviceTesting(); t += 100) Pass(100);
    Show(treeitem::kMultiTest);
    Click(multi, Multi::kStepBoxId);
    for (const auto& [id, text] :
         {std::pair{Multi::kStepStartId, "20"}, {Multi::kStepStopId, "60"}, {Multi::kStepHoldId, "3"}})
      Type(multi, id, text);
    EXPECT_FALSE(Enabled(multi, Multi::kStartId));
    Click(multi, Multi::kStartId);
    EXPECT_FALSE(multi->IsSequenceActive());
    Click(multi, Multi::kStepBoxId);
  }
  ASSERT_FALSE(DeviceTesting());
  Show(treeitem::kRampTest);
  WatchToTheEnd(page);
  EXPECT_EQ(page->GetDlgItemText(Ramp::kStatusId), StatusText("VeskTEST_COMPLETE"));
  EXPECT_FALSE(page->HasNoRunToKeep());
}

// ---- The elapsed time is the run's.

// The page left while its run goes on and shown again: the seconds since
// the run began, not the ticks the page saw.
TEST_F(SharedEngine, TheElapsedTimeCountsTheRunsSecondsAlsoWhileThePageWasAway) {
  struct Case {
    const PageCase* page;
    int elapsed, hold;
  };
  for (const Case& c : {Case{&kPages[0], Ramp::kElapsedId, Ramp::kHoldEdit}, Case{&kPages[1], Step::kElapsedId, Step::kHoldId}}) {
    SCOPED_TRACE(c.page->name);
    CRecordedTestPage* page = Prepare(*c.page);
    const int elapsed = c.elapsed;
    Type(page, c.hold, "80");
    person.Answer(IDYES);
    Click(page, c.page->start);
    Pass(8000);
    Show(treeitem::kMultiTest);
    Pass(50000);
    Show(c.page->item);
    Pass(1000);
    ASSERT_TRUE(page->IsTestRunning());
    // Left 8 s after the click, shown again 58 s after the run began.
    EXPECT_NEAR(std::stoi(page->GetDlgItemText(elapsed)), 58, 1);
    WatchToTheEnd(page);
  }
}

// Start pressed and the page left after its record selection, before its
// start; another page's test runs; the first page shown again offers Start
// within a few polls of the device going idle.
TEST_F(SharedEngine, APageShownAgainAfterAnotherPagesTestOffersStartOnceTheDeviceIsIdle) {
  CRecordedTestPage* first = Prepare(kPages[0]);
  person.Answer(IDYES);
  Click(first, Ramp::kStartId);
  for (int i = 0; i < 100 && first->GetStep() != CRecordedTestPage::kSetupBeforeStep &&
                  first->GetStep() != CRecordedTestPage::kSetupStep;
       ++i)
    Watch(100);
  ASSERT_EQ(SetupWrites(), 0u);
  CRecordedTestPage* second = Prepare(kPages[1]);
  ASSERT_NO_FATAL_FAILURE(StartUntilItsWrite(second, Step::kStartId));
  Watch(1000);
  ASSERT_TRUE(DeviceTesting());
  Show(treeitem::kRampTest);
  bool startWhileTesting = false;
  int idleMs = -1;
  for (int t = 0; t < 120000 && (idleMs < 0 || t - idleMs < 10000); t += 100) {
    if (DeviceTesting()) {
      startWhileTesting = startWhileTesting || Enabled(first, Ramp::kStartId);
    } else if (idleMs < 0) {
      idleMs = t;
    }
    Watch(100);
  }
  EXPECT_FALSE(startWhileTesting);
  EXPECT_GE(idleMs, 0);
  EXPECT_TRUE(Enabled(first, Ramp::kStartId));
  EXPECT_FALSE(Enabled(first, Ramp::kStopId));
  EXPECT_EQ(SetupWrites(), 1u);  // the step test's only
  EXPECT_EQ(startsOverARun, 0);
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
