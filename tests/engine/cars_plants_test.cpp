// The two cars and the plant bed: the calls each arm makes, the grid unit the cars leave in
// SpanX/SpanY, and the canvas settings left in force.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "drawing/commits.h"
#include "drawing/figure_script.h"
#include "tests/engine/gesture_rig.h"
#include "drawing/rounding.h"

namespace rv {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Calls = std::vector<std::string>;

using test::Pressed;

TEST(CarUpright, HundredByTwoHundred) {
  const DrawingState s = Pressed(10, 20);
  const Calls want = {
      "EraseRubberBand", "Pen.Color := clBlack", "Pen.Width := 1", "Brush.Color := clWhite",
      "RoundRect(10, 20, 110, 220, 10, 10)",   // body
      "RoundRect(20, 100, 100, 180, 10, 10)",  // cabin
      "RoundRect(10, 20, 110, 40, 10, 10)",    // front band
      "Ellipse(10, 20, 30, 40)", "Ellipse(90, 20, 110, 40)",
      "MoveTo(40, 20)", "LineTo(40, 40)", "MoveTo(50, 20)", "LineTo(50, 40)",
      "MoveTo(60, 20)", "LineTo(60, 40)", "MoveTo(70, 20)", "LineTo(70, 40)",
      "MoveTo(80, 20)", "LineTo(80, 40)",
      "MoveTo(30, 40)", "LineTo(20, 100)", "MoveTo(90, 40)", "LineTo(100, 100)",
      "Pen.Width := 3",
      "MoveTo(10, 40)", "LineTo(10, 80)", "MoveTo(10, 160)", "LineTo(10, 200)",
      "MoveTo(110, 40)", "LineTo(110, 80)", "MoveTo(110, 160)", "LineTo(110, 200)"};
  EXPECT_THAT(Describe(CarUprightScript(s, 110, 220)), ElementsAreArray(want));
}

TEST(CarSide, FiftySevenByThirty) {
  const DrawingState s = Pressed(100, 200);
  const Calls want = {
      "EraseRubberBand", "Pen.Color := clBlack", "Pen.Width := 1", "Brush.Color := clWhite",
      "RoundRect(100, 200, 157, 230, 10, 10)",  // body
      "RoundRect(110, 203, 137, 227, 10, 10)",  // cabin
      "RoundRect(152, 200, 157, 230, 10, 10)",  // front band
      "Ellipse(152, 200, 157, 203)", "Ellipse(152, 227, 157, 230)",
      "MoveTo(152, 209)", "LineTo(157, 209)", "MoveTo(152, 212)", "LineTo(157, 212)",
      "MoveTo(152, 215)", "LineTo(157, 215)", "MoveTo(152, 218)", "LineTo(157, 218)",
      "MoveTo(152, 221)", "LineTo(157, 221)",
      // the lower windscreen edge starts at Sx + 6p = 130, the upper at X - 4p = 137
      "MoveTo(130, 227)", "LineTo(152, 224)", "MoveTo(137, 203)", "LineTo(152, 206)",
      "Pen.Width := 3",
      "MoveTo(105, 200)", "LineTo(115, 200)", "MoveTo(105, 230)", "LineTo(115, 230)",
      "MoveTo(137, 200)", "LineTo(147, 200)", "MoveTo(137, 230)", "LineTo(147, 230)"};
  EXPECT_THAT(Describe(CarSideScript(s, 157, 230)), ElementsAreArray(want));
}

TEST(CarSide, NarrowerThanTenHasAZeroUnit) {
  const DrawingState s = Pressed(100, 200);
  const Calls c = Describe(CarSideScript(s, 109, 230));  // p = 0, q = 3
  EXPECT_EQ(c[5], "RoundRect(100, 203, 109, 227, 10, 10)");  // cabin spans the full width
  EXPECT_EQ(c[6], "RoundRect(109, 200, 109, 230, 10, 10)");  // band of zero width
  EXPECT_EQ(c[7], "Ellipse(109, 200, 109, 203)");
  EXPECT_EQ(c[9], "MoveTo(109, 209)");
  EXPECT_EQ(c[10], "LineTo(109, 209)");
  EXPECT_EQ(c[19], "MoveTo(100, 227)");  // lower windscreen edge across the whole box
  EXPECT_EQ(c[20], "LineTo(109, 224)");
}

TEST(Cars, UnitsRoundForUprightAndTruncateForSide) {
  struct Case {
    int dx, dy;
    int upright, side;  // SpanX left by each car
  };
  const Case cases[] = {{100, 200, 10, 10}, {25, 0, 2, 2},    {35, 0, 4, 3},  {29, 0, 3, 2},
                        {-29, 0, -3, -2},   {-25, 0, -2, -2}, {-35, 0, -4, -3}, {9, 0, 1, 0},
                        {4, 0, 0, 0}};
  for (const Case& c : cases) {
    TBitmap bmp(300, 300);
    DrawingState s = Pressed(150, 150);
    CommitCarUpright(s, bmp.Canvas(), 150 + c.dx, 150 + c.dy);
    EXPECT_EQ(s.SpanX, c.upright) << c.dx;
    EXPECT_EQ(s.SpanY, RoundMul(c.dy, 0.1L)) << c.dx;
    s = Pressed(150, 150);
    CommitCarSide(s, bmp.Canvas(), 150 + c.dx, 150 + c.dy);
    EXPECT_EQ(s.SpanX, c.side) << c.dx;
    EXPECT_EQ(s.SpanY, c.dy / 10) << c.dx;
  }
}

TEST(Cars, DraggedUpLeftFlipEveryOffset) {
  DrawingState s = Pressed(110, 220);
  const Calls up = Describe(CarUprightScript(s, 10, 20));  // u = -10, v = -20
  EXPECT_EQ(up[5], "RoundRect(100, 140, 20, 60, 10, 10)");  // cabin
  EXPECT_EQ(up[6], "RoundRect(110, 220, 10, 200, 10, 10)");  // front band stays at the press row
  EXPECT_EQ(up[9], "MoveTo(80, 220)");                       // first grille bar
  EXPECT_EQ(up.back(), "LineTo(10, 40)");                     // last wheel stroke

  s = Pressed(157, 230);
  const Calls side = Describe(CarSideScript(s, 100, 200));  // p = -5, q = -3
  EXPECT_EQ(side[5], "RoundRect(147, 227, 120, 203, 10, 10)");  // cabin
  EXPECT_EQ(side[6], "RoundRect(105, 230, 100, 200, 10, 10)");  // front band at the release column

  TBitmap bmp(300, 300);
  CommitCarSide(s, bmp.Canvas(), 100, 200);
  EXPECT_EQ(s.SpanX, -5);
  EXPECT_EQ(s.SpanY, -3);
}

TEST(Plants, NinetyBySixty) {
  const DrawingState s = Pressed(10, 20);
  EXPECT_THAT(Describe(PlantsScript(s, 100, 80)),
              ElementsAre("EraseRubberBand", "Pen.Color := clBlack",
                          "Brush.Color := 0x0000805C", "Ellipse(10, 20, 40, 40)",
                          "Brush.Color := 0x00008084", "Ellipse(70, 60, 100, 80)",
                          "Brush.Color := 0x00008020", "Ellipse(40, 20, 70, 40)",
                          "Brush.Color := 0x000080A2", "Ellipse(70, 20, 100, 40)",
                          "Brush.Color := 0x00008052", "Ellipse(10, 40, 40, 60)",
                          "Brush.Color := 0x00008070", "Ellipse(40, 60, 70, 80)",
                          "Brush.Color := 0x0000803E", "Ellipse(25, 30, 85, 70)",
                          "Brush.Color := 0x00000080", "Ellipse(52, 48, 58, 52)"));
}

TEST(Plants, SmallCellsRoundHalvesToEven) {
  struct Case {
    int dx;
    const char* inset;  // ellipse 7
    const char* dot;    // ellipse 8
  };
  const Case cases[] = {
      {15, "Ellipse(2, 2, 13, 13)", "Ellipse(7, 7, 8, 8)"},  // w = 5: round(2.5) = 2
      {9, "Ellipse(2, 2, 7, 7)", "Ellipse(4, 4, 5, 5)"},     // w = 3: round(1.5) = 2
      {1, "Ellipse(0, 0, 1, 1)", "Ellipse(0, 0, 0, 0)"},     // w = 0
  };
  for (const Case& c : cases) {
    const DrawingState s = Pressed(0, 0);
    const Calls calls = Describe(PlantsScript(s, c.dx, c.dx));
    EXPECT_EQ(calls[15], c.inset) << c.dx;
    EXPECT_EQ(calls[17], c.dot) << c.dx;
  }
  // dx = 1: the cell ellipses of columns 0 and 1 have zero width.
  const Calls thin = Describe(PlantsScript(Pressed(0, 0), 1, 60));
  EXPECT_EQ(thin[3], "Ellipse(0, 0, 0, 20)");
  EXPECT_EQ(thin[7], "Ellipse(0, 0, 0, 20)");
  EXPECT_EQ(thin[13], "Ellipse(0, 40, 0, 60)");
}

TEST(Plants, DraggedUpLeft) {
  const Calls c = Describe(PlantsScript(Pressed(100, 80), 10, 20));  // w = -30, h = -20
  EXPECT_EQ(c[3], "Ellipse(100, 80, 70, 60)");
  EXPECT_EQ(c[5], "Ellipse(40, 40, 10, 20)");
  EXPECT_EQ(c[15], "Ellipse(85, 70, 25, 30)");
  EXPECT_EQ(c[17], "Ellipse(58, 52, 52, 48)");
}

TEST(CarPlantArms, LeaveThePenAndBrushInForce) {
  using Arm = void (*)(DrawingState&, TCanvas&, int, int);
  struct Case {
    const char* name;
    Arm arm;
    int width;
    TColor brush;
  };
  const Case cases[] = {{"car upright", CommitCarUpright, 3, clWhite},
                        {"car side", CommitCarSide, 3, clWhite},
                        {"plants", CommitPlants, 1, 0x000080}};
  for (const Case& c : cases) {
    TBitmap bmp(200, 200);
    TCanvas& cv = bmp.Canvas();
    cv.Pen.SetWidth(7);
    cv.Brush.Color = 0x00FF00;
    DrawingState s = Pressed(20, 30);
    c.arm(s, cv, 140, 150);
    EXPECT_EQ(cv.Pen.Width(), c.width) << c.name;
    EXPECT_EQ(cv.Pen.Color, clBlack) << c.name;
    EXPECT_EQ(cv.Pen.Mode, TPenMode::pmCopy) << c.name;
    EXPECT_EQ(cv.Brush.Color, c.brush) << c.name;
  }
}

TEST(CarPlantArms, CornersAtThe32BitLimitsAreSafe) {
  using Arm = void (*)(DrawingState&, TCanvas&, int, int);
  const std::pair<TPoint, TPoint> drags[] = {{{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
                                             {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}},
                                             {{2, 2}, {INT_MAX, 9}}};
  for (Arm arm : {Arm{CommitCarUpright}, Arm{CommitCarSide}, Arm{CommitPlants}}) {
    for (auto [press, release] : drags) {
      TBitmap bmp(16, 16);
      DrawingState s = Pressed(press.X, press.Y);
      arm(s, bmp.Canvas(), release.X, release.Y);
    }
  }
  TBitmap bmp(16, 16);
  DrawingState s = Pressed(INT_MIN, INT_MAX);
  CommitCarUpright(s, bmp.Canvas(), INT_MAX, INT_MIN);  // dx = 2^32 - 1
  EXPECT_EQ(s.SpanX, 429496730);
  EXPECT_EQ(s.SpanY, -429496730);
  CommitCarSide(s, bmp.Canvas(), INT_MAX, INT_MIN);
  EXPECT_EQ(s.SpanX, 429496729);
  EXPECT_EQ(s.SpanY, -429496729);
}


// On a real bitmap: the wheels, grille and colours land where the grid puts them.
class CarPlantPixels : public ::testing::Test {
 protected:
  TBitmap bmp{260, 260};
  TCanvas& c = bmp.Canvas();
  TColor At(int x, int y) const { return bmp.Canvas().Pixel(x, y); }
  void RubberBand(const DrawingState& s, int x, int y) {
    c.Pen.Mode = TPenMode::pmNotXor;
    c.Brush.Color = clWhite;
    c.Rectangle(s.StartX, s.StartY, x, y);
    c.Pen.Mode = TPenMode::pmCopy;
  }
};

TEST_F(CarPlantPixels, UprightCarWheelsAndGrille) {
  DrawingState s = Pressed(20, 20);
  RubberBand(s, 120, 220);
  ASSERT_EQ(At(119, 219), clBlack);
  CommitCarUpright(s, c, 120, 220);  // u = 10, v = 20
  for (int x : {19, 20, 21}) EXPECT_EQ(At(x, 60), clBlack) << x;  // 3-pixel wheel stroke
  EXPECT_EQ(At(120, 180), clBlack);                               // wheel on the release side
  EXPECT_EQ(At(119, 219), clWhite);  // band's corner, outside the rounded body: erased
  EXPECT_EQ(At(20, 20), clWhite);
  EXPECT_EQ(At(50, 30), clBlack);                                 // grille bar at Sx + 30
  EXPECT_EQ(At(55, 30), clWhite);
  EXPECT_EQ(At(70, 140), clWhite);                                // inside the cabin
}

TEST_F(CarPlantPixels, SideCarDraggedUpLeft) {
  DrawingState s = Pressed(220, 120);
  RubberBand(s, 20, 20);
  ASSERT_EQ(At(219, 119), clBlack);
  CommitCarSide(s, c, 20, 20);  // p = -20, q = -10: front at x = 20..40
  for (int y : {119, 120, 121}) EXPECT_EQ(At(190, y), clBlack) << y;  // wheel from Sx + p
  EXPECT_EQ(At(30, 70), clBlack);   // grille bar at Sy + 5q = 70, across the front band
  EXPECT_EQ(At(30, 75), clWhite);
  EXPECT_EQ(At(219, 119), clWhite);  // band's corners, outside the rounded body: erased
  EXPECT_EQ(At(219, 20), clWhite);
}

TEST_F(CarPlantPixels, PlantColoursByCell) {
  DrawingState s = Pressed(10, 20);
  RubberBand(s, 100, 80);
  ASSERT_EQ(At(10, 79), clBlack);
  CommitPlants(s, c, 100, 80);  // w = 30, h = 20
  EXPECT_EQ(At(25, 30), 0x00805Cu);  // centre of cell (0, 0)
  EXPECT_EQ(At(85, 70), 0x008084u);  // centre of cell (2, 2)
  EXPECT_EQ(At(40, 50), 0x00803Eu);  // the middle ellipse
  EXPECT_EQ(At(10, 79), clWhite);    // the band's corner, outside every ellipse
  EXPECT_EQ(At(99, 20), clWhite);
}

}  // namespace
}  // namespace rv

