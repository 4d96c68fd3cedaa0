#include "support/fault_matrix.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "frame/mazovia.h"

namespace testing_support {

namespace {

using kamoria::mazovia;

// Every box and notice text of the plug-in.
const std::vector<std::string>& ownTexts() {
  static const std::vector<std::string> texts = {
      mazovia("Błąd operacji dyskowej-pokazStanInnychMag!\nOperacja niekompletna!").c_str(),
      mazovia("Błąd operacji dyskowej-Initial!\nOperacja niekompletna!").c_str(),
      mazovia("\x01" "cBłąd nr 1 operacji dyskowej w badajKtoryMag!\nOperacja niekompletna!\x01").c_str(),
      mazovia("Błąd podczas czytania opcji raportu!\n Niektóre opcje zostaną zresetowane!").c_str(),
      mazovia("Nie można otworzyc pliku z opcjami raportu!\n Niektóre opcje nie zostaną zapisane!").c_str(),
      mazovia("Przeglądam magazyny!").c_str(),
      mazovia("Brak uprawnień do konfiguracji wtyczki").c_str(),
      mazovia("Towarów z tym kodem nie ma na innych magazynach.").c_str(),
      mazovia("Brak kodu kreskowego. Nie mogę pokazać stanów innych magazynów.").c_str(),
      "NIeudane wyszukanie towaru z listy (fseek_lista)",
      "NIeudane wyszukanie towaru z listy (fseek_lista_new)",
  };
  return texts;
}

// How each text of the failure report begins.
const std::vector<std::string>& reportBeginnings() {
  static const std::vector<std::string> beginnings = {
      mazovia("Program nie obsługuje cech").c_str(),
      "Wtyczka \"",
      mazovia("Rozmiary rekordów").c_str(),
      mazovia("Moduł \"").c_str(),
  };
  return beginnings;
}

bool isOwnText(const weltor::Dialog& dialog) {
  const std::string text = dialog.text;
  switch (dialog.kind) {
    case weltor::DialogKind::alertBox:
      return std::string(dialog.title) == "STOP!!!" &&
             std::any_of(reportBeginnings().begin(), reportBeginnings().end(),
                         [&](const std::string& head) { return text.rfind(head, 0) == 0; });
    case weltor::DialogKind::messageBox:
      if (std::string(dialog.title) != "Uwaga") return false;
      [[fallthrough]];
    case weltor::DialogKind::notice:
      return std::find(ownTexts().begin(), ownTexts().end(), text) != ownTexts().end();
  }
  return false;
}

std::string hostNameFor(const FaultCase& faultCase) {
  return faultCase.fault == Fault::missing ? "without_" + std::to_string(faultCase.ordinal) : "full";
}

std::vector<Fault> faultsOn(int32_t cleanCalls) {
  std::vector<Fault> faults = {Fault::missing, Fault::failsFromTheFirst};
  if (cleanCalls > 1) faults.push_back(Fault::failsAtTheLast);
#if !defined(_WIN32)
  // Each module of the Windows build has its own unwinder: a fault thrown in
  // the host cannot cross the plug-in there.
  faults.push_back(Fault::throwsAtTheFirst);
  if (cleanCalls > 1) faults.push_back(Fault::throwsAtTheLast);
#endif
  return faults;
}

}  // namespace

std::string describe(const FaultCase& faultCase) {
  const char* what = "";
  switch (faultCase.fault) {
    case Fault::none: return "a sound host";
    case Fault::missing: what = "missing"; break;
    case Fault::failsFromTheFirst: what = "failing from its first call"; break;
    case Fault::failsAtTheLast: what = "failing at its last call"; break;
    case Fault::throwsAtTheFirst: what = "throwing at its first call"; break;
    case Fault::throwsAtTheLast: what = "throwing at its last call"; break;
  }
  return "service " + std::to_string(faultCase.ordinal) + " " + what + " (the sound run called it " +
         std::to_string(faultCase.cleanCalls) + " times)";
}

void FaultMatrix::playUnderEveryFault(const Story& story) {
  std::map<uint16_t, int32_t> called;
  {
    SCOPED_TRACE(describe(FaultCase{}));
    const StoryRun sound = playOnce(story, FaultCase{});
    ASSERT_LE(host().log.count, weltor::CallLog::kCapacity) << "the log holds the whole story";
    for (const uint16_t ordinal : callOrder()) ++called[ordinal];
    ASSERT_FALSE(called.empty());
    if (HasFailure()) return;
  }
  int runs = 0;
  for (const auto& [ordinal, calls] : called) {
    for (const Fault fault : faultsOn(calls)) {
      const FaultCase faultCase{fault, ordinal, calls};
      SCOPED_TRACE(describe(faultCase));
      playOnce(story, faultCase);
      ++runs;
    }
  }
  RecordProperty("services", static_cast<int>(called.size()));
  RecordProperty("faultyRuns", runs);
}

void FaultMatrix::startAfresh(const FaultCase& faultCase) {
  restart(hostNameFor(faultCase));
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(dataDir()))
    std::filesystem::remove_all(entry.path(), ignored);
}

