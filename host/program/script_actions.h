// One session of the substitute host: the modules it loaded and the script
// actions it plays against them.
#pragma once

#include <filesystem>
#include <string>

#include "loader.h"
#include "weltor.h"

namespace weltor_program {

class Session {
 public:
  bool start(const std::filesystem::path& hostDir, const std::filesystem::path& dataDir,
             const std::filesystem::path& pluginFile);
  bool run(const std::string& line);
  void stop();

 private:
  bool hostAction(std::istream& words);
  bool screenAction(const std::string& verb, std::istream& words);
  bool formSteps(std::istream& words);
  void showForm();
  void showWindow();
  void showNewDialogs();
  void showState();
  unsigned char* suspendedSetting();
  void showFile(const std::string& name);

  Module host_ = nullptr;
  Module plugin_ = nullptr;
  weltor::HostState* state_ = nullptr;
  WeltorSendEventFunction sendEvent_ = nullptr;
  int dialogsShown_ = 0;
  int asksShown_ = 0;
  bool saying_ = false;
};

}  // namespace weltor_program
