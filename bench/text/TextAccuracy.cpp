// Reads generated screenshots with TextRecognition::recognize and with the
// plain tesseract command, and prints the character error rate (edit distance
// over reference length) and the time per image of each.
//
//   text_accuracy [--variants] [--show] [--keep DIR] [--cases a,b] [--no-compare]
//
// --show prints what each reader returned; --keep writes the images, and the
// images as prepared for the engine, to DIR; --cases picks cases by name;
// --no-compare skips the comparison with the command.
// --variants also runs recognize with each preparation step and page
// segmentation changed one at a time, to show what each choice is worth.
// The command loads its language data on every run, while recognize keeps a
// loaded engine, so after its first image its times leave that step out.
#include "AccuracyCase.h"

#include "text/RecognitionImage.h"
#include "text/RecognitionLanguages.h"
#include "text/TextRecognition.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <thread>
#include <vector>

using namespace vellumix;

namespace {

// Lines trimmed, inner runs of white space made one space, empty lines gone:
// layout spacing is not what the rate should count.
QString normalised(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString simple = line.simplified();
        if (!simple.isEmpty()) {
            lines << simple;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

qsizetype editDistance(const QList<uint>& a, const QList<uint>& b) {
    std::vector<qsizetype> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

double errorRate(const QString& recognised, const QString& reference) {
    const QList<uint> ref = normalised(reference).toUcs4();
    return double(editDistance(normalised(recognised).toUcs4(), ref)) / double(ref.size());
}

struct Reading {
    QString text;
    double milliseconds = 0;    // wall clock
    double cpuMilliseconds = 0; // this process and its finished children
};

double cpuMilliseconds() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (const timeval& t : {usage.ru_utime, usage.ru_stime}) {
            total += double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
        }
    }
    return total;
}

// The machine is shared, so the wall clock alone says little: CPU time is
// reported beside it.
Reading timed(const std::function<QString()>& read) {
    QElapsedTimer timer;
    const double cpuStart = cpuMilliseconds();
    timer.start();
    Reading reading;
    reading.text = read();
    reading.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    reading.cpuMilliseconds = cpuMilliseconds() - cpuStart;
    return reading;
}

QString readWithCommand(const QString& png, const QString& languages) {
    QProcess tesseract;
    tesseract.start(QStringLiteral("tesseract"),
                    {png, QStringLiteral("-"), QStringLiteral("-l"), languages});
    tesseract.waitForFinished(-1);
    return QString::fromUtf8(tesseract.readAllStandardOutput());
}

QString readWithLibrary(const QImage& image, const RecognitionOptions& options) {
    const CancellationToken never;
    return TextRecognition::recognize(image, never, options);
}

// Each row changes one choice of the defaults.
struct Variant {
    const char* name;
    RecognitionOptions options;
};

const Variant kVariants[] = {
    {"chosen", {}},
    {"psm sparse", {.pageSegmentation = PageSegmentation::sparseText}},
    {"psm block", {.pageSegmentation = PageSegmentation::singleBlock}},
    {"no invert", {.invertDarkAreas = false}},
    {"scale 1", {.upscale = 1}},
    {"scale 3", {.upscale = 3}},
};

void printRow(const char* name, const double* row) {
    std::printf("%-16s %8.3f %8.3f %8.0f %8.0f %8.0f %8.0f\n", name, row[0], row[1], row[2], row[3],
                row[4], row[5]);
    std::fflush(stdout);
}

void compareWithCommand(const std::vector<AccuracyCase>& cases, const QDir& folder,
                        const QString& languages, bool show) {
    std::printf("%-16s %8s %8s %8s %8s %8s %8s\n", "case", "CER lib", "CER cli", "ms lib", "ms cli",
                "cpu lib", "cpu cli");
    constexpr int kColumns = 6;
    double sums[kColumns] = {};
    for (const AccuracyCase& c : cases) {
        const QString png = folder.filePath(c.name + QStringLiteral(".png"));
        c.image.save(png);
        RecognitionImage::prepare(c.image, {}).save(folder.filePath(c.name + "-prepared.png"));
        const Reading lib = timed([&] { return readWithLibrary(c.image, {}); });
        const Reading cli = timed([&] { return readWithCommand(png, languages); });
        const double row[kColumns] = {errorRate(lib.text, c.reference),
                                      errorRate(cli.text, c.reference),
                                      lib.milliseconds,
                                      cli.milliseconds,
                                      lib.cpuMilliseconds,
                                      cli.cpuMilliseconds};
        printRow(qPrintable(c.name), row);
        for (int i = 0; i < kColumns; ++i) {
            sums[i] += row[i] / double(cases.size());
        }
        if (show) {
            std::printf("--- recognize:\n%s\n--- command:\n%s\n---\n", qPrintable(lib.text),
                        qPrintable(normalised(cli.text)));
        }
    }
    printRow("mean", sums);
    std::printf("\n");
}

void compareVariants(const std::vector<AccuracyCase>& cases) {
    std::printf("%-12s", "variant");
    for (const AccuracyCase& c : cases) {
        std::printf(" %8.8s", qPrintable(c.name));
    }
    std::printf(" %8s %8s %8s\n", "mean", "ms/img", "cpu/img");
    for (const Variant& variant : kVariants) {
        const RecognitionOptions& options = variant.options;
        double sum = 0;
        double milliseconds = 0;
        double cpu = 0;
        std::printf("%-12s", variant.name);
        for (const AccuracyCase& c : cases) {
            const Reading lib = timed([&] { return readWithLibrary(c.image, options); });
            const double rate = errorRate(lib.text, c.reference);
            sum += rate;
            milliseconds += lib.milliseconds;
            cpu += lib.cpuMilliseconds;
            std::printf(" %8.3f", rate);
        }
        const double n = double(cases.size());
        std::printf(" %8.3f %8.0f %8.0f\n", sum / n, milliseconds / n, cpu / n);
        std::fflush(stdout);
    }
}

// How long a recognition takes to give up once its token is raised: the
// panel's task waits for exactly this when the user closes it.
void measureCancellation(const AccuracyCase& c) {
    for (int delay : {200, 1000}) {
        CancellationToken token;
        std::future<QString> recognition = std::async(
            std::launch::async, [&] { return TextRecognition::recognize(c.image, token); });
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        QElapsedTimer timer;
        timer.start();
        token.cancel();
        bool cancelled = false;
        try {
            recognition.get();
        } catch (const CancellationError&) {
            cancelled = true;
        }
        std::printf("cancelled %d ms into %s: returned %lld ms later%s\n", delay,
                    qPrintable(c.name), timer.elapsed(),
                    cancelled ? "" : " (it had finished already)");
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QTemporaryDir temporary;
    const int keep = int(arguments.indexOf(QStringLiteral("--keep")));
    const QDir folder(keep > 0 && keep + 1 < arguments.size() ? arguments[keep + 1]
                                                              : temporary.path());
    // The command reads the same languages the library chooses.
    const QString languages = QString::fromUtf8(
        RecognitionLanguages::installedEngineLanguages(RecognitionLanguages::tessdataDirectory()));
    std::printf("languages: %s\n\n", qPrintable(languages));
    std::vector<AccuracyCase> cases = accuracyCases();
    const int only = int(arguments.indexOf(QStringLiteral("--cases")));
    if (only > 0 && only + 1 < arguments.size()) {
        const QStringList wanted = arguments[only + 1].split(QLatin1Char(','));
        std::erase_if(cases, [&](const AccuracyCase& c) { return !wanted.contains(c.name); });
    }
    if (!arguments.contains(QStringLiteral("--no-compare"))) {
        compareWithCommand(cases, folder, languages, arguments.contains(QStringLiteral("--show")));
        measureCancellation(cases.back());
    }
    if (arguments.contains(QStringLiteral("--variants"))) {
        compareVariants(cases);
    }
    return 0;
}
