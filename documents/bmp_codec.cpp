#include "documents/bmp_codec.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace rv {

namespace {

const char* const kMsgBmpShort = "ﾋﾞｯﾄﾏｯﾌﾟ ﾌｧｲﾙが途中で切れています";
const char* const kMsgBmpSignature = "ﾋﾞｯﾄﾏｯﾌﾟ ﾌｧｲﾙではありません (先頭が BM ではありません)";
const char* const kMsgBmpRle = "ﾋﾞｯﾄﾏｯﾌﾟの RLE 圧縮ﾃﾞｰﾀが壊れています";
const char* const kMsgBmpMasks = "ﾋﾞｯﾄﾏｯﾌﾟのﾋﾞｯﾄﾌｨｰﾙﾄﾞが正しくありません";
const char* const kMsgBmpEmbedded = "ﾋﾞｯﾄﾏｯﾌﾟに埋め込まれた画像を読めません";

[[noreturn]] void Fail(const std::string& msg) { throw EngineError(msg); }

std::string Num(std::int64_t v) { return std::to_string(v); }

constexpr std::uint32_t kOpaque = 0xFF000000u;

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitfields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitfields = 6,
};

// One colour channel of a bit-field pixel.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;  // mask >> shift

  void Set(std::uint32_t m) {
    mask = m;
    if (m == 0) {
      shift = 0;
      max = 0;
      return;
    }
    shift = std::countr_zero(m);
    max = m >> shift;
    // A channel whose bits are not contiguous has no meaning.
    if ((max & (max + 1)) != 0) Fail(kMsgBmpMasks);
  }
  std::uint32_t To8(std::uint32_t pixel) const {
    if (max == 0) return 0;
    std::uint32_t v = (pixel & mask) >> shift;
    if (max == 255) return v;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(v) * 255 + max / 2) / max);
  }
};

struct DibInfo {
  int width = 0;
  int height = 0;  // rows of colour data
  bool top_down = false;
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::vector<std::uint32_t> palette;  // 0xFFRRGGBB
  Channel r, g, b, a;
  bool alpha_defined = false;  // the pixel format carries alpha (32-bit or an alpha mask)
  std::uint32_t image_size = 0;
};

std::int64_t RowBytes(int width, int bits) {
  return (static_cast<std::int64_t>(width) * bits + 31) / 32 * 4;
}

