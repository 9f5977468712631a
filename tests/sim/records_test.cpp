// The record commands against replies worked out by hand from their
// layouts: every read, every write with the state it leaves, and the
// requests the device refuses.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/time_source.h"
#include "sim/positioner.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

// Floats whose wire bytes are easy to check by hand.
const Bytes kOne = {0x3F, 0x80, 0x00, 0x00};        // 1.0
const Bytes kMinus1p5 = {0xBF, 0xC0, 0x00, 0x00};   // -1.5
const Bytes kHundred = {0x42, 0xC8, 0x00, 0x00};    // 100.0
const Bytes kQuarter = {0x3E, 0x80, 0x00, 0x00};    // 0.25
const Bytes kHalf = {0x3F, 0x00, 0x00, 0x00};       // 0.5
const Bytes kTwo = {0x40, 0x00, 0x00, 0x00};        // 2.0
const Bytes k12p5 = {0x41, 0x48, 0x00, 0x00};       // 12.5
const Bytes kThirtyFive = {0x42, 0x0C, 0x00, 0x00}; // 35.0

const std::string kStrokeHistory = "03/14/2025 10:22:05 ABC";

// Every record holds values that differ from its neighbours', so that a
// field in the wrong place shows.
DeviceState Distinct() {
  DeviceState s;
  StatusRecords& status = s.status;
  status.bytes = {};
  status.bytes[0] = 0x81;
  status.bytes[13] = 0xC2;  // the travel and pilot counters stand beyond their limits
  status.bytes[17] = 0x22;
  status.bytes[31] = 0x40;
  status.masks = Filled<32>(0xFF);
  status.masks[1] = 0x7E;
  status.masks[30] = 0x00;
  status.health = {1.0f, -1.5f, 100.0f, 0.25f};
  status.temperature = {5.0f, 10.0f, -20.0f, 12.5f};  // °C, sent in °F

  SetupRecords& setup = s.setup;
  setup.commandPosition = {7};
  setup.commandPosition[37] = 1;
  setup.commandPosition[50] = 1;
  setup.customCurve = {};
  setup.customCurve[1] = -200;
  setup.customCurve[10] = 32767;
  setup.customCurve[20] = 10000;
  setup.secondCurve = {};
  setup.secondCurve[0] = -32768;
  setup.secondCurve[20] = 1234;
  setup.configuration = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  setup.unitCodes = {47, 6, 12, 33, 57, 143};
  setup.bytes182 = {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6};
  setup.bytes222 = {0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7};

  s.travel.valve = {.count1 = 0xFFFFFFFF, .limit1A = 0x01020304, .limit1B = 100, .value1A = 1.0f, .value1B = -1.5f,
                    .count2 = 12345, .limit2A = 0x0A0B0C0D, .limit2B = 0, .value2A = 0.25f, .value2B = 100.0f,
                    .setting1 = 2.0f, .setting2 = 12.5f, .setting3 = 35.0f, .setting = 2};
  s.travel.actuator = {.count1 = 7, .limit1A = 8, .limit1B = 9, .value1A = 1.0f, .value1B = 2.0f, .count2 = 10,
                       .limit2A = 11, .limit2B = 12, .value2A = 0.5f, .value2B = 4.0f, .setting1 = 8.0f,
                       .setting = 3};
  s.travel.bellows = {.count1 = 0x01000000, .setting = 4};
  s.travel.pilot = {.count1 = 0x11223344, .limit1A = 1, .limit1B = 2, .value1A = 0.5f, .value1B = 1.0f,
                    .count2 = 0x55667788, .limit2A = 3, .limit2B = 4, .value2A = -1.5f, .value2B = 2.0f,
                    .setting1 = 100.0f, .setting = 1};

  AuxCard card1{.setting0 = 0x11, .setting1 = 0x2233, .reading0 = 0x4455, .reading1 = 1.0f, .reading2 = -1.5f,
                .reading3 = 0x66, .reading4 = 0x77, .settingWords = {0x0102, 0x0304, 0x0506, 0x0708},
                .settingValue = 12.5f};
  card1.settingBytes[0] = 0xA0;
  card1.settingBytes[32] = 0xAF;
  s.aux.cards = {card1, AuxCard{.setting0 = 0x22}};
  s.aux.training = {.setting = 0.5f, .settingByte = 3, .valueA = 1.0f, .valueB = 2.0f,
                    .bytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}};
  s.aux.trainingHistogram = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFFFF};
  s.aux.histograms[0] = {0x00010203, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7};

  s.tests.result = {.field0 = 5, .setup = {10.0f, 90.0f, 5.0f, 60.0f}, .info = {0, 0, 0, 3, 14, 25},
                    .resultA = 1.5f, .resultB = 0.0f, .resultC = 2.5f, .resultCode = 2, .setup4 = 30.0f,
                    .bits = 0x0D};
  s.tests.samples.blocks[0] = {};
  s.tests.samples.blocks[0][0] = -200;
  s.tests.samples.blocks[0][27] = 10000;
  s.tests.samples.next = 0;
  s.tests.samplesB.blocks[0] = {};
  s.tests.samplesB.blocks[0][0] = 32767;
  s.tests.samplesB.blocks[0][31] = -32768;
  s.tests.samplesB.next = 0;

  s.history.calibration = {{1, kStrokeHistory}, {5, ""}};
  s.history.allEvents = {{{9, 1, {1, 2, 3, 4, 5, 6}}, {150, 0, {}}}, 3, 0};
  s.history.calibrationEvents = {std::vector<EventRecord>(9), 4, 1};
  s.history.calibrationEvents.records[8] = {40, 1, {}};
  s.history.alarmEvents = {std::vector<EventRecord>(193), 24, 24};
  s.history.alarmEvents.records[192] = {77, 1, {}};
  return s;
}

