// Helpers for the canvas tests: small bitmaps written and compared as ASCII art.
#pragma once

#include <string>

#include "drawing/canvas.h"

namespace rv::testing_canvas {

// One character per pixel, rows joined by '\n': '#' black, '.' white, 'o' any other colour.
inline std::string Art(const TBitmap& b) {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    if (y) s += '\n';
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = b.Canvas().Pixel(x, y);
      s += c == clBlack ? '#' : c == clWhite ? '.' : 'o';
    }
  }
  return s;
}

// Art given as lines of equal length; surrounding whitespace on each line is dropped.
inline std::string Lines(std::initializer_list<const char*> rows) {
  std::string s;
  bool first = true;
  for (const char* r : rows) {
    if (!first) s += '\n';
    first = false;
    s += r;
  }
  return s;
}

}  // namespace rv::testing_canvas
