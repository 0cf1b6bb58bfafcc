// The window's toolkit-free parts: the control table, the files of a drop, the key table, label
// texts and the drawing of the pictures.

#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "player/middle_cut.h"
#include "player/player_controls.h"
#include "player/player_texts.h"
#include "player/window/drop_text.h"
#include "player/window/icon_canvas.h"
#include "player/window/key_map.h"
#include "player/window/label_text.h"
#include "player/window/player_pictures.h"

namespace lorix::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(PlayerControlTable, EveryControlOnceWithItsOwnName) {
  std::map<PlayerControl, int> ids;
  std::set<std::string> names;
  for (const PlayerControlRow& row : PlayerControlTable()) {
    ++ids[row.id];
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    EXPECT_EQ(PlayerControlRowOf(row.id), &row) << row.name;
  }
  // Every control of the window has one row; the keyboard, a sender of keys, has none.
  for (int i = 0; i < static_cast<int>(PlayerControl::kKeyboard); ++i) {
    EXPECT_EQ(ids[static_cast<PlayerControl>(i)], 1) << "control " << i;
  }
  EXPECT_EQ(ids.count(PlayerControl::kKeyboard), 0u);
  EXPECT_EQ(PlayerControlRowOf(PlayerControl::kKeyboard), nullptr);
}

TEST(PlayerControlTable, ControlsSitInsideTheirBlockWhichComesFirst) {
  std::set<PlayerControl> created;
  for (const PlayerControlRow& row : PlayerControlTable()) {
    EXPECT_GT(row.rect.w, 0) << row.name;
    EXPECT_GT(row.rect.h, 0) << row.name;
    EXPECT_TRUE(
        (ControlRect{0, 0, kFullView.client_width, kFullView.client_height}.Contains(row.rect)))
        << row.name;
    if (row.block != row.id) {
      // Drawn over its frame: the frame is created before it.
      ASSERT_TRUE(created.count(row.block)) << row.name;
      const PlayerControlRow& block = *PlayerControlRowOf(row.block);
      EXPECT_EQ(block.kind, ControlKind::kFrame) << row.name;
      EXPECT_TRUE(block.rect.Contains(row.rect)) << row.name << " in " << block.name;
    } else {
      EXPECT_TRUE(row.kind == ControlKind::kFrame || row.kind == ControlKind::kButton) << row.name;
    }
    created.insert(row.id);
  }
}

// Member pointers have no order: each expected one is counted in the rows' list.
template <typename Member>
void ExpectEachOnce(const std::vector<Member>& shown, std::initializer_list<Member> expected) {
  EXPECT_EQ(shown.size(), expected.size());
  for (const Member member : expected) {
    EXPECT_EQ(std::count(shown.begin(), shown.end(), member), 1);
  }
}

TEST(PlayerControlTable, EveryPartOfTheScreenIsShownByOneFittingControl) {
  std::vector<std::string PlayerScreen::*> texts;
  std::vector<int PlayerScreen::*> positions;
  std::vector<bool PlayerScreen::*> enabled;
  std::vector<PlayerIcon PlayerScreen::*> icons;
  for (const PlayerControlRow& row : PlayerControlTable()) {
    if (row.text) {
      texts.push_back(row.text);
      EXPECT_TRUE(row.kind == ControlKind::kLabel || row.kind == ControlKind::kEditLine)
          << row.name;
    }
    if (row.position) {
      positions.push_back(row.position);
      EXPECT_EQ(row.kind, ControlKind::kTrackBar) << row.name;
    }
    if (row.enabled) enabled.push_back(row.enabled);
    if (row.shown_icon) {
      icons.push_back(row.shown_icon);
      EXPECT_EQ(row.kind, ControlKind::kIconButton) << row.name;
    }
    if (row.kind == ControlKind::kTrackBar) {
      EXPECT_EQ(std::pair(row.range.min, row.range.max), std::pair(0, kTrackMax)) << row.name;
      EXPECT_EQ(std::pair(row.range.line, row.range.page),
                std::pair(kTrackLineSize, kTrackPageSize))
          << row.name;
    }
    // The edit line shortens its text around the file line's label and length.
    if (row.kind == ControlKind::kEditLine) {
      EXPECT_EQ(row.text, &PlayerScreen::LineFile);
    }
  }
  ExpectEachOnce(
      texts, {&PlayerScreen::LineStatus, &PlayerScreen::LineFile, &PlayerScreen::LabelPosition});
  ExpectEachOnce(positions, {&PlayerScreen::TrackPosition, &PlayerScreen::TrackVolume});
  ExpectEachOnce(enabled, {&PlayerScreen::BtnPlayEnabled, &PlayerScreen::BtnPauseEnabled,
                           &PlayerScreen::BtnStopEnabled, &PlayerScreen::BtnWaveAppEnabled});
  ExpectEachOnce(icons, {&PlayerScreen::PauseIcon});
}

