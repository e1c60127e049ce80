// Opening and saving a 4096 x 4096 BMP: our reader and writer against QImage's, same file.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QTemporaryDir>

#include "documents/picture_io.h"
#include "drawing/picture.h"

namespace {

constexpr int kSide = 4096;

struct BmpFixture {
  QTemporaryDir dir;
  QString path;
  rv::Picture picture;
  QImage image;

  BmpFixture() {
    auto bmp = std::make_unique<rv::TBitmap>(kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
      std::uint32_t* row = bmp->ScanLine(y);
      for (int x = 0; x < kSide; ++x) row[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u);
    }
    picture.SetBitmap(std::move(bmp));
    path = dir.filePath("plan.bmp");
    rv::SavePictureFile(picture, path);
    image.load(path, "BMP");
  }
};

BmpFixture& Fixture() {
  static BmpFixture f;
  return f;
}

void BmpOpenOurs(benchmark::State& state) {
  BmpFixture& f = Fixture();
  for (auto _ : state) {
    rv::Picture p;
    rv::LoadPictureFile(p, f.path);
    benchmark::DoNotOptimize(p.Bitmap()->Bits());
  }
}

void BmpOpenQImage(benchmark::State& state) {
  BmpFixture& f = Fixture();
  for (auto _ : state) {
    QImage img;
    img.load(f.path, "BMP");
    benchmark::DoNotOptimize(img.constBits());
  }
}

void BmpSaveOurs(benchmark::State& state) {
  BmpFixture& f = Fixture();
  const QString out = f.dir.filePath("ours.bmp");
  for (auto _ : state) rv::SavePictureFile(f.picture, out);
}

void BmpSaveQImage(benchmark::State& state) {
  BmpFixture& f = Fixture();
  const QString out = f.dir.filePath("qimage.bmp");
  for (auto _ : state) f.image.save(out, "BMP");
}

}  // namespace

BENCHMARK(BmpOpenOurs)->Name("BmpOpen/ranoveh")->Unit(benchmark::kMillisecond);
BENCHMARK(BmpOpenQImage)->Name("BmpOpen/qimage")->Unit(benchmark::kMillisecond);
BENCHMARK(BmpSaveOurs)->Name("BmpSave/ranoveh")->Unit(benchmark::kMillisecond);
BENCHMARK(BmpSaveQImage)->Name("BmpSave/qimage")->Unit(benchmark::kMillisecond);
