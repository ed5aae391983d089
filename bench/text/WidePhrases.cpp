#include "WidePhrases.h"

#include <QStringList>

#include <array>
#include <vector>

namespace vellumix {

namespace {

using Pool = std::vector<const char*>;

// Per kind, the phrases of each language in WideLanguage's order. "{v}",
// "{s}", "{t}", "{d}" and "{n}" stand for a version, a size, a time, a date
// and a small count.
struct Phrases {
    PhraseKind kind;
    std::array<Pool, 4> pools;
};

const Phrases kPhrases[] = {
    {PhraseKind::label,
     {{{"Automatic updates", "Show hidden files", "Launch at login", "Night Shift",
        "Use dark title bars", "Notifications", "Share usage data", "Keyboard shortcuts",
        "Sound effects", "Remember window size", "Battery percentage", "Wi-Fi"},
       {"自动更新", "显示隐藏文件", "登录时启动", "夜间模式", "通知", "共享使用数据", "键盘快捷键",
        "声音效果", "记住窗口大小", "电池百分比", "无线网络"},
       {"自動更新", "顯示隱藏檔案", "登入時啟動", "夜間模式", "通知", "共享使用資料", "鍵盤快速鍵",
        "聲音效果", "記住視窗大小", "電池百分比", "無線網路"},
       {"Wi-Fi 设置", "蓝牙 Bluetooth", "启用 iCloud 同步", "自動備份到 Drive", "使用 VPN 連線",
        "PDF 导出", "显示 FPS", "開啟 HDR 模式"}}}},
    {PhraseKind::detail,
     {{{"Download new versions in the background", "Last checked today at {t}", "{s} used of 64 GB",
        "Version {v} is installed", "Updated {d} at {t}", "Only when the window is inactive",
        "{n} items, {s} free", "Requires restart"},
       {"在后台下载新版本", "上次检查于今天 {t}", "已使用 {s}", "已安装版本 {v}", "更新于 {d} {t}",
        "仅在窗口不活动时", "共 {n} 项，剩余 {s}", "需要重新启动"},
       {"在背景下載新版本", "上次檢查於今天 {t}", "已使用 {s}", "已安裝版本 {v}", "更新於 {d} {t}",
        "僅在視窗非作用中時", "共 {n} 項，剩餘 {s}", "需要重新啟動"},
       {"Version {v} 已安装", "剩余 {s} 可用", "上次 backup 於 {t}", "已同步 {n} 個 files",
        "下载 macro 需要 {s}", "Firmware {v} 可用"}}}},
    {PhraseKind::title,
     {{{"Software Update", "Storage", "Privacy & Security", "Display Settings",
        "About This Computer", "Network", "Downloads", "Recent Files"},
       {"软件更新", "存储空间", "隐私与安全", "显示设置", "关于本机", "网络", "下载", "最近文件"},
       {"軟體更新", "儲存空間", "隱私權與安全性", "顯示設定", "關於本機", "網路", "下載",
        "最近的檔案"},
       {"Wi-Fi 网络", "iCloud 儲存空間", "App 更新", "PDF 文件"}}}},
    {PhraseKind::sentence,
     {{{"A new version is available. Install it now?", "The file could not be saved to the disk.",
        "Your changes will be lost if you do not save them.",
        "This update needs {s} of free space.", "The download will finish at {t}."},
       {"有新版本可用。现在安装吗？", "无法将文件保存到磁盘。", "如果不保存，您的更改将会丢失。",
        "此更新需要 {s} 可用空间。", "下载将在 {t} 完成。"},
       {"有新版本可用。現在安裝嗎？", "無法將檔案儲存到磁碟。", "如果不儲存，您的變更將會遺失。",
        "此更新需要 {s} 可用空間。", "下載將在 {t} 完成。"},
       {"新版本 {v} 已经可以下载。", "請在 Settings 中開啟 Bluetooth。", "这个 PDF 文件有 {n} 页。",
        "您的 Mac 有 {s} 可用空間。"}}}},
    {PhraseKind::button,
     {{{"Cancel", "Install Now", "Save", "Don't Save", "OK", "Open", "Later", "Apply"},
       {"取消", "立即安装", "保存", "不保存", "好", "打开", "稍后", "应用"},
       {"取消", "立即安裝", "儲存", "不儲存", "好", "打開", "稍後", "套用"},
       {"打开 PDF", "安裝 App", "OK 好的", "傳送 Email"}}}},
    {PhraseKind::menu,
     {{{"File", "Edit", "View", "Window", "Help", "Go", "Tools", "History"},
       {"文件", "编辑", "视图", "窗口", "帮助", "前往", "工具", "历史"},
       {"檔案", "編輯", "檢視", "視窗", "說明", "前往", "工具", "歷史"},
       {"File", "编辑", "視窗", "Help", "工具", "View"}}}},
    {PhraseKind::chat,
     {{{"Are we still meeting at {t}?", "Sure, see you in room 2{n}", "I sent the slides",
        "The build {v} is ready", "Can you check it before {t}?", "Thanks, got it!"},
       {"我们还在 {t} 开会吗？", "好的，到时候见", "我已经把文件发给你了", "明天早上再说吧",
        "这个周末一起去吃饭吧", "谢谢，收到了！"},
       {"我們還在 {t} 開會嗎？", "好的，到時候見", "我已經把檔案傳給你了", "明天早上再說吧",
        "這個週末一起去吃飯吧", "謝謝，收到了！"},
       {"我已经把 slides 发给 Anna 了", "明天的 meeting 改到 {t}", "這個 bug 在 {v} 修好了",
        "记得带 laptop 和 charger", "週末要不要去 Costco？"}}}},
    {PhraseKind::fileName,
     {{{"report_q3.pdf", "budget_2025.xlsx", "IMG_{n}4.jpg", "notes.md", "backup.tar.gz",
        "setup-{v}.deb"},
       {"报告.pdf", "预算表.xlsx", "照片{n}.jpg", "笔记.md", "备份.zip"},
       {"報告.pdf", "預算表.xlsx", "照片{n}.jpg", "筆記.md", "備份.zip"},
       {"季度 report.pdf", "预算 2025.xlsx", "會議 notes.md"}}}},
};

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int uniform(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

} // namespace

const char* languageName(WideLanguage language) {
    const char* const names[] = {"en", "zh-Hans", "zh-Hant", "mixed"};
    return names[int(language)];
}

QString version(std::mt19937& random) {
    QString text = QStringLiteral("%1.%2").arg(uniform(random, 1, 24)).arg(uniform(random, 0, 19));
    if (uniform(random, 0, 1)) {
        text += QStringLiteral(".%1").arg(uniform(random, 0, 9));
    }
    return text;
}

QString size(std::mt19937& random) {
    const char* const units[] = {"KB", "MB", "GB"};
    return QStringLiteral("%1.%2 %3")
        .arg(uniform(random, 1, 99))
        .arg(uniform(random, 0, 9))
        .arg(QLatin1String(units[uniform(random, 0, 2)]));
}

QString clock(std::mt19937& random) {
    return QStringLiteral("%1:%2")
        .arg(uniform(random, 0, 23), 2, 10, QLatin1Char('0'))
        .arg(uniform(random, 0, 59), 2, 10, QLatin1Char('0'));
}

QString date(std::mt19937& random) {
    return QStringLiteral("%1 %2")
        .arg(QLatin1String(kMonths[uniform(random, 0, 11)]))
        .arg(uniform(random, 1, 28));
}

QString phrase(std::mt19937& random, WideLanguage language, PhraseKind kind) {
    for (const Phrases& phrases : kPhrases) {
        if (phrases.kind != kind) {
            continue;
        }
        const Pool& pool = phrases.pools[size_t(language)];
        QString text = QString::fromUtf8(pool[size_t(uniform(random, 0, int(pool.size()) - 1))]);
        text.replace(QLatin1String("{v}"), version(random));
        text.replace(QLatin1String("{s}"), size(random));
        text.replace(QLatin1String("{t}"), clock(random));
        text.replace(QLatin1String("{d}"), date(random));
        text.replace(QLatin1String("{n}"), QString::number(uniform(random, 2, 9)));
        return text;
    }
    return {};
}

} // namespace vellumix
