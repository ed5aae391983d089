// Real input and a view of the screen in the headless GNOME session of
// scripts/gnome.sh, through mutter's remote desktop and screen cast
// interfaces (the ones remote-desktop servers use), so tests drive the
// desktop as a person would.
//   gnome-remote FIFO NODE_FILE
// It casts the monitor "Meta-0" with the pointer, writes the cast's PipeWire
// node to NODE_FILE (a frame of it is a screenshot), then reads lines from
// FIFO:
//   motion X Y          pointer to X, Y (the monitor's pixels)
//   button CODE 1|0     press or release a button (evdev code; 272 left)
//   axis STEPS          wheel notches, positive down
//   key KEYSYM 1|0      press or release a key (an XKB keysym name)
#include <gio/gio.h>
#include <xkbcommon/xkbcommon.h>

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static GDBusConnection* bus;
static char* remotePath;
static char* streamPath;

static GVariant* call(const char* service, const char* path, const char* interface,
                      const char* method, GVariant* arguments) {
    GError* error = NULL;
    GVariant* reply = g_dbus_connection_call_sync(bus, service, path, interface, method, arguments,
                                                  NULL, G_DBUS_CALL_FLAGS_NONE, 5000, NULL, &error);
    if (reply == NULL) {
        fprintf(stderr, "gnome-remote: %s: %s\n", method, error->message);
        exit(1);
    }
    return reply;
}

static void remote(const char* method, GVariant* arguments) {
    g_variant_unref(call("org.gnome.Mutter.RemoteDesktop", remotePath,
                         "org.gnome.Mutter.RemoteDesktop.Session", method, arguments));
}

static void handleLine(const char* line) {
    char name[64];
    double x, y;
    int code, state;
    if (sscanf(line, "motion %lf %lf", &x, &y) == 2) {
        remote("NotifyPointerMotionAbsolute", g_variant_new("(sdd)", streamPath, x, y));
    } else if (sscanf(line, "button %d %d", &code, &state) == 2) {
        remote("NotifyPointerButton", g_variant_new("(ib)", code, state != 0));
    } else if (sscanf(line, "axis %d", &code) == 1) {
        remote("NotifyPointerAxisDiscrete", g_variant_new("(ui)", 0u, code));
    } else if (sscanf(line, "key %63s %d", name, &state) == 2) {
        const xkb_keysym_t keysym = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
        if (keysym == XKB_KEY_NoSymbol) {
            fprintf(stderr, "gnome-remote: no key %s\n", name);
            return;
        }
        remote("NotifyKeyboardKeysym", g_variant_new("(ub)", keysym, state != 0));
    } else {
        fprintf(stderr, "gnome-remote: cannot read \"%s\"\n", line);
    }
}

static gboolean readInput(GIOChannel* channel, GIOCondition condition, gpointer data) {
    (void)condition;
    (void)data;
    gchar* line = NULL;
    while (g_io_channel_read_line(channel, &line, NULL, NULL, NULL) == G_IO_STATUS_NORMAL) {
        g_strchomp(line);
        handleLine(line);
        g_free(line);
    }
    return TRUE;
}

static void streamAdded(GDBusConnection* connection, const char* sender, const char* path,
                        const char* interface, const char* signal, GVariant* parameters,
                        gpointer nodeFile) {
    (void)connection, (void)sender, (void)path, (void)interface, (void)signal;
    guint32 node = 0;
    g_variant_get(parameters, "(u)", &node);
    char text[16];
    snprintf(text, sizeof text, "%u\n", node);
    g_file_set_contents(nodeFile, text, -1, NULL);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: gnome-remote FIFO NODE_FILE\n");
        return 2;
    }
    bus = g_bus_get_sync(G_BUS_TYPE_SESSION, NULL, NULL);
    GVariant* created = call("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                             "org.gnome.Mutter.RemoteDesktop", "CreateSession", NULL);
    g_variant_get(created, "(o)", &remotePath);
    GVariant* id = call("org.gnome.Mutter.RemoteDesktop", remotePath,
                        "org.freedesktop.DBus.Properties", "Get",
                        g_variant_new("(ss)", "org.gnome.Mutter.RemoteDesktop.Session", "SessionId"));
    GVariant* idValue = NULL;
    g_variant_get(id, "(v)", &idValue);
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&options, "{sv}", "remote-desktop-session-id", idValue);
    GVariant* cast = call("org.gnome.Mutter.ScreenCast", "/org/gnome/Mutter/ScreenCast",
                          "org.gnome.Mutter.ScreenCast", "CreateSession",
                          g_variant_new("(a{sv})", &options));
    char* castPath = NULL;
    g_variant_get(cast, "(o)", &castPath);
    GVariantBuilder streamOptions;
    g_variant_builder_init(&streamOptions, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&streamOptions, "{sv}", "cursor-mode", g_variant_new_uint32(1));
    GVariant* stream = call("org.gnome.Mutter.ScreenCast", castPath,
                            "org.gnome.Mutter.ScreenCast.Session", "RecordMonitor",
                            g_variant_new("(sa{sv})", "Meta-0", &streamOptions));
    g_variant_get(stream, "(o)", &streamPath);
    g_dbus_connection_signal_subscribe(bus, "org.gnome.Mutter.ScreenCast",
                                       "org.gnome.Mutter.ScreenCast.Stream",
                                       "PipeWireStreamAdded", streamPath, NULL,
                                       G_DBUS_SIGNAL_FLAGS_NONE, streamAdded, argv[2], NULL);
    remote("Start", NULL);
    // Mutter makes its virtual keyboard on the first key, on its input
    // thread, and loses the keys that come before it is ready.
    remote("NotifyKeyboardKeysym", g_variant_new("(ub)", XKB_KEY_Shift_L, TRUE));
    remote("NotifyKeyboardKeysym", g_variant_new("(ub)", XKB_KEY_Shift_L, FALSE));
    g_usleep(G_USEC_PER_SEC / 2);

    // Read and write ends both ours, so writers coming and going never end it.
    const int fifo = open(argv[1], O_RDWR | O_NONBLOCK);
    if (fifo < 0) {
        perror("gnome-remote: the input FIFO");
        return 1;
    }
    GIOChannel* input = g_io_channel_unix_new(fifo);
    g_io_add_watch(input, G_IO_IN, readInput, NULL);
    printf("ready\n");
    fflush(stdout);
    g_main_loop_run(g_main_loop_new(NULL, FALSE));
    return 0;
}
