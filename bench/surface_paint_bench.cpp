// Showing a changed part of a drawing surface: our view paints straight from the bitmap's
// pixels; the peer is the obvious view that first copies the bitmap into a QImage.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstring>

#include "documents/surface_view.h"
#include "drawing/picture.h"

namespace {

using namespace rv;

constexpr int kWidth = 2000;
constexpr int kHeight = 1500;

struct PaintRig {
  Picture picture;
  QImage backing{kWidth, kHeight, QImage::Format_ARGB32_Premultiplied};
  PaintRig() {
    picture.SetBitmap(std::make_unique<TBitmap>(kWidth, kHeight, clWhite));
    backing.fill(Qt::gray);
  }
};

QRect Dirty(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  return QRect(kWidth / 3, kHeight / 3, side, side);
}

void BM_SurfacePaint_Ours(benchmark::State& state) {
  PaintRig rig;
  const QRect dirty = Dirty(state);
  for (auto _ : state) {
    QPainter p(&rig.backing);
    PaintPicture(p, rig.picture, dirty, Qt::white);
    p.end();
    benchmark::DoNotOptimize(rig.backing.constBits());
  }
}

void BM_SurfacePaint_Peer(benchmark::State& state) {
  PaintRig rig;
  const QRect dirty = Dirty(state);
  for (auto _ : state) {
    const TBitmap* bmp = rig.picture.Bitmap();
    QImage copy(bmp->Width(), bmp->Height(), QImage::Format_RGB32);
    for (int y = 0; y < bmp->Height(); ++y) {
      std::memcpy(copy.scanLine(y), bmp->ScanLine(y), static_cast<std::size_t>(bmp->BytesPerLine()));
    }
    QPainter p(&rig.backing);
    p.drawImage(dirty.topLeft(), copy, dirty);
    p.end();
    benchmark::DoNotOptimize(rig.backing.constBits());
  }
}

}  // namespace

BENCHMARK(BM_SurfacePaint_Ours)->Name("SurfacePaint/ours-wrap-pixels")->Arg(64)->Arg(1000);
BENCHMARK(BM_SurfacePaint_Peer)->Name("SurfacePaint/peer-copy-to-qimage")->Arg(64)->Arg(1000);
