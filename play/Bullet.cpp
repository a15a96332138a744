#include "play/Bullet.h"

#include <array>

#include "play/RandomRules.h"

namespace play {

const char* HeadingWord(int facing) {
  static constexpr std::array<const char*, 4> kHeadingWords = {"up", "down", "left", "right"};
  return kHeadingWords.at(static_cast<std::size_t>(facing));
}

void RefreshHeading(const platform::PictureBox& player1, const FacingPictures& dir, platform::Label& direction) {
  for (int k = 0; k < FacingPictures::Count(); ++k)
    if (dir(k).Picture == player1.Picture) direction.Caption = HeadingWord(k);
}

void DrawTrail(platform::PictureBox& Back, const platform::PictureBox& bullet) {
  const platform::Colour first = RandomColour();
  Back.Line(bullet.Left, bullet.Top - 5, bullet.Left, bullet.Top, first);
  const platform::Colour second = RandomColour();
  Back.Line(bullet.Left + bullet.Width, bullet.Top + bullet.Height - 5, bullet.Left + bullet.Width,
            bullet.Top + bullet.Height, second);
}

void Park(platform::PictureBox& bullet, const platform::PictureBox& player1, platform::Label& sshoot) {
  bullet.Move(player1.Left, player1.Top);
  sshoot.Visible = true;
}

void FlightMove(platform::PictureBox& bullet, const platform::Label& direction) {
  if (direction.Caption == "up") bullet.Top = bullet.Top - 70;
  if (direction.Caption == "down") bullet.Top = bullet.Top + 70;
  if (direction.Caption == "right") bullet.Left = bullet.Left + 70;
  if (direction.Caption == "left") bullet.Left = bullet.Left - 70;
}

}  // namespace play
