// The stock lookup key on the item lists: which key each list takes, how
// the item under the cursor is found, and what the user sees.
#include <cstring>
#include <functional>

#include "frame/mazovia.h"
#include "sample_data.h"
#include "support/stock_fixture.h"

namespace {

using kamoria::mazovia;
using testing_support::ItemRecord;
using testing_support::kCtrl9;
using testing_support::kCtrlF6;
using testing_support::kF11;
using testing_support::StockTest;

constexpr const char* kBarcode = "5901234123457";
constexpr const char* kPrevious = "Centrala\t1.000 szt.\r\n";
constexpr auto kDiskError = mazovia("Błąd operacji dyskowej-pokazStanInnychMag!\nOperacja niekompletna!");
constexpr auto kNoBarcode = mazovia("Brak kodu kreskowego. Nie mogę pokazać stanów innych magazynów.");
constexpr auto kNothingFound = mazovia("Towarów z tym kodem nie ma na innych magazynach.");
constexpr auto kScanning = mazovia("Przeglądam magazyny!");
constexpr uint16_t kGetScreenItem = 52057, kFseekLista = 52509, kFseekListaNew = 52521;

class StockLookup : public StockTest {
 protected:
  const ItemRecord item{5, kBarcode, "szt.", 9000};
};

TEST_F(StockLookup, TakesOnlyTheHotKeyOfItsScreen) {
  const int16_t screens[] = {147, 397, 742, 780, 2171, 2201, 3044};
  const int16_t keys[] = {kF11, kCtrlF6, kCtrl9, static_cast<int16_t>(0x8600)};
  for (const int16_t screen : screens) {
    for (const int16_t key : keys) {
      const int16_t hotKey = screen == 742 ? kCtrlF6 : screen == 3044 ? kCtrl9 : kF11;
      SCOPED_TRACE(testing::Message() << "screen " << screen << ", key " << key);
      clearLog();
      EXPECT_EQ(lookup(key, screen), key == hotKey ? 1 : 0);
      if (key != hotKey) {
        EXPECT_EQ(host().log.count, 0) << "a key that is not ours reaches no host service";
      }
    }
  }
}

// Every way the key can end: the result is 1, the user sees these boxes and
// notices in this order, and the host's state is as it was.
TEST_F(StockLookup, ShowsWhatBecameOfTheKey) {
  struct Case {
    const char* story;
    int16_t screen;
    int16_t key;
    std::function<void(StockLookup&)> arrange;
    std::vector<std::string> shown;
    bool previousFileStays;
  };
  const ItemRecord noBarcode{5, "", "szt.", 9000};
  const Case cases[] = {
      {"no item table", 147, kF11, [](StockLookup& t) { t.table(49).present = false; },
       {kDiskError.c_str()}, true},
      {"the list finds no item", 397, kF11, [](StockLookup& t) { t.listOf(397).cursorItemNo = 0; },
       {"NIeudane wyszukanie towaru z listy (fseek_lista)"}, true},
      {"the new list finds no item", 2171, kF11, [](StockLookup& t) { t.listOf(2171).cursorItemNo = 77; },
       {"NIeudane wyszukanie towaru z listy (fseek_lista_new)"}, true},
      {"no bar code", 742, kCtrlF6,
       [&](StockLookup& t) {
         t.writeItemFile(2, {noBarcode});
         t.standOn(742, 2, noBarcode);
       },
       {kNoBarcode.c_str(), kNothingFound.c_str()}, false},
      {"no link table", 780, kF11, [](StockLookup& t) { t.table(117).present = false; },
       {kDiskError.c_str(), kNothingFound.c_str()}, false},
      {"no other warehouse holds it", 2201, kF11, [](StockLookup&) {}, {kScanning.c_str(), kNothingFound.c_str()},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.story);
    for (int i = 0; i < host().tables.count; ++i) host().tables.list[i].present = true;
    writeItemFile(2, {item});
    standOn(c.screen, 2, item);
    writeResultFile(kPrevious);
    c.arrange(*this);
    const auto before = borrowedState();
    host().dialogs.count = 0;
    host().stock.window.shownCount = 0;

    EXPECT_EQ(lookup(c.key, c.screen), 1);

    std::vector<std::string> shown;
    for (const auto& dialog : dialogs()) shown.push_back(dialog.text);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(resultFile(), c.previousFileStays ? kPrevious : "<none>");
    EXPECT_EQ(host().stock.window.shownCount, 0);
    EXPECT_EQ(borrowedState(), before);
  }
}

// The lists of the second group hand over the item table's record buffer
// and the list; Ctrl-9 on screen 3044 then shows the window.
TEST_F(StockLookup, NewListPutsTheItemIntoTheItemRecord) {
  defineWarehouse(0, "Centrala");
  writeItemFile(0, {{5, kBarcode, "kg", 1500}});
  writeItemFile(2, {item});
  standOn(3044, 2, item);
  std::memset(table(49).buffer, 0, weltor::kItemRecordSize);  // only the list's positioning fills it
  clearLog();

  EXPECT_EQ(lookup(kCtrl9, 3044), 1);

  ASSERT_EQ(callsTo(kGetScreenItem).size(), 1u);
  EXPECT_EQ(callsTo(kGetScreenItem)[0].args[0], 0x4001);
  ASSERT_EQ(callsTo(kFseekListaNew).size(), 1u);
  const auto seek = callsTo(kFseekListaNew)[0];
  EXPECT_EQ(seek.args[0], reinterpret_cast<intptr_t>(table(49).buffer));
  EXPECT_EQ(seek.args[1], 0);
  EXPECT_EQ(seek.args[2], reinterpret_cast<intptr_t>(&listOf(3044)));
  EXPECT_TRUE(callsTo(kFseekLista).empty());
  EXPECT_EQ(resultFile(), "Centrala\t1.500 kg\r\n");
  EXPECT_EQ(host().stock.window.shownCount, 1);
  EXPECT_EQ(std::memcmp(table(49).buffer, itemBytes(item).data(), weltor::kItemRecordSize), 0);
}

// On the host's generated sample data every other warehouse that holds the
// item has its line, and the user's own warehouse has none.
TEST_F(StockLookup, FindsTheItemAcrossTheSampleDataSet) {
  const weltor::SampleShape shape{100, 40, 4, 0};
  auto generate = reinterpret_cast<WeltorWriteSampleDataFunction>(
      testing_support::namedExport(hostModule(), "weltorWriteSampleData"));
  ASSERT_EQ(generate(&shape), 0);
  host().session.currentWarehouse = 7;
  host().screens.current = 147;
  listOf(147).cursorItemNo = 8;

  EXPECT_EQ(lookup(kF11, 147), 1);

  const auto& window = host().stock.window;
  ASSERT_EQ(window.shownCount, 1);
  EXPECT_GT(window.lineCount, 50);
  EXPECT_LE(window.lineCount, 99);
  const std::string own = reinterpret_cast<const char*>(host().tables.warehouseRecords[7] + weltor::kWarehouseNameAt);
  for (int i = 0; i < window.lineCount; ++i)
    EXPECT_NE(std::string(window.lines[i]).rfind(own + "\t", 0), 0u) << window.lines[i];
}

}  // namespace
