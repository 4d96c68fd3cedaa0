// The configuration command and its form.
#pragma once

#include <cstdint>

namespace kamoria {

int32_t configCommand(int32_t);

}  // namespace kamoria
