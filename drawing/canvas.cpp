#include "canvas.h"

#include <algorithm>
#include <cstdint>

#include "floodfill.h"
#include "run_fill.h"
#include "spans.h"
#include "text.h"

namespace rv {

namespace {

using i64 = std::int64_t;

constexpr std::uint32_t kRgb = 0x00FFFFFFu;
constexpr std::uint32_t kAlpha = 0xFF000000u;

void FillCopy(std::uint32_t* p, int n, std::uint32_t v) { FillRunCopy(p, n, v, true); }
void FillNotXor(std::uint32_t* p, int n, std::uint32_t flip) { FillRunNotXor(p, n, flip); }

// Fills runs of pixels with one colour in one pen mode.
struct RunFiller {
  std::uint32_t pixel;
  std::uint32_t flip;
  bool not_xor;
  bool noop;  // NOT-XOR with white leaves every pixel as it is

  RunFiller(TColor c, TPenMode mode)
      : pixel(ColorToPixel(c)),
        flip(~ColorToPixel(c) & kRgb),
        not_xor(mode == TPenMode::pmNotXor),
        noop(not_xor && flip == 0) {}

  void operator()(std::uint32_t* p, int n) const {
    if (!not_xor) {
      FillCopy(p, n, pixel);
    } else {
      FillNotXor(p, n, flip);
    }
  }
};

// Clips runs to [0, w), sorts them and joins overlapping or touching ones.
void Normalise(SpanList& s, i64 w) {
  if (s.size() == 1) {
    Span& r = s[0];
    r.x0 = std::max<i64>(r.x0, 0);
    r.x1 = std::min<i64>(r.x1, w);
    if (r.x0 >= r.x1) s.clear();
    return;
  }
  std::size_t k = 0;
  for (const Span& r : s) {
    const i64 a = std::max<i64>(r.x0, 0);
    const i64 b = std::min<i64>(r.x1, w);
    if (a < b) s[k++] = {a, b};
  }
  s.resize(k);
  if (k < 2) return;
  std::sort(s.begin(), s.end(), [](const Span& a, const Span& b) { return a.x0 < b.x0; });
  std::size_t out = 0;
  for (std::size_t i = 1; i < k; ++i) {
    if (s[i].x0 <= s[out].x1) {
      s[out].x1 = std::max(s[out].x1, s[i].x1);
    } else {
      s[++out] = s[i];
    }
  }
  s.resize(out + 1);
}

// The parts of the runs of `a` (normalised) that no run of `cut` (normalised) covers.
void Subtract(const SpanList& a, const SpanList& cut, SpanList& out) {
  out.clear();
  std::size_t j = 0;
  for (Span r : a) {
    while (j < cut.size() && cut[j].x1 <= r.x0) ++j;
    std::size_t k = j;
    while (r.x0 < r.x1 && k < cut.size() && cut[k].x0 < r.x1) {
      if (cut[k].x0 > r.x0) out.push_back({r.x0, cut[k].x0});
      r.x0 = std::max(r.x0, cut[k].x1);
      ++k;
    }
    if (r.x0 < r.x1) out.push_back(r);
  }
}

struct Box {
  i64 l, t, r, b;
  bool Empty() const { return l == r || t == b; }
};

Box Order(int x1, int y1, int x2, int y2) {
  return {std::min<i64>(x1, x2), std::min<i64>(y1, y2), std::max<i64>(x1, x2),
          std::max<i64>(y1, y2)};
}

}  // namespace

TRect TCanvas::Touch(const TRect& r) {
  dirty_ = dirty_.United(r);
  return r;
}

TRect TCanvas::Paint(SpanSource& figure) {
  const i64 w = bmp_.width_;
  const i64 h = bmp_.height_;
  if (w <= 0 || h <= 0) return {};
  const i64 y0 = std::max<i64>(figure.top, 0);
  const i64 y1 = std::min<i64>(figure.bottom, h);
  if (y0 >= y1) return {};
  const RunFiller pen_fill(Pen.Color, Pen.Mode);
  const RunFiller brush_fill(Brush.Color, Pen.Mode);
  SpanList pen, brush, brush_only;
  const SpanList empty;
  pen.reserve(8);
  brush.reserve(8);
  brush_only.reserve(8);
  i64 left = w, right = 0, top = h, bottom = 0;
  for (i64 y = y0; y < y1;) {
    pen.clear();
    brush.clear();
    figure.Row(y, pen, brush);
    const i64 rows = std::clamp<i64>(figure.Repeat(y), 1, y1 - y);
    if (pen.empty() && brush.empty()) {
      y += rows;
      continue;
    }
    if (pen.size() == 1) {
      Span& r = pen[0];
      r.x0 = std::max<i64>(r.x0, 0);
      r.x1 = std::min<i64>(r.x1, w);
      if (r.x0 >= r.x1) pen.clear();
    } else if (!pen.empty()) {
      Normalise(pen, w);
    }
    if (!brush.empty()) Normalise(brush, w);
    const SpanList* brush_runs = &brush;
    if (!pen.empty() && !brush.empty()) {
      Subtract(brush, pen, brush_only);
      brush_runs = &brush_only;
    }
    const SpanList& pen_runs = pen_fill.noop ? empty : pen;
    if (brush_fill.noop) brush_runs = &empty;
    if (pen_runs.empty() && brush_runs->empty()) {
      y += rows;
      continue;
    }
    for (const SpanList* runs : {&pen_runs, brush_runs}) {
      if (runs->empty()) continue;
      left = std::min(left, runs->front().x0);
      right = std::max(right, runs->back().x1);
    }
    top = std::min(top, y);
    bottom = y + rows;
    for (i64 r = 0; r < rows; ++r, ++y) {
      std::uint32_t* row = bmp_.ScanLine(static_cast<int>(y));
      for (const Span& s : pen_runs) pen_fill(row + s.x0, static_cast<int>(s.x1 - s.x0));
      for (const Span& s : *brush_runs) brush_fill(row + s.x0, static_cast<int>(s.x1 - s.x0));
    }
  }
  if (left >= right || top >= bottom) return {};
  return Touch(TRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                     static_cast<int>(bottom)});
}

