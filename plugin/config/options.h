// The options record and its file "Kamoria.dat": nine warehouse rows, each
// with up to three workstations, then the nine rows' warehouse numbers.
// 279 bytes, packed, little-endian: fields are read and written by offset.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kamoria {

inline constexpr int kWarehouseRowCount = 9;
inline constexpr std::size_t kWarehouseRowSize = 29;
inline constexpr std::size_t kWarehouseNameSize = 17;  // 16 characters and the 0 byte
inline constexpr std::size_t kWorkstationsOffset = 17;  // within a row, three 32-bit numbers
inline constexpr std::size_t kWarehouseNumbersOffset = 261;  // nine 16-bit numbers
inline constexpr std::size_t kOptionsRecordSize = 279;

struct OptionsRecord {
  unsigned char bytes[kOptionsRecordSize];
};

// The one record, the form's live data.
extern OptionsRecord options;

// Field access by offset.
char* warehouseName(OptionsRecord& record, int row);
int32_t workstation(const OptionsRecord& record, int row, int column);
void setWorkstation(OptionsRecord& record, int row, int column, int32_t number);
int16_t warehouseNumber(const OptionsRecord& record, int row);
void setWarehouseNumber(OptionsRecord& record, int row, int16_t number);

// All zero, then every warehouse number -1.
void resetOptions();
// From the file, or the defaults.
void loadOptions();
// To the file, whole; a record that did not reach the file is reported.
void saveOptions();

// Constructs the host's FileName for the data file of that name and open
// mode in `storage` (kFileNameStorageSize bytes, kHostObjectAlignment
// aligned). False when the host has no FileName to construct, in which case
// there is nothing to open or destroy.
bool makeDataFileName(void* storage, const char* fileName, const char* mode);

}  // namespace kamoria
