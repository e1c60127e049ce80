// Reading a picture file by its extension and writing a picture in its own kind.
#pragma once

#include <QByteArray>
#include <QString>

#include "drawing/picture.h"

namespace rv {

// The graphic read from `path`: the kind follows the extension (.bmp .ico .emf .wmf, any
// case). Throws EngineError; `picture` is changed only when the whole file was read.
void LoadPictureFile(Picture& picture, const QString& path);

// Writes the graphic in its own kind (a bitmap as a 24-bit BMP, an icon or metafile as the
// bytes it was read from). The file is replaced atomically: on failure the old file stays
// as it was and EngineError is thrown. Returns false, writing nothing, for an empty picture.
bool SavePictureFile(const Picture& picture, const QString& path);

// The whole file, or EngineError.
QByteArray ReadFileBytes(const QString& path, qint64 max_size);
// Write beside, flush, rename over; EngineError on failure.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace rv
