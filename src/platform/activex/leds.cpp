// The round LED and the arrow LED.
#include <QPainter>
#include <QPainterPath>

#include "platform/activex/control_base.h"
#include "platform/activex/paint.h"

namespace activex {
namespace {

class RoundLed : public ControlBase<IiLedRoundX> {
 public:
  RoundLed()
      : ControlBase({{kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int},
                     {kLedColor, "color", Type::Color, 0x00FF00},
                     {Creator(1), "S1", Type::Int},
                     {Creator(2), "S2", Type::Int},
                     {Creator(3), "S3", Type::Int},
                     {Creator(4), "S4", Type::Int},
                     {kActive, "active", Type::Bool, 1}},
                    false) {}

  HRESULT get_LedColor(COLORREF* color) override { return GetColor(kLedColor, color); }
  HRESULT put_LedColor(COLORREF color) override { return PutAs(kLedColor, Color(color)); }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
};

class RoundLedWidget : public QWidget {
 public:
  RoundLedWidget(QWidget* parent, ControlCore& core) : QWidget(parent), m_core(core) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    DrawLamp(p, QRectF(rect()).adjusted(1, 1, -1, -1), ToColor(m_core.Color(kLedColor), palette()),
             m_core.Bool(kActive));
  }

 private:
  ControlCore& m_core;
};

QWidget* RoundLed::MakeWidget(QWidget* parent) { return new RoundLedWidget(parent, Core()); }

class ArrowLed : public ControlBase<IiLedArrowX> {
 public:
  ArrowLed()
      : ControlBase({{kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int},
                     {ArrowRow(1), "A1", Type::Int, kArrowLeft},
                     {ArrowRow(2), "A2", Type::Int},
                     {ArrowRow(3), "A3", Type::Int},
                     {ArrowRow(4), "A4", Type::Int},
                     {ArrowRow(5), "A5", Type::Color, 0x00FF00},
                     {ArrowRow(6), "A6", Type::Int},
                     // The creator's extra colour shows while the LED is off.
                     {Creator(1), "S1", Type::Color, 0x696969},
                     {Creator(2), "S2", Type::Int},
                     {Creator(3), "S3", Type::Int},
                     {kActive, "active", Type::Bool, 1}},
                    false) {}

  HRESULT get_LedColor(COLORREF* color) override { return GetColor(ArrowRow(5), color); }
  HRESULT put_LedColor(COLORREF color) override { return PutAs(ArrowRow(5), Color(color)); }
  HRESULT get_Active(BOOL* active) override { return GetBool(kActive, active); }
  HRESULT put_Active(BOOL active) override { return PutAs(kActive, Bool(active)); }
  HRESULT get_Direction(LONG* direction) override { return GetInt(ArrowRow(1), direction); }
  HRESULT put_Direction(LONG direction) override { return PutAs(ArrowRow(1), _variant_t(direction)); }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
};

class ArrowLedWidget : public QWidget {
 public:
  ArrowLedWidget(QWidget* parent, ControlCore& core) : QWidget(parent), m_core(core) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool lit = m_core.Bool(kActive);
    const QColor color = ToColor(m_core.Color(lit ? ArrowRow(5) : Creator(1)), palette());

    // An arrow pointing right in a unit box, turned to the direction.
    const LONG dir = m_core.Int(ArrowRow(1));
    const bool vertical = dir == kArrowUp || dir == kArrowDown;
    const QRectF box = QRectF(rect()).adjusted(2, 2, -2, -2);
    const double len = vertical ? box.height() : box.width();
    const double wide = vertical ? box.width() : box.height();
    const double head = std::min(len * 0.5, wide);
    QPainterPath path;
    path.moveTo(0, wide * 0.3);
    path.lineTo(len - head, wide * 0.3);
    path.lineTo(len - head, 0);
    path.lineTo(len, wide / 2);
    path.lineTo(len - head, wide);
    path.lineTo(len - head, wide * 0.7);
    path.lineTo(0, wide * 0.7);
    path.closeSubpath();

    QTransform t;
    t.translate(box.center().x(), box.center().y());
    switch (dir) {
      case kArrowLeft:
        t.rotate(180);
        break;
      case kArrowUp:
        t.rotate(-90);
        break;
      case kArrowDown:
        t.rotate(90);
        break;
      default:
        break;
    }
    t.translate(-len / 2, -wide / 2);
    const QPainterPath arrow = t.map(path);

    QLinearGradient g(arrow.boundingRect().topLeft(), arrow.boundingRect().bottomRight());
    g.setColorAt(0, color.lighter(lit ? 150 : 115));
    g.setColorAt(0.5, color);
    g.setColorAt(1, color.darker(170));
    p.setPen(QPen(color.darker(230), 1.0));
    p.setBrush(g);
    p.drawPath(arrow);
  }

 private:
  ControlCore& m_core;
};

QWidget* ArrowLed::MakeWidget(QWidget* parent) { return new ArrowLedWidget(parent, Core()); }

}  // namespace

HRESULT CreateLedRound(REFIID riid, void** ppv) { return plat::CreateComObject<RoundLed>(riid, ppv); }
HRESULT CreateLedArrow(REFIID riid, void** ppv) { return plat::CreateComObject<ArrowLed>(riid, ppv); }

}  // namespace activex
