// The event history page against the simulated positioner, on the manual
// clock: the retrieval tick by tick, the three histories, the faults that
// must stop a retrieval, the description, the clear, the saved control
// byte and Print Report.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "platform/activex/controls.h"
#include "platform/opc/server.h"
#include "platform/sys/time_source.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "page_fixture.h"
#include "sim/install.h"
#include "support/language_table.h"
#include "support/log_capture.h"
#include "support/report_probe.h"
#include "views/status/event_history.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using View = CAlarm_EventHistoryView;
using namespace activex;

// Variable 454 is sent as 1, 198; 455, 457 and 459 follow it.
const Bytes kRead454 = {200, 2, 1, 198};
const Bytes kSelectAll = {201, 6, 1, 198, 0, 1, 199, 0};
const Bytes kSelectCal = {201, 6, 1, 198, 0, 1, 201, 0};
const Bytes kSelectAlarms = {201, 6, 1, 198, 0, 1, 203, 0};
const Bytes kClear = {201, 3, 1, 198, 2};
const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};

sim::EventHistory History(std::vector<sim::EventRecord> records, std::uint8_t lastBlock) {
  sim::EventHistory h;
  h.records = std::move(records);
  h.lastBlock = lastBlock;
  return h;
}

// Records of the given codes, on, off, on, ... with a time stamp byte so
// that none is all zeros.
std::vector<sim::EventRecord> Records(int count, std::uint8_t code = 88) {
  std::vector<sim::EventRecord> records;
  for (int k = 0; k < count; ++k)
    records.push_back({code, static_cast<std::uint8_t>(k % 2 == 0 ? 1 : 0), {0, 0, 0, 1, 0, 0}});
  return records;
}

class EventHistory : public testpages::SimulatedPage {
 public:  // the fault cases arrange the device through the fixture
  void SetUp() override {
    // The shipped texts: the grid's titles are set when the page is made.
    testpages::LoadEnglish();
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_abyEventLog.fill(0);
    comm.m_byEventLogCtl = 0;
    page = static_cast<View*>(CreatePage(4));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 4));
    page->SendInitialUpdate();
    ModifyState([](sim::DeviceState& s) { s.history.eventSelect = 5; });
    device->ClearRequests();
  }

  CButton* Button(int id) { return page->GetDlgItemAs<CButton>(id); }
  bool Enabled(int id) { return page->GetDlgItem(id)->IsWindowEnabled(); }
  IGridX* Grid() { return page->GetGrid(); }
  std::string Cell(LONG row, LONG col) {
    _bstr_t text;
    EXPECT_EQ(Grid()->get_TextMatrix(row, col, &text), S_OK);
    return text.str();
  }
  LONG Rows() {
    LONG rows = 0;
    Grid()->get_Rows(&rows);
    return rows;
  }
  // Rows 1 and down that hold a record.
  int FilledRows() {
    int n = 0;
    for (LONG r = 1; r < Rows(); ++r) n += Cell(r, 1).empty() ? 0 : 1;
    return n;
  }
  std::vector<std::string> LogWith(const std::string& part) {
    std::vector<std::string> lines;
    for (const std::string& line : log.Texts())
      if (line.find(part) != std::string::npos) lines.push_back(line);
    return lines;
  }
  size_t Count(const Bytes& request) {
    const auto& r = device->Requests();
    return static_cast<size_t>(std::count(r.begin(), r.end(), request));
  }
  // Shown, its first tick run (the control byte saved).
  void Show() {
    page->StartMonitoring();
    clock.Advance(View::kIdlePeriod);
    device->ClearRequests();
  }
  void Retrieve(int radio) {
    Button(radio)->Click();
    Button(View::kRetrieveId)->Click();
  }
  // Ticks at the retrieval period until the page is idle again (bounded).
  int RunRetrieval() {
    int ticks = 0;
    while (page->GetPeriod() == View::kRetrievePeriod && ticks < 100) {
      clock.Advance(View::kRetrievePeriod);
      ++ticks;
    }
    return ticks;
  }
  // As the person clicks a cell: it becomes the current one, then the
  // grid's Click.
  void ClickRow(LONG row) {
    ASSERT_EQ(Grid()->Select(row, 0), S_OK);
    IControlTest* test = nullptr;
    page->GetDlgItem(static_cast<int>(View::kGridId))
        ->GetControlUnknown()
        ->QueryInterface(IControlTest::kIID, reinterpret_cast<void**>(&test));
    ASSERT_NE(test, nullptr);
    _com_ptr_t<IControlTest>(test, false)->UserEvent(-600, {});
  }
  std::string Description() { return page->GetDlgItemText(View::kDescriptionId); }
  CProgressCtrl* Progress() { return page->GetDlgItemAs<CProgressCtrl>(View::kProgressId); }
  int ProgressMax() {
    int lower = -1, upper = -1;
    Progress()->GetRange(lower, upper);
    return upper;
  }

  View* page = nullptr;
};

