// The user's steps in the configuration form and the answers of the
// warehouse picker, over any options file and any warehouse definitions.
// Only OK may change the options file, and then to the record the form
// showed: the warehouses picked (as the host corrected them), their names,
// the workstations typed; the form's field buffers and the host's records are never
// written or read past their ends (the host keeps them at the end of
// readable memory).
#include <cstring>
#include <string>
#include <vector>

#include "harness.h"
#include "item_files.h"

namespace {

using namespace fuzzing;

constexpr std::size_t kRecordSize = 279;
constexpr int32_t kFormOk = 0x5001;
constexpr int32_t kFormCancel = 0x5002;

// The keys and ids a user of this form reaches for: F2..F10 (the rows'
// buttons), Escape, Enter, the close buttons and F12.
constexpr int32_t kKeys[] = {0x3C00, 0x3D00, 0x3E00, 0x3F00, 0x4000, 0x4100, 0x4200, 0x4300,
                             0x4400, 0x011B, 0x1C0D, kFormOk, kFormCancel, 0x8600};
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];
constexpr int16_t kEvents[] = {kKey, kOpen, kClose, 0};

int32_t keyFrom(Input& input) {
  const uint8_t choice = input.byte();
  return choice < kKeyCount ? kKeys[choice] : input.i32();
}

int32_t fieldFrom(Input& input) {
  const uint8_t choice = input.byte();
  if (choice < 27) return 0x410B + 10 * (choice / 9) + choice % 9;  // a workstation field
  if (choice < 36) return 0x4101 + (choice - 27);                    // a name field
  return input.i32();
}

weltor::FormStep stepFrom(Input& input) {
  weltor::FormStep step{};
  switch (input.byte() % 3) {
    case 0: {
      step.kind = weltor::FormStepKind::event;
      step.key = keyFrom(input);
      const uint8_t event = input.byte();
      step.event = event < 4 ? kEvents[event] : input.i32();
      break;
    }
    case 1:
      step.kind = weltor::FormStepKind::typeNumber;
      step.fieldId = fieldFrom(input);
      step.number = input.i32();
      break;
    default:
      step.kind = weltor::FormStepKind::pressButton;
      step.key = keyFrom(input);
      break;
  }
  return step;
}

// ---- what OK should store, worked out from the handler calls the host made ----

// The plug-in's part of the record (the rows' warehouses and the names shown
// for them), replayed over the calls the form's handler got.
class FormModel {
 public:
  FormModel(const weltor::HostState& host, const Bytes& loaded, bool haveTable)
      : host_(host), loaded_(loaded), haveTable_(haveTable) {
    for (int row = 0; row < 9; ++row) {
      std::memcpy(&numbers_[row], loaded.data() + kNumbersAt + 2 * row, sizeof numbers_[row]);
      const char* slot = reinterpret_cast<const char*>(loaded.data() + kRowSize * row);
      names_[row].assign(slot, strnlen(slot, kNameLength));
    }
  }

  void replay(const weltor::FormState& form) {
    int picks = 0;
    for (int i = 0; i < form.handledCount; ++i) {
      const weltor::HandlerCall& call = form.handled[i];
      const auto event = static_cast<int16_t>(call.event);
      if (event == kOpen) refresh();
      if (event != kKey) continue;
      const int row = rowOfKey(static_cast<uint16_t>(call.key));
      if (row < 0) continue;
      int32_t picked = numbers_[row];
      if (picks < form.pickAnswerCount && picks < 16) picked = form.pickAnswers[picks++];
      numbers_[row] = static_cast<int16_t>(picked);
      refresh();
    }
  }

  // The record OK stores; the workstations as loaded, which typing may change.
  Bytes stored() const {
    Bytes record = loaded_;
    for (int row = 0; row < 9; ++row) {
      std::memset(record.data() + kRowSize * row, 0, kNameLength + 1);
      std::memcpy(record.data() + kRowSize * row, names_[row].data(), names_[row].size());
      std::memcpy(record.data() + kNumbersAt + 2 * row, &numbers_[row], sizeof numbers_[row]);
    }
    return record;
  }

  static constexpr std::size_t kRowSize = 29;
  static constexpr std::size_t kNumbersAt = 261;
  static constexpr std::size_t kNameLength = 16;
  static std::size_t workstationAt(int row, int column) { return kRowSize * row + 17 + 4 * column; }

 private:
  static int rowOfKey(uint16_t key) {
    for (int row = 0; row < 9; ++row)
      if (key == 0x3C00 + 0x100 * row) return row;
    return -1;
  }

  int32_t mapped(int32_t warehouse) const {
    const weltor::FormState& form = host_.form;
    for (int i = 0; i < form.mappingCount && i < 8; ++i)
      if (form.mappings[i].from == warehouse) return form.mappings[i].to;
    return warehouse;
  }

