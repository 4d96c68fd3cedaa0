// The host loads the plug-in, asks for its description, activates it,
// configures it and takes its hooks down again.
#include <cstring>

#include "probes/probes.h"
#include "support/host_test.h"

namespace {

using testing_support::HostTest;
using testing_support::PluginBuild;

constexpr uint16_t kHookScreen = 52020;
constexpr uint16_t kUnhookScreen = 52021;
constexpr int16_t kHookedScreens[] = {815, 2171, 147, 780, 2201, 397, 3044, 742};

int32_t featuresPresent(int32_t, int32_t) { return 1; }

std::vector<intptr_t> screensIn(const std::vector<weltor::CallRecord>& calls) {
  std::vector<intptr_t> screens;
  for (const auto& call : calls) screens.push_back(call.args[0]);
  return screens;
}

const std::vector<intptr_t> kHookOrder(std::begin(kHookedScreens), std::end(kHookedScreens));

class Lifecycle : public HostTest {};

TEST_F(Lifecycle, DescribeCopiesExactlyTheFiftySixBytesOfTheDescription) {
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(entry30001(&featuresPresent, buffer), 0);
  const char expected[] = "Ustaw magazyn,zakaz zmiany.\nStany na innych magazynach.";
  static_assert(sizeof expected == 56);
  EXPECT_EQ(std::memcmp(buffer, expected, sizeof expected), 0);
  EXPECT_EQ(buffer[56], '#');
}

TEST_F(Lifecycle, DescribeWithoutABufferStillAnswers) {
  EXPECT_EQ(entry30001(&featuresPresent, nullptr), 0);
}

TEST_F(Lifecycle, ActivationHooksTheEightScreensInOrderAndRemovalUnhooksThemInOrder) {
  ASSERT_EQ(entry30001(&featuresPresent, nullptr), 0);
  EXPECT_EQ(entry30008(0), 0);
  EXPECT_EQ(screensIn(callsTo(kHookScreen)), kHookOrder);
  EXPECT_TRUE(callsTo(kUnhookScreen).empty());

  EXPECT_EQ(entry30001(nullptr, nullptr), 0);
  EXPECT_EQ(screensIn(callsTo(kUnhookScreen)), kHookOrder);
  // A second removal unhooks every screen again.
  EXPECT_EQ(entry30001(nullptr, nullptr), 0);
  EXPECT_EQ(callsTo(kUnhookScreen).size(), 16u);
}

TEST_F(Lifecycle, RemovalBeforeActivationUnhooksNothingAndLeavesTheBufferAlone) {
  char buffer[8] = "keepme";
  EXPECT_EQ(entry30001(nullptr, buffer), 0);
  EXPECT_TRUE(callsTo(kUnhookScreen).empty());
  EXPECT_STREQ(buffer, "keepme");
}

TEST_F(Lifecycle, ActivationWorksWithoutDescribeAndASecondOneHooksAgain) {
  EXPECT_EQ(entry30008(0), 0);
  EXPECT_EQ(entry30008(0), 0);
  EXPECT_EQ(callsTo(kHookScreen).size(), 16u);
}

TEST_F(Lifecycle, StoredCellPointersAreWhatTheHostGaveAndNullOnesAreSkippedOnRemoval) {
  restart("full", PluginBuild::probe);
  for (auto& screen : host().screens.list)
    if (screen.id == 780 || screen.id == 3044) screen.hookGivesNoCell = true;
  ASSERT_EQ(entry30008(0), 0);

  const FrameProbe* frame = probe<FrameProbeFunction>("kamoriaProbeFrame")();
  for (int i = 0; i < kamoria::kScreenHookCount; ++i) {
    const kamoria::ScreenHook& hook = frame->screenHooks[i];
    EXPECT_EQ(hook.screenId, kHookedScreens[i]);
    for (const auto& screen : host().screens.list) {
      if (screen.id != hook.screenId) continue;
      if (screen.hookGivesNoCell)
        EXPECT_EQ(hook.previousHandlerCell, nullptr);
      else
        EXPECT_EQ(hook.previousHandlerCell, &screen.cells[0]);
    }
  }
  ASSERT_EQ(entry30001(nullptr, nullptr), 0);
  EXPECT_EQ(screensIn(callsTo(kUnhookScreen)), (std::vector<intptr_t>{815, 2171, 147, 2201, 397, 742}));
}

int32_t featureTwoMissing(int32_t, int32_t) { return 3; }

TEST_F(Lifecycle, ConfigurationNeedsASuccessfulDescribeFirstAndStaysAfterALaterRefusal) {
  EXPECT_EQ(static_cast<uint32_t>(entry30010(7)), 0xB669FD2Eu);
  ASSERT_EQ(entry30001(&featureTwoMissing, nullptr), -1);
  EXPECT_EQ(static_cast<uint32_t>(entry30010(7)), 0xB669FD2Eu);
  EXPECT_TRUE(callsTo(52237).empty()) << "nothing of the configuration ran";

  ASSERT_EQ(entry30001(&featuresPresent, nullptr), 0);
  EXPECT_EQ(entry30010(7), 0);
  EXPECT_EQ(callsTo(52237).size(), 1u) << "the configuration command asked for the user's right";

  ASSERT_EQ(entry30001(&featureTwoMissing, nullptr), -1);
  EXPECT_EQ(entry30010(7), 0);
  EXPECT_EQ(callsTo(52237).size(), 2u);
}

TEST_F(Lifecycle, EntryThirtyThousandNineAlwaysAnswersZero) {
  EXPECT_EQ(entry30009(), 0);
  entry30001(&featuresPresent, nullptr);
  entry30008(0);
  EXPECT_EQ(entry30009(), 0);
  entry30001(nullptr, nullptr);
  EXPECT_EQ(entry30009(), 0);
}

TEST_F(Lifecycle, PluginFileNameIsTheTextAfterTheLastSeparatorOfEitherKind) {
  restart("full", PluginBuild::probe);
  const FrameProbe* frame = probe<FrameProbeFunction>("kamoriaProbeFrame")();
  const struct {
    const char* path;
    const char* name;
  } cases[] = {
      {"C:\\WELTOR\\WTYCZKI\\kamoria.dll", "kamoria.dll"},
      {"/opt/weltor/plugins/kamoria.so", "kamoria.so"},
      {"C:/WELTOR\\wtyczki/kamoria.dll", "kamoria.dll"},
      {"D:\\weltor/wtyczki\\kamoria.dll", "kamoria.dll"},
      {"kamoria.dll", "kamoria.dll"},
      {"C:\\WELTOR\\", ""},
  };
  for (const auto& c : cases) EXPECT_STREQ(frame->fileNameOf(c.path), c.name) << c.path;

  // The loaded file's own path and name.
  const std::string expectedName = pluginPath(PluginBuild::probe).filename().string();
  EXPECT_STREQ(*frame->pluginFileName, expectedName.c_str());
  const std::string ownPath = frame->ownPath;
  EXPECT_EQ(ownPath.substr(ownPath.size() - expectedName.size()), expectedName);
  EXPECT_NE(ownPath.find("probe"), std::string::npos) << ownPath;
}

}  // namespace
