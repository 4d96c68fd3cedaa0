// Host state: screen items (positions, flags), key labels and pushed keys.
#pragma once

#include <cstdint>

namespace weltor {

// The host's own position record of a screen item. Only the first 16-bit
// field (the position value) is meant to be changed by a caller; the rest is
// the host's and must come back as it was handed out.
inline constexpr int kItemPositionRecordSize = 64;

// One item of one screen. Items come into being the first time a screen's
// item is asked for, with the filler of itemRecordFiller.
struct ScreenItem {
  int16_t screenId;
  int16_t code;
  unsigned char position[kItemPositionRecordSize];
  int32_t flags;
};

struct KeyLabel {
  int16_t screenId;
  int32_t openArgument;
  char text[64];
};

struct PushedKey {
  int16_t screenId;
  int16_t key;
};

struct ItemState {
  static constexpr int kCapacity = 64;
  ScreenItem list[kCapacity];
  int32_t count;
  // Position records handed in that were null or not 16-byte aligned: the
  // host refuses them and leaves the item as it was.
  int32_t refusedRecords;
  KeyLabel labels[16];
  int32_t labelCount;   // keeps counting past the capacity
  PushedKey pushed[16];  // the queue of keys pushed for the screens
  int32_t pushedCount;  // keeps counting past the capacity
};

}  // namespace weltor
