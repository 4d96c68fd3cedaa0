#include "interactive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "config/form_template.h"
#include "display.h"
#include "host_views.h"
#include "item_files.h"
#include "terminal.h"

namespace weltor_program {

#if !defined(_WIN32)
namespace {

constexpr int16_t kItemLists[] = {147, 397, 742, 780, 2171, 2201, 3044};
constexpr int kListCount = sizeof kItemLists / sizeof kItemLists[0];

struct ItemRow {
  int16_t number = 0;
  std::string name, barcode, unit;
  int32_t quantity = 0;
};

std::string textAt(const unsigned char* record, int at, int limit) {
  const auto* text = reinterpret_cast<const char*>(record + at);
  return weltor::toUtf8(std::string(text, strnlen(text, static_cast<std::size_t>(limit))));
}

// The current warehouse's item file, read a screenful at a time.
class ItemFile {
 public:
  void open(const std::string& dataDir, int warehouse) {
    char path[1024];
    weltor::itemFilePath(path, sizeof path, dataDir.c_str(), warehouse, weltor::kItemFilePrefix,
                         weltor::kItemFileExtension);
    path_ = path;
    count_ = 0;
    if (std::FILE* file = std::fopen(path, "rb")) {
      if (std::fseek(file, 0, SEEK_END) == 0) count_ = static_cast<int>(std::ftell(file) / weltor::kItemRecordSize);
      std::fclose(file);
    }
  }
  int count() const { return count_; }
  std::vector<ItemRow> rows(int first, int wanted) const {
    std::vector<ItemRow> rows;
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (file == nullptr) return rows;
    unsigned char record[weltor::kItemRecordSize];
    if (std::fseek(file, static_cast<long>(first) * weltor::kItemRecordSize, SEEK_SET) == 0)
      for (int i = 0; i < wanted && std::fread(record, sizeof record, 1, file) == 1; ++i) {
        ItemRow row;
        std::memcpy(&row.number, record + weltor::kItemNumberAt, sizeof row.number);
        std::memcpy(&row.quantity, record + weltor::kItemQuantityAt, sizeof row.quantity);
        row.name = textAt(record, weltor::kItemNameAt, weltor::kItemBarcodeAt - weltor::kItemNameAt);
        row.barcode = textAt(record, weltor::kItemBarcodeAt, weltor::kItemUnitAt - weltor::kItemBarcodeAt);
        row.unit = textAt(record, weltor::kItemUnitAt, weltor::kItemQuantityAt - weltor::kItemUnitAt);
        rows.push_back(row);
      }
    std::fclose(file);
    return rows;
  }

 private:
  std::string path_;
  int count_ = 0;
};

std::string quantityText(int32_t thousandths) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", thousandths / 1000.0);
  return text;
}

class Workbench;
Workbench* active = nullptr;  // the form engine calls back through plain functions

class Workbench {
 public:
  Workbench(Session& session, RawTerminal& terminal) : session_(session), terminal_(terminal) {}

  void run() {
    weltor::HostState& host = session_.host();
    host.form.liveStep = &Workbench::liveStep;
    host.form.livePick = &Workbench::livePick;
    std::string description;
    if (session_.describe(description) != 0) {
      session_.report();
      collectBoxes();
      status_ = "The plug-in refused to run in this host. Any key leaves.";
      drawList();
      terminal_.read();
      return;
    }
    session_.activate();
    collectBoxes();
    openWarehouse(host.session.currentWarehouse);
    while (!quit_) {
      drawList();
      const KeyPress press = terminal_.read();
      if (!overlays_.empty()) {
        overlays_.clear();
        if (press.key == Key::none) quit_ = true;
        continue;
      }
      listKey(press);
    }
    session_.unload();
  }

 private:
  // ---- the item list ---------------------------------------------------------
  int listRows() const {
    int columns = 0, rows = 0;
    terminal_.size(columns, rows);
    return std::max(3, rows - 7);
  }

  void openWarehouse(int warehouse) {
    session_.host().session.currentWarehouse = static_cast<int16_t>(warehouse);
    items_.open(session_.place().dataDir.string(), warehouse);
    cursor_ = top_ = 0;
  }

