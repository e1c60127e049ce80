#include "surface.h"

namespace rv {

TCanvas& Surface::Canvas() {
  switch (picture_.Kind()) {
    case GraphicKind::Bitmap:
      break;
    case GraphicKind::None:
      picture_.SetBitmap(std::make_unique<TBitmap>(control_w_, control_h_, clWhite));
      break;
    case GraphicKind::Icon:
    case GraphicKind::Metafile:
      throw EngineError(kMsgCanvasNeedsBitmap);
  }
  return picture_.Bitmap()->Canvas();
}

}  // namespace rv
