// Device variables behind 200 and 201: mixed wire types against replies
// worked out by hand, the variables that records keep, the priority code
// derived from the status records, and the writes that act.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sys/time_source.h"
#include "sim/positioner.h"
#include "sim/variables.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

class VariableTest : public testing::Test {
 protected:
  std::optional<Bytes> Send(const Bytes& request) { return positioner.Transact(request); }
  void Change(const std::function<void(DeviceState&)>& change) {
    DeviceState state = positioner.State();
    change(state);
    positioner.SetState(state);
  }

  // Still, so that the valve stays where a test puts it.
  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

TEST_F(VariableTest, ReadsMixedTypesInOneList) {
  positioner.SetVariable(8, 1);
  positioner.SetVariable(69, 0x1234);
  positioner.SetVariable(10, 50.0);
  Change([](DeviceState& s) { s.travel.valve.count1 = 0x01020304; });

  EXPECT_EQ(Send({200, 8, 0, 8, 0, 69, 1, 45, 0, 10}),
            (Bytes{200, 21, 0, 0, 0, 8, 1, 0, 69, 0x12, 0x34, 1, 45, 1, 2, 3, 4, 0, 10, 0x42, 0x48, 0x00, 0x00}));
}

// The raw sensor readings: the stem's count between the stroke end points
// (80, 81), held to 16 bits; the Hall sensor over the spool, 0.25 V closed
// to 2.25 V open, on 12 bits of a 2.5 V reference (4096 counts).
TEST_F(VariableTest, RawSensorReadingsFollowStemAndSpoolAndIgnoreWrites) {
  const struct {
    const char* name;
    double stem, spool, openCount;
    Bytes values;  // 83 w, 78 w, 132 f
  } cases[] = {
      {"Mid", 60, 60, 58980, {0x94, 0x78, 0x09, 0x48, 0x3F, 0xB9, 0x99, 0x9A}},    // 38008, 2376, 1.45
      {"Ends", 100, 0, 58980, {0xE6, 0x64, 0x01, 0x9A, 0x3E, 0x80, 0x00, 0x00}},   // 58980, 410, 0.25
      {"PastTheTop", 101, 100, 65000, {0xFF, 0xFF, 0x0E, 0x66, 0x40, 0x10, 0x00, 0x00}},  // 65535, 3686, 2.25
  };
  const Bytes request = {200, 6, 0, 83, 0, 78, 0, 132};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Change([&c](DeviceState& s) {
      s.valve.position = c.stem;
      s.valve.pilotPosition = c.spool;
    });
    positioner.SetVariable(81, c.openCount);
    const Bytes& v = c.values;
    const Bytes expected = {200, 16, 0, 0, 0, 83, v[0], v[1], 0, 78, v[2], v[3], 0, 132, v[4], v[5], v[6], v[7]};
    EXPECT_EQ(Send(request), expected);
    // A write is answered but changes nothing: the readings follow the valve.
    ASSERT_EQ(Send({201, 14, 0, 83, 0x00, 0x01, 0, 78, 0x00, 0x02, 0, 132, 0, 0, 0, 0})->at(2), kRcSuccess);
    EXPECT_EQ(Send(request), expected);
  }
}

// 302 is the valve record's first travel limit: 156 shows what 201 wrote.
TEST_F(VariableTest, WritesAUint32AndAFloat) {
  const Bytes data = {1, 46, 0x00, 0x03, 0x0D, 0x40, 1, 53, 0x3E, 0x80, 0x00, 0x00};
  EXPECT_EQ(Send(Bytes{201, 12} + data), (Bytes{201, 14, 0, 0} + data));

  EXPECT_EQ(positioner.Variable(302), 200000);
  EXPECT_EQ(positioner.Variable(309), 0.25);
  const std::optional<Bytes> record = Send({156});
  ASSERT_TRUE(record);
  EXPECT_EQ(Bytes(record->begin() + 8, record->begin() + 12), (Bytes{0x00, 0x03, 0x0D, 0x40}));
}

