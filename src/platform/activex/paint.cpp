#include "platform/activex/paint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace activex {

QColor ToColor(COLORREF color, const QPalette& palette) {
  if (color & 0x80000000u) {
    switch (color & 0xFFu) {
      case 5:
        return palette.color(QPalette::Base);
      case 8:
        return palette.color(QPalette::Text);
      case 9:
      case 14:
        return palette.color(QPalette::HighlightedText);
      case 13:
        return palette.color(QPalette::Highlight);
      case 15:
        return palette.color(QPalette::Button);
      case 16:
        return palette.color(QPalette::Dark);
      case 18:
        return palette.color(QPalette::ButtonText);
      case 20:
        return palette.color(QPalette::Light);
      default:
        return palette.color(QPalette::Window);  // 10 and the rest
    }
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

void DrawBevel(QPainter& p, const QRectF& r, bool sunken, int width) {
  const QColor light(255, 255, 255, 200);
  const QColor dark(0, 0, 0, 110);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int i = 0; i < width; ++i) {
    const QRectF e = r.adjusted(i, i, -i - 1, -i - 1);
    p.setPen(sunken ? dark : light);
    p.drawLine(e.topLeft(), e.topRight());
    p.drawLine(e.topLeft(), e.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(e.bottomLeft(), e.bottomRight());
    p.drawLine(e.topRight(), e.bottomRight());
  }
  p.restore();
}

void DrawLamp(QPainter& p, const QRectF& r, const QColor& color, bool lit) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const double d = std::min(r.width(), r.height());
  const QRectF outer(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
  const double ring = std::max(1.5, d * 0.09);

  QLinearGradient bezel(outer.topLeft(), outer.bottomRight());
  bezel.setColorAt(0, QColor(250, 250, 250));
  bezel.setColorAt(1, QColor(96, 96, 96));
  p.setPen(QPen(QColor(70, 70, 70), 0.8));
  p.setBrush(bezel);
  p.drawEllipse(outer.adjusted(0.5, 0.5, -0.5, -0.5));

  const QRectF lens = outer.adjusted(ring, ring, -ring, -ring);
  QColor base = color;
  if (!lit)
    base =
        QColor::fromHsvF(base.hsvHueF() < 0 ? 0 : base.hsvHueF(), base.hsvSaturationF() * 0.45, base.valueF() * 0.45);
  QRadialGradient glow(lens.center() - QPointF(lens.width() * 0.18, lens.height() * 0.18), lens.width() * 0.7);
  glow.setColorAt(0, base.lighter(lit ? 160 : 125));
  glow.setColorAt(0.55, base);
  glow.setColorAt(1, base.darker(165));
  p.setPen(QPen(base.darker(220), 0.8));
  p.setBrush(glow);
  p.drawEllipse(lens);

  // The reflection that makes it read as glass.
  const QRectF shine(lens.left() + lens.width() * 0.22, lens.top() + lens.height() * 0.1, lens.width() * 0.45,
                     lens.height() * 0.3);
  QLinearGradient sg(shine.topLeft(), shine.bottomLeft());
  sg.setColorAt(0, QColor(255, 255, 255, lit ? 170 : 90));
  sg.setColorAt(1, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sg);
  p.drawEllipse(shine);
  p.restore();
}

QString ScaleText(double value) {
  const double a = std::fabs(value);
  auto shortForm = [](double v) { return QString::number(v, 'g', 3); };
  if (a >= 1e9) return shortForm(value / 1e9) + "G";
  if (a >= 1e6) return shortForm(value / 1e6) + "M";
  if (a >= 1e5) return shortForm(value / 1e3) + "k";
  if (a != 0 && a < 1e-3) return QString::number(value, 'e', 1);
  // Round away the float noise of tick arithmetic.
  return QString::number(std::round(value * 1e6) / 1e6, 'g', 7);
}

}  // namespace activex
