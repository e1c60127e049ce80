// The one narrow way the engine reaches the user interface. The main window implements it;
// tests implement it with a recorder.
#pragma once

#include <string>

#include "surface.h"
#include "types.h"

namespace rv {

class UiPort {
 public:
  virtual ~UiPort() = default;

  virtual void SetPointerReadout(const std::string& text) = 0;  // Label4
  virtual void SetToolPrompt(const std::string& text) = 0;      // Label5
  virtual void SetStatusText(const std::string& text) = 0;      // the status bar's one line
  virtual void SetUndoEnabled(bool enabled) = 0;                // StaticText1
  virtual void SetTatamiEnabled(bool enabled) = 0;              // SpeedButton1
  virtual void SetSurfaceCursor(Surface& surface, TCursor cursor) = 0;
  // Shows the changed rectangle (bitmap pixels) of a surface again.
  virtual void RepaintSurface(Surface& surface, const TRect& rect) = 0;
  // The text the text tool stamps (ComboBox2's current text).
  virtual std::string TextSource() = 0;

  // Eraser outlines: small rectangles over the active document window, addressed by handle.
  // Create gives a hidden outline with the name, on the active document window, and returns
  // a handle > 0 (0 when there is no document window to put it on).
  virtual int CreateEraserOutline(const std::string& name) = 0;
  // False once destroyed, or once its document window has gone.
  virtual bool EraserOutlineExists(int handle) = 0;
  virtual void ShowEraserOutline(int handle, int left, int top, int width, int height) = 0;
  virtual void DestroyEraserOutline(int handle) = 0;
};

// Ignores every request; for drawing without a window (the version dialog's picture, benchmarks).
// Override what you need.
class NullUiPort : public UiPort {
 public:
  void SetPointerReadout(const std::string&) override {}
  void SetToolPrompt(const std::string&) override {}
  void SetStatusText(const std::string&) override {}
  void SetUndoEnabled(bool) override {}
  void SetTatamiEnabled(bool) override {}
  void SetSurfaceCursor(Surface&, TCursor) override {}
  void RepaintSurface(Surface&, const TRect&) override {}
  std::string TextSource() override { return {}; }
  int CreateEraserOutline(const std::string&) override { return 0; }
  bool EraserOutlineExists(int) override { return false; }
  void ShowEraserOutline(int, int, int, int, int) override {}
  void DestroyEraserOutline(int) override {}
};

}  // namespace rv
