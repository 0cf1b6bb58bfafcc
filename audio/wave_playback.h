#pragma once

// Playback of WAV files through the media-control service: the state both programs keep about
// the file that plays, the command strings they send under the alias "mciAlias", the
// position display with its start-position slider (0..1000), the play, pause, stop and slider
// handlers with their status texts, and the button that opens the file with the associated
// application. Widgets only show what this object holds and route their events here.

#include <cstdint>
#include <functional>
#include <string>

#include "audio/dialogs.h"

namespace lorix {

class WavePlayback {
 public:
  // What the object needs from its surroundings. Only `send_command` is required.
  struct Services {
    // Sends a command string to the media-control service; fills the reply of status
    // commands and returns 0 or an error number (MciService::MciSendString in the programs).
    std::function<int(const std::string& command, std::string& reply)> send_command;
    // The service's text for an error number (MciGetErrorString unless replaced).
    std::function<std::string(int code)> error_text;
    // The program associated with WAV files, as a path, or empty when there is none.
    std::function<std::string(const std::string& file)> find_application;
    // Opens a file with its associated application.
    std::function<void(const std::string& file)> open_file;
    // The timer's device refresh that runs before the position is polled (mixer sliders).
    std::function<void()> refresh_devices;
    // Derives the form's enabled states after a handler has run.
    std::function<void()> update_controls;
  };

  // The start-application button as the form shows it.
  struct ApplicationButton {
    bool enabled = false;
    std::string hint = "Wave-Datei mit verknüpfter Anwendung öffnen";
    std::string caption = "Externe Anwdg.";
  };

  static constexpr int kSliderMax = 1000;
  static constexpr int kScrollThumbTrack = 5;
  static constexpr int kScrollEndScroll = 8;

  WavePlayback(Services services, Dialogs& dialogs);

  // The rate of the current sound, used for every conversion between ms and samples.
  void SetCurrentSampleRate(std::int32_t rate) { current_sample_rate_ = rate; }
  std::int32_t CurrentSampleRate() const { return current_sample_rate_; }

  // Playback state.
  const std::string& PlayFile() const { return play_file_; }
  bool PlaybackActive() const { return playback_active_; }
  bool PlaybackPaused() const { return playback_paused_; }
  std::int32_t PlayLengthSamples() const { return play_length_samples_; }
  std::int32_t PlayPositionMs() const { return play_position_ms_; }
  const std::string& PlayLengthText() const { return play_length_text_; }
  const std::string& WaveAppName() const { return wave_app_name_; }
  bool WaveAppLooked() const { return wave_app_looked_; }
  // For a program that counts the length itself while it decodes, and shows its own text.
  void SetPlayLengthSamples(std::int32_t samples) { play_length_samples_ = samples; }
  void SetPlayLengthText(std::string text) { play_length_text_ = std::move(text); }

  // What the form shows.
  const std::string& LabelPlayPos() const { return label_play_pos_; }
  const std::string& LabelPlayStatus() const { return label_play_status_; }
  const std::string& LabelPlayFile() const { return label_play_file_; }
  int ScrollbarPlay() const { return scrollbar_play_; }
  const ApplicationButton& ButtonStartApplication() const { return button_start_application_; }

  // Opens `file` and plays it from `start_ms` (a running playback is closed first). Returns
  // the result of the last command sent.
  int PlayWave(const std::string& file, std::int32_t start_ms);
  // The position in ms; 0 (after a message) when the query fails.
  std::int32_t GetPlayPosition();
  void TogglePause();
  void ClosePlayback();
  // Makes `file` the one the play controls act on, and plays it when `play_now`.
  int SetPlayFile(const std::string& file, bool play_now);
  void ShowPlayStatus(const std::string& text) { label_play_status_ = text; }
  // Position text and slider; reaching the end of the file stops the playback.
  void ShowPlayPosition(std::int32_t ms);
  // A slider value 0..1000 as a position in ms.
  std::int32_t PerMilleToMs(int value) const;
  // The timer's work every 100 ms: the device refresh, then the position while playing.
  void PeriodicRefresh();

  // Button and slider handlers. The stop button's level-setting step belongs to the
  // recording workflow, which runs it before calling ButtonStopClick.
  void ButtonPlayClick();
  void ButtonPauseClick();
  void ButtonStopClick();
  void ScrollbarPlayPosScroll(int scroll_code, int position);
  void ButtonStartApplicationClick();

  // Looks up the application associated with WAV files and sets up the button with it.
  void FindWaveApplication(const std::string& file);

 private:
  // Stops the playback (resuming a paused one first) and reports where it stopped.
  void StopPlayback();
  int Send(const std::string& command);
  int Send(const std::string& command, std::string& reply);
  // Shows a failed command's error: prefix + the service's text.
  void MciErrorText(const std::string& prefix, int code);
  void UpdateControls();

  Services services_;
  Dialogs& dialogs_;
  std::int32_t current_sample_rate_ = 11025;

  std::string play_file_;
  bool playback_active_ = false;
  bool playback_paused_ = false;
  std::int32_t play_length_samples_ = 0;
  std::int32_t play_position_ms_ = 0;
  std::string play_length_text_;
  std::string wave_app_name_;
  bool wave_app_looked_ = false;

  std::string label_play_pos_ = "Position:";
  std::string label_play_status_ = "(Play-Status)";
  std::string label_play_file_ = "(-)";
  int scrollbar_play_ = 0;
  ApplicationButton button_start_application_;
};

}  // namespace lorix
