// The seven item-list screens: each answers its stock hot key and otherwise
// keeps the screen's own behaviour.
#include <cstring>

#include "frame/host_services.h"
#include "frame/host_types.h"
#include "frame/mazovia.h"
#include "hooks/key_push.h"
#include "hooks/screen_hooks.h"
#include "lock/warehouse_lock.h"
#include "stock/stock_lookup.h"

namespace kamoria {

namespace {

inline constexpr auto kLabelCtrl9 = mazovia("Ctrl-9 Stany innych mag.");
inline constexpr auto kLabelCtrlF6 = mazovia("Ctrl-F6 Stany innych mag.");

// Screen items and item flags; what they stand for is the host's business.
// Items 0x3C00 and 0x8500 carry the codes of the keys F2 and F11.
inline constexpr int16_t kItem5001 = 0x5001;
inline constexpr int16_t kItemF2 = 0x3C00;
inline constexpr int16_t kItemF11 = static_cast<int16_t>(0x8500);
inline constexpr int16_t kItem410D = 0x410D;
inline constexpr int16_t kItem0 = 0;

inline constexpr int32_t kFlag800 = 0x800;
inline constexpr int32_t kFlag2 = 2;
inline constexpr int32_t kFlag8000 = 0x8000;

// The host's position record; only its first field, the position value, is
// ours to change. The host copies it with aligned moves.
struct alignas(kHostObjectAlignment) PositionRecord {
  unsigned char bytes[kPositionRecordSize];
};

void shiftItem(PositionRecord& record, int16_t itemCode, int16_t by) {
  host::getItemPos(itemCode, record.bytes);
  int16_t position = 0;
  std::memcpy(&position, record.bytes, sizeof position);
  position = static_cast<int16_t>(position + by);
  std::memcpy(record.bytes, &position, sizeof position);
  host::setItemPos(itemCode, record.bytes);
}

// True when the stock command took the key: the screen must not see it.
bool lookupTookKey(const ScreenHook& hook, int16_t argument, int16_t event) {
  if (event != kEventKey) return false;
  return stockLookupCommand(argument, hook.screenId) != 0;
}

int16_t lookupThenHandOn(const ScreenHook& hook, int16_t argument, int16_t event) {
  if (lookupTookKey(hook, argument, event)) return kKeyTaken;
  return handOn(hook, argument, event);
}

// Screens 2171 and 147 open with three items moved; item 0x8500's flag is
// cleared both before and after the host's own opening.
int16_t openWithItemsShifted(const ScreenHook& hook, int16_t argument, int16_t event) {
  PositionRecord record{};
  shiftItem(record, kItem5001, -4);
  shiftItem(record, kItemF2, -11);
  shiftItem(record, kItemF11, 2);
  host::setItemFlags(kItemF11, kFlag800, 0);
  const int16_t result = handOn(hook, argument, event);
  host::setItemFlags(kItemF11, kFlag800, 0);
  // Twice on purpose: the host is given two calls, not one.
  host::setItemFlags(kItem0, kFlag8000, 1);
  host::setItemFlags(kItem0, kFlag8000, 1);
  return result;
}

int16_t openWithLabel(const ScreenHook& hook, int16_t argument, int16_t event, const char* label) {
  const int16_t result = handOn(hook, argument, event);
  host::addKeyLabel(static_cast<int32_t>(argument), label);
  return result;
}

}  // namespace

extern "C" {

int16_t itemListHandler2171(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kItemList2171];
  if (event == kEventOpen) return openWithItemsShifted(hook, argument, event);
  pushF7OnceForRestrictedUser();
  return lookupThenHandOn(hook, argument, event);
}

int16_t itemListHandler147(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kItemList147];
  if (event == kEventOpen) return openWithItemsShifted(hook, argument, event);
  return lookupThenHandOn(hook, argument, event);
}

int16_t itemListHandler780(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kItemList780];
  if (event != kEventOpen) return lookupThenHandOn(hook, argument, event);
  badajKtoryMag();
  const int16_t result = handOn(hook, argument, event);
  host::setItemFlags(kItem410D, kFlag800, 0);
  host::setItemFlags(kItemF11, kFlag2, 0);
  return result;
}

int16_t itemListHandler2201(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kItemList2201];
  if (event == kEventOpen) {
    badajKtoryMag();
    const int16_t result = handOn(hook, argument, event);
    host::setItemFlags(kItemF11, kFlag800, 0);
    return result;
  }
  pushF7OnceForRestrictedUser();
  return lookupThenHandOn(hook, argument, event);
}

// Screen 397 has no opening of its own; the flag is cleared, twice, on every
// event.
// Screen 147's previous handler is deliberately not called here: one screen's
// events are not another screen's to handle.
int16_t itemListHandler397(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kItemList397];
  host::setItemFlags(kItemF11, kFlag800, 0);
  host::setItemFlags(kItemF11, kFlag800, 0);
  return lookupThenHandOn(hook, argument, event);
}

int16_t itemListHandler3044(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kItemList3044];
  if (event == kEventOpen) return openWithLabel(hook, argument, event, kLabelCtrl9);
  return lookupThenHandOn(hook, argument, event);
}

int16_t itemListHandler742(int16_t argument, int16_t event) {
  const ScreenHook& hook = screenHooks[kItemList742];
  if (event == kEventOpen) return openWithLabel(hook, argument, event, kLabelCtrlF6);
  return lookupThenHandOn(hook, argument, event);
}

}  // extern "C"

}  // namespace kamoria
