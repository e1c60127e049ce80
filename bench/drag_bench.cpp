// One rubber-band move of the frame tool on a large picture, with the repaint a view does
// afterwards: only the rectangle the canvas reports changed, or the whole picture.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <memory>
#include <string>

#include "drawing/engine.h"

namespace {

using namespace rv;

// Collects what the engine asks the view to show again; ignores everything else.
class RepaintCollector : public NullUiPort {
 public:
  TRect pending{};
  void RepaintSurface(Surface&, const TRect& r) override { pending = pending.United(r); }
};

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

struct DragRig {
  DrawingState s;
  RepaintCollector ui;
  std::shared_ptr<Surface> surface = std::make_shared<Surface>("newimage1");
  QImage screen{kWidth, kHeight, QImage::Format_RGB32};

  DragRig() {
    surface->SetControlSize(kWidth, kHeight);
    s.CurrentTool = toolFrame;
    s.PenSize = 7;
    s.ActiveImage = surface;
    // A room of 600 x 400 pixels being dragged out.
    PressSurface(s, ui, surface, TMouseButton::mbLeft, 1000, 800);
    MoveOverSurface(s, ui, *surface, 1600, 1200);
    screen.fill(Qt::white);
    ui.pending = {};
  }

  QImage PictureImage() {
    const TBitmap& b = *surface->Picture().Bitmap();
    return QImage(reinterpret_cast<const uchar*>(b.Bits()), b.Width(), b.Height(),
                  b.BytesPerLine(), QImage::Format_RGB32);
  }

  // One move of the pointer by a pixel, back and forth.
  void Move(int i) {
    const int d = i & 1;
    MoveOverSurface(s, ui, *surface, 1600 + d, 1200 + d);
  }
};

void BM_DragMoveDirty(benchmark::State& state) {
  DragRig rig;
  int i = 0;
  for (auto _ : state) {
    rig.Move(++i);
    const TRect r = rig.ui.pending;
    rig.ui.pending = {};
    if (r.IsEmpty()) continue;  // a null source rectangle would mean the whole image
    QPainter p(&rig.screen);
    const QRect rect(r.Left, r.Top, r.Width(), r.Height());
    p.drawImage(rect.topLeft(), rig.PictureImage(), rect);
    benchmark::DoNotOptimize(rig.screen.constBits());
  }
}

void BM_DragMoveFull(benchmark::State& state) {
  DragRig rig;
  int i = 0;
  for (auto _ : state) {
    rig.Move(++i);
    rig.ui.pending = {};
    QPainter p(&rig.screen);
    p.drawImage(QPoint(0, 0), rig.PictureImage());
    benchmark::DoNotOptimize(rig.screen.constBits());
  }
}

}  // namespace

BENCHMARK(BM_DragMoveDirty)->Name("DragMove/dirty")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragMoveFull)->Name("DragMove/full")->Unit(benchmark::kMicrosecond);
