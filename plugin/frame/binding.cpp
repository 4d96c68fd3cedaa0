#include "frame/binding.h"

#include <cstdio>

namespace kamoria {

platform::ModuleHandle hostModule = nullptr;
FeatureFunction featureCheck = nullptr;
MissingOrdinals missingOrdinals = {};

void* lookUpHostFunction(uint16_t ordinal) {
  void* const found = platform::GetProcAddress(hostModule, ordinal);
  if (found != nullptr) return found;

  const int32_t place = missingOrdinals.count++;
  if (place < 8) missingOrdinals.list[place] = ordinal;

  char line[1024];
  std::snprintf(line, sizeof line, "Brak funkcji o numerze %d\n", static_cast<int>(ordinal));
  if (platform::IsDebuggerPresent()) platform::OutputDebugStringA(line);
  return nullptr;
}

void findHostModule() {
  if (hostModule != nullptr) return;
  hostModule = platform::GetModuleHandleA(kHostModuleName);
  if (hostModule != nullptr) {
    featureCheck = reinterpret_cast<FeatureFunction>(
        platform::GetProcAddress(hostModule, kFeatureCheckOrdinal));
  }
}

namespace {

// Until the binding pass reaches it, a cell holds its lazy entry: the first
// call binds the cell and goes on into whatever the host gave, with the
// caller's arguments as they came.
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments)      \
  result lazy_##name parameters {                                             \
    const auto bound = bindHostFunction(ordinal, host::cells.name);           \
    return bound ? bound arguments : static_cast<result>(0);                  \
  }
// The variadic service is always called with exactly two trailing texts.
#define HOST_SERVICE_PRINTF(slot, ordinal, name, result, parameters, arguments) \
  result lazy_##name parameters {                                               \
    std::va_list rest;                                                          \
    va_start(rest, helpId);                                                     \
    const char* const first = va_arg(rest, const char*);                        \
    const char* const second = va_arg(rest, const char*);                       \
    va_end(rest);                                                               \
    const auto bound = bindHostFunction(ordinal, host::cells.name);             \
    return bound ? bound(boxId, title, format, style, helpId, first, second)    \
                 : static_cast<result>(0);                                      \
  }
#include "frame/host_services.def"

}  // namespace

}  // namespace kamoria

namespace kamoria::host {

constexpr Cells lazyCells = {
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) &lazy_##name,
#include "frame/host_services.def"
};

constinit Cells cells = lazyCells;

}  // namespace kamoria::host

namespace kamoria {

void bindAllHostFunctions() {
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) \
  bindHostFunction(ordinal, host::cells.name);
#include "frame/host_services.def"
}

}  // namespace kamoria