TEST(DropText, FileUrisArePercentDecodedAndLoseSchemeAndHost) {
  EXPECT_EQ(FilesFromDropText("file:///tmp/Mein%20Gru%C3%9F.wav\r\n"
                              "file://localhost/home/a/b%2Bc.EXE\r\n"
                              "file:/srv/x.txt\r\n"
                              "FILE:///tmp/upper\r\n"),
            (Strings{"/tmp/Mein Gruß.wav", "/home/a/b+c.EXE", "/srv/x.txt", "/tmp/upper"}));
}

TEST(DropText, PlainPathsStayAsTheyAre) {
  // A '%' in a plain path is part of the name, not an escape.
  EXPECT_EQ(FilesFromDropText("/tmp/100%25 sicher.wav\n/tmp/zweite Datei\n"),
            (Strings{"/tmp/100%25 sicher.wav", "/tmp/zweite Datei"}));
  EXPECT_EQ(FilesFromDropText("/tmp/ohne Zeilenende"), (Strings{"/tmp/ohne Zeilenende"}));
}

TEST(DropText, CommentsEmptyLinesAndOtherSchemesAreSkipped) {
  EXPECT_EQ(FilesFromDropText("# dragged from a browser\r\n\r\n"
                              "https://www.lorix.example/a.wav\r\n"
                              "mailto:autor@lorix.example\r\n"
                              "file://hostonly\r\n"
                              "file:///tmp/echt.wav\r\n"),
            (Strings{"/tmp/echt.wav"}));
  // Some sources end the list with a NUL byte.
  EXPECT_EQ(FilesFromDropText(std::string_view("file:///tmp/a.wav\0", 18)),
            (Strings{"/tmp/a.wav"}));
  EXPECT_TRUE(FilesFromDropText("").empty());
  EXPECT_TRUE(FilesFromDropText("\r\n\n").empty());
}

TEST(DropText, MalformedEscapesStayAsTheyAre) {
  EXPECT_EQ(PercentDecode("%41%62c"), "Abc");
  EXPECT_EQ(PercentDecode("%zz%4"), "%zz%4");
  EXPECT_EQ(PercentDecode("100%"), "100%");
  EXPECT_EQ(PercentDecode("%%41"), "%A");
  EXPECT_EQ(PercentDecode("%00x"), std::string("\0x", 2));
}

TEST(KeyMap, ThePlayersKeysInEitherCase) {
  const struct {
    char letter;
    PlayerKey key;
  } letters[] = {{'h', PlayerKey::kH}, {'y', PlayerKey::kY}, {'a', PlayerKey::kA},
                 {'s', PlayerKey::kS}, {'n', PlayerKey::kN}, {'e', PlayerKey::kE},
                 {'m', PlayerKey::kM}, {'i', PlayerKey::kI}, {'w', PlayerKey::kW},
                 {'d', PlayerKey::kD}, {'l', PlayerKey::kL}};
  for (const auto& entry : letters) {
    EXPECT_EQ(PlayerKeyFromFltk(entry.letter), entry.key) << entry.letter;
    EXPECT_EQ(PlayerKeyFromFltk(entry.letter - 'a' + 'A'), entry.key) << entry.letter;
  }
  EXPECT_EQ(PlayerKeyFromFltk(FL_F + 1), PlayerKey::kF1);
  EXPECT_EQ(PlayerKeyFromFltk(' '), PlayerKey::kSpace);
  EXPECT_EQ(PlayerKeyFromFltk(FL_Left), PlayerKey::kLeft);
  EXPECT_EQ(PlayerKeyFromFltk(FL_Right), PlayerKey::kRight);
  EXPECT_EQ(PlayerKeyFromFltk(FL_Up), PlayerKey::kUp);
  EXPECT_EQ(PlayerKeyFromFltk(FL_Down), PlayerKey::kDown);
}

TEST(KeyMap, EveryOtherKeyIsOther) {
  for (const int key :
       {int('b'), int('z'), int('x'), int('Z'), int('1'), FL_F + 2, FL_F + 11, FL_Enter, FL_Escape,
        FL_Tab, FL_Shift_L, FL_Control_L, FL_KP + '4', FL_KP + '8', FL_Home, FL_Page_Down, 0}) {
    EXPECT_EQ(PlayerKeyFromFltk(key), PlayerKey::kOther) << key;
  }
}