// Every variable gets a value that fills its type's width and differs from
// every other one's, so two variables sharing a place, or a place narrower
// than the wire type, show. Those worked out from others (the loop current,
// the command in effect, the deviation) set what they follow from:
// valve_test.cpp; the command A/D count follows the loop current and a
// write of the supply count takes a zero: calibration_test.cpp; the stem
// and Hall sensor readings follow the valve: below; the test state starts
// and stops runs: test_engine_test.cpp.
TEST_F(VariableTest, EveryWritableVariableKeepsItsOwnValue) {
  std::map<std::uint16_t, Bytes> written;
  double n = 0;
  for (const VariableInfo& v : VariableTable()) {
    if (v.id == 42 || v.id == 1 || v.id == 6 || v.id == 12 || v.id == 74 || v.id == 78 || v.id == 83 ||
        v.id == 88 || v.id == 132 || v.id == 144)
      continue;
    ++n;
    const double value = v.type == WireType::U8    ? n
                         : v.type == WireType::U16 ? 0x0100 + n
                         : v.type == WireType::U32 ? 0x01000000 + n
                                                   : n + 0.5;
    Bytes request = {201, 0, static_cast<std::uint8_t>(v.id >> 8), static_cast<std::uint8_t>(v.id)};
    PutValue(request, v.type, value);
    request[1] = static_cast<std::uint8_t>(request.size() - 2);
    ASSERT_EQ(Send(request)->at(2), kRcSuccess) << v.id;
    written[v.id] = Bytes(request.begin() + 2, request.end());
  }
  for (const auto& [id, bytes] : written) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Send({200, 2, static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id)}),
              (Bytes{200, static_cast<std::uint8_t>(bytes.size() + 2), 0, 0} + bytes));
  }
}

struct ListCase {
  const char* name;
  std::uint8_t command;
  const char* ids;  // "id" and the type letter: b uint8, w uint16, d uint32, f float32
};
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

struct ListItem {
  std::uint16_t id;
  std::size_t width;
};

std::vector<ListItem> Items(const char* ids) {
  std::vector<ListItem> items;
  std::istringstream in(ids);
  std::string item;
  while (in >> item) {
    const char type = item.back();
    const std::size_t width = type == 'b' ? 1 : type == 'w' ? 2 : 4;
    items.push_back({static_cast<std::uint16_t>(std::stoi(item.substr(0, item.size() - 1))), width});
  }
  return items;
}

class ScreenList : public VariableTest, public testing::WithParamInterface<ListCase> {};