// Reads the info header, masks and palette; `r` stands at the info header. `palette_end`,
// when non-zero, is where the pixels start and bounds the palette.
DibInfo ReadDibInfo(ByteReader& r, std::size_t palette_end, bool icon) {
  DibInfo d;
  const std::size_t header_pos = r.Pos();
  const std::uint32_t header_size = r.U32();
  const bool core = header_size == 12;
  const bool windows = header_size == 40 || header_size == 52 || header_size == 56 ||
                       header_size == 108 || header_size == 124;
  const bool os2v2 = !windows && header_size >= 16 && header_size <= 64;
  if (!core && !windows && !os2v2) {
    Fail("ﾋﾞｯﾄﾏｯﾌﾟの情報ﾍｯﾀﾞｰの大きさ (" + Num(header_size) + ") が正しくありません");
  }
  std::int64_t w, h;
  int planes;
  if (core) {
    w = r.U16();
    h = r.U16();
    planes = r.U16();
    d.bits = r.U16();
  } else {
    w = r.I32();
    h = r.I32();
    planes = r.U16();
    d.bits = r.U16();
  }
  std::uint32_t colors_used = 0;
  if (!core && header_size >= 20) d.compression = r.U32();
  if (!core && header_size >= 24) d.image_size = r.U32();
  if (!core && header_size >= 36) {
    r.Skip(8);  // resolution
    colors_used = r.U32();
  }
  if (planes != 1) Fail("ﾋﾞｯﾄﾏｯﾌﾟのﾌﾟﾚｰﾝ数 (" + Num(planes) + ") が正しくありません");

  if (icon) {
    // The height counts the colour rows and the mask rows.
    h /= 2;
  }
  d.top_down = h < 0;
  if (d.top_down) h = -h;
  if (w <= 0 || h <= 0) {
    Fail("ﾋﾞｯﾄﾏｯﾌﾟの幅または高さ (" + Num(w) + " × " + Num(d.top_down ? -h : h) +
         ") が正しくありません");
  }
  if (w > TBitmap::kMaxSide || h > TBitmap::kMaxSide || w * h > TBitmap::kMaxPixels) {
    Fail("ﾋﾞｯﾄﾏｯﾌﾟが大きすぎます (" + Num(w) + " × " + Num(h) + ")");
  }
  d.width = static_cast<int>(w);
  d.height = static_cast<int>(h);

  const bool embedded = d.compression == kJpeg || d.compression == kPng;
  switch (d.bits) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32:
      break;
    case 0:
      if (embedded && !core) break;
      [[fallthrough]];
    default:
      Fail("ﾋﾞｯﾄﾏｯﾌﾟの色数 (" + Num(d.bits) + " ﾋﾞｯﾄ) には対応していません");
  }

  const auto unsupported = [&] {
    Fail("ﾋﾞｯﾄﾏｯﾌﾟの圧縮形式 (" + Num(d.compression) + ") には対応していません");
  };
  switch (d.compression) {
    case kRgb:
      break;
    case kRle8:
      if (d.bits != 8 || icon) unsupported();
      break;
    case kRle4:
      if (d.bits != 4 || icon) unsupported();
      break;
    case kBitfields:
    case kAlphaBitfields:
      // OS/2 uses these numbers for Huffman and RLE24.
      if (os2v2 || (d.bits != 16 && d.bits != 32)) unsupported();
      break;
    case kJpeg:
    case kPng:
      if (os2v2 || icon) unsupported();
      break;
    default:
      unsupported();
  }
  if (d.top_down && (d.compression == kRle8 || d.compression == kRle4)) {
    Fail("ﾄｯﾌﾟﾀﾞｳﾝのﾋﾞｯﾄﾏｯﾌﾟは RLE 圧縮できません");
  }

  // Masks: inside the larger headers, else right after a 40-byte header.
  std::size_t after_header = header_pos + header_size;
  r.Seek(header_pos);
  r.Skip(header_size);
  if (d.compression == kBitfields || d.compression == kAlphaBitfields) {
    std::uint32_t rm, gm, bm, am = 0;
    if (header_size >= 52) {
      r.Seek(header_pos + 40);
      rm = r.U32();
      gm = r.U32();
      bm = r.U32();
      if (header_size >= 56) am = r.U32();
      r.Seek(after_header);
    } else {
      rm = r.U32();
      gm = r.U32();
      bm = r.U32();
      if (d.compression == kAlphaBitfields) am = r.U32();
    }
    if (d.bits == 16) {
      rm &= 0xFFFF;
      gm &= 0xFFFF;
      bm &= 0xFFFF;
      am &= 0xFFFF;
    }
    d.r.Set(rm);
    d.g.Set(gm);
    d.b.Set(bm);
    d.a.Set(am);
    d.alpha_defined = am != 0;
  } else if (d.bits == 16) {
    d.r.Set(0x7C00);
    d.g.Set(0x03E0);
    d.b.Set(0x001F);
  } else if (d.bits == 32) {
    d.r.Set(0x00FF0000);
    d.g.Set(0x0000FF00);
    d.b.Set(0x000000FF);
    d.a.Set(0xFF000000);
    d.alpha_defined = true;
  }

  if (d.bits >= 1 && d.bits <= 8) {
    const std::size_t entry = core ? 3 : 4;
    std::size_t count = std::size_t{1} << d.bits;
    if (colors_used != 0 && colors_used < count) count = colors_used;
    const std::size_t start = r.Pos();
    // Some writers store a shorter palette and say so only through the pixel offset.
    if (palette_end > start) count = std::min(count, (palette_end - start) / entry);
    if (!r.Has(count * entry)) {
      Fail("ﾋﾞｯﾄﾏｯﾌﾟのﾊﾟﾚｯﾄが途中で切れています");
    }
    d.palette.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t bb = r.U8(), gg = r.U8(), rr = r.U8();
      if (entry == 4) r.U8();
      d.palette[i] = kOpaque | (std::uint32_t{rr} << 16) | (std::uint32_t{gg} << 8) | bb;
    }
  }
  return d;
}

