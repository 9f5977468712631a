// The pilot relay page against the simulated positioner, on the manual
// clock: what it reads and shows, the limit editing rules through the
// controls' own events, Apply on the wire, and the counter resets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "platform/activex/controls.h"
#include "platform/sys/numeric.h"
#include "views/health/pilot_relay.h"
#include "views/health/valve_cycles_travel.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using namespace activex;
using View = CHealth_Pos_PilotRelayView;

const Bytes kReadLimits = Read200({332, 333, 296, 297, 336, 337});
const Bytes kReadLive = Read200({295, 335, 331});

template <class I>
_com_ptr_t<I> As(IUnknown* unknown) {
  I* p = nullptr;
  if (unknown) unknown->QueryInterface(I::kIID, reinterpret_cast<void**>(&p));
  return _com_ptr_t<I>(p, false);
}

class PilotRelay : public testpages::SimulatedPage {
 protected:
  void Open() {
    page = static_cast<CMonitoringPage*>(CreatePage(view));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
  }
  // Shown and read: the first tick reads nothing, the second all.
  void OpenAndRead() {
    Open();
    clock.Advance(10000);
  }
  std::vector<Bytes> Sent() {
    device->ClearRequests();
    clock.Advance(5000);
    return device->Requests();
  }
  template <class I>
  _com_ptr_t<I> Control(UINT id) {
    CWnd* wnd = page->GetDlgItem(static_cast<int>(id));
    return As<I>(wnd ? wnd->GetControlUnknown() : nullptr);
  }
  IiLinearGaugeXPtr Gauge(UINT id) { return Control<IiLinearGaugeX>(id); }
  double Marker(UINT gauge, int k) {
    double v = 0;
    Gauge(gauge)->get_ElementPosition(k, &v);
    return v;
  }
  double ScaleMax(UINT gauge) {
    double v = 0;
    Gauge(gauge)->get_ScaleMax(&v);
    return v;
  }
  COLORREF PointerColour(UINT gauge) {
    COLORREF c = 0;
    Gauge(gauge)->get_ElementColor(0, &c);
    return c;
  }
  double Spin(UINT id) {
    double v = 0;
    Control<ISpinEditX>(id)->get_Value(&v);
    return v;
  }
  double SpinMax(UINT id) {
    double v = 0;
    Control<ISpinEditX>(id)->get_Max(&v);
    return v;
  }
  // What a user does: drags a marker, turns a spin edit, types and leaves.
  void Drag(UINT gauge, int k, double to) {
    Gauge(gauge)->put_ElementPosition(k, to);
    Control<IControlTest>(gauge)->UserEvent(19, {_variant_t(static_cast<LONG>(k))});
  }
  void Turn(UINT spin, double to) {
    Control<ISpinEditX>(spin)->put_Value(to);
    Control<IControlTest>(spin)->UserEvent(202, {});
  }
  void Type(int edit, const char* text) {
    page->SetDlgItemText(edit, text);
    page->GetDlgItem(edit)->NotifyParent(EN_KILLFOCUS);
  }
  std::string Text(int id) const { return page->GetDlgItemText(id); }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  void Click(int id) { page->GetDlgItemAs<CButton>(id)->Click(); }

  int view = 9;
  CMonitoringPage* page = nullptr;
};

