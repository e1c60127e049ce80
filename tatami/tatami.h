// The tatami command: fills the last floor-plan frame with mats and draws their joints.
#pragma once

#include "drawing/surface.h"
#include "drawing/state.h"

namespace rv {

// itemIndex is RadioGroup1's ItemIndex (0 = "3" ... 6 = "12"); anything else does nothing.
// Draws on the surface's canvas (ActiveImage) and writes SpanX, SpanY; nothing else.
// The canvas is fetched only after the index check, so an icon fails only for a real count.
void LayTatami(DrawingState& s, Surface& surface, int itemIndex);

}  // namespace rv
