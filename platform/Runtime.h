#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/Keyboard.h"
#include "platform/Random.h"
#include "platform/ScreenPass.h"

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

  // What MsgBox does: the screen shows the moment that the box opens at, the
  // keyboard opens the box's session, and the front end shows a modal box
  // with an OK button only and waits until it is closed.
  void Message(const std::string& prompt);
  // For tests: sees each box as it opens; the box is then answered at once.
  using BoxSeen = std::function<void(const std::string& caption, const std::string& prompt)>;
  void AnswerMessageBoxes(BoxSeen seen) { answer_ = std::move(seen); }

  // The program's title, the caption of every message box.
  const std::string& AppTitle() const { return appTitle_; }
  platform::Keyboard& Keyboard() { return keyboard_; }
  KeyState& Keys() { return keyboard_.Table(); }
  RandomSource& Random() { return *random_; }
  // Replaces the random source, for tests that script the draws.
  void UseRandom(RandomSource& source) { random_ = &source; }
  // The play field's pixels as the window should show them, for tests and
  // tools; once the form is open.
  const FieldRaster& Field() const { return *pass_->Fields().front(); }

  // The window system's input, as each front end reports it. A key comes
  // with the window system's time stamp in milliseconds; the answer says what the window system
  // does with it next. Tab, a focused button's Enter and Space, and a box's
  // answers are all decided here.
  KeyOutcome Key(int vk, bool down, bool repeat, bool shift, double atMilliseconds);
  void KeyboardLost() { keyboard_.Lost(); }
  // A click reaches a button, and typed text a text box, only while it is
  // shown and enabled; each says whether it did.
  bool Click(Control& control);
  bool Type(Control& control, const std::string& text);

  static Runtime& Current();

 protected:
  // Opens the form through the pass that brings the front end's screen up
  // to date: the pass's first run, the load event, the first tab stop takes
  // the keyboard, and last `showWindow`. The window comes up with the
  // keyboard already on its control, so a screen reader names that control
  // as it names the window; a window system that gives the keyboard only to
  // a shown window gives it as the window activates. Every front end opens
  // its form so, in this order.
  void Open(Form& form, ScreenPass& pass, const std::function<void()>& showWindow);
  // The box itself, over the form's window once that shows, and on its own
  // before. A test's answer, if set, runs while it is open and closes it, or
  // runs in its place where the box cannot be driven so.
  virtual void ShowMessage(const std::string& prompt, bool overForm) = 0;
  const BoxSeen& TestAnswer() const { return answer_; }
  // Whether a key is down now, wherever it was pressed, where the window
  // system can tell.
  virtual std::optional<bool> KeyDownNow(int /*vk*/) const { return std::nullopt; }

 private:
  std::string appTitle_;
  platform::Keyboard keyboard_;
  FixedSeedRandom fixedSeed_;
  RandomSource* random_ = &fixedSeed_;
  Runtime* previous_;
  ScreenPass* pass_ = nullptr;
  BoxSeen answer_;
};

float Rnd();
std::int16_t GetAsyncKeyState(int vk);
void MsgBox(const std::string& prompt);

}  // namespace platform
