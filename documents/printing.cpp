#include "documents/printing.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>

#include "documents/graphics.h"

namespace rv {

bool PrintPicturePage(QPrinter& printer, const Picture& picture) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  // Positions are measured from the paper's edges, not from the printable area.
  printer.setFullPage(true);
  printer.setCopyCount(1);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const double mm_x = printer.logicalDpiX() / 25.4;
  const double mm_y = printer.logicalDpiY() / 25.4;
  painter.translate(kPrintImageLeftMm * mm_x, kPrintImageTopMm * mm_y);
  painter.scale(printer.logicalDpiX() / kPrintPixelsPerInch,
                printer.logicalDpiY() / kPrintPixelsPerInch);
  const double px_per_mm = kPrintPixelsPerInch / 25.4;
  painter.setClipRect(QRectF(0, 0, kPrintImageWidthMm * px_per_mm, kPrintImageHeightMm * px_per_mm));
  if (const TBitmap* bmp = picture.Bitmap()) {
    if (bmp->Width() > 0 && bmp->Height() > 0) {
      const QImage image(reinterpret_cast<const uchar*>(bmp->Bits()), bmp->Width(), bmp->Height(),
                         bmp->BytesPerLine(), QImage::Format_RGB32);
      painter.drawImage(QPointF(0, 0), image);
    }
  } else if (const auto* g = dynamic_cast<const DisplayableGraphic*>(picture.Foreign())) {
    g->Paint(painter, QPoint(0, 0));
  }
  return painter.end();
}

}  // namespace rv
