// Renders every kind in a few states to build/screens/controls/, to be
// looked at.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QPixmap>

#include "platform/activex/bitmaps.h"
#include "sequences.h"

namespace {

using namespace axtest;

class Gallery : public ::testing::Test {
 protected:
  Gallery() { host.setAutoFillBackground(true); }
  IUnknownPtr Place(const char* progId, QRect rect, const std::vector<Step>& steps) {
    IUnknownPtr control = Create(progId);
    As<IWidgetControl>(control)->CreateWidget(&host, rect);
    EXPECT_EQ(Apply(control, steps), S_OK) << progId;
    controls.push_back(control);
    return control;
  }
  void Save(const char* name, QSize size) {
    host.resize(size);
    host.show();
    const QString dir = QString(TARNIX_BUILD_DIR) + "/screens/controls";
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = dir + "/" + name + ".png";
    ASSERT_TRUE(host.grab().save(path)) << path.toStdString();
  }

  QWidget host;
  std::vector<IUnknownPtr> controls;
};

TEST_F(Gallery, Leds) {
  const COLORREF colours[] = {0x00FF00, 0x006400, 0x00FFFF, 0x0A0AFF, 0x696969};
  int x = 10;
  for (const COLORREF c : colours) {
    Place(kLedRoundProgId, QRect(x, 10, 24, 24), CreateLedRound(24, 24, c));
    x += 34;
  }
  Place(kLedRoundProgId, QRect(x, 10, 24, 24), Concat({CreateLedRound(24, 24), {Set(kActive, false)}}));
  Place(kLedRoundProgId, QRect(x + 34, 6, 32, 32), CreateLedRound(32, 32, 0x0A0AFF));
  x = 10;
  for (LONG dir : {kArrowLeft, kArrowRight, kArrowUp, kArrowDown}) {
    const bool vertical = dir == kArrowUp || dir == kArrowDown;
    const QRect r(x, 50, vertical ? 20 : 34, vertical ? 34 : 20);
    Place(kLedArrowProgId, r,
          Concat({CreateLedArrow(r.width(), r.height(), 0xF0F0F0), SetupLedArrow(), {Set(ArrowRow(1), dir)}}));
    x += 44;
  }
  Place(kLedArrowProgId, QRect(x, 50, 34, 20),
        Concat({CreateLedArrow(34, 20, 0xF0F0F0), {SetColor(ArrowRow(5), 0x00FF00)}}));
  Place(kLedArrowProgId, QRect(x + 44, 50, 34, 20),
        Concat({CreateLedArrow(34, 20, 0xF0F0F0), {SetColor(ArrowRow(5), 0x00FF00), Set(kActive, false)}}));
  Save("leds", QSize(310, 96));
}

TEST_F(Gallery, HealthGauges) {
  const QRect r(0, 10, 100, 280);
  auto at = [&](int i) { return r.translated(10 + i * 110, 0); };
  Place(kLinearGaugeProgId, at(0),
        Concat({CreateLinearGauge2(100, 280), SetupTempHumidityGauge(), {Set(kValue, 75.0)}}));
  Place(kLinearGaugeProgId, at(1), Concat({CreateLinearGauge2(100, 280), SetupPiezoVolGauge(), {Set(kValue, 5.0)}}));
  Place(kLinearGaugeProgId, at(2),
        Concat({CreateLinearGauge2(100, 280),
                SetupDeviationGauge(),
                {Set(Row(4), 5), Set(Row(28), 1.1), Set(Row(29), -1.1), Element(1, kElementPosition, _variant_t(0.5)),
                 Element(2, kElementPosition, _variant_t(-0.5)), Set(kValue, 0.3)}}));
  Place(kLinearGaugeProgId, at(3),
        Concat({CreateLinearGauge2(100, 280),
                SetupCycleTravelGauge(),
                {Element(1, kElementPosition, _variant_t(2.0e9)), Element(2, kElementPosition, _variant_t(3.5e9)),
                 Set(kValue, 1.2e9)}}));
  // Pilot relay B before the device's limits: both scale ends 0.
  Place(kLinearGaugeProgId, at(4),
        Concat({CreateLinearGauge2(100, 280),
                SetupTempHumidityGauge(),
                {Set(Row(28), 0.0), Set(Row(29), 0.0), Set(kValue, 3.0)}}));
  Save("gauges_health", QSize(560, 300));
}

TEST_F(Gallery, DashboardGauges) {
  Place(
      kLinearGaugeProgId, QRect(10, 10, 380, 56),
      Concat({CreateLinearGauge(380, 56),
              SetupDashboardGaugeFonts(),
              {Set(kValue, 45.0), Element(0, kElementBool, _variant_t(true)), Set(Row(26), 95.0), Set(Row(27), 5.0)}}));
  Place(kLinearGaugeProgId, QRect(10, 76, 380, 56),
        Concat({CreateLinearGauge(380, 56), SetupDashboardGauge(), {Set(kValue, 62.0)}}));
  Place(kLinearGaugeProgId, QRect(400, 10, 70, 250),
        Concat({CreateLinearGauge(70, 250), SetupDashboardGaugeFonts(), {Set(kValue, 45.0)}}));
  Place(kLinearGaugeProgId, QRect(480, 10, 70, 250),
        Concat({CreateLinearGauge(70, 250), SetupDashboardGauge(), {Set(kValue, 62.0), SetColor(Row(3), 0x0A0AFF)}}));
  Save("gauges_dashboard", QSize(560, 270));
}

TEST_F(Gallery, Switches) {
  const char* texts = "Analog,Digital Only";
  Place(kSwitchSliderProgId, QRect(10, 10, 150, 30), CreateSwitchSlider(150, 30, texts));
  Place(kSwitchSliderProgId, QRect(130, 10, 150, 30),
        Concat({CreateSwitchSlider(150, 30, texts), {Set(kPosition, 1)}}));
  Place(kSwitchSliderProgId, QRect(250, 10, 150, 30),
        Concat({CreateSwitchSlider(150, 30, "##Analog,##DigOnly"), {Set(kEnabled, false)}}));
  Place(kSwitchToggleProgId, QRect(10, 64, 40, 64), CreateSwitchToggle(40, 64));
  Place(kSwitchToggleProgId, QRect(60, 64, 40, 64), Concat({CreateSwitchToggle(40, 64), {Set(kActive, true)}}));
  Save("switches", QSize(370, 140));
}

TEST_F(Gallery, Displays) {
  Place(kAnalogDisplayProgId, QRect(10, 10, 100, 26),
        Concat({CreateAnalogDisplay(100, 26, "%"), {Set(kValue, 45.678)}}));
  Place(kAnalogDisplayProgId, QRect(120, 10, 100, 26),
        Concat({CreateAnalogDisplay(100, 26, " degC"), {Set(kValue, 23.5)}}));
  Place(kAnalogDisplayProgId, QRect(230, 10, 100, 26), Concat({CreateAnalogDisplay2(100, 26), {Set(kValue, 1234.0)}}));
  Place(kEditDisplayProgId, QRect(10, 46, 100, 22), Concat({CreateEditDisplay(100, 22), {Set(kText, " 12.34")}}));
  Place(kEditDisplayProgId, QRect(120, 46, 100, 22), Concat({CreateEditDisplay(100, 22), {Set(kValue, -3.5)}}));
  Save("displays", QSize(340, 80));
}

TEST_F(Gallery, Labels) {
  Place(kLabelProgId, QRect(10, 10, 180, 20), Concat({CreateLabel(180, 20, "Configure settings"), SetupLabelFont(1)}));
  Place(kLabelProgId, QRect(10, 34, 180, 20), Concat({CreateLabel(180, 20, "Configure settings"), SetupLabelFont(0)}));
  Place(kLabelProgId, QRect(10, 58, 180, 20),
        Concat({CreateLabel(180, 20, "Tolerable error band"), SetupDeviationLabel()}));
  Place(kLabelProgId, QRect(10, 82, 180, 20),
        Concat({CreateLabel(180, 20, "Custom curve"), SetupCharViewLabel(0x0A0AFF)}));
  Place(kLabelProgId, QRect(10, 106, 180, 20), Concat({CreateLabel(180, 20, "Stroke"), SetupCharViewLabel(0xFF0000)}));
  Place(kLabelProgId, QRect(10, 130, 180, 20), CreateLabel(180, 20, "A plain label"));
  Place(kLabelProgId, QRect(200, 10, 50, 140), Concat({CreateLabel(50, 140, "{"), SetupDeviationTitleLabel()}));
  Save("labels", QSize(270, 160));
}

TEST_F(Gallery, Thermometers) {
  Place(kThermometerProgId, QRect(10, 10, 70, 220), Concat({CreateThermometer(1), {Set(kValue, 25.0)}}));
  Place(kThermometerProgId, QRect(90, 10, 70, 220), Concat({CreateThermometer(0), {Set(kValue, 60.0)}}));
  Place(kThermometerProgId, QRect(170, 10, 70, 220),
        Concat({CreateThermometer(1), {Set(kMax, 86.0), Set(kMin, -50.0), Set(kValue, 71.0)}}));
  Save("thermometers", QSize(250, 240));
}

TEST_F(Gallery, Images) {
  const BitmapProvider previous = SetBitmapProvider([](int id) {
    if (id != 143) return QPixmap();
    QPixmap p(40, 30);
    p.fill(QColor(60, 120, 200));
    QPainter painter(&p);
    painter.setPen(Qt::white);
    painter.drawText(p.rect(), Qt::AlignCenter, "143");
    return p;
  });
  Place(kImageDisplayProgId, QRect(10, 10, 61, 56), CreateImageDisplay(61, 56, 169));
  Place(kImageDisplayProgId, QRect(80, 10, 126, 48), CreateImageDisplay(126, 48, 131));
  Place(kImageDisplayProgId, QRect(215, 10, 61, 14), CreateImageDisplay(61, 14, 130));
  Place(kImageDisplayProgId, QRect(285, 10, 50, 40), CreateImageDisplay(50, 40, 143));
  Place(kImageDisplayProgId, QRect(345, 10, 40, 40), CreateImageDisplay(40, 40, 155));
  Save("images", QSize(400, 76));
  SetBitmapProvider(previous);
}

TEST_F(Gallery, SpinEdits) {
  Place(kSpinEditProgId, QRect(10, 10, 80, 22), Concat({CreateSpinEdit(), {Set(kValue, 0.9)}}));
  Place(kSpinEditProgId, QRect(100, 10, 80, 22), Concat({CreateSpinEdit(), {Set(kValue, 42.0), Set(kEnabled, false)}}));
  Place(kSpinEditProgId, QRect(190, 10, 80, 22),
        Concat({CreateSpinEdit(), {Set(kDecimals, 0), Set(kValue, 30.0), Set(kReadOnly, true)}}));
  Save("spin_edits", QSize(280, 42));
}

TEST_F(Gallery, EventHistoryGrid) {
  IUnknownPtr control =
      Place(kGridProgId, QRect(10, 10, 360, 200), SetupAlarmHistoryGrid("State", "Alarm #", "Indication"));
  IGridXPtr grid = As<IGridX>(control);
  for (LONG row = 1; row <= 12; ++row) {
    grid->put_Rows(row + 8);
    grid->put_TextMatrix(row, 0, row % 3 ? "ON" : "OFF");
    grid->put_TextMatrix(row, 1, std::to_string(200 + row * 7).c_str());
    grid->put_TextMatrix(row, 2, row % 2 ? "Travel deviation alert" : "Supply pressure low");
  }
  grid->Select(1, 0);
  Save("grid", QSize(380, 220));
}

}  // namespace
