// The linear gauge: a scale, a pointer (element 0) that shows the value, and
// markers the pages add. What its numbered rows show:
//   S1 background, 3 pointer colour (= element 0's colour), 4 and 5 the
//   pointer's width along and length across the scale, 8 the track colour,
//   10 the colour of ticks and texts, 19 the major tick count, 22 minor
//   ticks between two major ones, 26 and 27 the high and low limit marks
//   in the colours 15e and 15f (shown once both are put), 28 and 29 the
//   scale ends, the font (row 24a) for the scale texts. The rest is kept.
// The gauge lies along its longer side; the pointer's value fills the track
// from zero (or the nearer scale end).
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "platform/activex/control_base.h"
#include "platform/activex/paint.h"

namespace activex {
namespace {

struct Element {
  double position = 0;
  LONG int1 = 10;
  COLORREF color = 0x00FFFF;
  LONG int2 = 10;
  LONG int3 = 0;
  bool movable = false;
  LONG int4 = 0;
};

struct ElementField {
  int setting;
  const char* name;
  Type type;
};
constexpr ElementField kElementFields[] = {
    {kElementPosition, "position", Type::Double},
    {kElementInt1, "int1", Type::Int},
    {kElementColor, "color", Type::Color},
    {kElementInt2, "int2", Type::Int},
    {kElementInt3, "int3", Type::Int},
    {kElementBool, "bool", Type::Bool},
    {kElementInt4, "int4", Type::Int},
};

const ElementField* FindField(int setting) {
  for (const ElementField& f : kElementFields)
    if (f.setting == setting) return &f;
  return nullptr;
}

std::vector<SettingDef> GaugeSettings() {
  std::vector<SettingDef> defs = {
      {kWidth, "width", Type::Int},  {kHeight, "height", Type::Int},  {Creator(1), "S1", Type::Color, 0x8000000F},
      {Creator(2), "S2", Type::Int}, {kValue, "value", Type::Double},
  };
  // Row types as the set-ups put them.
  for (int row = 1; row <= 34; ++row) {
    Type type = Type::Int;
    if (row == 3 || (row >= 8 && row <= 10)) type = Type::Color;
    if ((row >= 12 && row <= 14) || (row >= 26 && row <= 30)) type = Type::Double;
    defs.push_back({row, nullptr, type});
  }
  const struct {
    int row;
    char letter;
    Type type;
  } lettered[] = {{7, 'a', Type::Int},  {7, 'b', Type::Int},  {15, 'a', Type::Int},   {15, 'b', Type::Int},
                  {15, 'c', Type::Int}, {15, 'd', Type::Int}, {15, 'e', Type::Color}, {15, 'f', Type::Color},
                  {30, 'a', Type::Int}, {30, 'b', Type::Int}, {34, 'a', Type::Int}};
  for (const auto& l : lettered) defs.push_back({Row(l.row, l.letter), nullptr, l.type});

  // Starting values with a visible role.
  for (SettingDef& d : defs) {
    switch (d.number) {
      case 3:
        d.initial = 0x00FF00;
        break;
      case 4:
        d.initial = 10;
        break;
      case 5:
        d.initial = 12;
        break;
      case 8:
        d.initial = 0xA0A0A0;
        break;
      case 10:
        d.initial = 0x303030;
        break;
      case 19:
        d.initial = 6;
        break;
      case 22:
        d.initial = 4;
        break;
      case 28:
        d.initial = 100;
        break;
      case Row(15, 'e'):
      case Row(15, 'f'):
        d.initial = 0x0A0AFF;
        break;
      default:
        break;
    }
  }
  return defs;
}

// Labels of rows live here so the defs can point at them.
const char* RowLabel(int number) {
  static const std::map<int, std::string> labels = [] {
    std::map<int, std::string> m;
    for (int row = 1; row <= 34; ++row) m[row] = std::to_string(row);
    for (int row : {7, 15, 24, 30, 34})
      for (char letter = 'a'; letter <= 'f'; ++letter) m[Row(row, letter)] = std::to_string(row) + letter;
    return m;
  }();
  return labels.at(number).c_str();
}

class LinearGauge;

class GaugeWidget : public QWidget {
 public:
  GaugeWidget(QWidget* parent, LinearGauge& gauge) : QWidget(parent), m_gauge(gauge) {}

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  struct Layout {
    bool horizontal = false;
    double a0 = 0, a1 = 1;  // along the scale: pixel of the minimum, of the maximum
    double labelC = 0, tickC = 0, markC = 0, trackC = 0, pointerC = 0;  // across: zone starts
    double trackW = 8;
    double markLen = 10, pointerLen = 12;
  };
  Layout Compute() const;
  // Widget point of a place given along and across the scale.
  QPointF At(const Layout& l, double along, double across) const;
  double AlongOf(const Layout& l, QPointF p) const;
  double Pixel(const Layout& l, double value) const;
  QRectF ElementBox(const Layout& l, int index) const;

