// What the host answers to the plug-in's load checks.
#include "services.h"

namespace weltor {

// PLACEHOLDER services until the load checks are built: each call is only logged.
void resetChecks(HostState& host) { host.checks.apiVersion = 112; }
uint32_t buildDateValue(const char*) { return 0; }
int32_t hostCheckPlugin(void*, char*, int32_t) { return 0; }
int32_t hostApiVersion() { return state().checks.apiVersion; }

}  // namespace weltor
