// The gesture cycle: what a press, a move and a release on a drawing surface do, and undo.
// The main window's handlers forward to these and do nothing else.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "state.h"
#include "ui_port.h"

namespace rv {

// gestures.cpp
void PressSurface(DrawingState& s, UiPort& ui, const std::shared_ptr<Surface>& sender,
                  TMouseButton button, int X, int Y);
void ReleaseSurface(DrawingState& s, UiPort& ui, Surface& sender, TMouseButton button, int X,
                    int Y);
void UndoLastPress(DrawingState& s, UiPort& ui);

// previews.cpp
void MoveOverSurface(DrawingState& s, UiPort& ui, Surface& sender, int X, int Y);
// The status-bar size read-out for the spans, or nothing when they sum to 0.
std::optional<std::string> SizeReadout(int spanX, int spanY);

}  // namespace rv
