#pragma once

#include <QString>

#include <cstdint>

namespace vellumix {

// How a new frame relates to the last accepted one: so many new rows at its
// bottom, a refusal with the sentence shown to the user, or no change.
class MatchDecision final {
public:
    enum class Kind { append, reject, duplicate };

    static MatchDecision append(int64_t rows) { return MatchDecision(Kind::append, rows, {}); }
    static MatchDecision reject(const QString& message) {
        return MatchDecision(Kind::reject, 0, message);
    }
    static MatchDecision duplicate() { return MatchDecision(Kind::duplicate, 0, {}); }

    Kind kind() const { return m_kind; }
    // Rows scrolled in; meaningful for append only.
    int64_t rows() const { return m_rows; }
    // The refusal sentence; meaningful for reject only.
    const QString& message() const { return m_message; }

    friend bool operator==(const MatchDecision& a, const MatchDecision& b) {
        return a.m_kind == b.m_kind && a.m_rows == b.m_rows && a.m_message == b.m_message;
    }

private:
    MatchDecision(Kind kind, int64_t rows, const QString& message)
        : m_kind(kind), m_rows(rows), m_message(message) {}

    Kind m_kind;
    int64_t m_rows;
    QString m_message;
};

} // namespace vellumix
