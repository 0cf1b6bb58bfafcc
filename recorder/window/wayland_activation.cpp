#include "recorder/window/wayland_activation.h"

#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <QGuiApplication>
#include <QString>
#include <QWindow>
#include <cstdint>
#include <cstring>

#include "xdg-activation-v1-client-protocol.h"

namespace lorix {
namespace {

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t /*version*/) {
  if (std::strcmp(interface, xdg_activation_v1_interface.name) != 0) return;
  auto** activation = static_cast<xdg_activation_v1**>(data);
  if (*activation != nullptr) return;
  *activation = static_cast<xdg_activation_v1*>(
      wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void OnGlobalRemove(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

constexpr wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

}  // namespace

bool RunsOnWayland() {
  return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

bool ActivateWithToken(QWindow* window, const QString& token) {
  if (window == nullptr || token.isEmpty() || !RunsOnWayland()) return false;
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  if (native == nullptr) return false;
  auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
  auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", window));
  if (display == nullptr || surface == nullptr) return false;

  // A registry on a queue of its own: Qt's event thread never dispatches these objects, and
  // the round trip below waits for nothing of Qt's.
  wl_event_queue* queue = wl_display_create_queue(display);
  auto* display_on_queue = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(display_on_queue), queue);
  wl_registry* registry = wl_display_get_registry(display_on_queue);
  wl_proxy_wrapper_destroy(display_on_queue);
  xdg_activation_v1* activation = nullptr;
  wl_registry_add_listener(registry, &kRegistryListener, &activation);
  const bool listed = wl_display_roundtrip_queue(display, queue) >= 0;
  const bool asked = listed && activation != nullptr;
  if (activation != nullptr) {
    xdg_activation_v1_activate(activation, token.toUtf8().constData(), surface);
    xdg_activation_v1_destroy(activation);
  }
  wl_registry_destroy(registry);
  wl_display_flush(display);
  wl_event_queue_destroy(queue);
  return asked;
}

}  // namespace lorix