// Colour of a palette index; indices past the palette are black.
inline std::uint32_t PaletteColor(const DibInfo& d, unsigned index) {
  return index < d.palette.size() ? d.palette[index] : kOpaque;
}

// Row converters between 24-bit BGR and 32-bit 0xFFRRGGBB. The SSSE3 forms shuffle four
// pixels at a time; they run only where the processor has the instructions.
void ExpandRow24Plain(const std::uint8_t* src, std::uint32_t* out, int w) {
  int x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Four-byte loads while a whole word lies inside the row.
    for (; x + 1 < w; ++x) {
      std::uint32_t v;
      std::memcpy(&v, src + 3 * x, 4);
      out[x] = v | kOpaque;
    }
  }
  for (; x < w; ++x) {
    const std::uint8_t* p = src + 3 * x;
    out[x] = kOpaque | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
  }
}

void PackRow24Plain(const std::uint32_t* src, std::uint8_t* dst, int w) {
  int x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Four-byte stores overlap the next pixel, which is written right after.
    for (; x + 1 < w; ++x) std::memcpy(dst + 3 * x, src + x, 4);
  }
  for (; x < w; ++x) {
    const std::uint32_t p = src[x];
    dst[3 * x] = static_cast<std::uint8_t>(p);
    dst[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
    dst[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
  }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("ssse3"))) void ExpandRow24Ssse3(const std::uint8_t* src, std::uint32_t* out, int w) {
  const __m128i shuffle = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(kOpaque));
  int x = 0;
  // Each load reads 16 bytes for 12 used: stop while 16 bytes remain inside the row.
  for (; x + 6 <= w; x += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(_mm_shuffle_epi8(v, shuffle), alpha));
  }
  ExpandRow24Plain(src + 3 * x, out + x, w - x);
}

__attribute__((target("ssse3"))) void PackRow24Ssse3(const std::uint32_t* src, std::uint8_t* dst, int w) {
  const __m128i shuffle = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  // Each store writes 16 bytes for 12 kept; the next store or the tail overwrites the rest.
  for (; x + 6 <= w; x += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * x), _mm_shuffle_epi8(v, shuffle));
  }
  PackRow24Plain(src + x, dst + 3 * x, w - x);
}

bool HasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}

void ExpandRow24(const std::uint8_t* src, std::uint32_t* out, int w) {
  if (HasSsse3()) {
    ExpandRow24Ssse3(src, out, w);
  } else {
    ExpandRow24Plain(src, out, w);
  }
}
void PackRow24(const std::uint32_t* src, std::uint8_t* dst, int w) {
  if (HasSsse3()) {
    PackRow24Ssse3(src, dst, w);
  } else {
    PackRow24Plain(src, dst, w);
  }
}
#else
void ExpandRow24(const std::uint8_t* src, std::uint32_t* out, int w) { ExpandRow24Plain(src, out, w); }
void PackRow24(const std::uint32_t* src, std::uint8_t* dst, int w) { PackRow24Plain(src, dst, w); }
#endif

// Uncompressed rows into `dst` (width x height, top row first).
// Uncompressed rows of one picture; the 16-bit table is made once.
class RowDecoder {
 public:
  explicit RowDecoder(const DibInfo& d)
      : d(d),
        row_bytes(RowBytes(d.width, d.bits)),
        plain32(d.bits == 32 && d.r.mask == 0x00FF0000 && d.g.mask == 0x0000FF00 &&
                d.b.mask == 0x000000FF && (d.a.mask == 0xFF000000 || d.a.mask == 0)) {
    if (d.bits == 16) {
      lut.resize(65536);
      for (std::uint32_t p = 0; p < 65536; ++p) {
        lut[p] = (d.alpha_defined ? d.a.To8(p) << 24 : kOpaque) | (d.r.To8(p) << 16) |
                 (d.g.To8(p) << 8) | d.b.To8(p);
      }
    }
  }
  std::int64_t RowBytesOf() const { return row_bytes; }
  // Bytes the stored rows need; the last row may lack its padding.
  std::int64_t Need(int rows) const {
    return rows <= 0 ? 0 : row_bytes * (rows - 1) + (static_cast<std::int64_t>(d.width) * d.bits + 7) / 8;
  }

