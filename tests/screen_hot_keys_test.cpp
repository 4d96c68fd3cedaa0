// The stock hot key of each item list is the plug-in's: the list's own
// handler never sees it, whatever the lookup found. Every other key, and
// every key of the document screen, goes on to the screen.
#include <algorithm>

#include "support/screen_story.h"
#include "support/stock_fixture.h"

namespace {

using testing_support::kCtrl9;
using testing_support::kCtrlF6;
using testing_support::kF11;
using testing_support::kKey;
using testing_support::ItemRecord;
using testing_support::ScreenStory;
using testing_support::StockTest;

constexpr int16_t kEnter = 0x1C0D;
constexpr int16_t kNoHotKey = 0;

class ScreenHotKeys : public ScreenStory {};

TEST_F(ScreenHotKeys, EachItemListTakesOnlyItsOwnHotKey) {
  struct Case {
    int16_t screen, hotKey;
  };
  const Case cases[] = {{2171, kF11}, {147, kF11},    {780, kF11},     {2201, kF11},
                        {397, kF11},  {3044, kCtrl9}, {742, kCtrlF6}, {815, kNoHotKey}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    restart("full");
    screen(c.screen).ownResult = 17;
    activate();

    for (const int16_t key : {kF11, kCtrl9, kCtrlF6, kEnter}) {
      const int before = host().screens.receivedCount;
      const auto lookupsBefore = callsTo(52057).size();
      if (key == c.hotKey) {
        EXPECT_EQ(send(c.screen, key, kKey), -2) << std::hex << key;
        EXPECT_EQ(host().screens.receivedCount, before) << "the list never sees its hot key";
        EXPECT_EQ(callsTo(52057).size(), lookupsBefore + 1) << "the lookup ran";
      } else {
        EXPECT_EQ(send(c.screen, key, kKey), 17) << std::hex << key;
        EXPECT_EQ(host().screens.receivedCount, before + 1);
        EXPECT_EQ(received().back().argument, key);
        EXPECT_EQ(callsTo(52057).size(), lookupsBefore) << "no lookup for a key not the screen's";
      }
    }
  }
}

TEST_F(ScreenHotKeys, AFailedLookupStillTakesTheKey) {
  table(49).present = false;
  activate();

  EXPECT_EQ(send(147, kF11, kKey), -2);
  EXPECT_TRUE(received().empty());
  EXPECT_EQ(host().dialogs.count, 1) << "the lookup told the user";
}

TEST_F(ScreenHotKeys, ARestrictedUsersF7IsPushedBeforeTheHotKeyIsLookedUp) {
  setRestricted(true);
  activate();

  EXPECT_EQ(send(2171, kF11, kKey), -2);
  const auto lines = timeline();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "push 4100");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "lookup"), lines.end());
  EXPECT_TRUE(received().empty());
}

// The user stands on an item in warehouse 2 that the head office (warehouse
// 0) also holds, and presses the list's hot key: the window shows the head
// office's stock and the list's own handler never hears of the key.
class ScreenStockWindow : public StockTest {};

TEST_F(ScreenStockWindow, TheHotKeyOnAListShowsTheOtherWarehousesStock) {
  const ItemRecord item{5, "5901234123457", "szt.", 9000};
  struct Case {
    int16_t screen, hotKey;
  };
  const Case cases[] = {{147, kF11}, {2171, kF11}, {742, kCtrlF6}, {3044, kCtrl9}};
  defineWarehouse(0, "Centrala");
  writeItemFile(0, {{5, "5901234123457", "kg", 1500}});
  writeItemFile(2, {item});
  ASSERT_EQ(entry30008(0), 0);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    standOn(c.screen, 2, item);
    writeResultFile("");
    const int before = host().screens.receivedCount;
    const int windows = host().stock.window.shownCount;

    EXPECT_EQ(send(c.screen, c.hotKey, kKey), -2);

    EXPECT_EQ(host().screens.receivedCount, before);
    EXPECT_EQ(host().stock.window.shownCount, windows + 1);
    EXPECT_EQ(resultFile(), "Centrala\t1.500 kg\r\n");
  }
}

}  // namespace
