// The twelve mat arrangements as data: per mat count, the grid of half-mat cells and the
// joints in drawing order, each end written as a frame edge plus a number of cells.
#pragma once

#include <cstdint>
#include <span>

namespace rv::tatami {

// Left, Top, Right, Bottom: FrameLeft, FrameTop, FrameRight, FrameBottom.
enum class Edge { Left, Top, Right, Bottom };

// An x end is Left or Right plus cells * u; a y end is Top or Bottom plus cells * v.
struct Coord {
  Edge edge;
  int cells;
};

struct Segment {
  Coord x1, y1, x2, y2;
};

struct Arrangement {
  const char* name;
  int columns;
  int rows;
  std::span<const Segment> segments;
};

// One item of the mat-count radio group. Counts without an orientation test have a single
// arrangement, held in both fields.
struct MatCount {
  const char* item;
  bool oriented;
  const Arrangement* landscape;
  const Arrangement* portrait;
};

inline constexpr int kMatCountItems = 7;

// itemIndex 0 ("3") to 6 ("12"); the caller checks the range.
const MatCount& MatCountAt(int itemIndex);

// The value of an end for the frame corners and cell size, in 64 bits (far-apart corners).
std::int64_t Resolve(Coord c, std::int64_t L, std::int64_t T, std::int64_t R, std::int64_t B,
                     std::int64_t u, std::int64_t v);

}  // namespace rv::tatami
