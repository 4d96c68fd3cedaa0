// Host state: data files (findDataFile, FileName, fileRead/fileWrite/fileClose).
#pragma once

#include <cstdint>

namespace weltor {

struct FileState {
  int32_t openFiles;  // handles given out and not yet closed
};

}  // namespace weltor
