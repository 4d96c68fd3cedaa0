// weltor: the substitute host as a program. It loads its main module WELTOR
// and a plug-in into one process, as the real host does, and plays the
// bundled tour or a scenario file against them, printing what the user would
// see, or lets a person work an item list and the configuration form at the
// keyboard. The commands are in command_line.h, the scenario language in
// scenario.h.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "command_line.h"
#include "interactive.h"
#include "options_printer.h"
#include "sample_set.h"
#include "scenario.h"
#include "script_actions.h"
#include "session.h"
#include "terminal.h"

namespace fs = std::filesystem;
using namespace weltor_program;

namespace {

int fail(const std::string& error) {
  std::cerr << "weltor: " << error << "\n";
  return 1;
}

fs::path tourFile() {
  const fs::path besideProgram = programDirectory() / "tour.txt";
  std::error_code failed;
  return fs::exists(besideProgram, failed) ? besideProgram : fs::path(WELTOR_TOUR_FILE);
}

bool readSteps(const fs::path& file, std::vector<Step>& steps, std::string& error) {
  std::ifstream text(file);
  if (!text) {
    error = "cannot read the scenario " + file.string();
    return false;
  }
  return readScenario(file.filename().string(), text, steps, error);
}

// Runs the host in its data directory (the result file lands there) and
// leaves it again before the directory goes away.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const fs::path& dir) {
    std::error_code failed;
    before_ = fs::current_path(failed);
    fs::current_path(dir, failed);
  }
  ~WorkingDirectory() {
    std::error_code failed;
    fs::current_path(before_, failed);
  }

 private:
  fs::path before_;
};

int runHost(const CommandLine& line) {
  std::vector<Step> steps;
  std::string error;
  if (line.command != Command::interactive &&
      !readSteps(line.command == Command::demo ? tourFile() : fs::path(line.file), steps, error))
    return fail(error);

  SessionPlace place{hostModuleFile(line.hostName), {}, line.pluginFile.empty() ? defaultPluginFile() : fs::absolute(line.pluginFile)};
  ScratchDirectory scratch;
  if (line.dataDir.empty()) {
    if (scratch.path().empty()) return fail("cannot make a temporary directory");
    if (!prepareFreshSample(place.hostModule, scratch.path(), error)) return fail(error);
    place.dataDir = scratch.path();
  } else {
    std::error_code failed;
    fs::create_directories(line.dataDir, failed);
    place.dataDir = fs::absolute(line.dataDir, failed);
    if (!fs::is_directory(place.dataDir, failed)) return fail("cannot make the data directory " + line.dataDir);
  }
  WorkingDirectory inData(place.dataDir);

  Session session;
  if (!session.start(place, error) || !defineSampleWarehouses(session, error)) return fail(error);
  if (line.command == Command::interactive) return runInteractive(session, error) ? 0 : fail(error);

  const std::string sample = sampleSummary(place.dataDir);
  std::cout << "WELTOR started on " << (line.dataDir.empty() ? "a fresh copy of the sample data" : place.dataDir.string())
            << (sample.empty() ? "" : " (" + sample + ")") << " and loaded " << place.pluginFile.filename().string()
            << "\n";
  Player player(session, std::cout);
  player.showNew();
  const std::string name = line.command == Command::demo ? "tour.txt" : fs::path(line.file).filename().string();
  for (const Step& step : steps)
    if (!player.play(step, error)) {
      std::cout.flush();
      return fail(name + ":" + std::to_string(step.line) + ": " + error);
    }
  return 0;
}

int printOptionsCommand(const CommandLine& line) {
  std::string path = line.file;
  if (path.empty()) path = ((line.dataDir.empty() ? fs::current_path() : fs::path(line.dataDir)) / "Kamoria.dat").string();
  std::string error;
  return printOptionsFile(path, std::cout, error) ? 0 : fail(error);
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  std::string error;
  if (!readCommandLine(argc, argv, line, error)) {
    std::cerr << "weltor: " << error << "\n" << usage();
    return 2;
  }
  if (line.command == Command::none) {
    if (!stdinIsTerminal()) {
      std::cerr << usage();
      return 2;
    }
    line.command = Command::interactive;
  }
  switch (line.command) {
    case Command::help: std::cout << usage(); return 0;
    case Command::options: return printOptionsCommand(line);
    case Command::sample:
      if (!writeSampleSet(hostModuleFile(line.hostName), fs::absolute(line.file), SampleSize{}, error)) return fail(error);
      std::cout << "weltor: sample data in " << line.file << "\n";
      return 0;
    default: return runHost(line);
  }
}
