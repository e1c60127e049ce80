// Helper of the X11 end-to-end scripts: replays a gesture script through the engine and
// compares pictures taken from outside the program (saved files, clipboard, screenshots,
// printed pages).
//
//   x11_check locate <screenshot>               prints "x y w h" of the empty surface and
//                                               the top of the speed panel
//   x11_check replay <script> <out.png> <cw> <ch> <ow> <oh>
//                                               the same drawing made through the engine
//   x11_check compare <expected> <actual>       exact pixel comparison
//   x11_check page <page.png> <expected> <dpi>  a printed page against the picture
//   x11_check pixels <picture> x,y=RRGGBB ...   spot checks of single pixels
//
// Script lines (coordinates on the surface):
//   tool <ToolButtonN>          pick a tool button
//   drag <x0> <y0> <x1> <y1>    left drag: move to the start, press, move halfway, move to
//                               the end, release
//   click <x> <y>               move there, left press and release
//   rclick <x> <y>              move there, right press and release
//   grid <cell> left|right      a press on a cell (0..15) of the colour grid
//   tatami <index>              the tatami button with RadioGroup1 at that item
//   text <string>               a room name typed into ComboBox2 (selects the text tool)
//   undo                        the undo box (StaticText1)
//   panel                       the colour swatch (Panel3): the fill tool
//   size <digits>               typed into the size box (ComboBox1), one change per key
//   badsize <text>              a size that is not a number: refused with a message, which
//                               is confirmed with Return
//   font                        the font button (BitBtn2), its dialog confirmed unchanged
//   copy | saveas | print       commands the driver script runs; the engine ignores them
#include <QGuiApplication>
#include <QImage>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "drawing/engine.h"
#include "drawing/tools.h"
#include "tatami/tatami.h"
#include "tests/engine/fake_ui.h"

namespace {

using namespace rv;

int Fail(const char* what) {
  std::fprintf(stderr, "x11_check: %s\n", what);
  return 2;
}

QImage Load(const QString& path) {
  QImage img(path);
  return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
}

// The empty surface of a new document: the widest white run shared by the most rows.
int Locate(const QString& shot) {
  const QImage img = Load(shot);
  if (img.isNull()) return Fail("cannot read the screenshot");
  struct Run {
    int left = 0, width = 0;
  };
  std::vector<Run> runs(img.height());
  for (int y = 0; y < img.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    int x = 0;
    while (x < img.width()) {
      if ((row[x] & 0xFFFFFF) != 0xFFFFFF) {
        ++x;
        continue;
      }
      int end = x;
      while (end < img.width() && (row[end] & 0xFFFFFF) == 0xFFFFFF) ++end;
      if (end - x > runs[y].width) runs[y] = {x, end - x};
      x = end;
    }
  }
  // The tallest block of consecutive rows with the same wide run.
  int best_top = -1, best_h = 0;
  for (int y = 0; y < img.height();) {
    if (runs[y].width < 200) {
      ++y;
      continue;
    }
    int end = y + 1;
    while (end < img.height() && runs[end].left == runs[y].left &&
           runs[end].width == runs[y].width)
      ++end;
    if (end - y > best_h) {
      best_top = y;
      best_h = end - y;
    }
    y = end;
  }
  if (best_top < 0 || best_h < 100) return Fail("no empty surface on the screen");
  // The speed panel: the undo box (teal, 8 pixels below the panel's top edge at x 16..128).
  int panel = -1;
  for (int y = 0; y < img.height() && panel < 0; ++y) {
    if ((img.pixel(20, y) & 0xFFFFFF) == 0x008080) panel = y - 8;
  }
  if (panel < 0) return Fail("no speed panel on the screen");
  std::printf("%d %d %d %d %d\n", runs[best_top].left, best_top, runs[best_top].width, best_h,
              panel);
  return 0;
}

// What the main window does for each event, on an engine surface of the same size.
class Replay {
 public:
  Replay(int cw, int ch, int ow, int oh) : cw_(cw), ch_(ch), ow_(ow), oh_(oh) {
    surface_ = std::make_shared<Surface>("newimage1");
    surface_->SetControlSize(cw, ch);
    // Start-up: the colour grid's change, the first document, the size box, the frame tool.
    ColorGridChange(s_, ui_, 2, 1);
    s_.ActiveImage = surface_;
    s_.PenSize = 7;
    s_.CurrentTool = toolFrame;
  }