TEST_F(EventHistory, TheGridHasItsTitleRowAndNineRows) {
  EXPECT_EQ(Rows(), 9);
  LONG cols = 0;
  Grid()->get_Cols(&cols);
  EXPECT_EQ(cols, 3);
  EXPECT_EQ(Cell(0, 0), "State");
  EXPECT_EQ(Cell(0, 1), "Event #");
  EXPECT_EQ(Cell(0, 2), "Indication");
}

TEST_F(EventHistory, AnAllEventsRetrievalTickByTick) {
  page->StartMonitoring();
  EXPECT_FALSE(Enabled(View::kRetrieveId));  // no kind chosen yet
  clock.Advance(View::kIdlePeriod);
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kRead454});
  EXPECT_TRUE(page->IsSelectionSaved());
  EXPECT_EQ(page->GetSavedSelection(), 5);
  device->ClearRequests();

  Retrieve(View::kAllEventsId);
  EXPECT_FALSE(Enabled(View::kRetrieveId));
  EXPECT_FALSE(Enabled(View::kClearId));
  const std::vector<Bytes> ticks[] = {
      {kSelectAll}, {Bytes{238}}, {Bytes{238}}, {Bytes{238}}, {Bytes{238}}, {Bytes{237, 1, 5}}, {kStatusPoll}, {},
  };
  const UINT periods[] = {3000, 3000, 3000, 3000, 3000, 5000, 5000, 5000};
  for (size_t t = 0; t < std::size(ticks); ++t) {
    SCOPED_TRACE("tick " + std::to_string(t + 1));
    clock.Advance(page->GetPeriod() - 1);
    EXPECT_TRUE(device->Requests().empty());
    clock.Advance(1);
    EXPECT_EQ(device->Requests(), ticks[t]);
    EXPECT_EQ(page->GetPeriod(), periods[t]);
    device->ClearRequests();
  }
  EXPECT_TRUE(Enabled(View::kRetrieveId));
  EXPECT_TRUE(Enabled(View::kClearId));
  EXPECT_TRUE(Enabled(View::kPrintId));  // the history shown can be printed
  EXPECT_EQ(device->State().history.eventSelect, 5);

  // 32 rows, the grid grown to 40; the simulated history starts with code
  // 9 on, then 9 off, then 17 on.
  EXPECT_EQ(page->GetRow(), 32);
  EXPECT_EQ(Rows(), 40);
  EXPECT_EQ(FilledRows(), 32);
  EXPECT_EQ(Cell(1, 0), "ON");
  EXPECT_EQ(Cell(1, 1), "9");
  EXPECT_EQ(Cell(1, 2), View::SplitDescription(CWexletCoreCommunication::GetStatusBitKey(9).str()));
  EXPECT_FALSE(Cell(1, 2).empty());
  EXPECT_EQ(Cell(2, 0), "OFF");
  EXPECT_EQ(Cell(3, 1), "17");
  int lower = -1, upper = -1;
  page->GetDlgItemAs<CProgressCtrl>(View::kProgressId)->GetRange(lower, upper);
  EXPECT_EQ(upper, 31);
  EXPECT_EQ(page->GetDlgItemAs<CProgressCtrl>(View::kProgressId)->GetPos(), 31);

  std::vector<std::string> expected;
  for (int k = 0; k < 32; ++k) expected.push_back(std::to_string(k) + "All events hist");
  EXPECT_EQ(LogWith("hist"), expected);
  const std::array<BYTE, 3> selection = {0, 0, 1};
  EXPECT_EQ(theApp().m_CommonFunctions.m_bHistorySelection, selection);
}

