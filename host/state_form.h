// Host state: forms, pickers, dialogs and the profile file.
#pragma once

#include <cstdint>

namespace weltor {

struct FormState {
  int32_t reserved;
};

}  // namespace weltor