StoryRun FaultMatrix::playOnce(const Story& story, const FaultCase& faultCase) {
  startAfresh(faultCase);
  story.arrange();
  StoryRun run{faultCase, 0, dataFiles()};
  clearLog();
  host().dialogs.count = 0;

  weltor::FrameState& frame = host().frame;
  const int32_t lastCall = faultCase.cleanCalls - 1;
  switch (faultCase.fault) {
    case Fault::none:
    case Fault::missing: break;
    case Fault::failsFromTheFirst:
    case Fault::failsAtTheLast:
      frame.failAtOrdinal = faultCase.ordinal;
      frame.failCountdown = faultCase.fault == Fault::failsAtTheLast ? lastCall : 0;
      break;
    case Fault::throwsAtTheFirst:
    case Fault::throwsAtTheLast:
      frame.throwAtOrdinal = faultCase.ordinal;
      frame.throwCountdown = faultCase.fault == Fault::throwsAtTheLast ? lastCall : 0;
      break;
  }
  try {
    story.play();
  } catch (const weltor::HostFault& fault) {
    run.faultReachedTest = fault.ordinal;
  }
  frame.failAtOrdinal = frame.throwAtOrdinal = 0;

  expectSoundEnding(run);
  story.check(run);
  return run;
}

// What holds after every story, whatever the host did.
void FaultMatrix::expectSoundEnding(const StoryRun& run) {
  const FaultCase& faultCase = run.faultCase;
  EXPECT_EQ(run.faultReachedTest, faultCase.throws() ? faultCase.ordinal : 0)
      << "a host fault reaches the host's caller, and nothing else does";

  for (const auto& dialog : dialogs())
    EXPECT_TRUE(isOwnText(dialog)) << "shown: [" << dialog.title << "] " << dialog.text;
  EXPECT_LE(host().dialogs.count, weltor::DialogState::kCapacity);

  // A close, destroy or change-end that fails leaves its object open: that
  // is the host's own doing.
  const weltor::FileState& files = host().files;
  if (!faultCase.hits(52305)) {
    EXPECT_EQ(files.openFiles, 0) << "data files left open";
  }
  if (!faultCase.hits(22563)) {
    EXPECT_EQ(files.liveFileNames, 0) << "FileName objects left alive";
  }
  // A constructor that does nothing leaves an object the host itself refuses
  // to open; the plug-in cannot tell, since a constructor reports nothing.
  if (!faultCase.hits(22562) || faultCase.fault == Fault::missing) {
    EXPECT_EQ(files.strayFileNameCalls, 0) << "FileName calls on storage that holds none";
  }
  EXPECT_EQ(files.strayHandleCalls, 0) << "file calls with a handle that is not open";
  EXPECT_EQ(host().stock.openTableFiles, 0) << "table files left open";
  EXPECT_EQ(host().stock.strayTableOpens, 0) << "a file read as another kind of file";
  if (!faultCase.hits(52336)) {
    EXPECT_EQ(host().session.recordChangeDepth, 0) << "a record change left open";
  }

  // The host's item and link files are only ever read.
  const DataFiles after = dataFiles();
  for (const auto& [name, bytes] : run.filesBefore) {
    if (name == kOptionsFile || name == kResultFile || name == "WtyczkiG.ini") continue;
    const auto found = after.find(name);
    EXPECT_TRUE(found != after.end() && found->second == bytes) << name << " changed";
  }
}

DataFiles FaultMatrix::dataFiles() const {
  DataFiles files;
  for (const auto& entry : std::filesystem::directory_iterator(dataDir())) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

std::vector<std::string> FaultMatrix::shownTexts() {
  std::vector<std::string> texts;
  for (const auto& dialog : dialogs()) texts.push_back(dialog.text);
  return texts;
}

bool FaultMatrix::shows(const std::string& text) {
  const auto texts = shownTexts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::string FaultMatrix::optionsFileBytes() const {
  const DataFiles files = dataFiles();
  const auto found = files.find(kOptionsFile);
  return found != files.end() ? found->second : "<none>";
}

}  // namespace testing_support
