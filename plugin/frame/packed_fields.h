// Host records are packed and little-endian: their fields are read and
// written at byte offsets, never through an aligned structure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kamoria {

inline int16_t readInt16(const unsigned char* record, std::size_t at) {
  int16_t value = 0;
  std::memcpy(&value, record + at, sizeof value);
  return value;
}

inline int32_t readInt32(const unsigned char* record, std::size_t at) {
  int32_t value = 0;
  std::memcpy(&value, record + at, sizeof value);
  return value;
}

inline void writeInt16(unsigned char* record, std::size_t at, int16_t value) {
  std::memcpy(record + at, &value, sizeof value);
}

inline void writeInt32(unsigned char* record, std::size_t at, int32_t value) {
  std::memcpy(record + at, &value, sizeof value);
}

}  // namespace kamoria
