#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/Picture.h"
#include "scene/Assets.h"
#include "tests/GameFixture.h"

namespace {

using Bytes = std::span<const std::uint8_t>;
std::uint32_t Le32(Bytes b, std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24; }

// The picture's rows as letters: W white, K black, R red, B blue, ? other.
std::vector<std::string> Rows(Bytes file) {
  const platform::Picture picture = platform::Picture::FromBitmapFile(file);
  std::vector<std::string> rows;
  for (int y = 0; y < picture.HeightPixels(); ++y) {
    std::string row;
    for (int x = 0; x < picture.WidthPixels(); ++x) switch (picture.Pixel(x, y)) {
        case platform::RGB(255, 255, 255): row += 'W'; break;
        case platform::RGB(0, 0, 0): row += 'K'; break;
        case platform::RGB(255, 0, 0): row += 'R'; break;
        case platform::RGB(0, 0, 255): row += 'B'; break;
        default: row += '?';
      }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(PicturesTest, EveryBitmapHasTheExactHeaders) {
  for (Bytes file : {scene::FacingUpBitmap(), scene::FacingDownBitmap(), scene::FacingLeftBitmap(),
                     scene::FacingRightBitmap(), scene::TargetDotBitmap(), scene::BackgroundBitmap()}) {
    const std::uint32_t width = Le32(file, 18), height = Le32(file, 22), stride = (width * 3 + 3) / 4 * 4;
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 6), 0u);
    EXPECT_EQ(Le32(file, 10), 54u);
    EXPECT_EQ(Le32(file, 14), 40u);
    EXPECT_EQ(Le32(file, 26), 1u | 24u << 16);  // one plane, 24 bits
    EXPECT_EQ(Le32(file, 30), 0u);              // no compression
    EXPECT_EQ(Le32(file, 34), stride * height);
    for (std::size_t at : {38u, 42u, 46u, 50u}) EXPECT_EQ(Le32(file, at), 0u);
    EXPECT_EQ(file.size(), width == 9 ? 306u : 464854u);
  }
}

TEST(PicturesTest, SpritesShowTheirFigures) {
  const std::vector<std::string> down = {"WWWKKWWWW", "WWKWWKWWW", "WKWWWWKWW", "WKWWWWKWW", "WWKWWKWWW",
                                         "WWWKKKWWW", "WWWWWKWWW", "WWWWWKWWW", "WWWWWWWWW"};
  EXPECT_EQ(Rows(scene::FacingDownBitmap()), down);
  const std::vector<std::string> dot = {"WWWWWWWWW", "WWWWRWWWW", "WWRBRBRWW", "WWRRRRRWW", "WRRRRRRWW",
                                        "WWRBRBRWW", "WWRRRRRWW", "WWWWWWWWW", "WWWWWWWWW"};
  EXPECT_EQ(Rows(scene::TargetDotBitmap()), dot);
  std::set<std::vector<std::string>> facings;
  for (Bytes file : {scene::FacingUpBitmap(), scene::FacingDownBitmap(), scene::FacingLeftBitmap(),
                     scene::FacingRightBitmap()}) {
    const auto rows = Rows(file);
    std::string all;
    for (const auto& row : rows) all += row;
    EXPECT_EQ(std::count(all.begin(), all.end(), 'K'), 15);
    EXPECT_EQ(std::count(all.begin(), all.end(), 'W'), 66);
    facings.insert(rows);
  }
  EXPECT_EQ(facings.size(), 4u);
  EXPECT_EQ(Rows(scene::FacingUpBitmap())[0], "WWWWWKWWW");       // the stalk points up
  EXPECT_EQ(Rows(scene::FacingLeftBitmap())[5], "KKKKWWKWW");     // and left
  EXPECT_EQ(Rows(scene::FacingRightBitmap())[5], "WKWWKKKKW");    // and right
}

TEST(PicturesTest, TheMeadowHasFourteenThinStrokesInTheirBoxes) {
  const platform::Picture meadow = platform::Picture::FromBitmapFile(scene::BackgroundBitmap());
  ASSERT_EQ(meadow.WidthPixels(), 466);
  ASSERT_EQ(meadow.HeightPixels(), 332);
  std::set<std::pair<int, int>> dark;
  int bright = 0;
  for (int y = 0; y < 332; ++y)
    for (int x = 0; x < 466; ++x) {
      const platform::Colour c = meadow.Pixel(x, y);
      if (c == platform::RGB(0, 128, 0)) dark.insert({x, y});
      else if (c == platform::RGB(0, 255, 0)) ++bright;
    }
  EXPECT_EQ(bright, 152760);
  EXPECT_EQ(dark.size(), 1952u);
  std::set<std::array<int, 4>> boxes;
  std::set<std::pair<int, int>> seen;
  for (const auto& start : dark) {
    if (seen.count(start)) continue;
    std::array<int, 4> box{start.first, start.first, start.second, start.second};
    std::vector<std::pair<int, int>> todo{start};
    seen.insert(start);
    while (!todo.empty()) {
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
      {14, 110, 239, 263}, {28, 68, 84, 214},   {44, 92, 297, 316},   {80, 115, 27, 161}, {104, 140, 290, 308},
      {123, 153, 29, 96},  {139, 175, 5, 313},  {168, 210, 124, 249}, {200, 212, 32, 104}, {201, 399, 284, 311},
      {239, 294, 21, 278}, {284, 302, 49, 107}, {348, 426, 16, 66},   {359, 382, 97, 298}};
  EXPECT_EQ(boxes, expected);
}

TEST(PicturesTest, TheIconHoldsThreeImages) {
  const Bytes ico = scene::IconFile();
  ASSERT_GE(ico.size(), 6u + 3 * 16);
  EXPECT_EQ(Le32(ico, 0), 0x10000u);  // reserved, then type 1: an icon
  EXPECT_EQ(ico[4], 3);
  const int sizes[] = {32, 16, 32}, colours[] = {16, 16, 2};
  for (int i = 0; i < 3; ++i) {
    const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
    EXPECT_EQ(ico[entry], sizes[i]);
    EXPECT_EQ(ico[entry + 1], sizes[i]);
    EXPECT_EQ(ico[entry + 2], colours[i]);
    EXPECT_LE(Le32(ico, entry + 12) + Le32(ico, entry + 8), ico.size());
  }
}

TEST(PicturesTest, TheGeneratorMakesTheCommittedFiles) {
  const auto dir = std::filesystem::temp_directory_path() / ("vantor-pictures-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  ASSERT_EQ(std::system((std::string(VANTOR_MAKE_PICTURES) + " " + dir.string()).c_str()), 0);
  for (const auto& entry : std::filesystem::directory_iterator(VANTOR_PICTURES_DIR)) {
    const auto read = [](const std::filesystem::path& p) {
      std::ifstream in(p, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read(dir / entry.path().filename()), read(entry.path())) << entry.path().filename();
  }
  std::filesystem::remove_all(dir);
}

using PictureObjectsTest = GameTest;

TEST_F(PictureObjectsTest, EveryBoxHasAPictureOfItsOwnUntilOneIsShared) {
  std::set<std::uint64_t> handles;
  for (auto* dot : Dots()) {
    handles.insert(dot->Picture.Get().Handle());
    EXPECT_EQ(dot->Picture.Get().Pixel(3, 2), platform::RGB(0, 0, 255));
  }
  EXPECT_EQ(handles.size(), 5u);
  EXPECT_NE(form.player1.Picture.Get(), form.dir(1).Picture.Get());
  EXPECT_EQ(form.player1.Picture.Get().Pixel(3, 0), form.dir(1).Picture.Get().Pixel(3, 0));
  form.player1.Picture = form.dir(2).Picture;
  EXPECT_EQ(form.player1.Picture.Get().Handle(), form.dir(2).Picture.Get().Handle());
}
