#include "app/tool_images.h"

#include <QPixmap>
#include <QTransform>
#include <cmath>
#include <cstdlib>

namespace rv {

namespace {

constexpr int N = kToolImageSize;

QRgb Ink(char c) {
  switch (c) {
    case 'k': return qRgb(0, 0, 0);
    case 'w': return qRgb(255, 255, 255);
    case 's': return qRgb(192, 192, 192);
    case 'g': return qRgb(128, 128, 128);
    case 'r': return qRgb(255, 0, 0);
    case 'R': return qRgb(128, 0, 0);
    case 'G': return qRgb(0, 128, 0);
    case 'l': return qRgb(0, 255, 0);
    case 'b': return qRgb(0, 0, 255);
    case 'B': return qRgb(0, 0, 128);
    case 'c': return qRgb(0, 255, 255);
    case 'y': return qRgb(255, 255, 0);
    case 'n': return qRgb(128, 64, 0);
    default: return qRgba(0, 0, 0, 0);
  }
}

class Canvas16 {
 public:
  Canvas16() : img_(N, N, QImage::Format_ARGB32) { img_.fill(Qt::transparent); }
  explicit Canvas16(const char* const (&rows)[N]) : Canvas16() {
    for (int y = 0; y < N; ++y) {
      for (int x = 0; x < N && rows[y][x]; ++x) {
        if (rows[y][x] != '.') img_.setPixel(x, y, Ink(rows[y][x]));
      }
    }
  }
  void Dot(int x, int y, char c) {
    if (x >= 0 && y >= 0 && x < N && y < N) img_.setPixel(x, y, Ink(c));
  }
  void Fill(int x0, int y0, int x1, int y1, char c) {  // inclusive corners
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Dot(x, y, c);
  }
  void Frame(int x0, int y0, int x1, int y1, char c) {
    Line(x0, y0, x1, y0, c);
    Line(x0, y1, x1, y1, c);
    Line(x0, y0, x0, y1, c);
    Line(x1, y0, x1, y1, c);
  }
  void Line(int x0, int y0, int x1, int y1, char c) {  // Bresenham, both ends included
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Dot(x0, y0, c);
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 >= dy) { err += dy; x0 += sx; }
      if (e2 <= dx) { err += dx; y0 += sy; }
    }
  }
  // A quarter circle around (cx, cy); qx, qy (+1 or -1) pick the quadrant.
  void Quarter(int cx, int cy, int r, int qx, int qy, char c) {
    for (int d = 0; d <= r; ++d) {
      const int e = static_cast<int>(std::lround(std::sqrt(double(r * r - d * d))));
      Dot(cx + qx * d, cy + qy * e, c);
      Dot(cx + qx * e, cy + qy * d, c);
    }
  }
  QImage Take() { return img_; }

 private:
  QImage img_;
};

const char* const kToiletSide[N] = {
    "................", "..........kkkkk.", "..........kwwwk.", "...kkkkkk.kwwwk.",
    "..kwwwwwwkkwwwk.", ".kwwkkkkwwkwwwk.", ".kwkwwwwkwkwwwk.", ".kwkwwwwkwkwwwk.",
    ".kwkwwwwkwkwwwk.", ".kwkwwwwkwkwwwk.", ".kwwkkkkwwkwwwk.", "..kwwwwwwkkwwwk.",
    "...kkkkkk.kwwwk.", "..........kwwwk.", "..........kkkkk.", "................"};

const char* const kEraser[N] = {
    "................", "................", "................", ".......kkkkkkkk.",
    "......kcccccccBk", ".....kcccccccBBk", "....kcccccccBBBk", "...kkkkkkkkkBBBk",
    "...kbbbbbbbkBBk.", "...kbbbbbbbkBk..", "...kbbbbbbbkk...", "...kkkkkkkkk....",
    "................", "................", "................", "................"};

const char* const kUndoArrow[N] = {
    "................", ".....rrrrrr.....", "...rr......rr...", "..r....kk....r..",
    ".r.....kk.....r.", ".r.....kk.....r.", "r......kk......r", "r......kk....rrr",
    "r......kk.....r.", "r...............", "r......kk.......", ".r.....kk.......",
    ".r..............", "..r.........r...", "...rr.....rr....", ".....rrrrr......"};

const char* const kShrub[N] = {
    "................", ".....GGGGGG.....", "...GGllGGllGG...", "..GllGGGGGGllG..",
    ".GlGGGllllGGGlG.", ".GGGllGGGGllGGG.", "GlGlGGRRRRGGlGlG", "GlGlGRRRRRRGlGlG",
    "GlGlGRRRRRRGlGlG", "GlGlGGRRRRGGlGlG", ".GGGllGGGGllGGG.", ".GlGGGllllGGGlG.",
    "..GllGGGGGGllG..", "...GGllGGllGG...", ".....GGGGGG.....", "................"};

const char* const kCar[N] = {
    "....kkkkkkkk....", "...kbbbbbbbbk...", "..kbbbbbbbbbbk..", ".kkbccccccccbkk.",
    "..kbccccccccbk..", "..kbbccccccbbk..", "..kbbbbbbbbbbk..", "..kbbbbbbbbbbk..",
    "..kbbbbbbbbbbk..", "..kbbbbbbbbbbk..", "..kbbccccccbbk..", "..kbccccccccbk..",
    "..kbbbbbbbbbbk..", "..kbbbbbbbbbbk..", "...kbbbbbbbbk...", "....kkkkkkkk...."};

const char* const kBrush[N] = {
    "............kk..", "...........knnk.", "..........knnk..", ".........knnk...",
    "........knnk....", ".......kssk.....", "......kssk......", ".....kkkk.......",
    "....krrk........", "...krrrk........", "..krrrk.........", ".krrrk..........",
    ".rrrk...........", "rrr.............", "rrrrrrrrr.......", "................"};

