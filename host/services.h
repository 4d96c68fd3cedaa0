// The host's own implementation of each numbered service.
#pragma once

#include <type_traits>

#include "frame/host_types.h"
#include "weltor.h"

namespace weltor {

#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) result name parameters;
#define HOST_SERVICE_PRINTF(slot, ordinal, name, result, parameters, arguments) \
  int32_t name##V(int32_t boxId, const char* title, const char* format, int32_t style, \
                  int32_t helpId, va_list arguments_);
#define HOST_FEATURE_CHECK(ordinal, name, result, parameters, arguments) result name parameters;
#include "frame/host_services.def"

// The screen with this id, added (with a handler of its own) if the host
// did not have it yet.
Screen& addScreen(int16_t screenId);

// A table of the host by id, or null.
Table* findTable(int32_t id);

// Counts a call into the log and raises the fault a test asked for.
void logCall(uint16_t ordinal, const intptr_t* args, int count);

// True when a test has made this service stop working (see FrameState).
bool serviceFails(uint16_t ordinal);

// What a service that does nothing answers: 0, null, no elements.
template <class Result>
Result failedResult() {
  if constexpr (std::is_void_v<Result>)
    return;
  else
    return Result{};
}

}  // namespace weltor
