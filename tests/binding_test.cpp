// The plug-in binds the host's services by number when it is loaded, and
// keeps working in a host that lacks some of them.
#include <cstring>

#include "probes/probes.h"
#include "support/host_test.h"

#if !defined(_WIN32)
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#endif

namespace {

using testing_support::HostTest;
using testing_support::PluginBuild;

struct ServiceSlot {
  int slot;
  uint16_t ordinal;
  void* (*cell)(const kamoria::host::Cells&);
};

const ServiceSlot kSlots[] = {
#define HOST_SERVICE(slot, ordinal, name, result, parameters, arguments) \
  {slot, ordinal, [](const kamoria::host::Cells& c) { return reinterpret_cast<void*>(c.name); }},
#include "frame/host_services.def"
};

class Binding : public HostTest {
 protected:
  const FrameProbe& frame() { return *probe<FrameProbeFunction>("kamoriaProbeFrame")(); }

  // Every cell holds exactly what the host exports under its number.
  void expectCellsMatchTheHost() {
    for (const ServiceSlot& s : kSlots) {
      void* exported = hostModule() != nullptr ? testing_support::numberedExport(hostModule(), s.ordinal) : nullptr;
      EXPECT_EQ(s.cell(*frame().cells), exported) << "slot " << s.slot << " ordinal " << s.ordinal;
    }
  }
};

TEST_F(Binding, AFullHostBindsEveryCellAndMissesNothing) {
  restart("full", PluginBuild::probe);
  EXPECT_EQ(frame().serviceCount, 56);
  EXPECT_EQ(frame().missingOrdinals->count, 0);
  expectCellsMatchTheHost();
  EXPECT_EQ(reinterpret_cast<void*>(*frame().featureCheck), testing_support::numberedExport(hostModule(), 30006));
}

TEST_F(Binding, AHostLackingTenNumbersListsTheFirstEightInBindingOrderAndStillWorks) {
  restart("lacking_ten", PluginBuild::probe);
  const kamoria::MissingOrdinals& missing = *frame().missingOrdinals;
  EXPECT_EQ(missing.count, 10);
  const std::vector<uint16_t> listed(missing.list, missing.list + 8);
  EXPECT_EQ(listed, (std::vector<uint16_t>{40008, 41611, 41613, 30005, 38417, 52044, 52021, 52006}));
  expectCellsMatchTheHost();

  // Calls through the empty cells (unhookScreen among them) do nothing.
  EXPECT_EQ(entry30008(0), 0);
  EXPECT_EQ(entry30001(nullptr, nullptr), 0);
  EXPECT_TRUE(callsTo(52021).empty());
}

TEST_F(Binding, AHostLackingOnlyAnUncalledNumberCountsItAsMissing) {
  restart("lacking_40008", PluginBuild::probe);
  EXPECT_EQ(frame().missingOrdinals->count, 1);
  EXPECT_EQ(frame().missingOrdinals->list[0], 40008);
}

int32_t passedFeatureFunction(int32_t, int32_t) { return 1; }

TEST_F(Binding, AHostWithoutAFeatureExportRecordsNoMissAndTakesThePassedFunction) {
  restart("lacking_feature_check", PluginBuild::probe);
  EXPECT_EQ(frame().missingOrdinals->count, 0);
  EXPECT_EQ(*frame().featureCheck, nullptr);
  ASSERT_EQ(entry30001(&passedFeatureFunction, nullptr), 0);
  EXPECT_EQ(*frame().featureCheck, &passedFeatureFunction);
}

TEST_F(Binding, WithoutAnyHostModuleEveryNumberIsMissingAndTheEntriesStillAnswer) {
  restartWithoutHost(PluginBuild::probe);
  EXPECT_EQ(*frame().hostModule, nullptr);
  EXPECT_EQ(*frame().featureCheck, nullptr);
  EXPECT_EQ(frame().missingOrdinals->count, 56);
  const std::vector<uint16_t> listed(frame().missingOrdinals->list, frame().missingOrdinals->list + 8);
  EXPECT_EQ(listed, (std::vector<uint16_t>{30018, 35802, 40008, 41611, 41613, 30005, 38417, 52044}));
  for (const ServiceSlot& s : kSlots) EXPECT_EQ(s.cell(*frame().cells), nullptr) << s.ordinal;
  EXPECT_EQ(entry30009(), 0);
  EXPECT_EQ(entry30008(0), 0);
  EXPECT_EQ(entry30001(nullptr, nullptr), 0);
}

#if !defined(_WIN32)
// Loads the plug-in into a host lacking ten numbers with standard error
// going to a file, optionally while another process traces this one.
std::string debugOutputOfLoad(HostTest& test, void (HostTest::*restart)(const std::string&, PluginBuild),
                              bool traced) {
  int ready[2];
  if (pipe(ready) != 0) return "pipe failed";
  pid_t tracer = -1;
  if (traced) {
    const pid_t tracee = getpid();
    tracer = fork();
    if (tracer == 0) {
      const char answer = ptrace(PTRACE_SEIZE, tracee, nullptr, nullptr) == 0 ? 'y' : 'n';
      (void)!write(ready[1], &answer, 1);
      pause();
      _exit(0);
    }
    prctl(PR_SET_PTRACER, tracer, 0, 0, 0);
    char answer = 'n';
    (void)!read(ready[0], &answer, 1);
    if (answer != 'y') {
      kill(tracer, SIGKILL);
      waitpid(tracer, nullptr, 0);
      return "no tracer";
    }
  }
  close(ready[0]);
  close(ready[1]);

  const std::string capture = (std::filesystem::current_path() / "stderr.txt").string();
  fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  FILE* file = fopen(capture.c_str(), "w");
  dup2(fileno(file), STDERR_FILENO);
  (test.*restart)("lacking_ten", PluginBuild::shipped);
  fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  fclose(file);

  if (tracer > 0) {
    kill(tracer, SIGKILL);
    waitpid(tracer, nullptr, 0);
  }
  std::ifstream in(capture);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class DebugOutput : public HostTest {
 public:
  using HostTest::restart;
};

TEST_F(DebugOutput, MissingNumbersAreWrittenOnlyWhileTracedOneLineEach) {
  EXPECT_EQ(debugOutputOfLoad(*this, &DebugOutput::restart, false), "");
  const std::string traced = debugOutputOfLoad(*this, &DebugOutput::restart, true);
  if (traced == "no tracer") GTEST_SKIP() << "this machine does not allow tracing";
  EXPECT_EQ(traced,
            "Brak funkcji o numerze 40008\nBrak funkcji o numerze 41611\nBrak funkcji o numerze 41613\n"
            "Brak funkcji o numerze 30005\nBrak funkcji o numerze 38417\nBrak funkcji o numerze 52044\n"
            "Brak funkcji o numerze 52021\nBrak funkcji o numerze 52006\nBrak funkcji o numerze 40049\n"
            "Brak funkcji o numerze 41399\n");
}
#endif

}  // namespace

namespace {

class LazyEntry : public testing_support::HostTest {
 protected:
  const FrameProbe& frame() { return *probe<FrameProbeFunction>("kamoriaProbeFrame")(); }
};

TEST_F(LazyEntry, ACallThroughAnUnboundCellBindsItAndReachesTheHostWithTheSameArguments) {
  restart("full", testing_support::PluginBuild::probe);
  kamoria::host::Cells& cells = *frame().cells;
  cells.messageBox = frame().lazyCells->messageBox;
  cells.alertBox = frame().lazyCells->alertBox;

  frame().callMessageBox("Uwaga", "tekst", 1);
  frame().callAlertBox("%s|%s", "jeden", "dwa");

  EXPECT_EQ(reinterpret_cast<void*>(cells.messageBox), testing_support::numberedExport(hostModule(), 52028));
  EXPECT_EQ(reinterpret_cast<void*>(cells.alertBox), testing_support::numberedExport(hostModule(), 35802));
  ASSERT_EQ(host().dialogs.count, 2);
  EXPECT_STREQ(host().dialogs.shown[0].title, "Uwaga");
  EXPECT_STREQ(host().dialogs.shown[0].text, "tekst");
  EXPECT_EQ(host().dialogs.shown[0].mode, 1);
  EXPECT_STREQ(host().dialogs.shown[1].text, "jeden|dwa");
  EXPECT_EQ(frame().missingOrdinals->count, 0);
}

TEST_F(LazyEntry, AnUnboundCellOfANumberTheHostLacksRecordsTheMissAndGivesZero) {
  restart("lacking_ten", testing_support::PluginBuild::probe);
  kamoria::host::Cells& cells = *frame().cells;
  cells.showFileList = frame().lazyCells->showFileList;  // 40049, which this host lacks
  EXPECT_EQ(cells.showFileList("plik", "kolumny", 0, "okno", 2392), 0);
  EXPECT_EQ(cells.showFileList, nullptr);
  EXPECT_EQ(frame().missingOrdinals->count, 11);
}

}  // namespace
