// Forms, the warehouse picker, question dialogs and the profile file.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "guarded_memory.h"
#include "services.h"

namespace weltor {

namespace {

// ---- reading a form template -------------------------------------------------

constexpr int16_t kFrameKind = -1;
constexpr int16_t kButtonKind = 0;
constexpr int16_t kCaptionKind = 3;
constexpr int16_t kFieldKind = 5;
constexpr int32_t kCommonSize = 20;         // kind .. height, two words 0
constexpr int32_t kFieldTypeOffset = 32;    // after 4 + common part + 8 zero bytes
constexpr uint16_t kTextDefinition = 38;
constexpr uint16_t kNumberDefinition = 44;
constexpr uint16_t kNumberType = 7;
constexpr int16_t kKeyEvent = 1;
constexpr int16_t kOpenEvent = -2;

// Field buffers live as long as the host module and are handed out again
// for every form; each ends where readable memory ends.
char* fieldBuffers[FormState::kFieldCapacity] = {};

char* fieldBuffer(int index) {
  if (fieldBuffers[index] == nullptr)
    fieldBuffers[index] = reinterpret_cast<char*>(allocateGuarded(kFieldBufferSize));
  std::memset(fieldBuffers[index], 0, kFieldBufferSize);
  return fieldBuffers[index];
}

uint16_t wordAt(const unsigned char* bytes, int32_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t dwordAt(const unsigned char* bytes, int32_t at) {
  return wordAt(bytes, at) | static_cast<uint32_t>(wordAt(bytes, at + 2)) << 16;
}

void readCommonPart(const unsigned char* bytes, int32_t at, FormItemView& view) {
  view.kind = static_cast<int16_t>(wordAt(bytes, at));
  view.id = wordAt(bytes, at + 2);
  view.flags = wordAt(bytes, at + 4);
  view.key = wordAt(bytes, at + 6);
  view.column = wordAt(bytes, at + 8);
  view.row = wordAt(bytes, at + 10);
  view.width = wordAt(bytes, at + 12);
  view.height = wordAt(bytes, at + 14);
}

// A field item: 5, its definition size, the common part, eight zero bytes,
// the type part, the closing values at the definition size, an empty text.
int32_t readField(const unsigned char* bytes, int32_t at, int32_t end, FormItemView& view,
                  FormField& field) {
  if (end - at < 4) return 0;
  const uint16_t definition = wordAt(bytes, at + 2);
  const int32_t size = definition + 4 + 1;
  if (definition < kTextDefinition || end - at < size) return 0;
  readCommonPart(bytes, at + 4, view);
  if (view.kind != kFieldKind || bytes[at + size - 1] != 0) return 0;
  const uint16_t type = wordAt(bytes, at + kFieldTypeOffset);
  field.id = view.id;
  if (definition == kTextDefinition && type > 0 && type < kFieldBufferSize) {
    field.isText = true;
    field.slotSize = type + 1;
  } else if (definition == kNumberDefinition && type == kNumberType) {
    field.isText = false;
    field.slotSize = 4;
    field.lowest = static_cast<int32_t>(dwordAt(bytes, at + kFieldTypeOffset + 8));
    field.highest = static_cast<int32_t>(dwordAt(bytes, at + definition));
  } else {
    return 0;
  }
  return size;
}

// The item at `at`, which must end before `end`: its size, or 0 when the
// bytes there are not an item the engine knows.
int32_t readItem(const unsigned char* bytes, int32_t at, int32_t end, FormItemView& view,
                 FormField& field) {
  view = FormItemView{};
  view.offset = at;
  if (end - at < 2) return 0;
  const auto kind = static_cast<int16_t>(wordAt(bytes, at));
  if (kind == kFieldKind) return view.size = readField(bytes, at, end, view, field);
  if (kind != kFrameKind && kind != kButtonKind && kind != kCaptionKind) return 0;
  if (end - at < kCommonSize + 1) return 0;
  readCommonPart(bytes, at, view);
  int32_t textEnd = at + kCommonSize;
  while (textEnd < end && bytes[textEnd] != 0) ++textEnd;
  if (textEnd == end) return 0;
  std::snprintf(view.text, sizeof view.text, "%s", reinterpret_cast<const char*>(bytes + at + kCommonSize));
  return view.size = textEnd + 1 - at;
}

// Size field, size of the items, item count, the frame item, the items.
bool readTemplate(FormState& form, const unsigned char* bytes) {
  const uint32_t declared = dwordAt(bytes, 0);
  if (declared < 4 || declared > FormState::kTemplateCapacity - 4) return false;
  const auto size = static_cast<int32_t>(declared) + 4;
  std::memcpy(form.received, bytes, static_cast<std::size_t>(size));
  form.receivedSize = size;
  const unsigned char* t = form.received;
  if (wordAt(t, 4) + 8 != size) return false;
  const int count = wordAt(t, 6);
  if (count > FormState::kItemCapacity) return false;

  FormField none{};
  int32_t at = 8;
  int32_t length = readItem(t, at, size, form.frame, none);
  if (length == 0 || form.frame.kind != kFrameKind) return false;
  at += length;

  int32_t slot = 0;
  for (int i = 0; i < count; ++i) {
    FormField field{};
    length = readItem(t, at, size, form.items[i], field);
    if (length == 0) return false;
    at += length;
    form.itemCount = i + 1;
    if (form.items[i].kind != kFieldKind) continue;
    if (form.fieldCount == FormState::kFieldCapacity) return false;
    field.slotOffset = slot;
    slot += field.slotSize;
    form.fields[form.fieldCount++] = field;
  }
  return at == size;
}

// ---- running a form ------------------------------------------------------------

FormField* findField(int32_t id) {
  FormState& form = state().form;
  for (int i = 0; i < form.fieldCount; ++i)
    if (form.fields[i].id == id) return &form.fields[i];
  return nullptr;
}

// A button by its key (0 is no key) or by its id.
const FormItemView* findButton(bool byKey, int32_t value) {
  FormState& form = state().form;
  if (byKey && static_cast<uint16_t>(value) == 0) return nullptr;
  for (int i = 0; i < form.itemCount; ++i) {
    const FormItemView& item = form.items[i];
    if (item.kind == kButtonKind && (byKey ? item.key : item.id) == static_cast<uint16_t>(value)) return &item;
  }
  return nullptr;
}

bool closes(int32_t buttonId) { return buttonId == kFormOk || buttonId == kFormCancel; }

void showNumber(FormField& field, int32_t number) {
  std::snprintf(field.buffer, kFieldBufferSize, "%d", static_cast<int>(number));
}

// The buffers start with what the data record holds.
void fillBuffers(FormState& form) {
  for (int i = 0; i < form.fieldCount; ++i) {
    FormField& field = form.fields[i];
    field.buffer = fieldBuffer(i);
    if (form.dataRecord == nullptr) continue;
    const unsigned char* slot = form.dataRecord + field.slotOffset;
    if (field.isText) {
      const std::size_t length = strnlen(reinterpret_cast<const char*>(slot), static_cast<std::size_t>(field.slotSize - 1));
      std::memcpy(field.buffer, slot, length);
    } else {
      int32_t number = 0;
      std::memcpy(&number, slot, sizeof number);
      showNumber(field, number);
    }
  }
}

// On OK the texts go into their slots; typed numbers are there already.
void storeTexts(FormState& form) {
  if (form.dataRecord == nullptr) return;
  for (int i = 0; i < form.fieldCount; ++i) {
    const FormField& field = form.fields[i];
    if (!field.isText) continue;
    unsigned char* slot = form.dataRecord + field.slotOffset;
    std::memset(slot, 0, static_cast<std::size_t>(field.slotSize));
    std::memcpy(slot, field.buffer, strnlen(field.buffer, static_cast<std::size_t>(field.slotSize - 1)));
  }
}

void typeNumber(FormState& form, int32_t fieldId, int32_t number) {
  FormField* field = findField(fieldId);
  if (field == nullptr || field->isText || number < field->lowest || number > field->highest) return;
  if (form.dataRecord != nullptr) std::memcpy(form.dataRecord + field->slotOffset, &number, sizeof number);
  showNumber(*field, number);
}

int32_t callHandler(FormState& form, FormHandler handler, int32_t key, int32_t event) {
  const int32_t result = handler != nullptr ? handler(key, event) : 0;
  if (form.handledCount < FormState::kScriptCapacity + 1)
    form.handled[form.handledCount++] = {key, event, result};
  return result;
}

// The button id that closes the form after this step, or 0.
int32_t runStep(FormState& form, FormHandler handler, const FormStep& step) {
  switch (step.kind) {
    case FormStepKind::event: {
      const int32_t result = callHandler(form, handler, step.key, step.event);
      if (static_cast<int16_t>(step.event) != kKeyEvent || result != 0) return 0;
      if (step.key == kEscapeKey) return kFormCancel;
      const FormItemView* button = findButton(true, step.key);
      return button != nullptr && closes(button->id) ? button->id : 0;
    }
    case FormStepKind::typeNumber:
      typeNumber(form, step.fieldId, step.number);
      return 0;
    case FormStepKind::pressButton: {
      const FormItemView* button = findButton(false, step.key);
      if (button == nullptr) return 0;
      if (closes(button->id)) return button->id;
      callHandler(form, handler, button->id, kKeyEvent);
      return 0;
    }
  }
  return 0;
}

// ---- the profile file ----------------------------------------------------------

std::string trimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

bool sameName(const std::string& left, const char* right) {
  if (left.size() != std::strlen(right)) return false;
  for (std::size_t i = 0; i < left.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(left[i])) != std::tolower(static_cast<unsigned char>(right[i])))
      return false;
  return true;
}

// "[name]" gives name; anything else gives false.
bool sectionName(const std::string& line, std::string& name) {
  const std::string text = trimmed(line);
  if (text.size() < 2 || text.front() != '[') return false;
  const std::size_t close = text.find(']');
  if (close == std::string::npos) return false;
  name = trimmed(text.substr(1, close - 1));
  return true;
}

// "key = value" gives both; a line without '=' gives false.
bool keyLine(const std::string& line, std::string& key, std::string& value) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  key = trimmed(line.substr(0, equals));
  value = trimmed(line.substr(equals + 1));
  return true;
}

std::string profilePath(const char* file) { return std::string(state().dataDir) + "/" + file; }

std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return lines;
  std::string content;
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) content.append(chunk, got);
  std::fclose(in);
  std::size_t begin = 0;
  while (begin < content.size()) {
    std::size_t end = content.find('\n', begin);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    begin = end + 1;
  }
  return lines;
}

