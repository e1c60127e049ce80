// The tatami command: fills the last floor-plan frame with mats and draws their joints.
#pragma once

#include "drawing/canvas.h"
#include "drawing/state.h"

namespace rv {

// itemIndex is RadioGroup1's ItemIndex (0 = "3" ... 6 = "12"); anything else does nothing.
// Draws on `canvas` (the ActiveImage canvas) and writes SpanX, SpanY; nothing else.
void LayTatami(DrawingState& s, TCanvas& canvas, int itemIndex);

}  // namespace rv
