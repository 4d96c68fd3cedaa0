#include "item_files.h"

#include <cstring>

namespace weltor {

void itemFilePath(char* path, std::size_t size, const char* dataDir, int32_t warehouse,
                  const char* prefix, const char* extension) {
  std::snprintf(path, size, "%s/%s%02d%s", dataDir, prefix != nullptr ? prefix : "",
                static_cast<int>(warehouse), extension != nullptr ? extension : "");
}

void dataFilePath(char* path, std::size_t size, const char* dataDir, int32_t fileCode) {
  std::snprintf(path, size, "%s/TAB%03d.DAT", dataDir, static_cast<int>(fileCode));
}

int recordSizeOfFileCode(int32_t fileCode) {
  switch (fileCode) {
    case kItemFileCode: return kItemRecordSize;
    case kLinkFileCode: return kLinkRecordSize;
    default: return 0;
  }
}

namespace {

int16_t itemNumberOf(const unsigned char* record) {
  int16_t number = 0;
  std::memcpy(&number, record + kItemNumberAt, sizeof number);
  return number;
}

}  // namespace

bool readItemByNumber(std::FILE* file, int16_t itemNo, unsigned char* record) {
  unsigned char candidate[kItemRecordSize];
  if (itemNo > 0 && std::fseek(file, static_cast<long>(itemNo - 1) * kItemRecordSize, SEEK_SET) == 0 &&
      std::fread(candidate, kItemRecordSize, 1, file) == 1 && itemNumberOf(candidate) == itemNo) {
    std::memcpy(record, candidate, kItemRecordSize);
    return true;
  }
  std::rewind(file);
  while (std::fread(candidate, kItemRecordSize, 1, file) == 1) {
    if (itemNumberOf(candidate) != itemNo) continue;
    std::memcpy(record, candidate, kItemRecordSize);
    return true;
  }
  return false;
}

}  // namespace weltor
