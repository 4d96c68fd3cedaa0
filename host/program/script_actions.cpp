#include "script_actions.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "display.h"
#include "sample_data.h"

namespace weltor_program {

namespace {

using Entry30001 = int32_t (*)(FeatureFunction, char*);
using EntryWithValue = int32_t (*)(int32_t);

const std::map<std::string, int16_t> kKeys = {
    {"F2", 0x3C00}, {"F3", 0x3D00}, {"F4", 0x3E00},  {"F5", 0x3F00},  {"F6", 0x4000},
    {"F7", 0x4100}, {"F8", 0x4200}, {"F9", 0x4300},  {"F10", 0x4400}, {"F11", static_cast<int16_t>(0x8500)},
    {"F12", static_cast<int16_t>(0x8600)}, {"Ctrl-F6", 0x6300}, {"Ctrl-9", 0x00EF},
};

bool parseKey(const std::string& word, int16_t& key) {
  if (const auto known = kKeys.find(word); known != kKeys.end()) {
    key = known->second;
    return true;
  }
  char* end = nullptr;
  const long value = std::strtol(word.c_str(), &end, 0);
  if (end == word.c_str() || *end != '\0') return false;
  key = static_cast<int16_t>(value);
  return true;
}

const char* dialogName(weltor::DialogKind kind) {
  switch (kind) {
    case weltor::DialogKind::messageBox: return "box";
    case weltor::DialogKind::notice: return "notice";
    case weltor::DialogKind::alertBox: return "STOP box";
  }
  return "box";
}

// Pads a UTF-8 text to a width in characters, so columns line up.
std::string padded(std::string text, size_t width) {
  size_t letters = 0;
  for (const char c : text) letters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (letters < width) text.append(width - letters, ' ');
  return text;
}

void printIndented(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) std::cout << "      | " << line << "\n";
}

}  // namespace

bool Session::start(const std::filesystem::path& hostDir, const std::filesystem::path& dataDir,
                    const std::filesystem::path& pluginFile) {
  host_ = loadModule(hostDir / (std::string("WELTOR") + moduleExtension()));
  if (host_ == nullptr) {
    std::cerr << "weltor: " << loadError() << "\n";
    return false;
  }
  state_ = reinterpret_cast<WeltorStateFunction>(namedExport(host_, "weltorState"))();
  sendEvent_ = reinterpret_cast<WeltorSendEventFunction>(namedExport(host_, "weltorSendEvent"));
  reinterpret_cast<WeltorResetFunction>(namedExport(host_, "weltorReset"))(dataDir.string().c_str());
  std::cout << "WELTOR started on " << dataDir.string() << "\n";

  plugin_ = loadModule(pluginFile);
  if (plugin_ == nullptr) {
    std::cerr << "weltor: " << loadError() << "\n";
    return false;
  }
  std::cout << "loaded " << pluginFile.filename().string() << "\n";
  showNewDialogs();
  return true;
}

void Session::stop() {
  if (plugin_ != nullptr) unloadModule(plugin_);
  if (host_ != nullptr) unloadModule(host_);
  plugin_ = host_ = nullptr;
}

bool Session::run(const std::string& line) {
  std::istringstream words(line);
  std::string verb;
  words >> verb;
  bool done = true;
  if (verb == "say") {
    std::string rest;
    std::getline(words, rest);
    const auto start = rest.find_first_not_of(' ');
    std::cout << (saying_ ? "" : "\n") << "# " << (start == std::string::npos ? "" : rest.substr(start)) << "\n";
    saying_ = true;
    return true;
  }
  saying_ = false;
  std::cout << "> " << line << "\n";
  if (verb == "host") {
    done = hostAction(words);
  } else if (verb == "describe") {
    char description[64] = {};
    const auto feature = reinterpret_cast<FeatureFunction>(numberedExport(host_, 30006));
    const int32_t answer = reinterpret_cast<Entry30001>(numberedExport(plugin_, 30001))(feature, description);
    std::cout << "  the plug-in describes itself:\n";
    printIndented(weltor::toUtf8(description));
    std::cout << "  and answers " << answer << (answer == 0 ? " (ready)\n" : " (refuses to run)\n");
  } else if (verb == "activate" || verb == "report") {
    reinterpret_cast<EntryWithValue>(numberedExport(plugin_, 30008))(verb == "activate" ? 0 : 1);
  } else if (verb == "form") {
    done = formSteps(words);
  } else if (verb == "configure") {
    const int32_t formsBefore = state_->form.formsRun;
    const int32_t answer = reinterpret_cast<EntryWithValue>(numberedExport(plugin_, 30010))(0);
    if (state_->form.formsRun > formsBefore) showForm();
    std::cout << "  configuration answers " << answer << "\n";
  } else if (verb == "unload") {
    reinterpret_cast<Entry30001>(numberedExport(plugin_, 30001))(nullptr, nullptr);
  } else if (verb == "open" || verb == "close" || verb == "key") {
    done = screenAction(verb, words);
  } else if (verb == "show") {
    std::string name;
    words >> name;
    showFile(name);
  } else if (verb == "state") {
    showState();
  } else {
    done = false;
  }
  showNewDialogs();
  return done;
}

