// Every service exported by number, through one wrapper that logs the call.
#include <cstdio>
#include <cstring>
#include <new>
#include <type_traits>

#include "services.h"

namespace weltor {

namespace {

HostState* theState = nullptr;

template <class T>
intptr_t toWord(T value) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<intptr_t>(value);
  else if constexpr (std::is_integral_v<T>)
    return static_cast<intptr_t>(value);
  else
    return 0;
}

template <class... T>
void logArguments(uint16_t ordinal, T... values) {
  const intptr_t words[sizeof...(T) + 1] = {toWord(values)..., 0};
  logCall(ordinal, words, static_cast<int>(sizeof...(T)));
}

}  // namespace

HostState& state() {
  if (theState == nullptr) {
    // Large and zero-initialised; lives as long as the host module.
    static HostState storage;
    theState = &storage;
  }
  return *theState;
}

void logCall(uint16_t ordinal, const intptr_t* args, int count) {
  HostState& host = state();
  if (host.log.count < CallLog::kCapacity) {
    CallRecord& record = host.log.calls[host.log.count];
    record = CallRecord{};
    record.ordinal = ordinal;
    for (int i = 0; i < count && i < 9; ++i) record.args[i] = args[i];
  }
  ++host.log.count;
  if (host.frame.throwAtOrdinal == ordinal && host.frame.throwCountdown-- == 0) {
    host.frame.throwAtOrdinal = 0;
    throw HostFault{ordinal};
  }
}

bool serviceFails(uint16_t ordinal) {
  FrameState& frame = state().frame;
  if (frame.failAtOrdinal == 0 || frame.failAtOrdinal != ordinal) return false;
  if (frame.failCountdown > 0) {
    --frame.failCountdown;
    return false;
  }
  return true;
}

}  // namespace weltor

#if defined(_WIN32)
#define WELTOR_EXPORT extern "C"
#else
#define WELTOR_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) \
  WELTOR_EXPORT result ordinal_##ordinal parameters;                     \
  result ordinal_##ordinal parameters {                                  \
    weltor::logArguments arguments_with(ordinal, arguments);             \
    if (weltor::serviceFails(ordinal)) return weltor::failedResult<result>(); \
    return weltor::name arguments;                                       \
  }
// logArguments(ordinal, a, b, ...) from the list's "(a, b, ...)".
#define arguments_with(ordinal, arguments) (ordinal ARGUMENTS_TAIL arguments)
#define ARGUMENTS_TAIL(...) __VA_OPT__(, ) __VA_ARGS__
#define HOST_SERVICE_PRINTF(slot, ordinal, name, result, parameters, arguments) \
  WELTOR_EXPORT result ordinal_##ordinal parameters;                            \
  result ordinal_##ordinal parameters {                                         \
    weltor::logArguments arguments_with(ordinal, arguments);                    \
    if (weltor::serviceFails(ordinal)) return weltor::failedResult<result>();  \
    va_list rest;                                                               \
    va_start(rest, helpId);                                                     \
    const result shown = weltor::name##V(boxId, title, format, style, helpId, rest); \
    va_end(rest);                                                               \
    return shown;                                                               \
  }
#define HOST_FEATURE_CHECK HOST_SERVICE_FEATURE
#define HOST_SERVICE_FEATURE(ordinal, name, result, parameters, arguments) \
  HOST_SERVICE(-1, ordinal, name, result, parameters, arguments)
#include "frame/host_services.def"

weltor::HostState* weltorState(void) { return &weltor::state(); }

void weltorReset(const char* dataDir) {
  using namespace weltor;
  HostState& host = state();
  std::memset(static_cast<void*>(&host), 0, sizeof host);
  std::snprintf(host.dataDir, sizeof host.dataDir, "%s", dataDir != nullptr ? dataDir : ".");
  resetFrame(host);
  resetDialogs(host);
  resetSession(host);
  resetTables(host);
  resetItems(host);
  resetFiles(host);
  resetStock(host);
  resetChecks(host);
  resetForm(host);
}
