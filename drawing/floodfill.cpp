#include "floodfill.h"

#include "run_fill.h"

#include <algorithm>
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

void PaintCopy(std::uint32_t* p, int n, std::uint32_t v);

// Calls run(a, b) for each run of set bits in words [first, last] of a bit row, joining runs
// across word boundaries; no run goes past limit.
template <class F>
void Runs(const u64* bits, int first, int last, int limit, F&& run) {
  int start = -1;  // open run
  for (int i = first; i <= last; ++i) {
    const u64 word = bits[i];
    const int base = i << 6;
    if (word == ~u64{0}) {
      if (start < 0) start = base;
      continue;
    }
    int pos = 0;
    while (pos < 64) {
      if (start >= 0) {
        const u64 rest = ~word >> pos;
        pos += rest == 0 ? 64 - pos : __builtin_ctzll(rest);
        if (pos < 64) {
          run(start, base + pos);
          start = -1;
        }
      } else {
        const u64 rest = word >> pos;
        if (rest == 0) break;
        pos += __builtin_ctzll(rest);
        start = base + pos;
      }
    }
  }
  if (start >= 0) run(start, std::min((last + 1) << 6, limit));
}

// First clear bit of a bit row at or after x, capped at limit.
[[gnu::always_inline]] inline int NextClear(const u64* row, int words, int x, int limit) {
  int i = x >> 6;
  u64 free = ~row[i] & (~u64{0} << (x & 63));
  while (free == 0) {
    if (++i >= words || (i << 6) >= limit) return limit;
    free = ~row[i];
  }
  const int e = (i << 6) + __builtin_ctzll(free);
  return e < limit ? e : limit;
}

// Smallest a <= x with every bit in [a, x) set.
[[gnu::always_inline]] inline int RunBegin(const u64* row, int x) {
  if (x == 0) return 0;
  int i = (x - 1) >> 6;
  const int off = (x - 1) & 63;
  u64 blocked = ~row[i] & (off == 63 ? ~u64{0} : ((u64{1} << (off + 1)) - 1));
  while (blocked == 0) {
    if (i == 0) return 0;
    blocked = ~row[--i];
  }
  return (i << 6) + 64 - __builtin_clzll(blocked);
}

[[gnu::always_inline]] inline void SetRun(u64* row, int a, int b) {
  int i = a >> 6;
  const int last = (b - 1) >> 6;
  const u64 first_mask = ~u64{0} << (a & 63);
  const int end_off = ((b - 1) & 63) + 1;
  const u64 last_mask = end_off == 64 ? ~u64{0} : ((u64{1} << end_off) - 1);
  if (i == last) {
    row[i] |= first_mask & last_mask;
    return;
  }
  row[i++] |= first_mask;
  while (i < last) row[i++] = ~u64{0};
  row[last] |= last_mask;
}

// Finds the region as bits. Each row is classified (which of its pixels could belong to the
// region) the first time the search reaches it, and its pixels are not read again. The region grows a
// whole run at a time: a row is revisited only for the words where a neighbouring row gained
// pixels, and all its work there is done on 64 pixels at once, so a region winding through
// the whole picture costs little more than an open one.
class RegionFinder {
 public:
  RegionFinder(const std::uint32_t* bits, int w, int h, std::uint32_t key, bool border)
      : bits_(bits),
        w_(w),
        h_(h),
        words_((w + 63) / 64),
        key_(key),
        border_(border),
        cls_(Zeroed<u64>(static_cast<std::size_t>(words_) * h)),
        reg_(Zeroed<u64>(static_cast<std::size_t>(words_) * h)),
        ready_(Zeroed<std::uint8_t>(static_cast<std::size_t>(h))),
        dirty_lo_(Zeroed<int>(static_cast<std::size_t>(h))),
        dirty_hi_(Zeroed<int>(static_cast<std::size_t>(h))),
        queue_(Zeroed<int>(static_cast<std::size_t>(h) + 1)),
        seeds_(static_cast<std::size_t>(words_)),
        fresh_(static_cast<std::size_t>(words_)) {
    for (int y = 0; y < h; ++y) {
      dirty_lo_.get()[y] = 1;  // not queued: lo > hi
      dirty_hi_.get()[y] = 0;
    }
  }

