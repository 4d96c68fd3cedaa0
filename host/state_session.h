// Host state: the user's session, the settings and the current selections.
#pragma once

#include <cstdint>
#include <cstring>

namespace weltor {

inline constexpr int kSettingsRecordSize = 256;
inline constexpr int kDefaultWarehouseOffset = 63;
inline constexpr int kWarehouseMaskSize = 13;

struct Restriction {
  int32_t group, item, mode;
};

struct SessionState {
  unsigned char settings[kSettingsRecordSize];  // default warehouse at byte 63
  unsigned char warehouseMask[kWarehouseMaskSize];
  int16_t currentWarehouse;
  int32_t currentItemNo;
  int32_t workstationNo;
  Restriction restrictions[8];  // what userRestricted answers nonzero to
  int32_t restrictionCount;
  int32_t recordChangeDepth;    // -1 opens a change, 1 closes it
};

// The default warehouse lives packed in the settings record.
inline int16_t defaultWarehouse(const SessionState& session) {
  int16_t warehouse = 0;
  std::memcpy(&warehouse, session.settings + kDefaultWarehouseOffset, sizeof warehouse);
  return warehouse;
}

inline void setDefaultWarehouse(SessionState& session, int16_t warehouse) {
  std::memcpy(session.settings + kDefaultWarehouseOffset, &warehouse, sizeof warehouse);
}

}  // namespace weltor
