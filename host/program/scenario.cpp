#include "scenario.h"

#include <climits>
#include <cstdlib>
#include <map>
#include <sstream>

#include "config/form_template.h"

namespace weltor_program {

namespace {

constexpr int32_t kEscape = 0x011B;

const std::map<std::string, int32_t>& namedKeys() {
  static const std::map<std::string, int32_t> keys = {
      {"F2", 0x3C00}, {"F3", 0x3D00}, {"F4", 0x3E00}, {"F5", 0x3F00},   {"F6", 0x4000},
      {"F7", 0x4100}, {"F8", 0x4200}, {"F9", 0x4300}, {"F10", 0x4400}, {"F11", 0x8500},
      {"F12", 0x8600}, {"Ctrl-F6", 0x6300}, {"Ctrl-9", 0x00EF}, {"Esc", kEscape},
  };
  return keys;
}

const char* const kActions =
    "an action (say, sample, user, host, describe, activate, report, configure, unload, answer, pick, "
    "form, open, close, key, cursor, show)";

const std::map<std::string, Verb>& bareVerbs() {
  static const std::map<std::string, Verb> verbs = {
      {"describe", Verb::describe}, {"activate", Verb::activate}, {"report", Verb::report},
      {"configure", Verb::configure}, {"unload", Verb::unload},
  };
  return verbs;
}

bool wholeNumber(const std::string& word, int32_t& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  const long long number = std::strtoll(word.c_str(), &end, 0);
  if (*end != '\0' || number < INT32_MIN || number > INT32_MAX) return false;
  value = static_cast<int32_t>(number);
  return true;
}

// Reads the words of one line and phrases what went wrong with them.
class LineReader {
 public:
  LineReader(const std::string& text) : words_(text) {}

  bool word(std::string& out) {
    if (!(words_ >> out)) return false;
    read_ += (read_.empty() ? "" : " ") + out;
    return true;
  }
  // The rest of the line, as written.
  std::string rest() {
    std::string text;
    std::getline(words_, text);
    const auto start = text.find_first_not_of(" \t");
    return start == std::string::npos ? "" : text.substr(start);
  }
  bool number(const char* what, int32_t& value, std::string& error) {
    std::string text;
    const std::string after = read_;
    if (word(text) && wholeNumber(text, value)) return true;
    error = expected(what, after, text);
    return false;
  }
  bool end(std::string& error) {
    std::string extra;
    const std::string after = read_;
    if (!word(extra)) return true;
    error = expected("the end of the line", after, extra);
    return false;
  }
  static std::string expected(const std::string& what, const std::string& after, const std::string& got) {
    return "expected " + what + (after.empty() ? "" : " after \"" + after + "\"") + ", got " +
           (got.empty() ? "the end of the line" : "\"" + got + "\"");
  }
  const std::string& read() const { return read_; }

