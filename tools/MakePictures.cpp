// Makes the game's pictures: make_pictures OUTPUT_DIR writes the six bitmaps
// and the program icon. Deterministic: the same files every time, so the
// committed copies can be checked against a fresh run.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
struct Rgb {
  std::uint8_t r, g, b;
};

void Put16(Bytes& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back(v >> 8 & 0xFF);
}
void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A 24-bit bottom-up Windows bitmap file with no colour table.
Bytes Bitmap(int width, int height, const std::vector<Rgb>& pixels) {
  const std::uint32_t stride = (width * 3 + 3) / 4 * 4, image = stride * height;
  Bytes out{'B', 'M'};
  Put32(out, 54 + image);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 24);
  for (std::uint32_t v : {0u, image, 0u, 0u, 0u, 0u}) Put32(out, v);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb& p = pixels[y * width + x];
      out.insert(out.end(), {p.b, p.g, p.r});
    }
    out.resize(out.size() + (stride - width * 3), 0);
  }
  return out;
}

Bytes Grid(const std::array<const char*, 9>& rows) {
  std::vector<Rgb> pixels;
  for (const char* row : rows)
    for (int x = 0; x < 9; ++x) switch (row[x]) {
        case 'K': pixels.push_back({0, 0, 0}); break;
        case 'R': pixels.push_back({255, 0, 0}); break;
        case 'B': pixels.push_back({0, 0, 255}); break;
        default: pixels.push_back({255, 255, 255}); break;
      }
  return Bitmap(9, 9, pixels);
}

// ---- The meadow: fourteen freehand strokes, one pixel wide. ----

constexpr int kWidth = 466, kHeight = 332, kDarkPixels = 1952;
struct Point {
  double x, y;
};
struct Stroke {
  int x0, x1, y0, y1;          // the box the stroke spans exactly
  std::vector<Point> through;  // points it passes, in pixels; the box's extremes among them
};

const std::vector<Stroke>& Strokes() {
  static const std::vector<Stroke> strokes = {
      {14, 110, 239, 263, {{14, 251}, {28, 239}, {48, 262}, {67, 241}, {88, 263}, {110, 249}}},
      {28, 68, 84, 214, {{64, 84}, {42, 115}, {28, 160}, {40, 192}, {68, 214}}},
      {44, 92, 297, 316, {{44, 316}, {56, 301}, {68, 297}, {80, 301}, {92, 313}}},
      {80, 115, 27, 161, {{87, 27}, {108, 60}, {115, 95}, {97, 130}, {80, 161}}},
      {104, 140, 290, 308, {{104, 304}, {118, 290}, {132, 296}, {140, 308}}},
      {123, 153, 29, 96, {{153, 29}, {135, 48}, {123, 74}, {132, 96}}},
      {139, 175, 5, 313, {{175, 5}, {165, 30}, {160, 62}, {158, 96}, {139, 116}, {149, 142}, {160, 200},
                          {151, 248}, {142, 272}, {147, 296}, {152, 313}}},
      {168, 210, 124, 249, {{190, 124}, {210, 150}, {196, 188}, {168, 214}, {184, 249}}},
      {200, 212, 32, 104, {{206, 32}, {212, 50}, {200, 68}, {212, 86}, {204, 104}}},
      {201, 399, 284, 311, {{201, 284}, {250, 291}, {300, 296}, {350, 305}, {399, 311}}},
      {239, 294, 21, 278, {{270, 21}, {251, 60}, {239, 112}, {262, 172}, {294, 230}, {281, 278}}},
      {284, 302, 49, 107, {{290, 49}, {302, 70}, {296, 90}, {284, 107}}},
      {348, 426, 16, 66, {{348, 62}, {368, 32}, {398, 16}, {426, 30}, {420, 54}, {398, 66}}},
      {359, 382, 97, 298, {{370, 97}, {382, 150}, {366, 210}, {359, 252}, {375, 298}}},
  };
  return strokes;
}

// A hand's tremor: a small sway across the stroke between the points it
// passes, zero at each of them.
struct Sway {
  double amplitude;
  int waves;
};

Point CatmullRom(const Point& a, const Point& b, const Point& c, const Point& d, double t) {
  const auto f = [t](double p0, double p1, double p2, double p3) {
    return 0.5 * (2 * p1 + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                  (-p0 + 3 * p1 - 3 * p2 + p3) * t * t * t);
  };
  return {f(a.x, b.x, c.x, d.x), f(a.y, b.y, c.y, d.y)};
}

using Pixel = std::pair<int, int>;

