// Any sequence of screen events and keys into the eight hooked screens (and
// two the plug-in does not hook), with the user's rights, the workstation,
// the host's tables and the list cursors changing in between. Screens are
// opened and closed the way the host does it (a screen gets keys only while
// it is open), until an event out of turn, after which only the promises
// that hold for any event are checked. Whenever the document screen closes, the host has its default
// warehouse, its setting and its mask back; the item lists never move the
// current warehouse or item; a key the plug-in takes never reaches the
// screen's own handler.
#include <cstdio>
#include <cstring>
#include <string>

#include "harness.h"
#include "item_files.h"

namespace {

using namespace fuzzing;

constexpr int16_t kScreens[] = {kDocumentScreen, 2171, 147, 780, 2201, 397, 3044, 742, 100, 2172};
constexpr int kScreenCount = sizeof kScreens / sizeof kScreens[0];

// The keys that mean something to the plug-in, and a few that do not.
constexpr int16_t kKeys[] = {static_cast<int16_t>(0x8500), 0x6300, 0x00EF, 0x2300, 0x4007, 0x4123,
                             0x4150, 0x4100, 0x3C00, 0x011B, 0x1C0D, 0};
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];
constexpr int32_t kLockedTables[] = {48, 49, 64, 117};

constexpr std::size_t kRecordSize = 279;

void putItem(std::FILE* file, int16_t itemNo, const char* barcode, const char* unit, int32_t quantity) {
  unsigned char record[weltor::kItemRecordSize] = {};
  std::memcpy(record + weltor::kItemBarcodeAt, barcode, std::strlen(barcode) + 1);
  std::memcpy(record + weltor::kItemUnitAt, unit, std::strlen(unit) + 1);
  std::memcpy(record + weltor::kItemQuantityAt, &quantity, sizeof quantity);
  std::memcpy(record + weltor::kItemNumberAt, &itemNo, sizeof itemNo);
  std::fwrite(record, sizeof record, 1, file);
}

void putLink(std::FILE* file, const char* barcode, int16_t warehouse, int16_t itemNo) {
  unsigned char record[weltor::kLinkRecordSize] = {};
  std::memcpy(record + weltor::kLinkBarcodeAt, barcode, std::strlen(barcode) + 1);
  std::memcpy(record + weltor::kLinkWarehouseAt, &warehouse, sizeof warehouse);
  std::memcpy(record + weltor::kLinkItemNumberAt, &itemNo, sizeof itemNo);
  std::fwrite(record, sizeof record, 1, file);
}

// Three warehouses sharing two bar codes, one of them also through links:
// written once, the lookups of every story read them.
void writeStockData(const Stage& stage) {
  for (int warehouse = 0; warehouse < 3; ++warehouse) {
    char path[512];
    weltor::itemFilePath(path, sizeof path, stage.dataDir().c_str(), warehouse, weltor::kItemFilePrefix,
                         weltor::kItemFileExtension);
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) broken("the item files can be written");
    putItem(file, 1, "5901234123457", "szt.", 1000 * (warehouse + 1));
    putItem(file, 2, warehouse == 1 ? "" : "4006381333931", "kg", 2500);
    putItem(file, 3, "5901234123457", "szt.", -750);
    std::fclose(file);
  }
  char path[512];
  weltor::dataFilePath(path, sizeof path, stage.dataDir().c_str(), weltor::kLinkFileCode);
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) broken("the link file can be written");
  putLink(file, "5901234123457", 1, 3);
  putLink(file, "4006381333931", 2, 2);
  putLink(file, "4006381333931", 150, 2);
  std::fclose(file);
}

// Assignments of workstations to warehouses over an empty configuration.
Bytes optionsFrom(Input& input) {
  Bytes record(kRecordSize, 0);
  for (int row = 0; row < 9; ++row) std::memset(record.data() + 261 + 2 * row, 0xFF, 2);
  for (int count = input.byte() % 10; count > 0; --count) {
    const uint8_t place = input.byte();
    const int row = place % 9;
    const int column = place / 9 % 3;
    const int32_t workstation = input.i32();
    const int16_t warehouse = input.i16();
    std::memcpy(record.data() + 29 * row + 17 + 4 * column, &workstation, sizeof workstation);
    std::memcpy(record.data() + 261 + 2 * row, &warehouse, sizeof warehouse);
  }
  return record;
}

class Story {
 public:
  Story(Stage& stage, Input& input) : stage_(stage), host_(stage.host()), input_(input) {}

  void play() {
    host_.session.workstationNo = input_.i32();
    setRestricted(host_, input_.flag());
    setDefaultWarehouse(host_, input_.i16());
    setSuspendedSetting(host_, input_.i16());
    host_.session.currentWarehouse = input_.i16();
    const Bytes mask = input_.bytes(weltor::kWarehouseMaskSize);
    if (!mask.empty()) std::memcpy(host_.session.warehouseMask, mask.data(), mask.size());
    defaultBefore_ = defaultWarehouse(host_);
    settingBefore_ = suspendedSetting(host_);
    std::memcpy(maskSnapshot_, host_.session.warehouseMask, sizeof maskSnapshot_);

    for (int step = 0; step < 64 && !input_.empty(); ++step) act(input_.byte());
    for (int i = 0; i < kScreenCount; ++i)
      if (open_[i]) deliver(i, 0, kClose);
  }

