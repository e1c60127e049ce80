// BMP files: decode, and when that works, write and decode again.
#include "documents/bmp_codec.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    auto bmp = rv::DecodeBmp(rv::Bytes(data, size));
    const QByteArray again = rv::EncodeBmp(*bmp);
    rv::DecodeBmp(rv::AsBytes(again.constData(), static_cast<std::size_t>(again.size())));
  } catch (const rv::EngineError&) {
  }
  return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  rv::fuzz::StartQt();
  return 0;
}