  // Paints region pixels with the value as they are found (only for painting that does not
  // depend on the pixel, so painting twice is harmless).
  void PaintAsFound(std::uint32_t* bits, std::uint32_t value) {
    paint_bits_ = bits;
    paint_value_ = value;
  }

  TRect Find(int sx, int sy) {
    const u64* cls = Cls(sy);
    if (!((cls[sx >> 6] >> (sx & 63)) & 1u)) return {};
    AddRun(sy, RunBegin(cls, sx), NextClear(cls, words_, sx, w_));
    while (count_ > 0) {
      const int y = queue_.get()[head_];
      head_ = head_ == h_ ? 0 : head_ + 1;
      --count_;
      Process(y);
    }
    return bounds_.Rect();
  }

  // Calls run(a, b) for each run of region pixels in row y, left to right.
  template <class F>
  void ForEachRun(int y, F&& run) const {
    Runs(reg_.get() + static_cast<std::size_t>(y) * words_, 0, words_ - 1, w_, run);
  }

 private:
  u64* Reg(int y) { return reg_.get() + static_cast<std::size_t>(y) * words_; }
  const u64* Cls(int y) {
    if (__builtin_expect(!ready_.get()[y], 0)) Classify(y);
    return cls_.get() + static_cast<std::size_t>(y) * words_;
  }

  void AddRun(int y, int a, int b) {
    SetRun(Reg(y), a, b);
    if (paint_bits_) PaintCopy(paint_bits_ + static_cast<std::size_t>(y) * w_ + a, b - a, paint_value_);
    bounds_.Add(y, a, b);
    const int lo = a >> 6;
    const int hi = (b - 1) >> 6;
    if (y > 0) Enqueue(y - 1, lo, hi);
    if (y + 1 < h_) Enqueue(y + 1, lo, hi);
  }

  void Enqueue(int y, int lo, int hi) {
    int& dl = dirty_lo_.get()[y];
    int& dh = dirty_hi_.get()[y];
    if (dl > dh) {
      dl = lo;
      dh = hi;
      int tail = head_ + count_;
      if (tail > h_) tail -= h_ + 1;
      queue_.get()[tail] = y;
      ++count_;
    } else {
      if (lo < dl) dl = lo;
      if (hi > dh) dh = hi;
    }
  }

  // Takes every run of row y that touches the region in the rows above or below, within the
  // words where those rows changed. Runs are filled 64 pixels at a time: adding the seed bits
  // to the class bits carries each seed up to the end of its run, and the same on the
  // bit-reversed words carries it down to the start.
  void Process(int y) {
    int& dl = dirty_lo_.get()[y];
    int& dh = dirty_hi_.get()[y];
    const int lo = dl;
    const int hi = dh;
    dl = 1;
    dh = 0;
    const u64* cls = Cls(y);
    u64* reg = Reg(y);
    const u64* up = y > 0 ? Reg(y - 1) : nullptr;
    const u64* down = y + 1 < h_ ? Reg(y + 1) : nullptr;
    u64* seeds = seeds_.data();
    bool any = false;
    for (int i = lo; i <= hi; ++i) {
      const u64 near = (up ? up[i] : 0) | (down ? down[i] : 0);
      seeds[i] = cls[i] & ~reg[i] & near;
      any |= seeds[i] != 0;
    }
    if (!any) return;
    int first = INT_MAX, last = -1;
    auto take = [&](int i, u64 fill) {
      const u64 fresh = fill & ~reg[i];
      if (fresh == 0) return;
      reg[i] |= fresh;
      fresh_[i] |= fresh;
      if (i < first) first = i;
      if (i > last) last = i;
      bounds_.Add(y, (i << 6) + __builtin_ctzll(fresh), (i << 6) + 64 - __builtin_clzll(fresh));
    };
    // Upwards: the carry out of a word continues the fill into the next.
    unsigned carry = 0;
    for (int i = lo; i < words_; ++i) {
      const u64 sd = i <= hi ? seeds[i] : 0;
      if (i > hi && !carry) break;
      if (sd == 0 && !carry) continue;
      const u64 c = cls[i];
      u64 part, sum;
      const bool o1 = __builtin_add_overflow(c, sd, &part);
      const bool o2 = __builtin_add_overflow(part, static_cast<u64>(carry), &sum);
      carry = o1 || o2;
      take(i, ((sum ^ c) | sd) & c);
    }
    // Downwards, on the reversed words, from the high words to the low ones.
    carry = 0;
    for (int i = hi; i >= 0; --i) {
      const u64 sd = i >= lo ? seeds[i] : 0;
      if (i < lo && !carry) break;
      if (sd == 0 && !carry) continue;
      const u64 c = Reverse(cls[i]);
      const u64 rs = Reverse(sd);
      u64 part, sum;
      const bool o1 = __builtin_add_overflow(c, rs, &part);
      const bool o2 = __builtin_add_overflow(part, static_cast<u64>(carry), &sum);
      carry = o1 || o2;
      take(i, Reverse(((sum ^ c) | rs) & c));
    }
    if (last < 0) return;
    if (paint_bits_) {
      // The row was read when it was classified and is never read again, so its new region
      // pixels can be painted now, while they are still in the cache.
      std::uint32_t* px = paint_bits_ + static_cast<std::size_t>(y) * w_;
      Runs(fresh_.data(), first, last, w_,
           [&](int a, int b) { PaintCopy(px + a, b - a, paint_value_); });
    }
    std::fill(fresh_.begin() + first, fresh_.begin() + last + 1, u64{0});
    if (y > 0) Enqueue(y - 1, first, last);
    if (y + 1 < h_) Enqueue(y + 1, first, last);
  }

