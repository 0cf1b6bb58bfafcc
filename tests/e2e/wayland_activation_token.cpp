// What a launcher does before it starts a program on a Wayland desktop: it asks the compositor
// for an activation token (xdg_activation_v1) and hands it to the program. Prints the token on
// one line and stays connected until it is ended (or after the given seconds), so that the
// token stays valid while the test uses it.
//   wayland_activation_token [SECONDS]

#include <wayland-client.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "xdg-activation-v1-client-protocol.h"

namespace {

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t /*version*/) {
  if (std::strcmp(interface, xdg_activation_v1_interface.name) != 0) return;
  *static_cast<xdg_activation_v1**>(data) = static_cast<xdg_activation_v1*>(
      wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void OnGlobalRemove(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

constexpr wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void OnDone(void* data, xdg_activation_token_v1* /*token*/, const char* token) {
  *static_cast<std::string*>(data) = token;
}

constexpr xdg_activation_token_v1_listener kTokenListener = {OnDone};

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fputs("wayland_activation_token: no Wayland display\n", stderr);
    return 1;
  }
  xdg_activation_v1* activation = nullptr;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &activation);
  wl_display_roundtrip(display);
  if (activation == nullptr) {
    std::fputs("wayland_activation_token: the compositor has no xdg_activation_v1\n", stderr);
    return 1;
  }
  std::string token;
  xdg_activation_token_v1* request = xdg_activation_v1_get_activation_token(activation);
  xdg_activation_token_v1_add_listener(request, &kTokenListener, &token);
  xdg_activation_token_v1_commit(request);
  while (token.empty() && wl_display_dispatch(display) >= 0) {
  }
  if (token.empty()) return 1;
  std::printf("%s\n", token.c_str());
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  xdg_activation_token_v1_destroy(request);
  xdg_activation_v1_destroy(activation);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return 0;
}
