#pragma once

// The player window's controls as one table: what each control is, where it sits, what it says
// and which part of the screen it shows. The FLTK and the Win32 window create their widgets from
// these rows in order (a frame before the controls inside it) and copy the screen onto them in
// one loop; neither keeps a position, caption or size of its own.

#include <optional>
#include <span>
#include <string>

#include "player/player_screen.h"

namespace lorix {

enum class ControlKind {
  kFrame,       // an engraved rectangle around a block of controls
  kButton,      // a push button showing its caption
  kIconButton,  // a push button showing an icon instead of its caption
  kTrackBar,
  kLabel,     // one line of text
  kIcon,      // a picture without a frame
  kEditLine,  // a read-only line whose text is shortened in its middle to fit
};

// The font of a control's text: the system's, or the small one (a 14-pixel character cell).
enum class ControlFont { kSystem, kSmall };
inline constexpr int kSmallFontCellHeight = 14;

enum class ControlAlign { kCenter, kLeft, kRight };

// Rows' flags.
inline constexpr unsigned kControlWraps = 1u << 0;     // the caption may take several lines
inline constexpr unsigned kControlVertical = 1u << 1;  // a track bar from top to bottom

// A rectangle in client coordinates at 96 DPI.
struct ControlRect {
  int x = 0, y = 0, w = 0, h = 0;

  bool Contains(const ControlRect& inner) const {
    return inner.x >= x && inner.y >= y && inner.x + inner.w <= x + w && inner.y + inner.h <= y + h;
  }
};

// A track bar's values and marks.
struct TrackRange {
  int min = 0, max = 0, line = 0, page = 0, tick_every = 0, thumb_length = 0;
};

// A text colour as red, green and blue.
struct ControlColour {
  unsigned char r = 0, g = 0, b = 0;
  bool operator==(const ControlColour&) const = default;
};

struct PlayerControlRow {
  PlayerControl id;
  const char* name;  // the control's name, for tests and messages
  ControlKind kind;
  // The frame the control sits in; its own id for the frames and the help button, which sits
  // on the window's edge.
  PlayerControl block;
  ControlRect rect;
  std::string caption{};  // with its '&' marks; the window text of track bars and icons
  std::string hint{};     // a tooltip; the player's controls have none
  unsigned flags = 0;
  ControlFont font = ControlFont::kSystem;
  ControlAlign align = ControlAlign::kCenter;
  std::optional<ControlColour> text_colour{};  // the toolkit's own unless given
  PlayerIcon icon = PlayerIcon::kMainIcon;     // the picture of icon buttons and icons
  TrackRange range{};                          // track bars only
  // The part of the screen the control shows: a text, a bar's position, whether it is enabled,
  // and the icon that replaces the row's own (null where the control shows none of these).
  std::string PlayerScreen::*text = nullptr;
  int PlayerScreen::*position = nullptr;
  bool PlayerScreen::*enabled = nullptr;
  PlayerIcon PlayerScreen::*shown_icon = nullptr;
};

// The rows in creation order.
std::span<const PlayerControlRow> PlayerControlTable();
// The row of `id`; null for kKeyboard.
const PlayerControlRow* PlayerControlRowOf(PlayerControl id);

// The window's two views. The classic desktop frame of 3 pixels and a 23-pixel caption around
// the client area give the outer sizes; on X11 the window manager draws its own frame, so the
// client area is what the program sets. The compact view ends below the tool buttons, the full
// one below the file line. The controls of the full view exist in both; the compact view merely
// cuts them off.
struct PlayerView {
  int outer_width, outer_height;
  int client_width, client_height;
};
inline constexpr PlayerView kCompactView{243, 181, 237, 155};
inline constexpr PlayerView kFullView{612, 226, 606, 200};

inline const PlayerView& ViewOf(const PlayerScreen& screen) {
  return screen.CompactView ? kCompactView : kFullView;
}

}  // namespace lorix
