// A user who may not change the warehouse gets this workstation's warehouse
// from the options file while the document screen is open, and the host's
// own values come back when it closes.
#include <array>
#include <cstring>
#include <fstream>
#include <string>

#include "frame/mazovia.h"
#include "probes/lock_probes.h"
#include "support/host_test.h"

namespace {

using testing_support::HostTest;
using testing_support::PluginBuild;

constexpr uint16_t kGetTable = 52256, kRefreshRecord = 52465, kUserRestricted = 52237,
                   kRecordChange = 52336;

using Mask = std::array<unsigned char, 13>;

// What the lock leaves: warehouses 0..99 masked except `open`, bits 100..103 clear.
Mask onlyOpen(int open) {
  Mask mask{};
  for (int j = 0; j < 100; ++j)
    if (j != open) mask[j / 8] = static_cast<unsigned char>(mask[j / 8] | (1 << (j % 8)));
  return mask;
}
const Mask kHostMask = {0x0F, 0xF0, 0x55, 0xAA, 0x01, 0x80, 0x00, 0xFF, 0x12, 0x34, 0x56, 0x78, 0xF9};

struct Row {
  int row;
  int32_t stations[3];
  int16_t warehouse;
};

class WarehouseLock : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    startOver();
  }

  // A fresh host and plug-in: current warehouse 5, default 4, setting 7.
  void startOver() {
    restart("full", PluginBuild::probe);
    plugin_ = probe<LockProbeFunction>("kamoriaProbeLock")();
    setHostValues(5, 4, 7, kHostMask);
  }

  const LockProbe& plugin() const { return *plugin_; }

  // Rows not given list only workstation 9999 and have no warehouse.
  void writeOptions(std::initializer_list<Row> rows) const {
    std::string record(279, '\0');
    const int32_t nobody = 9999;
    for (int r = 0; r < 9; ++r)
      for (int c = 0; c < 3; ++c) std::memcpy(record.data() + 29 * r + 17 + 4 * c, &nobody, 4);
    for (int r = 0; r < 9; ++r) record[261 + 2 * r] = record[262 + 2 * r] = '\xFF';
    for (const Row& row : rows) {
      std::memcpy(record.data() + 29 * row.row + 17, row.stations, 12);
      std::memcpy(record.data() + 261 + 2 * row.row, &row.warehouse, 2);
    }
    std::ofstream(dataDir() / "Kamoria.dat", std::ios::binary).write(record.data(), 279);
  }

  void restrictUser(int32_t workstationNo) {
    host().session.restrictions[0] = {9, 29, 0};
    host().session.restrictionCount = 1;
    host().session.workstationNo = workstationNo;
  }

  int16_t current() { return host().session.currentWarehouse; }
  Mask mask() {
    Mask value;
    std::memcpy(value.data(), host().session.warehouseMask, 13);
    return value;
  }
  void setHostValues(int16_t currentWarehouse, int16_t defaultWarehouseNo, int16_t settingValue, const Mask& hostMask) {
    host().session.currentWarehouse = currentWarehouse;
    setDefaultWarehouse(defaultWarehouseNo);
    setSuspendedSetting(settingValue);
    std::memcpy(host().session.warehouseMask, hostMask.data(), 13);
  }

  std::vector<intptr_t> recordChanges() const {
    std::vector<intptr_t> phases;
    for (const auto& call : callsTo(kRecordChange)) phases.push_back(call.args[0]);
    return phases;
  }
  bool nothingHeld() const { return !plugin_->savedDefaultWarehouse->held && !plugin_->savedSuspendedSetting->held; }

  // The document screen opens and the lock is applied; later it closes.
  int32_t openDocument() {
    plugin().saveWarehouseMask();
    return plugin().badajKtoryMag();
  }
  void closeDocument() { plugin().releaseWarehouseLock(); }

 private:
  const LockProbe* plugin_ = nullptr;
};

TEST_F(WarehouseLock, UserFreeToChangeTheWarehouseKeepsEverything) {
  writeOptions({{0, {1, 2, 3}, 12}});
  host().session.workstationNo = 1;
  clearLog();

  EXPECT_EQ(plugin().badajKtoryMag(), 0);

  EXPECT_EQ(callOrder(), (std::vector<uint16_t>{kGetTable, kRefreshRecord, kUserRestricted}));
  EXPECT_EQ(current(), 5);
  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_EQ(suspendedSetting(), 7);
  EXPECT_EQ(mask(), kHostMask);
}

