// Reads generated screenshots with TextRecognition::recognize and with the
// plain tesseract command, and prints the character error rate (edit distance
// over reference length) and the time per image of each.
//
//   text_accuracy [--set tuning|held-out | --images DIR] [--variants [--variant NAME]] [--show]
//                 [--keep DIR] [--cases a,b] [--no-compare]
//
// --set reads the wide set's part (WideScenes) instead of the screens drawn in
// the project's own style (AccuracyCase); report the held-out part, tune on
// the other. --images DIR reads the program windows x-windows.sh grabbed.
// --show prints what each reader returned; --keep writes the images, and the
// images as prepared for the engine, to DIR; --cases picks cases by name or
// category or language;
// --no-compare skips the comparison with the command.
// --variants also runs recognize with each preparation step and page
// segmentation changed one at a time, to show what each choice is worth;
// --variant NAME runs only the one of that name.
// The command loads its language data on every run, while recognize keeps its
// loaded engines as the app does, so its times leave that step out. Both run
// the engine on one thread (OMP_THREAD_LIMIT=1), as the app does.
#include "AccuracyCase.h"
#include "WideScenes.h"

#include "text/RecognitionImage.h"
#include "text/RecognitionLanguages.h"
#include "text/TextRecognition.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <map>
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
    // The command puts a space between every two ideographs: the rate should
    // count what it read, not that.
    static const QRegularExpression spaceBetweenIdeographs(
        QStringLiteral("(?<=[\\p{Han}\\x{3000}-\\x{303F}\\x{FF00}-\\x{FFEF}]) "
                       "+(?=[\\p{Han}\\x{3000}-\\x{303F}\\x{FF00}-\\x{FFEF}])"));
    return QString::fromUtf8(tesseract.readAllStandardOutput()).remove(spaceBetweenIdeographs);
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
    {"plain grey", {.textContrast = false}},
    {"scale 1", {.upscale = 1}},
    {"scale 3", {.upscale = 3}},
};

// One reader's results over a set of cases: summed error rate and CPU time.
struct Tally {
    double errors = 0;
    double cpu = 0;
    int count = 0;

    void add(double rate, double cpuMilliseconds) {
        errors += rate;
        cpu += cpuMilliseconds;
        ++count;
    }
    double meanErrors() const { return count ? errors / count : 0; }
    double meanCpu() const { return count ? cpu / count : 0; }
};

// Ours, the command with the library's languages, and the command with
// English alone (read only on English images).
struct Readers {
    Tally lib;
    Tally cli;
    Tally eng;
};

void printTally(const QString& name, const Readers& r) {
    std::printf("%-22s %7.3f %7.3f", qPrintable(name), r.lib.meanErrors(), r.cli.meanErrors());
    if (r.eng.count) {
        std::printf(" %7.3f", r.eng.meanErrors());
    } else {
        std::printf(" %7s", "");
    }
    std::printf(" %8.0f %8.0f", r.lib.meanCpu(), r.cli.meanCpu());
    if (r.eng.count) {
        std::printf(" %8.0f", r.eng.meanCpu());
    }
    std::printf("\n");
    std::fflush(stdout);
}

void printHeading(const char* first) {
    std::printf("%-22s %7s %7s %7s %8s %8s %8s\n", first, "CER lib", "CER cli", "CER eng",
                "cpu lib", "cpu cli", "cpu eng");
}

// Times are CPU milliseconds of this process and its children, which a
// shared machine disturbs far less than the wall clock.
void compareWithCommand(const std::vector<AccuracyCase>& cases, const QDir& folder,
                        const QString& languages, bool show) {
    printHeading("case");
    std::map<QString, Readers> byCategory;
    std::map<QString, Readers> byLanguage;
    Readers all;
    Readers english;
    for (const AccuracyCase& c : cases) {
        const QString png = folder.filePath(c.name + QStringLiteral(".png"));
        c.image.save(png);
        Readers one;
        const Reading lib = timed([&] { return readWithLibrary(c.image, {}); });
        one.lib.add(errorRate(lib.text, c.reference), lib.cpuMilliseconds);
        const Reading cli = timed([&] { return readWithCommand(png, languages); });
        one.cli.add(errorRate(cli.text, c.reference), cli.cpuMilliseconds);
        if (c.english) {
            const Reading eng = timed([&] { return readWithCommand(png, QStringLiteral("eng")); });
            one.eng.add(errorRate(eng.text, c.reference), eng.cpuMilliseconds);
        }
        printTally(c.name, one);
        // English images also by category alone, where `-l eng` read them all.
        Readers* englishCategory =
            c.english ? &byCategory[c.category + QStringLiteral(" (en)")] : nullptr;
        for (Readers* sum : {&byCategory[c.category], englishCategory, &byLanguage[c.language],
                             &all, c.english ? &english : nullptr}) {
            if (sum) {
                for (auto [from, to] :
                     {std::pair{&one.lib, &sum->lib}, std::pair{&one.cli, &sum->cli},
                      std::pair{&one.eng, &sum->eng}}) {
                    to->errors += from->errors;
                    to->cpu += from->cpu;
                    to->count += from->count;
                }
            }
        }
        if (show) {
            std::printf("--- reference:\n%s\n--- recognize:\n%s\n--- command:\n%s\n---\n",
                        qPrintable(c.reference), qPrintable(lib.text),
                        qPrintable(normalised(cli.text)));
        }
    }
    std::printf("\n");
    printHeading("category (mean)");
    for (const auto& [category, readers] : byCategory) {
        printTally(category, readers);
    }
    for (const auto& [language, readers] : byLanguage) {
        printTally(QStringLiteral("language ") + language, readers);
    }
    printTally(QStringLiteral("English images"), english);
    printTally(QStringLiteral("all images"), all);
    std::printf("\n");
}

