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

using u64 = std::uint64_t;

constexpr std::uint32_t kRgb = 0x00FFFFFFu;
constexpr std::uint32_t kAlpha = 0xFF000000u;
// Runs at least this long are written past the cache (see the canvas fills).
constexpr int kStreamRun = 2048;

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

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Buffer = std::unique_ptr<T, FreeDeleter>;

template <class T>
Buffer<T> Zeroed(std::size_t n) {
  Buffer<T> b(static_cast<T*>(std::calloc(n == 0 ? 1 : n, sizeof(T))));
  if (!b) throw EngineError("ﾒﾓﾘが不足しています");
  return b;
}

// The pixels of the region, one bit each, found before anything is painted. A row is
// classified (which of its pixels may belong to the region) the first time the search reaches
// it; `avail` then holds the classified pixels not yet taken. The search runs on these bits,
// a thirty-second of the picture's size, so it stays in the cache however the region winds.
class BitGrid {
 public:
  BitGrid(const std::uint32_t* bits, int w, int h, std::uint32_t key, bool border)
      : bits_(bits),
        w_(w),
        h_(h),
        words_((w + 63) / 64),
        key_(key),
        border_(border),
        cls_(Zeroed<u64>(static_cast<std::size_t>(words_) * h)),
        avail_(Zeroed<u64>(static_cast<std::size_t>(words_) * h)),
        ready_(Zeroed<std::uint8_t>(static_cast<std::size_t>(h))) {}

  // The availability bits of row y, classifying the row on first use.
  const u64* Row(int y) {
    if (__builtin_expect(!ready_.get()[y], 0)) Classify(y);
    return avail_.get() + static_cast<std::size_t>(y) * words_;
  }

  static bool Inside(const u64* row, int x) { return (row[x >> 6] >> (x & 63)) & 1u; }

  // First column at or after x (below limit) not available, or limit.
  int RunEnd(const u64* row, int x, int limit) const {
    int i = x >> 6;
    u64 free = ~row[i] & (~u64{0} << (x & 63));
    while (free == 0) {
      if (++i >= words_) return limit;
      if ((i << 6) >= limit) return limit;
      free = ~row[i];
    }
    const int e = (i << 6) + __builtin_ctzll(free);
    return e < limit ? e : limit;
  }

  // First available column in [x, limit), or limit when there is none.
  static int SkipTo(const u64* row, int x, int limit) {
    if (x >= limit) return x;
    int i = x >> 6;
    u64 set = row[i] & (~u64{0} << (x & 63));
    while (set == 0) {
      ++i;
      if ((i << 6) >= limit) return limit;
      set = row[i];
    }
    const int e = (i << 6) + __builtin_ctzll(set);
    return e < limit ? e : limit;
  }

  // Smallest a <= x such that every column in [a, x) is available.
  static int RunStart(const u64* row, int x) {
    if (x == 0) return 0;
    int i = (x - 1) >> 6;
    // Bits at and above x cut away; look for the highest column below x that is not free.
    const int off = (x - 1) & 63;
    u64 blocked = ~row[i] & (off == 63 ? ~u64{0} : ((u64{1} << (off + 1)) - 1));
    while (blocked == 0) {
      if (i == 0) return 0;
      blocked = ~row[--i];
    }
    return (i << 6) + 63 - __builtin_clzll(blocked) + 1;
  }

  static void Take(const u64* avail_row, int a, int b) {
    u64* row = const_cast<u64*>(avail_row);
    int i = a >> 6;
    const int last = (b - 1) >> 6;
    u64 first_mask = ~u64{0} << (a & 63);
    const int end_off = ((b - 1) & 63) + 1;
    const u64 last_mask = end_off == 64 ? ~u64{0} : ((u64{1} << end_off) - 1);
    if (i == last) {
      row[i] &= ~(first_mask & last_mask);
      return;
    }
    row[i++] &= ~first_mask;
    while (i < last) row[i++] = 0;
    row[last] &= ~last_mask;
  }

  void Prefetch(int x, int y) const {
    __builtin_prefetch(avail_.get() + static_cast<std::size_t>(y) * words_ + (x >> 6));
  }

