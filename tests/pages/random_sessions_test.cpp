// Random sessions over the ramp, step and partial stroke pages, the HDRL
// page, the data monitor and the multi-test sequence, with the simulator's
// faults at random moments. Every request the device gets and every tick
// is held against a few rules that no order of clicks, waits and faults may
// break. A failure names its seed; TARNIX_RANDOM_SEEDS=<seed> (or
// first-last) runs it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "diagnostics/run/data_monitor.h"
#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "files/hdrl_analysis.h"
#include "sequence_pages_fixture.h"
#include "sim/test_engine.h"
#include "sim/variables.h"
#include "support/plot_probe.h"

namespace {

using testpages::Bytes;
using testpages::StatusText;
using testpages::Text;
using Ramp = CDiagnostics_RampTestView;
using Step = CDiagnostics_StepTestView;
using Pst = CDiagnostics_PSTView;
using Hdrl = CDiagnostics_HDRLView;
using Monitor = CDiagnostics_DataMonitorView;
using Multi = CDiagnostics_OfflineView;

constexpr int kMonitorView = 16;
constexpr int kNoPage = -1;

// ---- The rules.

enum Rule : int {
  kNoStartOverRun,
  kNoDigitalInTest,
  kTrueStatus,
  kWholeRecord,
  kBackToIdle,
  kAbortOnlyOverRun,
  kAbortOnlyItsRun,
  kTrueStopStatus,
  kFreshStart,
  kNoSequenceOverStop,
  kRequestLost,
  kOfferOverWholeRecord,
  kChecker,
  kQuestion,
};
constexpr const char* kRuleNames[] = {
    "1 start written while the device runs a test",
    "2 digital mode or command written while the device runs a test",
    "3 status says what the device did not do",
    "4 offered to save without a whole record of its own set-up",
    "5 neither Start nor the record offered once the faults stopped",
    "6 abort written while the device runs no test",
    "7 abort written over a run its Stop was not pressed for",
    "8 a stop's status says what the device did not do",
    "9 start written more than 60 s after its Start or hand-over",
    "10 sequence started while a test page's stop is open",
    "11 a request clicked is lost",
    "12 Save or Print offered without a record drawn whole",
    "the checker is out of step with the device",
    "a question nobody prompted",
};

// One variable of a 201 write.
struct Write {
  std::uint16_t id;
  double value;
};

// What no page writes while the device runs a test, its own included.
struct WriteRule {
  Rule rule;
  const char* what;
  bool (*matches)(const Write&);
};
constexpr WriteRule kWhileTesting[] = {
    {kNoStartOverRun, "a start",
     [](const Write& w) { return w.id == 144 && (static_cast<int>(w.value) & sim::kTestStart) != 0; }},
    {kNoDigitalInTest, "the control mode", [](const Write& w) { return w.id == 8; }},
    {kNoDigitalInTest, "the digital command", [](const Write& w) { return w.id == 3; }},
};

std::vector<Write> WritesOf(const Bytes& request) {
  std::vector<Write> writes;
  if (request.size() < 2 || request[0] != 201) return writes;
  const std::span<const std::uint8_t> data(request.data() + 2, std::min<size_t>(request[1], request.size() - 2));
  for (size_t at = 0; at + 2 <= data.size();) {
    const auto id = static_cast<std::uint16_t>(data[at] << 8 | data[at + 1]);
    at += 2;
    const auto type = sim::TypeOf(id);
    if (!type || data.size() - at < sim::SizeOf(*type)) break;
    writes.push_back({id, sim::GetValue(data.subspan(at, sim::SizeOf(*type)), *type)});
    at += sim::SizeOf(*type);
  }
  return writes;
}

// The four test pages by their multi-test index; the first three run in
// the device. HDRL has no status line.
struct TestPage {
  int item;
  const char* name;
  int start, stop, save, print, status;
  const char* startedKey;  // the sequence's lines
  const char* stoppedKey;
};
constexpr TestPage kTestPages[] = {
    {treeitem::kRampTest, "ramp", Ramp::kStartId, Ramp::kStopId, Ramp::kSaveId, Ramp::kPrintId, Ramp::kStatusId, "RAMPTEST_STARTED",
     "RAMPTEST_STOPPED"},
    {treeitem::kStepTest, "step", Step::kStartId, Step::kStopId, Step::kSaveId, Step::kPrintId, Step::kStatusId, "STEPTEST_STARTED",
     "STEPTEST_STOPPED"},
    {treeitem::kPartialStrokeTest, "partial stroke", Pst::kStartId, Pst::kStopId, Pst::kSaveId, Pst::kPrintId, Pst::kStatusId,
     "PST_STARTED", "PST_STOPPED"},
    {treeitem::kHdrlTest, "HDRL", Hdrl::kStartId, Hdrl::kStopId, Hdrl::kSaveId, Hdrl::kPrintId, 0, "HDRLTEST_STARTED", "HDRL_STOPPED"},
};
constexpr int kHdrl = 3;
// Every page a session shows.
constexpr int kItems[] = {treeitem::kRampTest, treeitem::kStepTest,    treeitem::kPartialStrokeTest,
                          treeitem::kHdrlTest, treeitem::kDataMonitor, treeitem::kMultiTest};
// A start goes out this soon after the Start or hand-over it was made for,
// or never.
constexpr std::int64_t kStartWithinMs = 60000;
// A Stop over a run has its abort out this soon while the link is clean,
// whichever page is shown meanwhile.
constexpr std::int64_t kAbortWithinMs = 3000;

// The request buttons of the session's pages.
enum class Asks { kStart, kStop, kRetrieve, kApply };
struct RequestButton {
  int item;
  int id;
  Asks asks;
  const char* name;
};
constexpr RequestButton kRequestButtons[] = {
    {treeitem::kRampTest, Ramp::kStartId, Asks::kStart, "Start"},
    {treeitem::kRampTest, Ramp::kStopId, Asks::kStop, "Stop"},
    {treeitem::kRampTest, Ramp::kRetrieveId, Asks::kRetrieve, "Retrieve Baseline"},
    {treeitem::kStepTest, Step::kStartId, Asks::kStart, "Start"},
    {treeitem::kStepTest, Step::kStopId, Asks::kStop, "Stop"},
    {treeitem::kStepTest, Step::kRetrieveId, Asks::kRetrieve, "Retrieve Baseline"},
    {treeitem::kPartialStrokeTest, Pst::kStartId, Asks::kStart, "Start"},
    {treeitem::kPartialStrokeTest, Pst::kStopId, Asks::kStop, "Stop"},
    {treeitem::kPartialStrokeTest, Pst::kRetrieveBaselineId, Asks::kRetrieve, "Retrieve Baseline"},
    {treeitem::kPartialStrokeTest, Pst::kRetrieveLastId, Asks::kRetrieve, "Retrieve Last"},
    {treeitem::kPartialStrokeTest, Pst::kApplyId, Asks::kApply, "Apply"},
    {treeitem::kHdrlTest, Hdrl::kStartId, Asks::kStart, "Start"},
    {treeitem::kHdrlTest, Hdrl::kStopId, Asks::kStop, "Stop"},
    {treeitem::kDataMonitor, Monitor::kStartId, Asks::kStart, "Start"},
    {treeitem::kDataMonitor, Monitor::kStopId, Asks::kStop, "Stop"},
    {treeitem::kMultiTest, Multi::kStartId, Asks::kStart, "Start"},
    {treeitem::kMultiTest, Multi::kStopId, Asks::kStop, "Stop"},
};
// The partial stroke set-up that Apply writes, by variable and field.
constexpr std::pair<std::uint16_t, int> kAppliedFields[] = {{142, Pst::kStartPosId},
                                                            {143, Pst::kStopPosId},
                                                            {145, Pst::kHoldId},
                                                            {149, Pst::kRampId},
                                                            {289, Pst::kTimeLimitId}};
constexpr int kKeepSetup = 0x88;  // 144 as Apply writes it: a set-up kept without a run

std::string PageName(int item) {
  for (const TestPage& p : kTestPages)
    if (p.item == item) return p.name;
  return item == treeitem::kDataMonitor ? "data monitor" : "multi-test";
}

// ---- The device as the test sees it.

// Stands between the OPC item and the positioner: each request is seen with
// the device's state just before and just after it, whether the device
// carried it out, and whether its reply came back clean. Only lost and
// refused requests are not carried out; cut, wrong-echo and long replies
// are, but the program cannot read them. The faults given through here say
// which those are.
class Probe : public opc::IHartFrameDevice {
 public:
  using Seen = std::function<void(const Bytes&, const sim::DeviceState& before, const sim::DeviceState& after,
                                  bool carried, bool clean)>;
  using Looked = std::function<void(const sim::DeviceState&)>;
  Probe(std::shared_ptr<sim::Positioner> device, Seen seen, Looked looked)
      : m_device(std::move(device)), m_seen(std::move(seen)), m_looked(std::move(looked)) {}

