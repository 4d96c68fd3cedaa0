// Host state: the call log, the feature function, screens and their hooks.
#pragma once

#include <cstdint>

#include "frame/host_types.h"

namespace weltor {

struct CallRecord {
  uint16_t ordinal;
  intptr_t args[9];
};

struct CallLog {
  static constexpr int kCapacity = 4096;
  CallRecord calls[kCapacity];
  int32_t count;  // keeps counting past the capacity
};

struct FrameState {
  // What the feature function answers to (1, 1): bit 0 plus missing features.
  int32_t featureAnswer;
  // A host fault on demand: the call with this ordinal throws once the
  // countdown reaches 0 (each such call counts it down).
  uint16_t throwAtOrdinal;
  int32_t throwCountdown;
  // A service that stops working: once the countdown has let that many calls
  // through, every call with this ordinal is logged and answers 0, null or
  // nothing read or written, without doing its work.
  uint16_t failAtOrdinal;
  int32_t failCountdown;
};

// What reached a screen's own handler, with the session as the handler saw
// it: which warehouse was current and which mask was in place.
struct ScreenEventRecord {
  int16_t screenId;
  int16_t argument;
  int16_t event;
  int32_t logPosition;       // number of service calls logged before it
  int16_t currentWarehouse;
  unsigned char warehouseMask[13];
};

struct Screen {
  int16_t id;
  ScreenHandler top;        // the handler the host calls first
  ScreenHandler cells[8];   // previous-handler cells that hookScreen hands out
  int32_t hookDepth;
  bool ownHandler;          // the screen has a handler of its own (else the
                            // first hook's cell holds null)
  int16_t ownResult;        // what the screen's own handler answers
  bool hookGivesNoCell;     // hookScreen answers null for this screen
};

struct ScreenState {
  static constexpr int kCapacity = 16;
  Screen list[kCapacity];
  int32_t count;
  int16_t current;          // the screen an event is being delivered to
  ScreenEventRecord received[1024];  // what reached the screens' own handlers
  int32_t receivedCount;
};

}  // namespace weltor
