#include "AccuracyCase.h"

#include "Scene.h"

#include <QFontMetricsF>

namespace vellumix {

namespace {

const QString kSans = QStringLiteral("Nimbus Sans");
const QString kUi = QStringLiteral("DejaVu Sans");
const QString kSerif = QStringLiteral("DejaVu Serif");
const QString kMono = QStringLiteral("DejaVu Sans Mono");
const QString kHan = QStringLiteral("WenQuanYi Micro Hei");

const QColor kBlue(0x0a, 0x84, 0xff);
const QColor kOrange(0xff, 0x95, 0x00);
const QColor kGreen(0x34, 0xc7, 0x59);
const QColor kRed(0xff, 0x3b, 0x30);
const QColor kPurple(0xaf, 0x52, 0xde);
const QColor kTeal(0x30, 0xb0, 0xc7);

void buttons(Scene& s, const Theme& t) {
    const QFont label = s.font(kUi, 13);
    s.text(20, 30, QStringLiteral("Choose what to do with the selected files"), label, t.text);
    s.pill(20, 48, QStringLiteral("Save Changes"), label, kBlue, Qt::white, 16, 7);
    s.pill(20, 88, QStringLiteral("Export as PDF"), label, kOrange, Qt::white, 16, 7);
    s.pill(20, 128, QStringLiteral("Sync complete"), s.font(kUi, 12), kGreen, Qt::white, 10, 3);
    s.pill(20, 160, QStringLiteral("3 updates available"), s.font(kUi, 11, true), kRed, Qt::white,
           8, 2);
    s.pill(20, 190, QStringLiteral("Invite Members"), label, kPurple, Qt::white, 16, 7);
    s.pill(20, 230, QStringLiteral("Cancel"), label, t.control, t.text, 16, 7);
    s.pill(20, 270, QStringLiteral("Beta"), s.font(kUi, 11), kTeal, Qt::white, 8, 2);
}

void chat(Scene& s, const Theme& t) {
    const QFont body = s.font(kSans, 14);
    const QFontMetricsF metrics(body);
    s.text(170, 24, QStringLiteral("Today 10:42"), s.font(kSans, 11), t.secondary);
    const char* messages[] = {"Are we still meeting at 3 pm?", "Yes, see you in room 204",
                              "Can you send the slides first?", "Sure, uploading them now",
                              "Thanks! Got them"};
    qreal y = 40;
    bool mine = false;
    for (const char* message : messages) {
        const QString text = QString::fromUtf8(message);
        const qreal width = metrics.horizontalAdvance(text) + 28;
        const qreal x = mine ? 440 - width : 20;
        const QColor fill =
            mine ? (t.dark ? QColor(0x30, 0xd1, 0x58).darker(130) : kBlue) : t.control;
        s.pill(x, y, text, body, fill, mine ? Qt::white : t.text, 14, 9);
        y += 48;
        mine = !mine;
    }
}

void sidebar(Scene& s, const Theme& t) {
    s.fill(QRectF(0, 0, 170, 300), t.panel);
    s.text(16, 28, QStringLiteral("Locations"), s.font(kUi, 11, true), t.secondary);
    const char* rows[] = {"Recents",   "Applications", "Desktop",
                          "Documents", "Downloads",    "Shared Drive"};
    qreal y = 40;
    for (const char* row : rows) {
        const bool selected = y == 40 + 2 * 30;
        if (selected) {
            s.fill(QRectF(8, y, 154, 26), kBlue, 6);
        }
        s.text(20, y + 18, QString::fromUtf8(row), s.font(kUi, 13),
               selected ? QColor(Qt::white) : t.text);
        y += 30;
    }
    const QFont body = s.font(kUi, 13);
    s.text(190, 32, QStringLiteral("Desktop"), s.font(kUi, 18, true), t.text);
    s.text(190, 62, QStringLiteral("12 items, 4.8 GB free"), body, t.secondary);
    s.text(190, 92, QStringLiteral("quarterly_report.xlsx"), body, t.text);
    s.text(190, 118, QStringLiteral("Team photo 2024.jpg"), body, t.text);
    s.text(190, 144, QStringLiteral("notes-from-call.txt"), body, t.text);
}

void menu(Scene& s, const Theme& t) {
    s.fill(QRectF(20, 12, 300, 274), t.separator, 8);
    s.fill(QRectF(21, 13, 298, 272), t.dark ? t.panel : t.window, 8);
    const QFont item = s.font(kSans, 14);
    const char* entries[][2] = {{"New Window", "Ctrl+N"},
                                {"Open Recent", ""},
                                {"Duplicate", "Ctrl+D"},
                                {"Rename...", "F2"},
                                {"Move to Trash", "Del"},
                                {"Print...", "Ctrl+P"},
                                {"Share", ""},
                                {"Close Window", "Ctrl+W"}};
    qreal y = 22;
    int index = 0;
    for (const auto& entry : entries) {
        const bool highlighted = index == 2;
        const QColor ink = highlighted ? QColor(Qt::white) : t.text;
        if (highlighted) {
            s.fill(QRectF(26, y, 288, 26), kBlue, 5);
        }
        std::vector<std::pair<qreal, QString>> cells{{40, QString::fromUtf8(entry[0])}};
        if (*entry[1]) {
            cells.emplace_back(230, QString::fromUtf8(entry[1]));
        }
        s.row(cells, y + 18, item, ink);
        y += 30;
        if (index == 3 || index == 5) {
            s.rule(32, y - 2, 308, t.separator);
            y += 4;
        }
        ++index;
    }
}

void code(Scene& s, const Theme& t) {
    const QColor keyword = t.dark ? QColor(0xc5, 0x86, 0xc0) : QColor(0xaf, 0x00, 0xdb);
    const QColor name = t.dark ? QColor(0x9c, 0xdc, 0xfe) : QColor(0x00, 0x10, 0x80);
    const QColor call = t.dark ? QColor(0xdc, 0xdc, 0xaa) : QColor(0x79, 0x5e, 0x26);
    const QColor number = t.dark ? QColor(0xb5, 0xce, 0xa8) : QColor(0x09, 0x86, 0x58);
    const QColor comment = t.dark ? QColor(0x6a, 0x99, 0x55) : QColor(0x00, 0x80, 0x00);
    const QFont mono = s.font(kMono, 13);
    const std::vector<std::vector<Span>> lines = {
        {{"# count each word once per line", comment}},
        {{"def ", keyword},
         {"count_words", call},
         {"(file_path, max_lines=", t.text},
         {"100", number},
         {"):", t.text}},
        {{"    word_counts = {}", name}},
        {{"    with ", keyword},
         {"open", call},
         {"(file_path) ", t.text},
         {"as ", keyword},
         {"handle:", name}},
        {{"        for ", keyword}, {"line ", name}, {"in ", keyword}, {"handle:", name}},
        {{"            key = line.strip().lower()", name}},
        {{"            word_counts[key] = word_counts.get(key, ", name},
         {"0", number},
         {") + ", t.text},
         {"1", number}},
        {{"    return ", keyword}, {"word_counts", name}},
    };
    qreal y = 28;
    for (const auto& line : lines) {
        s.spans(16, y, line, mono);
        y += 22;
    }
}

void table(Scene& s, const Theme& t) {
    const QFont cell = s.font(kUi, 12);
    const qreal columns[] = {16, 200, 290, 370};
    s.fill(QRectF(8, 10, 444, 28), t.panel);
    s.row({{columns[0], "Name"},
           {columns[1], "Size"},
           {columns[2], "Kind"},
           {columns[3], "Modified"}},
          29, s.font(kUi, 12, true), t.secondary);
    const char* rows[][4] = {{"report_q3.pdf", "2.4 MB", "PDF", "12 Mar"},
                             {"budget_2024.xlsx", "88 KB", "Sheet", "9 Mar"},
                             {"logo_final.png", "310 KB", "Image", "2 Mar"},
                             {"meeting_notes.md", "4 KB", "Text", "28 Feb"},
                             {"backup.tar.gz", "1.2 GB", "Archive", "14 Feb"},
                             {"invoice_0087.pdf", "96 KB", "PDF", "3 Feb"}};
    qreal y = 38;
    int index = 0;
    for (const auto& row : rows) {
        if (index % 2 == 1) {
            s.fill(QRectF(8, y, 444, 28), t.panel);
        }
        s.rule(8, y + 28, 452, t.separator);
        std::vector<std::pair<qreal, QString>> cells;
        for (int c = 0; c < 4; ++c) {
            cells.emplace_back(columns[c], QString::fromUtf8(row[c]));
        }
        s.row(cells, y + 19, cell, t.text);
        y += 28;
        ++index;
    }
}

void terminal(Scene& s, const Theme& t) {
    const QColor prompt = t.dark ? QColor(0x4e, 0xc9, 0x4e) : QColor(0x1a, 0x7f, 0x37);
    const QColor path = t.dark ? QColor(0x6c, 0x9e, 0xf8) : QColor(0x1f, 0x4e, 0xc4);
    const QColor error = t.dark ? QColor(0xf1, 0x4c, 0x4c) : QColor(0xc0, 0x1c, 0x28);
    const QFont mono = s.font(kMono, 13);
    const std::vector<std::vector<Span>> lines = {
        {{"dev@build", prompt}, {":", t.text}, {"~/vellum", path}, {"$ git status", t.text}},
        {{"On branch main", t.text}},
        {{"Changes not staged for commit:", t.text}},
        {{"  modified:   src/main_window.cpp", error}},
        {{"dev@build", prompt}, {":", t.text}, {"~/vellum", path}, {"$ ls -l build", t.text}},
        {{"total 48", t.text}},
        {{"-rwxr-xr-x 1 dev dev 40960 Mar 12 09:41 app", t.text}},
        {{"drwxr-xr-x 5 dev dev  4096 Mar 12 09:40 tests", t.text}},
        {{"dev@build", prompt}, {":", t.text}, {"~/vellum", path}, {"$ make -j2", t.text}},
    };
    qreal y = 24;
    for (const auto& line : lines) {
        s.spans(12, y, line, mono);
        y += 20;
    }
}

void article(Scene& s, const Theme& t) {
    s.text(24, 40, QStringLiteral("Why small teams ship faster"), s.font(kSerif, 22, true), t.text);
    s.text(24, 64, QStringLiteral("By Maria Lopez, 6 min read"), s.font(kSans, 12), t.secondary);
    const char* lines[] = {"Every added person brings new lines of talk",
                           "that the team has to keep up. Past a handful",
                           "of people, more time goes into meetings than",
                           "into the work itself, and decisions wait for",
                           "someone who is out of the office that week.",
                           "The fix is not fewer people but clearer owners."};
    qreal y = 100;
    for (const char* line : lines) {
        s.text(24, y, QString::fromUtf8(line), s.font(kSerif, 15), t.text);
        y += 26;
    }
}

void settings(Scene& s, const Theme& t) {
    s.text(20, 32, QStringLiteral("General"), s.font(kUi, 17, true), t.text);
    const QFont row = s.font(kUi, 13);
    const char* toggles[] = {"Launch at login", "Show hidden files (Ctrl+H)",
                             "Play sound after capture"};
    qreal y = 56;
    int index = 0;
    for (const char* label : toggles) {
        s.text(20, y + 15, QString::fromUtf8(label), row, t.text);
        s.toggle(400, y, index != 1, t, kBlue);
        s.rule(20, y + 28, 440, t.separator);
        y += 36;
        ++index;
    }
    const char* boxes[] = {"Copy to clipboard", "Save to Pictures folder"};
    index = 0;
    for (const char* label : boxes) {
        s.checkbox(20, y + 3, index == 0, t, kBlue);
        s.text(44, y + 15, QString::fromUtf8(label), row, t.text);
        y += 30;
        ++index;
    }
    s.text(20, y + 24, QStringLiteral("Version 4.18.2 (build 7731)"), s.font(kUi, 11), t.secondary);
}

struct HanText {
    const char* title;
    const char* rows[4];
    const char* button;
    const char* note;
};

const HanText kSimplified{"文件 编辑 视图 窗口 帮助",
                          {"显示隐藏文件", "自动保存更改", "检查软件更新", "截图保存到图片文件夹"},
                          "保存更改",
                          "已连接到网络 Office-5G"};
const HanText kTraditional{"檔案 編輯 檢視 視窗 說明",
                           {"顯示隱藏檔案", "自動儲存變更", "檢查軟體更新", "截圖儲存到圖片資料夾"},
                           "儲存變更",
                           "已連線到網路 Office-5G"};

void han(Scene& s, const Theme& t, const HanText& text) {
    s.fill(QRectF(0, 0, 460, 34), t.panel);
    s.text(16, 23, QString::fromUtf8(text.title), s.font(kHan, 14), t.text);
    qreal y = 48;
    int index = 0;
    for (const char* row : text.rows) {
        if (index == 1) {
            s.fill(QRectF(8, y, 300, 28), kBlue, 6);
        }
        s.text(20, y + 20, QString::fromUtf8(row), s.font(kHan, 15),
               index == 1 ? QColor(Qt::white) : t.text);
        y += 34;
        ++index;
    }
    s.pill(20, y + 10, QString::fromUtf8(text.button), s.font(kHan, 14), kOrange, Qt::white, 16, 7);
    s.text(20, y + 66, QString::fromUtf8(text.note), s.font(kHan, 13), t.secondary);
}

struct Category {
    const char* name;
    bool english;
    int height;
    void (*draw)(Scene&, const Theme&);
};

const Category kCategories[] = {
    {"buttons", true, 300, buttons},
    {"chat", true, 290, chat},
    {"sidebar", true, 230, sidebar},
    {"menu", true, 300, menu},
    {"code", true, 200, code},
    {"table", true, 220, table},
    {"terminal", true, 200, terminal},
    {"article", true, 260, article},
    {"settings", true, 300, settings},
    {"zh-hans", false, 260,
     [](Scene& s, const Theme& t) {
         han(s, t, kSimplified);
     }},
    {"zh-hant", false, 260,
     [](Scene& s, const Theme& t) {
         han(s, t, kTraditional);
     }},
};

} // namespace

std::vector<AccuracyCase> accuracyCases() {
    std::vector<AccuracyCase> cases;
    for (const Category& category : kCategories) {
        for (const Theme* theme : {&lightTheme(), &darkTheme()}) {
            for (const qreal scale : {1.0, 2.0}) {
                Scene scene(460, category.height, scale, theme->window);
                category.draw(scene, *theme);
                const QString name =
                    QStringLiteral("%1-%2-%3x")
                        .arg(QLatin1String(category.name),
                             theme->dark ? QStringLiteral("dark") : QStringLiteral("light"))
                        .arg(scale);
                const QString language = category.english ? QStringLiteral("en")
                                         : QLatin1String(category.name) == QLatin1String("zh-hans")
                                             ? QStringLiteral("zh-Hans")
                                             : QStringLiteral("zh-Hant");
                cases.push_back({name, QLatin1String(category.name), language, category.english,
                                 scene.image(), scene.reference()});
            }
        }
    }
    return cases;
}

} // namespace vellumix
