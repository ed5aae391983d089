#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

// Imaging sits below stitching: the long document uses the image coding and
// rendering, never the other way round.
TEST(ImagingLayer, includesNothingFromStitching) {
    QDirIterator files(QStringLiteral(VELLUMIX_SOURCE_DIR "/core/imaging"), {"*.h", "*.cpp"},
                       QDir::Files);
    int read = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        EXPECT_FALSE(file.readAll().contains("#include \"stitching/"))
            << file.fileName().toStdString();
        ++read;
    }
    EXPECT_GT(read, 10);
}