struct KindCase {
  int radio;
  Bytes select;
  std::uint8_t command;
  int blocks;  // read before the history is complete
  int progressMax;
  const char* logTag;
  std::array<BYTE, 3> selection;
};

// Full histories: every block read, every record shown.
TEST_F(EventHistory, EachKindSelectsAndReadsItsOwnHistory) {
  ModifyState([](sim::DeviceState& s) {
    s.history.calibrationEvents = History(Records(40, 1), 4);
    s.history.alarmEvents = History(Records(200, 88), 24);
  });
  const KindCase cases[] = {
      {View::kCalibrationsId, kSelectCal, 240, 5, 39, "cal hist", {1, 0, 0}},
      {View::kAlarmsId, kSelectAlarms, 242, 25, 199, "Alarm hist", {0, 1, 0}},
      {View::kAllEventsId, kSelectAll, 238, 4, 31, "All events hist", {0, 0, 1}},
  };
  Show();
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.logTag);
    log.Clear();
    Retrieve(c.radio);
    RunRetrieval();
    const std::vector<Bytes>& sent = device->Requests();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), c.select);
    EXPECT_EQ(Count(Bytes{c.command}), static_cast<size_t>(c.blocks));
    EXPECT_EQ(page->GetRow(), c.blocks * 8);
    EXPECT_EQ(FilledRows(), c.blocks * 8);
    int lower = -1, upper = -1;
    page->GetDlgItemAs<CProgressCtrl>(View::kProgressId)->GetRange(lower, upper);
    EXPECT_EQ(upper, c.progressMax);
    EXPECT_EQ(LogWith(c.logTag).size(), static_cast<size_t>(c.blocks * 8));
    EXPECT_EQ(theApp().m_CommonFunctions.m_bHistorySelection, c.selection);
    device->ClearRequests();
  }
}

// The device leaves slots without an event as zeros, also between events:
// such a slot gives no row, and the reading goes on to the final block.
struct GapCase {
  const char* name;
  int radio;
  std::uint8_t command;
  sim::EventHistory sim::HistoryRecords::*history;
  std::vector<sim::EventRecord> records;  // empty: the device's own history
  int blocks;
  const char* logTag;
};

