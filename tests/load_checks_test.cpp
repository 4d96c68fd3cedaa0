// The host asks whether the plug-in will run; when it will not, the one stop
// box tells the integrator why.
#include <cstdio>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>

#include "frame/mazovia.h"
#include "support/host_test.h"

namespace {

using kamoria::mazovia;
using testing_support::HostTest;

constexpr uint16_t kFeatureCheck = 30006;
constexpr uint16_t kHostCheckPlugin = 30018;
constexpr uint16_t kAlertBox = 35802;

const std::string kDescription = "Ustaw magazyn,zakaz zmiany.\nStany na innych magazynach.";

std::string fileName() { return std::string("kamoria") + testing_support::moduleExtension(); }

std::string featuresText(const char* mask) {
  return std::string("Program nie obs\x92ugu" "je cech 0x") + mask +
         mazovia(",\nktóre są niezbędne dla modułu '").c_str() + kDescription + "'.";
}

std::string differentVersionsText() {
  return std::string(mazovia("Moduł \"").c_str()) + fileName() +
         mazovia("\" i program występują w różnych wersjach!\n\n"
                 "Został zakualizowany tylko program albo tylko moduł,\n"
                 "a nie oba jednocześnie! Aby naprawić tę sytuację\n"
                 "zainstaluj aktualizację programu wraz z modułem \"").c_str() +
         fileName() + mazovia("\".\n\nMODUŁ NIE ZOSTANIE ZAŁADOWANY!!!\n").c_str();
}

std::string notInitialisedText() {
  return std::string(mazovia("Moduł \"").c_str()) + fileName() +
         mazovia("\" nie został poprawnie zainicjowany,\nwięc NIE BĘDZIE AKTYWNY!").c_str();
}

// rows: one "name\texpected\tactual\n" per listed table.
std::string recordSizesText(const std::string& rows) {
  std::string text = std::string(mazovia("Rozmiary rekordów niektórych tabel nie zgadzają się\n"
                                         "między programem a wtyczką '").c_str()) +
                     kDescription + mazovia("' (moduł '").c_str() + fileName() +
                     "'):\n\n\x01tl18l33\x01TABELA\tWE WTYCZCE\tW PROGRAMIE\n";
  std::size_t start = 0;
  while (start < rows.size()) {
    const std::size_t end = rows.find('\n', start) + 1;
    text += "\x01tp25p40\x01" + rows.substr(start, end - start);
    start = end;
  }
  return text + mazovia("\nModuł \x02").c_str() + fileName() +
         mazovia("\x01\nNIE zostanie załadowany!").c_str();
}

std::string missingFunctionsText(const std::string& list, const char* pronoun) {
  return std::string(mazovia("Wtyczka \"").c_str()) + kDescription +
         mazovia("\" potrzebuje zaimportować\n").c_str() + list +
         mazovia(" z modułu głównego,\njednak moduł główny ").c_str() + pronoun +
         mazovia(" nie posiada. Aby naprawić tę sytuację\n"
                 "zainstaluj aktualizację programu oraz wtyczki.\n\n"
                 "WTYCZKA NIE ZOSTANIE ZAŁADOWANA!!!\n").c_str();
}

int32_t featuresPresent(int32_t, int32_t) { return 1; }

class LoadChecks : public HostTest {
 protected:
  // The host hands over its own feature function, as it does when it loads
  // a plug-in; a host without one hands over a stand-in that has everything.
  int32_t describe() {
    auto* own = reinterpret_cast<FeatureFunction>(
        testing_support::numberedExport(hostModule(), kFeatureCheck));
    char description[56];
    return entry30001(own != nullptr ? own : &featuresPresent, description);
  }

