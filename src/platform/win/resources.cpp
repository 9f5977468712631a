#include "platform/win/resources.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <map>
#include <memory>
#include <utility>

// The handles point at these.
struct HBITMAP__ {
  UINT id = 0;
  bool icon = false;
  QSize size;
  plat::ImagePainter paint;
  std::string path;
  bool drawn = false;
  QImage image;
};
struct HICON__ : HBITMAP__ {};

namespace {

struct Registry {
  std::map<UINT, std::unique_ptr<HBITMAP__>> bitmaps;
  std::map<UINT, std::unique_ptr<HICON__>> icons;
};

Registry& TheRegistry();

QColor FaceColour() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::palette().color(QPalette::Window)
                                                                   : QColor(0xEF, 0xEF, 0xEF);
}

const QImage& ImageOf(HBITMAP__* entry) {
  if (!entry->drawn) {
    entry->drawn = true;
    if (!entry->path.empty()) {
      entry->image.load(QString::fromStdString(entry->path));
    } else {
      entry->image = QImage(entry->size, QImage::Format_ARGB32_Premultiplied);
      entry->image.fill(entry->icon ? QColor(Qt::transparent) : FaceColour());
      QPainter painter(&entry->image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      if (entry->paint) entry->paint(painter, QRect(QPoint(0, 0), entry->size));
    }
  }
  return entry->image;
}

// ---- The program's own pictures.

const QColor kSteel(0x3C, 0x5A, 0x78);
const QColor kSteelDark(0x24, 0x3A, 0x52);
const QColor kSteelLight(0x8F, 0xA9, 0xC2);
const QColor kAccent(0xE0, 0x8A, 0x1E);

QFont PictureFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// A small "tarnix" word mark.
void DrawWordMark(QPainter& p, const QRect& area, int textPixels) {
  const QRectF r = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, kSteel.lighter(115));
  fill.setColorAt(1, kSteelDark);
  p.setPen(QPen(kSteelDark, 1));
  p.setBrush(fill);
  p.drawRoundedRect(r, 2.5, 2.5);
  p.setPen(Qt::white);
  p.setFont(PictureFont(textPixels, true));
  p.drawText(area.adjusted(2, 0, -2, 0), Qt::AlignCenter, QStringLiteral("TARNIX"));
  p.setPen(QPen(kAccent, 1.5));
  p.drawLine(QPointF(r.left() + 3, r.bottom() - 1.5), QPointF(r.right() - 3, r.bottom() - 1.5));
}

// Bitmap 130: the strip's word mark, 61 x 14.
void DrawSmallLogo(QPainter& p, const QRect& area) { DrawWordMark(p, area, 10); }

