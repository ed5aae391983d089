// Started by scripts/wayland.sh: gives the headless seat a pointer, a virtual
// one, and holds it until killed. A seat without a pointer device offers
// clients no pointer, and `swaymsg seat seat0 cursor ...` then reaches no one.
// sway sends no motion while a button is held after `cursor set`, so drags go
// through this pointer instead: lines written to the FIFO named by its one
// argument, "move X Y LAYOUT_WIDTH LAYOUT_HEIGHT", "press" or "release" (the
// left button), each a real input event.
#include <fcntl.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

// The requests of wlr-virtual-pointer-unstable-v1 this needs, in their order.
static const struct wl_message pointer_requests[] = {{"motion", "uff", NULL},
                                                     {"motion_absolute", "uuuuu", NULL},
                                                     {"button", "uuu", NULL},
                                                     {"axis", "uuf", NULL},
                                                     {"frame", "", NULL}};
enum { motion_absolute = 1, button = 2, frame = 4 };
static const struct wl_interface pointer_interface = {"zwlr_virtual_pointer_v1", 2, 5,
                                                      pointer_requests,          0, NULL};
static const struct wl_interface* create_types[] = {&wl_seat_interface, &pointer_interface};
static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", create_types}};
static const struct wl_interface manager_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, manager_requests, 0, NULL};

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

int main(int argc, char** argv) {
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
    struct wl_proxy* pointer =
        wl_proxy_marshal_constructor(manager, 0, &pointer_interface, NULL, NULL);
    wl_display_roundtrip(display);
    // Read and written here, so the FIFO never ends when a writer closes it.
    FILE* input = argc > 1 ? fdopen(open(argv[1], O_RDWR | O_NONBLOCK), "r") : NULL;
    puts("ready");
    fflush(stdout);
    struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0},
                            {input ? fileno(input) : -1, POLLIN, 0}};
    uint32_t time = 0;
    char line[128];
    while (wl_display_flush(display) != -1 && poll(fds, 2, -1) > 0) {
        if ((fds[0].revents & POLLIN) && wl_display_dispatch(display) == -1) {
            break;
        }
        while ((fds[1].revents & POLLIN) && fgets(line, sizeof line, input) != NULL) {
            unsigned x, y, width, height;
            time += 10;
            if (sscanf(line, "move %u %u %u %u", &x, &y, &width, &height) == 4) {
                wl_proxy_marshal(pointer, motion_absolute, time, x, y, width, height);
            } else if (strncmp(line, "press", 5) == 0 || strncmp(line, "release", 7) == 0) {
                wl_proxy_marshal(pointer, button, time, 0x110 /* BTN_LEFT */, line[0] == 'p');
            }
            wl_proxy_marshal(pointer, frame);
        }
        clearerr(input ? input : stdin);
    }
    return 0;
}