TEST_F(PilotRelay, ReadsOnTheSecondTickAndShowsCountsUnsigned) {
  device->SetVariable(295, 0.0123);
  device->SetVariable(335, 2147483648.0);
  device->SetVariable(337, 1000);
  device->SetVariable(336, 900);
  Open();
  EXPECT_EQ(Sent(), std::vector<Bytes>{});
  EXPECT_FALSE(Enabled(View::kApplyId));
  EXPECT_EQ(Sent(), (std::vector<Bytes>{kReadLimits, kReadLive}));
  EXPECT_EQ(Text(View::kResponseEdit), "12");
  EXPECT_NEAR(Marker(View::kResponseGaugeId, 0), 12.3, 1e-4);
  EXPECT_EQ(Text(View::kCyclesEdit), "2147483648");
  EXPECT_EQ(Marker(View::kCyclesGaugeId, 0), 2147483648.0);
  EXPECT_EQ(ScaleMax(View::kCyclesGaugeId), 1.1 * 2147483648.0);
  EXPECT_EQ(Text(View::kCyclesInitialEdit), "900");
  EXPECT_EQ(Text(View::kCyclesFullEdit), "1000");
  for (int id : {View::kApplyId, View::kRetrieveId, View::kResetCyclesId, View::kResetTravelId})
    EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(PilotRelay, CounterScaleFromTheFullWarningAndTheCount) {
  const struct {
    double full, count, scale;
  } cases[] = {{1000, 500, 1100}, {1000, 2000, 2200}, {4294967295.0, 100, 4294967295.0}, {0, 0, 0}};
  OpenAndRead();
  for (const auto& c : cases) {
    device->SetVariable(333, c.full);
    device->SetVariable(331, c.count);
    Click(View::kRetrieveId);
    Sent();
    EXPECT_DOUBLE_EQ(ScaleMax(View::kTravelGaugeId), c.scale) << c.full << " " << c.count;
    EXPECT_DOUBLE_EQ(SpinMax(View::kTravelSpinId), c.scale);
  }
}

TEST_F(PilotRelay, ApplyWritesTheSixLimitsAsTheControlsHoldThem) {
  OpenAndRead();
  Control<ISpinEditX>(View::kWarningSpinId)->put_Value(250);
  Control<ISpinEditX>(View::kAlarmSpinId)->put_Value(1500);
  page->SetDlgItemText(View::kCyclesInitialEdit, "904.5");
  Control<ISpinEditX>(View::kCyclesSpinId)->put_Max(1e6);
  Control<ISpinEditX>(View::kCyclesSpinId)->put_Value(1005.9);
  page->SetDlgItemText(View::kTravelInitialEdit, "");
  Control<ISpinEditX>(View::kTravelSpinId)->put_Max(1e6);
  Control<ISpinEditX>(View::kTravelSpinId)->put_Value(100);
  Click(View::kApplyId);
  EXPECT_FALSE(Enabled(View::kApplyId));
  const Bytes write = {201,  36,   0x01, 0x4C, 0,    0,    0,    0,     // 332 travel initial: empty is 0
                       0x01, 0x4D, 0,    0,    0,    0x64,              // 333 travel full 100
                       0x01, 0x28, 0x3E, 0x80, 0,    0,                 // 296 0.25 s
                       0x01, 0x29, 0x3F, 0xC0, 0,    0,                 // 297 1.5 s
                       0x01, 0x50, 0,    0,    0x03, 0x88,              // 336 904
                       0x01, 0x51, 0,    0,    0x03, 0xED};             // 337 1005
  EXPECT_EQ(Sent(), std::vector<Bytes>{write});
  EXPECT_EQ(device->Variable(336), 904);
  EXPECT_TRUE(Enabled(View::kApplyId));
  EXPECT_EQ(Text(View::kCyclesInitialEdit), "904");
}

TEST_F(PilotRelay, ApplyStaysDisabledUntilALimitReadIsAnswered) {
  Open();
  Sent();
  device->InjectNoReply();
  Sent();
  EXPECT_FALSE(Enabled(View::kApplyId));
  EXPECT_TRUE(Enabled(View::kRetrieveId));
  Click(View::kRetrieveId);
  EXPECT_EQ(Sent(), (std::vector<Bytes>{kReadLimits, kReadLive}));
  EXPECT_TRUE(Enabled(View::kApplyId));
}

TEST_F(PilotRelay, AnApplyWithoutReplyKeepsTheEditsAndTheDeviceValuesInTheImage) {
  device->SetVariable(337, 1000);
  OpenAndRead();
  Turn(View::kCyclesSpinId, 2000);
  Click(View::kApplyId);
  device->InjectNoReply();
  Sent();
  EXPECT_EQ(theApp().m_comm.m_nVar337, 1000u);
  EXPECT_EQ(Text(View::kCyclesFullEdit), "2000");
  EXPECT_EQ(Spin(View::kCyclesSpinId), 2000);
  EXPECT_EQ(device->Variable(337), 1000);
  bool said = false;
  for (const std::string& line : log.Texts()) said |= line.find("not written") != std::string::npos;
  EXPECT_TRUE(said);
}

// Dragging keeps the warning below the alarm: the alarm pushes the warning
// 2 down, the warning pushes the alarm 1 up, both stopped at the scale.
TEST_F(PilotRelay, ResponseMarkersPushEachOtherApartWithinTheScale) {
  const struct {
    int dragged;
    double to, warning, alarm;  // before the drag
    double warningAfter, alarmAfter;
  } cases[] = {
      {2, 100, 150, 300, 98, 100},   {1, 200, 100, 150, 200, 201},    {1, 999.5, 100, 999.2, 999.5, 1000},
      {2, 1, 1, 500, 0, 1},          {1, 300, 100, 500, 300, 500},
  };
  OpenAndRead();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dragged << " to " << c.to);
    Turn(View::kWarningSpinId, c.warning);
    Turn(View::kAlarmSpinId, c.alarm);
    Drag(View::kResponseGaugeId, c.dragged, c.to);
    EXPECT_DOUBLE_EQ(Marker(View::kResponseGaugeId, 1), c.warningAfter);
    EXPECT_DOUBLE_EQ(Marker(View::kResponseGaugeId, 2), c.alarmAfter);
    EXPECT_DOUBLE_EQ(Spin(View::kWarningSpinId), c.warningAfter);
    EXPECT_DOUBLE_EQ(Spin(View::kAlarmSpinId), c.alarmAfter);
    EXPECT_EQ(Text(View::kWarningEdit), plat::FormatNumber("%.0f", c.warningAfter));
  }
  // At an end the marker stays there and the limits keep their values.
  Turn(View::kAlarmSpinId, 400);
  Drag(View::kResponseGaugeId, 2, 1000);
  EXPECT_EQ(Marker(View::kResponseGaugeId, 2), 1000);
  EXPECT_EQ(Spin(View::kAlarmSpinId), 400);
  EXPECT_EQ(Text(View::kAlarmEdit), "400");
}

