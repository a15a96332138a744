#include "play/Targets.h"

#include "platform/Conversions.h"
#include "play/RandomRules.h"

namespace play {

void SinkBlackDots(const TargetDots& dots) {
  // The control holds Top at its coordinate limit, so a dot that nothing
  // re-places stops there instead of running out of range.
  for (platform::PictureBox* dot : dots)
    if (dot->BackColor == 0) dot->Top = dot->Top + 60;
}

void ScoreHit(platform::PictureBox& dot, const platform::PictureBox& Back, platform::Label& Score) {
  ScatterDot(dot, Back);
  // The caption is only ever written by the game, always as a whole number.
  Score.Caption = platform::NumberToText(platform::TextToNumber(Score.Caption).value_or(0) + 1);
}

}  // namespace play
