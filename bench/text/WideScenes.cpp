#include "WideScenes.h"

#include "Scene.h"
#include "WidePhrases.h"

#include <QFontMetricsF>

#include <random>

namespace vellumix {

namespace {

// The ranges every screen is drawn from.
const char* const kLatinFamilies[] = {"DejaVu Sans",      "DejaVu Serif", "Liberation Sans",
                                      "Liberation Serif", "Noto Sans",    "Noto Serif",
                                      "Cantarell",        "Nimbus Sans",  "Nimbus Roman"};
const char* const kMonoFamilies[] = {"DejaVu Sans Mono", "Liberation Mono", "Nimbus Mono PS",
                                     "Noto Sans Mono"};
const char* const kSimplifiedFamilies[] = {"Noto Sans CJK SC", "WenQuanYi Micro Hei"};
const char* const kTraditionalFamilies[] = {"Noto Sans CJK TC", "WenQuanYi Micro Hei"};
constexpr int kBodySize[] = {11, 16}; // pixels, logical
constexpr int kTitleSize[] = {15, 24};
constexpr int kSmallSize[] = {10, 13};
constexpr double kLightGround[] = {0.90, 1.0}; // value, with saturation up to kGroundTint
constexpr double kDarkGround[] = {0.07, 0.22};
constexpr double kGroundTint = 0.08;
constexpr double kLightText[] = {0.0, 0.22};
constexpr double kDarkText[] = {0.82, 0.97};
constexpr double kLightSecondary[] = {0.38, 0.58};
constexpr double kDarkSecondary[] = {0.50, 0.68};
constexpr double kAccentSaturation[] = {0.55, 0.95};
constexpr double kAccentValue[] = {0.55, 0.90};
constexpr qreal kScales[] = {1, 2};
constexpr int kWidth = 480;
constexpr int kHeight = 300;
// Seeds of each part: one split, made once.
constexpr unsigned kTuningSeed = 1000;
constexpr unsigned kHeldOutSeed = 5000;
constexpr int kCasesPerPart = 64;

struct Style {
    Theme theme;
    QColor accent;
    qreal scale;
    WideLanguage language;
    QString family;
    QString mono;
    int body;
    int title;
    int small;
};

class Draw final {
public:
    Draw(std::mt19937& random, Scene& scene, const Style& style) : r(random), s(scene), st(style) {}

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(r); }
    QString say(PhraseKind kind) { return phrase(r, st.language, kind); }
    QFont font(int size, bool bold = false) const { return s.font(st.family, size, bold); }

