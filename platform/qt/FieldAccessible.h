#pragma once

#include <QAccessibleWidget>
#include <vector>

#include "platform/qt/PictureBoxWidget.h"

namespace platform::qt {

// What a screen reader finds in the play field: the sprites that show in
// it, each a graphic named for its role, where it stands.
class FieldAccessible final : public QAccessibleWidget {
 public:
  explicit FieldAccessible(PictureBoxWidget* field);
  ~FieldAccessible() override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

  // For the factory that QtFrontEnd installs.
  static QAccessibleInterface* Create(const QString& className, QObject* object);

 private:
  class Sprite;
  std::vector<std::size_t> Shown() const;  // indexes of the visible sprites
  PictureBoxWidget* field_;
  mutable std::vector<QAccessible::Id> sprites_;  // registered on first use
};

}  // namespace platform::qt
