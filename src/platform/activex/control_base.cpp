#include "platform/activex/control_base.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "support/log.h"

namespace activex {
namespace {

std::optional<double> Number(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2:
      return v.iVal;
    case VT_I4:
      return v.lVal;
    case VT_R4:
      return v.fltVal;
    case VT_R8:
      return v.dblVal;
    case VT_UI1:
      return v.bVal;
    case VT_BOOL:
      return v.boolVal ? 1.0 : 0.0;
    default:
      return std::nullopt;
  }
}

std::string Hex(std::uint32_t v, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, v);
  return text;
}

// The font object a control hands out: a view of the control's font, so
// changes show at once; giving it back is journalled as "font".
class FontObject : public plat::ComObject<IFont> {
 public:
  explicit FontObject(std::shared_ptr<ControlCore> core) : m_core(std::move(core)) {}
  const ControlCore* Owner() const { return m_core.get(); }

  HRESULT get_Name(_bstr_t* name) override {
    if (!name) return E_POINTER;
    *name = _bstr_t(m_core->Font().name);
    return S_OK;
  }
  HRESULT put_Name(const _bstr_t& name) override {
    return m_core->PutFont("name", name.str(), [&](FontState& f) { f.name = std::u16string(name.view()); });
  }
  HRESULT get_Size(CY* size) override {
    if (!size) return E_POINTER;
    *size = m_core->Font().size;
    return S_OK;
  }
  HRESULT put_Size(CY size) override {
    if (size <= 0) return m_core->Refuse("font.size", std::to_string(size), E_INVALIDARG);
    return m_core->PutFont("size", std::to_string(size), [&](FontState& f) { f.size = size; });
  }
  HRESULT get_Bold(BOOL* bold) override {
    if (!bold) return E_POINTER;
    *bold = m_core->Font().bold ? TRUE : FALSE;
    return S_OK;
  }
  HRESULT put_Bold(BOOL bold) override {
    return m_core->PutFont("bold", bold ? "true" : "false", [&](FontState& f) { f.bold = bold != FALSE; });
  }
  HRESULT get_Underline(BOOL* underline) override {
    if (!underline) return E_POINTER;
    *underline = m_core->Font().underline ? TRUE : FALSE;
    return S_OK;
  }
  HRESULT put_Underline(BOOL underline) override {
    return m_core->PutFont("underline", underline ? "true" : "false",
                           [&](FontState& f) { f.underline = underline != FALSE; });
  }
  HRESULT get_Charset(short* charset) override {
    if (!charset) return E_POINTER;
    *charset = m_core->Font().charset;
    return S_OK;
  }
  HRESULT put_Charset(short charset) override {
    return m_core->PutFont("charset", std::to_string(charset), [&](FontState& f) { f.charset = charset; });
  }

 private:
  std::shared_ptr<ControlCore> m_core;
};

}  // namespace

std::string FormatDouble(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
  if (value == 0) return "0";  // no "-0"
  char text[400];
  const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return std::string(text, r.ptr);
}

std::optional<_variant_t> ConvertTo(Type type, const VARIANT& value) {
  if (type == Type::Text) {
    if (value.vt != VT_BSTR) return std::nullopt;
    return _variant_t(value.bstrVal);
  }
  const std::optional<double> n = Number(value);
  if (!n || !std::isfinite(*n)) {
    // A double setting keeps what it is given, not-a-number included.
    if (n && type == Type::Double) return _variant_t(*n);
    return std::nullopt;
  }
  switch (type) {
    case Type::Double:
      return _variant_t(*n);
    case Type::Bool:
      return _variant_t(*n != 0);
    case Type::Int:
      if (*n < -2147483648.0 || *n > 2147483647.0) return std::nullopt;
      return _variant_t(static_cast<LONG>(std::lround(*n)));
    case Type::Color: {
      // OLE colours arrive as negative 32-bit integers.
      if (*n < -2147483648.0 || *n > 4294967295.0) return std::nullopt;
      const auto c =
          *n < 0 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(*n)) : static_cast<std::uint32_t>(*n);
      return _variant_t(static_cast<LONG>(c));
    }
    case Type::Text:
      break;
  }
  return std::nullopt;
}