bool Session::hostAction(std::istream& words) {
  std::string what;
  words >> what;
  weltor::SessionState& session = state_->session;
  if (what == "sample") {
    weltor::SampleShape shape{};
    if (!(words >> shape.warehouseCount >> shape.itemsPerWarehouse >> shape.linkEvery)) return false;
    const auto write = reinterpret_cast<WeltorWriteSampleDataFunction>(namedExport(host_, "weltorWriteSampleData"));
    if (write == nullptr || write(&shape) != 0) return false;
    std::cout << "  sample data: " << shape.warehouseCount << " warehouses, " << shape.itemsPerWarehouse
              << " items each\n";
    return true;
  }
  if (what == "cursor") {
    int screen = 0, item = 0;
    if (!(words >> screen >> item)) return false;
    for (int i = 0; i < state_->stock.listCount; ++i)
      if (state_->stock.lists[i].screenId == screen) {
        state_->stock.lists[i].cursorItemNo = static_cast<int16_t>(item);
        return true;
      }
    return false;
  }
  if (what == "restrict") {
    weltor::Restriction r{};
    if (!(words >> r.group >> r.item >> r.mode) || session.restrictionCount >= 8) return false;
    session.restrictions[session.restrictionCount++] = r;
    return true;
  }
  long value = 0;
  if (!(words >> value)) return false;
  if (what == "workstation") {
    session.workstationNo = static_cast<int32_t>(value);
  } else if (what == "warehouse") {
    session.currentWarehouse = static_cast<int16_t>(value);
  } else if (what == "default-warehouse") {
    const auto number = static_cast<int16_t>(value);
    std::memcpy(session.settings + weltor::kDefaultWarehouseOffset, &number, sizeof number);
  } else if (what == "setting") {
    const auto setting = static_cast<int16_t>(value);
    if (unsigned char* cell = suspendedSetting()) std::memcpy(cell, &setting, sizeof setting);
  } else if (what == "pick") {
    weltor::FormState& form = state_->form;
    if (form.pickAnswerCount >= 16) return false;
    form.pickAnswers[form.pickAnswerCount++] = static_cast<int32_t>(value);
  } else if (what == "answer") {
    state_->form.askAnswer = static_cast<int32_t>(value);
  } else if (what == "api-version") {
    state_->checks.apiVersion = static_cast<int32_t>(value);
  } else {
    return false;
  }
  return true;
}

bool Session::screenAction(const std::string& verb, std::istream& words) {
  int screen = 0;
  if (!(words >> screen)) return false;
  int16_t argument = 0;
  int16_t event = verb == "open" ? kamoria::kEventOpen : verb == "close" ? kamoria::kEventClose : kamoria::kEventKey;
  if (verb == "key") {
    std::string key;
    if (!(words >> key) || !parseKey(key, argument)) return false;
  }
  const int before = state_->screens.receivedCount;
  const int windowsBefore = state_->stock.window.shownCount;
  const int16_t answer = sendEvent_(static_cast<int16_t>(screen), argument, event);
  if (state_->stock.window.shownCount > windowsBefore) {
    showNewDialogs();
    showWindow();
  }
  std::cout << "  screen " << screen << " answers " << answer
            << (state_->screens.receivedCount > before ? "" : " (the screen's own handler did not see it)") << "\n";
  return true;
}

// Steps of the next form: key names (F2 ... F12) are pressed, "N=V" types
// V into number field N, "ok" and "cancel" press those buttons.
bool Session::formSteps(std::istream& words) {
  weltor::FormState& form = state_->form;
  std::string word;
  while (words >> word) {
    if (form.scriptLength >= weltor::FormState::kScriptCapacity) return false;
    weltor::FormStep step{};
    int16_t key = 0;
    if (word == "ok" || word == "cancel") {
      step.kind = weltor::FormStepKind::pressButton;
      step.fieldId = word == "ok" ? weltor::kFormOk : weltor::kFormCancel;
    } else if (const auto equals = word.find('='); equals != std::string::npos) {
      step.kind = weltor::FormStepKind::typeNumber;
      step.fieldId = static_cast<int32_t>(std::strtol(word.substr(0, equals).c_str(), nullptr, 0));
      step.number = static_cast<int32_t>(std::strtol(word.substr(equals + 1).c_str(), nullptr, 0));
    } else if (parseKey(word, key)) {
      step.kind = weltor::FormStepKind::event;
      step.key = static_cast<uint16_t>(key);
      step.event = kamoria::kEventKey;
    } else {
      return false;
    }
    form.script[form.scriptLength++] = step;
  }
  return true;
}

