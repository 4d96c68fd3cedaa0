// The scan of the other warehouses: the two passes over the item files and
// the bar-code links, the result file, and the host state it borrows.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "frame/mazovia.h"
#include "support/stock_fixture.h"

namespace {

using kamoria::mazovia;
using testing_support::BarcodeLink;
using testing_support::ItemRecord;
using testing_support::StockTest;

constexpr const char* kBarcode = "5901234123457";
constexpr auto kDiskError = mazovia("Błąd operacji dyskowej-pokazStanInnychMag!\nOperacja niekompletna!");
constexpr auto kNoBarcode = mazovia("Brak kodu kreskowego. Nie mogę pokazać stanów innych magazynów.");
constexpr auto kScanning = mazovia("Przeglądam magazyny!");

constexpr uint16_t kMessageBox = 52028, kGetTable = 52256, kWarehouseFilePath = 52311, kTableOpen = 52278,
                   kTableReadNext = 52279, kTableClose = 52281, kTableObjectRelease = 50538,
                   kTextCompare = 52431, kCopyText = 52161, kTableFilePath = 51425, kLoadItemRecord = 52412,
                   kLoadWarehouseDef = 50904, kAppendLine = 52407, kResyncHost = 52064,
                   kCurrentItemNo = 52266, kCurrentWarehouse = 52265, kRefreshRecord = 52465;

class StockScan : public StockTest {
 protected:
  const ItemRecord item{5, kBarcode, "szt.", 9000};
};

// Warehouse 2 is the user's; every other warehouse shows one rule of the
// two passes. Pressing F11 on the item list gives this file, byte for byte.
TEST_F(StockScan, ListsEveryOtherWarehouseThatHoldsTheItem) {
  defineWarehouse(0, "Centrala");
  defineWarehouse(1, mazovia("Łódź").c_str());
  defineWarehouse(2, mazovia("Bieżący").c_str());
  defineWarehouse(3, mazovia("Kraków").c_str());
  defineWarehouse(4, mazovia("Gdańsk").c_str());
  defineWarehouse(5, mazovia("Poznań").c_str());
  defineWarehouse(6, mazovia("Wrocław").c_str());
  defineWarehouse(7, "");
  defineWarehouse(8, "Opole");
  defineWarehouse(99, "Ostatni");

  writeItemFile(0, {{5, kBarcode, "szt.", 1500}});
  // Two records with the bar code: the later one wins, nothing is summed.
  writeItemFile(1, {{3, kBarcode, "kg", 5}, {4, "5900000000017", "szt.", 800}, {8, kBarcode, "opak.", 7}});
  writeItemFile(2, {item});
  // No record with the bar code; links bring in items 6 and 4 (twice).
  writeItemFile(3, {{4, "5900000000024", "mb", 2000}, {6, "5900000000031", "", 500}});
  // A record without a unit: the unit comes from the first link counted.
  writeItemFile(4, {{10, kBarcode, "", 1000}, {11, "5900000000048", "litry", -3000}});
  writeItemFile(5, {{2, kBarcode, "szt.", 0}});
  writeItemFile(6, {{2, kBarcode, "szt.", 1000}, {3, "5900000000055", "szt.", -1000}});
  writeItemFile(7, {{1, kBarcode, "sztuki", 1}});
  writeItemFile(8, {{1, kBarcode, "", 2000}});
  // Only texts equal to the whole bar code count.
  writeItemFile(9, {{1, "5901234123458", "szt.", 100}, {2, "590123412345", "szt.", 100}});
  writeItemFile(99, {{1, kBarcode, "kg", 123456}});
  writeLinks({
      {kBarcode, 1, 8},                 // the record the first pass took
      {kBarcode, 2, 5},                 // the user's own warehouse
      {kBarcode, 3, 0},                 // nothing taken there, so item 0 counts as taken
      {kBarcode, 3, 6},                 // adds 500, brings no unit
      {kBarcode, 3, 4},                 // adds 2000 and the unit
      {kBarcode, 3, 4},                 // adds 2000 again
      {kBarcode, 3, 77},                // no such item
      {kBarcode, 4, 11},                // adds -3000
      {kBarcode, 6, 3},                 // brings the total to 0
      {kBarcode, 100, 1},               // no such warehouse
      {kBarcode, -1, 1},                // no such warehouse
      {"5900000000017", 0, 9},          // another bar code
  });
  writeResultFile("from the previous lookup\r\n");
  standOn(147, 2, item);
  const auto before = borrowedState();
  clearLog();

  EXPECT_EQ(lookup(testing_support::kF11, 147), 1);

  const std::string expected = std::string("Centrala\t1.500 szt.\r\n") +
                               mazovia("Łódź").c_str() + "\t0.007 opak.\r\n" +
                               mazovia("Kraków").c_str() + "\t4.500 mb\r\n" +
                               mazovia("Gdańsk").c_str() + "\t-2.000 litry\r\n" +
                               "\t0.001 sztuk\r\n"
                               "Opole\t2.000 \r\n"
                               "Ostatni\t123.456 kg\r\n";
  EXPECT_EQ(resultFile(), expected);
  EXPECT_EQ(borrowedState(), before);
  EXPECT_EQ(calls(kLoadItemRecord), 6) << "links out of range, to the user's warehouse, to the "
                                          "counted record or with another bar code load nothing";
  EXPECT_EQ(calls(kWarehouseFilePath), 99);
  for (const auto& call : callsTo(kWarehouseFilePath)) EXPECT_NE(call.args[0], 2);
  EXPECT_EQ(calls(kTableOpen), 100);
  EXPECT_EQ(calls(kTableClose), 100);
  EXPECT_EQ(calls(kTableObjectRelease), 1);
  EXPECT_EQ(host().stock.openTableFiles, 0);
  EXPECT_EQ(host().stock.resyncCount, 1);

  const auto shown = dialogs();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].mode, 0x200);
  EXPECT_STREQ(shown[0].text, kScanning.c_str());
  const auto& window = host().stock.window;
  EXPECT_EQ(window.shownCount, 1);
  EXPECT_STREQ(window.fileName, testing_support::kResultFile);
  EXPECT_STREQ(window.title, "Stany na innych magazynach");
  EXPECT_STREQ(window.columns, "l-1Magazyn\rl16Stan\r");
  EXPECT_EQ(window.windowId, 2392);
  ASSERT_EQ(window.lineCount, 7);
  EXPECT_STREQ(window.lines[0], "Centrala\t1.500 szt.");
  EXPECT_STREQ(window.lines[6], "Ostatni\t123.456 kg");
}

