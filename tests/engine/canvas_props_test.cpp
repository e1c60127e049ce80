// Properties over many random figures (inverting twice restores, each pixel painted once,
// clipping is a crop), extreme coordinates, bitmap resizing and text.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "canvas_support.h"

namespace rv {
namespace {

using testing_canvas::Art;
using testing_canvas::Lines;

constexpr TColor kGreen = 0x00FF00;
constexpr TColor kRed = 0x0000FF;

enum class Kind { Line, Rect, Ellipse, RoundRect, Arc, Polygon, kCount };

struct Figure {
  Kind kind;
  int v[8];
  std::vector<TPoint> pts;
};

Figure RandomFigure(std::mt19937& rng, Kind kind, int lo, int hi) {
  std::uniform_int_distribution<int> coord(lo, hi);
  Figure f{kind, {}, {}};
  for (int& v : f.v) v = coord(rng);
  f.v[6] = (f.v[6] - lo) % 25 - 12;  // corner sizes, either sign
  f.v[7] = (f.v[7] - lo) % 25 - 12;
  if (kind == Kind::Polygon) {
    const int n = 2 + rng() % 6;
    for (int i = 0; i < n; ++i) f.pts.push_back({coord(rng), coord(rng)});
  }
  return f;
}

void Draw(TCanvas& c, const Figure& f, int dx = 0, int dy = 0) {
  const int* v = f.v;
  switch (f.kind) {
    case Kind::Line:
      c.MoveTo(v[0] + dx, v[1] + dy);
      c.LineTo(v[2] + dx, v[3] + dy);
      break;
    case Kind::Rect:
      c.Rectangle(v[0] + dx, v[1] + dy, v[2] + dx, v[3] + dy);
      break;
    case Kind::Ellipse:
      c.Ellipse(v[0] + dx, v[1] + dy, v[2] + dx, v[3] + dy);
      break;
    case Kind::RoundRect:
      c.RoundRect(v[0] + dx, v[1] + dy, v[2] + dx, v[3] + dy, v[6], v[7]);
      break;
    case Kind::Arc:
      c.Arc(v[0] + dx, v[1] + dy, v[2] + dx, v[3] + dy, v[4] + dx, v[5] + dy, v[6] + v[0] + dx,
            v[7] + v[1] + dy);
      break;
    case Kind::Polygon: {
      std::vector<TPoint> p = f.pts;
      for (TPoint& q : p) q = {q.X + dx, q.Y + dy};
      c.Polygon(p);
      break;
    }
    case Kind::kCount:
      break;
  }
}

std::vector<std::uint32_t> Pixels(const TBitmap& b) {
  return {b.Bits(), b.Bits() + static_cast<std::size_t>(b.Width()) * b.Height()};
}

const char* Name(Kind k) {
  static const char* names[] = {"Line", "Rect", "Ellipse", "RoundRect", "Arc", "Polygon"};
  return names[static_cast<int>(k)];
}

class CanvasFigureProperty : public ::testing::TestWithParam<Kind> {};

TEST_P(CanvasFigureProperty, NotXorTwiceRestoresThePixels) {
  std::mt19937 rng(100 + static_cast<int>(GetParam()));
  TBitmap b(48, 40);
  for (int i = 0; i < 48 * 40; ++i) b.Bits()[i] = 0xFF000000u | (rng() & 0xFFFFFF);
  const auto before = Pixels(b);
  TCanvas& c = b.Canvas();
  c.Pen.Mode = TPenMode::pmNotXor;
  for (int width = 1; width <= 30; ++width) {
    for (int k = 0; k < 6; ++k) {
      const Figure f = RandomFigure(rng, GetParam(), -25, 70);
      c.Pen.SetWidth(width);
      c.Pen.Color = rng() & 0xFFFFFF;
      c.Brush.Color = k % 2 ? clWhite : (rng() & 0xFFFFFF);
      Draw(c, f);
      Draw(c, f);
      ASSERT_EQ(Pixels(b), before) << Name(GetParam()) << " width " << width << " #" << k;
    }
  }
}

// Painting a pixel twice in the inverting mode would cancel it, so one inverted figure on
// white must look exactly like the same figure painted.
TEST_P(CanvasFigureProperty, NotXorPaintsEachPixelOnce) {
  std::mt19937 rng(200 + static_cast<int>(GetParam()));
  for (int width = 1; width <= 30; ++width) {
    for (int k = 0; k < 5; ++k) {
      // The last figure of each width spans far beyond the bitmap.
      const Figure f = k < 4 ? RandomFigure(rng, GetParam(), -10, 50)
                             : RandomFigure(rng, GetParam(), -(1 << 29), 1 << 29);
      TBitmap copy(40, 40), inverted(40, 40);
      for (TBitmap* b : {&copy, &inverted}) {
        b->Canvas().Pen.SetWidth(width);
        b->Canvas().Brush.Color = kGreen;
      }
      inverted.Canvas().Pen.Mode = TPenMode::pmNotXor;
      Draw(copy.Canvas(), f);
      Draw(inverted.Canvas(), f);
      ASSERT_EQ(Art(inverted), Art(copy)) << Name(GetParam()) << " width " << width << "\n"
                                          << Art(inverted) << "\n\n"
                                          << Art(copy);
    }
  }
}

// A figure on a small bitmap is the crop of the same figure on a larger one, at every edge.
TEST_P(CanvasFigureProperty, ClippingIsACrop) {
  std::mt19937 rng(300 + static_cast<int>(GetParam()));
  constexpr int kOff = 40, kW = 23, kH = 17;
  for (int width = 1; width <= 30; width += (width < 10 ? 1 : 7)) {
    for (int k = 0; k < 8; ++k) {
      const Figure f = RandomFigure(rng, GetParam(), 0, 2 * kOff + kW);
      TBitmap big(2 * kOff + kW, 2 * kOff + kH), small(kW, kH);
      for (TBitmap* b : {&big, &small}) {
        b->Canvas().Pen.SetWidth(width);
        b->Canvas().Brush.Color = kGreen;
      }
      Draw(big.Canvas(), f);
      Draw(small.Canvas(), f, -kOff, -kOff);
      for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
          ASSERT_EQ(small.Canvas().Pixel(x, y), big.Canvas().Pixel(x + kOff, y + kOff))
              << Name(GetParam()) << " width " << width << " at " << x << "," << y;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Canvas, CanvasFigureProperty,
                         ::testing::Values(Kind::Line, Kind::Rect, Kind::Ellipse,
                                           Kind::RoundRect, Kind::Arc, Kind::Polygon),
                         [](const auto& info) { return std::string(Name(info.param)); });

// Each figure far beyond the bitmap returns at once and paints what falls inside.
TEST(CanvasExtremes, FarCoordinatesAndHugeWidthsAreClipped) {
  constexpr int kFar = 1 << 30;
  auto fresh = [] {
    auto b = std::make_unique<TBitmap>(16, 12);
    b->Canvas().Brush.Color = kGreen;
    return b;
  };
  auto count = [](const TBitmap& b, TColor c) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) n += b.Canvas().Pixel(x, y) == c;
    return n;
  };
  {
    // Deep inside: the whole bitmap is brush.
    auto b = fresh();
    b->Canvas().Ellipse(-kFar, -kFar, kFar, kFar);
    EXPECT_EQ(count(*b, kGreen), 16 * 12);
    b->Canvas().RoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX);
    b->Canvas().Rectangle(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    EXPECT_EQ(count(*b, kGreen), 16 * 12);
  }
  {
    // The widest pen covers everything near its path.
    auto b = fresh();
    b->Canvas().Pen.SetWidth(INT_MAX);
    b->Canvas().Ellipse(-kFar, -kFar, kFar, kFar);
    EXPECT_EQ(count(*b, clBlack), 16 * 12);
    auto c = fresh();
    c->Canvas().Pen.SetWidth(INT_MAX);
    c->Canvas().MoveTo(INT_MIN, -kFar / 2);
    c->Canvas().LineTo(INT_MAX, kFar / 2);
    EXPECT_EQ(count(*c, clBlack), 16 * 12);
    auto d = fresh();
    d->Canvas().Pen.SetWidth(INT_MAX);
    d->Canvas().Arc(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 1, 1);
    d->Canvas().Rectangle(INT_MIN, 5, INT_MAX, 6);
    const TPoint p[] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}};
    d->Canvas().Polygon(p);
    EXPECT_EQ(count(*d, clBlack), 16 * 12);
  }
  {
    // The diagonal from corner to corner of the 32-bit plane passes through (i, i).
    auto b = fresh();
    b->Canvas().MoveTo(INT_MIN, INT_MIN);
    b->Canvas().LineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(count(*b, clBlack), 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(b->Canvas().Pixel(i, i), clBlack);
    EXPECT_EQ(b->Canvas().PenPos(), (TPoint{INT_MAX, INT_MAX}));
  }
  {
    // An outline far away leaves nothing; a huge arc's visible part is its top edge.
    auto b = fresh();
    b->Canvas().Arc(-kFar, 0, kFar, INT_MAX, 0, 0, 0, 0);
    EXPECT_EQ(count(*b, clBlack), 16);
    b->Canvas().Pen.SetWidth(1000);
    b->Canvas().Ellipse(-kFar, -kFar, -kFar + 5, kFar);
    b->Canvas().MoveTo(kFar, kFar);
    b->Canvas().LineTo(-kFar, kFar);
    const TPoint p[] = {{-kFar, -kFar}, {-kFar + 3, kFar}, {-kFar, kFar}};
    b->Canvas().Polygon(p);
    EXPECT_EQ(count(*b, clBlack), 16);
    EXPECT_EQ(count(*b, clWhite), 16 * 11);
  }
}

// Each row only looks at the edges that reach it, so many vertices cost little more than their
// own number.
TEST(CanvasExtremes, PolygonWithManyVertices) {
  constexpr int kPoints = 200000;
  std::vector<TPoint> ring;
  for (int i = 0; i < kPoints; ++i) {
    const double t = 6.283185307179586 * i / kPoints;
    ring.push_back({static_cast<int>(500 + 450 * std::cos(t)), static_cast<int>(1000 + 950 * std::sin(t))});
  }
  TBitmap b(1000, 2000);
  b.Canvas().Brush.Color = kGreen;
  b.Canvas().Pen.SetWidth(3);
  b.Canvas().Polygon(ring);
  EXPECT_EQ(b.Canvas().Pixel(500, 1000), kGreen);
  EXPECT_EQ(b.Canvas().Pixel(950, 1000), clBlack);
  EXPECT_EQ(b.Canvas().Pixel(5, 5), clWhite);
}

TEST(CanvasBitmap, ResizeKeepsTopLeftAndFillsWithTheBrush) {
  TBitmap b(3, 2);
  b.Canvas().SetPixel(0, 0, clBlack);
  b.Canvas().SetPixel(2, 1, clBlack);
  b.Canvas().Brush.Color = kGreen;
  b.SetSize(5, 3);
  EXPECT_EQ(Art(b), Lines({"#..oo",
                           "..#oo",
                           "ooooo"}));
  b.SetSize(2, 1);
  EXPECT_EQ(Art(b), "#.");
  b.SetHeight(0);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_EQ(b.Canvas().Pixel(0, 0), clInvalid);
  EXPECT_TRUE(b.Canvas().Rectangle(0, 0, 5, 5).IsEmpty());
  EXPECT_TRUE(b.Canvas().FloodFill(0, 0, clWhite, TFillStyle::fsSurface).IsEmpty());
}

TEST(CanvasBitmap, AbsurdSizesThrowAndAssignCopies) {
  TBitmap b(4, 4);
  EXPECT_THROW(b.SetSize(INT_MAX, INT_MAX), EngineError);
  EXPECT_THROW(b.SetSize(TBitmap::kMaxSide + 1, 1), EngineError);
  EXPECT_THROW(TBitmap(30000, 30000), EngineError);
  EXPECT_EQ(b.Width(), 4);
  TBitmap other(2, 3, kRed);
  b.Assign(other);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Canvas().Pixel(1, 2), kRed);
  other.Canvas().SetPixel(1, 2, clBlack);
  EXPECT_EQ(b.Canvas().Pixel(1, 2), kRed);
}

