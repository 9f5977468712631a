#pragma once
// Puts on a control's numbered settings, checked or with the result
// dropped, and the font steps shared by creators and set-ups.
#include "platform/activex/controls.h"

namespace common {

class Puts {
 public:
  // The control's settings interface; none (an empty holder) makes every
  // put raise E_POINTER.
  explicit Puts(IUnknown* control);
  // A failing put raises _com_error with its HRESULT.
  Puts& Put(int setting, const _variant_t& value);
  Puts& Color(int setting, COLORREF color) { return Put(setting, _variant_t(static_cast<LONG>(color))); }
  // The result is not examined.
  Puts& Ignored(int setting, const _variant_t& value);
  IControl* Control() const { return m_control.operator->(); }

 private:
  IControlPtr m_control;
};

struct FontChange {
  CY size = 0;              // 0: not put
  const char* name = nullptr;
  int bold = -1;            // -1: not put
  int underline = -1;
  bool boldBeforeName = false;
  bool giveBack = true;
  int charset = -1;
};

// Reads the control's font object (a failure raises), puts on its IFont in
// the order size, name, bold/underline (bold first for the edit display),
// results dropped, and gives it back. A control without a font object is
// left as it is.
void ChangeFont(IControl* control, const FontChange& change);

}  // namespace common
