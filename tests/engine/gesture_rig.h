// A drawing state, a recording UI and surfaces, with short calls for the pointer events.
#pragma once

#include <memory>

#include "drawing/engine.h"
#include "tests/engine/fake_ui.h"

namespace rv::test {

inline std::shared_ptr<Surface> MakeSurface(int w, int h, std::string name = "newimage1") {
  auto s = std::make_shared<Surface>(std::move(name));
  s->SetControlSize(w, h);
  return s;
}

// A drawing state right after a press at (x, y): what a commit arm starts from.
inline DrawingState Pressed(int x, int y) {
  DrawingState s;
  s.StartX = s.LastX = x;
  s.StartY = s.LastY = y;
  return s;
}

// An icon or metafile as far as the engine can see one.
class StubForeign : public ForeignGraphic {
 public:
  explicit StubForeign(GraphicKind k) : kind_(k) {}
  GraphicKind Kind() const override { return kind_; }
  int Width() const override { return 32; }
  int Height() const override { return 32; }
  void SetSize(int, int) override {}
  std::unique_ptr<ForeignGraphic> Clone() const override {
    return std::make_unique<StubForeign>(kind_);
  }

 private:
  GraphicKind kind_;
};

struct Rig {
  DrawingState s;
  FakeUi ui;
  std::shared_ptr<Surface> a = MakeSurface(200, 150, "newimage1");

  Rig() {
    // What start-up leaves.
    s.CurrentTool = toolFrame;
    s.PenSize = 7;
    s.ForeColor = 0x008000;
    s.BackColor = 0x000080;
    s.ActiveImage = a;
  }

  void Press(TMouseButton b, int x, int y) { PressSurface(s, ui, a, b, x, y); }
  void Press(const std::shared_ptr<Surface>& on, TMouseButton b, int x, int y) {
    PressSurface(s, ui, on, b, x, y);
  }
  void Move(int x, int y) { MoveOverSurface(s, ui, *a, x, y); }
  void Release(TMouseButton b, int x, int y) { ReleaseSurface(s, ui, *a, b, x, y); }

  // Left press, moves through the given points, left release at the last one.
  void Drag(int tool, int x0, int y0, std::initializer_list<TPoint> path) {
    s.CurrentTool = tool;
    Press(TMouseButton::mbLeft, x0, y0);
    TPoint last{x0, y0};
    for (TPoint p : path) {
      Move(p.X, p.Y);
      last = p;
    }
    Release(TMouseButton::mbLeft, last.X, last.Y);
  }

  TBitmap& Bmp() { return *a->Picture().Bitmap(); }
  TCanvas& C() { return Bmp().Canvas(); }
  TColor Px(int x, int y) { return C().Pixel(x, y); }
};

}  // namespace rv::test
