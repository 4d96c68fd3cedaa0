// The notice that tells each installation that the plug-in is there, until
// the user answers that it need not come again.
#pragma once

#include <cstdint>

namespace kamoria {

// Run by the activate entry. Always 0.
int32_t installNotice();

// The host's profile file: operation 8 reads the entry with the format into
// the pointers that follow, 9 writes the values that follow with the format.
// The host's result: 0 when a read found and read the entry.
int32_t profileAccess(const char* file, int32_t operation, const char* section, const char* key,
                      const char* format, ...);

}  // namespace kamoria