// A current warehouse outside 0..99 leaves no warehouse out; an item number
// wider than 16 bits comes back whole.
TEST_F(StockScan, CurrentWarehouseOutsideTheRangeReadsAllHundred) {
  defineWarehouse(0, "Centrala");
  writeItemFile(0, {{5, kBarcode, "kg", 250}});
  std::memcpy(table(49).buffer, itemBytes(item).data(), weltor::kItemRecordSize);
  host().session.currentWarehouse = -1;
  host().session.currentItemNo = 70000;
  const auto before = borrowedState();
  clearLog();

  EXPECT_EQ(scan(), 1);

  EXPECT_EQ(resultFile(), "Centrala\t0.250 kg\r\n");
  EXPECT_EQ(calls(kWarehouseFilePath), 100);
  EXPECT_EQ(borrowedState(), before);
}

// The early ways out: nothing is scanned, written or borrowed, and the
// scan gives 0, so the lookup shows its notice and opens no window.
TEST_F(StockScan, EndsEarlyWithoutBarcodeOrTable) {
  struct Case {
    const char* story;
    const char* barcode;
    int32_t missingTable;
    const char* shown;
    int tablesAskedFor;
  };
  const Case cases[] = {
      {"no bar code", "", 0, kNoBarcode.c_str(), 0},
      {"no item table", kBarcode, 49, kDiskError.c_str(), 1},
      {"no warehouse table", kBarcode, 48, kDiskError.c_str(), 2},
      {"no link table", kBarcode, 117, kDiskError.c_str(), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    for (int i = 0; i < host().tables.count; ++i) host().tables.list[i].present = true;
    if (c.missingTable != 0) table(c.missingTable).present = false;
    writeItemFile(0, {{5, kBarcode, "kg", 250}});
    std::memcpy(table(49).buffer, itemBytes({5, c.barcode, "szt.", 9000}).data(), weltor::kItemRecordSize);
    host().session.currentWarehouse = 2;
    host().session.currentItemNo = 5;
    const auto before = borrowedState();
    host().dialogs.count = 0;
    clearLog();

    EXPECT_EQ(scan(), 0);

    EXPECT_EQ(resultFile(), "<none>");
    EXPECT_EQ(borrowedState(), before);
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_STREQ(dialogs()[0].text, c.shown);
    if (c.missingTable != 0) {
      EXPECT_STREQ(dialogs()[0].title, "Uwaga");
      EXPECT_EQ(dialogs()[0].mode, 1);
    }
    EXPECT_EQ(calls(kGetTable), c.tablesAskedFor);
    EXPECT_EQ(calls(kTableOpen), 0);
    EXPECT_EQ(calls(kResyncHost), 0);
    EXPECT_EQ(calls(kTableObjectRelease), 1);
  }
}

// The host's answer to appending is not looked at: a line counts as written.
TEST_F(StockScan, CountsLinesTheHostFailedToAppend) {
  defineWarehouse(0, "Centrala");
  writeItemFile(0, {{5, kBarcode, "kg", 250}});
  writeItemFile(1, {{5, kBarcode, "kg", 500}});
  std::filesystem::create_directories(std::filesystem::path(testing_support::kResultFile) / "in-the-way");
  std::memcpy(table(49).buffer, itemBytes(item).data(), weltor::kItemRecordSize);
  host().session.currentWarehouse = 2;
  clearLog();

  EXPECT_EQ(scan(), 2);
  EXPECT_EQ(calls(kAppendLine), 2);
}

// A host fault out of any call the scan makes goes on to the caller; the
// table file is released once and the host gets its state back.
TEST_F(StockScan, HostFaultLeavesTheHostAsItWas) {
#if defined(_WIN32)
  GTEST_SKIP() << "a fault crossing the host's and the plug-in's modules needs one shared runtime";
#else
  struct Case {
    uint16_t ordinal;
    int32_t countdown;  // calls to let through first
  };
  const Case cases[] = {
      {kCurrentItemNo, 0},  {kCurrentWarehouse, 0}, {kGetTable, 2},        {kRefreshRecord, 1},
      {kMessageBox, 0},     {kWarehouseFilePath, 3}, {kTableOpen, 1},       {kTableReadNext, 2},
      {kTextCompare, 1},    {kCopyText, 0},          {kTableClose, 5},      {kTableFilePath, 0},
      {kLoadItemRecord, 1}, {kLoadWarehouseDef, 0},  {kAppendLine, 1},      {kResyncHost, 0},
      {kTableObjectRelease, 0},
  };
  defineWarehouse(0, "Centrala");
  defineWarehouse(3, mazovia("Kraków").c_str());
  writeItemFile(0, {{1, "5900000000017", "szt.", 1}, {5, kBarcode, "kg", 250}, {6, kBarcode, "kg", 300}});
  writeItemFile(3, {{4, "5900000000024", "mb", 2000}});
  writeLinks({{kBarcode, 3, 4}, {kBarcode, 3, 4}});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "fault in " << c.ordinal << " after " << c.countdown);
    std::filesystem::remove(testing_support::kResultFile);
    std::memcpy(table(49).buffer, itemBytes(item).data(), weltor::kItemRecordSize);
    host().session.currentWarehouse = 2;
    host().session.currentItemNo = 5;
    const auto before = borrowedState();
    clearLog();
    host().frame.throwAtOrdinal = c.ordinal;
    host().frame.throwCountdown = c.countdown;

    uint16_t faultFrom = 0;
    try {
      scan();
    } catch (const weltor::HostFault& fault) {
      faultFrom = fault.ordinal;
    }

    EXPECT_EQ(faultFrom, c.ordinal);
    EXPECT_EQ(calls(kTableObjectRelease), 1);
    EXPECT_EQ(host().stock.openTableFiles, 0);
    EXPECT_EQ(borrowedState(), before);
  }
