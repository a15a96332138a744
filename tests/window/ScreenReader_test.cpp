#include <QAccessible>
#include <QPushButton>
#include <QRegularExpression>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "tests/window/WindowFixture.h"

namespace {

// A screen reader listening while it lives: what it hears of shows, hides and
// changes, as "+name", "-name", "name changed", "text changed".
class Listener {
 public:
  Listener() {
    Platform().setActive(true);
    QAccessible::installUpdateHandler(&Hear);
    heard().clear();
  }
  ~Listener() {
    QAccessible::installUpdateHandler(nullptr);
    Platform().setActive(false);
  }
  // What it heard since the last call, sorted; only shows and hides if asked.
  static std::string Take(bool showsAndHides = false) {
    QStringList taken = heard();
    heard().clear();
    if (showsAndHides) taken = taken.filter(QRegularExpression("^[+-]"));
    taken.sort();
    return taken.join(", ").toStdString();
  }

 private:
  static QPlatformAccessibility& Platform() { return *QGuiApplicationPrivate::platformIntegration()->accessibility(); }
  static QStringList& heard() {
    static QStringList list;
    return list;
  }
  static void Hear(QAccessibleEvent* event) {
    const QString name = event->accessibleInterface()->text(QAccessible::Name);
    switch (event->type()) {
      case QAccessible::ObjectShow: heard() << "+" + name; break;
      case QAccessible::ObjectHide: heard() << "-" + name; break;
      case QAccessible::NameChanged: heard() << name + " name changed"; break;
      case QAccessible::TextUpdated: heard() << name + " text changed"; break;
      default: break;
    }
  }
};

QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& name) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(QAccessible::Name) == name) return parent->child(i);
  ADD_FAILURE() << "no " << name.toStdString();
  return parent;
}

std::string Names(const QList<QPair<QAccessibleInterface*, QAccessible::Relation>>& related) {
  QStringList names;
  for (const auto& entry : related) names << entry.first->text(QAccessible::Name);
  names.sort();
  return names.join(", ").toStdString();
}

}  // namespace

TEST_F(WindowTest, ScreenReadersHearTheScoreAndTheTimeBoxWithTheirCaptions) {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&Window());
  EXPECT_EQ(window->role(), QAccessible::Window);
  QAccessibleInterface* caption = ChildNamed(window, "Score:");
  const auto labelled = caption->relations(QAccessible::Labelled);
  ASSERT_EQ(labelled.size(), 1);
  QAccessibleInterface* score = labelled[0].first;
  EXPECT_EQ(Names(score->relations(QAccessible::Label)), "Score:");
  QAccessibleInterface* time = ChildNamed(window, "Time limit in seconds");
  EXPECT_EQ(Names(time->relations(QAccessible::Label)), "Seconds, Time Limit:");

  Listener listener;
  Event([&] {
    form.Score.Caption = "7";
    form.time.Text = "12";
  });
  EXPECT_EQ(score->text(QAccessible::Name), "7");
  EXPECT_EQ(time->text(QAccessible::Value), "12");
  EXPECT_EQ(listener.Take(), "7 name changed, Time limit in seconds text changed");
}

// The sprites are visible only while the field is, and the reader hears each
// come and go. A dot past the field's edge is visible but does not show.
TEST_F(WindowTest, ScreenReadersFindTheSpritesOnlyWhileTheFieldShows) {
  QAccessibleInterface* field = ChildNamed(QAccessible::queryAccessibleInterface(&Window()), "Play field");
  const auto sprites = [field](bool showingOnly) {
    QStringList names;
    for (int i = 0; i < field->childCount(); ++i) {
      QAccessibleInterface* sprite = field->child(i);
      EXPECT_EQ(sprite->role(), QAccessible::Graphic);
      EXPECT_EQ(sprite->parent(), field);
      EXPECT_EQ(field->indexOfChild(sprite), i);
      const QAccessible::State state = sprite->state();
      if (!state.invisible && !(showingOnly && state.offscreen)) names << sprite->text(QAccessible::Name);
    }
    names.sort();
    return names.join(", ").toStdString();
  };
  const std::string fiveDots = "Target dot, Target dot, Target dot, Target dot, Target dot";
  EXPECT_EQ(field->childCount(), 7);
  EXPECT_TRUE(field->state().invisible);
  EXPECT_EQ(sprites(false), "");

  Listener listener;
  Window().findChild<QPushButton*>()->click();
  EXPECT_FALSE(field->state().invisible);
  EXPECT_EQ(sprites(true), "Player, " + fiveDots);
  EXPECT_EQ(listener.Take(true),
            "+Play field, +Player, +Target dot, +Target dot, +Target dot, +Target dot, +Target dot");
  Event([&] {
    form.Picture6.Left = 99999;
    form.bullet.Visible = true;
  });
  EXPECT_EQ(listener.Take(true), "+Bullet, -Target dot");
  EXPECT_EQ(sprites(false), "Bullet, Player, " + fiveDots);
  EXPECT_EQ(sprites(true), "Bullet, Player, Target dot, Target dot, Target dot, Target dot");
  EXPECT_EQ(ChildNamed(field, "Player")->rect(), QRect(Window().mapToGlobal(QPoint(88, 72)), QSize(9, 9)));

  Event([&] { form.Back.Visible = false; });
  EXPECT_EQ(sprites(false), "");
  EXPECT_EQ(listener.Take(true), "-Bullet, -Play field, -Player, -Target dot, -Target dot, -Target dot, -Target dot");
}
