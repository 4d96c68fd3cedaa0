// The steps every routine takes to reach a host table's current record, and
// the box it shows when the host's data cannot be reached.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/host_services.h"
#include "frame/mazovia.h"

namespace kamoria {

// The host's tables the plug-in reads, and the record sizes it is built for
// (the load checks compare these with the host's).
inline constexpr int32_t kWarehouseTable = 48;         // w3
inline constexpr int32_t kItemTable = 49;              // k9
inline constexpr int32_t kSuspendedSettingTable = 64;  // Tspr_prop
inline constexpr int32_t kLinkTable = 117;
inline constexpr std::size_t kWarehouseRecordSize = 216;
inline constexpr std::size_t kItemRecordSize = 1024;
inline constexpr std::size_t kSuspendedSettingRecordSize = 843;

inline constexpr auto kAttentionTitle = mazovia("Uwaga");
inline constexpr int32_t kErrorBoxMode = 1;
inline constexpr int32_t kRefreshWholeRecord = 255;

// A disk error names the routine it happened in; the title and mode are
// the same for all of them.
inline void showDiskError(const char* text) { host::messageBox(kAttentionTitle, text, kErrorBoxMode); }

// The table with its current record refreshed, ready to read; null when the
// host has no such table (the caller decides whether that is an error).
inline TableRef* refreshedTable(int32_t tableId) {
  TableRef* const table = host::getTable(tableId);
  if (table != nullptr) host::refreshRecord(table, kRefreshWholeRecord);
  return table;
}

}  // namespace kamoria