  void listKey(const KeyPress& press) {
    const int page = listRows();
    const int16_t screen = kItemLists[list_];
    switch (press.key) {
      case Key::none:
      case Key::escape: quit_ = true; return;
      case Key::up: cursor_ -= 1; break;
      case Key::down: cursor_ += 1; break;
      case Key::pageUp: cursor_ -= page; break;
      case Key::pageDown: cursor_ += page; break;
      case Key::home: cursor_ = 0; break;
      case Key::end: cursor_ = items_.count() - 1; break;
      case Key::tab: list_ = (list_ + 1) % kListCount; status_.clear(); return;
      case Key::f11: hotKey(screen, 0x8500, "F11"); return;
      case Key::ctrlF6: hotKey(screen, 0x6300, "Ctrl-F6"); return;
      case Key::f3: {
        const int chosen = pickWarehouse(session_.host().session.currentWarehouse, false);
        openWarehouse(chosen);
        return;
      }
      case Key::f9: configure(); return;
      default: return;
    }
    cursor_ = std::clamp(cursor_, 0, std::max(0, items_.count() - 1));
    if (cursor_ < top_) top_ = cursor_;
    if (cursor_ >= top_ + page) top_ = cursor_ - page + 1;
  }

  void hotKey(int16_t screen, int32_t key, const char* name) {
    weltor::HostState& host = session_.host();
    const std::vector<ItemRow> row = items_.rows(cursor_, 1);
    if (weltor::ItemList* list = session_.itemList(screen)) list->cursorItemNo = row.empty() ? 0 : row.front().number;
    const int before = host.screens.receivedCount;
    const int16_t answer = session_.sendEvent(screen, static_cast<int16_t>(key), kamoria::kEventKey);
    collectBoxes();
    status_ = std::string(name) + " on list " + std::to_string(screen) + ": " +
              (host.screens.receivedCount > before ? "the list got the key" : "the plug-in took the key") +
              " (answer " + std::to_string(answer) + ")";
  }

  void configure() {
    weltor::HostState& host = session_.host();
    const int formsBefore = host.form.formsRun;
    session_.configure();
    collectBoxes();
    if (host.form.formsRun > formsBefore)
      status_ = host.form.closedWith == weltor::kFormOk ? "Configuration saved (F12)." : "Configuration left unsaved.";
  }

  // Dialogs and the list window that came up since the last look.
  void collectBoxes() {
    weltor::HostState& host = session_.host();
    for (; asksShown_ < host.form.asksShown; ++asksShown_) overlays_.push_back(questionView(host.form));
    for (; dialogsShown_ < host.dialogs.count && dialogsShown_ < weltor::DialogState::kCapacity; ++dialogsShown_) {
      const weltor::Dialog& dialog = host.dialogs.shown[dialogsShown_];
      if (isProgressBox(dialog)) continue;  // gone again by the time the person looks
      overlays_.push_back(dialogView(dialog));
    }
    dialogsShown_ = host.dialogs.count;
    if (host.stock.window.shownCount > windowsShown_) {
      windowsShown_ = host.stock.window.shownCount;
      overlays_.push_back(listWindowView(host.stock.window, 0, std::max(1, listRows() - 4)));
    }
  }

  Canvas screenCanvas() const {
    int columns = 0, rows = 0;
    terminal_.size(columns, rows);
    return Canvas(columns, rows);
  }

  void drawOverlays(Canvas& screen) const {
    for (std::size_t i = 0; i < overlays_.size(); ++i) {
      const Canvas& box = overlays_[i];
      const int column = std::max(0, (screen.width() - box.width()) / 2) + static_cast<int>(i);
      const int row = std::max(1, (screen.height() - box.height()) / 2) + static_cast<int>(i);
      screen.paste(column, row, box);
    }
  }

