#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include "platform/FieldRaster.h"
#include "platform/ScreenPass.h"

namespace platform::qt {

inline QRect ToQRect(const PixelRect& r) { return {r.x, r.y, r.width, r.height}; }

// A top-level picture box of the form: shows its raster, which holds what
// the last pass saw, so the screen changes only between events; and finds
// its named sprites where the pass placed them.
class PictureBoxWidget final : public QWidget {
 public:
  PictureBoxWidget(const FieldRaster& raster, const std::vector<ScreenPass::PlacedSprite>& sprites, QWidget* parent);

  const FieldRaster& Raster() const { return raster_; }
  const std::vector<ScreenPass::PlacedSprite>& Sprites() const { return sprites_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const FieldRaster& raster_;
  const std::vector<ScreenPass::PlacedSprite>& sprites_;
  QImage image_;  // the raster's own pixels, not a copy
};

}  // namespace platform::qt
