// A sample data set in the host's data directory: warehouses with Polish
// names, their item files and the bar-code links between them.
#pragma once

#include <cstdint>

#include "weltor.h"

namespace weltor {

struct SampleShape {
  int32_t warehouseCount;     // warehouses 0..count-1 (at most 100)
  int32_t itemsPerWarehouse;  // items 1..n, the same catalogue in every warehouse
  int32_t linkEvery;          // every n-th item gets bar-code links; 0: no links
  int32_t reuseFiles;         // nonzero: keep files that already have the right size
};

// Writes the files into the data directory and defines the warehouses
// (table 48). 0 on success, -1 when a file could not be written.
int32_t writeSampleData(HostState& host, const SampleShape& shape);

// The sample bar code of item `itemNo` (EAN-13, 14 bytes with its terminator).
void sampleBarcode(int32_t itemNo, char* barcode);

}  // namespace weltor

WELTOR_CONTROL int32_t weltorWriteSampleData(const weltor::SampleShape* shape);
using WeltorWriteSampleDataFunction = int32_t (*)(const weltor::SampleShape*);
