// Tables, their current-record buffers and the warehouse definitions.
#include <cstring>

#include "guarded_memory.h"
#include "item_files.h"
#include "services.h"

namespace weltor {

namespace {

struct TableShape {
  int32_t id;
  int16_t recordSize;
};
// The tables the plug-in knows, with the record sizes of this host version.
constexpr TableShape kTables[] = {
    {48, kWarehouseRecordSize}, {49, kItemRecordSize}, {64, 843}, {117, kLinkRecordSize}};
constexpr int kTableCount = sizeof kTables / sizeof kTables[0];

unsigned char* buffers[kTableCount] = {};

}  // namespace

Table* findTable(int32_t id) {
  TableState& tables = state().tables;
  for (int i = 0; i < tables.count; ++i)
    if (tables.list[i].id == id) return &tables.list[i];
  return nullptr;
}

void resetTables(HostState& host) {
  host.tables.count = kTableCount;
  for (int i = 0; i < kTableCount; ++i) {
    if (buffers[i] == nullptr) buffers[i] = allocateGuarded(static_cast<std::size_t>(kTables[i].recordSize));
    Table& table = host.tables.list[i];
    table.id = kTables[i].id;
    table.present = true;
    table.recordSize = kTables[i].recordSize;
    table.bufferSize = kTables[i].recordSize;
    table.buffer = buffers[i];
    std::memset(table.buffer, 0, static_cast<std::size_t>(table.bufferSize));
  }
}

TableRef* getTable(int32_t tableId) {
  Table* table = findTable(tableId);
  if (table == nullptr || !table->present) return nullptr;
  std::memcpy(table->ref + kamoria::kTableRefRecordSizeOffset, &table->recordSize, sizeof table->recordSize);
  std::memcpy(table->ref + kamoria::kTableRefRecordBufferOffset, &table->buffer, sizeof table->buffer);
  return reinterpret_cast<TableRef*>(table->ref);
}

int32_t refreshRecord(TableRef* ref, int32_t) {
  TableState& tables = state().tables;
  for (int i = 0; i < tables.count; ++i)
    if (reinterpret_cast<TableRef*>(tables.list[i].ref) == ref) ++tables.list[i].refreshCount;
  return 1;
}

int32_t loadWarehouseDef(int32_t warehouse) {
  Table* table = findTable(48);
  if (table == nullptr) return 0;
  std::memset(table->buffer, 0, static_cast<std::size_t>(table->bufferSize));
  if (warehouse < 0 || warehouse >= TableState::kWarehouseCount) return 0;
  TableState& tables = state().tables;
  if (!tables.warehouseDefined[warehouse]) return 0;
  std::memcpy(table->buffer, tables.warehouseRecords[warehouse], kWarehouseRecordSize);
  return 1;
}

}  // namespace weltor