  // Stored rows [first, first + count), the first of them at `rows`, into the picture.
  void Decode(const std::uint8_t* rows, int first, int count, std::uint32_t* dst) const {
    const int w = d.width;
    for (int y = first; y < first + count; ++y) {
      const std::uint8_t* src = rows + row_bytes * (y - first);
      const int out_y = d.top_down ? y : d.height - 1 - y;
      std::uint32_t* out = dst + static_cast<std::size_t>(out_y) * w;
      switch (d.bits) {
        case 1:
        case 2:
        case 4: {
          const int per_byte = 8 / d.bits;
          const unsigned mask = (1u << d.bits) - 1;
          for (int x = 0; x < w; ++x) {
            const unsigned byte = src[x / per_byte];
            const int shift = 8 - d.bits * (x % per_byte + 1);
            out[x] = PaletteColor(d, (byte >> shift) & mask);
          }
          break;
        }
        case 8:
          for (int x = 0; x < w; ++x) out[x] = PaletteColor(d, src[x]);
          break;
        case 16:
          for (int x = 0; x < w; ++x) out[x] = lut[LoadU16(src + 2 * x)];
          break;
        case 24:
          ExpandRow24(src, out, w);
          break;
        case 32:
          if (plain32) {
            if constexpr (std::endian::native == std::endian::little) {
              std::memcpy(out, src, static_cast<std::size_t>(w) * 4);
            } else {
              for (int x = 0; x < w; ++x) out[x] = LoadU32(src + 4 * x);
            }
            if (d.a.mask == 0) {
              for (int x = 0; x < w; ++x) out[x] |= kOpaque;
            }
          } else {
            for (int x = 0; x < w; ++x) {
              const std::uint32_t p = LoadU32(src + 4 * x);
              out[x] = (d.alpha_defined ? d.a.To8(p) << 24 : kOpaque) | (d.r.To8(p) << 16) |
                       (d.g.To8(p) << 8) | d.b.To8(p);
            }
          }
          break;
      }
    }
  }

 private:
  const DibInfo& d;
  std::int64_t row_bytes;
  bool plain32;
  std::vector<std::uint32_t> lut;
};

void DecodeRows(const DibInfo& d, Bytes pixels, std::uint32_t* dst) {
  const RowDecoder rows(d);
  if (static_cast<std::int64_t>(pixels.size()) < rows.Need(d.height)) Fail(kMsgBmpShort);
  rows.Decode(pixels.data(), 0, d.height, dst);
}

// RLE8 and RLE4. Pixels the stream skips stay black. A run that leaves the picture or a
// command cut off by the end of the data is an error; every step consumes input, so a
// damaged stream cannot loop.
void DecodeRle(const DibInfo& d, Bytes data, std::uint32_t* dst) {
  const bool four = d.compression == kRle4;
  std::fill(dst, dst + static_cast<std::size_t>(d.width) * d.height, kOpaque);
  std::size_t i = 0;
  const std::size_t n = data.size();
  std::int64_t x = 0, y = 0;  // y counts from the bottom row
  const auto put = [&](unsigned index) {
    if (x >= d.width || y >= d.height) Fail(kMsgBmpRle);
    dst[static_cast<std::size_t>(d.height - 1 - y) * d.width + x] = PaletteColor(d, index);
    ++x;
  };
  while (i < n) {
    if (i + 2 > n) Fail(kMsgBmpRle);
    const unsigned count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned k = 0; k < count; ++k) {
        put(four ? ((k & 1) ? value & 0x0F : value >> 4) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (i + 2 > n) Fail(kMsgBmpRle);
      x += data[i];
      y += data[i + 1];
      i += 2;
      if (y > d.height) Fail(kMsgBmpRle);
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      const std::size_t padded = (bytes + 1) & ~std::size_t{1};
      if (i + bytes > n) Fail(kMsgBmpRle);
      for (unsigned k = 0; k < value; ++k) {
        const unsigned byte = data[i + (four ? k / 2 : k)];
        put(four ? ((k & 1) ? byte & 0x0F : byte >> 4) : byte);
      }
      i = std::min(n, i + padded);
    }
  }
}

