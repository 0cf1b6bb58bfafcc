#pragma once

// The player's handlers and state without a toolkit: start-up and file loading, the play,
// pause and stop buttons, the track bars and the 100 ms timer, the routing of commands and
// keys, and the information, link and tool buttons. The window routes its events here and
// shows `screen()` afterwards; tests drive the same handlers over test backends.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "audio/dialogs.h"
#include "audio/mixer.h"
#include "audio/wave_playback.h"
#include "codec/attachment.h"
#include "codec/codec_tables.h"
#include "codec/temp_folder_hold.h"
#include "player/player_screen.h"

namespace lorix {

// What the player needs from the desktop and the sound system. Only `send_command` is
// required; a missing service does nothing (and a missing lookup finds nothing).
struct PlayerServices {
  // The media-control service (MciService::MciSendString in the program).
  std::function<int(const std::string& command, std::string& reply)> send_command;
  // The service's text for an error number (MciGetErrorString unless replaced).
  std::function<std::string(int code)> error_text;
  // The program the desktop opens WAV files with, as a path; empty when there is none.
  std::function<std::string(const std::string& wav_file)> find_wave_application;
  // Opens a file or URL with the desktop's program; the result is not looked at.
  std::function<void(const std::string& target)> open;
  // Starts the desktop's volume control; a result below 31 means it did not start.
  std::function<int()> start_system_mixer;
  // Puts plain text on the clipboard; false when the clipboard could not be opened or set.
  std::function<bool(const std::string& text)> copy_to_clipboard;
  // The file the desktop's text viewer is given for the information text (stored in the
  // Western code page): a converted copy where viewers expect UTF-8. Without it the stored file
  // itself is shown, as Windows viewers read it.
  std::function<std::filesystem::path(const std::filesystem::path& info_file)> info_text_view;
  // Shows the screen now, without handling events: decoding blocks the window meanwhile.
  std::function<void()> repaint;
  // Waits the short moment the media service gets to let go when the program ends.
  std::function<void()> shutdown_wait;
};

struct PlayerSetup {
  // The current directory: "TEMPs" is made and written here, or in the user's private folder
  // when it cannot be or another running player holds it.
  std::filesystem::path base_dir = ".";
  // The running program's own file: loaded when no file is named, never reported as foreign.
  std::filesystem::path own_executable;
  // The program's file version, major.minor.release.build.
  std::string version = "0.0.0.0";
  // An installed program writes nothing into the folder it is started from: its temporary
  // files go to the user's private folder at once.
  bool installed = false;
};

class PlayerApp {
 public:
  PlayerApp(PlayerServices services, Mixer& mixer, Dialogs& dialogs, PlayerSetup setup);

  // Start-up once the window exists: the mixer adjustments, then the first argument (or the
  // program itself) is loaded and played. `arguments` are those after the program name.
  void Start(const std::vector<std::string>& arguments);

  // Makes a file the current recording and plays it: WAV files (by content, IsWavFile)
  // directly, every other file through the extraction.
  void LoadSoundFile(const std::string& file);
  // Files dropped on the window, loaded one after the other.
  void DropFiles(const std::vector<std::string>& files);

  // Playback controls.
  void PlayPressed();
  void PausePressed();
  void StopPressed();
  void PlayerTimerTick();
  void ShowPlayerPosition(std::int32_t ms);
  std::int32_t PerMilleToMs(int value) const;
  // A track bar's own position after the user moved it (drag, click); the window reports it
  // before the scroll message that goes with it.
  void TrackBarMoved(PlayerControl bar, int value);
  void HandleSliderScroll(int code, int thumb_position, PlayerControl sender);
  void ShowDecodeProgress(std::int32_t token_number, std::int32_t samples_decoded);

  // The window's routing: a button's command, key down, key up.
  void Command(PlayerControl sender);
  void KeyDown(PlayerKey key);
  void KeyUp(PlayerKey key);

  void ToggleView();
  void ShowHelp();
  void ShowStatus(const std::string& text);
  void EnablePlayButtons();
  void EnablePlayOnly();

  // Information, links and tools.
  void OpenInfoText();
  void StartWaveApplication();
  void StartSystemMixer();
  void OpenWebPage(PlayerControl sender);
  void OpenDownloadPage(PlayerControl sender);
  void MailToAuthor(PlayerControl sender);
  void CopyToClipboard(const std::string& text);

  // The end of the program: closes a playback and waits a moment for the service.
  void PlayerShutdown();

  const PlayerScreen& screen() const { return screen_; }
  // True while a message box of a handler is open (and runs its own event loop).
  bool BoxOpen() const { return dialogs_.BoxOpen(); }
  const std::string& CurrentWavFile() const { return current_wav_file_; }
  const std::string& WaveAppName() const { return wave_app_name_; }
  const std::string& PlayerVersion() const { return setup_.version; }
  std::int32_t SampleRate() const { return extraction_.SampleRate; }
  std::int32_t PlayPositionMs() const { return play_position_ms_; }
  const PlayerExtraction& extraction() const { return extraction_; }
  // The folder this player writes its temporary files into, held for it while it runs.
  const std::filesystem::path& TempFolder() const { return temp_folder_; }
  const WavePlayback& playback() const { return playback_; }

 private:
  void FindWaveApplication();
  // The file line: a label, the file names, and the length text (may be empty).
  void ShowFileLine(const std::string& label, const std::string& files, const std::string& length);
  // Plays the current WAV file from `start_ms` at the current recording's rate.
  void PlayCurrentFrom(std::int32_t start_ms);
  void Repaint();
  // Asks an OK/Cancel question without an icon; true for OK.
  bool Ask(const std::string& caption, const std::string& text);
  std::string MailSubject() const;

  PlayerServices services_;
  Mixer& mixer_;
  CountedDialogs dialogs_;
  PlayerSetup setup_;
  TempFolderHold temp_hold_;
  std::filesystem::path temp_folder_;
  const CodecTables& tables_;
  WavePlayback playback_;
  PlayerExtraction extraction_;
  PlayerScreen screen_;
  std::string current_wav_file_;
  std::string wave_app_name_;
  std::int32_t play_position_ms_ = 0;  // the last polled position
};

}  // namespace lorix
