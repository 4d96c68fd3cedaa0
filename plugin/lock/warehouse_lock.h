// The workstation warehouse lock of the document screen.
#pragma once

#include <cstdint>

namespace kamoria {

int32_t badajKtoryMag();
void saveWarehouseMask();
void restoreWarehouseMask();
void releaseWarehouseLock();

}  // namespace kamoria
