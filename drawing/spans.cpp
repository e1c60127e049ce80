#include "spans.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace rv {

namespace {

using i64 = std::int64_t;
using ld = long double;

// Pixel centres are tested a tiny step up and to the left of where they are, so a centre that
// lies exactly on an edge of a figure is decided the same way everywhere: edges at the top and
// left take it, edges at the bottom and right leave it. An even-width pen thus covers exactly
// width rows or columns across a straight run.
constexpr ld kNudge = 1.0L / 8192;

// Far beyond any bitmap yet far from overflowing when spans are clipped.
constexpr i64 kFar = i64{1} << 62;

constexpr ld kFarLd = static_cast<ld>(kFar);

// Converting through double avoids switching the x87 rounding mode for every value; the
// comparison with the exact value corrects what the double rounded away.
i64 CeilClamped(ld v) {
  if (!(v > -kFarLd)) return -kFar;  // also NaN
  if (v > kFarLd) return kFar;
  const i64 t = static_cast<i64>(static_cast<double>(v));
  return t + (static_cast<ld>(t) < v);
}
i64 FloorClamped(ld v) {
  if (!(v > -kFarLd)) return -kFar;
  if (v > kFarLd) return kFar;
  const i64 t = static_cast<i64>(static_cast<double>(v));
  return t - (static_cast<ld>(t) > v);
}

// The same for values known to be small, in double precision.
i64 CeilClamped(double v) {
  const i64 t = static_cast<i64>(v);
  return t + (static_cast<double>(t) < v);
}
i64 FloorClamped(double v) {
  const i64 t = static_cast<i64>(v);
  return t - (static_cast<double>(t) > v);
}

// Integers x with lo <= x - nudge <= hi.
i64 FirstIn(ld lo) { return CeilClamped(lo + kNudge); }
i64 LastIn(ld hi) { return FloorClamped(hi + kNudge); }
// Integers x with lo < x - nudge < hi.
i64 FirstInStrict(ld lo) { return FloorClamped(lo + kNudge) + 1; }
i64 LastInStrict(ld hi) { return CeilClamped(hi + kNudge) - 1; }

i64 Clamp128(Int128 v) {
  if (v > kFar) return kFar;
  if (v < -kFar) return -kFar;
  return static_cast<i64>(v);
}

constexpr Int128 kSmall = Int128{1} << 62;

// b > 0.
i64 FloorDiv(Int128 a, Int128 b) {
  if (a < kSmall && a > -kSmall && b < kSmall) {
    const i64 x = static_cast<i64>(a), y = static_cast<i64>(b);
    i64 q = x / y;
    if (x % y != 0 && x < 0) --q;
    return q;
  }
  Int128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return Clamp128(q);
}
i64 CeilDiv(Int128 a, Int128 b) {
  if (a < kSmall && a > -kSmall && b < kSmall) {
    const i64 x = static_cast<i64>(a), y = static_cast<i64>(b);
    i64 q = x / y;
    if (x % y != 0 && x > 0) ++q;
    return q;
  }
  Int128 q = a / b;
  if (a % b != 0 && a > 0) ++q;
  return Clamp128(q);
}

// Columns [lo, hi] (inclusive) of a row; empty when lo > hi.
struct Range {
  i64 lo = 1;
  i64 hi = 0;
  bool Empty() const { return lo > hi; }
};

Range ShapeRow(const BoxSpans::Shape& s, i64 y, bool strict) {
  Range out;
  if (s.empty) return out;
  const ld yy = static_cast<ld>(y) - kNudge;
  if (strict ? (yy <= s.y0 || yy >= s.y1) : (yy < s.y0 || yy > s.y1)) return out;
  ld lo = s.x0;
  ld hi = s.x1;
  if (s.ry > 0) {
    ld u = -1;
    if (yy < s.y0 + s.ry) {
      u = (s.y0 + s.ry) - yy;
    } else if (yy > s.y1 - s.ry) {
      u = yy - (s.y1 - s.ry);
    }
    if (u > 0) {
      const ld k = std::max<ld>(0, (s.ry - u) * (s.ry + u));
      const ld ext = s.rx * std::sqrt(k) / s.ry;
      lo = s.x0 + s.rx - ext;
      hi = s.x1 - s.rx + ext;
    }
  }
  if (strict) {
    out.lo = FirstInStrict(lo);
    out.hi = LastInStrict(hi);
  } else {
    out.lo = FirstIn(lo);
    out.hi = LastIn(hi);
  }
  return out;
}

// Columns of row yy (already nudged) within r of the segment, for either precision.
template <class F, class S>
bool CapsuleSpan(const S& s, F yy, F r, i64& first, i64& last) {
  F lo = std::numeric_limits<F>::infinity();
  F hi = -lo;
  auto disc = [&](F cx, F cy) {
    const F d = yy - cy;
    if (std::fabs(d) <= r) {
      const F e = std::sqrt(std::max<F>(0, (r - d) * (r + d)));
      lo = std::min(lo, cx - e);
      hi = std::max(hi, cx + e);
    }
  };
  disc(s.px, s.py);
  disc(s.qx, s.qy);
  if (yy >= s.band_ylo && yy <= s.band_yhi) {
    const F t = yy - s.py;
    const F base1 = s.px + s.s1 * t;
    const F base2 = s.px + s.s2 * t;
    const F a = std::max(base1 + s.oa1, base2 - s.w2);
    const F b = std::min(base1 + s.ob1, base2 + s.w2);
    if (a <= b) {
      lo = std::min(lo, a);
      hi = std::max(hi, b);
    }
  }
  if (!(lo <= hi)) return false;
  first = CeilClamped(lo + static_cast<F>(kNudge));
  last = FloorClamped(hi + static_cast<F>(kNudge));
  return first <= last;
}

// Small values, where a double holds every quantity of a stroke exactly enough.
constexpr i64 kFastLimit = i64{1} << 22;

}  // namespace

