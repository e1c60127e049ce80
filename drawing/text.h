// Glyphs for TextOut: the text laid out in the canvas font and reduced to runs of ink.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace rv {

struct TextCell {
  int advance = 0;  // width of the text
  int height = 0;   // line height of the font
  TRect visible;    // the text cell clipped to the bitmap
  struct Run {
    int y, x0, x1;
  };
  std::vector<Run> ink;  // glyph pixels inside `visible`
};

// The family the program asks for, and any family that is missing, come out in this one.
inline constexpr const char* kFallbackFontFamily = "IPAPGothic";

// Lays out utf8 with its cell's top-left at (x, y) on a bitmap of bmp_w x bmp_h. Glyphs are
// rendered without antialiasing, so every pixel is either ink or not.
TextCell RenderText(const TFont& font, const std::string& utf8, int x, int y, int bmp_w,
                    int bmp_h);

}  // namespace rv