 private:
  std::istringstream words_;
  std::string read_;
};

// "F4.1=3": the first workstation of the row whose picker key is F4; or a
// field id, "0x410D=3".
bool formFieldStep(const std::string& word, weltor::FormStep& step) {
  const auto equals = word.find('=');
  if (equals == std::string::npos) return false;
  const std::string field = word.substr(0, equals);
  int32_t number = 0, fieldId = 0;
  if (!wholeNumber(word.substr(equals + 1), number)) return false;
  const auto dot = field.find('.');
  int32_t key = 0, column = 0;
  if (dot != std::string::npos && keyCode(field.substr(0, dot), key) && wholeNumber(field.substr(dot + 1), column)) {
    const int32_t row = (key - 0x3C00) / 0x100;
    if (key < 0x3C00 || key > 0x4400 || key % 0x100 != 0 || column < 1 || column > 3) return false;
    fieldId = kamoria::workstationFieldId(row, column - 1);
  } else if (!wholeNumber(field, fieldId)) {
    return false;
  }
  step.kind = weltor::FormStepKind::typeNumber;
  step.fieldId = fieldId;
  step.number = number;
  return true;
}

bool formStep(const std::string& word, weltor::FormStep& step) {
  step = weltor::FormStep{};
  if (word == "ok" || word == "cancel") {
    step.kind = weltor::FormStepKind::pressButton;
    step.key = word == "ok" ? weltor::kFormOk : weltor::kFormCancel;  // the button's id
    return true;
  }
  if (formFieldStep(word, step)) return true;
  int32_t key = 0;
  if (!keyCode(word, key)) return false;
  step.kind = weltor::FormStepKind::event;
  step.key = key;
  step.event = 1;
  return true;
}

bool readStep(LineReader& line, Step& step, std::string& error) {
  std::string verb;
  line.word(verb);
  if (verb == "say") {
    step.verb = Verb::say;
    step.word = line.rest();
    return true;
  }
  if (const auto bare = bareVerbs().find(verb); bare != bareVerbs().end()) {
    step.verb = bare->second;
    return line.end(error);
  }
  int32_t value = 0;
  if (verb == "sample") {
    step.verb = Verb::sample;
    for (const char* what : {"a number of warehouses", "a number of items per warehouse"}) {
      if (!line.number(what, value, error)) return false;
      step.numbers.push_back(value);
    }
    std::string every;
    const std::string after = line.read();
    if (line.word(every)) {
      if (!wholeNumber(every, value)) {
        error = LineReader::expected("how often items are linked, or the end of the line", after, every);
        return false;
      }
      step.numbers.push_back(value);
    }
    if (step.numbers[0] < 1 || step.numbers[0] > 100 || step.numbers[1] < 1 || step.numbers[1] > 32767) {
      error = "a sample has 1 to 100 warehouses and 1 to 32767 items each";
      return false;
    }
    return line.end(error);
  }
  if (verb == "user") {
    std::string what;
    const std::string after = line.read();
    line.word(what);
    if (what == "workstation") {
      step.verb = Verb::workstation;
      if (!line.number("a workstation number", value, error)) return false;
      step.numbers.push_back(value);
      return line.end(error);
    }
    if (what != "forbid") {
      error = LineReader::expected("\"workstation\" or \"forbid\"", after, what);
      return false;
    }
    step.verb = Verb::forbid;
    std::string right;
    const std::string afterForbid = line.read();
    line.word(right);
    if (right == "warehouse-change") {
      step.numbers = {9, 29, 0};
    } else if (right == "configuration") {
      step.numbers = {36, 1, 1};
    } else if (wholeNumber(right, value)) {
      step.numbers.push_back(value);
      for (const char* part : {"the right's item number", "the right's mode"}) {
        if (!line.number(part, value, error)) return false;
        step.numbers.push_back(value);
      }
    } else {
      error = LineReader::expected("a right (warehouse-change, configuration, or GROUP ITEM MODE)", afterForbid,
                                   right);
      return false;
    }
    return line.end(error);
  }
  if (verb == "host") {
    step.verb = Verb::hostValue;
    const std::string after = line.read();
    line.word(step.word);
    if (step.word != "warehouse" && step.word != "default-warehouse" && step.word != "setting" &&
        step.word != "api-version") {
      error = LineReader::expected("a host value (warehouse, default-warehouse, setting, api-version)", after,
                                   step.word);
      return false;
    }
    if (!line.number("a number", value, error)) return false;
    step.numbers.push_back(value);
    return line.end(error);
  }
  if (verb == "answer") {
    step.verb = Verb::answer;
    if (!line.number("the dialog's answer (a number)", value, error)) return false;
    step.numbers.push_back(value);
    return line.end(error);
  }
  if (verb == "pick") {
    step.verb = Verb::pick;
    std::string word;
    for (std::string after = line.read(); line.word(word); after = line.read()) {
      if (!wholeNumber(word, value)) {
        error = LineReader::expected("a warehouse number", after, word);
        return false;
      }
      step.numbers.push_back(value);
    }
    if (step.numbers.empty()) error = LineReader::expected("a warehouse number", "pick", "");
    return error.empty();
  }
  if (verb == "form") {
    step.verb = Verb::form;
    std::string word;
    for (std::string after = line.read(); line.word(word); after = line.read()) {
      weltor::FormStep formStepRead{};
      if (!formStep(word, formStepRead)) {
        error = LineReader::expected("a form step (F2 … F12, Esc, ok, cancel, F4.1=3, 0x410D=3)", after, word);
        return false;
      }
      step.formSteps.push_back(formStepRead);
    }
    if (step.formSteps.empty()) {
      error = LineReader::expected("a form step (F2 … F12, Esc, ok, cancel, F4.1=3, 0x410D=3)", "form", "");
      return false;
    }
    return true;
  }
  if (verb == "open" || verb == "close" || verb == "key" || verb == "cursor") {
    step.verb = verb == "open" ? Verb::open : verb == "close" ? Verb::close : verb == "key" ? Verb::key : Verb::cursor;
    if (!line.number("a screen number", value, error)) return false;
    step.numbers.push_back(value);
    if (verb == "key") {
      std::string key;
      const std::string after = line.read();
      if (!line.word(key) || !keyCode(key, value)) {
        error = LineReader::expected("a key (F2 … F12, Ctrl-F6, Ctrl-9, Esc or a number)", after, key);
        return false;
      }
      step.numbers.push_back(value);
    } else if (verb == "cursor") {
      if (!line.number("an item number", value, error)) return false;
      step.numbers.push_back(value);
    }
    return line.end(error);
  }
  if (verb == "show") {
    step.verb = Verb::show;
    if (!line.word(step.word)) {
      error = LineReader::expected("state, options or a file name", "show", "");
      return false;
    }
    return line.end(error);
  }
  error = LineReader::expected(kActions, "", verb);
  return false;
}

}  // namespace

bool keyCode(const std::string& name, int32_t& code) {
  if (const auto known = namedKeys().find(name); known != namedKeys().end()) {
    code = known->second;
    return true;
  }
  return (name.rfind("0x", 0) == 0 || (!name.empty() && name[0] >= '0' && name[0] <= '9')) &&
         wholeNumber(name, code) && code >= 0 && code <= 0xFFFF;
}

bool readScenario(const std::string& name, std::istream& text, std::vector<Step>& steps, std::string& error) {
  std::string source;
  for (int number = 1; std::getline(text, source); ++number) {
    if (!source.empty() && source.back() == '\r') source.pop_back();
    const auto first = source.find_first_not_of(" \t");
    if (first == std::string::npos || source[first] == '#') continue;
    Step step;
    step.line = number;
    step.source = source.substr(first);
    LineReader line(step.source);
    if (!readStep(line, step, error)) {
      error = name + ":" + std::to_string(number) + ": " + error;
      return false;
    }
    steps.push_back(step);
  }
  return true;
}

}  // namespace weltor_program