    std::mt19937& r;
    Scene& s;
    const Style& st;
};

void settings(Draw& d) {
    const Theme& t = d.st.theme;
    d.s.text(20, 32, d.say(PhraseKind::title), d.font(d.st.title, true), t.text);
    qreal y = 52;
    while (y < kHeight - 50) {
        const int control = d.pick(0, 3);
        const qreal x = control >= 2 ? 48 : 20;
        if (control == 2) {
            d.s.checkbox(20, y + 4, d.pick(0, 1), t, d.st.accent);
        } else if (control == 3) {
            d.s.radio(20, y + 4, d.pick(0, 1), t, d.st.accent);
        } else if (control == 1) {
            d.s.toggle(kWidth - 60, y + 4, d.pick(0, 1), t, d.st.accent);
        }
        d.s.text(x, y + d.st.body + 2, d.say(PhraseKind::label), d.font(d.st.body), t.text);
        y += d.st.body + 6;
        if (d.pick(0, 2)) {
            d.s.text(x, y + d.st.small + 2, d.say(PhraseKind::detail), d.font(d.st.small),
                     t.secondary);
            y += d.st.small + 6;
        }
        d.s.rule(20, y + 6, kWidth - 20, t.separator);
        y += 14;
    }
}

void dialog(Draw& d) {
    const Theme& t = d.st.theme;
    d.s.fill(QRectF(30, 20, kWidth - 60, kHeight - 40), t.panel, 10);
    d.s.text(56, 64, d.say(PhraseKind::title), d.font(d.st.title, true), t.text);
    qreal y = 64 + d.st.body * 2;
    for (int i = d.pick(1, 3); i > 0; --i) {
        d.s.text(56, y, d.say(PhraseKind::sentence), d.font(d.st.body), t.text);
        y += d.st.body * 1.6;
    }
    if (d.pick(0, 1)) {
        d.s.text(56, y + 4, d.say(PhraseKind::detail), d.font(d.st.small), t.secondary);
    }
    const QFont button = d.font(d.st.body);
    const QString first = d.say(PhraseKind::button);
    const QString second = d.say(PhraseKind::button);
    const qreal width = QFontMetricsF(button).horizontalAdvance(first);
    d.s.pill(56, kHeight - 80, first, button, t.control, t.text, 14, 6);
    d.s.pill(56 + width + 48, kHeight - 80, second, button, d.st.accent, Qt::white, 14, 6);
}

void table(Draw& d) {
    const Theme& t = d.st.theme;
    const qreal columns[] = {16, 190, 280, 380};
    const QFont cell = d.font(d.st.body);
    const qreal pitch = d.st.body * 2;
    if (d.pick(0, 1)) {
        d.s.fill(QRectF(8, 8, kWidth - 16, pitch), t.panel);
    }
    const char* const names[] = {"Name", "名称", "名稱", "Name"};
    d.s.row({{columns[0], QString::fromUtf8(names[int(d.st.language)])},
             {columns[1], "Size"},
             {columns[2], "Date"},
             {columns[3], "Version"}},
            8 + pitch * 0.7, d.font(d.st.small, true), t.secondary);
    const bool striped = d.pick(0, 1);
    qreal y = 8 + pitch;
    for (int row = 0; y + pitch < kHeight; ++row, y += pitch) {
        if (striped && row % 2) {
            d.s.fill(QRectF(8, y, kWidth - 16, pitch), t.panel);
        }
        d.s.row({{columns[0], d.say(PhraseKind::fileName)},
                 {columns[1], size(d.r)},
                 {columns[2], date(d.r)},
                 {columns[3], version(d.r)}},
                y + pitch * 0.7, cell, t.text);
    }
}

void menu(Draw& d) {
    const Theme& t = d.st.theme;
    const QFont item = d.font(d.st.body);
    d.s.fill(QRectF(0, 0, kWidth, d.st.body * 2), t.panel);
    std::vector<std::pair<qreal, QString>> titles;
    qreal x = 12;
    for (int i = d.pick(4, 6); i > 0; --i) {
        titles.emplace_back(x, d.say(PhraseKind::menu));
        x += QFontMetricsF(item).horizontalAdvance(titles.back().second) + d.pick(14, 26);
    }
    d.s.row(titles, d.st.body * 1.4, item, t.text);
    const qreal top = d.st.body * 2 + 4;
    d.s.fill(QRectF(titles[1].first - 8, top, 260, kHeight - top - 8), t.separator, 6);
    d.s.fill(QRectF(titles[1].first - 7, top + 1, 258, kHeight - top - 10), t.window, 6);
    qreal y = top + 8;
    for (int i = 0; y + d.st.body * 2 < kHeight - 10; ++i, y += d.st.body * 1.9) {
        const bool highlighted = i == 1;
        if (highlighted) {
            d.s.fill(QRectF(titles[1].first - 3, y, 250, d.st.body * 1.7), d.st.accent, 4);
        }
        d.s.row(
            {{titles[1].first + 8, d.say(PhraseKind::label)},
             {titles[1].first + 190, QStringLiteral("Ctrl+%1").arg(QChar(u'A' + d.pick(0, 25)))}},
            y + d.st.body * 1.25, item, highlighted ? QColor(Qt::white) : t.text);
    }
}

void chat(Draw& d) {
    const Theme& t = d.st.theme;
    const QFont body = d.font(d.st.body);
    d.s.text(kWidth / 2 - 30, 22, clock(d.r), d.font(d.st.small), t.secondary);
    qreal y = 34;
    for (bool mine = d.pick(0, 1); y + d.st.body * 2.6 < kHeight; mine = !mine) {
        const QString text = d.say(PhraseKind::chat);
        const qreal width = QFontMetricsF(body).horizontalAdvance(text) + 24;
        const qreal x = mine ? kWidth - 16 - width : 16;
        d.s.pill(x, y, text, body, mine ? d.st.accent : t.control, mine ? Qt::white : t.text, 12,
                 8);
        y += d.st.body * 2.6 + 6;
    }
}

void terminal(Draw& d) {
    const Theme& t = d.st.theme;
    const QFont mono = d.s.font(d.st.mono, d.st.body);
    const QColor prompt = QColor::fromHsvF(0.33, 0.7, t.dark ? 0.8 : 0.5);
    qreal y = 8 + d.st.body * 1.4;
    const auto line = [&](std::vector<Span> spans) {
        d.s.spans(10, y, spans, mono);
        y += d.st.body * 1.45;
    };
    while (y < kHeight - d.st.body) {
        line({{QStringLiteral("dev@box:~$ "), prompt}, {QStringLiteral("ls -l"), t.text}});
        for (int i = d.pick(2, 4); i > 0 && y < kHeight - d.st.body; --i) {
            line({{QStringLiteral("-rw-r--r-- 1 dev dev %1 %2 %3 %4")
                       .arg(d.pick(100, 99999))
                       .arg(date(d.r), clock(d.r), d.say(PhraseKind::fileName)),
                   t.text}});
        }
    }
}

void document(Draw& d) {
    const Theme& t = d.st.theme;
    d.s.text(24, 40, d.say(PhraseKind::title), d.font(d.st.title, true), t.text);
    d.s.text(24, 40 + d.st.title, d.say(PhraseKind::detail), d.font(d.st.small), t.secondary);
    for (qreal y = 60 + d.st.title * 1.6; y < kHeight - 10; y += d.st.body * 1.6) {
        d.s.text(24, y, d.say(PhraseKind::sentence), d.font(d.st.body), t.text);
    }
}

void sidebar(Draw& d) {
    const Theme& t = d.st.theme;
    d.s.fill(QRectF(0, 0, 160, kHeight), t.panel);
    qreal y = 16;
    for (int i = 0; y + d.st.body * 2 < kHeight; ++i, y += d.st.body * 2) {
        if (i == 2) {
            d.s.fill(QRectF(6, y, 148, d.st.body * 1.8), d.st.accent, 5);
        }
        d.s.text(16, y + d.st.body * 1.3, d.say(PhraseKind::menu), d.font(d.st.body),
                 i == 2 ? QColor(Qt::white) : t.text);
    }
    d.s.text(180, 36, d.say(PhraseKind::title), d.font(d.st.title, true), t.text);
    d.s.text(180, 36 + d.st.title * 1.3, d.say(PhraseKind::detail), d.font(d.st.small),
             t.secondary);
    for (qreal row = 80 + d.st.title; row < kHeight - 10; row += d.st.body * 1.8) {
        d.s.text(180, row, d.say(PhraseKind::fileName), d.font(d.st.body), t.text);
    }
}

struct Layout {
    const char* name;
    void (*draw)(Draw&);
};

const Layout kLayouts[] = {{"settings", settings}, {"dialog", dialog},  {"table", table},
                           {"menu", menu},         {"chat", chat},      {"terminal", terminal},
                           {"document", document}, {"sidebar", sidebar}};

double between(std::mt19937& random, const double (&range)[2]) {
    return std::uniform_real_distribution<double>(range[0], range[1])(random);
}

template <size_t N> QString oneOf(std::mt19937& random, const char* const (&names)[N]) {
    return QString::fromUtf8(names[std::uniform_int_distribution<size_t>(0, N - 1)(random)]);
}

Theme theme(std::mt19937& random, bool dark) {
    const double hue = between(random, {0.0, 1.0});
    const double tint = between(random, {0.0, kGroundTint});
    const double ground = between(random, dark ? kDarkGround : kLightGround);
    const double step = dark ? 0.07 : -0.05;
    const auto grey = [&](double value) {
        return QColor::fromHsvF(hue, tint / 2, value);
    };
    return {dark,
            QColor::fromHsvF(hue, tint, ground),
            QColor::fromHsvF(hue, tint, ground + step),
            grey(between(random, dark ? kDarkText : kLightText)),
            grey(between(random, dark ? kDarkSecondary : kLightSecondary)),
            QColor::fromHsvF(hue, tint, ground + 3 * step),
            QColor::fromHsvF(hue, tint, ground + 2 * step)};
}

QString family(std::mt19937& random, WideLanguage language) {
    // Chinese drawn in a Latin family falls back for its ideographs, as a
    // Latin interface font does.
    const int which = std::uniform_int_distribution<int>(0, 2)(random);
    switch (language) {
    case WideLanguage::simplified:
        return which ? oneOf(random, kSimplifiedFamilies) : oneOf(random, kLatinFamilies);
    case WideLanguage::traditional:
        return which ? oneOf(random, kTraditionalFamilies) : oneOf(random, kLatinFamilies);
    case WideLanguage::mixed:
        return which == 1 ? oneOf(random, kTraditionalFamilies) : oneOf(random, kLatinFamilies);
    case WideLanguage::english:
        break;
    }
    return oneOf(random, kLatinFamilies);
}

Style style(std::mt19937& random) {
    Style st;
    const bool dark = std::uniform_int_distribution<int>(0, 1)(random);
    st.theme = theme(random, dark);
    st.accent = QColor::fromHsvF(between(random, {0.0, 1.0}), between(random, kAccentSaturation),
                                 between(random, kAccentValue));
    st.scale = kScales[std::uniform_int_distribution<int>(0, 1)(random)];
    // Half the screens are English, as a desktop's are.
    const int language = std::uniform_int_distribution<int>(0, 5)(random);
    st.language = language < 3 ? WideLanguage::english : WideLanguage(language - 2);
    st.family = family(random, st.language);
    st.mono = oneOf(random, kMonoFamilies);
    st.body = std::uniform_int_distribution<int>(kBodySize[0], kBodySize[1])(random);
    st.title = std::uniform_int_distribution<int>(kTitleSize[0], kTitleSize[1])(random);
    st.small = std::uniform_int_distribution<int>(kSmallSize[0], kSmallSize[1])(random);
    return st;
}

AccuracyCase wideCase(unsigned seed) {
    std::mt19937 random(seed);
    const Style st = style(random);
    const Layout& layout =
        kLayouts[std::uniform_int_distribution<size_t>(0, std::size(kLayouts) - 1)(random)];
    Scene scene(kWidth, kHeight, st.scale, st.theme.window);
    Draw draw(random, scene, st);
    layout.draw(draw);
    const QString name =
        QStringLiteral("%1-%2-%3-%4x")
            .arg(seed)
            .arg(QLatin1String(layout.name), QLatin1String(languageName(st.language)))
            .arg(st.scale);
    return {name,
            QLatin1String(layout.name),
            QLatin1String(languageName(st.language)),
            st.language == WideLanguage::english,
            scene.image(),
            scene.reference()};
}

} // namespace

std::vector<AccuracyCase> wideCases(WidePart part) {
    const unsigned first = part == WidePart::tuning ? kTuningSeed : kHeldOutSeed;
    std::vector<AccuracyCase> cases;
    for (unsigned seed = first; seed < first + kCasesPerPart; ++seed) {
        cases.push_back(wideCase(seed));
    }
    return cases;
}

} // namespace vellumix