// Where the entry is: its line, or -1; the section's line and its last
// non-empty line, or -1.
struct EntryPlace {
  int keyLine = -1;
  int sectionLine = -1;
  int sectionEnd = -1;
};

EntryPlace findEntry(const std::vector<std::string>& lines, const char* section, const char* key,
                     std::string* value) {
  EntryPlace place;
  bool inSection = false;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    std::string name, foundKey, foundValue;
    if (sectionName(lines[i], name)) {
      inSection = place.sectionLine < 0 && sameName(name, section);
      if (inSection) place.sectionLine = place.sectionEnd = i;
      continue;
    }
    if (!inSection) continue;
    if (!trimmed(lines[i]).empty()) place.sectionEnd = i;
    if (place.keyLine < 0 && keyLine(lines[i], foundKey, foundValue) && sameName(foundKey, key)) {
      place.keyLine = i;
      if (value != nullptr) *value = foundValue;
    }
  }
  return place;
}

int32_t readEntry(const char* file, const char* section, const char* key, const char* format, va_list values) {
  std::string value;
  if (findEntry(readLines(profilePath(file)), section, key, &value).keyLine < 0) return 1;
  return std::vsscanf(value.c_str(), format, values) >= 1 ? 0 : 2;
}

int32_t writeEntry(const char* file, const char* section, const char* key, const char* format, va_list values) {
  char text[1024];
  std::vsnprintf(text, sizeof text, format, values);
  const std::string path = profilePath(file);
  std::vector<std::string> lines = readLines(path);
  const EntryPlace place = findEntry(lines, section, key, nullptr);
  const std::string entry = std::string(key) + "=" + text;
  if (place.keyLine >= 0) {
    lines[static_cast<std::size_t>(place.keyLine)] = entry;
  } else if (place.sectionLine >= 0) {
    lines.insert(lines.begin() + place.sectionEnd + 1, entry);
  } else {
    if (!lines.empty() && !trimmed(lines.back()).empty()) lines.emplace_back();
    lines.push_back(std::string("[") + section + "]");
    lines.push_back(entry);
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return 1;
  bool written = true;
  for (const std::string& line : lines)
    written = std::fputs(line.c_str(), out) >= 0 && std::fputs("\r\n", out) >= 0 && written;
  return std::fclose(out) == 0 && written ? 0 : 1;
}

}  // namespace

