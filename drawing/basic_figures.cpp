// The six basic figures drawn at the release, and the rubber-band erase of the symbol arms.
// No arm erases the rubber band first: painting the same figure in pmCopy replaces it.
// Settings are left in force afterwards; later drawing starts from them.
#include "drawing/commits.h"

namespace rv {

void CommitFrame(DrawingState& s, TCanvas& c, int X, int Y) {
  c.Pen.SetWidth(7);
  c.Brush.Color = clWhite;
  c.Rectangle(s.StartX, s.StartY, X, Y);
}

void CommitRectangle(DrawingState& s, TCanvas& c, int X, int Y) {
  c.Pen.SetWidth(1);
  c.Brush.Color = clWhite;
  c.Rectangle(s.StartX, s.StartY, X, Y);
}

void CommitThinLine(DrawingState& s, TCanvas& c, int X, int Y) {
  c.Pen.Color = clBlack;
  c.Pen.SetWidth(1);
  c.MoveTo(s.StartX, s.StartY);
  c.LineTo(X, Y);
}

void CommitThickLine(DrawingState& s, TCanvas& c, int X, int Y) {
  c.Pen.Color = clBlack;
  // A negative size is ignored by the pen, leaving the width the press set.
  c.Pen.SetWidth(s.PenSize);
  c.MoveTo(s.StartX, s.StartY);
  c.LineTo(X, Y);
}

void CommitEllipse(DrawingState& s, TCanvas& c, int X, int Y) {
  c.Brush.Color = clWhite;
  c.Ellipse(s.StartX, s.StartY, X, Y);
}

void CommitRoundRect(DrawingState& s, TCanvas& c, int X, int Y) {
  c.Brush.Color = clWhite;
  c.RoundRect(s.StartX, s.StartY, X, Y, 10, 10);
}

void EraseRubberBand(DrawingState& s, TCanvas& c, int X, int Y) {
  c.Pen.Mode = TPenMode::pmNotXor;
  c.Pen.SetWidth(1);
  c.Brush.Color = clWhite;
  c.Rectangle(s.StartX, s.StartY, X, Y);
  c.Pen.Mode = TPenMode::pmCopy;
}

}  // namespace rv
