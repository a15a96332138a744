#include "platform/qt/FieldAccessible.h"

#include <QString>
#include <algorithm>


namespace platform::qt {

class FieldAccessible::Sprite final : public QAccessibleInterface {
 public:
  Sprite(const FieldAccessible* field, std::size_t index) : field_(field), index_(index) {}

  bool isValid() const override { return true; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return field_->window(); }
  QAccessibleInterface* parent() const override { return const_cast<FieldAccessible*>(field_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::Graphic; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.invisible = !Box().Shown();
    state.offscreen = !state.invisible && Placed().place.Empty();  // past the field's edge
    return state;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QString::fromStdString(Box().AccessibleName) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const QRect local = ToQRect(Placed().place);
    return QRect(field_->field_->mapToGlobal(local.topLeft()), local.size());
  }

 private:
  const ScreenPass::PlacedSprite& Placed() const { return field_->field_->Sprites()[index_]; }
  const PictureBox& Box() const { return *field_->field_->Raster().Sprites()[Placed().sprite]; }
  const FieldAccessible* field_;
  std::size_t index_;
};

FieldAccessible::FieldAccessible(PictureBoxWidget* field)
    : QAccessibleWidget(field, QAccessible::Graphic), field_(field), ids_(field->Sprites().size(), 0) {}

FieldAccessible::~FieldAccessible() {
  for (QAccessible::Id id : ids_)
    if (id != 0) QAccessible::deleteAccessibleInterface(id);
}

int FieldAccessible::childCount() const { return static_cast<int>(ids_.size()); }

QAccessibleInterface* FieldAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  QAccessible::Id& id = ids_[static_cast<std::size_t>(index)];
  if (id == 0) id = QAccessible::registerAccessibleInterface(new Sprite(this, static_cast<std::size_t>(index)));
  return QAccessible::accessibleInterface(id);
}

int FieldAccessible::indexOfChild(const QAccessibleInterface* child) const {
  for (std::size_t i = 0; i < ids_.size(); ++i)
    if (ids_[i] != 0 && QAccessible::accessibleInterface(ids_[i]) == child) return static_cast<int>(i);
  return -1;
}

void FieldAccessible::SpriteCameOrWent(PictureBoxWidget* field, std::size_t sprite, bool showing) {
  if (!QAccessible::isActive()) return;  // nobody listens: spare the frame tick
  auto* access = dynamic_cast<FieldAccessible*>(QAccessible::queryAccessibleInterface(field));
  if (access == nullptr) return;
  const auto& placed = field->Sprites();
  const auto at = std::find_if(placed.begin(), placed.end(), [sprite](const auto& p) { return p.sprite == sprite; });
  QAccessibleEvent event(access->child(static_cast<int>(at - placed.begin())),
                         showing ? QAccessible::ObjectShow : QAccessible::ObjectHide);
  QAccessible::updateAccessibility(&event);
}

QAccessibleInterface* FieldAccessible::Create(const QString&, QObject* object) {
  if (auto* field = dynamic_cast<PictureBoxWidget*>(object)) return new FieldAccessible(field);
  return nullptr;
}

}  // namespace platform::qt
