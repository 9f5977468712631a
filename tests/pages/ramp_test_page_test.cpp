// The ramp test page against the simulated positioner on the manual clock:
// the frames of each tick, the download drawn into the plot, the checks of
// the settings, the plot's views, and the test files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/ramp_test_page.h"
#include "files/fixture.h"
#include "recorded_test_faults.h"
#include "test_page_fixture.h"
#include "platform/win/resources.h"
#include "support/language_table.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using View = CDiagnostics_RampTestView;

const Bytes kEnterCommand = {201, 3, 0, 141, 5};
const Bytes kReadSetup = Read200({116, 150, 391, 410, 56, 142, 143, 145, 149, 144, 147});
const Bytes kReadState = Read200({146, 144});
const Bytes kRewind = {201, 3, 0, 147, 0};
const Bytes kBlockRead = {214};
const Bytes kAbort = {201, 3, 0, 144, 0x22};

// 201 with 142 = 10, 143 = 90, 145 = 5, 149 = 60 and then 144.
Bytes SetupFrame(std::uint8_t type) {
  return {201, 27, 0, 142, 0x41, 0x20, 0, 0, 0, 143, 0x42, 0xB4, 0, 0,
          0, 145, 0x40, 0xA0, 0, 0, 0, 149, 0x42, 0x70, 0, 0, 0, 144, type};
}
// The same with 142 = 30 (41 F0 00 00) and 143 = 70 (42 8C 00 00), one way.
const Bytes kSetup30To70 = {201, 27, 0, 142, 0x41, 0xF0, 0, 0, 0, 143, 0x42, 0x8C, 0, 0,
                            0, 145, 0x40, 0xA0, 0, 0, 0, 149, 0x42, 0x70, 0, 0, 0, 144, 9};

using testpages::kInvalidIcon;
using testpages::kValidIcon;
const char* const kOpening[] = {"PosnvCmdOpen", "ILCmdvCmdOpen", "ILPosnvCmdOpen"};
const char* const kClosing[] = {"PosnvCmdClose", "ILCmdvCmdClose", "ILPosnvCmdClose"};

using testpages::StatusText;
using testpages::Text;

class RampPage : public testpages::DiagnosticPage<View, 18> {
 public:
  // The requests since the last look.
  std::vector<Bytes> Sent() {
    std::vector<Bytes> sent = device->Requests();
    device->ClearRequests();
    return sent;
  }
  bool Checked(int id) { return page->IsDlgButtonChecked(id) == BST_CHECKED; }
  void Type(int id, const std::string& text) { page->SetDlgItemText(id, text.c_str()); }
  void SetBox(int id, bool on) {
    if (Checked(id) != on) Click(id);
  }


  // Shown: the entry command and the set-up read.
  void Show() {
    page->StartMonitoring();
    Tick(2);
    Sent();
  }
  // Ticks until the page is idle again; the frames sent meanwhile. The
  // transaction of `lost` goes unanswered the first `times` it is due.
  std::vector<Bytes> RunToEnd(int lost = 0, int times = 0) {
    std::vector<Bytes> sent;
    for (int i = 0; i < 400 && (i == 0 || page->GetStep() != CRecordedTestPage::kIdleStep); ++i) {
      if (times > 0 && NextStep() == lost) {
        device->InjectNoReply();
        --times;
      }
      Tick();
      for (Bytes& b : Sent()) sent.push_back(std::move(b));
    }
    EXPECT_EQ(page->GetStep(), CRecordedTestPage::kIdleStep);
    return sent;
  }
  // The step the next tick runs.
  int NextStep() {
    switch (page->GetRequest()) {
      case CRecordedTestPage::kStartRequest: return CRecordedTestPage::kCommandStep;
      case CRecordedTestPage::kStopRequest: return CRecordedTestPage::kAbortStep;
      case CRecordedTestPage::kBaselineRequest: return CRecordedTestPage::kBaselineStep;
      default: return page->GetStep();
    }
  }
  using DiagnosticPage::Count;  // the requests the device received
  static size_t Count(const std::vector<Bytes>& sent, const Bytes& frame) {
    return static_cast<size_t>(std::count(sent.begin(), sent.end(), frame));
  }
  bool DeviceTesting() { return device->State().tests.run.type != 0; }
  // Every point of the four time channels of a one-way run at i x step.
  void ExpectWholeRecord(double step) {
    for (const char* channel : {"Command", "Position", "ILCmd", "ILPos"}) {
      const auto points = Points(channel);
      ASSERT_EQ(points.size(), 208u) << channel;
      for (size_t i = 0; i < points.size(); ++i) ASSERT_DOUBLE_EQ(points[i].first, i * step) << channel << " " << i;
    }
  }
  // A test the page knows nothing of, started in the device as another
  // program would: one way from `start` to `stop`, hold 5 s, ramp 60 s
  // unless told.
  void StartInDevice(double start, double stop, double rampSeconds = 60) {
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_dVar142 = start;
    comm.m_dVar143 = stop;
    comm.m_dVar145 = 5;
    comm.m_dVar149 = rampSeconds;
    comm.m_byTestState = 9;
    ASSERT_TRUE(comm.WriteTestSetup());
    Sent();
  }
};

