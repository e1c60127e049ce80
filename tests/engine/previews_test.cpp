#include <gtest/gtest.h>

#include <climits>

#include "drawing/rounding.h"
#include "tests/engine/gesture_rig.h"

namespace rv {
namespace {

using test::Rig;
using B = TMouseButton;

TEST(SizeReadout, PiecesRatiosAndArea) {
  struct Case {
    int spanX, spanY;
    const char* want;
  };
  const Case cases[] = {
      {100, 50, "間取りサイズ　縦・横　50 : 100　　比率 33 : 67    面積 5000"},
      // Exact halves go to the even neighbour.
      {3, 5, "間取りサイズ　縦・横　5 : 3　　比率 62 : 38    面積 15"},
      {1, 7, "間取りサイズ　縦・横　7 : 1　　比率 88 : 12    面積 7"},
      // Signed spans: the ratio leaves 0..100.
      {-50, 30, "間取りサイズ　縦・横　30 : -50　　比率 -150 : 250    面積 -1500"},
      // Sum and area wrap at 32 bits instead of overflowing.
      {INT_MAX, 1, "間取りサイズ　縦・横　1 : 2147483647　　比率 0 : -100    面積 2147483647"},
      {65536, 65536, "間取りサイズ　縦・横　65536 : 65536　　比率 50 : 50    面積 0"},
      {INT_MIN, -1, "間取りサイズ　縦・横　-1 : -2147483648　　比率 0 : -100    面積 -2147483648"},
  };
  for (const Case& c : cases) {
    auto text = SizeReadout(c.spanX, c.spanY);
    ASSERT_TRUE(text.has_value()) << c.spanX << "," << c.spanY;
    EXPECT_EQ(*text, c.want) << c.spanX << "," << c.spanY;
  }
}

TEST(SizeReadout, NothingWhenSpansCancel) {
  EXPECT_FALSE(SizeReadout(40, -40).has_value());
  EXPECT_FALSE(SizeReadout(0, 0).has_value());
  EXPECT_FALSE(SizeReadout(INT_MIN, INT_MIN).has_value());  // the sum wraps to 0
}

TEST(Move, WithoutButtonOnlyReadsOut) {
  Rig r;
  r.Move(5, -3);
  EXPECT_EQ(r.ui.pointer_readout, "X:5  Y:-3");
  EXPECT_TRUE(r.s.DragMoved);
  EXPECT_FALSE(r.s.PenDown);
  EXPECT_EQ(r.ui.cursors.at(r.a.get()), TCursor::crCross);
  // Nothing drew, so the surface never even got its bitmap.
  EXPECT_TRUE(r.a->Picture().Empty());
  EXPECT_TRUE(r.ui.repaints.empty());
}

TEST(Move, OverAnotherSurfaceSetsTheActiveCursor) {
  Rig r;
  auto other = test::MakeSurface(50, 50, "newimage2");
  MoveOverSurface(r.s, r.ui, *other, 12, 34);
  EXPECT_EQ(r.ui.pointer_readout, "X:12  Y:34");
  EXPECT_EQ(r.ui.cursors.count(other.get()), 0u);
  EXPECT_EQ(r.ui.cursors.at(r.a.get()), TCursor::crCross);
}

TEST(Move, ClosedActiveSurfaceIsLeftAlone) {
  Rig r;
  r.Press(B::mbLeft, 10, 10);
  auto other = test::MakeSurface(50, 50, "newimage2");
  r.a.reset();  // its document window closed mid-gesture
  MoveOverSurface(r.s, r.ui, *other, 30, 40);
  EXPECT_EQ(r.ui.pointer_readout, "X:30  Y:40");
  EXPECT_TRUE(r.ui.cursors.empty());
  EXPECT_EQ(r.s.LastX, 10);
  ReleaseSurface(r.s, r.ui, *other, B::mbLeft, 30, 40);
  EXPECT_FALSE(r.s.PenDown);
  EXPECT_TRUE(other->Picture().Empty());
}

TEST(Move, FrameSpansAndStatus) {
  Rig r;
  r.Press(B::mbLeft, 10, 20);
  r.Move(110, 70);
  EXPECT_EQ(r.s.SpanX, 100);
  EXPECT_EQ(r.s.SpanY, 50);
  EXPECT_EQ(r.ui.status_text, "間取りサイズ　縦・横　50 : 100　　比率 33 : 67    面積 5000");
  EXPECT_EQ(r.s.LastX, 110);
  EXPECT_EQ(r.s.LastY, 70);

  // Spans summing to 0 keep the old text but still take the new values.
  r.Move(50, -20);
  EXPECT_EQ(r.s.SpanX, 40);
  EXPECT_EQ(r.s.SpanY, -40);
  EXPECT_EQ(r.ui.status_text, "間取りサイズ　縦・横　50 : 100　　比率 33 : 67    面積 5000");

  // The spans are those of the last move, not of the release point.
  r.Release(B::mbLeft, 90, 90);
  EXPECT_EQ(r.s.SpanX, 40);
  EXPECT_EQ(r.s.SpanY, -40);
  EXPECT_EQ(r.s.FrameRight, 90);
  EXPECT_EQ(r.s.FrameBottom, 90);
}

TEST(Move, OnlyFrameAndRectangleReadOutSize) {
  for (int tool : {toolEllipse, toolThickLine, toolCarSide, toolFill, toolText, toolNone}) {
    Rig r;
    r.s.CurrentTool = tool;
    r.Press(B::mbLeft, 10, 20);
    r.Move(110, 70);
    EXPECT_EQ(r.s.SpanX, 0) << tool;
    EXPECT_TRUE(r.ui.status_text.empty()) << tool;
  }
  Rig r;
  r.s.CurrentTool = toolRectangle;
  r.Press(B::mbLeft, 10, 20);
  r.Move(13, 25);
  EXPECT_EQ(r.ui.status_text, "間取りサイズ　縦・横　5 : 3　　比率 62 : 38    面積 15");
}

TEST(Move, FarOffPointerWrapsSpans) {
  Rig r;
  r.Press(B::mbLeft, 10, 20);
  r.Move(INT_MIN, INT_MAX);
  EXPECT_EQ(r.s.SpanX, WrapSub(INT_MIN, 10));
  EXPECT_EQ(r.s.SpanY, INT_MAX - 20);
  EXPECT_EQ(r.ui.pointer_readout, "X:-2147483648  Y:2147483647");
  r.Move(INT_MAX, INT_MIN);
  r.Release(B::mbLeft, INT_MAX, INT_MIN);
  EXPECT_EQ(r.Bmp().Width(), 200);
}

// The pen and brush each preview leaves, which the commit at the release starts from.
TEST(Move, PenAndBrushEachPreviewLeaves) {
  constexpr TColor kPrior = 0x123456;  // a brush colour some earlier drawing left
  struct Case {
    int tool;
    int width;
    TColor pen, brush;
  };
  const Case cases[] = {
      {toolFrame, 7, clBlack, clWhite},      {toolRectangle, 1, clBlack, clWhite},
      {toolEllipse, 1, clBlack, clWhite},    {toolRoundRect, 1, clBlack, clWhite},
      {toolPlants, 1, clBlack, clWhite},     {toolToiletSide, 1, clBlack, clWhite},
      {toolToiletUpright, 1, clBlack, clWhite}, {toolDoorA, 1, clBlack, clWhite},
      {toolDoorB, 1, clBlack, clWhite},      {toolCarUpright, 1, clBlack, clWhite},
      {toolCarSide, 1, clBlack, clWhite},    {toolThickLine, 20, clBlack, kPrior},
      {toolHingedDoor, 1, clBlack, kPrior},  {toolThinLine, 1, clBlack, kPrior},
      {toolOpening, 1, clBlack, kPrior},
  };
  for (const Case& c : cases) {
    Rig r;
    r.s.PenSize = 20;
    r.s.CurrentTool = c.tool;
    r.Press(B::mbLeft, 30, 30);
    r.C().Brush.Color = kPrior;
    r.C().Pen.Color = 0x00FF00;
    r.C().Pen.SetWidth(3);
    r.Move(60, 50);
    EXPECT_EQ(r.C().Pen.Width(), c.width) << c.tool;
    EXPECT_EQ(r.C().Pen.Color, c.pen) << c.tool;
    EXPECT_EQ(r.C().Brush.Color, c.brush) << c.tool;
    EXPECT_EQ(r.C().Pen.Mode, TPenMode::pmCopy) << c.tool;
    EXPECT_EQ(r.s.LastX, 60) << c.tool;
  }
}

TEST(Move, ToolsWithoutPreviewTouchNothing) {
  for (int tool : {toolFill, toolText, toolNone, 99}) {
    Rig r;
    r.s.CurrentTool = tool;
    r.Press(B::mbMiddle, 30, 30);
    r.s.PenDown = true;
    r.C().Brush.Color = 0x123456;
    r.Move(60, 50);
    EXPECT_EQ(r.C().Brush.Color, 0x123456u) << tool;
    EXPECT_EQ(r.s.LastX, 30) << tool;
  }
}

}  // namespace
}  // namespace rv
