#include "player/window_win32/icons/ico_file.h"

#include <algorithm>
#include <map>

namespace lorix {
namespace {

constexpr int kSize = 32;
constexpr int kColours = 16;
// Edge pixels are mixed with the light grey of a button face before they get a colour.
constexpr Rgba kButtonFace{224, 224, 224};
// Two palette colours closer than this (squared distance) would waste an entry.
constexpr int kMinDistance = 48 * 48;

int Distance(Rgba a, Rgba b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

Rgba OnButtonFace(Rgba pixel) {
  const auto mix = [&](int colour, int face) {
    return static_cast<std::uint8_t>((colour * pixel.a + face * (255 - pixel.a)) / 255);
  };
  return {mix(pixel.r, kButtonFace.r), mix(pixel.g, kButtonFace.g), mix(pixel.b, kButtonFace.b)};
}

bool Opaque(Rgba pixel) {
  return pixel.a >= 128;
}

std::vector<Rgba> Palette(const IconCanvas& picture) {
  std::map<std::uint32_t, int> counts;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Rgba pixel = picture.At(x, y);
      if (!Opaque(pixel)) continue;
      const Rgba colour = OnButtonFace(pixel);
      ++counts[(colour.r << 16) | (colour.g << 8) | colour.b];
    }
  }
  std::vector<std::pair<int, std::uint32_t>> by_count;
  for (const auto& [colour, count] : counts) by_count.push_back({count, colour});
  std::sort(by_count.rbegin(), by_count.rend());
  std::vector<Rgba> palette;
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& [count, value] : by_count) {
      if (static_cast<int>(palette.size()) == kColours) break;
      const Rgba colour{static_cast<std::uint8_t>(value >> 16),
                        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
      // First only colours far from those taken, then the rest in order of frequency.
      const bool far = std::all_of(palette.begin(), palette.end(), [&](Rgba taken) {
        return Distance(taken, colour) >= kMinDistance;
      });
      const bool taken = std::find(palette.begin(), palette.end(), colour) != palette.end();
      if (!taken && (far || pass == 1)) palette.push_back(colour);
    }
  }
  // Transparent pixels need black: the screen is combined with their colour by exclusive or.
  constexpr Rgba kBlack{0, 0, 0};
  if (std::find(palette.begin(), palette.end(), kBlack) == palette.end()) {
    if (static_cast<int>(palette.size()) == kColours) palette.pop_back();
    palette.push_back(kBlack);
  }
  palette.resize(kColours, kBlack);
  return palette;
}

int Nearest(const std::vector<Rgba>& palette, Rgba colour) {
  int best = 0;
  for (int i = 1; i < kColours; ++i) {
    if (Distance(palette[i], colour) < Distance(palette[best], colour)) best = i;
  }
  return best;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> SixteenColourIcon(const IconCanvas& picture) {
  const std::vector<Rgba> palette = Palette(picture);
  constexpr std::uint32_t kHeaderSize = 40;
  constexpr std::uint32_t kColourRow = kSize / 2;  // 4 bits per pixel
  constexpr std::uint32_t kMaskRow = kSize / 8;    // 1 bit per pixel, already 32-bit aligned
  constexpr std::uint32_t kImageSize =
      kHeaderSize + kColours * 4 + kSize * kColourRow + kSize * kMaskRow;

  std::vector<std::uint8_t> out;
  // The file's directory with its one entry.
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  out.insert(out.end(), {kSize, kSize, kColours, 0});
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, kImageSize);
  Put32(out, 6 + 16);
  // The bitmap header: the height counts the colour rows and the mask rows.
  Put32(out, kHeaderSize);
  Put32(out, kSize);
  Put32(out, kSize * 2);
  Put16(out, 1);
  Put16(out, 4);
  for (int i = 0; i < 6; ++i) Put32(out, i == 4 ? kColours : 0);
  for (const Rgba colour : palette) out.insert(out.end(), {colour.b, colour.g, colour.r, 0});
  // Rows from the bottom up.
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; x += 2) {
      const auto index = [&](int column) {
        const Rgba pixel = picture.At(column, y);
        return Nearest(palette, Opaque(pixel) ? OnButtonFace(pixel) : Rgba{0, 0, 0});
      };
      out.push_back(static_cast<std::uint8_t>((index(x) << 4) | index(x + 1)));
    }
  }
  for (int y = kSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < static_cast<int>(kMaskRow); ++byte) {
      std::uint8_t mask = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (!Opaque(picture.At(byte * 8 + bit, y))) mask |= static_cast<std::uint8_t>(0x80 >> bit);
      }
      out.push_back(mask);
    }
  }
  return out;
}

}  // namespace lorix
