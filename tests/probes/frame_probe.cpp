#include "probes/probes.h"

namespace {
int32_t callMessageBox(const char* title, const char* text, int32_t mode) {
  return kamoria::host::messageBox(title, text, mode);
}
int32_t callAlertBox(const char* format, const char* first, const char* second) {
  return kamoria::host::alertBox(15000, "STOP!!!", format, 0xF001, 0x6E2E, first, second);
}
}  // namespace

KAMORIA_PROBE const FrameProbe* kamoriaProbeFrame() {
  static const FrameProbe probe = {
      &kamoria::host::cells,      kamoria::host::kServiceCount, &kamoria::missingOrdinals,
      &kamoria::hostModule,       &kamoria::featureCheck,       &kamoria::ownModule,
      kamoria::ownPath,           &kamoria::pluginFileName,     kamoria::screenHooks,
      &kamoria::configCommandEntry, &kamoria::fileNameOf, &kamoria::host::lazyCells,
      &callMessageBox, &callAlertBox};
  return &probe;
}
