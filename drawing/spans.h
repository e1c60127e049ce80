// Figures as rows of spans. A figure knows nothing of pixels or bitmaps: asked for a row it
// appends the half-open runs its pen and its brush cover there. The canvas clips the rows and
// runs to the bitmap and paints them.
//
// All geometry is in 64-bit integers or long double, so any pair of 32-bit coordinates and
// any pen width can be described without overflow, and the cost of a figure is bounded by the
// rows the canvas asks for rather than by the figure's size.
#pragma once

#include <cstdint>
#include <vector>

#include "types.h"

namespace rv {

__extension__ typedef __int128 Int128;

// Columns [x0, x1) of one row.
struct Span {
  std::int64_t x0;
  std::int64_t x1;
};
using SpanList = std::vector<Span>;

class SpanSource {
 public:
  virtual ~SpanSource() = default;
  // Rows [top, bottom) may hold spans; every other row is empty.
  std::int64_t top = 0;
  std::int64_t bottom = 0;
  // Appends the pen and brush runs of row y. Runs may overlap one another; the canvas
  // merges them and keeps the brush off the pen. Rows are asked for in increasing order.
  virtual void Row(std::int64_t y, SpanList& pen, SpanList& brush) = 0;
  // How many rows from y on (at least 1) have exactly the spans of row y.
  virtual std::int64_t Repeat(std::int64_t) const { return 1; }
};

// A 1-pixel line from (x0, y0) towards (x1, y1), the end pixel excluded: one pixel per step of
// the major axis, the minor offset rounded to nearest with halves away from the start.
class ThinLine {
 public:
  ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
  bool Empty() const { return n_ == 0; }
  std::int64_t Top() const { return top_; }
  std::int64_t Bottom() const { return bottom_; }
  // The run of the line in row y, if any.
  bool RowSpan(std::int64_t y, Span& out) const;

 private:
  std::int64_t x0_, y0_;
  std::int64_t adx_, ady_;
  int sx_, sy_;
  bool xmajor_;
  std::int64_t n_;  // pixels drawn
  std::int64_t top_ = 0, bottom_ = 0;
};

class LineSpans final : public SpanSource {
 public:
  LineSpans(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
  void Row(std::int64_t y, SpanList& pen, SpanList& brush) override;

 private:
  ThinLine line_;
};

// Items that each cover a range of rows, visited row by row in increasing order: only the
// items covering the row are looked at, so a figure with many edges costs what its rows hold.
class RowIndex {
 public:
  void Add(std::int64_t first, std::int64_t last, std::size_t index) {
    if (first <= last) items_.push_back({first, last, index});
  }
  void Finish();
  // Calls f(index) for every item covering row y.
  template <class F>
  void ForEach(std::int64_t y, F&& f) {
    if (y < last_y_) {
      next_ = 0;
      active_.clear();
    }
    last_y_ = y;
    while (next_ < items_.size() && items_[next_].first <= y) active_.push_back(next_++);
    std::size_t kept = 0;
    for (std::size_t j = 0; j < active_.size(); ++j) {
      const Item& it = items_[active_[j]];
      if (it.last < y) continue;
      active_[kept++] = active_[j];
      if (it.first <= y) f(it.index);
    }
    active_.resize(kept);
  }

 private:
  struct Item {
    std::int64_t first, last;
    std::size_t index;
  };
  std::vector<Item> items_;
  std::vector<std::size_t> active_;
  std::size_t next_ = 0;
  std::int64_t last_y_ = INT64_MIN;
};

// Segments stroked with a round pen of the given width: every pixel whose centre lies within
// width / 2 of a segment (round caps and round joins). With fill, the brush covers the
// inside of the closed polygon through the points under the alternate (even-odd) rule.
// Width 0 or 1 strokes with 1-pixel lines instead.
class PolySpans final : public SpanSource {
 public:
  PolySpans(std::vector<TPoint> points, bool closed, int width, bool fill);
  void Row(std::int64_t y, SpanList& pen, SpanList& brush) override;

