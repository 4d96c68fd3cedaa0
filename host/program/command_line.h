// The weltor program's command line.
//
//   weltor [--data DIR] [--host NAME] [--plugin FILE] [COMMAND]
//     demo              play the bundled tour
//     play FILE         play a scenario file
//     interactive       an item list and the configuration form at the
//                       keyboard (the default on a terminal; Linux)
//     options [FILE]    print an options file (default: Kamoria.dat in the
//                       data directory)
//     sample DIR        write a sample data set into DIR
//
// Without --data the commands work on a fresh copy of the sample data set
// that the build generated, so it is never changed.
#pragma once

#include <string>

namespace weltor_program {

enum class Command { none, demo, play, interactive, options, sample, help };

struct CommandLine {
  Command command = Command::none;
  std::string dataDir;     // empty: a fresh copy of the sample
  std::string hostName = "full";
  std::string pluginFile;  // empty: the plug-in built next to the program
  std::string file;        // play: the scenario; options: the file; sample: the directory
};

// False, with `error`, for a command line the program does not understand.
bool readCommandLine(int argc, char** argv, CommandLine& line, std::string& error);
const char* usage();

}  // namespace weltor_program
