#include "DocumentFrames.h"

#include "api/OutputFile.h"
#include "imaging/PngCodec.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

// Measures how much resident memory assembling a 3,000 × 30,000 document adds
// on top of what the document already holds, against the size of the bitmap
// it produces. Each case runs in its own child process so that one case's
// freed-but-kept heap cannot hide another's peak.
namespace vellumix::bench {
namespace {

constexpr double mebibyte = 1024.0 * 1024.0;
constexpr int64_t documentWidth = 3000;
constexpr int stripRows = 200;

double statusMiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
        }
    }
    return -1;
}

// Linux resets the VmHWM high-water mark to the current resident size.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear.flush());
}

struct Case {
    const char* name;
    std::function<int64_t(const LongDocument&)> run; // returns the output bitmap's bytes
};

const Case cases[] = {
    {"image(maximumWidth: 600)",
     [](const LongDocument& d) {
         return d.image(600).sizeInBytes();
     }},
    {"image()",
     [](const LongDocument& d) {
         return d.image().sizeInBytes();
     }},
    {"image() saved as PNG",
     [](const LongDocument& d) {
         const QString path = QDir::temp().filePath("vellumix-peak-memory.png");
         OutputFile::write(path, encodePng(d.image()), true);
         QFile::remove(path);
         return int64_t(d.width() * d.height() * 4);
     }},
};

void runCase(const Case& c) {
    const LongDocument document = documentOfStrips(int(documentWidth), 150);
    malloc_trim(0);
    const bool reset = resetPeak();
    const double before = statusMiB("VmRSS");
    const double target = double(c.run(document)) / mebibyte;
    const double added = statusMiB("VmHWM") - before;
    const double strip = double(documentWidth * stripRows * 4) / mebibyte;
    std::printf("%-26s target %7.1f MiB  one strip %4.1f MiB  peak added %7.1f MiB  "
                "excess over target+strip %6.1f MiB%s\n",
                c.name, target, strip, added, added - target - strip,
                reset ? "" : "  (peak not reset: includes building)");
}

} // namespace
} // namespace vellumix::bench

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (const auto& c : vellumix::bench::cases) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            QGuiApplication app(argc, argv);
            vellumix::bench::runCase(c);
            std::fflush(stdout);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s failed\n", c.name);
            return 1;
        }
    }
    return 0;
}
