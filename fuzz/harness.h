// What every fuzz target shares: the substitute host and the plug-in loaded
// once for the whole run, a fresh story for every input, the fuzzer's bytes
// read front to back, and the promises every story must keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "weltor.h"

namespace fuzzing {

using Bytes = std::vector<unsigned char>;

// The fuzzer's bytes, taken in order; once they run out every value is 0,
// so a short input is still a whole story.
class Input {
 public:
  Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  uint8_t byte() { return empty() ? 0 : data_[at_++]; }
  bool flag() { return (byte() & 1) != 0; }
  uint16_t u16() { return static_cast<uint16_t>(byte() | byte() << 8); }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  int32_t i32() { return static_cast<int32_t>(u16() | static_cast<uint32_t>(u16()) << 16); }
  // Up to `count` bytes, fewer when the input ends first.
  Bytes bytes(std::size_t count);
  // A length byte and that many bytes.
  Bytes text() { return bytes(byte()); }
  // Everything not taken yet.
  Bytes rest() { return bytes(size_ - (at_ < size_ ? at_ : size_)); }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// One host screen event's codes.
inline constexpr int16_t kOpen = -2;
inline constexpr int16_t kKey = 1;
inline constexpr int16_t kClose = 2;
inline constexpr int16_t kDocumentScreen = 815;
inline constexpr int16_t kItemListScreens[] = {2171, 147, 780, 2201, 397, 3044, 742};
inline constexpr int16_t kKeyTaken = -2;

inline constexpr const char* kOptionsFile = "Kamoria.dat";
// The stock lookup's result file: a bare name, so the host writes it in the
// current directory (where the fuzzer runs), not in the data directory.
inline constexpr const char* kResultFile = "Kamoria_info_mag.csv";

// The substitute host and the plug-in, loaded into this process on first use
// and kept for the whole run: the fuzzer's coverage counters live in them.
class Stage {
 public:
  static Stage& get();

  weltor::HostState& host() { return *state_; }

  // A freshly started host on the data directory with the plug-in activated
  // in it (entries 30001 and 30008), and an empty call log.
  void begin();
  // Leaves the plug-in as a fresh load would have it (no lock held, an empty
  // mask snapshot, no key pushed) so that one story cannot shape the next.
  void settle();

  int16_t send(int16_t screenId, int16_t argument, int16_t event) { return sendEvent_(screenId, argument, event); }
  int32_t configure() { return entry30010_(0); }

  const std::filesystem::path& dataDir() const { return dataDir_; }
  void writeFile(const std::string& name, const Bytes& bytes);
  std::optional<Bytes> readFile(const std::string& name) const;
  void removeFile(const std::string& name);

 private:
  Stage();
  weltor::HostState* state_ = nullptr;
  WeltorResetFunction reset_ = nullptr;
  WeltorSendEventFunction sendEvent_ = nullptr;
  FeatureFunction featureCheck_ = nullptr;
  int32_t (*entry30001_)(FeatureFunction, char*) = nullptr;
  int32_t (*entry30008_)(int32_t) = nullptr;
  int32_t (*entry30010_)(int32_t) = nullptr;
  std::filesystem::path dataDir_;
};

// A broken promise: says which and ends the run, so the fuzzer keeps the input.
[[noreturn]] void broken(const std::string& promise);
inline void require(bool kept, const std::string& promise) {
  if (!kept) broken(promise);
}

// What holds after every step of every story: every file, file name and table
// file the plug-in opened is given back, no call reached the host with an
// object it never handed out, and the host's item position records came back
// untouched except for their position value.
void checkHostIntact(const weltor::HostState& host, const std::string& when);

// The host's table by id (the host always has the four the plug-in knows).
weltor::Table& table(weltor::HostState& host, int32_t id);

int16_t defaultWarehouse(const weltor::HostState& host);
void setDefaultWarehouse(weltor::HostState& host, int16_t warehouse);
int16_t suspendedSetting(weltor::HostState& host);
void setSuspendedSetting(weltor::HostState& host, int16_t setting);
void setRestricted(weltor::HostState& host, bool restricted);

// A warehouse definition (table 48 record) with this name; an unterminated
// name fills the record to its end.
void defineWarehouse(weltor::HostState& host, int warehouse, const Bytes& name, bool unterminated);

}  // namespace fuzzing
