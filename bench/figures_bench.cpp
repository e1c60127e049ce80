// The symbols and the tatami command go through a recorded list of canvas calls and a
// table of arrangements; the peers make the same calls straight on the canvas.
#include <benchmark/benchmark.h>

#include "drawing/commits.h"
#include "drawing/state.h"
#include "tatami/tatami.h"

namespace {

using namespace rv;

void BM_CarUprightScript(benchmark::State& state) {
  TBitmap bmp(400, 400);
  DrawingState s;
  s.StartX = 50;
  s.StartY = 40;
  for (auto _ : state) {
    CommitCarUpright(s, bmp.Canvas(), 150, 240);
    benchmark::DoNotOptimize(bmp.Bits());
  }
}
BENCHMARK(BM_CarUprightScript)->Name("CarUpright/ours-script");

void BM_CarUprightDirect(benchmark::State& state) {
  TBitmap bmp(400, 400);
  DrawingState s;
  s.StartX = 50;
  s.StartY = 40;
  for (auto _ : state) {
    TCanvas& c = bmp.Canvas();
    const int Sx = s.StartX, Sy = s.StartY, X = 150, Y = 240;
    const int u = 10, v = 20;
    s.SpanX = u;
    s.SpanY = v;
    EraseRubberBand(s, c, X, Y);
    c.Pen.Color = clBlack;
    c.Pen.SetWidth(1);
    c.Brush.Color = clWhite;
    c.RoundRect(Sx, Sy, X, Y, 10, 10);
    c.RoundRect(Sx + u, Sy + 4 * v, X - u, Y - 2 * v, 10, 10);
    c.RoundRect(Sx, Sy, X, Sy + v, 10, 10);
    c.Ellipse(Sx, Sy, Sx + 2 * u, Sy + v);
    c.Ellipse(X - 2 * u, Sy, X, Sy + v);
    for (int k = 3; k <= 7; ++k) {
      c.MoveTo(Sx + k * u, Sy);
      c.LineTo(Sx + k * u, Sy + v);
    }
    c.MoveTo(Sx + 2 * u, Sy + v);
    c.LineTo(Sx + u, Sy + 4 * v);
    c.MoveTo(X - 2 * u, Sy + v);
    c.LineTo(X - u, Sy + 4 * v);
    c.Pen.SetWidth(3);
    c.MoveTo(Sx, Sy + v);
    c.LineTo(Sx, Sy + 3 * v);
    c.MoveTo(Sx, Sy + 7 * v);
    c.LineTo(Sx, Sy + 9 * v);
    c.MoveTo(X, Sy + v);
    c.LineTo(X, Sy + 3 * v);
    c.MoveTo(X, Sy + 7 * v);
    c.LineTo(X, Sy + 9 * v);
    benchmark::DoNotOptimize(bmp.Bits());
  }
}
BENCHMARK(BM_CarUprightDirect)->Name("CarUpright/peer-direct");

// A 600 x 400 room, drawn afresh each time so that every fill has the whole inside to do.
struct Room {
  Surface surface;
  DrawingState s;
  Room() {
    surface.SetControlSize(1000, 800);
    s.FrameLeft = 100;
    s.FrameTop = 100;
    s.FrameRight = 700;
    s.FrameBottom = 500;
  }
  TCanvas& Frame() {
    TCanvas& c = surface.Canvas();
    c.Pen.SetWidth(7);
    c.Brush.Color = clWhite;
    c.Rectangle(100, 100, 700, 500);
    s.SpanX = 600;
    s.SpanY = 400;
    return c;
  }
};

void BM_Tatami12Table(benchmark::State& state) {
  Room room;
  for (auto _ : state) {
    room.Frame();
    LayTatami(room.s, room.surface, 6);
    benchmark::DoNotOptimize(room.surface.Picture().Bitmap()->Bits());
  }
}
BENCHMARK(BM_Tatami12Table)->Name("Tatami12/ours-table");

void BM_Tatami12Direct(benchmark::State& state) {
  Room room;
  for (auto _ : state) {
    TCanvas& c = room.Frame();
    const int L = 100, T = 100, R = 700, B = 500;
    c.Brush.Color = 0x0080FF80;
    c.FloodFill(400, 300, clBlack, TFillStyle::fsBorder);
    c.Pen.SetWidth(1);
    c.Pen.Color = clBlack;
    const int u = (R - L) / 6, v = (B - T) / 4;
    room.s.SpanX = u;
    room.s.SpanY = v;
    const int seg[11][4] = {
        {L + u, T, L + u, B},           {L + 3 * u, T, L + 3 * u, B},
        {L + 4 * u, T, L + 4 * u, B},   {L + 2 * u, T + v, L + 2 * u, T + 3 * v},
        {L + 5 * u, T + v, L + 5 * u, T + 3 * v}, {L, T + 2 * v, L + u, T + 2 * v},
        {L + 3 * u, T + 2 * v, L + 4 * u, T + 2 * v}, {L + u, T + v, L + 3 * u, T + v},
        {L + u, T + 3 * v, L + 3 * u, T + 3 * v}, {L + 4 * u, T + v, R, T + v},
        {L + 4 * u, T + 3 * v, R, T + 3 * v}};
    for (const auto& g : seg) {
      c.MoveTo(g[0], g[1]);
      c.LineTo(g[2], g[3]);
    }
    benchmark::DoNotOptimize(room.surface.Picture().Bitmap()->Bits());
  }
}
BENCHMARK(BM_Tatami12Direct)->Name("Tatami12/peer-direct");

}  // namespace
