// The options record travels to and from "Kamoria.dat" in the host's data
// directory, byte for byte, and every way the file can fail is told apart.
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "frame/mazovia.h"
#include "probes/lock_probes.h"
#include "support/host_test.h"

namespace {

using testing_support::HostTest;
using testing_support::PluginBuild;

constexpr uint16_t kFindDataFile = 52534, kFileNameConstruct = 22562, kFileNameOpen = 22567,
                   kFileNameDestroy = 22563, kFileRead = 52307, kFileWrite = 52308, kFileClose = 52305;

const std::string kReadFailed(
    kamoria::mazovia("Błąd podczas czytania opcji raportu!\n Niektóre opcje zostaną zresetowane!").c_str());
const std::string kWriteFailed(
    kamoria::mazovia("Nie można otworzyc pliku z opcjami raportu!\n Niektóre opcje nie zostaną zapisane!").c_str());

// Row r's workstations and warehouse number in the test files: every byte
// differs, so a field read at a wrong offset or in a wrong order shows.
int32_t stationOf(int row, int column) { return 0x41302010 + 0x100 * row + 0x10000 * column - 7 * row; }
int16_t warehouseOf(int row) {
  if (row == 0) return -1;
  if (row == 1) return 3;
  return static_cast<int16_t>(0x0300 + 11 * row);
}

int32_t int32At(const std::string& bytes, std::size_t offset) {
  int32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}
int16_t int16At(const std::string& bytes, std::size_t offset) {
  int16_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

// A record laid out by hand from the file's format.
std::string handMadeRecord() {
  std::string record(279, '\0');
  for (int row = 0; row < 9; ++row) {
    const std::string name = "Magazyn " + std::to_string(row);
    std::memcpy(record.data() + 29 * row, name.data(), name.size());
    for (int column = 0; column < 3; ++column) {
      const int32_t station = stationOf(row, column);
      std::memcpy(record.data() + 29 * row + 17 + 4 * column, &station, sizeof station);
    }
    const int16_t warehouse = warehouseOf(row);
    std::memcpy(record.data() + 261 + 2 * row, &warehouse, sizeof warehouse);
  }
  return record;
}

std::string defaultRecord() {
  std::string record(279, '\0');
  for (int row = 0; row < 9; ++row) record[261 + 2 * row] = record[262 + 2 * row] = '\xFF';
  return record;
}

class OptionsFile : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    restart("full", PluginBuild::probe);
    plugin_ = probe<LockProbeFunction>("kamoriaProbeLock")();
  }

  const LockProbe& plugin() const { return *plugin_; }
  std::string record() const { return std::string(reinterpret_cast<const char*>(plugin_->options->bytes), 279); }
  void setRecord(const std::string& bytes) const { std::memcpy(plugin_->options->bytes, bytes.data(), 279); }

