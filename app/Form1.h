#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Units.h"
#include "play/Bullet.h"
#include "play/Targets.h"

// The game window. All game state lives in its controls.
class Form1 : public platform::Form {
 public:
  Form1();

  platform::Timer& Timer2;
  platform::TextBox& time;
  platform::CommandButton& NewGame;
  platform::Timer& Timer1;
  platform::PictureBox& Back;
  const play::FacingPictures dir;
  platform::PictureBox& Picture8;
  platform::PictureBox& Picture7;
  platform::PictureBox& Picture6;
  platform::PictureBox& Picture5;
  platform::PictureBox& Picture4;
  platform::PictureBox& bullet;
  platform::PictureBox& player1;
  platform::Label& direction;
  platform::Label& hidden;
  platform::Label& Label3;
  platform::Label& Label2;
  platform::Label& sshoot;
  platform::Label& Label1;
  platform::Label& Score;

  void Form_Load();
  void NewGame_Click();
  void Timer1_Timer();
  void Timer2_Timer();

 private:
  const play::TargetDots dots_;  // Picture4 to Picture8

  // True (-1) when the two boxes' rectangles overlap or touch, each measured
  // as its own control reports it.
  platform::Boolean Check_Collision_BF(const platform::PictureBox& Sprite1,
                                       const platform::PictureBox& Sprite2) const;
  void ScoreHits();
};
