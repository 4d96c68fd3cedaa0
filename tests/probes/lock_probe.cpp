#include "probes/lock_probes.h"
#include "probes/probes.h"

KAMORIA_PROBE const LockProbe* kamoriaProbeLock() {
  static const LockProbe probe = {
      &kamoria::options,           &kamoria::resetOptions,          &kamoria::loadOptions,
      &kamoria::saveOptions,       &kamoria::setWorkstation,        &kamoria::setWarehouseNumber,
      &kamoria::workstation,       &kamoria::warehouseNumber,       &kamoria::badajKtoryMag,
      &kamoria::saveWarehouseMask, &kamoria::restoreWarehouseMask,  &kamoria::releaseWarehouseLock,
      kamoria::savedWarehouseMask, &kamoria::savedDefaultWarehouse, &kamoria::savedSuspendedSetting};
  return &probe;
}