// An embedded JPEG or PNG stream.
QImage DecodeEmbedded(const DibInfo& d, Bytes data) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                             static_cast<qsizetype>(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, d.compression == kPng ? "png" : "jpeg");
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > TBitmap::kMaxSide || size.height() > TBitmap::kMaxSide ||
      static_cast<std::int64_t>(size.width()) * size.height() > TBitmap::kMaxPixels) {
    Fail(kMsgBmpEmbedded);
  }
  QImage img = reader.read();
  if (img.isNull()) Fail(kMsgBmpEmbedded);
  return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

namespace {

struct BmpLayout {
  DibInfo d;
  std::size_t start = 0;  // where the pixel data begins
};

// The headers and palette from the start of a file of `file_size` bytes; `head` holds
// at least the part of the file they take.
BmpLayout ReadBmpLayout(Bytes head, std::uint64_t file_size) {
  ByteReader r(head, kMsgBmpShort);
  if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') Fail(kMsgBmpSignature);
  r.Skip(10);
  const std::uint32_t offset = r.U32();
  // A zero or impossible pixel offset is ignored: the pixels then follow the palette.
  const bool offset_ok = offset >= 14 + 12 && offset < file_size;
  BmpLayout l;
  l.d = ReadDibInfo(r, offset_ok ? offset : 0, false);
  l.start = offset_ok ? offset : r.Pos();
  if (l.start >= file_size) Fail(kMsgBmpShort);
  return l;
}

bool Uncompressed(const DibInfo& d) {
  return d.compression == kRgb || d.compression == kBitfields || d.compression == kAlphaBitfields;
}

void MakeOpaque(const DibInfo& d, TBitmap& bmp) {
  if (!d.alpha_defined) return;
  std::uint32_t* p = bmp.Bits();
  const std::size_t count = static_cast<std::size_t>(d.width) * d.height;
  for (std::size_t k = 0; k < count; ++k) p[k] |= kOpaque;
}

}  // namespace

std::unique_ptr<TBitmap> DecodeBmp(Bytes file) {
  const BmpLayout l = ReadBmpLayout(file, file.size());
  const DibInfo& d = l.d;
  Bytes pixels = file.subspan(l.start);

  if (d.compression == kJpeg || d.compression == kPng) {
    if (d.image_size != 0 && d.image_size < pixels.size()) pixels = pixels.first(d.image_size);
    const QImage img = DecodeEmbedded(d, pixels);
    auto bmp = std::make_unique<TBitmap>(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y) {
      std::memcpy(bmp->ScanLine(y), img.constScanLine(y), static_cast<std::size_t>(img.width()) * 4);
    }
    return bmp;
  }

  if (Uncompressed(d)) {
    // Check the data is all there before the picture is allocated.
    const RowDecoder rows(d);
    if (static_cast<std::int64_t>(pixels.size()) < rows.Need(d.height)) Fail(kMsgBmpShort);
    auto bmp = std::make_unique<TBitmap>(d.width, d.height, clBlack);
    rows.Decode(pixels.data(), 0, d.height, bmp->Bits());
    MakeOpaque(d, *bmp);
    return bmp;
  }
  if (static_cast<std::int64_t>(d.width) * d.height >
      std::max<std::int64_t>(std::int64_t{1} << 24, static_cast<std::int64_t>(pixels.size()) * 4096)) {
    // Compressed data this short cannot describe a real picture this large.
    Fail("ﾋﾞｯﾄﾏｯﾌﾟが大きすぎます (" + Num(d.width) + " × " + Num(d.height) + ")");
  }
  auto bmp = std::make_unique<TBitmap>(d.width, d.height, clBlack);
  DecodeRle(d, pixels, bmp->Bits());
  return bmp;
}

