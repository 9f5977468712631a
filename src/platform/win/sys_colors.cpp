#include "platform/win/sys_colors.h"

#include <QApplication>
#include <QPalette>

namespace {

COLORREF Rgb(const QColor& c) {
  return static_cast<COLORREF>(c.red()) | (static_cast<COLORREF>(c.green()) << 8) |
         (static_cast<COLORREF>(c.blue()) << 16);
}

}  // namespace

COLORREF GetSysColor(int index) {
  const bool haveApp = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  const QPalette palette = haveApp ? QApplication::palette() : QPalette(QColor(0xEF, 0xEF, 0xEF));
  switch (index) {
    case COLOR_WINDOW:
    case COLOR_INFOBK:
      return Rgb(index == COLOR_INFOBK ? palette.color(QPalette::ToolTipBase) : palette.color(QPalette::Base));
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
    case COLOR_CAPTIONTEXT:
      return Rgb(palette.color(QPalette::WindowText));
    case COLOR_BTNTEXT:
      return Rgb(palette.color(QPalette::ButtonText));
    case COLOR_INFOTEXT:
      return Rgb(palette.color(QPalette::ToolTipText));
    case COLOR_HIGHLIGHT:
    case COLOR_ACTIVECAPTION:
      return Rgb(palette.color(QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT:
      return Rgb(palette.color(QPalette::HighlightedText));
    case COLOR_GRAYTEXT:
    case COLOR_INACTIVECAPTIONTEXT:
      return Rgb(palette.color(QPalette::Disabled, QPalette::Text));
    case COLOR_BTNSHADOW:
      return Rgb(palette.color(QPalette::Mid));
    case COLOR_3DDKSHADOW:
    case COLOR_WINDOWFRAME:
      return Rgb(palette.color(QPalette::Shadow));
    case COLOR_BTNHIGHLIGHT:
      return Rgb(palette.color(QPalette::Light));
    case COLOR_3DLIGHT:
      return Rgb(palette.color(QPalette::Midlight));
    case COLOR_APPWORKSPACE:
    case COLOR_BACKGROUND:
      return Rgb(palette.color(QPalette::Dark));
    case COLOR_BTNFACE:
    case COLOR_MENU:
    case COLOR_SCROLLBAR:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
    case COLOR_INACTIVECAPTION:
    default:
      return Rgb(palette.color(QPalette::Button));
  }
}

HRESULT OleTranslateColor(OLE_COLOR color, void*, COLORREF* result) {
  if (!result) return E_POINTER;
  *result =
      (color & 0x80000000u) ? GetSysColor(static_cast<int>(color & 0xFFu)) : static_cast<COLORREF>(color & 0xFFFFFFu);
  return S_OK;
}
