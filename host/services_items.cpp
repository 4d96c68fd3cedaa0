// Screen items, key labels and pushed keys.
#include <cstdio>
#include <cstring>

#include "services.h"

namespace weltor {

namespace {

// The item of the screen an event is being delivered to. An item the host
// has not handed out yet starts at position 0, its record filled with bytes
// that show whether a caller gave them back untouched.
ScreenItem* screenItem(int16_t code) {
  ItemState& items = state().items;
  const int16_t screenId = state().screens.current;
  for (int i = 0; i < items.count && i < ItemState::kCapacity; ++i)
    if (items.list[i].screenId == screenId && items.list[i].code == code) return &items.list[i];
  if (items.count >= ItemState::kCapacity) return nullptr;
  ScreenItem& item = items.list[items.count++];
  item = ScreenItem{};
  item.screenId = screenId;
  item.code = code;
  for (int i = 2; i < kItemPositionRecordSize; ++i)
    item.position[i] = static_cast<unsigned char>(0xA0 ^ i);
  return &item;
}

// The host copies its records with aligned moves.
bool acceptable(const void* record) {
  if (record != nullptr && reinterpret_cast<uintptr_t>(record) % 16 == 0) return true;
  ++state().items.refusedRecords;
  return false;
}

}  // namespace

void resetItems(HostState&) {}

int32_t getItemPos(int16_t itemCode, void* position) {
  if (!acceptable(position)) return 0;
  const ScreenItem* item = screenItem(itemCode);
  if (item == nullptr) return 0;
  std::memcpy(position, item->position, kItemPositionRecordSize);
  return 1;
}

int32_t setItemPos(int16_t itemCode, void* position) {
  if (!acceptable(position)) return 0;
  ScreenItem* item = screenItem(itemCode);
  if (item == nullptr) return 0;
  std::memcpy(item->position, position, kItemPositionRecordSize);
  return 1;
}

int32_t setItemFlags(int16_t itemCode, int32_t mask, int32_t value) {
  ScreenItem* item = screenItem(itemCode);
  if (item == nullptr) return 0;
  item->flags = value != 0 ? item->flags | mask : item->flags & ~mask;
  return 1;
}

int32_t addKeyLabel(int32_t openArgument, const char* label) {
  ItemState& items = state().items;
  const int32_t place = items.labelCount++;
  if (place >= 16) return 0;
  KeyLabel& kept = items.labels[place];
  kept.screenId = state().screens.current;
  kept.openArgument = openArgument;
  std::snprintf(kept.text, sizeof kept.text, "%s", label != nullptr ? label : "");
  return 1;
}

int32_t pushKey(int16_t key) {
  ItemState& items = state().items;
  const int32_t place = items.pushedCount++;
  if (place >= 16) return 0;
  items.pushed[place] = {state().screens.current, key};
  return 1;
}

}  // namespace weltor
