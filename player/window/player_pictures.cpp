#include "player/window/player_pictures.h"

namespace lorix {
namespace {

constexpr Rgba kBlack{0, 0, 0};
constexpr Rgba kWhite{255, 255, 255};
constexpr Rgba kDarkGray{64, 64, 64};
constexpr Rgba kMidGray{160, 160, 160};
constexpr Rgba kGreen{0, 176, 0};
constexpr Rgba kDarkGreen{0, 96, 0};
constexpr Rgba kNavy{0, 0, 140};
constexpr Rgba kOrange{255, 150, 0};
constexpr Rgba kYellow{255, 230, 0};
constexpr Rgba kRed{210, 0, 0};
constexpr Rgba kDarkRed{120, 0, 0};
constexpr Rgba kBlue{0, 80, 210};
constexpr Rgba kDarkBlue{0, 40, 120};

// A rectangle with a one-pixel frame.
void FramedRect(IconCanvas& c, double x0, double y0, double x1, double y1, Rgba frame, Rgba fill) {
  c.FillRect(x0, y0, x1, y1, frame);
  c.FillRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill);
}

// An envelope whose top left corner is (x, y), with its flap drawn as a V.
void Envelope(IconCanvas& c, double x, double y, double w, double h, Rgba frame, Rgba paper) {
  FramedRect(c, x, y, x + w, y + h, frame, paper);
  c.FillLine(x + 1, y + 1, x + w / 2, y + h * 0.6, 1.3, frame);
  c.FillLine(x + w - 1, y + 1, x + w / 2, y + h * 0.6, 1.3, frame);
}

// Sound waves: `count` arcs opening to the right around (cx, cy).
void Waves(IconCanvas& c, double cx, double cy, int count, double first, double step,
           double half_angle, Rgba color) {
  for (int i = 0; i < count; ++i) {
    const double r = first + i * step;
    c.FillArc(cx, cy, r, r + 1.6, -half_angle, half_angle, color);
  }
}

IconCanvas Play() {
  IconCanvas c(kPictureSize, kPictureSize);
  c.FillPolygon({{8, 5}, {27, 16}, {8, 27}}, kDarkGreen);
  c.FillPolygon({{9.6, 8}, {23.8, 16}, {9.6, 24}}, kGreen);
  return c;
}

IconCanvas PauseBars(Rgba frame, Rgba fill) {
  IconCanvas c(kPictureSize, kPictureSize);
  FramedRect(c, 8, 6, 14, 26, frame, fill);
  FramedRect(c, 18, 6, 24, 26, frame, fill);
  return c;
}

IconCanvas Stop() {
  IconCanvas c(kPictureSize, kPictureSize);
  FramedRect(c, 8, 8, 24, 24, kDarkRed, kRed);
  return c;
}

IconCanvas Lorix() {
  IconCanvas c(kPictureSize, kPictureSize);
  Envelope(c, 2, 12, 21, 15, kBlack, kWhite);
  Waves(c, 18, 10, 3, 3.5, 3.6, 50, kBlue);
  return c;
}

IconCanvas MainIcon() {
  IconCanvas c(kPictureSize, kPictureSize);
  c.FillEllipse(16, 16, 15.5, 15.5, kDarkBlue);
  c.FillEllipse(16, 16, 14.2, 14.2, kBlue);
  Envelope(c, 5, 12, 18, 13, kDarkBlue, kWhite);
  Waves(c, 20, 10, 2, 3, 3.6, 50, kYellow);
  return c;
}

IconCanvas MixerPicture() {
  IconCanvas c(kPictureSize, kPictureSize);
  const double knob_y[] = {18, 8, 21};
  for (int i = 0; i < 3; ++i) {
    const double x = 8 + i * 8;
    c.FillRect(x - 1, 4, x + 1, 28, kDarkGray);
    FramedRect(c, x - 3.5, knob_y[i], x + 3.5, knob_y[i] + 5, kBlack, kMidGray);
  }
  return c;
}

IconCanvas Speaker() {
  IconCanvas c(kPictureSize, kPictureSize);
  // Kept to rows 8..27: the speaker's place shows the picture's middle 24 rows, and its top
  // rows lie under the end of the volume bar.
  c.FillRect(4, 13.5, 10, 21.5, kDarkGray);
  c.FillPolygon({{9, 13.5}, {17, 8}, {17, 27}, {9, 21.5}}, kDarkGray);
  Waves(c, 17, 17.5, 2, 3.5, 3.6, 45, kBlack);
  return c;
}

IconCanvas Disc(Rgba frame, Rgba fill) {
  IconCanvas c(kPictureSize, kPictureSize);
  c.FillEllipse(16, 16, 15, 15, frame);
  c.FillEllipse(16, 16, 13.6, 13.6, fill);
  return c;
}

IconCanvas Information() {
  IconCanvas c = Disc(kDarkBlue, kBlue);
  c.FillEllipse(16, 9, 2.2, 2.2, kWhite);
  c.FillRect(14, 13, 18, 25, kWhite);
  return c;
}

IconCanvas Warning() {
  IconCanvas c(kPictureSize, kPictureSize);
  c.FillPolygon({{16, 1}, {31, 29}, {1, 29}}, kBlack);
  c.FillPolygon({{16, 4}, {28.4, 27.5}, {3.6, 27.5}}, kYellow);
  c.FillRect(14.5, 11, 17.5, 21, kBlack);
  c.FillEllipse(16, 24.3, 1.8, 1.8, kBlack);
  return c;
}

IconCanvas Error() {
  IconCanvas c = Disc(kDarkRed, kRed);
  c.FillLine(11, 11, 21, 21, 3.4, kWhite);
  c.FillLine(21, 11, 11, 21, 3.4, kWhite);
  return c;
}

IconCanvas Question() {
  IconCanvas c = Disc(kDarkBlue, kBlue);
  c.FillArc(16, 12, 3, 6, -90, 180, kWhite);
  c.FillRect(14.5, 17, 17.5, 21, kWhite);
  c.FillEllipse(16, 24.5, 2, 2, kWhite);
  return c;
}

}  // namespace

IconCanvas PlayerPicture(PlayerIcon icon) {
  switch (icon) {
    case PlayerIcon::kMainIcon:
      return MainIcon();
    case PlayerIcon::kPlay:
      return Play();
    case PlayerIcon::kPause:
      return PauseBars(kBlack, kNavy);
    case PlayerIcon::kPausing:
      return PauseBars(kDarkRed, kOrange);
    case PlayerIcon::kStop:
      return Stop();
    case PlayerIcon::kLorix:
      return Lorix();
    case PlayerIcon::kMixer:
      return MixerPicture();
    case PlayerIcon::kSpeaker:
      return Speaker();
  }
  return IconCanvas(kPictureSize, kPictureSize);
}

IconCanvas DialogPicture(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::kInformation:
      return Information();
    case DialogIcon::kWarning:
      return Warning();
    case DialogIcon::kError:
      return Error();
    case DialogIcon::kQuestion:
      return Question();
    case DialogIcon::kNone:
      break;
  }
  return IconCanvas(kPictureSize, kPictureSize);
}

}  // namespace lorix