TEST(LabelText, LineEndsBecomeLineFeedsAndAtSignsAreDoubled) {
  EXPECT_EQ(LabelText("a\r\nb\n\rc"), "a\nb\nc");
  EXPECT_EQ(LabelText("autor@lorix.example"), "autor@@lorix.example");
  EXPECT_EQ(LabelText("@start und @@"), "@@start und @@@@");
  EXPECT_EQ(LabelText(""), "");
}

TEST(LabelText, CaptionsLoseTheirMarks) {
  EXPECT_EQ(CaptionLabel("Exter&ne A&nwdg."), "Externe Anwdg.");
  EXPECT_EQ(CaptionLabel("L&orix"), "Lorix");
  EXPECT_EQ(CaptionLabel("Ton && Bild"), "Ton & Bild");
  const std::string download = CaptionLabel(DownloadCaption());
  EXPECT_EQ(download.find_first_of("\r&"), std::string::npos) << download;
  EXPECT_NE(download.find('\n'), std::string::npos);
  EXPECT_NE(CaptionLabel(MailCaption()).find("@@"), std::string::npos);
  EXPECT_EQ(CaptionLabel(InfoCaption()).find('\r'), std::string::npos);
}

// Six pixels for every character, as a fixed-width font would have.
double CharacterWidth(std::string_view text) {
  return 6.0 * static_cast<double>(std::count_if(text.begin(), text.end(), [](char c) {
           return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
         }));
}

TEST(MiddleCut, TheFileLineKeepsItsLabelAndLengthAndLosesTheMiddleOfThePath) {
  const std::string label = "abspielen:  ";
  const std::string length = " [12.34 Sek.]  ";
  const std::string files = "/home/anna/Nachrichten/LORIX_20260101_120000.EXE (" +
                            std::string(120, 'x') + "/TEMPs/TempWave.wav)";
  const std::string line = label + files + length;
  EXPECT_EQ(CharacterWidth(CutInTheMiddle(line, label.size(), length.size(), 600, CharacterWidth)),
            600);
  EXPECT_EQ(CutInTheMiddle(line, label.size(), length.size(), 585, CharacterWidth),
            label + "/home/anna/Nachrichten/LORIX_202601…" + std::string(14, 'x') +
                "/TEMPs/TempWave.wav)" + length);
  // A line that fits stays as it is; ends too wide on their own stay whole.
  EXPECT_EQ(CutInTheMiddle(line, label.size(), length.size(), 6.0 * 1000, CharacterWidth), line);
  EXPECT_EQ(CutInTheMiddle(line, label.size(), length.size(), 60, CharacterWidth),
            label + "…" + length);
  // Cuts fall between characters, never inside one.
  EXPECT_EQ(CutInTheMiddle("L: ÄÖÜäöüß [1]", 3, 4, 60, CharacterWidth), "L: Ä…ß [1]");
  EXPECT_EQ(CutInTheMiddle("L: ÄÖÜäöüß [1]", 3, 4, 66, CharacterWidth), "L: ÄÖ…ß [1]");
}

// The coverage of all pixels in pixel units: the painted area.
double PaintedArea(const IconCanvas& canvas) {
  double area = 0;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) area += canvas.At(x, y).a / 255.0;
  }
  return area;
}

TEST(IconCanvas, ShapesCoverTheirAreaWithSoftEdges) {
  constexpr double kPi = 3.14159265358979323846;
  const Rgba red{255, 0, 0, 255};
  {
    IconCanvas c(16, 16);
    c.FillRect(2, 3, 6, 5.5, red);
    EXPECT_EQ(c.At(2, 3), red);
    EXPECT_EQ(c.At(5, 4), red);
    EXPECT_EQ(c.At(1, 3).a, 0);
    EXPECT_EQ(c.At(6, 3).a, 0);
    EXPECT_NEAR(c.At(3, 5).a, 128, 1);  // half of the row
    EXPECT_NEAR(PaintedArea(c), 4 * 2.5, 0.05);
  }
  {
    IconCanvas c(32, 32);
    c.FillPolygon({{4, 4}, {28, 16}, {4, 28}}, red);
    EXPECT_NEAR(PaintedArea(c), 24 * 24 / 2.0, 24 * 24 / 2.0 * 0.02);
    EXPECT_EQ(c.At(10, 16), red);
    EXPECT_EQ(c.At(26, 5).a, 0);
  }
  {
    IconCanvas c(32, 32);
    c.FillEllipse(16, 16, 10, 6, red);
    EXPECT_NEAR(PaintedArea(c), kPi * 10 * 6, kPi * 10 * 6 * 0.02);
    EXPECT_EQ(c.At(0, 0).a, 0);
  }
  {
    // A quarter ring opening upwards-right (angles 0..90, y pointing up).
    IconCanvas c(32, 32);
    c.FillArc(16, 16, 5, 10, 0, 90, red);
    EXPECT_NEAR(PaintedArea(c), kPi * (100 - 25) / 4, kPi * 75 / 4 * 0.04);
    EXPECT_GT(c.At(21, 9).a, 200);  // up and to the right of the centre
    EXPECT_EQ(c.At(10, 9).a, 0);    // up and to the left
    EXPECT_EQ(c.At(21, 22).a, 0);   // down and to the right
  }
  {
    IconCanvas c(32, 32);
    c.FillLine(4, 16, 28, 16, 2, red);
    EXPECT_NEAR(PaintedArea(c), 26 * 2, 1);
  }
}

