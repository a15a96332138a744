#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/Image.h"
#include "scene/Assets.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t kBrightGreen = 0x00FF00, kDarkGreen = 0x008000;

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

// Every pixel is bright or dark green; the dark ones make fourteen strokes,
// each found by its bounding box, none of them ever two pixels thick.
TEST(PicturesTest, TheMeadowHasFourteenThinStrokesInTheirBoxes) {
  const platform::Image meadow = platform::DecodeBitmap(scene::BackgroundBitmap());
  ASSERT_EQ(std::pair(meadow.width, meadow.height), std::pair(466, 332));
  std::set<std::pair<int, int>> dark;
  int bright = 0;
  for (int y = 0; y < 332; ++y)
    for (int x = 0; x < 466; ++x) {
      const std::uint32_t c = meadow.At(x, y);
      if (c == kDarkGreen) dark.insert({x, y});
      bright += c == kBrightGreen;
    }
  EXPECT_EQ(bright, 152760);
  EXPECT_EQ(dark.size(), 1952u);
  std::set<std::array<int, 4>> boxes;
  std::set<std::pair<int, int>> seen;
  for (const auto& start : dark) {
    if (!seen.insert(start).second) continue;
    std::array<int, 4> box{start.first, start.first, start.second, start.second};
    for (std::vector todo{start}; !todo.empty();) {
      const auto [x, y] = todo.back();
      todo.pop_back();
      box = {std::min(box[0], x), std::max(box[1], x), std::min(box[2], y), std::max(box[3], y)};
      EXPECT_FALSE(dark.count({x + 1, y}) && dark.count({x, y + 1}) && dark.count({x + 1, y + 1})) << x << "," << y;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          if (dark.count({x + dx, y + dy}) && seen.insert({x + dx, y + dy}).second) todo.push_back({x + dx, y + dy});
    }
    boxes.insert(box);
  }
  const std::set<std::array<int, 4>> expected = {
      {14, 110, 239, 263}, {28, 68, 84, 214},   {44, 92, 297, 316},   {80, 115, 27, 161},   {104, 140, 290, 308},
      {123, 153, 29, 96},  {139, 175, 5, 313},  {168, 210, 124, 249}, {200, 212, 32, 104},  {201, 399, 284, 311},
      {239, 294, 21, 278}, {284, 302, 49, 107}, {348, 426, 16, 66},   {359, 382, 97, 298}};
  EXPECT_EQ(boxes, expected);
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
