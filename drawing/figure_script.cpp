#include "figure_script.h"

#include <cstdio>

#include "commits.h"

namespace rv {

void FigureScript::Add(CallKind k, std::initializer_list<I> args) {
  CanvasCall call{k};
  for (I v : args) call.a[call.n++] = Clamp32(v);
  calls_.push_back(call);
}

void FigureScript::Play(DrawingState& s, TCanvas& c, int X, int Y) const {
  for (const CanvasCall& k : calls_) {
    const auto& a = k.a;
    switch (k.kind) {
      case CallKind::PenWidth: c.Pen.SetWidth(a[0]); break;
      case CallKind::PenColor: c.Pen.Color = static_cast<TColor>(a[0]); break;
      case CallKind::PenMode: c.Pen.Mode = static_cast<TPenMode>(a[0]); break;
      case CallKind::BrushColor: c.Brush.Color = static_cast<TColor>(a[0]); break;
      case CallKind::MoveTo: c.MoveTo(a[0], a[1]); break;
      case CallKind::LineTo: c.LineTo(a[0], a[1]); break;
      case CallKind::Rectangle: c.Rectangle(a[0], a[1], a[2], a[3]); break;
      case CallKind::RoundRect: c.RoundRect(a[0], a[1], a[2], a[3], a[4], a[5]); break;
      case CallKind::Ellipse: c.Ellipse(a[0], a[1], a[2], a[3]); break;
      case CallKind::Arc: c.Arc(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); break;
      case CallKind::Polygon: {
        const TPoint pts[4] = {{a[0], a[1]}, {a[2], a[3]}, {a[4], a[5]}, {a[6], a[7]}};
        c.Polygon(pts);
        break;
      }
      case CallKind::FloodFill:
        c.FloodFill(a[0], a[1], static_cast<TColor>(a[2]), static_cast<TFillStyle>(a[3]));
        break;
      case CallKind::EraseBand: EraseRubberBand(s, c, X, Y); break;
    }
  }
}

namespace {

std::string ColorName(int v) {
  const auto c = static_cast<TColor>(v);
  if (c == clBlack) return "clBlack";
  if (c == clWhite) return "clWhite";
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", c);
  return buf;
}

std::string Args(const CanvasCall& k) {
  std::string out;
  for (int i = 0; i < k.n; ++i) {
    if (i) out += ", ";
    out += std::to_string(k.a[i]);
  }
  return out;
}

}  // namespace

std::string Describe(const CanvasCall& k) {
  const auto& a = k.a;
  switch (k.kind) {
    case CallKind::PenWidth: return "Pen.Width := " + std::to_string(a[0]);
    case CallKind::PenColor: return "Pen.Color := " + ColorName(a[0]);
    case CallKind::PenMode:
      return std::string("Pen.Mode := ") +
             (static_cast<TPenMode>(a[0]) == TPenMode::pmCopy ? "pmCopy" : "pmNotXor");
    case CallKind::BrushColor: return "Brush.Color := " + ColorName(a[0]);
    case CallKind::MoveTo: return "MoveTo(" + Args(k) + ")";
    case CallKind::LineTo: return "LineTo(" + Args(k) + ")";
    case CallKind::Rectangle: return "Rectangle(" + Args(k) + ")";
    case CallKind::RoundRect: return "RoundRect(" + Args(k) + ")";
    case CallKind::Ellipse: return "Ellipse(" + Args(k) + ")";
    case CallKind::Arc: return "Arc(" + Args(k) + ")";
    case CallKind::Polygon: {
      std::string out = "Polygon(";
      for (int i = 0; i < 8; i += 2) {
        if (i) out += ", ";
        out += "(" + std::to_string(a[i]) + ", " + std::to_string(a[i + 1]) + ")";
      }
      return out + ")";
    }
    case CallKind::FloodFill:
      return "FloodFill(" + std::to_string(a[0]) + ", " + std::to_string(a[1]) + ", " +
             ColorName(a[2]) + ", " +
             (static_cast<TFillStyle>(a[3]) == TFillStyle::fsBorder ? "fsBorder" : "fsSurface") +
             ")";
    case CallKind::EraseBand: return "EraseRubberBand";
  }
  return "?";
}

std::vector<std::string> Describe(const FigureScript& script) {
  std::vector<std::string> out;
  for (const CanvasCall& k : script.Calls()) out.push_back(Describe(k));
  return out;
}

}  // namespace rv
