#pragma once

#include <QAccessibleWidget>
#include <vector>

#include "platform/qt/PictureBoxWidget.h"

namespace platform::qt {

// What a screen reader finds in the play field: the sprites that have a role
// (player, bullet, target dots), each a graphic named for it, where it
// stands. A sprite shows while it and the field are visible and it lies in
// the field; hidden, it stays in the tree as hidden widgets do.
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
  bool Showing(std::size_t sprite) const;
  PictureBoxWidget* field_;
  std::vector<std::size_t> named_;               // the sprites with a role
  mutable std::vector<QAccessible::Id> ids_;     // registered on first use
};

}  // namespace platform::qt