#endif
}

// A path service that fails leaves the path buffer as it was. The file of
// the path before must not then be read again in its place: warehouse 98's
// stock would show as warehouse 99's, and an item file would be read as the
// link file.
TEST_F(StockScan, PathThatTheHostDidNotGiveOpensNothing) {
  defineWarehouse(98, "Przedostatni");
  defineWarehouse(99, "Ostatni");
  writeItemFile(98, {{8, kBarcode, "op.", 3000}});
  writeItemFile(99, {{9, "5900000000031", "szt.", 100}});
  const int32_t itemFilePaths = 98;  // 0..99 but the current warehouse and the last
  for (const uint16_t failing : {kWarehouseFilePath, kTableFilePath}) {
    SCOPED_TRACE(failing);
    std::filesystem::remove(testing_support::kResultFile);
    std::memcpy(table(49).buffer, itemBytes(item).data(), weltor::kItemRecordSize);
    host().session.currentWarehouse = 2;
    host().frame.failAtOrdinal = failing;
    host().frame.failCountdown = failing == kWarehouseFilePath ? itemFilePaths : 0;

    EXPECT_EQ(scan(), 1);

    host().frame.failAtOrdinal = 0;
    EXPECT_EQ(resultFile(), "Przedostatni\t3.000 op.\r\n");
    EXPECT_EQ(host().stock.strayTableOpens, 0);
  }
}