TEST_F(RampPage, ShowingWritesTheEntryCommandReadsTheSetUpAndShowsIt) {
  device->SetVariable(116, 1.5);
  device->SetVariable(150, 49);
  device->SetVariable(410, 1);
  page->StartMonitoring();
  Tick();
  EXPECT_EQ(Sent(), std::vector<Bytes>{kEnterCommand});
  Tick();
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadSetup});
  EXPECT_EQ(Field(View::kStartEdit), "10.0");
  EXPECT_EQ(Field(View::kStopEdit), "90.0");
  EXPECT_EQ(Field(View::kHoldEdit), "5.0");
  EXPECT_EQ(Field(View::kRampEdit), "60.0");
  EXPECT_EQ(Field(View::kStrokeEdit), "  1.5");
  EXPECT_EQ(Field(View::kStrokeUnit), "mm");
  EXPECT_EQ(Field(View::kActuatorEdit), "69.0");
  EXPECT_EQ(Field(View::kAreaUnit), "cm\u00B2");
  EXPECT_EQ(page->GetTestDirection(), 4);
  for (int id : {View::kRetrieveId, View::kLoadId, View::kStartId}) EXPECT_TRUE(Enabled(id)) << id;
  // Nothing run or opened: nothing to save or print.
  for (int id : {View::kSaveId, View::kPrintId, View::kStopId}) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Checked(View::kBidirectionalBox));  // as the page is built
  Tick();
  EXPECT_EQ(Sent(), std::vector<Bytes>{Read200({8, 42})});  // idle: the status poll first
}

struct StartCase {
  bool bidirectional, innerLoop, baseline;
  std::uint8_t command, type;
};

TEST_F(RampPage, StartWritesTheTestCommandThenTheSettingsWithTheTestType) {
  const StartCase cases[] = {
      {false, false, false, 5, 9},
      {false, true, false, 5, 65},
      {true, false, true, 1, 13},
      {true, true, false, 5, 69},
  };
  Show();
  for (const StartCase& c : cases) {
    SCOPED_TRACE(int(c.type));
    SetBox(View::kBidirectionalBox, c.bidirectional);
    SetBox(View::kInnerLoopBox, c.innerLoop);
    SetBox(View::kBaselineBox, c.baseline);
    Start();
    EXPECT_EQ(person.Asked().back().text, Text("CAUSEMOVEMENT") + "\n" + Text("CONTINUE"));
    Tick();
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{201, 3, 0, 141, c.command}}));
    EXPECT_EQ(Field(View::kStatusId), Text("IDC_CHECKMGTINIT"));
    EXPECT_FALSE(Enabled(View::kStartId));
    Tick();
    EXPECT_EQ(Sent(), std::vector<Bytes>{SetupFrame(c.type)});
    EXPECT_TRUE(Enabled(View::kStopId));
    Tick();
    EXPECT_EQ(Sent(), std::vector<Bytes>{kReadState});
    EXPECT_EQ(Field(View::kStatusId), Text("EDT_ALM_COM6"));
    Click(View::kStopId);
    Tick();
    EXPECT_EQ(Sent(), (std::vector<Bytes>{kReadState, kAbort}));  // read first, in the same tick
    Tick();  // the device seen to test no longer
    EXPECT_EQ(Sent(), std::vector<Bytes>{kReadState});
  }
}

TEST_F(RampPage, OneWayRunIsWaitedForThenDownloadedIntoTimeAndOpeningChannels) {
  Show();
  SetBox(View::kBidirectionalBox, false);
  Start();
  const std::vector<Bytes> sent = RunToEnd();
  ASSERT_GE(sent.size(), 2u + 52u + 1u);
  EXPECT_EQ(sent[0], kEnterCommand);
  EXPECT_EQ(sent[1], SetupFrame(9));
  // Waiting until the record is ready (66 s), then the pointer and 52 blocks.
  const size_t waits = sent.size() - 2 - 1 - 52;
  EXPECT_GE(waits, 66u);
  for (size_t i = 2; i < 2 + waits; ++i) EXPECT_EQ(sent[i], kReadState) << i;
  EXPECT_EQ(sent[2 + waits], kRewind);
  for (size_t i = 3 + waits; i < sent.size(); ++i) EXPECT_EQ(sent[i], kBlockRead) << i;

  EXPECT_DOUBLE_EQ(page->GetTimeStep(), 66.0 / 208);
  EXPECT_DOUBLE_EQ(Axis(true, "RampX").second, 66.0);
  const auto command = Points("Command");
  const auto position = Points("Position");
  ASSERT_EQ(command.size(), 208u);
  ASSERT_EQ(position.size(), 208u);
  ASSERT_EQ(Points("ILCmd").size(), 208u);
  ASSERT_EQ(Points("ILPos").size(), 208u);
  for (size_t i = 0; i < 208; ++i) {
    EXPECT_DOUBLE_EQ(command[i].first, i * 66.0 / 208) << i;
    EXPECT_DOUBLE_EQ(position[i].first, command[i].first) << i;
  }
  EXPECT_NEAR(command.front().second, 10, 0.01);
  EXPECT_NEAR(command.back().second, 90, 0.01);
  EXPECT_GT(command[104].second - position[104].second, 0.5);  // the valve lags the ramp
  for (const char* name : kOpening) EXPECT_EQ(Points(name).size(), 208u) << name;
  for (const char* name : kClosing) EXPECT_EQ(Points(name).size(), 0u) << name;
  const auto signature = Points("PosnvCmdOpen");
  EXPECT_EQ(signature[104], std::make_pair(command[104].second, position[104].second));

  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_FALSE(page->IsTestRunning());
  EXPECT_GE(page->GetElapsedSeconds(), 66);
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kStopId));
  const std::vector<std::string> lines = log.Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find("1st set PASSSTATEOPEN started") != std::string::npos;
  }));
}

