#pragma once

// What both player windows do between their toolkit and the handlers: the throttled repaint
// while a recording is decoded, the 100 ms timer that never runs into itself, the track bars'
// scroll messages, drops refused while a message box is open, and the close. The windows only
// translate their toolkit's events into these calls.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/wav_application.h"
#include "player/player_app.h"

namespace lorix {

// The period of the handlers' timer.
inline constexpr std::chrono::milliseconds kPlayerTimerPeriod{100};

class PlayerWindowGlue {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `app` must outlive the glue; `clock` is the steady clock unless a test gives its own.
  explicit PlayerWindowGlue(PlayerApp& app, Clock clock = {});

  // Whether a repaint asked for while decoding is to be drawn now. Decoding asks every few
  // thousand tokens; showing it 25 times a second is enough, and drawing more often only
  // delays the sound.
  bool RepaintDue();

  // A tick of the timer: PlayerTimerTick, unless the previous tick is still going on (a
  // message box of a handler lets further ticks through its event loop). True when the tick
  // ran and the window is to show the screen.
  bool TimerTick();

  // A track bar's scroll message. The bar has moved itself; the handlers learn its place
  // (`bar_position`) before the scroll code. A thumb-track code reports the thumb's place,
  // `thumb_position`; every other code the bar's. Other senders are ignored.
  void Scroll(PlayerControl bar, int code, int bar_position, int thumb_position);

  // Whether files may be dropped now: not while a message box of a handler is open, whose
  // handler would go on with the dropped file's state once the box is closed.
  bool DropAllowed() const { return !app_.BoxOpen(); }
  // Loads dropped files one after the other; false (and nothing loaded) when DropAllowed is not.
  bool DropFiles(const std::vector<std::string>& files);

  // The window closes: PlayerShutdown.
  void Close() { app_.PlayerShutdown(); }

 private:
  PlayerApp& app_;
  Clock clock_;
  std::optional<std::chrono::steady_clock::time_point> last_repaint_;
  bool in_timer_ = false;
};

// The short wait at the end, in which the media service lets go of its device.
void WaitForMediaService();

}  // namespace lorix
