// Every read and write command against literal replies worked out by hand
// from the layout tables: the exact request, and that the reply changes
// exactly that command's fields (the image is copied before and compared
// after).
#include <gtest/gtest.h>

#include <functional>

#include "scripted_device.h"

namespace {

using testsupport::Bytes;
using testsupport::Reply;
class Records : public testsupport::ScriptedDeviceTest {
 protected:
  // Test data (214) is read by its own screen operation; the others by ReadCommand.
  void Read(int command) {
    if (command != 214) {
      comm.ReadCommand(command);
      return;
    }
    comm.BeginRequest(214);
    if (comm.Transact()) comm.ParseResponse(214);
  }
};

Bytes Repeat(const Bytes& group, int times) {
  Bytes out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), group.begin(), group.end());
  return out;
}
Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
Bytes Counting(int first, int count) {
  Bytes out;
  for (int i = 0; i < count; ++i) out.push_back(static_cast<BYTE>(first + i));
  return out;
}
template <size_t N>
std::array<BYTE, N> CountingArray(int first) {
  std::array<BYTE, N> a{};
  for (size_t i = 0; i < N; ++i) a[i] = static_cast<BYTE>(first + i);
  return a;
}

// Floats on the wire, big-endian.
const Bytes F100 = {0x42, 0xC8, 0x00, 0x00};    // 100.0
const Bytes F1_5 = {0x3F, 0xC0, 0x00, 0x00};    // 1.5
const Bytes Fm10 = {0xC1, 0x20, 0x00, 0x00};    // -10.0
const Bytes F10 = {0x41, 0x20, 0x00, 0x00};     // 10.0
const Bytes F0_25 = {0x3E, 0x80, 0x00, 0x00};   // 0.25
const Bytes F2 = {0x40, 0x00, 0x00, 0x00};      // 2.0
const Bytes F3 = {0x40, 0x40, 0x00, 0x00};      // 3.0
const Bytes F1 = {0x3F, 0x80, 0x00, 0x00};      // 1.0
const Bytes F4 = {0x40, 0x80, 0x00, 0x00};      // 4.0
const Bytes F2_5 = {0x40, 0x20, 0x00, 0x00};    // 2.5

// Curve points: 0, 10.00, -327.68, 327.67, -2.00, then 100.00.
const Bytes kCurve = Join({{0x00, 0x00, 0x03, 0xE8, 0x80, 0x00, 0x7F, 0xFF, 0xFF, 0x38}, Repeat({0x27, 0x10}, 16)});
std::array<double, 21> CurvePoints() {
  std::array<double, 21> p{};
  p[0] = 0;
  p[1] = 1000 * 0.01;
  p[2] = -32768 * 0.01;
  p[3] = 32767 * 0.01;
  p[4] = -200 * 0.01;
  for (int k = 5; k < 21; ++k) p[k] = 10000 * 0.01;
  return p;
}

// Travel counters and limits: 12345, 100000, all bits, then 42, 1000, 2000.
const Bytes kCount1 = {0x00, 0x00, 0x30, 0x39}, kLimit1A = {0x00, 0x01, 0x86, 0xA0}, kLimit1B = {0xFF, 0xFF, 0xFF, 0xFF};
const Bytes kCount2 = {0x00, 0x00, 0x00, 0x2A}, kLimit2A = {0x00, 0x00, 0x03, 0xE8}, kLimit2B = {0x00, 0x00, 0x07, 0xD0};
void ExpectCounters(TravelCycleRecord& r) {
  r.dwCount1 = 12345;
  r.dwLimit1A = 100000;
  r.dwLimit1B = 0xFFFFFFFFu;
  r.dValue1A = 100.0;
  r.dwCount2 = 42;
  r.dwLimit2A = 1000;
  r.dwLimit2B = 2000;
  r.dValue2A = -10.0;
}
// The travel record replies before their setting byte: counters alone,
// with the two second values (pilot relay), and with three settings (valve).
const Bytes kTravelRecord = Join({kCount1, kLimit1A, kLimit1B, F100, kCount2, kLimit2A, kLimit2B, Fm10});
const Bytes kPilotRecord = Join({kCount1, kLimit1A, kLimit1B, F100, F1_5, kCount2, kLimit2A, kLimit2B, Fm10, F10});
const Bytes kValveRecord = Join({kPilotRecord, F0_25, F2, F3});
void ExpectPilotRecord(TravelCycleRecord& r, BYTE setting) {
  ExpectCounters(r);
  r.dValue1B = 1.5;
  r.dValue2B = 10.0;
  r.bySetting = setting;
}
void ExpectValveRecord(TravelCycleRecord& r, BYTE setting) {
  ExpectPilotRecord(r, setting);
  r.dSetting1 = 0.25;
  r.dSetting2 = 2.0;
  r.dSetting3 = 3.0;
}

