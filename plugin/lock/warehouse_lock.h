// The workstation warehouse lock of the document screen.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kamoria {

inline constexpr std::size_t kWarehouseMaskSize = 13;  // 104 bits, warehouses 0..99

// A host value the lock took over, kept until the release gives it back.
// Whether a value is held is kept apart from the value, so that any value,
// a negative one too, comes back as it was.
struct SavedHostValue {
  bool held;
  int16_t value;
};

// The host's mask when the document screen last opened or took key 0x2300,
// and whether there has been such a moment yet.
extern unsigned char savedWarehouseMask[kWarehouseMaskSize];
extern bool warehouseMaskSaved;
extern SavedHostValue savedDefaultWarehouse;
extern SavedHostValue savedSuspendedSetting;

// For a user who may not change the warehouse: this workstation's warehouse
// becomes the current and default one, every other warehouse is masked out
// and table 64's setting is cleared. 1 when applied (or table 64 is
// missing), 0 when the user is free or the workstation has no row.
int32_t badajKtoryMag();
void saveWarehouseMask();
void restoreWarehouseMask();
// The mask snapshot, the default warehouse and the setting come back.
void releaseWarehouseLock();

}  // namespace kamoria
