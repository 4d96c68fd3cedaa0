// The sample data set: generated once by the build next to the program, and
// copied fresh for every demo, play or interactive run, so the bundled set is
// never changed by what a run does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "session.h"

namespace weltor_program {

struct SampleSize {
  int32_t warehouses = 10;
  int32_t items = 3000;
  int32_t linkEvery = 7;
};

// A new product that only warehouse 0 stocks: the lookup finds it nowhere else.
inline constexpr int32_t kSoleItem = 1000;

// The directory the build generates the sample into, next to the program.
std::filesystem::path bundledSampleDir();

// Writes a sample data set into `dir` with the host module, and a note of its
// size that later runs read to define its warehouses.
bool writeSampleSet(const std::filesystem::path& hostModule, const std::filesystem::path& dir, SampleSize size,
                    std::string& error);

// When the session's data directory holds a sample's note, the host defines
// the sample's warehouses (they live in the host's memory, not in files).
bool defineSampleWarehouses(Session& session, std::string& error);

// "10 warehouses, 3000 items each" for a directory with a sample's note, else "".
std::string sampleSummary(const std::filesystem::path& dir);

// A new directory under the system's temporary directory, removed with it.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Fills `dir` with a copy of the bundled sample, or, when the build made
// none, with a sample generated on the spot.
bool prepareFreshSample(const std::filesystem::path& hostModule, const std::filesystem::path& dir,
                        std::string& error);

}  // namespace weltor_program
