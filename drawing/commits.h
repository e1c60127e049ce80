// The figure each tool draws for good at a left release after movement. Each arm is a
// straight run of canvas calls on the ActiveImage canvas; (X, Y) is the release point.
#pragma once

#include "canvas.h"
#include "state.h"

namespace rv {

// basic_figures.cpp
void CommitFrame(DrawingState& s, TCanvas& c, int X, int Y);
void CommitRectangle(DrawingState& s, TCanvas& c, int X, int Y);
void CommitThinLine(DrawingState& s, TCanvas& c, int X, int Y);
void CommitThickLine(DrawingState& s, TCanvas& c, int X, int Y);
void CommitEllipse(DrawingState& s, TCanvas& c, int X, int Y);
void CommitRoundRect(DrawingState& s, TCanvas& c, int X, int Y);

// The rubber-band erase the symbol arms start with: the preview rectangle drawn once more
// in pmNotXor, to the release point.
void EraseRubberBand(DrawingState& s, TCanvas& c, int X, int Y);

// fixtures.cpp
void CommitHingedDoor(DrawingState& s, TCanvas& c, int X, int Y);
void CommitOpening(DrawingState& s, TCanvas& c, int X, int Y);
void CommitDoorA(DrawingState& s, TCanvas& c, int X, int Y);
void CommitDoorB(DrawingState& s, TCanvas& c, int X, int Y);
void CommitToiletSide(DrawingState& s, TCanvas& c, int X, int Y);
void CommitToiletUpright(DrawingState& s, TCanvas& c, int X, int Y);

// cars_plants.cpp
void CommitCarUpright(DrawingState& s, TCanvas& c, int X, int Y);
void CommitCarSide(DrawingState& s, TCanvas& c, int X, int Y);
void CommitPlants(DrawingState& s, TCanvas& c, int X, int Y);

}  // namespace rv
