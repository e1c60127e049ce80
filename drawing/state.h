// The drawing state every drawing handler and the tatami command share, and the tool ids.
#pragma once

#include <memory>
#include <string>

#include "canvas.h"
#include "surface.h"

namespace rv {

// Tool ids held in CurrentTool.
inline constexpr int toolNone = 0;
inline constexpr int toolFrame = 7;
inline constexpr int toolThickLine = 10;
inline constexpr int toolEraser = 11;
inline constexpr int toolHingedDoor = 15;
inline constexpr int toolThinLine = 17;
inline constexpr int toolRectangle = 19;
inline constexpr int toolEllipse = 20;
inline constexpr int toolRoundRect = 21;
inline constexpr int toolPlants = 22;
inline constexpr int toolToiletSide = 23;
inline constexpr int toolToiletUpright = 24;
inline constexpr int toolFill = 25;
inline constexpr int toolDoorA = 26;
inline constexpr int toolDoorB = 27;
inline constexpr int toolCarUpright = 28;
inline constexpr int toolOpening = 29;
inline constexpr int toolText = 31;
inline constexpr int toolCarSide = 32;

struct DrawingState {
  int CurrentTool = 0;
  int SavedTool = 0;
  int PenSize = 0;
  bool PenDown = false;
  bool DragMoved = false;
  int StartX = 0, StartY = 0;
  int LastX = 0, LastY = 0;
  int FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;
  int SpanX = 0, SpanY = 0;
  int EraserShapeCount = 0;
  // Handle of the newest eraser outline given out by UiPort; 0 for none.
  int EraserShape = 0;
  std::unique_ptr<TBitmap> UndoBitmap;
  TColor FillTargetColor = 0;
  TColor ForeColor = 0;
  TColor BackColor = 0;
  // Guarded: once the document window holding it is gone, lock() yields null and every
  // command acting on it does nothing.
  std::weak_ptr<Surface> ActiveImage;
  int DocumentCount = 0;
  std::string SaveFileName;

  // Back to the values at program load (zero, false, empty, null).
  void Reset() { *this = DrawingState{}; }
};

}  // namespace rv
