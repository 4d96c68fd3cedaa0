#include "config/options.h"

#include <cstring>
#include <exception>

#include "frame/host_services.h"
#include "frame/mazovia.h"
#include "frame/packed_fields.h"
#include "frame/scoped_release.h"
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
      : faultsInFlight_(std::uncaught_exceptions()), constructed_(makeDataFileName(storage_, fileName, mode)) {}
  ~DataFileName() noexcept(false) {
    if (constructed_) releaseFromDestructor(faultsInFlight_, [this] { host::fileNameDestroy(storage_); });
  }
  DataFileName(const DataFileName&) = delete;
  DataFileName& operator=(const DataFileName&) = delete;

  void* open() { return constructed_ ? host::fileNameOpen(storage_) : nullptr; }

 private:
  alignas(kHostObjectAlignment) unsigned char storage_[kFileNameStorageSize];
  int faultsInFlight_;
  bool constructed_;
};

// An open data file's handle, closed on every way out of its scope.
class DataFile {
 public:
  DataFile() : faultsInFlight_(std::uncaught_exceptions()) {}
  ~DataFile() noexcept(false) {
    if (handle_ != nullptr) releaseFromDestructor(faultsInFlight_, [this] { close(); });
  }
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  // The handle outlives the FileName, which is gone before the file is used.
  void open(const char* fileName, const char* mode) {
    DataFileName name(fileName, mode);
    handle_ = name.open();
  }
  void* handle() const { return handle_; }
  void close() {
    void* const handle = handle_;
    handle_ = nullptr;
    if (handle != nullptr) host::fileClose(handle);
  }

 private:
  void* handle_ = nullptr;
  int faultsInFlight_;
};

}  // namespace

bool makeDataFileName(void* storage, const char* fileName, const char* mode) {
  void* const found = host::findDataFile(fileName, mode, 0x40, 0, -1, 0, 0, 0, 0);
  if (host::cells.fileNameConstruct == nullptr) return false;
  // What the constructor gives back means nothing; an object it failed to
  // fill is at least not stack leftovers when the host opens it.
  std::memset(storage, 0, kFileNameStorageSize);
  host::fileNameConstruct(storage, found);
  return true;
}

void loadOptions() {
  resetOptions();
  DataFile file;
  file.open(kOptionsFileName, "rb");
  if (file.handle() == nullptr) return;
  if (host::fileRead(options.bytes, 1, kRecordSize, file.handle()) != kRecordSize) {
    showDiskError(kReadFailed);
    // Nothing of a partial record may count as configuration.
    resetOptions();
  }
  file.close();
}

void saveOptions() {
  // Opening for writing empties the file: without a way to write, the
  // previous record had better stay.
  if (host::cells.fileWrite == nullptr) {
    showDiskError(kWriteFailed);
    return;
  }
  DataFile file;
  file.open(kOptionsFileName, "wb");
  if (file.handle() == nullptr) {
    showDiskError(kWriteFailed);
    return;
  }
  const int32_t written = host::fileWrite(options.bytes, kRecordSize, 1, file.handle());
  file.close();
  // A record cut short must not pass for a saved configuration.
  if (written != 1) showDiskError(kWriteFailed);
}

}  // namespace kamoria
