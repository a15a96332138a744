#include "platform/qt/PictureBoxWidget.h"

#include <QPaintEvent>
#include <QPainter>

namespace platform::qt {

PictureBoxWidget::PictureBoxWidget(const FieldRaster& raster, const std::vector<ScreenPass::PlacedSprite>& sprites,
                                   QWidget* parent)
    : QWidget(parent),
      raster_(raster),
      sprites_(sprites),
      image_(reinterpret_cast<const uchar*>(raster.Pixels()), raster.Width(), raster.Height(),
             static_cast<qsizetype>(raster.Width()) * 4, QImage::Format_RGB32) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setClipRegion(event->region());
  painter.drawImage(0, 0, image_);
}

}  // namespace platform::qt
