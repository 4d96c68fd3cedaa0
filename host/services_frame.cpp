// The feature function, screens and their hooks.
#include <cstring>
#include <initializer_list>

#include "services.h"

namespace weltor {

namespace {

Screen* findScreen(int16_t screenId) {
  ScreenState& screens = state().screens;
  for (int i = 0; i < screens.count; ++i)
    if (screens.list[i].id == screenId) return &screens.list[i];
  return nullptr;
}

// The host's own handler of every screen: it notes what reached it.
int16_t screenOwnHandler(int16_t argument, int16_t event) {
  HostState& host = state();
  ScreenState& screens = host.screens;
  if (screens.receivedCount < 1024) {
    ScreenEventRecord& record = screens.received[screens.receivedCount];
    record = {screens.current, argument, event, host.log.count, host.session.currentWarehouse, {}};
    std::memcpy(record.warehouseMask, host.session.warehouseMask, sizeof record.warehouseMask);
  }
  ++screens.receivedCount;
  const Screen* screen = findScreen(screens.current);
  return screen != nullptr ? screen->ownResult : 0;
}

// The handler the host calls first: a screen without a handler of its own
// has none until something is hooked on it.
ScreenHandler firstHandler(const Screen& screen) {
  if (screen.top == &screenOwnHandler && !screen.ownHandler) return nullptr;
  return screen.top;
}

}  // namespace

Screen& addScreen(int16_t screenId) {
  if (Screen* known = findScreen(screenId)) return *known;
  ScreenState& screens = state().screens;
  Screen& screen = screens.list[screens.count < ScreenState::kCapacity ? screens.count++
                                                                         : ScreenState::kCapacity - 1];
  screen = Screen{};
  screen.id = screenId;
  screen.ownHandler = true;
  screen.top = &screenOwnHandler;
  return screen;
}

void resetFrame(HostState& host) {
  host.frame.featureAnswer = 1;
  // The screens the host has, each with its own handler.
  for (const int id : {815, 2171, 147, 780, 2201, 397, 3044, 742}) addScreen(static_cast<int16_t>(id));
}

int32_t featureCheck(int32_t what, int32_t value) {
  if (what == 1 && value == 1) return state().frame.featureAnswer;
  return 0;
}

ScreenHandler* hookScreen(int16_t screenId, ScreenHandler handler) {
  Screen& screen = addScreen(screenId);
  if (screen.hookGivesNoCell) {
    screen.top = handler;
    return nullptr;
  }
  if (screen.hookDepth >= 8) return nullptr;
  ScreenHandler* cell = &screen.cells[screen.hookDepth++];
  *cell = firstHandler(screen);
  screen.top = handler;
  return cell;
}

int32_t unhookScreen(int16_t screenId) {
  Screen* screen = findScreen(screenId);
  if (screen == nullptr || screen->hookDepth == 0) return 0;
  screen->top = screen->cells[--screen->hookDepth];
  return 1;
}

int32_t reserved40008() { return 0; }
int32_t reserved41611() { return 0; }
int32_t reserved41613() { return 0; }
int32_t reserved30005() { return 0; }
int32_t reserved38417() { return 0; }

}  // namespace weltor

int16_t weltorSendEvent(int16_t screenId, int16_t argument, int16_t event) {
  using namespace weltor;
  Screen& screen = addScreen(screenId);
  state().screens.current = screenId;
  const ScreenHandler first = firstHandler(screen);
  return first != nullptr ? first(argument, event) : 0;
}
