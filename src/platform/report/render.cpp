#include "platform/report/render.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <cmath>

namespace report {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;
constexpr double kPadding = 40;      // text keeps off a border
constexpr double kBorderWidth = 15;  // three quarters of a point

QColor Rgb(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QFont FontOf(const Field& f) {
  QFont font(QString::fromStdString(f.font.name));
  // Pixel size in twips: the painter's scale turns it into the device's.
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(f.font.size * kTwipsPerPoint))));
  font.setBold(f.font.bold);
  font.setItalic(f.font.italic);
  return font;
}

QRectF TextBox(const Field& f) { return QRectF(f.left, f.top, f.width, f.height).adjusted(kPadding, 0, -kPadding, 0); }

int TextFlags(const Field& f) {
  const int flags = Qt::AlignVCenter | (f.wrap ? Qt::TextWordWrap : 0);
  return flags |
         (f.align == Align::Center ? Qt::AlignHCenter : f.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft);
}

void PaintField(QPainter& painter, const Field& f) {
  const QRectF box(f.left, f.top, f.width, f.height);
  if (f.background) painter.fillRect(box, Rgb(*f.background));
  if (f.type == FieldType::Picture) {
    QImage image;
    if (f.picture) image.loadFromData(f.picture->data(), static_cast<int>(f.picture->size()));
    if (!image.isNull() && !box.isEmpty()) {
      QSizeF size = image.size();
      size.scale(box.size(), Qt::KeepAspectRatio);
      const QRectF target(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2, size.width(),
                          size.height());
      painter.drawImage(target, image);
    }
  } else if (!f.text.empty()) {
    painter.setFont(FontOf(f));
    painter.setPen(Rgb(f.color));
    painter.drawText(TextBox(f), TextFlags(f), QString::fromStdString(f.text));
  }
  if (f.border != Border::None) {
    painter.setPen(QPen(Rgb(f.color), kBorderWidth));
    painter.setBrush(Qt::NoBrush);
    if (f.border == Border::Box)
      painter.drawRect(box);
    else
      painter.drawLine(box.bottomLeft(), box.bottomRight());
  }
}

}  // namespace

bool TextFits(const Field& f) {
  if (f.type == FieldType::Picture || f.text.empty()) return true;
  const QRectF box = TextBox(f);
  const QRectF needed = QFontMetricsF(FontOf(f)).boundingRect(box, TextFlags(f), QString::fromStdString(f.text));
  // Half a twip for rounding.
  return needed.width() <= box.width() + 0.5 && needed.height() <= box.height() + 0.5;
}

bool Paint(const Document& doc, QPagedPaintDevice& device) {
  const bool landscape = doc.pageWidth > doc.pageHeight;
  const QSizeF inches(std::min(doc.pageWidth, doc.pageHeight) / kTwipsPerInch,
                      std::max(doc.pageWidth, doc.pageHeight) / kTwipsPerInch);
  device.setPageLayout(QPageLayout(QPageSize(inches, QPageSize::Inch),
                                   landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const double sx = device.logicalDpiX() / kTwipsPerInch;
  const double sy = device.logicalDpiY() / kTwipsPerInch;
  for (std::size_t n = 0; n < doc.pages.size(); ++n) {
    if (n > 0 && !device.newPage()) return false;
    painter.save();
    painter.scale(sx, sy);
    for (const Placed& p : doc.pages[n].items) PaintField(painter, p.field);
    painter.restore();
  }
  return painter.end();
}

RenderError WritePdf(const Document& doc, const std::string& path, const std::function<bool()>& mayCommit) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return RenderError::CannotWrite;
  bool painted = false;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Tarnix"));
    painted = Paint(doc, writer);
  }
  if (!painted) {
    file.cancelWriting();
    return RenderError::PaintFailed;
  }
  if (mayCommit && !mayCommit()) {
    file.cancelWriting();
    return RenderError::Withheld;
  }
  return file.commit() ? RenderError::None : RenderError::CannotWrite;
}

bool HasPrinter() {
  return !QPrinterInfo::defaultPrinterName().isEmpty() || !QPrinterInfo::availablePrinterNames().isEmpty();
}

RenderError Print(const Document& doc, const std::string& jobName) {
  if (!HasPrinter()) return RenderError::NoPrinter;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(jobName));
  printer.setFullPage(true);
  return Paint(doc, printer) ? RenderError::None : RenderError::PaintFailed;
}

}  // namespace report