TEST_F(WarehouseLock, ChoosesTheWarehouseOfTheFirstRowListingTheWorkstation) {
  struct Case {
    const char* name;
    bool optionsFile;
    std::initializer_list<Row> rows;
    int32_t workstationNo;
    int16_t chosen;  // meaningless when no row lists the workstation
    bool locks;
  };
  const Case cases[] = {
      {"lowest row wins, any column", true, {{2, {7, 5, 8}, 12}, {4, {5, 0, 0}, 40}}, 5, 12, true},
      {"third column", true, {{6, {1, 2, 77}, 66}}, 77, 66, true},
      {"first row, first column", true, {{0, {-3, 1, 1}, 0}}, -3, 0, true},
      {"row without a warehouse", true, {{1, {3, 0, 0}, -1}}, 3, -1, true},
      {"warehouse 100", true, {{8, {3, 3, 3}, 100}}, 3, 100, true},
      {"workstation 0 without a file", false, {}, 0, -1, true},
      {"workstation in no row", true, {{0, {1, 2, 3}, 12}}, 42, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    startOver();
    std::filesystem::remove(dataDir() / "Kamoria.dat");
    if (c.optionsFile) writeOptions(c.rows);
    restrictUser(c.workstationNo);

    EXPECT_EQ(openDocument(), c.locks ? 1 : 0);

    EXPECT_EQ(current(), c.locks ? c.chosen : 5);
    EXPECT_EQ(defaultWarehouse(), c.locks ? c.chosen : 4);
    EXPECT_EQ(mask(), c.locks ? onlyOpen(c.chosen) : kHostMask);
    EXPECT_EQ(suspendedSetting(), c.locks ? 0 : 7);
    EXPECT_EQ(host().dialogs.count, 0);
  }
}

TEST_F(WarehouseLock, CloseGivesBackTheHostsValuesButNotTheCurrentWarehouse) {
  writeOptions({{3, {8, 9, 10}, 12}});
  restrictUser(9);

  EXPECT_EQ(openDocument(), 1);
  EXPECT_EQ(recordChanges(), (std::vector<intptr_t>{-1, 1}));
  EXPECT_EQ(mask(), onlyOpen(12));
  EXPECT_EQ(defaultWarehouse(), 12);
  EXPECT_EQ(suspendedSetting(), 0);
  clearLog();

  closeDocument();

  EXPECT_EQ(mask(), kHostMask);
  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_EQ(suspendedSetting(), 7);
  EXPECT_EQ(current(), 12);
  EXPECT_EQ(recordChanges(), (std::vector<intptr_t>{-1, 1}));
  EXPECT_EQ(table(64).refreshCount, 2) << "refreshed at the lock and again at the close";
  EXPECT_TRUE(nothingHeld());
}

TEST_F(WarehouseLock, NegativeHostValuesComeBackUnchanged) {
  writeOptions({{0, {1, 1, 1}, 12}});
  restrictUser(1);
  setHostValues(-1, -1, -5, kHostMask);

  ASSERT_EQ(openDocument(), 1);
  EXPECT_EQ(defaultWarehouse(), 12);
  EXPECT_EQ(suspendedSetting(), 0);
  closeDocument();

  EXPECT_EQ(defaultWarehouse(), -1);
  EXPECT_EQ(suspendedSetting(), -5);
}

TEST_F(WarehouseLock, SettingOfZeroIsNeitherTakenNorGivenBack) {
  writeOptions({{0, {1, 1, 1}, 12}});
  restrictUser(1);
  setSuspendedSetting(0);

  openDocument();
  openDocument();
  EXPECT_EQ(recordChanges(), (std::vector<intptr_t>{-1, -1})) << "read at every lock, never written";
  EXPECT_FALSE(plugin().savedSuspendedSetting->held);

  setSuspendedSetting(9);  // the host's own change while the screen is open
  clearLog();
  closeDocument();

  EXPECT_EQ(suspendedSetting(), 9);
  EXPECT_TRUE(callsTo(kGetTable).empty());
  EXPECT_EQ(defaultWarehouse(), 4);
}

TEST_F(WarehouseLock, RecordTooShortForTheSettingIsNotReadOrWritten) {
  writeOptions({{0, {1, 1, 1}, 12}});
  restrictUser(1);
  table(64).recordSize = 77;

  EXPECT_EQ(openDocument(), 1);
  EXPECT_EQ(defaultWarehouse(), 12);
  closeDocument();

  EXPECT_TRUE(callsTo(kRecordChange).empty());
  EXPECT_EQ(suspendedSetting(), 7);
  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_TRUE(nothingHeld());
}

TEST_F(WarehouseLock, TwoLocksBeforeOneCloseRestoreWhatWasThereFirst) {
  writeOptions({{0, {1, 1, 1}, 12}});
  restrictUser(1);
  openDocument();

  writeOptions({{0, {1, 1, 1}, 30}});
  setSuspendedSetting(3);
  EXPECT_EQ(plugin().badajKtoryMag(), 1);
  EXPECT_EQ(current(), 30);
  EXPECT_EQ(defaultWarehouse(), 30);
  EXPECT_EQ(mask(), onlyOpen(30));
  EXPECT_EQ(suspendedSetting(), 3) << "a lock already holding the setting leaves it alone";

  closeDocument();

  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_EQ(suspendedSetting(), 7);
  EXPECT_EQ(mask(), kHostMask);
}

TEST_F(WarehouseLock, CloseWithoutALockOnlyCopiesTheMaskBack) {
  plugin().saveWarehouseMask();
  std::memset(host().session.warehouseMask, 0, 13);
  clearLog();

  closeDocument();

  EXPECT_EQ(mask(), kHostMask);
  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_EQ(suspendedSetting(), 7);
  EXPECT_EQ(callOrder(), (std::vector<uint16_t>{37959}));
  EXPECT_TRUE(nothingHeld());
}

// A close before any snapshot was taken (the plug-in came in while the
// document screen was open) has no mask of the host's to put back: writing
// the empty one would open every warehouse.
TEST_F(WarehouseLock, CloseBeforeAnySnapshotLeavesTheHostsMask) {
  clearLog();

  closeDocument();

  EXPECT_EQ(mask(), kHostMask);
  EXPECT_TRUE(nothingHeld());
}

// The settings record out of reach at the close: the default warehouse stays
// held, and the next close that reaches the record gives it back.
TEST_F(WarehouseLock, DefaultWarehouseWaitsForTheSettingsRecordWhenItIsMissingAtTheClose) {
  constexpr uint16_t kSettingsRecord = 32500;
  writeOptions({{0, {1, 1, 1}, 12}});
  restrictUser(1);
  openDocument();
  host().frame.failAtOrdinal = kSettingsRecord;

  closeDocument();

  EXPECT_EQ(defaultWarehouse(), 12);
  ASSERT_TRUE(plugin().savedDefaultWarehouse->held) << "the host's default warehouse must not be lost";
  host().frame.failAtOrdinal = 0;
  closeDocument();

  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_EQ(mask(), kHostMask);
  EXPECT_TRUE(nothingHeld());
}

TEST_F(WarehouseLock, MissingTableAtTheLockIsReportedAndChangesNothing) {
  writeOptions({{0, {1, 1, 1}, 12}});
  for (bool restricted : {true, false}) {
    SCOPED_TRACE(restricted ? "restricted user" : "free user");
    host().session.restrictionCount = 0;
    if (restricted) restrictUser(1);
    table(64).present = false;
    host().dialogs.count = 0;
    clearLog();

    EXPECT_EQ(openDocument(), 1);

    ASSERT_EQ(host().dialogs.count, 1);
    const weltor::Dialog& box = host().dialogs.shown[0];
    EXPECT_STREQ(box.title, "Uwaga");
    EXPECT_EQ(std::string(box.text),
              std::string("\x01" "cB\x92\x86" "d nr 1 operacji dyskowej w badajKtoryMag!\nOperacja niekompletna!\x01"));
    EXPECT_EQ(box.mode, 1);
    EXPECT_TRUE(callsTo(kUserRestricted).empty());
    EXPECT_EQ(current(), 5);
    EXPECT_EQ(defaultWarehouse(), 4);
    EXPECT_EQ(mask(), kHostMask);
    EXPECT_TRUE(nothingHeld());
  }
}

TEST_F(WarehouseLock, SettingWaitsForTheTableWhenItIsMissingAtTheClose) {
  writeOptions({{0, {1, 1, 1}, 12}});
  restrictUser(1);
  openDocument();
  table(64).present = false;

  closeDocument();

  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_EQ(mask(), kHostMask);
  EXPECT_EQ(host().dialogs.count, 0);
  EXPECT_FALSE(plugin().savedDefaultWarehouse->held);
  ASSERT_TRUE(plugin().savedSuspendedSetting->held) << "the host's setting must not be lost";
  EXPECT_EQ(plugin().savedSuspendedSetting->value, 7);

  table(64).present = true;
  openDocument();
  EXPECT_EQ(suspendedSetting(), 0);
  closeDocument();

  EXPECT_EQ(suspendedSetting(), 7);
  EXPECT_EQ(defaultWarehouse(), 4);
  EXPECT_TRUE(nothingHeld());
}

}  // namespace
