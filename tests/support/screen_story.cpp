#include "support/screen_story.h"

#include <cstdio>
#include <cstring>

namespace testing_support {

namespace {

std::string hex(intptr_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(static_cast<uint16_t>(value)));
  return text;
}

std::string hex32(intptr_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(static_cast<uint32_t>(value)));
  return text;
}

// The plug-in's screen calls as a story line; empty for every other call.
std::string describe(const weltor::CallRecord& call) {
  switch (call.ordinal) {
    case 52043: return "getPos " + hex(call.args[0]);
    case 52044: return "setPos " + hex(call.args[0]);
    case 52034:
      return "flags " + hex(call.args[0]) + " " + hex32(call.args[1]) + " " +
             std::to_string(call.args[2]);
    case 52056: return "label " + std::to_string(call.args[0]);
    case 52245: return "push " + hex(call.args[0]);
    case 52057: return "lookup";  // only the stock command asks for the list
    default: return "";
  }
}

std::string describe(const weltor::ScreenEventRecord& record) {
  switch (record.event) {
    case kOpen: return "host open";
    case kKey: return "host key " + hex(record.argument);
    case kClose: return "host close";
    default: return "host event " + std::to_string(record.event);
  }
}

}  // namespace

void ScreenStory::activate() {
  ASSERT_EQ(entry30008(0), 0);
  watchFromHere();
}

void ScreenStory::watchFromHere() {
  clearLog();
  host().screens.receivedCount = 0;
}

weltor::Screen& ScreenStory::screen(int16_t screenId) {
  weltor::ScreenState& screens = host().screens;
  for (int i = 0; i < screens.count; ++i)
    if (screens.list[i].id == screenId) return screens.list[i];
  throw std::runtime_error("the host has no screen " + std::to_string(screenId));
}

std::vector<weltor::ScreenEventRecord> ScreenStory::received() {
  const weltor::ScreenState& screens = host().screens;
  const int count = std::min(screens.receivedCount, 1024);
  return {screens.received, screens.received + count};
}

std::vector<std::string> ScreenStory::timeline() {
  const weltor::CallLog& log = host().log;
  const auto events = received();
  std::vector<std::string> lines;
  std::size_t next = 0;
  const int count = std::min(log.count, weltor::CallLog::kCapacity);
  for (int i = 0; i <= count; ++i) {
    while (next < events.size() && (events[next].logPosition <= i || i == count))
      lines.push_back(describe(events[next++]));
    if (i == count) break;
    const std::string line = describe(log.calls[i]);
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

unsigned char ScreenStory::seedByte(int16_t code, int index) {
  return static_cast<unsigned char>(0x31 + index + (code & 0x0F));
}

weltor::ScreenItem& ScreenStory::seedItem(int16_t screenId, int16_t code, int16_t position,
                                          int32_t flags) {
  weltor::ItemState& items = host().items;
  weltor::ScreenItem& seeded = items.list[items.count++];
  seeded = weltor::ScreenItem{};
  seeded.screenId = screenId;
  seeded.code = code;
  seeded.flags = flags;
  std::memcpy(seeded.position, &position, sizeof position);
  for (int i = 2; i < weltor::kItemPositionRecordSize; ++i) seeded.position[i] = seedByte(code, i);
  return seeded;
}

const weltor::ScreenItem* ScreenStory::item(int16_t screenId, int16_t code) {
  const weltor::ItemState& items = host().items;
  for (int i = 0; i < items.count; ++i)
    if (items.list[i].screenId == screenId && items.list[i].code == code) return &items.list[i];
  return nullptr;
}

int16_t ScreenStory::positionOf(const weltor::ScreenItem& found) {
  int16_t position = 0;
  std::memcpy(&position, found.position, sizeof position);
  return position;
}

std::vector<weltor::PushedKey> ScreenStory::pushedKeys() {
  const weltor::ItemState& items = host().items;
  const int count = std::min(items.pushedCount, 16);
  return {items.pushed, items.pushed + count};
}

void ScreenStory::setRestricted(bool restricted) {
  weltor::SessionState& session = host().session;
  session.restrictionCount = 0;
  if (restricted) session.restrictions[session.restrictionCount++] = {9, 29, 0};
}

}  // namespace testing_support
