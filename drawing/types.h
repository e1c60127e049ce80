// Basic value types shared by the drawing engine: colours, points, rectangles, errors.
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace rv {

// Colours at every interface are 0x00BBGGRR.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
// What reading a pixel outside the bitmap gives.
inline constexpr TColor clInvalid = 0xFFFFFFFF;

// A stored pixel is QImage::Format_RGB32: 0xFFRRGGBB.
constexpr std::uint32_t ColorToPixel(TColor c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr TColor PixelToColor(std::uint32_t p) {
  return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom edges are exclusive. An empty rectangle has Right <= Left or Bottom <= Top.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  int Width() const { return IsEmpty() ? 0 : Right - Left; }
  int Height() const { return IsEmpty() ? 0 : Bottom - Top; }
  TRect United(const TRect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
            std::max(Bottom, o.Bottom)};
  }
  TRect Intersected(const TRect& o) const {
    TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
            std::min(Bottom, o.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// Every failure the engine raises; the message is UTF-8 and is shown to the user as it is.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Messages of the platform layer the program was built against, kept word for word.
inline constexpr const char* kMsgCanvasNeedsBitmap =
    "ﾋﾞｯﾄﾏｯﾌﾟを持っている時のみｲﾒｰｼﾞの変更が可能です";
inline constexpr const char* kMsgIconResize = "ｱｲｺﾝの大きさは変更できません";

enum class TCursor { crDefault, crArrow, crCross, crHandPoint };

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

}  // namespace rv
