// The analog display (a value with its units) and the edit display (a text
// field the program fills). Neither takes input.
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "platform/activex/control_base.h"
#include "platform/activex/paint.h"
#include "platform/sys/numeric.h"

namespace activex {
namespace {

QString ToQString(const _bstr_t& text) { return QString::fromStdU16String(std::u16string(text.view())); }

QString Fixed(double value, LONG decimals) {
  if (!std::isfinite(value)) return "---";
  return QString::fromStdString(plat::FormatNumber("%.*f", static_cast<int>(std::clamp<LONG>(decimals, 0, 12)), value));
}

// A recessed readout panel.
void DrawReadout(QPainter& p, const QRectF& r, const QColor& back, const QColor& frame) {
  p.fillRect(r, back);
  DrawBevel(p, r, true);
  p.setPen(frame.darker(115));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(1, 1, -2, -2));
}

class AnalogDisplay : public ControlBase<IiAnalogDisplayX> {
 public:
  AnalogDisplay()
      : ControlBase({{kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int},
                     {Creator(1), "S1", Type::Color, 0x80000005},  // background
                     {Creator(2), "S2", Type::Color, 0x8000000F},  // frame
                     {Creator(3), "S3", Type::Int},
                     {Creator(4), "S4", Type::Int},
                     {kUnits, "units", Type::Text},
                     {Creator(5), "S5", Type::Int},
                     {Creator(6), "S6", Type::Int},
                     {kValue, "value", Type::Double},
                     {kDecimals, "decimals", Type::Int, 2}},
                    false) {}

  HRESULT get_Value(double* value) override { return GetDouble(kValue, value); }
  HRESULT put_Value(double value) override { return PutAs(kValue, _variant_t(value)); }
  HRESULT get_Units(_bstr_t* units) override { return GetText(kUnits, units); }
  HRESULT put_Units(const _bstr_t& units) override { return PutAs(kUnits, _variant_t(units)); }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
};

class AnalogDisplayWidget : public QWidget {
 public:
  AnalogDisplayWidget(QWidget* parent, ControlCore& core) : QWidget(parent), m_core(core) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRectF r = QRectF(rect());
    DrawReadout(p, r, ToColor(m_core.Color(Creator(1)), palette()), ToColor(m_core.Color(Creator(2)), palette()));
    const QString value = Fixed(m_core.Double(kValue), m_core.Int(kDecimals));
    const QString units = ToQString(m_core.Text(kUnits));
    QFont big = font();
    big.setBold(true);
    big.setPointSizeF(std::clamp(height() * 0.42, 6.0, 28.0));
    QFont small = font();
    small.setPointSizeF(std::clamp(height() * 0.3, 6.0, 16.0));
    const double unitsW = units.isEmpty() ? 0 : QFontMetricsF(small).horizontalAdvance(units) + 3;
    const QRectF inner = r.adjusted(4, 2, -4, -2);
    p.setPen(palette().color(QPalette::Text));
    p.setFont(big);
    p.drawText(inner.adjusted(0, 0, -unitsW, 0), Qt::AlignRight | Qt::AlignVCenter, value);
    if (!units.isEmpty()) {
      p.setFont(small);
      p.drawText(QRectF(inner.right() - unitsW + 3, inner.top(), unitsW, inner.height()),
                 Qt::AlignLeft | Qt::AlignVCenter, units);
    }
  }

 private:
  ControlCore& m_core;
};

QWidget* AnalogDisplay::MakeWidget(QWidget* parent) { return new AnalogDisplayWidget(parent, Core()); }

class EditDisplay : public ControlBase<IiEditX> {
 public:
  EditDisplay()
      : ControlBase({{Creator(1), "S1", Type::Color, 0x80000005},  // background
                     {Creator(2), "S2", Type::Int},
                     {kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int},
                     {Creator(3), "S3", Type::Int},
                     {kText, "text", Type::Text},
                     {kValue, "value", Type::Double},
                     {kDecimals, "decimals", Type::Int, 2}},
                    true) {}

  HRESULT get_Value(double* value) override { return GetDouble(kValue, value); }
  HRESULT put_Value(double value) override { return PutAs(kValue, _variant_t(value)); }
  HRESULT get_Text(_bstr_t* text) override { return GetText(kText, text); }
  HRESULT put_Text(const _bstr_t& text) override { return PutAs(kText, _variant_t(text)); }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
  void OnChanged(int number) override {
    // A value shows as text, with the display's decimals.
    if (number == kValue)
      Core().Store(kText, _variant_t(_bstr_t(Fixed(Core().Double(kValue), Core().Int(kDecimals)).toStdString())));
  }
};

class EditDisplayWidget : public QWidget {
 public:
  EditDisplayWidget(QWidget* parent, ControlCore& core) : QWidget(parent), m_core(core) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRectF r = QRectF(rect());
    const QColor back = ToColor(m_core.Color(Creator(1)), palette());
    DrawReadout(p, r, back, back);
    p.setPen(palette().color(QPalette::Text));
    p.setFont(font());
    p.drawText(r.adjusted(4, 1, -4, -1), Qt::AlignLeft | Qt::AlignVCenter, ToQString(m_core.Text(kText)));
  }

 private:
  ControlCore& m_core;
};

QWidget* EditDisplay::MakeWidget(QWidget* parent) { return new EditDisplayWidget(parent, Core()); }

}  // namespace

HRESULT CreateAnalogDisplay(REFIID riid, void** ppv) { return plat::CreateComObject<AnalogDisplay>(riid, ppv); }
HRESULT CreateEditDisplay(REFIID riid, void** ppv) { return plat::CreateComObject<EditDisplay>(riid, ppv); }

}  // namespace activex