  void drawList() {
    Canvas screen = screenCanvas();
    const weltor::HostState& host = session_.host();
    const int warehouse = host.session.currentWarehouse;
    screen.text(0, 0, " WELTOR  item list " + std::to_string(kItemLists[list_]) + "  warehouse " +
                          std::to_string(warehouse) + " " + session_.warehouseName(warehouse) + "  workstation " +
                          std::to_string(host.session.workstationNo), true);
    const int rows = listRows();
    const int width = screen.width();
    screen.frame(0, 1, width, rows + 3, "Towary (" + std::to_string(items_.count()) + ")");
    const int nameWidth = std::max(10, width - 48);
    screen.text(2, 2, fitted("Nr", 6) + fitted("Nazwa", nameWidth) + fitted("Kod kreskowy", 15) + fitted("J.m.", 7) +
                          rightAligned("Stan", 12));
    const std::vector<ItemRow> shown = items_.rows(top_, rows);
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const ItemRow& item = shown[i];
      const std::string line = fitted(std::to_string(item.number), 6) + fitted(item.name, nameWidth) +
                               fitted(item.barcode, 15) + fitted(item.unit, 7) +
                               rightAligned(quantityText(item.quantity), 12);
      const bool atCursor = top_ + static_cast<int>(i) == cursor_;
      screen.text(1, 3 + static_cast<int>(i), atCursor ? "▸" : " ");
      screen.text(2, 3 + static_cast<int>(i), fitted(line, width - 4), atCursor);
    }
    screen.text(0, rows + 4, " ↑↓ PgUp PgDn  F11 Ctrl-F6 stock elsewhere  Tab next list  F3 warehouse  F9 configure  Esc quit");
    screen.text(0, rows + 5, " " + (overlays_.empty() ? status_ : std::string("Any key closes the window.")));
    drawOverlays(screen);
    terminal_.draw(screen.lines(true));
  }

  // ---- the configuration form -----------------------------------------------
  static bool liveStep(weltor::FormStep* step) { return active != nullptr && active->formStep(*step); }
  static int32_t livePick(int32_t current) {
    return active != nullptr ? active->pickWarehouse(current, true) : current;
  }

  int32_t focusedField() const { return kamoria::workstationFieldId(formRow_, formColumn_); }

  void drawForm(const Canvas* picker = nullptr) {
    Canvas screen = screenCanvas();
    const Canvas form = formView(session_.host().form, &focus_);
    screen.paste(std::max(0, (screen.width() - form.width()) / 2), 1, form);
    screen.text(0, form.height() + 2, " F2…F10 row's warehouse  digits: workstation  Tab ↑↓←→ move  F12 OK  Esc cancel");
    if (picker != nullptr) screen.paste(std::max(0, (screen.width() - picker->width()) / 2), 3, *picker);
    terminal_.draw(screen.lines(true));
  }

  // The typed number goes into the focused field before anything else happens.
  bool commitTyping(weltor::FormStep& step) {
    if (!focus_.typing) return false;
    focus_.typing = false;
    if (focus_.typed.empty()) return false;
    step = weltor::FormStep{};
    step.kind = weltor::FormStepKind::typeNumber;
    step.fieldId = focus_.fieldId;
    step.number = static_cast<int32_t>(std::min(std::strtoll(focus_.typed.c_str(), nullptr, 10), 2147483647LL));
    focus_.typed.clear();
    return true;
  }

  bool formStep(weltor::FormStep& step) {
    if (queued_) {
      step = queuedStep_;
      queued_ = false;
      return true;
    }
    for (;;) {
      focus_.fieldId = focusedField();
      drawForm();
      const KeyPress press = terminal_.read();
      int32_t key = 0;
      switch (press.key) {
        case Key::none: quit_ = true; return false;
        case Key::character:
          if (press.character >= '0' && press.character <= '9' && focus_.typed.size() < 10) {
            if (!focus_.typing) focus_.typed.clear();
            focus_.typing = true;
            focus_.typed += press.character;
          }
          continue;
        case Key::backspace:
          if (focus_.typing && !focus_.typed.empty()) focus_.typed.pop_back();
          continue;
        case Key::escape:
          if (focus_.typing) {
            focus_.typing = false;
            focus_.typed.clear();
            continue;
          }
          key = weltor::kEscapeKey;
          break;
        case Key::enter:
        case Key::tab:
        case Key::right:
        case Key::backTab:
        case Key::left:
        case Key::down:
        case Key::up: {
          // Leaving the field puts what was typed into it first.
          const bool typed = commitTyping(step);
          const bool back = press.key == Key::backTab || press.key == Key::left;
          if (press.key == Key::down || press.key == Key::up)
            moveFocus(0, press.key == Key::down ? 1 : -1);
          else
            moveFocus(back ? -1 : 1, 0);
          if (typed) return true;
          continue;
        }
        case Key::f2: key = 0x3C00; break;
        case Key::f3: key = 0x3D00; break;
        case Key::f4: key = 0x3E00; break;
        case Key::f5: key = 0x3F00; break;
        case Key::f6: key = 0x4000; break;
        case Key::f7: key = 0x4100; break;
        case Key::f8: key = 0x4200; break;
        case Key::f9: key = 0x4300; break;
        case Key::f10: key = 0x4400; break;
        case Key::f12: key = 0x8600; break;
        default: continue;
      }
      if (key >= 0x3C00 && key <= 0x4400) {
        // The person works on the row whose warehouse they choose.
        formRow_ = (key - 0x3C00) / 0x100;
        formColumn_ = 0;
      }
      weltor::FormStep keyStep{};
      keyStep.kind = weltor::FormStepKind::event;
      keyStep.key = key;
      keyStep.event = kamoria::kEventKey;
      if (commitTyping(step)) {
        queuedStep_ = keyStep;
        queued_ = true;
      } else {
        step = keyStep;
      }
      return true;
    }
  }