TEST_F(RampPage, BidirectionalRunDrawsTheSecondPassIntoTheClosingChannels) {
  Show();
  ASSERT_TRUE(Checked(View::kBidirectionalBox));
  Start();
  const std::vector<Bytes> sent = RunToEnd();
  EXPECT_EQ(sent[1], SetupFrame(13));
  // Pass 2 is selected (141 = 6) and rewound, then read block by block.
  const std::vector<Bytes> lastPass(sent.end() - 54, sent.end());
  EXPECT_EQ(lastPass[0], (Bytes{201, 3, 0, 141, 6}));
  EXPECT_EQ(lastPass[1], kRewind);
  EXPECT_EQ(std::vector<Bytes>(lastPass.begin() + 2, lastPass.end()), std::vector<Bytes>(52, kBlockRead));

  EXPECT_DOUBLE_EQ(page->GetTimeStep(), 132.0 / 416);
  EXPECT_DOUBLE_EQ(Axis(true, "RampX").second, 132.0);
  const auto command = Points("Command");
  ASSERT_EQ(command.size(), 416u);
  for (size_t i = 0; i < 416; ++i) EXPECT_DOUBLE_EQ(command[i].first, i * 132.0 / 416) << i;
  EXPECT_NEAR(command[207].second, 90, 0.01);
  EXPECT_NEAR(command[415].second, 10, 0.01);
  for (const char* name : kOpening) EXPECT_EQ(Points(name).size(), 208u) << name;
  for (const char* name : kClosing) EXPECT_EQ(Points(name).size(), 208u) << name;
  EXPECT_NEAR(Points("PosnvCmdClose").back().first, 10, 0.01);
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
}

TEST_F(RampPage, StopWhileWaitingAbortsAtTheNextTickAndKeepsThePlot) {
  Show();
  Start();
  Tick(4);
  Sent();
  EXPECT_TRUE(page->IsTestRunning());
  Click(View::kStopId);
  EXPECT_FALSE(Enabled(View::kStopId));
  Tick();
  EXPECT_EQ(Sent(), (std::vector<Bytes>{kReadState, kAbort}));  // read first, in the same tick
  // Stopped once the device says it tests no longer.
  EXPECT_EQ(Field(View::kStatusId), Text("EDT_ALM_COM6"));
  EXPECT_FALSE(Enabled(View::kStartId));
  Tick();
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadState});
  EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_FALSE(page->IsTestRunning());
  for (int id : {View::kRetrieveId, View::kLoadId, View::kStartId}) EXPECT_TRUE(Enabled(id)) << id;
  // Nothing of a stopped run is a record to save or print.
  for (int id : {View::kSaveId, View::kPrintId, View::kStopId}) EXPECT_FALSE(Enabled(id)) << id;
  const int elapsed = page->GetElapsedSeconds();
  Tick(3);
  EXPECT_EQ(page->GetElapsedSeconds(), elapsed);
}

// After a completed run the device still reports its record ready: a start
// it did not take would bring that record back as this run.
TEST_F(RampPage, AStartTheDeviceDidNotTakeIsSentAgainAndTheRecordIsThisRuns) {
  struct Case {
    const char* name;
    int lost;  // the step whose write goes unanswered once
    Bytes frame;
  } cases[] = {
      {"test command", CRecordedTestPage::kCommandStep, kEnterCommand},
      {"start", CRecordedTestPage::kSetupStep, kSetup30To70},
  };
  Show();
  SetBox(View::kBidirectionalBox, false);
  Start();
  RunToEnd();
  ASSERT_NEAR(Points("Command").back().second, 90, 0.01);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Type(View::kStartEdit, "10");
    Type(View::kStopEdit, "90");
    Start();
    RunToEnd();  // the record of 10 -> 90 ready in the device
    Type(View::kStartEdit, "30");
    Type(View::kStopEdit, "70");
    Start();
    const std::vector<Bytes> sent = RunToEnd(c.lost, 1);
    EXPECT_EQ(Count(sent, c.frame), 2u);
    EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
    const auto command = Points("Command");
    ASSERT_EQ(command.size(), 208u);
    EXPECT_NEAR(command.front().second, 30, 0.01);
    EXPECT_NEAR(command.back().second, 70, 0.01);
  }
}