// Texts the host left without their terminator end at their record's end:
// the host's record buffers are followed by an unreadable page, so a read
// past one ends the test run.
TEST_F(StockScan, TextsWithoutTerminatorStayInsideTheirRecords) {
  // The item's bar code runs from byte 123 to the end of its record, across
  // the unit, quantity and item number.
  std::vector<unsigned char> endless(weltor::kItemRecordSize, 0);
  std::memset(endless.data() + weltor::kItemBarcodeAt, 'A', weltor::kItemRecordSize - weltor::kItemBarcodeAt);
  writeItemFileBytes(0, {endless});
  std::string longName(weltor::kWarehouseRecordSize - weltor::kWarehouseNameAt, 'N');
  unsigned char* warehouse0 = host().tables.warehouseRecords[0];
  std::memcpy(warehouse0 + weltor::kWarehouseNameAt, longName.data(), longName.size());
  host().tables.warehouseDefined[0] = true;
  // A link whose bar code fills the whole record.
  std::vector<unsigned char> link(weltor::kLinkRecordSize, 'A');
  {
    using PathFunction = int32_t (*)(int32_t, TableRef**, char*, int32_t);
    char path[264] = {};
    reinterpret_cast<PathFunction>(testing_support::numberedExport(hostModule(), 51425))(154, nullptr, path, 0);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(link.data()), link.size());
  }
  std::memcpy(table(49).buffer, endless.data(), weltor::kItemRecordSize);
  host().session.currentWarehouse = 2;
  const auto before = borrowedState();

  EXPECT_EQ(scan(), 1);

  EXPECT_EQ(resultFile(), longName + "\t1094795.585 AAAAA\r\n");
  EXPECT_EQ(borrowedState(), before);
}

}  // namespace
