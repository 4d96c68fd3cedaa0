// The options record, the lock's saved values and the operations behind
// them, for tests that call them without a screen.
#pragma once

#include <cstdint>

#include "config/options.h"
#include "lock/warehouse_lock.h"

struct LockProbe {
  kamoria::OptionsRecord* options;
  void (*resetOptions)();
  void (*loadOptions)();
  void (*saveOptions)();
  void (*setWorkstation)(kamoria::OptionsRecord&, int row, int column, int32_t number);
  void (*setWarehouseNumber)(kamoria::OptionsRecord&, int row, int16_t number);
  int32_t (*workstation)(const kamoria::OptionsRecord&, int row, int column);
  int16_t (*warehouseNumber)(const kamoria::OptionsRecord&, int row);

  int32_t (*badajKtoryMag)();
  void (*saveWarehouseMask)();
  void (*restoreWarehouseMask)();
  void (*releaseWarehouseLock)();
  unsigned char* savedWarehouseMask;
  kamoria::SavedHostValue* savedDefaultWarehouse;
  kamoria::SavedHostValue* savedSuspendedSetting;
};
using LockProbeFunction = const LockProbe* (*)();
