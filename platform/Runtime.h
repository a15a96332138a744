#pragma once

#include <cstdint>
#include <string>

#include "platform/Keyboard.h"
#include "platform/Random.h"

namespace platform {

// The services of the forms runtime that the game's code calls as plain
// functions. Exactly one front end is the runtime at a time: it installs
// itself on construction and withdraws on destruction.
class Runtime {
 public:
  explicit Runtime(std::string appTitle);
  virtual ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  // Shows a modal box with an OK button only and waits until it is closed.
  virtual void ShowMessage(const std::string& prompt) = 0;

  // The program's title, the caption of every message box.
  const std::string& AppTitle() const { return appTitle_; }
  platform::Keyboard& Keyboard() { return keyboard_; }
  KeyState& Keys() { return keyboard_.Table(); }
  RandomSource& Random() { return *random_; }
  // Replaces the random source, for tests that script the draws.
  void UseRandom(RandomSource& source) { random_ = &source; }

  static Runtime& Current();

 private:
  std::string appTitle_;
  platform::Keyboard keyboard_;
  FixedSeedRandom fixedSeed_;
  RandomSource* random_ = &fixedSeed_;
  Runtime* previous_;
};

float Rnd();
std::int16_t GetAsyncKeyState(int vk);
void MsgBox(const std::string& prompt);

}  // namespace platform
