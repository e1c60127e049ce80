#include "documents/metafile_player.h"

namespace rv {

void PlayEmf(const EmfFile&, QPainter&, const QRectF&) {}
void PlayWmf(const WmfFile&, QPainter&, const QRectF&) {}

}  // namespace rv
