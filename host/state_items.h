// Host state: screen items (positions, flags), key labels and pushed keys.
#pragma once

#include <cstdint>

namespace weltor {

struct ItemState {
  int32_t reserved;
};

}  // namespace weltor