TEST_F(PilotRelay, TypedResponseLimitsStayOnTheScale) {
  const struct {
    const char* typed;
    double value;
    const char* shown;
  } cases[] = {{"5000", 1000, "1000"}, {"-5", 0, "0"}, {"", 0, ""}, {"250.5", 250.5, "250.5"}};
  OpenAndRead();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Type(View::kWarningEdit, c.typed);
    EXPECT_EQ(Spin(View::kWarningSpinId), c.value);
    EXPECT_EQ(Marker(View::kResponseGaugeId, 1), c.value);
    EXPECT_EQ(Text(View::kWarningEdit), c.shown);
  }
}

// The initial warning is 90 % of the full warning after every edit; a
// typed full warning grows the scale, never shrinks it.
TEST_F(PilotRelay, TypedFullWarningSetsTheInitialWarningAndGrowsTheScale) {
  const struct {
    const char* typed;
    double full, scale;
    const char* initial;
  } cases[] = {
      {"1000", 1000, 1100, "900"},
      {"1005", 1005, 1105.5, "904.5"},
      {"500", 500, 1105.5, "450"},
      {"-5", 0, 1105.5, "0"},
      {"", 0, 1105.5, "0"},
      {"5000000000", 4294967295.0, 4294967295.0, "3865470565.5"},
  };
  device->SetVariable(333, 0);
  device->SetVariable(331, 0);
  device->SetVariable(337, 0);
  device->SetVariable(335, 0);
  OpenAndRead();  // scale 0
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Type(View::kCyclesFullEdit, c.typed);
    EXPECT_EQ(Spin(View::kCyclesSpinId), c.full);
    EXPECT_EQ(Marker(View::kCyclesGaugeId, 2), c.full);
    EXPECT_DOUBLE_EQ(Marker(View::kCyclesGaugeId, 1), 0.9 * c.full);
    EXPECT_DOUBLE_EQ(ScaleMax(View::kCyclesGaugeId), c.scale);
    EXPECT_DOUBLE_EQ(SpinMax(View::kCyclesSpinId), c.scale);
    EXPECT_EQ(Text(View::kCyclesInitialEdit), c.initial);
    EXPECT_EQ(Text(View::kCyclesFullEdit), limits::VariantText(c.full));
  }
}

TEST_F(PilotRelay, FullWarningSpinAndMarkerKeepTheInitialWarningAt90Percent) {
  device->SetVariable(333, 10000);
  OpenAndRead();
  Turn(View::kTravelSpinId, 1005);
  EXPECT_EQ(Text(View::kTravelFullEdit), "1005");
  EXPECT_EQ(Text(View::kTravelInitialEdit), "904");  // printf rounds half to even
  EXPECT_DOUBLE_EQ(Marker(View::kTravelGaugeId, 1), 904.5);
  Drag(View::kTravelGaugeId, 2, 11000);  // the scale's end: the edits follow
  EXPECT_EQ(Spin(View::kTravelSpinId), 11000);
  EXPECT_EQ(Text(View::kTravelInitialEdit), "9900");
  Drag(View::kTravelGaugeId, 1, 100);  // the initial warning is not the user's to drag
  EXPECT_EQ(Text(View::kTravelInitialEdit), "9900");
}

