// The tests that run on Wayland need a real Wayland session: run them
// through scripts/wayland.sh, or scripts/gnome.sh for GNOME's (scripts/test.sh
// does both). Without one they fail rather than pass unseen.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("SWAYSOCK") &&
        qEnvironmentVariableIsEmpty("VELLUMIX_GNOME_STATE")) {
        std::fprintf(stderr, "No Wayland session: run these tests under scripts/wayland.sh or "
                             "scripts/gnome.sh\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
