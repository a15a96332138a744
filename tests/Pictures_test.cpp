#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>

#include "platform/Image.h"
#include "scene/Assets.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

// The picture's rows as letters, top down, a space between rows: W white,
// K black, R red, B blue, ? other.
std::string Rows(Bytes file) {
  const platform::Image picture = platform::DecodeBitmap(file);
  const std::map<std::uint32_t, char> letters = {{0xFFFFFF, 'W'}, {0x000000, 'K'}, {0xFF0000, 'R'}, {0x0000FF, 'B'}};
  std::string rows;
  for (int y = 0; y < picture.height; ++y) {
    if (y > 0) rows += ' ';
    for (int x = 0; x < picture.width; ++x) {
      const auto letter = letters.find(picture.At(x, y));
      rows += letter == letters.end() ? '?' : letter->second;
    }
  }
  return rows;
}

}  // namespace

TEST(PicturesTest, SpritesShowTheirFigures) {
  const std::pair<Bytes, std::string> sprites[] = {
      {scene::FacingUpBitmap(),
       "WWWWWKWWW WWWWWKWWW WWWKKKWWW WWKWWKWWW WKWWWWKWW WKWWWWKWW WWKWWKWWW WWWKKWWWW WWWWWWWWW"},
      {scene::FacingDownBitmap(),
       "WWWKKWWWW WWKWWKWWW WKWWWWKWW WKWWWWKWW WWKWWKWWW WWWKKKWWW WWWWWKWWW WWWWWKWWW WWWWWWWWW"},
      {scene::FacingLeftBitmap(),
       "WWWWWWWWW WWWWKKWWW WWWKWWKWW WWKWWWWKW WWKWWWWKW KKKKWWKWW WWWWKKWWW WWWWWWWWW WWWWWWWWW"},
      {scene::FacingRightBitmap(),
       "WWWWWWWWW WWKKWWWWW WKWWKWWWW KWWWWKWWW KWWWWKWWW WKWWKKKKW WWKKWWWWW WWWWWWWWW WWWWWWWWW"},
      {scene::TargetDotBitmap(),
       "WWWWWWWWW WWWWRWWWW WWRBRBRWW WWRRRRRWW WRRRRRRWW WWRBRBRWW WWRRRRRWW WWWWWWWWW WWWWWWWWW"},
  };
  for (const auto& [file, rows] : sprites) EXPECT_EQ(Rows(file), rows);
}

// The meadow's strokes are the generator's to check; what it must show is a
// field of bright green, 466 x 332, with dark green strokes on it.
TEST(PicturesTest, TheMeadowIsBrightGreenWithDarkGreenStrokes) {
  const platform::Image meadow = platform::DecodeBitmap(scene::BackgroundBitmap());
  ASSERT_EQ(std::pair(meadow.width, meadow.height), std::pair(466, 332));
  std::map<std::uint32_t, int> colours;
  for (int y = 0; y < meadow.height; ++y)
    for (int x = 0; x < meadow.width; ++x) ++colours[meadow.At(x, y)];
  ASSERT_EQ(colours.size(), 2u);
  EXPECT_GT(colours[0x008000], 0);
  EXPECT_GT(colours[0x00FF00], 50 * colours[0x008000]);  // thin strokes
}

TEST(PicturesTest, TheGeneratorMakesTheCommittedFiles) {
  const auto dir = std::filesystem::temp_directory_path() / ("vantor-pictures-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  ASSERT_EQ(std::system((std::string(VANTOR_MAKE_PICTURES) + " " + dir.string()).c_str()), 0);
  for (const auto& entry : std::filesystem::directory_iterator(VANTOR_PICTURES_DIR)) {
    const auto read = [](const std::filesystem::path& p) {
      return std::string(std::istreambuf_iterator<char>(std::ifstream(p, std::ios::binary).rdbuf()), {});
    };
    EXPECT_EQ(read(dir / entry.path().filename()), read(entry.path())) << entry.path().filename();
  }
  std::filesystem::remove_all(dir);
}
