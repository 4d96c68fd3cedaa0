// The configuration command and its form: nine warehouse rows, each with a
// warehouse chosen by F2..F10 and up to three workstation numbers.
#pragma once

#include <cstdint>

namespace kamoria {

// Entry 30010. Always 0.
int32_t configCommand(int32_t);

// Fills the nine name fields from the rows' warehouse numbers; false when
// the warehouse table is not available (the fields then keep their texts).
bool refreshWarehouseNames();

extern "C" {
// Called by the host's form engine: -2 when the form opens, 1 for a key.
int32_t formHandler(int32_t key, int32_t event);
}

}  // namespace kamoria
