#include "platform/qt/PictureBoxWidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/qt/Pixels.h"

namespace platform::qt {

PictureBoxWidget::PictureBoxWidget(PictureBox& box, std::vector<PictureBox*> children, QWidget* parent)
    : QWidget(parent), box_(box), children_(std::move(children)), painted_(children_.size()) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  surface_ = QImage(ToPixels(box_.ScaleWidth), ToPixels(box_.ScaleHeight), QImage::Format_ARGB32_Premultiplied);
  surface_.fill(Qt::transparent);
  box_.OnDraw([this](const LineSegment& line) { Draw(line); });
  Changed();
  for (std::size_t i = 0; i < children_.size(); ++i) painted_[i] = ChildRect(*children_[i]);
}

QRect PictureBoxWidget::ChildRect(const PictureBox& child) const {
  if (!child.Visible) return {};
  return PixelRect(child.Left, child.Top, child.Width, child.Height).intersected(rect());
}

void PictureBoxWidget::ChildChanged(std::size_t index) {
  const QRect now = ChildRect(*children_[index]);
  update(painted_[index]);
  update(now);
  painted_[index] = now;
}

void PictureBoxWidget::Changed() {
  setGeometry(PixelRect(box_.Left, box_.Top, box_.Width, box_.Height));
  // Nothing drawn on a box outlives its being hidden.
  if (!box_.Visible && !surfaceBlank_) {
    surface_.fill(Qt::transparent);
    surfaceBlank_ = true;
  }
  setVisible(box_.Visible);
  update();
}

void PictureBoxWidget::Draw(const LineSegment& line) {
  if (!box_.Shown()) return;  // never seen, so never kept
  // The pixels that the stroke passes through; the game draws only strokes
  // along one axis, a few twips long, so each is a pixel or two.
  const double px1 = std::min(line.x1, line.x2) / TwipsPerPixel, px2 = std::max(line.x1, line.x2) / TwipsPerPixel;
  const double py1 = std::min(line.y1, line.y2) / TwipsPerPixel, py2 = std::max(line.y1, line.y2) / TwipsPerPixel;
  const auto first = [](double v) { return static_cast<int>(std::clamp(std::floor(v), -1e8, 1e8)); };
  const auto last = [&](double lo, double hi) { return std::max(first(lo), first(std::ceil(hi) - 1)); };
  const QRect pixels = QRect(QPoint(first(px1), first(py1)), QPoint(last(px1, px2), last(py1, py2)))
                           .intersected(surface_.rect());
  if (pixels.isEmpty()) return;
  QPainter painter(&surface_);
  painter.fillRect(pixels, ToQColor(line.colour));
  surfaceBlank_ = false;
  update(pixels);
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setClipRegion(event->region());
  painter.fillRect(rect(), ToQColor(box_.BackColor));
  if (!box_.Picture.Get().Empty()) painter.drawImage(0, 0, ImageOf(box_.Picture));
  if (!surfaceBlank_) painter.drawImage(0, 0, surface_);
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const PictureBox& child = *children_[i];
    const QRect r = painted_[i];
    if (r.isEmpty() || !event->region().intersects(r)) continue;
    painter.save();
    painter.setClipRect(r, Qt::IntersectClip);
    const QRect full = PixelRect(child.Left, child.Top, child.Width, child.Height);
    painter.fillRect(full, ToQColor(child.BackColor));
    if (!child.Picture.Get().Empty()) painter.drawImage(full.topLeft(), ImageOf(child.Picture));
    painter.restore();
  }
}

}  // namespace platform::qt