void resetForm(HostState&) {}

int32_t runForm(void* formTemplate, int32_t frameId, void* data, FormHandler handler) {
  FormState& form = state().form;
  ++form.formsRun;
  form.templateValid = false;
  form.frameId = frameId;
  form.dataRecord = static_cast<unsigned char*>(data);
  form.receivedSize = form.itemCount = form.fieldCount = form.handledCount = 0;
  form.closedWith = 0;
  const int32_t steps = form.scriptLength;
  form.scriptLength = 0;  // the steps belong to this form only
  if (formTemplate == nullptr || !readTemplate(form, static_cast<const unsigned char*>(formTemplate)) ||
      form.frame.id != static_cast<uint16_t>(frameId))
    return 0;
  form.templateValid = true;
  fillBuffers(form);

  callHandler(form, handler, 0, kOpenEvent);
  int32_t closedWith = 0;
  for (int32_t i = 0; i < steps && i < FormState::kScriptCapacity && closedWith == 0; ++i)
    closedWith = runStep(form, handler, form.script[i]);
  for (FormStep step{}; closedWith == 0 && form.liveStep != nullptr && form.liveStep(&step); step = FormStep{})
    closedWith = runStep(form, handler, step);
  if (closedWith == 0) closedWith = kFormCancel;  // the user closes the window
  if (closedWith == kFormOk) storeTexts(form);
  return form.closedWith = closedWith;
}

