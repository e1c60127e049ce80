// Painting one run of pixels of a row: the two inner loops every fill of the canvas ends in.
#pragma once

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rv {

inline constexpr std::uint32_t kPixelAlpha = 0xFF000000u;

// Runs at least this long are written past the cache: a figure that large will not fit in it
// anyway, and skipping the read of each line before it is overwritten saves half the traffic.
inline constexpr int kStreamRun = 2048;

// Sets n pixels to v. `stream` allows non-temporal stores for long runs; leave it off where
// the row was just read and is still in the cache.
inline void FillRunCopy(std::uint32_t* p, int n, std::uint32_t v, bool stream) {
#ifdef __SSE2__
  // Unaligned 16-byte stores throughout; the last one may overlap the one before it.
  if (n >= 4) {
    const __m128i vv = _mm_set1_epi32(static_cast<int>(v));
    std::uint32_t* const end = p + n;
    if (stream && n >= kStreamRun) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p), vv);
      p = reinterpret_cast<std::uint32_t*>((reinterpret_cast<std::uintptr_t>(p) + 16) &
                                           ~std::uintptr_t{15});
      for (; p + 16 <= end; p += 16) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(p), vv);
        _mm_stream_si128(reinterpret_cast<__m128i*>(p + 4), vv);
        _mm_stream_si128(reinterpret_cast<__m128i*>(p + 8), vv);
        _mm_stream_si128(reinterpret_cast<__m128i*>(p + 12), vv);
      }
      _mm_sfence();
    }
    for (; p + 4 <= end; p += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p), vv);
    if (p < end) _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), vv);
    return;
  }
#else
  (void)stream;
#endif
  for (; n > 0; --n) *p++ = v;
}

// NOT(pixel XOR colour) on n pixels: `flip` is the complement of the colour's RGB bits.
inline void FillRunNotXor(std::uint32_t* p, int n, std::uint32_t flip) {
#ifdef __SSE2__
  const __m128i f = _mm_set1_epi32(static_cast<int>(flip));
  const __m128i a = _mm_set1_epi32(static_cast<int>(kPixelAlpha));
  for (; n >= 4; n -= 4, p += 4) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    v = _mm_or_si128(_mm_xor_si128(v, f), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
  }
#endif
  for (; n > 0; --n, ++p) *p = (*p ^ flip) | kPixelAlpha;
}

}  // namespace rv
