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
    state.offscreen = !state.invisible && !field_->Showing(index_);  // past the field's edge
    return state;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QString::fromStdString(Box().AccessibleName) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const PictureBoxWidget* widget = field_->field_;
    const QRect local = ToQRect(widget->Raster().SpriteRect(index_));
    return QRect(widget->mapToGlobal(local.topLeft()), local.size());
  }

 private:
  const PictureBox& Box() const { return *field_->field_->Raster().Sprites()[index_]; }
  const FieldAccessible* field_;
  std::size_t index_;
};

FieldAccessible::FieldAccessible(PictureBoxWidget* field) : QAccessibleWidget(field, QAccessible::Graphic), field_(field) {
  const auto& sprites = field->Raster().Sprites();
  for (std::size_t i = 0; i < sprites.size(); ++i)
    if (!sprites[i]->AccessibleName.empty()) named_.push_back(i);
  ids_.assign(named_.size(), 0);
}

FieldAccessible::~FieldAccessible() {
  for (QAccessible::Id id : ids_)
    if (id != 0) QAccessible::deleteAccessibleInterface(id);
}

bool FieldAccessible::Showing(std::size_t sprite) const {
  return field_->Raster().Sprites()[sprite]->Shown() && !field_->Raster().SpriteRect(sprite).Empty();
}

int FieldAccessible::childCount() const { return static_cast<int>(named_.size()); }

QAccessibleInterface* FieldAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  QAccessible::Id& id = ids_[static_cast<std::size_t>(index)];
  if (id == 0) id = QAccessible::registerAccessibleInterface(new Sprite(this, named_[static_cast<std::size_t>(index)]));
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
  const auto at = std::find(access->named_.begin(), access->named_.end(), sprite);
  QAccessibleEvent event(access->child(static_cast<int>(at - access->named_.begin())),
                         showing ? QAccessible::ObjectShow : QAccessible::ObjectHide);
  QAccessible::updateAccessibility(&event);
}

QAccessibleInterface* FieldAccessible::Create(const QString&, QObject* object) {
  if (auto* field = dynamic_cast<PictureBoxWidget*>(object)) return new FieldAccessible(field);
  return nullptr;
}

}  // namespace platform::qt
