// Started by scripts/wayland.sh: gives the headless seat a pointer, a virtual
// one, and holds it until killed. A seat without a pointer device offers
// clients no pointer, and `swaymsg seat seat0 cursor ...` then reaches no one.
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

// The two requests of wlr-virtual-pointer-unstable-v1 this needs.
static const struct wl_interface pointer_interface = {"zwlr_virtual_pointer_v1", 2, 0, NULL, 0,
                                                      NULL};
static const struct wl_interface* create_types[] = {&wl_seat_interface, &pointer_interface};
static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", create_types}};
static const struct wl_interface manager_interface = {"zwlr_virtual_pointer_manager_v1", 1, 1,
                                                      manager_requests, 0, NULL};

static struct wl_proxy* manager;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, manager_interface.name) == 0) {
        manager = wl_registry_bind(registry, name, &manager_interface, 1);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) {
        fprintf(stderr, "wayland-pointer: no Wayland display\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (manager == NULL) {
        fprintf(stderr, "wayland-pointer: the compositor offers no virtual pointers\n");
        return 1;
    }
    wl_proxy_marshal_constructor(manager, 0, &pointer_interface, NULL, NULL);
    wl_display_roundtrip(display);
    puts("ready");
    fflush(stdout);
    while (wl_display_dispatch(display) != -1) {
    }
    return 0;
}
