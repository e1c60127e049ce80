// How the gesture handlers get a surface's canvas and tell the view what changed.
#pragma once

#include "surface.h"
#include "ui_port.h"

namespace rv {

// The canvas of a surface a handler is about to draw on. A bitmap made by this very use has
// never been shown, so the view gets all of it.
inline TCanvas& DrawingCanvas(UiPort& ui, Surface& surface) {
  const bool was_empty = surface.Picture().Empty();
  TCanvas& c = surface.Canvas();
  if (was_empty) {
    const TBitmap* b = surface.Picture().Bitmap();
    const TRect whole{0, 0, b->Width(), b->Height()};
    if (!whole.IsEmpty()) ui.RepaintSurface(surface, whole);
  }
  return c;
}

// Hands the pixels changed since the last call to the view.
inline void ShowChanges(UiPort& ui, Surface& surface, TCanvas& c) {
  const TRect r = c.TakeDirty();
  if (!r.IsEmpty()) ui.RepaintSurface(surface, r);
}

}  // namespace rv
