// Data files of the host's data directory.
#include <cstdio>
#include <cstring>
#include <new>

#include "services.h"

namespace weltor {

namespace {

// What the host keeps in the FileName storage a caller hands it.
constexpr uint32_t kLiveFileName = 0x464E414DU;
struct FileNameObject {
  uint32_t tag;
  char path[kDataFilePathSize];
  char mode[kDataFileModeSize];
};
static_assert(sizeof(FileNameObject) <= kamoria::kFileNameStorageSize);
static_assert(alignof(FileNameObject) <= kamoria::kHostObjectAlignment);

FileNameObject* liveFileName(void* storage) {
  auto* object = static_cast<FileNameObject*>(storage);
  if (object == nullptr || object->tag != kLiveFileName) {
    ++state().files.strayFileNameCalls;
    return nullptr;
  }
  return object;
}

bool writes(const char* mode) {
  return std::strpbrk(mode, "wa+") != nullptr;
}

// The slot of an open handle, or -1: calls with anything else are refused.
int handleSlot(void* file) {
  FileState& files = state().files;
  if (file != nullptr)
    for (int i = 0; i < FileState::kHandleCapacity; ++i)
      if (files.handles[i] == file) return i;
  ++files.strayHandleCalls;
  return -1;
}

}  // namespace

void resetFiles(HostState& host) { host.files.shortWriteBytes = -1; }

void* findDataFile(const char* name, const char* mode, int32_t, int32_t, int32_t, int32_t, int32_t,
                   int32_t, int32_t) {
  if (name == nullptr || mode == nullptr) return nullptr;
  HostState& host = state();
  DataFileLocation& found = host.files.found;
  const int pathLength = std::snprintf(found.path, sizeof found.path, "%s/%s", host.dataDir, name);
  const int modeLength = std::snprintf(found.mode, sizeof found.mode, "%s", mode);
  if (pathLength < 0 || pathLength >= kDataFilePathSize || modeLength < 0 || modeLength >= kDataFileModeSize)
    return nullptr;
  return &found;
}

void* fileNameConstruct(void* storage, void* found) {
  if (storage == nullptr) return nullptr;
  auto* object = new (storage) FileNameObject{};
  object->tag = kLiveFileName;
  // Nothing found: a name that no open can satisfy.
  if (const auto* location = static_cast<const DataFileLocation*>(found)) {
    std::memcpy(object->path, location->path, sizeof object->path);
    std::memcpy(object->mode, location->mode, sizeof object->mode);
  }
  ++state().files.liveFileNames;
  return storage;
}

void* fileNameOpen(void* fileName) {
  const FileNameObject* object = liveFileName(fileName);
  if (object == nullptr || object->path[0] == '\0') return nullptr;
  FileState& files = state().files;
  if (writes(object->mode) && files.failNextWriteOpen) {
    files.failNextWriteOpen = false;
    return nullptr;
  }
  int slot = 0;
  while (slot < FileState::kHandleCapacity && files.handles[slot] != nullptr) ++slot;
  if (slot == FileState::kHandleCapacity) return nullptr;
  std::FILE* file = std::fopen(object->path, object->mode);
  if (file == nullptr) return nullptr;
  files.handles[slot] = file;
  ++files.openFiles;
  ++files.opened;
  return file;
}

void fileNameDestroy(void* fileName) {
  FileNameObject* object = liveFileName(fileName);
  if (object == nullptr) return;
  object->tag = 0;
  --state().files.liveFileNames;
}

int32_t fileRead(void* buffer, int32_t elementSize, int32_t elementCount, void* file) {
  if (handleSlot(file) < 0 || buffer == nullptr || elementSize <= 0 || elementCount <= 0) return 0;
  return static_cast<int32_t>(std::fread(buffer, static_cast<std::size_t>(elementSize),
                                         static_cast<std::size_t>(elementCount), static_cast<std::FILE*>(file)));
}

int32_t fileWrite(const void* buffer, int32_t elementSize, int32_t elementCount, void* file) {
  if (handleSlot(file) < 0 || buffer == nullptr || elementSize <= 0 || elementCount <= 0) return 0;
  FileState& files = state().files;
  const std::size_t whole = static_cast<std::size_t>(elementSize) * static_cast<std::size_t>(elementCount);
  std::size_t stored = whole;
  if (files.shortWriteBytes >= 0) {
    if (static_cast<std::size_t>(files.shortWriteBytes) < whole) stored = static_cast<std::size_t>(files.shortWriteBytes);
    files.shortWriteBytes = -1;
  }
  const std::size_t written = std::fwrite(buffer, 1, stored, static_cast<std::FILE*>(file));
  return static_cast<int32_t>(written / static_cast<std::size_t>(elementSize));
}

int32_t fileClose(void* file) {
  const int slot = handleSlot(file);
  if (slot < 0) return -1;
  FileState& files = state().files;
  files.handles[slot] = nullptr;
  --files.openFiles;
  return std::fclose(static_cast<std::FILE*>(file)) == 0 ? 0 : -1;
}

}  // namespace weltor
