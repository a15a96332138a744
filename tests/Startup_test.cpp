#include "tests/GameFixture.h"

using StartupTest = GameTest;

TEST_F(StartupTest, ShowsTheInstructionsAndOpensIdle) {
  ASSERT_EQ(front.MessageBoxes().size(), 1u);
  EXPECT_EQ(front.MessageBoxes()[0].caption, "vantor");
  EXPECT_EQ(front.MessageBoxes()[0].prompt,
            "Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!");
  EXPECT_EQ(form.Caption, "Form1");
  EXPECT_FALSE(form.Back.Visible);
  EXPECT_FALSE(form.Timer2.Enabled);
  EXPECT_TRUE(form.Timer1.Enabled);
  EXPECT_TRUE(form.time.Enabled);
  EXPECT_EQ(form.time.Text, "30");
  EXPECT_TRUE(form.NewGame.Enabled);
}
