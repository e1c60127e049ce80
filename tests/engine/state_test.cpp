#include <gtest/gtest.h>

#include "drawing/rounding.h"
#include "drawing/state.h"

namespace rv {
namespace {

TEST(Rounding, HalvesGoToEven) {
  struct Case {
    long double v;
    int want;
  };
  for (Case c : {Case{2.5L, 2}, {3.5L, 4}, {-2.5L, -2}, {0.5L, 0}, {1.5L, 2}, {2.4L, 2}}) {
    EXPECT_EQ(RoundHalfEven(c.v), c.want) << static_cast<double>(c.v);
  }
  EXPECT_EQ(RoundMul(25, 0.1L), 2);
  EXPECT_EQ(RoundMul(35, 0.1L), 4);
  EXPECT_EQ(RoundDiv(15, 6), 2);
  EXPECT_EQ(RoundDiv(9, 6), 2);
  EXPECT_EQ(DivTrunc(-29, 10), -2);
}

TEST(DrawingState, ResetClearsEverything) {
  DrawingState s;
  s.CurrentTool = toolFrame;
  s.SaveFileName = "x";
  s.UndoBitmap = std::make_unique<TBitmap>(2, 2);
  s.Reset();
  EXPECT_EQ(s.CurrentTool, 0);
  EXPECT_TRUE(s.SaveFileName.empty());
  EXPECT_EQ(s.UndoBitmap, nullptr);
}

}  // namespace
}  // namespace rv