// ---------------------------------------------------------------------------------------------

ThinLine::ThinLine(i64 x0, i64 y0, i64 x1, i64 y1) : x0_(x0), y0_(y0) {
  const i64 dx = x1 - x0;
  const i64 dy = y1 - y0;
  adx_ = dx < 0 ? -dx : dx;
  ady_ = dy < 0 ? -dy : dy;
  sx_ = dx < 0 ? -1 : 1;
  sy_ = dy < 0 ? -1 : 1;
  xmajor_ = adx_ >= ady_;
  n_ = xmajor_ ? adx_ : ady_;
  if (n_ == 0) return;
  i64 last_minor;
  if (xmajor_) {
    last_minor = ady_ == 0 ? 0 : FloorDiv(Int128{2} * (n_ - 1) * ady_ + adx_, Int128{2} * adx_);
  } else {
    last_minor = n_ - 1;
  }
  const i64 y_end = y0 + sy_ * last_minor;
  top_ = std::min(y0, y_end);
  bottom_ = std::max(y0, y_end) + 1;
}

bool ThinLine::RowSpan(i64 y, Span& out) const {
  if (n_ == 0 || y < top_ || y >= bottom_) return false;
  const i64 k = (y - y0_) * sy_;
  if (k < 0) return false;
  if (!xmajor_) {
    if (k >= n_) return false;
    const i64 m = FloorDiv(Int128{2} * k * adx_ + ady_, Int128{2} * ady_);
    const i64 x = x0_ + sx_ * m;
    out = {x, x + 1};
    return true;
  }
  i64 tlo = 0;
  i64 thi = n_;
  if (ady_ == 0) {
    if (k != 0) return false;
  } else {
    tlo = std::max<i64>(0, CeilDiv(Int128{2 * k - 1} * adx_, Int128{2} * ady_));
    thi = std::min<i64>(n_, CeilDiv(Int128{2 * k + 1} * adx_, Int128{2} * ady_));
  }
  if (tlo >= thi) return false;
  if (sx_ > 0) {
    out = {x0_ + tlo, x0_ + thi};
  } else {
    out = {x0_ - thi + 1, x0_ - tlo + 1};
  }
  return true;
}

LineSpans::LineSpans(i64 x0, i64 y0, i64 x1, i64 y1) : line_(x0, y0, x1, y1) {
  top = line_.Top();
  bottom = line_.Bottom();
}

