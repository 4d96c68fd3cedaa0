// A user works on the hooked screens: every event the plug-in does not take
// must reach the screen's own handler as before, and the plug-in's own work
// (items, flags, labels, the F7 push) happens around it in a fixed order.
#include <cstring>

#include "support/screen_story.h"

namespace {

using testing_support::kClose;
using testing_support::kF7;
using testing_support::kKey;
using testing_support::kOpen;
using testing_support::ScreenStory;
using Timeline = std::vector<std::string>;

constexpr int16_t kScreens[] = {815, 2171, 147, 780, 2201, 397, 3044, 742};
constexpr int16_t kEnter = 0x1C0D;
constexpr int16_t kF3 = 0x3D00;

class ScreenHooks : public ScreenStory {};

TEST_F(ScreenHooks, EveryEventOfAnOrdinaryUserReachesTheScreensOwnHandlerWithItsResult) {
  for (const int16_t id : kScreens) screen(id).ownResult = static_cast<int16_t>(id + 7);
  activate();

  for (const int16_t id : kScreens) {
    SCOPED_TRACE(id);
    EXPECT_EQ(send(id, 3, kOpen), id + 7);
    EXPECT_EQ(send(id, kEnter, kKey), id + 7);
    EXPECT_EQ(send(id, kF3, kKey), id + 7);
    EXPECT_EQ(send(id, 11, 7), id + 7) << "an event code of no meaning to the plug-in";
    EXPECT_EQ(send(id, 0, kClose), id + 7);
  }

  const auto reached = received();
  ASSERT_EQ(reached.size(), 5 * std::size(kScreens));
  for (std::size_t s = 0; s < std::size(kScreens); ++s) {
    const struct { int16_t argument, event; } expected[] = {
        {3, kOpen}, {kEnter, kKey}, {kF3, kKey}, {11, 7}, {0, kClose}};
    for (std::size_t e = 0; e < 5; ++e) {
      const auto& got = reached[s * 5 + e];
      EXPECT_EQ(got.screenId, kScreens[s]) << "no screen's event goes to another screen";
      EXPECT_EQ(got.argument, expected[e].argument);
      EXPECT_EQ(got.event, expected[e].event);
    }
  }
  EXPECT_TRUE(pushedKeys().empty());
}

TEST_F(ScreenHooks, WithoutAPreviousHandlerEveryEventGivesZeroAndTheScreenWorkStillHappens) {
  struct Case {
    const char* what;
    void (*prepare)(weltor::Screen&);
  };
  const Case cases[] = {
      {"hookScreen gives no cell", [](weltor::Screen& s) { s.hookGivesNoCell = true; }},
      {"the cell holds no handler", [](weltor::Screen& s) { s.ownHandler = false; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    restart("full");
    for (const int16_t id : kScreens) {
      screen(id).ownResult = 99;
      c.prepare(screen(id));
    }
    seedItem(2171, 0x5001, 20);
    activate();

    for (const int16_t id : kScreens) {
      EXPECT_EQ(send(id, 3, kOpen), 0) << id;
      EXPECT_EQ(send(id, kEnter, kKey), 0) << id;
      EXPECT_EQ(send(id, 0, kClose), 0) << id;
    }
    EXPECT_TRUE(received().empty());
    EXPECT_EQ(positionOf(*item(2171, 0x5001)), 16);
    EXPECT_EQ(host().items.labelCount, 2) << "screens 3044 and 742 still get their labels";
  }
}

TEST_F(ScreenHooks, ThePreviousHandlerIsTakenFromTheHostsCellAtEveryEvent) {
  activate();
  ScreenHandler& cell = screen(147).cells[0];
  const ScreenHandler own = cell;
  ASSERT_NE(own, nullptr);

  cell = nullptr;
  EXPECT_EQ(send(147, kEnter, kKey), 0);
  EXPECT_TRUE(received().empty());

  cell = own;
  screen(147).ownResult = 5;
  EXPECT_EQ(send(147, kEnter, kKey), 5);
  EXPECT_EQ(received().size(), 1u);
}

// Positions 20, 30 and 5 of items 0x5001, 0x3C00 and 0x8500 move by -4, -11
// and +2; the rest of each position record is the host's and comes back as
// it was.
TEST_F(ScreenHooks, ItemListsWithShiftedItemsMoveThemBeforeTheHostOpensAndSetFlagsAround) {
  for (const int16_t id : {int16_t{2171}, int16_t{147}}) {
    SCOPED_TRACE(id);
    restart("full");
    seedItem(id, 0x5001, 20);
    seedItem(id, 0x3C00, 30);
    seedItem(id, static_cast<int16_t>(0x8500), 5, 0x803);
    activate();

    send(id, 3, kOpen);

    EXPECT_EQ(timeline(), (Timeline{"getPos 5001", "setPos 5001", "getPos 3C00", "setPos 3C00",
                                    "getPos 8500", "setPos 8500", "flags 8500 800 0", "host open",
                                    "flags 8500 800 0", "flags 0 8000 1", "flags 0 8000 1"}));
    const struct { int16_t code, position; } moved[] = {
        {0x5001, 16}, {0x3C00, 19}, {static_cast<int16_t>(0x8500), 7}};
    for (const auto& m : moved) {
      const weltor::ScreenItem& found = *item(id, m.code);
      EXPECT_EQ(positionOf(found), m.position) << std::hex << m.code;
      for (int i = 2; i < weltor::kItemPositionRecordSize; ++i)
        ASSERT_EQ(found.position[i], seedByte(m.code, i)) << "byte " << i << " of " << std::hex << m.code;
    }
    EXPECT_EQ(host().items.refusedRecords, 0) << "the record is handed over 16-byte aligned";
    EXPECT_EQ(item(id, static_cast<int16_t>(0x8500))->flags, 0x003);
    EXPECT_EQ(item(id, 0)->flags, 0x8000);
  }
}

TEST_F(ScreenHooks, OtherItemListsOpenWithTheirFlagsAndLabelsInOrder) {
  struct Case {
    int16_t screen;
    Timeline expected;
    const char* label;
  };
  const Case cases[] = {
      {780, {"host open", "flags 410D 800 0", "flags 8500 2 0"}, nullptr},
      {2201, {"host open", "flags 8500 800 0"}, nullptr},
      {397, {"flags 8500 800 0", "flags 8500 800 0", "host open"}, nullptr},
      {3044, {"host open", "label -5"}, "Ctrl-9 Stany innych mag."},
      {742, {"host open", "label -5"}, "Ctrl-F6 Stany innych mag."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    restart("full");
    activate();

    // The open event's argument goes to addKeyLabel widened with its sign.
    send(c.screen, -5, kOpen);

    EXPECT_EQ(timeline(), c.expected);
    if (c.label != nullptr) {
      ASSERT_EQ(host().items.labelCount, 1);
      const weltor::KeyLabel& label = host().items.labels[0];
      EXPECT_EQ(label.screenId, c.screen);
      EXPECT_EQ(label.openArgument, -5);
      EXPECT_STREQ(label.text, c.label);
    }
  }
}

TEST_F(ScreenHooks, Screen397ClearsItsFlagOnEveryEventAndHandsOnlyToItsOwnHandler) {
  activate();
  send(397, kEnter, kKey);
  send(397, 0, kClose);
  EXPECT_EQ(timeline(), (Timeline{"flags 8500 800 0", "flags 8500 800 0", "host key 1C0D",
                                  "flags 8500 800 0", "flags 8500 800 0", "host close"}));
  for (const auto& got : received()) EXPECT_EQ(got.screenId, 397) << "screen 147 sees nothing";
}

// Between two resets by the document screen F7 is pushed once, on whichever
// of screens 2171 and 2201 first gets an event other than its opening.
TEST_F(ScreenHooks, ARestrictedUserGetsOneF7PushBetweenResetsOfTheDocumentScreen) {
  setRestricted(true);
  activate();

  send(2171, 0, kOpen);
  EXPECT_TRUE(pushedKeys().empty()) << "an opening pushes nothing";

  watchFromHere();
  send(2171, kEnter, kKey);
  EXPECT_EQ(timeline(), (Timeline{"push 4100", "host key 1C0D"}))
      << "F7 is pushed before the key is handled";
  send(2171, kEnter, kKey);
  send(2201, kEnter, kKey);
  send(2201, 0, kClose);
  EXPECT_EQ(pushedKeys().size(), 1u);

  // Each reset of the document screen allows one more push: its opening, its
  // key 0x2300 and its closing. A close or any other event code pushes too.
  struct Reset {
    int16_t argument, event;
    int16_t then, thenArgument, thenEvent;
  };
  const Reset resets[] = {
      {0, kOpen, 2201, 0, kClose},
      {0x2300, kKey, 2171, 4, 7},
      {0, kClose, 2201, kF3, kKey},
  };
  for (const Reset& r : resets) {
    send(815, r.argument, r.event);
    send(r.then, r.thenArgument, r.thenEvent);
    send(2171, kEnter, kKey);
    send(2201, kEnter, kKey);
  }

  const auto pushed = pushedKeys();
  ASSERT_EQ(pushed.size(), 4u);
  const int16_t pushedOn[] = {2171, 2201, 2171, 2201};
  for (std::size_t i = 0; i < pushed.size(); ++i) {
    EXPECT_EQ(pushed[i].key, kF7);
    EXPECT_EQ(pushed[i].screenId, pushedOn[i]);
  }
}

TEST_F(ScreenHooks, AnUnrestrictedUserGetsNoPushAndLeavesTheOnceFlagAsItWas) {
  activate();
  send(2171, kEnter, kKey);
  send(2201, 0, kClose);
  EXPECT_TRUE(pushedKeys().empty());
  EXPECT_EQ(callsTo(52237).size(), 2u) << "the restriction is asked at every such event";

  setRestricted(true);
  send(2201, kEnter, kKey);
  EXPECT_EQ(pushedKeys().size(), 1u) << "no push was used up while the user was free";

  setRestricted(false);
  send(2171, kEnter, kKey);
  setRestricted(true);
  send(2171, kEnter, kKey);
  EXPECT_EQ(pushedKeys().size(), 1u) << "the push already made still counts";
}

}  // namespace
