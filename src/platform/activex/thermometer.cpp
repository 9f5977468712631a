// The thermometer: a tube over a bulb with a scale beside it. S1 is the
// background, S2 the liquid, S3 the tube's width, S6 the major tick count
// and S7 the minor ticks between two major ones; the rest is kept.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "platform/activex/control_base.h"
#include "platform/activex/paint.h"

namespace activex {
namespace {

class Thermometer : public ControlBase<IiThermometerX> {
 public:
  Thermometer()
      : ControlBase({{Creator(1), "S1", Type::Color, 0x8000000F},
                     {Creator(2), "S2", Type::Color, 0x0A0AFF},
                     {Creator(3), "S3", Type::Int, 7},
                     {Creator(4), "S4", Type::Int},
                     {Creator(5), "S5", Type::Int},
                     {kMax, "max", Type::Double, 100},
                     {kMin, "min", Type::Double, 0},
                     {Creator(6), "S6", Type::Int, 6},
                     {Creator(7), "S7", Type::Int, 4},
                     {Creator(8), "S8", Type::Int},
                     {Creator(9), "S9", Type::Int},
                     {Creator(10), "S10", Type::Double},
                     {kValue, "value", Type::Double},
                     {kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int}},
                    true) {}

  HRESULT get_Value(double* value) override { return GetDouble(kValue, value); }
  HRESULT put_Value(double value) override { return PutAs(kValue, _variant_t(value)); }
  HRESULT get_ScaleMax(double* value) override { return GetDouble(kMax, value); }
  HRESULT put_ScaleMax(double value) override { return PutAs(kMax, _variant_t(value)); }
  HRESULT get_ScaleMin(double* value) override { return GetDouble(kMin, value); }
  HRESULT put_ScaleMin(double value) override { return PutAs(kMin, _variant_t(value)); }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
};

class ThermometerWidget : public QWidget {
 public:
  ThermometerWidget(QWidget* parent, ControlCore& core) : QWidget(parent), m_core(core) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), ToColor(m_core.Color(Creator(1)), palette()));
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF fm(font());
    const double min = m_core.Double(kMin), max = m_core.Double(kMax);
    const QString widest =
        fm.horizontalAdvance(ScaleText(min)) > fm.horizontalAdvance(ScaleText(max)) ? ScaleText(min) : ScaleText(max);
    const double labelW = fm.horizontalAdvance(widest);

    const double tube = std::clamp<double>(m_core.Int(Creator(3)), 3, 30) + 4;
    const double bulb = tube * 2.2;
    const double tickLen = 6;
    const double total = bulb + 4 + tickLen + 2 + labelW;
    const double x0 = std::max(2.0, (width() - total) / 2);
    const double cx = x0 + bulb / 2;
    const double top = fm.height() / 2 + 3;
    const double bulbTop = height() - bulb - 3;
    const double bottom = bulbTop - 4;  // the scale's minimum
    if (bottom <= top) return;

    // Glass: tube and bulb in one outline.
    QPainterPath glass;
    glass.setFillRule(Qt::WindingFill);
    glass.addRoundedRect(QRectF(cx - tube / 2, top - tube / 2, tube, bulbTop + bulb / 2 - top + tube / 2), tube / 2,
                         tube / 2);
    glass.addEllipse(QRectF(cx - bulb / 2, bulbTop, bulb, bulb));
    glass = glass.simplified();
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(QColor(250, 250, 250));
    p.drawPath(glass);

    // Liquid: the bulb is always full; the column rises with the value.
    const QColor liquid = ToColor(m_core.Color(Creator(2)), palette());
    double level = bottom;
    if (max > min && std::isfinite(m_core.Double(kValue))) {
      const double f = std::clamp((m_core.Double(kValue) - min) / (max - min), 0.0, 1.0);
      level = bottom - f * (bottom - top);
    }
    const double inner = tube - 4;
    QPainterPath column;
    column.setFillRule(Qt::WindingFill);
    column.addRect(QRectF(cx - inner / 2, level, inner, bulbTop + bulb / 2 - level));
    column.addEllipse(QRectF(cx - bulb / 2 + 2, bulbTop + 2, bulb - 4, bulb - 4));
    QLinearGradient g(cx - bulb / 2, 0, cx + bulb / 2, 0);
    g.setColorAt(0, liquid.darker(130));
    g.setColorAt(0.35, liquid.lighter(135));
    g.setColorAt(1, liquid.darker(150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(column.simplified());

    // Scale.
    const int majors = std::clamp<LONG>(m_core.Int(Creator(6)), 2, 51);
    const int minors = std::clamp<LONG>(m_core.Int(Creator(7)), 0, 20);
    const double tx = cx + bulb / 2 + 4;
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setFont(font());
    for (int i = 0; i < majors; ++i) {
      const double y = bottom - (bottom - top) * i / (majors - 1);
      p.drawLine(QPointF(tx, y), QPointF(tx + tickLen, y));
      if (max > min || i == 0) {
        const double v = max > min ? min + (max - min) * i / (majors - 1) : min;
        p.drawText(QRectF(tx + tickLen + 2, y - fm.height() / 2, labelW + 2, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, ScaleText(v));
      }
      if (i + 1 < majors)
        for (int k = 1; k <= minors; ++k) {
          const double ym = y - (bottom - top) / (majors - 1) * k / (minors + 1);
          p.drawLine(QPointF(tx, ym), QPointF(tx + tickLen / 2, ym));
        }
    }
  }

 private:
  ControlCore& m_core;
};

QWidget* Thermometer::MakeWidget(QWidget* parent) { return new ThermometerWidget(parent, Core()); }

}  // namespace

HRESULT CreateThermometer(REFIID riid, void** ppv) { return plat::CreateComObject<Thermometer>(riid, ppv); }

}  // namespace activex
