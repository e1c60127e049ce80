// EMF and WMF played: reading plays every record once; then a small render at another size.
#include "documents/metafile.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    auto g = rv::MetafileGraphic::Decode(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    g->SetSize(64, 48);
    g->Render();
  } catch (const rv::EngineError&) {
  }
  return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  rv::fuzz::StartQt();
  return 0;
}
