// Scanline flood fill on a raw 32-bit pixel buffer (0xFFRRGGBB, rows without padding).
#pragma once

#include <cstdint>

#include "types.h"

namespace rv {

struct FloodRequest {
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int x = 0;
  int y = 0;
  std::uint32_t color = 0;  // pixel form; only the low 24 bits count
  bool border = false;      // false: fill pixels of colour; true: fill up to pixels of colour
  std::uint32_t paint = 0;  // pixel form of the brush
  bool not_xor = false;     // paint NOT(pixel XOR brush) instead of the brush
};

// Paints the 4-connected region around (x, y) and returns the rectangle it changed. The region
// is decided on the pixels as they were before the call (each row is read once, before any of
// it is painted), and every pixel of it is painted exactly once.
TRect FloodFillBits(const FloodRequest& rq);

}  // namespace rv