  static u64 Reverse(u64 x) {
    x = __builtin_bswap64(x);
    x = ((x >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((x & 0x0F0F0F0F0F0F0F0Full) << 4);
    x = ((x >> 2) & 0x3333333333333333ull) | ((x & 0x3333333333333333ull) << 2);
    x = ((x >> 1) & 0x5555555555555555ull) | ((x & 0x5555555555555555ull) << 1);
    return x;
  }

  [[gnu::noinline]] void Classify(int y) {
    ready_.get()[y] = 1;
    const std::uint32_t* px = bits_ + static_cast<std::size_t>(y) * w_;
    u64* cls = cls_.get() + static_cast<std::size_t>(y) * words_;
    int x = 0;
    for (int i = 0; i < words_; ++i) {
      u64 m = 0;
      const int n = std::min(64, w_ - x);
#ifdef __SSE2__
      if (n == 64) {
        // The hardware prefetcher stops at page ends; ask for the pixels two kilobytes on.
        _mm_prefetch(reinterpret_cast<const char*>(px + x + 512), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(px + x + 528), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(px + x + 544), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(px + x + 560), _MM_HINT_T0);
        const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgb));
        const __m128i key = _mm_set1_epi32(static_cast<int>(key_));
        for (int k = 0; k < 64; k += 8) {
          const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + x + k));
          const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + x + k + 4));
          const int ea =
              _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(a, rgb), key)));
          const int eb =
              _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(b, rgb), key)));
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
      x += 64;
    }
  }

  const std::uint32_t* bits_;
  int w_, h_, words_;
  std::uint32_t key_;
  bool border_;
  Buffer<u64> cls_;
  Buffer<u64> reg_;
  Buffer<std::uint8_t> ready_;
  Buffer<int> dirty_lo_, dirty_hi_;
  Buffer<int> queue_;  // ring of h + 1 rows; a row is in it at most once
  std::vector<u64> seeds_;
  std::vector<u64> fresh_;  // pixels taken by the row being processed
  std::uint32_t* paint_bits_ = nullptr;
  std::uint32_t paint_value_ = 0;
  int head_ = 0, count_ = 0;
  Bounds bounds_;
};

// The row was just classified and is still in the cache, so plain stores beat streaming ones.
void PaintCopy(std::uint32_t* p, int n, std::uint32_t v) { FillRunCopy(p, n, v, false); }
void PaintNotXor(std::uint32_t* p, int n, std::uint32_t flip) { FillRunNotXor(p, n, flip); }

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

  RegionFinder g(rq.bits, w, h, key, rq.border);
  if (!rq.not_xor) {
    g.PaintAsFound(rq.bits, paint);
    return g.Find(rq.x, rq.y);
  }
  const TRect region = g.Find(rq.x, rq.y);
  for (int y = region.Top; y < region.Bottom; ++y) {
    std::uint32_t* row = rq.bits + static_cast<std::size_t>(y) * w;
    g.ForEachRun(y, [&](int a, int b) {
      PaintNotXor(row + a, b - a, flip);
    });
  }
  return region;
}

}  // namespace rv
