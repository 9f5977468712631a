// The limit kit of the health pages: word conversions, the two text forms,
// the counter scale, the pushes, and a dragged marker put back on the scale.
#include "common/limit_gauge.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/common_controls.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "platform/win/controls.h"

namespace {

using namespace limits;

TEST(LimitWords, ConvertAsUnsignedAndTruncateTowardZero) {
  EXPECT_EQ(FromWord(0x80000000u), 2147483648.0);
  EXPECT_EQ(WordText(0xFFFFFFFFu), "4294967295");
  const struct {
    double value;
    DWORD word;
  } cases[] = {{904.5, 904}, {900.45, 900}, {0.99, 0}, {-5, 0}, {NAN, 0}, {4294967295.0, 0xFFFFFFFFu},
               {1e12, 0xFFFFFFFFu}, {2147483648.7, 0x80000000u}};
  for (const auto& c : cases) EXPECT_EQ(ToWord(c.value), c.word) << c.value;
}

TEST(LimitTexts, VariantTextKeepsFractionsAndPrintfRounds) {
  EXPECT_EQ(VariantText(0.9 * 1005), "904.5");
  EXPECT_EQ(VariantText(1000), "1000");
  EXPECT_EQ(VariantText(0.1), "0.1");
  EXPECT_EQ(VariantText(4294967295.0), "4294967295");
  EXPECT_EQ(plat::FormatNumber("%.0f", 904.6), "905");
  EXPECT_EQ(plat::FormatNumber("%5.1f", 7.25), "  7.2");
}

TEST(LimitScale, CounterScaleCapsTheWarningButNotALargerCount) {
  const struct {
    double full, count, scale;
  } cases[] = {{1000, 500, 1100}, {1000, 2000, 2200}, {4294967295.0, 10, 4294967295.0},
               {0, 0, 0},         {0, 5, 5.5},        {4000000000.0, 4294967295.0, 4294967295.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(CounterScale(c.full, c.count), c.scale) << c.full << " " << c.count;
}

TEST(LimitPush, StopsAtTheScaleEnds) {
  EXPECT_EQ(PushedBelow(100, 2, 0), 98);
  EXPECT_EQ(PushedBelow(1, 2, 0), 0);
  EXPECT_EQ(PushedBelow(2, 2, 0), 0);
  EXPECT_EQ(PushedAbove(200, 1, 1000), 201);
  EXPECT_EQ(PushedAbove(999.5, 1, 1000), 1000);
}

// The response gauge of the pilot relay page: 0..1000 with two markers.
class LimitGaugeTest : public testing::Test {
 protected:
  void SetUp() override {
    page.Create(nullptr, "page", WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0);
    CRect rect(10, 10, 310, 70);
    page.ClientToScreen(&rect);
    IiLinearGaugeXPtr created = common.CreateLinearGauge2(&page, &host, rect, 339);
    common.SetupPilotRelayGaugeA(created);
    gauge = LimitGauge(created);
  }
  CCommonControls common;
  CWnd page, host;
  LimitGauge gauge;
};

TEST_F(LimitGaugeTest, ADraggedMarkerIsPutBackOnTheEndItPassed) {
  ASSERT_TRUE(gauge);
  ASSERT_EQ(gauge.Max(), 1000);
  const struct {
    double dragged, kept;
    bool clamped;
  } cases[] = {{1200, 1000, true}, {1000, 1000, true}, {500, 500, false}, {0, 0, true}, {-3, 0, true}};
  for (const auto& c : cases) {
    gauge.SetMarker(2, 77);
    double value = c.dragged;
    EXPECT_EQ(gauge.ClampMarker(2, value), c.clamped) << c.dragged;
    EXPECT_EQ(value, c.kept) << c.dragged;
    EXPECT_EQ(gauge.Marker(2), c.clamped ? c.kept : 77) << c.dragged;
  }
}

// One limit on the position gauge (-10..110): an edit, a spin edit and
// the high marker (2).
class LimitFieldTest : public LimitGaugeTest {
 protected:
  void SetUp() override {
    page.Create(nullptr, "page", WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0);
    CRect rect(10, 10, 310, 70);
    page.ClientToScreen(&rect);
    IiLinearGaugeXPtr created = common.CreateLinearGauge2(&page, &host, rect, 810);
    common.SetupPosAlertsGauge(created);
    gauge = LimitGauge(created);
    edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 80, 60, 95), &page, kEdit);
    spin = common.CreateSpinEditCtrl(&page, &spinHost, CRect(70, 80, 120, 95), 814);
  }
  static constexpr int kEdit = 409;
  CEdit edit;
  CWnd spinHost;
  ISpinEditXPtr spin;
  LimitField field{page, kEdit, spin, gauge, 2};
};

TEST_F(LimitFieldTest, TypedTextIsItsLeadingFiniteNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"80", 80}, {" 12.5", 12.5}, {"-3.25%", -3.25}, {"", 0}, {"abc", 0}, {"1e2", 100},
               {"nan", 0}, {"-inf", 0}, {"1e999", 0}};
  for (const auto& c : cases) {
    edit.SetWindowText(c.text);
    EXPECT_EQ(field.Typed(), c.value) << '"' << c.text << '"';
  }
}

TEST_F(LimitFieldTest, ShowPutsOneValueOnAllThreeAndTheEditRoundsIt) {
  ASSERT_TRUE(spin);
  field.SetSpinRange(-10, 110);
  const struct {
    double value;
    const char* text;
  } cases[] = {{80, "80.0"}, {29.99, "30.0"}, {-10, "-10.0"}, {0.05, "0.1"}, {109.94, "109.9"}};
  for (const auto& c : cases) {
    field.Show(c.value);
    EXPECT_EQ(page.GetDlgItemText(kEdit), c.text) << c.value;
    EXPECT_EQ(field.Spin(), c.value);
    EXPECT_EQ(gauge.Marker(2), c.value);
  }
}

TEST_F(LimitFieldTest, EditAndMarkerFollowTheSpinEditOnly) {
  field.Show(40);
  gauge.SetMarker(1, 20);
  ComCheck(spin->put_Value(55.55));
  field.FollowSpin();
  EXPECT_EQ(page.GetDlgItemText(kEdit), "55.5");
  EXPECT_EQ(gauge.Marker(2), 55.55);
  EXPECT_EQ(gauge.Marker(1), 20);
  // A field without a marker leaves the gauge alone.
  LimitField unmarked{page, kEdit, spin, gauge};
  unmarked.Show(12);
  EXPECT_EQ(gauge.Marker(2), 55.55);
  EXPECT_EQ(page.GetDlgItemText(kEdit), "12.0");
}

}  // namespace
