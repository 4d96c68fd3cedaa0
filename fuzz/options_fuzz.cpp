// The options file's bytes, whatever they are, into the workstation lock and
// into the configuration form. The file must never be changed except by a
// form closed with OK, which must store the record the form showed; the lock
// must follow the record it read and give the host its values back.
#include <cstring>

#include "harness.h"

namespace {

using namespace fuzzing;

constexpr int kRowCount = 9;
constexpr std::size_t kRecordSize = 279;
constexpr std::size_t kRowSize = 29;
constexpr std::size_t kWorkstationsAt = 17;
constexpr std::size_t kWarehouseNumbersAt = 261;
constexpr int32_t kFormOk = 0x5001;
constexpr int32_t kEscape = 0x011B;

int32_t workstationOf(const Bytes& record, int row, int column) {
  int32_t number = 0;
  std::memcpy(&number, record.data() + kRowSize * row + kWorkstationsAt + 4 * column, sizeof number);
  return number;
}

int16_t warehouseOf(const Bytes& record, int row) {
  int16_t number = 0;
  std::memcpy(&number, record.data() + kWarehouseNumbersAt + 2 * row, sizeof number);
  return number;
}

// The record the plug-in works with: the file's first 279 bytes, or the
// defaults (all zero, no warehouse chosen) when the file is missing or short.
Bytes recordOf(const std::optional<Bytes>& file) {
  if (file && file->size() >= kRecordSize) return Bytes(file->begin(), file->begin() + kRecordSize);
  Bytes defaults(kRecordSize, 0);
  for (int row = 0; row < kRowCount; ++row) {
    const int16_t none = -1;
    std::memcpy(defaults.data() + kWarehouseNumbersAt + 2 * row, &none, sizeof none);
  }
  return defaults;
}

bool assigned(const Bytes& record, int32_t workstation, int16_t& warehouse) {
  for (int row = 0; row < kRowCount; ++row)
    for (int column = 0; column < 3; ++column)
      if (workstationOf(record, row, column) == workstation) {
        warehouse = warehouseOf(record, row);
        return true;
      }
  return false;
}

bool masksOnly(const unsigned char* mask, int16_t warehouse) {
  for (int j = 0; j < 104; ++j) {
    const bool set = (mask[j / 8] >> (j % 8) & 1) != 0;
    if (set != (j < 100 && j != warehouse)) return false;
  }
  return true;
}

void lockStory(Stage& stage, const std::optional<Bytes>& file, int32_t workstation, bool restricted) {
  weltor::HostState& host = stage.host();
  const int16_t defaultBefore = defaultWarehouse(host);
  const int16_t settingBefore = suspendedSetting(host);
  unsigned char maskBefore[weltor::kWarehouseMaskSize];
  std::memcpy(maskBefore, host.session.warehouseMask, sizeof maskBefore);
  const int16_t currentBefore = host.session.currentWarehouse;

  stage.send(kDocumentScreen, 0, kOpen);
  checkHostIntact(host, "document screen opened");
  const bool shortFile = file && file->size() < kRecordSize;
  require(!restricted || host.dialogs.count == (shortFile ? 1 : 0),
          "a short options file is reported once, a whole one not at all");
  int16_t warehouse = 0;
  if (restricted && assigned(recordOf(file), workstation, warehouse)) {
    require(host.session.currentWarehouse == warehouse, "the lock makes the assigned warehouse current");
    require(defaultWarehouse(host) == warehouse, "the lock makes the assigned warehouse the default");
    require(masksOnly(host.session.warehouseMask, warehouse), "the lock masks every other warehouse");
    require(suspendedSetting(host) == 0, "the lock suspends the setting");
  } else {
    require(host.session.currentWarehouse == currentBefore, "no lock: the current warehouse stays");
    require(defaultWarehouse(host) == defaultBefore, "no lock: the default warehouse stays");
    require(std::memcmp(host.session.warehouseMask, maskBefore, sizeof maskBefore) == 0,
            "no lock: the mask stays");
  }

  stage.send(kDocumentScreen, 0, kClose);
  checkHostIntact(host, "document screen closed");
  require(defaultWarehouse(host) == defaultBefore, "the close gives back the default warehouse");
  require(suspendedSetting(host) == settingBefore, "the close gives back the setting");
  require(std::memcmp(host.session.warehouseMask, maskBefore, sizeof maskBefore) == 0,
          "the close gives back the mask");
}

void formStory(Stage& stage, const std::optional<Bytes>& file, bool pressOk) {
  weltor::HostState& host = stage.host();
  weltor::FormStep& step = host.form.script[0];
  step = weltor::FormStep{};
  if (pressOk) {
    step.kind = weltor::FormStepKind::pressButton;
    step.key = kFormOk;
  } else {
    step.kind = weltor::FormStepKind::event;
    step.key = kEscape;
    step.event = kKey;
  }
  host.form.scriptLength = 1;

  stage.configure();
  checkHostIntact(host, "configuration form closed");
  require(host.form.formsRun == 1 && host.form.templateValid, "the form runs");
  const std::optional<Bytes> after = stage.readFile(kOptionsFile);
  if (host.form.closedWith != kFormOk) {
    require(after == file, "a form closed without OK leaves the options file as it was");
    return;
  }
  require(after && after->size() == kRecordSize, "OK stores one whole record");
  require(std::memcmp(after->data(), host.form.dataRecord, kRecordSize) == 0, "OK stores the form's record");
  const Bytes before = recordOf(file);
  for (int row = 0; row < kRowCount; ++row) {
    require(warehouseOf(*after, row) == warehouseOf(before, row), "OK keeps each row's warehouse");
    for (int column = 0; column < 3; ++column)
      require(workstationOf(*after, row, column) == workstationOf(before, row, column),
              "OK keeps each row's workstations");
  }
}

}  // namespace

// Input: flags (bit 0 a file exists, bit 1 the user is restricted, bits 2-3
// the story: the lock, the form closed with OK, the form cancelled), the
// workstation number, the default warehouse, the setting, the current
// warehouse, the mask; the rest is the options file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Input input(data, size);
  Stage& stage = Stage::get();
  stage.begin();
  weltor::HostState& host = stage.host();

  const uint8_t flags = input.byte();
  const bool restricted = (flags & 2) != 0;
  const int story = (flags >> 2) % 3;
  host.session.workstationNo = input.i32();
  setRestricted(host, restricted);
  setDefaultWarehouse(host, input.i16());
  setSuspendedSetting(host, input.i16());
  host.session.currentWarehouse = input.i16();
  const Bytes mask = input.bytes(weltor::kWarehouseMaskSize);
  if (!mask.empty()) std::memcpy(host.session.warehouseMask, mask.data(), mask.size());

  std::optional<Bytes> file;
  if ((flags & 1) != 0) {
    file = input.rest();
    stage.writeFile(kOptionsFile, *file);
  } else {
    stage.removeFile(kOptionsFile);
  }

  if (story == 0)
    lockStory(stage, file, host.session.workstationNo, restricted);
  else
    formStory(stage, file, story == 1);
  stage.settle();
  return 0;
}
