#pragma once
// What every control stand-in shares: numbered settings with their journal
// labels, the journal and planned failures, the font object, events to the
// page and the widget's lifetime. A kind lists its settings, adds its own
// interface and draws its widget.
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/activex/controls.h"
#include "platform/activex/widget_host.h"
#include "platform/com/dispatch.h"

namespace activex {

enum class Type { Int, Double, Color, Bool, Text };

struct SettingDef {
  int number;
  const char* label;
  Type type;
  double initial = 0;            // numbers, colours and booleans
  const char* initialText = "";  // texts
};

struct FontState {
  std::u16string name = u"Arial";
  CY size = 80000;
  bool bold = false;
  bool underline = false;
  short charset = 0;
};

// The number a kind's change hook sees when the font changed.
inline constexpr int kFontChanged = -1;

// The variant in the stored form of a type, or nothing when it does not fit.
std::optional<_variant_t> ConvertTo(Type type, const VARIANT& value);
// The journal text of a stored value.
std::string FormatValue(Type type, const _variant_t& value);
// What a refused value looked like, for the journal.
std::string RawText(const VARIANT& value);
// Doubles in their shortest exact fixed form, with ".".
std::string FormatDouble(double value);

// Held by the control and by the font objects it hands out, so a font object
// kept by a caller stays usable after the control has gone.
class ControlCore : public std::enable_shared_from_this<ControlCore> {
 public:
  ControlCore(std::vector<SettingDef> defs, bool hasFont);

  HRESULT Put(int number, const VARIANT& value);
  HRESULT Get(int number, VARIANT* value) const;
  // Journals a put or operation the kind applies itself and answers the
  // planned failure for its label; the kind applies it only on success.
  HRESULT Attempt(const std::string& label, const std::optional<std::string>& value = std::nullopt);
  // Journals a put the control refuses.
  HRESULT Refuse(const std::string& label, const std::optional<std::string>& value, HRESULT hr);

  bool Has(int number) const { return m_defs.count(number) != 0; }
  bool WasPut(int number) const { return m_put.count(number) != 0; }
  LONG Int(int number) const;
  double Double(int number) const;
  COLORREF Color(int number) const;
  bool Bool(int number) const;
  _bstr_t Text(int number) const;
  // A change the user made: stored without a journal entry and without an
  // event (the widget fires its event itself).
  void Store(int number, const _variant_t& value);

  bool HasFont() const { return m_hasFont; }
  const FontState& Font() const { return m_font; }
  QFont QtFont() const;
  HRESULT GetFontObject(IUnknown** font);
  HRESULT PutFontObject(IUnknown* font);
  // The font object's puts.
  HRESULT PutFont(const std::string& field, const std::string& valueText, const std::function<void(FontState&)>& apply);

  void Advise(IControlEventSink* sink, UINT controlId);
  // Hands an event to the page; nothing the page throws gets past here.
  void Fire(int eventNumber, const std::vector<_variant_t>& args);

  std::vector<std::string> Journal() const { return m_journal.Entries(); }
  void ClearJournal() { m_journal.Clear(); }
  void FailPut(const std::string& label, HRESULT hr, int times);

  // Tells the kind and repaints.
  void Changed(int number);

  std::function<void(int number)> onChanged;
  QPointer<QWidget> widget;

 private:
  HRESULT Planned(const std::string& label);

  struct Plan {
    HRESULT hr;
    int times;
  };
  std::map<int, SettingDef> m_defs;
  std::map<int, _variant_t> m_values;
  std::map<int, bool> m_put;
  bool m_hasFont;
  FontState m_font;
  IControlEventSink* m_sink = nullptr;
  UINT m_controlId = 0;
  ControlJournal m_journal;
  std::map<std::string, Plan> m_plans;
};

template <class Kind>
class ControlBase : public plat::ComObject<IControl, IWidgetControl, IControlTest, Kind> {
 public:
  HRESULT PutSetting(int setting, const VARIANT& value) override { return m_core->Put(setting, value); }
  HRESULT GetSetting(int setting, VARIANT* value) override { return m_core->Get(setting, value); }
  HRESULT get_Font(IUnknown** font) override { return m_core->GetFontObject(font); }
  HRESULT putref_Font(IUnknown* font) override { return m_core->PutFontObject(font); }
  HRESULT Advise(IControlEventSink* sink, UINT controlId) override {
    m_core->Advise(sink, controlId);
    return S_OK;
  }

