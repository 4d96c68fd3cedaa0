#include "config/options.h"

#include <cstring>

#include "frame/host_services.h"
#include "frame/mazovia.h"
#include "frame/packed_fields.h"
#include "frame/table_records.h"

namespace kamoria {

OptionsRecord options = {};

char* warehouseName(OptionsRecord& record, int row) {
  return reinterpret_cast<char*>(record.bytes + kWarehouseRowSize * static_cast<std::size_t>(row));
}

namespace {
std::size_t workstationOffset(int row, int column) {
  return kWarehouseRowSize * static_cast<std::size_t>(row) + kWorkstationsOffset + 4 * static_cast<std::size_t>(column);
}
std::size_t warehouseNumberOffset(int row) { return kWarehouseNumbersOffset + 2 * static_cast<std::size_t>(row); }
}  // namespace

int32_t workstation(const OptionsRecord& record, int row, int column) {
  return readInt32(record.bytes, workstationOffset(row, column));
}

void setWorkstation(OptionsRecord& record, int row, int column, int32_t number) {
  writeInt32(record.bytes, workstationOffset(row, column), number);
}

int16_t warehouseNumber(const OptionsRecord& record, int row) {
  return readInt16(record.bytes, warehouseNumberOffset(row));
}

void setWarehouseNumber(OptionsRecord& record, int row, int16_t number) {
  writeInt16(record.bytes, warehouseNumberOffset(row), number);
}

void resetOptions() {
  std::memset(options.bytes, 0, sizeof options.bytes);
  for (int row = 0; row < kWarehouseRowCount; ++row) setWarehouseNumber(options, row, -1);
}

namespace {

inline constexpr char kOptionsFileName[] = "Kamoria.dat";
inline constexpr auto kReadFailed =
    mazovia("Błąd podczas czytania opcji raportu!\n Niektóre opcje zostaną zresetowane!");
inline constexpr auto kWriteFailed =
    mazovia("Nie można otworzyc pliku z opcjami raportu!\n Niektóre opcje nie zostaną zapisane!");
inline constexpr int32_t kRecordSize = static_cast<int32_t>(kOptionsRecordSize);

// The host's FileName in storage of ours. Its scope ends on every way out,
// a host call that throws included, and the host object goes with it.
class DataFileName {
 public:
  DataFileName(const char* fileName, const char* mode)
      : constructed_(makeDataFileName(storage_, fileName, mode)) {}
  ~DataFileName() {
    if (constructed_) host::fileNameDestroy(storage_);
  }
  DataFileName(const DataFileName&) = delete;
  DataFileName& operator=(const DataFileName&) = delete;

  void* open() { return constructed_ ? host::fileNameOpen(storage_) : nullptr; }

 private:
  alignas(kHostObjectAlignment) unsigned char storage_[kFileNameStorageSize];
  bool constructed_;
};

// The handle outlives the FileName, which is gone before the file is used.
void* openDataFile(const char* fileName, const char* mode) {
  DataFileName name(fileName, mode);
  return name.open();
}

}  // namespace

bool makeDataFileName(void* storage, const char* fileName, const char* mode) {
  void* const found = host::findDataFile(fileName, mode, 0x40, 0, -1, 0, 0, 0, 0);
  if (host::cells.fileNameConstruct == nullptr) return false;
  host::fileNameConstruct(storage, found);
  return true;
}

void loadOptions() {
  resetOptions();
  void* const file = openDataFile(kOptionsFileName, "rb");
  if (file == nullptr) return;
  if (host::fileRead(options.bytes, 1, kRecordSize, file) != kRecordSize) {
    showDiskError(kReadFailed);
    // Nothing of a partial record may count as configuration.
    resetOptions();
  }
  host::fileClose(file);
}

void saveOptions() {
  void* const file = openDataFile(kOptionsFileName, "wb");
  if (file == nullptr) {
    showDiskError(kWriteFailed);
    return;
  }
  const int32_t written = host::fileWrite(options.bytes, kRecordSize, 1, file);
  host::fileClose(file);
  // A record cut short must not pass for a saved configuration.
  if (written != 1) showDiskError(kWriteFailed);
}

}  // namespace kamoria
