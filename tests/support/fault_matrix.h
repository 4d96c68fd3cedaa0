// Host faults, one at a time: a story is played once on a sound host to learn
// which services it calls, then again for each of those services while the
// host lacks it, while it answers with failures, and (where a fault can cross
// the modules) while it throws. Each run starts from a fresh host, plug-in
// and data directory.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/stock_fixture.h"

namespace testing_support {

enum class Fault {
  none,
  missing,            // the host does not export the service
  failsFromTheFirst,  // every call answers 0 / null / nothing read or written
  failsAtTheLast,     // the story's last call of it fails, the earlier ones work
  throwsAtTheFirst,
  throwsAtTheLast,
};

struct FaultCase {
  Fault fault = Fault::none;
  uint16_t ordinal = 0;
  int32_t cleanCalls = 0;  // how often the sound run called the service

  bool hits(uint16_t service) const { return fault != Fault::none && ordinal == service; }
  bool throws() const { return fault == Fault::throwsAtTheFirst || fault == Fault::throwsAtTheLast; }
  // The service never worked during the story.
  bool brokenThroughout() const {
    return fault == Fault::missing || fault == Fault::failsFromTheFirst;
  }
};

std::string describe(const FaultCase& faultCase);

using DataFiles = std::map<std::string, std::string>;

// What one run of a story left behind.
struct StoryRun {
  FaultCase faultCase;
  uint16_t faultReachedTest = 0;  // the ordinal of the host fault the test caught
  DataFiles filesBefore;
};

struct Story {
  // After the fresh start and before the fault is armed.
  std::function<void()> arrange;
  // What the user does; a host fault ends it early.
  std::function<void()> play;
  // What must hold afterwards, beyond what holds for every story.
  std::function<void(const StoryRun&)> check;
};

class FaultMatrix : public StockTest {
 protected:
  // The shipped plug-in: the stories go through its entries and screens only.
  void SetUp() override { HostTest::SetUp(); }

  // The sound run, then every service it called under every fault.
  void playUnderEveryFault(const Story& story);

  DataFiles dataFiles() const;
  std::vector<std::string> shownTexts();
  bool shows(const std::string& text);
  std::string optionsFileBytes() const;

  static constexpr const char* kOptionsFile = "Kamoria.dat";

 private:
  StoryRun playOnce(const Story& story, const FaultCase& faultCase);
  void startAfresh(const FaultCase& faultCase);
  void expectSoundEnding(const StoryRun& run);
};

}  // namespace testing_support
