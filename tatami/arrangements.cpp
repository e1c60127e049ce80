#include "arrangements.h"

namespace rv::tatami {
namespace {

// L(2) is L + 2u, R(-1) is R - u, T(3) is T + 3v, B() is B.
constexpr Coord L(int k = 0) { return {Edge::Left, k}; }
constexpr Coord T(int k = 0) { return {Edge::Top, k}; }
constexpr Coord R(int k = 0) { return {Edge::Right, k}; }
constexpr Coord B(int k = 0) { return {Edge::Bottom, k}; }

// Each line: {x1, y1, x2, y2}, the joint from (x1, y1) to (x2, y2).

constexpr Segment k3Landscape[] = {
    {L(2), T(), L(2), B()},
    {L(), T(1), L(2), T(1)},
};

constexpr Segment k3Portrait[] = {
    {L(1), T(), L(1), T(2)},
    {L(), T(2), R(), T(2)},
};

constexpr Segment k4_5[] = {
    {L(2), T(), L(2), B()},
    {L(1), T(1), L(1), B()},
    {L(), T(1), L(2), T(1)},
    {L(2), T(2), R(), T(2)},
};

constexpr Segment k6Landscape[] = {
    {L(), T(1), R(), T(1)},
    {L(1), T(2), L(3), T(2)},
    {L(1), T(1), L(1), T(3)},
    {L(3), T(1), L(3), T(3)},
    {L(2), T(), L(2), T(1)},
};

constexpr Segment k6Portrait[] = {
    {L(2), T(), L(2), B()},
    {L(1), T(1), L(1), T(3)},
    {L(), T(1), L(2), T(1)},
    {L(), T(3), L(2), T(3)},
    {L(2), T(2), R(), T(2)},
};

constexpr Segment k7_5Landscape[] = {
    {L(), T(1), R(-1), T(1)},
    {L(1), T(2), L(3), T(2)},
    {L(1), T(1), L(1), T(3)},
    {L(3), T(1), L(3), T(3)},
    {L(2), T(), L(2), T(1)},
    {R(-1), T(), R(-1), B()},
    {R(-1), T(2), R(), T(2)},
};

constexpr Segment k7_5Portrait[] = {
    {L(2), T(), L(2), T(4)},
    {L(1), T(1), L(1), T(3)},
    {L(), T(1), L(2), T(1)},
    {L(), T(3), L(2), T(3)},
    {L(2), T(2), R(), T(2)},
    {L(), T(4), R(), T(4)},
    {L(1), T(4), L(1), B()},
};

constexpr Segment k8[] = {
    {L(1), T(), L(1), B()},
    {L(3), T(), L(3), B()},
    {L(2), T(1), L(2), T(3)},
    {L(), T(2), L(1), T(2)},
    {L(3), T(2), R(), T(2)},
    {L(1), T(1), L(3), T(1)},
    {L(1), T(3), L(3), T(3)},
};

constexpr Segment k10Landscape[] = {
    {L(), T(1), L(4), T(1)},
    {L(), T(3), L(4), T(3)},
    {L(1), T(2), L(3), T(2)},
    {L(4), T(2), R(), T(2)},
    {L(1), T(1), L(1), T(3)},
    {L(3), T(1), L(3), T(3)},
    {L(4), T(), L(4), B()},
    {L(2), T(), L(2), T(1)},
    {L(2), T(3), L(2), B()},
};

constexpr Segment k10Portrait[] = {
    {L(1), T(), L(1), B(-1)},
    {L(3), T(), L(3), B(-1)},
    {L(2), T(1), L(2), T(3)},
    {L(), T(2), L(1), T(2)},
    {L(3), T(2), R(), T(2)},
    {L(1), T(1), L(3), T(1)},
    {L(1), T(3), L(3), T(3)},
    {L(), B(-1), R(), B(-1)},
    {L(2), B(-1), L(2), B()},
};

constexpr Segment k12Landscape[] = {
    {L(1), T(), L(1), B()},
    {L(3), T(), L(3), B()},
    {L(4), T(), L(4), B()},
    {L(2), T(1), L(2), T(3)},
    {L(5), T(1), L(5), T(3)},
    {L(), T(2), L(1), T(2)},
    {L(3), T(2), L(4), T(2)},
    {L(1), T(1), L(3), T(1)},
    {L(1), T(3), L(3), T(3)},
    {L(4), T(1), R(), T(1)},
    {L(4), T(3), R(), T(3)},
};

constexpr Segment k12Portrait[] = {
    {L(), T(1), R(), T(1)},
    {L(1), T(2), L(3), T(2)},
    {L(1), T(1), L(1), T(3)},
    {L(3), T(1), L(3), T(3)},
    {L(2), T(), L(2), T(1)},
    {L(), T(3), R(), T(3)},
    {L(), T(4), R(), T(4)},
    {L(1), T(5), R(-1), T(5)},
    {L(1), T(4), L(1), B()},
    {L(3), T(4), L(3), B()},
    {L(2), T(3), L(2), T(4)},
};

// name, columns, rows, joints
constexpr Arrangement a3Landscape{"3 landscape", 3, 2, k3Landscape};
constexpr Arrangement a3Portrait{"3 portrait", 2, 3, k3Portrait};
constexpr Arrangement a4_5{"4.5", 3, 3, k4_5};
constexpr Arrangement a6Landscape{"6 landscape", 4, 3, k6Landscape};
constexpr Arrangement a6Portrait{"6 portrait", 3, 4, k6Portrait};
constexpr Arrangement a7_5Landscape{"7.5 landscape", 5, 3, k7_5Landscape};
constexpr Arrangement a7_5Portrait{"7.5 portrait", 3, 5, k7_5Portrait};
constexpr Arrangement a8{"8", 4, 4, k8};
constexpr Arrangement a10Landscape{"10 landscape", 5, 4, k10Landscape};
constexpr Arrangement a10Portrait{"10 portrait", 4, 5, k10Portrait};
constexpr Arrangement a12Landscape{"12 landscape", 6, 4, k12Landscape};
constexpr Arrangement a12Portrait{"12 portrait", 4, 6, k12Portrait};

// In the order of the radio group's items.
constexpr MatCount kMatCounts[kMatCountItems] = {
    {"3", true, &a3Landscape, &a3Portrait},
    {"4.5", false, &a4_5, &a4_5},
    {"6", true, &a6Landscape, &a6Portrait},
    {"7.5", true, &a7_5Landscape, &a7_5Portrait},
    {"8", false, &a8, &a8},
    {"10", true, &a10Landscape, &a10Portrait},
    {"12", true, &a12Landscape, &a12Portrait},
};

}  // namespace

const MatCount& MatCountAt(int itemIndex) { return kMatCounts[itemIndex]; }

std::int64_t Resolve(Coord c, std::int64_t L, std::int64_t T, std::int64_t R, std::int64_t B,
                     std::int64_t u, std::int64_t v) {
  switch (c.edge) {
    case Edge::Left: return L + c.cells * u;
    case Edge::Top: return T + c.cells * v;
    case Edge::Right: return R + c.cells * u;
    case Edge::Bottom: return B + c.cells * v;
  }
  return 0;
}

}  // namespace rv::tatami
