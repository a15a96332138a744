#include <QMessageBox>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

#include "tests/qt/WindowFixture.h"

// A whole game as a player plays it, from the instructions box on: real key
// events, real timers, the real message boxes.
TEST_F(WindowTest, APlayerPlaysAWholeGame) {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "vantor");
  EXPECT_EQ(boxes[0].prompt, "Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!");
  ASSERT_EQ(QApplication::focusWidget(), &NewGame());
  const QImage idle = Screenshot();
  // The result box shows over the last count.
  std::string countShown, scoreShown;
  front.AnswerMessageBoxes([&](const std::string& caption, const std::string& prompt) {
    boxes.push_back({caption, prompt});
    countShown = TimeBox().text().toStdString();
    scoreShown = form.Score.Caption;
  });
  QTest::mouseClick(&TimeBox(), Qt::LeftButton);
  TimeBox().selectAll();
  QTest::keyClicks(&TimeBox(), "2");
  QTest::keyClick(&TimeBox(), Qt::Key_Tab);
  // Enter presses New Game, and the first tick sees it: the player fires at once.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  ASSERT_TRUE(form.Back.Visible);
  EXPECT_FALSE(TimeBox().hasFocus() || NewGame().hasFocus());  // disabled, neither holds the keyboard

  // Holding the right arrow walks the player right. A loaded machine runs
  // fewer ticks in a given time, so the key stays down until the player has
  // gone ten steps, or the game is over.
  const float startLeft = form.player1.Left;
  QTest::keyPress(&Window(), Qt::Key_Right);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.player1.Left >= startLeft + 200 || boxes.size() == 2; }, 4000));
  QTest::keyRelease(&Window(), Qt::Key_Right);
  EXPECT_GE(form.player1.Left, startLeft + 200);
  EXPECT_EQ(Window().windowTitle(), "Viveve");

  // The clock runs out after two seconds and reports the game.
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

namespace {

// A key event as the window system sends it, 40 ms after the last one unless
// it comes at the same moment.
void Send(QWindow* window, Qt::Key key, QEvent::Type type, bool repeat = false, bool sameMoment = false) {
  static ulong now = 1000;
  if (!sameMoment) now += 40;
  QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
      window, now, type, key, Qt::NoModifier, QString(), repeat);
}

// The window of a one-second game, whose message boxes the test answers itself.
class ResultBoxTest : public WindowTest {
 protected:
  ResultBoxTest() { front.AnswerMessageBoxes({}); }
  void StartAGame() {
    Event([&] {
      form.time.Text = "1";
      form.NewGame.Press();
    });
  }
  const std::function<void()> clockRunsOut = [this] { form.Timer2.RaiseTimer(); };
  // Opens a box with the event, plays on it once it has the keyboard, and
  // says whether that play closed it.
  bool PlayClosesTheBox(const std::function<void(QMessageBox&)>& play, const std::function<void()>& opening) {
    bool closed = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      ASSERT_TRUE(QTest::qWaitForWindowActive(box));
      play(*box);
      closed = !box->isVisible();
      box->accept();
    });
    Event(opening);
    return closed;
  }
};

}  // namespace

// A key held in the game when the result box opens, repeating as a window
// system may repeat it: as marked repeats, as plain presses, or as plain
// presses each after a release of the same moment. Neither the repeats nor
// the key's release answer the box; a press of it made after the box opened
// does, and so does a click.
TEST_F(ResultBoxTest, TheResultBoxIgnoresKeysHeldBeforeItOpened) {
  enum Repeats { Marked, Presses, ReleasesAndPresses };
  struct Case { const char* what; Qt::Key held; Repeats repeats; bool click; };
  for (const Case c : {Case{"Enter, marked repeats", Qt::Key_Return, Marked, false},
                       Case{"Enter, plain presses", Qt::Key_Return, Presses, false},
                       Case{"Enter, releases and presses", Qt::Key_Return, ReleasesAndPresses, false},
                       Case{"Space, releases and presses", Qt::Key_Space, ReleasesAndPresses, false},
                       Case{"Escape, plain presses", Qt::Key_Escape, Presses, false},
                       Case{"Enter, marked repeats, answered by a click", Qt::Key_Return, Marked, true}}) {
    SCOPED_TRACE(c.what);
    StartAGame();
    ASSERT_TRUE(form.Timer2.Enabled);
    Send(Window().windowHandle(), c.held, QEvent::KeyPress);
    EXPECT_TRUE(PlayClosesTheBox([&](QMessageBox& box) {
      QWindow* window = box.windowHandle();
      for (int i = 0; i < 3; ++i) {
        if (c.repeats != Presses) Send(window, c.held, QEvent::KeyRelease, c.repeats == Marked);
        Send(window, c.held, QEvent::KeyPress, c.repeats == Marked, c.repeats != Presses);
      }
      Send(window, c.held, QEvent::KeyRelease);
      EXPECT_TRUE(box.isVisible());  // nothing of the held key answered it
      if (c.click) QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
      if (!c.click) Send(window, c.held, QEvent::KeyPress);
      if (box.isVisible()) Send(window, c.held, QEvent::KeyRelease);  // Space answers on release
    }, clockRunsOut));
  }
}

// A key whose release the game never hears is not held: let go while another
// window had the keyboard, or after it closed a box, when nothing had it.
// The result box then takes the player's first press of it.
TEST_F(ResultBoxTest, TheResultBoxTakesTheFirstEnterAfterAReleaseTheGameMissed) {
  const auto pressEnter = [](QMessageBox& box) { Send(box.windowHandle(), Qt::Key_Return, QEvent::KeyPress); };
  for (const bool letGoElsewhere : {true, false}) {
    SCOPED_TRACE(letGoElsewhere ? "let go in another window" : "let go after closing a box");
    StartAGame();
    if (letGoElsewhere) {
      Send(Window().windowHandle(), Qt::Key_Return, QEvent::KeyPress);
      QEvent deactivate(QEvent::WindowDeactivate);
      QApplication::sendEvent(&Window(), &deactivate);
      EXPECT_EQ(front.Keys().Query(platform::vbKeyReturn), 0);  // the game no longer sees it either
    } else {
      ASSERT_TRUE(PlayClosesTheBox(pressEnter, [] { platform::MsgBox("a box closed with Enter"); }));
    }
    EXPECT_TRUE(PlayClosesTheBox(pressEnter, clockRunsOut));
  }
}
