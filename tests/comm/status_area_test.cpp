// Link supervision and the status area: the poll, the failure counter, the
// link flag one transaction late, texts and LED colours.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "comm/status_rules.h"
#include "scripted_device.h"
#include "support/language_table.h"

namespace {

using testsupport::Bytes;
using testsupport::Reply;

class FakeLed : public plat::ComObject<IiLedRoundX> {
 public:
  HRESULT get_LedColor(COLORREF* c) override {
    *c = color;
    return failGet ? E_FAIL : S_OK;
  }
  HRESULT put_LedColor(COLORREF c) override {
    color = c;
    ++puts;
    return S_OK;
  }
  COLORREF color = 0x696969;
  int puts = 0;
  bool failGet = false;
};

class FakeText : public ITextWindow {
 public:
  void SetWindowText(const char* t) override { text = t; }
  std::string GetWindowText() const override { return text; }
  std::string text = "untouched";
};

class StatusArea : public testsupport::ScriptedDeviceTest {
 protected:
  void SetUp() override {
    ScriptedDeviceTest::SetUp();
    ConnectAll();
    led = new FakeLed;
    led->AddRef();
  }
  void TearDown() override {
    led->Release();
    ScriptedDeviceTest::TearDown();
  }
  // The poll's reply: variable 8 = mode, variable 42 = priority.
  static Bytes Poll(BYTE mode, BYTE priority) { return Reply(200, {0, 8, mode, 0, 42, priority}); }
  void Poll() { comm.PollStatus(led, &status, &mode); }

  FakeLed* led = nullptr;
  FakeText status, mode;
};

TEST_F(StatusArea, PollSendsTheTwoVariablesAndKeepsThem) {
  device->reply = Poll(0x01, 12);
  comm.ReadPriorityBitsAndControlEnable();
  EXPECT_EQ(device->requests.back(), (Bytes{200, 4, 0, 8, 0, 42}));
  EXPECT_EQ(comm.m_byControlMode, 0x01);
  EXPECT_EQ(comm.m_byPriorityBits, 12);
  EXPECT_EQ(comm.m_nFailCount, 0);
}

TEST_F(StatusArea, LinkLossAndRecoveryShowOneTransactionLate) {
  struct Step {
    bool answered;
    int failCount;
    const char* statusText;
  } steps[] = {
      {true, 0, "##SYSNOM"},
      {true, 0, "##SYSNOM"},
      {false, 1, "##SYSNOM"},  // the flag drops only at the next transaction
      {false, 2, "Loss of Communication"},
      {true, 0, "Loss of Communication"},  // and rises only at the next one
      {true, 0, "##SYSNOM"},
  };
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE("poll " + std::to_string(++i));
    device->reply = s.answered ? std::optional<Bytes>(Poll(0, 0)) : std::nullopt;
    Poll();
    EXPECT_EQ(comm.m_nFailCount, s.failCount);
    EXPECT_EQ(status.text, s.statusText);
    EXPECT_EQ(led->color, std::string(s.statusText) == "Loss of Communication" ? status::kAlarm
                                                                                : status::kHeaderHealthy);
    EXPECT_EQ(mode.text, "##Analog");  // kept while the link is down
  }
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(StatusArea, WrongEchoCountsAsLostAndStoresNothing) {
  device->reply = Poll(0x01, 12);
  comm.ReadPriorityBitsAndControlEnable();
  device->reply = Reply(201, {0, 8, 0, 0, 42, 99});
  comm.ReadPriorityBitsAndControlEnable();
  EXPECT_EQ(comm.m_nFailCount, 1);
  EXPECT_EQ(log.Texts(), std::vector<std::string>{"reply count :1"});
  EXPECT_EQ(comm.m_byControlMode, 0x01);
  EXPECT_EQ(comm.m_byPriorityBits, 12);
  comm.ReadPriorityBitsAndControlEnable();
  EXPECT_EQ(log.Texts().back(), "reply count :2");
}

TEST_F(StatusArea, ShortOrForeignListIsAGoodPollButStoresNothing) {
  device->reply = Poll(0x01, 12);
  comm.ReadPriorityBitsAndControlEnable();
  for (const Bytes& reply : {Bytes{200, 2, 0, 0}, Bytes{200, 8, 0, 0, 0, 8}, Reply(200, {0, 9, 1, 0, 42, 7})}) {
    comm.m_nFailCount = 3;
    device->reply = reply;
    comm.ReadPriorityBitsAndControlEnable();
    EXPECT_EQ(comm.m_nFailCount, 0);
    EXPECT_EQ(comm.m_byControlMode, 0x01);
    EXPECT_EQ(comm.m_byPriorityBits, 12);
  }
  EXPECT_EQ(log.Texts().size(), 3u);
}

TEST_F(StatusArea, SeverityChoosesTheColour) {
  testsupport::LogCapture quiet;
  const std::string table = testing::TempDir() + "tarnix-severity.dlm";
  { std::ofstream(table) << "12\t2\n13\t1\n14\t3\n0\t3\n"; }
  comm.LoadErrorTableFrom(table);
  struct Case {
    BYTE priority;
    COLORREF color;
    const char* text;
  } cases[] = {
      {0, status::kHeaderHealthy, "##SYSNOM"},  // whatever the table says
      {12, status::kAlert, "##RawStatus1_16_BitEnumDescr"},
      {13, status::kHeaderHealthy, ""},  // a bit without a text
      {14, status::kAlarm, ""},
      {3, status::kAlarm, "##RawStatus0_8_BitEnumDescr"},  // not in the table
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.priority));
    device->reply = Poll(0, c.priority);
    Poll();
    EXPECT_EQ(led->color, c.color);
    EXPECT_EQ(comm.m_crStatusColor, c.color);
    EXPECT_EQ(status.text, c.text);
  }
  std::remove(table.c_str());
}

