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

// The cell is the host's: whatever it holds now is the previous handler,
// even if the host has rehooked the screen since we were installed.
int16_t handOn(const ScreenHook& hook, int16_t argument, int16_t event) {
  if (hook.previousHandlerCell == nullptr) return 0;
  const ScreenHandler previous = *hook.previousHandlerCell;
  return previous != nullptr ? previous(argument, event) : 0;
}

}  // namespace kamoria
