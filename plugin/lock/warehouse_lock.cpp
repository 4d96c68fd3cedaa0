#include "lock/warehouse_lock.h"

#include <cstring>

#include "config/options.h"
#include "frame/host_services.h"
#include "frame/mazovia.h"
#include "frame/packed_fields.h"
#include "frame/table_records.h"

namespace kamoria {

unsigned char savedWarehouseMask[kWarehouseMaskSize] = {};
bool warehouseMaskSaved = false;
SavedHostValue savedDefaultWarehouse = {};
SavedHostValue savedSuspendedSetting = {};

namespace {

inline constexpr std::size_t kSuspendedSettingOffset = 76;
inline constexpr std::size_t kDefaultWarehouseOffset = 63;
inline constexpr int kMaskedWarehouses = 100;
inline constexpr auto kTableMissing =
    mazovia("\x01" "cBłąd nr 1 operacji dyskowej w badajKtoryMag!\nOperacja niekompletna!\x01");

// The setting's bytes in table 64's current record, or null when the record
// is too short to hold them.
unsigned char* suspendedSettingIn(TableRef* table) {
  unsigned char* const record = host::recordBuffer(table);
  if (record == nullptr || host::recordSize(table) < static_cast<int16_t>(kSuspendedSettingOffset + 2))
    return nullptr;
  return record + kSuspendedSettingOffset;
}

// The warehouse of the first row, in row order and then column order, that
// lists this workstation; false when none does.
bool warehouseOfWorkstation(int32_t workstationNo, int16_t& warehouse) {
  for (int row = 0; row < kWarehouseRowCount; ++row)
    for (int column = 0; column < 3; ++column)
      if (workstation(options, row, column) == workstationNo) {
        warehouse = warehouseNumber(options, row);
        return true;
      }
  return false;
}

void takeOverSuspendedSetting(unsigned char* setting) {
  if (savedSuspendedSetting.held || setting == nullptr) return;
  host::recordChange(-1);
  const int16_t value = readInt16(setting, 0);
  if (value == 0) return;
  savedSuspendedSetting = {true, value};
  writeInt16(setting, 0, 0);
  host::recordChange(1);
}

void takeOverDefaultWarehouse(int16_t warehouse) {
  unsigned char* const settings = host::settingsRecord();
  if (settings == nullptr) return;
  if (!savedDefaultWarehouse.held) savedDefaultWarehouse = {true, readInt16(settings, kDefaultWarehouseOffset)};
  writeInt16(settings, kDefaultWarehouseOffset, warehouse);
}

// Only `warehouse` stays open; a warehouse outside 0..99 leaves none open.
void maskAllBut(int16_t warehouse) {
  unsigned char mask[kWarehouseMaskSize] = {};
  for (int j = 0; j < kMaskedWarehouses; ++j)
    if (j != warehouse) mask[j / 8] = static_cast<unsigned char>(mask[j / 8] | (1U << (j % 8)));
  if (unsigned char* const hostMask = host::warehouseMask()) std::memcpy(hostMask, mask, sizeof mask);
}

}  // namespace

int32_t badajKtoryMag() {
  TableRef* const table = refreshedTable(kSuspendedSettingTable);
  if (table == nullptr) {
    showDiskError(kTableMissing);
    return 1;
  }
  unsigned char* const setting = suspendedSettingIn(table);

  if (host::userRestricted(9, 29, 0) == 0) return 0;
  const int32_t workstationNo = host::workstationNo();
  loadOptions();
  int16_t warehouse = -1;
  if (!warehouseOfWorkstation(workstationNo, warehouse)) return 0;

  if (int16_t* const current = host::currentWarehouse()) *current = warehouse;
  takeOverSuspendedSetting(setting);
  takeOverDefaultWarehouse(warehouse);
  maskAllBut(warehouse);
  return 1;
}

void saveWarehouseMask() {
  if (const unsigned char* const mask = host::warehouseMask()) {
    std::memcpy(savedWarehouseMask, mask, sizeof savedWarehouseMask);
    warehouseMaskSaved = true;
  }
}

// A snapshot never taken is no mask of the host's: writing it would open
// every warehouse.
void restoreWarehouseMask() {
  if (!warehouseMaskSaved) return;
  if (unsigned char* const mask = host::warehouseMask())
    std::memcpy(mask, savedWarehouseMask, sizeof savedWarehouseMask);
}

void releaseWarehouseLock() {
  restoreWarehouseMask();
  // Without the settings record now the default warehouse stays held, so
  // that the next release that reaches the record gives it back.
  if (savedDefaultWarehouse.held) {
    if (unsigned char* const settings = host::settingsRecord()) {
      writeInt16(settings, kDefaultWarehouseOffset, savedDefaultWarehouse.value);
      savedDefaultWarehouse = {};
    }
  }

  if (!savedSuspendedSetting.held) return;
  TableRef* const table = refreshedTable(kSuspendedSettingTable);
  // Without the table the setting cannot go back now; it stays held, so the
  // next release that finds the table returns it and no lock takes it over
  // again in between.
  if (table == nullptr) return;
  unsigned char* const setting = suspendedSettingIn(table);
  if (setting == nullptr) return;
  host::recordChange(-1);
  writeInt16(setting, 0, savedSuspendedSetting.value);
  host::recordChange(1);
  savedSuspendedSetting = {};
}

}  // namespace kamoria