TEST_F(StatusArea, ModeTextFollowsBitZero) {
  for (BYTE m : {0x00, 0x01, 0x02, 0x03}) {
    device->reply = Poll(m, 0);
    Poll();
    EXPECT_EQ(mode.text, (m & 1) ? "##DigOnly" : "##Analog") << int(m);
    EXPECT_EQ(comm.m_bstrModeText.str(), mode.text);
  }
}

TEST_F(StatusArea, LedIsWrittenOnlyWhenItsColourDiffers) {
  device->reply = Poll(0, 0);
  Poll();
  EXPECT_EQ(led->puts, 1);
  Poll();
  Poll();
  EXPECT_EQ(led->puts, 1);
}

TEST_F(StatusArea, CalibrationVariantIgnoresTheLinkAndTheMode) {
  comm.m_bLinkOK = 0;
  comm.m_byPriorityBits = 0;
  comm.m_bStatusRead = true;
  comm.UpdateStatusAreaCalib(led, &status);
  EXPECT_EQ(status.text, "##SYSNOM");
  EXPECT_EQ(led->color, status::kHeaderHealthy);
  EXPECT_EQ(mode.text, "untouched");
}

TEST_F(StatusArea, NothingReadShowsNoStatusNeverAHealthyOne) {
  // The image's zero priority before any poll: the calibration variant
  // and a link that stands on other replies show no status.
  comm.UpdateStatusAreaCalib(led, &status);
  EXPECT_EQ(led->color, status::kNotAvailable);
  EXPECT_EQ(status.text, "");
  device->reply = Reply(13, std::vector<BYTE>(21, 0));
  comm.ReadCommand(13);
  ASSERT_EQ(comm.m_bLinkOK, 1);
  comm.UpdateStatusArea(led, &status, &mode);
  EXPECT_EQ(led->color, status::kNotAvailable);
  EXPECT_EQ(status.text, "");
  EXPECT_EQ(mode.text, "");
  // Polls that are lost or not the poll's own still tell nothing.
  device->reply = Reply(200, {0, 9, 1, 0, 42, 0});
  Poll();
  device->reply.reset();
  Poll();
  EXPECT_FALSE(comm.m_bStatusRead);
  EXPECT_EQ(status.text, "");
  Poll();
  EXPECT_EQ(status.text, "Loss of Communication");
  EXPECT_EQ(led->color, status::kAlarm);
  // The first poll that is decoded shows the device's status.
  device->reply = Poll(0, 0);
  Poll();
  Poll();
  EXPECT_EQ(status.text, "##SYSNOM");
  EXPECT_EQ(led->color, status::kHeaderHealthy);
  EXPECT_EQ(mode.text, "##Analog");
}

TEST_F(StatusArea, FailingLedOrMissingLedRaises) {
  AsAfterAFirstReply();  // the link up: the colour is read first
  led->failGet = true;
  EXPECT_THROW(comm.UpdateStatusArea(led, &status, &mode), _com_error);
  try {
    comm.UpdateStatusArea(nullptr, &status, &mode);
    FAIL();
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_POINTER);
  }
}

TEST(StatusTexts, StatusBitKeys) {
  struct Case {
    int index;
    const char* text;  // null: no text
  } cases[] = {
      {0, "##RawStatus0_1_BitEnumDescr"},   {4, "##RawStatus0_16_BitEnumDescr"}, {5, nullptr},
      {7, nullptr},                          {8, "##RawStatus1_1_BitEnumDescr"},  {11, "##RawStatus1_8_BitEnumDescr"},
      {56, nullptr},                         {119, nullptr},
      {127, "##RawStatus15_128_BitEnumDescr"}, {192, "##RawStatus24_1_BitEnumDescr"}, {230, "##RawStatus28_64_BitEnumDescr"},
      {231, nullptr},                        {255, nullptr},
  };
  for (const Case& c : cases) {
    const _bstr_t text = CWexletCoreCommunication::GetStatusBitKey(static_cast<BYTE>(c.index));
    if (c.text) {
      EXPECT_EQ(text.str(), c.text) << c.index;
    } else {
      EXPECT_TRUE(text.is_null()) << c.index;
    }
  }
  int keyed = 0;
  for (int i = 0; i < 256; ++i) keyed += CWexletCoreCommunication::GetStatusBitKey(static_cast<BYTE>(i)).is_null() ? 0 : 1;
  EXPECT_EQ(keyed, 139);
}

TEST(StatusTexts, CalibrationStateKeys) {
  using C = CWexletCoreCommunication;
  EXPECT_EQ(C::GetCalibStateKey(27), "##JOGBUMPOPEN");
  EXPECT_EQ(C::GetCalibStateKey(28), "##JOGBUMPOPEN");
  EXPECT_EQ(C::GetCalibStateKey(21), "##RawStatus0_2_BitEnumDescr");
  EXPECT_EQ(C::GetCalibStateKey(0), "##SPRINGTYPENONE");
  EXPECT_EQ(C::GetCalibStateKey(82), "##CALABORT");
  for (int s : {7, 20, 37, 49, 54, 59, 66, 79, 83, 255}) EXPECT_EQ(C::GetCalibStateKey(static_cast<BYTE>(s)), "") << s;
}

}  // namespace
