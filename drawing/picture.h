// What a drawing surface shows: nothing, a bitmap (the only kind that can be drawn on),
// or an icon or metafile read from a file.
#pragma once

#include <memory>

#include "canvas.h"

namespace rv {

enum class GraphicKind { None, Bitmap, Icon, Metafile };

// An icon or metafile. Its decoding, rendering and saving live with the picture files;
// the engine only needs its kind and size.
class ForeignGraphic {
 public:
  virtual ~ForeignGraphic() = default;
  virtual GraphicKind Kind() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // An icon refuses (EngineError kMsgIconResize); a metafile takes it as its display size.
  virtual void SetSize(int width, int height) = 0;
  virtual std::unique_ptr<ForeignGraphic> Clone() const = 0;
};

class Picture {
 public:
  GraphicKind Kind() const;
  bool Empty() const { return Kind() == GraphicKind::None; }

  TBitmap* Bitmap() { return bitmap_.get(); }
  const TBitmap* Bitmap() const { return bitmap_.get(); }
  ForeignGraphic* Foreign() { return foreign_.get(); }
  const ForeignGraphic* Foreign() const { return foreign_.get(); }

  void SetBitmap(std::unique_ptr<TBitmap> bmp);
  void SetForeign(std::unique_ptr<ForeignGraphic> g);
  void Clear();

  int Width() const;
  int Height() const;
  // Resizing the graphic: a bitmap keeps its top-left and fills new area with its brush
  // colour; an icon throws; a metafile takes the display size; no graphic: nothing.
  void SetWidth(int w);
  void SetHeight(int h);

 private:
  std::unique_ptr<TBitmap> bitmap_;
  std::unique_ptr<ForeignGraphic> foreign_;
};

}  // namespace rv
