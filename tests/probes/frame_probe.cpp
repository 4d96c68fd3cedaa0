#include "probes/probes.h"

KAMORIA_PROBE const FrameProbe* kamoriaProbeFrame() {
  static const FrameProbe probe = {
      &kamoria::host::cells,      kamoria::host::kServiceCount, &kamoria::missingOrdinals,
      &kamoria::hostModule,       &kamoria::featureCheck,       &kamoria::ownModule,
      kamoria::ownPath,           &kamoria::pluginFileName,     kamoria::screenHooks,
      &kamoria::configCommandEntry, &kamoria::fileNameOf};
  return &probe;
}
