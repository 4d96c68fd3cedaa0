// The terminal the program runs on: whether there is one, and on Linux the
// raw keyboard and the screen the interactive mode draws on.
#pragma once

#include <string>
#include <vector>

namespace weltor_program {

bool stdinIsTerminal();
bool stderrIsTerminal();

// A line on stderr that rewrites itself while long work goes on; silent when
// stderr is not a terminal, so transcripts stay clean.
class Progress {
 public:
  Progress() : shown_(stderrIsTerminal()) {}
  ~Progress() { done(); }
  void show(const std::string& text);
  void done();

 private:
  bool shown_;
  bool dirty_ = false;
};

// Keys as the interactive mode knows them.
enum class Key {
  none, up, down, pageUp, pageDown, home, end, left, right, tab, backTab, enter, escape, backspace,
  f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, ctrlF6, character,
};

struct KeyPress {
  Key key = Key::none;
  char character = 0;
};

// The terminal in raw mode on the alternate screen for as long as it lives.
class RawTerminal {
 public:
  RawTerminal();
  ~RawTerminal();
  RawTerminal(const RawTerminal&) = delete;
  RawTerminal& operator=(const RawTerminal&) = delete;
  bool ready() const { return ready_; }
  void size(int& columns, int& rows) const;
  // Waits for a key; Key::none when the input has ended.
  KeyPress read();
  void draw(const std::vector<std::string>& lines);

 private:
  bool ready_ = false;
};

}  // namespace weltor_program
