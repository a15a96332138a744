#include <string>
#include <vector>

#include "platform/ScreenPass.h"
#include "tests/GameFixture.h"

namespace {

// Writes down what the pass asks of the screen, a line a call.
struct RecordingScreen final : platform::Screen {
  std::vector<std::string> calls;

  void SetTitle(const std::string& caption) override { calls.push_back("title " + caption); }
  void Show(const platform::Control& c, const platform::ControlLook& look) override {
    if (look.text) calls.push_back(c.Name + " text " + *look.text);
    if (look.colours) calls.push_back(c.Name + " colours");
    if (look.place) calls.push_back(c.Name + " at " + std::to_string(look.place->x) + "," + std::to_string(look.place->y));
    if (look.visible) calls.push_back(c.Name + (*look.visible ? " shown" : " hidden"));
    if (look.enabled) calls.push_back(c.Name + (*look.enabled ? " enabled" : " disabled"));
  }
  void SetFocus(const platform::Control* c, bool select) override {
    calls.push_back("focus " + (c ? c->Name : std::string("none")) + (select ? " selected" : ""));
  }
  void Repaint(const platform::FieldRaster& field, const std::vector<platform::PixelRect>&) override {
    calls.push_back(field.Field().Name + " repainted");
  }
  void PlaceSprite(const platform::FieldRaster& field, std::size_t i, const platform::PixelRect&, bool cameOrWent) override {
    if (cameOrWent) calls.push_back(field.Sprites()[i]->Name + " came or went");
  }
  void WakeTimerIn(std::size_t, std::optional<std::chrono::milliseconds>) override {}
  void Announce(const std::string& message) override { said.push_back(message); }
  std::vector<std::string> said;
};

}  // namespace

// After the first pass, each shows only what its event changed, property
// by property: a pass that set the time box's text again at every tick
// would move its caret under the player's typing.
TEST_F(GameTest, TheScreenPassShowsWhatChangedAndOnlyThat) {
  RecordingScreen screen;
  platform::ScreenPass pass(form, screen);
  pass.Run();
  pass.Dispatch([&] {
    front.Click(form.NewGame);
    for (auto* dot : Dots()) dot->Move(99999, 0);  // out of the bullet's way
  });
  screen.calls.clear();
  front.HoldKey(platform::vbKeyReturn);
  pass.Dispatch([&] { Tick(); });
  front.ReleaseKey(platform::vbKeyReturn);
  EXPECT_EQ(screen.calls, (std::vector<std::string>{"title Viveve", "sshoot hidden", "Back repainted", "bullet came or went"}));
}

// A screen reader is told what the game changes, as a sighted player sees it
// change: the start of a game, the score, the clock's last five seconds. What
// the player types is not news, nor is the screen's first showing.
TEST_F(GameTest, TheScreenPassTellsTheGamesNewsOnly) {
  RecordingScreen screen;
  platform::ScreenPass pass(form, screen);
  pass.Run();
  pass.FormShown();
  pass.FocusMovedTo(&form.time);
  pass.Dispatch([&] { front.Type(form.time, "6"); });
  pass.Dispatch([&] { front.Click(form.NewGame); });
  pass.Dispatch([&] { form.Score.Caption = "1"; });
  for (const char* left : {"6", "5", "1", "0"}) pass.Dispatch([&] { form.time.Text = left; });
  EXPECT_EQ(screen.said, (std::vector<std::string>{"Game started", "Score 1", "5 to go", "1 to go"}));
}
