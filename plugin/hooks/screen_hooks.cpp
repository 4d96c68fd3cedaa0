#include "hooks/screen_hooks.h"

#include "frame/host_services.h"

namespace kamoria {

ScreenHook screenHooks[kScreenHookCount] = {
    {815, &documentScreenHandler, nullptr}, {2171, &itemListHandler2171, nullptr},
    {147, &itemListHandler147, nullptr},    {780, &itemListHandler780, nullptr},
    {2201, &itemListHandler2201, nullptr},  {397, &itemListHandler397, nullptr},
    {3044, &itemListHandler3044, nullptr},  {742, &itemListHandler742, nullptr},
};

void installScreenHooks() {
  for (ScreenHook& hook : screenHooks)
    hook.previousHandlerCell = host::hookScreen(hook.screenId, hook.handler);
}

void removeScreenHooks() {
  for (const ScreenHook& hook : screenHooks)
    if (hook.previousHandlerCell != nullptr) host::unhookScreen(hook.screenId);
}

int16_t handOn(const ScreenHook& hook, int16_t argument, int16_t event) {
  if (hook.previousHandlerCell == nullptr) return 0;
  const ScreenHandler previous = *hook.previousHandlerCell;
  return previous != nullptr ? previous(argument, event) : 0;
}

// PLACEHOLDER handlers until the screens' own work is built: each one only
// hands its event on to the screen's previous handler.
extern "C" {
int16_t documentScreenHandler(int16_t argument, int16_t event) { return handOn(screenHooks[0], argument, event); }
int16_t itemListHandler2171(int16_t argument, int16_t event) { return handOn(screenHooks[1], argument, event); }
int16_t itemListHandler147(int16_t argument, int16_t event) { return handOn(screenHooks[2], argument, event); }
int16_t itemListHandler780(int16_t argument, int16_t event) { return handOn(screenHooks[3], argument, event); }
int16_t itemListHandler2201(int16_t argument, int16_t event) { return handOn(screenHooks[4], argument, event); }
int16_t itemListHandler397(int16_t argument, int16_t event) { return handOn(screenHooks[5], argument, event); }
int16_t itemListHandler3044(int16_t argument, int16_t event) { return handOn(screenHooks[6], argument, event); }
int16_t itemListHandler742(int16_t argument, int16_t event) { return handOn(screenHooks[7], argument, event); }
}

}  // namespace kamoria
