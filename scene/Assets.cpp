#include "scene/Assets.h"

// The files are assembled into the program as they are, so that it opens no
// file at run time. VANTOR_PICTURES is the folder that holds them.
#define VANTOR_STRINGIFY2(x) #x
#define VANTOR_STRINGIFY(x) VANTOR_STRINGIFY2(x)
// A PE object has no section stack: its read-only data goes to .rdata, and
// the code goes on in .text.
#if defined(_WIN32)
#define VANTOR_READ_ONLY ".section .rdata,\"dr\"\n"
#define VANTOR_BACK ".text\n"
#else
#define VANTOR_READ_ONLY ".section .rodata\n"
#define VANTOR_BACK ".previous\n"
#endif
#define VANTOR_EMBED(symbol, file)                                                            \
  asm(VANTOR_READ_ONLY ".balign 16\n" #symbol "_begin:\n.incbin \"" VANTOR_STRINGIFY(VANTOR_PICTURES) \
      "/" file "\"\n" #symbol "_end:\n" VANTOR_BACK);                                         \
  extern "C" const std::uint8_t symbol##_begin[];                                             \
  extern "C" const std::uint8_t symbol##_end[]

VANTOR_EMBED(vantor_background, "background.bmp");
VANTOR_EMBED(vantor_facing_up, "facing_up.bmp");
VANTOR_EMBED(vantor_facing_down, "facing_down.bmp");
VANTOR_EMBED(vantor_facing_left, "facing_left.bmp");
VANTOR_EMBED(vantor_facing_right, "facing_right.bmp");
VANTOR_EMBED(vantor_target_dot, "target_dot.bmp");
VANTOR_EMBED(vantor_icon, "vantor.ico");

namespace scene {
namespace {
std::span<const std::uint8_t> Span(const std::uint8_t* begin, const std::uint8_t* end) {
  return {begin, static_cast<std::size_t>(end - begin)};
}
}  // namespace

std::span<const std::uint8_t> BackgroundBitmap() { return Span(vantor_background_begin, vantor_background_end); }
std::span<const std::uint8_t> FacingUpBitmap() { return Span(vantor_facing_up_begin, vantor_facing_up_end); }
std::span<const std::uint8_t> FacingDownBitmap() { return Span(vantor_facing_down_begin, vantor_facing_down_end); }
std::span<const std::uint8_t> FacingLeftBitmap() { return Span(vantor_facing_left_begin, vantor_facing_left_end); }
std::span<const std::uint8_t> FacingRightBitmap() { return Span(vantor_facing_right_begin, vantor_facing_right_end); }
std::span<const std::uint8_t> TargetDotBitmap() { return Span(vantor_target_dot_begin, vantor_target_dot_end); }
std::span<const std::uint8_t> IconFile() { return Span(vantor_icon_begin, vantor_icon_end); }

}  // namespace scene