void Session::showForm() {
  const weltor::FormState& form = state_->form;
  std::cout << "  [form] " << weltor::toUtf8(form.frame.text) << " (" << form.itemCount << " items)\n";
  for (int row = 0; row < 9; ++row) {
    std::cout << "      | F" << row + 2 << (row + 2 < 10 ? " " : "") << " Mag. ";
    for (int i = 0; i < form.fieldCount; ++i) {
      const weltor::FormField& field = form.fields[i];
      if (field.id == 0x4101 + row && field.buffer != nullptr) std::cout << padded(weltor::toUtf8(field.buffer), 18);
    }
    for (int column = 0; column < 3; ++column)
      for (int i = 0; i < form.fieldCount; ++i) {
        const weltor::FormField& field = form.fields[i];
        if (field.id != 0x410B + 10 * column + row || form.dataRecord == nullptr) continue;
        int32_t number = 0;
        std::memcpy(&number, form.dataRecord + field.slotOffset, sizeof number);
        std::cout << " " << number;
      }
    std::cout << "\n";
  }
  std::cout << "      closed with " << (form.closedWith == weltor::kFormOk ? "OK" : "Cancel") << "\n";
}

void Session::showNewDialogs() {
  const weltor::FormState& form = state_->form;
  for (; asksShown_ < form.asksShown; ++asksShown_) {
    std::cout << "  [question " << form.askDialogId << "]\n";
    printIndented(weltor::toUtf8(form.askText));
    std::cout << "      the user answers " << form.askAnswer << "\n";
  }
  const weltor::DialogState& dialogs = state_->dialogs;
  for (; dialogsShown_ < dialogs.count && dialogsShown_ < weltor::DialogState::kCapacity; ++dialogsShown_) {
    const weltor::Dialog& dialog = dialogs.shown[dialogsShown_];
    std::cout << "  [" << dialogName(dialog.kind) << "]";
    if (dialog.title[0] != '\0') std::cout << " " << weltor::toUtf8(dialog.title);
    std::cout << "\n";
    printIndented(weltor::toUtf8(dialog.text));
  }
}

void Session::showWindow() {
  const weltor::FileListWindow& window = state_->stock.window;
  std::cout << "  [window] " << weltor::toUtf8(window.title) << " (" << window.fileName << ")\n";
  for (int i = 0; i < window.lineCount && i < weltor::FileListWindow::kLineCapacity; ++i) {
    std::string line = weltor::toUtf8(window.lines[i]);
    const auto tab = line.find('\t');
    if (tab != std::string::npos) line = padded(line.substr(0, tab), 28) + line.substr(tab + 1);
    std::cout << "      | " << line << "\n";
  }
}

// Table 64's setting that the warehouse lock clears, at byte 76 of its record.
unsigned char* Session::suspendedSetting() {
  for (auto& table : state_->tables.list)
    if (table.id == 64) return table.buffer + 76;
  return nullptr;
}

void Session::showState() {
  const weltor::SessionState& session = state_->session;
  int16_t defaultWarehouse = 0;
  std::memcpy(&defaultWarehouse, session.settings + weltor::kDefaultWarehouseOffset, sizeof defaultWarehouse);
  int16_t setting = 0;
  if (const unsigned char* cell = suspendedSetting()) std::memcpy(&setting, cell, sizeof setting);
  std::cout << "  current warehouse " << session.currentWarehouse << ", default warehouse " << defaultWarehouse
            << ", table 64 setting " << setting << "\n  warehouses open to the user:";
  int open = 0;
  for (int j = 0; j < 100; ++j)
    if ((session.warehouseMask[j / 8] & (1u << (j % 8))) == 0) {
      if (open++ < 12) std::cout << " " << j;
    }
  std::cout << (open > 12 ? " ..." : "") << " (" << open << " of 100)\n";
}

void Session::showFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  if (!file) {
    std::cout << "  (no file " << name << ")\n";
    return;
  }
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::string content = bytes.str();
  std::cout << "  " << name << " (" << content.size() << " bytes):\n";
  if (name != "Kamoria.dat" || content.size() != 279) {
    printIndented(weltor::toUtf8(content));
    return;
  }
  // The options record: nine rows of name and three workstations, then the
  // rows' warehouse numbers.
  for (int row = 0; row < 9; ++row) {
    const char* base = content.data() + 29 * row;
    int32_t stations[3];
    std::memcpy(stations, base + 17, sizeof stations);
    int16_t warehouse = 0;
    std::memcpy(&warehouse, content.data() + 261 + 2 * row, sizeof warehouse);
    std::cout << "      | row " << row << ": warehouse " << warehouse << " \"" << weltor::toUtf8(std::string(base, strnlen(base, 17)))
              << "\", workstations " << stations[0] << " " << stations[1] << " " << stations[2] << "\n";
  }
}

}  // namespace weltor_program