  LinearGauge& m_gauge;
  int m_dragging = -1;
};

class LinearGauge : public ControlBase<IiLinearGaugeX> {
 public:
  LinearGauge() : ControlBase(Labelled(GaugeSettings()), true) {
    m_elements.push_back(Element{0, 10, Core().Color(3), 12, 0, false, 0});
  }

  HRESULT get_Value(double* value) override { return GetDouble(kValue, value); }
  HRESULT put_Value(double value) override { return PutAs(kValue, _variant_t(value)); }
  HRESULT get_ScaleMax(double* value) override { return GetDouble(28, value); }
  HRESULT put_ScaleMax(double value) override { return PutAs(28, _variant_t(value)); }
  HRESULT get_ScaleMin(double* value) override { return GetDouble(29, value); }
  HRESULT put_ScaleMin(double value) override { return PutAs(29, _variant_t(value)); }

  HRESULT AddElement(LONG* index) override {
    const HRESULT hr = Core().Attempt("add");
    if (FAILED(hr)) return hr;
    m_elements.push_back(Element{});
    if (index) *index = static_cast<LONG>(m_elements.size() - 1);
    Core().Changed(kElementsChanged);
    return S_OK;
  }
  HRESULT get_ElementCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(m_elements.size());
    return S_OK;
  }

  HRESULT PutElementSetting(LONG index, int setting, const VARIANT& value) override {
    const ElementField* field = FindField(setting);
    const std::string label =
        "element[" + std::to_string(index) + "]." + (field ? field->name : std::to_string(setting));
    if (!field || index < 0 || index >= static_cast<LONG>(m_elements.size()))
      return Core().Refuse(label, RawText(value), E_INVALIDARG);
    const std::optional<_variant_t> v = ConvertTo(field->type, value);
    if (!v) return Core().Refuse(label, RawText(value), DISP_E_TYPEMISMATCH);
    const HRESULT hr = Core().Attempt(label, FormatValue(field->type, *v));
    if (FAILED(hr)) return hr;
    Apply(index, setting, *v);
    return S_OK;
  }

  HRESULT GetElementSetting(LONG index, int setting, VARIANT* value) override {
    if (!value) return E_POINTER;
    if (index < 0 || index >= static_cast<LONG>(m_elements.size())) return E_INVALIDARG;
    const Element& e = m_elements[static_cast<size_t>(index)];
    switch (setting) {
      case kElementPosition:
        *value = _variant_t(e.position);
        return S_OK;
      case kElementInt1:
        *value = _variant_t(e.int1);
        return S_OK;
      case kElementColor:
        *value = _variant_t(static_cast<LONG>(e.color));
        return S_OK;
      case kElementInt2:
        *value = _variant_t(e.int2);
        return S_OK;
      case kElementInt3:
        *value = _variant_t(e.int3);
        return S_OK;
      case kElementBool:
        *value = _variant_t(e.movable);
        return S_OK;
      case kElementInt4:
        *value = _variant_t(e.int4);
        return S_OK;
      default:
        return E_INVALIDARG;
    }
  }

