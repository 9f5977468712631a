// The label: a caption in its font. Rows: L2 the alignment (0 left,
// 1 centre, 2 right), L4 the text colour, L5 the link colour (used once put),
// L6 the link flag: while it is 0 a click does nothing. L1 and L3 are kept.
#include <QMouseEvent>
#include <QPainter>

#include "platform/activex/control_base.h"
#include "platform/activex/paint.h"

namespace activex {
namespace {

constexpr int kClick = 1;
constexpr COLORREF kNoColor = 0xFFFFFFFF;

class Label : public ControlBase<IiLabelX> {
 public:
  Label()
      : ControlBase({{Creator(1), "S1", Type::Int},
                     {Creator(2), "S2", Type::Int},
                     {kHeight, "height", Type::Int},
                     {kWidth, "width", Type::Int},
                     {kCaption, "caption", Type::Text},
                     {LabelRow(1), "L1", Type::Int},
                     {LabelRow(2), "L2", Type::Int},
                     {LabelRow(3), "L3", Type::Int},
                     {LabelRow(4), "L4", Type::Color, 0x000000},
                     {LabelRow(5), "L5", Type::Color, 0xFF0000},
                     {LabelRow(6), "L6", Type::Int, 1},
                     {kEnabled, "enabled", Type::Bool, 1},
                     {kBackColor, "backcolor", Type::Color, kNoColor}},
                    true) {}

  HRESULT get_Caption(_bstr_t* caption) override { return GetText(kCaption, caption); }
  HRESULT put_Caption(const _bstr_t& caption) override { return PutAs(kCaption, _variant_t(caption)); }
  HRESULT get_Enabled(BOOL* enabled) override { return GetBool(kEnabled, enabled); }
  HRESULT put_Enabled(BOOL enabled) override { return PutAs(kEnabled, Bool(enabled)); }

  bool Clickable() { return Core().Bool(kEnabled) && Core().Int(LabelRow(6)) != 0; }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;
  bool AcceptsUserEvent(int eventNumber) override { return eventNumber != kClick || Clickable(); }
  void OnChanged(int) override {
    if (!Core().widget) return;
    const bool link = Clickable() && Core().Font().underline;
    Core().widget->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
  }
};

class LabelWidget : public QWidget {
 public:
  LabelWidget(QWidget* parent, Label& label) : QWidget(parent), m_label(label) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    ControlCore& core = m_label.Core();
    QPainter p(this);
    if (core.Color(kBackColor) != kNoColor) p.fillRect(rect(), ToColor(core.Color(kBackColor), palette()));
    QColor ink = ToColor(core.Color(core.WasPut(LabelRow(5)) ? LabelRow(5) : LabelRow(4)), palette());
    if (!core.Bool(kEnabled)) ink = palette().color(QPalette::Disabled, QPalette::WindowText);
    int align = Qt::AlignLeft;
    if (core.Int(LabelRow(2)) == 1) align = Qt::AlignHCenter;
    if (core.Int(LabelRow(2)) == 2) align = Qt::AlignRight;
    p.setPen(ink);
    p.setFont(font());
    p.drawText(QRectF(rect()).adjusted(1, 0, -1, 0), align | Qt::AlignVCenter | Qt::TextWordWrap,
               QString::fromStdU16String(std::u16string(core.Text(kCaption).view())));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && m_label.Clickable())
      m_label.Core().Fire(kClick, {});
  }

 private:
  Label& m_label;
};

QWidget* Label::MakeWidget(QWidget* parent) { return new LabelWidget(parent, *this); }

}  // namespace

HRESULT CreateLabel(REFIID riid, void** ppv) { return plat::CreateComObject<Label>(riid, ppv); }

}  // namespace activex
