// Splits EMF and WMF files into records, checking every size against the buffer. Nothing
// here reads past the data: a record whose size does not fit is an error.
#pragma once

#include <cstdint>
#include <vector>

#include "documents/byte_reader.h"

namespace rv {

struct MetaRecord {
  std::uint32_t type = 0;  // EMF record type, or WMF function number
  Bytes params;            // what follows the record's type and size fields
};

struct EmfFile {
  // Device-unit bounds, the picture frame in 0.01 mm, and the reference device.
  std::int32_t bounds[4] = {};
  std::int32_t frame[4] = {};
  std::int32_t device_px[2] = {};
  std::int32_t device_mm[2] = {};
  std::vector<MetaRecord> records;  // from the header to EOF, both included
};

struct WmfFile {
  bool placeable = false;
  std::int16_t bbox[4] = {};  // left, top, right, bottom in logical units (placeable only)
  std::uint16_t units_per_inch = 0;
  std::uint16_t objects = 0;  // size of the object table
  std::vector<MetaRecord> records;  // without the final EOF record
};

enum class MetafileFormat { Emf, Wmf };

// By content: an EMF header record, or a WMF with or without the placeable header.
bool LooksLikeEmf(Bytes data);

// Throw EngineError with a Japanese message naming what is wrong.
EmfFile ParseEmf(Bytes data);
WmfFile ParseWmf(Bytes data);

}  // namespace rv
