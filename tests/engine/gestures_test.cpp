#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/engine/gesture_rig.h"

namespace rv {
namespace {

using test::Rig;
using B = TMouseButton;

// Steps of a gesture script, with the flags expected after each.
struct Step {
  char ev;  // 'P' press, 'M' move, 'R' release
  B button;
  bool penDown, dragMoved;
};

TEST(GestureStates, Transitions) {
  const B L = B::mbLeft, Rt = B::mbRight, Mid = B::mbMiddle;
  const std::vector<std::vector<Step>> scripts = {
      // Idle -> Pressed -> Dragging -> Idle
      {{'P', L, true, false}, {'M', L, true, true}, {'M', L, true, true}, {'R', L, false, false}},
      // Idle -> Moved -> Pressed -> Idle (release without movement)
      {{'M', L, false, true}, {'P', L, true, false}, {'R', L, false, false}},
      // Right and middle presses change neither flag.
      {{'P', Rt, false, false}, {'M', L, false, true}, {'P', Mid, false, true}, {'R', Rt, false, false}},
      {{'P', L, true, false}, {'M', L, true, true}, {'P', Rt, true, true}, {'R', Rt, false, false},
       {'R', L, false, false}},
      // Any release ends a Pressed gesture.
      {{'P', L, true, false}, {'R', Mid, false, false}},
  };
  for (size_t i = 0; i < scripts.size(); ++i) {
    Rig r;
    int x = 20;
    for (size_t k = 0; k < scripts[i].size(); ++k) {
      const Step& st = scripts[i][k];
      x += 10;
      if (st.ev == 'P') r.Press(st.button, x, x);
      if (st.ev == 'M') r.Move(x, x);
      if (st.ev == 'R') r.Release(st.button, x, x);
      EXPECT_EQ(r.s.PenDown, st.penDown) << "script " << i << " step " << k;
      EXPECT_EQ(r.s.DragMoved, st.dragMoved) << "script " << i << " step " << k;
    }
  }
}

TEST(Press, EveryButtonRecordsStartAndEnablesUndo) {
  for (B b : {B::mbLeft, B::mbRight, B::mbMiddle}) {
    Rig r;
    auto other = test::MakeSurface(80, 60, "newimage2");
    r.Press(other, b, 15, 25);
    EXPECT_EQ(r.s.ActiveImage.lock(), other);
    EXPECT_TRUE(r.ui.undo_enabled);
    EXPECT_EQ(r.s.StartX, 15);
    EXPECT_EQ(r.s.StartY, 25);
    EXPECT_EQ(r.s.LastX, 15);
    EXPECT_EQ(r.s.LastY, 25);
    EXPECT_EQ(r.s.FrameLeft, 15);
    EXPECT_EQ(r.s.FrameTop, 25);
    // The first press makes the white bitmap of the control's size and shows all of it.
    ASSERT_EQ(other->Picture().Kind(), GraphicKind::Bitmap);
    EXPECT_EQ(other->Picture().Width(), 80);
    EXPECT_EQ(other->Picture().Height(), 60);
    ASSERT_FALSE(r.ui.repaints.empty());
    EXPECT_EQ(r.ui.repaints.front(), (TRect{0, 0, 80, 60}));
    TCanvas& c = other->Picture().Bitmap()->Canvas();
    EXPECT_EQ(c.PenPos(), (TPoint{15, 25}));
    EXPECT_EQ(c.Pen.Width(), 1);
    EXPECT_EQ(r.s.UndoBitmap != nullptr, b == B::mbLeft);
  }
}

TEST(Press, FrameCornerOnlyForFrameAndRectangle) {
  for (int tool : {toolFrame, toolRectangle, toolEllipse, toolEraser}) {
    Rig r;
    r.s.CurrentTool = tool;
    r.Press(B::mbRight, 15, 25);
    r.Release(B::mbMiddle, 40, 45);
    const bool framed = tool == toolFrame || tool == toolRectangle;
    EXPECT_EQ(r.s.FrameLeft, framed ? 15 : 0) << tool;
    EXPECT_EQ(r.s.FrameTop, framed ? 25 : 0) << tool;
    EXPECT_EQ(r.s.FrameRight, framed ? 40 : 0) << tool;
    EXPECT_EQ(r.s.FrameBottom, framed ? 45 : 0) << tool;
  }
}

TEST(Press, IconOrMetafileStopsAfterEnablingUndo) {
  for (GraphicKind k : {GraphicKind::Icon, GraphicKind::Metafile}) {
    Rig r;
    auto icon = test::MakeSurface(40, 40, "newimage2");
    icon->Picture().SetForeign(std::make_unique<test::StubForeign>(k));
    r.s.StartX = 3;
    try {
      r.Press(icon, B::mbLeft, 10, 10);
      ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
      EXPECT_STREQ(e.what(), kMsgCanvasNeedsBitmap);
    }
    EXPECT_EQ(r.s.ActiveImage.lock(), icon);
    EXPECT_TRUE(r.ui.undo_enabled);
    EXPECT_EQ(r.s.StartX, 3);
    EXPECT_FALSE(r.s.PenDown);
    EXPECT_EQ(r.s.UndoBitmap, nullptr);
  }
}

TEST(Press, SnapshotIsTakenBeforeTheToolActs) {
  Rig r;
  r.Press(B::mbLeft, 5, 5);  // makes the bitmap
  r.C().SetPixel(1, 1, 0x0000FF);
  r.s.CurrentTool = toolText;
  r.Press(B::mbLeft, 10, 10);
  ASSERT_NE(r.s.UndoBitmap, nullptr);
  EXPECT_EQ(r.s.UndoBitmap->Canvas().Pixel(1, 1), 0x0000FFu);
  EXPECT_EQ(r.C().Brush.Color, clNone);
  // A right press keeps the old snapshot.
  r.C().SetPixel(2, 2, 0x0000FF);
  TBitmap* snap = r.s.UndoBitmap.get();
  r.Press(B::mbRight, 10, 10);
  EXPECT_EQ(r.s.UndoBitmap.get(), snap);
  EXPECT_EQ(r.s.UndoBitmap->Canvas().Pixel(2, 2), clWhite);
}

TEST(Fill, ButtonPicksTheColour) {
  struct Case {
    B button;
    TColor brush;
  };
  for (Case c : {Case{B::mbLeft, 0x008000}, {B::mbRight, 0x000080}, {B::mbMiddle, 0x123456}}) {
    Rig r;
    r.s.CurrentTool = toolFill;
    r.Press(B::mbMiddle, 0, 0);
    r.C().SetPixel(30, 30, 0x00FFFF);
    r.C().Brush.Color = 0x123456;
    r.Press(c.button, 30, 30);
    EXPECT_EQ(r.s.FillTargetColor, 0x00FFFFu);
    EXPECT_EQ(r.C().Brush.Color, c.brush);
  }
}

TEST(Eraser, OutlineLifeCycle) {
  Rig r;
  r.s.CurrentTool = toolEraser;
  r.Press(B::mbLeft, 100, 50);
  ASSERT_EQ(r.ui.outlines.size(), 1u);
  const int h = r.s.EraserShape;
  EXPECT_EQ(r.ui.outlines.at(h).name, "newsahpe1");
  EXPECT_FALSE(r.ui.outlines.at(h).visible);
  EXPECT_EQ(r.s.EraserShapeCount, 1);

  r.Move(100, 50);
  const test::EraserOutline& o = r.ui.outlines.at(h);
  EXPECT_TRUE(o.visible);
  EXPECT_EQ((TRect{o.left, o.top, o.left + o.width, o.top + o.height}), (TRect{105, 55, 112, 62}));
  EXPECT_EQ(r.s.LastX, 100);  // the eraser leaves the rubber-band end alone
  EXPECT_EQ(r.C().Pen.Color, clWhite);
  EXPECT_EQ(r.C().Brush.Color, clWhite);
  EXPECT_EQ(r.C().Pen.Width(), 1);

  r.Release(B::mbLeft, 100, 50);
  EXPECT_EQ(r.ui.destroyed, 1);
  EXPECT_TRUE(r.ui.outlines.empty());

  // A left release from the Moved state after that must not touch the destroyed outline.
  r.Move(10, 10);
  r.Release(B::mbLeft, 10, 10);
  EXPECT_EQ(r.ui.destroyed, 1);

  // The next one is numbered on.
  r.Press(B::mbRight, 10, 10);
  EXPECT_EQ(r.ui.outlines.at(r.s.EraserShape).name, "newsahpe2");
}

TEST(Eraser, OutlinesThatDoNotEndByLeftDragStay) {
  Rig r;
  r.s.CurrentTool = toolEraser;
  r.Press(B::mbRight, 10, 10);
  r.Move(20, 20);
  r.Release(B::mbRight, 20, 20);
  r.Press(B::mbLeft, 10, 10);
  r.Release(B::mbLeft, 10, 10);
  EXPECT_EQ(r.ui.outlines.size(), 2u);
  EXPECT_EQ(r.ui.destroyed, 0);
  for (auto& [h, o] : r.ui.outlines) EXPECT_FALSE(o.visible) << o.name;
}

TEST(Eraser, MissingOrVanishedOutlineIsNotTouched) {
  // The size box switched the tool to the eraser mid-gesture: no outline was made.
  Rig r;
  r.Press(B::mbLeft, 10, 10);
  r.s.CurrentTool = toolEraser;
  r.Move(20, 20);
  r.Release(B::mbLeft, 20, 20);
  EXPECT_TRUE(r.ui.outlines.empty());

  // The outline's document window went away under it.
  Rig q;
  q.s.CurrentTool = toolEraser;
  q.Press(B::mbLeft, 10, 10);
  q.ui.outlines.clear();
  q.Move(20, 20);
  q.Release(B::mbLeft, 20, 20);
  EXPECT_EQ(q.ui.destroyed, 0);
  EXPECT_EQ(q.s.EraserShape, 0);
}

TEST(Eraser, ExtremeSizesAndPointsAreSafe) {
  for (int size : {0, -5, INT_MAX}) {
    Rig r;
    r.s.CurrentTool = toolEraser;
    r.s.PenSize = size;
    r.Press(B::mbLeft, 10, 10);
    r.Move(INT_MAX, INT_MAX);
    r.Move(-100, 20);
    r.Release(B::mbLeft, -100, 20);
    EXPECT_EQ(r.ui.destroyed, 1) << size;
  }
}

TEST(Undo, RestoresTheSnapshotAndDisablesTheButton) {
  Rig r;
  r.Press(B::mbLeft, 5, 5);
  r.C().SetPixel(3, 3, 0x0000FF);
  r.Press(B::mbLeft, 5, 5);  // snapshot with the red pixel
  r.C().SetPixel(4, 4, 0x00FF00);
  r.C().Font.Height = 30;
  r.ui.repaints.clear();
  UndoLastPress(r.s, r.ui);
  EXPECT_FALSE(r.ui.undo_enabled);
  EXPECT_EQ(r.Px(3, 3), 0x0000FFu);
  EXPECT_EQ(r.Px(4, 4), clWhite);
  EXPECT_EQ(r.C().Font, TFont{});  // the new bitmap has the default font again
  ASSERT_EQ(r.ui.repaints.size(), 1u);
  EXPECT_EQ(r.ui.repaints[0], (TRect{0, 0, 200, 150}));
  // The picture took its own copy: drawing on it leaves the snapshot alone.
  ASSERT_NE(r.s.UndoBitmap, nullptr);
  EXPECT_NE(&r.Bmp(), r.s.UndoBitmap.get());
  r.C().SetPixel(6, 6, 0);
  EXPECT_EQ(r.s.UndoBitmap->Canvas().Pixel(6, 6), clWhite);
  // Undo again still restores the same snapshot.
  UndoLastPress(r.s, r.ui);
  EXPECT_EQ(r.Px(6, 6), clWhite);
}

TEST(Undo, WithoutSnapshotEmptiesThePicture) {
  Rig r;
  r.Press(B::mbRight, 5, 5);
  EXPECT_TRUE(r.ui.undo_enabled);
  UndoLastPress(r.s, r.ui);
  EXPECT_TRUE(r.a->Picture().Empty());
  EXPECT_FALSE(r.ui.undo_enabled);
  // The next press gives a white bitmap of the surface's current size.
  r.a->SetControlSize(90, 70);
  r.Press(B::mbRight, 5, 5);
  EXPECT_EQ(r.Bmp().Width(), 90);
  EXPECT_EQ(r.Bmp().Height(), 70);
}

TEST(Undo, GoesToTheActiveSurfaceEvenIfTheSnapshotCameFromAnother) {
  Rig r;
  r.Press(B::mbLeft, 5, 5);
  r.C().SetPixel(1, 1, 0x0000FF);
  r.Press(B::mbLeft, 5, 5);
  auto other = test::MakeSurface(30, 20, "newimage2");
  r.Press(other, B::mbRight, 2, 2);
  UndoLastPress(r.s, r.ui);
  ASSERT_NE(other->Picture().Bitmap(), nullptr);
  EXPECT_EQ(other->Picture().Width(), 200);
  EXPECT_EQ(other->Picture().Bitmap()->Canvas().Pixel(1, 1), 0x0000FFu);
}

TEST(Undo, ClosedSurfaceIsNotTouched) {
  Rig r;
  r.Press(B::mbLeft, 5, 5);
  r.a.reset();
  UndoLastPress(r.s, r.ui);
  EXPECT_TRUE(r.ui.undo_enabled);
  EXPECT_NE(r.s.UndoBitmap, nullptr);
}

TEST(Undo, FailureDropsTheSnapshotQuietly) {
  struct FailingUi : test::FakeUi {
    void SetUndoEnabled(bool e) override {
      if (!e) throw std::runtime_error("no");
      undo_enabled = e;
    }
  };
  Rig r;
  FailingUi ui;
  PressSurface(r.s, ui, r.a, B::mbLeft, 5, 5);
  EXPECT_NO_THROW(UndoLastPress(r.s, ui));
  EXPECT_EQ(r.s.UndoBitmap, nullptr);
  EXPECT_TRUE(ui.undo_enabled);
}

// A surface whose window has no client area gets a 0 x 0 bitmap; nothing may break on it.
TEST(Press, ZeroSizedSurfaceIsSafe) {
  for (int tool : {toolFill, toolText, toolEraser, toolFrame, toolThickLine, toolRoundRect}) {
    Rig r;
    r.a->SetControlSize(0, 0);
    r.s.CurrentTool = tool;
    r.Press(B::mbRight, 3, 3);
    r.Press(B::mbLeft, 0, 0);
    r.Move(10, 10);
    r.Release(B::mbLeft, 10, 10);
    UndoLastPress(r.s, r.ui);
    EXPECT_EQ(r.a->Picture().Width(), 0) << tool;
    EXPECT_TRUE(r.ui.repaints.empty()) << tool;
  }
}

TEST(Release, ClosedSurfaceGetsNoCommit) {
  Rig r;
  r.Press(B::mbLeft, 10, 10);
  r.Move(50, 50);
  auto keep = r.a;
  const TRect before = r.ui.repaints.back();
  r.s.ActiveImage.reset();
  r.Release(B::mbLeft, 50, 50);
  EXPECT_FALSE(r.s.PenDown);
  EXPECT_FALSE(r.s.DragMoved);
  EXPECT_EQ(r.ui.repaints.back(), before);
}

}  // namespace
}  // namespace rv
