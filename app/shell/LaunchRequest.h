#pragma once

#include <QByteArray>
#include <QDir>
#include <QStringList>

#include <optional>

namespace vellumix {

// What one start of the program asks for: a capture (what users bind in their
// desktop's keyboard settings), image files to open, or neither, which brings
// the app forward. A later start hands its request to the running instance
// as one line of JSON.
struct LaunchRequest {
    static constexpr const char* captureOption = "--capture";
    static const QString usage;

    bool capture = false;
    QStringList files; // absolute paths

    // Reads the program's arguments after its name; relative files are
    // taken from `current`. Throws std::invalid_argument, whose message ends
    // with the usage, for an unknown option or a capture given files.
    static LaunchRequest fromArguments(const QStringList& arguments, const QDir& current);

    QByteArray encoded() const;
    // Nothing for a line that is no request.
    static std::optional<LaunchRequest> decoded(const QByteArray& line);

    bool operator==(const LaunchRequest&) const = default;
};

} // namespace vellumix