std::vector<sim::EventRecord> Join(std::initializer_list<std::vector<sim::EventRecord>> parts) {
  std::vector<sim::EventRecord> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(EventHistory, EmptySlotsGiveNoRowAndTheReadingGoesOnToTheFinalBlock) {
  const std::vector<sim::EventRecord> emptyBlock(8);
  const GapCase cases[] = {
      {"an empty slot in the first block", View::kAllEventsId, 238, &sim::HistoryRecords::allEvents,
       Join({Records(5, 17), {sim::EventRecord{}}, Records(10, 88)}), 4, "All events hist"},
      {"an empty block between events", View::kCalibrationsId, 240, &sim::HistoryRecords::calibrationEvents,
       Join({Records(8, 81), emptyBlock, Records(8, 24)}), 5, "cal hist"},
      // 75 events in 25 blocks: the bar ends full although most slots are
      // empty.
      {"the device's own alarm history", View::kAlarmsId, 242, &sim::HistoryRecords::alarmEvents, {}, 25, "Alarm hist"},
  };
  Show();
  for (const GapCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.records.empty()) {
      ModifyState([&c](sim::DeviceState& s) {
        (s.history.*c.history).records = c.records;
        (s.history.*c.history).next = 0;
      });
    }
    const sim::DeviceState state = device->State();
    std::vector<std::string> codes;
    for (const sim::EventRecord& r : (state.history.*c.history).records)
      if (r != sim::EventRecord{}) codes.push_back(std::to_string(r.code));
    log.Clear();
    device->ClearRequests();
    Retrieve(c.radio);
    RunRetrieval();
    EXPECT_EQ(Count(Bytes{c.command}), static_cast<size_t>(c.blocks));
    EXPECT_EQ(page->GetRow(), static_cast<int>(codes.size()));
    EXPECT_EQ(FilledRows(), static_cast<int>(codes.size()));
    for (size_t k = 0; k < codes.size(); ++k) EXPECT_EQ(Cell(static_cast<LONG>(k + 1), 1), codes[k]) << k + 1;
    EXPECT_EQ(ProgressMax(), c.blocks * 8 - 1);
    EXPECT_EQ(Progress()->GetPos(), ProgressMax());
    EXPECT_EQ(LogWith(c.logTag).size(), codes.size());
    EXPECT_TRUE(LogWith("retrieval stopped").empty());
    EXPECT_EQ(page->GetPeriod(), View::kIdlePeriod);
    EXPECT_EQ(device->Requests().back(), (Bytes{237, 1, 5}));
  }
}

// ---- Faults: each retrieval ends, with the buttons and the idle period
// back and the control byte restored, and shows no rows that are not its
// own.

struct FaultCase {
  const char* name;
  std::function<void(EventHistory&)> arrange;  // after the Retrieve click
  int reads;  // of command 238
  int rows;
  int progress;  // the bar's position at the end; 31 is full
  const char* logged;  // empty: a regular end
};

