#include "config/install_notice.h"

namespace kamoria {

// PLACEHOLDER until the notice is built: it shows nothing.
int32_t installNotice() { return 0; }

}  // namespace kamoria
