// Icon files: pick and decode the best entry, then show it on white.
#include "documents/ico_codec.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    auto icon = rv::IconGraphic::Decode(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    icon->Render();
  } catch (const rv::EngineError&) {
  }
  return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  rv::fuzz::StartQt();
  return 0;
}
