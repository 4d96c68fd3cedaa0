#include "stock/stock_scan.h"

namespace kamoria {

// PLACEHOLDER until the scan is built.
int16_t pokazStanInnychMag(unsigned char*) { return 0; }

}  // namespace kamoria
