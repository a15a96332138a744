#pragma once

#include <QAccessibleWidget>
#include <vector>

#include "platform/qt/PictureBoxWidget.h"

namespace platform::qt {

// What a screen reader finds in the play field: the sprites that the pass
// places for it (player, bullet, target dots), each a graphic named for it,
// where the pass last placed it. Hidden, a sprite stays in the tree as
// hidden widgets do; past the field's edge it is off screen.
class FieldAccessible final : public QAccessibleWidget {
 public:
  explicit FieldAccessible(PictureBoxWidget* field);
  ~FieldAccessible() override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

  // Tells a listening screen reader that a sprite came into view or left it.
  static void SpriteCameOrWent(PictureBoxWidget* field, std::size_t sprite, bool showing);

  // For the factory that QtFrontEnd installs.
  static QAccessibleInterface* Create(const QString& className, QObject* object);

 private:
  class Sprite;
  PictureBoxWidget* field_;
  mutable std::vector<QAccessible::Id> ids_;  // registered on first use
};

}  // namespace platform::qt