  std::optional<std::vector<std::uint8_t>> Transact(std::span<const std::uint8_t> request) override {
    const sim::DeviceState before = Look();
    // The positioner takes a fault for every request that is not empty.
    std::optional<sim::Fault> fault;
    if (!request.empty() && !m_faults.empty()) {
      auto& [taken, times] = m_faults.front();
      fault = taken;
      if (times > 0 && --times == 0) m_faults.pop_front();
    }
    auto reply = m_device->Transact(request);
    const bool carried =
        !request.empty() &&
        (!fault || (fault->kind != sim::FaultKind::NoReply && fault->kind != sim::FaultKind::ResponseCode));
    // A reply the cut left whole: as long as its byte count says (the
    // reply is seen after the cut).
    const bool whole = reply && reply->size() >= 2 && reply->size() >= 2u + (*reply)[1];
    const bool clean = carried && (!fault || (fault->kind == sim::FaultKind::ShortReply && whole));
    m_seen(Bytes(request.begin(), request.end()), before, m_device->State(), carried, clean);
    return reply;
  }
  // The device brought up to the clock's now.
  sim::DeviceState Look() {
    m_device->CatchUp();
    sim::DeviceState state = m_device->State();
    m_looked(state);
    return state;
  }
  void Inject(sim::Fault fault, int times) {
    m_device->InjectFault(fault, times);
    m_faults.emplace_back(fault, times);
  }
  void ClearFaults() {
    m_device->ClearFaults();
    m_faults.clear();
  }

 private:
  std::shared_ptr<sim::Positioner> m_device;
  Seen m_seen;
  Looked m_looked;
  std::deque<std::pair<sim::Fault, int>> m_faults;
};

// Answers as the user of a session: Yes to the movement question right
// after pressing a Start, OK to every message, and no save at the end of a
// sequence. Anything else is noted.
class Answers : public plat::Person {
 public:
  Answers() : m_previous(plat::SetPerson(this)) {}
  ~Answers() override { plat::SetPerson(m_previous); }
  Answers(const Answers&) = delete;
  Answers& operator=(const Answers&) = delete;

  int MessageBox(const plat::Question& q) override {
    if (q.text.find(Text("CAUSEMOVEMENT")) != std::string::npos) {
      const bool prompted = std::exchange(startPressed, false);
      if (!prompted) unprompted.push_back(q.text);
      return prompted ? IDYES : IDNO;
    }
    if (q.text == Text("SAVE_MULTITESTS")) return IDCANCEL;
    if (plat::OffersAnswer(q.type, IDOK) && !plat::OffersAnswer(q.type, IDCANCEL)) return IDOK;
    unprompted.push_back(q.text);
    return plat::OffersAnswer(q.type, IDCANCEL) ? IDCANCEL : IDNO;
  }
  std::optional<std::string> ChooseFile(const plat::Question& q) override {
    unprompted.push_back("a file dialog: " + q.title);
    return std::nullopt;
  }

  bool startPressed = false;
  std::vector<std::string> unprompted;