  HRESULT get_ElementPosition(LONG index, double* position) override {
    if (!position) return E_POINTER;
    if (index < 0 || index >= static_cast<LONG>(m_elements.size())) return E_INVALIDARG;
    *position = m_elements[static_cast<size_t>(index)].position;
    return S_OK;
  }
  HRESULT put_ElementPosition(LONG index, double position) override {
    return PutElementSetting(index, kElementPosition, _variant_t(position));
  }
  HRESULT get_ElementColor(LONG index, COLORREF* color) override {
    if (!color) return E_POINTER;
    if (index < 0 || index >= static_cast<LONG>(m_elements.size())) return E_INVALIDARG;
    *color = m_elements[static_cast<size_t>(index)].color;
    return S_OK;
  }
  HRESULT put_ElementColor(LONG index, COLORREF color) override {
    return PutElementSetting(index, kElementColor, Color(color));
  }

  const std::vector<Element>& Elements() const { return m_elements; }
  // A drag by the user: no journal, no event until the release.
  void UserMoved(int index, double position) {
    if (index == 0) {
      Core().Store(kValue, _variant_t(position));
    } else {
      m_elements[static_cast<size_t>(index)].position = position;
      Core().Changed(kElementsChanged);
    }
  }

 protected:
  QWidget* MakeWidget(QWidget* parent) override { return new GaugeWidget(parent, *this); }

  void OnChanged(int number) override {
    // Row 3 and the value are element 0's colour and position.
    if (number == 3) m_elements[0].color = Core().Color(3);
    if (number == kValue) m_elements[0].position = Core().Double(kValue);
  }

 private:
  static constexpr int kElementsChanged = -100;

  static std::vector<SettingDef> Labelled(std::vector<SettingDef> defs) {
    for (SettingDef& d : defs)
      if (!d.label) d.label = RowLabel(d.number);
    return defs;
  }

  void Apply(LONG index, int setting, const _variant_t& v) {
    Element& e = m_elements[static_cast<size_t>(index)];
    switch (setting) {
      case kElementPosition:
        e.position = v.dblVal;
        if (index == 0) Core().Store(kValue, v);
        break;
      case kElementInt1:
        e.int1 = v.lVal;
        break;
      case kElementColor:
        e.color = static_cast<COLORREF>(v.lVal);
        if (index == 0) Core().Store(3, v);
        break;
      case kElementInt2:
        e.int2 = v.lVal;
        break;
      case kElementInt3:
        e.int3 = v.lVal;
        break;
      case kElementBool:
        e.movable = v.boolVal != VARIANT_FALSE;
        break;
      case kElementInt4:
        e.int4 = v.lVal;
        break;
      default:
        break;
    }
    Core().Changed(kElementsChanged);
  }

