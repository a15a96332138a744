#include "tests/GameFixture.h"

using namespace platform;

namespace {

constexpr int kTab = 9, kEnter = 13;

}  // namespace

// Enter presses only a button that has the keyboard: in the time box it
// starts nothing. While a game runs no control can take the keyboard, so
// Tab reaches none. The Tab round, and where the keyboard goes when a game
// ends, are the scenarios' to play on every front end.
TEST_F(GameTest, EnterPressesOnlyAFocusedButtonAndNoControlHoldsTheKeyboardInAGame) {
  front.PressKey(kTab);
  ASSERT_EQ(front.Focused(), &form.time);
  front.PressKey(kEnter);  // a text box has no use for it
  EXPECT_FALSE(form.Timer2.Enabled);
  front.FocusOn(form.NewGame);  // a click
  front.PressKey(kEnter);
  ASSERT_TRUE(form.Timer2.Enabled);
  EXPECT_EQ(front.Focused(), nullptr);
  front.PressKey(kTab);
  EXPECT_EQ(front.Focused(), nullptr);
}
