#include <QMessageBox>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

#include "tests/qt/WindowFixture.h"

// A whole game as a player plays it: real key events, real timers, the real
// message boxes.
TEST_F(WindowTest, APlayerPlaysAWholeGame) {
  const QImage idle = Screenshot();
  QTest::mouseClick(&TimeBox(), Qt::LeftButton);
  TimeBox().selectAll();
  QTest::keyClicks(&TimeBox(), "2");
  QTest::keyClick(&TimeBox(), Qt::Key_Tab);
  // Enter presses New Game, and the first tick sees it: the player fires at once.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  ASSERT_TRUE(form.Back.Visible);

  // Holding the right arrow walks the player right.
  const float startLeft = form.player1.Left;
  QTest::keyPress(&Window(), Qt::Key_Right);
  QTest::qWait(400);
  QTest::keyRelease(&Window(), Qt::Key_Right);
  EXPECT_GT(form.player1.Left, startLeft + 200);
  EXPECT_EQ(Window().windowTitle(), "Viveve");

  // The clock runs out after two seconds and reports the game, the box
  // showing over the last count.
  std::string countShown, scoreShown;
  front.AnswerMessageBoxes([&](const std::string& caption, const std::string& prompt) {
    boxes.push_back({caption, prompt});
    countShown = TimeBox().text().toStdString();
    scoreShown = form.Score.Caption;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.size() == 2; }, 4000));
  EXPECT_EQ(boxes[1].prompt, "Game over. You made " + scoreShown + " hits in 2 seconds!");
  EXPECT_EQ(countShown, "0");
  QTest::qWait(50);

  // Idle again: the field is gone, the strip is back as it was at start-up,
  // and the time box has the focus with its count selected: typing replaces it.
  EXPECT_EQ(Screenshot().copy(0, 0, 465, 328), idle.copy(0, 0, 465, 328));
  EXPECT_EQ(Screenshot().copy(0, 328, 300, 16), idle.copy(0, 328, 300, 16));  // left of the time box
  EXPECT_TRUE(TimeBox().hasFocus());
  QTest::keyClicks(&TimeBox(), "30");
  EXPECT_EQ(form.time.Text, "30");
}

// A key held in the game when the result box opens, repeating as a window
// system may repeat it: as marked repeats, as plain presses, or as plain
// presses each after a release of the same moment. Neither the repeats nor
// the key's release answer the box; a press of it made after the box opened
// does, and so does a click.
TEST_F(WindowTest, TheResultBoxIgnoresKeysHeldBeforeItOpened) {
  front.AnswerMessageBoxes({});
  enum Repeats { Marked, Presses, ReleasesAndPresses };
  ulong now = 1000;
  const auto send = [&now](QWindow* window, Qt::Key key, QEvent::Type type, bool repeat, bool sameMoment) {
    if (!sameMoment) now += 40;
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
        window, now, type, key, Qt::NoModifier, QString(), repeat);
  };
  struct Case { const char* what; Qt::Key held; Repeats repeats; bool click; };
  for (const Case c : {Case{"Enter, marked repeats", Qt::Key_Return, Marked, false},
                       Case{"Enter, plain presses", Qt::Key_Return, Presses, false},
                       Case{"Enter, releases and presses", Qt::Key_Return, ReleasesAndPresses, false},
                       Case{"Space, releases and presses", Qt::Key_Space, ReleasesAndPresses, false},
                       Case{"Escape, plain presses", Qt::Key_Escape, Presses, false},
                       Case{"Enter, marked repeats, answered by a click", Qt::Key_Return, Marked, true}}) {
    SCOPED_TRACE(c.what);
    Event([&] {
      form.time.Text = "1";
      form.NewGame.Press();
    });
    ASSERT_TRUE(form.Timer2.Enabled);
    send(Window().windowHandle(), c.held, QEvent::KeyPress, false, false);
    bool answered = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      ASSERT_TRUE(QTest::qWaitForWindowActive(box));
      QWindow* window = box->windowHandle();
      for (int i = 0; i < 3; ++i) {
        if (c.repeats != Presses) send(window, c.held, QEvent::KeyRelease, c.repeats == Marked, false);
        send(window, c.held, QEvent::KeyPress, c.repeats == Marked, c.repeats != Presses);
      }
      send(window, c.held, QEvent::KeyRelease, false, false);
      EXPECT_TRUE(box->isVisible());  // nothing of the held key answered it
      if (c.click) QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      if (!c.click) send(window, c.held, QEvent::KeyPress, false, false);
      if (box->isVisible()) send(window, c.held, QEvent::KeyRelease, false, false);  // Space answers on release
      answered = !box->isVisible();
      box->accept();
    });
    Event([&] { form.Timer2.RaiseTimer(); });  // the clock runs out
    EXPECT_TRUE(answered);
  }
}

// A key whose release the game never hears is not held: let go while another
// window had the keyboard, or after it closed a box, when nothing had it.
// The result box then takes the player's first press of it.
TEST_F(WindowTest, TheResultBoxTakesTheFirstEnterAfterAReleaseTheGameMissed) {
  front.AnswerMessageBoxes({});
  ulong now = 1000;
  const auto send = [&now](QWindow* window, QEvent::Type type) {
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
        window, now += 40, type, Qt::Key_Return, Qt::NoModifier, QString(), false);
  };
  // Closes the box that opens next with a press of Enter; says whether that
  // first press did it.
  const auto answerWithEnter = [&](bool& answered) {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      ASSERT_TRUE(QTest::qWaitForWindowActive(box));
      send(box->windowHandle(), QEvent::KeyPress);
      answered = !box->isVisible();
      box->accept();
    });
  };
  for (const bool letGoElsewhere : {true, false}) {
    SCOPED_TRACE(letGoElsewhere ? "let go in another window" : "let go after closing a box");
    Event([&] {
      form.time.Text = "1";
      form.NewGame.Press();
    });
    if (letGoElsewhere) {
      send(Window().windowHandle(), QEvent::KeyPress);
      QEvent deactivate(QEvent::WindowDeactivate);
      QApplication::sendEvent(&Window(), &deactivate);
    } else {
      bool closed = false;
      answerWithEnter(closed);
      Event([] { platform::MsgBox("a box closed with Enter"); });
      ASSERT_TRUE(closed);
    }
    bool answered = false;
    answerWithEnter(answered);
    Event([&] { form.Timer2.RaiseTimer(); });  // the clock runs out
    EXPECT_TRUE(answered);
  }
}
