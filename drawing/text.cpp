#include "text.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <mutex>

namespace rv {

namespace {

// Beyond this, glyphs would cost more than any bitmap can show.
constexpr int kMaxPixelSize = 2048;

QFont MakeFont(const TFont& f) {
  static std::once_flag once;
  std::call_once(once, [] {
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QString::fromLatin1(kFallbackFontFamily));
    QFont::insertSubstitution(QStringLiteral("MS PGothic"), QString::fromLatin1(kFallbackFontFamily));
  });
  QFont q;
  q.setFamilies({QString::fromStdString(f.Name), QString::fromLatin1(kFallbackFontFamily)});
  int px = f.Height < 0 ? (f.Height == INT32_MIN ? kMaxPixelSize : -f.Height) : f.Height;
  if (px == 0) px = 12;
  q.setPixelSize(std::clamp(px, 1, kMaxPixelSize));
  q.setBold((f.Style & fsBold) != 0);
  q.setItalic((f.Style & fsItalic) != 0);
  q.setUnderline((f.Style & fsUnderline) != 0);
  q.setStrikeOut((f.Style & fsStrikeOut) != 0);
  q.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
  q.setKerning(false);
  return q;
}

}  // namespace

TextCell RenderText(const TFont& font, const std::string& utf8, int x, int y, int bmp_w,
                    int bmp_h) {
  TextCell cell;
  const QFont q = MakeFont(font);
  const QFontMetrics fm(q);
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  cell.advance = std::max(0, fm.horizontalAdvance(text));
  cell.height = std::max(0, fm.height());
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + cell.advance, bmp_w);
  const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + cell.height, bmp_h);
  if (left >= right || top >= bottom) return cell;
  cell.visible = TRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                       static_cast<int>(bottom)};
  if (text.isEmpty()) return cell;

  const int w = cell.visible.Width();
  const int h = cell.visible.Height();
  // One byte per pixel: the cell of a large font on a wide bitmap is big enough as it is.
  QImage img(w, h, QImage::Format_Grayscale8);
  if (img.isNull()) return cell;  // no memory for the glyphs: the background alone
  img.fill(0u);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(QColor(255, 255, 255));
    p.setFont(q);
    p.drawText(QPointF(static_cast<double>(std::int64_t{x} - left),
                       static_cast<double>(std::int64_t{y} - top) + fm.ascent()),
               text);
  }
  for (int row = 0; row < h; ++row) {
    const uchar* line = img.constScanLine(row);
    int c = 0;
    while (c < w) {
      while (c < w && line[c] < 128) ++c;
      const int a = c;
      while (c < w && line[c] >= 128) ++c;
      if (a < c) cell.ink.push_back({row + cell.visible.Top, a + cell.visible.Left,
                                     c + cell.visible.Left});
    }
  }
  return cell;
}

}  // namespace rv
