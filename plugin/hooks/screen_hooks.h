// The handlers the plug-in installs on eight host screens.
#pragma once

#include <cstdint>

#include "frame/host_types.h"

namespace kamoria {

struct ScreenHook {
  int16_t screenId;
  ScreenHandler handler;
  // Host-owned cell holding the screen's previous handler; null until the
  // hook is installed. The pointer and the cell's content may each be null.
  ScreenHandler* previousHandlerCell;
};

inline constexpr int kScreenHookCount = 8;
extern ScreenHook screenHooks[kScreenHookCount];  // in installation order

// Where each screen's hook stands in screenHooks.
enum ScreenHookIndex : int {
  kDocumentScreen815,
  kItemList2171,
  kItemList147,
  kItemList780,
  kItemList2201,
  kItemList397,
  kItemList3044,
  kItemList742,
};

// The result by which a handler tells the host it has taken the key.
inline constexpr int16_t kKeyTaken = -2;

// Entry 30008 with 0: hookScreen for each screen, in order.
void installScreenHooks();
// Entry 30001 with no feature function: unhookScreen for each installed one.
void removeScreenHooks();

// Hands an event on to the screen's previous handler; 0 when there is none.
int16_t handOn(const ScreenHook& hook, int16_t argument, int16_t event);

extern "C" {
int16_t documentScreenHandler(int16_t argument, int16_t event);
int16_t itemListHandler2171(int16_t argument, int16_t event);
int16_t itemListHandler147(int16_t argument, int16_t event);
int16_t itemListHandler780(int16_t argument, int16_t event);
int16_t itemListHandler2201(int16_t argument, int16_t event);
int16_t itemListHandler397(int16_t argument, int16_t event);
int16_t itemListHandler3044(int16_t argument, int16_t event);
int16_t itemListHandler742(int16_t argument, int16_t event);
}

}  // namespace kamoria
