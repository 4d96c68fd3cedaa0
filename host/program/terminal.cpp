#include "terminal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <io.h>
#else
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace weltor_program {

void Progress::show(const std::string& text) {
  if (!shown_) return;
  std::fprintf(stderr, "\r\x1b[K%s", text.c_str());
  std::fflush(stderr);
  dirty_ = true;
}

void Progress::done() {
  if (!shown_ || !dirty_) return;
  std::fprintf(stderr, "\r\x1b[K");
  std::fflush(stderr);
  dirty_ = false;
}

#if defined(_WIN32)

bool stdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }
bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

// The interactive mode is the Linux program's; here the terminal stays as it is.
RawTerminal::RawTerminal() = default;
RawTerminal::~RawTerminal() = default;
void RawTerminal::size(int& columns, int& rows) const {
  columns = 80;
  rows = 24;
}
KeyPress RawTerminal::read() { return {}; }
void RawTerminal::draw(const std::vector<std::string>&) {}

#else

namespace {

termios savedMode;
int pushedBack = -1;  // a byte read too far, given out first next time

int readByte(int waitMilliseconds) {
  if (pushedBack >= 0) {
    const int byte = pushedBack;
    pushedBack = -1;
    return byte;
  }
  pollfd input{STDIN_FILENO, POLLIN, 0};
  if (waitMilliseconds >= 0 && poll(&input, 1, waitMilliseconds) <= 0) return -1;
  unsigned char byte = 0;
  return ::read(STDIN_FILENO, &byte, 1) == 1 ? byte : -2;
}

Key functionKey(int number) {
  switch (number) {
    case 12: return Key::f2;
    case 13: return Key::f3;
    case 14: return Key::f4;
    case 15: return Key::f5;
    case 17: return Key::f6;
    case 18: return Key::f7;
    case 19: return Key::f8;
    case 20: return Key::f9;
    case 21: return Key::f10;
    case 23: return Key::f11;
    case 24: return Key::f12;
    case 1: case 7: return Key::home;
    case 4: case 8: return Key::end;
    case 5: return Key::pageUp;
    case 6: return Key::pageDown;
    default: return Key::none;
  }
}

// The rest of an escape sequence: ESC [ params final, or ESC O final.
KeyPress escapeSequence() {
  const int introducer = readByte(50);
  if (introducer < 0) return {Key::escape, 0};
  if (introducer != '[' && introducer != 'O') {
    // Esc on its own, with the next key typed right after it.
    pushedBack = introducer;
    return {Key::escape, 0};
  }
  std::string parameters;
  int final = readByte(50);
  while (final >= 0 && ((final >= '0' && final <= '9') || final == ';')) {
    parameters += static_cast<char>(final);
    final = readByte(50);
  }
  if (final < 0) return {Key::escape, 0};
  const int first = parameters.empty() ? 0 : std::atoi(parameters.c_str());
  const bool withCtrl = parameters.find(";5") != std::string::npos;
  switch (final) {
    case 'A': return {Key::up, 0};
    case 'B': return {Key::down, 0};
    case 'C': return {Key::right, 0};
    case 'D': return {Key::left, 0};
    case 'H': return {Key::home, 0};
    case 'F': return {Key::end, 0};
    case 'Z': return {Key::backTab, 0};
    case 'Q': return {Key::f2, 0};  // xterm's F2 to F4: ESC O Q, R, S
    case 'R': return {Key::f3, 0};
    case 'S': return {Key::f4, 0};
    case '~': {
      const Key key = functionKey(first);
      return {key == Key::f6 && withCtrl ? Key::ctrlF6 : key, 0};
    }
    default: return {Key::none, 0};
  }
}

}  // namespace

bool stdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool stderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

RawTerminal::RawTerminal() {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO) || tcgetattr(STDIN_FILENO, &savedMode) != 0) return;
  termios raw = savedMode;
  raw.c_iflag &= static_cast<tcflag_t>(~(ICRNL | IXON));
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) != 0) return;
  ready_ = true;
  std::fputs("\x1b[?1049h\x1b[?25l", stdout);
  std::fflush(stdout);
}

RawTerminal::~RawTerminal() {
  if (!ready_) return;
  std::fputs("\x1b[0m\x1b[?25h\x1b[?1049l", stdout);
  std::fflush(stdout);
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedMode);
}

void RawTerminal::size(int& columns, int& rows) const {
  winsize window{};
  columns = 80;
  rows = 24;
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &window) == 0 && window.ws_col > 0 && window.ws_row > 0) {
    columns = window.ws_col;
    rows = window.ws_row;
  }
}

KeyPress RawTerminal::read() {
  for (;;) {
    const int byte = readByte(-1);
    if (byte < 0) return {Key::none, 0};
    if (byte == 0x1B) {
      const KeyPress press = escapeSequence();
      if (press.key != Key::none) return press;
      continue;
    }
    if (byte == '\r' || byte == '\n') return {Key::enter, 0};
    if (byte == '\t') return {Key::tab, 0};
    if (byte == 0x7F || byte == 0x08) return {Key::backspace, 0};
    if (byte == 0x03) return {Key::escape, 0};  // Ctrl-C leaves too
    if (byte >= 0x20 && byte < 0x7F) return {Key::character, static_cast<char>(byte)};
  }
}

void RawTerminal::draw(const std::vector<std::string>& lines) {
  std::string screen = "\x1b[H";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    screen += lines[i] + "\x1b[0m\x1b[K";
    if (i + 1 < lines.size()) screen += "\r\n";
  }
  screen += "\x1b[J";
  std::fwrite(screen.data(), 1, screen.size(), stdout);
  std::fflush(stdout);
}

#endif

}  // namespace weltor_program
