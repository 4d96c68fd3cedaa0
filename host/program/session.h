// One run of the substitute host: WELTOR and the plug-in loaded into this
// process, and the calls the host makes into the plug-in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "loader.h"
#include "sample_data.h"
#include "weltor.h"

namespace weltor_program {

struct SessionPlace {
  std::filesystem::path hostModule;  // .../hosts/<name>/WELTOR.so or .dll
  std::filesystem::path dataDir;
  std::filesystem::path pluginFile;
};

class Session {
 public:
  Session() = default;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session() { stop(); }

  // Loads WELTOR, resets it onto the data directory, then loads the plug-in.
  // On failure `error` says why.
  bool start(const SessionPlace& place, std::string& error);
  void stop();
  weltor::HostState& host() { return *state_; }
  const SessionPlace& place() const { return place_; }

  // The plug-in's entries, called as the host calls them.
  int32_t describe(std::string& description);  // 30001 with the feature function
  void activate();                             // 30008 with 0
  void report();                               // 30008 with 1
  int32_t configure();                         // 30010
  void unload();                               // 30001 without a feature function
  int16_t sendEvent(int16_t screen, int16_t argument, int16_t event);
  bool writeSample(const weltor::SampleShape& shape);

  // The host's names and numbers, read from its state.
  std::string warehouseName(int warehouse);  // UTF-8; empty when not defined
  int16_t defaultWarehouse();
  void setDefaultWarehouse(int16_t warehouse);
  weltor::ItemList* itemList(int screen);
  // Table 64's setting that the warehouse lock clears (byte 76 of its record).
  unsigned char* suspendedSetting();

 private:
  SessionPlace place_;
  Module host_ = nullptr;
  Module plugin_ = nullptr;
  weltor::HostState* state_ = nullptr;
  WeltorSendEventFunction sendEvent_ = nullptr;
  WeltorWriteSampleDataFunction writeSample_ = nullptr;
};

// Where the program finds what the build put next to it.
std::filesystem::path defaultPluginFile();
std::filesystem::path hostModuleFile(const std::string& hostName);

}  // namespace weltor_program
