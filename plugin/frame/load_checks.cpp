#include "frame/load_checks.h"

namespace kamoria {

// PLACEHOLDER until the load checks are built: every host passes and the
// report shows nothing.
int32_t runLoadChecks() { return 0; }

void showFailureReport() {}

}  // namespace kamoria
