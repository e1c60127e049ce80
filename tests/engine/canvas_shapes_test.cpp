// Figures drawn on small bitmaps and compared pixel for pixel. '#' is the black pen, '.' the
// white background, 'o' a coloured brush.
#include <gtest/gtest.h>

#include <functional>

#include "canvas_support.h"

namespace rv {
namespace {

using testing_canvas::Art;
using testing_canvas::Lines;

constexpr TColor kGreen = 0x00FF00;

struct ArtCase {
  const char* name;
  int w, h;
  std::function<void(TCanvas&)> draw;
  std::string expected;
};

class CanvasArt : public ::testing::TestWithParam<ArtCase> {};

TEST_P(CanvasArt, DrawsExpectedPixels) {
  const ArtCase& c = GetParam();
  TBitmap b(c.w, c.h);
  c.draw(b.Canvas());
  EXPECT_EQ(Art(b), c.expected) << "\n" << Art(b);
}

const ArtCase kArtCases[] = {
    {"RectangleOnePixelCornersInAnyOrder", 9, 7, [](TCanvas& c) { c.Rectangle(7, 5, 1, 1); },
     Lines({".........",
            ".######..",
            ".#....#..",
            ".#....#..",
            ".######..",
            ".........",
            "........."})},
    {"RectangleInteriorTakesBrush", 6, 5,
     [](TCanvas& c) {
       c.Brush.Color = kGreen;
       c.Rectangle(0, 0, 6, 5);
     },
     Lines({"######",
            "#oooo#",
            "#oooo#",
            "#oooo#",
            "######"})},
    // Three pixels either side of the 1-pixel path (columns 4..9), round outer corners.
    {"SevenPixelFrame", 18, 18,
     [](TCanvas& c) {
       c.Brush.Color = kGreen;
       c.Pen.SetWidth(7);
       c.Rectangle(4, 4, 14, 14);
     },
     Lines({"..................",
            "...############...",
            "..##############..",
            ".################.",
            ".################.",
            ".################.",
            ".################.",
            ".################.",
            ".#######oo#######.",
            ".#######oo#######.",
            ".################.",
            ".################.",
            ".################.",
            ".################.",
            ".################.",
            "..##############..",
            "...############...",
            ".................."})},
    {"TwoPixelFrameCoversTwoRowsPerEdge", 10, 9,
     [](TCanvas& c) {
       c.Pen.SetWidth(2);
       c.Rectangle(2, 2, 8, 7);
     },
     Lines({"..........",
            "..........",
            "..#######.",
            "..#######.",
            "..##...##.",
            "..##...##.",
            "..#######.",
            "..######..",
            ".........."})},
    {"EllipseOutline", 10, 8,
     [](TCanvas& c) {
       c.Brush.Color = kGreen;
       c.Ellipse(1, 1, 9, 7);
     },
     Lines({"..........",
            "...####...",
            "..#oooo#..",
            ".#oooooo#.",
            ".#oooooo#.",
            "..#oooo#..",
            "...####...",
            ".........."})},
    {"EllipseThreePixelPen", 12, 12,
     [](TCanvas& c) {
       c.Pen.SetWidth(3);
       c.Ellipse(2, 2, 10, 10);
     },
     Lines({"............",
            "....####....",
            "..########..",
            "..########..",
            ".####..####.",
            ".###....###.",
            ".###....###.",
            ".####..####.",
            "..########..",
            "..########..",
            "....####....",
            "............"})},
    {"RoundRectCorners", 14, 10,
     [](TCanvas& c) { c.RoundRect(1, 1, 13, 9, 8, 6); },
     Lines({"..............",
            "...########...",
            "..#........#..",
            ".#..........#.",
            ".#..........#.",
            ".#..........#.",
            ".#..........#.",
            "..#........#..",
            "...########...",
            ".............."})},
    {"RoundRectNegativeCornerIsItsMagnitude", 14, 10,
     [](TCanvas& c) { c.RoundRect(13, 9, 1, 1, -8, -6); },
     Lines({"..............",
            "...########...",
            "..#........#..",
            ".#..........#.",
            ".#..........#.",
            ".#..........#.",
            ".#..........#.",
            "..#........#..",
            "...########...",
            ".............."})},
    {"RoundRectHugeCornerIsTheEllipse", 10, 8,
     [](TCanvas& c) { c.RoundRect(1, 1, 9, 7, 1000, 1000); },
     Lines({"..........",
            "...####...",
            "..#....#..",
            ".#......#.",
            ".#......#.",
            "..#....#..",
            "...####...",
            ".........."})},
    // Box centre (6, 5.5); counter-clockwise on screen between the rays.
    {"ArcFirstQuadrant", 13, 11, [](TCanvas& c) { c.Arc(1, 1, 11, 10, 11, 5, 6, 0); },
     Lines({".............",
            "......##.....",
            "........##...",
            ".........#...",
            "..........#..",
            ".............",
            ".............",
            ".............",
            ".............",
            ".............",
            "............."})},
    {"ArcSecondQuadrant", 13, 11, [](TCanvas& c) { c.Arc(1, 1, 11, 10, 6, 0, 0, 5); },
     Lines({".............",
            "....##.......",
            "..##.........",
            "..#..........",
            ".#...........",
            ".............",
            ".............",
            ".............",
            ".............",
            ".............",
            "............."})},
    {"ArcThirdQuadrant", 13, 11, [](TCanvas& c) { c.Arc(1, 1, 11, 10, 0, 5, 6, 11); },
     Lines({".............",
            ".............",
            ".............",
            ".............",
            ".............",
            ".#...........",
            ".#...........",
            "..#..........",
            "..##.........",
            "....##.......",
            "............."})},
    {"ArcFourthQuadrant", 13, 11, [](TCanvas& c) { c.Arc(1, 1, 11, 10, 6, 11, 11, 5); },
     Lines({".............",
            ".............",
            ".............",
            ".............",
            ".............",
            "..........#..",
            "..........#..",
            ".........#...",
            "........##...",
            "......##.....",
            "............."})},
    {"ArcAcrossQuadrants", 13, 11, [](TCanvas& c) { c.Arc(1, 1, 11, 10, 0, 0, 11, 11); },
     Lines({".............",
            ".............",
            "..#..........",
            "..#..........",
            ".#...........",
            ".#...........",
            ".#...........",
            "..#..........",
            "..##....#....",
            "....####.....",
            "............."})},
    {"ArcMoreThanHalf", 13, 11, [](TCanvas& c) { c.Arc(1, 1, 11, 10, 11, 11, 0, 0); },
     Lines({".............",
            "....####.....",
            "...#....##...",
            ".........#...",
            "..........#..",
            "..........#..",
            "..........#..",
            ".........#...",
            ".........#...",
            ".............",
            "............."})},
    {"ArcEqualRaysIsWholeEllipse", 13, 11, [](TCanvas& c) { c.Arc(1, 1, 11, 10, 3, 3, 3, 3); },
     Lines({".............",
            "....####.....",
            "..##....##...",
            "..#......#...",
            ".#........#..",
            ".#........#..",
            ".#........#..",
            "..#......#...",
            "..##....##...",
            "....####.....",
            "............."})},
    // A wide pen centred on the quarter arc, with round caps at both ends.
    {"ArcWidePenRoundCaps", 26, 15, [](TCanvas& c) {
       c.Pen.SetWidth(5);
       c.Arc(3, 3, 23, 19, 23, 11, 13, 3);
     },
     Lines({"..........................",
            "............#####.........",
            "...........########.......",
            "...........##########.....",
            "...........###########....",
            "...........############...",
            "................########..",
            "..................######..",
            "...................######.",
            "....................#####.",
            "....................#####.",
            "....................#####.",
            ".....................####.",
            "......................#...",
            ".........................."})},
    // Four lines from (5, 5), one in each of four octants; none reaches its end point.
    {"LineOctantsEndExcluded", 11, 11,
     [](TCanvas& c) {
       for (TPoint p : {TPoint{10, 7}, TPoint{7, 0}, TPoint{0, 3}, TPoint{2, 10}}) {
         c.MoveTo(5, 5);
         c.LineTo(p.X, p.Y);
       }
     },
     Lines({"...........",
            ".......#...",
            "......#....",
            ".#....#....",
            "..##.#.....",
            "....###....",
            "....#..##..",
            "....#....#.",
            "...#.......",
            "...#.......",
            "..........."})},
    // The vertical line runs up from row 4 and stops short of row 1.
    {"LineAxesAndDiagonal", 7, 5,
     [](TCanvas& c) {
       c.MoveTo(0, 0);
       c.LineTo(6, 0);
       c.MoveTo(6, 4);
       c.LineTo(6, 1);
       c.MoveTo(0, 4);
       c.LineTo(4, 0);
     },
     Lines({"######.",
            "...#...",
            "..#...#",
            ".#....#",
            "#.....#"})},
    {"ZeroLengthLineDrawsNothing", 3, 3,
     [](TCanvas& c) {
       c.MoveTo(1, 1);
       c.LineTo(1, 1);
       c.Pen.SetWidth(9);
       c.LineTo(1, 1);
     },
     Lines({"...", "...", "..."})},
    {"WideLineHasRoundCaps", 10, 7,
     [](TCanvas& c) {
       c.Pen.SetWidth(5);
       c.MoveTo(3, 3);
       c.LineTo(6, 3);
     },
     Lines({"..........",
            "..######..",
            ".########.",
            ".########.",
            ".########.",
            "..######..",
            ".........."})},
    {"ZeroSizeBoxesDrawNothing", 4, 4,
     [](TCanvas& c) {
       c.Pen.SetWidth(7);
       c.Rectangle(1, 1, 1, 3);
       c.Ellipse(1, 1, 3, 1);
       c.RoundRect(2, 2, 2, 2, 5, 5);
       c.Arc(1, 1, 1, 3, 0, 0, 1, 1);
     },
     Lines({"....", "....", "....", "...."})},
    {"PolygonTriangle", 10, 8,
     [](TCanvas& c) {
       c.Brush.Color = kGreen;
       const TPoint p[] = {{1, 1}, {8, 1}, {1, 6}};
       c.Polygon(p);
     },
     Lines({"..........",
            ".########.",
            ".#oooo##..",
            ".#ooo#....",
            ".#oo#.....",
            ".###......",
            ".#........",
            ".........."})},
    {"PolygonAlternateFill", 10, 8,
     [](TCanvas& c) {
       c.Brush.Color = kGreen;
       const TPoint p[] = {{1, 1}, {8, 6}, {8, 1}, {1, 6}};
       c.Polygon(p);
     },
     Lines({"..........",
            ".#......#.",
            ".###..###.",
            ".#oo##oo#.",
            ".#oo##oo#.",
            ".###..###.",
            ".#......#.",
            ".........."})},
};

INSTANTIATE_TEST_SUITE_P(Canvas, CanvasArt, ::testing::ValuesIn(kArtCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A quarter of a large ellipse, from its right-most point up to its top-most point.
TEST(CanvasArc, QuarterFromRightUpToTop) {
  TBitmap b(200, 200);
  TCanvas& c = b.Canvas();
  c.Arc(60, 100, 140, 160, 140, 130, 100, 100);
  int columns[200] = {}, rows[200] = {};
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (c.Pixel(x, y) != clBlack) continue;
      ++columns[x];
      ++rows[y];
      EXPECT_TRUE(x >= 100 && x <= 139 && y >= 100 && y <= 129) << x << "," << y;
    }
  }
  EXPECT_EQ(c.Pixel(139, 129), clBlack);  // right-most column, just above the centre line
  EXPECT_EQ(c.Pixel(139, 130), clWhite);
  EXPECT_EQ(c.Pixel(100, 100), clBlack);  // top row, just right of the centre
  EXPECT_EQ(c.Pixel(99, 100), clWhite);
  // Unbroken: every column and every row of the quarter has a pixel.
  for (int x = 100; x <= 139; ++x) EXPECT_GT(columns[x], 0) << x;
  for (int y = 100; y <= 129; ++y) EXPECT_GT(rows[y], 0) << y;
}

TEST(CanvasState, LineToMovesThePenAndWidthIgnoresNegatives) {
  TBitmap b(8, 8);
  TCanvas& c = b.Canvas();
  c.MoveTo(1, 2);
  EXPECT_EQ(c.PenPos(), (TPoint{1, 2}));
  c.LineTo(5, 6);
  EXPECT_EQ(c.PenPos(), (TPoint{5, 6}));
  c.Pen.SetWidth(4);
  c.Pen.SetWidth(-3);
  EXPECT_EQ(c.Pen.Width(), 4);
  // Width 0 draws like width 1.
  TBitmap one(8, 3), zero(8, 3);
  zero.Canvas().Pen.SetWidth(0);
  for (TBitmap* p : {&one, &zero}) {
    p->Canvas().MoveTo(0, 1);
    p->Canvas().LineTo(7, 2);
  }
  EXPECT_EQ(Art(one), Art(zero));
}

TEST(CanvasState, ColoursCountByTheirLowBytes) {
  TBitmap b(3, 1);
  TCanvas& c = b.Canvas();
  c.Pen.Color = 0x12345678;
  c.MoveTo(0, 0);
  c.LineTo(3, 0);
  EXPECT_EQ(c.Pixel(1, 0), 0x345678u);
  EXPECT_EQ(b.Bits()[1], 0xFF785634u);
  c.SetPixel(2, 0, 0x00ABCDEF);
  EXPECT_EQ(c.Pixel(2, 0), 0xABCDEFu);
  EXPECT_EQ(c.Pixel(3, 0), clInvalid);
  EXPECT_EQ(c.Pixel(-1, 0), clInvalid);
  EXPECT_TRUE(c.SetPixel(0, 5, clBlack).IsEmpty());
}

TEST(CanvasDirty, CallsReturnWhatTheyMayChangeAndTakeDirtyCollects) {
  TBitmap b(40, 30);
  TCanvas& c = b.Canvas();
  c.TakeDirty();
  c.Pen.SetWidth(7);
  EXPECT_EQ(c.Rectangle(10, 10, 20, 20), (TRect{7, 7, 23, 23}));
  c.Pen.SetWidth(1);
  c.MoveTo(30, 25);
  EXPECT_EQ(c.LineTo(35, 28), (TRect{30, 25, 35, 28}));
  // Clipped to the bitmap.
  EXPECT_EQ(c.Rectangle(-10, -10, 5, 5), (TRect{0, 0, 5, 5}));
  EXPECT_EQ(c.TakeDirty(), (TRect{0, 0, 35, 28}));
  EXPECT_TRUE(c.TakeDirty().IsEmpty());
  EXPECT_TRUE(c.Rectangle(50, 50, 60, 60).IsEmpty());
  EXPECT_TRUE(c.TakeDirty().IsEmpty());
}

}  // namespace
}  // namespace rv
