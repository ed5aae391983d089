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

using QueueTest = BridgeTest;

TEST_F(QueueTest, everyRequestEntryIsAnsweredOnceAndRemovedWithoutTouchingWhatLinksPointTo) {
    const QString outside = home.path() + "/outside";
    QDir().mkpath(outside + "/folder");
    writeFile(outside + "/file.json", request("permissions.status"));
    writeFile(outside + "/folder/keep", "keep");
    const QByteArray status = request("permissions.status");
    const auto answered = [&](const std::function<void(const QString& path)>& make,
                              const char* expected) {
        // Upper-case hexadecimal digits name a request as well.
        const QString name = newName().toUpper().replace(".JSON", ".json");
        make(requests() + name);
        pass();
        EXPECT_EQ(code(response(name).value_or(QJsonObject())), expected);
        EXPECT_FALSE(QFileInfo(requests() + name).exists() ||
                     QFileInfo(requests() + name).isSymLink());
        EXPECT_EQ(modeOf(responses() + name), 0600u);
    };
    const std::tuple<const char*, QByteArray, const char*> files[] = {
        {"fresh", status, "ok"},
        {"59.9 s old", request("permissions.status", {}, 59.9), "ok"},
        {"59.9 s ahead", request("permissions.status", {}, -59.9), "ok"},
        {"60 s old", request("permissions.status", {}, 60), "expired_request"},
        {"60 s ahead", request("permissions.status", {}, -60), "expired_request"},
        {"created as text", R"({"operation":"displays.list","created":"now"})", "expired_request"},
        {"no operation", "{\"created\":" + QByteArray::number(clock.time) + "}", "expired_request"},
        {"array", "[" + status + "]", "expired_request"},
        {"text", R"("text")", "expired_request"},
        {"number", " 3 ", "expired_request"},
        {"two numbers", "3,4", "operation_failed"},
        {"not JSON", "{\"operation\":", "operation_failed"},
        {"2,000,000 bytes", status + QByteArray(2'000'000 - status.size(), ' '), "ok"},
        {"2,000,001 bytes", status + QByteArray(2'000'001 - status.size(), ' '), "invalid_request"},
        {"unknown operation", request("screen.erase"), "unknown_operation"},
    };
    for (const auto& [what, content, expected] : files) {
        SCOPED_TRACE(what);
        answered([&](const QString& path) { writeFile(path, content); }, expected);
    }
    // Entries that are no plain files are refused.
    const std::pair<std::function<void(const QString& path)>, const char*> others[] = {
        {[&](auto p) { QFile::link(outside + "/file.json", p); }, "link to a file"},
        {[&](auto p) { QFile::link(outside + "/folder", p); }, "link to a folder"},
        {[](auto p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); }, "pipe"},
        {[&](auto p) {
             QDir().mkpath(p + "/inner");
             QFile::link(outside + "/folder", p + "/inner/out");
         },
         "directory holding a link out"},
    };
    for (const auto& [make, what] : others) {
        SCOPED_TRACE(what);
        answered(make, "invalid_request");
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
    QStringList valid;
    for (int i = 0; i < 9; ++i) {
        strays.append(QStringLiteral("00000000-%1.json").arg(i));
        valid.append(QStringLiteral("ffffffff-0000-0000-0000-00000000000%1.json").arg(i));
    }
    for (const QString& name : strays + valid) {
        writeFile(requests() + name, request("permissions.status"));
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
    // Whether a bridge for `owner` serves once `make` has prepared the root.
    const auto serves = [&](const std::function<void()>& make, uid_t owner = ::getuid()) {
        bridge.reset();
        QDir(home.path() + "/Vellumix").removeRecursively();
        QDir().mkpath(home.path() + "/Vellumix");
        make();
        start(owner);
        return bridge->serving();
    };
    EXPECT_FALSE(serves([&] { writeFile(root(), ""); }));
    EXPECT_FALSE(serves([&] {
        QDir().mkpath(home.path() + "/elsewhere");
        QFile::link(home.path() + "/elsewhere", root());
    }));
    EXPECT_FALSE(serves([&] {
        QDir().mkpath(requests());
        writeFile(root() + "/responses", "");
    }));
    EXPECT_FALSE(serves([] {}, ::getuid() + 1));
    EXPECT_TRUE(serves([&] {
        QDir().mkpath(requests());
        ::chmod(QFile::encodeName(requests()).constData(), 0777);
    }));
    EXPECT_EQ(modeOf(requests()), 0700u);
    // A relative data home is ignored; the client test finds the queue under
    // an absolute one.
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "relative/home");
    EXPECT_EQ(QueueFolders::defaultRoot(), QDir::homePath() + "/.local/share/Vellumix/Automation");
    qputenv("XDG_DATA_HOME", saved);
}

TEST_F(QueueTest, noPassRunsWhileAModalDialogIsOpen) {
    const QString name = newName();
    writeFile(requests() + name, request("permissions.status"));
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