  // Calls run(a, b) for each run of taken pixels in row y, left to right.
  template <class F>
  void ForEachRun(int y, F&& run) const {
    if (!ready_.get()[y]) return;
    const u64* cls = cls_.get() + static_cast<std::size_t>(y) * words_;
    const u64* avail = avail_.get() + static_cast<std::size_t>(y) * words_;
    int start = -1;  // open run
    for (int i = 0; i < words_; ++i) {
      u64 taken = cls[i] & ~avail[i];
      const int base = i << 6;
      if (taken == ~u64{0}) {
        if (start < 0) start = base;
        continue;
      }
      int pos = 0;
      while (pos < 64) {
        if (start >= 0) {
          // Extend the open run across the set bits at pos.
          const u64 rest = ~taken >> pos;  // zeros where taken
          const int len = rest == 0 ? 64 - pos : __builtin_ctzll(rest);
          pos += len;
          if (pos < 64) {
            run(start, base + pos);
            start = -1;
          }
        } else {
          const u64 rest = taken >> pos;
          if (rest == 0) break;
          pos += __builtin_ctzll(rest);
          start = base + pos;
        }
      }
    }
    if (start >= 0) run(start, w_);
  }

 private:
  [[gnu::noinline]] void Classify(int y) {
    ready_.get()[y] = 1;
    const std::uint32_t* px = bits_ + static_cast<std::size_t>(y) * w_;
    u64* cls = cls_.get() + static_cast<std::size_t>(y) * words_;
    u64* avail = avail_.get() + static_cast<std::size_t>(y) * words_;
    int x = 0;
    for (int i = 0; i < words_; ++i) {
      u64 m = 0;
      const int n = std::min(64, w_ - x);
#ifdef __SSE2__
      if (n == 64) {
        const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgb));
        const __m128i key = _mm_set1_epi32(static_cast<int>(key_));
        for (int k = 0; k < 64; k += 8) {
          const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + x + k));
          const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + x + k + 4));
          const int ea = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(a, rgb), key)));
          const int eb = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(b, rgb), key)));
          m |= static_cast<u64>(ea | (eb << 4)) << k;
        }
        if (border_) m = ~m;
      } else
#endif
      {
        for (int k = 0; k < n; ++k) {
          const bool same = ((px[x + k] ^ key_) & kRgb) == 0;
          if (same != border_) m |= u64{1} << k;
        }
      }
      cls[i] = m;
      avail[i] = m;
      x += 64;
    }
  }

  const std::uint32_t* bits_;
  int w_, h_, words_;
  std::uint32_t key_;
  bool border_;
  Buffer<u64> cls_;
  Buffer<u64> avail_;
  Buffer<std::uint8_t> ready_;
};

constexpr std::size_t kPrefetchDepth = 6;

// Span fill with an explicit stack: each entry is a run of the row above or below a run
// already taken, to be searched for pixels still in the region.
TRect FindRegion(BitGrid& g, int w, int h, int sx, int sy) {
  struct Seg {
    int x1, x2, y, dy;
  };
  // A plain growable array: pushes and pops are most of the work in a winding region.
  std::size_t cap = 1024, n = 0;
  Buffer<Seg> stack(static_cast<Seg*>(std::malloc(cap * sizeof(Seg))));
  if (!stack) throw EngineError("ﾒﾓﾘが不足しています");
  auto push = [&](int x1, int x2, int y, int dy) {
    if (y < 0 || y >= h) return;
    if (n == cap) {
      Seg* grown = static_cast<Seg*>(std::realloc(stack.get(), cap * 2 * sizeof(Seg)));
      if (!grown) throw EngineError("ﾒﾓﾘが不足しています");
      stack.release();
      stack.reset(grown);
      cap *= 2;
    }
    stack.get()[n++] = {x1, x2, y, dy};
  };
  Bounds bounds;
  push(sx, sx, sy, 1);
  push(sx, sx, sy - 1, -1);
  while (n > 0) {
    const Seg s = stack.get()[--n];
    if (n >= kPrefetchDepth) {
      const Seg& ahead = stack.get()[n - kPrefetchDepth];
      g.Prefetch(ahead.x1, ahead.y);
    }
    const int y = s.y;
    const u64* row = g.Row(y);
    int x1 = s.x1;
    const int x2 = s.x2;
    int x = x1;
    int lo = INT_MAX, hi = INT_MIN;
    if (BitGrid::Inside(row, x)) {
      const int a = BitGrid::RunStart(row, x);
      if (a < x1) {
        BitGrid::Take(row, a, x1);
        lo = a;
        hi = x1;
        push(a, x1 - 1, y - s.dy, -s.dy);
      }
      x = a;
    }
    while (x1 <= x2) {
      const int e = g.RunEnd(row, x1, w);
      if (x1 < e) {
        BitGrid::Take(row, x1, e);
        if (x1 < lo) lo = x1;
        if (e > hi) hi = e;
      }
      x1 = e;
      if (x1 > x) push(x, x1 - 1, y + s.dy, s.dy);
      if (x1 - 1 > x2) push(x2 + 1, x1 - 1, y - s.dy, -s.dy);
      ++x1;
      x1 = BitGrid::SkipTo(row, x1, x2);
      x = x1;
    }
    if (lo < hi) bounds.Add(y, lo, hi);
  }
  return bounds.Rect();
}