TEST_F(EventHistory, ARetrievalIsBoundedAndShowsOnlyItsOwnRows) {
  const FaultCase cases[] = {
      // The second block is lost: its earlier block is not shown again.
      {"lost reply",
       [](EventHistory& t) {
         t.clock.Advance(2 * View::kRetrievePeriod);  // selector and block 0
         t.device->InjectNoReply();
       },
       2, 8, 8, "no reply"},
      // An empty slot does not end the reading; the third block is lost.
      {"lost reply after an empty slot",
       [](EventHistory& t) {
         t.ModifyState([](sim::DeviceState& s) {
           s.history.allEvents = History(Join({Records(3, 88), {sim::EventRecord{}}, Records(28, 88)}), 3);
         });
         t.clock.Advance(3 * View::kRetrievePeriod);  // selector, blocks 0 and 1
         t.device->InjectNoReply();
       },
       3, 15, 16, "no reply"},
      // The device counts 0, 1, 0, 1, ...: never the final index.
      {"no final block",
       [](EventHistory& t) {
         t.ModifyState([](sim::DeviceState& s) { s.history.allEvents = History(Records(32), 1); });
       },
       4, 32, 16, "no final block"},
      // The selector write is lost and the device goes on at block 9 of a
      // longer history than this one can have.
      {"index out of range",
       [](EventHistory& t) {
         t.ModifyState([](sim::DeviceState& s) {
           s.history.allEvents = History(Records(100), 12);
           s.history.allEvents.next = 9;
         });
         t.device->InjectNoReply();
       },
       1, 0, 0, "out of range"},
      // Cleared: every block is all zeros, and every one is read.
      {"empty history",
       [](EventHistory& t) { t.ModifyState([](sim::DeviceState& s) { s.history.allEvents = History({}, 3); }); },
       4, 0, 31, ""},
      // Twelve events, then zeros to the final block.
      {"short history",
       [](EventHistory& t) {
         t.ModifyState([](sim::DeviceState& s) { s.history.allEvents = History(Records(12), 3); });
       },
       4, 12, 31, ""},
  };
  Show();
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    // A full earlier retrieval leaves rows and image bytes behind.
    ModifyState([](sim::DeviceState& s) { s.history.allEvents = History(Records(32, 17), 3); });
    Retrieve(View::kAllEventsId);
    RunRetrieval();
    device->ClearRequests();
    log.Clear();

    ModifyState([](sim::DeviceState& s) { s.history.allEvents = History(Records(32, 88), 3); });
    Retrieve(View::kAllEventsId);
    c.arrange(*this);
    EXPECT_LT(RunRetrieval(), 30);
    EXPECT_EQ(Count(Bytes{238}), static_cast<size_t>(c.reads));
    EXPECT_EQ(page->GetRow(), c.rows);
    EXPECT_EQ(FilledRows(), c.rows);
    for (LONG r = 1; r <= c.rows; ++r) EXPECT_EQ(Cell(r, 1), "88") << r;  // never the 17s of before
    EXPECT_EQ(Progress()->GetPos(), c.progress);
    EXPECT_EQ(page->GetPeriod(), View::kIdlePeriod);
    EXPECT_TRUE(Enabled(View::kRetrieveId));
    EXPECT_TRUE(Enabled(View::kClearId));
    EXPECT_EQ(device->Requests().back(), (Bytes{237, 1, 5}));
    const std::vector<std::string> stopped = LogWith("retrieval stopped");
    if (*c.logged) {
      ASSERT_EQ(stopped.size(), 1u);
      EXPECT_NE(stopped[0].find(c.logged), std::string::npos) << stopped[0];
    } else {
      EXPECT_TRUE(stopped.empty());
    }
    device->ClearFaults();
    device->ClearRequests();
  }
}

// ---- The control byte saved at show and given back.

TEST_F(EventHistory, LeavingWritesBackOnlyAByteTheDeviceGave) {
  // Before the first tick: nothing saved, nothing written.
  page->StartMonitoring();
  page->StopMonitoring();
  EXPECT_TRUE(device->Requests().empty());

  // A lost read saves nothing, even though the image holds a 2 of a clear.
  theApp().m_comm.m_byEventLogCtl = 2;
  page->StartMonitoring();
  device->InjectNoReply();
  clock.Advance(View::kIdlePeriod);
  EXPECT_FALSE(page->IsSelectionSaved());
  device->ClearRequests();
  page->StopMonitoring();
  EXPECT_TRUE(device->Requests().empty());

  // A good read is written back on leaving, also with nothing retrieved.
  Show();
  page->StopMonitoring();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{(Bytes{237, 1, 5})});
  EXPECT_EQ(device->State().history.eventSelect, 5);
  // Every page is stopped at each later switch too: nothing more is written.
  device->ClearRequests();
  page->StopMonitoring();
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(EventHistory, LeavingInTheMiddleGivesTheByteBackAndKeepsTheRetrievalPeriod) {
  Show();
  Retrieve(View::kAllEventsId);
  clock.Advance(2 * View::kRetrievePeriod);
  device->ClearRequests();
  page->StopMonitoring();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{(Bytes{237, 1, 5})});
  EXPECT_EQ(page->GetPeriod(), View::kRetrievePeriod);
  EXPECT_EQ(page->GetRow(), 8);
  device->ClearRequests();
  clock.Advance(10 * View::kRetrievePeriod);
  EXPECT_TRUE(device->Requests().empty());
}

// ---- Description, clear.