// Bitmap 131: the product banner, 126 x 48: a valve symbol and the name.
void DrawBanner(QPainter& p, const QRect& area) {
  const QRectF r = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, QColor(0xF8, 0xFA, 0xFC));
  fill.setColorAt(1, QColor(0xDD, 0xE4, 0xEB));
  p.setPen(QPen(kSteelLight, 1));
  p.setBrush(fill);
  p.drawRoundedRect(r, 4, 4);
  // Valve symbol: two triangles meeting, a stem and an actuator dome.
  const QPointF c(24, 31);
  QPainterPath body;
  body.moveTo(c.x() - 13, c.y() - 8);
  body.lineTo(c.x() - 13, c.y() + 8);
  body.lineTo(c.x() + 13, c.y() - 8);
  body.lineTo(c.x() + 13, c.y() + 8);
  body.closeSubpath();
  p.setPen(QPen(kSteelDark, 1.4));
  p.setBrush(kSteel);
  p.drawPath(body);
  p.drawLine(QPointF(c.x(), c.y()), QPointF(c.x(), c.y() - 16));
  QPainterPath dome;
  dome.moveTo(c.x() - 11, c.y() - 16);
  dome.arcTo(QRectF(c.x() - 11, c.y() - 27, 22, 22), 180, -180);
  dome.closeSubpath();
  p.setBrush(kAccent);
  p.drawPath(dome);
  p.setPen(kSteelDark);
  p.setFont(PictureFont(17, true));
  p.drawText(QRectF(44, 5, 80, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarnix"));
  p.setPen(kSteel);
  p.setFont(PictureFont(9, false));
  p.drawText(QRectF(45, 27, 80, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("valve positioner"));
}

// Bitmap 169: the positioner on its valve, 61 x 56.
void DrawPositioner(QPainter& p, const QRect&) {
  p.setPen(QPen(kSteelDark, 1));
  // Pipe.
  p.setBrush(QColor(0xB8, 0xC2, 0xCC));
  p.drawRect(QRectF(2.5, 42.5, 56, 8));
  // Valve body.
  QPainterPath body;
  body.moveTo(18.5, 38.5);
  body.lineTo(18.5, 54.5);
  body.lineTo(42.5, 38.5);
  body.lineTo(42.5, 54.5);
  body.closeSubpath();
  p.setBrush(kSteel);
  p.drawPath(body);
  // Yoke and stem.
  p.drawLine(QPointF(30.5, 46.5), QPointF(30.5, 22.5));
  p.drawLine(QPointF(24.5, 38.5), QPointF(24.5, 22.5));
  p.drawLine(QPointF(36.5, 38.5), QPointF(36.5, 22.5));
  // Actuator.
  QPainterPath dome;
  dome.moveTo(15.5, 22.5);
  dome.cubicTo(15.5, 6.5, 45.5, 6.5, 45.5, 22.5);
  dome.closeSubpath();
  p.setBrush(QColor(0x5E, 0x7C, 0x9A));
  p.drawPath(dome);
  // Positioner housing with its display.
  p.setBrush(kAccent);
  p.drawRoundedRect(QRectF(44.5, 16.5, 14, 17), 2, 2);
  p.setBrush(QColor(0x1C, 0x2A, 0x38));
  p.drawRect(QRectF(47.5, 19.5, 8, 5));
  p.setPen(QPen(QColor(0x6E, 0xE0, 0x8C), 1));
  p.drawLine(QPointF(48.5, 22), QPointF(54.5, 22));
  p.setPen(QPen(kSteelDark, 1));
  p.drawLine(QPointF(44.5, 28.5), QPointF(36.5, 28.5));
}

// Bitmaps 132 and 134, 16 x 16: a plug in its socket (connected, green) or
// pulled out of it (disconnected, red).
void DrawLink(QPainter& p, const QRect&, bool connected) {
  const QColor colour = connected ? QColor(0x2E, 0x9E, 0x44) : QColor(0xC6, 0x28, 0x28);
  const QColor edge = colour.darker(140);
  const double pull = connected ? 0 : 2.5;
  p.setPen(QPen(edge, 1));
  p.setBrush(colour);
  // Cable and plug body on the left, with two prongs.
  p.drawRect(QRectF(0.5, 7, 2, 2));
  p.drawRoundedRect(QRectF(2.5 - pull, 3.5, 4, 9), 1.2, 1.2);
  p.setBrush(edge);
  p.drawRect(QRectF(6.5 - pull, 5.5, 2.5, 1.2));
  p.drawRect(QRectF(6.5 - pull, 9.3, 2.5, 1.2));
  // Socket and cable on the right.
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(9 + pull, 3.5, 4.5, 9), 1.2, 1.2);
  p.drawRect(QRectF(13.5 + pull, 7, 2.5 - pull, 2));
  if (!connected) {
    p.setPen(QPen(edge, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 0.8), QPointF(8, 2.6));
    p.drawLine(QPointF(8, 13.4), QPointF(8, 15.2));
  }
}

// Bitmap 135: the help button's picture, a question mark in a disc.
void DrawHelp(QPainter& p, const QRect& area) {
  const QRectF disc(area.width() / 2.0 - 8.5, area.height() / 2.0 - 8.5, 17, 17);
  QLinearGradient fill(disc.topLeft(), disc.bottomLeft());
  fill.setColorAt(0, QColor(0x4F, 0x8F, 0xD6));
  fill.setColorAt(1, QColor(0x1F, 0x5C, 0xA8));
  p.setPen(QPen(QColor(0x17, 0x47, 0x84), 1));
  p.setBrush(fill);
  p.drawEllipse(disc);
  p.setPen(Qt::white);
  p.setFont(PictureFont(13, true));
  p.drawText(disc, Qt::AlignCenter, QStringLiteral("?"));
}

// Bitmap 167: a waste bin for the reset buttons, 25 x 27.
void DrawWasteBin(QPainter& p, const QRect&) {
  p.setPen(QPen(QColor(0x45, 0x4F, 0x5A), 1));
  p.setBrush(QColor(0xA8, 0xB4, 0xC0));
  QPainterPath bin;
  bin.moveTo(6.5, 8.5);
  bin.lineTo(18.5, 8.5);
  bin.lineTo(17.0, 24.5);
  bin.lineTo(8.0, 24.5);
  bin.closeSubpath();
  p.drawPath(bin);
  p.drawLine(QPointF(10.5, 11.5), QPointF(10.8, 22));
  p.drawLine(QPointF(12.5, 11.5), QPointF(12.5, 22));
  p.drawLine(QPointF(14.5, 11.5), QPointF(14.2, 22));
  p.drawRoundedRect(QRectF(4.5, 5.5, 16, 3), 1, 1);
  p.drawRect(QRectF(10.5, 3.5, 4, 2));
}

// Bitmap 143, 135 x 33: the equal-percentage formula beside the
// rangeability spin edit, n = 100 [R^(i/100 - 1) - 1/R]. The condensed face
// lets the exponent be large enough to keep the dot of its i, and it sits
// wholly above the R, clear of the picture's top.
void DrawFormula(QPainter& p, const QRect& area) {
  p.fillRect(area, Qt::white);
  p.setPen(Qt::black);
  QFont font("DejaVu Serif Condensed");
  font.setPixelSize(12);
  font.setItalic(true);
  QFont exponent = font;
  exponent.setPixelSize(9);
  const QString head = "n = 100 [R", power = "i/100\u22121", tail = "\u2212 1/R]";
  constexpr qreal kBaseline = 25, kExponentBaseline = 13;
  qreal x = 2;
  p.setFont(font);
  p.drawText(QPointF(x, kBaseline), head);
  x += QFontMetricsF(font).horizontalAdvance(head) + 1;
  p.setFont(exponent);
  p.drawText(QPointF(x, kExponentBaseline), power);
  x += QFontMetricsF(exponent).horizontalAdvance(power) + 1;
  p.setFont(font);
  p.drawText(QPointF(x, kBaseline), tail);
}

// Bitmap 144, 32 x 32: a rising red curve between two axes.
void DrawCurveIcon(QPainter& p, const QRect&) {
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
  p.drawLine(QPointF(5, 4), QPointF(5, 27));
  p.drawLine(QPointF(5, 27), QPointF(28, 27));
  QPainterPath curve;
  curve.moveTo(6, 26);
  curve.cubicTo(QPointF(18, 25), QPointF(24, 18), QPointF(27, 5));
  p.setPen(QPen(QColor(0xE0, 0x10, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
}

// Bitmap 146, 32 x 32: two green arrows chasing each other round.
void DrawCirclingArrows(QPainter& p, const QRect&) {
  const QColor green(0x10, 0xA0, 0x30);
  p.setPen(QPen(green, 3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const QRectF ring(6, 6, 20, 20);
  p.drawArc(ring, 20 * 16, 140 * 16);
  p.drawArc(ring, 200 * 16, 140 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(green);
  p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(11, 12), QPointF(6, 19)}));
  p.drawPolygon(QPolygonF({QPointF(29, 20), QPointF(21, 20), QPointF(26, 13)}));
}

// Bitmaps 154 to 157, 12 x 12: the limit markers' signs on the health
// gauge pages, triangles pointing up in the markers' colours (yellow,
// orange, red, dark yellow).
void DrawMarkerSign(QPainter& p, const QColor& colour) {
  QPainterPath sign;
  sign.moveTo(6, 1.5);
  sign.lineTo(11, 10.5);
  sign.lineTo(1, 10.5);
  sign.closeSubpath();
  p.setPen(QPen(colour.darker(200), 1));
  p.setBrush(colour);
  p.drawPath(sign);
}

// The alert illustrations of the health pages: a white chart with a
// grey frame, shaded alert areas, dashed limit lines and a dark-blue
// trace. The pages line their labels up with these proportions.
const QColor kChartShade(0xF6, 0xC8, 0xB8);
const QColor kChartBand(0xCC, 0xEB, 0xCC);
const QColor kChartTrace(0x1F, 0x3F, 0x9F);

void DrawChartFrame(QPainter& p, const QRectF& chart) {
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(chart);
}

void DrawDashedLine(QPainter& p, QPointF from, QPointF to) {
  p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1, Qt::DashLine));
  p.drawLine(from, to);
}

// A smooth trace through points given in fractions of the chart.
void DrawTrace(QPainter& p, const QRectF& chart, std::initializer_list<QPointF> points) {
  auto at = [&chart](QPointF f) { return QPointF(chart.left() + f.x() * chart.width(), chart.top() + f.y() * chart.height()); };
  QPainterPath trace;
  const QPointF* previous = nullptr;
  for (const QPointF& point : points) {
    if (!previous) {
      trace.moveTo(at(point));
    } else {
      const double midX = (previous->x() + point.x()) / 2;
      trace.cubicTo(at({midX, previous->y()}), at({midX, point.y()}), at(point));
    }
    previous = &point;
  }
  p.setPen(QPen(kChartTrace, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(trace);
}

// Bitmap 159, 64 x 14: a horizontal brace over one deviation time frame
// (a quarter of bitmap 160's width), opening upward.
void DrawTimeFrameBrace(QPainter& p, const QRect& area) {
  const double left = 1, right = area.width() - 1, mid = area.width() / 2.0, top = 2, bottom = area.height() - 2;
  const double half = (top + bottom) / 2;
  QPainterPath brace;
  brace.moveTo(left, top);
  brace.quadTo(left, half, left + 6, half);
  brace.lineTo(mid - 5, half);
  brace.quadTo(mid, half, mid, bottom);
  brace.quadTo(mid, half, mid + 5, half);
  brace.lineTo(right - 6, half);
  brace.quadTo(right, half, right, top);
  p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawPath(brace);
}

// Bitmap 160, 258 x 110: a deviation trace against the tolerable error band
// (the middle 60 % of the height) over four time frames. It leaves the
// band for a moment in the second frame and for the whole fourth.
void DrawDeviationExample(QPainter& p, const QRect& area) {
  const QRectF chart(0.5, 0.5, area.width() - 1, area.height() - 1);
  p.fillRect(chart, Qt::white);
  const double bandTop = chart.top() + 0.2 * chart.height(), bandBottom = chart.top() + 0.8 * chart.height();
  p.fillRect(QRectF(chart.left(), bandTop, chart.width(), bandBottom - bandTop), kChartBand);
  DrawDashedLine(p, {chart.left(), bandTop}, {chart.right(), bandTop});
  DrawDashedLine(p, {chart.left(), bandBottom}, {chart.right(), bandBottom});
  for (int frame = 1; frame < 4; ++frame) {
    const double x = chart.left() + frame * chart.width() / 4;
    DrawDashedLine(p, {x, chart.top()}, {x, chart.bottom()});
  }
  p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1));
  p.drawLine(QPointF(chart.left(), chart.center().y()), QPointF(chart.right(), chart.center().y()));
  DrawTrace(p, chart,
            {{0, 0.55}, {0.08, 0.35}, {0.17, 0.6}, {0.25, 0.45}, {0.33, 0.12}, {0.4, 0.5}, {0.5, 0.7},
             {0.6, 0.4}, {0.7, 0.6}, {0.76, 0.1}, {0.85, 0.06}, {0.93, 0.12}, {1, 0.08}});
  DrawChartFrame(p, chart);
}

// Bitmap 163, 170 x 226: a position trace against the high and low alert
// set points (a quarter of the height from the top and from the bottom),
// with the alert zones beyond them shaded.
void DrawPositionExample(QPainter& p, const QRect& area) {
  const QRectF chart(0.5, 0.5, area.width() - 1, area.height() - 1);
  p.fillRect(chart, Qt::white);
  const double high = chart.top() + 0.25 * chart.height(), low = chart.top() + 0.75 * chart.height();
  p.fillRect(QRectF(chart.left(), chart.top(), chart.width(), high - chart.top()), kChartShade);
  p.fillRect(QRectF(chart.left(), low, chart.width(), chart.bottom() - low), kChartShade);
  DrawDashedLine(p, {chart.left(), high}, {chart.right(), high});
  DrawDashedLine(p, {chart.left(), low}, {chart.right(), low});
  DrawTrace(p, chart,
            {{0, 0.5}, {0.15, 0.4}, {0.3, 0.12}, {0.42, 0.45}, {0.55, 0.6}, {0.7, 0.88}, {0.82, 0.55},
             {1, 0.45}});
  DrawChartFrame(p, chart);
}

// Icons 152 (invalid input: a red cross) and 153 (valid: a green tick), 16 x 16.
void DrawCross(QPainter& p, const QRect&) {
  p.setPen(QPen(QColor(0xA8, 0x1E, 0x1E), 1));
  p.setBrush(QColor(0xD9, 0x34, 0x34));
  p.drawEllipse(QRectF(1, 1, 14, 14));
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5.2, 5.2), QPointF(10.8, 10.8));
  p.drawLine(QPointF(10.8, 5.2), QPointF(5.2, 10.8));
}

