// Windows BMP files: reading every common variant, writing 24 bits per pixel.
#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>
#include <memory>

#include "documents/byte_reader.h"
#include "drawing/canvas.h"

namespace rv {

// A whole BMP file (file header, info header, palette, pixels). Throws EngineError with a
// message naming what is wrong; refuses absurd sizes before allocating anything.
std::unique_ptr<TBitmap> DecodeBmp(Bytes file);

// The same from a file of `file_size` bytes read through `read`, which fills `dst` with
// `length` bytes from `offset` and says false when it cannot. Uncompressed pictures are read
// a few rows at a time, so no copy of the whole file is held; a file that shrinks while it
// is read gives the message for a cut file.
using ReadAt = std::function<bool(std::int64_t offset, std::int64_t length, std::uint8_t* dst)>;
std::unique_ptr<TBitmap> DecodeBmpFrom(std::int64_t file_size, const ReadAt& read);

// A device-independent bitmap as stored in an icon: info header, palette, colour rows and
// the 1-bit transparency mask, the header's height counting both. The result has alpha.
QImage DecodeIconDib(Bytes dib);

// A DIB as metafiles carry it: the info header, masks and palette in `bmi`, the rows in
// `bits` (when `bits` is empty the rows follow the palette inside `bmi`). Opaque result;
// pictures above `max_pixels` are refused before anything is allocated.
QImage DecodeDib(Bytes bmi, Bytes bits, std::int64_t max_pixels);

// 24 bits per pixel, bottom-up, no palette.
QByteArray EncodeBmp(const TBitmap& bmp);
// The same in two steps, for writing straight into a mapped file: the file's size
// (EngineError when it would pass 2 GiB), then the bytes into `out` of that size.
std::int64_t EncodedBmpSize(const TBitmap& bmp);
void EncodeBmpInto(const TBitmap& bmp, std::uint8_t* out);
// Or piece by piece: the 54 header bytes, then each stored row (bottom row first) of
// EncodedBmpRowBytes bytes, padding included.
inline constexpr int kBmpHeaderBytes = 54;
std::int64_t EncodedBmpRowBytes(const TBitmap& bmp);
void EncodeBmpHeader(const TBitmap& bmp, std::uint8_t* out);
void EncodeBmpRow(const TBitmap& bmp, int stored_row, std::uint8_t* out);

}  // namespace rv
