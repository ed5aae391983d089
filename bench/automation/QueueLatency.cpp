// How fast the automation queue answers, measured from the caller's side in
// one process: the bridge serves on the main thread while a caller thread
// renames each request into requests/ and watches responses/ with inotify.
//   bench_automation [sequential requests, default 200] [flood size, default 1000]
// 1. Latency of sequential "permissions.status" requests, rename to response
//    in place, with the folder watcher and with the 0.2-second timer alone
//    (the folder watcher silenced).
// 2. A flood written at once: every request must be answered exactly once
//    (one response rename each) and correctly; prints the time it took.

#include "automation/AgentBridge.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QUuid>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <poll.h>
#include <random>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

using namespace vellumix;
using Steady = std::chrono::steady_clock;

namespace {

class NoPins final : public PinService {
public:
    QString show(const QImage&, double) override { return {}; }
    bool close(const QString&) override { return false; }
};

// The caller's side: writes requests under hidden names, renames them into
// place and counts the response renames inotify reports.
class Caller {
public:
    explicit Caller(const QString& root) : m_root(root), m_events(inotify_init1(IN_CLOEXEC)) {
        inotify_add_watch(m_events, QFile::encodeName(root + "/responses").constData(),
                          IN_MOVED_TO);
    }
    ~Caller() { ::close(m_events); }

    QString prepare() {
        const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
        QFile file(m_root + "/requests/." + name);
        file.open(QIODevice::WriteOnly);
        const double created = double(QDateTime::currentMSecsSinceEpoch()) / 1000;
        file.write(R"({"operation":"permissions.status","created":)" +
                   QByteArray::number(created, 'f', 3) + "}");
        return name;
    }
    void submit(const QString& name) {
        QFile::rename(m_root + "/requests/." + name, m_root + "/requests/" + name + ".json");
    }
    // Waits for response renames until `done` holds; false after 60 s idle.
    template <typename Done> bool collect(Done done) {
        char buffer[64 * 1024] __attribute__((aligned(8)));
        while (!done()) {
            pollfd watched{m_events, POLLIN, 0};
            if (::poll(&watched, 1, 60000) <= 0) {
                return false;
            }
            const ssize_t n = ::read(m_events, buffer, sizeof buffer);
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && QByteArray(event->name).endsWith(".json")) {
                    ++answers[QString::fromUtf8(event->name).chopped(5)];
                }
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return true;
    }
    bool answeredCorrectly(const QString& name) const {
        QFile file(m_root + "/responses/" + name + ".json");
        file.open(QIODevice::ReadOnly);
        const QJsonObject response = QJsonDocument::fromJson(file.readAll()).object();
        return response["ok"].toBool() && response["result"]["screenRecording"].isBool();
    }
    void removeResponse(const QString& name) {
        QFile::remove(m_root + "/responses/" + name + ".json");
    }

    std::map<QString, int> answers;

private:
    QString m_root;
    int m_events;
};

double milliseconds(Steady::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Requests sent right after the previous answer would keep in step with the
// timer; a random pause before each makes them arrive as independent callers do.
void latency(Caller& caller, int count, const char* label) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(0, 200);
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const QString name = caller.prepare();
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        const auto start = Steady::now();
        caller.submit(name);
        if (!caller.collect([&] { return caller.answers.count(name) > 0; }) ||
            !caller.answeredCorrectly(name)) {
            std::printf("%s: request %d was not answered correctly\n", label, i);
            return;
        }
        times.push_back(milliseconds(Steady::now() - start));
        caller.removeResponse(name);
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) {
        return times[size_t(q * double(times.size() - 1) + 0.5)];
    };
    std::printf("%-28s %d requests: median %.2f ms, p99 %.2f ms, max %.2f ms\n", label, count,
                at(0.5), at(0.99), times.back());
}

void flood(Caller& caller, const QString& root, int count) {
    caller.answers.clear();
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names.append(caller.prepare());
    }
    const auto start = Steady::now();
    for (const QString& name : names) {
        caller.submit(name);
    }
    const bool all = caller.collect([&] { return caller.answers.size() == size_t(count); });
    const double took = milliseconds(Steady::now() - start);
    // Late duplicates would arrive within a few passes.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    caller.collect([] { return true; });
    int once = 0;
    int correct = 0;
    for (const QString& name : names) {
        once += caller.answers[name] == 1;
        correct += caller.answeredCorrectly(name);
    }
    const int left = int(QDir(root + "/requests").entryList({"*.json"}, QDir::Files).size());
    std::printf("flood of %d requests: %s in %.0f ms (%.0f requests/s); answered once %d, "
                "correct %d, answers in all %zu, requests left %d\n",
                count, all ? "all answered" : "NOT all answered", took, count / took * 1000, once,
                correct, caller.answers.size(), left);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const int sequential = argc > 1 ? std::atoi(argv[1]) : 200;
    const int floodSize = argc > 2 ? std::atoi(argv[2]) : 1000;
    QTemporaryDir home;
    const QString root = home.path() + "/Vellumix/Automation";
    const std::unique_ptr<Platform> platform = Platform::create();
    NoPins pins;
    SystemClock clock;
    AgentBridge bridge(platform->services(), pins, clock, clock, root);
    auto* watcher = bridge.findChild<QFileSystemWatcher*>();
    std::thread caller([&] {
        Caller side(root);
        latency(side, sequential, "watcher and timer");
        QMetaObject::invokeMethod(
            watcher, [watcher] { watcher->blockSignals(true); }, Qt::BlockingQueuedConnection);
        latency(side, std::min(sequential, 50), "timer alone (0.2 s poll)");
        QMetaObject::invokeMethod(
            watcher, [watcher] { watcher->blockSignals(false); }, Qt::BlockingQueuedConnection);
        flood(side, root, floodSize);
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit);
    });
    app.exec();
    caller.join();
    return 0;
}
