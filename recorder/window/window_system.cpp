#include "recorder/window/window_system.h"

#include "recorder/window/single_instance.h"
#include "recorder/window/wayland_activation.h"

namespace lorix {

WindowSystem RunningWindowSystem() {
  const bool wayland = RunsOnWayland();
  return {.reports_window_position = !wayland,
          .keeps_window_on_top = !wayland,
          .bring_to_front = BringToFront};
}

}  // namespace lorix
