// The user's steps in the configuration form and the answers of the
// warehouse picker, over any options file and any warehouse definitions.
// Only OK may change the options file, and then to the record the form
// showed; the form's field buffers and the host's records are never
// written or read past their ends (the host keeps them at the end of
// readable memory).
#include <cstring>

#include "harness.h"

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
    } else {
      require(after == file, "a form closed without OK leaves the options file as it was");
    }
  }
  stage.settle();
  return 0;
}