  std::vector<Element> m_elements;
};

double Finite(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

GaugeWidget::Layout GaugeWidget::Compute() const {
  ControlCore& core = m_gauge.Core();
  Layout l;
  l.horizontal = width() > height();
  const QFontMetricsF fm(core.QtFont());
  const double min = Finite(core.Double(29), 0), max = Finite(core.Double(28), 0);
  const double labelW = std::max(fm.horizontalAdvance(ScaleText(min)), fm.horizontalAdvance(ScaleText(max)));
  const double labelDepth = l.horizontal ? fm.height() : labelW;
  const double tickLen = 7;
  l.trackW = 8;
  l.pointerLen = std::clamp<double>(core.Int(5), 4, 40);
  l.markLen = 6;
  for (size_t i = 1; i < m_gauge.Elements().size(); ++i)
    l.markLen = std::max(l.markLen, std::clamp<double>(m_gauge.Elements()[i].int2, 4, 40));

  const double across = l.horizontal ? height() : width();
  const double used = labelDepth + 2 + tickLen + 2 + l.markLen + l.trackW + l.pointerLen;
  const double start = std::max(1.0, (across - used) / 2);
  l.labelC = start;
  l.tickC = start + labelDepth + 2;
  l.markC = l.tickC + tickLen + 2;
  l.trackC = l.markC + l.markLen;
  l.pointerC = l.trackC + l.trackW;

  const double along = l.horizontal ? width() : height();
  const double margin =
      std::max(l.horizontal ? labelW / 2 + 2 : fm.height() / 2 + 2, std::max(6.0, core.Int(4) / 2.0 + 1));
  l.a0 = margin;
  l.a1 = std::max(margin + 1, along - margin);
  return l;
}

QPointF GaugeWidget::At(const Layout& l, double along, double across) const {
  // Vertical: the scale texts on the left, the minimum at the bottom.
  // Horizontal: the scale texts at the bottom, the minimum on the left.
  if (l.horizontal) return {along, height() - across};
  return {across, height() - along};
}

double GaugeWidget::AlongOf(const Layout& l, QPointF p) const { return l.horizontal ? p.x() : height() - p.y(); }

double GaugeWidget::Pixel(const Layout& l, double value) const {
  ControlCore& core = m_gauge.Core();
  const double min = Finite(core.Double(29), 0), max = Finite(core.Double(28), 0);
  if (!(max > min)) return l.a0;
  const double v = std::clamp(Finite(value, min), min, max);
  return l.a0 + (v - min) / (max - min) * (l.a1 - l.a0);
}

QRectF GaugeWidget::ElementBox(const Layout& l, int index) const {
  const Element& e = m_gauge.Elements()[static_cast<size_t>(index)];
  const double a = Pixel(l, e.position);
  double half, c0, c1;
  if (index == 0) {
    half = std::clamp<double>(m_gauge.Core().Int(4), 4, 40) / 2;
    c0 = l.pointerC;
    c1 = l.pointerC + l.pointerLen;
  } else {
    half = std::clamp<double>(e.int1, 4, 40) / 2;
    c0 = l.trackC - std::clamp<double>(e.int2, 4, 40);
    c1 = l.trackC;
  }
  return QRectF(At(l, a - half, c0), At(l, a + half, c1)).normalized();
}

void GaugeWidget::paintEvent(QPaintEvent*) {
  ControlCore& core = m_gauge.Core();
  QPainter p(this);
  p.fillRect(rect(), ToColor(core.Color(Creator(1)), palette()));
  p.setRenderHint(QPainter::Antialiasing);
  const Layout l = Compute();
  const QColor ink = ToColor(core.Color(10), palette());
  const double min = Finite(core.Double(29), 0), max = Finite(core.Double(28), 0);

  // Track, with the value filled in from the minimum.
  const QRectF track = QRectF(At(l, l.a0, l.trackC), At(l, l.a1, l.trackC + l.trackW)).normalized();
  p.setPen(Qt::NoPen);
  p.setBrush(ToColor(core.Color(8), palette()));
  p.drawRect(track);
  const Element& pointer = m_gauge.Elements()[0];
  const QColor pointerColor = ToColor(pointer.color, palette());
  const double pv = Pixel(l, pointer.position);
  // The fill starts at zero when the scale holds it, else at the minimum.
  const double base = Pixel(l, 0.0);
  if (pv != base) {
    QRectF fill = QRectF(At(l, base, l.trackC + 2), At(l, pv, l.trackC + l.trackW - 2)).normalized();
    p.setBrush(pointerColor);
    p.drawRect(fill);
  }
  DrawBevel(p, track, true);

  // Ticks and texts.
  p.setFont(core.QtFont());
  const QFontMetricsF fm(core.QtFont());
  const int majors = std::clamp<LONG>(core.Int(19), 2, 101);
  const int minors = std::clamp<LONG>(core.Int(22), 0, std::max(0, 1000 / majors));
  p.setPen(QPen(ink, 1));
  const double tickEnd = l.markC - 2;
  for (int i = 0; i < majors; ++i) {
    const double a = l.a0 + (l.a1 - l.a0) * i / (majors - 1);
    p.drawLine(At(l, a, l.tickC), At(l, a, tickEnd));
    const bool spanned = max > min;
    if (spanned || i == 0) {
      const double v = spanned ? min + (max - min) * i / (majors - 1) : min;
      const QString text = ScaleText(v);
      const double w = fm.horizontalAdvance(text);
      QRectF box;
      if (l.horizontal) {
        const QPointF c = At(l, a, l.labelC);
        box = QRectF(c.x() - w / 2 - 1, c.y() - fm.height(), w + 2, fm.height());
        p.drawText(box, Qt::AlignCenter, text);
      } else {
        const QPointF c = At(l, a, l.tickC - 2);
        box = QRectF(c.x() - w - 2, c.y() - fm.height() / 2, w + 2, fm.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
      }
    }
    if (i + 1 < majors)
      for (int k = 1; k <= minors; ++k) {
        const double m = a + (l.a1 - l.a0) / (majors - 1) * k / (minors + 1);
        p.drawLine(At(l, m, l.tickC + 3), At(l, m, tickEnd));
      }
  }

  // Limit marks: a short bar across the tick zone.
  for (const auto& [row, colorRow] : {std::pair{26, Row(15, 'e')}, std::pair{27, Row(15, 'f')}}) {
    if (!core.WasPut(row) || !core.WasPut(colorRow)) continue;
    const double a = Pixel(l, core.Double(row));
    p.setPen(QPen(ToColor(core.Color(colorRow), palette()), 2.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(At(l, a, l.tickC), At(l, a, l.trackC + l.trackW));
  }

  // Markers point at the track from the scale side, the pointer from the
  // other; each also draws a hairline across the track.
  auto triangle = [&](const QRectF& box, bool fromScaleSide) {
    QPainterPath path;
    const bool h = l.horizontal;
    if (!h && fromScaleSide) {
      path.moveTo(box.left(), box.top());
      path.lineTo(box.right(), box.center().y());
      path.lineTo(box.left(), box.bottom());
    } else if (!h) {
      path.moveTo(box.right(), box.top());
      path.lineTo(box.left(), box.center().y());
      path.lineTo(box.right(), box.bottom());
    } else if (fromScaleSide) {  // below the track, pointing up
      path.moveTo(box.left(), box.bottom());
      path.lineTo(box.center().x(), box.top());
      path.lineTo(box.right(), box.bottom());
    } else {
      path.moveTo(box.left(), box.top());
      path.lineTo(box.center().x(), box.bottom());
      path.lineTo(box.right(), box.top());
    }
    path.closeSubpath();
    return path;
  };
  const auto& elements = m_gauge.Elements();
  for (size_t i = 1; i < elements.size(); ++i) {
    const QColor c = ToColor(elements[i].color, palette());
    const double a = Pixel(l, elements[i].position);
    p.setPen(QPen(c.darker(200), 1));
    p.drawLine(At(l, a, l.trackC), At(l, a, l.trackC + l.trackW));
    p.setBrush(c);
    p.drawPath(triangle(ElementBox(l, static_cast<int>(i)), true));
  }
  p.setPen(QPen(pointerColor.darker(220), 1));
  p.setBrush(pointerColor);
  p.drawPath(triangle(ElementBox(l, 0), false));
}

void GaugeWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const Layout l = Compute();
  const auto& elements = m_gauge.Elements();
  // The pointer is drawn last, so it is on top; then the markers, last first.
  std::vector<int> order{0};
  for (int i = static_cast<int>(elements.size()) - 1; i >= 1; --i) order.push_back(i);
  for (int index : order) {
    if (!elements[static_cast<size_t>(index)].movable) continue;
    if (ElementBox(l, index).adjusted(-3, -3, 3, 3).contains(e->position())) {
      m_dragging = index;
      return;
    }
  }
}

void GaugeWidget::mouseMoveEvent(QMouseEvent* e) {
  if (m_dragging < 0) return;
  ControlCore& core = m_gauge.Core();
  const Layout l = Compute();
  const double min = core.Double(29), max = core.Double(28);
  if (!(max > min)) return;
  const double f = std::clamp((AlongOf(l, e->position()) - l.a0) / (l.a1 - l.a0), 0.0, 1.0);
  m_gauge.UserMoved(m_dragging, min + f * (max - min));
}

void GaugeWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (m_dragging < 0) return;
  mouseMoveEvent(e);
  const int index = m_dragging;
  m_dragging = -1;
  if (index == 0) {
    m_gauge.Core().Fire(
        8, {_variant_t(static_cast<short>(1)), _variant_t(static_cast<short>(0)),
            _variant_t(static_cast<LONG>(e->position().x())), _variant_t(static_cast<LONG>(e->position().y()))});
  } else {
    m_gauge.Core().Fire(19, {_variant_t(static_cast<LONG>(index))});
  }
}

}  // namespace

HRESULT CreateLinearGauge(REFIID riid, void** ppv) { return plat::CreateComObject<LinearGauge>(riid, ppv); }

}  // namespace activex
