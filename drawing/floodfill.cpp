#include "floodfill.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rv {

namespace {

constexpr std::uint32_t kRgb = 0x00FFFFFFu;
constexpr std::uint32_t kAlpha = 0xFF000000u;

struct Bounds {
  int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
  void Add(int y, int a, int b) {
    if (a < x0) x0 = a;
    if (b > x1) x1 = b;
    if (y < y0) y0 = y;
    if (y + 1 > y1) y1 = y + 1;
  }
  TRect Rect() const { return x0 >= x1 ? TRect{} : TRect{x0, y0, x1, y1}; }
};

// Pixels whose colour decides membership: equal to the key (surface) or different (border).
template <bool kBorder>
struct Matcher {
  std::uint32_t key;
  bool operator()(std::uint32_t p) const {
    return kBorder ? ((p ^ key) & kRgb) != 0 : ((p ^ key) & kRgb) == 0;
  }
#ifdef __SSE2__
  // Bit i set when pixel i of the four is in.
  int Four(const std::uint32_t* p) const {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i eq = _mm_cmpeq_epi32(_mm_and_si128(v, _mm_set1_epi32(kRgb)),
                                       _mm_set1_epi32(static_cast<int>(key)));
    const int m = _mm_movemask_ps(_mm_castsi128_ps(eq));
    return kBorder ? (~m & 0xF) : m;
  }
#endif
};

struct Painter {
  std::uint32_t paint;
  std::uint32_t flip;  // NOT-XOR: bits to flip
  bool not_xor;
  void operator()(std::uint32_t* p, int n) const {
    if (!not_xor) {
      for (int i = 0; i < n; ++i) p[i] = paint;
    } else {
      for (int i = 0; i < n; ++i) p[i] = (p[i] ^ flip) | kAlpha;
    }
  }
};

// The region is every matching pixel; painting takes a pixel out of it, so no mask is needed.
template <bool kBorder>
struct PlainGrid {
  std::uint32_t* bits;
  int w;
  Matcher<kBorder> match;
  Painter paint;

  bool Inside(int x, int y) const { return match(bits[static_cast<std::size_t>(y) * w + x]); }
  void Prefetch(int x, int y) const { __builtin_prefetch(bits + static_cast<std::size_t>(y) * w + x); }
  // First column in [x, limit) that is out, or limit.
  int RunEnd(int y, int x, int limit) const {
    const std::uint32_t* row = bits + static_cast<std::size_t>(y) * w;
#ifdef __SSE2__
    while (x + 8 <= limit) {
      const int m = match.Four(row + x) | (match.Four(row + x + 4) << 4);
      if (m != 0xFF) return x + __builtin_ctz(~m & 0xFF);
      x += 8;
    }
#endif
    while (x < limit && match(row[x])) ++x;
    return x;
  }
  // First column in [x, limit) that is in, or limit when x < limit.
  int SkipTo(int y, int x, int limit) const {
    const std::uint32_t* row = bits + static_cast<std::size_t>(y) * w;
    while (x < limit && !match(row[x])) ++x;
    return x;
  }
  void Take(int y, int a, int b) { paint(bits + static_cast<std::size_t>(y) * w + a, b - a); }
};

// Painting may leave a pixel in the region, so taken pixels are marked.
template <bool kBorder>
struct MaskGrid {
  std::uint32_t* bits;
  std::uint8_t* mask;
  int w;
  Matcher<kBorder> match;
  Painter paint;