  bool Run(const QString& line) {
    const QStringList f = line.split(' ', Qt::SkipEmptyParts);
    if (f.isEmpty() || f[0].startsWith('#')) return true;
    const QString& op = f[0];
    if (op == "tool" && f.size() == 2) {
      const ToolButtonInfo* info = FindToolButton(f[1].toStdString());
      if (!info) return false;
      ApplySelection(s_, ui_, info->select);
    } else if (op == "drag" && f.size() == 5) {
      const int x0 = f[1].toInt(), y0 = f[2].toInt(), x1 = f[3].toInt(), y1 = f[4].toInt();
      Move(x0, y0);
      PressSurface(s_, ui_, surface_, TMouseButton::mbLeft, x0, y0);
      Move((x0 + x1) / 2, (y0 + y1) / 2);
      Move(x1, y1);
      Release(x1, y1);
    } else if (op == "click" && f.size() == 3) {
      const int x = f[1].toInt(), y = f[2].toInt();
      Move(x, y);
      PressSurface(s_, ui_, surface_, TMouseButton::mbLeft, x, y);
      Release(x, y);
    } else if (op == "rclick" && f.size() == 3) {
      const int x = f[1].toInt(), y = f[2].toInt();
      Move(x, y);
      PressSurface(s_, ui_, surface_, TMouseButton::mbRight, x, y);
      ReleaseSurface(s_, ui_, *surface_, TMouseButton::mbRight, x, y);
    } else if (op == "grid" && f.size() == 3) {
      const bool left = f[2] == "left";
      const ColorGridModel::Pick pick =
          grid_.Press(f[1].toInt(), left ? TMouseButton::mbLeft : TMouseButton::mbRight);
      if (pick.changed) {
        ColorGridChange(s_, ui_, grid_.ForegroundIndex(), grid_.BackgroundIndex());
      }
      if (left) ApplySelection(s_, ui_, kSelectFillFromGrid);
    } else if (op == "tatami" && f.size() == 2) {
      LayTatami(s_, *surface_, f[1].toInt());
    } else if (op == "text" && f.size() >= 2) {
      ui_.text_source = line.section(' ', 1).toStdString();
      ApplySelection(s_, ui_, kSelectText);
    } else if (op == "undo" && f.size() == 1) {
      UndoLastPress(s_, ui_);
    } else if (op == "size" && f.size() == 2) {
      for (qsizetype n = 1; n <= f[1].size(); ++n) {
        SizeBoxChange(s_, ui_, f[1].left(n).toStdString());
      }
    } else if (op == "badsize" && f.size() == 2) {
      try {
        SizeBoxChange(s_, ui_, f[1].toStdString());
        return false;  // the driver expects a message
      } catch (const EngineError&) {
      }
    } else if (op == "font" && f.size() == 1) {
      // The dialog starts at the program's text font; confirmed as it is, it changes nothing
      // about how text looks.
      ui_.SetToolPrompt(kTextPrompt);
      s_.CurrentTool = toolText;
      ApplyCanvasFont(s_, TFont{});
      ui_.SetTatamiEnabled(false);
    } else if (op == "panel" && f.size() == 1) {
      ApplySelection(s_, ui_, kSelectFillFromPanel);
    } else if (op != "copy" && op != "saveas" && op != "print") {
      return false;
    }
    return true;
  }

  QImage Image() const {
    const TBitmap* bmp = surface_->Picture().Bitmap();
    if (!bmp) return {};
    return QImage(reinterpret_cast<const uchar*>(bmp->Bits()), bmp->Width(), bmp->Height(),
                  bmp->BytesPerLine(), QImage::Format_RGB32)
        .copy();
  }

 private:
  void Move(int x, int y) { MoveOverSurface(s_, ui_, *surface_, x, y); }
  // A release inside the surface widget is a click: the picture takes the window's outer
  // size before the release handler runs.
  void Release(int x, int y) {
    if (x >= 0 && y >= 0 && x < cw_ && y < ch_) {
      surface_->Picture().SetHeight(oh_);
      surface_->Picture().SetWidth(ow_);
    }
    ReleaseSurface(s_, ui_, *surface_, TMouseButton::mbLeft, x, y);
  }

  int cw_, ch_, ow_, oh_;
  DrawingState s_;
  test::FakeUi ui_;
  ColorGridModel grid_;
  std::shared_ptr<Surface> surface_;
};

int ReplayScript(const QString& script, const QString& out, int cw, int ch, int ow, int oh) {
  QFile file(script);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return Fail("cannot read the script");
  Replay replay(cw, ch, ow, oh);
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (!replay.Run(line)) {
      std::fprintf(stderr, "x11_check: bad script line: %s\n", qPrintable(line));
      return 2;
    }
  }
  const QImage img = replay.Image();
  if (img.isNull() || !img.save(out, "PNG")) return Fail("cannot write the replayed picture");
  return 0;
}