 private:
  plat::Person* m_previous;
};

std::vector<unsigned> Seeds() {
  unsigned first = 1, last = 10;
  if (const char* range = std::getenv("TARNIX_RANDOM_SEEDS"); range && *range) {
    char* end = nullptr;
    first = last = static_cast<unsigned>(std::strtoul(range, &end, 10));
    if (*end == '-') last = static_cast<unsigned>(std::strtoul(end + 1, nullptr, 10));
  }
  std::vector<unsigned> seeds;
  for (unsigned s = first; s <= last && s >= first; ++s) seeds.push_back(s);
  return seeds;
}

class RandomSessions : public testpages::SequencePages, public testing::WithParamInterface<unsigned> {
 public:
  void SetUp() override {
    SequencePages::SetUp();
    if (HasFatalFailure()) return;
    CTarnixPage* monitor = CreatePage(kMonitorView);
    ASSERT_TRUE(monitor->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), &host, kMonitorView));
    monitor->SendInitialUpdate();
    theApp().m_pViews[kMonitorView] = monitor;
    // The item is added again, now served through the probe.
    probe = std::make_shared<Probe>(
        device,
        [this](const Bytes& r, const auto& before, const auto& after, bool carried, bool clean) {
          if (m_active) Seen(r, before, after, carried, clean);
        },
        [this](const sim::DeviceState& s) {
          if (m_active) Looked(s);
        });
    opc::SetDeviceProvider([p = probe](const std::string& path) -> std::shared_ptr<opc::IHartFrameDevice> {
      return path == sim::kDefaultDevicePath ? p : nullptr;
    });
    ASSERT_EQ(theApp().m_comm.AddItem("HART/Net/Tarnix1/Param/HART_Frame"), 1);
    // As the status fields show them; the sequence's list keeps the whole
    // sentences.
    m_notStarted = StatusText("TESTNOTSTARTED");
    m_stopped = StatusText("STATUSABORTED");
    m_complete = StatusText("VeskTEST_COMPLETE");
    m_stopUnconfirmed = StatusText("STATUSABORTED_UNCONFIRMED");
    m_acquiring = StatusText("VeskPSTAcquiringDataPoint");
  }
  void TearDown() override {
    m_active = false;
    theApp().m_pViews[kMonitorView] = nullptr;
    SequencePages::TearDown();
  }

 protected:
  // What the device did for a page since its last Start, hand-over or
  // retrieval, or the sequence's Start.
  struct PageRun {
    bool startTaken = false;  // the device carried out a start of this page since
    bool recorded = false;    // the device's latest run of this page made its record
    bool aborted = false;     // an abort reached the device since that run's start
    bool stopPressed = false;
    bool startSent = false;  // a start of this page's was written since, carried out or not
    bool handedOver = false;  // the sequence's test, not the page's own Start, the sequence not stopped since
    int generation = 0;      // one report per rule and start
  };
  struct Record {
    std::array<float, 4> setup;
    std::uint8_t type;
  };
  // A page's Start (or the sequence's hand-over to it), or a retrieval: a
  // stop after it is that one's.
  struct Press {
    int number = 0;
    std::optional<std::int64_t> startMs;  // when a Start or hand-over; none for a retrieval
  };
  // The device's run: which page's start began it, for which press.
  struct DeviceRun {
    int number = 0;
    int page = kNoPage;
    int press = 0;
  };
  // The Stop clicks on a page since its last press.
  struct PageStop {
    bool open = false;  // clicked while a test may run, and no clean read has shown the device idle since
    std::int64_t clickMs = 0;
    std::set<int> runs;        // the device's runs under way at the clicks
    std::optional<int> press;  // the page's own press then: a run its start begins is the stop's too
  };

  // A Stop clicked while the device ran a run: the abort it owes that run.
  struct OwedAbort {
    int page;
    int run;
    std::int64_t clickMs;
    std::string when;  // the action it was clicked in
  };

  // ---- Seen at every request.

  void Seen(const Bytes& request, const sim::DeviceState& before, const sim::DeviceState& after, bool carried,
            bool clean) {
    const std::vector<Write> writes = WritesOf(request);
    const int page = ShownTest();
    if (before.tests.run.type != 0)
      for (const Write& w : writes)
        for (const WriteRule& rule : kWhileTesting)
          if (rule.matches(w))
            Report(rule.rule, PageName(shownItem) + " page wrote " + rule.what + " (" + ValueText(w) +
                                  (carried ? "" : ", not carried out") + ") while the device ran " +
                                  Hex(before.tests.run.type) + " of the " + OwnerName() + " page");
    if (clean && Reads144(request) && !Testing(after)) SeenIdle();
    for (const Write& w : writes) {
      if (w.id != 144) continue;
      const int state = static_cast<int>(w.value);
      if ((state & sim::kTestAbort) != 0) JudgeAbort(before, carried);
      if ((state & sim::kTestStart) != 0) m_seenIdle = false;
      if ((state & sim::kTestStart) != 0 && page != kNoPage && page != kHdrl) {
        m_runs[static_cast<size_t>(page)].startSent = true;
        JudgeStartTime(page);
      }
      if (!carried) {
        if (after.tests.run != before.tests.run) Report(kChecker, "a 144 write not carried out changed the run");
      } else if ((state & sim::kTestAbort) != 0) {
        for (PageRun& run : m_runs) run.aborted = true;
        if (after.tests.run.type != 0) Report(kChecker, "an abort carried out left a run");
      } else if ((state & sim::kTestStart) != 0) {
        if (after.tests.run.type != (state & ~sim::kTestReady)) Report(kChecker, "a start carried out left no run");
        if (page == kNoPage || page == kHdrl) Report(kChecker, "a start from the " + PageName(shownItem) + " page");
        m_owner = page;
        m_run = {m_run.number + 1, page, page == kNoPage ? 0 : m_presses[static_cast<size_t>(page)].number};
        if (page != kNoPage) {
          PageRun& run = m_runs[static_cast<size_t>(page)];
          run.startTaken = true;
          run.recorded = run.aborted = false;
          ++run.generation;
        }
      }
    }
    m_runType = after.tests.run.type;
    if (m_applying) m_applied.push_back(writes);
    // A faulty link may rightly hold an abort back until a clean read;
    // rule 5 judges what follows the faults.
    const bool aborts = std::any_of(writes.begin(), writes.end(), [](const Write& w) {
      return w.id == 144 && (static_cast<int>(w.value) & sim::kTestAbort) != 0;
    });
    if (!clean || aborts) m_owed.clear();
    SettleOwed(after);
  }
  // A run that ended, by itself or by any abort, is owed nothing more.
  void SettleOwed(const sim::DeviceState& s) {
    std::erase_if(m_owed, [&](const OwedAbort& o) { return s.tests.run.type == 0 || o.run != m_run.number; });
  }
  void JudgeOwed() {
    if (m_owed.empty()) return;
    probe->Look();  // the run may have ended by itself since the last request
    const std::int64_t now = clock.MonotonicMs();
    std::erase_if(m_owed, [&](const OwedAbort& o) {
      if (now - o.clickMs <= kAbortWithinMs) return false;
      const TestPage& p = kTestPages[o.page];
      const auto* page = PageOf<CWnd>(p.item);
      Report(kRequestLost,
             std::string("Stop on the ") + p.name + " page " + Seconds(now - o.clickMs) + " s ago in action " + o.when +
                 ", over run " + std::to_string(o.run) + " (" + Hex(m_runType) + ", the " + OwnerName() +
                 " page's start), and no abort written, the link clean and the run going on; the " + p.name + " page " +
                 (shownItem == p.item ? "shown" : "hidden") + ": \"" + page->GetDlgItemText(p.status) + "\"");
      return true;
    });
  }

  static bool Reads144(const Bytes& request) {
    if (request.size() < 2 || request[0] != 200) return false;
    for (size_t at = 2; at + 1 < std::min<size_t>(request.size(), 2u + request[1]); at += 2)
      if ((request[at] << 8 | request[at + 1]) == 144) return true;
    return false;
  }
  static bool Testing(const sim::DeviceState& s) {
    return (static_cast<int>(s.variables.at(144)) & (sim::kTestStart | sim::kTestReady)) == sim::kTestStart;
  }
  // A clean read has shown the device idle: every stop clicked before is
  // settled, and one clicked before the next start has nothing to settle.
  void SeenIdle() {
    m_seenIdle = true;
    for (PageStop& stop : m_stops) stop.open = false;
  }

  // An abort clears the record-ready state, so it goes only over a run,
  // and only over one its page's Stop was clicked for. A hidden page carries
  // its stop on its timer, so the writer is a test page in its tick: one
  // whose timer is not armed.
  void JudgeAbort(const sim::DeviceState& before, bool carried) {
    std::vector<size_t> writers;
    std::string names;
    for (size_t t = 0; t < kHdrl; ++t) {
      const auto* page = PageOf<CStatusPage>(kTestPages[t].item);
      if (page->HasTimer(page->GetTimerId())) continue;
      writers.push_back(t);
      names += std::string(names.empty() ? "" : " or ") + kTestPages[t].name +
               (kTestPages[t].item == shownItem ? " (shown)" : " (hidden)");
    }
    const std::string what = (names.empty() ? std::string("no test page") : "the " + names + " page") +
                             " wrote an abort" + (carried ? "" : " (not carried out)") + ", the " +
                             PageName(shownItem) + " page shown,";
    if (before.tests.run.type == 0) {
      const bool ready = (static_cast<int>(before.variables.at(144)) & sim::kTestReady) != 0;
      Report(kAbortOnlyOverRun,
             what + " while the device ran no test (144 " + Hex(before.variables.at(144)) +
                 (ready && m_owner != kNoPage ? ": the record of the " + OwnerName() + " page's run" : "") + ")");
      return;
    }
    const auto itsRun = [&](size_t t) {
      const PageStop& stop = m_stops[t];
      return stop.runs.contains(m_run.number) ||
             (m_run.page == static_cast<int>(t) && stop.press && m_run.press == *stop.press);
    };
    if (std::any_of(writers.begin(), writers.end(), itsRun)) return;
    std::string stops;
    for (const size_t t : writers) {
      const PageStop& stop = m_stops[t];
      stops += std::string("; on the ") + kTestPages[t].name + " page " +
               (!stop.runs.empty() || stop.press ? "Stop was clicked " + Seconds(clock.MonotonicMs() - stop.clickMs) +
                                                       " s before, for " + RunsText(stop)
                                                 : "no Stop clicked since its last Start");
    }
    Report(kAbortOnlyItsRun, what + " over run " + std::to_string(m_run.number) + " (" + Hex(before.tests.run.type) +
                                 ", the " + OwnerName() + " page's start)" + stops);
  }
  static std::string RunsText(const PageStop& stop) {
    std::string text;
    for (int run : stop.runs) text += "run " + std::to_string(run) + " and ";
    return text + (stop.press ? "its own start" : "nothing else");
  }
  // A start belongs to the Start or hand-over it was made for, not to
  // whatever the page finds when it is shown again.
  void JudgeStartTime(int page) {
    const Press& press = m_presses[static_cast<size_t>(page)];
    const std::string once = "start/" + std::to_string(page) + "/" + std::to_string(press.number);
    if (!press.startMs)
      Report(kFreshStart, PageName(shownItem) + " page wrote a start that no Start or hand-over asked for", once);
    else if (const std::int64_t late = clock.MonotonicMs() - *press.startMs; late > kStartWithinMs)
      Report(kFreshStart, PageName(shownItem) + " page wrote a start " + Seconds(late) + " s after its Start", once);
  }

  // Between two requests only the run's end clears the run.
  void Looked(const sim::DeviceState& s) {
    if (m_runType != 0 && s.tests.run.type == 0) {
      const bool stroke = (m_runType & sim::kPartialStroke) != 0;
      const sim::TestResult& r = stroke ? s.tests.pstLast.result : s.tests.result;
      m_made.push_back({r.setup, r.bits});
      if (s.variables.at(144) != (m_runType | sim::kTestReady)) Report(kChecker, "a run ended without its record");
      if (m_owner != kNoPage) m_runs[static_cast<size_t>(m_owner)].recorded = true;
    }
    m_runType = s.tests.run.type;
    SettleOwed(s);
  }

  // ---- Checked at every tick.

  void Check() {
    JudgeOwed();
    for (size_t i = 0; i < kHdrl; ++i) {
      const TestPage& p = kTestPages[i];
      auto* page = PageOf<CRecordedTestPage>(p.item);
      const std::string status = page->GetDlgItemText(p.status);
      const PageRun& run = m_runs[i];
      const std::string key = std::to_string(i) + "/" + std::to_string(run.generation) + "/";
      if (status == m_notStarted && run.startTaken)
        Report(kTrueStatus, std::string(p.name) + " page says the test did not start; the device carried out its start",
               key + "not started");
      if (status == m_stopped && run.recorded && !run.aborted)
        Report(kTrueStatus,
               std::string(p.name) + " page says \"" + status +
                   "\"; its run made its record and no abort reached the device" +
                   (run.stopPressed ? " (Stop was pressed)" : ""),
               key + "stopped");
      if (status != m_statusSeen[i]) JudgeStopStatus(std::string(p.name) + " page", run, status, true);
      m_statusSeen[i] = status;
      CheckRecord(i, status);
      CheckOffers(i);
    }
    CheckOffers(kHdrl);
    CheckSequenceLines();
  }
  // Judged once, as the text comes: it stays while the page's next press
  // has not yet changed it.
  void JudgeStopStatus(const std::string& where, const PageRun& run, const std::string& text, bool field) {
    const auto says = [&](const char* key) { return text == (field ? StatusText(key) : Text(key)); };
    if (says("TEST_DOWNLOAD_STOPPED") && !run.recorded)
      Report(kTrueStopStatus, where + " says \"" + text + "\"; the device did not run its start to its record" +
                                  (run.startTaken ? " (it took the start)" : " (it never took a start)"));
    if (says("TEST_START_CANCELLED") && run.startSent)
      Report(kTrueStopStatus, where + " says \"" + text + "\"; a start was written");
  }

  // The "Command" curve of a test page's plot.
  static std::vector<std::pair<double, double>> CommandPoints(int item) {
    if (item == treeitem::kPartialStrokeTest) return testsupport::PlotPoints(PageOf<Pst>(item)->GetPlot(), "Command");
    if (item == treeitem::kHdrlTest) return testsupport::PlotPoints(PageOf<Hdrl>(item)->GetPlot(), "Command");
    return testsupport::PlotPoints(PageOf<CRecordedTestPage>(item)->GetPlot(), "Command");
  }

  // Offered to save as a complete test: the plot holds whole passes that run
  // from the kept start to the kept stop, and that set-up is one the device
  // ran. Without a plot, only the partial stroke page keeps a run: its
  // results.
  void CheckRecord(size_t index, const std::string& status) {
    const TestPage& p = kTestPages[index];
    auto* page = PageOf<CRecordedTestPage>(p.item);
    if (status != m_complete || !Enabled(page, p.save)) {
      m_recordSeen[index].clear();
      return;
    }
    const bool stroke = p.item == treeitem::kPartialStrokeTest;
    std::array<std::string, 4> texts;
    bool bothWays = false;
    if (p.item == treeitem::kRampTest) {
      const Ramp::ShownSettings shown = PageOf<Ramp>(p.item)->GetShownSettings();
      for (size_t k = 0; k < 4; ++k) texts[k] = InOrder(shown.settings, k).str();
      bothWays = shown.bidirectional;
    } else if (p.item == treeitem::kStepTest) {
      const StepSettingTexts shown = PageOf<Step>(p.item)->GetShownSettings();
      for (size_t k = 0; k < 3; ++k) texts[k] = InOrder(shown, k).str();
    } else {
      const Pst::ShownFields shown = PageOf<Pst>(p.item)->GetShownFields();
      for (size_t k = 0; k < 4; ++k) texts[k] = InOrder(shown.settings, k).str();
    }
    const std::vector<std::pair<double, double>> points = CommandPoints(p.item);
    std::string seen = std::to_string(points.size()) + (bothWays ? "b" : "");
    for (const std::string& t : texts) seen += "/" + t;
    if (seen == m_recordSeen[index]) return;
    m_recordSeen[index] = seen;

    auto number = [](const std::string& text) { return std::strtod(text.c_str(), nullptr); };
    const double start = number(texts[0]), stop = number(texts[1]);
    auto near = [](double a, double b) { return std::abs(a - b) < 0.051; };
    const size_t passes = bothWays ? 2 : 1;
    const size_t whole = passes * CRecordedTestPage::kPointsPerPass;
    const std::string what = std::string(p.name) + " page offers \"" + status + "\" to save with " +
                             std::to_string(points.size()) + " points and set-up " + seen;
    if (points.size() != whole && !(stroke && points.empty())) {
      Report(kWholeRecord, what + ": a whole record has " + std::to_string(whole), "points" + seen);
    } else if (!points.empty()) {
      constexpr size_t kLast = CRecordedTestPage::kPointsPerPass - 1;
      bool ends = near(points[0].second, start) && near(points[kLast].second, stop);
      if (passes == 2) ends = ends && near(points[kLast + 1].second, stop) && near(points[2 * kLast + 1].second, start);
      if (!ends)
        Report(kWholeRecord,
               what + ": its command runs from " + std::to_string(points.front().second) + " to " +
                   std::to_string(points[kLast].second),
               "ends" + seen);
    }
    const bool made = std::any_of(m_made.begin(), m_made.end(), [&](const Record& r) {
      if (((r.type & sim::kPartialStroke) != 0) != stroke) return false;
      for (size_t k = 0; k < 4; ++k)
        if (!texts[k].empty() && !near(r.setup[k], number(texts[k]))) return false;
      return p.item != treeitem::kRampTest || ((r.type & sim::kTestBothWays) != 0) == bothWays;
    });
    if (!made) Report(kWholeRecord, what + ": the device ran no such set-up", "setup" + seen);
  }

  // Save and Print only over a record drawn whole (a session opens no
  // file). The partial stroke page's own run keeps its results without a
  // plot; a sequence's run the device started is drawn before it is
  // complete. An HDRL run draws its command over every stair.
  void CheckOffers(size_t index) {
    const TestPage& p = kTestPages[index];
    auto* page = PageOf<CWnd>(p.item);
    const bool save = Enabled(page, p.save), print = Enabled(page, p.print);
    if (!save && !print) return;
    const bool stroke = p.item == treeitem::kPartialStrokeTest;
    const bool bothWays = p.item == treeitem::kRampTest && PageOf<Ramp>(p.item)->GetShownSettings().bidirectional;
    const size_t whole =
        p.item == treeitem::kHdrlTest ? 2 * hdrl::kStairs - 1 : (bothWays ? 2 : 1) * CRecordedTestPage::kPointsPerPass;
    const size_t points = CommandPoints(p.item).size();
    const PageRun& run = m_runs[index];
    const bool sequenceRun = run.handedOver && run.startTaken;
    if (points == whole || (stroke && points == 0 && !sequenceRun)) return;
    Report(kOfferOverWholeRecord,
           std::string(p.name) + " page offers" + (save ? " Save" : "") + (print ? " Print" : "") + " with " +
               std::to_string(points) + " points drawn, a whole record has " + std::to_string(whole) +
               (sequenceRun ? " (the sequence's run)" : "") +
               (p.status ? ": \"" + page->GetDlgItemText(p.status) + "\"" : ""),
           std::to_string(index) + "/" + std::to_string(run.generation) + "/offers");
  }

  // The sequence's list says the same as the pages: a line is the test's
  // whose "started" line came last.
  void CheckSequenceLines() {
    const std::vector<std::string> lines = multi->StatusLines();
    size_t from = 0;
    while (from < m_lines.size() && from < lines.size() && m_lines[from] == lines[from]) ++from;
    if (from < m_lines.size()) {
      from = 0;
      m_lineTest = kNoPage;
    }
    for (size_t i = from; i < lines.size(); ++i) {
      for (size_t t = 0; t < std::size(kTestPages); ++t)
        if (lines[i] == Text(kTestPages[t].startedKey)) m_lineTest = static_cast<int>(t);
      if (m_lineTest == kNoPage) continue;
      const PageRun& run = m_runs[static_cast<size_t>(m_lineTest)];
      const TestPage& p = kTestPages[m_lineTest];
      if (lines[i] == Text("TESTNOTSTARTED") && run.startTaken)
        Report(kTrueStatus, std::string("the sequence says the ") + p.name +
                                " test did not start; the device carried out its start");
      if (lines[i] == Text(p.stoppedKey) && run.recorded && !run.aborted)
        Report(kTrueStatus, std::string("the sequence says \"") + lines[i] +
                                "\"; the run made its record and no abort reached the device");
      JudgeStopStatus(std::string("the sequence's ") + p.name + " line", run, lines[i], false);
    }
    m_lines = lines;
  }

  // ---- The session.

  void Report(Rule rule, const std::string& what, const std::string& once = {}) {
    if (!once.empty() && !m_reported.insert(std::to_string(rule) + "/" + once).second) return;
    std::ostringstream line;
    line << "seed " << m_seed << ", action " << m_action << " (" << m_doing << "), "
         << (clock.MonotonicMs() - m_startMs) / 1000.0 << " s: " << what;
    m_found.emplace_back(rule, line.str());
  }
  static std::string Hex(double value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value) & 0xFFu);
    return text;
  }
  static std::string Seconds(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(ms) / 1000.0);
    return text;
  }
  static std::string ValueText(const Write& w) {
    if (w.id == 144) return Hex(w.value);
    char text[32];
    std::snprintf(text, sizeof text, "%g", w.value);
    return text;
  }
  std::string OwnerName() const { return m_owner == kNoPage ? "no" : kTestPages[m_owner].name; }
  // The shown page's multi-test index; kNoPage for the others.
  int ShownTest() const {
    for (size_t i = 0; i < std::size(kTestPages); ++i)
      if (kTestPages[i].item == shownItem) return static_cast<int>(i);
    return kNoPage;
  }
  static bool Enabled(CWnd* page, int id) { return page->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
  static void Click(CWnd* page, int id) { page->GetDlgItemAs<CButton>(id)->Click(); }
  static void Type(CWnd* page, int id, int value) { page->SetDlgItemText(id, std::to_string(value).c_str()); }
  int Draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

  // The page the tree selects is shown, as the tree does. A test page the
  // sequence has just handed its test to takes it as its Start.
  void FollowTree() {
    for (int i = 0; i < 10; ++i) {
      const int selected = SelectedItem();
      if (selected == shownItem || !CTarnixWexletView::PageByCode(selected)) return;
      if (const int test = multi->m_nHandedOverTest; test >= 0 && kTestPages[test].item == selected) HandedOver(test);
      Show(selected);
    }
  }
  void HandedOver(int test) {
    // The sequence's first test: a stop still on its way may end it.
    if (std::exchange(m_sequenceClicked, false))
      for (size_t t = 0; t < kHdrl; ++t)
        if (m_stops[t].open)
          Report(kNoSequenceOverStop, "the sequence handed its first test (" + std::string(kTestPages[test].name) +
                                          ") over " + Seconds(clock.MonotonicMs() - m_stops[t].clickMs) +
                                          " s after Stop on the " + kTestPages[t].name +
                                          " page, the device not seen idle since");
    NewPress(test, true);
    m_runs[static_cast<size_t>(test)].handedOver = true;
  }
  // A Start, hand-over or retrieval on a test page: what the device did
  // before is no longer this one's.
  void NewPress(int test, bool start) {
    const auto t = static_cast<size_t>(test);
    m_runs[t] = {.generation = m_runs[t].generation + 1};
    m_presses[t] = {m_presses[t].number + 1, start ? std::optional(clock.MonotonicMs()) : std::nullopt};
    m_stops[t].runs.clear();
    m_stops[t].press.reset();
  }
  void Tick() {
    clock.Advance(100);
    FollowTree();
    Check();
  }
  void Pass(int ms) {
    for (int t = 0; t < ms; t += 100) Tick();
  }
  void Go(int item) {
    // The tree shows what a page selected before the user's next click.
    FollowTree();
    CTarnixWexletView::SelectItemByCode(item);
    FollowTree();
    Check();
  }
  // A start pressed on a test page, or on the multi-test page (kNoPage):
  // what the device did before is no longer this start's.
  void PressStart(CWnd* page, int id, int test) {
    if (!Enabled(page, id)) return;
    if (test != kNoPage)
      NewPress(test, true);
    else
      // Until the sequence hands a page its test, the page's latest run (a
      // record it may still be downloading) stays what it was.
      for (PageRun& run : m_runs)
        run = {.recorded = run.recorded, .aborted = run.aborted, .generation = run.generation + 1};
    answers->startPressed = true;
    Click(page, id);
    answers->startPressed = false;
    if (test == kNoPage) m_sequenceClicked = multi->IsSequenceActive();
  }
  // A stop may end what the device runs now and what the page's own press
  // starts, nothing else.
  void PressStop(CWnd* page, int id) {
    if (!Enabled(page, id)) return;
    std::optional<OwedAbort> owed;
    bool ownRun = false;
    if (const int test = ShownTest(); test != kNoPage) {
      const auto t = static_cast<size_t>(test);
      m_runs[t].stopPressed = true;
      if (test != kHdrl) {
        PageStop& stop = m_stops[t];
        stop.open = !m_seenIdle;
        stop.clickMs = clock.MonotonicMs();
        if (probe->Look().tests.run.type != 0) {
          stop.runs.insert(m_run.number);
          owed = {test, m_run.number, clock.MonotonicMs(), std::to_string(m_action) + " (" + m_doing + ")"};
          ownRun = m_run.page == test && m_presses[t].number > 0 && m_run.press == m_presses[t].number;
        }
        if (m_presses[t].number > 0) stop.press = m_presses[t].number;
      }
    }
    if (page == multi) {
      m_sequenceClicked = false;
      // The page's test is its own from here.
      for (PageRun& run : m_runs) run.handedOver = false;
    }
    Click(page, id);
    // Whichever page is shown next, the run is owed its abort: the page's
    // own always, another's where the test engine took the stop for it (not
    // for a download or retrieval the page has under way).
    if (owed && (ownRun || theApp().m_testEngine.StopOpen(owed->page))) m_owed.push_back(*owed);
  }

  // Whole numbers, as typed: the kept texts compare exactly with the
  // record. A hold of at least 1 s puts a pass's last sample at the stop.
  std::pair<int, int> Positions() {
    const int start = Draw(0, 100);
    int stop = Draw(0, 100);
    if (std::abs(stop - start) < 5) stop = start >= 50 ? start - 10 : start + 10;
    return {start, stop};
  }
  void TypeRamp(CWnd* page, std::array<int, 4> ids, int bothWaysBox) {
    const auto [start, stop] = Positions();
    for (const auto& [id, value] :
         {std::pair{ids[0], start}, {ids[1], stop}, {ids[2], Draw(1, 5)}, {ids[3], Draw(2, 20)}})
      Type(page, id, value);
    if ((page->IsDlgButtonChecked(bothWaysBox) != 0) != (Draw(0, 1) == 1)) Click(page, bothWaysBox);
  }
  void TypeStep(CWnd* page, std::array<int, 3> ids) {
    const auto [start, stop] = Positions();
    for (const auto& [id, value] : {std::pair{ids[0], start}, {ids[1], stop}, {ids[2], Draw(1, 5)}})
      Type(page, id, value);
  }
  void TypeStroke(CWnd* page, std::array<int, 5> ids) {
    const int start = Draw(60, 100);
    for (const auto& [id, value] : {std::pair{ids[0], start},
                                    {ids[1], start - Draw(5, 20)},
                                    {ids[2], Draw(1, 5)},
                                    {ids[3], Draw(2, 10)},
                                    {ids[4], Draw(5, 30)}})
      Type(page, id, value);
  }

  // A valid set-up typed into the shown test page.
  void TypeSetUp() {
    switch (shownItem) {
      case treeitem::kRampTest:
        if (shown->IsDlgButtonChecked(Ramp::kBaselineBox)) Click(shown, Ramp::kBaselineBox);
        return TypeRamp(shown, {Ramp::kStartEdit, Ramp::kStopEdit, Ramp::kHoldEdit, Ramp::kRampEdit},
                        Ramp::kBidirectionalBox);
      case treeitem::kStepTest:
        if (shown->IsDlgButtonChecked(Step::kBaselineBoxId)) Click(shown, Step::kBaselineBoxId);
        return TypeStep(shown, {Step::kStartPosId, Step::kStopPosId, Step::kHoldId});
      case treeitem::kPartialStrokeTest:
        if (shown->IsDlgButtonChecked(Pst::kBaselineBoxId)) Click(shown, Pst::kBaselineBoxId);
        return TypeStroke(shown, {Pst::kStartPosId, Pst::kStopPosId, Pst::kHoldId, Pst::kRampId, Pst::kTimeLimitId});
      case treeitem::kHdrlTest: return Type(shown, Hdrl::kSettlingTimeId, Draw(6, 7));
      default: return;
    }
  }
  void StartShown() {
    if (shownItem == treeitem::kMultiTest) return StartSequence();
    if (shownItem == treeitem::kDataMonitor) {
      auto* monitor = static_cast<Monitor*>(shown);
      monitor->GetDlgItemAs<CComboBox>(Monitor::kIntervalListId)->SetCurSel(Draw(0, 1));
      monitor->GetDurationField()->put_Value(1);
      monitor->GetDlgItemAs<CComboBox>(Monitor::kUnitListId)->SetCurSel(0);
      if (Enabled(shown, Monitor::kStartId)) Click(shown, Monitor::kStartId);
      return;
    }
    const int test = ShownTest();
    if (!Enabled(shown, kTestPages[test].start)) return;
    TypeSetUp();
    PressStart(shown, kTestPages[test].start, test);
  }
  void StopShown() {
    switch (shownItem) {
      case treeitem::kDataMonitor: return PressStop(shown, Monitor::kStopId);
      case treeitem::kMultiTest: return PressStop(shown, Multi::kStopId);
      default: return PressStop(shown, kTestPages[ShownTest()].stop);
    }
  }
  void RetrieveShown() {
    int id = 0;
    if (shownItem == treeitem::kRampTest) id = Ramp::kRetrieveId;
    if (shownItem == treeitem::kStepTest) id = Step::kRetrieveId;
    if (shownItem == treeitem::kPartialStrokeTest) id = Draw(0, 1) ? Pst::kRetrieveBaselineId : Pst::kRetrieveLastId;
    if (!id || !Enabled(shown, id)) return;
    NewPress(ShownTest(), false);
    Click(shown, id);
  }
  // Some of the four tests ticked, every field typed, Start; followed to
  // its end, or left to the next actions.
  void StartSequence() {
    Go(treeitem::kMultiTest);
    if (multi->IsSequenceActive()) return;
    PressSequenceStart();
    if (!multi->IsSequenceActive() || Draw(0, 1) == 0) return;
    for (int t = 0; t < 1200000 && (multi->IsSequenceActive() || shownItem != treeitem::kMultiTest); t += 100) Tick();
  }
  void PressSequenceStart() {
    const int ticked = Draw(1, 15);
    int bit = 1;
    for (int box : {Multi::kRampBoxId, Multi::kStepBoxId, Multi::kPstBoxId, Multi::kHdrlBoxId}) {
      if ((multi->IsDlgButtonChecked(box) != 0) != ((ticked & bit) != 0)) Click(multi, box);
      bit <<= 1;
    }
    TypeRamp(multi, {Multi::kRampStartId, Multi::kRampStopId, Multi::kRampHoldId, Multi::kRampTimeId},
             Multi::kBidirectionalBoxId);
    TypeStep(multi, {Multi::kStepStartId, Multi::kStepStopId, Multi::kStepHoldId});
    TypeStroke(multi, {Multi::kPstStartId, Multi::kPstStopId, Multi::kPstHoldId, Multi::kPstRampTimeId,
                       Multi::kPstTimeLimitId});
    Type(multi, Multi::kSettlingTimeId, 6);
    PressStart(multi, Multi::kStartId, kNoPage);
  }

  // Stop once the shown test page reads a record: its run's, or, with
  // nothing under way, one it retrieves.
  void StopInDownload() {
    const int test = ShownTest();
    if (test == kNoPage || test == kHdrl) return;
    const TestPage& p = kTestPages[test];
    if (!Enabled(shown, p.stop)) RetrieveShown();
    for (int t = 0; t < 90000 && shownItem == p.item && shown->GetDlgItemText(p.status) != m_acquiring; t += 100)
      Tick();
    Pass(100 * Draw(0, 5));
    StopShown();
  }
  // A page left, or a sequence started, right after a Start or a Stop.
  void PressAndLeave() {
    if (Draw(0, 1) == 0)
      StartShown();
    else
      StopShown();
    Pass(100 * Draw(0, 2));
    m_doing += " on the " + PageName(shownItem) + " page, then";
    if (Draw(0, 2) == 0) return StartSequence();
    Go(kItems[Draw(0, 5)]);
  }

  // One of the shown page's enabled request buttons clicked, and another
  // page chosen at once, before the page's next tick.
  void ClickAndLeave() {
    std::vector<RequestButton> offered;
    for (const RequestButton& b : kRequestButtons)
      if (b.item == shownItem && Enabled(shown, b.id)) offered.push_back(b);
    if (!offered.empty()) {
      const RequestButton b = offered[static_cast<size_t>(Draw(0, static_cast<int>(offered.size()) - 1))];
      m_doing += std::string(" ") + b.name;
      switch (b.asks) {
        case Asks::kStart:
          if (shownItem == treeitem::kMultiTest)
            PressSequenceStart();
          else
            StartShown();
          break;
        case Asks::kStop: PressStop(shown, b.id); break;
        case Asks::kRetrieve:
          NewPress(ShownTest(), false);
          Click(shown, b.id);
          break;
        case Asks::kApply: PressApply(); break;
      }
    }
    m_doing += " on the " + PageName(shownItem) + " page, then";
    std::vector<int> others;
    for (int item : kItems)
      if (item != shownItem) others.push_back(item);
    Go(others[static_cast<size_t>(Draw(0, static_cast<int>(others.size()) - 1))]);
  }
  // The partial stroke page's Apply writes the set-up its fields hold in
  // its click, so it reaches the device whatever is chosen next and
  // whatever the link does to the reply.
  void PressApply() {
    if (Draw(0, 1) == 0) TypeSetUp();
    if (!Enabled(shown, Pst::kApplyId)) return;
    std::vector<Write> asked{{144, kKeepSetup}};
    for (const auto& [id, field] : kAppliedFields)
      asked.push_back({id, std::strtod(shown->GetDlgItemText(field).c_str(), nullptr)});
    m_applied.clear();
    m_applying = true;
    Click(shown, Pst::kApplyId);
    m_applying = false;
    const bool written = std::any_of(m_applied.begin(), m_applied.end(), [&](const std::vector<Write>& writes) {
      return std::all_of(asked.begin(), asked.end(), [&](const Write& a) {
        return std::any_of(writes.begin(), writes.end(),
                           [&](const Write& w) { return w.id == a.id && std::abs(w.value - a.value) < 0.051; });
      });
    });
    if (!written) {
      std::string what;
      for (const Write& a : asked) what += " " + std::to_string(a.id) + "=" + ValueText(a);
      Report(kRequestLost, "Apply on the partial stroke page wrote no set-up" + what + " to the device (" +
                               std::to_string(m_applied.size()) + " requests in its click)");
    }
  }

  void Act() {
    static const std::vector<std::pair<const char*, double>> kActions = {
        {"show a page", 18},
        {"start", 20},
        {"stop", 8},
        {"retrieve", 5},
        {"sequence", 4},
        {"wait", 25},
        {"fault", 15},
        {"outage", 5},
        {"start, then stop", 6},
        {"stop in a download", 4},
        {"start or stop, then leave", 5},
        {"click", 8},
    };
    std::vector<double> weights;
    for (const auto& a : kActions) weights.push_back(a.second);
    const size_t action = std::discrete_distribution<size_t>(weights.begin(), weights.end())(m_rng);
    m_doing = kActions[action].first;
    switch (action) {
      case 0: {
        const int item = kItems[Draw(0, 5)];
        m_doing += " " + PageName(item);
        Go(item);
        break;
      }
      case 1: StartShown(); break;
      case 2: StopShown(); break;
      case 3: RetrieveShown(); break;
      case 4: StartSequence(); break;
      case 5: {
        constexpr int kWaits[] = {500, 2000, 5000, 15000, 40000, 90000};
        return Pass(kWaits[Draw(0, 5)]);
      }
      case 6: {
        constexpr sim::FaultKind kKinds[] = {sim::FaultKind::NoReply, sim::FaultKind::ResponseCode,
                                             sim::FaultKind::ShortReply, sim::FaultKind::WrongEcho,
                                             sim::FaultKind::LongByteCount};
        constexpr int kCodes[] = {2, 5, 6, 7, 16, 32, 64};
        const sim::FaultKind kind = kKinds[Draw(0, 4)];
        const int value = kind == sim::FaultKind::ResponseCode ? kCodes[Draw(0, 6)] : Draw(0, 7);
        probe->Inject({kind, static_cast<size_t>(value)}, Draw(1, 15));
        break;
      }
      case 7: probe->Inject({sim::FaultKind::NoReply, 0}, Draw(30, 300)); break;
      case 8:
        StartShown();
        Pass(100 * Draw(0, 3));
        StopShown();
        break;
      case 9: StopInDownload(); break;
      case 10: PressAndLeave(); break;
      default: ClickAndLeave(); break;
    }
    m_doing += " on the " + PageName(shownItem) + " page";
    Check();
    Pass(100 * Draw(1, 15));
  }

  // The faults stop. The device and the pages settle (a sequence runs to
  // its end, from the page it waits on), then each test page, shown, offers
  // Start or its record within 60 s while it draws nothing.
  void Settle() {
    m_doing = "faults stopped";
    probe->ClearFaults();
    WaitForIdle();
    if (multi->IsSequenceActive()) {
      Report(kBackToIdle, "after 20 min the sequence still waits on the " + Looks());
      Go(treeitem::kMultiTest);
      PressStop(multi, Multi::kStopId);
      WaitForIdle();
    }
    if (!Idle()) {
      Report(kBackToIdle, "after 20 min the device's test or the HDRL run goes on; the " + Looks());
      return;
    }
    for (const TestPage& b : kTestPages) {
      m_doing = "faults stopped, " + PageName(b.item) + " page shown";
      Go(b.item);
      bool typed = false;
      size_t points = Drawn();
      const std::int64_t shownAt = clock.MonotonicMs();
      std::int64_t since = shownAt;
      while (!((Enabled(shown, b.start) || Enabled(shown, b.save)) && !Enabled(shown, b.stop))) {
        PressStopAgain();
        // Fields left empty are typed, as a user would.
        if (!typed && !Enabled(shown, b.start) && !Enabled(shown, b.save) && !Enabled(shown, b.stop)) {
          typed = true;
          TypeSetUp();
        }
        if (clock.MonotonicMs() - since > 60000 || clock.MonotonicMs() - shownAt > 600000) {
          Report(kBackToIdle, "after 60 s the " + Looks());
          break;
        }
        Tick();
        // The clock runs from the device idle: a start pressed just before
        // the faults stopped may still run.
        if (const size_t now = Drawn(); now != points || !Idle()) {
          points = now;
          since = clock.MonotonicMs();
        }
      }
    }
  }
  bool Idle() {
    return !multi->IsSequenceActive() && probe->Look().tests.run.type == 0 &&
           !PageOf<Hdrl>(treeitem::kHdrlTest)->IsRunning();
  }
  // The user goes where the sequence waits, and presses Stop again when a
  // page asks for it.
  void WaitForIdle() {
    for (int t = 0; t < 1200000 && !Idle(); t += 100) {
      if (multi->IsSequenceActive()) {
        const int test = multi->m_nUnconfirmedStop >= 0 ? multi->m_nUnconfirmedStop : multi->m_nTestUnderWay;
        const int item = test >= 0 ? kTestPages[test].item : treeitem::kMultiTest;
        if (shownItem != item) Go(item);
      }
      PressStopAgain();
      Tick();
    }
  }
  void PressStopAgain() {
    const int test = ShownTest();
    if (test != kNoPage && test != kHdrl && shown->GetDlgItemText(kTestPages[test].status) == m_stopUnconfirmed)
      PressStop(shown, kTestPages[test].stop);
  }
  // The points of the shown test page's record.
  size_t Drawn() const {
    if (ShownTest() == kNoPage || ShownTest() == kHdrl) return 0;
    return CommandPoints(shownItem).size();
  }
  // The shown page as the user sees it.
  std::string Looks() const {
    std::string text = PageName(shownItem) + " page";
    for (const TestPage& b : kTestPages) {
      if (b.item != shownItem) continue;
      if (b.status) text += ": \"" + shown->GetDlgItemText(b.status) + "\"";
      for (const auto& [id, name] : {std::pair{b.start, ", Start"}, {b.stop, ", Stop"}, {b.save, ", Save"}})
        text += std::string(name) + (Enabled(shown, id) ? " on" : " off");
    }
    return text;
  }

  std::string Findings() const {
    std::ostringstream out;
    std::array<int, std::size(kRuleNames)> count{};
    for (const auto& [rule, line] : m_found) ++count[rule];
    out << "seed " << m_seed << " (TARNIX_RANDOM_SEEDS=" << m_seed << "):";
    for (size_t r = 0; r < count.size(); ++r)
      if (count[r]) out << "\n  [" << kRuleNames[r] << "] x" << count[r];
    std::array<int, std::size(kRuleNames)> shownOf{};
    for (const auto& [rule, line] : m_found)
      if (shownOf[rule]++ < 3) out << "\n  " << kRuleNames[rule] << ": " << line;
    return out.str();
  }

  std::shared_ptr<Probe> probe;
  Answers* answers = nullptr;
  bool m_active = false;
  unsigned m_seed = 0;
  std::mt19937 m_rng;
  int m_action = 0;
  std::string m_doing;
  std::int64_t m_startMs = 0;
  std::string m_notStarted, m_stopped, m_complete, m_stopUnconfirmed, m_acquiring;
  std::array<PageRun, std::size(kTestPages)> m_runs{};
  std::array<Press, std::size(kTestPages)> m_presses{};
  std::array<PageStop, std::size(kTestPages)> m_stops{};
  std::array<std::string, kHdrl> m_statusSeen;
  DeviceRun m_run;
  bool m_sequenceClicked = false;  // its Start clicked, its first test not yet handed over
  bool m_seenIdle = false;         // by a clean read, and no start written since
  int m_owner = kNoPage;
  std::uint8_t m_runType = 0;
  std::vector<Record> m_made;
  std::array<std::string, kHdrl> m_recordSeen;
  std::vector<std::string> m_lines;
  int m_lineTest = kNoPage;
  std::vector<OwedAbort> m_owed;
  bool m_applying = false;                    // inside an Apply's click
  std::vector<std::vector<Write>> m_applied;  // the writes seen in it
  std::set<std::string> m_reported;
  std::vector<std::pair<Rule, std::string>> m_found;
};

