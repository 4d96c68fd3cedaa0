// Stories on the hooked screens: the plug-in activated in a fresh host, and
// what the user's events did, as seen from the host.
#pragma once

#include <string>
#include <vector>

#include "support/host_test.h"

namespace testing_support {

class ScreenStory : public HostTest {
 protected:
  // Entry 30008 with 0, then an empty log: the story starts at the screens.
  void activate();

  // Forgets the calls and events so far: the timeline starts again here.
  void watchFromHere();

  weltor::Screen& screen(int16_t screenId);
  // What reached the screens' own handlers, in order.
  std::vector<weltor::ScreenEventRecord> received();

  // The plug-in's item, label and key calls interleaved with the events that
  // reached the host's own handlers, e.g. "flags 8500 800 0", "host open";
  // "lookup" marks the stock command at work.
  std::vector<std::string> timeline();

  // An item of a screen as the host has it before the screen opens: its
  // position value and, in the rest of the record, bytes of the test's own.
  weltor::ScreenItem& seedItem(int16_t screenId, int16_t code, int16_t position, int32_t flags = 0);
  const weltor::ScreenItem* item(int16_t screenId, int16_t code);
  static int16_t positionOf(const weltor::ScreenItem& item);
  static unsigned char seedByte(int16_t code, int index);

  std::vector<weltor::PushedKey> pushedKeys();

  // The user may (not) change the warehouse: userRestricted (9, 29, 0).
  void setRestricted(bool restricted);
};

inline constexpr int16_t kOpen = -2;
inline constexpr int16_t kKey = 1;
inline constexpr int16_t kClose = 2;
inline constexpr int16_t kF7 = 0x4100;

}  // namespace testing_support
