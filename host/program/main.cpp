// weltor: the substitute host as a program. It loads its main module WELTOR
// and a plug-in into one process, as the real host does, and plays a
// session script against them, printing what the user would see.
//
//   weltor --data DIR [--host NAME] [--plugin FILE] SCRIPT
//
// Script lines (one action each, '#' starts a comment):
//   say TEXT                       print TEXT
//   host workstation N             this workstation's number
//   host restrict GROUP ITEM MODE  the user is restricted in that right
//   host warehouse N               the current warehouse
//   host default-warehouse N       the default warehouse in the settings
//   host setting N                 table 64's setting (byte 76)
//   host api-version N             the interface version the host reports
//   host cursor SCREEN ITEM        the item under an item list's cursor
//   host answer N                  the answer the next question dialog gives
//   host pick N                    the warehouse the picker gives
//   form KEY...                    keys and typed values the next form gets
//   describe                       entry 30001 with the host's feature function
//   activate | report              entry 30008 with 0 | with 1
//   configure                      entry 30010
//   unload                         entry 30001 without a feature function
//   open SCREEN | close SCREEN | key SCREEN KEY   events to a screen
//   show FILE                      a data file or result file, as text
//   state                          current and default warehouse, mask, setting
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "display.h"
#include "loader.h"
#include "script_actions.h"
#include "weltor.h"

namespace {

void usage() {
  std::cerr << "usage: weltor --data DIR [--host NAME] [--plugin FILE] SCRIPT\n";
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dataDir, hostName = "full", pluginFile, script;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--data" && i + 1 < argc) dataDir = argv[++i];
    else if (arg == "--host" && i + 1 < argc) hostName = argv[++i];
    else if (arg == "--plugin" && i + 1 < argc) pluginFile = argv[++i];
    else if (!arg.empty() && arg[0] != '-') script = arg;
    else usage();
  }
  if (dataDir.empty() || script.empty()) usage();

  const auto programDir = weltor_program::programDirectory();
  if (pluginFile.empty()) pluginFile = (programDir / (std::string("kamoria") + weltor_program::moduleExtension())).string();

  std::ifstream lines(script);
  if (!lines) {
    std::cerr << "weltor: cannot read the script " << script << "\n";
    return 1;
  }
  std::error_code made;
  std::filesystem::create_directories(dataDir, made);
  const auto absoluteData = std::filesystem::absolute(dataDir);
  // The host works in its data directory; result files land there too.
  std::filesystem::current_path(absoluteData);

  weltor_program::Session session;
  if (!session.start(programDir / "hosts" / hostName, absoluteData, pluginFile)) return 1;

  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    if (!session.run(line.substr(first))) {
      std::cerr << "weltor: " << script << ":" << number << ": cannot do: " << line << "\n";
      return 1;
    }
  }
  session.stop();
  return 0;
}
