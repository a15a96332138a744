#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "platform/Controls.h"

namespace platform::qt {

// A top-level picture box of the form: paints its background colour, its
// picture unscaled at the top left, the lines drawn on it, and the picture
// boxes inside it, each cut off at the edge. Later boxes in the window
// description are painted over earlier ones. It paints what the last Sync
// saw, so the screen changes only between events.
class PictureBoxWidget final : public QWidget {
 public:
  PictureBoxWidget(PictureBox& box, std::vector<PictureBox*> children, QWidget* parent);

  // Takes in what changed since the last sync: the box's own place and
  // looks, the strokes drawn on it, and where and how each box inside
  // shows. Asks for a repaint of only those pixels.
  void Sync();

  // The boxes inside, and where each showed at the last sync (empty while
  // hidden).
  const std::vector<PictureBox*>& Sprites() const { return children_; }
  QRect SpriteRect(std::size_t index) const { return sprites_[index].clipped; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Look {
    QRect full;     // the whole box, in this widget's pixels
    QRect clipped;  // the part that shows: empty while hidden
    Colour back = 0;
    Picture picture;
    bool operator==(const Look&) const = default;
  };
  Look LookOf(const PictureBox& box) const;

  PictureBox& box_;
  std::vector<PictureBox*> children_;
  Look own_;
  std::vector<Look> sprites_;
  QImage surface_;  // the drawn lines; transparent elsewhere
  bool surfaceBlank_ = true;
};

}  // namespace platform::qt