 private:
  struct Seg {
    long double px, py, qx, qy;
    long double ylo, yhi;
    // The band between the end discs, with t = y - py: x from
    // max(px + s1 t + oa1, px + s2 t - w2) to min(px + s1 t + ob1, px + s2 t + w2).
    long double s1, oa1, ob1, s2, w2;
    long double band_ylo, band_yhi;  // rows outside these have no band
  };
  std::vector<TPoint> pts_;
  bool closed_;
  bool fill_;
  bool thin_;
  long double r_ = 0;
  std::vector<ThinLine> thin_lines_;
  std::vector<Seg> segs_;
  // The same segments in double precision, used when every value is small enough for it.
  struct SegD {
    double px, py, qx, qy, ylo, yhi, s1, oa1, ob1, s2, w2, band_ylo, band_yhi;
  };
  std::vector<SegD> dsegs_;
  bool fast_ = false;
  std::vector<long double> xs_;  // scratch for the crossings of one row
  RowIndex pen_rows_;   // thin_lines_ or segs_
  RowIndex fill_rows_;  // edges i -> i + 1 of pts_
};

enum class BoxKind { Rect, Ellipse, RoundRect };

// Rectangle, ellipse and rounded rectangle in a box [L, R) x [T, B) (already ordered), and the
// arc of the box's ellipse. A 1-pixel pen outlines the digital figure (its pixels that touch
// the outside); a wider pen covers every pixel within width / 2 of the 1-pixel path.
class BoxSpans final : public SpanSource {
 public:
  BoxSpans(BoxKind kind, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
           std::int64_t corner_w, std::int64_t corner_h, int width, bool fill);
  // Outline only, limited to the sweep counter-clockwise on screen from the ray through
  // (x3, y3) to the ray through (x4, y4), both from the box centre.
  void SetArc(std::int64_t x3, std::int64_t y3, std::int64_t x4, std::int64_t y4);
  void Row(std::int64_t y, SpanList& pen, SpanList& brush) override;
  std::int64_t Repeat(std::int64_t y) const override;

  // A box shape with rounded corners in pixel-centre coordinates.
  struct Shape {
    long double x0, y0, x1, y1;  // inclusive extent
    long double rx, ry;          // corner semi-axes, at most half the extent
    bool empty = false;
  };

 private:
  void ClipToSweep(std::int64_t y, const Span& s, SpanList& out) const;
  void OuterRow(std::int64_t y, std::int64_t& lo, std::int64_t& hi);
  bool InSweepRange(std::int64_t y, Span* ranges, int* count) const;

  bool thin_;
  bool fill_;
  Shape outer_{};  // thin pen: the filled figure; wide pen: the outer edge of the stroke
  Shape inner_{};  // wide pen: the inside of the stroke
  // The outer row of the last few rows asked for: a 1-pixel outline looks at each row three
  // times, as a row and as the neighbour above and below.
  struct CachedRow {
    std::int64_t y = INT64_MIN, lo = 1, hi = 0;
  };
  CachedRow cache_[3];
  // Rows [same_lo_, same_hi_) all look alike: the straight sides, away from every corner.
  std::int64_t same_lo_ = 0, same_hi_ = 0;
  bool arc_ = false;
  bool full_sweep_ = true;
  // Doubled coordinates: centre sum and ray vectors.
  std::int64_t sx_ = 0, sy_ = 0;
  std::int64_t u1x_ = 0, u1y_ = 0, u2x_ = 0, u2y_ = 0;
  int sweep_sign_ = 0;  // > 0: under half a turn; < 0: more; 0: exactly half
  // Wide pen: the 1-pixel path's centre and semi-axes, the pen radius, and the round caps at
  // the two ends of an arc.
  long double pcx_ = 0, pcy_ = 0, pa_ = 0, pb_ = 0, rad_ = 0;
  int caps_ = 0;
  long double cap_x_[2] = {}, cap_y_[2] = {};
};

}  // namespace rv
