// The tatami command: fills the last floor-plan frame with mats and draws their joints.
#pragma once

#include <optional>

#include "drawing/figure_script.h"
#include "drawing/state.h"
#include "drawing/surface.h"

namespace rv {

// itemIndex is RadioGroup1's ItemIndex (0 = "3" ... 6 = "12"); anything else does nothing.
// Draws on the surface's canvas (ActiveImage) and writes SpanX, SpanY; nothing else.
// The canvas is fetched only after the index check, so an icon fails only for a real count.
void LayTatami(DrawingState& s, Surface& surface, int itemIndex);

// What LayTatami draws for a valid itemIndex, and the cell size it stores in SpanX, SpanY
// (none when equal orientation hints stop it after the fill).
struct TatamiPlan {
  FigureScript calls;
  struct Grid {
    int u, v;
  };
  std::optional<Grid> grid;
};
TatamiPlan PlanTatami(const DrawingState& s, int itemIndex);

}  // namespace rv
