#include "BridgeFixture.h"
#include "fakes/WidgetTestApp.h"

#include <QDialog>

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace vellumix {
namespace {

mode_t modeOf(const QString& path) {
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

using QueueTest = BridgeTest;

TEST_F(QueueTest, everyRequestEntryIsAnsweredOnceAndRemovedWithoutTouchingWhatLinksPointTo) {
    const QString outside = home.path() + "/outside";
    QDir().mkpath(outside + "/folder");
    writeFile(outside + "/file.json", request("permissions.status"));
    writeFile(outside + "/folder/keep", "keep");
    const QByteArray fresh = request("permissions.status");
    struct Case {
        const char* what;
        std::function<void(const QString& path)> make;
        const char* code;
    };
    const Case cases[] = {
        {"fresh", [&](auto p) { writeFile(p, fresh); }, "ok"},
        {"59.9 s old", [&](auto p) { writeFile(p, request("permissions.status", {}, 59.9)); },
         "ok"},
        {"59.9 s ahead", [&](auto p) { writeFile(p, request("permissions.status", {}, -59.9)); },
         "ok"},
        {"60 s old", [&](auto p) { writeFile(p, request("permissions.status", {}, 60)); },
         "expired_request"},
        {"60 s ahead", [&](auto p) { writeFile(p, request("permissions.status", {}, -60)); },
         "expired_request"},
        {"created as text",
         [&](auto p) { writeFile(p, R"({"operation":"displays.list","created":"now"})"); },
         "expired_request"},
        {"no operation",
         [&](auto p) { writeFile(p, "{\"created\":" + QByteArray::number(clock.time) + "}"); },
         "expired_request"},
        {"array", [&](auto p) { writeFile(p, "[" + fresh + "]"); }, "expired_request"},
        {"not JSON", [&](auto p) { writeFile(p, "{\"operation\":"); }, "operation_failed"},
        {"2,000,000 bytes",
         [&](auto p) { writeFile(p, fresh + QByteArray(2'000'000 - fresh.size(), ' ')); }, "ok"},
        {"2,000,001 bytes",
         [&](auto p) { writeFile(p, fresh + QByteArray(2'000'001 - fresh.size(), ' ')); },
         "invalid_request"},
        {"directory",
         [&](auto p) {
             QDir().mkpath(p + "/inner/deeper");
             writeFile(p + "/inner/x", fresh);
         },
         "invalid_request"},
        {"link to a file outside", [&](auto p) { QFile::link(outside + "/file.json", p); },
         "invalid_request"},
        {"link to a folder outside", [&](auto p) { QFile::link(outside + "/folder", p); },
         "invalid_request"},
        {"pipe", [&](auto p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); },
         "invalid_request"},
        {"unknown operation", [&](auto p) { writeFile(p, request("screen.erase")); },
         "unknown_operation"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = newName().toUpper().replace(".JSON", ".json");
        c.make(requests() + name);
        pass();
        EXPECT_EQ(code(response(name).value_or(QJsonObject())), c.code);
        EXPECT_FALSE(QFileInfo(requests() + name).exists() ||
                     QFileInfo(requests() + name).isSymLink());
        EXPECT_EQ(modeOf(responses() + name), 0600u);
    }
    EXPECT_EQ(response(newName()), std::nullopt);
    QFile kept(outside + "/folder/keep");
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "keep");
    EXPECT_TRUE(QFileInfo::exists(outside + "/file.json"));
    for (const QString& folder : {root(), requests(), responses()}) {
        EXPECT_EQ(modeOf(folder), 0700u) << folder.toStdString();
    }
}

TEST_F(QueueTest, otherNamesStayUnansweredAndDoNotCountTowardEightRequestsAPass) {
    QStringList strays = {"notes.json", "0123.json",
                          QUuid::createUuid().toString(QUuid::WithoutBraces) + ".JSON"};
    for (int i = 0; i < 9; ++i) {
        strays.append(QStringLiteral("00000000-%1.json").arg(i));
    }
    QStringList valid;
    for (int i = 0; i < 9; ++i) {
        valid.append(QStringLiteral("ffffffff-0000-0000-0000-00000000000%1.json").arg(i));
    }
    for (const QString& name : strays + valid) {
        drop(name, request("permissions.status"));
    }
    pass();
    for (const QString& name : strays + valid.mid(0, 8)) {
        EXPECT_EQ(QFileInfo::exists(requests() + name), strays.contains(name))
            << name.toStdString();
        EXPECT_EQ(response(name).has_value(), valid.contains(name)) << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(requests() + valid.last()));
    pass();
    EXPECT_TRUE(response(valid.last()).has_value());
}

TEST_F(QueueTest, responsesOlderThanTwoMinutesAreRemovedOnAnyPass) {
    const QString outside = home.path() + "/outside.txt";
    writeFile(outside, "keep");
    QFile::link(outside, responses() + "link.json");
    writeFile(responses() + "old.json", "{}");
    writeFile(responses() + "stray.txt", "");
    writeFile(responses() + "recent.json", "{}");
    clock.time = std::floor(clock.time);
    const auto age = [&](const char* name, double seconds) {
        const timespec at{time_t(clock.time - seconds), 0};
        const timespec times[2] = {at, at};
        ::utimensat(AT_FDCWD, QFile::encodeName(responses() + name).constData(), times,
                    AT_SYMLINK_NOFOLLOW);
    };
    age("link.json", 121);
    age("old.json", 121);
    age("stray.txt", 500);
    age("recent.json", 120);
    pass();
    EXPECT_EQ(QDir(responses()).entryList(QDir::Files | QDir::System), QStringList{"recent.json"});
    EXPECT_TRUE(QFileInfo::exists(outside));
}

TEST_F(QueueTest, unusableFoldersLeaveTheBridgeIdleAndWiderOnesAreTightened) {
    const auto rootIs = [&](const std::function<void()>& make) {
        bridge.reset();
        QDir(home.path() + "/Vellumix").removeRecursively();
        QDir().mkpath(home.path() + "/Vellumix");
        make();
    };
    rootIs([&] { writeFile(root(), ""); });
    start();
    EXPECT_FALSE(bridge->serving());
    rootIs([&] {
        QDir().mkpath(home.path() + "/elsewhere");
        QFile::link(home.path() + "/elsewhere", root());
    });
    start();
    EXPECT_FALSE(bridge->serving());
    rootIs([&] {
        QDir().mkpath(requests());
        writeFile(root() + "/responses", "");
    });
    start();
    EXPECT_FALSE(bridge->serving());
    rootIs([] {});
    start(::getuid() + 1);
    EXPECT_FALSE(bridge->serving());
    rootIs([&] {
        QDir().mkpath(requests());
        ::chmod(QFile::encodeName(requests()).constData(), 0777);
    });
    start();
    EXPECT_TRUE(bridge->serving());
    EXPECT_EQ(modeOf(requests()), 0700u);
}

TEST_F(QueueTest, queueLivesUnderAnAbsoluteDataHomeOnly) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(QueueFolders::defaultRoot(), "/data/home/Vellumix/Automation");
    qputenv("XDG_DATA_HOME", "relative/home");
    EXPECT_EQ(QueueFolders::defaultRoot(), QDir::homePath() + "/.local/share/Vellumix/Automation");
    qputenv("XDG_DATA_HOME", saved);
}

TEST_F(QueueTest, noPassRunsWhileAModalDialogIsOpen) {
    const QString name = newName();
    drop(name, request("permissions.status"));
    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QSignalSpy finished(bridge.get(), &AgentBridge::passFinished);
    bridge->poll();
    EXPECT_TRUE(finished.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(requests() + name));
    dialog.close();
    pass();
    EXPECT_EQ(code(*response(name)), "ok");
}

} // namespace
} // namespace vellumix