void LineSpans::Row(i64 y, SpanList& pen, SpanList&) {
  Span s;
  if (line_.RowSpan(y, s)) pen.push_back(s);
}

// ---------------------------------------------------------------------------------------------

void RowIndex::Finish() {
  std::sort(items_.begin(), items_.end(),
            [](const Item& a, const Item& b) { return a.first < b.first; });
}

PolySpans::PolySpans(std::vector<TPoint> points, bool closed, int width, bool fill)
    : pts_(std::move(points)), closed_(closed), fill_(fill), thin_(width <= 1) {
  r_ = static_cast<ld>(width) / 2;
  const std::size_t n = pts_.size();
  top = kFar;
  bottom = -kFar;
  if (n < 2) {
    fill_ = false;
    top = bottom = 0;
    return;
  }
  const std::size_t edges = closed_ ? n : n - 1;
  for (std::size_t i = 0; i < edges; ++i) {
    const TPoint a = pts_[i];
    const TPoint b = pts_[(i + 1) % n];
    if (a == b) continue;
    if (thin_) {
      ThinLine l(a.X, a.Y, b.X, b.Y);
      top = std::min(top, l.Top());
      bottom = std::max(bottom, l.Bottom());
      pen_rows_.Add(l.Top(), l.Bottom() - 1, thin_lines_.size());
      thin_lines_.push_back(l);
    } else {
      Seg s{};
      s.px = a.X;
      s.py = a.Y;
      s.qx = b.X;
      s.qy = b.Y;
      s.ylo = std::min(s.py, s.qy) - r_;
      s.yhi = std::max(s.py, s.qy) + r_;
      const ld dx = s.qx - s.px;
      const ld dy = s.qy - s.py;
      const ld len2 = dx * dx + dy * dy;
      const ld inf = std::numeric_limits<ld>::infinity();
      s.band_ylo = -inf;
      s.band_yhi = inf;
      // Projection onto the segment within [0, len2].
      if (dx != 0) {
        s.s1 = -dy / dx;
        s.oa1 = dx > 0 ? 0 : len2 / dx;
        s.ob1 = dx > 0 ? len2 / dx : 0;
      } else {
        s.s1 = 0;
        s.oa1 = -inf;
        s.ob1 = inf;
        s.band_ylo = std::min(s.py, s.qy);
        s.band_yhi = std::max(s.py, s.qy);
      }
      // Distance across the segment at most r.
      if (dy != 0) {
        s.s2 = dx / dy;
        s.w2 = r_ * std::sqrt(len2) / std::fabs(dy);
      } else {
        s.s2 = 0;
        s.w2 = inf;
        s.band_ylo = s.py - r_;
        s.band_yhi = s.py + r_;
      }
      top = std::min(top, FirstIn(s.ylo));
      bottom = std::max(bottom, LastIn(s.yhi) + 1);
      pen_rows_.Add(FirstIn(s.ylo), LastIn(s.yhi), segs_.size());
      segs_.push_back(s);
    }
  }
  if (!segs_.empty() && r_ <= kFastLimit) {
    fast_ = true;
    for (const TPoint& p : pts_) {
      if (p.X > kFastLimit || p.X < -kFastLimit || p.Y > kFastLimit || p.Y < -kFastLimit) {
        fast_ = false;
      }
    }
    if (fast_) {
      for (const Seg& s : segs_) {
        auto d = [](ld v) { return static_cast<double>(v); };
        dsegs_.push_back({d(s.px), d(s.py), d(s.qx), d(s.qy), d(s.ylo), d(s.yhi), d(s.s1),
                          d(s.oa1), d(s.ob1), d(s.s2), d(s.w2), d(s.band_ylo), d(s.band_yhi)});
      }
    }
  }
  pen_rows_.Finish();
  if (fill_) {
    i64 lo = pts_[0].Y;
    i64 hi = pts_[0].Y;
    for (std::size_t i = 0; i < n; ++i) {
      const i64 ay = pts_[i].Y;
      const i64 by = pts_[(i + 1) % n].Y;
      lo = std::min(lo, ay);
      hi = std::max(hi, ay);
      // An edge crosses the rows y with min < y <= max (see the crossing test in Row).
      if (ay != by) fill_rows_.Add(std::min(ay, by) + 1, std::max(ay, by), i);
    }
    fill_rows_.Finish();
    top = std::min(top, lo);
    bottom = std::max(bottom, hi + 1);
  }
  if (top >= bottom) top = bottom = 0;
}