 private:
  void act(uint8_t action) {
    const int screen = input_.byte() % kScreenCount;
    switch (action % 10) {
      case 0:
        if (!open_[screen]) deliver(screen, 0, kOpen);
        break;
      case 1: {
        const uint8_t choice = input_.byte();
        const int16_t key = choice < kKeyCount ? kKeys[choice] : input_.i16();
        if (open_[screen]) deliver(screen, key, kKey);
        break;
      }
      case 2:
        if (open_[screen]) deliver(screen, 0, kClose);
        break;
      case 3: {
        const int16_t event = input_.i16();
        const int16_t argument = input_.i16();
        if (open_[screen] && event != kOpen && event != kKey && event != kClose) deliver(screen, argument, event);
        break;
      }
      case 4: setRestricted(host_, host_.session.restrictionCount == 0); break;
      case 5: {
        weltor::Table& chosen = table(host_, kLockedTables[screen % 4]);
        chosen.present = !chosen.present;
        break;
      }
      case 6: host_.session.workstationNo = input_.i32(); break;
      case 7: {
        const int16_t itemNo = input_.i16();
        for (int i = 0; i < host_.stock.listCount; ++i)
          if (host_.stock.lists[i].screenId == kScreens[screen]) host_.stock.lists[i].cursorItemNo = itemNo;
        break;
      }
      case 8: host_.session.currentWarehouse = input_.i16(); break;
      default: {
        // An event out of turn (a key to a closed screen, a second open, a
        // close of a screen never opened): nothing may break, though what the
        // lock promises no longer holds for the rest of the story.
        const int16_t event = input_.i16();
        const int16_t argument = input_.i16();
        outOfTurn_ = true;
        deliver(screen, argument, event);
        break;
      }
    }
  }

  void deliver(int screen, int16_t argument, int16_t event) {
    const int16_t screenId = kScreens[screen];
    const std::string what = "screen " + std::to_string(screenId) + " event " + std::to_string(event);
    if (screenId == kDocumentScreen && event == kOpen)
      std::memcpy(maskSnapshot_, host_.session.warehouseMask, sizeof maskSnapshot_);
    const int16_t warehouseBefore = host_.session.currentWarehouse;
    const int32_t itemNoBefore = host_.session.currentItemNo;
    const int32_t receivedBefore = host_.screens.receivedCount;

    const int16_t result = stage_.send(screenId, argument, event);
    if (event == kOpen) open_[screen] = true;
    if (event == kClose) open_[screen] = false;

    checkHostIntact(host_, what);
    if (event == kKey && result == kKeyTaken)
      require(host_.screens.receivedCount == receivedBefore, what + ": a key taken does not reach the screen");
    if (outOfTurn_) return;
    const bool mayLock = screenId == kDocumentScreen || ((screenId == 780 || screenId == 2201) && event == kOpen);
    if (!mayLock) {
      require(host_.session.currentWarehouse == warehouseBefore, what + ": the current warehouse stays");
      require(host_.session.currentItemNo == itemNoBefore, what + ": the current item stays");
    }
    if (screenId == kDocumentScreen && event == kClose) {
      require(defaultWarehouse(host_) == defaultBefore_, what + ": the default warehouse is back");
      if (table(host_, 64).present)
        require(suspendedSetting(host_) == settingBefore_, what + ": the setting is back");
      require(std::memcmp(host_.session.warehouseMask, maskSnapshot_, sizeof maskSnapshot_) == 0,
              what + ": the mask is back as the screen found it");
    }
  }

  Stage& stage_;
  weltor::HostState& host_;
  Input& input_;
  bool open_[kScreenCount] = {};
  bool outOfTurn_ = false;
  int16_t defaultBefore_ = 0;
  int16_t settingBefore_ = 0;
  unsigned char maskSnapshot_[weltor::kWarehouseMaskSize] = {};
};

}  // namespace

// Input: the configuration (assignments of workstations to warehouses), the
// warehouse names, the session (workstation, restriction, default warehouse,
// setting, current warehouse, mask), then up to 64 actions.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Input input(data, size);
  Stage& stage = Stage::get();
  static const bool stockWritten = (writeStockData(stage), true);
  (void)stockWritten;
  stage.begin();
  stage.writeFile(kOptionsFile, optionsFrom(input));
  for (int count = input.byte() % 5; count > 0; --count) {
    const int warehouse = input.byte() % weltor::TableState::kWarehouseCount;
    const Bytes name = input.text();
    defineWarehouse(stage.host(), warehouse, name, input.flag());
  }
  Story(stage, input).play();
  stage.settle();
  return 0;
}