TEST_F(EventHistory, ClickingARecordShowsTheTextOfItsCode) {
  Show();
  Retrieve(View::kAllEventsId);
  RunRetrieval();
  ClickRow(1);
  EXPECT_EQ(Description(), TheLanguageTable().Lookup("9").str());
  EXPECT_EQ(Description().find("##"), std::string::npos);
  ClickRow(0);  // the title row
  EXPECT_EQ(Description(), "");
  ClickRow(3);
  EXPECT_EQ(Description(), TheLanguageTable().Lookup("17").str());
  ClickRow(35);  // no record there
  EXPECT_EQ(Description(), "");
}

TEST_F(EventHistory, SplitDescriptionKeepsWhatFollowsTheDash) {
  const std::pair<const char*, const char*> cases[] = {
      {"88 - Position deviation alarm", "Position deviation alarm"},
      {"Supply pressure low", "Supply pressure low"},  // no dash: whole
      {"5 -", ""},
      {"1-2 - x", " - x"},
      {"", ""},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(View::SplitDescription(text), shown) << text;
}

TEST_F(EventHistory, ResetHistoryClearsTheDeviceAndTheGridAtTheNextTick) {
  Show();
  Retrieve(View::kAllEventsId);
  RunRetrieval();
  device->ClearRequests();
  Button(View::kClearId)->Click();
  EXPECT_FALSE(Enabled(View::kClearId));
  EXPECT_TRUE(device->Requests().empty());
  clock.Advance(View::kIdlePeriod);
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kClear});
  EXPECT_TRUE(device->State().history.allEvents.records.empty());
  EXPECT_TRUE(device->State().history.alarmEvents.records.empty());
  EXPECT_EQ(FilledRows(), 0);
  EXPECT_TRUE(Enabled(View::kClearId));
  EXPECT_EQ(page->GetDlgItemAs<CProgressCtrl>(View::kProgressId)->GetPos(), 0);
  // The next tick polls the status at once.
  device->ClearRequests();
  clock.Advance(View::kIdlePeriod);
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStatusPoll});
}

// ---- Print Report.

TEST_F(EventHistory, PrintReportHandsTheShownHistoryToTheReportAtTheNextTick) {
  Show();
  EXPECT_FALSE(Enabled(View::kPrintId));  // nothing retrieved yet
  Retrieve(View::kAlarmsId);
  RunRetrieval();
  device->ClearRequests();
  Button(View::kPrintId)->Click();
  for (int id : {View::kPrintId, View::kRetrieveId, View::kClearId}) EXPECT_FALSE(Enabled(id)) << id;
  ASSERT_FALSE(device->Requests().empty());
  EXPECT_EQ(device->Requests().front(), Bytes{13});  // the report header's identification, at once
  EXPECT_TRUE(person.Asked().empty());

  person.CancelFile().Answer(IDNO);
  clock.Advance(View::kIdlePeriod);
  ASSERT_EQ(person.Asked().size(), 2u);
  EXPECT_EQ(person.Asked()[0].title, "Save Event History ReportAs");
  EXPECT_EQ(person.Asked()[1].text, TheLanguageTable().Lookup("PRINT_REPORT").str());
  IReportX* report = page->GetReport();
  EXPECT_EQ(ReportName(report), "EventReport");
  EXPECT_EQ(ReportFieldText(report, "Header", "CheckAlarms"), "X");
  EXPECT_EQ(ReportFieldText(report, "Header", "CheckAll"), " ");
  for (int id : {View::kPrintId, View::kRetrieveId, View::kClearId}) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_EQ(page->GetStep(), 1);
}

TEST_F(EventHistory, LeavingBeforeTheReportTickDropsTheReport) {
  Show();
  Retrieve(View::kAllEventsId);
  RunRetrieval();
  Button(View::kPrintId)->Click();
  page->StopMonitoring();
  page->StartMonitoring();
  clock.Advance(3 * View::kIdlePeriod);
  EXPECT_TRUE(person.Asked().empty());
  EXPECT_TRUE(Enabled(View::kRetrieveId));
  EXPECT_FALSE(Enabled(View::kPrintId));  // until the next retrieval
}

}  // namespace
