#include "config/options.h"

#include <cstring>

namespace kamoria {

OptionsRecord options = {};

char* warehouseName(OptionsRecord& record, int row) {
  return reinterpret_cast<char*>(record.bytes + kWarehouseRowSize * static_cast<std::size_t>(row));
}

namespace {
std::size_t workstationOffset(int row, int column) {
  return kWarehouseRowSize * static_cast<std::size_t>(row) + kWorkstationsOffset + 4 * static_cast<std::size_t>(column);
}
std::size_t warehouseNumberOffset(int row) { return kWarehouseNumbersOffset + 2 * static_cast<std::size_t>(row); }
}  // namespace

int32_t workstation(const OptionsRecord& record, int row, int column) {
  int32_t number = 0;
  std::memcpy(&number, record.bytes + workstationOffset(row, column), sizeof number);
  return number;
}

void setWorkstation(OptionsRecord& record, int row, int column, int32_t number) {
  std::memcpy(record.bytes + workstationOffset(row, column), &number, sizeof number);
}

int16_t warehouseNumber(const OptionsRecord& record, int row) {
  int16_t number = 0;
  std::memcpy(&number, record.bytes + warehouseNumberOffset(row), sizeof number);
  return number;
}

void setWarehouseNumber(OptionsRecord& record, int row, int16_t number) {
  std::memcpy(record.bytes + warehouseNumberOffset(row), &number, sizeof number);
}

void resetOptions() {
  std::memset(options.bytes, 0, sizeof options.bytes);
  for (int row = 0; row < kWarehouseRowCount; ++row) setWarehouseNumber(options, row, -1);
}

// PLACEHOLDER until the options file is built: the defaults, never saved.
void loadOptions() { resetOptions(); }
void saveOptions() {}

}  // namespace kamoria
