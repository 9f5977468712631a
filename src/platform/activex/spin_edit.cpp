// The spin edit: a number field with up and down arrows. Typed numbers are
// kept as typed, outside min..max too (the pages clamp when they apply);
// the arrows and keys step by the increment and stay inside min..max. S3
// is the number of decimals; S1 and S2 are kept.
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/activex/control_base.h"
#include "platform/sys/numeric.h"

namespace activex {
namespace {

constexpr int kChanged = 202;
constexpr int kChangedPlain = 203;

class SpinEdit;

class SpinLine : public QLineEdit {
 public:
  SpinLine(QWidget* parent, SpinEdit& spin) : QLineEdit(parent), m_spin(spin) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  SpinEdit& m_spin;
};

class SpinWidget : public QWidget {
 public:
  SpinWidget(QWidget* parent, SpinEdit& spin);
  void Refresh();

 private:
  SpinEdit& m_spin;
  SpinLine* m_line;
  QToolButton* m_up;
  QToolButton* m_down;
};

class SpinEdit : public ControlBase<ISpinEditX> {
 public:
  SpinEdit()
      : ControlBase({{Creator(1), "S1", Type::Int},
                     {Creator(2), "S2", Type::Int},
                     {Creator(3), "S3", Type::Int, 2},
                     {kValue, "value", Type::Double},
                     {kMin, "min", Type::Double, 0},
                     {kMax, "max", Type::Double, 100},
                     {kIncrement, "increment", Type::Double, 1},
                     {kPageIncrement, "pageincrement", Type::Double, 10},
                     {kDecimals, "decimals", Type::Int, 2},
                     {kIntValue, "intvalue", Type::Int},
                     {kEnabled, "enabled", Type::Bool, 1},
                     {kReadOnly, "readonly", Type::Bool, 0},
                     {kWidth, "width", Type::Int},
                     {kHeight, "height", Type::Int}},
                    false) {}

  HRESULT get_Value(double* value) override { return GetDouble(kValue, value); }
  HRESULT put_Value(double value) override { return PutAs(kValue, _variant_t(value)); }
  HRESULT get_Min(double* value) override { return GetDouble(kMin, value); }
  HRESULT put_Min(double value) override { return PutAs(kMin, _variant_t(value)); }
  HRESULT get_Max(double* value) override { return GetDouble(kMax, value); }
  HRESULT put_Max(double value) override { return PutAs(kMax, _variant_t(value)); }
  HRESULT get_Increment(double* value) override { return GetDouble(kIncrement, value); }
  HRESULT put_Increment(double value) override { return PutAs(kIncrement, _variant_t(value)); }
  HRESULT get_Decimals(LONG* decimals) override { return GetInt(kDecimals, decimals); }
  HRESULT put_Decimals(LONG decimals) override { return PutAs(kDecimals, _variant_t(decimals)); }
  HRESULT get_IntValue(LONG* value) override { return GetInt(kIntValue, value); }
  HRESULT put_IntValue(LONG value) override { return PutAs(kIntValue, _variant_t(value)); }
  HRESULT get_Enabled(BOOL* enabled) override { return GetBool(kEnabled, enabled); }
  HRESULT put_Enabled(BOOL enabled) override { return PutAs(kEnabled, Bool(enabled)); }

  QString Shown() {
    const double v = Core().Double(kValue);
    const int decimals = static_cast<int>(std::clamp<LONG>(Core().Int(kDecimals), 0, 12));
    return QString::fromStdString(plat::FormatNumber("%.*f", decimals, v));
  }
  bool Live() { return Core().Bool(kEnabled) && !Core().Bool(kReadOnly); }

  // The user's changes.
  void Step(double steps) { StepBy(steps * Core().Double(kIncrement)); }
  void PageStep(double pages) { StepBy(pages * Core().Double(kPageIncrement)); }
  void Typed(const QString& text) {
    std::string t = text.trimmed().toStdString();
    std::replace(t.begin(), t.end(), ',', '.');
    char* end = nullptr;
    const double v = plat::StrToD(t.c_str(), &end);
    if (t.empty() || !end || *end != '\0' || !std::isfinite(v)) {
      if (m_widget) m_widget->Refresh();  // back to the value it had
      return;
    }
    if (Live()) UserSet(v);
  }

