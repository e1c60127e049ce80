// Flood fill: both styles, the cases where nothing happens, and agreement with a plain
// breadth-first reference on random pictures in every mode.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "canvas_support.h"

namespace rv {
namespace {

using testing_canvas::Art;
using testing_canvas::Lines;

constexpr TColor kGreen = 0x00FF00;

// '#' black, '.' white, 'o' green.
void Paint(TBitmap& b, std::initializer_list<const char*> rows) {
  int y = 0;
  for (const char* r : rows) {
    for (int x = 0; r[x]; ++x) {
      b.Canvas().SetPixel(x, y, r[x] == '#' ? clBlack : r[x] == 'o' ? kGreen : clWhite);
    }
    ++y;
  }
}

TEST(CanvasFloodFill, SurfaceFillsTheFourConnectedAreaOfTheColour) {
  TBitmap b(7, 5);
  Paint(b, {".#.....",
            ".#.###.",
            "..##.#.",
            "#..#.#.",
            ".#.###."});
  b.Canvas().Brush.Color = kGreen;
  const TRect r = b.Canvas().FloodFill(0, 0, clWhite, TFillStyle::fsSurface);
  EXPECT_EQ(Art(b), Lines({"o#.....",
                           "o#.###.",
                           "oo##.#.",
                           "#oo#.#.",
                           ".#o###."}));
  EXPECT_EQ(r, (TRect{0, 0, 3, 5}));
}

TEST(CanvasFloodFill, BorderFillsUpToTheColour) {
  TBitmap b(7, 5);
  Paint(b, {".#.....",
            ".#.###.",
            "o.##o#.",
            "#..#.#.",
            ".#.###."});
  b.Canvas().Brush.Color = kGreen;
  b.Canvas().FloodFill(4, 2, clBlack, TFillStyle::fsBorder);
  EXPECT_EQ(Art(b), Lines({".#.....",
                           ".#.###.",
                           "o.##o#.",
                           "#..#o#.",
                           ".#.###."}));
  b.Canvas().Brush.Color = clBlack;
  b.Canvas().FloodFill(6, 0, clBlack, TFillStyle::fsBorder);
  EXPECT_EQ(Art(b), Lines({".######",
                           ".######",
                           "o.##o##",
                           "#..#o##",
                           ".#.####"}));
}

TEST(CanvasFloodFill, NothingHappensWhenTheStartDoesNotQualify) {
  TBitmap b(4, 3);
  Paint(b, {".#..", "##..", "...."});
  TCanvas& c = b.Canvas();
  c.Brush.Color = kGreen;
  const std::string before = Art(b);
  EXPECT_TRUE(c.FloodFill(0, 0, clBlack, TFillStyle::fsSurface).IsEmpty());
  EXPECT_TRUE(c.FloodFill(1, 0, clBlack, TFillStyle::fsBorder).IsEmpty());
  EXPECT_TRUE(c.FloodFill(-1, 0, clWhite, TFillStyle::fsSurface).IsEmpty());
  EXPECT_TRUE(c.FloodFill(0, 3, clBlack, TFillStyle::fsBorder).IsEmpty());
  EXPECT_TRUE(c.FloodFill(-2147483647 - 1, 2147483647, clWhite, TFillStyle::fsSurface).IsEmpty());
  EXPECT_EQ(Art(b), before);
}

TEST(CanvasFloodFill, BrushOfTheTargetColourTerminates) {
  TBitmap b(300, 200);
  b.Canvas().Brush.Color = clWhite;
  b.Canvas().FloodFill(5, 5, clWhite, TFillStyle::fsSurface);
  b.Canvas().FloodFill(5, 5, clBlack, TFillStyle::fsBorder);
  EXPECT_EQ(b.Canvas().Pixel(299, 199), clWhite);
  // The border style paints once even when the brush keeps pixels inside the region.
  b.Canvas().Brush.Color = kGreen;
  b.Canvas().Pen.Mode = TPenMode::pmNotXor;
  b.Canvas().FloodFill(5, 5, clBlack, TFillStyle::fsBorder);
  EXPECT_EQ(b.Canvas().Pixel(0, 0), kGreen);
  EXPECT_EQ(b.Canvas().Pixel(299, 199), kGreen);
}

// Fills by breadth-first search on a copy of the picture, then paints; the obvious way.
void ReferenceFill(std::vector<std::uint32_t>& px, int w, int h, int sx, int sy, TColor color,
                   bool border, TColor brush, bool not_xor) {
  auto at = [&](int x, int y) { return PixelToColor(px[y * w + x]) & 0xFFFFFF; };
  auto in = [&](int x, int y) { return border ? at(x, y) != color : at(x, y) == color; };
  if (!in(sx, sy)) return;
  std::vector<char> seen(px.size(), 0);
  std::deque<std::pair<int, int>> q{{sx, sy}};
  seen[sy * w + sx] = 1;
  std::vector<int> region;
  while (!q.empty()) {
    auto [x, y] = q.front();
    q.pop_front();
    region.push_back(y * w + x);
    const int nx[] = {x - 1, x + 1, x, x};
    const int ny[] = {y, y, y - 1, y + 1};
    for (int k = 0; k < 4; ++k) {
      if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h) continue;
      if (seen[ny[k] * w + nx[k]] || !in(nx[k], ny[k])) continue;
      seen[ny[k] * w + nx[k]] = 1;
      q.push_back({nx[k], ny[k]});
    }
  }
  const std::uint32_t b = ColorToPixel(brush);
  for (int i : region) {
    px[i] = not_xor ? ((px[i] ^ (~b & 0xFFFFFF)) | 0xFF000000u) : b;
  }
}

struct FillMode {
  bool border;
  bool not_xor;
  int brush;  // index into the palette
};

class CanvasFloodFillRandom : public ::testing::TestWithParam<FillMode> {};

TEST_P(CanvasFloodFillRandom, MatchesBreadthFirstReference) {
  const FillMode m = GetParam();
  const TColor palette[] = {clWhite, clBlack, kGreen};
  std::mt19937 rng(1234 + m.border * 7 + m.not_xor * 3 + m.brush);
  for (int round = 0; round < 60; ++round) {
    // Some pictures are wide with few walls, so runs cross several 64-pixel words.
    const bool sparse = round % 3 == 0;
    const int w = 1 + rng() % (sparse ? 300 : round % 2 ? 70 : 200);
    const int h = 1 + rng() % 40;
    TBitmap b(w, h);
    // Sparse walls make long winding regions; dense ones make many small ones.
    const unsigned density = sparse ? 1 + rng() % 4 : 20 + rng() % 50;
    for (int i = 0; i < w * h; ++i) {
      const unsigned r = rng() % 100;
      b.Bits()[i] = ColorToPixel(r < density ? clBlack : (r < density + 5 ? kGreen : clWhite));
    }
    const std::vector<std::uint32_t> before(b.Bits(), b.Bits() + w * h);
    std::vector<std::uint32_t> ref = before;
    const int sx = rng() % w;
    const int sy = rng() % h;
    const TColor key = palette[rng() % 3];
    ReferenceFill(ref, w, h, sx, sy, key, m.border, palette[m.brush], m.not_xor);
    b.Canvas().Brush.Color = palette[m.brush];
    b.Canvas().Pen.Mode = m.not_xor ? TPenMode::pmNotXor : TPenMode::pmCopy;
    const TRect changed = b.Canvas().FloodFill(sx, sy, key,
                                               m.border ? TFillStyle::fsBorder : TFillStyle::fsSurface);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const std::uint32_t got = b.Bits()[y * w + x];
        ASSERT_EQ(got, ref[y * w + x]) << "round " << round << " at " << x << "," << y;
        const bool inside = x >= changed.Left && x < changed.Right && y >= changed.Top &&
                            y < changed.Bottom;
        if (!inside) {
          ASSERT_EQ(got, before[y * w + x]) << "changed outside the returned rectangle";
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Canvas, CanvasFloodFillRandom,
                         ::testing::Values(FillMode{false, false, 0}, FillMode{false, false, 2},
                                           FillMode{false, true, 1}, FillMode{false, true, 2},
                                           FillMode{true, false, 0}, FillMode{true, false, 1},
                                           FillMode{true, false, 2}, FillMode{true, true, 1},
                                           FillMode{true, true, 2}));

TEST(CanvasFloodFill, LargeOpenAreaAndSnakeComplete) {
  TBitmap b(4096, 4096);
  TCanvas& c = b.Canvas();
  c.Brush.Color = kGreen;
  EXPECT_EQ(c.FloodFill(2000, 3000, clWhite, TFillStyle::fsSurface), (TRect{0, 0, 4096, 4096}));
  EXPECT_EQ(c.Pixel(4095, 0), kGreen);
  // A serpentine: walls every other row, open at alternating ends; one region 2048 rows deep.
  TBitmap s(1024, 4096);
  for (int y = 1; y < 4096; y += 2) {
    std::uint32_t* row = s.ScanLine(y);
    for (int x = 0; x < 1024; ++x) row[x] = ColorToPixel(clBlack);
    row[(y / 2) % 2 ? 0 : 1023] = ColorToPixel(clWhite);
  }
  s.Canvas().Brush.Color = kGreen;
  s.Canvas().FloodFill(0, 0, clBlack, TFillStyle::fsBorder);
  EXPECT_EQ(s.Canvas().Pixel(512, 4094), kGreen);
  EXPECT_EQ(s.Canvas().Pixel(512, 4095), clBlack);
}

}  // namespace
}  // namespace rv
