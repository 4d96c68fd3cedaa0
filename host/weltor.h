// The substitute host: its whole state, which tests and the demo set up and
// inspect, and the calls that drive it from outside.
#pragma once

#include <cstdint>

#include "frame/host_types.h"
#include "state_checks.h"
#include "state_dialogs.h"
#include "state_files.h"
#include "state_form.h"
#include "state_frame.h"
#include "state_items.h"
#include "state_session.h"
#include "state_stock.h"
#include "state_tables.h"

namespace weltor {

struct HostState {
  char dataDir[512];  // where the host's data files live
  CallLog log;
  FrameState frame;
  DialogState dialogs;
  SessionState session;
  TableState tables;
  ScreenState screens;
  ItemState items;
  FileState files;
  StockState stock;
  CheckState checks;
  FormState form;
};

// Defaults each area applies on a reset (one per services file).
void resetFrame(HostState&);
void resetDialogs(HostState&);
void resetSession(HostState&);
void resetTables(HostState&);
void resetItems(HostState&);
void resetFiles(HostState&);
void resetStock(HostState&);
void resetChecks(HostState&);
void resetForm(HostState&);

HostState& state();

// The fault a test asked for: thrown out of a host service.
struct HostFault {
  uint16_t ordinal;
};

}  // namespace weltor

#if defined(_WIN32)
#define WELTOR_CONTROL extern "C" __declspec(dllexport)
#else
#define WELTOR_CONTROL extern "C" __attribute__((visibility("default")))
#endif

// Named exports for whoever drives the host (tests, the demo program).
WELTOR_CONTROL weltor::HostState* weltorState(void);
// Back to a freshly started host working on the given data directory.
WELTOR_CONTROL void weltorReset(const char* dataDir);
// Delivers one event to a screen, as the host does: to the first handler.
WELTOR_CONTROL int16_t weltorSendEvent(int16_t screenId, int16_t argument, int16_t event);

using WeltorStateFunction = weltor::HostState* (*)(void);
using WeltorResetFunction = void (*)(const char*);
using WeltorSendEventFunction = int16_t (*)(int16_t, int16_t, int16_t);
