#include "stock/stock_scan.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <exception>

#include "frame/host_services.h"
#include "frame/packed_fields.h"
#include "frame/scoped_release.h"
#include "frame/table_records.h"

namespace kamoria {

namespace {

// Item record (table 49), host layout.
constexpr std::size_t kItemBarcodeAt = 123;
constexpr std::size_t kItemUnitAt = 157;
constexpr std::size_t kItemQuantityAt = 175;
constexpr std::size_t kItemNumberAt = 1022;
// Warehouse record (table 48), host layout.
constexpr std::size_t kWarehouseNameAt = 4;
// Bar-code link record (table 117), host layout.
constexpr std::size_t kLinkRecordSize = 144;
constexpr std::size_t kLinkBarcodeAt = 0;
constexpr std::size_t kLinkWarehouseAt = 140;
constexpr std::size_t kLinkItemNumberAt = 142;

constexpr int32_t kItemFileCode = 4;
constexpr int32_t kLinkFileCode = 154;
constexpr int32_t kProgressBox = 0x200;
constexpr int32_t kItemFileKind = 103;
constexpr int16_t kWarehouseCount = 100;
constexpr int32_t kUnitLength = 5;

inline constexpr auto kNoBarcode =
    mazovia("Brak kodu kreskowego. Nie mogę pokazać stanów innych magazynów.");
inline constexpr auto kScanning = mazovia("Przeglądam magazyny!");

// One warehouse's total for the item. The total is wider than the host's
// quantities so that many links cannot overflow it.
struct StockSlot {
  int64_t quantity;  // thousandths of the unit
  int16_t itemNo;    // the record the first pass took; 0 when none
  char unit[kUnitLength + 1];
};

// A host text as a terminated text of our own; a text the host left
// unterminated ends where its record ends.
void copyRecordText(char* target, const unsigned char* source, std::size_t bytesLeftInRecord) {
  const void* end = std::memchr(source, 0, bytesLeftInRecord);
  const std::size_t length =
      end != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(end) - source)
                     : bytesLeftInRecord;
  std::memcpy(target, source, length);
  target[length] = '\0';
}

void takeUnit(StockSlot& slot, const unsigned char* itemRecord) {
  host::copyText(slot.unit, reinterpret_cast<const char*>(itemRecord + kItemUnitAt), kUnitLength);
  slot.unit[kUnitLength] = '\0';  // the line is formatted from it, whatever the host wrote
}

int16_t diskError() {
  showDiskError(kStockDiskError);
  return 0;
}

// The host's table-file object in storage the scan provides. The host gets it
// back exactly once, whichever way the scan leaves.
class ScopedTableFile {
 public:
  ScopedTableFile() : faultsInFlight_(std::uncaught_exceptions()) { writeInt32(storage_, kStateWordAt, 0); }
  ScopedTableFile(const ScopedTableFile&) = delete;
  ScopedTableFile& operator=(const ScopedTableFile&) = delete;

  ~ScopedTableFile() noexcept(false) {
    releaseFromDestructor(faultsInFlight_, [this] { host::tableObjectRelease(storage_); });
  }

  void* object() { return storage_; }

 private:
  static constexpr std::size_t kStateWordAt = 188;
  alignas(kHostObjectAlignment) unsigned char storage_[kTableFileStorageSize];
  int faultsInFlight_;
};

// The host state the scan works in: table 49's record, the current warehouse
// and the current item number. The host gets all three back as they were,
// also when a host fault ends the scan.
class BorrowedHostState {
 public:
  BorrowedHostState(unsigned char* itemRecord, int16_t* warehouseCell, int32_t* itemNoCell)
      : itemRecord_(itemRecord),
        warehouseCell_(warehouseCell),
        itemNoCell_(itemNoCell),
        savedWarehouse_(*warehouseCell),
        savedItemNo_(*itemNoCell) {
    std::memcpy(savedRecord_, itemRecord, kItemRecordSize);
  }
  BorrowedHostState(const BorrowedHostState&) = delete;
  BorrowedHostState& operator=(const BorrowedHostState&) = delete;

  // Only a host fault leaves the scan without giveBack; the fault is already
  // on its way to the caller, so a second one from the resync is dropped.
  ~BorrowedHostState() {
    if (!borrowed_) return;
    putBack();
    try {
      host::resyncHost();
    } catch (...) {
    }
  }

  void giveBack() {
    borrowed_ = false;
    putBack();
    host::resyncHost();
  }

  const unsigned char* savedRecord() const { return savedRecord_; }
  int16_t savedWarehouse() const { return savedWarehouse_; }

 private:
  void putBack() {
    std::memcpy(itemRecord_, savedRecord_, kItemRecordSize);
    *itemNoCell_ = savedItemNo_;
    *warehouseCell_ = savedWarehouse_;
  }

  unsigned char* itemRecord_;
  int16_t* warehouseCell_;
  int32_t* itemNoCell_;
  int16_t savedWarehouse_;
  // The whole cell: an item number above 16 bits comes back unchanged.
  int32_t savedItemNo_;
  bool borrowed_ = true;
  unsigned char savedRecord_[kItemRecordSize];
};

}  // namespace