  // The next workstation field across (rows run on into the next row) or down.
  void moveFocus(int columns, int rows) {
    const int place = (formRow_ * 3 + formColumn_ + columns + 27) % 27;
    formRow_ = (place / 3 + rows + 9) % 9;
    formColumn_ = place % 3;
  }

  // ---- the warehouse picker ---------------------------------------------------
  int32_t pickWarehouse(int32_t current, bool inForm) {
    std::vector<int> defined;
    for (int w = 0; w < weltor::TableState::kWarehouseCount; ++w)
      if (session_.host().tables.warehouseDefined[w]) defined.push_back(w);
    if (defined.empty()) return current;
    int at = 0;
    for (std::size_t i = 0; i < defined.size(); ++i)
      if (defined[i] == current) at = static_cast<int>(i);
    for (;;) {
      std::vector<TextLine> lines;
      for (std::size_t i = 0; i < defined.size(); ++i)
        lines.push_back({(static_cast<int>(i) == at ? "▸ " : "  ") + rightAligned(std::to_string(defined[i]), 2) + "  " +
                         session_.warehouseName(defined[i])});
      lines.push_back({"↑↓ Enter choose  Esc leave"});
      const Canvas picker = boxed("Magazyny", lines, 30);
      if (inForm) {
        drawForm(&picker);
      } else {
        Canvas screen = screenCanvas();
        screen.paste(std::max(0, (screen.width() - picker.width()) / 2), 3, picker);
        terminal_.draw(screen.lines(true));
      }
      const KeyPress press = terminal_.read();
      if (press.key == Key::up) at = std::max(0, at - 1);
      if (press.key == Key::down) at = std::min(static_cast<int>(defined.size()) - 1, at + 1);
      if (press.key == Key::enter) return defined[static_cast<std::size_t>(at)];
      if (press.key == Key::escape) return current;
      if (press.key == Key::none) {
        quit_ = true;
        return current;
      }
    }
  }

  Session& session_;
  RawTerminal& terminal_;
  ItemFile items_;
  int list_ = 0, cursor_ = 0, top_ = 0;
  int formRow_ = 0, formColumn_ = 0;
  FormFocus focus_;
  bool queued_ = false;
  weltor::FormStep queuedStep_{};
  std::vector<Canvas> overlays_;
  std::string status_;
  int asksShown_ = 0, dialogsShown_ = 0, windowsShown_ = 0;
  bool quit_ = false;
};

}  // namespace
#endif

bool runInteractive(Session& session, std::string& error) {
#if defined(_WIN32)
  (void)session;
  error = "the interactive mode needs a Linux terminal; use weltor demo or weltor play here";
  return false;
#else
  RawTerminal terminal;
  if (!terminal.ready()) {
    error = "the interactive mode needs a terminal";
    return false;
  }
  Workbench workbench(session, terminal);
  active = &workbench;
  workbench.run();
  active = nullptr;
  return true;
#endif
}

}  // namespace weltor_program
