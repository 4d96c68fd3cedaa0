// Host state: the tables and their current-record buffers.
#pragma once

#include <cstdint>

#include "item_files.h"

namespace weltor {

inline constexpr int kTableRefSize = 16;

struct Table {
  int32_t id;
  bool present;             // getTable gives null when false
  int16_t recordSize;       // what the TableRef reports
  int32_t bufferSize;       // the buffer ends at an unreadable page
  unsigned char* buffer;    // current record
  alignas(16) unsigned char ref[kTableRefSize];  // the TableRef handed out
  int32_t refreshCount;
};

struct TableState {
  static constexpr int kCapacity = 8;
  Table list[kCapacity];
  int32_t count;
  // The warehouse definitions behind loadWarehouseDef (table 48 records).
  static constexpr int kWarehouseCount = 100;
  bool warehouseDefined[kWarehouseCount];
  unsigned char warehouseRecords[kWarehouseCount][kWarehouseRecordSize];
};

}  // namespace weltor
