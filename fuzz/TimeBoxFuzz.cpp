// Any text in the time box, then "New Game" and the clock: nothing crashes,
// nothing hangs, and every game that starts counts down to its end.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/Form1.h"
#include "platform/Conversions.h"
#include "platform/headless/HeadlessFrontEnd.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckConversions(const std::string& text) {
  const std::optional<double> number = platform::TextToNumber(text);
  if (!number) return;
  Require(std::isfinite(*number));
  // Written with at most 15 significant digits, a number reads back as
  // itself to that precision; only next to the largest double can the
  // rounding carry past it.
  const std::optional<double> again = platform::TextToNumber(platform::NumberToText(*number));
  if (std::fabs(*number) < 1e308) Require(again && std::fabs(*again - *number) <= 1e-14 * std::fabs(*number));
}

void PlayOneGame(platform::HeadlessFrontEnd& front, Form1& form, const std::string& text) {
  Require(front.Type(form.time, text));
  front.Click(form.NewGame);
  if (!form.Timer2.Enabled) {  // refused: still idle
    Require(form.NewGame.Enabled && !form.Back.Visible);
    return;
  }
  Require(form.hidden.Caption == text && !form.time.Enabled && form.Back.Visible);

  // A few hundred seconds are enough to see each count come one lower, or
  // to zero, so that every game reaches its end.
  const std::size_t boxes = front.MessageBoxes().size();
  for (int second = 0; second < 300 && form.Timer2.Enabled; ++second) {
    const double before = *platform::TextToNumber(form.time.Text);
    front.Tick(form.Timer1, 3);
    front.Tick(form.Timer2);
    const std::optional<double> after = platform::TextToNumber(form.time.Text);
    // The count is kept as text, so a fraction may round in its last digit.
    const double expected = before - 1 < 0 ? 0 : before - 1;
    Require(after && *after < before && *after >= 0 && std::fabs(*after - expected) <= 1e-12 * before);
  }
  if (form.Timer2.Enabled) {  // a long game: run it out
    form.time.Text = "1";
    front.Tick(form.Timer2);
  }
  Require(front.MessageBoxes().size() == boxes + 1);
  Require(!form.Timer2.Enabled && form.time.Enabled && form.NewGame.Enabled && !form.Back.Visible);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One window for the whole run: every input starts from the idle window
  // that the previous one left.
  static platform::HeadlessFrontEnd front("vantor");
  static Form1 form;
  static const bool loaded = (front.Load(form), true);
  (void)loaded;
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckConversions(text);
  PlayOneGame(front, form, text);
  return 0;
}