  // The host asks why; the answer is exactly one stop box.
  std::string report() {
    host().dialogs.count = 0;
    clearLog();
    EXPECT_EQ(entry30008(1), 0);
    EXPECT_EQ(host().dialogs.count, 1);
    const auto boxes = callsTo(kAlertBox);
    EXPECT_EQ(boxes.size(), 1u);
    if (host().dialogs.count != 1 || boxes.size() != 1) return "<not one box>";
    EXPECT_EQ(boxes[0].args[0], 15000);
    EXPECT_EQ(boxes[0].args[3], 0xF001);
    EXPECT_EQ(boxes[0].args[4], 0x6E2E);
    const weltor::Dialog& box = host().dialogs.shown[0];
    EXPECT_EQ(box.kind, weltor::DialogKind::alertBox);
    EXPECT_STREQ(box.title, "STOP!!!");
    return box.text;
  }
};

// ---- one cause at a time, and the message it leads to -----------------------

struct Cause {
  const char* name;
  void (*arrange)(weltor::HostState&);
  int32_t answer;  // what entry 30001 gives
  std::string (*message)();
};
void PrintTo(const Cause& cause, std::ostream* out) { *out << cause.name; }

void setTable(weltor::HostState& host, int32_t id, int16_t size, bool present = true) {
  for (int i = 0; i < host.tables.count; ++i)
    if (host.tables.list[i].id == id) {
      host.tables.list[i].recordSize = size;
      host.tables.list[i].present = present;
    }
}

void setBuildDate(weltor::HostState& host, const char* date) {
  std::snprintf(host.checks.buildDate, sizeof host.checks.buildDate, "%s", date);
}

const Cause kCauses[] = {
    {"NothingFails", [](weltor::HostState&) {}, 0, &notInitialisedText},
    {"BuildDateEqualToTheRequiredOne", [](weltor::HostState& h) { setBuildDate(h, "Sep  1 2023"); },
     0, &notInitialisedText},
    {"FeaturesMissing", [](weltor::HostState& h) { h.frame.featureAnswer = 3; }, -1,
     [] { return featuresText("00000002"); }},
    {"BuildDateOneDayTooOld", [](weltor::HostState& h) { setBuildDate(h, "Aug 31 2023"); }, -1,
     &differentVersionsText},
    {"HostRefusesWithAReason",
     [](weltor::HostState& h) {
       h.checks.refusePlugin = true;
       std::snprintf(h.checks.refusalReason, sizeof h.checks.refusalReason, "%s",
                     "Modu\x92 nie ma licencji.");
     },
     -1, [] { return std::string("Modu\x92 nie ma licencji."); }},
    {"HostRefusesWithoutAReason", [](weltor::HostState& h) { h.checks.refusePlugin = true; }, -1,
     [] { return std::string(); }},
    {"InterfaceVersion111", [](weltor::HostState& h) { h.checks.apiVersion = 111; }, -1,
     &differentVersionsText},
    {"InterfaceVersion113", [](weltor::HostState& h) { h.checks.apiVersion = 113; }, -1,
     &differentVersionsText},
    {"ItemRecordSizeDiffers", [](weltor::HostState& h) { setTable(h, 49, 1000); }, -1,
     [] { return recordSizesText("k9\t1024\t1000\n"); }},
    {"TableMissing", [](weltor::HostState& h) { setTable(h, 64, 843, false); }, -1,
     [] { return recordSizesText("Tspr_prop\t843\tbrak\n"); }},
};

class LoadCheckCause : public LoadChecks, public ::testing::WithParamInterface<Cause> {};

TEST_P(LoadCheckCause, DecidesAndExplainsInOneStopBox) {
  const Cause& cause = GetParam();
  cause.arrange(host());
  EXPECT_EQ(describe(), cause.answer);
  EXPECT_EQ(report(), cause.message());
}

INSTANTIATE_TEST_SUITE_P(Each, LoadCheckCause, ::testing::ValuesIn(kCauses),
                         [](const auto& each) { return std::string(each.param.name); });

// ---- the order of the checks and of the report ------------------------------

TEST_F(LoadChecks, ReportBeforeAnyCheckNamesEveryFeatureAsMissing) {
  EXPECT_EQ(report(), featuresText("FFFFFFFF"));
  const auto asked = callsTo(kFeatureCheck);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].args[0], 1);
  EXPECT_EQ(asked[0].args[1], -1);
}

TEST_F(LoadChecks, ReportWithoutAnyFeatureFunctionStillExplains) {
  restart("lacking_feature_check");
  EXPECT_EQ(report(), featuresText("FFFFFFFF"));
}

TEST_F(LoadChecks, MissingFeaturesComeBeforeMissingFunctions) {
  restart("lacking_three");
  host().frame.featureAnswer = 5;
  EXPECT_EQ(describe(), -1);
  EXPECT_EQ(report(), featuresText("00000004"));
}