const char* const kSprayPencil[N] = {
    "...........kkk..", "..........kyyyk.", ".........kyyyk..", "........kyyyk...",
    ".......kyyyk....", "......kyyyk.....", ".....kyyyk......", "....knnnk.......",
    "...knnk.........", "..kkk...........", ".k.k............", "k.k.k...........",
    ".k.k............", "k.k.............", "................", "................"};

// Turns a picture a quarter clockwise: what lay on the right comes to the bottom.
QImage TurnClockwise(const QImage& img) { return img.transformed(QTransform().rotate(90)); }

QImage Draw(int index) {
  Canvas16 c;
  switch (index) {
    case 0:  // thin horizontal line
      c.Line(1, 7, 14, 7, 'k');
      break;
    case 1:  // square with a thick border
      c.Fill(1, 1, 14, 14, 'k');
      c.Fill(4, 4, 11, 11, 'w');
      break;
    case 2:  // horizontal bar split lengthwise
      c.Fill(1, 5, 14, 10, 'w');
      c.Frame(1, 5, 14, 10, 'k');
      c.Line(1, 7, 14, 7, 'k');
      c.Line(1, 8, 14, 8, 'k');
      break;
    case 3:
      return Canvas16(kToiletSide).Take();
    case 4:  // thick black bar
      c.Fill(1, 6, 14, 9, 'k');
      break;
    case 5:
      return Canvas16(kEraser).Take();
    case 6:
      return Canvas16(kUndoArrow).Take();
    case 7:  // circle as an octagon
      c.Line(5, 1, 10, 1, 'k');
      c.Line(10, 1, 14, 5, 'k');
      c.Line(14, 5, 14, 10, 'k');
      c.Line(14, 10, 10, 14, 'k');
      c.Line(10, 14, 5, 14, 'k');
      c.Line(5, 14, 1, 10, 'k');
      c.Line(1, 10, 1, 5, 'k');
      c.Line(1, 5, 5, 1, 'k');
      break;
    case 8:  // square outline
      c.Frame(1, 1, 14, 14, 'k');
      break;
    case 9:  // square with rounded corners
      c.Line(5, 1, 10, 1, 'k');
      c.Line(5, 14, 10, 14, 'k');
      c.Line(1, 5, 1, 10, 'k');
      c.Line(14, 5, 14, 10, 'k');
      c.Quarter(5, 5, 4, -1, -1, 'k');
      c.Quarter(10, 5, 4, 1, -1, 'k');
      c.Quarter(5, 10, 4, -1, 1, 'k');
      c.Quarter(10, 10, 4, 1, 1, 'k');
      break;
    case 10:
      return Canvas16(kShrub).Take();
    case 11:  // quarter arc
      c.Quarter(1, 14, 13, 1, -1, 'k');
      break;
    case 12:
      return Canvas16(kCar).Take();
    case 13:  // upright toilet: the side view turned so the tank is at the bottom
      return TurnClockwise(Canvas16(kToiletSide).Take());
    case 14:
      return Canvas16(kBrush).Take();
    case 15:
      return Canvas16(kSprayPencil).Take();
    case 16:  // square with its top-left corner rounded
      c.Line(6, 1, 14, 1, 'k');
      c.Line(1, 6, 1, 14, 'k');
      c.Line(14, 1, 14, 14, 'k');
      c.Line(1, 14, 14, 14, 'k');
      c.Quarter(6, 6, 5, -1, -1, 'k');
      break;
    case 17:  // door: leaf on the left, swing through the top-right corner
      c.Line(1, 1, 1, 14, 'k');
      c.Line(1, 14, 14, 14, 'k');
      c.Quarter(1, 14, 13, 1, -1, 'k');
      break;
    case 18:  // door: leaf on the right, swing through the top-left corner
      c.Line(14, 1, 14, 14, 'k');
      c.Line(1, 14, 14, 14, 'k');
      c.Quarter(14, 14, 13, -1, -1, 'k');
      break;
    case 19:  // long horizontal rectangle
      c.Fill(1, 5, 14, 10, 'w');
      c.Frame(1, 5, 14, 10, 'k');
      break;
    case 20:  // green square in three panels
      c.Fill(1, 1, 14, 14, 'G');
      c.Frame(1, 1, 14, 14, 'k');
      c.Line(5, 1, 5, 14, 'k');
      c.Line(10, 1, 10, 14, 'k');
      break;
    case 21:  // dark red square with mat joints
      c.Fill(1, 1, 14, 14, 'R');
      c.Frame(1, 1, 14, 14, 'k');
      c.Line(1, 7, 14, 7, 'k');
      c.Line(7, 1, 7, 7, 'k');
      c.Line(10, 7, 10, 14, 'k');
      break;
    case 22:  // car lying left-right
      return TurnClockwise(Canvas16(kCar).Take());
    case 23: {  // a second spray pencil, facing the other way
      return Canvas16(kSprayPencil).Take().mirrored(true, false);
    }
    default:
      return QImage();
  }
  return c.Take();
}

}  // namespace

QImage ToolImage(int index) {
  if (index < 0 || index >= kToolImageCount) return QImage();
  return Draw(index);
}

QIcon ToolIcon(int index) {
  const QImage img = ToolImage(index);
  QIcon icon;
  if (img.isNull()) return icon;
  for (int factor : {1, 2, 3, 4}) {
    // Whole factors with nearest-neighbour sampling keep every pixel square and sharp.
    icon.addPixmap(QPixmap::fromImage(
        img.scaled(N * factor, N * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
  }
  return icon;
}

}  // namespace rv