TEST(IconCanvas, PaintsOverAndFadesOntoABackground) {
  IconCanvas c(4, 1);
  c.FillRect(0, 0, 2, 1, {0, 0, 255, 255});
  c.FillRect(1, 0, 3, 1, {255, 0, 0, 128});
  EXPECT_EQ(c.At(0, 0), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(c.At(1, 0), (Rgba{128, 0, 127, 255}));  // half red over blue
  EXPECT_EQ(c.At(2, 0), (Rgba{255, 0, 0, 128}));
  EXPECT_EQ(c.At(3, 0).a, 0);

  const Rgba grey{192, 192, 192, 255};
  const std::vector<std::uint8_t> rgb = c.OnBackground(grey);
  ASSERT_EQ(rgb.size(), 12u);
  EXPECT_EQ((std::vector<std::uint8_t>(rgb.begin(), rgb.begin() + 3)),
            (std::vector<std::uint8_t>{0, 0, 255}));
  EXPECT_EQ((std::vector<std::uint8_t>(rgb.begin() + 6, rgb.begin() + 9)),
            (std::vector<std::uint8_t>{224, 96, 96}));
  EXPECT_EQ((std::vector<std::uint8_t>(rgb.begin() + 9, rgb.end())),
            (std::vector<std::uint8_t>{192, 192, 192}));

  const IconCanvas grayed = c.Grayed(grey);
  for (int x = 0; x < 4; ++x) {
    const Rgba p = grayed.At(x, 0);
    EXPECT_TRUE(p.r == p.g && p.g == p.b) << x;
    EXPECT_EQ(p.a, c.At(x, 0).a) << x;
  }
  // Pure blue greys to a dark shade half way to the background.
  EXPECT_EQ(grayed.At(0, 0).r, 110);
}

// Adds `pixels` to `seen`; false when an equal picture is there already.
bool IsNew(std::vector<std::vector<std::uint8_t>>& seen, const std::vector<std::uint8_t>& pixels) {
  if (std::find(seen.begin(), seen.end(), pixels) != seen.end()) return false;
  seen.push_back(pixels);
  return true;
}

TEST(PlayerPictures, EveryPictureIsItsOwn) {
  std::vector<std::vector<std::uint8_t>> seen;
  for (const PlayerIcon icon :
       {PlayerIcon::kMainIcon, PlayerIcon::kPlay, PlayerIcon::kPause, PlayerIcon::kPausing,
        PlayerIcon::kStop, PlayerIcon::kLorix, PlayerIcon::kMixer, PlayerIcon::kSpeaker}) {
    const IconCanvas picture = PlayerPicture(icon);
    ASSERT_EQ(picture.width(), kPictureSize);
    ASSERT_EQ(picture.height(), kPictureSize);
    EXPECT_GT(PaintedArea(picture), 60) << static_cast<int>(icon);
    EXPECT_TRUE(IsNew(seen, picture.pixels())) << static_cast<int>(icon);
  }
  for (const DialogIcon icon : {DialogIcon::kInformation, DialogIcon::kWarning, DialogIcon::kError,
                                DialogIcon::kQuestion}) {
    EXPECT_GT(PaintedArea(DialogPicture(icon)), 300) << static_cast<int>(icon);
    EXPECT_TRUE(IsNew(seen, DialogPicture(icon).pixels())) << static_cast<int>(icon);
  }
  EXPECT_EQ(PaintedArea(DialogPicture(DialogIcon::kNone)), 0);
}

TEST(PlayerPictures, TheSpeakerFitsItsPlaceBelowTheVolumeBar) {
  // The speaker's 24-pixel place shows rows 4..27; rows 4..7 lie under the volume bar's end.
  const IconCanvas speaker = PlayerPicture(PlayerIcon::kSpeaker);
  for (int y = 0; y < kPictureSize; ++y) {
    if (y >= 8 && y < 28) continue;
    for (int x = 0; x < kPictureSize; ++x) {
      EXPECT_EQ(speaker.At(x, y).a, 0) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace lorix::testing
