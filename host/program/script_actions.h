// Plays scenario steps against a session and writes what a person would see:
// every box, notice, question, form and list window the plug-in raises.
#pragma once

#include <ostream>
#include <string>

#include "boxes.h"
#include "scenario.h"
#include "session.h"

namespace weltor_program {

class Player {
 public:
  Player(Session& session, std::ostream& out) : session_(session), out_(out) {}
  // Boxes that came up before the first step (while the plug-in loaded).
  void showNew();
  // False, with `error`, when the host cannot do what the step asks.
  bool play(const Step& step, std::string& error);

 private:
  bool setHostValue(const Step& step, std::string& error);
  bool screenEvent(const Step& step, std::string& error);
  void showForm();
  void showFile(const std::string& name);
  void print(const Canvas& canvas);

  Session& session_;
  std::ostream& out_;
  int dialogsShown_ = 0;
  int asksShown_ = 0;
  int windowsShown_ = 0;
  bool saying_ = false;
};

}  // namespace weltor_program
