#include "support/stock_fixture.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace testing_support {

void StockTest::SetUp() {
  HostTest::SetUp();
  restart("full", PluginBuild::probe);
  stock_ = probe<StockProbeFunction>("kamoriaProbeStock")();
}

std::vector<unsigned char> StockTest::itemBytes(const ItemRecord& item) {
  std::vector<unsigned char> record(weltor::kItemRecordSize, 0);
  std::memcpy(record.data() + weltor::kItemBarcodeAt, item.barcode.c_str(), item.barcode.size() + 1);
  std::memcpy(record.data() + weltor::kItemUnitAt, item.unit.c_str(), item.unit.size() + 1);
  std::memcpy(record.data() + weltor::kItemQuantityAt, &item.quantity, sizeof item.quantity);
  std::memcpy(record.data() + weltor::kItemNumberAt, &item.itemNo, sizeof item.itemNo);
  return record;
}

// Where the host keeps its files; also for a host that lacks its path services.
std::string StockTest::hostPath(int16_t warehouse) {
  char path[264] = {};
  weltor::itemFilePath(path, sizeof path, host().dataDir, warehouse, weltor::kItemFilePrefix,
                       weltor::kItemFileExtension);
  return path;
}

void StockTest::writeItemFileBytes(int16_t warehouse, const std::vector<std::vector<unsigned char>>& records) {
  std::ofstream file(hostPath(warehouse), std::ios::binary);
  for (const auto& record : records) file.write(reinterpret_cast<const char*>(record.data()), record.size());
}

void StockTest::writeItemFile(int16_t warehouse, const std::vector<ItemRecord>& items) {
  std::vector<std::vector<unsigned char>> records;
  for (const ItemRecord& item : items) records.push_back(itemBytes(item));
  writeItemFileBytes(warehouse, records);
}

void StockTest::writeLinks(const std::vector<BarcodeLink>& links) {
  char path[264] = {};
  weltor::dataFilePath(path, sizeof path, host().dataDir, weltor::kLinkFileCode);
  std::ofstream file(path, std::ios::binary);
  for (const BarcodeLink& link : links) {
    unsigned char record[weltor::kLinkRecordSize] = {};
    std::memcpy(record + weltor::kLinkBarcodeAt, link.barcode.c_str(), link.barcode.size() + 1);
    std::memcpy(record + weltor::kLinkWarehouseAt, &link.warehouse, sizeof link.warehouse);
    std::memcpy(record + weltor::kLinkItemNumberAt, &link.itemNo, sizeof link.itemNo);
    file.write(reinterpret_cast<const char*>(record), sizeof record);
  }
}

void StockTest::defineWarehouse(int16_t warehouse, const std::string& name) {
  unsigned char* record = host().tables.warehouseRecords[warehouse];
  std::memset(record, 0, weltor::kWarehouseRecordSize);
  std::memcpy(record + weltor::kWarehouseNameAt, name.c_str(), name.size() + 1);
  host().tables.warehouseDefined[warehouse] = true;
}


weltor::ItemList& StockTest::listOf(int16_t screenId) {
  for (int i = 0; i < host().stock.listCount; ++i)
    if (host().stock.lists[i].screenId == screenId) return host().stock.lists[i];
  throw std::runtime_error("screen " + std::to_string(screenId) + " has no item list");
}

void StockTest::standOn(int16_t screenId, int16_t warehouse, const ItemRecord& item) {
  host().session.currentWarehouse = warehouse;
  host().session.currentItemNo = item.itemNo;
  host().screens.current = screenId;
  listOf(screenId).cursorItemNo = item.itemNo;
  const auto record = itemBytes(item);
  std::memcpy(table(49).buffer, record.data(), record.size());
}

BorrowedState StockTest::borrowedState() {
  const unsigned char* record = table(49).buffer;
  return {std::vector<unsigned char>(record, record + weltor::kItemRecordSize), host().session.currentWarehouse,
          host().session.currentItemNo};
}

std::vector<weltor::Dialog> StockTest::dialogs() {
  const int count = std::min(host().dialogs.count, weltor::DialogState::kCapacity);
  return std::vector<weltor::Dialog>(host().dialogs.shown, host().dialogs.shown + count);
}

std::string StockTest::resultFile() {
  std::ifstream file(kResultFile, std::ios::binary);
  if (!file) return "<none>";
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void StockTest::writeResultFile(const std::string& bytes) {
  std::ofstream(kResultFile, std::ios::binary) << bytes;
}

}  // namespace testing_support
