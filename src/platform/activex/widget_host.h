#pragma once
// How the window layer shows a control: it asks the control for its widget.
#include <QRect>
#include <QWidget>

#include "platform/activex/control.h"

struct IWidgetControl : IUnknown {
  static constexpr IID kIID = {0x7a3c0004, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04}};
  // Makes (once) and returns the control's widget as a child of parent.
  virtual QWidget* CreateWidget(QWidget* parent, const QRect& rect) = 0;
  // The widget made by CreateWidget, or null.
  virtual QWidget* Widget() = 0;
};
