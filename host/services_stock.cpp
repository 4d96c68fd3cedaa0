// Item files, the bar-code link file and the item lists.
#include <cstdio>
#include <cstring>

#include "item_files.h"
#include "services.h"

namespace weltor {

namespace {

constexpr int16_t kItemListCode = 0x4001;
constexpr int kPathSize = 264;  // what callers of the path services provide
constexpr int16_t kItemListScreens[] = {147, 397, 742, 780, 2171, 2201, 3044};

// The host's layout of a table-file object, in the caller's 192 bytes. The
// word at 188 says whether a file is attached; everything else is only
// meaningful while it is.
constexpr std::size_t kFileAt = 0;
constexpr std::size_t kFileCodeAt = 16;
constexpr std::size_t kOpenWordAt = 188;
constexpr uint32_t kOpenWord = 0x4E45504F;

struct TableFileView {
  unsigned char* object;

  bool open() const {
    uint32_t word = 0;
    std::memcpy(&word, object + kOpenWordAt, sizeof word);
    return word == kOpenWord;
  }
  std::FILE* file() const {
    std::FILE* file = nullptr;
    std::memcpy(&file, object + kFileAt, sizeof file);
    return file;
  }
  int32_t fileCode() const {
    int32_t code = 0;
    std::memcpy(&code, object + kFileCodeAt, sizeof code);
    return code;
  }
  void attach(std::FILE* file, int32_t code) {
    std::memcpy(object + kFileAt, &file, sizeof file);
    std::memcpy(object + kFileCodeAt, &code, sizeof code);
    std::memcpy(object + kOpenWordAt, &kOpenWord, sizeof kOpenWord);
    ++state().stock.openTableFiles;
  }
  void detach() {
    if (!open()) return;
    std::fclose(file());
    const uint32_t closed = 0;
    std::memcpy(object + kOpenWordAt, &closed, sizeof closed);
    --state().stock.openTableFiles;
  }
};

// The host's own paths: the link file has one name, item files another kind.
bool pathFitsFileCode(int32_t fileCode, const char* path) {
  char linkPath[kPathSize];
  dataFilePath(linkPath, sizeof linkPath, state().dataDir, kLinkFileCode);
  const bool isLinkFile = std::strcmp(path, linkPath) == 0;
  return fileCode == kLinkFileCode ? isLinkFile : !isLinkFile;
}

int32_t tableOfFileCode(int32_t fileCode) {
  switch (fileCode) {
    case kItemFileCode: return 49;
    case kLinkFileCode: return 117;
    default: return 0;
  }
}

// The record of an item of a warehouse, as the host keeps it in the item file.
bool loadItem(int16_t warehouse, int16_t itemNo, unsigned char* record) {
  if (warehouse < 0 || record == nullptr) return false;
  char path[kPathSize];
  itemFilePath(path, sizeof path, state().dataDir, warehouse, kItemFilePrefix, kItemFileExtension);
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  const bool found = readItemByNumber(file, itemNo, record);
  std::fclose(file);
  return found;
}

ItemList* knownList(void* listItem) {
  StockState& stock = state().stock;
  for (int i = 0; i < stock.listCount; ++i)
    if (&stock.lists[i] == listItem) return &stock.lists[i];
  return nullptr;
}

// The item under a list's cursor, in the current warehouse.
bool loadItemUnderCursor(void* listItem, unsigned char* record) {
  const ItemList* list = knownList(listItem);
  if (list == nullptr || list->cursorItemNo == 0) return false;
  return loadItem(state().session.currentWarehouse, list->cursorItemNo, record);
}

void copyInto(char* target, std::size_t size, const char* text) {
  std::snprintf(target, size, "%s", text != nullptr ? text : "");
}

}  // namespace

void resetStock(HostState& host) {
  StockState& stock = host.stock;
  for (const int16_t screenId : kItemListScreens) stock.lists[stock.listCount++] = ItemList{screenId, 0};
}

int32_t warehouseFilePath(int32_t warehouse, char* path, const char* prefix, const char* extension, int32_t) {
  if (path == nullptr) return 0;
  itemFilePath(path, kPathSize, state().dataDir, warehouse, prefix, extension);
  return 1;
}

int32_t tableFilePath(int32_t fileCode, TableRef**, char* path, int32_t) {
  if (path == nullptr) return 0;
  dataFilePath(path, kPathSize, state().dataDir, fileCode);
  return 1;
}

int32_t tableOpen(void* tableFile, int32_t, int32_t fileCode, const char* path, int32_t, int32_t) {
  if (tableFile == nullptr) return 0;
  TableFileView view{static_cast<unsigned char*>(tableFile)};
  view.detach();
  if (path == nullptr || tableOfFileCode(fileCode) == 0) return 0;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return 0;
  if (!pathFitsFileCode(fileCode, path)) ++state().stock.strayTableOpens;
  view.attach(file, fileCode);
  return 1;
}

int32_t tableReadNext(void* tableFile) {
  if (tableFile == nullptr) return 0;
  const TableFileView view{static_cast<unsigned char*>(tableFile)};
  if (!view.open()) return 0;
  const Table* table = findTable(tableOfFileCode(view.fileCode()));
  const int recordSize = recordSizeOfFileCode(view.fileCode());
  if (table == nullptr || table->bufferSize < recordSize) return 0;
  return std::fread(table->buffer, static_cast<std::size_t>(recordSize), 1, view.file()) == 1 ? 1 : 0;
}

int32_t tableClose(void* tableFile) {
  if (tableFile != nullptr) TableFileView{static_cast<unsigned char*>(tableFile)}.detach();
  return 0;
}

int32_t tableObjectRelease(void* tableFile) { return tableClose(tableFile); }

int32_t loadItemRecord(int32_t, int32_t) {
  Table* items = findTable(49);
  if (items == nullptr || items->bufferSize < kItemRecordSize) return 0;
  const SessionState& session = state().session;
  return loadItem(session.currentWarehouse, static_cast<int16_t>(session.currentItemNo), items->buffer) ? 1 : 0;
}

int32_t textCompare(const char* left, const char* right, int32_t limit) {
  if (left == nullptr || right == nullptr) return left == right ? 0 : 1;
  if (limit <= 0) return 0;
  return std::strncmp(left, right, static_cast<std::size_t>(limit));
}

int32_t copyText(char* destination, const char* source, int32_t limit) {
  if (destination == nullptr) return 0;
  int32_t copied = 0;
  if (source != nullptr)
    for (; copied < limit && source[copied] != '\0'; ++copied) destination[copied] = source[copied];
  destination[copied] = '\0';
  return copied;
}

// Lines end the host's way, with CR LF; a bare name is the current directory's.
int32_t appendLine(const char* fileName, const char* line) {
  if (fileName == nullptr || line == nullptr) return 0;
  std::FILE* file = std::fopen(fileName, "ab");
  if (file == nullptr) return 0;
  const bool written = std::fputs(line, file) >= 0 && std::fputs("\r\n", file) >= 0;
  return std::fclose(file) == 0 && written ? 1 : 0;
}

int32_t resyncHost() {
  ++state().stock.resyncCount;
  return 0;
}

void* getScreenItem(int16_t itemCode) {
  if (itemCode != kItemListCode) return nullptr;
  StockState& stock = state().stock;
  for (int i = 0; i < stock.listCount; ++i)
    if (stock.lists[i].screenId == state().screens.current) return &stock.lists[i];
  return nullptr;
}

int32_t fseek_lista(void* listItem, int32_t, int32_t, int32_t) {
  Table* items = findTable(49);
  if (items == nullptr || items->bufferSize < kItemRecordSize) return 0;
  return loadItemUnderCursor(listItem, items->buffer) ? 1 : 0;
}

int32_t fseek_lista_new(void* recordBuffer, int32_t, void* listItem) {
  return loadItemUnderCursor(listItem, static_cast<unsigned char*>(recordBuffer)) ? 1 : 0;
}

// The window lists the file's lines; the host keeps what it shows.
int32_t showFileList(const char* fileName, const char* columns, int32_t, const char* title, int32_t windowId) {
  FileListWindow& window = state().stock.window;
  ++window.shownCount;
  copyInto(window.fileName, sizeof window.fileName, fileName);
  copyInto(window.columns, sizeof window.columns, columns);
  copyInto(window.title, sizeof window.title, title);
  window.windowId = windowId;
  window.lineCount = 0;
  std::FILE* file = fileName != nullptr ? std::fopen(fileName, "rb") : nullptr;
  if (file == nullptr) return 0;
  // A line longer than the buffer comes in pieces; the window shows its start.
  char piece[2048];
  bool atLineStart = true;
  while (std::fgets(piece, sizeof piece, file) != nullptr) {
    const std::size_t length = std::strlen(piece);
    const bool lineEnds = length > 0 && piece[length - 1] == '\n';
    if (atLineStart) {
      piece[std::strcspn(piece, "\r\n")] = '\0';
      if (window.lineCount < FileListWindow::kLineCapacity)
        copyInto(window.lines[window.lineCount], FileListWindow::kLineWidth, piece);
      ++window.lineCount;
    }
    atLineStart = lineEnds;
  }
  std::fclose(file);
  return 1;
}

}  // namespace weltor