  bool Inside(int x, int y) const {
    const std::size_t i = static_cast<std::size_t>(y) * w + x;
    return mask[i] == 0 && match(bits[i]);
  }
  void Prefetch(int x, int y) const {
    const std::size_t i = static_cast<std::size_t>(y) * w + x;
    __builtin_prefetch(bits + i);
    __builtin_prefetch(mask + i);
  }
  int RunEnd(int y, int x, int limit) const {
    const std::size_t base = static_cast<std::size_t>(y) * w;
    const std::uint32_t* row = bits + base;
    const std::uint8_t* mrow = mask + base;
#ifdef __SSE2__
    while (x + 8 <= limit) {
      std::uint64_t taken;
      std::memcpy(&taken, mrow + x, 8);
      if (taken != 0) break;
      const int m = match.Four(row + x) | (match.Four(row + x + 4) << 4);
      if (m != 0xFF) return x + __builtin_ctz(~m & 0xFF);
      x += 8;
    }
#endif
    while (x < limit && mrow[x] == 0 && match(row[x])) ++x;
    return x;
  }
  int SkipTo(int y, int x, int limit) const {
    while (x < limit && !Inside(x, y)) ++x;
    return x;
  }
  void Take(int y, int a, int b) {
    const std::size_t base = static_cast<std::size_t>(y) * w;
    std::memset(mask + base + a, 1, static_cast<std::size_t>(b - a));
    paint(bits + base + a, b - a);
  }
};

constexpr std::size_t kPrefetchDepth = 6;

// Span fill with an explicit stack: each entry is a run of the row above or below a run
// already taken, to be searched for pixels still in the region.
template <class Grid>
TRect Fill(Grid& g, int w, int h, int sx, int sy) {
  struct Seg {
    int x1, x2, y, dy;
  };
  std::vector<Seg> stack;
  stack.reserve(1024);
  Bounds bounds;
  auto take = [&](int y, int a, int b) {
    if (a < b) {
      g.Take(y, a, b);
      bounds.Add(y, a, b);
    }
  };
  stack.push_back({sx, sx, sy, 1});
  stack.push_back({sx, sx, sy - 1, -1});
  while (!stack.empty()) {
    const Seg s = stack.back();
    stack.pop_back();
    // Entries deep in the stack belong to rows visited long ago; when the search backs up
    // it pops them one after another, so fetch their pixels a few pops ahead.
    if (stack.size() >= kPrefetchDepth) {
      const Seg& ahead = stack[stack.size() - kPrefetchDepth];
      if (ahead.y >= 0 && ahead.y < h) g.Prefetch(ahead.x1, ahead.y);
    }
    const int y = s.y;
    if (y < 0 || y >= h) continue;
    int x1 = s.x1;
    const int x2 = s.x2;
    int x = x1;
    if (g.Inside(x, y)) {
      int a = x;
      while (a > 0 && g.Inside(a - 1, y)) --a;
      take(y, a, x1);
      if (a < x1) stack.push_back({a, x1 - 1, y - s.dy, -s.dy});
      x = a;
    }
    while (x1 <= x2) {
      const int e = g.RunEnd(y, x1, w);
      take(y, x1, e);
      x1 = e;
      if (x1 > x) stack.push_back({x, x1 - 1, y + s.dy, s.dy});
      if (x1 - 1 > x2) stack.push_back({x2 + 1, x1 - 1, y - s.dy, -s.dy});
      ++x1;
      x1 = g.SkipTo(y, x1, x2);
      x = x1;
    }
  }
  return bounds.Rect();
}

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

}  // namespace

TRect FloodFillBits(const FloodRequest& rq) {
  const int w = rq.width;
  const int h = rq.height;
  if (rq.bits == nullptr || w <= 0 || h <= 0) return {};
  if (rq.x < 0 || rq.y < 0 || rq.x >= w || rq.y >= h) return {};
  const std::uint32_t key = rq.color & kRgb;
  const std::uint32_t start = rq.bits[static_cast<std::size_t>(rq.y) * w + rq.x];
  const Painter painter{rq.paint | kAlpha, ~rq.paint & kRgb, rq.not_xor};
  // NOT-XOR with white changes nothing.
  if (rq.not_xor && painter.flip == 0) return {};

  if (!rq.border) {
    const Matcher<false> match{key};
    if (!match(start)) return {};
    const std::uint32_t painted = rq.not_xor ? (start ^ painter.flip) : rq.paint;
    if (match(painted)) return {};  // the region would keep its colour
    PlainGrid<false> g{rq.bits, w, match, painter};
    return Fill(g, w, h, rq.x, rq.y);
  }

  const Matcher<true> match{key};
  if (!match(start)) return {};
  if (!rq.not_xor && !match(painter.paint)) {
    // Painting with the border colour itself closes each pixel off.
    PlainGrid<true> g{rq.bits, w, match, painter};
    return Fill(g, w, h, rq.x, rq.y);
  }
  std::unique_ptr<std::uint8_t, FreeDeleter> mask(
      static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(w) * h, 1)));
  if (!mask) throw EngineError("ﾒﾓﾘが不足しています");
  MaskGrid<true> g{rq.bits, mask.get(), w, match, painter};
  return Fill(g, w, h, rq.x, rq.y);
}

}  // namespace rv
