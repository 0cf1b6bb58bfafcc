#include "player/player_window_glue.h"

#include <thread>

namespace lorix {
namespace {

constexpr std::chrono::milliseconds kRepaintInterval{40};
constexpr std::chrono::milliseconds kShutdownWait{10};

}  // namespace

PlayerWindowGlue::PlayerWindowGlue(PlayerApp& app, Clock clock)
    : app_(app), clock_(clock ? std::move(clock) : Clock(&std::chrono::steady_clock::now)) {}

bool PlayerWindowGlue::RepaintDue() {
  const auto now = clock_();
  if (last_repaint_ && now - *last_repaint_ < kRepaintInterval) return false;
  last_repaint_ = now;
  return true;
}

bool PlayerWindowGlue::TimerTick() {
  if (in_timer_) return false;
  in_timer_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{in_timer_};
  app_.PlayerTimerTick();
  return true;
}

void PlayerWindowGlue::Scroll(PlayerControl bar, int code, int bar_position, int thumb_position) {
  if (bar != PlayerControl::kTrackPosition && bar != PlayerControl::kTrackVolume) return;
  if (code != kScrollEndScroll) app_.TrackBarMoved(bar, bar_position);
  app_.HandleSliderScroll(code, code == kScrollThumbTrack ? thumb_position : bar_position, bar);
}

bool PlayerWindowGlue::DropFiles(const std::vector<std::string>& files) {
  if (!DropAllowed()) return false;
  app_.DropFiles(files);
  return true;
}

void WaitForMediaService() {
  std::this_thread::sleep_for(kShutdownWait);
}

}  // namespace lorix
