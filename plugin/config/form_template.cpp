#include "config/form_template.h"

#include <array>

#include "frame/mazovia.h"

namespace kamoria {

namespace {

// Item kinds as the host numbers them.
constexpr int16_t kFrame = -1;
constexpr int16_t kButton = 0;
constexpr int16_t kCaption = 3;
constexpr int16_t kField = 5;

enum class FieldType { none, text, number };

// A text field holds 16 characters; its slot in the data record adds the 0 byte.
constexpr uint16_t kTextFieldLength = 16;
constexpr uint16_t kTextFieldDefinitionSize = 38;
constexpr uint16_t kNumberFieldDefinitionSize = 44;
constexpr uint32_t kNumberFieldLowest = 0;
constexpr uint32_t kNumberFieldHighest = 2147483647;

constexpr uint16_t kNoId = 0xFFFF;
constexpr uint16_t kF12 = 0x8600;

struct FormItem {
  int16_t kind;
  uint16_t id;
  uint16_t flags;
  uint16_t key;
  uint16_t column;
  uint16_t row;
  uint16_t width;
  uint16_t height;
  FieldType field;
  const char* text;  // Mazovia bytes; unused by fields
};

constexpr auto kFormTitle = mazovia("Ustaw stanowiska dla magazynów");
constexpr auto kColumnCaption = mazovia("Stanowisko");
constexpr auto kCancelText = mazovia("Anuluj");
// \x05 and \x01 are the host's markup around the key name; each text is as
// wide as its button (10 bytes), so F10 goes without the blank.
constexpr const char* kRowButtonTexts[] = {
    "\x05" "F2 \x01 Mag.", "\x05" "F3 \x01 Mag.", "\x05" "F4 \x01 Mag.",
    "\x05" "F5 \x01 Mag.", "\x05" "F6 \x01 Mag.", "\x05" "F7 \x01 Mag.",
    "\x05" "F8 \x01 Mag.", "\x05" "F9 \x01 Mag.", "\x05" "F10\x01 Mag."};
constexpr const char* kOkText = "\x05" "F12\x01 OK";

constexpr uint16_t u16(int value) { return static_cast<uint16_t>(value); }

constexpr FormItem frameItem() {
  return {kFrame, u16(kConfigFormId), 0, 0, 0, 0, 67, 16, FieldType::none, kFormTitle};
}
constexpr FormItem emptyCaption() {
  return {kCaption, kNoId, 0x0800, 0, 1, 1, 1, 1, FieldType::none, ""};
}
constexpr FormItem columnCaption() {
  return {kCaption, kNoId, 0, 0, 35, 1, 10, 1, FieldType::none, kColumnCaption};
}
constexpr FormItem nameField(int row) {
  return {kField, u16(nameFieldId(row)), 0x0002, 0, 13, u16(2 + row), 18, 1, FieldType::text, ""};
}
constexpr FormItem rowButton(int row) {
  return {kButton, rowButtonKey(row), 0x0180, rowButtonKey(row), 3, u16(2 + row), 10, 1,
          FieldType::none, kRowButtonTexts[row]};
}
constexpr FormItem workstationField(int row, int column) {
  return {kField, u16(workstationFieldId(row, column)), 0, 0, u16(35 + 8 * column), u16(2 + row),
          8, 1, FieldType::number, ""};
}
constexpr FormItem okButton() {
  return {kButton, u16(kOkButtonId), 0x8004, kF12, 23, 13, 8, 1, FieldType::none, kOkText};
}
constexpr FormItem cancelButton() {
  return {kButton, u16(kCancelButtonId), 0, 0, 35, 13, 8, 1, FieldType::none, kCancelText};
}

// Each row: name, its picker button, a caption, then the three workstation
// fields with captions between them; rows are separated by one more caption.
consteval std::array<FormItem, kFormItemCount> formItems() {
  std::array<FormItem, kFormItemCount> items{};
  std::size_t n = 0;
  items[n++] = emptyCaption();
  for (int row = 0; row < 9; ++row) {
    items[n++] = nameField(row);
    items[n++] = rowButton(row);
    items[n++] = row == 0 ? columnCaption() : emptyCaption();
    items[n++] = workstationField(row, 0);
    items[n++] = emptyCaption();
    items[n++] = workstationField(row, 1);
    items[n++] = emptyCaption();
    items[n++] = workstationField(row, 2);
    if (row < 8) items[n++] = emptyCaption();
  }
  items[n++] = okButton();
  items[n++] = cancelButton();
  if (n != items.size()) throw "the form has a different number of items";
  return items;
}

constexpr std::size_t textSize(const char* text) {
  std::size_t size = 1;
  while (*text++ != '\0') ++size;
  return size;
}

// Common layout: 20 bytes and the text. Fields: the definition size is where
// the 4 bytes of closing values start; the empty text follows them.
constexpr std::size_t itemSize(const FormItem& item) {
  switch (item.field) {
    case FieldType::text: return kTextFieldDefinitionSize + 4 + 1;
    case FieldType::number: return kNumberFieldDefinitionSize + 4 + 1;
    case FieldType::none: break;
  }
  return 20 + textSize(item.text);
}

constexpr auto kItems = formItems();

consteval std::size_t templateSize() {
  std::size_t size = 8 + itemSize(frameItem());
  for (const FormItem& item : kItems) size += itemSize(item);
  return size;
}
static_assert(templateSize() == kFormTemplateSize);

struct TemplateWriter {
  FormTemplate out{};
  std::size_t at = 0;

  constexpr void byte(unsigned value) { out.bytes[at++] = static_cast<unsigned char>(value & 0xFF); }
  constexpr void word(uint16_t value) {
    byte(value);
    byte(static_cast<unsigned>(value >> 8));
  }
  constexpr void dword(uint32_t value) {
    word(static_cast<uint16_t>(value & 0xFFFF));
    word(static_cast<uint16_t>(value >> 16));
  }
  constexpr void text(const char* bytes) {
    do byte(static_cast<unsigned char>(*bytes)); while (*bytes++ != '\0');
  }
  constexpr void zeros(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) byte(0);
  }

  constexpr void common(const FormItem& item) {
    word(static_cast<uint16_t>(item.kind));
    word(item.id);
    word(item.flags);
    word(item.key);
    word(item.column);
    word(item.row);
    word(item.width);
    word(item.height);
    zeros(4);
  }

  constexpr void item(const FormItem& item) {
    if (item.field == FieldType::none) {
      common(item);
      text(item.text);
      return;
    }
    const bool isText = item.field == FieldType::text;
    word(static_cast<uint16_t>(kField));
    word(isText ? kTextFieldDefinitionSize : kNumberFieldDefinitionSize);
    common(item);
    zeros(8);
    if (isText) {
      word(kTextFieldLength);
      word(0x88);
      word(0);
      word(kTextFieldLength);
      word(1);
    } else {
      word(7);
      word(2);
      word(0x40);
      word(0);
      dword(kNumberFieldLowest);
      dword(kNumberFieldHighest);
    }
    byte(0);  // no text
  }
};

consteval FormTemplate buildFormTemplate() {
  TemplateWriter writer;
  writer.dword(static_cast<uint32_t>(kFormTemplateSize - 4));
  writer.word(static_cast<uint16_t>(kFormTemplateSize - 8));
  writer.word(static_cast<uint16_t>(kItems.size()));
  writer.item(frameItem());
  for (const FormItem& item : kItems) writer.item(item);
  if (writer.at != kFormTemplateSize) throw "the template does not fill its block";
  return writer.out;
}

}  // namespace

constinit FormTemplate formTemplate = buildFormTemplate();

}  // namespace kamoria
