#include "player/window/fltk_images.h"

#include <FL/Fl.H>

#include <array>
#include <memory>
#include <vector>

#include "player/window/player_pictures.h"

namespace lorix {
namespace {

// An image together with the pixels it points at.
struct StoredImage {
  std::vector<std::uint8_t> pixels;
  std::unique_ptr<Fl_RGB_Image> image;
};

constexpr std::size_t kPlayerIcons = static_cast<std::size_t>(PlayerIcon::kSpeaker) + 1;
constexpr std::size_t kDialogIcons = static_cast<std::size_t>(DialogIcon::kQuestion) + 1;

Rgba WindowGrey() {
  std::uint8_t r = 0, g = 0, b = 0;
  Fl::get_color(FL_BACKGROUND_COLOR, r, g, b);
  return {r, g, b, 255};
}

Fl_RGB_Image* Store(StoredImage& slot, std::vector<std::uint8_t> pixels, int depth) {
  slot.pixels = std::move(pixels);
  slot.image =
      std::make_unique<Fl_RGB_Image>(slot.pixels.data(), kPictureSize, kPictureSize, depth);
  return slot.image.get();
}

Fl_RGB_Image* Opaque(StoredImage& slot, const IconCanvas& picture) {
  return Store(slot, picture.OnBackground(WindowGrey()), 3);
}

}  // namespace

Fl_RGB_Image* ButtonImage(PlayerIcon icon) {
  static std::array<StoredImage, kPlayerIcons> images;
  StoredImage& slot = images[static_cast<std::size_t>(icon)];
  return slot.image ? slot.image.get() : Opaque(slot, PlayerPicture(icon));
}

Fl_RGB_Image* InactiveButtonImage(PlayerIcon icon) {
  static std::array<StoredImage, kPlayerIcons> images;
  StoredImage& slot = images[static_cast<std::size_t>(icon)];
  return slot.image ? slot.image.get() : Opaque(slot, PlayerPicture(icon).Grayed(WindowGrey()));
}

Fl_RGB_Image* WindowIconImage() {
  static StoredImage slot;
  return slot.image ? slot.image.get()
                    : Store(slot, PlayerPicture(PlayerIcon::kMainIcon).pixels(), 4);
}

Fl_RGB_Image* DialogImage(DialogIcon icon) {
  if (icon == DialogIcon::kNone) return nullptr;
  static std::array<StoredImage, kDialogIcons> images;
  StoredImage& slot = images[static_cast<std::size_t>(icon)];
  return slot.image ? slot.image.get() : Opaque(slot, DialogPicture(icon));
}

}  // namespace lorix
