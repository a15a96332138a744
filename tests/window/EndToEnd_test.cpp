#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <qpa/qwindowsysteminterface.h>

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
  // The time box has the focus back with its count selected: typing replaces it.
  EXPECT_TRUE(limit->hasFocus());
  EXPECT_EQ(limit->selectedText(), "0");
  const QImage after = Screenshot();
  EXPECT_EQ(after.copy(0, 0, 465, 328), idle.copy(0, 0, 465, 328));
  EXPECT_EQ(after.copy(0, 328, 300, 16), idle.copy(0, 328, 300, 16));  // left of the time box
  QTest::keyClicks(limit, "30");
  EXPECT_EQ(form.time.Text, "30");
}

// A key held in the game when the result box opens, repeating as a window
// system may repeat it: as marked repeats, as plain presses, or as plain
// presses each after a release of the same moment. Neither the repeats nor
// the key's release answer the box; a press made after it opened does, and so
// does a click.
TEST_F(WindowTest, TheResultBoxIgnoresKeysHeldBeforeItOpened) {
  front.AnswerMessageBoxes({});
  enum class Repeats { Marked, Presses, ReleasesAndPresses };
  ulong now = 1000;
  const auto send = [&now](QWindow* window, Qt::Key key, QEvent::Type type, bool repeat, bool sameMoment) {
    if (!sameMoment) now += 40;
    const QString text = key == Qt::Key_Return ? "\r" : key == Qt::Key_Space ? " " : "\x1b";
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
        window, now, type, key, Qt::NoModifier, text, repeat);
  };
  struct Case {
    Qt::Key held;
    Repeats repeats;
    Qt::Key answer;  // Qt::Key_unknown: a click on OK
  };
  for (const Case c : {Case{Qt::Key_Return, Repeats::Marked, Qt::Key_Return},
                       Case{Qt::Key_Return, Repeats::Presses, Qt::Key_Return},
                       Case{Qt::Key_Return, Repeats::ReleasesAndPresses, Qt::Key_Return},
                       Case{Qt::Key_Space, Repeats::ReleasesAndPresses, Qt::Key_Space},
                       Case{Qt::Key_Escape, Repeats::Presses, Qt::Key_Escape},
                       Case{Qt::Key_Return, Repeats::Marked, Qt::Key_unknown}}) {
    const char* const repeats[] = {"marked", "plain presses", "releases and presses"};
    SCOPED_TRACE(testing::Message() << QKeySequence(c.held).toString().toStdString() << " held, repeating as "
                                    << repeats[static_cast<int>(c.repeats)] << ", answered by "
                                    << (c.answer == Qt::Key_unknown ? "a click" : "a fresh press"));
    Event([&] {
      form.time.Text = "1";
      form.NewGame.Press();
    });
    ASSERT_TRUE(form.Timer2.Enabled);
    send(Window().windowHandle(), c.held, QEvent::KeyPress, false, false);
    bool keptOpen = false, answered = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      ASSERT_TRUE(QTest::qWaitForWindowActive(box));
      QWindow* window = box->windowHandle();
      for (int i = 0; i < 3; ++i) {
        if (c.repeats != Repeats::Presses)
          send(window, c.held, QEvent::KeyRelease, c.repeats == Repeats::Marked, false);
        send(window, c.held, QEvent::KeyPress, c.repeats == Repeats::Marked, c.repeats != Repeats::Presses);
      }
      send(window, c.held, QEvent::KeyRelease, false, false);
      keptOpen = box->isVisible();
      if (c.answer == Qt::Key_unknown) {
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      } else {
        send(window, c.answer, QEvent::KeyPress, false, false);
        if (box->isVisible()) send(window, c.answer, QEvent::KeyRelease, false, false);
      }
      answered = !box->isVisible();
      box->accept();
    });
    Event([&] { form.Timer2.RaiseTimer(); });  // the clock runs out
    EXPECT_TRUE(keptOpen);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(form.NewGame.Enabled);
  }
}
