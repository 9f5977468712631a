#include "common/control_puts.h"

namespace common {

Puts::Puts(IUnknown* control) {
  if (control) control->QueryInterface(IControl::kIID, reinterpret_cast<void**>(&m_control));
}

Puts& Puts::Put(int setting, const _variant_t& value) {
  const HRESULT hr = m_control->PutSetting(setting, value);
  if (FAILED(hr)) _com_issue_error(hr);
  return *this;
}

Puts& Puts::Ignored(int setting, const _variant_t& value) {
  m_control->PutSetting(setting, value);
  return *this;
}

void ChangeFont(IControl* control, const FontChange& change) {
  IUnknownPtr object;
  const HRESULT hr = control->get_Font(&object);
  if (FAILED(hr)) _com_issue_error(hr);
  if (!object) return;
  IFontPtr font;
  object->QueryInterface(IFont::kIID, reinterpret_cast<void**>(&font));
  if (font) {
    if (change.size) font->put_Size(change.size);
    if (change.boldBeforeName && change.bold >= 0) font->put_Bold(change.bold);
    if (change.name) font->put_Name(change.name);
    if (!change.boldBeforeName && change.bold >= 0) font->put_Bold(change.bold);
    if (change.underline >= 0) font->put_Underline(change.underline);
    if (change.charset >= 0) font->put_Charset(static_cast<short>(change.charset));
  }
  if (change.giveBack) control->putref_Font(object);
}

}  // namespace common
