// Stories about the stock lookup: a host with item files, bar-code links and
// warehouse names in its data directory, and the plug-in's probe build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "item_files.h"
#include "probes/stock_probes.h"
#include "support/host_test.h"

namespace testing_support {

// One item record as the host keeps it; texts are written as raw bytes.
struct ItemRecord {
  int16_t itemNo;
  std::string barcode;
  std::string unit;
  int32_t quantity;
};

struct BarcodeLink {
  std::string barcode;
  int16_t warehouse;
  int16_t itemNo;
};

inline constexpr int16_t kF11 = static_cast<int16_t>(0x8500);
inline constexpr int16_t kCtrlF6 = 0x6300;
inline constexpr int16_t kCtrl9 = 0x00EF;
inline constexpr const char* kResultFile = "Kamoria_info_mag.csv";

// What the scan borrows from the host and must give back.
struct BorrowedState {
  std::vector<unsigned char> itemRecord;
  int16_t currentWarehouse;
  int32_t currentItemNo;
  bool operator==(const BorrowedState&) const = default;
};

class StockTest : public HostTest {
 protected:
  void SetUp() override;

 public:
  static std::vector<unsigned char> itemBytes(const ItemRecord& item);
  void writeItemFile(int16_t warehouse, const std::vector<ItemRecord>& items);
  void writeItemFileBytes(int16_t warehouse, const std::vector<std::vector<unsigned char>>& records);
  void writeLinks(const std::vector<BarcodeLink>& links);
  void defineWarehouse(int16_t warehouse, const std::string& name);

  using HostTest::table;
  weltor::ItemList& listOf(int16_t screenId);
  // The host is on `warehouse`, and the list of `screenId` has its cursor on
  // `item`, whose record also stands in the item table as after moving there.
  void standOn(int16_t screenId, int16_t warehouse, const ItemRecord& item);

  BorrowedState borrowedState();
  std::vector<weltor::Dialog> dialogs();
  int calls(uint16_t ordinal) const { return static_cast<int>(callsTo(ordinal).size()); }

  // The result file's bytes, or "<none>" when there is no such file.
  static std::string resultFile();
  static void writeResultFile(const std::string& bytes);

  int16_t lookup(int16_t key, int16_t screenId) { return stock_->lookup(key, screenId); }
  int16_t scan() { return stock_->scan(table(49).buffer); }

 private:
  std::string hostPath(int16_t warehouse);
  const StockProbe* stock_ = nullptr;
};

}  // namespace testing_support