// Nothing of a run the device never started is drawn, saved or printed:
// each start is lost, and the clean read after it shows the device idle
// with the set-up of the run before.
TEST_F(RampPage, AStartTheDeviceNeverTakesEndsNotStartedWithNothingToKeep) {
  Show();
  SetBox(View::kBidirectionalBox, false);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Start();
    RunToEnd();
    ASSERT_EQ(Points("Command").size(), 208u);
    Type(View::kStartEdit, "30");
    const size_t asked = person.Asked().size();
    Start();
    Tick();
    Sent();
    size_t ticks = 0;
    std::vector<Bytes> sent;
    while (page->IsTestRunning() && ticks < 100) {
      if (page->GetStep() == CRecordedTestPage::kSetupStep) device->InjectNoReply();
      EXPECT_NE(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
      Tick();
      ++ticks;
      for (Bytes& b : Sent()) sent.push_back(std::move(b));
    }
    EXPECT_EQ(ticks, 10u);  // five starts, each judged by the set-up read after it
    EXPECT_TRUE(Enabled(View::kStartId));
    ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
    for (Bytes& b : Sent()) sent.push_back(std::move(b));
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const Bytes& b) { return b.size() > 3 && b[3] == 142; }),
              CRecordedTestPage::kMostTries);
    EXPECT_EQ(Field(View::kStatusId), StatusText("TESTNOTSTARTED"));
    EXPECT_FALSE(page->IsTestRunning());
    EXPECT_TRUE(page->HasNoRunToKeep());
    EXPECT_TRUE(Points("Command").empty());
    EXPECT_TRUE(Points("PosnvCmdOpen").empty());
    for (int id : {View::kRetrieveId, View::kLoadId, View::kStartId}) EXPECT_TRUE(Enabled(id)) << id;
    for (int id : {View::kSaveId, View::kPrintId, View::kStopId}) EXPECT_FALSE(Enabled(id)) << id;
    page->OnSave();  // as the multi-test page's "save all" calls it
    EXPECT_EQ(person.Asked().size(), asked + 1);  // the start question only
    // Shown again: still nothing to keep.
    page->StopMonitoring();
    page->StartMonitoring();
    EXPECT_FALSE(Enabled(View::kSaveId));
    Tick(2);
    Sent();
  }
  // A run that starts gives them back.
  Start();
  RunToEnd();
  EXPECT_EQ(Points("Command").size(), 208u);
  EXPECT_TRUE(Enabled(View::kSaveId));
  EXPECT_TRUE(Enabled(View::kPrintId));
}

// "Test stopped" only once the device says it tests no longer: an abort is
// written only in a tick whose clean read shows the device still testing,
// and Start waits for it.
TEST_F(RampPage, AStopTheDeviceDoesNotConfirmIsSentAgainAndNeverCalledStopped) {
  struct Case {
    int lost;  // replies lost from the first abort on; -1: all
    size_t aborts;
    const char* status;
  } cases[] = {
      {1, 1, "STATUSABORTED"},  // the read before the abort lost: the abort after a clean one
      {3, 1, "STATUSABORTED"},
      {-1, 0, "STATUSABORTED_UNCONFIRMED"},
  };
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lost);
    Start();
    Tick(4);
    Sent();
    ASSERT_TRUE(DeviceTesting());
    Click(View::kStopId);
    device->InjectNoReply(c.lost);
    std::vector<Bytes> sent;
    for (int i = 0; i < 20 && (i == 0 || page->GetStep() != CRecordedTestPage::kIdleStep); ++i) {
      Tick();
      for (Bytes& b : Sent()) sent.push_back(std::move(b));
      if (page->GetStep() == CRecordedTestPage::kIdleStep) break;
      EXPECT_NE(Field(View::kStatusId), Text("STATUSABORTED"));
      Type(View::kHoldEdit, "5.0");  // a valid setting gives Start no way back
      EXPECT_FALSE(Enabled(View::kStartId));
    }
    EXPECT_EQ(Count(sent, kAbort), c.aborts);
    EXPECT_EQ(Field(View::kStatusId), StatusText(c.status));
    EXPECT_FALSE(page->IsTestRunning());
    if (c.lost != -1) {
      EXPECT_FALSE(DeviceTesting());
      EXPECT_TRUE(Enabled(View::kStartId));
      EXPECT_FALSE(Enabled(View::kStopId));
      continue;
    }
    // Never confirmed: the valve may still move; Stop alone is offered.
    EXPECT_TRUE(DeviceTesting());
    Type(View::kHoldEdit, "5.0");
    EXPECT_FALSE(Enabled(View::kStartId));
    EXPECT_TRUE(Enabled(View::kStopId));
    Tick(3);
    EXPECT_EQ(Field(View::kStatusId), StatusText(c.status));
    device->ClearFaults();
    Sent();
    Click(View::kStopId);
    Tick(2);
    // Another abort only over a test seen running.
    EXPECT_EQ(Sent(), (std::vector<Bytes>{kReadState, kAbort, kReadState}));
    EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
    EXPECT_FALSE(DeviceTesting());
    EXPECT_TRUE(Enabled(View::kStartId));
  }
}

// A selection of a record (variable 141) the device did not take would
// have it serve another record in its place.
TEST_F(RampPage, ARecordSelectionTheDeviceDidNotTakeIsSentAgain) {
  Show();
  // The second pass of a run both ways.
  Start();
  std::vector<Bytes> sent = RunToEnd(CRecordedTestPage::kSecondPassStep, 1);
  EXPECT_EQ(Count(sent, {201, 3, 0, 141, 6}), 2u);
  auto command = Points("Command");
  ASSERT_EQ(command.size(), 416u);
  EXPECT_NEAR(command[208].second, 90, 0.01);
  EXPECT_NEAR(command[415].second, 10, 0.01);
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));

  // The baseline (the device's own, 0 -> 100 both ways), selected at the
  // first tick of the retrieval.
  Click(View::kRetrieveId);
  device->InjectNoReply();
  sent = RunToEnd();
  EXPECT_EQ(Count(sent, {201, 3, 0, 141, 1}), 2u);
  EXPECT_EQ(Field(View::kStartEdit), "0.0");
  EXPECT_EQ(Field(View::kStopEdit), "100.0");
  command = Points("Command");
  ASSERT_EQ(command.size(), 416u);
  EXPECT_NEAR(command.front().second, 0, 0.01);
  EXPECT_NEAR(command[207].second, 100, 0.01);
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));

  // Never taken: nothing drawn as the record.
  Click(View::kRetrieveId);
  device->InjectNoReply(-1);
  sent = RunToEnd();
  device->ClearFaults();
  EXPECT_EQ(Count(sent, {201, 3, 0, 141, 1}), static_cast<size_t>(CRecordedTestPage::kMostTries));
  EXPECT_EQ(Count(sent, {212}), 0u);
  EXPECT_EQ(Field(View::kStatusId), StatusText("TESTDATA_INCOMPLETE"));
  EXPECT_TRUE(Points("Command").empty());
  EXPECT_TRUE(Enabled(View::kStartId));
}