// The stroke as an 8-connected path of pixels with no pixel to spare.
std::vector<Pixel> Rasterise(const Stroke& s, Sway sway) {
  std::vector<Pixel> path;
  const auto add = [&](int x, int y) {
    x = std::clamp(x, s.x0, s.x1);
    y = std::clamp(y, s.y0, s.y1);
    if (!path.empty()) {  // join to the last pixel by a line
      auto [px, py] = path.back();
      while (px != x || py != y) {
        px += (x > px) - (x < px) * 1;
        if (std::abs(y - py) > std::abs(x - px) || px == x) py += (y > py) - (y < py);
        if (path.back() != Pixel{px, py}) path.push_back({px, py});
      }
      return;
    }
    path.push_back({x, y});
  };
  const auto& p = s.through;
  for (std::size_t i = 0; i + 1 < p.size(); ++i) {
    const Point a = p[i == 0 ? 0 : i - 1], b = p[i], c = p[i + 1], d = p[std::min(i + 2, p.size() - 1)];
    const int samples = static_cast<int>(std::hypot(c.x - b.x, c.y - b.y) * 3) + 2;
    for (int k = 0; k <= samples; ++k) {
      const double t = static_cast<double>(k) / samples;
      Point q = CatmullRom(a, b, c, d, t);
      const Point ahead = CatmullRom(a, b, c, d, std::min(1.0, t + 0.01)), behind = CatmullRom(a, b, c, d, std::max(0.0, t - 0.01));
      const double dx = ahead.x - behind.x, dy = ahead.y - behind.y, len = std::hypot(dx, dy);
      if (len > 0) {
        const double off = sway.amplitude * std::sin(3.14159265358979 * sway.waves * t);
        q.x += -dy / len * off;
        q.y += dx / len * off;
      }
      add(static_cast<int>(std::lround(q.x)), static_cast<int>(std::lround(q.y)));
    }
  }
  // Drop pixels whose neighbours on the path touch each other already, and
  // pixels the path comes back to; the points it passes stay.
  std::set<Pixel> anchors;
  for (const Point& q : p) anchors.insert({static_cast<int>(q.x), static_cast<int>(q.y)});
  std::vector<Pixel> thin;
  std::set<Pixel> seen;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (seen.count(path[i])) continue;
    if (!thin.empty() && i + 1 < path.size() && !anchors.count(path[i]) &&
        std::abs(thin.back().first - path[i + 1].first) <= 1 && std::abs(thin.back().second - path[i + 1].second) <= 1)
      continue;
    thin.push_back(path[i]);
    seen.insert(path[i]);
  }
  return thin;
}

// The meadow's dark pixels, or nothing when the sways break a rule: strokes
// touching each other, a 2 x 2 block of dark, a stroke not spanning its box.
std::vector<std::vector<Pixel>> Draw(const std::vector<Sway>& sways) {
  std::vector<std::vector<Pixel>> strokes;
  std::vector<int> owner(kWidth * kHeight, -1);
  for (std::size_t i = 0; i < Strokes().size(); ++i) {
    const Stroke& s = Strokes()[i];
    std::vector<Pixel> path = Rasterise(s, sways[i]);
    int minX = kWidth, maxX = -1, minY = kHeight, maxY = -1;
    for (auto [x, y] : path) {
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int o = owner[(y + dy) * kWidth + x + dx];
          if (o >= 0 && o != static_cast<int>(i)) return {};
        }
      owner[y * kWidth + x] = static_cast<int>(i);
    }
    if (minX != s.x0 || maxX != s.x1 || minY != s.y0 || maxY != s.y1) return {};
    strokes.push_back(std::move(path));
  }
  for (int y = 0; y + 1 < kHeight; ++y)
    for (int x = 0; x + 1 < kWidth; ++x)
      if (owner[y * kWidth + x] >= 0 && owner[y * kWidth + x + 1] >= 0 && owner[(y + 1) * kWidth + x] >= 0 &&
          owner[(y + 1) * kWidth + x + 1] >= 0)
        return {};
  return strokes;
}

std::size_t Count(const std::vector<std::vector<Pixel>>& strokes) {
  std::size_t n = 0;
  for (const auto& s : strokes) n += s.size();
  return n;
}

// Raises the tremor stroke by stroke, a little at a time, until the strokes
// hold exactly the meadow's number of dark pixels.
std::vector<std::vector<Pixel>> Meadow() {
  std::vector<Sway> sways(Strokes().size(), Sway{0, 2});
  auto best = Draw(sways);
  for (int round = 0; round < 400 && Count(best) != kDarkPixels; ++round) {
    const std::size_t i = round % sways.size();
    for (double step : {0.25, 0.05}) {
      std::vector<Sway> trial = sways;
      trial[i].amplitude += step;
      trial[i].waves = 2 + static_cast<int>(i % 3);
      const auto drawn = Draw(trial);
      if (drawn.empty() || Count(drawn) > kDarkPixels) continue;
      sways = trial;
      best = drawn;
      break;
    }
  }
  if (Count(best) != kDarkPixels) {
    std::fprintf(stderr, "make_pictures: the strokes came to %zu dark pixels\n", Count(best));
    std::exit(1);
  }
  return best;
}

Bytes Background() {
  std::vector<Rgb> pixels(kWidth * kHeight, Rgb{0, 255, 0});
  for (const auto& stroke : Meadow())
    for (auto [x, y] : stroke) pixels[y * kWidth + x] = {0, 128, 0};
  return Bitmap(kWidth, kHeight, pixels);
}

// ---- The icon: a generic application window in perspective. ----

