// Helpers shared by the picture-file tests: paths, byte builders, pixel access.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "documents/byte_reader.h"
#include "drawing/canvas.h"

namespace rv::test {

inline QString CorporaDir(const QString& sub) { return QString(RANOVEH_CORPORA) + "/" + sub; }
inline QString DataFile(const QString& name) { return QString(RANOVEH_TEST_DATA) + "/" + name; }

#define RV_REQUIRE_CORPORA(sub)                                               \
  do {                                                                        \
    if (!QDir(::rv::test::CorporaDir(sub)).exists())                          \
      GTEST_SKIP() << "corpus folder absent: " << RANOVEH_CORPORA << "/" sub; \
  } while (0)

inline Bytes ToBytes(const QByteArray& a) {
  return AsBytes(a.constData(), static_cast<std::size_t>(a.size()));
}

inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Little-endian byte builder.
struct Le {
  QByteArray b;
  Le& u8(unsigned v) {
    b.append(static_cast<char>(v & 0xFF));
    return *this;
  }
  Le& u16(unsigned v) { return u8(v).u8(v >> 8); }
  Le& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Le& i16(int v) { return u16(static_cast<std::uint16_t>(v)); }
  Le& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
  Le& f32(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return u32(u);
  }
  Le& bytes(const QByteArray& a) {
    b.append(a);
    return *this;
  }
  Le& pad4() {
    while (b.size() % 4) u8(0);
    return *this;
  }
};

// A BMP file with a 40-byte (or `header_size`) info header; `palette` as 0x00RRGGBB.
inline QByteArray MakeBmp(int w, int h, int bits, std::uint32_t compression,
                          const std::vector<std::uint32_t>& palette, const QByteArray& pixels,
                          const QByteArray& after_header = {}, std::uint32_t header_size = 40) {
  Le info;
  info.u32(header_size).i32(w).i32(h).u16(1).u16(bits).u32(compression)
      .u32(static_cast<std::uint32_t>(pixels.size())).i32(3780).i32(3780)
      .u32(static_cast<std::uint32_t>(palette.size())).u32(0);
  while (info.b.size() < static_cast<qsizetype>(header_size)) info.u8(0);
  info.bytes(after_header);
  for (std::uint32_t c : palette) info.u32(c);
  const std::uint32_t offset = 14 + static_cast<std::uint32_t>(info.b.size());
  Le file;
  file.u8('B').u8('M').u32(offset + static_cast<std::uint32_t>(pixels.size())).u32(0).u32(offset);
  file.bytes(info.b).bytes(pixels);
  return file.b;
}

inline std::uint32_t Rgb(const TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFF; }

inline QImage ToImage(const TBitmap& b) {
  return QImage(reinterpret_cast<const uchar*>(b.Bits()), b.Width(), b.Height(), b.BytesPerLine(),
                QImage::Format_RGB32)
      .copy();
}

}  // namespace rv::test
