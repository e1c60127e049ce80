// Enhanced and old-style metafiles: kept as the file's bytes, shown through our own player.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

#include "documents/graphics.h"
#include "documents/metafile_reader.h"

namespace rv {

class MetafileGraphic : public DisplayableGraphic {
 public:
  // The format follows the content. Throws EngineError naming what is wrong; every record
  // is played once here so a damaged one is reported on reading, not while painting.
  static std::unique_ptr<MetafileGraphic> Decode(const QByteArray& file);

  GraphicKind Kind() const override { return GraphicKind::Metafile; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // The display size; negative sizes count as zero.
  void SetSize(int width, int height) override;
  std::unique_ptr<ForeignGraphic> Clone() const override;

  void Paint(QPainter& painter, QPoint topLeft) const override;
  QImage Render() const override;
  const QByteArray& FileBytes() const override { return bytes_; }

  MetafileFormat Format() const { return format_; }

 private:
  MetafileGraphic() = default;
  void Play(QPainter& painter, const QRectF& target) const;

  QByteArray bytes_;
  MetafileFormat format_ = MetafileFormat::Emf;
  // Views into bytes_, which is never modified after reading (QByteArray shares on copy).
  std::shared_ptr<const EmfFile> emf_;
  std::shared_ptr<const WmfFile> wmf_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace rv
