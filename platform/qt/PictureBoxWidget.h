#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "platform/Controls.h"

namespace platform::qt {

// A top-level picture box of the form: paints its background colour, its
// picture unscaled at the top left, the lines drawn on it, and the picture
// boxes inside it, each cut off at the edge. Later boxes in the window
// description are painted over earlier ones.
class PictureBoxWidget final : public QWidget {
 public:
  PictureBoxWidget(PictureBox& box, std::vector<PictureBox*> children, QWidget* parent);

  // Repaints where a child box was and where it is now.
  void ChildChanged(std::size_t index);
  void Changed();

  // The boxes inside, and where each shows now (empty while hidden).
  const std::vector<PictureBox*>& Sprites() const { return children_; }
  QRect SpriteRect(std::size_t index) const { return ChildRect(*children_[index]); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Draw(const LineSegment& line);
  QRect ChildRect(const PictureBox& child) const;

  PictureBox& box_;
  std::vector<PictureBox*> children_;
  std::vector<QRect> painted_;  // where each child was last painted
  QImage surface_;              // the drawn lines; transparent elsewhere
  bool surfaceBlank_ = true;
};

}  // namespace platform::qt
