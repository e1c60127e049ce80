// PLACEHOLDER until the gesture cycle lands.
#include "drawing/engine.h"

namespace rv {
void PressSurface(DrawingState&, UiPort&, const std::shared_ptr<Surface>&, TMouseButton, int, int) {}
void ReleaseSurface(DrawingState&, UiPort&, Surface&, TMouseButton, int, int) {}
void UndoLastPress(DrawingState&, UiPort&) {}
}  // namespace rv