// Colour numbers of the 16-colour palette the icon uses.
enum Ink { kClear = -1, kBlack = 0, kGrey = 8, kCyan = 14, kWhite = 15 };
const std::array<Rgb, 16> kPalette = {{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                       {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                       {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                       {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};

// What the icon shows at a point of a 32-unit square: a window leaning away
// to the right, its grey shadow behind it, a cyan title bar.
int IconInk(double x, double y) {
  const auto inWindow = [](double x, double y, double shift) {
    x -= shift, y -= shift;
    if (x < 4 || x > 27) return -1.0;
    const double u = (x - 4) / 23;            // 0 at the near edge, 1 at the far edge
    const double top = 5 + 3 * u, bottom = 27 - 3 * u;  // the far edge is shorter
    if (y < top || y > bottom) return -1.0;
    return (y - top) / (bottom - top);
  };
  const double v = inWindow(x, y, 0);
  if (v >= 0) {
    const double u = (x - 4) / 23;
    const double top = 5 + 3 * u, bottom = 27 - 3 * u;
    if (x < 5 || x > 26 || y < top + 1 || y > bottom - 1) return kBlack;  // the frame
    if (v < 0.2) return kCyan;
    if (v < 0.25) return kBlack;
    return kWhite;
  }
  if (inWindow(x, y, 2) >= 0) return kGrey;
  return kClear;
}

// One image of the icon: header, palette, colour pixels, transparency mask.
Bytes IconImage(int size, int bits) {
  Bytes out;
  const int colours = 1 << bits;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, size * 2);
  Put16(out, 1);
  Put16(out, bits);
  const int xorStride = (size * bits + 31) / 32 * 4, andStride = (size + 31) / 32 * 4;
  for (std::uint32_t v : {0u, static_cast<std::uint32_t>((xorStride + andStride) * size), 0u, 0u, 0u, 0u})
    Put32(out, v);
  for (int i = 0; i < colours; ++i) {
    const Rgb c = bits == 1 ? (i ? Rgb{255, 255, 255} : Rgb{0, 0, 0}) : kPalette[i];
    out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  const double scale = 32.0 / size;
  const auto ink = [&](int x, int y) { return IconInk((x + 0.5) * scale, (y + 0.5) * scale); };
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(xorStride, 0);
    for (int x = 0; x < size; ++x) {
      int i = ink(x, y);
      if (bits == 1) i = i == kWhite ? 1 : 0;  // two colours: all but the window itself in black
      else if (i == kClear) i = 0;
      if (bits == 4) row[x / 2] |= static_cast<std::uint8_t>(i << (x % 2 ? 0 : 4));
      else row[x / 8] |= static_cast<std::uint8_t>(i << (7 - x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(andStride, 0);
    for (int x = 0; x < size; ++x)
      if (ink(x, y) == kClear) row[x / 8] |= static_cast<std::uint8_t>(1 << (7 - x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

Bytes Icon() {
  const std::vector<std::pair<int, int>> images = {{32, 4}, {16, 4}, {32, 1}};
  std::vector<Bytes> bodies;
  for (auto [size, bits] : images) bodies.push_back(IconImage(size, bits));
  Bytes out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto [size, bits] = images[i];
    out.insert(out.end(), {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size),
                           static_cast<std::uint8_t>(1 << bits), 0});
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(bodies[i].size());
  }
  for (const Bytes& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

bool Write(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"facing_up.bmp", Grid({"WWWWWKWWW", "WWWWWKWWW", "WWWKKKWWW", "WWKWWKWWW", "WKWWWWKWW", "WKWWWWKWW",
                              "WWKWWKWWW", "WWWKKWWWW", "WWWWWWWWW"})},
      {"facing_down.bmp", Grid({"WWWKKWWWW", "WWKWWKWWW", "WKWWWWKWW", "WKWWWWKWW", "WWKWWKWWW", "WWWKKKWWW",
                                "WWWWWKWWW", "WWWWWKWWW", "WWWWWWWWW"})},
      {"facing_left.bmp", Grid({"WWWWWWWWW", "WWWWKKWWW", "WWWKWWKWW", "WWKWWWWKW", "WWKWWWWKW", "KKKKWWKWW",
                                "WWWWKKWWW", "WWWWWWWWW", "WWWWWWWWW"})},
      {"facing_right.bmp", Grid({"WWWWWWWWW", "WWKKWWWWW", "WKWWKWWWW", "KWWWWKWWW", "KWWWWKWWW", "WKWWKKKKW",
                                 "WWKKWWWWW", "WWWWWWWWW", "WWWWWWWWW"})},
      {"target_dot.bmp", Grid({"WWWWWWWWW", "WWWWRWWWW", "WWRBRBRWW", "WWRRRRRWW", "WRRRRRRWW", "WWRBRBRWW",
                               "WWRRRRRWW", "WWWWWWWWW", "WWWWWWWWW"})},
      {"background.bmp", Background()},
      {"vantor.ico", Icon()},
  };
  for (const auto& [name, bytes] : files)
    if (!Write(dir + "/" + name, bytes)) {
      std::fprintf(stderr, "make_pictures: cannot write %s/%s\n", dir.c_str(), name.c_str());
      return 1;
    }
  return 0;
}
