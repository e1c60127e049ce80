#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "drawing/commits.h"
#include "tests/engine/gesture_rig.h"

namespace rv {
namespace {

using test::Rig;
using B = TMouseButton;

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(a.BytesPerLine()) * a.Height()) == 0;
}

// Black pixels in a row from x0 to x1 inclusive.
int BlackInRow(Rig& r, int y, int x0, int x1) {
  int n = 0;
  for (int x = x0; x <= x1; ++x) n += r.Px(x, y) == clBlack;
  return n;
}
int BlackInColumn(Rig& r, int x, int y0, int y1) {
  int n = 0;
  for (int y = y0; y <= y1; ++y) n += r.Px(x, y) == clBlack;
  return n;
}
int CountColour(Rig& r, TColor c) {
  int n = 0;
  for (int y = 0; y < r.Bmp().Height(); ++y)
    for (int x = 0; x < r.Bmp().Width(); ++x) n += r.Px(x, y) == c;
  return n;
}

const int kBasicTools[] = {toolFrame, toolRectangle, toolThinLine,
                           toolThickLine, toolEllipse, toolRoundRect};

// However the pointer wandered, what stays is the figure to the release point alone: every
// rubber band on the way was taken off again.
TEST(BasicFigures, WanderingDragLeavesOnlyTheFigure) {
  for (int tool : kBasicTools) {
    Rig wander;
    wander.Drag(tool, 60, 50,
                {{61, 50}, {150, 120}, {20, 10}, {-30, 140}, {190, 149}, {120, 90}});
    Rig straight;
    straight.Drag(tool, 60, 50, {{120, 90}});
    EXPECT_TRUE(SamePixels(wander.Bmp(), straight.Bmp())) << tool;
    EXPECT_GT(CountColour(straight, clBlack), 0) << tool;
  }
}

TEST(BasicFigures, CornersInEitherOrderGiveTheSameFigure) {
  for (int tool : {toolFrame, toolRectangle, toolEllipse, toolRoundRect}) {
    Rig down, up;
    down.Drag(tool, 40, 30, {{100, 80}, {140, 110}});
    up.Drag(tool, 140, 110, {{100, 80}, {40, 30}});
    EXPECT_TRUE(SamePixels(down.Bmp(), up.Bmp())) << tool;
  }
}

TEST(BasicFigures, FrameIsSevenWideWithWhiteInterior) {
  for (int size : {1, 7, 30}) {
    Rig r;
    r.s.PenSize = size;
    r.Press(B::mbLeft, 0, 0);
    r.C().Brush.Color = 0x0000FF;
    r.C().Rectangle(0, 0, 200, 150);  // something to be wiped
    r.Release(B::mbLeft, 0, 0);
    r.Drag(toolFrame, 40, 30, {{100, 80}, {160, 120}});
    EXPECT_EQ(BlackInRow(r, 75, 20, 60), 7) << size;     // left edge
    EXPECT_EQ(BlackInColumn(r, 100, 10, 50), 7) << size;  // top edge
    EXPECT_EQ(r.Px(40, 30), clBlack);
    EXPECT_EQ(r.Px(100, 75), clWhite);   // earlier drawing inside is gone
    EXPECT_EQ(r.Px(180, 75), 0x0000FFu);  // outside untouched
  }
}

TEST(BasicFigures, RectangleEllipseRoundRectShapes) {
  {
    Rig r;
    r.Drag(toolRectangle, 40, 30, {{160, 120}});
    EXPECT_EQ(r.Px(40, 30), clBlack);
    EXPECT_EQ(r.Px(159, 119), clBlack);
    EXPECT_EQ(r.Px(160, 119), clWhite);  // right and bottom edges exclusive
    EXPECT_EQ(BlackInRow(r, 75, 30, 50), 1);
  }
  {
    Rig r;
    r.Drag(toolEllipse, 40, 30, {{160, 120}});
    EXPECT_EQ(r.Px(40, 30), clWhite);  // the box corner is outside the ellipse
    EXPECT_EQ(r.Px(100, 30), clBlack);  // top of the ellipse
    EXPECT_EQ(r.Px(40, 75), clBlack);   // its left end
    EXPECT_EQ(r.Px(100, 75), clWhite);
    EXPECT_EQ(BlackInRow(r, 75, 30, 70), 1);
  }
  {
    Rig r;
    r.Drag(toolRoundRect, 40, 30, {{160, 120}});
    EXPECT_EQ(r.Px(40, 30), clWhite);  // the corner is rounded off
    EXPECT_EQ(r.Px(100, 30), clBlack);
    EXPECT_EQ(r.Px(40, 75), clBlack);
    EXPECT_EQ(r.Px(100, 75), clWhite);
  }
}

