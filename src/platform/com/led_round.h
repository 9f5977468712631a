#pragma once
// The round LED control's interface, as the status area colours it. The
// control itself comes with the window layer; this header has no Qt in it.
#include "platform/com/com_ptr.h"

struct IiLedRoundX : IUnknown {
  static constexpr IID kIID = {0x7a3c0003, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
  virtual HRESULT get_LedColor(COLORREF* color) = 0;
  virtual HRESULT put_LedColor(COLORREF color) = 0;
};

using IiLedRoundXPtr = _com_ptr_t<IiLedRoundX>;
