// PLACEHOLDER until the car and plant symbols land.
#include "drawing/commits.h"

namespace rv {
void CommitCarUpright(DrawingState&, TCanvas&, int, int) {}
void CommitCarSide(DrawingState&, TCanvas&, int, int) {}
void CommitPlants(DrawingState&, TCanvas&, int, int) {}
}  // namespace rv