TEST_F(RampPage, RetrievedBidirectionalBaselineFillsTheSettingsQuietlyAndDrawsInItsOwnDirection) {
  // A closing bi-directional baseline in the device.
  Show();
  Type(View::kStartEdit, "90");
  Type(View::kStopEdit, "10");
  SetBox(View::kBaselineBox, true);
  Start();
  RunToEnd();
  SetBox(View::kBaselineBox, false);

  // The page now shows an opening one-way set-up and a bad start position.
  device->SetVariable(142, 10);
  device->SetVariable(143, 80);
  page->StartMonitoring();
  Tick(2);
  ASSERT_EQ(page->GetTestDirection(), 4);
  SetBox(View::kBidirectionalBox, false);
  Type(View::kStartEdit, "200");
  ASSERT_EQ(Icon(View::kStartIcon), kInvalidIcon);
  const int elapsed = page->GetElapsedSeconds();
  Sent();

  Click(View::kRetrieveId);
  Tick();
  EXPECT_EQ(Sent(), (std::vector<Bytes>{{201, 3, 0, 141, 1}}));
  EXPECT_FALSE(Enabled(View::kStartId));
  Tick();
  EXPECT_EQ(Sent(), std::vector<Bytes>{{212}});
  EXPECT_EQ(Field(View::kStartEdit), "90.0");
  EXPECT_EQ(Field(View::kStopEdit), "10.0");
  EXPECT_EQ(Field(View::kHoldEdit), "5.0");
  EXPECT_EQ(Field(View::kRampEdit), "60.0");
  EXPECT_TRUE(Checked(View::kBidirectionalBox));
  EXPECT_EQ(Icon(View::kStartIcon), kInvalidIcon);  // not checked while it comes in
  EXPECT_EQ(page->GetTestDirection(), 5);

  const std::vector<Bytes> sent = RunToEnd();
  const std::vector<Bytes> lastPass(sent.end() - 54, sent.end());
  EXPECT_EQ(lastPass[0], (Bytes{201, 3, 0, 141, 2}));
  EXPECT_EQ(lastPass[1], kRewind);
  EXPECT_EQ(Points("Command").size(), 416u);
  EXPECT_NEAR(Points("PosnvCmdClose").front().first, 90, 0.01);
  EXPECT_NEAR(Points("PosnvCmdOpen").front().first, 10, 0.01);
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_EQ(Icon(View::kStartIcon), kValidIcon);  // checked once complete
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_TRUE(page->IsBaselineLoaded());
  EXPECT_EQ(page->GetElapsedSeconds(), elapsed);  // a retrieval is not timed
}

TEST_F(RampPage, ARetrievedBaselineIsDrawnOnItsOwnAxes) {
  Show();
  Type(View::kStartEdit, "0");
  Type(View::kStopEdit, "100");
  SetBox(View::kBaselineBox, true);
  Start();
  RunToEnd();
  SetBox(View::kBaselineBox, false);
  Type(View::kStartEdit, "30");
  Type(View::kStopEdit, "70");
  Start();
  RunToEnd();
  ASSERT_EQ(Axis(false, "RampPerc"), std::make_pair(30.0, 80.0));

  Click(View::kRetrieveId);
  RunToEnd();
  ASSERT_EQ(Field(View::kStartEdit), "0.0");
  EXPECT_EQ(Axis(false, "RampPerc"), std::make_pair(0.0, 110.0));
}

TEST_F(RampPage, SettingsAreCheckedAgainstTheirRangesAndGovernStart) {
  const testpages::SettingCase cases[] = {
      {View::kStartEdit, View::kStartIcon, "-10", true, "TT_STARTPOS_ERROR"},
      {View::kStartEdit, View::kStartIcon, "110", true, "TT_STARTPOS_ERROR"},
      {View::kStartEdit, View::kStartIcon, "-10.1", false, "TT_STARTPOS_ERROR"},
      {View::kStopEdit, View::kStopIcon, "110.1", false, "TT_STOPPOS_ERROR"},
      {View::kHoldEdit, View::kHoldIcon, "655.35", true, "TT_PST_HOLDTIME_ERROR"},
      {View::kHoldEdit, View::kHoldIcon, "655.36", false, "TT_PST_HOLDTIME_ERROR"},
      {View::kHoldEdit, View::kHoldIcon, "", false, "TT_PST_HOLDTIME_ERROR"},
      {View::kRampEdit, View::kRampIcon, "0", true, "TT_PST_RAMPTIME_ERROR"},
      {View::kRampEdit, View::kRampIcon, "abc", false, "TT_PST_RAMPTIME_ERROR"},
  };
  Show();
  for (const testpages::SettingCase& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    Type(c.edit, c.text);
    ExpectJudged(c);
    EXPECT_EQ(Field(c.edit), c.text);
    if (!c.valid) {
      // Put right, the field no longer holds Start back; the tip stays.
      Type(c.edit, "10");
      EXPECT_EQ(Icon(c.icon), kValidIcon);
      EXPECT_TRUE(Enabled(View::kStartId));
      EXPECT_EQ(page->GetToolTips().GetToolText(page->GetDlgItem(c.icon)), Text(c.errorKey));
    }
  }
  // Two fields wrong: correcting one leaves Start disabled.
  Type(View::kStartEdit, "111");
  Type(View::kRampEdit, "-1");
  Type(View::kStartEdit, "50");
  EXPECT_FALSE(Enabled(View::kStartId));
  Type(View::kRampEdit, "30");
  EXPECT_TRUE(Enabled(View::kStartId));
}

