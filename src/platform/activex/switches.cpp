// The slider switch (two positions with a text each) and the toggle switch.
// A click by the user moves them and fires their event; a put does not.
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "platform/activex/control_base.h"
#include "platform/activex/paint.h"

namespace activex {
namespace {

constexpr int kSliderMoved = 12;
constexpr int kToggleSwitched = 2;

class SwitchSlider : public ControlBase<IiSwitchSliderX> {
 public:
  SwitchSlider()
      : ControlBase({{kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int},
                     {Creator(1), "S1", Type::Int},
                     // S2 colours the chosen position's text, S7 the thumb's lamp.
                     {Creator(2), "S2", Type::Color, 0xFF0000},
                     {Creator(3), "S3", Type::Int},
                     {Creator(4), "S4", Type::Int},
                     {Creator(5), "S5", Type::Int},
                     {Creator(6), "S6", Type::Int},
                     {Creator(7), "S7", Type::Color, 0xFF0000},
                     {Creator(8), "S8", Type::Int},
                     {Creator(9), "S9", Type::Int},
                     {Creator(10), "S10", Type::Int},
                     {kPositionTexts, "texts", Type::Text, 0, "Off,On"},
                     {kPosition, "position", Type::Int},
                     {kEnabled, "enabled", Type::Bool, 1}},
                    false) {}

  HRESULT get_Position(LONG* position) override { return GetInt(kPosition, position); }
  HRESULT put_Position(LONG position) override { return PutAs(kPosition, _variant_t(position)); }
  HRESULT get_PositionTexts(_bstr_t* texts) override { return GetText(kPositionTexts, texts); }
  HRESULT put_PositionTexts(const _bstr_t& texts) override { return PutAs(kPositionTexts, _variant_t(texts)); }

  void UserClick() {
    if (!Core().Bool(kEnabled)) return;
    Core().Store(kPosition, _variant_t(static_cast<LONG>(Core().Int(kPosition) ? 0 : 1)));
    Core().Fire(kSliderMoved, {});
  }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
  bool AcceptsUserEvent(int) override { return Core().Bool(kEnabled); }
};

class SliderWidget : public QWidget {
 public:
  SliderWidget(QWidget* parent, SwitchSlider& control) : QWidget(parent), m_control(control) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    ControlCore& core = m_control.Core();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool second = core.Int(kPosition) != 0;
    const QString texts = QString::fromStdU16String(std::u16string(core.Text(kPositionTexts).view()));
    const int comma = texts.indexOf(',');
    const QString first = comma < 0 ? texts : texts.left(comma);
    const QString other = comma < 0 ? QString() : texts.mid(comma + 1);

    // A vertical slot on the left, the thumb in the upper half for position
    // 1; each position's text stands beside its half.
    const QRectF slot(3, 3, std::min(18.0, width() / 3.0), height() - 6.0);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(70, 74, 80));
    p.drawRoundedRect(slot, 3, 3);

    const double half = slot.height() / 2;
    const QRectF thumb(slot.left() + 1, second ? slot.top() + 1 : slot.top() + half, slot.width() - 2, half - 1);
    QLinearGradient g(thumb.topLeft(), thumb.topRight());
    g.setColorAt(0, QColor(248, 248, 248));
    g.setColorAt(1, QColor(182, 182, 182));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(g);
    p.drawRoundedRect(thumb, 2, 2);
    const QColor lamp = ToColor(core.Color(Creator(7)), palette());
    const QRectF strip(thumb.center().x() - thumb.width() * 0.3, thumb.center().y() - 1.5, thumb.width() * 0.6, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(core.Bool(kEnabled) ? lamp : QColor(150, 150, 150));
    p.drawRoundedRect(strip, 1.5, 1.5);

    QFont bold = font();
    bold.setBold(true);
    const QColor chosen = core.Bool(kEnabled) ? ToColor(core.Color(Creator(2)), palette())
                                              : palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor plain =
        palette().color(QPalette::Disabled, QPalette::WindowText).darker(core.Bool(kEnabled) ? 160 : 100);
    const double x = slot.right() + 5, w = width() - x - 1;
    const QRectF upper(x, slot.top(), w, half), lower(x, slot.top() + half, w, half);
    auto text = [&](const QRectF& r, const QString& t, bool isChosen) {
      p.setFont(isChosen ? bold : font());
      p.setPen(isChosen ? chosen : plain);
      p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, QFontMetricsF(p.font()).elidedText(t, Qt::ElideRight, r.width()));
    };
    text(upper, other, second);
    text(lower, first, !second);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) m_control.UserClick();
  }

 private:
  SwitchSlider& m_control;
};

