#include "config/config_form.h"

#include <cstring>

#include "config/form_template.h"
#include "config/options.h"
#include "frame/host_services.h"
#include "frame/mazovia.h"
#include "frame/table_records.h"

namespace kamoria {

namespace {

constexpr auto kNoRights = mazovia("Brak uprawnień do konfiguracji wtyczki");
constexpr auto kTableError = mazovia("Błąd operacji dyskowej-Initial!\nOperacja niekompletna!");
constexpr auto kUnnamedWarehouse = mazovia("--------");

// The host's right "configure plug-ins".
constexpr int32_t kConfigureGroup = 36;
constexpr int32_t kConfigureItem = 1;
constexpr int32_t kConfigureMode = 1;

constexpr std::size_t kWarehouseNameOffset = 4;
constexpr std::size_t kShownNameLength = kWarehouseNameSize - 1;

constexpr int32_t kKeyTaken = 0x1002;
constexpr int32_t kTableErrorResult = 1;

// F2..F10 pick rows 0..8; any other key is not the form's.
int rowOfKey(uint16_t key) {
  for (int row = 0; row < kWarehouseRowCount; ++row)
    if (key == rowButtonKey(row)) return row;
  return -1;
}

// Never more than the field's 16 characters and the 0 byte, whatever the
// host's name is.
void showName(int row, const char* text, std::size_t length) {
  char* field = host::formFieldBuffer(nameFieldId(row));
  if (field == nullptr) return;
  if (length > kShownNameLength) length = kShownNameLength;
  std::memcpy(field, text, length);
  field[length] = '\0';
}

// The name stops at its 0 byte, at 16 characters or at the record's end.
std::size_t nameLength(const unsigned char* record, int16_t recordSize) {
  if (record == nullptr || recordSize <= static_cast<int16_t>(kWarehouseNameOffset)) return 0;
  const std::size_t readable = static_cast<std::size_t>(recordSize) - kWarehouseNameOffset;
  std::size_t length = 0;
  while (length < readable && length < kShownNameLength &&
         record[kWarehouseNameOffset + length] != 0)
    ++length;
  return length;
}

}  // namespace

bool refreshWarehouseNames() {
  TableRef* const warehouses = refreshedTable(kWarehouseTable);
  if (warehouses == nullptr) {
    showDiskError(kTableError);
    return false;
  }
  const unsigned char* record = host::recordBuffer(warehouses);
  for (int row = 0; row < kWarehouseRowCount; ++row) {
    const int16_t chosen = warehouseNumber(options, row);
    if (chosen < 0) {
      showName(row, "", 0);
      continue;
    }
    setWarehouseNumber(options, row, static_cast<int16_t>(host::checkWarehouseNo(chosen, 8)));
    host::loadWarehouseDef(warehouseNumber(options, row));
    const std::size_t length = nameLength(record, host::recordSize(warehouses));
    if (length == 0)
      showName(row, kUnnamedWarehouse, kUnnamedWarehouse.length);
    else
      showName(row, reinterpret_cast<const char*>(record + kWarehouseNameOffset), length);
  }
  host::setItemFlags(0, 0x8000, 1);
  return true;
}

int32_t formHandler(int32_t key, int32_t event) {
  const auto formEvent = static_cast<int16_t>(event);
  if (formEvent == kEventOpen) return refreshWarehouseNames() ? 0 : kTableErrorResult;
  if (formEvent != kEventKey) return 0;
  const int row = rowOfKey(static_cast<uint16_t>(key));
  if (row < 0) return 0;
  const int32_t picked = host::pickWarehouse(warehouseNumber(options, row), -1, 0);
  setWarehouseNumber(options, row, static_cast<int16_t>(picked));
  return refreshWarehouseNames() ? kKeyTaken : kTableErrorResult;
}

int32_t configCommand(int32_t) {
  if (host::userRestricted(kConfigureGroup, kConfigureItem, kConfigureMode) != 0) {
    host::showNotice(kNoRights);
    return 0;
  }
  loadOptions();
  const int32_t closedWith =
      host::runForm(formTemplate.bytes, kConfigFormId, options.bytes, &formHandler);
  if ((closedWith & 0xFFFF) == kOkButtonId) saveOptions();
  return 0;
}

}  // namespace kamoria
