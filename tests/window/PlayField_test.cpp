#include <QPushButton>

#include "platform/Units.h"
#include "platform/qt/Pixels.h"
#include "tests/window/WindowFixture.h"

namespace {

using platform::PictureBox;

QRect PixelsOf(const PictureBox& box) { return platform::qt::PixelRect(box.Left, box.Top, box.Width, box.Height); }

// The sprite shows its picture, unscaled, at its place in the field.
void ExpectSpriteShown(const QImage& shot, const PictureBox& sprite) {
  const QPoint at = PixelsOf(sprite).topLeft();
  const QImage& picture = platform::qt::ImageOf(sprite.Picture);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      if (!shot.rect().contains(at + QPoint(x, y)) || at.y() + y >= 329) continue;
      ASSERT_EQ(shot.pixel(at + QPoint(x, y)), picture.pixel(x, y)) << sprite.Name << " at " << x << "," << y;
    }
}

}  // namespace

TEST_F(WindowTest, NewGameShowsTheFieldWithItsFiveDots) {
  Window().findChild<QPushButton*>()->click();
  ASSERT_TRUE(form.Back.Visible);
  const QImage shot = Screenshot();
  // The field's picture shows unscaled at the top left, cut off at 465 x 329.
  EXPECT_EQ(shot.pixel(464, 0), platform::qt::ImageOf(form.Back.Picture).pixel(464, 0));
  EXPECT_EQ(shot.pixel(200, 329), qRgb(240, 240, 240));  // the strip's background below the field
  for (const PictureBox* dot : {&form.Picture4, &form.Picture5, &form.Picture6, &form.Picture7, &form.Picture8})
    ExpectSpriteShown(shot, *dot);
  ExpectSpriteShown(shot, form.player1);
}

TEST_F(WindowTest, TheBulletFliesOverAnEmptyStretchLeavingOnePixelMarks) {
  Window().findChild<QPushButton*>()->click();
  Event([&] {
    form.player1.Move(1320, 600);
    for (PictureBox* dot : {&form.Picture4, &form.Picture5, &form.Picture6, &form.Picture7, &form.Picture8})
      dot->Move(6000, 4000);  // out of the bullet's path
  });
  Event([&] { form.Timer1.RaiseTimer(); });  // parks the bullet on the player
  front.Keys().Press(platform::vbKeyReturn);
  std::vector<QPoint> marks;
  for (int tick = 0; tick < 6; ++tick) {
    if (form.bullet.Visible) {
      marks.push_back(QPoint(static_cast<int>(form.bullet.Left / 15), static_cast<int>((form.bullet.Top - 1) / 15)));
      marks.push_back(QPoint(static_cast<int>((form.bullet.Left + 135) / 15),
                             static_cast<int>((form.bullet.Top + 134) / 15)));
    }
    Event([&] { form.Timer1.RaiseTimer(); });
  }
  front.Keys().Release(platform::vbKeyReturn);
  ASSERT_TRUE(form.bullet.Visible);
  EXPECT_EQ(form.Caption, "Viveve");
  EXPECT_EQ(Window().windowTitle(), "Viveve");
  const QImage shot = Screenshot();
  const QRect bullet = PixelsOf(form.bullet);
  for (int d = 0; d < 9; ++d) EXPECT_EQ(shot.pixel(bullet.topLeft() + QPoint(d, d)), qRgb(255, 0, 0));
  ASSERT_EQ(marks.size(), 10u);
  const auto underASprite = [&](QPoint p) {
    return bullet.contains(p) || PixelsOf(form.player1).contains(p);
  };
  const auto fieldAt = [&](QPoint p) { return platform::qt::ImageOf(form.Back.Picture).pixel(p); };
  // Marks beneath a sprite are hidden by it; the ones the bullet left behind show.
  int seen = 0;
  for (const QPoint& mark : marks) {
    if (underASprite(mark)) continue;
    EXPECT_NE(shot.pixel(mark), fieldAt(mark)) << mark.x() << "," << mark.y();
    // A mark is one pixel: the field shows beside it.
    const QPoint beside = mark + QPoint(mark.x() % 2 ? -1 : 1, 0);
    if (!underASprite(beside)) {
      EXPECT_EQ(shot.pixel(beside), fieldAt(beside));
    }
    ++seen;
  }
  EXPECT_GE(seen, 6);
  // Hiding the field clears the marks: the next game starts on a clean field.
  Event([&] { form.Back.Visible = false; });
  Event([&] { form.Back.Visible = true; });
  const QImage clean = Screenshot();
  for (const QPoint& mark : marks)
    if (!underASprite(mark)) {
      EXPECT_EQ(clean.pixel(mark), fieldAt(mark));
    }
}

// Handlers change only the controls; the window follows once the event is over.
TEST_F(WindowTest, TheScreenChangesOnlyAfterEachEvent) {
  Window().findChild<QPushButton*>()->click();
  const QImage before = Screenshot();
  const auto tick = form.Timer1.OnTimer;
  QImage inside;
  std::string titleInside;
  form.Timer1.OnTimer = [&] {
    tick();
    inside = Screenshot();
    titleInside = Window().windowTitle().toStdString();
  };
  front.Keys().Press(platform::vbKeyReturn);
  Event([&] { form.Timer1.RaiseTimer(); });
  EXPECT_EQ(titleInside, "Form1");
  EXPECT_EQ(inside, before);
  EXPECT_EQ(Window().windowTitle(), "Viveve");
  EXPECT_NE(Screenshot(), before);
}
