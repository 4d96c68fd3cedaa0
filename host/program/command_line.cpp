#include "command_line.h"

namespace weltor_program {

const char* usage() {
  return "usage: weltor [--data DIR] [--host NAME] [--plugin FILE] [COMMAND]\n"
         "  demo             play the bundled tour of the plug-in\n"
         "  play FILE        play a scenario file\n"
         "  interactive      an item list and the configuration form at the keyboard\n"
         "                   (what weltor does on a terminal without a command)\n"
         "  options [FILE]   print an options file (default: Kamoria.dat in the data directory)\n"
         "  sample DIR       write a sample data set into DIR\n"
         "Without --data, commands work on a fresh copy of the sample data set that the build made.\n";
}

bool readCommandLine(int argc, char** argv, CommandLine& line, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--data" || arg == "--host" || arg == "--plugin") {
      if (!hasValue) {
        error = arg + " needs a value";
        return false;
      }
      (arg == "--data" ? line.dataDir : arg == "--host" ? line.hostName : line.pluginFile) = argv[++i];
      continue;
    }
    if (arg == "--help" || arg == "-h" || arg == "help") {
      line.command = Command::help;
      return true;
    }
    if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    }
    if (line.command != Command::none) {
      if (!line.file.empty() || line.command == Command::demo || line.command == Command::interactive) {
        error = "unexpected " + arg;
        return false;
      }
      line.file = arg;
      continue;
    }
    if (arg == "demo") line.command = Command::demo;
    else if (arg == "play") line.command = Command::play;
    else if (arg == "interactive") line.command = Command::interactive;
    else if (arg == "options") line.command = Command::options;
    else if (arg == "sample") line.command = Command::sample;
    else {
      error = "unknown command " + arg;
      return false;
    }
  }
  if ((line.command == Command::play || line.command == Command::sample) && line.file.empty()) {
    error = std::string(line.command == Command::play ? "play needs a scenario file" : "sample needs a directory");
    return false;
  }
  return true;
}

}  // namespace weltor_program