  std::filesystem::path file() const { return dataDir() / "Kamoria.dat"; }
  std::string fileBytes() const {
    std::ifstream in(file(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void writeFile(const std::string& bytes) const {
    std::ofstream(file(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // One box "Uwaga" in mode 1 with this text, and nothing else shown.
  void expectOnlyBox(const std::string& text) {
    ASSERT_EQ(host().dialogs.count, 1);
    const weltor::Dialog& box = host().dialogs.shown[0];
    EXPECT_EQ(box.kind, weltor::DialogKind::messageBox);
    EXPECT_STREQ(box.title, "Uwaga");
    EXPECT_EQ(std::string(box.text), text);
    EXPECT_EQ(box.mode, 1);
  }

  // Every FileName destroyed and every handle closed, none used twice.
  void expectFilesLeftClean() {
    const weltor::FileState& files = host().files;
    EXPECT_EQ(files.liveFileNames, 0);
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(files.strayFileNameCalls, 0);
    EXPECT_EQ(files.strayHandleCalls, 0);
  }

  const LockProbe* plugin_ = nullptr;
};

TEST_F(OptionsFile, SaveWritesTheRecordAsOneBlockAtItsOffsets) {
  plugin().resetOptions();
  for (int row = 0; row < 9; ++row) {
    for (int column = 0; column < 3; ++column)
      plugin().setWorkstation(*plugin().options, row, column, stationOf(row, column));
    plugin().setWarehouseNumber(*plugin().options, row, warehouseOf(row));
  }
  clearLog();

  plugin().saveOptions();

  const std::string bytes = fileBytes();
  ASSERT_EQ(bytes.size(), 279u);
  for (int row = 0; row < 9; ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    EXPECT_EQ(bytes.substr(29 * row, 17), std::string(17, '\0')) << "the name stays empty";
    for (int column = 0; column < 3; ++column)
      EXPECT_EQ(int32At(bytes, 29 * row + 17 + 4 * column), stationOf(row, column));
    EXPECT_EQ(int16At(bytes, 261 + 2 * row), warehouseOf(row));
  }
  EXPECT_EQ(bytes.substr(261, 4), std::string("\xFF\xFF\x03\x00", 4)) << "-1, then warehouse 3";
  EXPECT_EQ(int32At(bytes, 257), stationOf(8, 2)) << "row 8's third workstation closes the rows";

  const auto found = callsTo(kFindDataFile);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(found[0].args[0]), "Kamoria.dat");
  EXPECT_STREQ(reinterpret_cast<const char*>(found[0].args[1]), "wb");
  EXPECT_EQ((std::vector<intptr_t>(found[0].args + 2, found[0].args + 9)),
            (std::vector<intptr_t>{0x40, 0, -1, 0, 0, 0, 0}));
  const auto writes = callsTo(kFileWrite);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].args[1], 279);
  EXPECT_EQ(writes[0].args[2], 1);
  EXPECT_EQ(callOrder(), (std::vector<uint16_t>{kFindDataFile, kFileNameConstruct, kFileNameOpen,
                                                kFileNameDestroy, kFileWrite, kFileClose}))
      << "the FileName is gone before the handle is used";
  EXPECT_EQ(host().dialogs.count, 0);
  expectFilesLeftClean();
}

TEST_F(OptionsFile, LoadTakesAWholeRecordOrFallsBackToTheDefaults) {
  const std::string full = handMadeRecord();
  struct Case {
    const char* name;
    int size;  // -1: no file at all
    bool complains;
    bool loads;
  };
  const Case cases[] = {
      {"no file", -1, false, false},       {"empty file", 0, true, false},
      {"one byte short", 278, true, false}, {"exact record", 279, false, true},
      {"longer file", 300, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(file());
    if (c.size >= 0) writeFile((full + std::string(21, '\xEE')).substr(0, static_cast<std::size_t>(c.size)));
    setRecord(std::string(279, '\x5A'));
    host().dialogs.count = 0;
    clearLog();

    plugin().loadOptions();

    EXPECT_EQ(record(), c.loads ? full : defaultRecord());
    if (c.complains)
      expectOnlyBox(kReadFailed);
    else
      EXPECT_EQ(host().dialogs.count, 0);
    if (c.size >= 0) {
      const auto reads = callsTo(kFileRead);
      ASSERT_EQ(reads.size(), 1u);
      EXPECT_EQ(reads[0].args[1], 1) << "counted in bytes";
      EXPECT_EQ(reads[0].args[2], 279);
      EXPECT_STREQ(reinterpret_cast<const char*>(callsTo(kFindDataFile)[0].args[1]), "rb");
    }
    expectFilesLeftClean();
  }
  EXPECT_EQ(plugin().workstation(*plugin().options, 8, 2), stationOf(8, 2));
  EXPECT_EQ(plugin().warehouseNumber(*plugin().options, 0), -1);
  EXPECT_EQ(plugin().warehouseNumber(*plugin().options, 8), warehouseOf(8));
}

TEST_F(OptionsFile, SaveThatCannotOpenLeavesTheFileAndSaysSo) {
  writeFile(handMadeRecord());
  setRecord(defaultRecord());
  host().files.failNextWriteOpen = true;
  clearLog();

  plugin().saveOptions();

  expectOnlyBox(kWriteFailed);
  EXPECT_EQ(fileBytes(), handMadeRecord());
  EXPECT_EQ(record(), defaultRecord()) << "the edits stay in memory";
  EXPECT_TRUE(callsTo(kFileWrite).empty());
  expectFilesLeftClean();
}

TEST_F(OptionsFile, WriteCutShortIsReportedNotPassedForSaved) {
  setRecord(handMadeRecord());
  host().files.shortWriteBytes = 100;

  plugin().saveOptions();

  EXPECT_EQ(fileBytes().size(), 100u);
  expectOnlyBox(kWriteFailed);
  expectFilesLeftClean();
}

// A host fault out of any file call reaches the caller, and the FileName
// and the file handle go back to the host all the same: the handle too, and
// also when the FileName's own destruction is what throws.
TEST_F(OptionsFile, HostFaultsLeaveNoFileNameOrHandleBehind) {
#if defined(_WIN32)
  // Each module of the Windows build links its own unwinder, so a fault
  // thrown in the host cannot cross the plug-in there.
  GTEST_SKIP() << "host faults do not unwind across modules in this build";
#endif
  struct Case {
    const char* name;
    void (*operation)();
    uint16_t ordinal;
  };
  const Case cases[] = {
      {"load", plugin().loadOptions, kFileNameOpen},    {"load", plugin().loadOptions, kFileNameDestroy},
      {"load", plugin().loadOptions, kFileRead},        {"save", plugin().saveOptions, kFileNameOpen},
      {"save", plugin().saveOptions, kFileNameDestroy}, {"save", plugin().saveOptions, kFileWrite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << ", fault in " << c.ordinal);
    writeFile(handMadeRecord());
    host().frame.throwAtOrdinal = c.ordinal;
    host().frame.throwCountdown = 0;
    clearLog();

    EXPECT_THROW(c.operation(), weltor::HostFault);

    EXPECT_EQ(callsTo(kFileNameDestroy).size(), 1u);
    EXPECT_EQ(host().files.openFiles, 0);
    // A destruction that throws has not happened in the host.
    EXPECT_EQ(host().files.liveFileNames, c.ordinal == kFileNameDestroy ? 1 : 0);
    host().files.liveFileNames = 0;
  }
}

// A constructor that made nothing leaves an object no open can use: the load
// keeps the defaults and the object still goes back to the host.
TEST_F(OptionsFile, FileNameThatTheHostDidNotMakeOpensNothing) {
  writeFile(handMadeRecord());
  setRecord(handMadeRecord());
  host().frame.failAtOrdinal = kFileNameConstruct;

  plugin().loadOptions();

  EXPECT_EQ(record(), defaultRecord());
  EXPECT_EQ(callsTo(kFileNameOpen).size(), 1u);
  EXPECT_EQ(callsTo(kFileNameDestroy).size(), 1u);
  EXPECT_EQ(host().files.strayFileNameCalls, 2) << "the host refused both calls on the empty object";
  EXPECT_EQ(host().files.liveFileNames, 0);
  EXPECT_EQ(host().files.openFiles, 0);
}

// Opening for writing empties the file; a host that cannot write must not
// get that far.
TEST_F(OptionsFile, HostWithoutFileWriteKeepsTheOldFileAndSaysSo) {
  restart("without_52308", PluginBuild::probe);
  plugin_ = probe<LockProbeFunction>("kamoriaProbeLock")();
  writeFile(handMadeRecord());
  setRecord(defaultRecord());

  plugin().saveOptions();

  EXPECT_EQ(fileBytes(), handMadeRecord());
  expectOnlyBox(kWriteFailed);
  EXPECT_TRUE(callsTo(kFindDataFile).empty()) << "the file was not opened";
  expectFilesLeftClean();
}

}  // namespace
