// Host state: what the host answers to the plug-in's load checks.
#pragma once

#include <cstdint>

namespace weltor {

struct CheckState {
  int32_t apiVersion;
};

}  // namespace weltor
