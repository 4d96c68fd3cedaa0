// Calls into the host's numbered services.
//
// Each service has a cell that the binding pass fills by number. The
// functions in kamoria::host read the cell at every call, so plug-in code
// calls `host::messageBox(title, text, 1)` like any other function. A cell the
// host could not fill is empty: the call then does nothing and gives 0 or
// null, which keeps a host that lacks a number from crashing.
#pragma once

#include <cstring>

#include "frame/host_types.h"
#include "frame/packed_fields.h"

namespace kamoria::host {

// Function types, one per service.
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) \
  using name##Function = result(*) parameters;
#include "frame/host_services.def"

// The cells, in binding order.
struct Cells {
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) \
  name##Function name;
#include "frame/host_services.def"
};
extern Cells cells;
// What each cell holds before the binding pass reaches it.
extern const Cells lazyCells;

inline constexpr int kServiceCount = 0
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) +1
#include "frame/host_services.def"
    ;

// The plain call for each service.
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) \
  inline result name parameters {                                        \
    const auto bound = cells.name;                                       \
    return bound ? bound arguments : static_cast<result>(0);             \
  }
#define HOST_SERVICE_PRINTF(slot, ordinal, name, result, parameters, arguments)
#include "frame/host_services.def"

// The host's box takes a format and its arguments; the plug-in always hands
// over two texts (the second may go unused by the format).
inline int32_t alertBox(int32_t boxId, const char* title, const char* format,
                        int32_t style, int32_t helpId, const char* first,
                        const char* second = nullptr) {
  const auto bound = cells.alertBox;
  return bound ? bound(boxId, title, format, style, helpId, first, second) : 0;
}

// TableRef fields.
inline int16_t recordSize(const TableRef* table) {
  return readInt16(reinterpret_cast<const unsigned char*>(table), kTableRefRecordSizeOffset);
}
inline unsigned char* recordBuffer(const TableRef* table) {
  unsigned char* buffer = nullptr;
  std::memcpy(&buffer, reinterpret_cast<const unsigned char*>(table) + kTableRefRecordBufferOffset,
              sizeof buffer);
  return buffer;
}

}  // namespace kamoria::host
