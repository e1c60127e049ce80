// The move handler: pointer read-out, cursor, the rubber band of the selected tool and the
// frame size read-out. The rubber band lives in the bitmap itself; drawing the previous one
// again in pmNotXor is the only way it is removed.
#include <cmath>
#include <cstdint>
#include <string>

#include "drawing/engine.h"
#include "drawing/rounding.h"
#include "drawing/surface_paint.h"

namespace rv {

namespace {

// round(part / sum * 100) in extended precision. The spans may be anything a drag gives,
// so the result can lie far outside 0..100 and even outside 32 bits.
std::int64_t Percent(int part, int sum) {
  const long double v = static_cast<long double>(part) / static_cast<long double>(sum) * 100.0L;
  return static_cast<std::int64_t>(std::nearbyintl(v));  // ties to even
}

enum class Shape { None, Rect, Ellipse, RoundRect, Line };

Shape PreviewShape(int tool) {
  switch (tool) {
    case toolFrame:
    case toolRectangle:
    case toolPlants:
    case toolToiletSide:
    case toolToiletUpright:
    case toolDoorA:
    case toolDoorB:
    case toolCarUpright:
    case toolCarSide:
      return Shape::Rect;
    case toolEllipse:
      return Shape::Ellipse;
    case toolRoundRect:
      return Shape::RoundRect;
    case toolThickLine:
    case toolThinLine:
    case toolHingedDoor:
    case toolOpening:
      return Shape::Line;
    default:
      return Shape::None;
  }
}

// The pen and brush each preview draws with; they stay for the commit at the release.
void PreviewSettings(const DrawingState& s, TCanvas& c) {
  switch (s.CurrentTool) {
    case toolFrame:
      c.Pen.SetWidth(7);
      c.Pen.Color = clBlack;
      c.Brush.Color = clWhite;
      break;
    case toolRoundRect:
      c.Pen.SetWidth(1);
      c.Brush.Color = clWhite;
      c.Pen.Color = clBlack;
      break;
    case toolThickLine:
      c.Pen.Color = clBlack;
      c.Pen.SetWidth(s.PenSize);
      break;
    case toolThinLine:
      c.Pen.Color = clBlack;
      c.Pen.SetWidth(1);
      break;
    case toolHingedDoor:
    case toolOpening:
      c.Pen.SetWidth(1);
      break;
    default:  // the rectangle-shaped previews and the ellipse
      c.Pen.SetWidth(1);
      c.Pen.Color = clBlack;
      c.Brush.Color = clWhite;
      break;
  }
  c.Pen.Mode = TPenMode::pmNotXor;
  c.Pen.Color = clBlack;
}

void DrawShape(TCanvas& c, Shape shape, int x1, int y1, int x2, int y2) {
  switch (shape) {
    case Shape::Rect:
      c.Rectangle(x1, y1, x2, y2);
      break;
    case Shape::Ellipse:
      c.Ellipse(x1, y1, x2, y2);
      break;
    case Shape::RoundRect:
      c.RoundRect(x1, y1, x2, y2, 10, 10);
      break;
    case Shape::Line:
      c.MoveTo(x1, y1);
      c.LineTo(x2, y2);
      break;
    case Shape::None:
      break;
  }
}

void Preview(DrawingState& s, UiPort& ui, Surface& surface, int X, int Y) {
  const Shape shape = PreviewShape(s.CurrentTool);
  if (shape == Shape::None) return;

  if (s.CurrentTool == toolFrame || s.CurrentTool == toolRectangle) {
    s.SpanX = WrapSub(X, s.StartX);
    s.SpanY = WrapSub(Y, s.StartY);
    if (auto text = SizeReadout(s.SpanX, s.SpanY)) ui.SetStatusText(*text);
  }

  TCanvas& c = DrawingCanvas(ui, surface);
  PreviewSettings(s, c);
  if (shape == Shape::Line) {
    // The line erase repeats the earlier segment in the same direction.
    DrawShape(c, shape, s.StartX, s.StartY, s.LastX, s.LastY);
  } else {
    DrawShape(c, shape, s.LastX, s.LastY, s.StartX, s.StartY);
  }
  DrawShape(c, shape, s.StartX, s.StartY, X, Y);
  s.LastX = X;
  s.LastY = Y;
  c.Pen.Mode = TPenMode::pmCopy;
  ShowChanges(ui, surface, c);
}

// White squares at the reported points only, offset 5 pixels right and down; the outline
// follows over the same area.
void EraserMove(DrawingState& s, UiPort& ui, Surface& surface, int X, int Y) {
  const int left = WrapAdd(X, 5);
  const int top = WrapAdd(Y, 5);
  // An outline exists only if this gesture's press made one and nothing destroyed it since.
  if (s.EraserShape != 0 && ui.EraserOutlineExists(s.EraserShape)) {
    const int side = s.PenSize < 0 ? 0 : s.PenSize;
    ui.ShowEraserOutline(s.EraserShape, left, top, side, side);
  }
  TCanvas& c = DrawingCanvas(ui, surface);
  c.Pen.Mode = TPenMode::pmCopy;
  c.Pen.Color = clWhite;
  c.Brush.Color = clWhite;
  c.Rectangle(left, top, WrapAdd(left, s.PenSize), WrapAdd(top, s.PenSize));
  ShowChanges(ui, surface, c);
}

}  // namespace

std::optional<std::string> SizeReadout(int spanX, int spanY) {
  const int sum = WrapAdd(spanX, spanY);
  if (sum == 0) return std::nullopt;
  std::string t = "間取りサイズ　縦・横　";
  t += std::to_string(spanY);
  t += " : ";
  t += std::to_string(spanX);
  t += "　　比率 ";
  t += std::to_string(Percent(spanY, sum));
  t += " : ";
  t += std::to_string(Percent(spanX, sum));
  t += "    面積 ";
  t += std::to_string(WrapMul(spanX, spanY));
  return t;
}

// X and Y are relative to the surface under the pointer, which is not necessarily the active one.
void MoveOverSurface(DrawingState& s, UiPort& ui, Surface& /*sender*/, int X, int Y) {
  ui.SetPointerReadout("X:" + std::to_string(X) + "  Y:" + std::to_string(Y));
  // The cursor and the drawing go to the active surface, not the one under the pointer;
  // a surface whose window has closed is left alone.
  std::shared_ptr<Surface> active = s.ActiveImage.lock();
  if (active) ui.SetSurfaceCursor(*active, TCursor::crCross);
  s.DragMoved = true;
  if (!s.PenDown || !active) return;
  if (s.CurrentTool == toolEraser) {
    EraserMove(s, ui, *active, X, Y);
  } else {
    Preview(s, ui, *active, X, Y);
  }
}

}  // namespace rv