void PolySpans::Row(i64 y, SpanList& pen, SpanList& brush) {
  const ld yy = static_cast<ld>(y) - kNudge;
  if (thin_) {
    Span s;
    pen_rows_.ForEach(y, [&](std::size_t i) {
      if (thin_lines_[i].RowSpan(y, s)) pen.push_back(s);
    });
  } else {
    i64 first, last;
    if (fast_ && dsegs_.size() == 1) {
      // A single stroke, as every wide line is: no index to consult.
      const double yd = static_cast<double>(y) - static_cast<double>(kNudge);
      const SegD& s = dsegs_[0];
      if (yd >= s.ylo && yd <= s.yhi &&
          CapsuleSpan<double>(s, yd, static_cast<double>(r_), first, last)) {
        pen.push_back({first, last + 1});
      }
    } else if (fast_) {
      const double yd = static_cast<double>(y) - static_cast<double>(kNudge);
      const double rd = static_cast<double>(r_);
      pen_rows_.ForEach(y, [&](std::size_t i) {
        if (CapsuleSpan<double>(dsegs_[i], yd, rd, first, last)) pen.push_back({first, last + 1});
      });
    } else {
      pen_rows_.ForEach(y, [&](std::size_t i) {
        if (CapsuleSpan<ld>(segs_[i], yy, r_, first, last)) pen.push_back({first, last + 1});
      });
    }
  }
  if (!fill_) return;
  xs_.clear();
  const std::size_t n = pts_.size();
  fill_rows_.ForEach(y, [&](std::size_t i) {
    const TPoint a = pts_[i];
    const TPoint b = pts_[(i + 1) % n];
    const ld ay = a.Y;
    const ld by = b.Y;
    if ((ay <= yy) == (by <= yy)) return;
    xs_.push_back(static_cast<ld>(a.X) +
                  (yy - ay) * (static_cast<ld>(b.X) - a.X) / (by - ay));
  });
  std::sort(xs_.begin(), xs_.end());
  for (std::size_t i = 0; i + 1 < xs_.size(); i += 2) {
    const i64 a = FirstIn(xs_[i]);
    const i64 b = LastIn(xs_[i + 1]);
    if (a <= b) brush.push_back({a, b + 1});
  }
}

// ---------------------------------------------------------------------------------------------