void DrawTick(QPainter& p, const QRect&) {
  p.setPen(QPen(QColor(0x1E, 0x7A, 0x34), 1));
  p.setBrush(QColor(0x34, 0xA8, 0x4C));
  p.drawEllipse(QRectF(1, 1, 14, 14));
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath tick;
  tick.moveTo(4.5, 8.3);
  tick.lineTo(7.0, 10.8);
  tick.lineTo(11.5, 5.3);
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

Registry& TheRegistry() {
  static Registry registry;
  static const bool builtIn = [] {
    auto bitmap = [](UINT id, QSize size, plat::ImagePainter paint) {
      auto entry = std::make_unique<HBITMAP__>();
      entry->id = id;
      entry->size = size;
      entry->paint = std::move(paint);
      registry.bitmaps[id] = std::move(entry);
    };
    auto icon = [](UINT id, QSize size, plat::ImagePainter paint) {
      auto entry = std::make_unique<HICON__>();
      entry->id = id;
      entry->icon = true;
      entry->size = size;
      entry->paint = std::move(paint);
      registry.icons[id] = std::move(entry);
    };
    bitmap(130, {61, 14}, DrawSmallLogo);
    bitmap(131, {126, 48}, DrawBanner);
    bitmap(169, {61, 56}, DrawPositioner);
    bitmap(132, {16, 16}, [](QPainter& p, const QRect& r) { DrawLink(p, r, true); });
    bitmap(134, {16, 16}, [](QPainter& p, const QRect& r) { DrawLink(p, r, false); });
    bitmap(135, {26, 22}, DrawHelp);
    bitmap(167, {25, 27}, DrawWasteBin);
    bitmap(143, {135, 33}, DrawFormula);
    bitmap(144, {32, 32}, DrawCurveIcon);
    bitmap(146, {32, 32}, DrawCirclingArrows);
    bitmap(159, {64, 14}, DrawTimeFrameBrace);
    bitmap(160, {258, 110}, DrawDeviationExample);
    bitmap(163, {170, 226}, DrawPositionExample);
    const std::pair<UINT, QColor> signs[] = {
        {154, QColor(0xFF, 0xFF, 0x00)}, {155, QColor(0xFF, 0x96, 0x50)},
        {156, QColor(0xFF, 0x0A, 0x0A)}, {157, QColor(0xCC, 0x99, 0x33)}};
    for (const auto& [id, colour] : signs)
      bitmap(id, {12, 12}, [colour = colour](QPainter& p, const QRect&) { DrawMarkerSign(p, colour); });
    icon(152, {16, 16}, DrawCross);
    icon(153, {16, 16}, DrawTick);
    return true;
  }();
  (void)builtIn;
  return registry;
}

}  // namespace

