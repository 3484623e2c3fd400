#include "app/WaylandActivation.h"

#include "xdg-activation-v1-client.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

namespace WaylandActivation {
namespace {

struct Globals {
    xdg_activation_v1* activation = nullptr;
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t /*version*/) {
    auto* globals = static_cast<Globals*>(data);
    if (!globals->activation && std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        globals->activation = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void GlobalRemoved(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener kListener = {Global, GlobalRemoved};

} // namespace

bool Activate(QWindow* window, const QString& token) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!window || token.isEmpty() || !native ||
        !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return false;
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", window));
    if (!display || !surface)
        return false;
    // The globals are asked for on a queue of our own, so that Qt's own queue never sees the
    // answers and nothing else of Qt's is touched.
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), queue);
    wl_registry* registry = wl_display_get_registry(wrapped);
    Globals globals;
    wl_registry_add_listener(registry, &kListener, &globals);
    wl_display_roundtrip_queue(display, queue);
    const bool offered = globals.activation != nullptr;
    if (offered) {
        xdg_activation_v1_activate(globals.activation, token.toUtf8().constData(), surface);
        xdg_activation_v1_destroy(globals.activation);
    }
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapped);
    wl_display_flush(display);
    wl_event_queue_destroy(queue);
    return offered;
}

} // namespace WaylandActivation