BoxSpans::BoxSpans(BoxKind kind, i64 l, i64 t, i64 r, i64 b, i64 corner_w, i64 corner_h,
                   int width, bool fill)
    : thin_(width <= 1), fill_(fill) {
  sx_ = l + r;
  sy_ = t + b;
  i64 cw = 0;
  i64 ch = 0;
  if (kind == BoxKind::Ellipse) {
    cw = r - l;
    ch = b - t;
  } else if (kind == BoxKind::RoundRect) {
    cw = std::min(corner_w < 0 ? -corner_w : corner_w, r - l);
    ch = std::min(corner_h < 0 ? -corner_h : corner_h, b - t);
  }
  if (thin_) {
    outer_ = {l - 0.5L, t - 0.5L, r - 0.5L, b - 0.5L, cw / 2.0L, ch / 2.0L, false};
    if (outer_.rx <= 0 || outer_.ry <= 0) outer_.rx = outer_.ry = 0;
    inner_.empty = true;
  } else {
    const ld rad = static_cast<ld>(width) / 2;
    rad_ = rad;
    pcx_ = (l + r - 1) / 2.0L;
    pcy_ = (t + b - 1) / 2.0L;
    pa_ = (r - 1 - l) / 2.0L;
    pb_ = (b - 1 - t) / 2.0L;
    Shape path{static_cast<ld>(l), static_cast<ld>(t), static_cast<ld>(r - 1),
               static_cast<ld>(b - 1), std::max<i64>(cw - 1, 0) / 2.0L,
               std::max<i64>(ch - 1, 0) / 2.0L, false};
    if (path.rx <= 0 || path.ry <= 0) path.rx = path.ry = 0;
    outer_ = {path.x0 - rad, path.y0 - rad, path.x1 + rad, path.y1 + rad, path.rx + rad,
              path.ry + rad, false};
    inner_ = {path.x0 + rad, path.y0 + rad, path.x1 - rad, path.y1 - rad,
              std::max<ld>(path.rx - rad, 0), std::max<ld>(path.ry - rad, 0), false};
    if (inner_.x0 >= inner_.x1 || inner_.y0 >= inner_.y1) inner_.empty = true;
    if (inner_.rx <= 0 || inner_.ry <= 0) inner_.rx = inner_.ry = 0;
  }
  top = FirstIn(outer_.y0);
  bottom = LastIn(outer_.y1) + 1;

  i64 lo = FirstIn(outer_.y0 + outer_.ry);
  i64 hi = LastIn(outer_.y1 - outer_.ry);
  if (thin_) {
    ++lo;  // the outline looks at the rows above and below too
    --hi;
  } else if (!inner_.empty) {
    lo = std::max({lo, FirstInStrict(inner_.y0), FirstIn(inner_.y0 + inner_.ry)});
    hi = std::min({hi, LastInStrict(inner_.y1), LastIn(inner_.y1 - inner_.ry)});
  }
  if (lo <= hi) {
    same_lo_ = lo;
    same_hi_ = hi + 1;
  }
}

i64 BoxSpans::Repeat(i64 y) const {
  if (arc_ || y < same_lo_ || y >= same_hi_) return 1;
  return same_hi_ - y;
}

void BoxSpans::SetArc(i64 x3, i64 y3, i64 x4, i64 y4) {
  arc_ = true;
  fill_ = false;
  // Vectors in doubled coordinates with y pointing up, so counter-clockwise on screen is the
  // usual positive turn.
  u1x_ = 2 * x3 - sx_;
  u1y_ = sy_ - 2 * y3;
  u2x_ = 2 * x4 - sx_;
  u2y_ = sy_ - 2 * y4;
  const Int128 cross = Int128{u1x_} * u2y_ - Int128{u1y_} * u2x_;
  const Int128 dot = Int128{u1x_} * u2x_ + Int128{u1y_} * u2y_;
  sweep_sign_ = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
  full_sweep_ = cross == 0 && dot >= 0;
  // A wide pen ends the arc with round caps where the rays meet the path.
  if (!thin_ && !full_sweep_ && pa_ > 0 && pb_ > 0) {
    for (const auto& [ux, uy] : {std::pair{u1x_, u1y_}, std::pair{u2x_, u2y_}}) {
      const ld dx = static_cast<ld>(ux);
      const ld dy = -static_cast<ld>(uy);  // back to y pointing down
      if (dx == 0 && dy == 0) continue;
      const ld qx = dx / pa_;
      const ld qy = dy / pb_;
      const ld k = 1 / std::sqrt(qx * qx + qy * qy);
      cap_x_[caps_] = pcx_ + k * dx;
      cap_y_[caps_] = pcy_ + k * dy;
      ++caps_;
    }
  }
}

namespace {

// Columns x of row vy (doubled, y up) where cross(u, v(x)) >= 0, or > 0 when strict, with
// v(x) = (2x + 1 - sx, vy).
Range HalfLine(i64 ux, i64 uy, i64 sx, i64 vy, bool strict) {
  // cross = ux * vy - uy * (2x + 1 - sx) = c - 2 uy x
  const Int128 c = Int128{ux} * vy - Int128{uy} * (1 - sx);
  const Int128 d = Int128{2} * uy;
  Range out{-kFar, kFar};
  if (uy == 0) {
    if (strict ? !(c > 0) : !(c >= 0)) out = Range{};
    return out;
  }
  if (uy > 0) {  // x <= c / d
    out.hi = strict ? CeilDiv(c, d) - 1 : FloorDiv(c, d);
  } else {  // x >= c / d, d < 0
    out.lo = strict ? FloorDiv(-c, -d) + 1 : CeilDiv(-c, -d);
  }
  return out;
}

Range Intersect(Range a, Range b) { return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)}; }

}  // namespace

