// The user's session: settings, warehouse mask, current warehouse and item,
// workstation and rights.
#include <cstring>

#include "services.h"

namespace weltor {

void resetSession(HostState& host) {
  SessionState& session = host.session;
  session.currentWarehouse = 0;
  setDefaultWarehouse(session, 0);
  session.workstationNo = 1;
}

unsigned char* settingsRecord() { return state().session.settings; }
unsigned char* warehouseMask() { return state().session.warehouseMask; }
int16_t* currentWarehouse() { return &state().session.currentWarehouse; }
int32_t* currentItemNo() { return &state().session.currentItemNo; }
int32_t workstationNo() { return state().session.workstationNo; }

int32_t userRestricted(int32_t group, int32_t item, int32_t mode) {
  const SessionState& session = state().session;
  for (int i = 0; i < session.restrictionCount && i < 8; ++i) {
    const Restriction& r = session.restrictions[i];
    if (r.group == group && r.item == item && r.mode == mode) return 1;
  }
  return 0;
}

int32_t recordChange(int32_t phase) {
  state().session.recordChangeDepth += phase < 0 ? 1 : -1;
  return 0;
}

}  // namespace weltor