TEST_F(PilotRelay, CounterLimitsCannotBeEditedBeforeTheFirstRead) {
  Open();
  const std::string initial = Text(View::kCyclesInitialEdit);
  Turn(View::kCyclesSpinId, 1000);
  Type(View::kTravelFullEdit, "1000");
  EXPECT_EQ(Text(View::kCyclesInitialEdit), initial);
  EXPECT_EQ(Text(View::kTravelInitialEdit), initial);
}

// On a limit is still good; above the upper one wins; each gauge on its own.
TEST_F(PilotRelay, PointerColoursFollowTheLimitsShownEvenUnapplied) {
  const struct {
    double response, cycles;
    COLORREF responseColour, cyclesColour;
  } cases[] = {
      {0.100, 900, 0x00FF00, 0x00FF00}, {0.150, 901, 0x00FFFF, 0x00FFFF},
      {0.300, 1000, 0x00FFFF, 0x00FFFF}, {0.301, 1001, 0x0A0AFF, 0x00FFFF},
      {0.050, 0, 0x00FF00, 0x00FF00},
  };
  device->SetVariable(296, 0.1);
  device->SetVariable(297, 0.3);
  device->SetVariable(336, 900);
  device->SetVariable(337, 1000);
  OpenAndRead();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.response);
    device->SetVariable(295, c.response);
    device->SetVariable(335, c.cycles);
    clock.Advance(15000);  // a live read, then a tick of colours
    EXPECT_EQ(PointerColour(View::kResponseGaugeId), c.responseColour);
    EXPECT_EQ(PointerColour(View::kCyclesGaugeId), c.cyclesColour);
    EXPECT_EQ(PointerColour(View::kTravelGaugeId), 0x00FF00u);  // 0 on 0
  }
  Turn(View::kWarningSpinId, 10);
  clock.Advance(5000);
  EXPECT_EQ(PointerColour(View::kResponseGaugeId), 0x00FFFFu);
}

// The write carries the record as read, big-endian, and the select byte:
// 2 resets the cycles, 1 the travel.
TEST_F(PilotRelay, ResetReadsTheRecordThenWritesItWithTheSelectByte) {
  struct Case {
    int button;
    std::uint8_t select;
    int box;
  };
  for (const Case& c : {Case{View::kResetCyclesId, 2, View::kCyclesEdit}, Case{View::kResetTravelId, 1, View::kTravelEdit}}) {
    SCOPED_TRACE(c.button);
    ModifyState(testpages::SetPilotRecord);
    OpenAndRead();
    Click(c.button);
    EXPECT_FALSE(Enabled(View::kApplyId));
    EXPECT_EQ(Sent(), std::vector<Bytes>{{162}});
    const Bytes write = {163, 17, 1, 2, 3, 4, 5, 6, 7, 8, 0x0A, 0x0B, 0x0C, 0x0D, 0x11, 0x12, 0x13, 0x14, c.select};
    EXPECT_EQ(Sent(), std::vector<Bytes>{write});
    EXPECT_EQ(Text(c.box), "0");
    EXPECT_TRUE(Enabled(c.button));
    page->StopMonitoring();
  }
}

TEST_F(PilotRelay, ResetWhoseReadIsLostWritesNothing) {
  OpenAndRead();
  Click(View::kResetTravelId);
  device->InjectNoReply();
  Sent();
  EXPECT_TRUE(Enabled(View::kResetTravelId));
  for (int k = 0; k < 3; ++k)
    for (const Bytes& sent : Sent()) EXPECT_NE(sent.front(), 163);
  EXPECT_EQ(device->State().travel.pilot.count1, sim::TravelRecords{}.pilot.count1);
}

// ---- The valve's cycles and travel.

using Valve = CHealth_Val_CycleAndTravelsView;

class ValveCycles : public PilotRelay {
 protected:
  void SetUp() override {
    PilotRelay::SetUp();
    view = 6;
  }
};