int16_t pokazStanInnychMag(unsigned char* itemRecord) {
  ScopedTableFile tableFile;

  int32_t* const itemNoCell = host::currentItemNo();
  int16_t* const warehouseCell = host::currentWarehouse();
  if (itemNoCell == nullptr || warehouseCell == nullptr) return diskError();

  if (itemRecord[kItemBarcodeAt] == 0) {
    host::showNotice(kNoBarcode);
    return 0;
  }

  TableRef* const items = host::getTable(kItemTable);
  if (items == nullptr) return diskError();
  TableRef* const warehouses = host::getTable(kWarehouseTable);
  if (warehouses == nullptr) return diskError();
  TableRef* links = host::getTable(kLinkTable);
  if (links == nullptr) return diskError();

  host::refreshRecord(items, kRefreshWholeRecord);
  host::refreshRecord(warehouses, kRefreshWholeRecord);
  host::refreshRecord(links, kRefreshWholeRecord);
  unsigned char* const itemBuffer = host::recordBuffer(items);
  const unsigned char* const warehouseBuffer = host::recordBuffer(warehouses);
  const unsigned char* const linkBuffer = host::recordBuffer(links);

  BorrowedHostState borrowed(itemRecord, warehouseCell, itemNoCell);
  StockSlot slots[kWarehouseCount] = {};
  host::messageBox(kAttentionTitle, kScanning, kProgressBox);

  // Bar codes are compared no further than their records reach: a host text
  // without its terminator must not lead the comparison past the record.
  const char* const barcode = reinterpret_cast<const char*>(borrowed.savedRecord() + kItemBarcodeAt);
  constexpr int32_t kItemBarcodeLimit = static_cast<int32_t>(kItemRecordSize - kItemBarcodeAt);
  constexpr int32_t kLinkBarcodeLimit = static_cast<int32_t>(kLinkRecordSize - kLinkBarcodeAt);
  const int16_t current = borrowed.savedWarehouse();
  char path[264] = {};

  for (int16_t warehouse = 0; warehouse < kWarehouseCount; ++warehouse) {
    if (warehouse == current) continue;
    // A path service that fails leaves the buffer as it was: the previous
    // file must not be read again in this one's place.
    path[0] = '\0';
    host::warehouseFilePath(warehouse, path, "MMM", ".MGR", kItemFileKind);
    if (host::tableOpen(tableFile.object(), 0, kItemFileCode, path, 0, 0) != 0) {
      while (host::tableReadNext(tableFile.object()) == 1) {
        const auto* recordBarcode = reinterpret_cast<const char*>(itemBuffer + kItemBarcodeAt);
        if (host::textCompare(barcode, recordBarcode, kItemBarcodeLimit) != 0) continue;
        StockSlot& slot = slots[warehouse];
        slot.quantity = readInt32(itemBuffer, kItemQuantityAt);
        slot.itemNo = readInt16(itemBuffer, kItemNumberAt);
        takeUnit(slot, itemBuffer);
      }
    }
    host::tableClose(tableFile.object());
  }

  path[0] = '\0';
  host::tableFilePath(kLinkFileCode, &links, path, 0);
  if (host::tableOpen(tableFile.object(), 0, kLinkFileCode, path, 0, 0) != 0) {
    while (host::tableReadNext(tableFile.object()) == 1) {
      const int16_t warehouse = readInt16(linkBuffer, kLinkWarehouseAt);
      const int16_t itemNo = readInt16(linkBuffer, kLinkItemNumberAt);
      // There is a slot for 0..99 only, and a link elsewhere must not move
      // the host's current warehouse.
      if (warehouse < 0 || warehouse >= kWarehouseCount || warehouse == current) continue;
      const auto* linkBarcode = reinterpret_cast<const char*>(linkBuffer + kLinkBarcodeAt);
      if (host::textCompare(barcode, linkBarcode, kLinkBarcodeLimit) != 0) continue;
      StockSlot& slot = slots[warehouse];
      if (itemNo == slot.itemNo) continue;  // the first pass counted it
      *itemNoCell = itemNo;
      *warehouseCell = warehouse;
      if (host::loadItemRecord(-1, 0) == 0) continue;
      slot.quantity += readInt32(itemBuffer, kItemQuantityAt);
      if (slot.unit[0] == '\0') takeUnit(slot, itemBuffer);
    }
  }
  host::tableClose(tableFile.object());

  int16_t lines = 0;
  for (int16_t warehouse = 0; warehouse < kWarehouseCount; ++warehouse) {
    const StockSlot& slot = slots[warehouse];
    if (slot.quantity == 0) continue;
    host::loadWarehouseDef(warehouse);
    char name[kWarehouseRecordSize - kWarehouseNameAt + 1];
    copyRecordText(name, warehouseBuffer + kWarehouseNameAt, kWarehouseRecordSize - kWarehouseNameAt);
    char line[1024];
    std::snprintf(line, sizeof line, "%s\t%0.3f %s", name, static_cast<double>(slot.quantity) / 1000.0,
                  slot.unit);
    host::appendLine(kStockResultFile, line);
    ++lines;
  }

  borrowed.giveBack();
  return lines;
}

}  // namespace kamoria
