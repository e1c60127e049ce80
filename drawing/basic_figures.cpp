// PLACEHOLDER until the basic figures land.
#include "drawing/commits.h"

namespace rv {
void CommitFrame(DrawingState&, TCanvas&, int, int) {}
void CommitRectangle(DrawingState&, TCanvas&, int, int) {}
void CommitThinLine(DrawingState&, TCanvas&, int, int) {}
void CommitThickLine(DrawingState&, TCanvas&, int, int) {}
void CommitEllipse(DrawingState&, TCanvas&, int, int) {}
void CommitRoundRect(DrawingState&, TCanvas&, int, int) {}
void EraseRubberBand(DrawingState&, TCanvas&, int, int) {}
}  // namespace rv