// Limits on the first tick; the counts, and with them the buttons, on the
// second.
TEST_F(ValveCycles, ApplyWritesTheSixLimitsAsShownTowardZero) {
  device->SetVariable(307, 1000);
  OpenAndRead();
  EXPECT_TRUE(Enabled(Valve::kApplyId));
  Type(Valve::kCycleDeadbandEdit, "150");
  EXPECT_EQ(Text(Valve::kCycleDeadbandEdit), "100");
  Type(Valve::kTravelDeadbandEdit, "-5");
  EXPECT_EQ(Text(Valve::kTravelDeadbandEdit), "0");
  page->SetDlgItemText(Valve::kCyclesInitialEdit, "900.45");
  page->SetDlgItemText(Valve::kTravelInitialEdit, "90");
  Turn(Valve::kTravelSpinId, 100);  // sets the initial warning to 90 % again
  Click(Valve::kApplyId);
  const Bytes write = {201,  36,   0x01, 0x35, 0,    0,    0,    0,   // 309 travel deadband 0.0
                       0x01, 0x2F, 0,    0,    0,    0x64,            // 303 travel full 100
                       0x01, 0x2E, 0,    0,    0,    0x5A,            // 302 travel initial 90
                       0x01, 0x36, 0x42, 0xC8, 0,    0,               // 310 cycle deadband 100.0
                       0x01, 0x32, 0,    0,    0x03, 0x84,            // 306 cycles initial 900
                       0x01, 0x33, 0,    0,    0x03, 0xE8};           // 307 cycles full 1000
  EXPECT_EQ(Sent(), std::vector<Bytes>{write});
}

TEST_F(ValveCycles, TypedFullWarningSetsTheScaleEvenSmallerAndFitsTheWord) {
  const struct {
    const char* typed;
    double full, scale;
  } cases[] = {{"1000", 1000, 1100}, {"10", 10, 11}, {"4000000000", 4e9, 4e9}, {"9e12", 4294967295.0, 4294967295.0},
               {"-1", 0, 0}};
  OpenAndRead();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Type(Valve::kCyclesFullEdit, c.typed);
    EXPECT_EQ(Spin(Valve::kCyclesSpinId), c.full);
    EXPECT_DOUBLE_EQ(ScaleMax(Valve::kCyclesGaugeId), c.scale);
    EXPECT_EQ(Text(Valve::kCyclesInitialEdit), limits::VariantText(0.9 * c.full));
  }
}

TEST_F(ValveCycles, ACyclesDragPastTheEndUpdatesTheEditsATravelDragDoesNot) {
  device->SetVariable(307, 1000);
  device->SetVariable(303, 1000);
  device->SetVariable(305, 0);
  device->SetVariable(301, 0);
  OpenAndRead();
  Drag(Valve::kCyclesGaugeId, 2, 1100);
  EXPECT_EQ(Text(Valve::kCyclesFullEdit), "1100");
  EXPECT_EQ(Text(Valve::kCyclesInitialEdit), "990");
  Drag(Valve::kTravelGaugeId, 2, 1100);
  EXPECT_EQ(Marker(Valve::kTravelGaugeId, 2), 1100);
  EXPECT_EQ(Text(Valve::kTravelFullEdit), "1000");
  Drag(Valve::kTravelGaugeId, 2, 500);
  EXPECT_EQ(Text(Valve::kTravelInitialEdit), "450");
}

// From the initial warning on yellow, from the full warning on 0x3399CC.
TEST_F(ValveCycles, LiveValueColoursCountALimitAsReached) {
  const struct {
    double count;
    COLORREF colour;
  } cases[] = {{899, 0x00FF00}, {900, 0x00FFFF}, {999, 0x00FFFF}, {1000, 0x3399CC}};
  device->SetVariable(306, 900);
  device->SetVariable(307, 1000);
  OpenAndRead();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    device->SetVariable(305, c.count);
    clock.Advance(20000);
    EXPECT_EQ(PointerColour(Valve::kCyclesGaugeId), c.colour);
  }
}

TEST_F(ValveCycles, ResetWhoseReadIsLostWritesNothing) {
  OpenAndRead();
  Click(Valve::kResetCyclesId);
  device->InjectNoReply();
  EXPECT_EQ(Sent(), std::vector<Bytes>{{156}});
  for (int k = 0; k < 3; ++k)
    for (const Bytes& sent : Sent()) EXPECT_NE(sent.front(), 157);
  EXPECT_TRUE(Enabled(Valve::kResetCyclesId));
}

}  // namespace