class RecordTest : public testing::Test {
 protected:
  void SetUp() override { positioner.SetState(Distinct()); }
  std::optional<Bytes> Send(const Bytes& request) { return positioner.Transact(request); }

  // Still, so that the device's clock does too.
  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

struct ReadCase {
  const char* name;
  Bytes request;
  Bytes reply;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class RecordRead : public RecordTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(RecordRead, AnswersWithTheLayout) { EXPECT_EQ(Send(GetParam().request), GetParam().reply); }

INSTANTIATE_TEST_SUITE_P(
    Commands, RecordRead,
    testing::Values(
        ReadCase{"CommandPosition132", {132}, Bytes{132, 53, 0, 0, 7} + Zeros(36) + Bytes{1} + Zeros(12) + Bytes{1}},
        ReadCase{"CustomCurve134", {134},
                 Bytes{134, 44, 0, 0, 0x00, 0x00, 0xFF, 0x38} + Zeros(16) + Bytes{0x7F, 0xFF} + Zeros(18) +
                     Bytes{0x27, 0x10}},
        ReadCase{"Configuration138", {138}, {138, 18, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        ReadCase{"NoData140", {140}, {140, 2, 0, 0}},
        ReadCase{"UnitCodes142", {142}, {142, 8, 0, 0, 47, 6, 12, 33, 57, 143}},
        ReadCase{"ValveFullForm156", {156},
                 Bytes{156, 55, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0x00, 0x64} + kOne +
                     kMinus1p5 + Bytes{0x00, 0x00, 0x30, 0x39, 0x0A, 0x0B, 0x0C, 0x0D, 0x00, 0x00, 0x00, 0x00} +
                     kQuarter + kHundred + kTwo + k12p5 + kThirtyFive + Bytes{2}},
        // value1B, value2B and the settings stay off the short form.
        ReadCase{"ActuatorShortForm158", {158},
                 Bytes{158, 35, 0, 0, 0, 0, 0, 7, 0, 0, 0, 8, 0, 0, 0, 9} + kOne +
                     Bytes{0, 0, 0, 10, 0, 0, 0, 11, 0, 0, 0, 12} + kHalf + Bytes{3}},
        ReadCase{"BellowsShortForm160", {160}, Bytes{160, 35, 0, 0, 0x01, 0, 0, 0} + Zeros(28) + Bytes{4}},
        ReadCase{"PilotForm162", {162},
                 Bytes{162, 43, 0, 0, 0x11, 0x22, 0x33, 0x44, 0, 0, 0, 1, 0, 0, 0, 2} + kHalf + kOne +
                     Bytes{0x55, 0x66, 0x77, 0x88, 0, 0, 0, 3, 0, 0, 0, 4} + kMinus1p5 + kTwo + Bytes{1}},
        // The unit is the fourth unit code of 142: 41, 50 and -4 °F. The
        // hour counter is no temperature.
        ReadCase{"Temperature168", {168},
                 Bytes{168, 35, 0, 0, 33, 0x42, 0x24, 0x00, 0x00, 0x42, 0x48, 0x00, 0x00, 0xC0, 0x80, 0x00, 0x00} +
                     Zeros(16) + k12p5},
        ReadCase{"Health170", {170}, Bytes{170, 18, 0, 0} + kOne + kMinus1p5 + kHundred + kQuarter},
        ReadCase{"Status174", {174},
                 Bytes{174, 34, 0, 0, 0x81} + Zeros(12) + Bytes{0xC2} + Zeros(3) + Bytes{0x22} + Zeros(13) + Bytes{0x40}},
        ReadCase{"StatusMasks176", {176}, Bytes{176, 34, 0, 0, 0xFF, 0x7E} + Repeat({0xFF}, 28) + Bytes{0x00, 0xFF}},
        ReadCase{"Bytes182", {182}, {182, 8, 0, 0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6}},
        ReadCase{"StrokeHistory184", {184, 1, 1}, Bytes{184, 27, 0, 0, 1} + Text(kStrokeHistory + " ")},
        ReadCase{"EmptyHistory184", {184, 1, 5}, Bytes{184, 27, 0, 0, 5} + Text(std::string(24, ' '))},
        ReadCase{"SecondCurve188", {188}, Bytes{188, 44, 0, 0, 0x80, 0x00} + Zeros(38) + Bytes{0x04, 0xD2}},
        ReadCase{"AuxCard194", {194},
                 Bytes{194, 62, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55} + kOne + kMinus1p5 +
                     Bytes{0x66, 0x77, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xA0} + Zeros(31) +
                     Bytes{0xAF} + k12p5},
        ReadCase{"AuxCard196", {196}, Bytes{196, 62, 0, 0, 0x22} + Zeros(59)},
        ReadCase{"TrainingConfig202", {202},
                 Bytes{202, 27, 0, 0} + kHalf + Bytes{3} + kOne + kTwo +
                     Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        ReadCase{"TrainingHistogram204", {204},
                 Bytes{204, 66, 0, 0, 0, 0, 0, 1} + Zeros(56) + Bytes{0xFF, 0xFF, 0xFF, 0xFF}},
        ReadCase{"Histogram208", {208}, Bytes{208, 66, 0, 0, 0x00, 0x01, 0x02, 0x03} + Zeros(56) + Bytes{0, 0, 0, 7}},
        ReadCase{"TestResult212", {212},
                 Bytes{212, 43, 0, 0, 5, 0x41, 0x20, 0, 0, 0x42, 0xB4, 0, 0, 0x40, 0xA0, 0, 0, 0x42, 0x70, 0, 0,
                       0, 0, 0, 3, 14, 25, 0x3F, 0xC0, 0, 0, 0, 0, 0, 0, 0x40, 0x20, 0, 0, 2, 0x41, 0xF0, 0, 0,
                       0x0D}},
        ReadCase{"TestSamples214", {214}, Bytes{214, 59, 0, 0, 0xFF, 0x38} + Zeros(52) + Bytes{0x27, 0x10, 0}},
        ReadCase{"Bytes222", {222}, {222, 9, 0, 0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7}},
        ReadCase{"AllEvents238", {238},
                 Bytes{238, 67, 0, 0, 9, 1, 1, 2, 3, 4, 5, 6, 150, 0, 0, 0, 0, 0, 0, 0} + Zeros(48) + Bytes{0}},
        ReadCase{"CalibrationEvents240", {240}, Bytes{240, 67, 0, 0, 40, 1} + Zeros(62) + Bytes{1}},
        ReadCase{"AlarmEvents242", {242}, Bytes{242, 67, 0, 0, 77, 1} + Zeros(62) + Bytes{24}},
        ReadCase{"TestSamples246", {246}, Bytes{246, 67, 0, 0, 0x7F, 0xFF} + Zeros(60) + Bytes{0x80, 0x00, 0}}),
    [](const auto& info) { return info.param.name; });

struct WriteCase {
  const char* name;
  Bytes request;
  Bytes reply;
  std::function<void(DeviceState&)> stores;  // the change the write makes
};
void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class RecordWrite : public RecordTest, public testing::WithParamInterface<WriteCase> {};

// The reply is the record in its read layout; the state changes by the
// written fields and what they set off in the derived status bits.
TEST_P(RecordWrite, StoresAndEchoesTheRecord) {
  DeviceState expected = positioner.State();
  GetParam().stores(expected);
  WorkOutAlarms(expected);  // a written limit may raise or clear a derived bit
  EXPECT_EQ(Send(GetParam().request), GetParam().reply);
  EXPECT_EQ(positioner.State(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RecordWrite,
    testing::Values(
        WriteCase{"CustomCurve135", Bytes{135, 42, 0x00, 0x00, 0x0B, 0xB8} + Zeros(34) + Bytes{0xFC, 0x18, 0x00, 0x00},
                  Bytes{135, 44, 0, 0, 0x00, 0x00, 0x0B, 0xB8} + Zeros(34) + Bytes{0xFC, 0x18, 0x00, 0x00},
                  [](DeviceState& s) { s.setup.customCurve = {0, 3000, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                              0, 0, 0, 0, 0, 0, 0, 0, -1000, 0}; }},
        WriteCase{"ValveLimitsAndSettings157",
                  Bytes{157, 29, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF} + kOne + kMinus1p5 +
                      kHundred + Bytes{0},
                  Bytes{157, 55, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1, 0, 0, 0, 2} + kOne + kMinus1p5 +
                      Bytes{0x00, 0x00, 0x30, 0x39, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF} + kQuarter + kHundred + kOne +
                      kMinus1p5 + kHundred + Bytes{0},
                  [](DeviceState& s) {
                    TravelCycle& v = s.travel.valve;
                    v.limit1A = 1;
                    v.limit1B = 2;
                    v.limit2A = 3;
                    v.limit2B = 0xFFFFFFFF;
                    v.setting1 = 1.0f;
                    v.setting2 = -1.5f;
                    v.setting3 = 100.0f;
                    v.setting = 0;
                  }},
        // A setting byte of 2 resets nothing on the actuator.
        WriteCase{"ActuatorLimits159", {159, 17, 0, 0, 0, 0x21, 0, 0, 0, 0x22, 0, 0, 0, 0x23, 0, 0, 0, 0x24, 2},
                  Bytes{159, 35, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0x21, 0, 0, 0, 0x22} + kOne +
                      Bytes{0, 0, 0, 10, 0, 0, 0, 0x23, 0, 0, 0, 0x24} + kHalf + Bytes{2},
                  [](DeviceState& s) {
                    TravelCycle& a = s.travel.actuator;
                    a.limit1A = 0x21;
                    a.limit1B = 0x22;
                    a.limit2A = 0x23;
                    a.limit2B = 0x24;
                    a.setting = 2;
                  }},
        WriteCase{"BellowsLimits161", Bytes{161, 17} + Zeros(16) + Bytes{1},
                  Bytes{161, 35, 0, 0, 0x01, 0, 0, 0} + Zeros(28) + Bytes{1},
                  [](DeviceState& s) { s.travel.bellows.setting = 1; }},
        WriteCase{"PilotLimits163", {163, 17, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8, 0},
                  Bytes{163, 43, 0, 0, 0x11, 0x22, 0x33, 0x44, 0, 0, 0, 5, 0, 0, 0, 6} + kHalf + kOne +
                      Bytes{0x55, 0x66, 0x77, 0x88, 0, 0, 0, 7, 0, 0, 0, 8} + kMinus1p5 + kTwo + Bytes{0},
                  [](DeviceState& s) {
                    TravelCycle& p = s.travel.pilot;
                    p.limit1A = 5;
                    p.limit1B = 6;
                    p.limit2A = 7;
                    p.limit2B = 8;
                    p.setting = 0;
                  }},
        WriteCase{"StatusMasks177", Bytes{177, 32} + Repeat({0xF0}, 31) + Bytes{0x0F},
                  Bytes{177, 34, 0, 0} + Repeat({0xF0}, 31) + Bytes{0x0F},
                  [](DeviceState& s) {
                    s.status.masks = Filled<32>(0xF0);
                    s.status.masks[31] = 0x0F;
                  }},
        WriteCase{"Bytes183", {183, 6, 1, 2, 3, 4, 5, 6}, {183, 8, 0, 0, 1, 2, 3, 4, 5, 6},
                  [](DeviceState& s) { s.setup.bytes182 = {1, 2, 3, 4, 5, 6}; }},
        // Plain text: lower case and the trailing blank stay as sent.
        WriteCase{"CommandHistory187", Bytes{187, 25, 5} + Text("12/31/2025 23:59:59 xyz "),
                  Bytes{187, 27, 0, 0, 5} + Text("12/31/2025 23:59:59 xyz "),
                  [](DeviceState& s) { s.history.calibration[5] = "12/31/2025 23:59:59 xyz "; }},
        WriteCase{"SecondCurve189", Bytes{189, 42, 0x7F, 0xFF} + Zeros(38) + Bytes{0x80, 0x00},
                  Bytes{189, 44, 0, 0, 0x7F, 0xFF} + Zeros(38) + Bytes{0x80, 0x00},
                  [](DeviceState& s) {
                    s.setup.secondCurve = {};
                    s.setup.secondCurve[0] = 32767;
                    s.setup.secondCurve[20] = -32768;
                  }},
        // The readings in the reply are the card's own.
        WriteCase{"AuxCard195",
                  Bytes{195, 48, 0x01, 0x02, 0x03, 0x00, 0x04, 0x00, 0x05, 0x00, 0x06, 0x00, 0x07, 0x10} +
                      Zeros(31) + Bytes{0x30, 0x40, 0x40, 0x00, 0x00},
                  Bytes{195, 62, 0, 0, 0x01, 0x02, 0x03, 0x44, 0x55} + kOne + kMinus1p5 +
                      Bytes{0x66, 0x77, 0x00, 0x04, 0x00, 0x05, 0x00, 0x06, 0x00, 0x07, 0x10} + Zeros(31) +
                      Bytes{0x30, 0x40, 0x40, 0x00, 0x00},
                  [](DeviceState& s) {
                    AuxCard& c = s.aux.cards[0];
                    c.setting0 = 0x01;
                    c.setting1 = 0x0203;
                    c.settingWords = {4, 5, 6, 7};
                    c.settingBytes = {};
                    c.settingBytes[0] = 0x10;
                    c.settingBytes[32] = 0x30;
                    c.settingValue = 3.0f;
                  }},
        WriteCase{"AuxCard197", Bytes{197, 48, 0xFF, 0xFF, 0xFF} + Zeros(45),
                  Bytes{197, 62, 0, 0, 0xFF, 0xFF, 0xFF} + Zeros(57),
                  [](DeviceState& s) {
                    s.aux.cards[1].setting0 = 0xFF;
                    s.aux.cards[1].setting1 = 0xFFFF;
                  }},
        WriteCase{"TrainingConfig203", {203, 5, 0x40, 0x80, 0x00, 0x00, 9},
                  Bytes{203, 27, 0, 0, 0x40, 0x80, 0x00, 0x00, 9} + kOne + kTwo +
                      Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                  [](DeviceState& s) {
                    s.aux.training.setting = 4.0f;
                    s.aux.training.settingByte = 9;
                  }},
        WriteCase{"Bytes223", {223, 7, 7, 6, 5, 4, 3, 2, 1}, {223, 9, 0, 0, 7, 6, 5, 4, 3, 2, 1},
                  [](DeviceState& s) { s.setup.bytes222 = {7, 6, 5, 4, 3, 2, 1}; }},
        WriteCase{"EventSelect237", {237, 1, 2}, {237, 3, 0, 0, 2},
                  [](DeviceState& s) { s.history.eventSelect = 2; }}),
    [](const auto& info) { return info.param.name; });

struct RefusedCase {
  std::string name;
  Bytes request;
  Bytes reply;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

// Each write one data byte short of its record, then the other refusals.
std::vector<RefusedCase> RefusedCases() {
  const std::pair<std::uint8_t, std::uint8_t> writes[] = {{135, 42}, {157, 29}, {159, 17}, {161, 17}, {163, 17},
                                                          {177, 32}, {183, 6},  {187, 25}, {189, 42}, {195, 48},
                                                          {197, 48}, {203, 5},  {223, 7},  {237, 1}};
  std::vector<RefusedCase> cases;
  for (const auto& [command, size] : writes) {
    const auto shortBy1 = static_cast<std::uint8_t>(size - 1);
    cases.push_back({"Short" + std::to_string(command), Bytes{command, shortBy1} + Repeat({0x5A}, shortBy1),
                     {command, 2, kRcTooFewDataBytes, 0}});
  }
  cases.push_back({"HistoryWithoutCode184", {184}, {184, 2, kRcTooFewDataBytes, 0}});
  cases.push_back({"UnknownHistoryCode184", {184, 1, 2}, {184, 2, kRcInvalidSelection, 0}});
  cases.push_back({"UnknownHistoryCode187", Bytes{187, 25, 2} + Text(std::string(24, 'A')),
                   {187, 2, kRcInvalidSelection, 0}});
  return cases;
}

class RefusedRecord : public RecordTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedRecord, AnswersWithTheCodeAndStoresNothing) {
  const DeviceState before = positioner.State();
  EXPECT_EQ(Send(GetParam().request), GetParam().reply);
  EXPECT_EQ(positioner.State(), before);
}

INSTANTIATE_TEST_SUITE_P(Requests, RefusedRecord, testing::ValuesIn(RefusedCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sim::test
