#include "sample_data.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "frame/mazovia.h"
#include "item_files.h"

namespace weltor {

namespace {

using kamoria::mazovia;

constexpr auto kTown0 = mazovia("Warszawa Centrala");
constexpr auto kTown1 = mazovia("Łódź Bałuty");
constexpr auto kTown2 = mazovia("Kraków Podgórze");
constexpr auto kTown3 = mazovia("Gdańsk Oliwa");
constexpr auto kTown4 = mazovia("Wrocław Krzyki");
constexpr auto kTown5 = mazovia("Poznań Jeżyce");
constexpr auto kTown6 = mazovia("Białystok Dojlidy");
constexpr auto kTown7 = mazovia("Zielona Góra");
constexpr auto kTown8 = mazovia("Świnoujście Port");
constexpr auto kTown9 = mazovia("Częstochowa Śródmieście");
const char* const kTowns[] = {kTown0, kTown1, kTown2, kTown3, kTown4, kTown5, kTown6, kTown7, kTown8, kTown9};
constexpr int kTownCount = sizeof kTowns / sizeof kTowns[0];

constexpr auto kUnitPieces = mazovia("szt.");
constexpr auto kUnitPacks = mazovia("opak.");
constexpr auto kUnitMetres = mazovia("mb");
constexpr auto kUnitKilos = mazovia("kg");
constexpr auto kUnitLitres = mazovia("litr");
constexpr auto kUnitSets = mazovia("kpl.");
const char* const kUnits[] = {kUnitPieces, kUnitPacks, kUnitMetres, kUnitKilos, kUnitLitres, kUnitSets};
constexpr int kUnitCount = sizeof kUnits / sizeof kUnits[0];

constexpr auto kItemName = mazovia("Towar próbny nr %05d");

// Spread, repeatable quantities in thousandths: mostly stock, some none,
// a few below zero.
int32_t sampleQuantity(int32_t warehouse, int32_t itemNo) {
  uint32_t mix = static_cast<uint32_t>(warehouse) * 2654435761u ^ static_cast<uint32_t>(itemNo) * 40503u;
  mix ^= mix >> 13;
  mix *= 0x5bd1e995u;
  mix ^= mix >> 15;
  if (mix % 7 == 0) return 0;
  return static_cast<int32_t>(mix % 100001u) - 10000;
}

void put16(unsigned char* record, int at, int32_t value) {
  const auto narrow = static_cast<int16_t>(value);
  std::memcpy(record + at, &narrow, sizeof narrow);
}

void put32(unsigned char* record, int at, int32_t value) { std::memcpy(record + at, &value, sizeof value); }

void putText(unsigned char* record, int at, const char* text) {
  std::memcpy(record + at, text, std::strlen(text) + 1);
}

bool hasSize(const char* path, long size) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  const bool same = std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) == size;
  std::fclose(file);
  return same;
}

bool writeFile(const char* path, const std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  // An empty link file has no buffer at all; fwrite must not see its null.
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool writeItemFile(const HostState& host, int32_t warehouse, const SampleShape& shape) {
  char path[512];
  itemFilePath(path, sizeof path, host.dataDir, warehouse, kItemFilePrefix, kItemFileExtension);
  const long size = static_cast<long>(shape.itemsPerWarehouse) * kItemRecordSize;
  if (shape.reuseFiles != 0 && hasSize(path, size)) return true;
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size), 0);
  for (int32_t itemNo = 1; itemNo <= shape.itemsPerWarehouse; ++itemNo) {
    unsigned char* record = bytes.data() + static_cast<std::size_t>(itemNo - 1) * kItemRecordSize;
    char text[64];
    std::snprintf(text, sizeof text, kItemName, static_cast<int>(itemNo));
    putText(record, kItemNameAt, text);
    sampleBarcode(itemNo, text);
    putText(record, kItemBarcodeAt, text);
    putText(record, kItemUnitAt, kUnits[itemNo % kUnitCount]);
    put32(record, kItemQuantityAt, sampleQuantity(warehouse, itemNo));
    put16(record, kItemNumberAt, itemNo);
  }
  return writeFile(path, bytes);
}

// Every n-th item is also sold under a second item number in one warehouse
// (a link that adds), and is linked to its own number in the next one (a
// link the first pass has already counted).
bool writeLinkFile(const HostState& host, const SampleShape& shape) {
  char path[512];
  dataFilePath(path, sizeof path, host.dataDir, kLinkFileCode);
  std::vector<unsigned char> bytes;
  if (shape.linkEvery > 0) {
    for (int32_t itemNo = shape.linkEvery; itemNo <= shape.itemsPerWarehouse; itemNo += shape.linkEvery) {
      const int32_t warehouse = (itemNo / shape.linkEvery) % shape.warehouseCount;
      const int32_t links[2][2] = {{warehouse, itemNo % shape.itemsPerWarehouse + 1},
                                   {(warehouse + 1) % shape.warehouseCount, itemNo}};
      for (const auto& link : links) {
        unsigned char record[kLinkRecordSize] = {};
        char barcode[16];
        sampleBarcode(itemNo, barcode);
        putText(record, kLinkBarcodeAt, barcode);
        put16(record, kLinkWarehouseAt, link[0]);
        put16(record, kLinkItemNumberAt, link[1]);
        bytes.insert(bytes.end(), record, record + kLinkRecordSize);
      }
    }
  }
  if (shape.reuseFiles != 0 && hasSize(path, static_cast<long>(bytes.size()))) return true;
  return writeFile(path, bytes);
}

}  // namespace

void sampleBarcode(int32_t itemNo, char* barcode) {
  std::snprintf(barcode, 14, "590%09d", static_cast<int>(itemNo % 1000000000));
  int sum = 0;
  for (int i = 0; i < 12; ++i) sum += (barcode[i] - '0') * (i % 2 == 0 ? 1 : 3);
  barcode[12] = static_cast<char>('0' + (10 - sum % 10) % 10);
  barcode[13] = '\0';
}

int32_t writeSampleData(HostState& host, const SampleShape& shape) {
  if (shape.warehouseCount < 1 || shape.warehouseCount > TableState::kWarehouseCount ||
      shape.itemsPerWarehouse < 1 || shape.itemsPerWarehouse > 32767)
    return -1;
  for (int32_t warehouse = 0; warehouse < shape.warehouseCount; ++warehouse) {
    unsigned char* record = host.tables.warehouseRecords[warehouse];
    std::memset(record, 0, kWarehouseRecordSize);
    std::snprintf(reinterpret_cast<char*>(record + kWarehouseNameAt), kWarehouseRecordSize - kWarehouseNameAt,
                  "%s %02d", kTowns[warehouse % kTownCount], static_cast<int>(warehouse));
    host.tables.warehouseDefined[warehouse] = true;
    if (!writeItemFile(host, warehouse, shape)) return -1;
  }
  return writeLinkFile(host, shape) ? 0 : -1;
}

}  // namespace weltor

int32_t weltorWriteSampleData(const weltor::SampleShape* shape) {
  return shape != nullptr ? weltor::writeSampleData(weltor::state(), *shape) : -1;
}
