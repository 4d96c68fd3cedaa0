// Binding the host's numbered services to the plug-in's cells.
#pragma once

#include <cstdint>

#include "frame/host_services.h"
#include "platform/platform.h"

namespace kamoria {

struct MissingOrdinals {
  int32_t count;     // every failed binding, also past the list's end
  uint16_t list[8];  // the first eight, in binding order
};

extern platform::ModuleHandle hostModule;
extern FeatureFunction featureCheck;
extern MissingOrdinals missingOrdinals;

inline constexpr uint16_t kFeatureCheckOrdinal = 30006;
inline constexpr const char* kHostModuleName = "WELTOR";

// Looks up one number in the host module, fills the cell with the result
// (null included) and records the number when the host lacks it.
void* lookUpHostFunction(uint16_t ordinal);

template <class Function>
Function bindHostFunction(uint16_t ordinal, Function& cell) {
  cell = reinterpret_cast<Function>(lookUpHostFunction(ordinal));
  return cell;
}

// Finds the host module once and takes its feature function.
void findHostModule();

// Binds every cell, slot 0 first. Runs once while the library loads.
void bindAllHostFunctions();

}  // namespace kamoria
