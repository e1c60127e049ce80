// EMF record splitting alone.
#include "documents/metafile_reader.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    rv::ParseEmf(rv::Bytes(data, size));
  } catch (const rv::EngineError&) {
  }
  return 0;
}
