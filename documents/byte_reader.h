// A little-endian reader over a byte buffer that never reads past its end: every read is
// checked, and a short buffer throws EngineError with the caller's message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "drawing/types.h"

namespace rv {

using Bytes = std::span<const std::uint8_t>;

inline Bytes AsBytes(const char* data, std::size_t size) {
  return {reinterpret_cast<const std::uint8_t*>(data), size};
}

class ByteReader {
 public:
  ByteReader(Bytes data, std::string short_message)
      : data_(data), short_message_(std::move(short_message)) {}

  std::size_t Size() const { return data_.size(); }
  std::size_t Pos() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }
  bool Has(std::size_t n) const { return n <= Remaining(); }

  void Seek(std::size_t pos) {
    if (pos > data_.size()) Fail();
    pos_ = pos;
  }
  void Skip(std::size_t n) {
    Need(n);
    pos_ += n;
  }

  std::uint8_t U8() {
    Need(1);
    return data_[pos_++];
  }
  std::uint16_t U16() {
    Need(2);
    std::uint16_t v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() {
    Need(4);
    std::uint32_t v = static_cast<std::uint32_t>(data_[pos_]) |
                      (static_cast<std::uint32_t>(data_[pos_ + 1]) << 8) |
                      (static_cast<std::uint32_t>(data_[pos_ + 2]) << 16) |
                      (static_cast<std::uint32_t>(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  float F32() {
    std::uint32_t u = U32();
    float f;
    std::memcpy(&f, &u, 4);
    return f;
  }

  // The next n bytes, consumed.
  Bytes Take(std::size_t n) {
    Need(n);
    Bytes s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }

  [[noreturn]] void Fail() const { throw EngineError(short_message_); }

 private:
  void Need(std::size_t n) const {
    if (n > Remaining()) Fail();
  }

  Bytes data_;
  std::size_t pos_ = 0;
  std::string short_message_;
};

// Little-endian reads at an offset already known to be in range.
inline std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace rv
