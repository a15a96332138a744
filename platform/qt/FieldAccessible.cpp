#include "platform/qt/FieldAccessible.h"

#include <QString>

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
    state.invisible = !Box().Visible;
    return state;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QString::fromStdString(Box().AccessibleName) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const PictureBoxWidget* widget = field_->field_;
    const QRect local = widget->SpriteRect(index_);
    return QRect(widget->mapToGlobal(local.topLeft()), local.size());
  }

 private:
  const PictureBox& Box() const { return *field_->field_->Sprites()[index_]; }
  const FieldAccessible* field_;
  std::size_t index_;
};

FieldAccessible::FieldAccessible(PictureBoxWidget* field)
    : QAccessibleWidget(field, QAccessible::Graphic), field_(field), sprites_(field->Sprites().size(), 0) {}

FieldAccessible::~FieldAccessible() {
  for (QAccessible::Id id : sprites_)
    if (id != 0) QAccessible::deleteAccessibleInterface(id);
}

std::vector<std::size_t> FieldAccessible::Shown() const {
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < field_->Sprites().size(); ++i)
    if (!field_->SpriteRect(i).isEmpty()) shown.push_back(i);
  return shown;
}

int FieldAccessible::childCount() const { return static_cast<int>(Shown().size()); }

QAccessibleInterface* FieldAccessible::child(int index) const {
  const std::vector<std::size_t> shown = Shown();
  if (index < 0 || index >= static_cast<int>(shown.size())) return nullptr;
  QAccessible::Id& id = sprites_[shown[static_cast<std::size_t>(index)]];
  if (id == 0) id = QAccessible::registerAccessibleInterface(new Sprite(this, shown[static_cast<std::size_t>(index)]));
  return QAccessible::accessibleInterface(id);
}

int FieldAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const std::vector<std::size_t> shown = Shown();
  for (std::size_t i = 0; i < shown.size(); ++i)
    if (sprites_[shown[i]] != 0 && QAccessible::accessibleInterface(sprites_[shown[i]]) == child)
      return static_cast<int>(i);
  return -1;
}

QAccessibleInterface* FieldAccessible::Create(const QString&, QObject* object) {
  if (auto* field = dynamic_cast<PictureBoxWidget*>(object)) return new FieldAccessible(field);
  return nullptr;
}

}  // namespace platform::qt
