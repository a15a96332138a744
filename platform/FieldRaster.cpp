#include "platform/FieldRaster.h"

#include <algorithm>

#include "platform/Image.h"

namespace platform {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t PixelOf(Colour colour) {
  const Colour rgb = ResolveColour(colour);
  return kOpaque | static_cast<std::uint32_t>(RedOf(rgb)) << 16 | static_cast<std::uint32_t>(GreenOf(rgb)) << 8 |
         static_cast<std::uint32_t>(BlueOf(rgb));
}

}  // namespace

FieldRaster::FieldRaster(PictureBox& field, std::vector<PictureBox*> sprites)
    : field_(field),
      sprites_(std::move(sprites)),
      width_(std::max(0, ToPixels(field.ScaleWidth))),
      height_(std::max(0, ToPixels(field.ScaleHeight))),
      spriteLooks_(sprites_.size()),
      marks_(static_cast<std::size_t>(width_) * height_),
      pixels_(marks_.size()) {}

FieldRaster::Look FieldRaster::LookOf(const PictureBox& box) const {
  Look look{PixelRectOf(box), {}, box.BackColor, box.Picture};
  if (box.Visible) look.clipped = look.full.Intersected({0, 0, width_, height_});
  return look;
}

std::vector<PixelRect> FieldRaster::Update() {
  std::vector<PixelRect> changed;
  const PixelRect whole{0, 0, width_, height_};
  for (const LineSegment& stroke : field_.TakeStrokes()) {
    const PixelRect area = StrokePixels(stroke).Intersected(whole);
    if (area.Empty()) continue;
    const std::uint32_t colour = PixelOf(stroke.colour);
    for (int y = area.y; y < area.Bottom(); ++y) std::fill_n(&marks_[Index(area.x, y)], area.width, colour);
    marksBlank_ = false;
    changed.push_back(area);
  }
  // Nothing drawn on a box outlives its being hidden.
  if (!field_.Visible && !marksBlank_) {
    std::fill(marks_.begin(), marks_.end(), 0);
    marksBlank_ = true;
    changed.push_back(whole);
  }
  // Showing or hiding the box changes no pixel of it, but what it shows
  // comes or goes: it counts as a change of the whole.
  const Look own{{}, field_.Visible ? whole : PixelRect{}, field_.BackColor, field_.Picture};
  if (!ownSeen_ || !(own == own_)) {
    own_ = own;
    ownSeen_ = true;
    changed.push_back(whole);
  }
  for (std::size_t i = 0; i < sprites_.size(); ++i) {
    const Look now = LookOf(*sprites_[i]);
    if (now == spriteLooks_[i]) continue;
    if (!spriteLooks_[i].clipped.Empty()) changed.push_back(spriteLooks_[i].clipped);
    if (!now.clipped.Empty()) changed.push_back(now.clipped);
    spriteLooks_[i] = now;
  }
  for (const PixelRect& area : changed) Compose(area);
  return changed;
}

void FieldRaster::Paint(std::vector<std::uint32_t>& pixels, int width, const PixelRect& area, const Look& look) {
  const std::uint32_t back = PixelOf(look.back);
  for (int y = area.y; y < area.Bottom(); ++y)
    std::fill_n(&pixels[static_cast<std::size_t>(y) * width + area.x], area.width, back);
  if (look.picture.Empty()) return;
  const Image& image = ImageOf(look.picture);
  const PixelRect shown = area.Intersected({look.full.x, look.full.y, image.width, image.height});
  for (int y = shown.y; y < shown.Bottom(); ++y)
    for (int x = shown.x; x < shown.Right(); ++x)
      pixels[static_cast<std::size_t>(y) * width + x] = kOpaque | image.At(x - look.full.x, y - look.full.y);
}

void FieldRaster::Compose(const PixelRect& area) {
  Paint(pixels_, width_, area, own_);
  if (!marksBlank_)
    for (int y = area.y; y < area.Bottom(); ++y)
      for (int x = area.x; x < area.Right(); ++x)
        if (const std::uint32_t mark = marks_[Index(x, y)]; mark != 0) pixels_[Index(x, y)] = mark;
  for (const Look& sprite : spriteLooks_) {
    const PixelRect part = area.Intersected(sprite.clipped);
    if (!part.Empty()) Paint(pixels_, width_, part, sprite);
  }
}

}  // namespace platform
