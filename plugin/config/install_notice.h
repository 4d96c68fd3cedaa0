// The notice that tells each installation that the plug-in is there.
#pragma once

#include <cstdint>

namespace kamoria {

int32_t installNotice();

}  // namespace kamoria
