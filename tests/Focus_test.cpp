#include "tests/GameFixture.h"

using namespace platform;

namespace {

constexpr int kTab = 9, kEnter = 13, kSpace = 32;

}  // namespace

// The keyboard starts on the first tab stop. Tab and Shift+Tab go round the
// stops that can take it, a text box tabbed into holding its text selected.
// Enter and Space press only the button that has the keyboard.
TEST_F(GameTest, TheKeyboardStartsOnNewGameAndTabsRoundTheStops) {
  EXPECT_EQ(front.Focused(), &form.NewGame);
  front.PressKey(kTab);
  EXPECT_EQ(front.Focused(), &form.time);
  EXPECT_TRUE(front.FocusSelectedText());
  front.PressKey(kEnter);  // a text box has no use for it
  EXPECT_FALSE(form.Timer2.Enabled);
  front.PressKey(kTab);
  EXPECT_EQ(front.Focused(), &form.NewGame);
  front.PressKey(kTab, true);
  EXPECT_EQ(front.Focused(), &form.time);

  // Once a click put the keyboard back on New Game, Space presses it.
  front.FocusOn(form.NewGame);
  front.PressKey(kSpace);
  EXPECT_TRUE(form.Timer2.Enabled);
}

// While a game runs no control can take the keyboard, so neither Tab nor
// Enter reaches one. When the game ends, the first control the end enabled
// in the window's own order takes it: the time box, its count selected.
TEST_F(GameTest, NoControlHoldsTheKeyboardInAGameAndTheTimeBoxTakesItAfter) {
  front.Type(form.time, "2");
  front.PressKey(kEnter);
  ASSERT_TRUE(form.Timer2.Enabled);
  EXPECT_EQ(front.Focused(), nullptr);
  front.PressKey(kTab);
  EXPECT_EQ(front.Focused(), nullptr);
  front.Tick(form.Timer2, 2);
  ASSERT_FALSE(form.Timer2.Enabled);
  EXPECT_EQ(front.Focused(), &form.time);
  EXPECT_TRUE(front.FocusSelectedText());
}
