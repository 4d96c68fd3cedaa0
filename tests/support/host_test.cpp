#include "support/host_test.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace testing_support {

namespace {

std::filesystem::path freshDirectory() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto path = std::filesystem::temp_directory_path() /
                    ("kamoria-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path);
  return path;
}

template <class T>
T entryOf(Module plugin, uint16_t ordinal) {
  void* found = numberedExport(plugin, ordinal);
  if (found == nullptr) throw std::runtime_error("plug-in lacks entry " + std::to_string(ordinal));
  return reinterpret_cast<T>(found);
}

}  // namespace

void HostTest::SetUp() {
  startDir_ = std::filesystem::current_path();
  dataDir_ = freshDirectory();
  std::filesystem::current_path(dataDir_);
  loadHost("full");
  loadPlugin(PluginBuild::shipped);
}

void HostTest::TearDown() {
  unloadPlugin();
  if (host_ != nullptr) unloadModule(host_);
  host_ = nullptr;
  std::filesystem::current_path(startDir_);
  std::error_code ignored;
  std::filesystem::remove_all(dataDir_, ignored);
}

void HostTest::restart(const std::string& hostName, PluginBuild build) {
  unloadPlugin();
  if (host_ != nullptr) unloadModule(host_);
  host_ = nullptr;
  loadHost(hostName);
  loadPlugin(build);
}

void HostTest::restartWithoutHost(PluginBuild build) {
  unloadPlugin();
  if (host_ != nullptr) unloadModule(host_);
  host_ = nullptr;
  state_ = nullptr;
  ASSERT_FALSE(hostModuleLoaded());
  loadPlugin(build);
}

void HostTest::loadHost(const std::string& hostName) {
  ASSERT_FALSE(hostModuleLoaded()) << "a previous host is still loaded";
  host_ = loadModule(buildDirectory() / "hosts" / hostName / (std::string("WELTOR") + moduleExtension()));
  state_ = reinterpret_cast<WeltorStateFunction>(namedExport(host_, "weltorState"))();
  sendEvent_ = reinterpret_cast<WeltorSendEventFunction>(namedExport(host_, "weltorSendEvent"));
  reinterpret_cast<WeltorResetFunction>(namedExport(host_, "weltorReset"))(dataDir_.string().c_str());
}

std::filesystem::path HostTest::pluginPath(PluginBuild build) const {
  const auto name = std::string("kamoria") + moduleExtension();
  return build == PluginBuild::probe ? buildDirectory() / "probe" / name : buildDirectory() / name;
}

void HostTest::loadPlugin(PluginBuild build) { plugin_ = loadModule(pluginPath(build)); }

void HostTest::unloadPlugin() {
  if (plugin_ != nullptr) unloadModule(plugin_);
  plugin_ = nullptr;
}

int32_t HostTest::entry30001(FeatureFunction featureFunction, char* description) {
  return entryOf<int32_t (*)(FeatureFunction, char*)>(plugin_, 30001)(featureFunction, description);
}
int32_t HostTest::entry30008(int32_t value) {
  return entryOf<int32_t (*)(int32_t)>(plugin_, 30008)(value);
}
int32_t HostTest::entry30009() { return entryOf<int32_t (*)()>(plugin_, 30009)(); }
int32_t HostTest::entry30010(int32_t value) {
  return entryOf<int32_t (*)(int32_t)>(plugin_, 30010)(value);
}

int16_t HostTest::send(int16_t screenId, int16_t argument, int16_t event) {
  return sendEvent_(screenId, argument, event);
}

std::vector<weltor::CallRecord> HostTest::callsTo(uint16_t ordinal) const {
  std::vector<weltor::CallRecord> found;
  const int count = std::min(state_->log.count, weltor::CallLog::kCapacity);
  for (int i = 0; i < count; ++i)
    if (state_->log.calls[i].ordinal == ordinal) found.push_back(state_->log.calls[i]);
  return found;
}

weltor::Table& HostTest::table(int32_t id) {
  for (int i = 0; i < state_->tables.count; ++i)
    if (state_->tables.list[i].id == id) return state_->tables.list[i];
  throw std::runtime_error("the host has no table " + std::to_string(id));
}

namespace {
constexpr int kSuspendedSettingOffset = 76;
}

int16_t HostTest::defaultWarehouse() {
  return weltor::defaultWarehouse(state_->session);
}

void HostTest::setDefaultWarehouse(int16_t warehouse) {
  weltor::setDefaultWarehouse(state_->session, warehouse);
}

int16_t HostTest::suspendedSetting() {
  int16_t value = 0;
  std::memcpy(&value, table(64).buffer + kSuspendedSettingOffset, sizeof value);
  return value;
}

void HostTest::setSuspendedSetting(int16_t setting) {
  std::memcpy(table(64).buffer + kSuspendedSettingOffset, &setting, sizeof setting);
}

std::vector<uint16_t> HostTest::callOrder() const {
  std::vector<uint16_t> order;
  const int count = std::min(state_->log.count, weltor::CallLog::kCapacity);
  for (int i = 0; i < count; ++i) order.push_back(state_->log.calls[i].ordinal);
  return order;
}

}  // namespace testing_support
