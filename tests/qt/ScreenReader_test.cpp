#include <QAccessible>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <utility>

#include "tests/qt/WindowFixture.h"

namespace {

std::string Sorted(QStringList names) {
  names.sort();
  return names.join(", ").toStdString();
}

// What a screen reader hears of shows and hides, as "+name" and "-name";
// the game's news, a notification shown before Qt 6.8, is left to
// check-screen-reader.
QStringList heard;

void Hear(QAccessibleEvent* event) {
  const QString name = event->accessibleInterface()->text(QAccessible::Name);
  if (event->accessibleInterface()->role() == QAccessible::Notification) return;
  if (event->type() == QAccessible::ObjectShow) heard << "+" + name;
  if (event->type() == QAccessible::ObjectHide) heard << "-" + name;
}

// A screen reader listening while it lives.
struct Listener {
  Listener() { Listen(true); }
  ~Listener() { Listen(false); }
  static void Listen(bool on) {
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(on);
    QAccessible::installUpdateHandler(on ? &Hear : nullptr);
    heard.clear();
  }
  // What it heard since the last call, sorted.
  static std::string Take() { return Sorted(std::exchange(heard, {})); }
};

QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& name) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(QAccessible::Name) == name) return parent->child(i);
  ADD_FAILURE() << "no " << name.toStdString();
  return parent;
}

std::string Related(QAccessibleInterface* control, QAccessible::Relation relation) {
  QStringList names;
  for (const auto& entry : control->relations(relation)) names << entry.first->text(QAccessible::Name);
  return Sorted(names);
}

}  // namespace

// The score is heard with its caption, the time box by its own name alone. The
// sprites are visible only while the field is, and the reader hears each come
// and go. A dot past the field's edge is visible but does not show.
TEST_F(WindowTest, ScreenReadersHearTheStripAndFindTheSpritesOnlyWhileTheFieldShows) {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&Window());
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(Related(ChildNamed(window, "Score:"), QAccessible::Labelled), "0");  // the score
  EXPECT_EQ(Related(ChildNamed(window, "Time limit in seconds"), QAccessible::Label), "");
  QAccessibleInterface* field = ChildNamed(window, "Play field");
  const auto sprites = [field](bool showingOnly) {
    QStringList names;
    for (int i = 0; i < field->childCount(); ++i) {
      QAccessibleInterface* sprite = field->child(i);
      EXPECT_EQ(field->indexOfChild(sprite), i);
      const QAccessible::State state = sprite->state();
      if (!state.invisible && !(showingOnly && state.offscreen)) names << sprite->text(QAccessible::Name);
    }
    return Sorted(names);
  };

  Listener reader;
  StartGame();
  EXPECT_EQ(reader.Take(),
            "+Play field, +Player, +Target dot, +Target dot, +Target dot, +Target dot, +Target dot");
  Event([&] {
    form.Picture6.Left = 99999;
    form.bullet.Visible = true;
  });
  EXPECT_EQ(reader.Take(), "+Bullet, -Target dot");
  EXPECT_EQ(sprites(false), "Bullet, Player, Target dot, Target dot, Target dot, Target dot, Target dot");
  EXPECT_EQ(sprites(true), "Bullet, Player, Target dot, Target dot, Target dot, Target dot");
  EXPECT_EQ(ChildNamed(field, "Player")->rect(), QRect(Window().mapToGlobal(QPoint(88, 72)), QSize(9, 9)));

  Event([&] { form.Back.Visible = false; });
  EXPECT_EQ(sprites(false), "");
  EXPECT_EQ(reader.Take(), "-Bullet, -Play field, -Player, -Target dot, -Target dot, -Target dot, -Target dot");
}
