// Icons and metafiles as the document windows need them: shown, saved and copied.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include "drawing/picture.h"

namespace rv {

class DisplayableGraphic : public ForeignGraphic {
 public:
  // Draws at its display size with the top-left at `topLeft`.
  virtual void Paint(QPainter& painter, QPoint topLeft) const = 0;
  // The graphic rendered at its display size on white.
  virtual QImage Render() const = 0;
  // The file's bytes exactly as they were read; Save writes these back.
  virtual const QByteArray& FileBytes() const = 0;
};

}  // namespace rv
