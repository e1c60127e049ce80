// The fixture symbols committed at a left release: hinged door and opening cut into a wall,
// the two door symbols and the two toilets.
#include <cmath>

#include "commits.h"
#include "figure_script.h"
#include "rounding.h"

namespace rv {
namespace {

using I = std::int64_t;

// The white band three pixels to either side of the segment from the press point to (X, Y).
FigureScript WallGap(const DrawingState& s, int X, int Y, bool hingedDoor) {
  const I Sx = s.StartX, Sy = s.StartY;
  const I dx = X - Sx, dy = Y - Sy;
  FigureScript f;
  f.PenWidth(1);
  f.BrushColor(clWhite);
  // Press and release on the same point give no direction to cut across: nothing to draw.
  if (dx == 0 && dy == 0) return f;
  // (-a, b) is three times the unit normal; square root, then product, then quotient.
  const long double S = static_cast<long double>(dx) * dx + static_cast<long double>(dy) * dy;
  const long double root = std::sqrt(S);
  const I a = RoundHalfEven(root * (3 * static_cast<long double>(dy)) / S);
  const I b = RoundHalfEven(root * (3 * static_cast<long double>(dx)) / S);
  f.Polygon4(Sx - a, Sy + b, X - a, Y + b, X + a, Y - b, Sx + a, Sy - b);
  if (hingedDoor) f.Line(Sx, Sy, s.LastX, s.LastY);
  return f;
}

// Both toilets: the bowl fills the box, the tank sits at the release side.
FigureScript Toilet(const DrawingState& s, int X, int Y, bool upright) {
  const I Sx = s.StartX, Sy = s.StartY;
  const I dx = X - Sx;
  const I tank = RoundMul(dx, 0.2L);   // one fifth of the width, for both orientations
  const I corner = RoundDiv(dx, 6);
  FigureScript f;
  f.EraseBand();
  f.PenColor(clBlack);
  f.PenWidth(2);
  f.BrushColor(clWhite);
  f.Ellipse(Sx, Sy, X, Y);
  if (upright)
    f.RoundRect(Sx, Y - tank, X, Y, corner, corner);
  else
    f.RoundRect(X - tank, Sy, X, Y, corner, corner);
  f.PenMode(TPenMode::pmCopy);
  return f;
}

void WriteSpans(DrawingState& s, int X, int Y) {
  s.SpanX = Clamp32(I{X} - s.StartX);
  s.SpanY = Clamp32(I{Y} - s.StartY);
}

}  // namespace

FigureScript HingedDoorScript(const DrawingState& s, int X, int Y) {
  return WallGap(s, X, Y, true);
}

FigureScript OpeningScript(const DrawingState& s, int X, int Y) {
  return WallGap(s, X, Y, false);
}

// Leaf from the press point to the hinge (StartX, Y), threshold from the hinge to (X, Y).
FigureScript DoorAScript(const DrawingState& s, int X, int Y) {
  const I Sx = s.StartX, Sy = s.StartY;
  const I spanX = X - Sx, spanY = Y - Sy;
  FigureScript f;
  f.EraseBand();
  f.PenColor(clBlack);
  f.Arc(X, Y + spanY, Sx - spanX, Sy, X, Y, Sx, Sy);
  f.Line(Sx, Sy, X - spanX, Y);
  f.Line(X - spanX, Y, X, Y);
  return f;
}

// Door A mirrored: the hinge is the release corner.
FigureScript DoorBScript(const DrawingState& s, int X, int Y) {
  const I Sx = s.StartX, Sy = s.StartY;
  const I spanX = X - Sx, spanY = Y - Sy;
  FigureScript f;
  f.EraseBand();
  f.PenColor(clBlack);
  f.Arc(Sx, Sy, X + spanX, Y + spanY, Sx + spanX, Sy, Sx, Y);
  f.Line(Sx, Y, X, Y);
  f.Line(X, Y - spanY, X, Y);
  return f;
}

FigureScript ToiletSideScript(const DrawingState& s, int X, int Y) {
  return Toilet(s, X, Y, false);
}

FigureScript ToiletUprightScript(const DrawingState& s, int X, int Y) {
  return Toilet(s, X, Y, true);
}

void CommitHingedDoor(DrawingState& s, TCanvas& c, int X, int Y) {
  HingedDoorScript(s, X, Y).Play(s, c, X, Y);
}

void CommitOpening(DrawingState& s, TCanvas& c, int X, int Y) {
  OpeningScript(s, X, Y).Play(s, c, X, Y);
}

void CommitDoorA(DrawingState& s, TCanvas& c, int X, int Y) {
  WriteSpans(s, X, Y);
  DoorAScript(s, X, Y).Play(s, c, X, Y);
}

void CommitDoorB(DrawingState& s, TCanvas& c, int X, int Y) {
  WriteSpans(s, X, Y);
  DoorBScript(s, X, Y).Play(s, c, X, Y);
}

void CommitToiletSide(DrawingState& s, TCanvas& c, int X, int Y) {
  ToiletSideScript(s, X, Y).Play(s, c, X, Y);
}

void CommitToiletUpright(DrawingState& s, TCanvas& c, int X, int Y) {
  ToiletUprightScript(s, X, Y).Play(s, c, X, Y);
}

}  // namespace rv
