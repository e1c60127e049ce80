#include "app/sample_plan.h"

#include "drawing/engine.h"
#include "tatami/tatami.h"

namespace rv {

namespace {

// Takes the gestures' requests to the window and ignores them, except for the text.
class SilentUi : public NullUiPort {
 public:
  std::string text;
  std::string TextSource() override { return text; }
};

// Replays what a user does with the mouse.
class Player {
 public:
  Player() : surface_(std::make_shared<Surface>("sample")) {
    surface_->SetControlSize(kSamplePlanWidth, kSamplePlanHeight);
  }

  void Drag(int tool, int x0, int y0, int x1, int y1) {
    s_.CurrentTool = tool;
    PressSurface(s_, ui_, surface_, TMouseButton::mbLeft, x0, y0);
    MoveOverSurface(s_, ui_, *surface_, (x0 + x1) / 2, (y0 + y1) / 2);
    MoveOverSurface(s_, ui_, *surface_, x1, y1);
    ReleaseSurface(s_, ui_, *surface_, TMouseButton::mbLeft, x1, y1);
  }

  void Fill(int x, int y, TColor color) {
    s_.ForeColor = color;
    Tap(toolFill, x, y);
  }

  void Text(int x, int y, const char* text) {
    ui_.text = text;
    Tap(toolText, x, y);
  }

  void Tatami(int itemIndex) { LayTatami(s_, *surface_, itemIndex); }

  std::unique_ptr<TBitmap> Take() {
    const TBitmap* bmp = surface_->Picture().Bitmap();
    return bmp ? bmp->Clone() : std::make_unique<TBitmap>(kSamplePlanWidth, kSamplePlanHeight);
  }

 private:
  void Tap(int tool, int x, int y) {
    s_.CurrentTool = tool;
    PressSurface(s_, ui_, surface_, TMouseButton::mbLeft, x, y);
    ReleaseSurface(s_, ui_, *surface_, TMouseButton::mbLeft, x, y);
  }

  DrawingState s_;
  SilentUi ui_;
  std::shared_ptr<Surface> surface_;
};

}  // namespace

std::unique_ptr<TBitmap> DrawSamplePlan() {
  Player p;
  // The house and its rooms.
  p.Drag(toolFrame, 8, 8, 250, 208);
  p.Drag(toolFrame, 130, 8, 250, 98);
  p.Drag(toolFrame, 196, 8, 250, 98);
  // Wooden floor with boards.
  p.Drag(toolFrame, 130, 98, 250, 208);
  p.Fill(190, 150, 0x3C78B4);
  for (int y = 112; y < 204; y += 12) p.Drag(toolThinLine, 134, y, 246, y);
  p.Text(172, 146, "洋室");
  // Bath and toilet.
  p.Drag(toolRoundRect, 140, 20, 188, 60);
  p.Fill(164, 40, 0xFFFF00);
  p.Text(150, 70, "浴室");
  p.Drag(toolToiletUpright, 208, 18, 238, 70);
  p.Text(206, 78, "トイレ");
  // The six-mat room last, so that the tatami command takes its frame.
  p.Drag(toolFrame, 8, 8, 130, 208);
  p.Tatami(2);
  p.Text(56, 100, "和室");
  // Outside: a car and a bed of shrubs.
  p.Drag(toolCarUpright, 262, 12, 318, 118);
  p.Drag(toolPlants, 262, 134, 326, 206);
  return p.Take();
}

}  // namespace rv
