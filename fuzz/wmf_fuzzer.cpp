// WMF record splitting alone.
#include "documents/metafile_reader.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    rv::ParseWmf(rv::Bytes(data, size));
  } catch (const rv::EngineError&) {
  }
  return 0;
}
