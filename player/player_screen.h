#pragma once

// What the player's window shows, as plain data. The handlers change it; the window copies it
// onto its widgets after every event (and during decoding, when the handlers ask for a
// repaint). Nothing in here knows a toolkit.

#include <cstddef>
#include <string>

namespace lorix {

// The player's pictures: the window icon and the icons of the buttons and the speaker.
enum class PlayerIcon { kMainIcon, kPlay, kPause, kPausing, kStop, kLorix, kMixer, kSpeaker };

// The window's controls: those that send commands or scroll messages, the texts, the frames
// and the speaker (player_controls.h lays them out). kKeyboard stands for a key message's own
// parameter given to a handler as its sender: never one of the controls.
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
  kLineStatus,
  kLabelPosition,
  kLabelInternet,
  kIconSpeaker,
  kFramePlay,
  kFramePosition,
  kFrameTools,
  kFrameVolume,
  kFrameStatus,
  kFrameLinks,
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
};

}  // namespace lorix
