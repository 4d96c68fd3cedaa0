// Host state: item files, the bar-code link file and the item lists.
#pragma once

#include <cstdint>

namespace weltor {

struct StockState {
  int32_t reserved;
};

}  // namespace weltor
