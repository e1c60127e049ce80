// The press and the release every tool shares, the tools that act at the press (fill, text,
// the eraser outline) and the one-step undo.
#include <string>

#include "drawing/commits.h"
#include "drawing/engine.h"
#include "drawing/rounding.h"
#include "drawing/surface_paint.h"

namespace rv {

namespace {

void Commit(DrawingState& s, TCanvas& c, int X, int Y) {
  switch (s.CurrentTool) {
    case toolFrame: CommitFrame(s, c, X, Y); break;
    case toolThickLine: CommitThickLine(s, c, X, Y); break;
    case toolHingedDoor: CommitHingedDoor(s, c, X, Y); break;
    case toolThinLine: CommitThinLine(s, c, X, Y); break;
    case toolRectangle: CommitRectangle(s, c, X, Y); break;
    case toolEllipse: CommitEllipse(s, c, X, Y); break;
    case toolRoundRect: CommitRoundRect(s, c, X, Y); break;
    case toolPlants: CommitPlants(s, c, X, Y); break;
    case toolToiletSide: CommitToiletSide(s, c, X, Y); break;
    case toolToiletUpright: CommitToiletUpright(s, c, X, Y); break;
    case toolDoorA: CommitDoorA(s, c, X, Y); break;
    case toolDoorB: CommitDoorB(s, c, X, Y); break;
    case toolCarUpright: CommitCarUpright(s, c, X, Y); break;
    case toolOpening: CommitOpening(s, c, X, Y); break;
    case toolCarSide: CommitCarSide(s, c, X, Y); break;
    default: break;  // fill and text worked at the press; other ids draw nothing
  }
}

bool DrawsAtRelease(int tool) {
  switch (tool) {
    case toolFrame: case toolThickLine: case toolHingedDoor: case toolThinLine:
    case toolRectangle: case toolEllipse: case toolRoundRect: case toolPlants:
    case toolToiletSide: case toolToiletUpright: case toolDoorA: case toolDoorB:
    case toolCarUpright: case toolOpening: case toolCarSide:
      return true;
    default:
      return false;
  }
}

TRect PictureRect(const Surface& surface) {
  return TRect{0, 0, surface.Picture().Width(), surface.Picture().Height()};
}

}  // namespace

void PressSurface(DrawingState& s, UiPort& ui, const std::shared_ptr<Surface>& sender,
                  TMouseButton button, int X, int Y) {
  if (!sender) return;
  Surface& surface = *sender;
  s.ActiveImage = sender;
  ui.SetUndoEnabled(true);
  // Throws for an icon or metafile: the press stops here, without a snapshot.
  TCanvas& c = DrawingCanvas(ui, surface);
  c.Pen.SetWidth(1);
  c.MoveTo(X, Y);
  s.StartX = X;
  s.StartY = Y;
  s.LastX = X;
  s.LastY = Y;

  if (button == TMouseButton::mbLeft) {
    // Taken before the tool acts, so a fill or text of this press is part of what undo removes.
    s.UndoBitmap.reset();
    s.PenDown = true;
    s.DragMoved = false;
    s.UndoBitmap = surface.Picture().Bitmap()->Clone();
  }

  switch (s.CurrentTool) {
    case toolFrame:
    case toolRectangle:
      s.FrameLeft = X;
      s.FrameTop = Y;
      break;
    case toolEraser: {
      const int number = WrapAdd(s.EraserShapeCount, 1);
      s.EraserShape = ui.CreateEraserOutline("newsahpe" + std::to_string(number));
      s.EraserShapeCount = number;
      break;
    }
    case toolFill:
      s.FillTargetColor = c.Pixel(X, Y);
      if (button == TMouseButton::mbRight) {
        c.Brush.Color = s.BackColor;
        c.FloodFill(X, Y, s.FillTargetColor, TFillStyle::fsSurface);
      } else if (button == TMouseButton::mbLeft) {
        c.Brush.Color = s.ForeColor;
        c.FloodFill(X, Y, s.FillTargetColor, TFillStyle::fsSurface);
      }
      break;
    case toolText:
      // The brush stays solid; clNone only means the text gets no background.
      c.Brush.Color = clNone;
      c.TextOut(X, Y, ui.TextSource());
      break;
    default:
      break;
  }
  ShowChanges(ui, surface, c);
}

void ReleaseSurface(DrawingState& s, UiPort& ui, Surface& /*sender*/, TMouseButton button,
                    int X, int Y) {
  if (s.CurrentTool == toolFrame || s.CurrentTool == toolRectangle) {
    s.FrameRight = X;
    s.FrameBottom = Y;
  }
  // Only the movement flag and the button are tested: a left release reaching a surface
  // after mere movement commits from the last press point too.
  if (s.DragMoved && button == TMouseButton::mbLeft) {
    if (s.CurrentTool == toolEraser) {
      // A release from the Moved state may come after the newest outline is already gone.
      if (s.EraserShape != 0 && ui.EraserOutlineExists(s.EraserShape)) {
        ui.DestroyEraserOutline(s.EraserShape);
      }
      s.EraserShape = 0;
    } else if (DrawsAtRelease(s.CurrentTool)) {
      if (std::shared_ptr<Surface> active = s.ActiveImage.lock()) {
        TCanvas& c = DrawingCanvas(ui, *active);
        Commit(s, c, X, Y);
        ShowChanges(ui, *active, c);
      }
    }
  }
  s.PenDown = false;
  s.DragMoved = false;
}

void UndoLastPress(DrawingState& s, UiPort& ui) {
  std::shared_ptr<Surface> active = s.ActiveImage.lock();
  if (!active) return;
  Picture& picture = active->Picture();
  const TRect before = PictureRect(*active);
  try {
    if (s.UndoBitmap) {
      picture.SetBitmap(s.UndoBitmap->Clone());
    } else {
      // The next canvas use gives the surface a new white bitmap of its current size.
      picture.Clear();
    }
    ui.SetUndoEnabled(false);
  } catch (const std::exception&) {
    // Undo fails quietly: the snapshot is dropped and the button stays as it was.
    s.UndoBitmap.reset();
  }
  const TRect shown = before.United(PictureRect(*active));
  if (!shown.IsEmpty()) ui.RepaintSurface(*active, shown);
}

}  // namespace rv
