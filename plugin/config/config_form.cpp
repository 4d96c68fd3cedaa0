#include "config/config_form.h"

namespace kamoria {

// PLACEHOLDER until the form is built.
int32_t configCommand(int32_t) { return 0; }

}  // namespace kamoria