TEST_F(RampPage, ViewsShowTheCurvesOfTheirBoxesAndTheRunsDirection) {
  const char* const time[] = {"Position", "Command", "ILCmd", "ILPos"};
  struct Case {
    const char* name;
    bool bidirectional;
    const char* start;
    const char* stop;
    bool opening, closing;
  } cases[] = {
      {"opening", false, "10", "90", true, false},
      {"closing", false, "90", "10", false, true},
      {"equal", false, "50", "50", false, true},
      {"both ways", true, "10", "90", true, true},
  };
  Show();
  EXPECT_EQ(page->GetPlotView(), View::kTimeView);
  for (const char* name : time) EXPECT_TRUE(Shown(name)) << name;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Type(View::kStartEdit, c.start);
    Type(View::kStopEdit, c.stop);
    SetBox(View::kBidirectionalBox, c.bidirectional);
    Start();
    Tick(2);  // the set-up written: the run's direction
    Click(View::kStopId);
    Tick(2);
    Click(View::kSignalViewButton);
    EXPECT_EQ(page->GetPlotView(), View::kSignalView);
    EXPECT_FALSE(Enabled(View::kSignalViewButton));
    EXPECT_TRUE(Enabled(View::kTimeViewButton));
    EXPECT_FALSE(Enabled(View::kCommandBox));
    for (const char* name : time) EXPECT_FALSE(Shown(name)) << name;
    for (const char* name : kOpening) EXPECT_EQ(Shown(name), c.opening) << name;
    for (const char* name : kClosing) EXPECT_EQ(Shown(name), c.closing) << name;
    Click(View::kTimeViewButton);
    for (const char* name : time) EXPECT_TRUE(Shown(name)) << name;
    for (const char* name : kOpening) EXPECT_FALSE(Shown(name)) << name;
  }

  // The boxes: one curve in the time view, both strokes in the signature
  // view; Command has no signature curve.
  struct BoxCase {
    int box;
    const char* time;
    const char* opening;
    const char* closing;
  } boxes[] = {
      {View::kPositionBox, "Position", "PosnvCmdOpen", "PosnvCmdClose"},
      {View::kCommandBox, "Command", nullptr, nullptr},
      {View::kPilotCommandBox, "ILCmd", "ILCmdvCmdOpen", "ILCmdvCmdClose"},
      {View::kPilotPositionBox, "ILPos", "ILPosnvCmdOpen", "ILPosnvCmdClose"},
  };
  SetBox(View::kBidirectionalBox, false);  // opening run: the boxes still switch both strokes
  for (const BoxCase& b : boxes) {
    SCOPED_TRACE(b.time);
    Click(b.box);
    EXPECT_FALSE(Shown(b.time));
    Click(b.box);
    EXPECT_TRUE(Shown(b.time));
    if (!b.opening) continue;
    Click(View::kSignalViewButton);
    Click(b.box);
    EXPECT_FALSE(Shown(b.opening));
    EXPECT_FALSE(Shown(b.closing));
    Click(b.box);
    EXPECT_TRUE(Shown(b.opening));
    EXPECT_TRUE(Shown(b.closing));
    EXPECT_FALSE(Shown("Command"));
    Click(View::kTimeViewButton);
  }
}

TEST_F(RampPage, AxesAreScaledForTheRunWhenTheSettingsAreWritten) {
  struct Case {
    const char *start, *stop, *hold, *ramp;
    bool bidirectional;
    double duration, low;
  } cases[] = {
      {"80", "20", "5", "30", false, 36, 20},
      {"80", "20", "5", "30", true, 72, 20},
      {"-10", "100", "5", "30", false, 36, -10},
      {"50", "50", "0", "10", false, 11, 50},
  };
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " " + c.stop);
    Type(View::kStartEdit, c.start);
    Type(View::kStopEdit, c.stop);
    Type(View::kHoldEdit, c.hold);
    Type(View::kRampEdit, c.ramp);
    SetBox(View::kBidirectionalBox, c.bidirectional);
    person.Answer(IDYES);
    page->OnStart();
    Tick(2);
    EXPECT_EQ(Axis(true, "RampX"), std::make_pair(0.0, c.duration));
    EXPECT_EQ(Axis(true, "CmdX"), std::make_pair(0.0, 100.0));
    EXPECT_EQ(Axis(false, "RampPerc"), std::make_pair(c.low, 110.0 - c.low));
    Click(View::kStopId);
    // The next start only on an engine seen idle.
    ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  }
}

