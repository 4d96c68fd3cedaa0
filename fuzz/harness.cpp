#include "harness.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "item_files.h"
#include "loader.h"

// The plug-in allocates nothing; a small quarantine keeps the harness's own
// allocations from churning through fresh pages on every input.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

namespace fuzzing {

namespace {

using weltor_program::Module;

std::filesystem::path removeAtExit;

void removeDataDir() {
  std::error_code ignored;
  if (!removeAtExit.empty()) std::filesystem::remove_all(removeAtExit, ignored);
}

Module load(const std::filesystem::path& path) {
  Module module = weltor_program::loadModule(path);
  if (module == nullptr) {
    std::fprintf(stderr, "fuzz: %s\n", weltor_program::loadError().c_str());
    std::abort();
  }
  return module;
}

template <class T>
T entry(Module module, uint16_t ordinal) {
  void* found = weltor_program::numberedExport(module, ordinal);
  if (found == nullptr) broken("the module exports " + std::to_string(ordinal));
  return reinterpret_cast<T>(found);
}

template <class T>
T named(Module module, const char* name) {
  void* found = weltor_program::namedExport(module, name);
  if (found == nullptr) broken(std::string("the host exports ") + name);
  return reinterpret_cast<T>(found);
}

}  // namespace

Bytes Input::bytes(std::size_t count) {
  const std::size_t left = empty() ? 0 : size_ - at_;
  if (count > left) count = left;
  Bytes taken(data_ + at_, data_ + at_ + count);
  at_ += count;
  return taken;
}

Stage& Stage::get() {
  static Stage stage;
  return stage;
}

// The modules stay loaded until the process ends: unloading one would leave
// the fuzzer counting into memory that is gone.
Stage::Stage() {
  char pattern[] = "/tmp/kamoria-fuzz-XXXXXX";
  if (mkdtemp(pattern) == nullptr) broken("a data directory can be made");
  dataDir_ = pattern;
  removeAtExit = dataDir_;
  std::atexit(&removeDataDir);
  // The installation notice has been answered: it asks nothing in a story.
  writeFile("WtyczkiG.ini", Bytes{'[', 'K', 'a', 'm', 'o', 'r', 'i', 'a', ']', '\r', '\n',
                                  'P', 'y', 't', 'a', 'j', '=', '1', '\r', '\n'});

  const std::filesystem::path build = weltor_program::programDirectory().parent_path();
  // The host first: the plug-in binds its services while it is being loaded.
  const Module host = load(build / "hosts" / "full" / "WELTOR.so");
  state_ = named<WeltorStateFunction>(host, "weltorState")();
  reset_ = named<WeltorResetFunction>(host, "weltorReset");
  sendEvent_ = named<WeltorSendEventFunction>(host, "weltorSendEvent");
  featureCheck_ = entry<FeatureFunction>(host, 30006);
  reset_(dataDir_.c_str());

  const Module plugin = load(build / "kamoria.so");
  entry30001_ = entry<int32_t (*)(FeatureFunction, char*)>(plugin, 30001);
  entry30008_ = entry<int32_t (*)(int32_t)>(plugin, 30008);
  entry30010_ = entry<int32_t (*)(int32_t)>(plugin, 30010);
}

void Stage::begin() {
  reset_(dataDir_.c_str());
  char description[64] = {};
  require(entry30001_(featureCheck_, description) == 0, "the plug-in accepts the full host");
  require(entry30008_(0) == 0, "the plug-in activates");
  require(state_->dialogs.count == 0, "activation shows nothing once the notice was answered");
  state_->log.count = 0;
  state_->screens.receivedCount = 0;
}

void Stage::settle() {
  weltor::HostState& host = *state_;
  setRestricted(host, false);
  for (int i = 0; i < host.tables.count; ++i) host.tables.list[i].present = true;
  std::memset(host.session.warehouseMask, 0, sizeof host.session.warehouseMask);
  send(kDocumentScreen, 0, kOpen);
  send(kDocumentScreen, 0, kClose);
}

void Stage::writeFile(const std::string& name, const Bytes& bytes) {
  std::ofstream file(dataDir_ / name, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) broken("the data file " + name + " can be written");
}

std::optional<Bytes> Stage::readFile(const std::string& name) const {
  std::ifstream file(dataDir_ / name, std::ios::binary);
  if (!file) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void Stage::removeFile(const std::string& name) {
  std::error_code ignored;
  std::filesystem::remove(dataDir_ / name, ignored);
}

void broken(const std::string& promise) {
  std::fprintf(stderr, "\n*** broken promise: %s\n", promise.c_str());
  std::abort();
}

void checkHostIntact(const weltor::HostState& host, const std::string& when) {
  const weltor::FileState& files = host.files;
  require(files.openFiles == 0, when + ": every data file opened is closed");
  require(files.liveFileNames == 0, when + ": every FileName constructed is destroyed");
  require(files.strayFileNameCalls == 0, when + ": no FileName call with storage holding none");
  require(files.strayHandleCalls == 0, when + ": no file call with a handle not open");
  require(host.stock.openTableFiles == 0, when + ": every table file opened is closed");
  require(host.items.refusedRecords == 0, when + ": every position record handed in is acceptable");
  for (int i = 0; i < host.items.count && i < weltor::ItemState::kCapacity; ++i)
    for (int at = 2; at < weltor::kItemPositionRecordSize; ++at)
      require(host.items.list[i].position[at] == static_cast<unsigned char>(0xA0 ^ at),
              when + ": a position record comes back with the host's bytes beyond its value");
}

weltor::Table& table(weltor::HostState& host, int32_t id) {
  for (int i = 0; i < host.tables.count; ++i)
    if (host.tables.list[i].id == id) return host.tables.list[i];
  broken("the host has table " + std::to_string(id));
}

namespace {
constexpr int kSuspendedSettingOffset = 76;
}

int16_t defaultWarehouse(const weltor::HostState& host) {
  int16_t value = 0;
  std::memcpy(&value, host.session.settings + weltor::kDefaultWarehouseOffset, sizeof value);
  return value;
}

void setDefaultWarehouse(weltor::HostState& host, int16_t warehouse) {
  std::memcpy(host.session.settings + weltor::kDefaultWarehouseOffset, &warehouse, sizeof warehouse);
}

int16_t suspendedSetting(weltor::HostState& host) {
  int16_t value = 0;
  std::memcpy(&value, table(host, 64).buffer + kSuspendedSettingOffset, sizeof value);
  return value;
}

void setSuspendedSetting(weltor::HostState& host, int16_t setting) {
  std::memcpy(table(host, 64).buffer + kSuspendedSettingOffset, &setting, sizeof setting);
}

void setRestricted(weltor::HostState& host, bool restricted) {
  weltor::SessionState& session = host.session;
  session.restrictionCount = 0;
  if (restricted) session.restrictions[session.restrictionCount++] = {9, 29, 0};
}

void defineWarehouse(weltor::HostState& host, int warehouse, const Bytes& name, bool unterminated) {
  unsigned char* record = host.tables.warehouseRecords[warehouse];
  std::memset(record, 0, weltor::kWarehouseRecordSize);
  constexpr std::size_t room = weltor::kWarehouseRecordSize - weltor::kWarehouseNameAt;
  const std::size_t length = name.size() < room ? name.size() : room;
  if (length > 0) std::memcpy(record + weltor::kWarehouseNameAt, name.data(), length);
  if (unterminated)
    for (std::size_t at = weltor::kWarehouseNameAt + length; at < weltor::kWarehouseRecordSize; ++at)
      record[at] = 'X';
  host.tables.warehouseDefined[warehouse] = true;
}

}  // namespace fuzzing
