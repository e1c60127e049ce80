// Windows BMP files: reading every common variant, writing 24 bits per pixel.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

#include "documents/byte_reader.h"
#include "drawing/canvas.h"

namespace rv {

// A whole BMP file (file header, info header, palette, pixels). Throws EngineError with a
// message naming what is wrong; refuses absurd sizes before allocating anything.
std::unique_ptr<TBitmap> DecodeBmp(Bytes file);

// A device-independent bitmap as stored in an icon: info header, palette, colour rows and
// the 1-bit transparency mask, the header's height counting both. The result has alpha.
QImage DecodeIconDib(Bytes dib);

// 24 bits per pixel, bottom-up, no palette.
QByteArray EncodeBmp(const TBitmap& bmp);

}  // namespace rv