TEST_F(RampPage, SavedRunLoadsBackWithItsSettingsUnitsAndBox) {
  filetest::ScratchFolder folder;
  const std::string first = folder / "first.rmp", second = folder / "second.rmp";
  device->SetVariable(116, 1.5);
  device->SetVariable(150, 49);
  device->SetVariable(410, 1);
  Show();
  SetBox(View::kBidirectionalBox, false);
  Start();
  RunToEnd();
  const auto command = Points("Command");
  // Typed after the run: for the next start, not the run's file.
  Type(View::kStartEdit, "12.345");
  person.AnswerFile(first);
  Click(View::kSaveId);
  CCommonFunctions& common = theApp().m_CommonFunctions;
  EXPECT_EQ(common.m_strRampSettings.start.str(), " 10.0");
  EXPECT_EQ(common.m_strRampSettings.stop.str(), " 90.0");
  EXPECT_EQ(common.m_strRampStrokeLength.str(), " 1.50");
  EXPECT_EQ(common.m_strRampActuatorSize.str(), "69.00");
  EXPECT_EQ(common.m_strRampTag.str(), theApp().m_comm.m_strTag);
  EXPECT_EQ(device->Requests().front(), Bytes{13});  // the tag read afresh
  EXPECT_EQ(Axis(true, "RampX"), std::make_pair(0.0, 66.0));

  // Another set-up on the page, then the file back.
  SetBox(View::kBidirectionalBox, true);
  Type(View::kStartEdit, "40");
  device->SetVariable(150, 57);
  device->SetVariable(410, 0);
  person.AnswerFile(first);
  Click(View::kLoadId);
  EXPECT_TRUE(page->IsFileLoaded());
  EXPECT_EQ(Field(View::kStartEdit), common.m_strRampSettings.start.str());
  EXPECT_DOUBLE_EQ(CCommonFunctions::ReadEditDouble(*page, View::kStartEdit), 10.0);
  EXPECT_FALSE(Checked(View::kBidirectionalBox));
  EXPECT_EQ(Field(View::kStrokeUnit), "mm");
  EXPECT_EQ(Field(View::kAreaUnit), "cm\u00B2");
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_OFF_LINE_DATA"));
  EXPECT_EQ(Points("Command"), command);

  // Saved again as opened data: the file's units, not the device's.
  Sent();
  person.AnswerFile(second);
  Click(View::kSaveId);
  EXPECT_EQ(Sent(), std::vector<Bytes>{});  // no tag read for opened data
  person.AnswerFile(second);
  Click(View::kLoadId);
  EXPECT_EQ(Field(View::kStrokeUnit), "mm");
  EXPECT_EQ(Field(View::kAreaUnit), "cm\u00B2");

  // Shown again, the opened data stays with its status.
  page->StopMonitoring();
  page->StartMonitoring();
  Tick();
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_OFF_LINE_DATA"));
  EXPECT_EQ(Points("Command"), command);

  person.CancelFile();
  Click(View::kLoadId);
  EXPECT_TRUE(page->IsFileLoaded());
}

TEST_F(RampPage, PrintingAnotherDevicesFileShowsTheNoticeOnce) {
  filetest::ScratchFolder folder;
  const std::string own = folder / "own.rmp", other = folder / "other.rmp";
  CCommonFunctions& common = theApp().m_CommonFunctions;
  Show();
  Start();
  RunToEnd();
  person.AnswerFile(own);
  Click(View::kSaveId);  // under the connected device's tag
  person.AnswerFile(own);
  Click(View::kLoadId);
  common.m_strRampTag = "OTHER";
  person.AnswerFile(other);
  Click(View::kSaveId);  // opened data keeps the file's tag
  person.AnswerFile(other);
  Click(View::kLoadId);
  ASSERT_EQ(common.m_strRampTag.str(), "OTHER");
  const std::string fileStart = Field(View::kStartEdit);

  Type(View::kStartEdit, "12.345");
  Click(View::kSignalViewButton);
  const size_t asked = person.Asked().size();
  // The notice, then the report's PDF offer and print question.
  person.Answer(IDOK).CancelFile().Answer(IDNO);
  Click(View::kPrintId);
  ASSERT_EQ(person.Asked().size(), asked + 3);
  EXPECT_EQ(person.Asked()[asked].text,
            "Report Header section matches with live device settings and doesn't match the file loaded.");
  // The file's set-up; what is typed since is for the next start.
  EXPECT_EQ(common.m_strRampSettings.start.str(), fileStart);
  EXPECT_EQ(Field(View::kStartEdit), "12.345");
  EXPECT_EQ(common.m_strRampStrokeUnit.str(), Field(View::kStrokeUnit));
  EXPECT_EQ(page->GetPlotView(), View::kTimeView);

  person.AnswerFile(own);
  Click(View::kLoadId);
  person.CancelFile().Answer(IDNO);
  Click(View::kPrintId);
  EXPECT_EQ(person.Asked().size(), asked + 6);  // the file dialog and the report's two questions
}

// ---- Shown again, and a start that counts only as itself.

