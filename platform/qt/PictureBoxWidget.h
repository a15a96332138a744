#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include "platform/FieldRaster.h"

namespace platform::qt {

inline QRect ToQRect(const PixelRect& r) { return {r.x, r.y, r.width, r.height}; }

// A top-level picture box of the form: shows its raster, which holds what
// the last pass saw, so the screen changes only between events.
class PictureBoxWidget final : public QWidget {
 public:
  PictureBoxWidget(const FieldRaster& raster, QWidget* parent);

  const FieldRaster& Raster() const { return raster_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const FieldRaster& raster_;
  QImage image_;  // the raster's own pixels, not a copy
};

}  // namespace platform::qt