TEST_F(LoadChecks, ApprovalIsAskedForThisModuleAndTheReasonIntoTheWholeReportBuffer) {
  host().checks.refusePlugin = true;
  EXPECT_EQ(describe(), -1);
  const auto check = callsTo(kHostCheckPlugin);
  ASSERT_EQ(check.size(), 1u);
  EXPECT_NE(check[0].args[0], 0);
  EXPECT_EQ(check[0].args[1], 0);
  EXPECT_EQ(check[0].args[2], 0);

  report();
  const auto asked = callsTo(kHostCheckPlugin);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].args[0], check[0].args[0]);
  EXPECT_NE(asked[0].args[1], 0);
  EXPECT_EQ(asked[0].args[2], 3072);
}

TEST_F(LoadChecks, TablesAreListedOnceInTheOrderTheirMismatchWasFound) {
  setTable(host(), 48, 217);
  EXPECT_EQ(describe(), -1);

  setTable(host(), 49, 1024, false);
  setTable(host(), 64, 842);
  EXPECT_EQ(describe(), -1);

  EXPECT_EQ(report(), recordSizesText("w3\t216\t217\n"
                                      "k9\t1024\tbrak\n"
                                      "Tspr_prop\t843\t842\n"));
}

// ---- hosts that lack numbers ------------------------------------------------

struct LackingHost {
  const char* host;
  int32_t answer;  // what entry 30001 gives
  const char* list;
  const char* pronoun;
};
void PrintTo(const LackingHost& lacking, std::ostream* out) { *out << lacking.host; }

const LackingHost kLackingHosts[] = {
    // A number no check needs: the plug-in would run, yet the report names it.
    {"lacking_40008", 0, "funkcj\x91 o numerze 40008", "jej"},
    {"lacking_three", 0, "funkcje o numerach 30005, 41613, 52021", "ich"},
    {"lacking_ten", -1,
     "funkcje o numerach 30005, 38417, 40008, 41611, 41613, 52006, 52021, 52044", "ich"},
    // The services behind the checks: a host without one is refused.
    {"lacking_build_date", -1, "funkcj\x91 o numerze 52006", "jej"},
    {"lacking_approval", -1, "funkcj\x91 o numerze 30018", "jej"},
    {"lacking_api_version", -1, "funkcj\x91 o numerze 51594", "jej"},
    {"lacking_get_table", -1, "funkcj\x91 o numerze 52256", "jej"},
};

class LoadChecksOnLackingHost : public LoadChecks,
                                public ::testing::WithParamInterface<LackingHost> {};

TEST_P(LoadChecksOnLackingHost, NamesTheMissingNumbersInAscendingOrder) {
  const LackingHost& lacking = GetParam();
  restart(lacking.host);
  EXPECT_EQ(describe(), lacking.answer);
  EXPECT_EQ(report(), missingFunctionsText(lacking.list, lacking.pronoun));
}

INSTANTIATE_TEST_SUITE_P(Each, LoadChecksOnLackingHost, ::testing::ValuesIn(kLackingHosts),
                         [](const auto& each) { return std::string(each.param.host); });

// ---- the host's reading of build dates --------------------------------------

TEST_F(LoadChecks, HostReadsBuildDatesInCalendarOrder) {
  using DateValue = uint32_t (*)(const char*);
  auto* value = reinterpret_cast<DateValue>(testing_support::numberedExport(hostModule(), 52006));
  ASSERT_NE(value, nullptr);

  const char* ascending[] = {"Dec 31 2022", "Feb 29 2024", "Mar  1 2024", "Mar 02 2024",
                             "Mar 10 2024", "Jan  1 2025"};
  for (std::size_t i = 1; i < std::size(ascending); ++i)
    EXPECT_LT(value(ascending[i - 1]), value(ascending[i])) << ascending[i - 1] << " / " << ascending[i];

  for (const char* unreadable : {"", "Sep 1 2023", "Sept  1 2023", "sep  1 2023", "Sep 31 2023",
                                 "Feb 29 2023", "Sep  0 2023", "Sep  1 20x3", "Sep  1 2023 "})
    EXPECT_EQ(value(unreadable), 0x7FFFFFFFu) << '"' << unreadable << '"';

  setBuildDate(host(), "Mar 02 2024");
  EXPECT_EQ(value(nullptr), value("Mar  2 2024"));
}

}  // namespace
