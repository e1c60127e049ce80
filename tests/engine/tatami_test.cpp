// The tatami command: the fill, the orientation test, the grid and the joints of every
// arrangement, and what it leaves in the drawing state and on the canvas.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "drawing/surface.h"
#include "tatami/tatami.h"
#include "tests/engine/gesture_rig.h"

namespace rv {
namespace {

using ::testing::ElementsAre;

DrawingState Frame(int l, int t, int r, int b, int spanX, int spanY) {
  DrawingState s;
  s.FrameLeft = l;
  s.FrameTop = t;
  s.FrameRight = r;
  s.FrameBottom = b;
  s.SpanX = spanX;
  s.SpanY = spanY;
  return s;
}

// The plan split the way the worked example lists it.
struct Laid {
  std::string fill;                 // "(x, y)"
  std::string grid;                 // "u, v", or "" when it stopped after the fill
  std::string segments;             // "(x1, y1)–(x2, y2); ..."
  std::vector<std::string> prefix;  // the calls before the first joint
};

Laid Lay(const DrawingState& s, int item) {
  const TatamiPlan plan = PlanTatami(s, item);
  const auto& calls = plan.calls.Calls();
  Laid out;
  EXPECT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[1].kind, CallKind::FloodFill);
  out.fill = "(" + std::to_string(calls[1].a[0]) + ", " + std::to_string(calls[1].a[1]) + ")";
  if (plan.grid) out.grid = std::to_string(plan.grid->u) + ", " + std::to_string(plan.grid->v);
  std::size_t i = 0;
  for (; i < calls.size() && calls[i].kind != CallKind::MoveTo; ++i)
    out.prefix.push_back(Describe(calls[i]));
  for (; i + 1 < calls.size(); i += 2) {
    EXPECT_EQ(calls[i].kind, CallKind::MoveTo);
    EXPECT_EQ(calls[i + 1].kind, CallKind::LineTo);
    if (!out.segments.empty()) out.segments += "; ";
    out.segments += "(" + std::to_string(calls[i].a[0]) + ", " + std::to_string(calls[i].a[1]) +
                    ")–(" + std::to_string(calls[i + 1].a[0]) + ", " +
                    std::to_string(calls[i + 1].a[1]) + ")";
  }
  EXPECT_EQ(i, calls.size()) << "a MoveTo without its LineTo";
  return out;
}

// Both frames drawn by a drag from the top-left corner, last move at the release point.
TEST(Tatami, WorkedExampleAllTwelveArrangements) {
  struct Row {
    int item, right, bottom;
    const char* fill;
    const char* uv;
    const char* segments;
  };
  const Row rows[] = {
      {0, 360, 240, "(180, 120)", "120, 120", "(240, 0)–(240, 240); (0, 120)–(240, 120)"},
      {1, 360, 240, "(180, 120)", "120, 80",
       "(240, 0)–(240, 240); (120, 80)–(120, 240); (0, 80)–(240, 80); (240, 160)–(360, 160)"},
      {2, 360, 240, "(180, 120)", "90, 80",
       "(0, 80)–(360, 80); (90, 160)–(270, 160); (90, 80)–(90, 240); (270, 80)–(270, 240); "
       "(180, 0)–(180, 80)"},
      {3, 360, 240, "(180, 120)", "72, 80",
       "(0, 80)–(288, 80); (72, 160)–(216, 160); (72, 80)–(72, 240); (216, 80)–(216, 240); "
       "(144, 0)–(144, 80); (288, 0)–(288, 240); (288, 160)–(360, 160)"},
      {4, 360, 240, "(180, 120)", "90, 60",
       "(90, 0)–(90, 240); (270, 0)–(270, 240); (180, 60)–(180, 180); (0, 120)–(90, 120); "
       "(270, 120)–(360, 120); (90, 60)–(270, 60); (90, 180)–(270, 180)"},
      {5, 360, 240, "(180, 120)", "72, 60",
       "(0, 60)–(288, 60); (0, 180)–(288, 180); (72, 120)–(216, 120); (288, 120)–(360, 120); "
       "(72, 60)–(72, 180); (216, 60)–(216, 180); (288, 0)–(288, 240); (144, 0)–(144, 60); "
       "(144, 180)–(144, 240)"},
      {6, 360, 240, "(180, 120)", "60, 60",
       "(60, 0)–(60, 240); (180, 0)–(180, 240); (240, 0)–(240, 240); (120, 60)–(120, 180); "
       "(300, 60)–(300, 180); (0, 120)–(60, 120); (180, 120)–(240, 120); (60, 60)–(180, 60); "
       "(60, 180)–(180, 180); (240, 60)–(360, 60); (240, 180)–(360, 180)"},
      {0, 240, 360, "(120, 180)", "120, 120", "(120, 0)–(120, 240); (0, 240)–(240, 240)"},
      {2, 240, 360, "(120, 180)", "80, 90",
       "(160, 0)–(160, 360); (80, 90)–(80, 270); (0, 90)–(160, 90); (0, 270)–(160, 270); "
       "(160, 180)–(240, 180)"},
      {3, 240, 360, "(120, 180)", "80, 72",
       "(160, 0)–(160, 288); (80, 72)–(80, 216); (0, 72)–(160, 72); (0, 216)–(160, 216); "
       "(160, 144)–(240, 144); (0, 288)–(240, 288); (80, 288)–(80, 360)"},
      {5, 240, 360, "(120, 180)", "60, 72",
       "(60, 0)–(60, 288); (180, 0)–(180, 288); (120, 72)–(120, 216); (0, 144)–(60, 144); "
       "(180, 144)–(240, 144); (60, 72)–(180, 72); (60, 216)–(180, 216); (0, 288)–(240, 288); "
       "(120, 288)–(120, 360)"},
      {6, 240, 360, "(120, 180)", "60, 60",
       "(0, 60)–(240, 60); (60, 120)–(180, 120); (60, 60)–(60, 180); (180, 60)–(180, 180); "
       "(120, 0)–(120, 60); (0, 180)–(240, 180); (0, 240)–(240, 240); (60, 300)–(180, 300); "
       "(60, 240)–(60, 360); (180, 240)–(180, 360); (120, 180)–(120, 240)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("item " + std::to_string(r.item) + " on " + std::to_string(r.right) + "x" +
                 std::to_string(r.bottom));
    const DrawingState s = Frame(0, 0, r.right, r.bottom, r.right, r.bottom);
    const Laid laid = Lay(s, r.item);
    EXPECT_EQ(laid.fill, r.fill);
    EXPECT_EQ(laid.grid, r.uv);
    EXPECT_EQ(laid.segments, r.segments);
    const std::string fill = r.fill;
    EXPECT_THAT(laid.prefix,
                ElementsAre("Brush.Color := 0x0080FF80",
                            "FloodFill(" + fill.substr(1, fill.size() - 2) + ", clBlack, fsBorder)",
                            "Pen.Width := 1", "Pen.Color := clBlack"));
  }
}

TEST(Tatami, SquareHintFillsOnlyForTheOrientedCounts) {
  const DrawingState s = Frame(0, 0, 240, 240, 240, 240);
  for (int item : {0, 2, 3, 5, 6}) {
    const Laid laid = Lay(s, item);
    EXPECT_EQ(laid.grid, "") << item;
    EXPECT_EQ(laid.segments, "") << item;
    EXPECT_THAT(laid.prefix, ElementsAre("Brush.Color := 0x0080FF80",
                                         "FloodFill(120, 120, clBlack, fsBorder)"));
  }
  EXPECT_EQ(Lay(s, 1).grid, "80, 80");
  EXPECT_EQ(Lay(s, 1).segments,
            "(160, 0)–(160, 240); (80, 80)–(80, 240); (0, 80)–(160, 80); (160, 160)–(240, 160)");
  EXPECT_EQ(Lay(s, 4).grid, "60, 60");

  // On the surface: the spans and the pen stay as they were.
  Surface surface;
  surface.SetControlSize(300, 300);
  surface.Canvas().Pen.SetWidth(7);
  DrawingState st = Frame(0, 0, 240, 240, 240, 240);
  LayTatami(st, surface, 2);
  EXPECT_EQ(st.SpanX, 240);
  EXPECT_EQ(st.SpanY, 240);
  EXPECT_EQ(surface.Canvas().Pen.Width(), 7);
  EXPECT_EQ(surface.Canvas().Brush.Color, 0x0080FF80u);
}

TEST(Tatami, LeavesTheCellSizeAndThePenForTheNextClick) {
  Surface surface;
  surface.SetControlSize(400, 300);
  TCanvas& c = surface.Canvas();
  c.Pen.SetWidth(3);
  c.Pen.Color = 0x0000FF;
  DrawingState s = Frame(0, 0, 360, 240, 360, 240);
  LayTatami(s, surface, 0);
  EXPECT_EQ(s.SpanX, 120);
  EXPECT_EQ(s.SpanY, 120);
  EXPECT_EQ(c.Pen.Width(), 1);
  EXPECT_EQ(c.Pen.Color, clBlack);
  EXPECT_EQ(c.Brush.Color, 0x0080FF80u);
  // The frame corners are the command's input only.
  EXPECT_EQ(s.FrameRight, 360);
  EXPECT_EQ(s.FrameBottom, 240);
  // The repeat click sees equal hints: fill only, nothing stored.
  for (int item : {0, 2, 3, 5, 6}) {
    EXPECT_FALSE(PlanTatami(s, item).grid) << item;
    LayTatami(s, surface, item);
    EXPECT_EQ(s.SpanX, 120);
    EXPECT_EQ(s.SpanY, 120);
  }
}

TEST(Tatami, ReverseDragMirrorsFromThePressCorner) {
  const DrawingState s = Frame(360, 240, 0, 0, -360, -240);
  const Laid laid = Lay(s, 2);  // -240 > -360: portrait
  EXPECT_EQ(laid.fill, "(180, 120)");
  EXPECT_EQ(laid.grid, "-120, -60");
  EXPECT_EQ(laid.segments,
            "(120, 240)–(120, 0); (240, 180)–(240, 60); (360, 180)–(120, 180); "
            "(360, 60)–(120, 60); (120, 120)–(0, 120)");
}

TEST(Tatami, OrientationIsASignedComparison) {
  struct Case {
    int spanX, spanY;
    const char* uv;  // 6 mats on a 360 x 240 frame: landscape 90, 80; portrait 120, 60
  };
  const Case cases[] = {
      {-10, 500, "120, 60"},  // leftward and downward: always portrait
      {10, -500, "90, 80"},   // rightward and upward: always landscape
      {-360, -240, "120, 60"},
      {-240, -360, "90, 80"},
      {INT_MIN, INT_MAX, "120, 60"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Lay(Frame(0, 0, 360, 240, c.spanX, c.spanY), 2).grid, c.uv) << c.spanX;
}

TEST(Tatami, LeftOverPixelsFallIntoTheColumnBeforeTheLine) {
  const Laid laid = Lay(Frame(10, 20, 377, 265, 367, 245), 3);
  EXPECT_EQ(laid.fill, "(194, 142)");  // 183.5 -> 184, 122.5 -> 122
  EXPECT_EQ(laid.grid, "73, 81");
  EXPECT_EQ(laid.segments,
            "(10, 101)–(304, 101); (83, 182)–(229, 182); (83, 101)–(83, 263); "
            "(229, 101)–(229, 263); (156, 20)–(156, 101); (304, 20)–(304, 265); "
            "(304, 182)–(377, 182)");
}

TEST(Tatami, FillStartRoundsHalvesToEven) {
  struct Case {
    int left, right, x;
  };
  for (Case c : {Case{0, 365, 182}, {0, 367, 184}, {0, -365, -182}, {100, -265, -82}, {7, 8, 7},
                 {7, 10, 9}, {0, -367, -184}})
    EXPECT_EQ(Lay(Frame(c.left, 0, c.right, 0, 0, 0), 0).fill, "(" + std::to_string(c.x) + ", 0)")
        << c.right;
}

TEST(Tatami, NothingDrawnYet) {
  const DrawingState zero;
  for (int item : {0, 2, 3, 5, 6}) {
    const Laid laid = Lay(zero, item);
    EXPECT_EQ(laid.fill, "(0, 0)");
    EXPECT_EQ(laid.segments, "");
  }
  Surface surface;
  surface.SetControlSize(50, 50);
  DrawingState s;
  s.SpanX = 5;  // only the frame corners are zero
  s.SpanY = 9;
  LayTatami(s, surface, 4);
  EXPECT_EQ(s.SpanX, 0);
  EXPECT_EQ(s.SpanY, 0);
  EXPECT_EQ(Lay(zero, 1).segments, "(0, 0)–(0, 0); (0, 0)–(0, 0); (0, 0)–(0, 0); (0, 0)–(0, 0)");
}

TEST(Tatami, IndexOutsideTheItemsOrAnIconChangeNothing) {
  Surface icon;
  icon.Picture().SetForeign(std::make_unique<test::StubForeign>(GraphicKind::Icon));
  DrawingState s = Frame(0, 0, 360, 240, 360, 240);
  for (int item : {-1, 7, INT_MIN, INT_MAX}) {
    EXPECT_NO_THROW(LayTatami(s, icon, item));
    EXPECT_EQ(s.SpanX, 360);
  }
  try {
    LayTatami(s, icon, 2);
    ADD_FAILURE() << "an icon has no canvas";
  } catch (const EngineError& e) {
    EXPECT_STREQ(e.what(), kMsgCanvasNeedsBitmap);
  }
  EXPECT_EQ(s.SpanX, 360);
  EXPECT_EQ(s.SpanY, 240);
}

TEST(Tatami, FarApartCornersStayWithinRange) {
  DrawingState s = Frame(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 2, 1);
  const Laid laid = Lay(s, 6);  // landscape, 6 x 4 cells
  EXPECT_EQ(laid.fill, "(0, 0)");  // round(4294967295 / 2) = 2147483648, the even neighbour
  EXPECT_EQ(laid.grid, "715827882, 1073741823");
  Surface surface;
  surface.SetControlSize(20, 20);
  for (int item = 0; item < 7; ++item) {
    DrawingState t = Frame(INT_MAX, INT_MIN, INT_MIN, INT_MAX, -1, 1);
    LayTatami(t, surface, item);
  }
  s = Frame(INT_MAX, INT_MAX, INT_MIN, INT_MIN, 0, 1);
  EXPECT_EQ(Lay(s, 2).grid, "-1431655765, -1073741823");
}


// On a real surface: a 7-pixel frame from (20, 20) to (380, 260), dragged from its top-left.
class TatamiPixels : public ::testing::Test {
 protected:
  static constexpr TColor kMat = 0x0080FF80;
  Surface surface;
  DrawingState s = Frame(20, 20, 380, 260, 360, 240);
  void SetUp() override {
    surface.SetControlSize(420, 300);
    TCanvas& c = surface.Canvas();
    c.Pen.SetWidth(7);
    c.Brush.Color = clWhite;
    c.Rectangle(20, 20, 380, 260);
    c.Pen.SetWidth(1);
  }
  TColor At(int x, int y) { return surface.Canvas().Pixel(x, y); }
  std::vector<std::uint32_t> Pixels() {
    const TBitmap& b = *surface.Picture().Bitmap();
    return {b.Bits(), b.Bits() + static_cast<std::size_t>(b.Width()) * b.Height()};
  }
};

TEST_F(TatamiPixels, SixMatsFillTheFrameAndDrawTheJoints) {
  LayTatami(s, surface, 2);  // landscape, u = 90, v = 80
  EXPECT_EQ(At(60, 60), kMat);
  EXPECT_EQ(At(300, 220), kMat);
  EXPECT_EQ(At(60, 100), clBlack);   // (L, T + v)-(R, T + v)
  EXPECT_EQ(At(110, 200), clBlack);  // (L + u, T + v)-(L + u, T + 3v)
  EXPECT_EQ(At(111, 200), kMat);
  EXPECT_EQ(At(200, 60), clBlack);   // (L + 2u, T)-(L + 2u, T + v)
  EXPECT_EQ(At(200, 140), kMat);     // below that joint's end
  EXPECT_EQ(At(10, 10), clWhite);    // outside the frame
}

TEST_F(TatamiPixels, RepeatClickChangesNothing) {
  LayTatami(s, surface, 0);  // u = v = 120: the joint (L, T + v)-(L + 2u, T + v) runs through the centre
  ASSERT_EQ(At(200, 140), clBlack);
  const auto before = Pixels();
  for (int item : {0, 2, 3, 5, 6}) LayTatami(s, surface, item);
  EXPECT_EQ(Pixels(), before);
}

TEST_F(TatamiPixels, CentreOnABlackLineFillsNothingButDrawsTheJoints) {
  TCanvas& c = surface.Canvas();
  c.MoveTo(200, 20);
  c.LineTo(200, 260);
  LayTatami(s, surface, 0);
  EXPECT_EQ(At(60, 60), clWhite);
  EXPECT_EQ(At(260, 200), clBlack);  // (L + 2u, T)-(L + 2u, B)
}

TEST(TatamiFill, AllZeroStateFloodsFromTheTopLeftPixel) {
  Surface surface;
  surface.SetControlSize(40, 30);
  DrawingState s;
  LayTatami(s, surface, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(surface.Canvas().Pixel(x, y), 0x0080FF80u) << x << "," << y;
}

}  // namespace
}  // namespace rv