TEST(CanvasText, DrawsGlyphsInTheCellAndMovesThePen) {
  TBitmap b(120, 40);
  TCanvas& c = b.Canvas();
  c.Font.Height = 16;
  c.Brush.Color = clNone;  // transparent
  c.TextOut(10, 5, "和室 6畳");
  const int advance = c.PenPos().X - 10;
  EXPECT_GT(advance, 30);
  EXPECT_EQ(c.PenPos().Y, 5);
  int ink = 0, stray = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const TColor p = c.Pixel(x, y);
      EXPECT_TRUE(p == clBlack || p == clWhite);  // no antialiasing
      if (p != clBlack) continue;
      ++ink;
      if (x < 10 || x >= 10 + advance || y < 5 || y >= 5 + 24) ++stray;
    }
  }
  EXPECT_GT(ink, 40);
  EXPECT_EQ(stray, 0);

  // An opaque brush fills the cell behind the glyphs, in the font's colour.
  TBitmap o(120, 40);
  o.Canvas().Font.Height = 16;
  o.Canvas().Font.Color = kRed;
  o.Canvas().Brush.Color = kGreen;
  const TRect cell = o.Canvas().TextOut(10, 5, "和室 6畳");
  EXPECT_EQ(cell.Left, 10);
  EXPECT_EQ(cell.Top, 5);
  EXPECT_EQ(cell.Right, 10 + advance);
  EXPECT_GE(cell.Height(), 16);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const bool in = x >= cell.Left && x < cell.Right && y >= cell.Top && y < cell.Bottom;
      const TColor p = o.Canvas().Pixel(x, y);
      ASSERT_TRUE(in ? (p == kGreen || p == kRed) : p == clWhite) << x << "," << y;
      if (in && p == kRed) {
        ASSERT_EQ(b.Canvas().Pixel(x, y), clBlack);
      }
    }
  }
}

TEST(CanvasText, FarPositionsAndOddFontsAreSafe) {
  TBitmap b(20, 10);
  TCanvas& c = b.Canvas();
  c.TextOut(INT_MAX, INT_MAX, "abc");
  EXPECT_EQ(c.PenPos().Y, INT_MAX);
  c.TextOut(INT_MIN, 0, "abc");
  c.Font.Height = INT_MIN;
  c.Font.Name = "no such family at all";
  c.TextOut(-5, -5, "x");
  c.Font.Height = 0;
  EXPECT_FALSE(c.TextOut(0, 0, "Wide").IsEmpty());
  c.TextOut(0, 0, "");
}

}  // namespace
}  // namespace rv