// A session of 40 to 150 actions from the seed, then the faults stop.
TEST_P(RandomSessions, KeepEveryRuleAtEveryRequestAndTick) {
  m_seed = GetParam();
  m_rng.seed(m_seed);
  Answers person;
  answers = &person;
  m_startMs = clock.MonotonicMs();
  // The records the device holds from the works.
  const sim::DeviceState s = probe->Look();
  for (const sim::TestResult* r : {&s.tests.result, &s.tests.rampBaseline.result, &s.tests.stepBaseline.result,
                                   &s.tests.pstLast.result, &s.tests.pstBaseline.result})
    m_made.push_back({r->setup, r->bits});
  m_runType = s.tests.run.type;
  // The multi-test page read it, without faults, when it was first shown.
  m_seenIdle = !Testing(s);
  m_active = true;
  const int actions = Draw(40, 150);
  for (m_action = 1; m_action <= actions; ++m_action) Act();
  Settle();
  m_active = false;
  for (const std::string& q : person.unprompted) Report(kQuestion, q);
  answers = nullptr;
  EXPECT_TRUE(m_found.empty()) << Findings();
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSessions, testing::ValuesIn(Seeds()),
                         [](const testing::TestParamInfo<unsigned>& info) {
                           return "seed" + std::to_string(info.param);
                         });

}  // namespace