  QWidget* CreateWidget(QWidget* parent, const QRect& rect) override {
    if (m_core->widget) return m_core->widget;
    QWidget* w = MakeWidget(parent);
    m_core->widget = w;
    w->setGeometry(rect);
    if (m_core->HasFont()) w->setFont(m_core->QtFont());
    w->setVisible(ShowsWidget());
    return w;
  }
  QWidget* Widget() override { return m_core->widget; }

  std::vector<std::string> Journal() override { return m_core->Journal(); }
  void ClearJournal() override { m_core->ClearJournal(); }
  void FailPut(const std::string& label, HRESULT hr, int times) override { m_core->FailPut(label, hr, times); }
  void UserEvent(int eventNumber, const std::vector<_variant_t>& args) override {
    if (AcceptsUserEvent(eventNumber)) m_core->Fire(eventNumber, args);
  }

  ControlCore& Core() { return *m_core; }

 protected:
  ControlBase(std::vector<SettingDef> defs, bool hasFont)
      : m_core(std::make_shared<ControlCore>(std::move(defs), hasFont)) {
    m_core->onChanged = [this](int number) { OnChanged(number); };
  }
  ~ControlBase() override {
    m_core->onChanged = nullptr;
    delete m_core->widget.data();
  }

  virtual QWidget* MakeWidget(QWidget* parent) = 0;
  virtual void OnChanged(int /*number*/) {}
  // Whether a user could cause this event now (a disabled control cannot).
  virtual bool AcceptsUserEvent(int /*eventNumber*/) { return true; }
  virtual bool ShowsWidget() const { return true; }

  HRESULT PutAs(int number, const _variant_t& value) { return m_core->Put(number, value); }
  template <class T>
  HRESULT GetDouble(int number, T* out) {
    if (!out) return E_POINTER;
    *out = m_core->Double(number);
    return S_OK;
  }
  template <class T>
  HRESULT GetInt(int number, T* out) {
    if (!out) return E_POINTER;
    *out = static_cast<T>(m_core->Int(number));
    return S_OK;
  }
  HRESULT GetColor(int number, COLORREF* out) {
    if (!out) return E_POINTER;
    *out = m_core->Color(number);
    return S_OK;
  }
  HRESULT GetBool(int number, BOOL* out) {
    if (!out) return E_POINTER;
    *out = m_core->Bool(number) ? TRUE : FALSE;
    return S_OK;
  }
  HRESULT GetText(int number, _bstr_t* out) {
    if (!out) return E_POINTER;
    *out = m_core->Text(number);
    return S_OK;
  }
  static _variant_t Color(COLORREF c) { return _variant_t(static_cast<LONG>(c)); }
  static _variant_t Bool(BOOL b) { return _variant_t(b != FALSE); }

 private:
  std::shared_ptr<ControlCore> m_core;
};

// Creators the registration uses, one per kind.
HRESULT CreateLedRound(REFIID riid, void** ppv);
HRESULT CreateLedArrow(REFIID riid, void** ppv);
HRESULT CreateLinearGauge(REFIID riid, void** ppv);
HRESULT CreateSwitchSlider(REFIID riid, void** ppv);
HRESULT CreateSwitchToggle(REFIID riid, void** ppv);
HRESULT CreateAnalogDisplay(REFIID riid, void** ppv);
HRESULT CreateEditDisplay(REFIID riid, void** ppv);
HRESULT CreateLabel(REFIID riid, void** ppv);
HRESULT CreateThermometer(REFIID riid, void** ppv);
HRESULT CreateImageDisplay(REFIID riid, void** ppv);
HRESULT CreateSpinEdit(REFIID riid, void** ppv);
HRESULT CreateGrid(REFIID riid, void** ppv);
HRESULT CreateReport(REFIID riid, void** ppv);
HRESULT CreatePrinter(REFIID riid, void** ppv);

}  // namespace activex
