// The stock lookup and scan, callable without the screen hooks.
#pragma once

#include <cstdint>

struct StockProbe {
  int16_t (*lookup)(int16_t key, int16_t screenId);
  int16_t (*scan)(unsigned char* itemRecord);
};
using StockProbeFunction = const StockProbe* (*)();
