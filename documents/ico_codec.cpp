#include "documents/ico_codec.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <optional>
#include <string>

#include "documents/bmp_codec.h"
#include "documents/byte_reader.h"

namespace rv {

namespace {

const char* const kMsgIcoShort = "ｱｲｺﾝ ﾌｧｲﾙが途中で切れています";
// Icons are small; anything beyond this is a damaged or hostile file.
constexpr int kMaxIconSide = 4096;

struct Candidate {
  QImage image;
  int bits = 0;
};

QImage DecodePngEntry(Bytes entry) {
  // Check the size in the header before the decoder allocates anything.
  if (entry.size() < 24) throw EngineError("ｱｲｺﾝの PNG 画像が途中で切れています");
  const auto be32 = [&](std::size_t at) {
    return (std::uint32_t{entry[at]} << 24) | (std::uint32_t{entry[at + 1]} << 16) |
           (std::uint32_t{entry[at + 2]} << 8) | entry[at + 3];
  };
  const std::uint32_t w = be32(16), h = be32(20);
  if (w == 0 || h == 0 || w > kMaxIconSide || h > kMaxIconSide) {
    throw EngineError("ｱｲｺﾝの画像の大きさ (" + std::to_string(w) + " × " + std::to_string(h) +
                      ") が正しくありません");
  }
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(entry.data()),
                                             static_cast<qsizetype>(entry.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  QImage img = reader.read();
  if (img.isNull()) throw EngineError("ｱｲｺﾝの PNG 画像が壊れています");
  return img.convertToFormat(QImage::Format_ARGB32);
}

Candidate DecodeEntry(Bytes entry) {
  static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (entry.size() >= 8 && std::equal(kPng, kPng + 8, entry.begin())) {
    return {DecodePngEntry(entry), 32};
  }
  if (entry.size() >= 16) {
    const std::int32_t w = static_cast<std::int32_t>(LoadU32(entry.data() + 4));
    const std::int32_t h = static_cast<std::int32_t>(LoadU32(entry.data() + 8));
    if (w > kMaxIconSide || h / 2 > kMaxIconSide || h / 2 < -kMaxIconSide) {
      throw EngineError("ｱｲｺﾝの画像の大きさ (" + std::to_string(w) + " × " +
                        std::to_string(h / 2) + ") が正しくありません");
    }
  }
  QImage img = DecodeIconDib(entry);
  const int bits = entry.size() >= 16 ? LoadU16(entry.data() + 14) : 0;
  return {std::move(img), bits};
}

}  // namespace

std::unique_ptr<IconGraphic> IconGraphic::Decode(const QByteArray& file) {
  const Bytes data = AsBytes(file.constData(), static_cast<std::size_t>(file.size()));
  ByteReader r(data, kMsgIcoShort);
  const std::uint16_t reserved = r.U16();
  const std::uint16_t type = r.U16();
  if (reserved != 0 || (type != 1 && type != 2)) {
    throw EngineError("ｱｲｺﾝ ﾌｧｲﾙではありません (ﾍｯﾀﾞｰが正しくありません)");
  }
  const std::uint16_t count = r.U16();
  if (count == 0) throw EngineError("ｱｲｺﾝ ﾌｧｲﾙに画像が1つも入っていません");
  if (!r.Has(std::size_t{count} * 16)) r.Fail();

  std::optional<Candidate> best;
  std::optional<EngineError> first_error;
  for (int i = 0; i < count; ++i) {
    r.Skip(8);  // width, height, colours, reserved, planes, bit count as the directory says
    const std::uint32_t size = r.U32();
    const std::uint32_t offset = r.U32();
    try {
      if (offset >= data.size() || size == 0) throw EngineError(kMsgIcoShort);
      // A size running past the end is cut to the file; the decoder then finds out.
      const std::size_t avail = data.size() - offset;
      Candidate c = DecodeEntry(data.subspan(offset, std::min<std::size_t>(size, avail)));
      const auto area = [](const QImage& im) {
        return static_cast<std::int64_t>(im.width()) * im.height();
      };
      if (!best || area(c.image) > area(best->image) ||
          (area(c.image) == area(best->image) && c.bits > best->bits)) {
        best = std::move(c);
      }
    } catch (const EngineError& e) {
      if (!first_error) first_error = e;
    }
  }
  if (!best) throw *first_error;
  return std::unique_ptr<IconGraphic>(new IconGraphic(file, std::move(best->image)));
}

void IconGraphic::SetSize(int, int) { throw EngineError(kMsgIconResize); }

std::unique_ptr<ForeignGraphic> IconGraphic::Clone() const {
  return std::unique_ptr<IconGraphic>(new IconGraphic(bytes_, image_));
}

void IconGraphic::Paint(QPainter& painter, QPoint topLeft) const {
  painter.drawImage(topLeft, image_);
}

QImage IconGraphic::Render() const {
  QImage out(image_.size(), QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  Paint(p, QPoint(0, 0));
  return out;
}

}  // namespace rv
