#pragma once

// What the player's window shows, as plain data. The handlers change it; the window copies it
// onto its widgets after every event (and during decoding, when the handlers ask for a
// repaint). Nothing in here knows a toolkit.

#include <cstddef>
#include <string>

namespace lorix {

// The player's pictures: the window icon and the icons of the buttons and the speaker.
enum class PlayerIcon { kMainIcon, kPlay, kPause, kPausing, kStop, kLorix, kMixer, kSpeaker };

// The controls that send commands or scroll messages, and the senders a handler may be given.
// kKeyboard stands for a key message's own parameter: never one of the buttons.
enum class PlayerControl {
  kBtnPlay,
  kBtnPause,
  kBtnStop,
  kBtnWaveApp,
  kBtnView,
  kBtnMixer,
  kBtnHelp,
  kBtnInfo,
  kBtnWebPage,
  kBtnCopyWebPage,
  kBtnDownload,
  kBtnCopyDownload,
  kBtnMail,
  kBtnCopyMail,
  kTrackPosition,
  kTrackVolume,
  kLineFile,
  kKeyboard,
};

// The keys the window passes on; every other key is kOther.
enum class PlayerKey {
  kF1,
  kH,
  kSpace,
  kY,
  kA,
  kS,
  kN,
  kE,
  kM,
  kLeft,
  kRight,
  kUp,
  kDown,
  kI,
  kW,
  kD,
  kL,
  kOther
};

// Scroll codes of the track bars.
inline constexpr int kScrollLineUp = 0;
inline constexpr int kScrollLineDown = 1;
inline constexpr int kScrollPageUp = 2;
inline constexpr int kScrollPageDown = 3;
inline constexpr int kScrollThumbTrack = 5;
inline constexpr int kScrollEndScroll = 8;

inline constexpr int kTrackMax = 1000;
inline constexpr int kTrackLineSize = 10;
inline constexpr int kTrackPageSize = 100;

// The window's client area in the two views. The classic desktop frame of 3 pixels and a
// 23-pixel caption around them gives the outer sizes 243 x 181 and 612 x 226; on X11 the window
// manager draws its own frame, so the client area is what the program sets. The compact view
// ends below the tool buttons, the full one below the file line.
inline constexpr int kCompactClientWidth = 237;
inline constexpr int kCompactClientHeight = 155;
inline constexpr int kFullClientWidth = 606;
inline constexpr int kFullClientHeight = 200;

struct PlayerScreen {
  std::string Title;  // "LORIX-Player V." + PlayerVersion
  std::string LineStatus = "Status";
  std::string LineFile = "(-)";
  // The bytes at LineFile's ends that must stay in view: the label in front ("abspielen:  ")
  // and the length behind (" [12.34 Sek.]  "). A line too long for the window loses characters
  // of the file names between them.
  std::size_t LineFileLabelSize = 0;
  std::size_t LineFileLengthSize = 0;
  std::string LabelPosition = "Start-Pos.:   0 Sek.  ";
  int TrackPosition = 0;  // 0..1000
  int TrackVolume = 0;    // 0..1000, 0 (top) is full volume
  bool BtnPlayEnabled = false;
  bool BtnPauseEnabled = false;
  bool BtnStopEnabled = false;
  bool BtnWaveAppEnabled = false;
  PlayerIcon PauseIcon = PlayerIcon::kPause;
  bool CompactView = true;

  int ClientWidth() const { return CompactView ? kCompactClientWidth : kFullClientWidth; }
  int ClientHeight() const { return CompactView ? kCompactClientHeight : kFullClientHeight; }
};

}  // namespace lorix
