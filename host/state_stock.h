// Host state: item files, the bar-code link file and the item lists.
#pragma once

#include <cstdint>

namespace weltor {

// An item list on a screen: the list window shows the current warehouse's
// items, and the cursor stands on one item number (0: the list is empty).
struct ItemList {
  int16_t screenId;
  int16_t cursorItemNo;
};

// The list window that showFileList opened last, with the lines it shows.
struct FileListWindow {
  static constexpr int kLineCapacity = 128;
  static constexpr int kLineWidth = 256;
  int32_t shownCount;  // windows opened so far
  char fileName[264];
  char columns[64];
  char title[96];
  int32_t windowId;
  int32_t lineCount;   // lines the file had, also past the capacity
  char lines[kLineCapacity][kLineWidth];  // without their line ends
};

struct StockState {
  static constexpr int kListCapacity = 8;
  ItemList lists[kListCapacity];
  int32_t listCount;
  FileListWindow window;
  int32_t openTableFiles;     // table files open right now
  // Files opened under a file code that is not theirs: an item file read as
  // the link file, or the link file as an item file.
  int32_t strayTableOpens;
  int32_t resyncCount;
};

}  // namespace weltor
