#pragma once

#include <array>

#include "platform/Controls.h"

namespace play {

// Picture4 to Picture8, the order in which every rule visits them.
using TargetDots = std::array<platform::PictureBox*, 5>;

// A black dot sinks 60 twips a tick, until it rests at the lowest place a
// control holds, far out of sight.
void SinkBlackDots(const TargetDots& dots);

// A struck dot jumps to a new place and the score counts one more.
void ScoreHit(platform::PictureBox& dot, const platform::PictureBox& Back, platform::Label& Score);

}  // namespace play