// Auxiliary card: setting 1, word 0x0102, reading 0x0304, 1.5, 100, 5, 6,
// words 10..13, 33 bytes 0x20.., setting 2.0.
const Bytes kAux = Join({{1, 0x01, 0x02, 0x03, 0x04}, F1_5, F100, {5, 6, 0, 10, 0, 11, 0, 12, 0, 13}, Counting(0x20, 33), F2});
void ExpectAux(AuxCardRecord& r) {
  r.bySetting0 = 1;
  r.wSetting1 = 0x0102;
  r.wReading0 = 0x0304;
  r.dReading1 = 1.5;
  r.dReading2 = 100.0;
  r.byReading3 = 5;
  r.byReading4 = 6;
  r.awSetting = {10, 11, 12, 13};
  r.abySetting = CountingArray<33>(0x20);
  r.dSetting = 2.0;
}

Bytes Histogram() {
  Bytes out;
  for (int k = 0; k < 15; ++k) out.insert(out.end(), {0, 0, 0, static_cast<BYTE>(k)});
  out.insert(out.end(), {0xFF, 0xFF, 0xFF, 0xFF});
  return out;
}
std::array<DWORD, 16> HistogramBins() {
  std::array<DWORD, 16> bins{};
  for (int k = 0; k < 15; ++k) bins[k] = static_cast<DWORD>(k);
  bins[15] = 0xFFFFFFFFu;
  return bins;
}

struct ReadCase {
  int command;
  Bytes reply;
  std::function<void(CDeviceImage&)> expect;
};

