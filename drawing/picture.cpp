#include "picture.h"

namespace rv {

GraphicKind Picture::Kind() const {
  if (bitmap_) return GraphicKind::Bitmap;
  if (foreign_) return foreign_->Kind();
  return GraphicKind::None;
}

void Picture::SetBitmap(std::unique_ptr<TBitmap> bmp) {
  foreign_.reset();
  bitmap_ = std::move(bmp);
}

void Picture::SetForeign(std::unique_ptr<ForeignGraphic> g) {
  bitmap_.reset();
  foreign_ = std::move(g);
}

void Picture::Clear() {
  bitmap_.reset();
  foreign_.reset();
}

int Picture::Width() const {
  if (bitmap_) return bitmap_->Width();
  if (foreign_) return foreign_->Width();
  return 0;
}

int Picture::Height() const {
  if (bitmap_) return bitmap_->Height();
  if (foreign_) return foreign_->Height();
  return 0;
}

void Picture::SetWidth(int w) {
  if (bitmap_) {
    bitmap_->SetWidth(w);
  } else if (foreign_) {
    foreign_->SetSize(w, foreign_->Height());
  }
}

void Picture::SetHeight(int h) {
  if (bitmap_) {
    bitmap_->SetHeight(h);
  } else if (foreign_) {
    foreign_->SetSize(foreign_->Width(), h);
  }
}

}  // namespace rv