char* formFieldBuffer(int32_t fieldId) {
  FormField* field = findField(fieldId);
  return field != nullptr ? field->buffer : nullptr;
}

int32_t pickWarehouse(int32_t current, int32_t, int32_t) {
  FormState& form = state().form;
  if (form.picksMade >= form.pickAnswerCount || form.picksMade >= 16)
    return form.livePick != nullptr ? form.livePick(current) : current;
  return form.pickAnswers[form.picksMade++];
}

int32_t checkWarehouseNo(int32_t warehouse, int32_t) {
  const FormState& form = state().form;
  for (int i = 0; i < form.mappingCount && i < 8; ++i)
    if (form.mappings[i].from == warehouse) return form.mappings[i].to;
  return warehouse;
}

int32_t askDialog(int32_t dialogId, int32_t* answer, int32_t, const char* text) {
  FormState& form = state().form;
  ++form.asksShown;
  form.askDialogId = dialogId;
  std::snprintf(form.askText, sizeof form.askText, "%s", text != nullptr ? text : "");
  // The dialog's answer is a 16-bit word: the upper half is left alone.
  const auto low = static_cast<uint16_t>(form.askAnswer);
  if (answer != nullptr) std::memcpy(answer, &low, sizeof low);
  return 1;
}

int32_t profileIo(const char* file, int32_t operation, const char* section, const char* key, const char* format,
                  va_list values) {
  if (file == nullptr || section == nullptr || key == nullptr || format == nullptr) return -1;
  if (operation == 8) return readEntry(file, section, key, format, values);
  if (operation == 9) return writeEntry(file, section, key, format, values);
  return -1;
}

}  // namespace weltor
