// Plays EMF and WMF records onto a QPainter: the picture's frame lands on `target`.
// Records were size-checked by the reader; a record whose fields do not fit throws
// EngineError, and the player never reads outside a record.
#pragma once

#include <QPainter>
#include <QRectF>

#include "documents/metafile_reader.h"

namespace rv {

void PlayEmf(const EmfFile& file, QPainter& painter, const QRectF& target);
void PlayWmf(const WmfFile& file, QPainter& painter, const QRectF& target);

}  // namespace rv
