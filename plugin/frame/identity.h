// What the plug-in knows about itself.
#pragma once

#include <cstddef>

#include "frame/mazovia.h"
#include "platform/platform.h"

namespace kamoria {

inline constexpr auto pluginDescription =
    mazovia("Ustaw magazyn,zakaz zmiany.\nStany na innych magazynach.");
inline constexpr std::size_t kPluginDescriptionSize = 56;  // with the 0 byte
static_assert(pluginDescription.length + 1 == kPluginDescriptionSize);

inline constexpr std::size_t kOwnPathSize = 300;

extern platform::ModuleHandle ownModule;
extern char ownPath[kOwnPathSize];
extern const char* pluginFileName;  // points into ownPath

// The text after the last '\' or '/'; the whole path when there is neither.
const char* fileNameOf(const char* path);

}  // namespace kamoria
