// Preloaded into the portal's wlr backend by scripts/wayland.sh. The backend
// (0.7) refuses to cast unless the compositor also offers each frame as a GPU
// buffer, which a headless session without a GPU never does, although the
// shared-memory frames it does offer are all a cast needs. This shim tells
// the backend of a GPU format beside every shared-memory one; the PipeWire
// streams still carry shared memory, as the backend has no GPU to allocate
// GPU buffers with.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <string.h>
#include <wayland-client.h>

// zwlr_screencopy_frame_v1's events, in the protocol's order.
struct frame_listener {
    void (*buffer)(void*, void*, uint32_t, uint32_t, uint32_t, uint32_t);
    void (*flags)(void);
    void (*ready)(void);
    void (*failed)(void);
    void (*damage)(void);
    void (*linux_dmabuf)(void*, void*, uint32_t, uint32_t, uint32_t);
    void (*buffer_done)(void);
};

static const struct frame_listener* inner;
static struct frame_listener outer;

// wl_shm formats are DRM fourcc codes except the first two.
static uint32_t drm_format(uint32_t shm_format) {
    if (shm_format == 0) {
        return 0x34325241; // AR24
    }
    if (shm_format == 1) {
        return 0x34325258; // XR24
    }
    return shm_format;
}

static void buffer(void* data, void* frame, uint32_t format, uint32_t width, uint32_t height,
                   uint32_t stride) {
    inner->buffer(data, frame, format, width, height, stride);
    inner->linux_dmabuf(data, frame, drm_format(format), width, height);
}

int wl_proxy_add_listener(struct wl_proxy* proxy, void (**implementation)(void), void* data) {
    static int (*real)(struct wl_proxy*, void (**)(void), void*);
    if (real == NULL) {
        real = (int (*)(struct wl_proxy*, void (**)(void), void*))dlsym(RTLD_NEXT,
                                                                       "wl_proxy_add_listener");
    }
    if (strcmp(wl_proxy_get_class(proxy), "zwlr_screencopy_frame_v1") != 0) {
        return real(proxy, implementation, data);
    }
    // The backend has one table for every frame; its copy is made once.
    if (inner != (const struct frame_listener*)implementation) {
        inner = (const struct frame_listener*)implementation;
        outer = *inner;
        outer.buffer = buffer;
    }
    return real(proxy, (void (**)(void))&outer, data);
}
