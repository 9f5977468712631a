// The technician sensor page against the simulated positioner on the
// manual clock: the turn of status poll and sensor read, the readings'
// formats, the failure count while replies are lost, and readings that
// follow the valve.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/tech_sensors.h"
#include "page_fixture.h"
#include "platform/sys/numeric.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using View = CDiagnostics_TechSensorsView;

constexpr int kTechSensorsView = 35;
const Bytes kStatusPoll = Read200({8, 42});
const Bytes kReadSensors = Read200({83, 10, 132, 78, 48, 1, 88});

class TechSensors : public testpages::SimulatedPage {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    page = static_cast<View*>(CreatePage(kTechSensorsView));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
  }
  // What one tick sends.
  std::vector<Bytes> Tick() {
    device->ClearRequests();
    clock.Advance(5000);
    return device->Requests();
  }
  std::string Text(int id) const { return page->GetDlgItemText(id); }
  // Ticks until the next sensor read has been shown.
  void ReadOnce() {
    if (Tick() != std::vector<Bytes>{kReadSensors}) {
      EXPECT_EQ(Tick(), std::vector<Bytes>{kReadSensors});
    }
  }
  // The valve held still, so that a tick does not move it.
  void HoldValve(double input, double stem, double openCount) {
    ModifyState([=](sim::DeviceState& s) {
      s.valve.analogInput = input;
      s.valve.position = stem;
      s.valve.stuck = true;
    });
    device->SetVariable(81, openCount);
  }

  View* page = nullptr;
};

TEST_F(TechSensors, TicksTakeTurnsAndALaterVisitGoesOnWithTheTurn) {
  clock.Advance(4999);
  EXPECT_TRUE(device->Requests().empty());
  clock.Advance(1);
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStatusPoll});  // the first tick ever
  EXPECT_EQ(Tick(), std::vector<Bytes>{kReadSensors});
  EXPECT_EQ(Tick(), std::vector<Bytes>{kStatusPoll});

  page->StopMonitoring();
  EXPECT_TRUE(Tick().empty());
  page->StartMonitoring();
  EXPECT_EQ(Tick(), std::vector<Bytes>{kReadSensors});  // the last visit stopped after a poll
  EXPECT_EQ(Tick(), std::vector<Bytes>{kStatusPoll});
  page->StopMonitoring();
  page->StartMonitoring();
  EXPECT_EQ(Tick(), std::vector<Bytes>{kReadSensors});
}

// Counts as unsigned decimals, the rest "%5.2f", from whatever the image
// holds when the read's reply is lost.
TEST_F(TechSensors, ReadingsShowInTheirFormats) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  const struct {
    WORD count;
    double real;
    const char *countText, *realText;
  } cases[] = {
      {65535, 3.14159, "65535", " 3.14"},
      {0, 123.456, "0", "123.46"},
  };
  EXPECT_EQ(Tick(), std::vector<Bytes>{kStatusPoll});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.realText);
    comm.m_wCmdCalState = comm.m_wVar78 = comm.m_wVar83 = c.count;
    comm.m_dVar1 = comm.m_dVar48 = comm.m_dVar132 = comm.m_dVar10SensCal = c.real;
    device->InjectNoReply();
    EXPECT_EQ(Tick(), std::vector<Bytes>{kReadSensors});
    for (int id : {View::kCommandCountId, View::kHallCountId, View::kPositionCountId}) EXPECT_EQ(Text(id), c.countText);
    for (int id : {View::kLoopCurrentId, View::kPilotCommandId, View::kHallVoltsId, View::kPositionId})
      EXPECT_EQ(Text(id), c.realText);
    EXPECT_EQ(Text(View::kRetriesId), "0");  // a lost read is not a failed poll
    EXPECT_EQ(Tick(), std::vector<Bytes>{kStatusPoll});
  }
}

TEST_F(TechSensors, FailureCountGrowsWhileRepliesAreLostAndIsZeroAfterAGoodPoll) {
  EXPECT_EQ(Text(View::kRetriesId), "0");
  Tick();
  Tick();
  const std::string position = Text(View::kPositionId);
  EXPECT_EQ(position, "49.75");

  // Poll, read, poll, read without replies.
  device->InjectNoReply(4);
  for (const char* count : {"1", "2"}) {
    EXPECT_EQ(Tick(), std::vector<Bytes>{kStatusPoll});
    EXPECT_EQ(Tick(), std::vector<Bytes>{kReadSensors});
    EXPECT_EQ(Text(View::kRetriesId), count);
    EXPECT_EQ(Text(View::kPositionId), position);  // the last readings stay
  }
  EXPECT_EQ(page->GetStatusText().GetWindowText(), "Loss of Communication");

  // Replies back: the count is shown at the read after the good poll.
  Tick();
  EXPECT_EQ(Text(View::kRetriesId), "2");
  Tick();
  EXPECT_EQ(Text(View::kRetriesId), "0");
}

TEST_F(TechSensors, ReadingsFollowTheValve) {
  // Held at the top past its stroke with the input above 20 mA: the counts
  // saturate and the spool stands fully open.
  HoldValve(120, 101, 65000);
  ReadOnce();
  const std::map<int, std::string> top = {
      {View::kCommandCountId, "65535"}, {View::kLoopCurrentId, "23.20"}, {View::kPilotCommandId, "100.00"},
      {View::kHallCountId, "3686"},     {View::kHallVoltsId, " 2.25"},   {View::kPositionId, "101.00"},
      {View::kPositionCountId, "65535"},
  };
  for (const auto& [id, text] : top) EXPECT_EQ(Text(id), text) << id;

  // Freed, it follows a 4 mA input down and the spool comes back to balance.
  ModifyState([](sim::DeviceState& s) {
    s.valve.analogInput = 0;
    s.valve.stuck = false;
  });
  device->SetVariable(81, 58980);
  clock.Advance(60000);
  ReadOnce();
  const std::map<int, std::string> closed = {
      {View::kCommandCountId, "6400"},
      {View::kLoopCurrentId, " 4.00"},
  };
  for (const auto& [id, text] : closed) EXPECT_EQ(Text(id), text) << id;
  // Stem and spool as the valve stands, inside the dead band near closed.
  const sim::ValveModel valve = device->State().valve;
  EXPECT_NEAR(valve.position, 0, 0.2);
  EXPECT_EQ(Text(View::kPositionId), plat::FormatNumber("%5.2f", valve.position));
  EXPECT_EQ(Text(View::kPositionCountId), std::to_string(std::lround(6550 + 52430 * valve.position / 100)));
  EXPECT_EQ(Text(View::kPilotCommandId), plat::FormatNumber("%5.2f", valve.pilotCommand));
  EXPECT_EQ(Text(View::kHallVoltsId), plat::FormatNumber("%5.2f", 0.25 + 0.02 * valve.pilotPosition));
}

}  // namespace
