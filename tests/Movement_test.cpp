#include "tests/GameFixture.h"

using namespace platform;

namespace {

constexpr int kOwnPicture = -1;  // the player's start-up picture, none of dir's

class MovementTest : public GameTest {
 protected:
  // Puts the player back at a spot with its start-up picture and heading.
  void Reset(Twips left, Twips top) {
    form.player1.Move(left, top);
    form.player1.Picture = startPicture;
    form.direction.Caption = "down";
  }
  bool Faces(int index) const {
    return form.player1.Picture == (index == kOwnPicture ? startPicture : form.dir(index).Picture);
  }

  const Picture startPicture = form.player1.Picture;
};

TEST_F(MovementTest, EveryHeldKeyMovesAndTheLastPolledWinsTheFacing) {
  struct Case {
    std::initializer_list<int> keys;
    Twips left, top;  // from (1000, 1000)
    int facing;
    const char* word;
  };
  const Case cases[] = {
      {{}, 1000, 1000, kOwnPicture, "down"},
      {{vbKeyLeft}, 980, 1000, 2, "left"},
      {{vbKeyRight}, 1020, 1000, 3, "right"},
      {{vbKeyUp}, 1000, 980, 0, "up"},
      {{vbKeyDown}, 1000, 1020, 1, "down"},
      {{vbKeyLeft, vbKeyRight}, 1000, 1000, 3, "right"},
      {{vbKeyUp, vbKeyDown}, 1000, 1000, 1, "down"},
      {{vbKeyUp, vbKeyLeft}, 980, 980, 0, "up"},
      {{vbKeyRight, vbKeyUp}, 1020, 980, 0, "up"},
      {{vbKeyLeft, vbKeyDown}, 980, 1020, 1, "down"},
      {{vbKeyLeft, vbKeyRight, vbKeyUp, vbKeyDown}, 1000, 1000, 1, "down"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ends at " << c.left << ", " << c.top << " facing " << c.facing);
    Reset(1000, 1000);
    TickHolding(c.keys);
    EXPECT_EQ(At(form.player1), Spot(c.left, c.top));
    EXPECT_TRUE(Faces(c.facing));
    EXPECT_EQ(form.direction.Caption, c.word);
  }
}

TEST_F(MovementTest, BoundsHoldThePlayerFlushAgainstTheEdgeItCrossed) {
  const Twips right = 6975 - 135, bottom = 4935 - 135;
  struct Case {
    int key;
    Twips fromLeft, fromTop, left, top;
  };
  const Case cases[] = {{vbKeyLeft, 10, 500, 0, 500},
                        {vbKeyUp, 500, 10, 500, 0},
                        {vbKeyRight, right - 10, 500, right, 500},
                        {vbKeyDown, 500, bottom - 10, 500, bottom}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " from " << c.fromLeft << ", " << c.fromTop);
    Reset(c.fromLeft, c.fromTop);
    TickHolding({c.key});
    EXPECT_EQ(At(form.player1), Spot(c.left, c.top));
    EXPECT_FALSE(Faces(kOwnPicture));  // turned even where the edge stopped it
  }
}

}  // namespace
