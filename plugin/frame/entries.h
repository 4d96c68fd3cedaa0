// The four entries the host calls by number, and the life cycle behind them.
#pragma once

#include <cstdint>

#include "frame/host_types.h"

#if defined(_WIN32)
#define KAMORIA_ENTRY extern "C"
#else
#define KAMORIA_ENTRY extern "C" __attribute__((visibility("default")))
#endif

KAMORIA_ENTRY int32_t ordinal_30001(FeatureFunction featureFunction, char* descriptionBuffer);
KAMORIA_ENTRY int32_t ordinal_30008(int32_t value);
KAMORIA_ENTRY int32_t ordinal_30009(void);
KAMORIA_ENTRY int32_t ordinal_30010(int32_t value);

namespace kamoria {

using ConfigCommand = int32_t (*)(int32_t);
// Null until entry 30001 first succeeds; never cleared.
extern ConfigCommand configCommandEntry;

inline constexpr int32_t kNotConfigurable = static_cast<int32_t>(0xB669FD2E);

}  // namespace kamoria
