#include "config/options.h"

namespace kamoria {

// PLACEHOLDER until the options file is built.
void resetOptions() {}
void loadOptions() {}
void saveOptions() {}

}  // namespace kamoria