// Left while its ramp runs and shown again, the page offers Stop and not
// Start, and ends with its own run's record: still running, ended while
// the page was away, or left in the download of its second pass.
TEST_F(RampPage, ShownAgainDuringItsRampOffersStopAndEndsWithItsOwnRecord) {
  const Bytes kSecondPass = {201, 3, 0, 141, 6};
  const struct {
    const char* name;
    bool bidirectional;
    bool intoSecondPass;  // left once the second pass is being read, else after 5 ticks
    int awayMs;
  } cases[] = {
      {"running", false, false, 10000},
      {"ended while away", false, false, 100000},
      {"in its second pass", true, true, 1000},
  };
  Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Type(View::kStartEdit, "10");
    Type(View::kStopEdit, "90");
    SetBox(View::kBidirectionalBox, c.bidirectional);
    Start();
    Tick(5);
    for (int i = 0; c.intoSecondPass && i < 400 && Count(Sent(), kSecondPass) == 0; ++i) Tick();
    Tick(3);
    Sent();
    page->StopMonitoring();
    clock.Advance(c.awayMs);
    page->StartMonitoring();
    EXPECT_TRUE(Enabled(View::kStopId));
    EXPECT_FALSE(Enabled(View::kStartId));
    Tick(2);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{kEnterCommand, kReadSetup}));
    EXPECT_TRUE(Enabled(View::kStopId));
    Type(View::kStartEdit, "30");
    Type(View::kStopEdit, "70");
    EXPECT_FALSE(Enabled(View::kStartId));
    const std::vector<Bytes> sent = RunToEnd();
    EXPECT_EQ(Count(sent, kSetup30To70), 0u);
    EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
    const auto command = Points("Command");
    ASSERT_EQ(command.size(), c.bidirectional ? 416u : 208u);
    EXPECT_NEAR(command.front().second, 10, 0.01);
    EXPECT_NEAR(command[207].second, 90, 0.01);
    EXPECT_NEAR(command.back().second, c.bidirectional ? 10 : 90, 0.01);
    EXPECT_TRUE(Enabled(View::kStartId));
  }
}

// While a test the page did not start runs in the device, the page shown
// offers Stop alone; when that test ends, Start comes back and nothing of
// its record is taken for the page's own.
TEST_F(RampPage, ATestRunningThatThePageDidNotStartIsWatchedNotTaken) {
  Show();
  StartInDevice(10, 90);
  page->StopMonitoring();
  page->StartMonitoring();
  Tick(2);
  EXPECT_EQ(Field(View::kStatusId), Text("EDT_ALM_COM6"));
  EXPECT_TRUE(Enabled(View::kStopId));
  EXPECT_FALSE(Enabled(View::kStartId));
  for (int i = 0; i < 200 && DeviceTesting(); ++i) Tick();
  Tick();
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kStopId));
  EXPECT_EQ(Field(View::kStatusId), "");
  EXPECT_EQ(Count(device->Requests(), kBlockRead), 0u);
  EXPECT_TRUE(Points("Command").empty());
}

// The device still runs a 10 -> 90 ramp the page did not start, for 15 s
// more. A start of 30 -> 70 whose set-up write went unanswered counts only
// once the device is seen running 30 -> 70: lost, it is sent again (still
// soon after its click); carried out but its reply cut, the set-up read
// back shows it taken.
TEST_F(RampPage, AnUnansweredStartCountsOnlyWhenTheDeviceRunsTheSetUpAskedFor) {
  const struct {
    const char* name;
    bool carriedOut;
    size_t setups;
  } cases[] = {{"no reply", false, 2}, {"reply cut", true, 1}};
  Show();
  SetBox(View::kBidirectionalBox, false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartInDevice(10, 90, 15);
    Tick(3);
    Type(View::kStartEdit, "30");
    Type(View::kStopEdit, "70");
    Start();
    Tick();  // the test command
    if (c.carriedOut)
      device->InjectShortReply(3);
    else
      device->InjectNoReply();
    const std::vector<Bytes> sent = RunToEnd();
    EXPECT_EQ(Count(sent, kSetup30To70), c.setups);
    EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
    const auto command = Points("Command");
    ASSERT_EQ(command.size(), 208u);
    EXPECT_NEAR(command.front().second, 30, 0.01);
    EXPECT_NEAR(command.back().second, 70, 0.01);
  }
}

// The baseline being read when the page is left goes on when it is shown
// again: until the whole record is in, the page neither calls it baseline
// data nor offers Start, Save or Print.
TEST_F(RampPage, ABaselineRetrievalLeftAndShownAgainGoesOnToItsWholeRecord) {
  Show();
  Click(View::kRetrieveId);
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kBlockStep));
  Tick(10);
  page->StopMonitoring();
  clock.Advance(5000);
  page->StartMonitoring();
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_NE(Field(View::kStatusId), Text("IDC_LABEL_BASELINE_DATA")) << tick;
    for (int id : {View::kStartId, View::kSaveId, View::kPrintId}) EXPECT_FALSE(Enabled(id)) << id << " " << tick;
    Tick();
  }
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  const auto command = Points("Command");
  ASSERT_EQ(command.size(), 416u);
  EXPECT_NEAR(command.front().second, 0, 0.01);
  EXPECT_NEAR(command[207].second, 100, 0.01);
  for (int id : {View::kStartId, View::kSaveId, View::kPrintId}) EXPECT_TRUE(Enabled(id)) << id;
}

// ---- The frame's download under lost replies.

struct RampRecord {
  using View = CDiagnostics_RampTestView;
  using Page = RampPage;
  static void BeginDownload(RampPage& p) { StartRun(p); }
  static void StartRun(RampPage& p) {
    p.SetBox(View::kBidirectionalBox, false);
    p.Start();
  }
  static void Save(View& v) { v.OnSave(); }
  static void Print(View& v) { v.OnPrintReport(); }
  static constexpr const char* kFileName = "faults.rmp";
  static constexpr double kRecordStep = 66.0 / 208;
  static constexpr int kButtonsBack[] = {View::kRetrieveId, View::kLoadId, View::kStartId};
  static constexpr const char* kStoppedKey = "TEST_DOWNLOAD_STOPPED";
};
INSTANTIATE_TYPED_TEST_SUITE_P(RampPage, RecordedTestFaults, RampRecord);

}  // namespace
