// Views into the plug-in's own state, exported only by the probe build of
// the plug-in that the tests load when they look inside.
#pragma once

#include <cstdint>

#include "frame/binding.h"
#include "frame/entries.h"
#include "frame/identity.h"
#include "hooks/screen_hooks.h"

#if defined(_WIN32)
#define KAMORIA_PROBE extern "C" __declspec(dllexport)
#else
#define KAMORIA_PROBE extern "C" __attribute__((visibility("default")))
#endif

struct FrameProbe {
  kamoria::host::Cells* cells;
  int serviceCount;
  kamoria::MissingOrdinals* missingOrdinals;
  kamoria::platform::ModuleHandle* hostModule;
  FeatureFunction* featureCheck;
  kamoria::platform::ModuleHandle* ownModule;
  const char* ownPath;
  const char** pluginFileName;
  kamoria::ScreenHook* screenHooks;
  kamoria::ConfigCommand* configCommandEntry;
  const char* (*fileNameOf)(const char*);
  const kamoria::host::Cells* lazyCells;
  // Calls messageBox and alertBox the way plug-in code does.
  int32_t (*callMessageBox)(const char*, const char*, int32_t);
  int32_t (*callAlertBox)(const char*, const char*, const char*);
};
using FrameProbeFunction = const FrameProbe* (*)();
