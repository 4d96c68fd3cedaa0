// Host state: what the host answers to the plug-in's load checks.
#pragma once

#include <cstdint>

namespace weltor {

struct CheckState {
  int32_t apiVersion;
  // The host's own build date, in the form "Sep  1 2023".
  char buildDate[16];
  // The host refuses the plug-in module, giving this reason when asked.
  bool refusePlugin;
  char refusalReason[256];
};

}  // namespace weltor