std::vector<ReadCase> ReadCases() {
  return {
      {0, Reply(0, {254, 0xF4, 0x54, 5, 5, 3, 7, 0x29, 0, 0xA1, 0xB2, 0xC3}),
       [](CDeviceImage& i) {
         i.m_byDeviceRev = 3;
         i.m_bySoftwareRev = 7;
         i.m_byHardwareRev = 0x29;
       }},
      {12, Reply(12, Join({{0x20, 0x53, 0x0C, 0x3E, 0x08, 0x20}, Repeat({0x82, 0x08, 0x20}, 6)})),
       [](CDeviceImage& i) { i.m_strMessage = "HELLO" + std::string(27, ' '); }},
      {13, Reply(13, Join({{0x04, 0x20, 0xC4, 0x14, 0x61, 0xC8, 0x04, 0x20, 0xE0}, Repeat({0x82, 0x08, 0x20}, 3), {9, 12, 126}})),
       [](CDeviceImage& i) {
         i.m_strTag = "ABCDEFGH";
         i.m_strDescriptor = "ABC" + std::string(13, ' ');
         i.m_byDateDay = 9;
         i.m_byDateMonth = 12;
         i.m_byDateYear = 126;
       }},
      {132, Reply(132, Join({{7}, Repeat({0xEE}, 36), {1}, Repeat({0xEE}, 12), {1}})),
       [](CDeviceImage& i) {
         i.m_byCmdPosCode = 7;
         i.m_byCmdPos0 = 1;
         i.m_byCmdPosActive = 1;
       }},
      {134, Reply(134, kCurve),
       [](CDeviceImage& i) {
         i.m_byEcho134 = 134;
         i.m_adCustCharY = CurvePoints();
       }},
      {138, Reply(138, Counting(1, 16)),
       [](CDeviceImage& i) {
         i.m_abyConfigA = CountingArray<8>(1);
         i.m_abyConfigB = CountingArray<8>(9);
       }},
      {140, Reply(140, Counting(1, 20)), [](CDeviceImage&) {}},
      {142, Reply(142, {32, 12, 57, 33, 0, 255}), [](CDeviceImage& i) { i.m_abyUnitCodes = {32, 12, 57, 33, 0, 255}; }},
      {156,
       Reply(156, Join({kValveRecord, {2}})),
       [](CDeviceImage& i) {
         ExpectValveRecord(i.m_ValveRecord, 2);
       }},
      {158, Reply(158, Join({kTravelRecord, {1}})),
       [](CDeviceImage& i) {
         ExpectCounters(i.m_ActuatorRecord);
         i.m_ActuatorRecord.bySetting = 1;
       }},
      {160, Reply(160, Join({kTravelRecord, {3}})),
       [](CDeviceImage& i) {
         ExpectCounters(i.m_BellowsRecord);
         i.m_BellowsRecord.bySetting = 3;
       }},
      {162, Reply(162, Join({kPilotRecord, {2}})),
       [](CDeviceImage& i) {
         ExpectPilotRecord(i.m_PilotRecord, 2);
       }},
      {168,
       Reply(168, Join({{33}, Repeat({0xEE}, 4), {0x42, 0x0C, 0x00, 0x00}, {0xC1, 0xA0, 0x00, 0x00}, Repeat({0xEE}, 16),
                        {0x45, 0x9C, 0x40, 0x00}})),
       [](CDeviceImage& i) {
         i.m_byTempUnitCode = 33;
         i.m_strTempUnit = "\xC2\xB0" "F";
         i.m_nTempHour5 = 186;
         i.m_nTempHour6 = -50;
         i.m_dTempValueA = 35.0;
         i.m_dTempValueB = -20.0;
         i.m_dHourCounter = 5000.0;
       }},
      {170, Reply(170, Join({F1, F2, Fm10, F3})), [](CDeviceImage& i) { i.m_adHealthData = {1.0, 2.0, -10.0, 3.0}; }},
      {174, Reply(174, Counting(0x80, 32)), [](CDeviceImage& i) { i.m_abyStatus = CountingArray<32>(0x80); }},
      {176, Reply(176, Counting(0, 32)),
       [](CDeviceImage& i) {
         i.m_abyStatusMask = i.m_abyStatusMaskDevice = CountingArray<32>(0);
         i.m_bStatusMaskValid = true;
       }},
      {182, Reply(182, {9, 8, 7, 6, 5, 4}), [](CDeviceImage& i) { i.m_abyCmd182 = {9, 8, 7, 6, 5, 4}; }},
      {184, Reply(184, Join({{5}, Bytes{'S', 'T', 'R', 'O', 'K', 'E', ' ', 'C', 'A', 'L', ' ', '0', '9', '.', '1', '2', '.',
                                        '2', '6', ' ', ' ', ' ', ' ', ' '}})),
       [](CDeviceImage& i) {
         i.m_byCmd184Code = 5;
         i.m_strCmd184Text = "STROKE CAL 09.12.26     ";
       }},
      {188, Reply(188, kCurve), [](CDeviceImage& i) { i.m_adCustCharX = CurvePoints(); }},
      {194, Reply(194, kAux),
       [](CDeviceImage& i) {
         i.m_byEcho194 = 194;
         ExpectAux(i.m_Aux1);
       }},
      {196, Reply(196, kAux),
       [](CDeviceImage& i) {
         i.m_byEcho196 = 196;
         ExpectAux(i.m_Aux2);
       }},
      {202, Reply(202, Join({F0_25, {3}, F100, Fm10, Counting(1, 12)})),
       [](CDeviceImage& i) {
         i.m_TrainingConfig.dTrainSetting = 0.25;
         i.m_TrainingConfig.byTrainSetting = 3;
         i.m_TrainingConfig.dTrainValueA = 100.0;
         i.m_TrainingConfig.dTrainValueB = -10.0;
         i.m_TrainingConfig.abyTrainBytes = CountingArray<12>(1);
       }},
      {204, Reply(204, Histogram()), [](CDeviceImage& i) { i.m_adwTrainingHistogram = HistogramBins(); }},
      {208, Reply(208, Histogram()), [](CDeviceImage& i) { i.m_adwHistogram = HistogramBins(); }},
      {212, Reply(212, Join({{9}, F1, F2, F3, F4, Counting(1, 6), F1_5, F2_5, F10, {2}, F100, {0x0C}})),
       [](CDeviceImage& i) {
         TestResultRecord& r = i.m_TestResult;
         r.byField0 = 9;
         r.adSetup = {1, 2, 3, 4};
         r.abyTestInfo = {1, 2, 3, 4, 5, 6};
         r.dResultA = 1.5;
         r.dResultB = 2.5;
         r.dResultC = 10.0;
         r.byResultCode = 2;
         r.dSetup4 = 100.0;
         r.byTestBits = 0x0C;
         i.m_bstrTestResultText = "##PST_RESULT_2_EnumDescr";  // no language file loaded
       }},
      {214, Reply(214, Join({{0xFF, 0x38, 0x27, 0x10}, Repeat({0x00, 0x01}, 26), {7}})),
       [](CDeviceImage& i) {
         i.m_adTestSamples.fill(1 * 0.01);
         i.m_adTestSamples[0] = -200 * 0.01;
         i.m_adTestSamples[1] = 10000 * 0.01;
         i.m_bySamplesTrailer = 7;
       }},
      {246, Reply(246, Join({Repeat({0x00, 0x01}, 31), {0x80, 0x00}, {3}})),
       [](CDeviceImage& i) {
         i.m_adTestSamplesB.fill(1 * 0.01);
         i.m_adTestSamplesB[31] = -32768 * 0.01;
         i.m_bySamplesTrailerB = 3;
       }},
      {222, Reply(222, {1, 2, 3, 4, 5, 6, 7}), [](CDeviceImage& i) { i.m_abyCmd222 = {1, 2, 3, 4, 5, 6, 7}; }},
      {238, Reply(238, Counting(1, 65)),
       [](CDeviceImage& i) {
         for (int k = 0; k < 65; ++k) i.m_abyEventLog[k] = static_cast<BYTE>(1 + k);
       }},
      {240, Reply(240, Counting(101, 65)),
       [](CDeviceImage& i) {
         for (int k = 0; k < 65; ++k) i.m_abyEventLog[65 + k] = static_cast<BYTE>(101 + k);
       }},
      {242, Reply(242, Counting(2, 65)),
       [](CDeviceImage& i) {
         for (int k = 0; k < 65; ++k) i.m_abyEventLog[130 + k] = static_cast<BYTE>(2 + k);
       }},
  };
}

