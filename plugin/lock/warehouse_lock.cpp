#include "lock/warehouse_lock.h"

namespace kamoria {

// PLACEHOLDER until the lock is built: nothing is locked or restored.
int32_t badajKtoryMag() { return 0; }
void saveWarehouseMask() {}
void restoreWarehouseMask() {}
void releaseWarehouseLock() {}

}  // namespace kamoria
