#include "documents/metafile_reader.h"

#include <string>

namespace rv {

namespace {

const char* const kMsgEmfShort = "ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙが途中で切れています";
const char* const kMsgWmfShort = "ﾒﾀﾌｧｲﾙが途中で切れています";
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

}  // namespace

bool LooksLikeEmf(Bytes data) {
  return data.size() >= 44 && LoadU32(data.data()) == kEmrHeader &&
         LoadU32(data.data() + 40) == kEmfSignature;
}

EmfFile ParseEmf(Bytes data) {
  if (!LooksLikeEmf(data)) {
    throw EngineError("ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙではありません (ﾍｯﾀﾞｰが正しくありません)");
  }
  EmfFile f;
  ByteReader h(data, kMsgEmfShort);
  h.Skip(8);
  for (auto& v : f.bounds) v = h.I32();
  for (auto& v : f.frame) v = h.I32();
  h.Skip(4 + 4);  // signature, version
  h.Skip(4 + 4 + 2 + 2 + 4 + 4 + 4);  // bytes, records, handles, reserved, description, palette
  f.device_px[0] = h.I32();
  f.device_px[1] = h.I32();
  f.device_mm[0] = h.I32();
  f.device_mm[1] = h.I32();

  std::size_t pos = 0;
  while (pos < data.size()) {
    if (data.size() - pos < 8) throw EngineError(kMsgEmfShort);
    const std::uint32_t type = LoadU32(data.data() + pos);
    const std::uint32_t size = LoadU32(data.data() + pos + 4);
    if (size < 8 || size % 4 != 0 || size > data.size() - pos) {
      throw EngineError("ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙのﾚｺｰﾄﾞ (種類 " + std::to_string(type) + ", " +
                        std::to_string(pos) + " ﾊﾞｲﾄ目) の大きさ (" + std::to_string(size) +
                        ") が正しくありません");
    }
    if (pos == 0 && size < 88) throw EngineError(kMsgEmfShort);
    f.records.push_back({type, data.subspan(pos + 8, size - 8)});
    pos += size;
    if (type == kEmrEof) break;
  }
  return f;
}

WmfFile ParseWmf(Bytes data) {
  WmfFile f;
  ByteReader r(data, kMsgWmfShort);
  if (data.size() >= 4 && LoadU32(data.data()) == kPlaceableKey) {
    f.placeable = true;
    r.Skip(4 + 2);  // key, handle
    for (auto& v : f.bbox) v = r.I16();
    f.units_per_inch = r.U16();
    r.Skip(4 + 2);  // reserved, checksum
  }
  const std::size_t header_pos = r.Pos();
  const std::uint16_t type = r.U16();
  const std::uint16_t header_words = r.U16();
  const std::uint16_t version = r.U16();
  if ((type != 1 && type != 2) || header_words != 9 || (version != 0x0100 && version != 0x0300)) {
    throw EngineError("ﾒﾀﾌｧｲﾙではありません (ﾍｯﾀﾞｰが正しくありません)");
  }
  r.Skip(4);  // size in words; the records themselves say where the file ends
  f.objects = r.U16();
  r.Skip(4 + 2);  // largest record, unused
  std::size_t pos = header_pos + 18;
  while (true) {
    if (data.size() - pos < 6) {
      // Some writers leave out the closing record.
      if (data.size() == pos) break;
      throw EngineError(kMsgWmfShort);
    }
    const std::uint32_t words = LoadU32(data.data() + pos);
    const std::uint16_t function = LoadU16(data.data() + pos + 4);
    if (words < 3 || words > (data.size() - pos) / 2) {
      throw EngineError("ﾒﾀﾌｧｲﾙのﾚｺｰﾄﾞ (関数 0x" + [&] {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", function);
        return std::string(buf);
      }() + ", " + std::to_string(pos) + " ﾊﾞｲﾄ目) の大きさ (" + std::to_string(words) +
                        " ﾜｰﾄﾞ) が正しくありません");
    }
    if (function == 0) break;
    f.records.push_back({function, data.subspan(pos + 6, std::size_t{words} * 2 - 6)});
    pos += std::size_t{words} * 2;
  }
  return f;
}

}  // namespace rv
