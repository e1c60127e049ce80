// The raster canvas against QPainter (figures), OpenCV (flood fill) and memset (the memory
// bandwidth bound of a fill), each pair measured in the same run.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "drawing/canvas.h"

#ifdef RANOVEH_HAVE_OPENCV
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-enum-enum-conversion"
#include <opencv2/imgproc.hpp>
#pragma GCC diagnostic pop
#endif

namespace rv {
namespace {

constexpr int kW = 4000;
constexpr int kH = 3000;

QImage WhiteImage(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

void SetUpPainter(QPainter& p, int width) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
}

// One step of a floor-plan frame being dragged: erase the last band, draw the next one.
void RubberBandStep_canvas(benchmark::State& state) {
  TBitmap b(kW, kH);
  TCanvas& c = b.Canvas();
  c.Pen.SetWidth(7);
  c.Pen.Color = clBlack;
  c.Brush.Color = clWhite;
  c.Pen.Mode = TPenMode::pmNotXor;
  int last = 3500;
  c.Rectangle(500, 500, last, 2500);
  for (auto _ : state) {
    const int next = last == 3500 ? 3501 : 3500;
    c.Rectangle(last, 2500, 500, 500);
    c.Rectangle(500, 500, next, 2500);
    last = next;
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(RubberBandStep_canvas)->Name("RubberBandStep/canvas")->Unit(benchmark::kMicrosecond);

void RubberBandStep_qpainter(benchmark::State& state) {
  QImage img = WhiteImage(kW, kH);
  QPainter p(&img);
  SetUpPainter(p, 7);
  // A white brush leaves pixels as they are in this mode, so the peer is spared it.
  p.setBrush(Qt::NoBrush);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  int last = 3000;
  p.drawRect(500, 500, last, 2000);
  for (auto _ : state) {
    const int next = last == 3000 ? 3001 : 3000;
    p.drawRect(500, 500, last, 2000);
    p.drawRect(500, 500, next, 2000);
    last = next;
    benchmark::DoNotOptimize(img.bits());
  }
}
BENCHMARK(RubberBandStep_qpainter)
    ->Name("RubberBandStep/qpainter")
    ->Unit(benchmark::kMicrosecond);

void CommitLine30_canvas(benchmark::State& state) {
  TBitmap b(kW, kH);
  TCanvas& c = b.Canvas();
  c.Pen.SetWidth(30);
  for (auto _ : state) {
    c.MoveTo(100, 200);
    c.LineTo(3900, 2800);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(CommitLine30_canvas)->Name("CommitLine30/canvas")->Unit(benchmark::kMicrosecond);

void CommitLine30_qpainter(benchmark::State& state) {
  QImage img = WhiteImage(kW, kH);
  QPainter p(&img);
  SetUpPainter(p, 30);
  for (auto _ : state) {
    p.drawLine(100, 200, 3900, 2800);
    benchmark::DoNotOptimize(img.bits());
  }
}
BENCHMARK(CommitLine30_qpainter)->Name("CommitLine30/qpainter")->Unit(benchmark::kMicrosecond);

void CommitEllipse_canvas(benchmark::State& state) {
  TBitmap b(kW, kH);
  TCanvas& c = b.Canvas();
  c.Brush.Color = 0x00FF00;
  for (auto _ : state) {
    c.Ellipse(200, 200, 3800, 2800);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(CommitEllipse_canvas)->Name("CommitEllipse/canvas")->Unit(benchmark::kMicrosecond);

void CommitEllipse_qpainter(benchmark::State& state) {
  QImage img = WhiteImage(kW, kH);
  QPainter p(&img);
  SetUpPainter(p, 1);
  p.setBrush(QColor(0, 255, 0));
  for (auto _ : state) {
    p.drawEllipse(200, 200, 3599, 2599);
    benchmark::DoNotOptimize(img.bits());
  }
}
BENCHMARK(CommitEllipse_qpainter)
    ->Name("CommitEllipse/qpainter")
    ->Unit(benchmark::kMicrosecond);

void CommitRoundRect_canvas(benchmark::State& state) {
  TBitmap b(kW, kH);
  TCanvas& c = b.Canvas();
  c.Brush.Color = 0x00FF00;
  for (auto _ : state) {
    c.RoundRect(200, 200, 3800, 2800, 10, 10);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(CommitRoundRect_canvas)->Name("CommitRoundRect/canvas")->Unit(benchmark::kMicrosecond);

void CommitRoundRect_qpainter(benchmark::State& state) {
  QImage img = WhiteImage(kW, kH);
  QPainter p(&img);
  SetUpPainter(p, 1);
  p.setBrush(QColor(0, 255, 0));
  for (auto _ : state) {
    p.drawRoundedRect(200, 200, 3599, 2599, 5, 5);
    benchmark::DoNotOptimize(img.bits());
  }
}
BENCHMARK(CommitRoundRect_qpainter)
    ->Name("CommitRoundRect/qpainter")
    ->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------------------------------------
// Flood fill on 4096 x 4096: an open white area, and a maze of 1-pixel corridors (a binary-tree
// maze: one region winding through about half of the pixels). Each iteration fills the region
// with the other of two colours, so every iteration does the same work.

constexpr int kSide = 4096;
constexpr std::uint32_t kWhitePx = 0xFFFFFFFFu;
constexpr std::uint32_t kBlackPx = 0xFF000000u;
constexpr std::uint32_t kGreenPx = 0xFF00FF00u;

void MakeMaze(std::uint32_t* px) {
  std::mt19937 rng(7);
  for (int i = 0; i < kSide * kSide; ++i) px[i] = kBlackPx;
  for (int y = 1; y < kSide - 1; y += 2) {
    for (int x = 1; x < kSide - 1; x += 2) {
      px[y * kSide + x] = kWhitePx;
      const bool can_up = y > 1;
      const bool can_left = x > 1;
      if (can_up && (!can_left || rng() % 2)) {
        px[(y - 1) * kSide + x] = kWhitePx;
      } else if (can_left) {
        px[y * kSide + x - 1] = kWhitePx;
      }
    }
  }
}

std::unique_ptr<TBitmap> FillBitmap(bool maze) {
  auto b = std::make_unique<TBitmap>(kSide, kSide);
  if (maze) MakeMaze(b->Bits());
  return b;
}

void FloodSurface(benchmark::State& state, bool maze) {
  auto b = FillBitmap(maze);
  TCanvas& c = b->Canvas();
  TColor from = clWhite, to = 0x00FF00;
  for (auto _ : state) {
    c.Brush.Color = to;
    benchmark::DoNotOptimize(c.FloodFill(1, 1, from, TFillStyle::fsSurface));
    std::swap(from, to);
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 4);
}

void FloodBorder(benchmark::State& state, bool maze) {
  auto b = FillBitmap(maze);
  TCanvas& c = b->Canvas();
  TColor to = 0x00FF00;
  for (auto _ : state) {
    c.Brush.Color = to;
    benchmark::DoNotOptimize(c.FloodFill(1, 1, clBlack, TFillStyle::fsBorder));
    to = to == clWhite ? 0x00FF00 : clWhite;
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 4);
}

void FloodMemset(benchmark::State& state, bool) {
  auto b = FillBitmap(false);
  int v = 0x10;
  for (auto _ : state) {
    std::memset(b->Bits(), v, std::size_t{kSide} * kSide * 4);
    v ^= 0x20;
    benchmark::DoNotOptimize(b->Bits());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 4);
}

#ifdef RANOVEH_HAVE_OPENCV
void FloodOpenCv(benchmark::State& state, bool maze) {
  auto b = FillBitmap(maze);
  cv::Mat m(kSide, kSide, CV_32SC1, b->Bits());
  std::uint32_t to = kGreenPx;
  for (auto _ : state) {
    benchmark::DoNotOptimize(cv::floodFill(m, cv::Point(1, 1),
                                           cv::Scalar(static_cast<std::int32_t>(to)), nullptr,
                                           cv::Scalar(0), cv::Scalar(0), 4));
    to = to == kWhitePx ? kGreenPx : kWhitePx;
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 4);
}
#endif

// Every fill case has the three contenders; in both pictures the border region (all that is
// not black) is the same as the surface region, so OpenCV's surface fill is the peer for both.
[[maybe_unused]] const int kRegistered = [] {
  struct Case {
    const char* name;
    bool maze;
    void (*ours)(benchmark::State&, bool);
  };
  const Case cases[] = {{"FloodFillOpenSurface", false, FloodSurface},
                        {"FloodFillOpenBorder", false, FloodBorder},
                        {"FloodFillMazeSurface", true, FloodSurface},
                        {"FloodFillMazeBorder", true, FloodBorder}};
  for (const Case& c : cases) {
    const std::string base = c.name;
    const bool maze = c.maze;
    auto ours = c.ours;
    benchmark::RegisterBenchmark((base + "/canvas").c_str(),
                                 [ours, maze](benchmark::State& s) { ours(s, maze); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
#ifdef RANOVEH_HAVE_OPENCV
    benchmark::RegisterBenchmark((base + "/opencv").c_str(),
                                 [maze](benchmark::State& s) { FloodOpenCv(s, maze); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
#endif
    benchmark::RegisterBenchmark((base + "/memset").c_str(),
                                 [maze](benchmark::State& s) { FloodMemset(s, maze); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  return 0;
}();

}  // namespace
}  // namespace rv
