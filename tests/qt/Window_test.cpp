// The real window on Qt's offscreen platform, for what the scenario book
// cannot reach: the pixels, what a screen reader hears as the field changes,
// and every text query a screen reader may ask of the time box.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtGui/private/qguiapplication_p.h>
#include <QtTest/QTest>
#include <cstdlib>
#include <functional>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <utility>

#include "app/Form1.h"
#include "platform/qt/QtFrontEnd.h"

namespace {

// A game's window, every message box closed as soon as it opens.
class WindowTest : public testing::Test {
 protected:
  WindowTest() {
    front.AnswerMessageBoxes([](const std::string&, const std::string&) {});
    front.Show(form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
  }

  QWidget& Window() { return *front.Window(); }
  // Runs code as an event of the window, as a tick or a click would be.
  void Event(const std::function<void()>& handler) { front.Dispatch(handler); }
  void Tick() { Event([this] { form.Timer1.RaiseTimer(); }); }
  void StartGame() { Window().findChild<QPushButton*>()->click(); }

  platform::qt::QtFrontEnd front{"vantor"};
  Form1 form;
};

}  // namespace

// The window shows the field as the game composed it, the bullet and its
// marks under the sprites included, the strip covering its last row. Run
// with QT_SCALE_FACTOR=2 as well: every pixel then a uniform block of its
// own colour, never smoothed.
TEST_F(WindowTest, TheWindowShowsTheComposedFieldInWholeBlocks) {
  StartGame();
  Tick();  // parks the bullet on the player
  front.Keys().Press(platform::vbKeyReturn);
  for (int tick = 0; tick < 3; ++tick) Tick();
  ASSERT_TRUE(form.bullet.Visible);
  const QPixmap grab = Window().grab();
  const int scale = static_cast<int>(grab.devicePixelRatio());
  ASSERT_EQ(grab.devicePixelRatio(), scale);
  const QImage shot = grab.toImage().convertToFormat(QImage::Format_RGB32);
  const platform::FieldRaster& field = front.Field();
  long differ = 0;
  for (int y = 0; y < (field.Height() - 1) * scale; ++y)
    for (int x = 0; x < field.Width() * scale; ++x) differ += shot.pixel(x, y) != field.At(x / scale, y / scale);
  EXPECT_EQ(differ, 0) << "screen pixels at scale " << scale;
}

// The strip's captions fit their boxes, and enlarging the window moves
// nothing: "Ready To Shoot" stays red to its last pixel, the form's own grey
// fills the rest.
TEST_F(WindowTest, CaptionsFitAndEnlargingTheWindowMovesNothing) {
  const QFontMetrics metrics(Window().font());
  EXPECT_LE(metrics.height(), 17);  // the strip's labels are 17 pixels high
  for (const char* name : {"sshoot", "Label2", "Label3", "Label1"}) {
    const auto& label = form.Find<platform::Label>(name);
    EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(label.Caption)), label.Width / 15) << name;
  }
  Window().resize(600, 500);
  const QImage shot = Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shot.pixel(80, 343), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(81, 343), qRgb(240, 240, 240));
  EXPECT_EQ(shot.pixel(550, 450), qRgb(240, 240, 240));
}

namespace {

// What a screen reader hears of controls shown and hidden, as "+name" and
// "-name"; the game's news is for the Orca check.
QStringList heard;

std::string Heard() {
  heard.sort();
  return std::exchange(heard, {}).join(", ").toStdString();
}

QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& name) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(QAccessible::Name) == name) return parent->child(i);
  return nullptr;
}

}  // namespace

// The score is labelled by its caption. A screen reader hears the sprites
// come and go with the field, and a dot go past the field's edge, where it
// stays visible but off the screen.
TEST_F(WindowTest, ScreenReadersHearTheScoreByItsCaptionAndEachSpriteComeAndGo) {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&Window());
  const auto labelled = ChildNamed(window, "Score:")->relations(QAccessible::Labelled);
  ASSERT_EQ(labelled.size(), 1);
  EXPECT_EQ(labelled[0].first->text(QAccessible::Name), "0");
  QAccessibleInterface* field = ChildNamed(window, "Play field");

  // Listening only while the test lives: Qt 6.8 tells a handler left in
  // place of the window's teardown, after its interfaces are gone.
  struct Listening {
    Listening() { QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true); }
    ~Listening() {
      QAccessible::installUpdateHandler(nullptr);
      QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }
  } listening;
  QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
    const QString name = event->accessibleInterface()->text(QAccessible::Name);
    if (event->accessibleInterface()->role() == QAccessible::Notification) return;
    if (event->type() == QAccessible::ObjectShow) heard << "+" + name;
    if (event->type() == QAccessible::ObjectHide) heard << "-" + name;
  });
  StartGame();
  EXPECT_EQ(Heard(), "+Play field, +Player, +Target dot, +Target dot, +Target dot, +Target dot, +Target dot");
  Event([&] {
    form.Picture6.Left = 99999;
    form.bullet.Visible = true;
  });
  EXPECT_EQ(Heard(), "+Bullet, -Target dot");
  QStringList offscreen;
  for (int i = 0; i < field->childCount(); ++i)
    if (!field->child(i)->state().invisible && field->child(i)->state().offscreen)
      offscreen << field->child(i)->text(QAccessible::Name);
  EXPECT_EQ(offscreen, QStringList{"Target dot"});

  Event([&] { form.Back.Visible = false; });
  EXPECT_EQ(Heard(), "-Bullet, -Play field, -Player, -Target dot, -Target dot, -Target dot, -Target dot");
}

// Every boundary at every offset, from before the start to past the end, is
// answered (Qt's own line edit loops for ever on the word at the end of its
// text); a character is the one at its offset, and no attribute run is
// empty, which a screen reader would split the text by.
TEST_F(WindowTest, TheTimeBoxAnswersEveryTextQuery) {
  const QString typed = "10 20. 30";
  Event([&] { form.time.Text = typed.toStdString(); });
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(Window().findChild<QLineEdit*>())->textInterface();
  ASSERT_EQ(text->text(0, text->characterCount()), typed);
  const int length = static_cast<int>(typed.size());
  for (int offset = -1; offset <= length + 1; ++offset) {
    int start = 0, end = 0;
    for (const auto boundary : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
                                QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary}) {
      text->textBeforeOffset(offset, boundary, &start, &end);
      text->textAtOffset(offset, boundary, &start, &end);
      text->textAfterOffset(offset, boundary, &start, &end);
    }
    if (offset < 0 || offset >= length) continue;
    EXPECT_EQ(text->textAtOffset(offset, QAccessible::CharBoundary, &start, &end), typed[offset]);
    text->attributes(offset, &start, &end);
    EXPECT_LT(start, end) << "an empty attribute run at " << offset;
  }
}

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::qt::QtFrontEnd::PrepareApplication();
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