TEST(BasicFigures, LinesAndTheirWidths) {
  {
    Rig r;
    r.Drag(toolThinLine, 20, 40, {{100, 40}});
    EXPECT_EQ(r.Px(20, 40), clBlack);
    EXPECT_EQ(r.Px(99, 40), clBlack);
    EXPECT_EQ(r.Px(100, 40), clWhite);  // the end pixel is left out
    EXPECT_EQ(BlackInColumn(r, 60, 0, 149), 1);
  }
  struct Case {
    int size, width;
  };
  for (Case c : {Case{20, 20}, {3, 3}, {-5, 1}}) {
    Rig r;
    r.s.PenSize = c.size;
    r.Drag(toolThickLine, 20, 75, {{180, 75}});
    EXPECT_EQ(BlackInColumn(r, 100, 0, 149), c.width) << c.size;
  }
}

// The settings each arm leaves; a commit after a press starts from what the preview left.
TEST(BasicFigures, PenAndBrushLeftByEachArm) {
  constexpr TColor kFound = 0x123456;
  struct Case {
    int tool, penSize;
    int width;
    TColor brush;
  };
  const Case cases[] = {
      {toolFrame, 30, 7, clWhite},        {toolRectangle, 30, 1, clWhite},
      {toolEllipse, 30, 1, clWhite},      {toolRoundRect, 30, 1, clWhite},
      {toolThinLine, 30, 1, kFound},      {toolThickLine, 30, 30, kFound},
      {toolThickLine, -4, 1, kFound},
  };
  for (const Case& c : cases) {
    Rig r;
    r.s.PenSize = c.penSize;
    r.s.CurrentTool = c.tool;
    r.Press(B::mbLeft, 20, 20);
    r.C().Brush.Color = kFound;
    r.Move(80, 70);
    r.Release(B::mbLeft, 80, 70);
    EXPECT_EQ(r.C().Pen.Width(), c.width) << c.tool;
    EXPECT_EQ(r.C().Pen.Color, clBlack) << c.tool;
    EXPECT_EQ(r.C().Brush.Color, c.brush) << c.tool;
    EXPECT_EQ(r.C().Pen.Mode, TPenMode::pmCopy) << c.tool;
    EXPECT_EQ(r.s.SpanX, c.tool == toolFrame || c.tool == toolRectangle ? 60 : 0) << c.tool;
  }
}

TEST(BasicFigures, RubberBandEraseRestoresThePixels) {
  Rig r;
  r.Press(B::mbLeft, 0, 0);
  r.C().Brush.Color = 0x00AA55;
  r.C().Ellipse(10, 10, 120, 100);
  Rig clean;
  clean.Press(B::mbLeft, 0, 0);
  clean.C().Brush.Color = 0x00AA55;
  clean.C().Ellipse(10, 10, 120, 100);
  r.s.CurrentTool = toolCarSide;
  r.Move(90, 70);  // the rectangle preview those symbols show
  EXPECT_FALSE(SamePixels(r.Bmp(), clean.Bmp()));
  EraseRubberBand(r.s, r.C(), 90, 70);
  EXPECT_TRUE(SamePixels(r.Bmp(), clean.Bmp()));
  EXPECT_EQ(r.C().Pen.Mode, TPenMode::pmCopy);
  EXPECT_EQ(r.C().Pen.Width(), 1);
  EXPECT_EQ(r.C().Brush.Color, clWhite);
}

TEST(Release, NoCommitWithoutMovementOrWithOtherButtons) {
  Rig r;
  r.Press(B::mbLeft, 20, 20);
  r.Release(B::mbLeft, 80, 70);  // no move in between
  EXPECT_EQ(CountColour(r, clBlack), 0);

  // A right release mid-drag ends the gesture; the last rubber band stays in the picture.
  r.Press(B::mbLeft, 20, 20);
  r.Move(80, 70);
  const int band = CountColour(r, clBlack);
  EXPECT_GT(band, 0);
  EXPECT_EQ(r.Px(20, 45), clBlack);
  r.Release(B::mbRight, 80, 70);
  EXPECT_FALSE(r.s.PenDown);
  r.Release(B::mbLeft, 80, 70);  // the later left release does nothing
  EXPECT_EQ(CountColour(r, clBlack), band);
  EXPECT_EQ(r.Px(50, 45), clWhite);
}

TEST(Release, AwayFromTheLastPreviewLeavesItsBand) {
  Rig q;
  q.s.CurrentTool = toolRectangle;
  q.Press(B::mbLeft, 20, 20);
  q.Move(120, 100);
  q.Release(B::mbLeft, 60, 60);
  EXPECT_EQ(q.Px(119, 80), clBlack);  // right edge of the last band
  EXPECT_EQ(q.Px(59, 40), clBlack);   // right edge of the figure
  EXPECT_EQ(q.Px(40, 40), clWhite);
}