TEST_F(Records, EachReadSendsItsCommandAndChangesOnlyItsFields) {
  ConnectAll();
  AsAfterAFirstReply();
  comm.m_byCmd184Code = 5;
  for (const ReadCase& c : ReadCases()) {
    SCOPED_TRACE("command " + std::to_string(c.command));
    device->reply = c.reply;
    const size_t sent = device->requests.size();
    CDeviceImage expected = comm;
    c.expect(expected);
    Read(c.command);
    ASSERT_EQ(device->requests.size(), sent + 1);
    const Bytes request = c.command == 184 ? Bytes{184, 1, 5} : Bytes{static_cast<BYTE>(c.command)};
    EXPECT_EQ(device->requests.back(), request);
    EXPECT_TRUE(static_cast<const CDeviceImage&>(comm) == expected);
  }
}

TEST_F(Records, EveryReadRejectsAReplyOneByteShortOfItsLayout) {
  ConnectAll();
  AsAfterAFirstReply();
  comm.m_byCmd184Code = 5;
  for (const ReadCase& c : ReadCases()) {
    if (c.command == 140) continue;  // nothing to decode
    SCOPED_TRACE("command " + std::to_string(c.command));
    Bytes shortReply(c.reply.begin(), c.reply.begin() + CWexletCoreCommunication::LayoutLength(c.command) - 1);
    shortReply[1] = static_cast<BYTE>(shortReply.size() - 2);
    device->reply = shortReply;
    log.Clear();
    const CDeviceImage before = comm;
    Read(c.command);
    EXPECT_TRUE(static_cast<const CDeviceImage&>(comm) == before);
    ASSERT_EQ(log.Texts().size(), 1u);
    EXPECT_EQ(log.Texts()[0].rfind("Reply to command " + std::to_string(c.command) + " not decoded: byte count", 0), 0u)
        << log.Texts()[0];
  }
}

TEST_F(Records, ReadsOutsideTheTableSendNothing) {
  ConnectAll();
  for (int command : {1, 11, 135, 157, 200, 201, 214, 237, 300, -1}) comm.ReadCommand(command);
  EXPECT_TRUE(device->requests.empty());
}

