#include "probes/probes.h"
#include "probes/stock_probes.h"
#include "stock/stock_lookup.h"
#include "stock/stock_scan.h"

KAMORIA_PROBE const StockProbe* kamoriaProbeStock() {
  static const StockProbe probe = {&kamoria::stockLookupCommand, &kamoria::pokazStanInnychMag};
  return &probe;
}
