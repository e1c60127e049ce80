// A drawing surface as the engine sees it: a picture, the size of the control showing it
// (the document window's client area) and a name. The widget that shows it lives in documents/.
#pragma once

#include <string>

#include "picture.h"

namespace rv {

class Surface {
 public:
  explicit Surface(std::string name = {}) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string n) { name_ = std::move(n); }

  class Picture& Picture() { return picture_; }
  const class Picture& Picture() const { return picture_; }

  // The control's size; the first canvas use of an empty picture makes a white bitmap this big.
  int ControlWidth() const { return control_w_; }
  int ControlHeight() const { return control_h_; }
  void SetControlSize(int w, int h) {
    control_w_ = w < 0 ? 0 : w;
    control_h_ = h < 0 ? 0 : h;
  }

  // The bitmap's canvas. An empty picture first gets a white bitmap of the control's size;
  // an icon or metafile throws EngineError(kMsgCanvasNeedsBitmap).
  TCanvas& Canvas();

 private:
  std::string name_;
  class Picture picture_;
  int control_w_ = 0;
  int control_h_ = 0;
};

}  // namespace rv
