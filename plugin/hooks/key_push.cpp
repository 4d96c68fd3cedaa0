#include "hooks/key_push.h"

#include "frame/host_services.h"

namespace kamoria {

int16_t keyPushCount = 0;

namespace {
inline constexpr int16_t kF7 = 0x4100;
}

void pushF7OnceForRestrictedUser() {
  // Asked on every event: the restriction may change while screens are open.
  const bool restricted = host::userRestricted(9, 29, 0) != 0;
  if (!restricted || keyPushCount != 0) return;
  host::pushKey(kF7);
  keyPushCount = static_cast<int16_t>(keyPushCount + 1);
}

void resetKeyPushCount() { keyPushCount = 0; }

}  // namespace kamoria
