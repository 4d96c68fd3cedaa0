// Screen items, key labels and pushed keys.
#include "services.h"

namespace weltor {

// PLACEHOLDER services until screen items are built: each call is only logged.
void resetItems(HostState&) {}
int32_t getItemPos(int16_t, void*) { return 0; }
int32_t setItemPos(int16_t, void*) { return 0; }
int32_t setItemFlags(int16_t, int32_t, int32_t) { return 0; }
int32_t addKeyLabel(int32_t, const char*) { return 0; }
int32_t pushKey(int16_t) { return 0; }

}  // namespace weltor
