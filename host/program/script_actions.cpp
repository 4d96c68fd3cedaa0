#include "script_actions.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "display.h"
#include "host_views.h"
#include "options_printer.h"

namespace weltor_program {

namespace {

constexpr const char* kIndent = "  ";

std::string keyName(int32_t key) {
  static const std::pair<int32_t, const char*> names[] = {
      {0x3C00, "F2"}, {0x3D00, "F3"}, {0x3E00, "F4"}, {0x3F00, "F5"}, {0x4000, "F6"},
      {0x4100, "F7"}, {0x4200, "F8"}, {0x4300, "F9"}, {0x4400, "F10"}, {0x8500, "F11"},
      {0x8600, "F12"}, {0x6300, "Ctrl-F6"}, {0x00EF, "Ctrl-9"}, {0x011B, "Esc"},
  };
  for (const auto& [code, name] : names)
    if (code == key) return name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(key) & 0xFFFFu);
  return text;
}

}  // namespace

void Player::print(const Canvas& canvas) {
  for (const std::string& line : canvas.lines()) out_ << kIndent << line << "\n";
}

void Player::showNew() {
  weltor::HostState& host = session_.host();
  const weltor::FormState& form = host.form;
  for (; asksShown_ < form.asksShown; ++asksShown_) {
    out_ << kIndent << "question " << form.askDialogId << ":\n";
    print(questionView(form));
    out_ << kIndent << "the user answers " << form.askAnswer
         << (static_cast<int16_t>(form.askAnswer) != 0 ? " (do not show it again)\n" : " (show it again)\n");
  }
  const weltor::DialogState& dialogs = host.dialogs;
  for (; dialogsShown_ < dialogs.count; ++dialogsShown_) {
    if (dialogsShown_ >= weltor::DialogState::kCapacity) {
      out_ << kIndent << "(" << dialogs.count - dialogsShown_ << " more boxes)\n";
      dialogsShown_ = dialogs.count;
      break;
    }
    const weltor::Dialog& dialog = dialogs.shown[dialogsShown_];
    out_ << kIndent << dialogKindName(dialog) << ":\n";
    print(dialogView(dialog));
  }
  const weltor::FileListWindow& window = host.stock.window;
  if (window.shownCount > windowsShown_) {
    windowsShown_ = window.shownCount;
    out_ << kIndent << "list window " << window.windowId << " (" << window.fileName << "):\n";
    print(listWindowView(window));
  }
}

bool Player::play(const Step& step, std::string& error) {
  weltor::HostState& host = session_.host();
  if (step.verb == Verb::say) {
    out_ << (saying_ ? "" : "\n") << "# " << step.word << "\n";
    saying_ = true;
    return true;
  }
  saying_ = false;
  out_ << "> " << step.source << "\n";
  const auto& n = step.numbers;
  switch (step.verb) {
    case Verb::say: break;
    case Verb::sample: {
      const weltor::SampleShape shape{n[0], n[1], n.size() > 2 ? n[2] : 0, 0};
      if (!session_.writeSample(shape)) {
        error = "cannot write the sample data";
        return false;
      }
      out_ << kIndent << "sample data: " << n[0] << " warehouses, " << n[1] << " items each\n";
      break;
    }
    case Verb::workstation: host.session.workstationNo = n[0]; break;
    case Verb::forbid: {
      weltor::SessionState& values = host.session;
      if (values.restrictionCount >= 8) {
        error = "the host keeps at most 8 forbidden rights";
        return false;
      }
      values.restrictions[values.restrictionCount++] = {n[0], n[1], n[2]};
      break;
    }
    case Verb::hostValue:
      if (!setHostValue(step, error)) return false;
      break;
    case Verb::describe: {
      std::string description;
      const int32_t answer = session_.describe(description);
      out_ << kIndent << "the plug-in describes itself:\n";
      print(boxed("", layOutHostText(description)));
      out_ << kIndent << "and answers " << answer << (answer == 0 ? " (ready)\n" : " (refuses to run)\n");
      break;
    }
    case Verb::activate: session_.activate(); break;
    case Verb::report: session_.report(); break;
    case Verb::unload: session_.unload(); break;
    case Verb::configure: {
      const int32_t formsBefore = host.form.formsRun;
      const int32_t answer = session_.configure();
      showNew();
      if (host.form.formsRun > formsBefore) showForm();
      out_ << kIndent << "the configuration answers " << answer << "\n";
      break;
    }
    case Verb::answer: host.form.askAnswer = n[0]; break;
    case Verb::pick:
      for (const int32_t warehouse : n) {
        if (host.form.pickAnswerCount >= 16) {
          error = "the host keeps at most 16 picker answers";
          return false;
        }
        host.form.pickAnswers[host.form.pickAnswerCount++] = warehouse;
      }
      break;
    case Verb::form:
      for (const weltor::FormStep& formStep : step.formSteps) {
        if (host.form.scriptLength >= weltor::FormState::kScriptCapacity) {
          error = "the host keeps at most 64 steps for the next form";
          return false;
        }
        host.form.script[host.form.scriptLength++] = formStep;
      }
      break;
    case Verb::open:
    case Verb::close:
    case Verb::key:
      if (!screenEvent(step, error)) return false;
      break;
    case Verb::cursor: {
      weltor::ItemList* list = session_.itemList(n[0]);
      if (list == nullptr) {
        error = "screen " + std::to_string(n[0]) + " has no item list";
        return false;
      }
      list->cursorItemNo = static_cast<int16_t>(n[1]);
      break;
    }
    case Verb::show:
      if (step.word == "state") {
        print(boxed("host values", hostValueLines(session_)));
      } else if (step.word == "options") {
        if (!printOptionsFile("Kamoria.dat", out_, error, kIndent)) out_ << kIndent << error << "\n";
        error.clear();
      } else {
        showFile(step.word);
      }
      break;
  }
  showNew();
  return true;
}