TEST_F(Records, CurveYReplyWritesTwentySixLogLinesAndAuxTwo) {
  ConnectAll();
  device->reply = Reply(134, kCurve);
  comm.ReadCommand(134);
  const auto texts = log.Texts();
  ASSERT_EQ(texts.size(), 26u);
  EXPECT_EQ(texts[0], "Read custom char Curve Y");
  EXPECT_EQ(std::vector<std::string>(texts.begin() + 1, texts.begin() + 5), (std::vector<std::string>{"134", "44", "0", "0"}));
  EXPECT_EQ(texts[6], "10");
  EXPECT_EQ(texts[7], "-327.68");
  log.Clear();
  device->reply = Reply(196, kAux);
  comm.ReadCommand(196);
  EXPECT_EQ(log.Texts(), (std::vector<std::string>{"Read Aux2 data", "196"}));
}

TEST_F(Records, TemperatureUnitChoosesTextAndBounds) {
  ConnectAll();
  struct Case {
    BYTE code;
    const char* unit;
    int upper;
  } cases[] = {{32, "\xC2\xB0" "C", 86}, {33, "\xC2\xB0" "F", 186}, {0, "\xC2\xB0" "C", 86}, {200, "\xC2\xB0" "C", 86}};
  for (const Case& c : cases) {
    device->reply = Reply(168, Join({{c.code}, Repeat({0}, 32)}));
    comm.ReadCommand(168);
    EXPECT_EQ(comm.m_byTempUnitCode, c.code);
    EXPECT_EQ(comm.m_strTempUnit, c.unit);
    EXPECT_EQ(comm.m_nTempHour5, c.upper);
    EXPECT_EQ(comm.m_nTempHour6, -50);
  }
}

TEST_F(Records, ResultCodeAboveThreeKeepsTheLastText) {
  ConnectAll();
  const Bytes body = Join({{9}, F1, F2, F3, F4, Counting(1, 6), F1_5, F2_5, F10});
  device->reply = Reply(212, Join({body, {1}, F100, {0}}));
  comm.ReadCommand(212);
  EXPECT_EQ(comm.m_bstrTestResultText, _bstr_t("##PST_RESULT_1_EnumDescr"));
  device->reply = Reply(212, Join({body, {7}, F100, {0}}));
  comm.ReadCommand(212);
  EXPECT_EQ(comm.m_TestResult.byResultCode, 7);
  EXPECT_EQ(comm.m_bstrTestResultText, _bstr_t("##PST_RESULT_1_EnumDescr"));
}

struct WriteCase {
  int command;
  std::function<void(CWexletCoreCommunication&)> set;
  Bytes request;
  Bytes reply;  // the device's echo, decoded with the read layout
  std::function<void(CDeviceImage&)> expect;
};