// A read's reply walks the list with the program's widths; a write of
// 0x01 bytes comes back unchanged.
TEST_P(ScreenList, IsAnsweredWithTheProgramsLayout) {
  const std::vector<ListItem> items = Items(GetParam().ids);
  Bytes request = {GetParam().command, 0};
  for (const ListItem& item : items) {
    request.push_back(static_cast<std::uint8_t>(item.id >> 8));
    request.push_back(static_cast<std::uint8_t>(item.id));
    if (GetParam().command == 201) request = request + Repeat({0x01}, static_cast<int>(item.width));
  }
  request[1] = static_cast<std::uint8_t>(request.size() - 2);

  const std::optional<Bytes> reply = Send(request);
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->at(2), kRcSuccess);
  if (GetParam().command == 201) {
    EXPECT_EQ(Bytes(reply->begin() + 4, reply->end()), Bytes(request.begin() + 2, request.end()));
    return;
  }
  std::size_t at = 4;
  for (const ListItem& item : items) {
    ASSERT_LE(at + 2 + item.width, reply->size()) << item.id;
    EXPECT_EQ(reply->at(at) << 8 | reply->at(at + 1), item.id);
    at += 2 + item.width;
  }
  EXPECT_EQ(reply->size(), at);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ScreenList,
    testing::Values(
        ListCase{"StatusPoll", 200, "8b 42b"},
        ListCase{"DashboardCyclic", 200, "2f 6f 10f 12f 55b 56b 135f 264b"},
        ListCase{"DashboardSlow", 200, "8b 62f 63f 117f 118f"},
        ListCase{"PressureSensorsPresent", 200, "265b"},
        ListCase{"AnnunciatorSetup", 200, "305d 301d 335d 331d 336d 332d 295f 296f 297f 302d 306d"},
        ListCase{"AnnunciatorValues", 200, "12f 119f 490f 118f 117f 63f 62f 135f 152b"},
        ListCase{"LocalPanel", 200, "179b"},
        ListCase{"EventLogCount", 200, "454b"},
        ListCase{"ValveHealth", 200, "305d 301d 116f"},
        ListCase{"TravelUnit", 200, "150b"},
        ListCase{"CycleAndTravelLimits", 200, "306d 302d 307d 303d 309f 150b 310f"},
        ListCase{"CycleAndTravelCounts", 200, "301d 116f 305d"},
        ListCase{"PositionerHealth", 200, "295f 335d 135f 490f 331d"},
        ListCase{"TemperatureUnit", 200, "152b"},
        ListCase{"Temperature", 200, "135f"},
        ListCase{"PilotRelay", 200, "295f 335d 331d"},
        ListCase{"PilotRelayLimits", 200, "332d 333d 296f 297f 336d 337d"},
        ListCase{"PiezoVoltage", 200, "490f"},
        ListCase{"ControlHealth", 200, "10f 12f 288b"},
        ListCase{"DeviationLimits", 200, "119f 120f"},
        ListCase{"Deviation", 200, "12f"},
        ListCase{"PosAlertLimits", 200, "117f 118f"},
        ListCase{"Position", 200, "10f"},
        ListCase{"StrokeChar", 200, "167b 55b 56b"},
        ListCase{"CustomCharSetup", 200, "167b 56b 150b 116f"},
        ListCase{"ActuatorType", 200, "229b"},
        ListCase{"PressureControl", 200, "56b 43f"},
        ListCase{"SensorCalibValues", 200, "69w 10f 170b 56b 42b"},
        ListCase{"SensorCalibRaw", 200, "80w 81w 17f"},
        ListCase{"ZeroSupplyValues", 200, "71w 72w 73w"},
        ListCase{"ZeroSupplyState", 200, "74w"},
        ListCase{"CommandCalib", 200, "126w 85w 86w 87w"},
        ListCase{"CommandCalibState", 200, "1f 88w"},
        ListCase{"TestSetup", 200, "116f 150b 391f 410b 56b 142f 143f 145f 149f 144b 147b"},
        ListCase{"TestState", 200, "146f 144b"},
        ListCase{"PstSetup", 200, "142f 143f 145f 149f 289f 144b 147b"},
        ListCase{"PstResult", 200, "285f 287f 288b"},
        ListCase{"HdrlState", 200, "8b 3f"},
        ListCase{"DataLoggerData", 200, "6f 2f 10f 48f 49f 135f"},
        ListCase{"TechSensors", 200, "83w 10f 132f 78w 48f 1f 88w"},
        ListCase{"AuxiliaryBytes", 200, "228b 230b 229b 231b 211b 212b 189b 196b"},
        ListCase{"WriteCmdPct", 201, "3f"},
        ListCase{"WriteControlModeAndCmdPct", 201, "8b 3f"},
        ListCase{"WriteEventLog455", 201, "454b 455b"},
        ListCase{"WriteEventLog457", 201, "454b 457b"},
        ListCase{"WriteEventLog459", 201, "454b 459b"},
        ListCase{"WriteCycleAndTravelLimits", 201, "309f 303d 302d 310f 306d 307d"},
        ListCase{"WritePilotRelayValues", 201, "332d 333d 296f 297f 336d 337d"},
        ListCase{"WriteDeviationLimits", 201, "119f 120f"},
        ListCase{"WritePosAlertLimits", 201, "117f 118f"},
        ListCase{"WriteAlertVars461And462", 201, "461b 462b"},
        ListCase{"WriteStrokeChar", 201, "167b 56b"},
        ListCase{"WritePressureControl", 201, "56b 43f"},
        ListCase{"WriteCalibCommand", 201, "170b"},
        ListCase{"WriteZeroSupplyState", 201, "74w"},
        ListCase{"WriteCommandCalibStep", 201, "14b"},
        ListCase{"WriteTestCommand", 201, "141b"},
        ListCase{"WritePstSetup", 201, "142f 143f 145f 149f 289f 144b"},
        ListCase{"WriteTestVar147", 201, "147b"}),
    [](const auto& info) { return info.param.name; });