  std::string nameOf(int16_t warehouse) const {
    std::string name;
    if (warehouse >= 0 && warehouse < weltor::TableState::kWarehouseCount &&
        host_.tables.warehouseDefined[warehouse]) {
      const unsigned char* definition = host_.tables.warehouseRecords[warehouse];
      for (std::size_t at = weltor::kWarehouseNameAt; name.size() < kNameLength && definition[at] != 0; ++at)
        name.push_back(static_cast<char>(definition[at]));
    }
    return name.empty() ? std::string("--------") : name;
  }

  void refresh() {
    if (!haveTable_) return;
    for (int row = 0; row < 9; ++row) {
      if (numbers_[row] < 0) {
        names_[row].clear();
        continue;
      }
      numbers_[row] = static_cast<int16_t>(mapped(numbers_[row]));
      names_[row] = nameOf(numbers_[row]);
    }
  }

  const weltor::HostState& host_;
  Bytes loaded_;
  bool haveTable_;
  int16_t numbers_[9] = {};
  std::string names_[9];
};

// The record loadOptions makes of the file: its first 279 bytes, or the
// defaults when there is no whole record.
Bytes loadedRecord(const std::optional<Bytes>& file) {
  if (file && file->size() >= kRecordSize) return Bytes(file->begin(), file->begin() + kRecordSize);
  Bytes defaults(kRecordSize, 0);
  std::memset(defaults.data() + FormModel::kNumbersAt, 0xFF, kRecordSize - FormModel::kNumbersAt);
  return defaults;
}

}  // namespace

// Input: flags (bit 0 a file exists, bit 1 the host has no warehouse table,
// bit 2 the user may not configure), the file (a 16-bit length below 1024,
// then its bytes), warehouse definitions, the host's replacements of warehouse
// numbers, the picker's answers, then the user's steps.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Input input(data, size);
  Stage& stage = Stage::get();
  stage.begin();
  weltor::HostState& host = stage.host();

  const uint8_t flags = input.byte();
  std::optional<Bytes> file;
  if ((flags & 1) != 0) {
    file = input.bytes(input.u16() % 1024);
    stage.writeFile(kOptionsFile, *file);
  } else {
    stage.removeFile(kOptionsFile);
  }
  table(host, 48).present = (flags & 2) == 0;
  if ((flags & 4) != 0) host.session.restrictions[host.session.restrictionCount++] = {36, 1, 1};

  for (int count = input.byte() % 9; count > 0; --count) {
    const int warehouse = input.byte() % weltor::TableState::kWarehouseCount;
    const Bytes name = input.text();
    defineWarehouse(host, warehouse, name, input.flag());
  }
  weltor::FormState& form = host.form;
  form.mappingCount = input.byte() % 9;
  for (int i = 0; i < form.mappingCount; ++i) form.mappings[i] = {input.i32(), input.i32()};
  form.pickAnswerCount = input.byte() % 17;
  for (int i = 0; i < form.pickAnswerCount; ++i) form.pickAnswers[i] = input.i32();
  form.scriptLength = 0;
  while (!input.empty() && form.scriptLength < weltor::FormState::kScriptCapacity)
    form.script[form.scriptLength++] = stepFrom(input);
  const std::vector<weltor::FormStep> steps(form.script, form.script + form.scriptLength);

  stage.configure();
  checkHostIntact(host, "configuration");
  const std::optional<Bytes> after = stage.readFile(kOptionsFile);
  if ((flags & 4) != 0) {
    require(form.formsRun == 0 && host.dialogs.count == 1, "a user without the right gets one notice, no form");
    require(after == file, "a user without the right leaves the options file as it was");
  } else {
    require(form.formsRun == 1 && form.templateValid, "the form runs");
    if (form.closedWith == kFormOk) {
      require(after && after->size() == kRecordSize, "OK stores one whole record");
      require(std::memcmp(after->data(), form.dataRecord, kRecordSize) == 0, "OK stores the form's record");
      FormModel model(host, loadedRecord(file), (flags & 2) == 0);
      model.replay(form);
      Bytes expected = model.stored();
      // A workstation is the one loaded or one the user typed into its field.
      for (int row = 0; row < 9; ++row)
        for (int column = 0; column < 3; ++column) {
          const std::size_t at = FormModel::workstationAt(row, column);
          int32_t typed = 0;
          std::memcpy(&typed, after->data() + at, sizeof typed);
          bool wasTyped = false;
          for (const weltor::FormStep& step : steps)
            wasTyped = wasTyped || (step.kind == weltor::FormStepKind::typeNumber &&
                                    step.fieldId == 0x410B + 10 * column + row && step.number == typed);
          if (wasTyped) std::memcpy(expected.data() + at, &typed, sizeof typed);
        }
      require(*after == expected, "OK stores the warehouses picked, the names shown and the workstations typed");
    } else {
      require(after == file, "a form closed without OK leaves the options file as it was");
    }
  }
  stage.settle();
  return 0;
}
