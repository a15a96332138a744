#pragma once

#include "platform/Colour.h"
#include "platform/Controls.h"

namespace play {

// A colour from three draws, red, green, blue in that order; each component
// is Int(draw * 255), so 0 to 254.
platform::Colour RandomColour();

// Two draws place the dot anywhere in the field, its top edge below the band
// of the top 100 twips (a top there is moved down to 200).
void ScatterDot(platform::PictureBox& dot, const platform::PictureBox& Back);

}  // namespace play
