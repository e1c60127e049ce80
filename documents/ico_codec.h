// Windows icon files: the best entry is shown, the file's bytes are kept for saving.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

#include "documents/graphics.h"

namespace rv {

class IconGraphic : public DisplayableGraphic {
 public:
  // Throws EngineError naming what is wrong with the file.
  static std::unique_ptr<IconGraphic> Decode(const QByteArray& file);

  GraphicKind Kind() const override { return GraphicKind::Icon; }
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  // An icon keeps its size: always refuses.
  void SetSize(int width, int height) override;
  std::unique_ptr<ForeignGraphic> Clone() const override;

  void Paint(QPainter& painter, QPoint topLeft) const override;
  QImage Render() const override;
  const QByteArray& FileBytes() const override { return bytes_; }

  // The shown entry, with alpha.
  const QImage& Image() const { return image_; }

 private:
  IconGraphic(QByteArray bytes, QImage image) : bytes_(std::move(bytes)), image_(std::move(image)) {}
  QByteArray bytes_;
  QImage image_;
};

}  // namespace rv
