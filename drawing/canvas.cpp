// PLACEHOLDER: replaced by the real canvas. Only what links is here.
#include "canvas.h"

namespace rv {

void TCanvas::MoveTo(int X, int Y) { pen_pos_ = {X, Y}; }
TRect TCanvas::LineTo(int X, int Y) { pen_pos_ = {X, Y}; return {}; }
TRect TCanvas::Rectangle(int, int, int, int) { return {}; }
TRect TCanvas::RoundRect(int, int, int, int, int, int) { return {}; }
TRect TCanvas::Ellipse(int, int, int, int) { return {}; }
TRect TCanvas::Arc(int, int, int, int, int, int, int, int) { return {}; }
TRect TCanvas::Polygon(std::span<const TPoint>) { return {}; }
TRect TCanvas::FloodFill(int, int, TColor, TFillStyle) { return {}; }
TColor TCanvas::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= bmp_.width_ || Y >= bmp_.height_) return clInvalid;
  return PixelToColor(bmp_.ScanLine(Y)[X]);
}
TRect TCanvas::SetPixel(int, int, TColor) { return {}; }
TRect TCanvas::TextOut(int, int, const std::string&) { return {}; }
TRect TCanvas::TakeDirty() { TRect r = dirty_; dirty_ = {}; return r; }

}  // namespace rv
