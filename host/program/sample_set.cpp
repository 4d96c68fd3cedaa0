#include "sample_set.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

#include "item_files.h"
#include "terminal.h"

namespace weltor_program {

namespace {

constexpr const char* kNoteName = "weltor-sample.txt";

bool readNote(const std::filesystem::path& dir, SampleSize& size) {
  std::ifstream note(dir / kNoteName);
  std::string word;
  bool any = false;
  while (note >> word) {
    int32_t value = 0;
    if (!(note >> value)) return false;
    if (word == "warehouses") size.warehouses = value, any = true;
    else if (word == "items") size.items = value;
    else if (word == "link-every") size.linkEvery = value;
  }
  return any && size.warehouses >= 1 && size.warehouses <= 100 && size.items >= 1 && size.items <= 32767;
}

// The sole item's quantity: 12 in warehouse 0, none anywhere else.
bool makeSoleItem(const std::filesystem::path& dir, const SampleSize& size) {
  if (kSoleItem > size.items || (size.linkEvery > 0 && kSoleItem % size.linkEvery == 0)) return true;
  for (int32_t warehouse = 0; warehouse < size.warehouses; ++warehouse) {
    char path[1024];
    weltor::itemFilePath(path, sizeof path, dir.string().c_str(), warehouse, weltor::kItemFilePrefix,
                         weltor::kItemFileExtension);
    std::FILE* file = std::fopen(path, "r+b");
    if (file == nullptr) return false;
    const int32_t quantity = warehouse == 0 ? 12000 : 0;
    const long at = static_cast<long>(kSoleItem - 1) * weltor::kItemRecordSize + weltor::kItemQuantityAt;
    const bool written = std::fseek(file, at, SEEK_SET) == 0 && std::fwrite(&quantity, sizeof quantity, 1, file) == 1;
    if (std::fclose(file) != 0 || !written) return false;
  }
  return true;
}

weltor::SampleShape shapeOf(const SampleSize& size, int32_t warehouses) {
  return weltor::SampleShape{warehouses, size.items, size.linkEvery, 1};
}

}  // namespace

std::string sampleSummary(const std::filesystem::path& dir) {
  SampleSize size;
  if (!readNote(dir, size)) return {};
  return std::to_string(size.warehouses) + " warehouses, " + std::to_string(size.items) + " items each";
}

std::filesystem::path bundledSampleDir() { return programDirectory() / "sample-data"; }

bool writeSampleSet(const std::filesystem::path& hostModule, const std::filesystem::path& dir, SampleSize size,
                    std::string& error) {
  std::error_code failed;
  std::filesystem::create_directories(dir, failed);
  Session session;
  if (!session.start({hostModule, dir, {}}, error)) return false;
  // One warehouse at a time, to show how far it got; the item files already
  // written stay as they are, the link file is written last for all of them.
  Progress progress;
  char linkFile[1024];
  weltor::dataFilePath(linkFile, sizeof linkFile, dir.string().c_str(), weltor::kLinkFileCode);
  for (int32_t count = 1; count <= size.warehouses; ++count) {
    progress.show("sample data: warehouse " + std::to_string(count) + " of " + std::to_string(size.warehouses) +
                  " ...");
    if (count == size.warehouses) std::remove(linkFile);
    if (!session.writeSample(shapeOf(size, count))) {
      error = "cannot write the sample data into " + dir.string();
      return false;
    }
  }
  progress.done();
  std::ofstream note(dir / kNoteName);
  note << "warehouses " << size.warehouses << "\nitems " << size.items << "\nlink-every " << size.linkEvery << "\n";
  if (!note.flush() || !makeSoleItem(dir, size)) {
    error = "cannot finish the sample data in " + dir.string();
    return false;
  }
  return true;
}

bool defineSampleWarehouses(Session& session, std::string& error) {
  SampleSize size;
  if (!readNote(session.place().dataDir, size)) return true;
  if (session.writeSample(shapeOf(size, size.warehouses))) return true;
  error = "cannot read the sample data in " + session.place().dataDir.string();
  return false;
}

ScratchDirectory::ScratchDirectory() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto candidate = base / ("weltor-" + std::to_string(random() % 1000000000u));
    std::error_code failed;
    if (std::filesystem::create_directory(candidate, failed)) path_ = candidate;
  }
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code failed;
  if (!path_.empty()) std::filesystem::remove_all(path_, failed);
}

bool prepareFreshSample(const std::filesystem::path& hostModule, const std::filesystem::path& dir,
                        std::string& error) {
  const auto bundled = bundledSampleDir();
  SampleSize size;
  if (!readNote(bundled, size)) return writeSampleSet(hostModule, dir, SampleSize{}, error);
  Progress progress;
  progress.show("copying the sample data ...");
  std::error_code failed;
  std::filesystem::copy(bundled, dir, std::filesystem::copy_options::recursive, failed);
  if (failed) {
    error = "cannot copy " + bundled.string() + " to " + dir.string() + ": " + failed.message();
    return false;
  }
  return true;
}

}  // namespace weltor_program
