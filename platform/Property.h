#pragma once

#include <concepts>
#include <functional>
#include <string>
#include <utility>

namespace platform {

// Something whose properties a front end mirrors: it is told after every
// change, so that it can update only what changed.
class Observable {
 public:
  Observable() = default;
  Observable(const Observable&) = delete;
  Observable& operator=(const Observable&) = delete;

  void Observe(std::function<void()> onChange) { onChange_ = std::move(onChange); }
  void NotifyChanged() const {
    if (onChange_) onChange_();
  }

 private:
  std::function<void()> onChange_;
};

// A control property: reads like a value, and a write that changes it tells
// the owner's front end.
template <class T>
class Property {
 public:
  Property(Observable& owner, T initial) : owner_(owner), value_(std::move(initial)) {}

  const T& Get() const { return value_; }
  operator const T&() const { return value_; }  // NOLINT(google-explicit-constructor)

  Property& operator=(const T& value) {
    if (!(value == value_)) {
      value_ = value;
      owner_.NotifyChanged();
    }
    return *this;
  }
  Property& operator=(const Property& other) { return *this = other.value_; }

  // Texts compare with literals as they read: direction.Caption == "up".
  friend bool operator==(const Property& p, const char* text)
    requires std::same_as<T, std::string>
  {
    return p.value_ == text;
  }

 private:
  Observable& owner_;
  T value_;
};

}  // namespace platform
