// A figure as a straight list of canvas calls. The symbol arms and the tatami command first
// write their calls here and then play them on the canvas, so the geometry can be checked
// call by call without depending on how the canvas rasterises.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "canvas.h"
#include "state.h"

namespace rv {

enum class CallKind {
  PenWidth,
  PenColor,
  PenMode,
  BrushColor,
  MoveTo,
  LineTo,
  Rectangle,
  RoundRect,
  Ellipse,
  Arc,
  Polygon,     // four points in a[0..7]
  FloodFill,   // X, Y, colour, style
  EraseBand,   // the shared rubber-band erase to the release point
};

struct CanvasCall {
  CallKind kind;
  int n = 0;  // arguments in use
  std::array<int, 8> a{};
  friend bool operator==(const CanvasCall&, const CanvasCall&) = default;
};

// Coordinates are worked out in 64 bits; what reaches the 32-bit canvas is held at its range
// (the canvas clips anything that far off the bitmap anyway).
inline int Clamp32(std::int64_t v) {
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

class FigureScript {
 public:
  using I = std::int64_t;

  void PenWidth(int w) { Add(CallKind::PenWidth, {w}); }
  void PenColor(TColor c) { Add(CallKind::PenColor, {static_cast<I>(c)}); }
  void PenMode(TPenMode m) { Add(CallKind::PenMode, {static_cast<I>(m)}); }
  void BrushColor(TColor c) { Add(CallKind::BrushColor, {static_cast<I>(c)}); }
  void MoveTo(I x, I y) { Add(CallKind::MoveTo, {x, y}); }
  void LineTo(I x, I y) { Add(CallKind::LineTo, {x, y}); }
  void Line(I x1, I y1, I x2, I y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
  }
  void Rectangle(I x1, I y1, I x2, I y2) { Add(CallKind::Rectangle, {x1, y1, x2, y2}); }
  void RoundRect(I x1, I y1, I x2, I y2, I w, I h) {
    Add(CallKind::RoundRect, {x1, y1, x2, y2, w, h});
  }
  void Ellipse(I x1, I y1, I x2, I y2) { Add(CallKind::Ellipse, {x1, y1, x2, y2}); }
  void Arc(I x1, I y1, I x2, I y2, I x3, I y3, I x4, I y4) {
    Add(CallKind::Arc, {x1, y1, x2, y2, x3, y3, x4, y4});
  }
  void Polygon4(I x1, I y1, I x2, I y2, I x3, I y3, I x4, I y4) {
    Add(CallKind::Polygon, {x1, y1, x2, y2, x3, y3, x4, y4});
  }
  void FloodFill(I x, I y, TColor c, TFillStyle st) {
    Add(CallKind::FloodFill, {x, y, static_cast<I>(c), static_cast<I>(st)});
  }
  void EraseBand() { Add(CallKind::EraseBand, {}); }

  const std::vector<CanvasCall>& Calls() const { return calls_; }

  // Runs the calls on the canvas; (X, Y) is the release point the band erase goes to.
  void Play(DrawingState& s, TCanvas& c, int X, int Y) const;

 private:
  void Add(CallKind k, std::initializer_list<I> args);
  std::vector<CanvasCall> calls_;
};

// "Arc(60, 100, 140, 160, 140, 130, 100, 100)", "Brush.Color := 0x0080FF80", ...
std::string Describe(const CanvasCall& call);
std::vector<std::string> Describe(const FigureScript& script);

// The geometry of each symbol arm, without touching the state or a canvas. (X, Y) is the
// release point; the press point is s.StartX, s.StartY.
FigureScript HingedDoorScript(const DrawingState& s, int X, int Y);
FigureScript OpeningScript(const DrawingState& s, int X, int Y);
FigureScript DoorAScript(const DrawingState& s, int X, int Y);
FigureScript DoorBScript(const DrawingState& s, int X, int Y);
FigureScript ToiletSideScript(const DrawingState& s, int X, int Y);
FigureScript ToiletUprightScript(const DrawingState& s, int X, int Y);
FigureScript CarUprightScript(const DrawingState& s, int X, int Y);
FigureScript CarSideScript(const DrawingState& s, int X, int Y);
FigureScript PlantsScript(const DrawingState& s, int X, int Y);

}  // namespace rv