std::vector<WriteCase> WriteCases() {
  const Bytes travelReply = Join({kTravelRecord, {1}});
  return {
      {135,
       [](CWexletCoreCommunication& c) {
         c.m_adCustCharY[0] = 555;  // never sent
         c.m_adCustCharY[1] = 1234.9;
         c.m_adCustCharY[2] = -1.7;
         c.m_adCustCharY[3] = 40000;  // beyond 16 bits: the largest value
       },
       Join({{135, 42, 0x00, 0x00, 0x04, 0xD2, 0xFF, 0xFF, 0x7F, 0xFF}, Repeat({0}, 34)}), Reply(135, kCurve),
       [](CDeviceImage& i) {
         i.m_byEcho134 = 135;
         i.m_adCustCharY = CurvePoints();
       }},
      {189,
       [](CWexletCoreCommunication& c) {
         c.m_adCustCharX[1] = 400;   // 40000 hundredths: the largest value
         c.m_adCustCharX[2] = -0.5;
         c.m_adCustCharX[5] = 12.345;
       },
       Join({{189, 42, 0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xCE, 0x00, 0x00, 0x00, 0x00, 0x04, 0xD2}, Repeat({0}, 30)}),
       Reply(189, kCurve), [](CDeviceImage& i) { i.m_adCustCharX = CurvePoints(); }},
      {157,
       [](CWexletCoreCommunication& c) {
         c.m_ValveRecord.dwLimit1A = 1;
         c.m_ValveRecord.dwLimit1B = 2;
         c.m_ValveRecord.dwLimit2A = 3;
         c.m_ValveRecord.dwLimit2B = 4;
         c.m_ValveRecord.dwCount1 = 999;  // not sent
         c.m_ValveRecord.dSetting1 = 0.25;
         c.m_ValveRecord.dSetting2 = 2.0;
         c.m_ValveRecord.dSetting3 = -10.0;
         c.m_ValveRecord.bySetting = 2;
       },
       Join({{157, 29, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4}, F0_25, F2, Fm10, {2}}),
       Reply(157, Join({kValveRecord, {0}})),
       [](CDeviceImage& i) {
         ExpectValveRecord(i.m_ValveRecord, 0);
       }},
      {159,
       [](CWexletCoreCommunication& c) {
         c.m_ActuatorRecord.dwLimit1A = 0x01020304;
         c.m_ActuatorRecord.dwLimit1B = 5;
         c.m_ActuatorRecord.dwLimit2A = 6;
         c.m_ActuatorRecord.dwLimit2B = 0xFFFFFFFF;
         c.m_ActuatorRecord.bySetting = 1;
       },
       {159, 17, 1, 2, 3, 4, 0, 0, 0, 5, 0, 0, 0, 6, 0xFF, 0xFF, 0xFF, 0xFF, 1}, Reply(159, travelReply),
       [](CDeviceImage& i) {
         ExpectCounters(i.m_ActuatorRecord);
         i.m_ActuatorRecord.bySetting = 1;
       }},
      {161, [](CWexletCoreCommunication& c) { c.m_BellowsRecord.dwLimit2B = 0x0A0B0C0D; },
       {161, 17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0x0B, 0x0C, 0x0D, 0}, Reply(161, travelReply),
       [](CDeviceImage& i) {
         ExpectCounters(i.m_BellowsRecord);
         i.m_BellowsRecord.bySetting = 1;
       }},
      {163, [](CWexletCoreCommunication& c) { c.m_PilotRecord.bySetting = 2; },
       {163, 17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2},
       Reply(163, Join({kPilotRecord, {0}})),
       [](CDeviceImage& i) {
         ExpectPilotRecord(i.m_PilotRecord, 0);
       }},
      {177, [](CWexletCoreCommunication& c) { c.m_abyStatusMask = CountingArray<32>(0); },
       Join({{177, 32}, Counting(0, 32)}), Reply(177, Counting(0x40, 32)),
       [](CDeviceImage& i) {
         i.m_abyStatusMask = i.m_abyStatusMaskDevice = CountingArray<32>(0x40);
         i.m_bStatusMaskValid = true;
       }},
      {183, [](CWexletCoreCommunication& c) { c.m_abyCmd182 = {1, 2, 3, 4, 5, 6}; }, {183, 6, 1, 2, 3, 4, 5, 6},
       Reply(183, {6, 5, 4, 3, 2, 1}), [](CDeviceImage& i) { i.m_abyCmd182 = {6, 5, 4, 3, 2, 1}; }},
      {187,
       [](CWexletCoreCommunication& c) {
         c.m_byCmd184Code = 1;
         c.m_strCmd184Text = "ABC";  // the rest of the 24 bytes stays zero
       },
       Join({{187, 25, 1, 'A', 'B', 'C'}, Repeat({0}, 21)}), Reply(187, Join({{1}, Repeat({'X'}, 24)})),
       [](CDeviceImage& i) {
         i.m_byCmd184Code = 1;
         i.m_strCmd184Text = std::string(24, 'X');
       }},
      {195,
       [](CWexletCoreCommunication& c) {
         ExpectAux(c.m_Aux1);
         c.m_Aux1.wReading0 = 0xBEEF;  // not sent
       },
       Join({{195, 48, 1, 0x01, 0x02, 0, 10, 0, 11, 0, 12, 0, 13}, Counting(0x20, 33), F2}), Reply(195, kAux),
       [](CDeviceImage& i) {
         i.m_byEcho194 = 195;
         ExpectAux(i.m_Aux1);
       }},
      {197, [](CWexletCoreCommunication& c) { c.m_Aux2.dSetting = 0.25; },
       Join({{197, 48}, Repeat({0}, 44), F0_25}), Reply(197, kAux),
       [](CDeviceImage& i) {
         i.m_byEcho196 = 197;
         ExpectAux(i.m_Aux2);
       }},
      {203,
       [](CWexletCoreCommunication& c) {
         c.m_TrainingConfig.dTrainSetting = 0.25;
         c.m_TrainingConfig.byTrainSetting = 3;
       },
       Join({{203, 5}, F0_25, {3}}), Reply(203, Join({F0_25, {3}, F100, Fm10, Counting(1, 12)})),
       [](CDeviceImage& i) {
         i.m_TrainingConfig.dTrainSetting = 0.25;
         i.m_TrainingConfig.byTrainSetting = 3;
         i.m_TrainingConfig.dTrainValueA = 100.0;
         i.m_TrainingConfig.dTrainValueB = -10.0;
         i.m_TrainingConfig.abyTrainBytes = CountingArray<12>(1);
       }},
      {223, [](CWexletCoreCommunication& c) { c.m_abyCmd222 = {1, 2, 3, 4, 5, 6, 7}; }, {223, 7, 1, 2, 3, 4, 5, 6, 7},
       Reply(223, {7, 7, 7, 7, 7, 7, 7}), [](CDeviceImage& i) { i.m_abyCmd222 = {7, 7, 7, 7, 7, 7, 7}; }},
      {237, [](CWexletCoreCommunication& c) { c.m_byEventHistorySelect = 2; }, {237, 1, 2},
       Reply(237, Counting(1, 30)), [](CDeviceImage&) {}},
  };
}

