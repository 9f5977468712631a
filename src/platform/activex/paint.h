#pragma once
// Drawing shared by the controls: colours as the pages give them, bevels,
// LED lamps and scale texts.
#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QRectF>
#include <QString>

#include "platform/sys/wintypes.h"

namespace activex {

// A COLORREF (0x00BBGGRR) or an OLE system colour (0x80000000 | index),
// the latter through the palette.
QColor ToColor(COLORREF color, const QPalette& palette);

// A panel with a light upper-left and a dark lower-right edge (raised), or
// the other way round (sunken).
void DrawBevel(QPainter& p, const QRectF& r, bool sunken, int width = 1);

// A round lamp: bezel, then the lens in the lamp's colour with a highlight;
// an unlit lamp is dimmed.
void DrawLamp(QPainter& p, const QRectF& r, const QColor& color, bool lit);

// Scale texts: short, without exponents (4294967295 reads "4.29G").
QString ScaleText(double value);

}  // namespace activex
