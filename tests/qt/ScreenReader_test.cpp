#include <QAccessible>
#include <QRegularExpression>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "tests/qt/WindowFixture.h"

namespace {

std::string Sorted(QStringList names) {
  names.sort();
  return names.join(", ").toStdString();
}

// What a screen reader hears of shows, hides and changes, as "+name",
// "-name", "name changed" and "text changed", and what it is told: "say
// news", a notification shown before Qt 6.8, an announcement from then on.
QStringList heard;

void Hear(QAccessibleEvent* event) {
  const QString name = event->accessibleInterface()->text(QAccessible::Name);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  if (event->type() == QAccessible::Announcement)
    heard << "say " + static_cast<QAccessibleAnnouncementEvent*>(event)->message();
#endif
  if (event->accessibleInterface()->role() == QAccessible::Notification) {
    if (event->type() == QAccessible::ObjectShow) heard << "say " + name;
    return;
  }
  if (event->type() == QAccessible::ObjectShow) heard << "+" + name;
  if (event->type() == QAccessible::ObjectHide) heard << "-" + name;
  if (event->type() == QAccessible::NameChanged) heard << name + " name changed";
  if (event->type() == QAccessible::TextUpdated) heard << name + " text changed";
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
  // What it heard since the last call that matches, sorted.
  static std::string Take(const QString& matching = "") {
    const QStringList taken = heard.filter(QRegularExpression(matching));
    heard.clear();
    return Sorted(taken);
  }
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
  Event([&] {
    form.Score.Caption = "7";
    form.time.Text = "12";
  });
  EXPECT_EQ(reader.Take(), "7 name changed, Time limit in seconds text changed, say Score 7");
  StartGame();
  EXPECT_EQ(reader.Take("^[+-]"),
            "+Play field, +Player, +Target dot, +Target dot, +Target dot, +Target dot, +Target dot");
  Event([&] {
    form.Picture6.Left = 99999;
    form.bullet.Visible = true;
  });
  EXPECT_EQ(reader.Take("^[+-]"), "+Bullet, -Target dot");
  EXPECT_EQ(sprites(false), "Bullet, Player, Target dot, Target dot, Target dot, Target dot, Target dot");
  EXPECT_EQ(sprites(true), "Bullet, Player, Target dot, Target dot, Target dot, Target dot");
  EXPECT_EQ(ChildNamed(field, "Player")->rect(), QRect(Window().mapToGlobal(QPoint(88, 72)), QSize(9, 9)));

  Event([&] { form.Back.Visible = false; });
  EXPECT_EQ(sprites(false), "");
  EXPECT_EQ(reader.Take("^[+-]"), "-Bullet, -Play field, -Player, -Target dot, -Target dot, -Target dot, -Target dot");
}
