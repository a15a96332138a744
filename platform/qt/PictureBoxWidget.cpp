#include "platform/qt/PictureBoxWidget.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/Pixels.h"

namespace platform::qt {

PictureBoxWidget::PictureBoxWidget(PictureBox& box, std::vector<PictureBox*> children, QWidget* parent)
    : QWidget(parent), box_(box), children_(std::move(children)), sprites_(children_.size()) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  surface_ = QImage(ToPixels(box_.ScaleWidth), ToPixels(box_.ScaleHeight), QImage::Format_ARGB32_Premultiplied);
  surface_.fill(Qt::transparent);
  Sync();
}

PictureBoxWidget::Look PictureBoxWidget::LookOf(const PictureBox& box) const {
  Look look{PixelRect(box.Left, box.Top, box.Width, box.Height), {}, box.BackColor, box.Picture};
  if (box.Visible) look.clipped = look.full.intersected(QRect(QPoint(0, 0), surface_.size()));
  return look;
}

void PictureBoxWidget::Sync() {
  const std::vector<LineSegment> strokes = box_.TakeStrokes();
  if (!strokes.empty()) {
    QPainter painter(&surface_);
    for (const LineSegment& stroke : strokes) {
      const QRect pixels = StrokePixels(stroke).intersected(surface_.rect());
      if (pixels.isEmpty()) continue;
      painter.fillRect(pixels, ToQColor(stroke.colour));
      surfaceBlank_ = false;
      update(pixels);
    }
  }
  // Nothing drawn on a box outlives its being hidden.
  if (!box_.Visible && !surfaceBlank_) {
    surface_.fill(Qt::transparent);
    surfaceBlank_ = true;
  }

  const Look own = LookOf(box_);
  if (!(own == own_)) {
    own_ = own;
    setGeometry(own.full);
    setVisible(box_.Visible);
    update();
  }
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const Look now = LookOf(*children_[i]);
    if (now == sprites_[i]) continue;
    update(sprites_[i].clipped);
    update(now.clipped);
    sprites_[i] = now;
  }
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setClipRegion(event->region());
  painter.fillRect(rect(), ToQColor(own_.back));
  if (!own_.picture.Empty()) painter.drawImage(0, 0, ImageOf(own_.picture));
  if (!surfaceBlank_) painter.drawImage(0, 0, surface_);
  for (const Look& sprite : sprites_) {
    if (sprite.clipped.isEmpty() || !event->region().intersects(sprite.clipped)) continue;
    painter.save();
    painter.setClipRect(sprite.clipped, Qt::IntersectClip);
    painter.fillRect(sprite.full, ToQColor(sprite.back));
    if (!sprite.picture.Empty()) painter.drawImage(sprite.full.topLeft(), ImageOf(sprite.picture));
    painter.restore();
  }
}

}  // namespace platform::qt