void TCanvas::MoveTo(int X, int Y) { pen_pos_ = {X, Y}; }

TRect TCanvas::LineTo(int X, int Y) {
  const TPoint from = pen_pos_;
  pen_pos_ = {X, Y};
  if (from == pen_pos_) return {};
  if (Pen.Width() <= 1) {
    LineSpans line(from.X, from.Y, X, Y);
    return Paint(line);
  }
  PolySpans stroke({from, pen_pos_}, false, Pen.Width(), false);
  return Paint(stroke);
}

TRect TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  const Box b = Order(X1, Y1, X2, Y2);
  if (b.Empty()) return {};
  BoxSpans f(BoxKind::Rect, b.l, b.t, b.r, b.b, 0, 0, Pen.Width(), true);
  return Paint(f);
}

TRect TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  const Box b = Order(X1, Y1, X2, Y2);
  if (b.Empty()) return {};
  BoxSpans f(BoxKind::RoundRect, b.l, b.t, b.r, b.b, X3, Y3, Pen.Width(), true);
  return Paint(f);
}

TRect TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  const Box b = Order(X1, Y1, X2, Y2);
  if (b.Empty()) return {};
  BoxSpans f(BoxKind::Ellipse, b.l, b.t, b.r, b.b, 0, 0, Pen.Width(), true);
  return Paint(f);
}

TRect TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  const Box b = Order(X1, Y1, X2, Y2);
  if (b.Empty()) return {};
  BoxSpans f(BoxKind::Ellipse, b.l, b.t, b.r, b.b, 0, 0, Pen.Width(), false);
  f.SetArc(X3, Y3, X4, Y4);
  return Paint(f);
}

TRect TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2) return {};
  PolySpans f(std::vector<TPoint>(points.begin(), points.end()), true, Pen.Width(), true);
  return Paint(f);
}

TRect TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle Style) {
  FloodRequest rq;
  rq.bits = bmp_.Bits();
  rq.width = bmp_.width_;
  rq.height = bmp_.height_;
  rq.x = X;
  rq.y = Y;
  rq.color = ColorToPixel(Color);
  rq.border = Style == TFillStyle::fsBorder;
  rq.paint = ColorToPixel(Brush.Color);
  rq.not_xor = Pen.Mode == TPenMode::pmNotXor;
  return Touch(FloodFillBits(rq));
}

TColor TCanvas::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= bmp_.width_ || Y >= bmp_.height_) return clInvalid;
  return PixelToColor(bmp_.ScanLine(Y)[X]);
}

TRect TCanvas::SetPixel(int X, int Y, TColor Color) {
  if (X < 0 || Y < 0 || X >= bmp_.width_ || Y >= bmp_.height_) return {};
  bmp_.ScanLine(Y)[X] = ColorToPixel(Color);
  return Touch(TRect{X, Y, X + 1, Y + 1});
}

TRect TCanvas::TextOut(int X, int Y, const std::string& utf8) {
  TextCell cell = RenderText(Font, utf8, X, Y, bmp_.width_, bmp_.height_);
  pen_pos_ = {static_cast<int>(static_cast<std::uint32_t>(X) +
                               static_cast<std::uint32_t>(cell.advance)),
              Y};
  TRect changed;
  if (Brush.Color != clNone && !cell.visible.IsEmpty()) {
    const RunFiller bg(Brush.Color, TPenMode::pmCopy);
    for (int y = cell.visible.Top; y < cell.visible.Bottom; ++y) {
      bg(bmp_.ScanLine(y) + cell.visible.Left, cell.visible.Width());
    }
    changed = cell.visible;
  }
  const RunFiller ink(Font.Color, TPenMode::pmCopy);
  for (const TextCell::Run& r : cell.ink) {
    ink(bmp_.ScanLine(r.y) + r.x0, r.x1 - r.x0);
    changed = changed.United(TRect{r.x0, r.y, r.x1, r.y + 1});
  }
  return Touch(changed);
}

TRect TCanvas::TakeDirty() {
  const TRect r = dirty_;
  dirty_ = {};
  return r;
}

}  // namespace rv