std::unique_ptr<TBitmap> DecodeBmpFrom(std::int64_t file_size, const ReadAt& read) {
  if (file_size < 0) Fail(kMsgBmpShort);
  const auto read_all = [&] {
    std::vector<std::uint8_t> all(static_cast<std::size_t>(file_size));
    if (!read(0, file_size, all.data())) Fail(kMsgBmpShort);
    return DecodeBmp(Bytes(all.data(), all.size()));
  };
  // Headers, masks and a full palette take under 2 KB; the pixel offset may point further.
  constexpr std::int64_t kHead = 64 << 10;
  if (file_size <= kHead) return read_all();
  std::vector<std::uint8_t> head(static_cast<std::size_t>(kHead));
  if (!read(0, kHead, head.data())) Fail(kMsgBmpShort);
  BmpLayout l;
  try {
    l = ReadBmpLayout(Bytes(head.data(), head.size()), static_cast<std::uint64_t>(file_size));
  } catch (const EngineError&) {
    return read_all();  // the whole file gives the right message, or the headers run long
  }
  const DibInfo& d = l.d;
  if (!Uncompressed(d)) return read_all();

  // Stored rows a few at a time through one buffer.
  const RowDecoder rows(d);
  if (file_size - static_cast<std::int64_t>(l.start) < rows.Need(d.height)) Fail(kMsgBmpShort);
  auto bmp = std::make_unique<TBitmap>(d.width, d.height, clBlack);
  const std::int64_t row_bytes = rows.RowBytesOf();
  const int per_chunk = static_cast<int>(std::clamp<std::int64_t>((256 << 10) / row_bytes, 1, d.height));
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(row_bytes * per_chunk));
  for (int y = 0; y < d.height; y += per_chunk) {
    const int n = std::min(per_chunk, d.height - y);
    const std::int64_t at = static_cast<std::int64_t>(l.start) + row_bytes * y;
    const std::int64_t len = std::min(row_bytes * n, file_size - at);
    if (len < rows.Need(n) || !read(at, len, chunk.data())) Fail(kMsgBmpShort);
    rows.Decode(chunk.data(), y, n, bmp->Bits());
  }
  MakeOpaque(d, *bmp);
  return bmp;
}

QImage DecodeIconDib(Bytes dib) {
  ByteReader r(dib, "ｱｲｺﾝの画像ﾃﾞｰﾀが途中で切れています");
  DibInfo d = ReadDibInfo(r, 0, true);
  Bytes pixels = dib.subspan(r.Pos());
  const std::int64_t color_bytes = RowBytes(d.width, d.bits) * d.height;
  if (static_cast<std::int64_t>(pixels.size()) < color_bytes) r.Fail();
  QImage img(d.width, d.height, QImage::Format_ARGB32);
  if (img.isNull()) Fail("ｱｲｺﾝの画像が大きすぎます");
  std::vector<std::uint32_t> buf(static_cast<std::size_t>(d.width) * d.height);
  DecodeRows(d, pixels, buf.data());
  bool any_alpha = false;
  if (d.alpha_defined) {
    for (std::uint32_t p : buf) {
      if ((p >> 24) != 0) {
        any_alpha = true;
        break;
      }
    }
  }
  if (!any_alpha) {
    // Transparency from the AND mask; a file without a mask is opaque.
    Bytes mask = pixels.subspan(static_cast<std::size_t>(color_bytes));
    const std::int64_t mask_row = RowBytes(d.width, 1);
    const bool has_mask = static_cast<std::int64_t>(mask.size()) >= mask_row * d.height;
    for (int y = 0; y < d.height; ++y) {
      const int out_y = d.top_down ? y : d.height - 1 - y;
      std::uint32_t* out = buf.data() + static_cast<std::size_t>(out_y) * d.width;
      const std::uint8_t* m = has_mask ? mask.data() + mask_row * y : nullptr;
      for (int x = 0; x < d.width; ++x) {
        const bool transparent = m && ((m[x / 8] >> (7 - x % 8)) & 1);
        out[x] = transparent ? 0 : (out[x] | kOpaque);
      }
    }
  }
  for (int y = 0; y < d.height; ++y) {
    std::memcpy(img.scanLine(y), buf.data() + static_cast<std::size_t>(y) * d.width,
                static_cast<std::size_t>(d.width) * 4);
  }
  return img;
}

