#include "shell/SingleInstance.h"

#include "fakes/Awaited.h"
#include "fakes/WidgetTestApp.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

// The second launch blocks while it hands over, so it runs on another thread
// and the first instance answers from this thread's event loop.
bool forwardFromAnotherLaunch(const QString& folder, const QStringList& files) {
    QFuture<bool> done = QtConcurrent::run([folder, files] {
        SingleInstance second(folder);
        return !second.claim() && second.forward(files);
    });
    return awaited(done).result();
}

} // namespace

TEST(SingleInstance, secondLaunchHandsItsFilesOrAReopenToTheFirst) {
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_TRUE(first.claim());
    QSignalSpy files(&first, &SingleInstance::filesReceived);
    QSignalSpy reopen(&first, &SingleInstance::reopenRequested);

    const QStringList paths{QStringLiteral("/tmp/a b.png"), QStringLiteral("/tmp/ü.jpg")};
    EXPECT_TRUE(forwardFromAnotherLaunch(folder.path(), paths));
    ASSERT_EQ(files.count(), 1);
    EXPECT_EQ(files.at(0).at(0).toStringList(), paths);

    EXPECT_TRUE(forwardFromAnotherLaunch(folder.path(), {}));
    EXPECT_EQ(reopen.count(), 1);
    EXPECT_EQ(files.count(), 1);
}

TEST(SingleInstance, socketLeftByACrashedInstanceDoesNotBlockTheNextLaunch) {
    QTemporaryDir folder;
    QFile stale(folder.filePath(QStringLiteral("vellumix.socket")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance first(folder.path());
    EXPECT_TRUE(first.claim()) << first.error().toStdString();
}
