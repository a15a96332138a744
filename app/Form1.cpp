#include "app/Form1.h"

#include <optional>

#include "app/Module1.h"
#include "platform/Conversions.h"
#include "platform/Runtime.h"
#include "play/RandomRules.h"
#include "scene/Form1Description.h"

using platform::Boolean;
using platform::GetAsyncKeyState;
using platform::Label;
using platform::MsgBox;
using platform::PictureBox;
using platform::vbFalse;
using platform::vbKeyReturn;
using platform::vbTrue;

Form1::Form1()
    : Form(scene::Form1Description()),
      Timer2(Find<platform::Timer>("Timer2")),
      time(Find<platform::TextBox>("time")),
      NewGame(Find<platform::CommandButton>("NewGame")),
      Timer1(Find<platform::Timer>("Timer1")),
      Back(Find<PictureBox>("Back")),
      dir(*this, "dir"),
      Picture8(Find<PictureBox>("Picture8")),
      Picture7(Find<PictureBox>("Picture7")),
      Picture6(Find<PictureBox>("Picture6")),
      Picture5(Find<PictureBox>("Picture5")),
      Picture4(Find<PictureBox>("Picture4")),
      bullet(Find<PictureBox>("bullet")),
      player1(Find<PictureBox>("player1")),
      direction(Find<Label>("direction")),
      hidden(Find<Label>("hidden")),
      Label3(Find<Label>("Label3")),
      Label2(Find<Label>("Label2")),
      sshoot(Find<Label>("sshoot")),
      Label1(Find<Label>("Label1")),
      Score(Find<Label>("Score")),
      dots_{&Picture4, &Picture5, &Picture6, &Picture7, &Picture8} {
  Load = [this] { Form_Load(); };
  NewGame.Click = [this] { NewGame_Click(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  Timer2.OnTimer = [this] { Timer2_Timer(); };
}

void Form1::Form_Load() {
  MsgBox("Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!");
}

// The game loop, between games too: every step reads the controls afresh.
void Form1::Timer1_Timer() {
  if (!bullet.Visible) play::RefreshHeading(player1, dir, direction);
  if (bullet.Visible) play::DrawTrail(Back, bullet);
  play::SinkBlackDots(dots_);
  Move_Player(*this);
  if (GetAsyncKeyState(vbKeyReturn) != 0) bullet.Visible = true;
  if (!bullet.Visible) {
    play::Park(bullet, player1, sshoot);
    return;
  }
  sshoot.Visible = false;
  Caption = "Viveve";
  ScoreHits();  // where the bullet stood before this tick's move
  play::FlightMove(bullet, direction);
  if (Check_Collision_BF(bullet, Back) == vbFalse) bullet.Visible = false;
  if (bullet.Top > Back.ScaleHeight) bullet.Visible = false;
}

void Form1::ScoreHits() {
  for (PictureBox* dot : dots_)
    if (Check_Collision_BF(bullet, *dot) == vbTrue) play::ScoreHit(*dot, Back, Score);
}

Boolean Form1::Check_Collision_BF(const PictureBox& Sprite1, const PictureBox& Sprite2) const {
  const bool rightOf = Sprite2.Left + Sprite2.Width < Sprite1.Left;
  const bool leftOf = Sprite1.Left + Sprite1.Width < Sprite2.Left;
  const bool below = Sprite2.Top + Sprite2.Height < Sprite1.Top;
  const bool above = Sprite1.Top + Sprite1.Height < Sprite2.Top;
  return rightOf || leftOf || below || above ? vbFalse : vbTrue;
}

namespace {

// A limit starts a game when it is a number of at least 1 that the clock can
// count down to zero. Far above any real game, at 10^15 seconds, the cap keeps
// every count exact in the 15 significant digits that numbers are written
// with; near 2^53 subtracting one second would leave a count unchanged.
bool StartsAGame(const std::optional<double>& limit) {
  return limit && *limit >= 1 && *limit <= 1e15;
}

}  // namespace

void Form1::NewGame_Click() {
  if (!StartsAGame(platform::TextToNumber(time.Text))) return;
  Back.Visible = true;
  Score.Caption = "0";
  hidden.Caption = time.Text;  // as typed, for the result message
  Timer2.Enabled = true;
  time.Enabled = false;
  NewGame.Enabled = false;
  for (PictureBox* dot : dots_) dot->BackColor = play::RandomColour();
  for (PictureBox* dot : dots_) play::ScatterDot(*dot, Back);
}

void Form1::Timer2_Timer() {
  // A count that does not read as a number ends the game at once, as does
  // one that reaches zero. A fractional count stops at zero instead of
  // passing below it, so every game ends.
  if (const std::optional<double> left = platform::TextToNumber(time.Text))
    time.Text = platform::NumberToText(*left - 1 < 0 ? 0 : *left - 1);
  const std::optional<double> now = platform::TextToNumber(time.Text);
  if (now && *now != 0) return;

  Timer2.Enabled = false;  // before the box opens: no second game over
  MsgBox("Game over. You made " + Score.Caption + " hits in " + hidden.Caption + " seconds!");
  Score.Caption = "0";
  time.Enabled = true;
  NewGame.Enabled = true;
  Back.Visible = false;
}
