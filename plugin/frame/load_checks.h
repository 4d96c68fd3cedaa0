// The checks that decide whether this host is one the plug-in was built
// for, and the report that tells the user why not.
#pragma once

#include <cstdint>

namespace kamoria {

// 0 when every check passes, -1 at the first that fails.
int32_t runLoadChecks();
// Shows the one stop box that explains the refusal.
void showFailureReport();

}  // namespace kamoria
