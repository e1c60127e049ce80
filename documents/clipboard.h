// Copy: a picture onto the system clipboard in its clipboard form.
#pragma once

#include <QMimeData>
#include <memory>

#include "drawing/picture.h"

namespace rv {

// What Copy puts on the clipboard: a bitmap as an image; a metafile as its rendered image
// plus its file bytes ("image/emf" and "image/x-emf" for an enhanced metafile, "image/wmf"
// and "image/x-wmf" for an old-style one); null for an empty picture. An icon throws.
std::unique_ptr<QMimeData> PictureMimeData(const Picture& picture);

// Replaces the clipboard's contents; an empty picture leaves it empty.
void CopyPictureToClipboard(const Picture& picture);

}  // namespace rv
