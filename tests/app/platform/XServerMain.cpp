// The tests of the X11 services need a real X server: run them through
// scripts/xserver.sh (scripts/test.sh does). Without one they fail rather
// than pass unseen.
//   test_app_platform_x11 [--screen-scale-factors=NAME=SCALE] [gtest options]

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "DISPLAY is not set: run these tests under scripts/xserver.sh\n");
        return 1;
    }
    // --screen-scale-factors=NAME=SCALE gives a screen a scale before Qt starts.
    const QByteArray scaleOption("--screen-scale-factors=");
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).startsWith(scaleOption)) {
            qputenv("QT_SCREEN_SCALE_FACTORS", QByteArray(argv[i]).mid(scaleOption.size()));
        }
    }
    // Widgets need a QApplication; it serves window-only tests as well.
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
