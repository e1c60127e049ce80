// The symbols of a plan's surroundings committed at a left release: the two cars, built on a
// grid of tenths of the drag box, and the plant bed on a grid of thirds.
#include "commits.h"
#include "figure_script.h"
#include "rounding.h"

namespace rv {
namespace {

using I = std::int64_t;

// The up-down car rounds its unit, the left-right car truncates it: dx = 29 gives 3 and 2.
I CarUprightUnit(I d) { return RoundMul(d, 0.1L); }
I CarSideUnit(I d) { return d / 10; }

}  // namespace

// Front at the press row; u and v are tenths of the box.
FigureScript CarUprightScript(const DrawingState& s, int X, int Y) {
  const I Sx = s.StartX, Sy = s.StartY;
  const I u = CarUprightUnit(X - Sx), v = CarUprightUnit(Y - Sy);
  FigureScript f;
  f.EraseBand();
  f.PenColor(clBlack);
  f.PenWidth(1);
  f.BrushColor(clWhite);
  f.RoundRect(Sx, Sy, X, Y, 10, 10);                       // body outline
  f.RoundRect(Sx + u, Sy + 4 * v, X - u, Y - 2 * v, 10, 10);  // cabin
  f.RoundRect(Sx, Sy, X, Sy + v, 10, 10);                  // band along the front
  f.Ellipse(Sx, Sy, Sx + 2 * u, Sy + v);                   // lamp
  f.Ellipse(X - 2 * u, Sy, X, Sy + v);                     // lamp
  for (I k = 3; k <= 7; ++k) f.Line(Sx + k * u, Sy, Sx + k * u, Sy + v);  // grille bars
  f.Line(Sx + 2 * u, Sy + v, Sx + u, Sy + 4 * v);          // windscreen edge
  f.Line(X - 2 * u, Sy + v, X - u, Sy + 4 * v);            // windscreen edge
  f.PenWidth(3);
  f.Line(Sx, Sy + v, Sx, Sy + 3 * v);                      // wheels
  f.Line(Sx, Sy + 7 * v, Sx, Sy + 9 * v);
  f.Line(X, Sy + v, X, Sy + 3 * v);
  f.Line(X, Sy + 7 * v, X, Sy + 9 * v);
  return f;
}

// Front at the release column; p and q are tenths of the box, truncated.
FigureScript CarSideScript(const DrawingState& s, int X, int Y) {
  const I Sx = s.StartX, Sy = s.StartY;
  const I p = CarSideUnit(X - Sx), q = CarSideUnit(Y - Sy);
  FigureScript f;
  f.EraseBand();
  f.PenColor(clBlack);
  f.PenWidth(1);
  f.BrushColor(clWhite);
  f.RoundRect(Sx, Sy, X, Y, 10, 10);                       // body outline
  f.RoundRect(Sx + 2 * p, Sy + q, X - 4 * p, Y - q, 10, 10);  // cabin
  f.RoundRect(X - p, Sy, X, Y, 10, 10);                    // band along the front
  f.Ellipse(X - p, Sy, X, Sy + q);                         // lamp
  f.Ellipse(X - p, Y - q, X, Y);                           // lamp
  for (I k = 3; k <= 7; ++k) f.Line(X - p, Sy + k * q, X, Sy + k * q);  // grille bars
  f.Line(Sx + 6 * p, Y - q, X - p, Y - 2 * q);             // windscreen edge, from Sx + 6p
  f.Line(X - 4 * p, Sy + q, X - p, Sy + 2 * q);            // windscreen edge
  f.PenWidth(3);
  f.Line(Sx + p, Sy, Sx + 3 * p, Sy);                      // wheels
  f.Line(Sx + p, Y, Sx + 3 * p, Y);
  f.Line(X - 4 * p, Sy, X - 2 * p, Sy);
  f.Line(X - 4 * p, Y, X - 2 * p, Y);
  return f;
}

// Shrubs on a 3 x 3 grid of w x h cells from the press corner, and a dark-red dot.
FigureScript PlantsScript(const DrawingState& s, int X, int Y) {
  const I Sx = s.StartX, Sy = s.StartY;
  const I w = RoundDiv(X - Sx, 3), h = RoundDiv(Y - Sy, 3);
  // The half-cell inset and the dot scale the already rounded cell.
  const I insetX = RoundMul(w, 0.5L), insetY = RoundMul(h, 0.5L);
  const I dotX1 = RoundMul(w, 1.4L), dotY1 = RoundMul(h, 1.4L);
  const I dotX2 = RoundMul(w, 1.6L), dotY2 = RoundMul(h, 1.6L);
  FigureScript f;
  f.EraseBand();
  f.PenColor(clBlack);
  f.BrushColor(0x00805C); f.Ellipse(Sx, Sy, Sx + w, Sy + h);                  // cell (0, 0)
  f.BrushColor(0x008084); f.Ellipse(Sx + 2 * w, Sy + 2 * h, X, Y);            // (2, 2)
  f.BrushColor(0x008020); f.Ellipse(Sx + w, Sy, Sx + 2 * w, Sy + h);          // (1, 0)
  f.BrushColor(0x0080A2); f.Ellipse(Sx + 2 * w, Sy, X, Sy + h);               // (2, 0)
  f.BrushColor(0x008052); f.Ellipse(Sx, Sy + h, Sx + w, Sy + 2 * h);          // (0, 1)
  f.BrushColor(0x008070); f.Ellipse(Sx + w, Sy + 2 * h, Sx + 2 * w, Sy + 3 * h);  // (1, 2)
  f.BrushColor(0x00803E); f.Ellipse(Sx + insetX, Sy + insetY, X - insetX, Y - insetY);
  f.BrushColor(0x000080); f.Ellipse(Sx + dotX1, Sy + dotY1, Sx + dotX2, Sy + dotY2);
  return f;
}

void CommitCarUpright(DrawingState& s, TCanvas& c, int X, int Y) {
  s.SpanX = Clamp32(CarUprightUnit(I{X} - s.StartX));
  s.SpanY = Clamp32(CarUprightUnit(I{Y} - s.StartY));
  CarUprightScript(s, X, Y).Play(s, c, X, Y);
}

void CommitCarSide(DrawingState& s, TCanvas& c, int X, int Y) {
  s.SpanX = Clamp32(CarSideUnit(I{X} - s.StartX));
  s.SpanY = Clamp32(CarSideUnit(I{Y} - s.StartY));
  CarSideScript(s, X, Y).Play(s, c, X, Y);
}

void CommitPlants(DrawingState& s, TCanvas& c, int X, int Y) {
  PlantsScript(s, X, Y).Play(s, c, X, Y);
}

}  // namespace rv
