// The raster canvas every pixel of a drawing goes through, with the semantics of the
// classic Windows GDI canvas the program was designed against.
//
// Shape code produces spans; the canvas clips once and fills the spans with the pen or
// brush in the current pen mode. Every drawing call returns the rectangle of pixels it may
// have changed and also adds it to a dirty rectangle that a view collects with TakeDirty().
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "types.h"

namespace rv {

enum class TPenMode { pmCopy, pmNotXor };
enum class TFillStyle { fsSurface, fsBorder };

class TPen {
 public:
  TColor Color = clBlack;
  TPenMode Mode = TPenMode::pmCopy;
  int Width() const { return width_; }
  // A negative width is ignored; 0 draws like 1.
  void SetWidth(int w) {
    if (w >= 0) width_ = w;
  }

 private:
  int width_ = 1;
};

// Always solid; setting the colour is all there is.
struct TBrush {
  TColor Color = clWhite;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
  std::string Name = "ＭＳ Ｐゴシック";
  int Height = 12;       // character height in pixels
  int Charset = 128;     // SHIFTJIS_CHARSET
  TColor Color = clBlack;
  unsigned Style = 0;    // TFontStyle bits
  friend bool operator==(const TFont&, const TFont&) = default;
};

class TBitmap;
class SpanSource;

class TCanvas {
 public:
  TPen Pen;
  TBrush Brush;
  TFont Font;

  TPoint PenPos() const { return pen_pos_; }

  void MoveTo(int X, int Y);
  // Draws with the pen to (X, Y), the end pixel excluded, and moves there.
  TRect LineTo(int X, int Y);
  // Boxes take corners in either order; right and bottom edges are exclusive.
  TRect Rectangle(int X1, int Y1, int X2, int Y2);
  TRect RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  TRect Ellipse(int X1, int Y1, int X2, int Y2);
  // Counter-clockwise from the ray through (X3, Y3) to the ray through (X4, Y4), rays from
  // the box centre; equal rays draw the whole ellipse.
  TRect Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  // Closed; alternate fill rule; outline through the vertices.
  TRect Polygon(std::span<const TPoint> points);
  // Scanline fill with the brush; whole region found before painting.
  TRect FloodFill(int X, int Y, TColor Color, TFillStyle Style);
  // clInvalid outside the bitmap.
  TColor Pixel(int X, int Y) const;
  TRect SetPixel(int X, int Y, TColor Color);
  // Canvas font, top-left at (X, Y); background of the brush colour unless it is clNone.
  TRect TextOut(int X, int Y, const std::string& utf8);

  // Union of everything changed since the last call; empties it.
  TRect TakeDirty();

 private:
  friend class TBitmap;
  explicit TCanvas(TBitmap& bmp) : bmp_(bmp) {}
  // Clips the figure's rows and runs to the bitmap and paints them in the pen mode.
  TRect Paint(SpanSource& figure);
  TRect Touch(const TRect& r);
  TBitmap& bmp_;
  TPoint pen_pos_{};
  TRect dirty_{};
};

// Storage for the pixels of large bitmaps in huge pages where the system offers them: figures
// run down many rows, and with small pages nearly every row is a new page to look up.
struct PixelAllocator {
  using value_type = std::uint32_t;
  template <class U>
  struct rebind {
    using other = PixelAllocator;  // only ever used for pixels
  };
  PixelAllocator() = default;
  template <class U>
  PixelAllocator(const U&) {}
  std::uint32_t* allocate(std::size_t n);
  void deallocate(std::uint32_t* p, std::size_t n);
  friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};

// 32-bit pixels in QImage::Format_RGB32 layout, rows top to bottom, no padding.
class TBitmap {
 public:
  // Largest side and largest pixel count a bitmap may have; beyond these the constructor
  // and SetSize throw EngineError before allocating.
  static constexpr int kMaxSide = 32768;
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

  TBitmap();  // 0 x 0
  TBitmap(int width, int height, TColor fill = clWhite);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Keeps the picture at the top-left and fills new area with the canvas's brush colour.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }

  // Copies size and pixels; the canvas settings stay this bitmap's own.
  void Assign(const TBitmap& other);
  // A copy of the pixels with a fresh canvas.
  std::unique_ptr<TBitmap> Clone() const;

  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }

  std::uint32_t* Bits() { return pixels_.data(); }
  const std::uint32_t* Bits() const { return pixels_.data(); }
  int BytesPerLine() const { return width_ * 4; }
  std::uint32_t* ScanLine(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* ScanLine(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }

 private:
  friend class TCanvas;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t, PixelAllocator> pixels_;
  TCanvas canvas_{*this};
};

}  // namespace rv
