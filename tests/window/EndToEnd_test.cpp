#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "tests/window/WindowFixture.h"

// A whole game as a player plays it: real key events, real timers, the real
// message boxes.
TEST_F(WindowTest, APlayerPlaysAWholeGame) {
  const QImage idle = Screenshot();
  auto* limit = Window().findChild<QLineEdit*>();
  auto* newGame = Window().findChild<QPushButton*>();

  QTest::mouseClick(limit, Qt::LeftButton);
  limit->selectAll();
  QTest::keyClicks(limit, "2");
  EXPECT_EQ(form.time.Text, "2");
  QTest::mouseClick(newGame, Qt::LeftButton);
  ASSERT_TRUE(form.Back.Visible);
  EXPECT_EQ(form.hidden.Caption, "2");

  // Holding the right arrow walks the player right and turns it.
  const float startLeft = form.player1.Left;
  QTest::keyPress(&Window(), Qt::Key_Right);
  RunFor(400);
  QTest::keyRelease(&Window(), Qt::Key_Right);
  EXPECT_GT(form.player1.Left, startLeft + 200);
  EXPECT_EQ(form.player1.Picture, form.dir(3).Picture);
  const QImage walked = Screenshot();
  EXPECT_NE(walked, idle);

  // Enter fires along the heading the player faces.
  QTest::keyClick(&Window(), Qt::Key_Return);
  RunFor(50);
  EXPECT_EQ(Window().windowTitle(), "Viveve");
  EXPECT_EQ(form.direction.Caption, "right");

  // The clock runs out after two seconds and reports the game, the box
  // showing over the last count.
  std::string countShown;
  front.AnswerMessageBoxes([&](const std::string& caption, const std::string& prompt) {
    boxes.push_back({caption, prompt});
    countShown = limit->text().toStdString();
  });
  for (int waited = 0; boxes.size() < 2 && waited < 4000; waited += 50) RunFor(50);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].caption, "vantor");
  EXPECT_TRUE(QRegularExpression("^Game over\\. You made \\d+ hits in 2 seconds!$")
                  .match(QString::fromStdString(boxes[1].prompt))
                  .hasMatch())
      << boxes[1].prompt;
  EXPECT_EQ(countShown, "0");
  RunFor(50);

  // Idle again: the field is gone, the strip is back as it was at start-up.
  EXPECT_FALSE(form.Back.Visible);
  EXPECT_EQ(form.Score.Caption, "0");
  EXPECT_EQ(form.time.Text, "0");
  EXPECT_TRUE(limit->isEnabled());
  EXPECT_TRUE(newGame->isEnabled());
  const QImage after = Screenshot();
  EXPECT_EQ(after.copy(0, 0, 465, 328), idle.copy(0, 0, 465, 328));
  EXPECT_EQ(after.copy(0, 328, 300, 16), idle.copy(0, 328, 300, 16));  // left of the time box
}
