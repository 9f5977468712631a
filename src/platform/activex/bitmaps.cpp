#include "platform/activex/bitmaps.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace activex {
namespace {

BitmapProvider& Provider() {
  static BitmapProvider provider;
  return provider;
}

}  // namespace

BitmapProvider SetBitmapProvider(BitmapProvider provider) {
  BitmapProvider previous = std::move(Provider());
  Provider() = std::move(provider);
  return previous;
}

QSize PlaceholderSize(int bitmapId) {
  switch (bitmapId) {
    case 169:
      return {61, 56};
    case 131:
      return {126, 48};
    case 130:
      return {61, 14};
    default:
      return {32, 32};
  }
}

QPixmap BitmapPicture(int bitmapId) {
  if (Provider()) {
    QPixmap pixmap = Provider()(bitmapId);
    if (!pixmap.isNull()) return pixmap;
  }
  // A quiet hatched tile with the id, so a missing bitmap is visible but
  // does not shout.
  QPixmap pixmap(PlaceholderSize(bitmapId));
  pixmap.fill(QColor(226, 228, 232));
  QPainter p(&pixmap);
  p.setPen(Qt::NoPen);
  p.setBrush(QBrush(QColor(200, 204, 210), Qt::BDiagPattern));
  p.drawRect(pixmap.rect());
  p.setPen(QColor(150, 154, 160));
  p.setBrush(Qt::NoBrush);
  p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  QFont f("Arial");
  f.setPixelSize(std::clamp(pixmap.height() - 4, 6, 11));
  p.setFont(f);
  p.setPen(QColor(90, 94, 100));
  p.drawText(pixmap.rect(), Qt::AlignCenter, QString::number(bitmapId));
  return pixmap;
}

}  // namespace activex