QImage DecodeDib(Bytes bmi, Bytes bits, std::int64_t max_pixels) {
  ByteReader r(bmi, "ﾒﾀﾌｧｲﾙ内のﾋﾞｯﾄﾏｯﾌﾟが途中で切れています");
  DibInfo d = ReadDibInfo(r, 0, false);
  if (static_cast<std::int64_t>(d.width) * d.height > max_pixels) {
    Fail("ﾒﾀﾌｧｲﾙ内のﾋﾞｯﾄﾏｯﾌﾟが大きすぎます (" + Num(d.width) + " × " + Num(d.height) + ")");
  }
  if (bits.empty()) bits = bmi.subspan(r.Pos());
  if (d.compression == kJpeg || d.compression == kPng) {
    return DecodeEmbedded(d, bits);
  }
  if (d.compression != kRle8 && d.compression != kRle4) {
    const std::int64_t need = RowBytes(d.width, d.bits) * (d.height - 1) +
                              (static_cast<std::int64_t>(d.width) * d.bits + 7) / 8;
    if (static_cast<std::int64_t>(bits.size()) < need) r.Fail();
  }
  QImage img(d.width, d.height, QImage::Format_RGB32);
  if (img.isNull()) Fail("ﾒﾀﾌｧｲﾙ内のﾋﾞｯﾄﾏｯﾌﾟが大きすぎます");
  static_assert(sizeof(std::uint32_t) == 4);
  std::vector<std::uint32_t> buf(static_cast<std::size_t>(d.width) * d.height);
  if (d.compression == kRle8 || d.compression == kRle4) {
    DecodeRle(d, bits, buf.data());
  } else {
    DecodeRows(d, bits, buf.data());
  }
  for (int y = 0; y < d.height; ++y) {
    auto* out = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
    const std::uint32_t* in = buf.data() + static_cast<std::size_t>(y) * d.width;
    for (int x = 0; x < d.width; ++x) out[x] = in[x] | kOpaque;
  }
  return img;
}

std::int64_t EncodedBmpSize(const TBitmap& bmp) {
  const std::int64_t file_size = 54 + RowBytes(bmp.Width(), 24) * bmp.Height();
  if (file_size > 0x7FFFFFFF) Fail("ﾋﾞｯﾄﾏｯﾌﾟが大きすぎて保存できません");
  return file_size;
}

std::int64_t EncodedBmpRowBytes(const TBitmap& bmp) { return RowBytes(bmp.Width(), 24); }

void EncodeBmpHeader(const TBitmap& bmp, std::uint8_t* o) {
  const std::int64_t file_size = EncodedBmpSize(bmp);
  const auto put16 = [](std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
  };
  const auto put32 = [](std::uint8_t* p, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) p[k] = static_cast<std::uint8_t>(v >> (8 * k));
  };
  o[0] = 'B';
  o[1] = 'M';
  put32(o + 2, static_cast<std::uint32_t>(file_size));
  put32(o + 6, 0);
  put32(o + 10, kBmpHeaderBytes);
  put32(o + 14, 40);
  put32(o + 18, static_cast<std::uint32_t>(bmp.Width()));
  put32(o + 22, static_cast<std::uint32_t>(bmp.Height()));
  put16(o + 26, 1);
  put16(o + 28, 24);
  put32(o + 30, kRgb);
  put32(o + 34, static_cast<std::uint32_t>(file_size - kBmpHeaderBytes));
  put32(o + 38, 3780);  // 96 pixels per inch
  put32(o + 42, 3780);
  put32(o + 46, 0);
  put32(o + 50, 0);
}

void EncodeBmpRow(const TBitmap& bmp, int stored_row, std::uint8_t* dst) {
  const int w = bmp.Width();
  PackRow24(bmp.ScanLine(bmp.Height() - 1 - stored_row), dst, w);
  for (std::int64_t k = 3 * static_cast<std::int64_t>(w); k < RowBytes(w, 24); ++k) dst[k] = 0;
}

void EncodeBmpInto(const TBitmap& bmp, std::uint8_t* o) {
  EncodeBmpHeader(bmp, o);
  const std::int64_t row_bytes = RowBytes(bmp.Width(), 24);
  for (int y = 0; y < bmp.Height(); ++y) EncodeBmpRow(bmp, y, o + kBmpHeaderBytes + row_bytes * y);
}

QByteArray EncodeBmp(const TBitmap& bmp) {
  QByteArray out(static_cast<qsizetype>(EncodedBmpSize(bmp)), Qt::Uninitialized);
  EncodeBmpInto(bmp, reinterpret_cast<std::uint8_t*>(out.data()));
  return out;
}

}  // namespace rv
