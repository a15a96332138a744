#include "scene/Assets.h"

// The files are assembled into the program as they are, so that it opens no
// file at run time. VANTOR_PICTURES is the folder that holds them.
#define VANTOR_STRINGIFY2(x) #x
#define VANTOR_STRINGIFY(x) VANTOR_STRINGIFY2(x)
#if defined(__wasm__)
// A WebAssembly object wants a section of its own for each piece of data,
// global symbols and their sizes.
#define VANTOR_SECTION(symbol) \
  ".section .rodata." #symbol ",\"\",@\n.globl " #symbol "_begin\n.globl " #symbol "_end\n"
#define VANTOR_END(symbol) \
  ".size " #symbol "_begin, " #symbol "_end - " #symbol "_begin\n.size " #symbol "_end, 0\n"
#elif defined(_WIN32)
// A PE object has no section stack: its read-only data goes to .rdata, and
// the code goes on in .text.
#define VANTOR_SECTION(symbol) ".section .rdata,\"dr\"\n.balign 16\n"
#define VANTOR_END(symbol) ".text\n"
#else
#define VANTOR_SECTION(symbol) ".section .rodata\n.balign 16\n"
#define VANTOR_END(symbol) ".previous\n"
#endif
#define VANTOR_EMBED(symbol, file)                                                                  \
  asm(VANTOR_SECTION(symbol) #symbol "_begin:\n.incbin \"" VANTOR_STRINGIFY(VANTOR_PICTURES) "/" file \
      "\"\n" #symbol "_end:\n" VANTOR_END(symbol));                                               \
  extern "C" const std::uint8_t symbol##_begin[];                                                    \
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
