#include "stock/stock_lookup.h"

namespace kamoria {

// PLACEHOLDER until the lookup is built: no key is taken.
int16_t stockLookupCommand(int16_t, int16_t) { return 0; }

}  // namespace kamoria
