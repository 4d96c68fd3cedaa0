// Item files, the bar-code link file and warehouse definitions, whatever
// their contents and sizes, into the stock lookup on one of the seven item
// lists. The lookup must give the host back what it borrowed (the item
// record, the current warehouse, the current item number), close whatever it
// opened, answer with one window or its notice, and list what the files
// hold: each other warehouse's stock of the item, found by bar code and
// through the links.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "harness.h"
#include "item_files.h"

namespace {

using namespace fuzzing;

// In the order of kItemListScreens: F11, except Ctrl-9 on 3044 and Ctrl-F6 on 742.
constexpr int16_t kF11 = static_cast<int16_t>(0x8500);
constexpr int16_t kHotKeys[] = {kF11, kF11, kF11, kF11, kF11, 0x00EF, 0x6300};

std::string itemFileName(int warehouse) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%02d%s", weltor::kItemFilePrefix, warehouse, weltor::kItemFileExtension);
  return name;
}

std::string linkFileName() {
  char name[32];
  std::snprintf(name, sizeof name, "TAB%03d.DAT", weltor::kLinkFileCode);
  return name;
}

// A text at `at`: the input's bytes, and when unterminated the rest of the
// field (up to `end`) filled so that no 0 byte follows.
void putText(Bytes& record, std::size_t at, std::size_t end, const Bytes& text, bool unterminated) {
  std::size_t length = text.size() < end - at ? text.size() : end - at;
  if (length > 0) std::memcpy(record.data() + at, text.data(), length);
  if (unterminated)
    for (std::size_t i = at + length; i < end; ++i) record[i] = '#';
}

Bytes itemRecordFrom(Input& input) {
  Bytes record(weltor::kItemRecordSize, 0);
  const int16_t itemNo = input.i16();
  const int32_t quantity = input.i32();
  const uint8_t flags = input.byte();
  const Bytes barcode = input.text();
  const Bytes unit = input.text();
  // An unterminated bar code runs on to the record's end.
  putText(record, weltor::kItemBarcodeAt, (flags & 1) != 0 ? weltor::kItemRecordSize : weltor::kItemUnitAt,
          barcode, (flags & 1) != 0);
  putText(record, weltor::kItemUnitAt, weltor::kItemQuantityAt, unit, (flags & 2) != 0);
  std::memcpy(record.data() + weltor::kItemQuantityAt, &quantity, sizeof quantity);
  std::memcpy(record.data() + weltor::kItemNumberAt, &itemNo, sizeof itemNo);
  return record;
}

Bytes linkRecordFrom(Input& input) {
  Bytes record(weltor::kLinkRecordSize, 0);
  const int16_t warehouse = input.i16();
  const int16_t itemNo = input.i16();
  const uint8_t flags = input.byte();
  putText(record, weltor::kLinkBarcodeAt,
          (flags & 1) != 0 ? weltor::kLinkRecordSize : static_cast<std::size_t>(weltor::kLinkWarehouseAt),
          input.text(), (flags & 1) != 0);
  if ((flags & 1) == 0) {
    std::memcpy(record.data() + weltor::kLinkWarehouseAt, &warehouse, sizeof warehouse);
    std::memcpy(record.data() + weltor::kLinkItemNumberAt, &itemNo, sizeof itemNo);
  }
  return record;
}

// A file cut short: a few bytes of one more record.
void appendTail(Bytes& file, Input& input) {
  const uint8_t tail = input.byte();
  file.insert(file.end(), tail, static_cast<unsigned char>(tail));
}

// What the host puts into the item record when the list's cursor stands on
// an item: the record as the host itself would read it, or nothing.
std::optional<Bytes> cursorRecord(const weltor::HostState& host, int16_t cursorItemNo) {
  if (cursorItemNo == 0 || host.session.currentWarehouse < 0) return std::nullopt;
  char path[512];
  weltor::itemFilePath(path, sizeof path, host.dataDir, host.session.currentWarehouse, weltor::kItemFilePrefix,
                       weltor::kItemFileExtension);
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return std::nullopt;
  Bytes record(weltor::kItemRecordSize);
  const bool found = weltor::readItemByNumber(file, cursorItemNo, record.data());
  std::fclose(file);
  if (!found) return std::nullopt;
  return record;
}

std::set<std::string> writtenLastTime;

// ---- what the lookup should write, worked out from the files directly ----

Bytes fileBytes(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {};
  Bytes bytes;
  unsigned char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return bytes;
}

int16_t int16At(const unsigned char* record, std::size_t at) {
  int16_t value = 0;
  std::memcpy(&value, record + at, sizeof value);
  return value;
}

int32_t int32At(const unsigned char* record, std::size_t at) {
  int32_t value = 0;
  std::memcpy(&value, record + at, sizeof value);
  return value;
}

