#include <set>
#include <utility>

#include "tests/qt/WindowFixture.h"

namespace {

using platform::PictureBox;
using Pixels = std::set<std::pair<int, int>>;

QRect PixelsOf(const PictureBox& b) { return platform::qt::ToQRect(platform::PixelRectOf(b)); }
const QRect kField(0, 0, 465, 328);  // what shows of the field: its picture is larger, the strip hides its last row

}  // namespace

// The field and its sprites show their pictures unscaled at their places;
// every flying tick marks the field with two single pixels, at the corners
// where the bullet stood, and hiding the field wipes them.
TEST_F(WindowTest, TheFieldShowsItsPicturesUnscaledAndTheBulletLeavesOnePixelMarks) {
  StartGame();
  const QImage meadow = Decoded(form.Back.Picture);
  const std::vector<PictureBox*> sprites = {&form.Picture4, &form.Picture5, &form.Picture6, &form.Picture7,
                                            &form.Picture8, &form.player1, &form.bullet};  // the five dots first
  const auto underASprite = [&](QPoint p) {
    for (const PictureBox* sprite : sprites)
      if (sprite->Visible && PixelsOf(*sprite).contains(p)) return true;
    return false;
  };
  // The pixels off the sprites where the field's picture does not show.
  const auto marksOn = [&](const QImage& shot) {
    Pixels marks;
    for (int y = 0; y < kField.height(); ++y)
      for (int x = 0; x < kField.width(); ++x)
        if (!underASprite({x, y}) && shot.pixel(x, y) != meadow.pixel(x, y)) marks.insert({x, y});
    return marks;
  };
  // Each sprite shows its picture whole, over any mark beneath it.
  const auto showTheirPictures = [&](const QImage& shot) {
    for (const PictureBox* sprite : sprites) {
      const QImage picture = Decoded(sprite->Picture);  // none for the bullet
      const QRect shown = QRect(PixelsOf(*sprite).topLeft(), picture.size()).intersected(kField);
      if (!sprite->Visible || shown.isEmpty()) continue;
      EXPECT_EQ(shot.copy(shown), picture.copy(shown.translated(-PixelsOf(*sprite).topLeft()))) << sprite->Name;
    }
  };
  QImage shot = Screenshot();
  EXPECT_EQ(marksOn(shot), Pixels{});
  showTheirPictures(shot);

  Event([&] {
    form.player1.Move(1320, 600);
    for (int dot = 0; dot < 5; ++dot) sprites[dot]->Move(99999, 0);  // past the field's edge, out of the way
  });
  Tick();  // parks the bullet on the player
  front.Keys().Press(platform::vbKeyReturn);
  Pixels marks;
  for (int tick = 0; tick < 6; ++tick) {
    if (form.bullet.Visible) {
      marks.insert({static_cast<int>(form.bullet.Left / 15), static_cast<int>((form.bullet.Top - 1) / 15)});
      marks.insert({static_cast<int>((form.bullet.Left + 135) / 15), static_cast<int>((form.bullet.Top + 134) / 15)});
    }
    Tick();
  }
  ASSERT_TRUE(form.bullet.Visible);
  const auto before = marks.size();
  std::erase_if(marks, [&](auto mark) { return underASprite({mark.first, mark.second}); });
  EXPECT_GE(marks.size(), 6u);
  ASSERT_LT(marks.size(), before);  // some lie under the player, who fired from there
  shot = Screenshot();
  EXPECT_EQ(marksOn(shot), marks);
  showTheirPictures(shot);
  // The bullet has no picture: it shows as a red square.
  for (int d = 0; d < 9; ++d) EXPECT_EQ(shot.pixel(PixelsOf(form.bullet).topLeft() + QPoint(d, d)), qRgb(255, 0, 0));

  Event([&] { form.Back.Visible = false; });
  Event([&] { form.Back.Visible = true; });
  EXPECT_EQ(marksOn(Screenshot()), Pixels{});  // the next game starts on a clean field
}

// Handlers change only the controls; the window follows once the event is over.
TEST_F(WindowTest, TheScreenChangesOnlyAfterEachEvent) {
  StartGame();
  const QImage before = Screenshot();
  QImage inside;
  front.Keys().Press(platform::vbKeyReturn);
  Event([&] {
    form.Timer1.RaiseTimer();
    inside = Screenshot();
    EXPECT_EQ(Window().windowTitle(), "Form1");
  });
  EXPECT_EQ(inside, before);
  EXPECT_EQ(Window().windowTitle(), "Viveve");
  EXPECT_NE(Screenshot(), before);
}
