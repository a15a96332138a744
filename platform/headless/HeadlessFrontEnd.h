#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Runtime.h"

namespace platform {

// A front end with no window, for tests: they hold and release keys, raise
// timer ticks one at a time, click and type as a player would, and read the
// message boxes, which it answers at once.
class HeadlessFrontEnd final : public Runtime {
 public:
  struct MessageBox {
    std::string caption;
    std::string prompt;
  };

  explicit HeadlessFrontEnd(std::string appTitle);

  // Takes the form over as the window would: raises its load event.
  void Load(Form& form);

  void HoldKey(int vk) { Keys().Press(vk); }
  void ReleaseKey(int vk) { Keys().Release(vk); }
  // Ticks of the timer, each raised only if the timer is enabled.
  void Tick(Timer& timer, int count = 1);
  // A click reaches only an enabled, visible button; typing only an enabled
  // text box. Each says whether it did.
  bool Click(CommandButton& button);
  bool Type(TextBox& box, const std::string& text);

  const std::vector<MessageBox>& MessageBoxes() const { return boxes_; }
  // Runs while a box is open, before it is answered.
  void WhileMessageBoxOpen(std::function<void(const MessageBox&)> look) { look_ = std::move(look); }

  // The marks that a window would show on a picture box now: drawn while it
  // was shown, cleared when it is hidden. Only the latest are kept.
  const std::deque<LineSegment>& MarksOn(const PictureBox& box) const;
  static constexpr std::size_t kMarksKept = 4096;

  void ShowMessage(const std::string& prompt) override;

 private:
  struct Surface {
    PictureBox* box;
    std::deque<LineSegment> marks;
  };
  // What a window does after each event: takes what was drawn.
  void Sync();

  std::vector<MessageBox> boxes_;
  std::function<void(const MessageBox&)> look_;
  std::vector<Surface> surfaces_;
};

}  // namespace platform
