// PLACEHOLDER until the fixture symbols land.
#include "drawing/commits.h"

namespace rv {
void CommitHingedDoor(DrawingState&, TCanvas&, int, int) {}
void CommitOpening(DrawingState&, TCanvas&, int, int) {}
void CommitDoorA(DrawingState&, TCanvas&, int, int) {}
void CommitDoorB(DrawingState&, TCanvas&, int, int) {}
void CommitToiletSide(DrawingState&, TCanvas&, int, int) {}
void CommitToiletUpright(DrawingState&, TCanvas&, int, int) {}
}  // namespace rv