// Texts compare as the host's textCompare does, no further than the record.
bool sameCode(const unsigned char* left, const unsigned char* right, std::size_t limit) {
  return std::strncmp(reinterpret_cast<const char*>(left), reinterpret_cast<const char*>(right), limit) == 0;
}

std::string unitOf(const unsigned char* record) {
  std::string unit;
  for (std::size_t i = 0; i < 5 && record[weltor::kItemUnitAt + i] != 0; ++i)
    unit.push_back(static_cast<char>(record[weltor::kItemUnitAt + i]));
  return unit;
}

struct Total {
  int64_t quantity = 0;
  int16_t itemNo = 0;
  std::string unit;
};

// The result file for the item `record`, with the host on `current`: each
// other warehouse's last record with the bar code, then the links' other
// items added, one line for each warehouse whose total is not 0.
std::string expectedResult(const weltor::HostState& host, const Bytes& record, int16_t current) {
  const std::string dir = host.dataDir;
  const unsigned char* code = record.data() + weltor::kItemBarcodeAt;
  constexpr std::size_t itemCodeRoom = weltor::kItemRecordSize - weltor::kItemBarcodeAt;
  Total totals[100];
  for (int warehouse = 0; warehouse < 100; ++warehouse) {
    if (warehouse == current) continue;
    const Bytes file = fileBytes(dir + "/" + itemFileName(warehouse));
    for (std::size_t at = 0; at + weltor::kItemRecordSize <= file.size(); at += weltor::kItemRecordSize) {
      const unsigned char* item = file.data() + at;
      if (!sameCode(code, item + weltor::kItemBarcodeAt, itemCodeRoom)) continue;
      totals[warehouse] = {int32At(item, weltor::kItemQuantityAt), int16At(item, weltor::kItemNumberAt), unitOf(item)};
    }
  }
  const Bytes links = fileBytes(dir + "/" + linkFileName());
  for (std::size_t at = 0; at + weltor::kLinkRecordSize <= links.size(); at += weltor::kLinkRecordSize) {
    const unsigned char* link = links.data() + at;
    const int16_t warehouse = int16At(link, weltor::kLinkWarehouseAt);
    const int16_t itemNo = int16At(link, weltor::kLinkItemNumberAt);
    if (warehouse < 0 || warehouse >= 100 || warehouse == current) continue;
    if (!sameCode(code, link + weltor::kLinkBarcodeAt, weltor::kLinkRecordSize)) continue;
    Total& total = totals[warehouse];
    if (itemNo == total.itemNo) continue;
    std::FILE* file = std::fopen((dir + "/" + itemFileName(warehouse)).c_str(), "rb");
    if (file == nullptr) continue;
    unsigned char linked[weltor::kItemRecordSize];
    const bool found = weltor::readItemByNumber(file, itemNo, linked);
    std::fclose(file);
    if (!found) continue;
    total.quantity += int32At(linked, weltor::kItemQuantityAt);
    if (total.unit.empty()) total.unit = unitOf(linked);
  }
  std::string lines;
  for (int warehouse = 0; warehouse < 100; ++warehouse) {
    const Total& total = totals[warehouse];
    if (total.quantity == 0) continue;
    std::string name;
    if (host.tables.warehouseDefined[warehouse]) {
      const unsigned char* definition = host.tables.warehouseRecords[warehouse];
      for (std::size_t i = weltor::kWarehouseNameAt; i < weltor::kWarehouseRecordSize && definition[i] != 0; ++i)
        name.push_back(static_cast<char>(definition[i]));
    }
    char line[1024];
    std::snprintf(line, sizeof line, "%s\t%0.3f %s", name.c_str(), static_cast<double>(total.quantity) / 1000.0,
                  total.unit.c_str());
    lines += line;
    lines += "\r\n";
  }
  return lines;
}

}  // namespace