 protected:
  QWidget* MakeWidget(QWidget* parent) override {
    m_widget = new SpinWidget(parent, *this);
    return m_widget;
  }
  bool AcceptsUserEvent(int) override { return Core().Bool(kEnabled); }
  void OnChanged(int number) override {
    if (!m_syncing) {
      m_syncing = true;
      if (number == kValue) Core().Store(kIntValue, _variant_t(static_cast<LONG>(Rounded(Core().Double(kValue)))));
      if (number == kIntValue) Core().Store(kValue, _variant_t(static_cast<double>(Core().Int(kIntValue))));
      if (number == Creator(3)) Core().Store(kDecimals, _variant_t(Core().Int(Creator(3))));
      m_syncing = false;
    }
    if (m_widget) m_widget->Refresh();
  }

 private:
  static double Rounded(double v) {
    if (!std::isfinite(v)) return 0;
    return std::clamp(std::round(v), -2147483648.0, 2147483647.0);
  }
  void StepBy(double delta) {
    if (!Live()) return;
    const double min = Core().Double(kMin), max = Core().Double(kMax);
    double v = Core().Double(kValue) + delta;
    if (max >= min) v = std::clamp(v, min, max);
    UserSet(v);
  }
  void UserSet(double v) {
    const bool changed = v != Core().Double(kValue);
    Core().Store(kValue, _variant_t(v));
    if (!changed) return;
    Core().Fire(kChanged, {_variant_t(static_cast<LONG>(Rounded(v)))});
    Core().Fire(kChangedPlain, {});
  }

  QPointer<SpinWidget> m_widget;
  bool m_syncing = false;
};

void SpinLine::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Up:
      m_spin.Step(1);
      return;
    case Qt::Key_Down:
      m_spin.Step(-1);
      return;
    case Qt::Key_PageUp:
      m_spin.PageStep(1);
      return;
    case Qt::Key_PageDown:
      m_spin.PageStep(-1);
      return;
    default:
      QLineEdit::keyPressEvent(e);
  }
}

SpinWidget::SpinWidget(QWidget* parent, SpinEdit& spin) : QWidget(parent), m_spin(spin) {
  m_line = new SpinLine(this, spin);
  m_line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_up = new QToolButton(this);
  m_down = new QToolButton(this);
  for (QToolButton* b : {m_up, m_down}) {
    b->setArrowType(b == m_up ? Qt::UpArrow : Qt::DownArrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedWidth(16);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    b->setIconSize(QSize(7, 7));
  }
  auto* arrows = new QVBoxLayout;
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(m_up);
  arrows->addWidget(m_down);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(m_line, 1);
  row->addLayout(arrows);
  m_line->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

  connect(m_up, &QToolButton::clicked, this, [this] { m_spin.Step(1); });
  connect(m_down, &QToolButton::clicked, this, [this] { m_spin.Step(-1); });
  // Only typing counts: leaving a field the program filled is no change.
  connect(m_line, &QLineEdit::editingFinished, this, [this] {
    if (m_line->isModified()) m_spin.Typed(m_line->text());
  });
  Refresh();
}

void SpinWidget::Refresh() {
  const bool enabled = m_spin.Core().Bool(kEnabled);
  const bool readOnly = m_spin.Core().Bool(kReadOnly);
  m_line->setEnabled(enabled);
  m_line->setReadOnly(readOnly);
  m_up->setEnabled(enabled && !readOnly);
  m_down->setEnabled(enabled && !readOnly);
  // The program's value wins, also over a number being typed.
  m_line->setText(m_spin.Shown());
  m_line->setModified(false);
}

}  // namespace

HRESULT CreateSpinEdit(REFIID riid, void** ppv) { return plat::CreateComObject<SpinEdit>(riid, ppv); }

}  // namespace activex
