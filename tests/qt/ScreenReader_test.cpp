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

// The score is heard with its caption, the time box by its own name alone.
// The reader hears the sprites come and go with the field, and a dot go past
// the field's edge, where it stays visible but off the screen. Which sprites
// it finds, and where, the scenarios read on every front end.
TEST_F(WindowTest, ScreenReadersHearTheStripAndEachSpriteComeAndGo) {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&Window());
  EXPECT_EQ(Related(ChildNamed(window, "Score:"), QAccessible::Labelled), "0");  // the score
  EXPECT_EQ(Related(ChildNamed(window, "Time limit in seconds"), QAccessible::Label), "");
  QAccessibleInterface* field = ChildNamed(window, "Play field");

  Listener reader;
  StartGame();
  EXPECT_EQ(reader.Take(),
            "+Play field, +Player, +Target dot, +Target dot, +Target dot, +Target dot, +Target dot");
  Event([&] {
    form.Picture6.Left = 99999;
    form.bullet.Visible = true;
  });
  EXPECT_EQ(reader.Take(), "+Bullet, -Target dot");
  QStringList offscreen;
  for (int i = 0; i < field->childCount(); ++i)
    if (!field->child(i)->state().invisible && field->child(i)->state().offscreen)
      offscreen << field->child(i)->text(QAccessible::Name);
  EXPECT_EQ(Sorted(offscreen), "Target dot");

  Event([&] { form.Back.Visible = false; });
  EXPECT_EQ(reader.Take(), "-Bullet, -Play field, -Player, -Target dot, -Target dot, -Target dot, -Target dot");
}
