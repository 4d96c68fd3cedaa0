// Host state: data files (findDataFile, FileName, fileRead/fileWrite/fileClose).
#pragma once

#include <cstdint>

namespace weltor {

inline constexpr int kDataFilePathSize = 400;
inline constexpr int kDataFileModeSize = 8;

// Where findDataFile found a name: the value the FileName constructor takes.
struct DataFileLocation {
  char path[kDataFilePathSize];
  char mode[kDataFileModeSize];
};

struct FileState {
  DataFileLocation found;  // the last name resolved; overwritten by the next one
  int32_t liveFileNames;   // FileName objects constructed and not yet destroyed
  int32_t strayFileNameCalls;  // opens or destroys of storage holding no live FileName
  int32_t openFiles;       // handles given out and not yet closed
  int32_t opened;          // handles given out since the reset
  int32_t strayHandleCalls;    // reads, writes or closes of a handle not open
  // Disk trouble on demand: the next open for writing fails, and the next
  // fileWrite stores only this many bytes (negative: the whole buffer).
  bool failNextWriteOpen;
  int32_t shortWriteBytes;
  static constexpr int kHandleCapacity = 16;
  void* handles[kHandleCapacity];  // the open FILE*s
};

}  // namespace weltor
