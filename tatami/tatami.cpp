#include "tatami/tatami.h"

#include "tatami/arrangements.h"

namespace rv {

namespace {

constexpr TColor kMatColor = 0x0080FF80;

// round(w * 0.5), halves to the even neighbour, exact for extents beyond 32 bits.
std::int64_t HalfRoundedEven(std::int64_t w) {
  std::int64_t q = w / 2;
  if (w % 2 != 0 && q % 2 != 0) q += w > 0 ? 1 : -1;
  return q;
}

}  // namespace

TatamiPlan PlanTatami(const DrawingState& s, int itemIndex) {
  using I = std::int64_t;
  const I L = s.FrameLeft, T = s.FrameTop, R = s.FrameRight, B = s.FrameBottom;
  // Far-apart corners overflow 32 bits; the extents and everything built on them are 64-bit.
  const I W = R - L, H = B - T;

  TatamiPlan plan;
  FigureScript& f = plan.calls;
  f.BrushColor(kMatColor);
  f.FloodFill(L + HalfRoundedEven(W), T + HalfRoundedEven(H), clBlack, TFillStyle::fsBorder);

  const tatami::MatCount& count = tatami::MatCountAt(itemIndex);
  const tatami::Arrangement* arrangement = count.landscape;
  if (count.oriented) {
    if (s.SpanX == s.SpanY) return plan;  // no hint which way: the fill is all
    if (s.SpanY > s.SpanX) arrangement = count.portrait;
  }

  f.PenWidth(1);
  f.PenColor(clBlack);
  const I u = W / arrangement->columns;  // truncates toward zero
  const I v = H / arrangement->rows;
  plan.grid = TatamiPlan::Grid{static_cast<int>(u), static_cast<int>(v)};
  for (const tatami::Segment& seg : arrangement->segments) {
    f.MoveTo(tatami::Resolve(seg.x1, L, T, R, B, u, v), tatami::Resolve(seg.y1, L, T, R, B, u, v));
    f.LineTo(tatami::Resolve(seg.x2, L, T, R, B, u, v), tatami::Resolve(seg.y2, L, T, R, B, u, v));
  }
  return plan;
}

void LayTatami(DrawingState& s, Surface& surface, int itemIndex) {
  if (itemIndex < 0 || itemIndex >= tatami::kMatCountItems) return;
  // An icon or metafile throws here, before anything is drawn or stored.
  TCanvas& canvas = surface.Canvas();
  const TatamiPlan plan = PlanTatami(s, itemIndex);
  if (plan.grid) {
    s.SpanX = plan.grid->u;
    s.SpanY = plan.grid->v;
  }
  plan.calls.Play(s, canvas, s.FrameRight, s.FrameBottom);
}

}  // namespace rv