TEST_F(Records, EachWriteSendsItsRecordAndTakesTheEchoBack) {
  ConnectAll();
  AsAfterAFirstReply();
  for (const WriteCase& c : WriteCases()) {
    SCOPED_TRACE("command " + std::to_string(c.command));
    c.set(comm);
    device->reply = c.reply;
    CDeviceImage expected = comm;
    c.expect(expected);
    comm.WriteCommand(c.command);
    ASSERT_FALSE(device->requests.empty());
    EXPECT_EQ(device->requests.back(), c.request);
    EXPECT_TRUE(static_cast<const CDeviceImage&>(comm) == expected);
  }
}

// The curve write goes out from the caller's hundredths; the image keeps
// its curve in percent until an answer replaces it.
TEST_F(Records, CustomCurveWriteSendsTheGivenHundredthsAndKeepsTheImageWithoutAnswer) {
  ConnectAll();
  std::array<double, 21> hundredths{};
  hundredths[0] = 9999;  // never sent
  hundredths[1] = 3333.9;
  hundredths[20] = 10000;
  comm.m_adCustCharY.fill(12.5);
  device->reply.reset();
  EXPECT_FALSE(comm.WriteCustomCurve(hundredths));
  EXPECT_EQ(device->requests.back(), Join({{135, 42, 0x00, 0x00, 0x0D, 0x05}, Repeat({0}, 36), {0x27, 0x10}}));
  for (double point : comm.m_adCustCharY) EXPECT_EQ(point, 12.5);
  device->reply = Reply(135, kCurve);
  EXPECT_TRUE(comm.WriteCustomCurve(hundredths));
  EXPECT_EQ(comm.m_adCustCharY, CurvePoints());
  EXPECT_EQ(comm.m_byEcho134, 135);
}

TEST_F(Records, CommandTextGoesOutOneCodePageCodeACharacterCutToItsField) {
  struct Case {
    std::string text;
    Bytes data;  // the 24 text bytes
  } cases[] = {
      {std::string(30, 'Q'), Repeat({'Q'}, 24)},
      // Cut after 24 characters, not 24 bytes of UTF-8.
      {[] {
         std::string t;
         for (int i = 0; i < 30; ++i) t += "\u00C4";
         return t;
       }(),
       Repeat({0xC4}, 24)},
      // O umlaut, degree, euro; a check mark is outside the code page.
      {"\u00D6l\u00B0\u20AC\u2713", Join({{0xD6, 'l', 0xB0, 0x80, '?'}, Repeat({0}, 19)})},
  };
  ConnectAll();
  for (const Case& c : cases) {
    comm.m_byCmd184Code = 5;
    comm.m_strCmd184Text = c.text;
    device->reply.reset();
    comm.WriteCommand(187);
    EXPECT_EQ(device->requests.back(), Join({{187, 25, 5}, c.data})) << c.text;
  }
}

TEST_F(Records, MasksReadThenWrittenUnchangedGoBackInTheSameOrder) {
  ConnectAll();
  device->reply = Reply(176, Counting(0xA0, 32));
  comm.ReadCommand(176);
  comm.WriteCommand(177);
  EXPECT_EQ(device->requests.back(), Join({{177, 32}, Counting(0xA0, 32)}));
}

}  // namespace
