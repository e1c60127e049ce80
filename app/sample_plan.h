// The version dialog's picture: a small house drawn with the program's own tools.
#pragma once

#include <memory>

#include "drawing/canvas.h"

namespace rv {

inline constexpr int kSamplePlanWidth = 334;
inline constexpr int kSamplePlanHeight = 216;

// A tatami room, a bath, a toilet, a wooden floor, a car and shrubs, 334 x 216.
std::unique_ptr<TBitmap> DrawSamplePlan();

}  // namespace rv