QWidget* SwitchSlider::MakeWidget(QWidget* parent) { return new SliderWidget(parent, *this); }

class SwitchToggle : public ControlBase<IiSwitchToggleX> {
 public:
  SwitchToggle()
      : ControlBase({{Creator(1), "S1", Type::Int},
                     {kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int},
                     {Creator(2), "S2", Type::Int},
                     {Creator(3), "S3", Type::Int},
                     {Creator(4), "S4", Type::Int},
                     {Creator(5), "S5", Type::Int},
                     {kActive, "active", Type::Bool},
                     {kEnabled, "enabled", Type::Bool, 1}},
                    false) {}

  HRESULT get_Active(BOOL* on) override { return GetBool(kActive, on); }
  HRESULT put_Active(BOOL on) override { return PutAs(kActive, Bool(on)); }

  void UserClick() {
    if (!Core().Bool(kEnabled)) return;
    Core().Store(kActive, _variant_t(!Core().Bool(kActive)));
    Core().Fire(kToggleSwitched, {});
  }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
  bool AcceptsUserEvent(int) override { return Core().Bool(kEnabled); }
};

class ToggleWidget : public QWidget {
 public:
  ToggleWidget(QWidget* parent, SwitchToggle& control) : QWidget(parent), m_control(control) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = m_control.Core().Bool(kActive);
    const QFontMetricsF fm(font());
    const double textH = fm.height();

    // Plate, with "ON" above and "OFF" below the lever's bushing.
    const QRectF plate = QRectF(rect()).adjusted(1, 1, -1, -1);
    QLinearGradient pg(plate.topLeft(), plate.bottomRight());
    pg.setColorAt(0, QColor(236, 236, 236));
    pg.setColorAt(1, QColor(176, 176, 176));
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(pg);
    p.drawRoundedRect(plate, 4, 4);
    p.setPen(palette().color(QPalette::WindowText));
    const QColor lit(0, 150, 0);
    p.setPen(on ? lit : QColor(90, 90, 90));
    p.drawText(QRectF(plate.left(), plate.top() + 1, plate.width(), textH), Qt::AlignCenter, "ON");
    p.setPen(on ? QColor(90, 90, 90) : QColor(40, 40, 40));
    p.drawText(QRectF(plate.left(), plate.bottom() - textH - 1, plate.width(), textH), Qt::AlignCenter, "OFF");

    // Bushing with its nut, then the lever towards the state it is in.
    const QRectF inner = plate.adjusted(2, textH + 1, -2, -textH - 1);
    const double r = std::max(3.0, std::min(inner.width(), inner.height()) * 0.24);
    const QPointF c = inner.center();
    QRadialGradient nut(c - QPointF(r * 0.35, r * 0.35), r * 1.4);
    nut.setColorAt(0, QColor(210, 210, 212));
    nut.setColorAt(1, QColor(85, 85, 90));
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(nut);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(45, 45, 48));
    p.drawEllipse(c, r * 0.45, r * 0.45);

    const double knob = std::max(2.5, r * 0.55);
    const double reach = inner.height() / 2 - knob;
    const QPointF tip = c + QPointF(0, on ? -reach : reach);
    QLinearGradient shaft(c.x() - knob, 0, c.x() + knob, 0);
    shaft.setColorAt(0, QColor(120, 120, 126));
    shaft.setColorAt(0.45, QColor(235, 235, 238));
    shaft.setColorAt(1, QColor(110, 110, 116));
    p.setPen(QPen(QBrush(shaft), knob * 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, tip);
    QRadialGradient kg(tip - QPointF(knob * 0.35, knob * 0.35), knob * 1.2);
    kg.setColorAt(0, QColor(255, 255, 255));
    kg.setColorAt(1, QColor(125, 125, 130));
    p.setPen(QPen(QColor(70, 70, 74), 0.8));
    p.setBrush(kg);
    p.drawEllipse(tip, knob, knob);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) m_control.UserClick();
  }

 private:
  SwitchToggle& m_control;
};

QWidget* SwitchToggle::MakeWidget(QWidget* parent) { return new ToggleWidget(parent, *this); }

}  // namespace

HRESULT CreateSwitchSlider(REFIID riid, void** ppv) { return plat::CreateComObject<SwitchSlider>(riid, ppv); }
HRESULT CreateSwitchToggle(REFIID riid, void** ppv) { return plat::CreateComObject<SwitchToggle>(riid, ppv); }

}  // namespace activex
