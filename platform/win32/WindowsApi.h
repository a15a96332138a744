#pragma once

// <windows.h> without its RGB macro, which would stand in for platform::RGB.
// A COLORREF is laid out as a platform::Colour: red in the low byte.
#include <windows.h>
#undef RGB