TEST(Release, FromMovedStateCommitsFromTheLastPress) {
  Rig r;
  r.Press(B::mbRight, 20, 20);  // start point, no drag
  r.Move(100, 90);              // Moved
  r.Release(B::mbLeft, 100, 90);
  EXPECT_EQ(BlackInRow(r, 55, 0, 60), 7);
  EXPECT_EQ(r.Px(60, 55), clWhite);
  EXPECT_EQ(r.s.FrameRight, 100);
}

TEST(Release, FarOffPointsDrawOnlyWhatFallsInside) {
  for (int tool : kBasicTools) {
    Rig r;
    r.Drag(tool, 100, 75, {{INT_MIN, INT_MIN}, {-50000, 90000}, {INT_MAX, INT_MAX}});
    EXPECT_EQ(r.Bmp().Width(), 200) << tool;
  }
}

TEST(Eraser, WhiteSquaresAtReportedPointsOnly) {
  Rig r;
  r.s.CurrentTool = toolEraser;
  r.Press(B::mbLeft, 100, 50);
  r.C().Brush.Color = clBlack;
  r.C().Rectangle(0, 0, 200, 150);
  r.Move(100, 50);
  for (int y = 55; y <= 61; ++y)
    for (int x = 105; x <= 111; ++x) EXPECT_EQ(r.Px(x, y), clWhite) << x << "," << y;
  EXPECT_EQ(CountColour(r, clWhite), 49);
  EXPECT_EQ(r.Px(104, 55), clBlack);
  EXPECT_EQ(r.Px(112, 55), clBlack);
  EXPECT_EQ(r.Px(105, 62), clBlack);
  // A fast move leaves a gap.
  r.Move(130, 50);
  EXPECT_EQ(r.Px(120, 58), clBlack);
  EXPECT_EQ(r.Px(135, 58), clWhite);
  r.Release(B::mbLeft, 130, 50);  // nothing erased at the release
  EXPECT_EQ(CountColour(r, clWhite), 98);
}

TEST(Fill, FillsTheRegionWithTheButtonsColour) {
  struct Case {
    B button;
    TColor want;
  };
  for (Case c : {Case{B::mbLeft, 0x008000}, {B::mbRight, 0x000080}, {B::mbMiddle, clWhite}}) {
    Rig r;
    r.Drag(toolRectangle, 20, 20, {{80, 70}});
    r.s.CurrentTool = toolFill;
    r.Press(c.button, 50, 40);
    EXPECT_EQ(r.Px(50, 40), c.want);
    EXPECT_EQ(r.Px(21, 21), c.want);
    EXPECT_EQ(r.Px(20, 20), clBlack);
    EXPECT_EQ(r.Px(100, 100), clWhite);
  }
  // The same colour again changes nothing.
  Rig r;
  r.s.CurrentTool = toolFill;
  r.s.ForeColor = clWhite;
  r.Press(B::mbLeft, 50, 40);
  EXPECT_EQ(CountColour(r, clWhite), 200 * 150);
}

TEST(Text, StampsAtThePressWithoutBackground) {
  for (B b : {B::mbLeft, B::mbRight, B::mbMiddle}) {
    Rig r;
    r.Press(B::mbRight, 0, 0);
    r.C().Brush.Color = 0x0000FF;
    r.C().Rectangle(-1, -1, 201, 151);
    r.s.CurrentTool = toolText;
    r.ui.text_source = "和室";
    r.Press(b, 10, 10);
    EXPECT_EQ(r.C().Brush.Color, clNone);
    int red = 0, other = 0;
    for (int y = 10; y < 22; ++y)
      for (int x = 10; x < 34; ++x) (r.Px(x, y) == 0x0000FFu ? red : other)++;
    EXPECT_GT(other, 10) << static_cast<int>(b);
    EXPECT_GT(red, 10) << static_cast<int>(b);  // no box painted behind the glyphs
    EXPECT_EQ(r.Px(5, 5), 0x0000FFu);
  }
}

TEST(Repaint, OnlyTheChangedRectangle) {
  Rig r;
  r.Press(B::mbLeft, 40, 30);
  r.ui.repaints.clear();
  r.Move(100, 80);
  ASSERT_EQ(r.ui.repaints.size(), 1u);
  const TRect band = r.ui.repaints[0];
  // The frame's pen reaches a few pixels past the corners, not much more.
  EXPECT_TRUE((TRect{30, 20, 110, 90}.Intersected(band) == band)) << band.Left << "," << band.Top
                                                                     << "," << band.Right << ","
                                                                     << band.Bottom;
  EXPECT_TRUE(band.Intersected({40, 30, 100, 80}) == (TRect{40, 30, 100, 80}));
}

}  // namespace
}  // namespace rv
