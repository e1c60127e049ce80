// Hinged door, opening, the two doors and the two toilets: the calls each arm makes, the
// spans it leaves and the canvas settings it leaves in force.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "drawing/commits.h"
#include "drawing/figure_script.h"
#include "tests/engine/gesture_rig.h"

namespace rv {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Calls = std::vector<std::string>;

using test::Pressed;

TEST(WallGap, OpeningBandIsThreePixelsEachSide) {
  struct Case {
    const char* what;
    int sx, sy, x, y;
    const char* polygon;
  };
  const Case cases[] = {
      {"horizontal, dy = 0", 100, 50, 160, 50, "Polygon((100, 53), (160, 53), (160, 47), (100, 47))"},
      {"diagonal dx = dy = 10", 100, 100, 110, 110,
       "Polygon((98, 102), (108, 112), (112, 108), (102, 98))"},
      {"vertical downwards", 100, 50, 100, 90, "Polygon((97, 50), (97, 90), (103, 90), (103, 50))"},
      {"horizontal leftwards", 160, 50, 100, 50,
       "Polygon((160, 47), (100, 47), (100, 53), (160, 53))"},
      {"up-left diagonal", 110, 110, 100, 100,
       "Polygon((112, 108), (102, 98), (98, 102), (108, 112))"},
  };
  for (const Case& c : cases) {
    const DrawingState s = Pressed(c.sx, c.sy);
    EXPECT_THAT(Describe(OpeningScript(s, c.x, c.y)),
                ElementsAre("Pen.Width := 1", "Brush.Color := clWhite", c.polygon))
        << c.what;
  }
}

TEST(WallGap, HingedDoorAddsMiddleLineToLastPreviewedPoint) {
  DrawingState s = Pressed(100, 50);
  s.LastX = 150;  // the preview last saw the pointer here; the release is at (160, 50)
  s.LastY = 50;
  EXPECT_THAT(Describe(HingedDoorScript(s, 160, 50)),
              ElementsAre("Pen.Width := 1", "Brush.Color := clWhite",
                          "Polygon((100, 53), (160, 53), (160, 47), (100, 47))", "MoveTo(100, 50)",
                          "LineTo(150, 50)"));
}

TEST(WallGap, ReleaseOnPressPointDrawsNothingButEndsNormally) {
  DrawingState s = Pressed(70, 40);
  const Calls settingsOnly = {"Pen.Width := 1", "Brush.Color := clWhite"};
  EXPECT_EQ(Describe(OpeningScript(s, 70, 40)), settingsOnly);
  EXPECT_EQ(Describe(HingedDoorScript(s, 70, 40)), settingsOnly);

  TBitmap bmp(200, 100);
  bmp.Canvas().Pen.SetWidth(4);
  CommitHingedDoor(s, bmp.Canvas(), 70, 40);
  EXPECT_EQ(bmp.Canvas().Pen.Width(), 1);
  EXPECT_EQ(bmp.Canvas().Brush.Color, clWhite);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(bmp.Canvas().Pixel(x, y), clWhite);
}

TEST(WallGap, LongSlantedGapsKeepTheOffsetsWithinThree) {
  for (auto [dx, dy] : {std::pair{1000, 1}, {1, 1000}, {-700, 300}, {40000, -40000}}) {
    const DrawingState s = Pressed(0, 0);
    const auto calls = OpeningScript(s, dx, dy).Calls();
    ASSERT_EQ(calls.size(), 3u);
    const auto& p = calls[2].a;
    const int a = -p[0], b = p[1];  // first point is (StartX - a, StartY + b)
    EXPECT_LE(std::abs(a), 3);
    EXPECT_LE(std::abs(b), 3);
    EXPECT_NEAR(a * a + b * b, 9, 4) << dx << "," << dy;
  }
}

TEST(Doors, DoorAOverTheListedDrag) {
  DrawingState s = Pressed(100, 100);
  EXPECT_THAT(Describe(DoorAScript(s, 140, 130)),
              ElementsAre("EraseRubberBand", "Pen.Color := clBlack",
                          "Arc(140, 160, 60, 100, 140, 130, 100, 100)", "MoveTo(100, 100)",
                          "LineTo(100, 130)", "MoveTo(100, 130)", "LineTo(140, 130)"));
  TBitmap bmp(10, 10);
  CommitDoorA(s, bmp.Canvas(), 140, 130);
  EXPECT_EQ(s.SpanX, 40);
  EXPECT_EQ(s.SpanY, 30);
}

TEST(Doors, DoorBOverTheListedDrag) {
  DrawingState s = Pressed(100, 100);
  EXPECT_THAT(Describe(DoorBScript(s, 140, 130)),
              ElementsAre("EraseRubberBand", "Pen.Color := clBlack",
                          "Arc(100, 100, 180, 160, 140, 100, 100, 130)", "MoveTo(100, 130)",
                          "LineTo(140, 130)", "MoveTo(140, 100)", "LineTo(140, 130)"));
  TBitmap bmp(10, 10);
  CommitDoorB(s, bmp.Canvas(), 140, 130);
  EXPECT_EQ(s.SpanX, 40);
  EXPECT_EQ(s.SpanY, 30);
}

TEST(Doors, DraggedUpLeftMirrorTheOffsetsAndLeaveNegativeSpans) {
  DrawingState s = Pressed(140, 130);
  EXPECT_THAT(Describe(DoorAScript(s, 100, 100)),
              ElementsAre("EraseRubberBand", "Pen.Color := clBlack",
                          "Arc(100, 70, 180, 130, 100, 100, 140, 130)", "MoveTo(140, 130)",
                          "LineTo(140, 100)", "MoveTo(140, 100)", "LineTo(100, 100)"));
  EXPECT_THAT(Describe(DoorBScript(s, 100, 100)),
              ElementsAre("EraseRubberBand", "Pen.Color := clBlack",
                          "Arc(140, 130, 60, 70, 100, 130, 140, 100)", "MoveTo(140, 100)",
                          "LineTo(100, 100)", "MoveTo(100, 130)", "LineTo(100, 100)"));
  TBitmap bmp(10, 10);
  CommitDoorB(s, bmp.Canvas(), 100, 100);
  EXPECT_EQ(s.SpanX, -40);
  EXPECT_EQ(s.SpanY, -30);
}

TEST(Toilets, TankAndCornerRoundHalvesToEven) {
  struct Case {
    int dx;
    const char* tank;
  };
  // dx = 30: 6 wide, corner 5; dx = 15: 3 wide, corner round(2.5) = 2; dx = 9: round(1.8) = 2
  // wide, corner round(1.5) = 2; leftwards the tank still sits at the release side.
  const Case cases[] = {
      {30, "RoundRect(124, 10, 130, 50, 5, 5)"},
      {15, "RoundRect(112, 10, 115, 50, 2, 2)"},
      {9, "RoundRect(107, 10, 109, 50, 2, 2)"},
      {-30, "RoundRect(76, 10, 70, 50, -5, -5)"},
  };
  for (const Case& c : cases) {
    const DrawingState s = Pressed(100, 10);
    const int X = 100 + c.dx;
    EXPECT_THAT(Describe(ToiletSideScript(s, X, 50)),
                ElementsAre("EraseRubberBand", "Pen.Color := clBlack", "Pen.Width := 2",
                            "Brush.Color := clWhite", "Ellipse(100, 10, " + std::to_string(X) + ", 50)",
                            c.tank, "Pen.Mode := pmCopy"))
        << c.dx;
  }
}

TEST(Toilets, UprightTankDepthFollowsTheWidthNotTheHeight) {
  const DrawingState s = Pressed(100, 100);
  EXPECT_THAT(Describe(ToiletUprightScript(s, 140, 180)),
              ElementsAre("EraseRubberBand", "Pen.Color := clBlack", "Pen.Width := 2",
                          "Brush.Color := clWhite", "Ellipse(100, 100, 140, 180)",
                          "RoundRect(100, 172, 140, 180, 7, 7)", "Pen.Mode := pmCopy"));
  // Dragged up-left: the tank lies along the release row, pushed below it by the negative dx.
  const DrawingState up = Pressed(140, 180);
  EXPECT_THAT(Describe(ToiletUprightScript(up, 100, 100)),
              ElementsAre("EraseRubberBand", "Pen.Color := clBlack", "Pen.Width := 2",
                          "Brush.Color := clWhite", "Ellipse(140, 180, 100, 100)",
                          "RoundRect(140, 108, 100, 100, -7, -7)", "Pen.Mode := pmCopy"));
}

// The pen and brush each arm leaves for whatever draws next, starting from odd settings.
TEST(FixtureArms, LeaveThePenAndBrushInForce) {
  using Arm = void (*)(DrawingState&, TCanvas&, int, int);
  struct Case {
    const char* name;
    Arm arm;
    int width;
  };
  const Case cases[] = {{"hinged door", CommitHingedDoor, 1}, {"opening", CommitOpening, 1},
                        {"door A", CommitDoorA, 1},          {"door B", CommitDoorB, 1},
                        {"toilet side", CommitToiletSide, 2}, {"toilet upright", CommitToiletUpright, 2}};
  for (const Case& c : cases) {
    TBitmap bmp(200, 200);
    TCanvas& cv = bmp.Canvas();
    cv.Pen.SetWidth(7);
    cv.Brush.Color = 0x000080;
    DrawingState s = Pressed(20, 30);
    c.arm(s, cv, 90, 120);
    EXPECT_EQ(cv.Pen.Width(), c.width) << c.name;
    EXPECT_EQ(cv.Pen.Color, clBlack) << c.name;
    EXPECT_EQ(cv.Pen.Mode, TPenMode::pmCopy) << c.name;
    EXPECT_EQ(cv.Brush.Color, clWhite) << c.name;
  }
}

// Corners at the 32-bit limits: no overflow, the canvas gets values it can clip, and the
// doors store a span of the right sign.
TEST(FixtureArms, CornersAtThe32BitLimitsAreSafe) {
  using Arm = void (*)(DrawingState&, TCanvas&, int, int);
  const Arm arms[] = {CommitHingedDoor, CommitOpening,   CommitDoorA,
                      CommitDoorB,      CommitToiletSide, CommitToiletUpright};
  const std::pair<TPoint, TPoint> drags[] = {{{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
                                             {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}},
                                             {{5, 5}, {INT_MAX, 6}},
                                             {{INT_MIN, 3}, {4, 3}}};
  for (Arm arm : arms) {
    for (auto [press, release] : drags) {
      TBitmap bmp(16, 16);
      DrawingState s = Pressed(press.X, press.Y);
      arm(s, bmp.Canvas(), release.X, release.Y);
    }
  }
  DrawingState s = Pressed(INT_MAX, INT_MIN);
  TBitmap bmp(16, 16);
  CommitDoorA(s, bmp.Canvas(), INT_MIN, INT_MAX);
  EXPECT_EQ(s.SpanX, INT_MIN);
  EXPECT_EQ(s.SpanY, INT_MAX);
}


// On a real bitmap: the band over a 7-pixel wall, the door lines, and the rubber band gone.
class FixturePixels : public ::testing::Test {
 protected:
  TBitmap bmp{240, 200};
  TCanvas& c = bmp.Canvas();
  TColor At(int x, int y) const { return bmp.Canvas().Pixel(x, y); }

  void Wall(int x1, int y1, int x2, int y2) {
    c.Pen.SetWidth(7);
    c.Brush.Color = clWhite;
    c.Rectangle(x1, y1, x2, y2);
    c.Pen.SetWidth(1);
  }
  // What the rectangle preview of the symbol tools leaves on the bitmap.
  void RubberBand(const DrawingState& s, int x, int y) {
    c.Pen.Mode = TPenMode::pmNotXor;
    c.Brush.Color = clWhite;
    c.Rectangle(s.StartX, s.StartY, x, y);
    c.Pen.Mode = TPenMode::pmCopy;
  }
};

TEST_F(FixturePixels, OpeningTurnsTheWallWhiteBetweenItsEnds) {
  Wall(20, 20, 220, 180);
  ASSERT_EQ(At(100, 20), clBlack);
  DrawingState s = Pressed(60, 20);
  CommitOpening(s, c, 140, 20);
  EXPECT_EQ(At(100, 20), clWhite);  // the wall's middle inside the gap
  EXPECT_EQ(At(100, 19), clWhite);
  EXPECT_EQ(At(100, 21), clWhite);
  EXPECT_EQ(At(40, 20), clBlack);   // the wall beyond the gap
  EXPECT_EQ(At(160, 20), clBlack);
  EXPECT_EQ(At(100, 30), clWhite);  // the room inside
}

TEST_F(FixturePixels, HingedDoorDrawsItsLineDownTheMiddleOfTheGap) {
  Wall(20, 20, 220, 180);
  DrawingState s = Pressed(20, 60);  // on the left wall, downwards
  s.LastX = 20;
  s.LastY = 120;
  CommitHingedDoor(s, c, 20, 120);
  EXPECT_EQ(At(20, 90), clBlack);
  EXPECT_EQ(At(19, 90), clWhite);
  EXPECT_EQ(At(21, 90), clWhite);
  EXPECT_EQ(At(20, 40), clBlack);  // the wall above the gap
}

TEST_F(FixturePixels, DoorAErasesTheBandAndDrawsLeafAndThreshold) {
  DrawingState s = Pressed(100, 100);
  RubberBand(s, 140, 130);
  ASSERT_EQ(At(120, 100), clBlack);
  CommitDoorA(s, c, 140, 130);
  EXPECT_EQ(At(120, 100), clWhite);  // band's top edge, away from the arc
  EXPECT_EQ(At(139, 115), clWhite);  // band's right edge
  EXPECT_EQ(At(100, 115), clBlack);  // leaf
  EXPECT_EQ(At(120, 130), clBlack);  // threshold
  EXPECT_EQ(At(110, 120), clWhite);  // inside the swing
}

TEST_F(FixturePixels, DoorBDraggedUpLeft) {
  DrawingState s = Pressed(140, 130);
  RubberBand(s, 100, 100);
  ASSERT_EQ(At(120, 129), clBlack);
  CommitDoorB(s, c, 100, 100);
  EXPECT_EQ(At(120, 129), clWhite);  // band's bottom edge, away from the arc
  EXPECT_EQ(At(120, 100), clBlack);  // threshold from (140, 100) to the hinge (100, 100)
  EXPECT_EQ(At(100, 115), clBlack);  // leaf from (100, 130) to the hinge
}

TEST_F(FixturePixels, ToiletTankCoversTheBowlAtTheReleaseSide) {
  for (bool leftward : {false, true}) {
    bmp.Canvas().Brush.Color = clWhite;
    c.Pen.SetWidth(1);
    bmp.SetSize(0, 0);
    bmp.SetSize(240, 200);
    DrawingState s = Pressed(leftward ? 160 : 40, 40);
    const int X = leftward ? 40 : 160;
    RubberBand(s, X, 100);
    ASSERT_EQ(At(leftward ? 159 : 40, 40), clBlack);
    CommitToiletSide(s, c, X, 100);
    // dx = +-120: the tank is 24 wide at the release side, over the bowl's end.
    const int tankInside = leftward ? 52 : 148;
    EXPECT_EQ(At(tankInside, 70), clWhite) << leftward;
    const int tankEdge = leftward ? 64 : 136;
    EXPECT_TRUE(At(tankEdge, 70) == clBlack || At(tankEdge - 1, 70) == clBlack ||
                At(tankEdge + 1, 70) == clBlack)
        << leftward;
    EXPECT_EQ(At(100, 70), clWhite) << leftward;   // inside the bowl
    EXPECT_EQ(At(leftward ? 159 : 40, 40), clWhite) << leftward;  // press corner: band erased
  }
}

}  // namespace
}  // namespace rv
