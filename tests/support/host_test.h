// The fixture every story starts from: a freshly started substitute host in
// an empty data directory, with the plug-in loaded into it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/modules.h"
#include "weltor.h"

namespace testing_support {

enum class PluginBuild { shipped, probe };

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts over with another host (one of hosts/<name>) and plug-in build.
  void restart(const std::string& hostName, PluginBuild build = PluginBuild::shipped);
  // Starts over with no host module in the process at all.
  void restartWithoutHost(PluginBuild build = PluginBuild::shipped);

  weltor::HostState& host() { return *state_; }
  const std::filesystem::path& dataDir() const { return dataDir_; }

  // The plug-in's entries, called by number.
  int32_t entry30001(FeatureFunction featureFunction, char* description);
  int32_t entry30008(int32_t value);
  int32_t entry30009();
  int32_t entry30010(int32_t value);

  // One event to a screen, as the host delivers it.
  int16_t send(int16_t screenId, int16_t argument, int16_t event);

  // The host's log of calls to one service, in order.
  std::vector<weltor::CallRecord> callsTo(uint16_t ordinal) const;
  std::vector<uint16_t> callOrder() const;
  void clearLog() { state_->log.count = 0; }

  // A table of the host by id; throws when the host has none.
  weltor::Table& table(int32_t id);
  // The host values the warehouse lock changes: the default warehouse in the
  // settings record and table 64's setting.
  int16_t defaultWarehouse();
  void setDefaultWarehouse(int16_t warehouse);
  int16_t suspendedSetting();
  void setSuspendedSetting(int16_t setting);

  // A named export of the probe build.
  template <class T>
  T probe(const char* name) const {
    void* found = plugin_ != nullptr ? namedExport(plugin_, name) : nullptr;
    if (found == nullptr) throw std::runtime_error(std::string("no probe ") + name);
    return reinterpret_cast<T>(found);
  }

  Module hostModule() const { return host_; }
  Module pluginModule() const { return plugin_; }
  std::filesystem::path pluginPath(PluginBuild build) const;

  // Bytes of a text shown by the host, for exact comparisons.
  static std::string bytes(const char* text) { return text; }

 private:
  void loadHost(const std::string& hostName);
  void loadPlugin(PluginBuild build);
  void unloadPlugin();

  Module host_ = nullptr;
  Module plugin_ = nullptr;
  weltor::HostState* state_ = nullptr;
  WeltorSendEventFunction sendEvent_ = nullptr;
  std::filesystem::path dataDir_;
  std::filesystem::path startDir_;
};

}  // namespace testing_support
