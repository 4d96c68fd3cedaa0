// Activation tells the user that the plug-in is installed until an answer
// that stops it is stored under [Kamoria] Pytaj in "WtyczkiG.ini".
#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "support/host_test.h"

namespace {

using testing_support::HostTest;

constexpr uint16_t kProfileIo = 41399, kAskDialog = 52023;

int32_t featuresPresent(int32_t, int32_t) { return 1; }

const std::string kNotice =
    "Zainstalowano wtyczk\x91 do programu:\n"
    "Ustaw magazyn,zakaz zmiany.\nStany na innych magazynach.";

class InstallNotice : public HostTest {
 protected:
  // Describe, then activate, as the host does at every start.
  void activate() {
    char description[64];
    ASSERT_EQ(entry30001(&featuresPresent, description), 0);
    ASSERT_EQ(entry30008(0), 0);
  }
  // The next start of the host, on the same data directory.
  void restartHost() { restart("full"); }

  std::filesystem::path profile() const { return dataDir() / "WtyczkiG.ini"; }
  void writeProfile(const std::string& content) const {
    std::ofstream(profile(), std::ios::binary) << content;
  }
  std::optional<std::string> profileContent() const {
    if (!std::filesystem::exists(profile())) return std::nullopt;
    std::ifstream in(profile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  int32_t writes() const {
    int32_t count = 0;
    for (const auto& call : callsTo(kProfileIo)) count += call.args[1] == 9;
    return count;
  }
};

TEST_F(InstallNotice, ProfileEntryDecidesWhetherTheNoticeComes) {
  const struct {
    const char* name;
    std::optional<std::string> before;
    int32_t answer;  // the dialog's 16-bit answer
    bool shown;
    std::optional<std::string> after;
  } cases[] = {
      {"no file", std::nullopt, 1, true, "[Kamoria]\r\nPytaj=1\r\n"},
      {"answered 0 before", "[Kamoria]\r\nPytaj=0\r\n", 0, true, "[Kamoria]\r\nPytaj=0\r\n"},
      {"answered 1 before", "[Kamoria]\r\nPytaj=1\r\n", 1, false, "[Kamoria]\r\nPytaj=1\r\n"},
      {"65536 has a low half of 0", "[Kamoria]\r\nPytaj=65536\r\n", 0xFFFF, true, "[Kamoria]\r\nPytaj=-1\r\n"},
      {"not a number", "[Kamoria]\r\nPytaj=tak\r\n", 2, true, "[Kamoria]\r\nPytaj=2\r\n"},
      {"another plug-in's entry", "[Inna]\r\nPytaj=1\r\n", 1, true,
       "[Inna]\r\nPytaj=1\r\n\r\n[Kamoria]\r\nPytaj=1\r\n"},
      {"entry among others", "; ustawienia\r\n[Inna]\r\nPytaj=1\r\n[kamoria]\r\nInne=5\r\n\r\n[Dalej]\r\nX=1\r\n", 3,
       true, "; ustawienia\r\n[Inna]\r\nPytaj=1\r\n[kamoria]\r\nInne=5\r\nPytaj=3\r\n\r\n[Dalej]\r\nX=1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(profile());
    if (c.before) writeProfile(*c.before);
    restartHost();
    host().form.askAnswer = c.answer;

    activate();

    EXPECT_EQ(host().form.asksShown, c.shown ? 1 : 0);
    EXPECT_EQ(writes(), c.shown ? 1 : 0) << "an entry that stops the notice is not written again";
    EXPECT_EQ(profileContent(), c.after);
  }
}

TEST_F(InstallNotice, DialogShowsTheDescriptionAndItsAnswerIsWrittenAsASignedWord) {
  host().form.askAnswer = 0xFFFF;

  activate();

  ASSERT_EQ(host().form.asksShown, 1);
  EXPECT_EQ(host().form.askDialogId, 1668);
  EXPECT_EQ(std::string(host().form.askText), kNotice);
  EXPECT_EQ(kNotice.size(), 90u);
  const auto asked = callsTo(kAskDialog);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].args[2], 0);

  const auto profileCalls = callsTo(kProfileIo);
  ASSERT_EQ(profileCalls.size(), 2u);
  for (const auto& call : profileCalls) {
    EXPECT_STREQ(reinterpret_cast<const char*>(call.args[0]), "WtyczkiG.ini");
    EXPECT_STREQ(reinterpret_cast<const char*>(call.args[2]), "Kamoria");
    EXPECT_STREQ(reinterpret_cast<const char*>(call.args[3]), "Pytaj");
    EXPECT_STREQ(reinterpret_cast<const char*>(call.args[4]), "%d");
  }
  EXPECT_EQ(profileCalls[0].args[1], 8);
  EXPECT_EQ(profileCalls[1].args[1], 9);
  EXPECT_EQ(profileContent(), "[Kamoria]\r\nPytaj=-1\r\n");

  restartHost();
  activate();
  EXPECT_EQ(host().form.asksShown, 0) << "-1 counts as answered at the next start";
}

TEST_F(InstallNotice, AnAnswerOfZeroBringsTheNoticeAtEveryStart) {
  for (int start = 0; start < 3; ++start) {
    SCOPED_TRACE(testing::Message() << "start " << start);
    restartHost();
    activate();
    EXPECT_EQ(host().form.asksShown, 1);
    EXPECT_EQ(profileContent(), "[Kamoria]\r\nPytaj=0\r\n");
  }
}

TEST_F(InstallNotice, NoticeComesAfterTheScreenHooks) {
  activate();

  const auto order = callOrder();
  const auto lastHook = order.size() - 1 - (std::find(order.rbegin(), order.rend(), uint16_t{52020}) - order.rbegin());
  const auto firstRead = std::find(order.begin(), order.end(), kProfileIo) - order.begin();
  ASSERT_EQ(std::count(order.begin(), order.end(), uint16_t{52020}), 8);
  EXPECT_LT(lastHook, static_cast<std::size_t>(firstRead));
}

}  // namespace
