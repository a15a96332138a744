#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace play {

using FacingPictures = platform::ControlArray<platform::PictureBox, 4>;

// The heading word of a facing: 0 "up", 1 "down", 2 "left", 3 "right".
const char* HeadingWord(int facing);

// While the bullet is parked: the heading becomes the way the player faces,
// known by the very picture that the player shows (0 up, 1 down, 2 left,
// 3 right). A picture of the player's own keeps the old word.
void RefreshHeading(const platform::PictureBox& player1, const FacingPictures& dir, platform::Label& direction);

// While in flight: a mark of random colour at the bullet's top-left corner,
// rising 5 twips, and one at its bottom-right corner, up its right edge.
void DrawTrail(platform::PictureBox& Back, const platform::PictureBox& bullet);

// The parked bullet waits on the player, and the sign says it is ready.
void Park(platform::PictureBox& bullet, const platform::PictureBox& player1, platform::Label& sshoot);

// 70 twips along the heading word.
void FlightMove(platform::PictureBox& bullet, const platform::Label& direction);

}  // namespace play
