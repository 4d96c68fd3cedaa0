// The hot-key command that shows the item's stock in other warehouses.
#pragma once

#include <cstdint>

namespace kamoria {

// 1 when the key was the screen's hot key (whatever came of it), else 0.
int16_t stockLookupCommand(int16_t key, int16_t screenId);

}  // namespace kamoria