namespace rv {
namespace {

// Exact round-half-even of n / d for d > 0.
std::int64_t ExactRound(std::int64_t n, std::int64_t d) {
  std::int64_t q = n / d, r = n % d;
  if (r < 0) r += d, --q;  // floor division
  if (2 * r > d || (2 * r == d && (q & 1))) ++q;
  return q;
}

// The factors the symbols scale by must give the rounding of the exact products, also for the
// widest drags (ties such as 4294967295 x 0.1 included).
TEST(SymbolFactors, MatchExactRoundingHalfToEven) {
  std::vector<std::int64_t> values;
  for (std::int64_t v = -3000; v <= 3000; ++v) values.push_back(v);
  for (std::int64_t base : {std::int64_t{INT_MAX}, std::int64_t{INT_MIN}, std::int64_t{4294967295},
                            -std::int64_t{4294967295}, std::int64_t{1} << 30})
    for (std::int64_t k = -40; k <= 40; ++k) values.push_back(base + k);
  for (std::int64_t v : values) {
    if (v > 4294967295 || v < -4294967295) continue;
    ASSERT_EQ(RoundMul(v, 0.1L), ExactRound(v, 10)) << v;
    ASSERT_EQ(RoundMul(v, 0.2L), ExactRound(v, 5)) << v;
    ASSERT_EQ(RoundDiv(v, 6), ExactRound(v, 6)) << v;
    ASSERT_EQ(RoundDiv(v, 3), ExactRound(v, 3)) << v;
    if (std::abs(v) < 1431655765) {  // a third of a 32-bit drag, the largest plant cell
      ASSERT_EQ(RoundMul(v, 0.5L), ExactRound(v, 2)) << v;
      ASSERT_EQ(RoundMul(v, 1.4L), ExactRound(7 * v, 5)) << v;
      ASSERT_EQ(RoundMul(v, 1.6L), ExactRound(8 * v, 5)) << v;
    }
  }
}

}  // namespace
}  // namespace rv