// Codes the program has no text for still reach it.
TEST_F(VariableTest, CodesWithoutATextAreKept) {
  const Bytes values = {0, 150, 48, 1, 32, 7, 0, 228, 254, 0, 229, 255, 1, 154, 2};
  EXPECT_EQ(Send(Bytes{201, 15} + values), (Bytes{201, 17, 0, 0} + values));
  EXPECT_EQ(Send({200, 10, 0, 150, 1, 32, 0, 228, 0, 229, 1, 154}), (Bytes{200, 17, 0, 0} + values));
}

struct PriorityCase {
  const char* name;
  std::map<std::size_t, std::uint8_t> bytes;
  std::map<std::size_t, std::uint8_t> masks;  // the others report every bit
  std::uint8_t code;
};
void PrintTo(const PriorityCase& c, std::ostream* os) { *os << c.name; }

class PriorityCode42 : public VariableTest, public testing::WithParamInterface<PriorityCase> {};

TEST_P(PriorityCode42, IsTheFirstActiveNamedBit) {
  Change([](DeviceState& s) {
    for (const auto& [at, bits] : GetParam().bytes) s.status.bytes[at] = bits;
    for (const auto& [at, bits] : GetParam().masks) s.status.masks[at] = bits;
  });
  EXPECT_EQ(Send({200, 2, 0, 42}), (Bytes{200, 5, 0, 0, 0, 42, GetParam().code}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PriorityCode42,
    testing::Values(PriorityCase{"NoneSet", {}, {}, 0},
                    PriorityCase{"OneBit", {{11, 0x01}}, {}, 88},
                    PriorityCase{"MaskedBit", {{11, 0x01}}, {{11, 0xFE}}, 0},
                    PriorityCase{"MaskedBitGivesWay", {{2, 0x20}, {13, 0x80}}, {{2, 0xDF}}, 111},
                    PriorityCase{"LowerByteFirst", {{12, 0x02}, {11, 0x08}}, {}, 91},
                    PriorityCase{"LowerBitFirst", {{18, 0x06}}, {}, 145},
                    PriorityCase{"LastNamedBit", {{28, 0x40}}, {}, 230},
                    PriorityCase{"UnnamedBitsAreSkipped", {{0, 0xE0}, {7, 0xFF}, {28, 0xC0}}, {}, 230},
                    PriorityCase{"UnnamedBitsAloneAreNone", {{21, 0xFF}, {31, 0xFF}}, {}, 0},
                    PriorityCase{"FirstBitAloneIsNone", {{0, 0x01}}, {}, 0},
                    PriorityCase{"FirstBitGivesWay", {{0, 0x01}, {1, 0x01}}, {}, 8}),
    [](const auto& info) { return info.param.name; });

TEST_F(VariableTest, PriorityCodeFollowsEveryChangeAndIgnoresWrites) {
  Change([](DeviceState& s) { s.status.bytes[11] = 0x01; });
  EXPECT_EQ(Send({201, 3, 0, 42, 7}), (Bytes{201, 5, 0, 0, 0, 42, 88}));

  EXPECT_EQ(Send(Bytes{177, 32} + Repeat({0xFF}, 11) + Bytes{0xFE} + Repeat({0xFF}, 20))->at(2), kRcSuccess);
  EXPECT_EQ(Send({200, 2, 0, 42}), (Bytes{200, 5, 0, 0, 0, 42, 0}));
  EXPECT_EQ(positioner.Variable(42), 0);
}

// 142 and 168 send the temperature unit along; 152 is the same code.
TEST_F(VariableTest, TemperatureUnitIsTheSetupUnitCode) {
  EXPECT_EQ(Send({200, 2, 0, 152}), (Bytes{200, 5, 0, 0, 0, 152, 32}));
  Change([](DeviceState& s) { s.setup.unitCodes[kTemperatureUnit] = 33; });
  EXPECT_EQ(Send({200, 2, 0, 152}), (Bytes{200, 5, 0, 0, 0, 152, 33}));

  EXPECT_EQ(Send({201, 3, 0, 152, 32}), (Bytes{201, 5, 0, 0, 0, 152, 32}));
  EXPECT_EQ(Send({142}), (Bytes{142, 8, 0, 0, 57, 6, 6, 32, 57, 12}));
  EXPECT_EQ(Send({168})->at(4), 32);
}

struct ActionCase {
  const char* name;
  Bytes data;  // of the 201 request
  void (*before)(DeviceState&);
  void (*after)(DeviceState&);  // what the write changes, the value stored included
};
void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.name; }

class WriteThatActs : public VariableTest, public testing::WithParamInterface<ActionCase> {};

TEST_P(WriteThatActs, ChangesItsStateAndNothingElse) {
  const ActionCase& c = GetParam();
  Change([&c](DeviceState& s) {
    s.tests.samples.next = 7;
    s.history.allEvents.next = 1;
    s.history.calibrationEvents.next = 2;
    s.history.alarmEvents.next = 3;
    s.history.eventSelect = 5;
    s.variables[462] = 9;
    c.before(s);
  });
  DeviceState expected = positioner.State();
  c.after(expected);

  const auto count = static_cast<std::uint8_t>(c.data.size());
  EXPECT_EQ(Send(Bytes{201, count} + c.data), (Bytes{201, static_cast<std::uint8_t>(count + 2), 0, 0} + c.data));
  EXPECT_EQ(positioner.State(), expected);
}

void Nothing(DeviceState&) {}

INSTANTIATE_TEST_SUITE_P(
    Writes, WriteThatActs,
    testing::Values(
        ActionCase{"Zero147RewindsTestSamples", {0, 147, 0}, Nothing,
                   [](DeviceState& s) {
                     s.tests.samples.next = 0;
                     s.variables[147] = 0;
                   }},
        ActionCase{"Other147OnlyStores", {0, 147, 3}, Nothing, [](DeviceState& s) { s.variables[147] = 3; }},
        ActionCase{"Reset462ClearsTheHistogramOf461", {1, 205, 2, 1, 206, 1}, Nothing,
                   [](DeviceState& s) {
                     s.aux.histograms[2] = {};
                     s.variables[461] = 2;
                     s.variables[462] = 1;
                   }},
        ActionCase{"Reset462WithNoSuchHistogram", {1, 205, 4, 1, 206, 1}, Nothing,
                   [](DeviceState& s) {
                     s.variables[461] = 4;
                     s.variables[462] = 1;
                   }},
        ActionCase{"Zero462ClearsNothing", {1, 206, 0}, Nothing, [](DeviceState& s) { s.variables[462] = 0; }},
        ActionCase{"Two454ClearsEveryEventHistory", {1, 198, 2}, Nothing,
                   [](DeviceState& s) {
                     for (EventHistory* h : {&s.history.allEvents, &s.history.calibrationEvents,
                                             &s.history.alarmEvents}) {
                       h->records.clear();
                       h->next = 0;
                     }
                     s.history.eventSelect = 2;
                   }},
        ActionCase{"Other454OnlyStores", {1, 198, 0}, Nothing, [](DeviceState& s) { s.history.eventSelect = 0; }},
        ActionCase{"Selecting455RewindsAllEvents", {1, 198, 0, 1, 199, 0},
                   [](DeviceState& s) { s.variables[455] = 1; },
                   [](DeviceState& s) {
                     s.history.eventSelect = 0;
                     s.variables[455] = 0;
                     s.history.allEvents.next = 0;
                   }},
        ActionCase{"Selecting457RewindsCalibrations", {1, 198, 0, 1, 201, 0}, Nothing,
                   [](DeviceState& s) {
                     s.history.eventSelect = 0;
                     s.history.calibrationEvents.next = 0;
                   }},
        ActionCase{"Selecting459RewindsAlarms", {1, 198, 0, 1, 203, 0}, Nothing,
                   [](DeviceState& s) {
                     s.history.eventSelect = 0;
                     s.history.alarmEvents.next = 0;
                   }}),
    [](const auto& info) { return info.param.name; });

TEST_F(VariableTest, RewoundTestSamplesStartAgainAtBlock0) {
  for (int read = 0; read < 3; ++read) Send({214});
  Send({201, 3, 0, 147, 0});
  EXPECT_EQ(Send({214})->at(60), 0);
  EXPECT_EQ(Send({214})->at(60), 1);
}

TEST_F(VariableTest, EventHistoryControlByteIsTheOneOf237) {
  EXPECT_EQ(Send({237, 1, 5})->at(2), kRcSuccess);
  EXPECT_EQ(Send({200, 2, 1, 198}), (Bytes{200, 5, 0, 0, 1, 198, 5}));
}

}  // namespace
}  // namespace sim::test
