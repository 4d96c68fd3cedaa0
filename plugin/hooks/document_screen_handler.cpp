// Screen 815, the document screen: the workstation warehouse lock holds
// while it is open.
#include "frame/host_types.h"
#include "hooks/key_push.h"
#include "hooks/screen_hooks.h"
#include "lock/warehouse_lock.h"

namespace kamoria {

namespace {

// Keys of the document screen that move the lock.
inline constexpr uint16_t kKeyUnderHostMask = 0x2300;
inline constexpr uint16_t kKeyLockBeforeHost1 = 0x4007;
inline constexpr uint16_t kKeyLockBeforeHost2 = 0x4123;
inline constexpr uint16_t kKeyLockAfterHost = 0x4150;

int16_t onOpen(const ScreenHook& hook, int16_t argument, int16_t event) {
  // The host opens the document with the lock already in place.
  saveWarehouseMask();
  badajKtoryMag();
  resetKeyPushCount();
  return handOn(hook, argument, event);
}

int16_t onKey(const ScreenHook& hook, int16_t argument, int16_t event) {
  switch (static_cast<uint16_t>(argument)) {
    case kKeyUnderHostMask: {
      // The host handles this key with its own mask; what it leaves behind
      // becomes the snapshot the close will restore.
      restoreWarehouseMask();
      const int16_t result = handOn(hook, argument, event);
      resetKeyPushCount();
      saveWarehouseMask();
      return result;
    }
    case kKeyLockBeforeHost1:
    case kKeyLockBeforeHost2:
      badajKtoryMag();
      return handOn(hook, argument, event);
    case kKeyLockAfterHost: {
      const int16_t result = handOn(hook, argument, event);
      badajKtoryMag();
      return result;
    }
    default:
      return handOn(hook, argument, event);
  }
}

int16_t onClose(const ScreenHook& hook, int16_t argument, int16_t event) {
  resetKeyPushCount();
  releaseWarehouseLock();
  return handOn(hook, argument, event);
}

}  // namespace

extern "C" int16_t documentScreenHandler(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kDocumentScreen815];
  switch (event) {
    case kEventOpen: return onOpen(hook, argument, event);
    case kEventKey: return onKey(hook, argument, event);
    case kEventClose: return onClose(hook, argument, event);
    default: return handOn(hook, argument, event);
  }
}

}  // namespace kamoria