void compareVariants(const std::vector<AccuracyCase>& cases, const QString& only) {
    std::printf("%-12s", "variant");
    for (const AccuracyCase& c : cases) {
        std::printf(" %8.8s", qPrintable(c.name));
    }
    std::printf(" %8s %8s %8s\n", "mean", "ms/img", "cpu/img");
    for (const Variant& variant : kVariants) {
        if (!only.isEmpty() && only != QLatin1String(variant.name)) {
            continue;
        }
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

// Images of real program windows (x-windows.sh), each PROGRAM-N.png beside
// the text it shows in PROGRAM-N.txt; the program is the category.
std::vector<AccuracyCase> imageCases(const QDir& folder) {
    std::vector<AccuracyCase> cases;
    for (const QString& png : folder.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        const QString name = QFileInfo(png).completeBaseName();
        QFile text(folder.filePath(name + QStringLiteral(".txt")));
        if (!text.open(QIODevice::ReadOnly)) {
            continue;
        }
        cases.push_back({name, name.section(QLatin1Char('-'), 0, 0), QStringLiteral("en"), true,
                         QImage(folder.filePath(png)),
                         QString::fromUtf8(text.readAll()).trimmed()});
    }
    return cases;
}

} // namespace

int main(int argc, char** argv) {
    // The app runs the engine on one thread, as the command does with this
    // set. The engine's thread library reads it when it is loaded, before
    // main(), so the benchmark starts itself again with it set.
    if (qgetenv("OMP_THREAD_LIMIT") != "1") {
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
        std::perror("text_accuracy");
        return 1;
    }
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
    const int set = int(arguments.indexOf(QStringLiteral("--set")));
    const QString setName = set > 0 && set + 1 < arguments.size() ? arguments[set + 1] : QString();
    const int images = int(arguments.indexOf(QStringLiteral("--images")));
    std::vector<AccuracyCase> cases =
        images > 0 && images + 1 < arguments.size() ? imageCases(QDir(arguments[images + 1]))
        : setName == QLatin1String("tuning")        ? wideCases(WidePart::tuning)
        : setName == QLatin1String("held-out")      ? wideCases(WidePart::heldOut)
                                                    : accuracyCases();
    const int only = int(arguments.indexOf(QStringLiteral("--cases")));
    if (only > 0 && only + 1 < arguments.size()) {
        const QStringList wanted = arguments[only + 1].split(QLatin1Char(','));
        std::erase_if(cases, [&](const AccuracyCase& c) {
            return !wanted.contains(c.name) && !wanted.contains(c.category) &&
                   !wanted.contains(c.language);
        });
    }
    if (cases.empty()) {
        std::printf("no such case\n");
        return 1;
    }
    if (keep > 0) {
        for (const AccuracyCase& c : cases) {
            c.image.save(folder.filePath(c.name + QStringLiteral(".png")));
            RecognitionImage::prepare(c.image, {})
                .save(folder.filePath(c.name + QStringLiteral("-prepared.png")));
        }
    }
    // The app keeps its loaded engines, so no case is charged with loading
    // them: a Chinese image loads all three.
    for (const AccuracyCase& c : accuracyCases()) {
        if (!c.english) {
            readWithLibrary(c.image, {});
            break;
        }
    }
    if (!arguments.contains(QStringLiteral("--no-compare"))) {
        compareWithCommand(cases, folder, languages, arguments.contains(QStringLiteral("--show")));
        measureCancellation(cases.back());
    }
    if (arguments.contains(QStringLiteral("--variants"))) {
        const int variant = int(arguments.indexOf(QStringLiteral("--variant")));
        compareVariants(cases, variant > 0 && variant + 1 < arguments.size()
                                   ? arguments[variant + 1]
                                   : QString());
    }
    return 0;
}