namespace plat {

void RegisterBitmap(UINT id, QSize size, ImagePainter paint) {
  auto& slot = TheRegistry().bitmaps[id];
  if (!slot) slot = std::make_unique<HBITMAP__>();
  *slot = HBITMAP__{};
  slot->id = id;
  slot->size = size;
  slot->paint = std::move(paint);
}

void RegisterIcon(UINT id, QSize size, ImagePainter paint) {
  auto& slot = TheRegistry().icons[id];
  if (!slot) slot = std::make_unique<HICON__>();
  static_cast<HBITMAP__&>(*slot) = HBITMAP__{};
  slot->id = id;
  slot->icon = true;
  slot->size = size;
  slot->paint = std::move(paint);
}

void RegisterBitmapFile(UINT id, const std::string& path) {
  auto& slot = TheRegistry().bitmaps[id];
  if (!slot) slot = std::make_unique<HBITMAP__>();
  *slot = HBITMAP__{};
  slot->id = id;
  slot->path = path;
}

HBITMAP FindBitmap(UINT id) {
  const auto& bitmaps = TheRegistry().bitmaps;
  const auto it = bitmaps.find(id);
  return it == bitmaps.end() ? nullptr : it->second.get();
}

HICON FindIcon(UINT id) {
  const auto& icons = TheRegistry().icons;
  const auto it = icons.find(id);
  return it == icons.end() ? nullptr : it->second.get();
}

QPixmap PixmapOf(HBITMAP bitmap) { return bitmap ? QPixmap::fromImage(ImageOf(bitmap)) : QPixmap(); }
QPixmap PixmapOf(HICON icon) { return icon ? QPixmap::fromImage(ImageOf(icon)) : QPixmap(); }
QPixmap BitmapPixmap(UINT id) { return PixmapOf(FindBitmap(id)); }
QPixmap IconPixmap(UINT id) { return PixmapOf(FindIcon(id)); }
UINT ResourceIdOf(HBITMAP bitmap) { return bitmap ? bitmap->id : 0; }
UINT ResourceIdOf(HICON icon) { return icon ? icon->id : 0; }

}  // namespace plat

HINSTANCE AfxGetInstanceHandle() {
  static int module = 0;
  return &module;
}
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }
HBITMAP LoadBitmap(HINSTANCE, UINT id) { return plat::FindBitmap(id); }
HICON LoadIcon(HINSTANCE, UINT id) { return plat::FindIcon(id); }

BOOL CBitmap::LoadBitmap(UINT id) {
  m_bitmap = plat::FindBitmap(id);
  return m_bitmap ? TRUE : FALSE;
}

BOOL CBitmap::DeleteObject() {
  const BOOL had = m_bitmap ? TRUE : FALSE;
  m_bitmap = nullptr;
  return had;
}

CSize CBitmap::GetSize() const {
  if (!m_bitmap) return CSize();
  const QImage& image = ImageOf(m_bitmap);
  return CSize(image.width(), image.height());
}

int CBitmap::GetBitmap(BITMAP* info) const {
  if (!m_bitmap || !info) return 0;
  const CSize size = GetSize();
  *info = BITMAP{};
  info->bmWidth = size.cx;
  info->bmHeight = size.cy;
  info->bmWidthBytes = ((size.cx * 3 + 3) / 4) * 4;
  return static_cast<int>(sizeof(BITMAP));
}