bool Player::setHostValue(const Step& step, std::string& error) {
  weltor::HostState& host = session_.host();
  const int32_t value = step.numbers[0];
  if (step.word == "warehouse") {
    host.session.currentWarehouse = static_cast<int16_t>(value);
  } else if (step.word == "default-warehouse") {
    session_.setDefaultWarehouse(static_cast<int16_t>(value));
  } else if (step.word == "setting") {
    unsigned char* cell = session_.suspendedSetting();
    if (cell == nullptr) {
      error = "the host has no table 64";
      return false;
    }
    const auto setting = static_cast<int16_t>(value);
    std::memcpy(cell, &setting, sizeof setting);
  } else if (step.word == "api-version") {
    host.checks.apiVersion = value;
  }
  return true;
}

bool Player::screenEvent(const Step& step, std::string& error) {
  const auto screen = static_cast<int16_t>(step.numbers[0]);
  int16_t argument = 0;
  int16_t event = kamoria::kEventKey;
  if (step.verb == Verb::open) event = kamoria::kEventOpen;
  if (step.verb == Verb::close) event = kamoria::kEventClose;
  if (step.verb == Verb::key) argument = static_cast<int16_t>(step.numbers[1]);
  weltor::HostState& host = session_.host();
  bool known = false;
  for (int i = 0; i < host.screens.count && i < weltor::ScreenState::kCapacity; ++i)
    known = known || host.screens.list[i].id == screen;
  if (!known) {
    error = "the host has no screen " + std::to_string(screen);
    return false;
  }
  const int before = host.screens.receivedCount;
  const int16_t answer = session_.sendEvent(screen, argument, event);
  showNew();
  const bool handedOn = host.screens.receivedCount > before;
  out_ << kIndent << "screen " << screen << " answers " << answer;
  if (step.verb == Verb::key)
    out_ << (handedOn ? " (the key went on to the screen)" : " (the plug-in took " + keyName(step.numbers[1]) + "; the screen never saw it)");
  out_ << "\n";
  return true;
}

void Player::showForm() {
  const weltor::FormState& form = session_.host().form;
  if (!form.templateValid) {
    out_ << kIndent << "form " << form.frameId << ": the host could not read its description\n";
    return;
  }
  out_ << kIndent << "form " << form.frameId << ", as the user closed it with "
       << (form.closedWith == weltor::kFormOk ? "OK" : "Cancel") << ":\n";
  print(formView(form));
}

void Player::showFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  if (!file) {
    out_ << kIndent << "(there is no file " << name << ")\n";
    return;
  }
  std::stringstream bytes;
  bytes << file.rdbuf();
  std::string content;
  for (const char c : bytes.str())
    if (c != '\r') content += c;
  while (!content.empty() && content.back() == '\n') content.pop_back();
  print(boxed(name + ", " + std::to_string(bytes.str().size()) + " bytes", layOutHostText(content)));
}

}  // namespace weltor_program