// Input: the list (screen and whether the key is its hot key), the current
// warehouse, the current item number, the cursor's item number, then the
// item files (a count; each: warehouse, records, a short tail), the link
// file (a count of links, a tail; none when the count byte is 255), the
// warehouse definitions and the tables the host lacks.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Input input(data, size);
  Stage& stage = Stage::get();
  stage.begin();
  weltor::HostState& host = stage.host();

  const uint8_t list = input.byte();
  const int screenIndex = list % 7;
  const int16_t screenId = kItemListScreens[screenIndex];
  const int16_t key = (list & 0x80) != 0 ? input.i16() : kHotKeys[screenIndex];
  host.session.currentWarehouse = input.i16();
  host.session.currentItemNo = input.i32();
  const int16_t cursorItemNo = input.i16();
  for (int i = 0; i < host.stock.listCount; ++i)
    if (host.stock.lists[i].screenId == screenId) host.stock.lists[i].cursorItemNo = cursorItemNo;

  std::set<std::string> written;
  for (int files = input.byte() % 8; files > 0; --files) {
    const auto warehouse = static_cast<int8_t>(input.byte());
    Bytes file;
    for (int records = input.byte() % 9; records > 0; --records) {
      const Bytes record = itemRecordFrom(input);
      file.insert(file.end(), record.begin(), record.end());
    }
    appendTail(file, input);
    const std::string name = itemFileName(warehouse);
    stage.writeFile(name, file);
    written.insert(name);
  }
  const uint8_t links = input.byte();
  if (links != 0xFF) {
    Bytes file;
    for (int count = links % 17; count > 0; --count) {
      const Bytes record = linkRecordFrom(input);
      file.insert(file.end(), record.begin(), record.end());
    }
    appendTail(file, input);
    stage.writeFile(linkFileName(), file);
    written.insert(linkFileName());
  }
  for (int count = input.byte() % 9; count > 0; --count) {
    const int warehouse = input.byte() % weltor::TableState::kWarehouseCount;
    const Bytes name = input.text();
    defineWarehouse(host, warehouse, name, input.flag());
  }
  // Tables the host cannot give: bit 0 items (49), bit 1 warehouses (48),
  // bit 2 links (117).
  const uint8_t missing = input.byte();
  table(host, 49).present = (missing & 1) == 0;
  table(host, 48).present = (missing & 2) == 0;
  table(host, 117).present = (missing & 4) == 0;
  for (const std::string& name : writtenLastTime)
    if (written.count(name) == 0) stage.removeFile(name);
  writtenLastTime = written;
  std::remove(kResultFile);

  // The item record holds something of the host's own before the list moves.
  unsigned char* itemRecord = table(host, 49).buffer;
  for (int at = 0; at < weltor::kItemRecordSize; ++at) itemRecord[at] = static_cast<unsigned char>(at * 7);
  const Bytes recordBefore(itemRecord, itemRecord + weltor::kItemRecordSize);
  const int16_t warehouseBefore = host.session.currentWarehouse;
  const int32_t itemNoBefore = host.session.currentItemNo;
  const std::optional<Bytes> underCursor = cursorRecord(host, cursorItemNo);

  const int16_t result = stage.send(screenId, key, kKey);
  checkHostIntact(host, "stock lookup");
  require(host.session.currentWarehouse == warehouseBefore, "the lookup gives back the current warehouse");
  require(host.session.currentItemNo == itemNoBefore, "the lookup gives back the current item number");
  if (result != kKeyTaken) {
    require(host.dialogs.count == 0 && host.stock.window.shownCount == 0, "a key not taken shows nothing");
    require(Bytes(itemRecord, itemRecord + weltor::kItemRecordSize) == recordBefore,
            "a key not taken leaves the item record alone");
  } else {
    require(key == kHotKeys[screenIndex], "only the list's hot key is taken");
    // Without the item table the list cannot put the item there.
    const Bytes expected = underCursor && (missing & 1) == 0 ? *underCursor : recordBefore;
    require(Bytes(itemRecord, itemRecord + weltor::kItemRecordSize) == expected,
            "the lookup leaves the item record as the list put it");
    int notices = 0;
    int errorBoxes = 0;
    for (int i = 0; i < host.dialogs.count && i < weltor::DialogState::kCapacity; ++i) {
      const weltor::Dialog& shown = host.dialogs.shown[i];
      if (shown.kind == weltor::DialogKind::notice) ++notices;
      if (shown.kind == weltor::DialogKind::messageBox && shown.mode == 1) ++errorBoxes;
    }
    // An item without a bar code, or a table the host cannot give, is said
    // before the lookup says it found nothing.
    if (host.stock.window.shownCount == 1)
      require(notices == 0 && errorBoxes == 0, "a lookup that shows its window shows no notice");
    else
      require(notices + errorBoxes >= 1 && notices <= 2 && errorBoxes <= 1,
              "a lookup without its window says why, once");
    require((host.stock.window.shownCount == 1) == std::filesystem::exists(kResultFile),
            "the window shows the result file, and there is one only when it is shown");
    require(host.stock.window.lineCount <= 100, "no more lines than warehouses");
    const bool scanned = missing == 0 && underCursor && (*underCursor)[weltor::kItemBarcodeAt] != 0;
    if (scanned) {
      const std::string expectedLines = expectedResult(host, *underCursor, warehouseBefore);
      const std::optional<Bytes> shown = std::filesystem::exists(kResultFile)
                                               ? std::optional<Bytes>(fileBytes(kResultFile))
                                               : std::nullopt;
      require(expectedLines.empty() ? !shown : shown && Bytes(expectedLines.begin(), expectedLines.end()) == *shown,
              "the result file lists each other warehouse's stock of the item");
    }
  }
  stage.settle();
  return 0;
}