bool BoxSpans::InSweepRange(i64 y, Span* ranges, int* count) const {
  *count = 0;
  if (full_sweep_) return true;
  const i64 vy = sy_ - (2 * y + 1);
  auto push = [&](Range r) {
    if (!r.Empty()) ranges[(*count)++] = {r.lo, r.hi + 1};
  };
  if (sweep_sign_ > 0) {
    // cross(u1, v) >= 0 and cross(v, u2) >= 0
    push(Intersect(HalfLine(u1x_, u1y_, sx_, vy, false), HalfLine(-u2x_, -u2y_, sx_, vy, false)));
  } else if (sweep_sign_ == 0) {
    push(HalfLine(u1x_, u1y_, sx_, vy, false));
  } else {
    // Everything but the open sweep from u2 to u1.
    const Range gap =
        Intersect(HalfLine(u2x_, u2y_, sx_, vy, true), HalfLine(-u1x_, -u1y_, sx_, vy, true));
    if (gap.Empty()) {
      push(Range{-kFar, kFar});
    } else {
      push(Range{-kFar, gap.lo - 1});
      push(Range{gap.hi + 1, kFar});
    }
  }
  return false;
}

void BoxSpans::ClipToSweep(i64 y, const Span& s, SpanList& out) const {
  Span ranges[2];
  int count = 0;
  if (InSweepRange(y, ranges, &count)) {
    out.push_back(s);
    return;
  }
  for (int i = 0; i < count; ++i) {
    const i64 a = std::max(s.x0, ranges[i].x0);
    const i64 b = std::min(s.x1, ranges[i].x1);
    if (a < b) out.push_back({a, b});
  }
}

void BoxSpans::OuterRow(i64 y, i64& lo, i64& hi) {
  CachedRow& c = cache_[((y % 3) + 3) % 3];
  if (c.y != y) {
    const Range r = ShapeRow(outer_, y, false);
    c = {y, r.lo, r.hi};
  }
  lo = c.lo;
  hi = c.hi;
}

void BoxSpans::Row(i64 y, SpanList& pen, SpanList& brush) {
  Span pieces[2];
  int n = 0;
  if (caps_ > 0) {
    const ld yy = static_cast<ld>(y) - kNudge;
    for (int i = 0; i < caps_; ++i) {
      const ld d = yy - cap_y_[i];
      if (std::fabs(d) > rad_) continue;
      const ld e = std::sqrt(std::max<ld>(0, (rad_ - d) * (rad_ + d)));
      const i64 a = FirstIn(cap_x_[i] - e);
      const i64 b = LastIn(cap_x_[i] + e);
      if (a <= b) pen.push_back({a, b + 1});
    }
  }
  Range o;
  OuterRow(y, o.lo, o.hi);
  if (o.Empty()) return;
  Range in;
  if (thin_) {
    Range up, down;
    OuterRow(y - 1, up.lo, up.hi);
    OuterRow(y + 1, down.lo, down.hi);
    if (!up.Empty() && !down.Empty()) {
      in.lo = std::max({o.lo + 1, up.lo, down.lo});
      in.hi = std::min({o.hi - 1, up.hi, down.hi});
    }
  } else {
    in = ShapeRow(inner_, y, true);
    in.lo = std::max(in.lo, o.lo);
    in.hi = std::min(in.hi, o.hi);
  }
  if (in.Empty()) {
    pieces[n++] = {o.lo, o.hi + 1};
  } else {
    if (o.lo < in.lo) pieces[n++] = {o.lo, in.lo};
    if (in.hi < o.hi) pieces[n++] = {in.hi + 1, o.hi + 1};
    if (fill_) brush.push_back({in.lo, in.hi + 1});
  }
  for (int i = 0; i < n; ++i) {
    if (arc_) {
      ClipToSweep(y, pieces[i], pen);
    } else {
      pen.push_back(pieces[i]);
    }
  }
}

}  // namespace rv