void PaintCopy(std::uint32_t* p, int n, std::uint32_t v) {
#ifdef __SSE2__
  if (n >= 8) {
    while ((reinterpret_cast<std::uintptr_t>(p) & 15) != 0) {
      *p++ = v;
      --n;
    }
    const __m128i vv = _mm_set1_epi32(static_cast<int>(v));
    if (n >= kStreamRun) {
      for (; n >= 16; n -= 16, p += 16) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(p), vv);
        _mm_stream_si128(reinterpret_cast<__m128i*>(p + 4), vv);
        _mm_stream_si128(reinterpret_cast<__m128i*>(p + 8), vv);
        _mm_stream_si128(reinterpret_cast<__m128i*>(p + 12), vv);
      }
      _mm_sfence();
    }
    for (; n >= 4; n -= 4, p += 4) _mm_store_si128(reinterpret_cast<__m128i*>(p), vv);
  }
#endif
  for (; n > 0; --n) *p++ = v;
}

void PaintNotXor(std::uint32_t* p, int n, std::uint32_t flip) {
#ifdef __SSE2__
  const __m128i f = _mm_set1_epi32(static_cast<int>(flip));
  const __m128i a = _mm_set1_epi32(static_cast<int>(kAlpha));
  for (; n >= 4; n -= 4, p += 4) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    v = _mm_or_si128(_mm_xor_si128(v, f), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
  }
#endif
  for (; n > 0; --n, ++p) *p = (*p ^ flip) | kAlpha;
}

}  // namespace

TRect FloodFillBits(const FloodRequest& rq) {
  const int w = rq.width;
  const int h = rq.height;
  if (rq.bits == nullptr || w <= 0 || h <= 0) return {};
  if (rq.x < 0 || rq.y < 0 || rq.x >= w || rq.y >= h) return {};
  const std::uint32_t key = rq.color & kRgb;
  const std::uint32_t start = rq.bits[static_cast<std::size_t>(rq.y) * w + rq.x];
  const bool start_same = ((start ^ key) & kRgb) == 0;
  if (start_same == rq.border) return {};
  const std::uint32_t paint = rq.paint | kAlpha;
  const std::uint32_t flip = ~rq.paint & kRgb;
  // Painting that changes nothing: NOT-XOR with white, or the surface's own colour.
  if (rq.not_xor && flip == 0) return {};
  if (!rq.not_xor && !rq.border && ((paint ^ key) & kRgb) == 0) return {};

  BitGrid g(rq.bits, w, h, key, rq.border);
  const TRect region = FindRegion(g, w, h, rq.x, rq.y);
  for (int y = region.Top; y < region.Bottom; ++y) {
    std::uint32_t* row = rq.bits + static_cast<std::size_t>(y) * w;
    g.ForEachRun(y, [&](int a, int b) {
      if (rq.not_xor) {
        PaintNotXor(row + a, b - a, flip);
      } else {
        PaintCopy(row + a, b - a, paint);
      }
    });
  }
  return region;
}

}  // namespace rv
