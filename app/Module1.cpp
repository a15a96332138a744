#include "app/Module1.h"

#include "app/Form1.h"
#include "play/Bullet.h"
#include "platform/Runtime.h"

using platform::GetAsyncKeyState;

namespace {

// One arrow key: move, take the facing picture, and, while no bullet flies,
// make its word the heading of the next shot.
void Step(Form1& form, int key, platform::Position& axis, float delta, int facing) {
  if (GetAsyncKeyState(key) == 0) return;
  axis = axis + delta;
  form.player1.Picture = form.dir(facing).Picture;
  if (!form.bullet.Visible) form.direction.Caption = play::HeadingWord(facing);
}

}  // namespace

void Move_Player(Form1& form) {
  platform::PictureBox& player1 = form.player1;
  // Polled in this order, so that when several are held the last one polled
  // wins the facing: vertical over horizontal, right over left, down over up.
  Step(form, platform::vbKeyLeft, player1.Left, -20, 2);
  Step(form, platform::vbKeyRight, player1.Left, +20, 3);
  Step(form, platform::vbKeyUp, player1.Top, -20, 0);
  Step(form, platform::vbKeyDown, player1.Top, +20, 1);

  if (player1.Left < 0) player1.Left = 0;
  if (player1.Top < 0) player1.Top = 0;
  const float rightmost = form.Back.ScaleWidth - player1.Width;
  if (rightmost < player1.Left) player1.Left = rightmost;
  const float lowest = form.Back.ScaleHeight - player1.Height;
  if (lowest < player1.Top) player1.Top = lowest;
}
