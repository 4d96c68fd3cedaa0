// Scenario files: the small line language that `weltor play` and the tour are
// written in. A whole file is read before anything is played, so a mistake on
// line 40 stops the scenario before line 1 runs.
//
// One action per line; '#' starts a comment line.
//   say TEXT                      a line of commentary
//   sample WAREHOUSES ITEMS [LINK-EVERY]   write a sample data set
//   user workstation N            the workstation the user works at
//   user forbid RIGHT             the user lacks a right: warehouse-change,
//                                 configuration, or GROUP ITEM MODE
//   host warehouse|default-warehouse|setting|api-version N
//   describe | activate | report | configure | unload   the plug-in's entries
//   answer N                      the answer the next question dialog gets
//   pick N...                     what the user picks in the warehouse picker
//   form STEP...                  the user's steps in the next form: F2 … F12,
//                                 Esc, ok, cancel, F4.1=3 (types 3 into the
//                                 F4 row's first workstation), 0x410D=3
//   open SCREEN | close SCREEN    the host opens or closes a screen
//   key SCREEN KEY                a key pressed on a screen
//   cursor SCREEN ITEM            an item list's cursor moves to an item
//   show state | show options | show FILE    what the host holds
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "weltor.h"

namespace weltor_program {

enum class Verb {
  say, sample, workstation, forbid, hostValue, describe, activate, report, configure, unload,
  answer, pick, form, open, close, key, cursor, show,
};

struct Step {
  int line = 0;
  std::string source;  // the line as written
  Verb verb = Verb::say;
  std::string word;    // say: the text; host: the value's name; show: what
  std::vector<int32_t> numbers;
  std::vector<weltor::FormStep> formSteps;
};

// The steps of a scenario, or false with `error` naming the line and what was
// expected there ("tour.txt:12: expected ...").
bool readScenario(const std::string& name, std::istream& text, std::vector<Step>& steps, std::string& error);

// Key names as scenarios and the terminal use them: F2 … F12, Ctrl-F6,
// Ctrl-9, Esc, or a number (0x8500).
bool keyCode(const std::string& name, int32_t& code);

}  // namespace weltor_program
