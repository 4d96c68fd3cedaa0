// The scan of all other warehouses for one item.
#pragma once

#include <cstdint>

namespace kamoria {

// The number of lines written to the result file.
int16_t pokazStanInnychMag(unsigned char* itemRecord);

}  // namespace kamoria
