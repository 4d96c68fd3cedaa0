// The scan of all other warehouses for one item.
#pragma once

#include <cstdint>

#include "frame/mazovia.h"

namespace kamoria {

// The file the scan appends to and the lookup shows; a bare name, so it lives
// in the current directory.
inline constexpr const char* kStockResultFile = "Kamoria_info_mag.csv";

// The disk error of the scan; the lookup raises the same one.
inline constexpr auto kStockDiskError =
    mazovia("Błąd operacji dyskowej-pokazStanInnychMag!\nOperacja niekompletna!");

// The number of lines written to the result file.
int16_t pokazStanInnychMag(unsigned char* itemRecord);

}  // namespace kamoria
