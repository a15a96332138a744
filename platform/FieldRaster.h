#pragma once

#include <cstdint>
#include <vector>

#include "platform/Controls.h"
#include "platform/Pixels.h"

namespace platform {

// A top-level picture box as the screen shows it, one pixel per pixel: its
// background colour, its picture unscaled at the top left, the lines drawn
// on it, and the picture boxes inside it, each cut off at the edge; later
// boxes in the window description over earlier ones. Every front end shows
// these pixels, scaled by a whole number, so the field looks the same
// everywhere. It holds what the last Update saw, so the screen changes only
// between events.
class FieldRaster {
 public:
  FieldRaster(PictureBox& field, std::vector<PictureBox*> sprites);

  // Takes in what changed since the last update: the box's own looks, the
  // strokes drawn on it, and where and how each box inside shows. Returns
  // the rectangles whose pixels changed.
  std::vector<PixelRect> Update();

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Rows top to bottom, each pixel 0xFFRRGGBB.
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  std::uint32_t At(int x, int y) const { return pixels_[Index(x, y)]; }

  PictureBox& Field() const { return field_; }
  // Whether a line drawn on it still shows: none outlives the box's being
  // hidden.
  bool Marked() const { return !marksBlank_; }
  const std::vector<PictureBox*>& Sprites() const { return sprites_; }
  // Where a box inside showed at the last update: empty while it is hidden
  // or wholly past the edge.
  PixelRect SpriteRect(std::size_t index) const { return spriteLooks_[index].clipped; }

 private:
  struct Look {
    PixelRect full;     // the whole box
    PixelRect clipped;  // the part that shows: empty while hidden
    Colour back = 0;
    Picture picture;
    bool operator==(const Look&) const = default;
  };
  Look LookOf(const PictureBox& box) const;
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
  void Compose(const PixelRect& area);
  static void Paint(std::vector<std::uint32_t>& pixels, int width, const PixelRect& area, const Look& look);

  PictureBox& field_;
  std::vector<PictureBox*> sprites_;
  int width_, height_;
  Look own_;
  bool ownSeen_ = false;
  std::vector<Look> spriteLooks_;
  std::vector<std::uint32_t> marks_;  // the drawn lines, 0 where none
  bool marksBlank_ = true;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace platform
