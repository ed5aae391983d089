#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

namespace vellumix {

// The languages text recognition asks for, and where their data lives.
namespace RecognitionLanguages {

struct Language {
    const char* code;        // the code callers and the preference list use
    const char* traineddata; // the engine's name for its data file
};

// Preference order: recognition lists the installed ones in this order.
inline constexpr std::array<Language, 3> preferenceList = {{
    {"en-US", "eng"},
    {"zh-Hans", "chi_sim"},
    {"zh-Hant", "chi_tra"},
}};

// Where the Debian package installs the data when TESSDATA_PREFIX is unset.
inline constexpr const char* packageTessdataDirectory = "/usr/share/tesseract-ocr/5/tessdata";

// The folder the engine reads: TESSDATA_PREFIX when set and not empty (as
// libtesseract itself decides), otherwise the package's folder.
QString tessdataDirectory();

// The codes of the preference list whose data file is installed in the folder.
QStringList supportedLanguages(const QString& tessdataDirectory);

// The preference list filtered by `supported`, in preference order; codes
// that are not on the preference list are ignored.
QStringList preferredLanguages(const QStringList& supported);

// The engine's language argument, such as "eng+chi_tra"; empty for none.
QString engineLanguages(const QStringList& codes);

// The engine's language argument for the preferred languages installed in the
// folder; "eng", the engine's own default, when none is.
QByteArray installedEngineLanguages(const QString& tessdataDirectory);

} // namespace RecognitionLanguages
} // namespace vellumix