std::string FormatValue(Type type, const _variant_t& value) {
  switch (type) {
    case Type::Int:
      return std::to_string(value.lVal);
    case Type::Double:
      return FormatDouble(value.dblVal);
    case Type::Color:
      return Hex(static_cast<std::uint32_t>(value.lVal), 6);
    case Type::Bool:
      return value.boolVal ? "true" : "false";
    case Type::Text:
      return value.bstrVal.str();
  }
  return {};
}

std::string RawText(const VARIANT& v) {
  if (v.vt == VT_BSTR) return v.bstrVal.str();
  if (const auto n = Number(v)) return FormatDouble(*n);
  return "<vt " + std::to_string(v.vt) + ">";
}

namespace {

_variant_t Initial(const SettingDef& def) {
  switch (def.type) {
    case Type::Int:
      return _variant_t(static_cast<LONG>(def.initial));
    case Type::Double:
      return _variant_t(def.initial);
    case Type::Color:
      return _variant_t(static_cast<LONG>(static_cast<std::uint32_t>(def.initial)));
    case Type::Bool:
      return _variant_t(def.initial != 0);
    case Type::Text:
      return _variant_t(def.initialText);
  }
  return {};
}

}  // namespace

ControlCore::ControlCore(std::vector<SettingDef> defs, bool hasFont) : m_hasFont(hasFont) {
  for (const SettingDef& def : defs) {
    m_defs.emplace(def.number, def);
    m_values[def.number] = Initial(def);
  }
}

HRESULT ControlCore::Planned(const std::string& label) {
  auto it = m_plans.find(label);
  if (it == m_plans.end()) it = m_plans.find("*");
  if (it == m_plans.end()) return S_OK;
  const HRESULT hr = it->second.hr;
  if (it->second.times > 0 && --it->second.times == 0) m_plans.erase(it);
  return hr;
}

HRESULT ControlCore::Attempt(const std::string& label, const std::optional<std::string>& value) {
  const HRESULT hr = Planned(label);
  if (FAILED(hr)) return Refuse(label, value, hr);
  m_journal.Add(value ? label + "=" + *value : label);
  return S_OK;
}

HRESULT ControlCore::Refuse(const std::string& label, const std::optional<std::string>& value, HRESULT hr) {
  m_journal.Add((value ? label + "=" + *value : label) + " failed " + Hex(static_cast<std::uint32_t>(hr), 8));
  return hr;
}

HRESULT ControlCore::Put(int number, const VARIANT& value) {
  const auto def = m_defs.find(number);
  if (def == m_defs.end()) return Refuse(std::to_string(number), RawText(value), E_INVALIDARG);
  const std::optional<_variant_t> stored = ConvertTo(def->second.type, value);
  if (!stored) return Refuse(def->second.label, RawText(value), DISP_E_TYPEMISMATCH);
  const HRESULT hr = Attempt(def->second.label, FormatValue(def->second.type, *stored));
  if (FAILED(hr)) return hr;
  m_values[number] = *stored;
  m_put[number] = true;
  Changed(number);
  return S_OK;
}

HRESULT ControlCore::Get(int number, VARIANT* value) const {
  if (!value) return E_POINTER;
  const auto it = m_values.find(number);
  if (it == m_values.end()) return E_INVALIDARG;
  *value = it->second;
  return S_OK;
}

void ControlCore::Store(int number, const _variant_t& value) {
  const auto def = m_defs.find(number);
  if (def == m_defs.end()) return;
  if (const auto stored = ConvertTo(def->second.type, value)) {
    m_values[number] = *stored;
    Changed(number);
  }
}

LONG ControlCore::Int(int number) const {
  const auto it = m_values.find(number);
  return it == m_values.end() ? 0 : it->second.lVal;
}

double ControlCore::Double(int number) const {
  const auto it = m_values.find(number);
  return it == m_values.end() ? 0.0 : it->second.dblVal;
}

COLORREF ControlCore::Color(int number) const { return static_cast<COLORREF>(Int(number)); }

bool ControlCore::Bool(int number) const {
  const auto it = m_values.find(number);
  return it != m_values.end() && it->second.boolVal != VARIANT_FALSE;
}

