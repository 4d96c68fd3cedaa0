// The main stories under every host fault, one service at a time: whatever
// the host lacks, answers or throws, the plug-in neither crashes nor reaches
// outside a buffer, shows only its own messages, leaves the host as it was
// found and damages no file.
#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame/mazovia.h"
#include "support/fault_matrix.h"

namespace {

using kamoria::mazovia;
using testing_support::Fault;
using testing_support::FaultMatrix;
using testing_support::ItemRecord;
using testing_support::StoryRun;
using Mask = std::array<unsigned char, 13>;

constexpr int16_t kOpen = -2, kKey = 1, kClose = 2;
constexpr uint16_t kGetTable = 52256, kBuildDateValue = 52006, kSettingsRecord = 32500, kWarehouseMask = 37959,
                   kAlertBox = 35802, kHookScreen = 52020, kUnhookScreen = 52021,
                   kTextCompare = 52431, kLoadWarehouseDef = 50904,
                   kPickWarehouse = 52337, kCheckWarehouseNo = 51544, kFormFieldBuffer = 52033,
                   kFileRead = 52307, kFileWrite = 52308, kFileClose = 52305, kFileNameDestroy = 22563;

const std::string kLockError =
    mazovia("\x01" "cBłąd nr 1 operacji dyskowej w badajKtoryMag!\nOperacja niekompletna!\x01").c_str();
const std::string kStockError =
    mazovia("Błąd operacji dyskowej-pokazStanInnychMag!\nOperacja niekompletna!").c_str();
const std::string kNamesError = mazovia("Błąd operacji dyskowej-Initial!\nOperacja niekompletna!").c_str();
const std::string kReadFailed =
    mazovia("Błąd podczas czytania opcji raportu!\n Niektóre opcje zostaną zresetowane!").c_str();
const std::string kSaveFailed =
    mazovia("Nie można otworzyc pliku z opcjami raportu!\n Niektóre opcje nie zostaną zapisane!").c_str();

int32_t featuresPresent(int32_t, int32_t) { return 1; }

// An options record: row 2 gives workstation 5 warehouse 4; the other rows
// list workstations nobody has and warehouses 20 and up.
std::string optionsRecord() {
  std::string record(279, '\0');
  for (int row = 0; row < 9; ++row) {
    for (int column = 0; column < 3; ++column) {
      const int32_t station = row == 2 && column == 2 ? 5 : 100 + 3 * row + column;
      std::memcpy(record.data() + 29 * row + 17 + 4 * column, &station, 4);
    }
    const int16_t warehouse = row == 2 ? 4 : static_cast<int16_t>(20 + row);
    std::memcpy(record.data() + 261 + 2 * row, &warehouse, 2);
  }
  std::memcpy(record.data(), "Stary", 5);
  return record;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The warehouses the result file names: each line's text before its tab.
std::vector<std::string> warehousesIn(const std::string& bytes) {
  std::vector<std::string> warehouses;
  if (bytes == "<none>") return warehouses;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) warehouses.push_back(line.substr(0, line.find('\t')));
  return warehouses;
}

// ---- describe, activate, remove -------------------------------------------------

// The host describes and checks the plug-in, activates it (or has it explain
// why not) and takes its hooks down again.
TEST_F(FaultMatrix, ActivationUnderEveryHostFault) {
  int32_t ready = 0;
  testing_support::Story story;
  story.arrange = [] {};
  story.play = [&] {
    // The host hands over its own feature function, when it has one.
    auto feature = reinterpret_cast<FeatureFunction>(testing_support::numberedExport(hostModule(), 30006));
    char description[64];
    ready = entry30001(feature != nullptr ? feature : &featuresPresent, description);
    entry30008(ready == 0 ? 0 : 1);
    entry30001(nullptr, nullptr);
  };
  story.check = [&](const StoryRun& run) {
    const auto& faultCase = run.faultCase;
    if (faultCase.fault == Fault::none) {
      EXPECT_EQ(ready, 0);
    }
    if (faultCase.throws()) return;

    int stopBoxes = 0;
    for (const auto& dialog : dialogs()) stopBoxes += dialog.kind == weltor::DialogKind::alertBox;
    if (!faultCase.hits(kAlertBox)) {
      EXPECT_EQ(stopBoxes, ready == 0 ? 0 : 1) << "a refusal is explained in one box";
    }
    // Without a service a load check needs, the box names that service.
    for (const uint16_t needed : {kBuildDateValue, uint16_t{30018}, uint16_t{51594}, kGetTable}) {
      if (faultCase.fault != Fault::missing || faultCase.ordinal != needed) continue;
      EXPECT_EQ(ready, -1);
      ASSERT_EQ(shownTexts().size(), 1u);
      EXPECT_NE(shownTexts()[0].find("o numerze " + std::to_string(needed)), std::string::npos) << shownTexts()[0];
    }
    if (faultCase.hits(kBuildDateValue)) {
      EXPECT_EQ(ready, -1) << "a host that cannot tell its build date is refused";
    }
    if (faultCase.hits(kGetTable) && faultCase.fault != Fault::missing) {
      ASSERT_EQ(shownTexts().size(), 1u);
      EXPECT_EQ(shownTexts()[0].rfind(mazovia("Rozmiary rekordów").c_str(), 0), 0u) << shownTexts()[0];
    }
    if (!faultCase.hits(kUnhookScreen)) {
      for (const auto& screen : host().screens.list) EXPECT_EQ(screen.hookDepth, 0) << "screen " << screen.id;
    }
  };
  playUnderEveryFault(story);
}

// ---- the warehouse lock ---------------------------------------------------------

// A restricted user at workstation 5 opens the document screen, which locks
// warehouse 4; the host has key 0x2300 under its own mask and key 0x4150,
// after which the lock holds again; the screen closes and the host's values
// come back.
TEST_F(FaultMatrix, LockAndReleaseUnderEveryHostFault) {
  const Mask hostMask = {0x02, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0x0F};
  struct HostValues {
    Mask mask;
    int16_t defaultWarehouse, setting;
    bool operator==(const HostValues&) const = default;
  };
  auto hostValues = [&] {
    HostValues values{};
    std::memcpy(values.mask.data(), host().session.warehouseMask, 13);
    values.defaultWarehouse = defaultWarehouse();
    values.setting = suspendedSetting();
    return values;
  };
  HostValues before{};

  testing_support::Story story;
  story.arrange = [&] {
    writeFile(dataDir() / kOptionsFile, optionsRecord());
    host().session.restrictions[0] = {9, 29, 0};
    host().session.restrictionCount = 1;
    host().session.workstationNo = 5;
    host().session.currentWarehouse = 1;
    setDefaultWarehouse(1);
    std::memcpy(host().session.warehouseMask, hostMask.data(), 13);
    setSuspendedSetting(3);
    ASSERT_EQ(entry30008(0), 0);
    before = hostValues();
  };
  story.play = [&] {
    send(815, 0, kOpen);
    send(815, 0x2300, kKey);
    send(815, 0x4150, kKey);
    send(815, 0, kClose);
  };
  story.check = [&](const StoryRun& run) {
    const auto& faultCase = run.faultCase;
    if (faultCase.fault == Fault::none) {
      EXPECT_EQ(host().session.currentWarehouse, 4) << "the sound run locks";
      EXPECT_EQ(host().screens.receivedCount, 4);
    }
    // A fault that ends a handler early, or a service the release needs that
    // fails just then, leaves the values to the screen's next close.
    const bool releaseCannotReachThem =
        faultCase.fault == Fault::failsAtTheLast &&
        (faultCase.hits(kSettingsRecord) || faultCase.hits(kWarehouseMask) || faultCase.hits(kGetTable));
    if (faultCase.throws() || releaseCannotReachThem) {
      EXPECT_NO_THROW(send(815, 0, kClose));
    }
    EXPECT_TRUE(hostValues() == before) << "mask, default warehouse and table 64's setting come back";
    const int16_t current = host().session.currentWarehouse;
    EXPECT_TRUE(current == 1 || current == 4) << current;
    EXPECT_EQ(optionsFileBytes(), optionsRecord());
    if (faultCase.hits(kGetTable) && faultCase.brokenThroughout()) {
      EXPECT_EQ(shownTexts(), (std::vector<std::string>{kLockError, kLockError}));
    }
    if (faultCase.hits(kFileRead) && !faultCase.throws()) {
      EXPECT_TRUE(shows(kReadFailed));
    }
  };
  playUnderEveryFault(story);
}

// ---- the stock lookup -------------------------------------------------------------

// The user stands on an item in warehouse 2 and asks for the other
// warehouses' stock on list 147 (F11) and on list 3044 (Ctrl-9).
TEST_F(FaultMatrix, StockLookupUnderEveryHostFault) {
  const std::string barcode = "5901234123457";
  const ItemRecord item{5, barcode, "szt.", 9000};
  std::vector<std::string> soundWarehouses;
  testing_support::BorrowedState before;
  int16_t results[2] = {};

  testing_support::Story story;
  story.arrange = [&] {
    ASSERT_EQ(entry30008(0), 0);
    defineWarehouse(0, "Centrala");
    defineWarehouse(3, mazovia("Kraków").c_str());
    defineWarehouse(98, mazovia("Gdańsk").c_str());
    defineWarehouse(99, "Sopot");
    writeItemFile(0, {{1, "5900000000017", "szt.", 1}, {5, barcode, "kg", 1500}});
    writeItemFile(2, {item});
    writeItemFile(3, {{4, "5900000000024", "mb", 2000}, {7, barcode, "mb", 250}});
    writeItemFile(98, {{8, barcode, "op.", 3000}});
    writeItemFile(99, {{9, "5900000000031", "szt.", 100}});
    writeLinks({{barcode, 3, 4}, {barcode, 2, 5}, {barcode, 0, 5}});
    standOn(147, 2, item);
    listOf(3044).cursorItemNo = item.itemNo;
    before = borrowedState();
  };
  story.play = [&] {
    results[0] = results[1] = 0;
    results[0] = send(147, testing_support::kF11, kKey);
    results[1] = send(3044, testing_support::kCtrl9, kKey);
  };
  story.check = [&](const StoryRun& run) {
    const auto& faultCase = run.faultCase;
    const auto warehouses = warehousesIn(resultFile());
    if (faultCase.fault == Fault::none) {
      soundWarehouses = warehouses;
      EXPECT_EQ(warehouses.size(), 3u) << resultFile();
    }
    EXPECT_TRUE(borrowedState() == before) << "the item record, current warehouse and item number come back";
    EXPECT_EQ(listOf(147).cursorItemNo, item.itemNo);
    EXPECT_EQ(listOf(3044).cursorItemNo, item.itemNo);
    if (faultCase.throws()) return;
    if (!faultCase.hits(kHookScreen)) {
      EXPECT_EQ(results[0], -2) << "the hot key is taken whatever became of it";
      EXPECT_EQ(results[1], -2);
    }

    // A fault can cost a warehouse its line or part of its total, but never
    // names a warehouse that does not hold the item. A host that says
    // "equal" to every bar code, or gives no warehouse record, is taken at
    // its word.
    if (!faultCase.hits(kTextCompare) && !faultCase.hits(kLoadWarehouseDef)) {
      for (const auto& warehouse : warehouses)
        EXPECT_NE(std::find(soundWarehouses.begin(), soundWarehouses.end(), warehouse), soundWarehouses.end())
            << warehouse;
    }
    if (faultCase.hits(kGetTable) && faultCase.brokenThroughout()) {
      EXPECT_EQ(shownTexts(), (std::vector<std::string>{kStockError, kStockError}));
    }
  };
  playUnderEveryFault(story);
}

// ---- the configuration form ---------------------------------------------------------

// An authorised user opens the configuration, picks warehouse 5 for row 1
// with F3, types workstation 101 into it and saves with F12.
TEST_F(FaultMatrix, ConfigurationUnderEveryHostFault) {
  std::string soundSave;
  testing_support::Story story;
  story.arrange = [&] {
    // A host without what the load checks need never gets the configuration.
    entry30001(&featuresPresent, nullptr);
    writeFile(dataDir() / kOptionsFile, optionsRecord());
    defineWarehouse(4, mazovia("Główny").c_str());
    defineWarehouse(5, "Sklep");
    weltor::FormState& form = host().form;
    form.pickAnswers[form.pickAnswerCount++] = 5;
    form.script[form.scriptLength++] = {weltor::FormStepKind::event, 0x3D00, 1, 0, 0};
    form.script[form.scriptLength++] = {weltor::FormStepKind::typeNumber, 0, 0, 0x410B + 1, 101};
    form.script[form.scriptLength++] = {weltor::FormStepKind::event, 0x8600, 1, 0, 0};
  };
  story.play = [&] { entry30010(0); };
  story.check = [&](const StoryRun& run) {
    const auto& faultCase = run.faultCase;
    const std::string file = optionsFileBytes();
    if (faultCase.fault == Fault::none) {
      soundSave = file;
      EXPECT_NE(file, optionsRecord()) << "the sound run saves the edits";
    }
    // Services whose answers go into the record may change what is saved;
    // the file still holds a whole record.
    const bool answersShapeTheRecord = faultCase.hits(kPickWarehouse) || faultCase.hits(kCheckWarehouseNo) ||
                                       faultCase.hits(kFormFieldBuffer) || faultCase.hits(kLoadWarehouseDef) ||
                                       faultCase.hits(kGetTable) || faultCase.hits(kFileRead);
    // Opening for writing empties the file, so a write that fails after it
    // loses the old record; a close that fails leaves the new one unwritten
    // in the host's buffer.
    const bool failedAfterOpening = faultCase.hits(kFileWrite) || faultCase.hits(kFileClose) ||
                                    (faultCase.hits(kFileNameDestroy) && faultCase.throws());
    const auto shown = shownTexts();
    const bool saveFailureShown = shows(kSaveFailed);
    if (failedAfterOpening) {
      EXPECT_TRUE(file == optionsRecord() || file == soundSave || saveFailureShown || faultCase.throws() ||
                  faultCase.hits(kFileClose))
          << "a lost record is at least reported";
    } else if (answersShapeTheRecord) {
      EXPECT_TRUE(file == optionsRecord() || file.size() == 279u) << file.size();
    } else {
      EXPECT_TRUE(file == optionsRecord() || file == soundSave) << "the options file is the old or the new record";
    }
    if (faultCase.hits(kFileRead) && !faultCase.throws()) {
      EXPECT_TRUE(shows(kReadFailed));
    }
    if (faultCase.hits(kGetTable) && faultCase.fault == Fault::failsAtTheLast) {
      EXPECT_EQ(shown, std::vector<std::string>{kNamesError}) << "the names after the pick";
    }
    // An OK that did not reach the file says so.
    if (file == optionsRecord() && !faultCase.throws() && host().form.closedWith == weltor::kFormOk) {
      EXPECT_TRUE(saveFailureShown);
    }
  };
  playUnderEveryFault(story);
}

}  // namespace
