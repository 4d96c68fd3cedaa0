#include "host_views.h"

#include <algorithm>
#include <cstring>

#include "display.h"

namespace weltor_program {

namespace {

constexpr int16_t kButtonKind = 0;
constexpr int16_t kCaptionKind = 3;
constexpr int16_t kFieldKind = 5;

std::string hostText(const char* text, std::size_t capacity) {
  return std::string(text, strnlen(text, capacity));
}

const weltor::FormField* fieldOf(const weltor::FormState& form, int32_t id) {
  for (int i = 0; i < form.fieldCount && i < weltor::FormState::kFieldCapacity; ++i)
    if (form.fields[i].id == id) return &form.fields[i];
  return nullptr;
}

// "l-1Magazyn\rl16Stan\r": the headings of the window's columns.
std::vector<std::string> columnHeadings(const std::string& columns) {
  std::vector<std::string> headings;
  std::size_t begin = 0;
  while (begin < columns.size()) {
    std::size_t end = columns.find('\r', begin);
    if (end == std::string::npos) end = columns.size();
    std::string entry = columns.substr(begin, end - begin);
    std::size_t at = entry.empty() ? 0 : 1;  // the alignment letter
    if (at < entry.size() && entry[at] == '-') ++at;
    while (at < entry.size() && entry[at] >= '0' && entry[at] <= '9') ++at;
    headings.push_back(weltor::toUtf8(entry.substr(at)));
    begin = end + 1;
  }
  return headings;
}

std::vector<std::string> splitAtTabs(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', begin);
    cells.push_back(line.substr(begin, tab == std::string::npos ? std::string::npos : tab - begin));
    if (tab == std::string::npos) return cells;
    begin = tab + 1;
  }
}

}  // namespace

bool isProgressBox(const weltor::Dialog& dialog) {
  constexpr int32_t kProgressMode = 0x200;
  return dialog.kind == weltor::DialogKind::messageBox && dialog.mode == kProgressMode;
}

std::string dialogKindName(const weltor::Dialog& dialog) {
  switch (dialog.kind) {
    case weltor::DialogKind::messageBox: return isProgressBox(dialog) ? "progress box" : "message box";
    case weltor::DialogKind::notice: return "notice";
    case weltor::DialogKind::alertBox: return "stop box " + std::to_string(dialog.mode);
  }
  return "box";
}

Canvas dialogView(const weltor::Dialog& dialog) {
  const bool stop = dialog.kind == weltor::DialogKind::alertBox;
  return boxed(plainHostText(hostText(dialog.title, sizeof dialog.title)),
               layOutHostText(hostText(dialog.text, sizeof dialog.text)), 0, stop);
}

Canvas questionView(const weltor::FormState& form) {
  return boxed("", layOutHostText(hostText(form.askText, sizeof form.askText)));
}

Canvas formView(const weltor::FormState& form, const FormFocus* focus) {
  const int width = std::max<int>(form.frame.width, 20), height = std::max<int>(form.frame.height, 4);
  Canvas canvas(width, height);
  canvas.frame(0, 0, width, height, plainHostText(hostText(form.frame.text, sizeof form.frame.text)), true);
  for (int i = 0; i < form.itemCount && i < weltor::FormState::kItemCapacity; ++i) {
    const weltor::FormItemView& item = form.items[i];
    if (item.kind == kCaptionKind || item.kind == kButtonKind) {
      canvas.text(item.column, item.row, plainHostText(hostText(item.text, sizeof item.text)));
      continue;
    }
    if (item.kind != kFieldKind) continue;
    const weltor::FormField* field = fieldOf(form, item.id);
    if (field == nullptr || field->buffer == nullptr) continue;
    const bool focused = focus != nullptr && focus->fieldId == item.id;
    std::string value = focused && focus->typing ? focus->typed : weltor::toUtf8(hostText(field->buffer, weltor::kFieldBufferSize));
    // The field's last cell stays blank: the workstation fields stand side by side.
    const int shown = std::max(1, item.width - 1);
    if (!field->isText && displayWidth(value) > shown) {
      // Too long for the field: its end, marked as cut.
      const std::string tail = value.substr(value.size() - static_cast<std::size_t>(shown - 1));
      value = "…" + tail;
    }
    value = field->isText ? fitted(value, shown, "·") : rightAligned(value, shown, "·");
    canvas.text(item.column, item.row, value, focused);
    if (focused) canvas.text(item.column - 1, item.row, "▸");
  }
  return canvas;
}

Canvas listWindowView(const weltor::FileListWindow& window, int first, int rows) {
  const int held = std::min(window.lineCount, weltor::FileListWindow::kLineCapacity);
  std::vector<std::vector<std::string>> table;
  table.push_back(columnHeadings(hostText(window.columns, sizeof window.columns)));
  for (int i = 0; i < held; ++i)
    table.push_back(splitAtTabs(weltor::toUtf8(hostText(window.lines[i], weltor::FileListWindow::kLineWidth))));
  std::vector<int> widths;
  for (const auto& row : table)
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (widths.size() <= c) widths.push_back(0);
      widths[c] = std::max(widths[c], displayWidth(row[c]));
    }
  auto joined = [&](const std::vector<std::string>& row) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) line += (c == 0 ? "" : "  ") + fitted(row[c], widths[c]);
    return line;
  };
  std::vector<TextLine> body;
  body.push_back({joined(table.front())});
  int rule = 0;
  for (const int w : widths) rule += w + 2;
  std::string ruleLine;
  for (int i = 0; i < rule - 2; ++i) ruleLine += "─";
  body.push_back({ruleLine});
  const int last = rows > 0 ? std::min(held, first + rows) : held;
  for (int i = std::max(0, first); i < last; ++i) body.push_back({joined(table[static_cast<std::size_t>(i) + 1])});
  if (window.lineCount > last)
    body.push_back({"… " + std::to_string(window.lineCount - last) + " more line" + (window.lineCount - last == 1 ? "" : "s")});
  return boxed(plainHostText(hostText(window.title, sizeof window.title)), body);
}

std::string warehouseRanges(const std::vector<int>& warehouses) {
  std::string text;
  for (std::size_t i = 0; i < warehouses.size();) {
    std::size_t j = i;
    while (j + 1 < warehouses.size() && warehouses[j + 1] == warehouses[j] + 1) ++j;
    text += (text.empty() ? "" : ", ") + std::to_string(warehouses[i]);
    if (j > i) text += "–" + std::to_string(warehouses[j]);
    i = j + 1;
  }
  return text.empty() ? "none" : text;
}

std::vector<TextLine> hostValueLines(Session& session) {
  const weltor::SessionState& values = session.host().session;
  auto named = [&](int warehouse) {
    const std::string name = session.warehouseName(warehouse);
    return std::to_string(warehouse) + (name.empty() ? "" : " (" + name + ")");
  };
  int16_t setting = 0;
  if (const unsigned char* cell = session.suspendedSetting()) std::memcpy(&setting, cell, sizeof setting);
  std::vector<int> open;
  for (int j = 0; j < weltor::kWarehouseMaskSize * 8 && j < 100; ++j)
    if ((values.warehouseMask[j / 8] & (1u << (j % 8))) == 0) open.push_back(j);
  return {
      {"current warehouse: " + named(values.currentWarehouse)},
      {"default warehouse: " + named(session.defaultWarehouse())},
      {"table 64 setting:  " + std::to_string(setting)},
      {"open to the user:  " + warehouseRanges(open) + " (" + std::to_string(open.size()) + " of 100)"},
  };
}

}  // namespace weltor_program