_bstr_t ControlCore::Text(int number) const {
  const auto it = m_values.find(number);
  return it == m_values.end() ? _bstr_t("") : it->second.bstrVal;
}

QFont ControlCore::QtFont() const {
  QFont f(QString::fromStdU16String(m_font.name));
  f.setPointSizeF(static_cast<double>(m_font.size) / 10000.0);
  f.setBold(m_font.bold);
  f.setUnderline(m_font.underline);
  return f;
}

HRESULT ControlCore::GetFontObject(IUnknown** font) {
  if (!font) return E_POINTER;
  *font = nullptr;
  const HRESULT hr = Planned("font.get");
  if (FAILED(hr)) return hr;
  if (!m_hasFont) return S_OK;
  // The core lives in a shared_ptr held by the control; the font object
  // keeps it alive on its own.
  return plat::CreateComObject<FontObject>(IUnknown::kIID, reinterpret_cast<void**>(font), shared_from_this());
}

HRESULT ControlCore::PutFontObject(IUnknown* font) {
  if (!m_hasFont) return Refuse("font", std::nullopt, E_NOTIMPL);
  if (!font) return Refuse("font", std::nullopt, E_POINTER);
  IFontPtr other;
  if (FAILED(font->QueryInterface(IFont::kIID, reinterpret_cast<void**>(&other))) || !other)
    return Refuse("font", std::nullopt, E_NOINTERFACE);
  const HRESULT hr = Attempt("font");
  if (FAILED(hr)) return hr;
  // Another control's font (or a font of the caller's) is copied in.
  const auto* own = dynamic_cast<FontObject*>(other.GetInterfacePtr());
  if (!own || own->Owner() != this) {
    _bstr_t name;
    CY size = 0;
    BOOL bold = FALSE, underline = FALSE;
    short charset = 0;
    if (SUCCEEDED(other->get_Name(&name)) && !name.is_null()) m_font.name = std::u16string(name.view());
    if (SUCCEEDED(other->get_Size(&size)) && size > 0) m_font.size = size;
    if (SUCCEEDED(other->get_Bold(&bold))) m_font.bold = bold != FALSE;
    if (SUCCEEDED(other->get_Underline(&underline))) m_font.underline = underline != FALSE;
    if (SUCCEEDED(other->get_Charset(&charset))) m_font.charset = charset;
  }
  Changed(kFontChanged);
  return S_OK;
}

HRESULT ControlCore::PutFont(const std::string& field, const std::string& valueText,
                             const std::function<void(FontState&)>& apply) {
  const HRESULT hr = Attempt("font." + field, valueText);
  if (FAILED(hr)) return hr;
  apply(m_font);
  Changed(kFontChanged);
  return S_OK;
}

void ControlCore::Advise(IControlEventSink* sink, UINT controlId) {
  m_sink = sink;
  m_controlId = controlId;
}

void ControlCore::Fire(int eventNumber, const std::vector<_variant_t>& args) {
  if (!m_sink) return;
  try {
    m_sink->OnControlEvent(m_controlId, eventNumber, args);
  } catch (const _com_error& e) {
    WriteLog(_bstr_t("Control " + std::to_string(m_controlId) + " event " + std::to_string(eventNumber) + ": " +
                     e.ErrorMessage()));
  } catch (const std::exception& e) {
    WriteLog(
        _bstr_t("Control " + std::to_string(m_controlId) + " event " + std::to_string(eventNumber) + ": " + e.what()));
  }
}

void ControlCore::FailPut(const std::string& label, HRESULT hr, int times) {
  if (times == 0) {
    m_plans.erase(label);
    return;
  }
  m_plans[label] = Plan{hr, times};
}

void ControlCore::Changed(int number) {
  if (onChanged) onChanged(number);
  if (!widget) return;
  if (number == kWidth || number == kHeight) {
    const int w = number == kWidth ? std::max(0, static_cast<int>(Int(kWidth))) : widget->width();
    const int h = number == kHeight ? std::max(0, static_cast<int>(Int(kHeight))) : widget->height();
    widget->resize(w, h);
  }
  if (number == kFontChanged) widget->setFont(QtFont());
  widget->update();
}

}  // namespace activex