int Compare(const QString& expected_path, const QString& actual_path) {
  const QImage e = Load(expected_path), a = Load(actual_path);
  if (e.isNull() || a.isNull()) return Fail("cannot read a picture to compare");
  if (e.size() != a.size()) {
    std::fprintf(stderr, "x11_check: size %dx%d, expected %dx%d\n", a.width(), a.height(),
                 e.width(), e.height());
    return 1;
  }
  long differ = 0;
  for (int y = 0; y < e.height(); ++y) {
    for (int x = 0; x < e.width(); ++x) {
      const QRgb pe = e.pixel(x, y) & 0xFFFFFF, pa = a.pixel(x, y) & 0xFFFFFF;
      if (pe == pa) continue;
      if (differ < 10) {
        std::fprintf(stderr, "x11_check: (%d,%d) is %06X, expected %06X\n", x, y, pa, pe);
      }
      ++differ;
    }
  }
  if (differ) {
    std::fprintf(stderr, "x11_check: %ld pixels differ\n", differ);
    return 1;
  }
  std::printf("%dx%d identical\n", e.width(), e.height());
  return 0;
}

int Pixels(const QString& path, const QStringList& probes) {
  const QImage img = Load(path);
  if (img.isNull()) return Fail("cannot read the picture");
  int bad = 0;
  for (const QString& probe : probes) {
    const QStringList xy = probe.section('=', 0, 0).split(',');
    bool ok = false;
    const QRgb want = probe.section('=', 1).toUInt(&ok, 16);
    if (xy.size() != 2 || !ok) return Fail("bad pixel probe");
    const int x = xy[0].toInt(), y = xy[1].toInt();
    const QRgb got = img.valid(x, y) ? img.pixel(x, y) & 0xFFFFFF : 0xFFFFFFFF;
    if (got != want) {
      std::fprintf(stderr, "x11_check: %s: (%d,%d) is %06X, expected %06X\n", qPrintable(path), x,
                   y, got, want);
      ++bad;
    }
  }
  return bad ? 1 : 0;
}

int ColorDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

// A page rendered at `dpi`: the picture sits 7.0556 mm from the left and top edges at 96
// pixels per inch and nothing else is drawn. Rasterising twice blurs edges by a pixel, so
// the check counts pixels far off in colour, wants nearly all of them to agree, and wants
// no other placement within a few pixels to agree better.
int Page(const QString& page_path, const QString& expected_path, double dpi) {
  const QImage page = Load(page_path), pic = Load(expected_path);
  if (page.isNull() || pic.isNull()) return Fail("cannot read the page or the picture");
  const double scale = dpi / 96.0;
  const double origin = 7.0556 / 25.4 * dpi;
  auto mismatches = [&](int dx, int dy, long* inside, long* outside_ink) {
    long bad = 0;
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) {
        const double px = (x + 0.5 - origin - dx) / scale, py = (y + 0.5 - origin - dy) / scale;
        const QRgb p = page.pixel(x, y);
        if (px < 0 || py < 0 || px >= pic.width() || py >= pic.height()) {
          if (outside_ink && ColorDistance(p, qRgb(255, 255, 255)) > 64) ++*outside_ink;
          continue;
        }
        if (inside) ++*inside;
        if (ColorDistance(p, pic.pixel(int(px), int(py))) > 64) ++bad;
      }
    }
    return bad;
  };
  long inside = 0, outside_ink = 0;
  const long bad = mismatches(0, 0, &inside, &outside_ink);
  std::printf("page %dx%d: %ld of %ld picture pixels off, %ld inked pixels outside\n",
              page.width(), page.height(), bad, inside, outside_ink);
  if (inside == 0 || bad * 50 > inside || outside_ink > 0) return 1;
  for (int dy = -4; dy <= 4; dy += 2) {
    for (int dx = -4; dx <= 4; dx += 2) {
      if (dx == 0 && dy == 0) continue;
      const long other = mismatches(dx, dy, nullptr, nullptr);
      if (other <= bad) {
        std::fprintf(stderr, "x11_check: the picture fits as well %d,%d pixels off (%ld)\n", dx,
                     dy, other);
        return 1;
      }
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() == 3 && a[1] == "locate") return Locate(a[2]);
  if (a.size() == 8 && a[1] == "replay") {
    return ReplayScript(a[2], a[3], a[4].toInt(), a[5].toInt(), a[6].toInt(), a[7].toInt());
  }
  if (a.size() == 4 && a[1] == "compare") return Compare(a[2], a[3]);
  if (a.size() >= 4 && a[1] == "pixels") return Pixels(a[2], a.mid(3));
  if (a.size() == 5 && a[1] == "page") return Page(a[2], a[3], a[4].toDouble());
  return Fail("usage: locate | replay | compare | page (see the source)");
}
